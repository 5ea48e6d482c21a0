// Arithmetic of the report windows' panels: the scrolling tool panel and the floating panel.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace reports {

// One direction of a panel larger than the window onto it (TPosuvnyPanelSest). The offset is
// the contents' shift, 0 or negative, and never leaves blank space beyond the contents' end.
struct ScrollAxis {
    int visible = 0;   // size of the window onto the contents
    int content = 0;   // size of the contents (the panel's own size)
    int offset = 0;

    // Moves the contents by `delta` pixels within the limits; true when the offset changed.
    bool scrollBy(int delta);
    // Contents hidden before the start: the button that moves them forward (right, down) works.
    bool hiddenBefore() const { return offset < 0; }
    // Contents hidden past the end: the button that moves them back (left, up) works.
    bool hiddenAfter() const { return visible - offset < content; }
};

// The floating panel (TPlovouciPanelSestavy).
namespace floating {

inline constexpr int defaultCaptionHeight = 22;

// Where a dragged panel may go: at least 20 pixels of it stay inside the parent horizontally
// and part of the caption bar stays visible.
QPoint dragTarget(QPoint wanted, QSize panel, QSize parentClient, int captionHeight);
// The close button in the caption bar: a square of captionHeight - 7 pixels, 4 from the top
// and 6 from the right edge, both moved inward by the inner bevel's width.
QRect cancelButtonRect(int panelWidth, int captionHeight, int innerBevel);

} // namespace floating

} // namespace reports
