// The table of recognised stands (TGENKL.DB): its 31 fields and the rule that makes a row of a species.
#include "app/calculation/RecognisedStandsTable.h"

#include "platform/Exceptions.h"
#include "platform/db/Table.h"
#include "platform/files/Files.h"

#include <QFile>

#include <charconv>
#include <iterator>
#include <string_view>

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
    // The number's digits have no blanks: they go in as they are, without a text of their own.
    char digits[12];
    const char* digitsEnd = std::to_chars(std::begin(digits), std::end(digits), odd).ptr;
    QString code;
    code.reserve(qsizetype(digitsEnd - digits) + dil.size() + por.size() + psk.size());
    code.append(QLatin1StringView(digits, digitsEnd));
    for (const QString* part : {&dil, &por, &psk})
        for (const QChar c : *part)
            if (c != QLatin1Char(' '))
                code.append(c);
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

namespace {

constexpr int fieldCount = int(std::size(tableFields));

// Position of a field in the table's layout (checked while compiling).
consteval int column(std::string_view name)
{
    for (int i = 0; i < fieldCount; ++i) {
        if (name == tableFields[i].name)
            return i;
    }
    throw "no such field";
}

// The fields of the table by layout position: those of the open table when it has exactly
// this layout (the case after recreateRecognisedStandsTable), else each found by its name.
class RowColumns
{
public:
    explicit RowColumns(db::Table& t) : m_table(t)
    {
        // The layout is checked once per opening of a table, not per row.
        static quint64 checkedStamp = 0;
        static bool checkedIsOwn = false;
        if (t.fieldsStamp() != checkedStamp) {
            bool own = t.FieldCount() == fieldCount;
            for (int i = 0; own && i < fieldCount; ++i)
                own = t.Fields(i).FieldName() == QLatin1StringView(tableFields[i].name);
            checkedIsOwn = own;
            checkedStamp = t.fieldsStamp();
        }
        m_isOwnLayout = checkedIsOwn;
    }
    db::Field& at(int index) const
    {
        return m_isOwnLayout ? m_table.Fields(index) : m_table.FieldByName(QString::fromLatin1(tableFields[index].name));
    }

private:
    db::Table& m_table;
    bool m_isOwnLayout = false;
};

} // namespace

bool writeSpeciesRow(db::Table& t, const SpeciesRowInput& in)
{
    if (!isRecognisedClass(in.genKlas))
        return false;
    t.Append();
    const RowColumns columns(t);
    columns.at(column("LHC_KOD")).AsInteger(in.lhcKod);
    columns.at(column("LHP_TAX")).AsString(in.lhpTax);
    columns.at(column("LHP_Z_TAX")).AsString(in.lhpZTax);
    columns.at(column("MAJ_NAZ")).AsString(in.majNaz);
    columns.at(column("Fenotyp")).AsString(in.genKlas);
    columns.at(column("LHC_NAZEV")).AsString(in.lhcNaz);
    columns.at(column("ODD")).AsInteger(in.odd);
    columns.at(column("DIL")).AsString(in.dil);
    columns.at(column("POR")).AsString(in.por);
    columns.at(column("LES_OBL")).AsString(in.lesObl);
    columns.at(column("L_OBL_Naz")).AsString(textAfterFirstDash(in.lesOblNazev));
    columns.at(column("PSK")).AsString(in.psk);
    columns.at(column("Novy_kod")).AsString(novyKod(in.odd, in.dil, in.por, in.psk));
    columns.at(column("Okres")).AsInteger(in.lesUrad);
    columns.at(column("Okr_Nazev")).AsString(textAfterFirstDash(in.lesUradNazev).trimmed());
    columns.at(column("ETAZ")).AsString(in.etaz);
    columns.at(column("DR_ZKR")).AsString(in.drZkr);
    columns.at(column("PSK_P")).AsFloat(in.pskP);
    columns.at(column("ETAZ_PP")).AsFloat(in.etazPp);
    columns.at(column("Plocha")).AsFloat(speciesArea(in.zast, in.etazPp));
    columns.at(column("DR_ZAS_CEL")).AsFloat(in.drZasCel);
    columns.at(column("VEK")).AsInteger(in.vek);
    columns.at(column("LVS")).AsInteger(lvsFromForestType(in.lt));
    columns.at(column("HS")).AsInteger(in.hs);
    columns.at(column("DR_TO")).AsFloat(in.drTo);
    columns.at(column("TO_PROC")).AsFloat(in.mTezProc);
    columns.at(column("MODEL")).AsBoolean(isModelThinning(in.drTo, in.drZasCel, in.mTezProc));
    columns.at(column("OBMYTI")).AsInteger(in.obmyti);
    columns.at(column("OBN_DOBA")).AsInteger(in.obnDoba);
    t.Post();
    return true;
}

} // namespace app
