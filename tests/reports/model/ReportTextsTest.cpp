// Tests of the report generator's string table.
#include "reports/model/ReportTexts.h"

#include <QStringList>

#include <gtest/gtest.h>

using reports::reportText;

TEST(ReportTexts, AliasWarningHoldsTwoLinesSplitByCarriageReturn)
{
    const QStringList lines = reportText(65148).split(QLatin1Char('\r'));
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], QStringLiteral("Neznámý alias: %s"));
    EXPECT_EQ(lines[1], QStringLiteral("Bude použito stand. nastavení"));
}

TEST(ReportTexts, FileFilterSplitsIntoCaptionAndMask)
{
    const QStringList parts = reportText(65145).split(QLatin1Char('|'));
    ASSERT_EQ(parts.size(), 2);
    EXPECT_EQ(parts[0], QStringLiteral("Předlohy tiskových sestav (*.pts)"));
    EXPECT_EQ(parts[1], QStringLiteral("*.PTS"));
}

TEST(ReportTexts, UnusedAndOutsideIdentifiersAreEmpty)
{
    EXPECT_TRUE(reportText(65030).isEmpty());
    EXPECT_TRUE(reportText(65023).isEmpty());
    EXPECT_TRUE(reportText(65152).isEmpty());
    EXPECT_EQ(reportText(65024), QStringLiteral("Executive"));
    EXPECT_EQ(reportText(65151), QStringLiteral("Není vybrána žádná předvolená tiskárna."));
}
