// Geometry of the design surface: handles, drags and their limits, keyboard moves, band
// heights and stacking, columns, tabs, cursors and the rubber band. No widgets.
#pragma once

#include <QPoint>
#include <QRect>

#include <vector>

namespace reports::designer {

// Height of a band's caption strip, pixels.
inline constexpr int captionStrip = 16;
// Side of a selection handle, pixels.
inline constexpr int handleSize = 5;
// Smallest element side a drag or a keyboard resize leaves, model units.
inline constexpr int minElementSide = 3;
// Smallest band height a height drag leaves, model units.
inline constexpr int minBandHeight = 14;
// Pixel values are held within this, so that pixel rectangles and the stack of bands of a
// hostile template stay within int arithmetic (model values are held within the engine's
// bounds, a hundred million).
inline constexpr int maxPixels = 1 << 29;

// A pixel value rounded, halves to even, and held within maxPixels.
int roundPixels(double value);
// The zoomed pixel value of a model value: Round(value x zoom), halves to even, held within
// maxPixels.
int toPixels(int model, double zoom);
// The model value of a pixel value: Round(pixels / zoom), halves to even, held as above.
int toModel(int pixels, double zoom);
// The pixel bounds of a model rectangle (each of left, top, width, height zoomed alone).
QRect toPixels(const QRect& model, double zoom);
// The band's pixel height: Round(height x zoom) + the caption strip.
int bandPixelHeight(int height, double zoom);

// Raster of the bands, model units. A step of 0 or less does not snap.
struct Raster {
    float x = 0;
    float y = 0;
    bool show = false;
    bool snap = false;
};

// The handle under a point of an element of `size` pixels: 0 none, 1-3 top left, middle,
// right, 4 and 5 the sides' middles, 6-8 bottom left, middle, right. An element of a multiple
// selection has no handles.
int zoneAt(QPoint p, QSize size, bool inMultipleSelection);

// What a drag starts from: the element's model rectangle, the zone, the band's limits.
struct DragStart {
    QRect rect;            // model units at the press
    int zone = 0;
    int bandWidth = 0;     // model units (the paper width)
    int bandHeight = 0;
};

// The element's rectangle after the mouse moved `pixels` from the press point: the delta
// in model units (snapped in raster steps when the raster snaps) applied by zone, then the
// limits: sides of at least 3, resized edges within the band, a move not below 0.
QRect dragStep(const DragStart& start, QPoint pixels, double zoom, const Raster& raster);

// Where the others of a multiple selection go when the dragged one moved by `delta`: each
// moves by it, none to a negative position.
QRect followDrag(const QRect& rect, QPoint delta);

// Keyboard move by (dx, dy) model units, rounded: not below 0, not past the band's right and
// bottom edges.
QRect keyboardMove(const QRect& rect, double dx, double dy, int bandWidth, int bandHeight);
// Keyboard resize by (dw, dh): sides at least 3, cut at the band's right and bottom edges.
QRect keyboardResize(const QRect& rect, double dw, double dh, int bandWidth, int bandHeight);

// A band's height while its strip is dragged `pixels` down from the press: snapped to the
// raster's rows when it snaps, never below 14.
int bandHeightDrag(int savedHeight, int pixels, double zoom, const Raster& raster);

// Bands in the order they stack on the paper: report start, page head, group starts from the
// first group, body, group ends from the last group, report end, page foot.
std::vector<int> stackingOrder(int bandCount);
// The top pixel of each band (by index) stacked in that order, invisible bands skipped
// (their top is that of the next visible one); `total` gets the stack's height. Tops and the
// total are held within maxPixels.
std::vector<int> stackBands(const std::vector<int>& pixelHeights, const std::vector<bool>& visible, int& total);

// Column width of a multi-column body: (width + gap) div columns; the width itself for one.
int columnWidth(int width, int columns, int gap);

// The detail variant of a press at x in a strip whose tabs end at `tabsEnd`: 1..count.
int tabAt(int x, int count, int tabsEnd);

enum class SurfaceCursor { Arrow, Paper, NoDrop, MultiDrag, Drag, SizeNWSE, SizeNS, SizeNESW, SizeWE, SplitV };

// The cursor over an element.
SurfaceCursor elementCursor(bool toolActive, bool inMultipleSelection, bool active, int zone);

// Where a point of a band lies (band pixels, y from the band's top).
enum class BandSpot { Area, NoDrop, Tabs, Split };
// `columnPixels`: the column width in pixels in a multi-column body, else 0.
BandSpot bandSpot(QPoint p, int bandPixelHeight, int columnPixels, int tabsEnd);
SurfaceCursor bandCursor(BandSpot spot);

// The model rectangle of a rubber band between two band pixel points, normalised.
QRect rubberRect(QPoint from, QPoint to, double zoom);
// Whether two model rectangles overlap (touching edges and empty rectangles do not).
bool overlaps(const QRect& a, const QRect& b);

} // namespace reports::designer
