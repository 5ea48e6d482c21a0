// Tables and declared fields of the sibling inventory program's database, versions 97 and 98.
#include "app/sources/vex/VexSchema.h"

#include "platform/Exceptions.h"

#include <QStringList>

namespace vex {

namespace {

constexpr Directory D = Directory::Data;
constexpr Directory P = Directory::Phs;
constexpr Directory C = Directory::Codebooks;

const char* const kPorost =
    "VAZBA N,POR A1,ID N,KATEGORIE S,PAS_OHR A1,LES_OBL A3,KAT_SPEC N,ZVL_STATUS N,MAJ_KOD N,MAJ_DRUH N,"
    "Ktg_str A4,ORG_UROVEN1 N,ORG_UROVEN2 N,SDR_POR A1,DRUH_POZ N,OLH A3";
const char* const kPs =
    "VAZBA N,PSK A12,ID N,MAJ_KOD N,KU_KOD I,LES_URAD I,LT A3,SLT A2,PRIB_VZD S,HOSP_TVAR A1,TER_TYP S,"
    "Terenni_skupina A1,Uzivatel N,OLH N,HOSP_ZP N,PSK_P N,PSK_P0 N,PSK_V N,KVAL_P N,POT_VLAST N,SKUPPARC A8,DAN A1";
const char* const kEtaz97 =
    "VAZBA N,ETAZ A3,ID N,HS S,ETAZ_PP N,ETAZ_PS N,OBMYTI S,OBN_DOBA S,POC_OBNOVY S,VEK S,ZAKM S,"
    "Metoda_zjisteni_zasoby S,Rok_zjisteni_zasoby S,HOSP_ZP S,MZD S,HOSP_TV A1";
const char* const kEtaz98 =
    "VAZBA N,ETAZ A3,ID N,HS S,ETAZ_PP N,ETAZ_PS N,OBMYTI S,OBN_DOBA S,POC_OBNOVY S,VEK S,ZAKM S,"
    "Metoda_zjisteni_zasoby S,Rok_zjisteni_zasoby S,HOSP_ZP S,MZD S,HOSP_TV A1,EKOL_HOD A3,TO_ZPUSOB S,PROC_HS I";
const char* const kDrevina97 =
    "DR_ZKR A3,ZAST S,TLOUSTKA S,VYSKA S,BON_A S,ZAS_TAB_HA S,DR_ZAS_HA S,DR_ZAS_CELK N,POCET_KMENU I,"
    "VYCETNI_ZAKLADNA N,GEN_KLAS A1,VYB_STR A1,PUVOD_DR A1,IMISE A2,PROC_SOUS S,DR_KVAL S,VAZBA N,ID N,BON_R S,"
    "Vi N,METODA_ZJISTENI_PRIRUSTU S,DR_CBP S,PLOCHA_DREVINY N,ZPZADZAS A1";
const char* const kDrevina98 =
    "DR_ZKR A3,ZAST S,TLOUSTKA S,VYSKA S,BON_A S,ZAS_TAB_HA S,DR_ZAS_HA S,DR_ZAS_CELK N,POCET_KMENU I,"
    "VYCETNI_ZAKLADNA N,GEN_KLAS A1,VYB_STR S,PUVOD_DR A1,IMISE A2,PROC_SOUS S,DR_KVAL S,VAZBA N,ID N,BON_R S,"
    "Vi N,METODA_ZJISTENI_PRIRUSTU S,DR_CBP S,PLOCHA_DREVINY N,ZPZADZAS A1,POC_JEHL S,STAV_ZPRAC A1";
const char* const kNavrh97 =
    "Vazba N,ID N,N_Druh_vykonu S,N_Zkratka_dreviny A3,N_Nalehavost S,N_Objem N,N_Plocha N,N_Procento N,"
    "N_ObjemHa N,Pocet_Zasahu S,Duvod S,Druh S,ZpZadTV A1";
const char* const kNavrh98 =
    "Vazba N,ID N,N_Druh_vykonu S,N_Zkratka_dreviny A3,N_Nalehavost S,N_Objem N,N_Plocha N,N_Procento N,"
    "N_ObjemHa N,Pocet_Zasahu S,Duvod S,Druh S,ZpZadTV A1,STAV_ZPRAC A1";
const char* const kBezlesi97 =
    "VAZBA N,ID N,BZL N,MAJ_KOD N,MAJ_DRUH S,KU_KOD N,LES_URAD N,BZL_P0 N,BZL_P N,BZL_V N,KVAL_P N,"
    "BZL_VYUZ A30,POT_VLAST N,SKUPPARC A8,Vyuziti A2";
const char* const kBezlesi98 =
    "VAZBA N,ID N,BZL N,MAJ_KOD N,MAJ_DRUH S,KU_KOD N,LES_URAD N,BZL_P0 N,BZL_P N,BZL_V N,KVAL_P N,"
    "BZL_VYUZ A30,POT_VLAST N,SKUPPARC A8,BZL_DRUH A2";
const char* const kOstatni =
    "VAZBA N,OST N,ID N,MAJ_KOD N,MAJ_DRUH S,KU_KOD N,LES_URAD N,OST_P0 N,OST_P N,OST_V N,KVAL_P N,"
    "DRUH_POZ N,OST_VYUZ A30,POT_VLAST N,SKUPPARC A8,Vyuziti A2";
const char* const kJine97 =
    "VAZBA N,JP N,ID N,JP_PUPFL A1,MAJ_KOD N,MAJ_DRUH S,KU_KOD N,LES_URAD N,JP_P0 N,JP_P N,JP_V N,KVAL_P N,"
    "DRUH_POZ N,JP_VYUZ A30,POT_VLAST N,SKUPPARC A8,Vyuziti A2,Kategorie A14";
const char* const kJine98 =
    "VAZBA N,JP N,ID N,JP_PUPFL A1,MAJ_KOD N,MAJ_DRUH S,KU_KOD N,LES_URAD N,JP_P0 N,JP_P N,JP_V N,KVAL_P N,"
    "DRUH_POZ N,JP_VYUZ A30,POT_VLAST N,SKUPPARC A8,JP_DRUH A2";

std::vector<TableLayout> standTablesOf(Version v)
{
    const bool v98 = v == Version::V98;
    return {
        {"TB_SK", "PS.DB", D, kPs},
        {"TB_ETAZ", "ETAZ.DB", D, v98 ? kEtaz98 : kEtaz97},
        {"TB_DR", "DREVINA.DB", D, v98 ? kDrevina98 : kDrevina97},
        {"TB_NAVRH", "NAVRH.DB", D, v98 ? kNavrh98 : kNavrh97},
        {"Tb_navrh1", "NAVRH.DB", D, v98 ? kNavrh98 : kNavrh97},
        {"TB_TEZOB", "NAVRH.DB", D, v98 ? kNavrh98 : kNavrh97},
        {"TB_ZAL", "NAVRH.DB", D, v98 ? kNavrh98 : kNavrh97},
        {"TB_Pror", "NAVRH.DB", D, v98 ? kNavrh98 : kNavrh97},
        {"Tb_Poskoz", "POSKOZ.DB", D, "Druh_poskozeni S,Stupen_poskozeni S,Vazba N"},
        {"Tb_LHC", "LHC.DB", D, v98 ? "" : "LHC_NAZ A40,ID N,LHC_KOD N"},
        {"TB_ODD", "ODDELENI.DB", D, "VAZBA N,ODD S,ID N"},
        {"TB_DL", "DILEC.DB", D, "VAZBA N,DIL A1,ID N"},
        {"TB_Porost", "POROST.DB", D, v98 ? "" : kPorost},
        {"TB_POR_POZN", "POR_POZN.DB", D, "VAZBA N,ID N,POZNAMKA A255"},
        {"TB_PS_POZN", "PS_POZN.DB", D, "Vazba N,ID N,Poznamka A255"},
        {"TB_PREKRYV", "PREKRYV.DB", D, "Ktg_str A4,VAZBA N,ID N"},
        {"Tb_BZL", "BEZLESI.DB", D, v98 ? kBezlesi98 : kBezlesi97},
        {"Tb_jine", "JINE_POZ.DB", D, v98 ? kJine98 : kJine97},
        {"Tb_ost", "OST_POZ.DB", D, kOstatni},
        {"TB_ID", "ID.DB", D, "Tabulka A8,ID N"},
    };
}

std::vector<TableLayout> codebookTablesOf(Version v)
{
    const bool v98 = v == Version::V98;
    std::vector<TableLayout> t = {
        {"Tb_Nal", "CIS_NALE.DB", C, "KOD S,POPIS A30"},
        {"Tb_tvar", "TVAR.DB", C, "Kod A1,POPIS A15"},
        {"TB_HZ", "ZPUSOB.DB", C, "Kod N,POPIS A15"},
        {"TB_ZJZ", "CIS_ZJZ.DB", C, "Kod S,POPIS A30"},
        {"Tb_Zvl_Stat", "ZVL_STAT.DB", C, "Kod S,POPIS A40"},
        {"Tb_DRUH_VLA", "DRUH_VLA.DB", C, "Kod S,POPIS A40"},
        {"Tb_paoh", "CIS_PAOH.DB", C, "Kod A1,POPIS A30"},
        {"Tb_leob", "CIS_LEOB.DB", C, "Kod A3,POPIS A40"},
        {"Tb_sdr_por", "SDR_POR.DB", C, "Kod A1,POPIS A28"},
        {"Tb_druh_poz", "DRUH_POZ.DB", C, "Kod S,POPIS A30"},
        {"Tb_pot_vla", "POT_VLA.DB", C, "Kod S,POPIS A30"},
        {"Tb_LT", "CIS_LT.DB", C, "Kod A3,POPIS A30"},
        {"Tb_SLT", "Cis_SLT.DB", C, "KOD A2,POPIS A30"},
        {"Tb_tety", "CIS_TETY.DB", C, "Kod S,POPIS A30"},
        {"TB_LDU", "CIS_LDU.DB", C, "Kod S,POPIS A30"},
        {"Tb_kval_p", "KVAL_P.DB", C, "Kod S,POPIS A40"},
        {"Tb_duv_tezb", "DUV_TEZB.DB", C, "Kod S,POPIS A40"},
        {"Tb_druh_zal", "DRUH_ZAL.DB", C, "Kod S,POPIS A40"},
        {"Tb_dan", "CIS_DAN.DB", C, "Kod A1,POPIS A20"},
        {"TB_Majetky", "MAJETKY.DB", P, v98 ? "" : "MAJ_KOD N,MAJ_DRUH N,OLH N,MAJ_NAZ A80"},
        {"Tb_katastry", "KATASTRY.DB", P, "Kod N,POPIS A20"},
        {"TB_OLH", "OLH.DB", P, v98 ? "ICO_RC A12,OKR_URAD A4,CIS_LIC A12" : ""},
        {"TB_HS", "TAB_HS.DB", P,
         v98 ? "" : "CISLO_HS S,NAZEV_HS A30,OBMYTI N,OBN_DOBA N,POC_OBNOVY N,POC_PROR N,POC_MYTKLID N,POD_MEL_DR N"},
        {"TB_MEL_DREV", "MEL_DREV.DB", P,
         "Cislo_HS N,Mel_dr1 A3,Mel_dr2 A3,Mel_dr3 A3,Mel_dr4 A3,Mel_dr5 A3,Mel_dr6 A3,Mel_dr7 A3,Mel_dr8 A3,"
         "Mel_dr9 A3,Mel_dr10 A3,MZD S,LT A80"},
        {"TB_GenKL", "GEN_KLAS.DB", C, "Kod A1,POPIS A40"},
        {"tb_imise", "IMISE.DB", C, "Kod A2,POPIS A40"},
        {"Tb_kategorie", "KATEGORI.DB", C, v98 ? "Kod A3,POPIS A45,KATEGOR A19" : "Kod A3,POPIS A45"},
        {"Tb_Puvod", "PUVOD_DR.DB", C, "Kod S,POPIS A40"},
        {"TB_POSK", "CISPOSK1.DB", C, "KOD S,POPIS A30"},
        {"tb_DrevCis", "CIS_DREV.DB", C, "CKOD A3,POPIS_CS A30,NKOD S,POPIS_INT A30,CISLO_SLHP S,POP_NEMEC A30,KOD_NEM A4"},
        {"TB_Cis_Jine", "Cis_jine.db", C, "KOD A3,POPIS A40"},
        {"Tb_CIS_BEZL", "CIS_BEZL.DB", C, "KOD A3,POPIS A40"},
        {"Tb_ZP_TEZBY", "ZP_TEZBY.DB", C, ""},
    };
    if (v98)
        t.push_back({"Tb_ODVOZ_TEZ", "ODV_TEZ.DB", C, ""});
    return t;
}

// Tables the module holds but opens otherwise (organisation levels, stand categories).
const std::vector<TableLayout>& extraTables()
{
    static const std::vector<TableLayout> t = {
        {"TB_OrgUr1", "ORGUR1.DB", P, "KOD I,POPIS A20"},
        {"TB_OrgUr2", "ORGUR2.DB", P, "KOD I,POPIS A20"},
        {"TB_porKTG", "KATEGPOR.DB", P, ""},
    };
    return t;
}

db::FieldType typeOf(QChar code)
{
    switch (code.unicode()) {
    case 'N': return db::FieldType::ftFloat;
    case 'S': return db::FieldType::ftSmallint;
    case 'I': return db::FieldType::ftInteger;
    case 'A': return db::FieldType::ftString;
    default: return db::FieldType::ftUnknown;
    }
}

} // namespace

db::FieldDefs parseFields(const char* fieldList)
{
    db::FieldDefs defs;
    const QString text = QString::fromLatin1(fieldList);
    if (text.isEmpty())
        return defs;
    for (const QString& item : text.split(QLatin1Char(','))) {
        const QStringList parts = item.split(QLatin1Char(' '));
        const QString type = parts.value(1);
        defs.Add(parts.value(0), typeOf(type.isEmpty() ? QChar() : type.at(0)), type.mid(1).toInt());
    }
    return defs;
}

const std::vector<TableLayout>& standTables(Version version)
{
    static const std::vector<TableLayout> v97 = standTablesOf(Version::V97);
    static const std::vector<TableLayout> v98 = standTablesOf(Version::V98);
    return version == Version::V98 ? v98 : v97;
}

const std::vector<TableLayout>& codebookTables(Version version)
{
    static const std::vector<TableLayout> v97 = codebookTablesOf(Version::V97);
    static const std::vector<TableLayout> v98 = codebookTablesOf(Version::V98);
    return version == Version::V98 ? v98 : v97;
}

const TableLayout& layoutOf(Version version, const QString& component)
{
    for (const auto* list : {&standTables(version), &codebookTables(version), &extraTables()})
        for (const TableLayout& layout : *list)
            if (component == QLatin1String(layout.component))
                return layout;
    throw EDatabaseError(QStringLiteral("Neznámá tabulka %1").arg(component));
}

QString bareLandKindField(Version version)
{
    return version == Version::V98 ? QStringLiteral("BZL_DRUH") : QStringLiteral("Vyuziti");
}

QString otherLandKindField(Version version)
{
    return version == Version::V98 ? QStringLiteral("JP_DRUH") : QStringLiteral("Vyuziti");
}

} // namespace vex
