// Accented letters of other code pages converted to windows-1250, and diacritics removed.
#include "forest/base/CodePages.h"

#include "platform/text/Cp1250.h"

#include <array>

namespace {

constexpr int letterCount = 38;
using LetterTable = std::array<unsigned char, letterCount>;

// The Czech letters ÁÉÍĹÓŔÚÝáéíĺóŕúýČĎĚĽŇÖŘŠŤŮŽčďěľňöřšťůž in windows-1250.
constexpr LetterTable win1250Letters = {
    0xC1, 0xC9, 0xCD, 0xC5, 0xD3, 0xC0, 0xDA, 0xDD, 0xE1, 0xE9, 0xED, 0xE5, 0xF3,
    0xE0, 0xFA, 0xFD, 0xC8, 0xCF, 0xCC, 0xBC, 0xD2, 0xD6, 0xD8, 0x8A, 0x8D, 0xD9,
    0x8E, 0xE8, 0xEF, 0xEC, 0xBE, 0xF2, 0xF6, 0xF8, 0x9A, 0x9D, 0xF9, 0x9E,
};
// The same letters in code page 852 (positions 22 and 33 hold Ô and ô).
constexpr LetterTable cp852Letters = {
    0xB5, 0x90, 0xD6, 0x91, 0xE0, 0xE8, 0xE9, 0xED, 0xA0, 0x82, 0xA1, 0x92, 0xA2,
    0xEA, 0xA3, 0xEC, 0xAC, 0xD2, 0xB7, 0x95, 0xD5, 0xE2, 0xFC, 0xE6, 0x9B, 0xDE,
    0xA6, 0x9F, 0xD4, 0xD8, 0x96, 0xE5, 0x93, 0xFD, 0xE7, 0x9C, 0x85, 0xA7,
};
// The letters as they arrive from the owners' dBASE file (C5, E0 and E5 occur twice; the first
// position counts).
constexpr LetterTable dbfLetters = {
    0xC5, 0xC9, 0xEF, 0xC5, 0xD3, 0xC0, 0xF9, 0xA5, 0xE1, 0xE9, 0xED, 0xE5, 0xF3,
    0xE0, 0xFA, 0xFF, 0xC7, 0xE0, 0xEB, 0xBC, 0xD1, 0xD6, 0xD8, 0xA2, 0xE5, 0xAA,
    0xC6, 0xE7, 0xE2, 0xEA, 0xBE, 0xF1, 0xF6, 0x80, 0xBF, 0x9D, 0xFB, 0xE6,
};

QString convert(const QString& text, const LetterTable& from)
{
    QString result = text;
    for (QChar& c : result) {
        const auto byte = static_cast<unsigned char>(Cp1250::encodeChar(c));
        for (int i = 0; i < letterCount; ++i) {
            if (from[static_cast<size_t>(i)] == byte) {
                c = Cp1250::decodeChar(win1250Letters[static_cast<size_t>(i)]);
                break;
            }
        }
    }
    return result;
}

// Every accented letter of windows-1250 and its plain letter, at the same positions.
const QString accented = QStringLiteral(
    "ŠŚŤŽŹšśťžźŁĄŞŻłąşĽľżŔÁÂĂÄĹĆÇČÉĘËĚÍÎĎĐŃŇÓÔŐÖŘŮÚŰÜÝŢŕáâăäĺćçčéęëěíîďđńňóôőöřůúűüýţ");
const QString plain = QStringLiteral(
    "SSTZZsstzzLASZlasLlzRAAAALCCCEEEEIIDDNNOOOORUUUUYTraaaalccceeeeiiddnnooooruuuuyt");

} // namespace

QString Cp852ToWin1250(const QString& text)
{
    return convert(text, cp852Letters);
}

QString DbfTextToWin1250(const QString& text)
{
    return convert(text, dbfLetters);
}

QString RemoveDiacritics(const QString& text)
{
    QString result = text;
    for (QChar& c : result) {
        const int at = accented.indexOf(c);
        if (at >= 0)
            c = plain.at(at);
    }
    return result;
}
