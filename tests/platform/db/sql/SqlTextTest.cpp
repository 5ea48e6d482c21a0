// Tests of the SQL scanner: parameters outside literals and comments, ALTER TABLE forms.
#include "platform/Exceptions.h"
#include "platform/db/sql/SqlText.h"

#include <gtest/gtest.h>

namespace {

using db::sql::AlterTableAdd;

TEST(SqlText, ParametersOutsideLiteralsAndComments)
{
    const QString sql = QStringLiteral(
        "select ':a', \":b\", [c:d] from T -- :e\n"
        "where X = :First and Y = :second /* :f */ and Z = :FIRST and W = 'it''s :g'");
    EXPECT_EQ(db::sql::parameterNames(sql), (QStringList{QStringLiteral("First"), QStringLiteral("second")}));
}

TEST(SqlText, UnterminatedLiteralRaises)
{
    EXPECT_THROW(db::sql::parameterNames(QStringLiteral("select 'abc from T")), EDatabaseError);
}

TEST(SqlText, AlterTableForms)
{
    const auto quotedPath = db::sql::parseAlterTableAdd(QStringLiteral("ALTER TABLE 'C:\\D\\OLH.DB' ADD ICO_RC CHAR(12)"));
    ASSERT_TRUE(quotedPath);
    EXPECT_EQ(quotedPath->table, QStringLiteral("C:\\D\\OLH.DB"));
    EXPECT_EQ(quotedPath->field, QStringLiteral("ICO_RC"));
    EXPECT_EQ(quotedPath->type, AlterTableAdd::Type::Char);
    EXPECT_EQ(quotedPath->size, 12);
    EXPECT_FALSE(db::sql::parseAlterTableAdd(QStringLiteral("select 'ALTER TABLE'")));

    for (const char* bad : {"ALTER TABLE T ADD X CHAR(0)", "ALTER TABLE T ADD X CHAR(256)", "ALTER TABLE T ADD X CHAR",
                            "ALTER TABLE T ADD X INTEGER, ADD Y INTEGER", "ALTER INDEX I"})
        EXPECT_THROW(db::sql::parseAlterTableAdd(QString::fromLatin1(bad)), EDatabaseError) << bad;
}

} // namespace
