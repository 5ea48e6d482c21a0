// Tests of the windows-1250 codec.
#include "platform/text/Cp1250.h"

#include <gtest/gtest.h>

#include <set>

namespace {

struct CzechLetter { const char* name; char16_t character; unsigned char byte; };

// Code page bytes of the Czech letters, as the code page chart gives them.
const CzechLetter czechLetters[] = {
    {"a_acute", u'á', 0xE1}, {"c_caron", u'č', 0xE8}, {"d_caron", u'ď', 0xEF},
    {"e_acute", u'é', 0xE9}, {"e_caron", u'ě', 0xEC}, {"i_acute", u'í', 0xED},
    {"n_caron", u'ň', 0xF2}, {"o_acute", u'ó', 0xF3}, {"r_caron", u'ř', 0xF8},
    {"s_caron", u'š', 0x9A}, {"t_caron", u'ť', 0x9D}, {"u_acute", u'ú', 0xFA},
    {"u_ring", u'ů', 0xF9}, {"y_acute", u'ý', 0xFD}, {"z_caron", u'ž', 0x9E},
    {"A_acute", u'Á', 0xC1}, {"C_caron", u'Č', 0xC8}, {"D_caron", u'Ď', 0xCF},
    {"E_acute", u'É', 0xC9}, {"E_caron", u'Ě', 0xCC}, {"I_acute", u'Í', 0xCD},
    {"N_caron", u'Ň', 0xD2}, {"O_acute", u'Ó', 0xD3}, {"R_caron", u'Ř', 0xD8},
    {"S_caron", u'Š', 0x8A}, {"T_caron", u'Ť', 0x8D}, {"U_acute", u'Ú', 0xDA},
    {"U_ring", u'Ů', 0xD9}, {"Y_acute", u'Ý', 0xDD}, {"Z_caron", u'Ž', 0x8E},
    {"euro", u'€', 0x80}, {"nbsp", u'\u00A0', 0xA0}, {"dot_above", u'˙', 0xFF},
};

class Cp1250Letter : public ::testing::TestWithParam<CzechLetter> {};

TEST_P(Cp1250Letter, EncodesAndDecodesTheCodePageByte)
{
    const CzechLetter& l = GetParam();
    EXPECT_EQ(static_cast<unsigned char>(Cp1250::encodeChar(QChar(l.character))), l.byte);
    EXPECT_EQ(Cp1250::decodeChar(l.byte), QChar(l.character));
}

INSTANTIATE_TEST_SUITE_P(Letters, Cp1250Letter, ::testing::ValuesIn(czechLetters),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Cp1250, EveryByteSurvivesDecodeAndEncode)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    const QString text = Cp1250::decode(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(text.left(128), QString::fromLatin1(all.left(128)));   // ASCII and NUL as they are
    EXPECT_EQ(text[0x98], QChar(0x98));                                // an undefined byte keeps its value
    EXPECT_EQ(Cp1250::encode(text), all);
    // No two bytes share a character.
    std::set<char16_t> distinct;
    for (const QChar c : text)
        distinct.insert(c.unicode());
    EXPECT_EQ(distinct.size(), 256u);
}

TEST(Cp1250, CzechSentenceRoundTripsAndOthersBecomeQuestionMarks)
{
    const QString text = QStringLiteral("Příliš žluťoučký kůň úpěl ďábelské ódy. PŘÍLIŠ ŽLUŤOUČKÝ KŮŇ ÚPĚL ĎÁBELSKÉ ÓDY.");
    const QByteArray bytes = Cp1250::encode(text);
    EXPECT_EQ(bytes.size(), text.size());
    EXPECT_FALSE(bytes.contains('?'));
    EXPECT_EQ(Cp1250::decode(bytes), text);
    // ÿ (U+00FF), ñ, a CJK character and a character outside the basic plane (two halves).
    const QString odd = QStringLiteral("aÿñ漢") + QString::fromUcs4(U"\U0001F332");
    EXPECT_EQ(Cp1250::encode(odd), QByteArray("a?????"));
}

} // namespace
