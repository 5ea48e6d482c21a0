// Tests of the SQL literal builders: dates with Czech months, numbers and quoted texts.
#include "forest/base/SqlLiterals.h"
#include "platform/Exceptions.h"

#include <gtest/gtest.h>

namespace {

TEST(SqlLiterals, DatesWithCzechMonths)
{
    EXPECT_EQ(DateToQuotedLiteral("5.3.1998"), "'05-BŘE-1998'");
    EXPECT_EQ(DateToQuotedLiteral(" 15 . 12 .2001"), "'15-PRO-2001'");
    EXPECT_EQ(DateToQuotedLiteral("1.1.2000"), "'01-LED-2000'");
    EXPECT_EQ(DateToQuotedLiteral("5.13.1998"), "null");
    EXPECT_EQ(DateToQuotedLiteral("5.0.1998"), "null");
    EXPECT_EQ(DateToQuotedLiteral("5.3"), "null");
    EXPECT_EQ(DateToQuotedLiteral(""), "null");
    EXPECT_THROW(DateToQuotedLiteral("5.x.1998"), EConvertError);
}

TEST(SqlLiterals, ApostrophesInsideADateAreDoubled)
{
    EXPECT_EQ(DateToQuotedLiteral("5.3.19'98"), "'05-BŘE-19''98'");
}

TEST(SqlLiterals, NumbersAndTexts)
{
    EXPECT_EQ(NumberToSqlLiteral(" 3,5 "), "3.5");
    EXPECT_EQ(NumberToSqlLiteral(""), "null");
    EXPECT_EQ(NumberToSqlLiteral("  "), "null");
    EXPECT_EQ(EscapeSqlQuotes("O'Neill''s"), "O''Neill''''s");
}

} // namespace
