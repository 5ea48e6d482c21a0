// The data-access module over the sibling inventory program's database, versions 97 and 98.
#pragma once

#include "app/sources/vex/VexSchema.h"
#include "forest/base/DataSetUtilities.h"
#include "platform/db/DataSource.h"
#include "platform/db/Table.h"

#include <QString>

#include <functional>
#include <map>
#include <memory>

namespace vex {

// The answer of the directory dialog when the user left it without choosing.
inline const QString kNothingChosen = QStringLiteral("NicSeNavybralo");

// Asks for a directory (start directory, caption); answers it or kNothingChosen.
using DirectoryChooser = std::function<QString(const QString& start, const QString& caption)>;
// Lets the user fill a codebook table just created (label text, the open table).
using CodebookFiller = std::function<void(const QString& label, db::Table& table)>;

struct OvrOptions {
    QString programDir;                 // vkm.ini and CISELNIK live here
    bool skipDirectoryDialog = false;   // version 98: set by the forest unit before creation
    DirectoryChooser chooseDirectory;   // none: the dialog counts as cancelled
    CodebookFiller fillCodebook;        // none: a new codebook stays empty
};

// The data module (TOvr, TOvr98: one class, the version decides the differences). Never shown:
// it holds the tables of the three directories (stand data, PHS, codebooks), the detail links
// down from compartment to damage, the proposal views restricted to the current storey, and the
// sequential finders of the loaders. FormCreate finds the data directory (vkm.ini, the directory
// dialog), opens everything and upgrades tables of an older structure; a table with index files
// or key fields of the sibling program is never restructured (its missing column reads empty).
// Codebooks always come from the program's own CISELNIK directory.
class TOvr
{
public:
    TOvr(Version version, OvrOptions options);
    ~TOvr();
    TOvr(const TOvr&) = delete;
    TOvr& operator=(const TOvr&) = delete;

    Version version() const { return m_version; }

    // Opens everything. Raises EDatabaseError naming the table that failed. After a cancelled
    // directory dialog it shows "Neuspěšné otevření souboru s údaji.", opens nothing and answers
    // with Cancelled() true.
    void FormCreate();
    bool Cancelled() const { return m_cancelled; }

    // Restricts the four proposal views to the current storey.
    void SetNavrhRanges();
    // Opens the stand tables (an open one stays open) with the upgrades of older tables.
    void OpenStandTables();
    // Posts a pending edit of each stand table and closes it.
    void CloseStandTables();
    void CloseCodebookTables();

    // A table by its component name ("TB_ODD", "Tb_Nal", "TB_OrgUr1" ...); raises when unknown.
    db::Table& table(const QString& component) const;

    db::Table& Tb_LHC() const { return *m_lhc; }
    db::Table& TB_ODD() const { return *m_odd; }
    db::Table& TB_DL() const { return *m_dl; }
    db::Table& TB_Porost() const { return *m_porost; }
    db::Table& TB_POR_POZN() const { return *m_porPozn; }
    db::Table& TB_PREKRYV() const { return *m_prekryv; }
    db::Table& Tb_BZL() const { return *m_bzl; }
    db::Table& TB_SK() const { return *m_sk; }
    db::Table& TB_PS_POZN() const { return *m_psPozn; }
    db::Table& TB_ETAZ() const { return *m_etaz; }
    db::Table& TB_DR() const { return *m_dr; }
    db::Table& Tb_Poskoz() const { return *m_poskoz; }
    db::Table& TB_TEZOB() const { return *m_tezob; }
    db::Table& TB_NAVRH() const { return *m_navrh; }
    db::Table& TB_Pror() const { return *m_pror; }
    db::Table& TB_ZAL() const { return *m_zal; }
    db::Table& Tb_ost() const { return *m_ost; }
    db::Table& Tb_jine() const { return *m_jine; }
    db::Table& TB_ID() const { return *m_id; }

    // The path lines of the three connections ("PATH=" + directory).
    const QString& DB_zrPath() const { return m_dataPath; }
    const QString& DB_phPath() const { return m_phsPath; }
    const QString& DB_cisPath() const { return m_cisPath; }
    // The directory of a path line: the text after its first "=".
    static QString directoryOf(const QString& pathLine);

    // Version 98: VerzeProNarodniPark of phs.ini is "ANO".
    bool NarodniPark() const { return m_narodniPark; }
    bool PristupPHS() const { return m_pristupPhs; }
    const QString& KAVEL() const { return m_kavel; }

    TKSekvenFind Find_NAVRH;
    TKSekvenFind Find_TEZOB;
    TKSekvenFind Find_DR;

private:
    void createTables();
    void linkTables();
    bool chooseDataPath(const QString& manager);
    void readNationalParkFlag();
    void openOrgLevels(const QString& component, const QString& label);
    void openCodebooks();
    void openOlh98();
    void openChecked(db::Table& t);
    bool openWithUpgrade(db::Table& t, const QStringList& statements, const QString& before, const QString& after);
    void execOn(const QString& directory, const QStringList& lines);
    void wireHandlers();
    QString designation() const;
    void dropEntry(db::Table& t);
    void copyManagementSet(int hs);
    void newProposal(db::Table& view, int kind);
    void checkAfforestation();
    void checkDamage();

    Version m_version;
    OvrOptions m_options;
    bool m_cancelled = false;
    QString m_dataPath;
    QString m_phsPath;
    QString m_cisPath;
    bool m_narodniPark = false;
    bool m_pristupPhs = true;
    QString m_kavel;
    std::map<QString, std::unique_ptr<db::Table>> m_tables;
    db::Table* m_lhc = nullptr;
    db::Table* m_odd = nullptr;
    db::Table* m_dl = nullptr;
    db::Table* m_porost = nullptr;
    db::Table* m_porPozn = nullptr;
    db::Table* m_prekryv = nullptr;
    db::Table* m_bzl = nullptr;
    db::Table* m_sk = nullptr;
    db::Table* m_psPozn = nullptr;
    db::Table* m_etaz = nullptr;
    db::Table* m_dr = nullptr;
    db::Table* m_poskoz = nullptr;
    db::Table* m_tezob = nullptr;
    db::Table* m_navrh = nullptr;
    db::Table* m_pror = nullptr;
    db::Table* m_zal = nullptr;
    db::Table* m_navrh1 = nullptr;
    db::Table* m_ost = nullptr;
    db::Table* m_jine = nullptr;
    db::Table* m_id = nullptr;
    db::DataSource DTZ_ODD, DTZ_DL, DTZ_POROST, DTZ_SK, DTZ_ETAZ, DTZ_DR, dtz_NAVRH, dtz_TEZOB;
};

// True when the sibling program's table must never be restructured by us: it has index files
// (.PX, .Xnn ...) or key fields.
bool isPeerProtected(const QString& dbPath);

} // namespace vex
