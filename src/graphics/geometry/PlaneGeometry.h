// Plane geometry in world coordinates: azimuth, distance, perpendicular foot, intersections,
// point in polygon.
#pragma once

#include "framework/elements/PlaneGraphics.h"

#include <vector>

class TEntity;

// Angle clockwise from north (+Y) towards east (+X), in (0, 2*pi]: east pi/2, south pi, west
// 3*pi/2, north and the zero vector 2*pi.
double Azimuth(double dY, double dX);
double Distance(double x1, double y1, double x2, double y2);
void SwapDoubles(double& a, double& b);
// Exchanges a and b when a > b.
void OrderPair(double& a, double& b);
// (x, y) lies in the box spanned by A and B; it is outside only when it passes a side by
// 0.0001 or more.
bool InBoxTolerant(double ax, double ay, double bx, double by, double x, double y);

// Foot of the perpendicular from P onto the line A-B; A itself when A and B coincide.
TPoint2D FootPoint(double ax, double ay, double bx, double by, double px, double py);

struct PerpendicularResult {
    bool OnSegment = false;
    TPoint2D Foot;
    double Dist = 0.0;
};
PerpendicularResult PerpendicularFoot(double px, double py, double ax, double ay, double bx, double by);

struct Intersection {
    double X = 0.0;
    double Y = 0.0;
    bool Fail = true;
};
// Intersection of y = m1*x + c1 and y = m2*x + c2; parallel or nearly parallel lines fail.
Intersection LineIntersection(double m1, double c1, double m2, double c2);

struct SegmentCrossing {
    double X = 0.0;
    double Y = 0.0;
    bool Fail = true;
    bool OnFirst = false;    // the point lies within segment A-B, ends included
    bool OnSecond = false;   // the point lies within segment C-O, ends included
};
// Intersection of segments A-B and C-O, computed in a frame with its origin at O.
SegmentCrossing SegmentIntersection(TPoint2D a, TPoint2D b, TPoint2D c, TPoint2D o);

// Crossing count of a horizontal ray from (x, y) towards +X over the closed ring; an odd count
// is inside. A vertex on the ray's line counts only where the ring passes to the other side
// (a run of such vertices, also one wrapping round the start of the ring, counts once).
// Fewer than three vertices: false.
bool PointInPolygon(const std::vector<TPoint2D>& ring, double x, double y);
// The same over the T2DCoordinate children of an entity (other children are skipped).
bool PointInPolygon(const TEntity* polygon, double x, double y);
// The T2DCoordinate children of an entity as points.
std::vector<TPoint2D> CoordinatePoints(const TEntity* entity);
