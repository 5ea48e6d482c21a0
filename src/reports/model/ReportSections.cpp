// Sections, groups and detail variants of a report.
#include "reports/model/ReportSections.h"

#include "reports/model/ReportTexts.h"

#include <algorithm>

namespace reports {

TVoReportElement& TOddilSestavy::AddElement(std::unique_ptr<TVoReportElement> element)
{
    m_elements.push_back(std::move(element));
    return *m_elements.back();
}

TListOddilu::TListOddilu()
{
    for (int i = siReportStart; i <= siPageFoot; ++i)
        Append(i);
}

TOddilSestavy& TListOddilu::Append(int index)
{
    m_sections.push_back(std::make_unique<TOddilSestavy>(index));
    return *m_sections.back();
}

void TListOddilu::Remove(const TOddilSestavy* section)
{
    const auto it = std::find_if(m_sections.begin() + siPageFoot + 1, m_sections.end(),
                                 [section](const auto& s) { return s.get() == section; });
    if (it != m_sections.end())
        m_sections.erase(it);
}

void TListOddilu::ClearAllElements()
{
    for (const auto& s : m_sections)
        s->ClearElements();
}

TPolSkup* TListSkupin::GroupAt(int position) const
{
    return position >= 0 && position < Count() ? m_groups[std::size_t(position)].group.get() : nullptr;
}

QString TListSkupin::NameAt(int position) const
{
    return position >= 0 && position < Count() ? m_groups[std::size_t(position)].name : QString();
}

TPolSkup& TListSkupin::Append(std::unique_ptr<TPolSkup> group)
{
    const QString name = reportText(text_id::Skupina) + QLatin1Char(' ') + QString::number(int64_t(group->Number) + 1);
    m_groups.push_back({name, std::move(group)});
    return *m_groups.back().group;
}

std::unique_ptr<TPolSkup> TListSkupin::Take(int position)
{
    if (position < 0 || position >= Count())
        return nullptr;
    auto group = std::move(m_groups[std::size_t(position)].group);
    m_groups.erase(m_groups.begin() + position);
    return group;
}

ReportModel* TListDetailu::VariantAt(int index) const
{
    return index >= 0 && index < Count() ? m_variants[std::size_t(index)] : nullptr;
}

void TListDetailu::Remove(const ReportModel* variant)
{
    std::erase(m_variants, variant);
}

} // namespace reports
