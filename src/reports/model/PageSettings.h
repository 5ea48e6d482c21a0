// The page settings the whole report generator shares: paper, orientation, margins, scale.
#pragma once

namespace reports {

// One set for the program. Lengths in hundredths of an inch; the paper is given portrait.
// A template's I,2 record writes it, a template without one leaves it as it is.
struct PageSettings
{
    int PaperFormatWidth = 826;     // A4
    int PaperFormatHeight = 1169;
    int Orientation = 0;            // 0 portrait, 1 landscape
    int LeftMargin = 50;
    int RightMargin = 50;
    int TopMargin = 70;
    int BottomMargin = 70;
    float ScaleX = 1.0f;            // device pixels per hundredth of an inch
    float ScaleY = 1.0f;
    bool operator==(const PageSettings&) const = default;
};

// The shared set (VPrinter's globals).
PageSettings& pageSettings();
// Back to the start values (tests, start-up).
void resetPageSettings();

} // namespace reports
