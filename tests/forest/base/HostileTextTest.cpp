// Fuzz tests of the routines that take texts from files and users: designations, species
// abbreviations, codes, dates and digits. They must answer or raise the documented error, never crash.
#include "forest/base/Designations.h"
#include "forest/base/SqlLiterals.h"
#include "forest/base/TextUtilities.h"
#include "forest/codebooks/CodeLookup.h"
#include "forest/rules/SpeciesCodes.h"
#include "forest/rules/SpeciesTable.h"
#include "forest/rules/Thinning.h"
#include "forest/rules/YieldModel.h"
#include "forest/support/ForestTestSupport.h"
#include "platform/Exceptions.h"

#include <QRandomGenerator>

namespace {

// Characters the inputs are made of: digits, letters, separators, Czech letters, control bytes.
const QString alphabet = QStringLiteral("0123456789aAbBsSmMxX .,/\\\\@$&-'\\\"=;:čČřŘšžůÚ\t\r\n");

QString randomText(QRandomGenerator& random, int maxLength)
{
    QString text;
    const int length = random.bounded(maxLength + 1);
    for (int i = 0; i < length; ++i) {
        if (random.bounded(10) == 0)
            text += QChar(char16_t(random.bounded(1, 0xD7FF)));
        else
            text += alphabet.at(random.bounded(int(alphabet.size())));
    }
    return text;
}

class HostileText : public foresttest::ForestFixture
{
};

TEST_F(HostileText, RoutinesAnswerEveryText)
{
    QRandomGenerator random(1207);
    for (int round = 0; round < 3000; ++round) {
        const QString text = randomText(random, round % 7 == 0 ? 300 : 12);
        QString designation = text;
        NormalizeDesignation(designation);
        QString path = text;
        NormalizeDesignationPath(path);
        QString region = text;
        NormalizeRegionCode(region);
        NormalizeDesignationBlankZero(text);
        EXPECT_GE(DigitsToInt(text), 0);
        SpeciesIndex(text);
        EXPECT_LE(SpeciesGrowthGroup(text), 14);
        RelativeSiteClass(text, random.bounded(-50, 400), random.bounded(-50, 100));
        ThinningPercentFromPhsTables(text, random.bounded(-5, 15), random.bounded(-50, 400), text.isEmpty() ? QChar() : text.at(0),
                                     random.bounded(0, 40), random.bounded(0, 101), random.bounded(0, 101));
        double v1 = 0;
        double v2 = 0;
        double s = 0;
        double t = 0;
        YieldTableModel(text, random.bounded(0, 200), random.bounded(0, 80), v1, v2, s, t);
        EXPECT_GE(t, 0);
        try {
            DateToQuotedLiteral(text);
        } catch (const EConvertError&) {
        }
        try {
            CategoryCodeToInt(text);
        } catch (const EConvertError&) {
        }
        QStringList lines;
        SplitAtLineMarker(lines, text);
        EXPECT_EQ(lines.join(lineMarker), text);
    }
}

} // namespace
