// Sections, groups and detail variants of a report.
#pragma once

#include "reports/model/ReportElement.h"

#include <QString>

#include <memory>
#include <vector>

namespace reports {

class ReportModel;

// Section indexes: the five fixed ones, then 5 + 2i / 6 + 2i for the start / end of group i.
enum SectionIndex : int {
    siReportStart = 0, siPageHead = 1, siBody = 2, siReportEnd = 3, siPageFoot = 4,
};

// One section of the report; owns its elements.
class TOddilSestavy
{
public:
    explicit TOddilSestavy(int index) : Index(index) {}

    int PrintedHeight() const { return Printed ? Height : 0; }
    int ElementCount() const { return int(m_elements.size()); }
    // Assumes a valid index.
    TVoReportElement& ElementAt(int i) const { return *m_elements[std::size_t(i)]; }
    TVoReportElement& AddElement(std::unique_ptr<TVoReportElement> element);
    void ClearElements() { m_elements.clear(); }

    int Index;
    int Height = 0;          // hundredths of an inch
    bool Printed = false;    // a section not printed is skipped and counts as height 0
    int Columns = 1;         // copied from the report by its I,3 record
    int ColumnGap = 0;

private:
    std::vector<std::unique_ptr<TVoReportElement>> m_elements;
};

// The report's sections: the five fixed ones first, then two per group.
class TListOddilu
{
public:
    TListOddilu();
    int Count() const { return int(m_sections.size()); }
    // Assumes a valid position.
    TOddilSestavy& SectionAt(int position) const { return *m_sections[std::size_t(position)]; }
    TOddilSestavy& Append(int index);
    // Removes and frees the section (never one of the fixed five).
    void Remove(const TOddilSestavy* section);
    void ClearAllElements();

private:
    std::vector<std::unique_ptr<TOddilSestavy>> m_sections;
};

// One group: a change of its column's value starts a new group.
class TPolSkup
{
public:
    int Number = 0;                       // from its I,4 record
    int Column = 0;                       // data column index
    bool NewPage = false;                 // a change starts a new page
    QString LastValue;                    // the column's text at the previous record
    bool Changed = false;
    TOddilSestavy* StartSection = nullptr;   // owned by the section list
    TOddilSestavy* EndSection = nullptr;
};

// The groups in the order of their I,4 records, each under its name "Skupina n".
class TListSkupin
{
public:
    int Count() const { return int(m_groups.size()); }
    // The group, or null for a position outside the list.
    TPolSkup* GroupAt(int position) const;
    QString NameAt(int position) const;
    TPolSkup& Append(std::unique_ptr<TPolSkup> group);
    std::unique_ptr<TPolSkup> Take(int position);

private:
    struct Item { QString name; std::unique_ptr<TPolSkup> group; };
    std::vector<Item> m_groups;
};

// Detail variants: reports whose parent is this one (not owned).
class TListDetailu
{
public:
    int Count() const { return int(m_variants.size()); }
    // The variant, or null for an index outside the list.
    ReportModel* VariantAt(int index) const;
    void Add(ReportModel* variant) { m_variants.push_back(variant); }
    void Remove(const ReportModel* variant);

private:
    std::vector<ReportModel*> m_variants;
};

} // namespace reports
