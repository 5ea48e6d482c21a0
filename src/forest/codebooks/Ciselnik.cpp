// The codebook container of a forest unit: codebook tables beside the program and their views.
#include "forest/codebooks/Ciselnik.h"

#include "forest/codebooks/CodeLookup.h"
#include "forest/codebooks/DatabaseMelDrevClass.h"
#include "framework/elements/DatabaseClasses.h"
#include "platform/db/Table.h"
#include "platform/files/Files.h"
#include "platform/text/Case.h"

#include <cstring>

namespace {

// In the order of the Codebook enumeration.
constexpr std::array<CodebookInfo, codebookCount> codebooks = {{
    {"Tb_HS", nullptr, "Tb_HSClass", "HS", "CISLO_HS"},
    {"Tb_LT", "Cis_LT.db", "Tb_LTClass", "LT", "KOD"},
    {"Tb_SLT", "Cis_SLT.db", "Tb_SLTClass", "SLT", "KOD"},
    {"Tb_Ktg", "Kategori.db", "Tb_KTGClass", "KATEGORIE", "KOD"},
    {"Tb_PorKtg", nullptr, "Tb_PorKtgClass", "PorKtg", "ID"},
    {"tb_nal", "Cis_nale.db", "Tb_NalClass", "NALEHAVOST", "KOD"},
    {"tb_tvar", "tvar.db", "Tb_TvarClass", "HOSP_TV", "KOD"},
    {"tb_HZ", "Zpusob.db", "Tb_HZClass", "HOSP_ZP", "KOD"},
    {"tb_ZJZ", "CIS_ZJZ.DB", "Tb_ZJZClass", "ZJZ", "KOD"},
    {"tb_ZVL_Stat", "ZVL_STAT.DB", "Tb_ZVL_StatClass", "ZVL_STATUT", "KOD"},
    {"tb_Druh_vla", "DRUH_VLA.DB", "Tb_Druh_vlaClass", "DRUH_VLAST", "KOD"},
    {"Tb_PaOh", "CIS_PAOH.DB", "Tb_PaOhClass", "PASMA_OHR", "KOD"},
    {"tb_LeOb", "Cis_LeOb.db", "Tb_LeObClass", "LES_OBL", "KOD"},
    {"tb_sdr_por", "SDR_POR.DB", "Tb_Sdr_porClass", "Sdr_Por", "KOD"},
    {"tb_Druh_poz", "DRUH_POZ.DB", "Tb_Druh_pozClass", "DRUH_POZ", "KOD"},
    {"tb_Pot_vla", "POT_VLA.DB", "Tb_Pot_vlaClass", "Pot_Vla", "KOD"},
    {"tb_TeTy", "CIS_TETY.DB", "Tb_TetyClass", "TER_TYPY", "KOD"},
    {"tb_LDU", "CIS_LDU.DB", "Tb_LDUClass", "LES_URADY", "KOD"},
    {"tb_Kval_P", "Cis_Kval_P.db", "Tb_Kval_PClass", "KVAL_P", "KOD"},
    {"tb_Duv_tezb", "Duv_Tezb.db", "Tb_Duv_tezbClass", "DUV_TEZBY", "KOD"},
    {"tb_Druh_Zal", "Druh_Zal.db", "Tb_Druh_zalClass", "DRUH_ZAL", "KOD"},
    {"tb_Dan", "Cis_Dan.db", "Tb_DanClass", "Dan", "KOD"},
    {"tb_Majetky", nullptr, "Tb_MAjetkyClass", "Majetky", "MAJ_KOD"},
    {"tb_Katastry", nullptr, "Tb_KatastryClass", "Katastry", "KOD"},
    {"tb_OLH", nullptr, "Tb_OLHClass", "OLH", "KOD"},
    {"tb_genKl", "Gen_Klas.db", "Tb_GenKLClass", "GEN_KLAS", "KOD"},
    {"tb_imise", "Imise.db", "Tb_ImiseClass", "IMISE", "KOD"},
    {"Tb_puvod", "PUVOD_DR.DB", "Tb_PuvodClass", "PUVOD_DR", "KOD"},
    {"tb_DrevCis", "CIS_DREV.DB", "Tb_DrevCisClass", "DREVINY", "CKOD"},
    {"tb_posk", "Cis_Posk.DB", "Tb_PoskClass", "SKODY", "KOD"},
    {"Tb_OrgUr1", nullptr, "Tb_OrgUr1Class", "OrgUr1", "KOD"},
    {"Tb_OrgUr2", nullptr, "Tb_OrgUr2Class", "OrgUr2", "KOD"},
    {"TB_Mel_Drev", nullptr, "Tb_Mel_DrevClass", "Mel_Drev", "Cislo_HS"},
    {"TB_Cis_Bezl", "Cis_Bezl.db", "TB_Cis_BezlClass", "Cis_bezl", "KOD"},
    {"TB_Cis_Jine", "Cis_Jine.db", "TB_Cis_JineClass", "Cis_Jine", "KOD"},
    {"TB_Zp_TEZBY", "Zp_TEZBY.db", "TB_Zp_TEZBYClass", "Zp_TEZBY", "KOD"},
    {"TB_ODVOZ_TEZ", "ODV_TEZ.db", "TB_ODVOZ_TEZClass", "ODVOZ_TEZ", "KOD"},
}};

constexpr int fileCodebookCount()
{
    int n = 0;
    for (const CodebookInfo& c : codebooks)
        n += c.fileName ? 1 : 0;
    return n;
}
static_assert(fileCodebookCount() == 29, "29 file codebooks, 8 assigned ones");
static_assert(static_cast<int>(Codebook::TB_ODVOZ_TEZ) == codebookCount - 1);

size_t indexOf(Codebook codebook)
{
    return static_cast<size_t>(codebook);
}

} // namespace

const CodebookInfo& codebookInfo(Codebook codebook)
{
    return codebooks[indexOf(codebook)];
}

bool codebookByName(const QString& tableProperty, Codebook& codebook)
{
    // Compared in place, without a string per candidate.
    auto sameName = [&tableProperty](const char* name) {
        const qsizetype n = qsizetype(std::strlen(name));
        if (n != tableProperty.size())
            return false;
        for (qsizetype k = 0; k < n; ++k)
            if (txt::upperAscii(QChar(char16_t(uchar(name[k])))) != txt::upperAscii(tableProperty[k]))
                return false;
        return true;
    };
    for (int i = 0; i < codebookCount; ++i) {
        if (sameName(codebooks[static_cast<size_t>(i)].tableProperty)) {
            codebook = static_cast<Codebook>(i);
            return true;
        }
    }
    return false;
}

// The table reference, the table opened here (owned), the open-attempted flag and the view.
struct tciselnik::Slot {
    db::Table* table = nullptr;
    std::unique_ptr<db::Table> opened;
    bool openAttempted = false;
    WeakRef<TDatabaseClass> view;
    CodeNameCache names;
};

tciselnik::tciselnik() = default;
tciselnik::~tciselnik() = default;

TClass tciselnik::StaticClass()
{
    static const TClassInfo info = describeClass<tciselnik, TOwnerEntity>("tciselnik", [](PropertyTable<tciselnik>& t) {
        for (int i = 0; i < codebookCount; ++i) {
            const auto codebook = static_cast<Codebook>(i);
            // Each codebook's table (opened on first read for a file codebook), then its view.
            t.foreignObject<db::Table>(QLatin1String(codebooks[static_cast<size_t>(i)].tableProperty),
                                       QStringLiteral("TTable"), [codebook](tciselnik& c) { return c.Table(codebook); },
                                       [codebook](tciselnik& c, db::Table* table) { c.SetTable(codebook, table); },
                                       false);
            t.object<TDatabaseClass>(QLatin1String(codebooks[static_cast<size_t>(i)].viewProperty),
                                     [codebook](tciselnik& c) { return c.View(codebook); }, nullptr, false);
        }
    });
    return &info;
}

tciselnik::Slot& tciselnik::slot(Codebook codebook)
{
    std::unique_ptr<Slot>& s = m_slots[indexOf(codebook)];
    if (!s)
        s = std::make_unique<Slot>();
    return *s;
}

db::Table* tciselnik::Table(Codebook codebook)
{
    return codebookInfo(codebook).fileName ? openFile(codebook) : slot(codebook).table;
}

void tciselnik::SetTable(Codebook codebook, db::Table* table)
{
    slot(codebook).table = table;
}

db::Table* tciselnik::openFile(Codebook codebook)
{
    Slot& s = slot(codebook);
    if (s.table || s.openAttempted)
        return s.table;
    s.openAttempted = true;
    auto table = std::make_unique<db::Table>();
    // Directory and file names match in any letter case.
    table->SetTableName(files::resolvePath(files::programDirectory() + QStringLiteral("/ciselnik/") +
                                           QLatin1String(codebookInfo(codebook).fileName)));
    table->SetReadOnly(true);
    try {
        table->Open();
    } catch (const Exception&) {
        // A missing or unreadable codebook is silent: its names read empty.
        return nullptr;
    }
    s.opened = std::move(table);
    s.table = s.opened.get();
    return s.table;
}

QString tciselnik::CodeName(Codebook codebook, const QString& keyField, const QString& code, const QString& resultField)
{
    return slot(codebook).names.lookup(Table(codebook), keyField, code, resultField, false);
}

TDatabaseClass* tciselnik::View(Codebook codebook)
{
    Slot& s = slot(codebook);
    if (TDatabaseClass* view = s.view.get())
        return view;
    if (!s.table)
        return nullptr;
    const CodebookInfo& info = codebookInfo(codebook);
    Owned<TDatabaseClass> view = codebook == Codebook::TB_Mel_Drev ? Owned<TDatabaseClass>(Create<TDatabaseMel_DrevClass>())
                                                                   : Create<TDatabaseClass>();
    view->SetDataSourceType(dstTable);
    view->SetDataSourcePath(s.table->DatabaseName());
    view->SetDataSource(s.table->TableName());
    const bool nameOnly = codebook == Codebook::tb_DrevCis;
    view->SetAdressField(nameOnly ? QString() : QLatin1String(info.keyField));
    view->SetNameField(QLatin1String(info.keyField));
    view->SetName(QLatin1String(info.viewName));
    s.view = view.get();
    Add(view.release());
    return s.view.get();
}
