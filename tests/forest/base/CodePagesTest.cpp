// Tests of the code-page conversions of accented letters and the removal of diacritics.
#include "forest/base/CodePages.h"
#include "platform/text/Cp1250.h"

#include <gtest/gtest.h>

namespace {

// Bytes of another code page as our windows-1250 reader decodes them.
QString readAs1250(const char* hex)
{
    return Cp1250::decode(QByteArray::fromHex(hex));
}

TEST(CodePages, Cp852LettersBecomeWindows1250)
{
    // "Žluťoučký kůň" in code page 852: A6 6C 75 9C 6F 75 9F 6B EC 20 6B 85 E5.
    EXPECT_EQ(Cp852ToWin1250(readAs1250("a66c759c6f759f6bec206b85e5")), "Žluťoučký kůň");
    // Ô (E2) and ô (93) become Ö and ö.
    EXPECT_EQ(Cp852ToWin1250(readAs1250("e293")), "Öö");
    EXPECT_EQ(Cp852ToWin1250("abc"), "abc");
}

TEST(CodePages, DbaseLettersBecomeWindows1250)
{
    // ř arrives as 80, š as BF, Ý as A5; C5 stands for Á (its first position), not Ĺ.
    EXPECT_EQ(DbfTextToWin1250(readAs1250("80bfa5c5")), "řšÝÁ");
}

TEST(CodePages, DiacriticsRemovedCaseKept)
{
    EXPECT_EQ(RemoveDiacritics("Příliš žluťoučký kůň úpěl ďábelské ódy"), "Prilis zlutoucky kun upel dabelske ody");
    EXPECT_EQ(RemoveDiacritics("ŘŠČŽÝÁÍÉĚŮÚĎŤŇ"), "RSCZYAIEEUUDTN");
    EXPECT_EQ(RemoveDiacritics("ŁódźĽŐŰ"), "LodzLOU");
    EXPECT_EQ(RemoveDiacritics("ß µ 12"), "ß µ 12");
}

} // namespace
