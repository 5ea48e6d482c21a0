// Tests of the two case rules, case-insensitive comparison and trimming.
#include "platform/text/Case.h"

#include <gtest/gtest.h>

namespace {

const QString czechLower = QStringLiteral("áčďéěíňóřšťúůýž");
const QString czechUpper = QStringLiteral("ÁČĎÉĚÍŇÓŘŠŤÚŮÝŽ");

TEST(CaseAscii, ChangesOnlyAsciiLetters)
{
    EXPECT_EQ(txt::upperAscii(u"abc xyz čř 09_"), QStringLiteral("ABC XYZ čř 09_"));
    EXPECT_EQ(txt::lowerAscii(u"ABC XYZ ČŘ 09_"), QStringLiteral("abc xyz ČŘ 09_"));
    EXPECT_EQ(txt::upperAscii(QChar(u'ž')), QChar(u'ž'));
}

TEST(CaseLetters, RoundTripsEveryCzechLetter)
{
    EXPECT_EQ(txt::upperLetters(czechLower), czechUpper);
    EXPECT_EQ(txt::lowerLetters(czechUpper), czechLower);
    EXPECT_EQ(txt::lowerLetters(txt::upperLetters(czechLower)), czechLower);
    EXPECT_EQ(txt::upperLetters(u"Lesní hospodářský celek"), QStringLiteral("LESNÍ HOSPODÁŘSKÝ CELEK"));
    // Unicode upper-casing would give "SS" for ß and a Greek capital for µ; the code page has
    // neither, so both stay as they are.
    EXPECT_EQ(txt::upperLetters(u"ßµa"), QStringLiteral("ßµA"));
    EXPECT_EQ(txt::upperLetters(u"ßµa").size(), 3);
}

// ascii, letters: signs of compareTextAscii and compareTextLetters
struct CompareCase { const char* name; const char16_t* a; const char16_t* b; int ascii; int letters; };

int sign(int v) { return (v > 0) - (v < 0); }

const CompareCase compareCases[] = {
    {"equal_ignoring_ascii_case", u"Porost", u"pOROST", 0, 0},
    {"czech_letters_differ_in_case", u"ŘEKA", u"řeka", -1, 0},
    {"code_page_byte_order", u"Šum", u"Ábel", -1, -1},
    {"outside_code_page_last", u"\u4E00", u"\u00FD", 1, 1},
    {"prefix_is_smaller", u"Les", u"lesy", -1, -1},
    {"empty_is_smaller", u"", u"a", -1, -1},
    {"underscore_after_letters", u"a_", u"AB", 1, 1},
};

class CaseCompare : public ::testing::TestWithParam<CompareCase> {};

TEST_P(CaseCompare, ComparesIgnoringCase)
{
    const CompareCase& c = GetParam();
    EXPECT_EQ(sign(txt::compareTextAscii(c.a, c.b)), c.ascii);
    EXPECT_EQ(sign(txt::compareTextAscii(c.b, c.a)), -c.ascii);
    EXPECT_EQ(sign(txt::compareTextLetters(c.a, c.b)), c.letters);
    EXPECT_EQ(sign(txt::compareTextLetters(c.b, c.a)), -c.letters);
    EXPECT_EQ(txt::sameTextAscii(c.a, c.b), c.ascii == 0);
    EXPECT_EQ(txt::sameTextLetters(c.a, c.b), c.letters == 0);
}

INSTANTIATE_TEST_SUITE_P(Pairs, CaseCompare, ::testing::ValuesIn(compareCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CaseTrim, RemovesControlCharactersAndBlanks)
{
    const QString text = QStringLiteral("\t \x01 a b\r\n ");
    EXPECT_EQ(txt::trim(text), QStringLiteral("a b"));
    EXPECT_EQ(txt::trimLeft(text), QStringLiteral("a b\r\n "));
    EXPECT_EQ(txt::trimRight(text), QStringLiteral("\t \x01 a b"));
    EXPECT_EQ(txt::trim(u" \t "), QString());
    // The non-breaking blank is above ' ' and stays.
    EXPECT_EQ(txt::trim(u"\u00A0x"), QStringLiteral("\u00A0x"));
}

} // namespace
