// Line clipping against a pixel rectangle: outcodes, visibility, segment and polyline clipping.
#pragma once

#include <QtGlobal>

#include <vector>

// A pixel rectangle (y grows downwards); it includes its edges.
struct PixelRect {
    qint32 Left = 0;
    qint32 Top = 0;
    qint32 Right = 0;
    qint32 Bottom = 0;

    bool operator==(const PixelRect&) const = default;
};

struct PixelPoint {
    qint32 x = 0;
    qint32 y = 0;

    bool operator==(const PixelPoint&) const = default;
};

// A point in page pixels before rounding.
struct PixelPointF {
    double x = 0.0;
    double y = 0.0;
};

// Outcode bits: left of Left, right of Right, below Bottom (y > Bottom), above Top (y < Top).
namespace OutcodeBit {
constexpr quint8 Left = 1;
constexpr quint8 Right = 2;
constexpr quint8 Below = 4;
constexpr quint8 Above = 8;
}

quint8 Outcode(const PixelRect& rect, double x, double y);

struct LineVisibilityResult {
    bool Inside = false;    // both ends inside
    bool Partial = false;   // not inside, but the segment may cross the rectangle
};
LineVisibilityResult LineVisibility(const PixelRect& rect, double x1, double y1, double x2, double y2);

struct ClippedSegment {
    bool Visible = false;
    qint32 x1 = 0;
    qint32 y1 = 0;
    qint32 x2 = 0;
    qint32 y2 = 0;
};
// Cohen-Sutherland clipping in doubles; outcodes are taken on the rounded ends. The ends may
// come out exchanged. Non-finite input is not visible; the loop is bounded, so it always ends.
ClippedSegment ClipSegment(const PixelRect& rect, double x1, double y1, double x2, double y2);

// A polyline clipped segment by segment: the visible runs in order, each of two or more
// points, rounded; consecutive equal points are dropped.
std::vector<std::vector<PixelPoint>> ClipPolylineRuns(const PixelRect& rect, const std::vector<PixelPointF>& points);
