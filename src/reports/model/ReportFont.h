// The font of a report element as templates store it: name, size, colour, style bits, charset.
#pragma once

#include <QString>

#include <cstdint>

namespace reports {

// Font style bits as template lines store them.
inline constexpr int FontBold = 1;
inline constexpr int FontItalic = 2;
inline constexpr int FontUnderline = 4;
inline constexpr int FontStrikeOut = 8;
inline constexpr int FontStyleMask = 15;

// A plain value; output maps it to a device font in one place.
struct ReportFont
{
    QString Name = QStringLiteral("MS Sans Serif");
    int Size = 8;               // points
    uint32_t Color = 0;         // 0x00BBGGRR
    int Style = 0;              // FontBold | FontItalic | ...
    int Charset = 1;            // Windows character-set number, kept as read
    bool FixedPitch = false;

    bool isBold() const { return Style & FontBold; }
    bool isItalic() const { return Style & FontItalic; }
    bool isUnderline() const { return Style & FontUnderline; }
    bool isStrikeOut() const { return Style & FontStrikeOut; }
    bool operator==(const ReportFont&) const = default;
};

} // namespace reports
