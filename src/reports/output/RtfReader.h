// Reading an element's text, plain or in the RTF subset, into characters with their fonts.
#pragma once

#include "reports/model/ReportFont.h"

#include <QString>

#include <vector>

namespace reports {

// Paragraph formatting in twips; alignment 0 left, 1 right, 2 centre, 3 justified.
struct ParagraphFormat {
    int alignment = 0;
    int leftIndent = 0;
    int rightIndent = 0;
    int firstIndent = 0;
    bool operator==(const ParagraphFormat&) const = default;
};

// One unit of text for the layout.
struct TextToken {
    enum Kind : unsigned char { Char, Tab, ParagraphEnd };
    Kind kind = Char;
    QChar ch;
    unsigned short font = 0;   // index into ReadText::fonts
    ParagraphFormat paragraph;
};

struct ReadText {
    std::vector<TextToken> tokens;
    std::vector<ReportFont> fonts;   // each distinct font once
    int tabWidth = 720;              // twips
    // 0, or why reading stopped: 1 a group closed that was never opened, 2 a bad hexadecimal
    // character, 3 a group left open, 4 nesting too deep. What was read stays.
    int error = 0;
};

// A plain text: every character goes to the layout as it stands; a line feed ends a
// paragraph, a carriage return is dropped, a tab is a tab.
ReadText readPlainText(const QString& text, const ReportFont& font, int alignment);

// An RTF text. The element's font is the starting font; the keywords of the subset change
// it (b, i, ul, ulnone, f, fs, cf, plain), set paragraphs (li, ri, fi, ql, qr, qc, qj, pard,
// par, deftab) and insert characters; font and colour tables are read, other destinations
// skipped. Hostile input is bounded: nesting depth, keyword length, \bin counts.
ReadText readRtfText(const QString& text, const ReportFont& font, int alignment);

} // namespace reports
