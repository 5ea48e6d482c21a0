// Tests of the shared text routines: tolerant floats, trimming, name=value splitting, tokens.
#include "framework/U_string.h"

#include "platform/text/Numbers.h"

#include <gtest/gtest.h>

namespace {

struct FloatCase {
    const char* name;
    QChar separator;
    const char* text;
    bool reads;
    double value;
};

class TextToFloat : public ::testing::TestWithParam<FloatCase>
{
protected:
    void SetUp() override { txt::setDecimalSeparator(GetParam().separator); }
    void TearDown() override { txt::setDecimalSeparator(QLatin1Char(',')); }
};

TEST_P(TextToFloat, AcceptsEitherSeparator)
{
    const FloatCase& c = GetParam();
    const QString text = QString::fromUtf8(c.text);
    EXPECT_EQ(TryTextToFloat(text), c.reads);
    EXPECT_DOUBLE_EQ(TextToFloatDef(text), c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextToFloat,
    ::testing::Values(FloatCase{"CommaUnderComma", ',', "3,5", true, 3.5},
                      FloatCase{"PointUnderComma", ',', "3.5", true, 3.5},
                      FloatCase{"CommaUnderPoint", '.', "3,5", true, 3.5},
                      FloatCase{"BothSeparators", ',', "1.234,5", false, 0},
                      FloatCase{"Empty", ',', "", false, 0},
                      FloatCase{"Negative", ',', "-0.25", true, -0.25},
                      // Only the first 63 characters count: a float whose tail lies beyond them is cut.
                      FloatCase{"CutAfter63", ',', "000000000000000000000000000000000000000000000000000000000000001.5",
                                true, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(UString, BooleansAsText)
{
    EXPECT_EQ(BoolToText(true), QStringLiteral("TRUE"));
    EXPECT_EQ(BoolToText(false), QStringLiteral("FALSE"));
    EXPECT_TRUE(TextToBool(QStringLiteral("tak")));
    EXPECT_FALSE(TextToBool(QString()));
    EXPECT_FALSE(TextToBool(QStringLiteral(" TRUE")));   // no blanks skipped
}

TEST(UString, TrimBlanksRemovesBlanksAndNulOnly)
{
    const QString text = QString(QChar(0)) + QStringLiteral("  a b\t ") + QChar(0);
    EXPECT_EQ(TrimBlanks(text), QStringLiteral("a b\t"));
    EXPECT_EQ(TrimBlanks(QStringLiteral("   ")), QString());
    EXPECT_EQ(TrimBlanks(QString(QChar(0))), QString());
}

TEST(UString, IncludeTrailingBackslashChangesTheArgumentToo)
{
    QString dir = QStringLiteral("C:\\DATA");
    EXPECT_EQ(IncludeTrailingBackslash(dir), QStringLiteral("C:\\DATA\\"));
    EXPECT_EQ(dir, QStringLiteral("C:\\DATA\\"));
    EXPECT_EQ(IncludeTrailingBackslash(dir), QStringLiteral("C:\\DATA\\"));

    QString empty;
    EXPECT_EQ(IncludeTrailingBackslash(empty), QStringLiteral("\\"));
    EXPECT_TRUE(empty.isEmpty());
}

struct SplitCase {
    const char* name;
    const char* text;
    char separator;
    bool found;
    const char* left;
    const char* right;
};

class Split : public ::testing::TestWithParam<SplitCase>
{
};

TEST_P(Split, NameAndValueTrimmed)
{
    const SplitCase& c = GetParam();
    QString name = QStringLiteral("old");
    QString value = QStringLiteral("old");
    const QString text = QString::fromUtf8(c.text);
    const bool found = c.separator == '=' ? SplitNameValue(text, name, value)
                                          : SplitAt(text, QLatin1Char(c.separator), name, value);
    EXPECT_EQ(found, c.found);
    EXPECT_EQ(name, QString::fromUtf8(c.left));
    EXPECT_EQ(value, QString::fromUtf8(c.right));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Split,
    ::testing::Values(SplitCase{"NoSeparator", " bez ", '=', false, "bez", ""},
                      SplitCase{"FirstSeparatorOnly", "a=b=c", '=', true, "a", "b=c"},
                      SplitCase{"NothingBefore", "=hodnota", '=', true, "", "hodnota"},
                      SplitCase{"CzechLetters", "Dřevina=Smrk ztepilý", '=', true, "Dřevina", "Smrk ztepilý"},
                      SplitCase{"OtherSeparator", "Plocha: 2,5", ':', true, "Plocha", "2,5"},
                      SplitCase{"OtherSeparatorMissing", "Plocha", ':', false, "Plocha", ""}),
    [](const auto& info) { return std::string(info.param.name); });

// The original kept the separator position in a byte and failed past position 255.
TEST(UString, SplitNameValueBeyondPosition255)
{
    const QString longName(300, QLatin1Char('n'));
    QString name;
    QString value;
    EXPECT_TRUE(SplitNameValue(longName + QStringLiteral("=v"), name, value));
    EXPECT_EQ(name, longName);
    EXPECT_EQ(value, QStringLiteral("v"));
    EXPECT_TRUE(SplitAt(longName + QStringLiteral(";w"), QLatin1Char(';'), name, value));
    EXPECT_EQ(value, QStringLiteral("w"));
}

TEST(UString, NextTokenWalksAPath)
{
    const QString text = QStringLiteral("a(b).c");
    const CharSet delimiters("().");
    QString token;
    int pos = 0;
    QChar delimiter;

    NextToken(text, delimiters, 1, token, pos, delimiter);
    EXPECT_EQ(token, QStringLiteral("a"));
    EXPECT_EQ(delimiter, QLatin1Char('('));
    EXPECT_EQ(pos, 3);

    NextToken(text, delimiters, pos, token, pos, delimiter);
    EXPECT_EQ(token, QStringLiteral("b"));
    EXPECT_EQ(delimiter, QLatin1Char(')'));

    NextToken(text, delimiters, pos, token, pos, delimiter);
    EXPECT_EQ(token, QString());
    EXPECT_EQ(delimiter, QLatin1Char('.'));

    NextToken(text, delimiters, pos, token, pos, delimiter);
    EXPECT_EQ(token, QStringLiteral("c"));
    EXPECT_EQ(delimiter, QChar(0));
    EXPECT_EQ(pos, 8);
}

TEST(UString, NextTokenTrimsAndHandlesEmptyAndPastEnd)
{
    const CharSet delimiters(".");
    QString token = QStringLiteral("x");
    int pos = 0;
    QChar delimiter = QLatin1Char('x');

    NextToken(QString(), delimiters, 4, token, pos, delimiter);
    EXPECT_EQ(token, QString());
    EXPECT_EQ(pos, 4);
    EXPECT_EQ(delimiter, QChar(0));

    NextToken(QStringLiteral("  ab  .c"), delimiters, 1, token, pos, delimiter);
    EXPECT_EQ(token, QStringLiteral("ab"));
    EXPECT_EQ(pos, 8);

    NextToken(QStringLiteral("ab"), delimiters, 10, token, pos, delimiter);
    EXPECT_EQ(token, QString());
    EXPECT_EQ(pos, 11);
    EXPECT_EQ(delimiter, QChar(0));
}

} // namespace
