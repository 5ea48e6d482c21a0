// Tests of the shared text routines: tolerant floats, trimming, name=value splitting, tokens.
#include "framework/core/TextRoutines.h"

#include "platform/text/Numbers.h"

#include <gtest/gtest.h>

#include <list>
#include <string>

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
                      // Only the first 63 characters count: a float whose tail lies beyond them is cut.
                      FloatCase{"CutAfter63", ',', "000000000000000000000000000000000000000000000000000000000000001.5",
                                true, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(UString, BooleansAsText)
{
    EXPECT_EQ(BoolToText(true), QStringLiteral("TRUE"));
    EXPECT_TRUE(TextToBool(QStringLiteral("tak")));
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

// 300 letters followed by tail, kept for the whole run.
const char* longText(const char* tail)
{
    static std::list<std::string> texts;
    return texts.emplace_back(std::string(300, 'n') + tail).c_str();
}

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
                      SplitCase{"CzechLetters", "Dřevina=Smrk ztepilý", '=', true, "Dřevina", "Smrk ztepilý"},
                      SplitCase{"OtherSeparator", "Plocha: 2,5", ':', true, "Plocha", "2,5"},
                      SplitCase{"OtherSeparatorMissing", "Plocha", ':', false, "Plocha", ""},
                      // The separator position once lived in a byte and failed past 255.
                      SplitCase{"NameBeyond255", longText("=v"), '=', true, longText(""), "v"},
                      SplitCase{"OtherSeparatorBeyond255", longText(";w"), ';', true, longText(""), "w"}),
    [](const auto& info) { return std::string(info.param.name); });

// Each step: text, start, token, next position, delimiter (0: none).
TEST(UString, NextTokenWalksTrimsAndRunsPastTheEnd)
{
    const struct {
        const char* text;
        int from;
        const char* token;
        int pos;
        char delimiter;
    } steps[] = {{"a(b).c", 1, "a", 3, '('},   {"a(b).c", 3, "b", 5, ')'}, {"a(b).c", 5, "", 6, '.'},
                 {"a(b).c", 6, "c", 8, 0},     {"", 4, "", 4, 0},          {"  ab  .c", 1, "ab", 8, '.'},
                 {"ab", 10, "", 11, 0}};
    const CharSet delimiters("().");
    for (const auto& s : steps) {
        QString token = QStringLiteral("x");
        int pos = 0;
        QChar delimiter = QLatin1Char('x');
        NextToken(QString::fromLatin1(s.text), delimiters, s.from, token, pos, delimiter);
        EXPECT_EQ(token, QString::fromLatin1(s.token)) << s.text << " " << s.from;
        EXPECT_EQ(pos, s.pos) << s.text << " " << s.from;
        EXPECT_EQ(delimiter, QChar(s.delimiter)) << s.text << " " << s.from;
    }
}

} // namespace
