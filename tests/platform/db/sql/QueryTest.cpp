// Tests of a query's SQL lines and parameter list.
#include "platform/db/sql/Query.h"

#include <gtest/gtest.h>

namespace {

// CRLF, LF and a lone CR each break a line, as the class library's string lists did.
TEST(SqlLines, TextBreaksAtEveryLineEnd)
{
    db::Query q;
    q.SQL().SetText(QStringLiteral("SELECT *\rFROM TGENKL\r\nWHERE ODD = :odd\nAND DIL = :dil\r\n"));
    ASSERT_EQ(q.SQL().Count(), 4);
    EXPECT_EQ(q.SQL()[1], QStringLiteral("FROM TGENKL"));
    EXPECT_EQ(q.SQL().Text(), QStringLiteral("SELECT *\nFROM TGENKL\nWHERE ODD = :odd\nAND DIL = :dil\n"));
    ASSERT_EQ(q.Params().Count(), 2);
    EXPECT_EQ(q.Params().Items(1).Name(), QStringLiteral("dil"));
}

} // namespace
