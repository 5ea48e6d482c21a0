// The forest-unit source over the IS HÚL interchange files, variants 97 and 98.
#pragma once

#include "app/sources/Source.h"
#include "app/sources/ishul/FileFaults.h"
#include "framework/core/Elements.h"

#include <QDateTime>
#include <QMap>
#include <QString>
#include <QStringList>

#include <array>

class TLHC;
class TPrenasecZeStandarduData;
class TImportStandardPP_FST;

namespace ishul {

// Kinds 3 (IS HÚL 97: PP.FST, BZL.FST, JP.FST) and 4 (IS HÚL 98: also LHC.FST, the codebooks
// Cis_051.FST..Cis_055.FST and the owners Maj.FST). The three data files are each sorted by
// compartment; one reader stands on each, and a compartment is loaded by merging its records
// from the three: PP first, then BZL, then JP, each record in a position pass and a data pass.
//
// Every start (loadFirstCompartment, also the header load) drops the readers and importers of
// the last run and opens new ones at the first record of each file, so every record is imported
// once per run. The compartment index (first record of each compartment in each file) and the
// compartment list are built once and reused while the files keep their size and time.
// A record that fails a conversion is reported (file, line, column) and skipped. Every reader of
// a file shares that file's fault tally, so each fault of a file is shown once (while the file
// stays as it is) with the count of its lines, however often the file is read.
class IsHulSource : public app::Source
{
public:
    IsHulSource(quint8 kind, app::SourceContext context);
    ~IsHulSource() override;

    quint8 kind() const override { return m_kind; }
    void loadHeader(TLesniCelek& unit) override;
    QStringList buildCompartmentList(TLesniCelek& unit) override;
    bool loadFirstCompartment(TLesniCelek& unit) override;
    bool endOfData() const override;
    bool loadNextCompartment(TLesniCelek& unit) override;
    bool hasUnit() const override { return m_open; }

    // Where a compartment's records start in one file.
    struct IndexEntry {
        qint64 offset = 0;
        int line = 0;
        int recordsBefore = 0;
    };
    // Compartment number -> its first record, per data file (PP, BZL, JP).
    const QMap<int, IndexEntry>& index(int file) const { return m_index[static_cast<size_t>(file)]; }
    // How many times the index was built (a restart over unchanged files reuses it).
    int indexBuilds() const { return m_indexBuilds; }

private:
    struct DataFile {
        QString name;
        Owned<TPrenasecZeStandarduData> reader;
        Owned<TImportStandardPP_FST> importer;
    };
    static constexpr int FileCount = 3;   // PP, BZL, JP

    QString directory(TLesniCelek& unit) const;
    QString pathOf(const QString& directory, const QString& name) const;
    // Opens new readers and importers (and, for 98, the codebooks); false without the directory.
    bool open(TLesniCelek& unit);
    void loadCodebooks(TLesniCelek& unit, const QString& dir);
    void ensureIndex();
    void buildIndex();
    // The smallest compartment number among the readers; 30000 when all are at their end.
    int nextCompartmentNumber() const;
    bool loadCompartment(TLesniCelek& unit);
    void importRun(DataFile& file, int number, TLHC* header, int kindOfText);
    void applyRecord(DataFile& file);

    quint8 m_kind;
    app::SourceContext m_context;
    FaultLog m_faultLog;   // before the readers, which point into it
    std::array<DataFile, FileCount> m_files;
    DataFile m_lhc;
    bool m_open = false;
    QString m_statusText;    // the status texts of the record being imported: while setting,
    QString m_loadingText;   // then while loading
    qsizetype m_statusRoom = 0;   // the longest setting text so far
    QString m_openDir;
    std::array<QMap<int, IndexEntry>, FileCount> m_index;
    QStringList m_list;
    QList<QPair<qint64, QDateTime>> m_indexSignature;
    int m_indexBuilds = 0;
    bool m_indexBuilt = false;
    bool m_listed = false;     // a calculation has listed the compartments before
};

std::unique_ptr<app::Source> createIsHulSource(quint8 kind, const app::SourceContext& context);

} // namespace ishul
