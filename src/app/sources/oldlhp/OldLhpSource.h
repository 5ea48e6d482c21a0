// The forest-unit source over old LHP record files <LHC>.<NN>V with their stand texts.
#pragma once

#include "app/sources/Source.h"
#include "app/sources/ishul/FileFaults.h"

#include <QMap>
#include <QString>
#include <QStringList>

#include <memory>

class TUnivStareLHP;

namespace oldlhp {

// Splits a record file name "<a>.<b>V" (any last letter): a and b whole numbers; false when
// either is not.
bool SplitLhpFileName(const QString& name, qint32& a, qint32& b);

// Kind 0: the records of one unit in the files <LHC_KOD>.<NN>V of the chosen directory, read by
// rising file number as one sequence of records (a gap in the numbering is skipped; a
// compartment continued in the next file loads once, whole). Files are opened by the names the
// directory scan found, whatever their letter case or zero padding. Every start drops the reader
// and begins again at the first record of the lowest file; the header comes from that record.
// The readers of the list scan and of the loading share one fault tally per file, so a fault of
// a stand-text file is shown once with its count, however often the file is read.
class OldLhpSource : public app::Source
{
public:
    explicit OldLhpSource(app::SourceContext context);
    ~OldLhpSource() override;

    quint8 kind() const override;
    void loadHeader(TLesniCelek& unit) override;
    QStringList buildCompartmentList(TLesniCelek& unit) override;
    bool loadFirstCompartment(TLesniCelek& unit) override;
    bool endOfData() const override;
    bool loadNextCompartment(TLesniCelek& unit) override;
    // No record file of the unit left in the directory: no unit.
    bool hasUnit() const override { return !m_files.isEmpty(); }

    // Compartment (padded to 3) -> the file number where it was first seen.
    const QMap<QString, int>& fileOfCompartment() const { return m_fileOfCompartment; }

private:
    void scanFiles(TLesniCelek& unit);
    void markSource(TLesniCelek& unit);
    bool loadCompartment(TLesniCelek& unit);

    app::SourceContext m_context;
    QMap<int, QString> m_files;   // file number -> path as found
    QMap<QString, int> m_fileOfCompartment;
    QStringList m_list;
    FaultLog m_faultLog;   // before the reader, which points into it
    bool m_listed = false; // a calculation has listed the compartments before
    std::unique_ptr<TUnivStareLHP> m_reader;
};

std::unique_ptr<app::Source> createOldLhpSource(const app::SourceContext& context);

} // namespace oldlhp
