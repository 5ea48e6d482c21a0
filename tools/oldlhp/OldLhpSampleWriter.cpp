// A sample unit of old 160-character LHP records, generated so that the format holds it whole.
#include "tools/oldlhp/OldLhpSampleWriter.h"

#include "app/sources/oldlhp/UnivStareLHP.h"
#include "platform/Exceptions.h"
#include "platform/text/Cp1250.h"
#include "tools/samples/SampleData.h"

#include <QDir>
#include <QFile>

#include <array>

namespace samples {

namespace {

// Owners a sub-compartment's stands take, each stand another one: kind and code.
constexpr std::array<std::pair<int, int>, 4> kOwners = {{{1, 15}, {2, 2301}, {3, 412}, {4, 99001}}};

// A record being built: numbers right-aligned in their columns, texts left-aligned.
class Record
{
public:
    Record() : m_bytes(TUnivStareLHP::RecordLength, ' ') {}
    void set(int field, qint64 number) { put(field, QByteArray::number(number).rightJustified(width(field), ' ', true)); }
    void setText(int field, const QString& text)
    {
        put(field, Cp1250::encode(text).leftJustified(width(field), ' ', true));
    }
    const QByteArray& bytes() const { return m_bytes; }

private:
    static int width(int field) { return TUnivStareLHP::fieldWidth(field); }
    void put(int field, const QByteArray& bytes) { m_bytes.replace(TUnivStareLHP::fieldStart(field) - 1, width(field), bytes); }
    QByteArray m_bytes;
};

// The stand-text record of a sub-compartment: string 2 describes it.
QByteArray standTexts(const QString& description)
{
    QByteArray out;
    for (int i = 1; i <= TUnivStareLHP::TlhStrings; ++i) {
        const QByteArray text = i == 2 ? Cp1250::encode(description).left(TUnivStareLHP::TlhStringLength) : QByteArray();
        out += char(text.size());
        out += text.leftJustified(TUnivStareLHP::TlhStringLength, ' ');
    }
    return out;
}

struct Output {
    QByteArray records;
    QByteArray texts;
    int lastKey = -1;
};

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) < 0)
        throw EFileError(QStringLiteral("Nelze zapsat soubor \"%1\"").arg(path));
}

QByteArray recordOf(const OldLhpUnit& unit, const OldLhpRow& row)
{
    const QString code = QString::number(unit.lhcKod).rightJustified(6, QLatin1Char('0'));
    Record r;
    r.setText(1, unit.name.left(5));
    r.setText(2, code.mid(0, 1));
    r.setText(3, code.mid(1, 2));
    r.setText(4, code.mid(3, 2));
    r.setText(5, code.mid(5, 1));
    r.set(6, 11);
    r.set(7, row.odd);
    r.setText(8, QString(QLatin1Char(row.dil)));
    r.set(9, 10);
    r.set(10, row.ownerKind * 100 + row.owner % 100);
    r.set(31, row.owner / 100);
    r.set(16, row.group.toLongLong());
    r.set(17, row.groupArea);
    r.set(18, row.age);
    r.set(19, row.hs % 1000);
    r.set(59, row.hs / 1000);
    r.set(20, (110 + row.hs / 5) * 100 + 30);
    r.setText(21, row.lt);
    r.set(22, row.stocking);
    r.setText(23, row.species);
    r.set(24, row.share);
    r.set(25, row.area);
    r.set(26, row.height);
    r.set(27, row.diameter);
    r.set(28, row.siteClass);
    r.set(32, row.volume);
    r.set(40, row.thinning);
    r.set(64, 22);
    return r.bytes();
}

// The rows of one storey: distinct species whose shares make 100.
void addStorey(Random& random, const UnitOptions& options, OldLhpRow row, QList<OldLhpRow>& rows)
{
    const int count = random.between(1, std::max(1, options.speciesPerStorey));
    QStringList taken;
    int left = 100;
    for (int i = 0; i < count && left > 0; ++i) {
        const QString species = QString::fromLatin1(kSpecies[size_t(random.below(int(kSpecies.size())))]);
        if (taken.contains(species))
            continue;
        taken << species;
        row.species = species;
        row.share = i == count - 1 ? left : std::min(left, 10 * random.between(1, 6));
        left -= row.share;
        row.area = row.groupArea * row.share / 100;
        row.height = random.between(5, 40);
        row.diameter = random.between(5, 60);
        row.siteClass = random.between(14, 36);
        row.volume = random.between(50, 600) * row.area / 100;
        row.thinning = row.volume * random.between(0, 15) / 100;
        rows << row;
    }
    if (left > 0) {
        OldLhpRow& last = rows.last();   // a species drawn twice leaves its share to the last one
        last.share += left;
        last.area = last.groupArea * last.share / 100;
    }
}

} // namespace

OldLhpUnit generateOldLhpUnit(const QString& sourceDir, const UnitOptions& options)
{
    const CsvTable lhc = readCsv(sourceDir + QStringLiteral("/units/lhc.csv"));
    if (options.lhcRow >= lhc.rows.size())
        throw Exception(QStringLiteral("Chybí řádek %1 hlavičky LHC").arg(options.lhcRow));
    OldLhpUnit unit;
    unit.name = lhc.rows[options.lhcRow].value(0);
    unit.lhcKod = lhc.rows[options.lhcRow].value(2).toInt();
    Random random(options.seed);
    for (int odd = 1; odd <= std::min(options.compartments, 999); ++odd) {
        const int subs = random.between(1, 3);
        for (int sub = 0; sub < subs; ++sub) {
            const int stands = random.chance(3) ? 2 : 1;
            const int firstOwner = random.below(int(kOwners.size()));
            int designation = 1;
            for (int s = 0; s < stands; ++s) {
                OldLhpRow row;
                row.odd = odd;
                row.dil = char('a' + sub);
                row.stand = char('a' + s);
                row.ownerKind = kOwners[size_t((firstOwner + s) % int(kOwners.size()))].first;
                row.owner = kOwners[size_t((firstOwner + s) % int(kOwners.size()))].second;
                const int groups = random.between(1, std::max(1, options.groupsPerStand));
                for (int g = 0; g < groups; ++g) {
                    row.group = QString::number(designation++);
                    row.groupArea = random.between(30, 900);
                    row.age = random.between(5, 140);
                    row.stocking = random.between(4, 10);
                    row.hs = kHs[size_t(random.below(int(kHs.size())))];
                    row.lt = QString::fromLatin1(kSlt[size_t(random.below(int(kSlt.size())))]) + QLatin1Char('1');
                    addStorey(random, options, row, unit.rows);
                }
            }
        }
    }
    return unit;
}

void writeOldLhpUnit(const OldLhpUnit& unit, const QString& outDir)
{
    QDir().mkpath(outDir);
    std::array<Output, 2> files;
    const int total = unit.rows.isEmpty() ? 0 : unit.rows.last().odd;
    bool middleBegun = false;
    for (const OldLhpRow& row : unit.rows) {
        // The first half goes to file 01, the rest to 03; the middle compartment is split.
        const bool middle = row.odd == total / 2 + 1;
        const size_t file = row.odd <= total / 2 || (middle && !middleBegun) ? 0 : 1;
        middleBegun = middleBegun || middle;
        Output& out = files[file];
        out.records += recordOf(unit, row) + "\r\n";
        const int key = row.odd * 100 + static_cast<unsigned char>(row.dil);
        if (key != out.lastKey) {
            out.texts += standTexts(QStringLiteral("Dílec %1%2").arg(row.odd).arg(QLatin1Char(row.dil)));
            out.lastKey = key;
        }
    }
    const QString base = outDir + QLatin1Char('/') + QString::number(unit.lhcKod);
    writeFile(base + QStringLiteral(".01V"), files[0].records);
    writeFile(base + QStringLiteral("01.tlh"), files[0].texts);
    writeFile(base + QStringLiteral(".03V"), files[1].records);
    writeFile(base + QStringLiteral("03.tlh"), files[1].texts);
}

OldLhpUnit oldLhpSampleUnit(const QString& sourceDir)
{
    UnitOptions options;
    options.seed = 160;
    return generateOldLhpUnit(sourceDir, options);
}

void writeOldLhpSamples(const QString& sourceDir, const QString& programDir)
{
    writeOldLhpUnit(oldLhpSampleUnit(sourceDir), programDir + QStringLiteral("/vzorky/lhp160"));
}

} // namespace samples
