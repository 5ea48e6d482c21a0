// Species lookups: typed abbreviations normalised, table positions, growth groups, official codes.
#include "forest/rules/SpeciesCodes.h"

#include "forest/rules/SpeciesTable.h"
#include "platform/ui/Services.h"

#include <array>

namespace {

// Official species code of positions 1..82 of the species table. The codes 7, 8, 15, 17, 19,
// 26, 32, 34, 36, 37, 38, 46, 49, 69, 73, 78 and 96 belong to no species.
constexpr std::array<quint8, speciesCount> speciesCodes = {
    1,  2,  3,  4,  5,  6,  9,  10,   // SM SMP SMC SMS SMO SME SMX JD
    11, 12, 13, 14, 16, 18, 20, 21,   // JDO JDJ JDK JDV JDX DG BO BOC
    22, 23, 24, 25, 27, 28, 29, 30,   // BKS VJ LMB BOP BOX KOS BL MD
    31, 33, 35, 39, 40, 41, 42, 43,   // MDX TS JAL JX DB DBS DBZ DBC
    44, 45, 47, 48, 50, 51, 52, 53,   // DBP DBB DBX CER BK HB JV KL
    54, 55, 56, 57, 58, 59, 60, 61,   // BB JVJ JVX JS JSA JSX JL JLH
    62, 63, 64, 65, 66, 67, 68, 70,   // JLV AK BR BRP JR BRK MK OR
    71, 72, 74, 75, 76, 77, 79, 80,   // ORC PL TR STR HR JB LTX LP
    81, 82, 83, 84, 85, 86, 87, 88,   // LPV LPS OL OLS OLZ OS TP TPC
    89, 90, 91, 92, 93, 94, 95, 97,   // TPX TPS JIV VR KS KJ PJ LMX
    98, 99,                           // KR SOU
};

constexpr bool ascending()
{
    for (size_t i = 1; i < speciesCodes.size(); ++i)
        if (speciesCodes[i] <= speciesCodes[i - 1])
            return false;
    return true;
}
static_assert(ascending(), "codes rise with the positions");

// The first three characters, normalised.
QString normalisedKey(const QString& abbreviation)
{
    QString key = abbreviation.left(3);
    NormalizeSpeciesAbbreviation(key);
    return key;
}

} // namespace

void UpCaseAscii(QChar& c)
{
    if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
        c = QChar(c.unicode() - 'a' + 'A');
}

void NormalizeSpeciesAbbreviation(QString& abbreviation)
{
    QString result;
    for (QChar c : abbreviation) {
        if (c == QLatin1Char(' '))
            continue;
        UpCaseAscii(c);
        result += c;
        if (result.size() == 3)
            break;
    }
    if (result.size() == 2)
        result += QLatin1Char(' ');
    if (result.size() < 2)
        ui::services().showMessage(QStringLiteral("Chybné zadání dřeviny"));
    abbreviation = result;
}

int SpeciesIndex(const QString& abbreviation)
{
    const QString key = normalisedKey(abbreviation);
    const auto& table = SpeciesTable();
    for (int i = 0; i < speciesCount; ++i)
        if (key == QLatin1String(table[static_cast<size_t>(i)].abbreviation))
            return i + 1;
    return noSpeciesIndex;
}

int SpeciesGroupOfAbbreviation(const QString& abbreviation)
{
    const int position = SpeciesIndex(abbreviation);
    return position == noSpeciesIndex ? unknownGrowthGroup : SpeciesTable()[static_cast<size_t>(position - 1)].group;
}

int SpeciesCodeOfIndex(int position)
{
    if (position < 1 || position > speciesCount)
        return 0;
    return speciesCodes[static_cast<size_t>(position - 1)];
}

int SpeciesIndexOfCode(int code)
{
    for (int position = 0; position <= speciesCount; ++position)
        if (SpeciesCodeOfIndex(position) == code)
            return position;
    return noSpeciesIndex;
}

void SpeciesCodeToAbbreviation(int code, QString& abbreviation)
{
    const int position = SpeciesIndexOfCode(code);
    abbreviation = position >= 1 && position <= speciesCount ? SpeciesAbbreviationAt(position) : QStringLiteral("   ");
}
