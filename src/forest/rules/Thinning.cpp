// The thinning table and the thinning percentage of one species of a storey.
#include "forest/rules/Thinning.h"

#include "forest/rules/SpeciesCodes.h"
#include "platform/Exceptions.h"
#include "platform/text/Numbers.h"

#include <QStringList>

#include <algorithm>
#include <array>

namespace {

// Percentages by thinning class 1..5, stocking 7..10 and age decade 1..9.
using DecadeRow = std::array<qint8, 9>;
constexpr std::array<std::array<DecadeRow, 4>, 5> thinningTable = {{
    {{
        {0, 1, 2, 2, 2, 2, 2, 2, 2},         // 1, 7
        {0, 2, 3, 3, 2, 2, 2, 2, 2},         // 1, 8
        {0, 7, 4, 3, 3, 3, 3, 2, 2},         // 1, 9
        {0, 14, 12, 11, 9, 8, 7, 6, 6},      // 1, 10
    }},
    {{
        {10, 4, 4, 4, 3, 2, 2, 2, 2},        // 2, 7
        {29, 4, 4, 4, 4, 3, 3, 3, 2},        // 2, 8
        {38, 16, 7, 5, 4, 4, 3, 3, 3},       // 2, 9
        {47, 24, 17, 12, 10, 8, 7, 6, 6},    // 2, 10
    }},
    {{
        {4, 4, 5, 5, 4, 3, 3, 3, 2},         // 3, 7
        {6, 4, 6, 6, 5, 4, 3, 3, 3},         // 3, 8
        {14, 7, 7, 6, 6, 5, 4, 3, 3},        // 3, 9
        {19, 15, 14, 12, 11, 10, 9, 8, 8},   // 3, 10
    }},
    {{
        {0, 2, 1, 2, 2, 2, 1, 1, 1},         // 4, 7
        {0, 10, 4, 2, 2, 2, 2, 1, 1},        // 4, 8
        {0, 16, 13, 10, 6, 4, 2, 1, 1},      // 4, 9
        {0, 21, 21, 18, 16, 13, 11, 10, 9},  // 4, 10
    }},
    {{
        {0, 3, 3, 3, 3, 2, 2, 2, 2},         // 5, 7
        {0, 8, 3, 4, 3, 3, 2, 2, 2},         // 5, 8
        {0, 17, 9, 3, 3, 3, 2, 2, 2},        // 5, 9
        {0, 26, 17, 12, 10, 8, 7, 6, 6},     // 5, 10
    }},
}};

// Forest-type letters of the richer sites: table kind 2 for spruce, fir and Douglas fir
// without a relative site class.
const QString richForestTypes = QStringLiteral("BDGHLOPQRSTV");

// How the percentage of a minor species is adjusted, by species.
enum class MinorShare { Third, Half, Double, Keep };

// The rule of every position 0..83 (83: no species), built once from the lists.
std::array<MinorShare, noSpeciesIndex + 1> minorShareRules()
{
    // Abbreviations as the thinning rules list them; each species is in at most one list.
    const QStringList third = {"SM", "SMP", "SMC", "SMS", "SMO", "SME", "SMX", "JD", "JDO", "JDJ",
                               "JDK", "JDV", "JDX", "DG", "BO", "BOC", "VJ", "LMB", "BOP", "BOX",
                               "BL", "MD", "MDX", "JX", "OR", "ORC"};
    const QStringList half = {"DB", "DBS", "DBZ", "DBC", "DBP", "DBB", "DBX", "CER", "BK", "HB",
                              "JV", "KL", "BB", "JVJ", "JVX", "JS", "JSA", "JSX", "JL", "JLH",
                              "JLV", "LTX", "LP", "LPV", "LPS", "OL", "OLS", "OLZ", "TP", "TPC"};
    const QStringList twice = {"AK", "BR", "BRP", "JR", "BRK", "MK", "TR", "STR", "HR", "JB",
                               "OS", "JIV", "VR"};
    std::array<MinorShare, noSpeciesIndex + 1> rules;
    rules.fill(MinorShare::Keep);
    for (const QString& a : third)
        rules[static_cast<size_t>(SpeciesIndex(a))] = MinorShare::Third;
    for (const QString& a : half)
        rules[static_cast<size_t>(SpeciesIndex(a))] = MinorShare::Half;
    for (const QString& a : twice)
        rules[static_cast<size_t>(SpeciesIndex(a))] = MinorShare::Double;
    return rules;
}

MinorShare minorShareRule(int position)
{
    static const std::array<MinorShare, noSpeciesIndex + 1> rules = minorShareRules();
    return position >= 0 && position <= noSpeciesIndex ? rules[static_cast<size_t>(position)] : MinorShare::Keep;
}

// Table kind 1..5 by growth group; 0 for the groups without a table.
int tableKind(int group, QChar forestTypeLetter, int bonA)
{
    switch (group) {
    case 0:
    case 3:
    case 12:
        if (bonA != 0)
            return bonA < 24 ? 1 : 2;
        return richForestTypes.contains(forestTypeLetter) ? 2 : 1;
    case 1:
    case 2:
        return 3;
    case 5: case 6: case 7: case 8: case 9: case 10:
        return 4;
    case 4:
    case 11:
        return 5;
    default:
        return 0;
    }
}

} // namespace

int ThinningTableValue(int thinningClass, int stocking, int decade)
{
    if (decade > 9)
        decade = 9;
    if (stocking < 7)
        return 0;
    if (thinningClass < 1 || thinningClass > 5 || stocking > 10 || decade < 1)
        throw ERangeError(QStringLiteral("Range check error"));
    return thinningTable[static_cast<size_t>(thinningClass - 1)][static_cast<size_t>(stocking - 7)]
                        [static_cast<size_t>(decade - 1)];
}

int ThinningPercentFromPhsTables(const QString& abbreviation, int zakm, int vek, QChar forestTypeLetter, int bonA,
                                 int hundredMinusZast, int zast)
{
    const int kind = tableKind(SpeciesGroupOfAbbreviation(abbreviation), forestTypeLetter, bonA);
    int p = 99;
    if (kind != 0) {
        const int r = vek % 10;
        const int d = std::clamp(vek / 10 - 1, 1, 9);
        const int z = std::min(zakm, 10);
        const double weighted = ThinningTableValue(kind, z, d) * (10 - r) + ThinningTableValue(kind, z, d + 1) * r;
        p = txt::roundHalfEven(weighted / 10);
    }
    if (p > 0 && zast < 25 && hundredMinusZast > 75) {
        switch (minorShareRule(SpeciesIndex(abbreviation))) {
        case MinorShare::Third: p /= 3; break;
        case MinorShare::Half: p /= 2; break;
        case MinorShare::Double: p *= 2; break;
        case MinorShare::Keep: break;
        }
        if (p > 100)
            p = 100;
    }
    return p;
}
