// The table of recognised stands (TGENKL.DB): its 31 fields and the rule that makes a row of a species.
#include "app/calculation/RecognisedStandsTable.h"

#include "platform/Exceptions.h"
#include "platform/db/Table.h"
#include "platform/files/Files.h"

#include <QFile>

namespace app {

namespace {

using db::FieldType;

struct FieldLayout {
    const char* name;
    FieldType type;
    int size;
};

// In this order; no key, no required field.
constexpr FieldLayout tableFields[] = {
    {"LHC_KOD", FieldType::ftInteger, 0},   {"LHC_NAZEV", FieldType::ftString, 80},
    {"Okres", FieldType::ftInteger, 0},     {"Okr_Nazev", FieldType::ftString, 80},
    {"LHP_TAX", FieldType::ftString, 80},   {"LHP_Z_TAX", FieldType::ftString, 80},
    {"MAJ_NAZ", FieldType::ftString, 80},   {"NAJEMCE", FieldType::ftString, 80},
    {"ODD", FieldType::ftInteger, 0},       {"DIL", FieldType::ftString, 1},
    {"POR", FieldType::ftString, 1},        {"LES_OBL", FieldType::ftString, 4},
    {"L_OBL_Naz", FieldType::ftString, 80}, {"PSK", FieldType::ftString, 15},
    {"ETAZ", FieldType::ftString, 3},       {"Novy_kod", FieldType::ftString, 22},
    {"Stary_Kod", FieldType::ftString, 15}, {"Fenotyp", FieldType::ftString, 1},
    {"DR_ZKR", FieldType::ftString, 3},     {"VEK", FieldType::ftInteger, 0},
    {"PSK_P", FieldType::ftFloat, 0},       {"ETAZ_PP", FieldType::ftFloat, 0},
    {"Plocha", FieldType::ftFloat, 0},      {"LVS", FieldType::ftInteger, 0},
    {"HS", FieldType::ftInteger, 0},        {"DR_ZAS_CEL", FieldType::ftFloat, 0},
    {"DR_TO", FieldType::ftFloat, 0},       {"TO_PROC", FieldType::ftFloat, 0},
    {"MODEL", FieldType::ftBoolean, 0},     {"OBMYTI", FieldType::ftInteger, 0},
    {"OBN_DOBA", FieldType::ftInteger, 0},
};
static_assert(std::size(tableFields) == 31);

} // namespace

bool isRecognisedClass(const QString& genKlas)
{
    return genKlas == QLatin1String("A") || genKlas == QLatin1String("B");
}

QString textAfterFirstDash(const QString& name)
{
    const qsizetype dash = name.indexOf(QLatin1Char('-'));
    return dash < 0 ? name : name.mid(dash + 1);
}

QString novyKod(qint32 odd, const QString& dil, const QString& por, const QString& psk)
{
    QString code = QString::number(odd) + dil + por + psk;
    code.remove(QLatin1Char(' '));
    return code;
}

qint32 lvsFromForestType(const QString& lt)
{
    if (lt.isEmpty() || lt.at(0) < QLatin1Char('0') || lt.at(0) > QLatin1Char('9'))
        return 0;
    return lt.at(0).unicode() - '0';
}

bool isModelThinning(qint32 drTo, qint32 drZasCel, qint32 mTezProc)
{
    return qint64(drTo) * 100 <= qint64(drZasCel) * qint64(mTezProc);
}

double speciesArea(qint32 zast, double etazPp)
{
    return double(static_cast<long double>(zast) * etazPp / 100.0L);
}

void recreateRecognisedStandsTable(db::Table& table, const QString& tablesDir)
{
    if (table.Active())
        table.Close();
    table.SetDatabaseName(tablesDir);
    table.SetTableName(QString::fromLatin1(recognisedStandsFile));
    // Through the table, so a list still open on the old file refuses instead of losing its edits.
    if (QFile::exists(table.filePath()))
        table.DeleteTable();
    table.SetExclusive(true);
    table.FieldDefs().Clear();
    for (const FieldLayout& f : tableFields)
        table.FieldDefs().Add(QString::fromLatin1(f.name), f.type, f.size);
    table.CreateTable();
}

bool writeSpeciesRow(db::Table& t, const SpeciesRowInput& in)
{
    if (!isRecognisedClass(in.genKlas))
        return false;
    t.Append();
    t.FieldByName(QStringLiteral("LHC_KOD")).AsInteger(in.lhcKod);
    t.FieldByName(QStringLiteral("LHP_TAX")).AsString(in.lhpTax);
    t.FieldByName(QStringLiteral("LHP_Z_TAX")).AsString(in.lhpZTax);
    t.FieldByName(QStringLiteral("MAJ_NAZ")).AsString(in.majNaz);
    t.FieldByName(QStringLiteral("Fenotyp")).AsString(in.genKlas);
    t.FieldByName(QStringLiteral("LHC_NAZEV")).AsString(in.lhcNaz);
    t.FieldByName(QStringLiteral("ODD")).AsInteger(in.odd);
    t.FieldByName(QStringLiteral("DIL")).AsString(in.dil);
    t.FieldByName(QStringLiteral("POR")).AsString(in.por);
    t.FieldByName(QStringLiteral("LES_OBL")).AsString(in.lesObl);
    t.FieldByName(QStringLiteral("L_OBL_Naz")).AsString(textAfterFirstDash(in.lesOblNazev));
    t.FieldByName(QStringLiteral("PSK")).AsString(in.psk);
    t.FieldByName(QStringLiteral("Novy_kod")).AsString(novyKod(in.odd, in.dil, in.por, in.psk));
    t.FieldByName(QStringLiteral("Okres")).AsInteger(in.lesUrad);
    t.FieldByName(QStringLiteral("Okr_Nazev")).AsString(textAfterFirstDash(in.lesUradNazev).trimmed());
    t.FieldByName(QStringLiteral("ETAZ")).AsString(in.etaz);
    t.FieldByName(QStringLiteral("DR_ZKR")).AsString(in.drZkr);
    t.FieldByName(QStringLiteral("PSK_P")).AsFloat(in.pskP);
    t.FieldByName(QStringLiteral("ETAZ_PP")).AsFloat(in.etazPp);
    t.FieldByName(QStringLiteral("Plocha")).AsFloat(speciesArea(in.zast, in.etazPp));
    t.FieldByName(QStringLiteral("DR_ZAS_CEL")).AsFloat(in.drZasCel);
    t.FieldByName(QStringLiteral("VEK")).AsInteger(in.vek);
    t.FieldByName(QStringLiteral("LVS")).AsInteger(lvsFromForestType(in.lt));
    t.FieldByName(QStringLiteral("HS")).AsInteger(in.hs);
    t.FieldByName(QStringLiteral("DR_TO")).AsFloat(in.drTo);
    t.FieldByName(QStringLiteral("TO_PROC")).AsFloat(in.mTezProc);
    t.FieldByName(QStringLiteral("MODEL")).AsBoolean(isModelThinning(in.drTo, in.drZasCel, in.mTezProc));
    t.FieldByName(QStringLiteral("OBMYTI")).AsInteger(in.obmyti);
    t.FieldByName(QStringLiteral("OBN_DOBA")).AsInteger(in.obnDoba);
    t.Post();
    return true;
}

} // namespace app
