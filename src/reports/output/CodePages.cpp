// The accented-letter table of character output.
#include "reports/output/CodePages.h"

#include <array>

namespace reports {

namespace {

// One accented letter: its substitute without diacritics, then its byte in 867, 852, 1250.
using Row = std::array<unsigned char, 4>;
constexpr std::array<Row, 44> letters = {{
    {67, 128, 172, 200},  {117, 129, 129, 252}, {101, 130, 130, 233}, {100, 131, 212, 239},   // Č ü é ď
    {97, 132, 132, 228},  {68, 133, 210, 207},  {84, 134, 155, 141},  {99, 135, 159, 232},    // ä Ď Ť č
    {101, 136, 216, 236}, {69, 137, 183, 204},  {76, 138, 145, 197},  {73, 139, 214, 205},    // ě Ě Ĺ Í
    {108, 140, 150, 190}, {108, 141, 146, 229}, {65, 142, 142, 196},  {65, 143, 181, 193},    // ľ ĺ Ä Á
    {69, 144, 144, 201},  {122, 145, 167, 158}, {90, 146, 166, 142},  {111, 147, 147, 244},   // É ž Ž ô
    {111, 148, 148, 246}, {79, 149, 224, 211},  {117, 150, 133, 249}, {85, 151, 233, 218},    // ö Ó ů Ú
    {121, 152, 236, 253}, {79, 153, 153, 214},  {85, 154, 154, 220},  {83, 155, 230, 138},    // ý Ö Ü Š
    {76, 156, 149, 188},  {89, 157, 237, 221},  {82, 158, 252, 216},  {116, 159, 156, 157},   // Ľ Ý Ř ť
    {97, 160, 160, 225},  {105, 161, 161, 237}, {111, 162, 162, 243}, {117, 163, 163, 250},   // á í ó ú
    {110, 164, 229, 242}, {78, 165, 213, 210},  {85, 166, 222, 217},  {79, 167, 226, 212},    // ň Ň Ů Ô
    {115, 168, 231, 154}, {114, 169, 253, 248}, {114, 170, 234, 224}, {82, 171, 232, 192},    // š ř ŕ Ŕ
}};

bool defined(TSestLanguage page)
{
    return page >= TSestLanguage::slASCII && page <= TSestLanguage::slCP1250;
}

} // namespace

unsigned char ConvertChar(TSestLanguage from, TSestLanguage to, unsigned char ch)
{
    if (from == to || ch < 128 || !defined(from) || !defined(to)) return ch;
    const size_t f = size_t(from) - 1;
    for (const Row& row : letters)
        if (row[f] == ch) return row[size_t(to) - 1];
    return ch;
}

QByteArray ConvertCodePage(TSestLanguage from, TSestLanguage to, QByteArray text)
{
    for (char& c : text) c = char(ConvertChar(from, to, static_cast<unsigned char>(c)));
    return text;
}

} // namespace reports
