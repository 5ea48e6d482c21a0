// Sample data of the sibling inventory database: codebooks, PHS tables and generated forest units.
#include "tools/samples/SampleData.h"
#include "tools/ishul/IsHulSampleWriter.h"
#include "tools/oldlhp/OldLhpSampleWriter.h"

#include "forest/rules/SpeciesCodes.h"
#include "platform/Exceptions.h"
#include "platform/db/Table.h"
#include "platform/files/Files.h"
#include "platform/ini/IniFile.h"
#include "platform/text/Cp1250.h"

#include <QDir>
#include <QFile>

#include <array>
#include <map>

namespace samples {

namespace {

// Codebook files that the codebook container opens under another name than the data module.
const std::pair<const char*, const char*> kCodebookAliases[] = {
    {"KVAL_P", "Cis_Kval_P.db"},
    {"CISPOSK1", "Cis_Posk.DB"},
};

QVariant valueOf(const db::FieldDef& def, const QString& text)
{
    if (text.isEmpty())
        return {};
    switch (def.DataType) {
    case db::FieldType::ftFloat:
        return text.toDouble();
    case db::FieldType::ftSmallint:
    case db::FieldType::ftInteger:
        return text.toInt();
    default:
        return text;
    }
}

// Rows of the stand tables of one unit, gathered before they are written.
class UnitBuilder
{
public:
    UnitBuilder(const UnitOptions& options, QStringList notes)
        : m_options(options), m_v98(options.version == vex::Version::V98), m_random(options.seed),
          m_notes(std::move(notes))
    {
    }

    void build();
    void write(const QString& dataDir) const;

private:
    double nextId(const char* table) { return ++m_ids[table]; }
    QVariantList& row(const char* table) { return m_rows[table].emplace_back(); }
    void compartment(int number);
    void subCompartment(double compartmentId, const QString& dil, int number);
    void stand(double dilecId, const QString& por, int compartment);
    void standGroup(double standId, const QString& psk, int compartment);
    void storey(double groupId, const QString& etaz, int age, double area, int hs);
    void species(double storeyId, const QString& code, int share, int age, double area, int proc, const QString& genKlas);
    void proposals(double storeyId, const QStringList& species, int age, double area);
    void otherLand(double parentId);
    void otherArea(double parentId);
    void bareLand(double standId, int number);

    UnitOptions m_options;
    bool m_v98;
    Random m_random;
    QStringList m_notes;
    std::map<QString, double> m_ids;
    std::map<QString, QList<QVariantList>> m_rows;
    int m_speciesCount = 0;
};

const std::array<const char*, 6> kGenKlas = {"A", "B", "C", "D", "N", ""};

void UnitBuilder::build()
{
    for (int c = 1; c <= m_options.compartments; ++c)
        compartment(c);
}

void UnitBuilder::compartment(int number)
{
    const double id = nextId("ODDELENI");
    row("ODDELENI") = {1.0, number, id};
    const int subs = m_random.between(1, 3);
    for (int s = 0; s < subs; ++s)
        subCompartment(id, QString(QChar(u'A' + s)), number);
    // A repeated sub-compartment designation, which the loaders skip with everything below it.
    if (number % 10 == 7)
        subCompartment(id, QStringLiteral("A"), number);
    if (!m_v98 && m_random.chance(3))
        otherLand(id);
    if (!m_v98 && m_random.chance(4))
        otherArea(id);
}

void UnitBuilder::subCompartment(double compartmentId, const QString& dil, int number)
{
    const double id = nextId("DILEC");
    row("DILEC") = {compartmentId, dil, id};
    const int stands = m_random.chance(4) ? 2 : 1;
    for (int s = 1; s <= stands; ++s)
        stand(id, QString::number(s), number);
}

void UnitBuilder::stand(double dilecId, const QString& por, int compartment)
{
    const double id = nextId("POROST");
    const int owner = m_random.between(1, 4);
    const bool protectedStand = m_random.chance(5);
    row("POROST") = {dilecId, por, id, protectedStand ? 32 : 10, m_random.chance(2) ? "C" : "D", "16",
                     0.0, protectedStand ? 2.0 : 0.0, double(owner), double(owner),
                     protectedStand ? "32a" : "10", double(m_random.between(1, 2)), double(m_random.between(0, 3)),
                     m_random.chance(3) ? "B" : "A", 10.0, m_random.chance(2) ? "001" : "002"};
    if (m_random.chance(3))
        row("POR_POZN") = {id, nextId("POR_POZN"), m_notes.value(m_random.below(int(m_notes.size())))};
    if (protectedStand)
        row("PREKRYV") = {"32a", id, nextId("PREKRYV")};
    if (m_random.chance(6)) {
        bareLand(id, 1);
        if (compartment % 3 == 0)
            bareLand(id, 1);   // a repeated number: the loaders key it 1a
    }
    if (m_v98 && m_random.chance(6))
        otherLand(id);
    if (m_v98 && m_random.chance(8))
        otherArea(id);
    const int groups = m_random.between(1, std::max(1, m_options.groupsPerStand));
    for (int g = 1; g <= groups; ++g)
        standGroup(id, QString::number(g), compartment);
}

void UnitBuilder::bareLand(double standId, int number)
{
    const double area = m_random.between(5, 90) / 100.0;
    QVariantList& r = row("BEZLESI");
    r = {standId, nextId("BEZLESI"), double(number), 1.0, 1, 700231.0, 10.0, area, area, 0.0, 1.0,
         "holina po těžbě", 1.0, "", "01"};
}

void UnitBuilder::otherLand(double parentId)
{
    const double area = m_random.between(10, 150) / 100.0;
    QVariantList& r = row("JINE_POZ");
    r = {parentId, double(m_random.between(1, 4)), nextId("JINE_POZ"), "A", 1.0, 1, 700231.0, 10.0, area, area, 0.0,
         1.0, 10.0, "lesní cesta", 1.0, "", "01"};
    if (!m_v98)
        r.append("10");
}

void UnitBuilder::otherArea(double parentId)
{
    const double area = m_random.between(5, 60) / 100.0;
    row("OST_POZ") = {parentId, double(m_random.between(1, 3)), nextId("OST_POZ"), 1.0, 1, 700231.0, 10.0, area,
                      area, 0.0, 1.0, 10.0, "průsek", 1.0, "", "02"};
}

void UnitBuilder::standGroup(double standId, const QString& psk, int compartment)
{
    const double id = nextId("PS");
    const double area = m_random.between(30, 900) / 100.0;
    const char* slt = kSlt[size_t(m_random.below(int(kSlt.size())))];
    const QString lt = QString::fromLatin1(slt) + QLatin1Char('1');
    row("PS") = {standId, psk, id, double(m_random.between(1, 4)), 700231 + compartment % 3, 10, lt,
                 QString::fromLatin1(slt), m_random.between(200, 900), "V", m_random.between(1, 3), "A", 1.0, 1.0,
                 2.0, area, area, 0.0, 1.0, 1.0, "", "A"};
    if (m_random.chance(5))
        row("PS_POZN") = {id, nextId("PS_POZN"), m_notes.value(m_random.below(int(m_notes.size())))};
    const int hs = kHs[size_t(m_random.below(int(kHs.size())))];
    const int age = m_random.between(5, 140);
    storey(id, QStringLiteral("1"), age, area, hs);
    if (age > 60 && m_random.chance(3))
        storey(id, QStringLiteral("2"), m_random.between(5, 30), area, hs);
}

void UnitBuilder::storey(double groupId, const QString& etaz, int age, double area, int hs)
{
    const double id = nextId("ETAZ");
    QVariantList& r = row("ETAZ");
    r = {groupId, etaz, id, hs, area, 1.0, 110 + hs / 5, 30, 90, age, m_random.between(4, 10), 1, 1996, 2, 25, "V"};
    if (m_v98)
        r << "" << m_random.between(1, 2) << 0;
    const int count = m_random.between(1, std::max(1, m_options.speciesPerStorey));
    QStringList codes;
    int left = 100;
    for (int i = 0; i < count; ++i) {
        QString code = QString::fromLatin1(kSpecies[size_t(m_random.below(int(kSpecies.size())))]);
        if (codes.contains(code))
            continue;
        const int share = i == count - 1 ? left : std::min(left, 10 * m_random.between(1, 6));
        if (share <= 0)
            break;
        left -= share;
        codes.append(code);
        species(id, code, share, age, area, 0, QString::fromLatin1(kGenKlas[size_t(m_speciesCount % kGenKlas.size())]));
    }
    if (left > 0 && !codes.isEmpty())
        m_rows["DREVINA"].last()[1] = m_rows["DREVINA"].last()[1].toInt() + left;
    // Standing dead wood of spruce beside the living spruce.
    if (codes.contains(QStringLiteral("SM")) && age > 80 && m_random.chance(4)) {
        species(id, QStringLiteral("SM"), 0, age, area, 100, QString());
        codes.append(QStringLiteral("SM"));   // the dead wood has its own proposal rows
    }
    proposals(id, codes, age, area);
}

void UnitBuilder::species(double storeyId, const QString& code, int share, int age, double area, int proc,
                          const QString& genKlas)
{
    ++m_speciesCount;
    const int height = std::min(38, 2 + age / 4);
    const int diameter = std::min(60, 2 + age / 3);
    const int perHa = std::min(700, age * 4);
    const double volume = perHa * area * share / 100.0;
    QVariantList& r = row("DREVINA");
    r = {code, share, diameter, height, m_random.between(1, 4) == 1 ? m_random.between(1, 4) : m_random.between(24, 34),
         perHa, perHa, volume, int(perHa * 2), 1.0 + age / 10.0, genKlas, m_v98 ? QVariant(1) : QVariant("1"), "1", "0",
         proc, m_random.between(1, 3), storeyId, nextId("DREVINA"), m_random.between(1, 4), 0.5 + age / 200.0, 1,
         diameter, area * share / 100.0, "1"};
    if (m_v98)
        r << 0 << "";
    if (m_random.chance(6))
        row("POSKOZ") = {m_random.between(1, 5), m_random.between(1, 3), r[17]};
}

void UnitBuilder::proposals(double storeyId, const QStringList& species, int age, double area)
{
    auto proposal = [&](int kind, const QString& code, double volume, int percent, int urgency, const QString& given) {
        QVariantList& r = row("NAVRH");
        r = {storeyId, nextId("NAVRH"), kind, code, urgency, volume, area, double(percent), volume / std::max(area, 0.01),
             1, 0, 1, given};
        if (m_v98)
            r.append("");
    };
    if (age >= 20 && age < 90)
        for (const QString& code : species)
            proposal(11, code, 12.0 * area, 10, age <= 40 ? 1 : 2, QStringLiteral("1"));
    if (age >= 90)
        for (const QString& code : species)
            proposal(10, code, 40.0 * area, 30, 2, QStringLiteral("1"));
    if (age < 20) {
        proposal(12, QString(), 0.0, 0, 1, QString());
        if (age < 10) {
            proposal(1, QStringLiteral("BK"), 0.0, 60, 1, QStringLiteral("1"));
            proposal(3, QStringLiteral("JD"), 0.0, 40, 1, QStringLiteral("1"));
        }
    }
}

// Layouts of the written stand tables: the declared fields, LHC.DB and POROST.DB in full.
db::FieldDefs layoutOf(const QString& file, vex::Version version)
{
    if (file == QLatin1String("POROST.DB"))
        return vex::parseFields(vex::layoutOf(vex::Version::V97, QStringLiteral("TB_Porost")).declared);
    for (const vex::TableLayout& l : vex::standTables(version))
        if (file == QLatin1String(l.file))
            return vex::parseFields(l.declared);
    throw Exception(QStringLiteral("Neznámá tabulka %1").arg(file));
}

void UnitBuilder::write(const QString& dataDir) const
{
    static const std::pair<const char*, const char*> tables[] = {
        {"ODDELENI", "ODDELENI.DB"}, {"DILEC", "DILEC.DB"},     {"POROST", "POROST.DB"}, {"POR_POZN", "POR_POZN.DB"},
        {"PREKRYV", "PREKRYV.DB"},   {"BEZLESI", "BEZLESI.DB"}, {"PS", "PS.DB"},         {"PS_POZN", "PS_POZN.DB"},
        {"ETAZ", "ETAZ.DB"},         {"DREVINA", "DREVINA.DB"}, {"POSKOZ", "POSKOZ.DB"}, {"NAVRH", "NAVRH.DB"},
        {"OST_POZ", "OST_POZ.DB"},   {"JINE_POZ", "JINE_POZ.DB"},
    };
    QList<QVariantList> counters;
    for (const auto& [name, file] : tables) {
        const auto it = m_rows.find(QString::fromLatin1(name));
        writeTable(dataDir + QLatin1Char('/') + QString::fromLatin1(file), layoutOf(QString::fromLatin1(file), m_options.version),
                   it == m_rows.end() ? QList<QVariantList>() : it->second);
        const auto id = m_ids.find(QString::fromLatin1(name));
        counters.append({QString::fromLatin1(name), id == m_ids.end() ? 0.0 : id->second});
    }
    writeTable(dataDir + QStringLiteral("/ID.DB"), vex::parseFields("Tabulka A8,ID N"), counters);
}

QString dataFile(const QString& sourceDir, const QString& relative)
{
    return sourceDir + QLatin1Char('/') + relative;
}

void writeLhc(const QString& sourceDir, const QString& dataDir, const UnitOptions& options)
{
    CsvTable lhc = readCsv(dataFile(sourceDir, QStringLiteral("units/lhc.csv")));
    if (options.lhcRow >= lhc.rows.size())
        throw Exception(QStringLiteral("Chybí řádek %1 hlavičky LHC").arg(options.lhcRow));
    lhc.rows = {lhc.rows[options.lhcRow]};
    if (options.version == vex::Version::V97) {
        // The version-97 header lacks the columns by which version 98 is told apart.
        CsvTable v97;
        for (int i = 0; i < 8; ++i)
            v97.defs.Add(lhc.defs[i].Name, lhc.defs[i].DataType, lhc.defs[i].Size);
        v97.rows = {lhc.rows[0].mid(0, 8)};
        lhc = v97;
    }
    writeTextTable(dataDir + QStringLiteral("/LHC.DB"), lhc);
}

void writePhs(const QString& sourceDir, const QString& phsDir, vex::Version version)
{
    const QDir dir(dataFile(sourceDir, QStringLiteral("phs")));
    for (const QString& name : dir.entryList({QStringLiteral("*.csv")}, QDir::Files, QDir::Name)) {
        CsvTable t = readCsv(dir.filePath(name));
        if (name == QLatin1String("OLH.csv") && version == vex::Version::V97) {
            // Version 97 managers have no licence columns yet.
            CsvTable old;
            for (int i = 0; i < 4; ++i)
                old.defs.Add(t.defs[i].Name, t.defs[i].DataType, t.defs[i].Size);
            for (const QStringList& r : t.rows)
                old.rows.append(r.mid(0, 4));
            t = old;
        }
        writeTextTable(phsDir + QLatin1Char('/') + name.chopped(4) + QStringLiteral(".DB"), t);
    }
    if (version == vex::Version::V98) {
        IniFile phs(phsDir + QStringLiteral("/phs.ini"));
        phs.writeString(QStringLiteral("ObecneParametry"), QStringLiteral("VerzeProNarodniPark"), QStringLiteral("NE"));
    }
}

} // namespace

CsvTable readCsv(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Exception(QStringLiteral("Soubor %1 nelze číst").arg(path));
    const QStringList lines = Cp1250::decode(file.readAll()).split(QLatin1Char('\n'));
    CsvTable table;
    bool first = true;
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.isEmpty())
            continue;
        QStringList values = line.split(QLatin1Char(';'));
        if (first) {
            table.defs = vex::parseFields(values.join(QLatin1Char(',')).toLatin1().constData());
            first = false;
            continue;
        }
        while (values.size() > table.defs.Count() && values.last().isEmpty())
            values.removeLast();
        if (values.size() > table.defs.Count())
            throw Exception(QStringLiteral("Řádek \"%1\" souboru %2 má příliš mnoho hodnot").arg(line, path));
        table.rows.append(values);
    }
    return table;
}

void writeTable(const QString& path, const db::FieldDefs& defs, const QList<QVariantList>& rows)
{
    db::Table t;
    t.SetTableName(path);
    t.FieldDefs() = defs;
    t.CreateTable();
    t.Open();
    for (const QVariantList& values : rows) {
        t.Append();
        for (int i = 0; i < values.size() && i < t.FieldCount(); ++i)
            t.Fields(i).Value(values[i]);
        t.Post();
    }
    t.Close();
}

void writeTextTable(const QString& path, const CsvTable& table)
{
    QList<QVariantList> rows;
    for (const QStringList& text : table.rows) {
        QVariantList values;
        for (int i = 0; i < text.size(); ++i)
            values.append(valueOf(table.defs[i], text[i]));
        rows.append(values);
    }
    writeTable(path, table.defs, rows);
}

void writeCodebooks(const QString& sourceDir, const QString& programDir)
{
    const QString target = programDir + QStringLiteral("/ciselnik");
    files::forceDirectories(target);
    const QDir dir(dataFile(sourceDir, QStringLiteral("ciselnik")));
    for (const QString& name : dir.entryList({QStringLiteral("*.csv")}, QDir::Files, QDir::Name)) {
        CsvTable t = readCsv(dir.filePath(name));
        const QString base = name.chopped(4);
        if (base == QLatin1String("CIS_DREV"))
            for (QStringList& r : t.rows) {
                const int code = SpeciesCodeOfIndex(SpeciesIndex(r.value(0)));
                r[2] = QString::number(code);
                r[4] = QString::number(code);
            }
        writeTextTable(target + QLatin1Char('/') + base + QStringLiteral(".DB"), t);
        for (const auto& [from, to] : kCodebookAliases)
            if (base == QLatin1String(from))
                writeTextTable(target + QLatin1Char('/') + QString::fromLatin1(to), t);
    }
}

void writeUnit(const QString& sourceDir, const QString& unitDir, const UnitOptions& options)
{
    const QString dataDir = unitDir + QStringLiteral("/DATA");
    const QString phsDir = unitDir + QStringLiteral("/PHS");
    files::forceDirectories(dataDir);
    files::forceDirectories(phsDir);
    writeLhc(sourceDir, dataDir, options);
    const CsvTable notes = readCsv(dataFile(sourceDir, QStringLiteral("units/notes.csv")));
    QStringList noteLines;
    for (const QStringList& r : notes.rows)
        noteLines.append(r.value(0));
    UnitBuilder builder(options, noteLines);
    builder.build();
    builder.write(dataDir);
    writePhs(sourceDir, phsDir, options.version);
}

QString writeGeneratedInstallation(const QString& sourceDir, const QString& programDir, const UnitOptions& options)
{
    writeCodebooks(sourceDir, programDir);
    writeUnit(sourceDir, programDir + QStringLiteral("/lhc"), options);
    const QString data = programDir + QStringLiteral("/lhc/DATA");
    IniFile vkm(programDir + QStringLiteral("/vkm.ini"));
    vkm.writeString(QStringLiteral("DATABASE"), QStringLiteral("DATA"), QStringLiteral("PATH=") + data);
    vkm.writeString(QStringLiteral("DATABASE"), QStringLiteral("MANAGER"), QStringLiteral("NE"));
    return data;
}

void writeSampleInstallation(const QString& sourceDir, const QString& programDir)
{
    writeCodebooks(sourceDir, programDir);
    UnitOptions v97;
    v97.seed = 97;
    writeUnit(sourceDir, programDir + QStringLiteral("/vzorky/vex97"), v97);
    UnitOptions v98;
    v98.version = vex::Version::V98;
    v98.seed = 98;
    v98.lhcRow = 1;
    writeUnit(sourceDir, programDir + QStringLiteral("/vzorky/vex98"), v98);
    const QString vkmPath = programDir + QStringLiteral("/vkm.ini");
    QFile::remove(vkmPath);
    IniFile vkm(vkmPath);
    const QString data = programDir + QStringLiteral("/vzorky/vex97/DATA");
    vkm.writeString(QStringLiteral("DATABASE"), QStringLiteral("DATA_OBECNE"), programDir + QStringLiteral("/vzorky"));
    vkm.writeString(QStringLiteral("DATABASE"), QStringLiteral("DATA"), QStringLiteral("PATH=") + data);
    vkm.writeString(QStringLiteral("DATABASE"), QStringLiteral("MANAGER"), QStringLiteral("NE"));
    writeIsHulSamples(sourceDir, programDir);
    writeOldLhpSamples(sourceDir, programDir);
}

} // namespace samples
