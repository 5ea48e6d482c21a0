// Tests of the template-line field reader and the writer's quoting.
#include "reports/model/TemplateFields.h"

#include <QStringList>

#include <gtest/gtest.h>

using namespace reports;

namespace {

struct FieldCase { const char* name; const char* line; const char* field; const char* rest; };

const FieldCase fieldCases[] = {
    {"quoted_with_comma_and_quotes", R"("a,""b""",12)", R"(a,"b")", "12"},
    {"bare_last_field", "abc", "abc", ""},
    {"text_after_closing_quote_kept", R"("ab"cd,1)", "abcd", "1"},
    {"empty_first_field", ",x", "", "x"},
    {"only_a_doubled_quote", R"("""")", "\"", ""},
    {"quote_inside_bare_field", R"(ab"c,d)", R"(ab"c)", "d"},
    {"unclosed_quote_takes_the_rest", R"("ab,cd)", "ab,cd", ""},
    {"empty_line", "", "", ""},
    {"lone_quote", "\"", "", ""},
};

class ReadCsvFieldCases : public ::testing::TestWithParam<FieldCase> {};

TEST_P(ReadCsvFieldCases, TakesFieldOffTheFront)
{
    QString line = QString::fromUtf8(GetParam().line);
    EXPECT_EQ(ReadCsvField(line), QString::fromUtf8(GetParam().field));
    EXPECT_EQ(line, QString::fromUtf8(GetParam().rest));
}

INSTANTIATE_TEST_SUITE_P(TemplateFields, ReadCsvFieldCases, ::testing::ValuesIn(fieldCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace

TEST(TemplateFields, NumbersTakeTheirDefaultWhenMissingOrMalformed)
{
    QString line = QStringLiteral("abc,,12,-1, 7,3x,99999999999,-2147483648");
    EXPECT_EQ(ReadCsvInt(line, 5), 5);
    EXPECT_EQ(ReadCsvInt(line, 5), 5);
    EXPECT_EQ(ReadCsvInt(line, 5), 12);
    EXPECT_TRUE(ReadCsvBool(line, false));
    EXPECT_EQ(ReadCsvInt(line, 0), 7);
    EXPECT_EQ(ReadCsvInt(line, 4), 4);
    EXPECT_EQ(ReadCsvInt(line, 4), 4);
    EXPECT_EQ(ReadCsvInt(line, 4), -2147483647 - 1);
    EXPECT_EQ(ReadCsvInt(line, 9), 9);   // past the end
    EXPECT_TRUE(ReadCsvBool(line, true));
}

TEST(TemplateFields, QuotedTextsReadBackUnchanged)
{
    const QStringList texts = {QString(), QStringLiteral("a\"b"), QStringLiteral("\"\""),
                               QStringLiteral("x,y"), QStringLiteral("Žluťoučký kůň, \"úpěl\"")};
    for (const QString& t : texts) {
        QString line = QuotedField(t) + QStringLiteral(",next");
        EXPECT_EQ(ReadCsvField(line), t);
        EXPECT_EQ(line, QStringLiteral("next"));
        line = BareField(t) + QStringLiteral(",next");
        EXPECT_EQ(ReadCsvField(line), t);
        EXPECT_EQ(line, QStringLiteral("next"));
    }
    EXPECT_EQ(DoubleQuotes(QStringLiteral("a\"b")), QStringLiteral("a\"\"b"));
    EXPECT_EQ(BareField(QStringLiteral("Arial CE")), QStringLiteral("Arial CE"));
}
