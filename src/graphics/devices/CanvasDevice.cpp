// Canvas device: draws through a QPainter (not owned) on whatever it paints.
#include "graphics/devices/CanvasDevice.h"

#include "framework/core/ClassRegistry.h"
#include "graphics/devices/BorderBuffer.h"
#include "platform/Exceptions.h"
#include "platform/paint/Paint.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainterPath>

#include <cmath>

namespace {

static_assert(sizeof(PixelPoint) == sizeof(QPoint) && alignof(PixelPoint) == alignof(QPoint));

// QPoint holds two ints in x, y order, as PixelPoint does.
const QPoint* asQPoints(const std::vector<PixelPoint>& points)
{
    return reinterpret_cast<const QPoint*>(points.data());
}

QPoint rounded(PixelPointF p)
{
    return {HeldPixel(p.x, pixelLimit), HeldPixel(p.y, pixelLimit)};
}

// The rectangle from (l, t) up to but not including (r, b), normalised. The corners are held
// within +-pixelLimit, far beyond any page, so width and height fit an int.
QRect fillArea(const PixelRect& r)
{
    const auto held = [](qint32 v) { return HeldPixel(v, pixelLimit); };
    const int l = std::min(held(r.Left), held(r.Right)), rr = std::max(held(r.Left), held(r.Right));
    const int t = std::min(held(r.Top), held(r.Bottom)), b = std::max(held(r.Top), held(r.Bottom));
    return QRect(l, t, rr - l, b - t);
}

constexpr double millimetresPerInch = 25.4;

} // namespace

TClass TCanvasDevice::StaticClass()
{
    static const TClassInfo info = describeClass<TCanvasDevice, TDevice>("TCanvasDevice");
    return &info;
}

void TCanvasDevice::SetCanvas(QPainter* painter)
{
    m_canvas = painter;
    if (!m_canvas)
        return;
    applyState();
    AdjustPage();
}

void TCanvasDevice::applyState()
{
    if (!m_canvas)
        return;
    m_canvas->setRenderHint(QPainter::Antialiasing, false);
    m_canvas->setRenderHint(QPainter::TextAntialiasing, false);
    m_canvas->setPen(m_pen);
    m_canvas->setBrush(m_brush);
    m_canvas->setFont(m_font);
}

PixelPoint TCanvasDevice::PenPosition() const
{
    const QPoint p = rounded(m_penF);
    return {p.x(), p.y()};
}

void TCanvasDevice::SetFontColor(TColor color)
{
    m_fontColor = color;
}

void TCanvasDevice::AdjustPage()
{
    makePageAndProjection();
    if (!m_canvas || !m_canvas->device())
        return;
    const QPaintDevice* d = m_canvas->device();
    const PixelRect whole{0, 0, d->width(), d->height()};
    T_Page* page = Page();
    page->SetPageRect(whole);
    page->SetClipRect(whole);
    page->SetResolution(d->logicalDpiX() * 1000.0 / millimetresPerInch, d->logicalDpiY() * 1000.0 / millimetresPerInch);
    TPageProjection* p = Projection();
    p->Recalc(p->Center_X(), p->Center_Y(), page, p->Scale());
}

TColor TCanvasDevice::GetPixel(double x, double y)
{
    if (!m_canvas)
        return 0;
    const auto* image = dynamic_cast<const QImage*>(m_canvas->device());
    const TPageProjection* p = Projection();
    const int px = p->WorldToPixelX(x), py = p->WorldToPixelY(y);
    if (!image || !image->valid(px, py))
        return 0;
    return static_cast<TColor>(paint::fromQColor(image->pixelColor(px, py)));
}

void TCanvasDevice::SetBrush(const QBrush& brush)
{
    m_brush = brush;
    if (m_canvas)
        m_canvas->setBrush(m_brush);
}

void TCanvasDevice::SetFont(const QFont& font)
{
    m_font = font;
    if (m_canvas)
        m_canvas->setFont(m_font);
}

void TCanvasDevice::SetPen(const QPen& pen)
{
    m_pen = pen;
    if (m_canvas)
        m_canvas->setPen(m_pen);
}

void TCanvasDevice::SetPixel(double x, double y, TColor color)
{
    if (!ensureCanvas())
        return;
    const TPageProjection* p = Projection();
    m_canvas->save();
    m_canvas->setPen(paint::toQColor(static_cast<paint::ColorRef>(color)));
    m_canvas->drawPoint(p->WorldToPixelX(x), p->WorldToPixelY(y));
    m_canvas->restore();
}

void TCanvasDevice::Clear()
{
    if (!ensureCanvas())
        return;
    SetBrush(QBrush(paint::toQColor(static_cast<paint::ColorRef>(Page()->Color()))));
    m_canvas->fillRect(fillArea(Page()->ActiveClipRect()), m_brush);
}

void TCanvasDevice::FillRect(const WorldRect& r)
{
    if (ensureCanvas())
        m_canvas->fillRect(fillArea(Projection()->WorldRectToPixelRect(r)), m_brush);
}

void TCanvasDevice::FrameRect(const WorldRect& r)
{
    if (!ensureCanvas())
        return;
    const QRect a = fillArea(Projection()->WorldRectToPixelRect(r));
    if (a.isEmpty())
        return;
    m_canvas->fillRect(QRect(a.left(), a.top(), a.width(), 1), m_brush);
    m_canvas->fillRect(QRect(a.left(), a.bottom(), a.width(), 1), m_brush);
    m_canvas->fillRect(QRect(a.left(), a.top(), 1, a.height()), m_brush);
    m_canvas->fillRect(QRect(a.right(), a.top(), 1, a.height()), m_brush);
}

void TCanvasDevice::SetTextAngle(double degrees)
{
    if (m_canvas)
        m_textAngle = degrees;
}

void TCanvasDevice::drawClippedLine(PixelPointF from, PixelPointF to)
{
    const ClippedSegment s = ClipSegment(Page()->ClipRect(), from.x, from.y, to.x, to.y);
    if (s.Visible && ensureCanvas())
        m_canvas->drawLine(s.x1, s.y1, s.x2, s.y2);
}

void TCanvasDevice::LineTo(double x, double y)
{
    const TPageProjection* p = Projection();
    const TPoint2D w = p->Rotate(x, y);
    const PixelPointF to = p->WorldToPixelF(w.X, w.Y);
    if (rounded(to) == rounded(m_penF))
        return;
    drawClippedLine(m_penF, to);
    m_penF = to;
    m_canvasPos = rounded(to);
}

void TCanvasDevice::MoveTo(double x, double y)
{
    const TPageProjection* p = Projection();
    const TPoint2D w = p->Rotate(x, y);
    m_penF = p->WorldToPixelF(w.X, w.Y);
    m_canvasPos = rounded(m_penF);
}

void TCanvasDevice::LineToPixel(qint32 x, qint32 y)
{
    if (ensureCanvas())
        m_canvas->drawLine(m_canvasPos, QPoint(x, y));
    m_canvasPos = QPoint(x, y);
}

void TCanvasDevice::MoveToPixel(qint32 x, qint32 y)
{
    m_canvasPos = QPoint(x, y);
}

std::vector<PixelPoint> TCanvasDevice::ringOf(TElement* element)
{
    auto* entity = dynamic_cast<TRectEntity*>(element);
    if (!entity)
        return {};
    return ClippedRing(ProjectCoordinates(*Projection(), *entity, true), Page()->ClipRect(), 3);
}

PolyPolygon TCanvasDevice::BuildPolyPolygon(TElement* entity)
{
    PolyPolygon out;
    std::vector<PixelPoint> outer = ringOf(entity);
    if (outer.empty())
        return out;
    out.Counts.push_back(static_cast<qint32>(outer.size()));
    out.Points = std::move(outer);
    auto* holes = dynamic_cast<TEntity*>(GetObjectPropByName(entity, QStringLiteral("Holes")));
    for (int i = 0; holes && i < holes->Count(); ++i) {
        TElement* hole = holes->Items(i);
        if (!hole)
            continue;
        std::vector<PixelPoint> ring = ringOf(hole);
        if (ring.empty())
            continue;
        if (static_cast<int>(out.Counts.size()) >= maxPolyPolygonRings)
            throw ERangeError(QStringLiteral("Range check error"));
        out.Counts.push_back(static_cast<qint32>(ring.size()));
        out.Points.insert(out.Points.end(), ring.begin(), ring.end());
    }
    return out;
}

void TCanvasDevice::DrawPolyline(TElement* element)
{
    auto* entity = dynamic_cast<TRectEntity*>(element);
    if (!entity || !ensureCanvas())
        return;
    const ProjectedPoints projected = ProjectCoordinates(*Projection(), *entity, true);
    if (projected.Points.size() < 2)
        return;
    const PixelRect& clip = Page()->ClipRect();
    if (!LeavesRect(projected.Bounds, clip)) {
        m_canvas->drawPolyline(asQPoints(projected.Points), static_cast<int>(projected.Points.size()));
        return;
    }
    for (const std::vector<PixelPoint>& run : ClipPolylineRuns(clip, projected.Exact))
        m_canvas->drawPolyline(asQPoints(run), static_cast<int>(run.size()));
}

void TCanvasDevice::DrawPolygon(TElement* element)
{
    if (!ensureCanvas())
        return;
    const std::vector<PixelPoint> ring = ringOf(element);
    if (!ring.empty())
        m_canvas->drawPolygon(asQPoints(ring), static_cast<int>(ring.size()), Qt::OddEvenFill);
}

void TCanvasDevice::DrawArea(TElement* element)
{
    if (!element || !ensureCanvas())
        return;
    auto* holes = dynamic_cast<TEntity*>(GetObjectPropByName(element, QStringLiteral("Holes")));
    if (!holes || holes->Count() == 0) {
        DrawPolygon(element);
        return;
    }
    const PolyPolygon rings = BuildPolyPolygon(element);
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    size_t at = 0;
    for (qint32 count : rings.Counts) {
        QPolygon ring(count);
        for (qint32 i = 0; i < count; ++i, ++at)
            ring[i] = QPoint(rings.Points[at].x, rings.Points[at].y);
        path.addPolygon(ring);
        path.closeSubpath();
    }
    m_canvas->drawPath(path);
}

void TCanvasDevice::Rectangle(const WorldRect& r)
{
    if (!ensureCanvas())
        return;
    const TPageProjection* p = Projection();
    const PixelRect px{p->WorldToPixelX(r.X1), p->WorldToPixelY(r.Y1), p->WorldToPixelX(r.X2), p->WorldToPixelY(r.Y2)};
    const QRect a = fillArea(px);
    if (a.width() > 0 && a.height() > 0)
        m_canvas->drawRect(QRect(a.left(), a.top(), a.width() - 1, a.height() - 1));
}

void TCanvasDevice::TextOut(double x, double y, const QString& s)
{
    const TPageProjection* p = Projection();
    TextOutPixel(p->WorldToPixelX(x), p->WorldToPixelY(y), s);
}

void TCanvasDevice::TextOutPixel(qint32 x, qint32 y, const QString& s)
{
    if (!ensureCanvas())
        return;
    SetBrush(Qt::NoBrush);
    const QFontMetrics metrics(m_font, m_canvas->device());
    m_canvas->save();
    m_canvas->setPen(paint::toQColor(static_cast<paint::ColorRef>(m_fontColor)));
    m_canvas->translate(x, y);
    m_canvas->rotate(-m_textAngle);
    m_canvas->drawText(0, metrics.ascent(), s);
    m_canvas->restore();
}

qint32 TCanvasDevice::TextWidth(const QString& s)
{
    if (!m_canvas)
        return 0;
    return QFontMetrics(m_font, m_canvas->device()).horizontalAdvance(s);
}

qint32 TCanvasDevice::TextHeight(const QString&)
{
    if (!m_canvas)
        return 0;
    return QFontMetrics(m_font, m_canvas->device()).height();
}

void TCanvasDevice::Draw(double x, double y, const QImage& image)
{
    if (ensureCanvas())
        m_canvas->drawImage(Projection()->WorldToPixelX(x), Projection()->WorldToPixelY(y), image);
}

void TCanvasDevice::StretchDraw(double, double, double x, double y, double w, double h, double, double,
                                const QImage& image)
{
    const TPageProjection* p = Projection();
    StretchDrawPixel(p->WorldToPixelX(x), p->WorldToPixelY(y), p->WorldLengthToPixelsX(w), p->WorldLengthToPixelsY(h),
                     0, 0, 0, 0, image);
}

void TCanvasDevice::StretchDrawPixel(qint32 x, qint32 y, qint32 w, qint32 h, qint32, qint32, qint32, qint32,
                                     const QImage& image)
{
    if (ensureCanvas())
        m_canvas->drawImage(QRect(x, y, w, h), image);
}

// --- TBitmapDevice -----------------------------------------------------------------------------

TClass TBitmapDevice::StaticClass()
{
    static const TClassInfo info = describeClass<TBitmapDevice, TCanvasDevice>("TBitmapDevice");
    return &info;
}

void TBitmapDevice::BeforeDestruction()
{
    detach();
    TCanvasDevice::BeforeDestruction();
}

void TBitmapDevice::detach()
{
    SetCanvas(nullptr);
    m_painter.reset();
    m_owned.reset();
    m_bitmap = nullptr;
}

void TBitmapDevice::attach(QImage* image)
{
    m_bitmap = image;
    if (!image || image->isNull())
        return;
    m_painter = std::make_unique<QPainter>(image);
    SetCanvas(m_painter.get());
}

void TBitmapDevice::SetBitmap(QImage* image)
{
    detach();
    attach(image);
}

void TBitmapDevice::SetOwnedBitmap(std::unique_ptr<QImage> image)
{
    detach();
    m_owned = std::move(image);
    attach(m_owned.get());
}

void TBitmapDevice::Flush()
{
    if (!m_painter || !m_bitmap)
        return;
    m_painter->end();
    m_painter->begin(m_bitmap);
    applyState();
}
