// The species table: 82 abbreviations with growth groups, site-class constants and conversions.
#include "forest/rules/SpeciesTable.h"

#include "platform/text/Case.h"

#include <algorithm>

namespace {

// --- species: position 1..82, abbreviation, growth group -------------------------------------
constexpr std::array<SpeciesEntry, speciesCount> species = {{
    {"SM ", 0}, {"SMP", 0}, {"SMC", 0}, {"SMS", 0}, {"SMO", 0}, {"SME", 0},
    {"SMX", 0}, {"JD ", 3}, {"JDO", 3}, {"JDJ", 3}, {"JDK", 3}, {"JDV", 3},
    {"JDX", 3}, {"DG ", 12}, {"BO ", 1}, {"BOC", 1}, {"BKS", 1}, {"VJ ", 1},
    {"LMB", 1}, {"BOP", 1}, {"BOX", 1}, {"KOS", 13}, {"BL ", 1}, {"MD ", 2},
    {"MDX", 2}, {"TS ", 13}, {"JAL", 13}, {"JX ", 13}, {"DB ", 4}, {"DBS", 4},
    {"DBZ", 4}, {"DBC", 4}, {"DBP", 4}, {"DBB", 4}, {"DBX", 4}, {"CER", 4},
    {"BK ", 5}, {"HB ", 10}, {"JV ", 5}, {"KL ", 5}, {"BB ", 5}, {"JVJ", 5},
    {"JVX", 5}, {"JS ", 6}, {"JSA", 6}, {"JSX", 6}, {"JL ", 4}, {"JLH", 4},
    {"JLV", 4}, {"AK ", 11}, {"BR ", 7}, {"BRP", 7}, {"JR ", 7}, {"BRK", 7},
    {"MK ", 7}, {"OR ", 4}, {"ORC", 4}, {"PL ", 4}, {"TR ", 5}, {"STR", 5},
    {"HR ", 5}, {"JB ", 5}, {"LTX", 5}, {"LP ", 5}, {"LPV", 5}, {"LPS", 5},
    {"OL ", 8}, {"OLS", 8}, {"OLZ", 8}, {"OS ", 9}, {"TP ", 9}, {"TPC", 9},
    {"TPX", 9}, {"TPS", 9}, {"JIV", 9}, {"VR ", 9}, {"KS ", 5}, {"KJ ", 13},
    {"PJ ", 9}, {"LMX", 9}, {"KR ", 13}, {"SOU", 0},
}};

constexpr bool wellFormed()
{
    for (const SpeciesEntry& e : species)
        if (e.abbreviation[3] != '\0' || e.abbreviation[2] == '\0' || e.group > 13)
            return false;
    return true;
}
static_assert(wellFormed(), "every abbreviation has three characters and a group 0..13");

// --- site-class constant K (metres) by growth group 0..12 ------------------------------------
constexpr std::array<int, 13> siteClassK = {36, 32, 34, 38, 32, 36, 34, 30, 30, 32, 24, 26, 40};

// --- relative site-class table: rows 1..42, columns 1..16 ------------------------------------
constexpr int relativeRows = 42;
constexpr int relativeColumns = 16;
constexpr std::array<std::array<quint8, relativeColumns>, relativeRows> relativeTable = {{
    {{9, 9, 8, 7, 6, 6, 5, 4, 3, 2, 1, 1, 1, 1, 1, 1}},
    {{9, 9, 8, 7, 6, 6, 5, 4, 3, 2, 1, 1, 1, 1, 1, 1}},
    {{9, 9, 9, 7, 7, 6, 5, 4, 3, 3, 2, 1, 1, 1, 1, 1}},
    {{9, 9, 9, 8, 7, 6, 5, 5, 4, 3, 2, 1, 1, 1, 1, 1}},
    {{9, 9, 9, 9, 8, 7, 6, 5, 4, 3, 2, 1, 1, 1, 1, 1}},
    {{9, 9, 9, 9, 9, 8, 7, 6, 5, 4, 3, 2, 1, 1, 1, 1}},
    {{9, 9, 9, 9, 9, 9, 8, 7, 5, 4, 3, 2, 1, 1, 1, 1}},
    {{9, 9, 8, 7, 6, 5, 4, 3, 2, 1, 1, 1, 1, 1, 1, 1}},
    {{9, 9, 8, 7, 6, 5, 4, 3, 2, 1, 1, 1, 1, 1, 1, 1}},
    {{9, 9, 8, 7, 6, 5, 4, 3, 2, 1, 1, 1, 1, 1, 1, 1}},
    {{9, 9, 8, 7, 7, 6, 5, 3, 2, 1, 1, 1, 1, 1, 1, 1}},
    {{9, 9, 9, 8, 7, 6, 5, 4, 3, 1, 1, 1, 1, 1, 1, 1}},
    {{9, 9, 9, 9, 8, 7, 5, 4, 3, 2, 1, 1, 1, 1, 1, 1}},
    {{9, 9, 9, 9, 8, 7, 6, 5, 4, 2, 1, 1, 1, 1, 1, 1}},
    {{9, 9, 9, 9, 6, 5, 4, 3, 2, 1, 1, 1, 1, 1, 1, 1}},
    {{9, 9, 9, 9, 8, 6, 5, 4, 3, 2, 1, 1, 1, 1, 1, 1}},
    {{9, 9, 8, 7, 6, 6, 5, 4, 2, 1, 1, 1, 1, 1, 1, 1}},
    {{9, 9, 8, 7, 6, 5, 4, 3, 2, 1, 1, 1, 1, 1, 1, 1}},
    {{9, 9, 9, 8, 7, 6, 5, 4, 3, 2, 1, 1, 1, 1, 1, 1}},
    {{9, 9, 9, 9, 9, 9, 9, 9, 5, 5, 5, 5, 5, 5, 4, 3}},
    {{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},   // row 21: selected by no group
    {{9, 9, 9, 8, 7, 6, 5, 4, 3, 1, 1, 1, 1, 1, 1, 1}},
    {{9, 9, 9, 8, 7, 6, 5, 4, 3, 2, 1, 1, 1, 1, 1, 1}},
    {{9, 9, 9, 8, 7, 6, 5, 4, 3, 2, 1, 1, 1, 1, 1, 1}},
    {{9, 9, 9, 8, 7, 6, 6, 5, 4, 3, 2, 1, 1, 1, 1, 1}},
    {{9, 9, 9, 9, 8, 7, 6, 5, 4, 3, 2, 1, 1, 1, 1, 1}},
    {{9, 9, 9, 9, 9, 7, 6, 6, 5, 3, 2, 1, 1, 1, 1, 1}},
    {{9, 8, 7, 7, 6, 5, 4, 3, 2, 1, 1, 1, 1, 1, 1, 1}},
    {{9, 8, 7, 7, 6, 5, 4, 3, 2, 1, 1, 1, 1, 1, 1, 1}},
    {{9, 8, 7, 7, 6, 5, 4, 3, 2, 1, 1, 1, 1, 1, 1, 1}},
    {{9, 9, 8, 7, 6, 5, 5, 4, 2, 1, 1, 1, 1, 1, 1, 1}},
    {{9, 9, 8, 7, 7, 6, 5, 4, 2, 1, 1, 1, 1, 1, 1, 1}},
    {{9, 9, 9, 8, 7, 6, 5, 4, 3, 1, 1, 1, 1, 1, 1, 1}},
    {{9, 9, 9, 9, 8, 7, 6, 5, 3, 2, 1, 1, 1, 1, 1, 1}},
    {{3, 3, 3, 3, 3, 3, 3, 3, 2, 2, 1, 1, 1, 1, 1, 1}},
    {{5, 5, 5, 5, 5, 5, 4, 3, 2, 2, 1, 1, 1, 1, 1, 1}},
    {{3, 3, 3, 3, 3, 3, 2, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
    {{9, 9, 9, 8, 7, 7, 6, 5, 1, 1, 1, 1, 1, 1, 1, 1}},
    {{9, 8, 8, 7, 6, 6, 5, 4, 1, 1, 1, 1, 1, 1, 1, 1}},
    {{9, 9, 9, 9, 9, 9, 9, 9, 8, 7, 6, 1, 1, 1, 1, 1}},
    {{9, 9, 8, 7, 6, 4, 2, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
    {{9, 9, 8, 6, 5, 3, 2, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
}};

// Age class 0..6: up to 20, 21-40, 41-60, 61-80, 81-100, 101-120, 121 and more.
int ageClass(int age)
{
    if (age <= 20)
        return 0;
    if (age > 120)
        return 6;
    return (age - 1) / 20;
}

// The row 1..42 of the relative site-class table for group and age; 0 when the group has none.
int relativeRow(int group, int age)
{
    switch (group) {
    case 0: return 1 + ageClass(age);
    case 1: return 8 + ageClass(age);
    case 2: return age <= 50 ? 17 : (age <= 90 ? 18 : 19);
    case 3: return age <= 50 ? 15 : 16;
    case 4: return 29 + ageClass(age);
    case 5: return 22 + ageClass(age);
    case 6:
    case 8: return 36;
    case 7: return 37;
    case 9: return 40;
    case 10: return age <= 50 ? 41 : 42;
    case 11: return age <= 50 ? 38 : 39;
    case 12: return 20;
    default: return 0;   // 13, 14
    }
}

bool hasConstant(int group)
{
    return group >= 0 && group < static_cast<int>(siteClassK.size());
}

// Three ASCII characters in one number, the first in the highest byte.
constexpr quint32 packed(char16_t a, char16_t b, char16_t c)
{
    return quint32(a) << 16 | quint32(b) << 8 | quint32(c);
}

// The key of SpeciesGrowthGroup packed; 0 when it is no key of the table (fewer than two
// characters, or a character outside ASCII, which no abbreviation holds).
quint32 packedKey(QStringView abbreviation)
{
    const qsizetype size = std::min<qsizetype>(abbreviation.size(), 3);
    if (size < 2)
        return 0;
    char16_t c[3] = {u' ', u' ', u' '};
    for (qsizetype i = 0; i < size; ++i) {
        c[i] = txt::upperAscii(abbreviation[i]).unicode();
        if (c[i] == 0 || c[i] >= 0x80)
            return 0;
    }
    return packed(c[0], c[1], c[2]);
}

} // namespace

const std::array<SpeciesEntry, speciesCount>& SpeciesTable()
{
    return species;
}

QString SpeciesAbbreviationAt(int position)
{
    return QString::fromLatin1(species.at(static_cast<size_t>(position - 1)).abbreviation);
}

quint8 SpeciesGrowthGroup(const QString& abbreviation)
{
    // Asked for every species of every storey the loaders read: compared as numbers, no text built.
    const quint32 key = packedKey(abbreviation);
    if (key != 0) {
        for (const SpeciesEntry& e : species)
            if (packed(uchar(e.abbreviation[0]), uchar(e.abbreviation[1]), uchar(e.abbreviation[2])) == key)
                return e.group;
    }
    return unknownGrowthGroup;
}

bool IsConiferous(const QString& abbreviation)
{
    const quint8 group = SpeciesGrowthGroup(abbreviation);
    return group <= 3 || group == 12;
}

double SiteClassFromHeight(double absoluteSiteClass, int group)
{
    if (!hasConstant(group))
        return 0.0;
    double s = (siteClassK[static_cast<size_t>(group)] - absoluteSiteClass) / 2;
    if (s > 9)
        s = 9;
    if (s < 1)
        s = 1;
    return s;
}

double HeightFromSiteClass(double relativeSiteClass, int group)
{
    if (!hasConstant(group))
        return 0.0;
    return siteClassK[static_cast<size_t>(group)] - 2 * relativeSiteClass;
}

int RelativeSiteClass(const QString& abbreviation, int age, int absoluteSiteClass)
{
    int group = SpeciesGrowthGroup(abbreviation);
    if (txt::trim(abbreviation) == QLatin1String("OS"))
        group = 7;
    const int column = (absoluteSiteClass - 8) / 2;   // truncating toward zero
    const int row = relativeRow(group, age);
    if (row == 0 || column < 1 || column > relativeColumns)
        return 0;
    return relativeTable[static_cast<size_t>(row - 1)][static_cast<size_t>(column - 1)];
}
