// Polygon clipper: a pixel polygon cut to an axis-parallel pixel rectangle (Sutherland-Hodgman).
#pragma once

#include "graphics/geometry/LineClipping.h"

#include <vector>

// The most points an input polygon may hold.
inline constexpr qint64 maxClipperPoints = 2'500'000;

// TOrezavacPloch ("area cutter"): clips one polygon against a rectangle, one pass per edge that
// some input point lies beyond. The bottom edge puts its crossing points one pixel below the
// edge, as fills leave out their bottom row. A failure (no input, output overflow) sets Failed
// and gives an empty result; nothing is raised for it.
class TOrezavacPloch
{
public:
    // More than maxClipperPoints points raise ERangeError.
    TOrezavacPloch(const PixelRect& rect, std::vector<PixelPoint> points);

    void Execute();
    // The clipped polygon, closed (first point repeated) when it has 3 or more points and was
    // cut; empty when Failed.
    std::vector<PixelPoint> Result() const;
    bool Failed() const { return m_failed; }
    // How many edge passes Execute ran.
    int Passes() const { return m_passes; }

private:
    enum class Edge { Left, Top, Right, Bottom };
    void startPass();
    void clipAgainst(Edge edge);
    void addPoint(PixelPoint p);
    void closePolygon();

    bool m_beyondLeft = false;
    bool m_beyondTop = false;
    bool m_beyondRight = false;
    bool m_beyondBottom = false;
    PixelRect m_rect;
    std::vector<PixelPoint> m_input;
    std::vector<PixelPoint> m_output;
    size_t m_capacity = 0;   // points the output may take in this pass
    bool m_failed = false;
    int m_passes = 0;
};

// The clipper's rounding of a crossing coordinate: beyond the 32-bit range it saturates.
qint32 ClampCrossing(double v);
