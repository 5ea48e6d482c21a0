// The design surface widget: layout of the bands, painting, and the mouse.
#include "reports/designer/surface/Papir.h"

#include "platform/text/Numbers.h"
#include "platform/ui/Services.h"
#include "reports/model/ReportElement.h"
#include "reports/model/ReportTables.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <tuple>
#include <unordered_set>

namespace reports::designer {

namespace {

const QColor grey(128, 128, 128);
const QColor lightGrey(192, 192, 192);

// More dirty rectangles than this repaint their bounding rectangle instead.
constexpr int maxDirtyRects = 32;

// The 8 x 8 checker of a multi-column body's unused width.
QBrush checker(const QColor& ground)
{
    QImage image(8, 8, QImage::Format_RGB32);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) image.setPixelColor(x, y, (x % 2) == (y % 2) ? lightGrey : ground);
    return QBrush(image);
}

Qt::CursorShape shapeOf(SurfaceCursor cursor)
{
    switch (cursor) {
    case SurfaceCursor::NoDrop: return Qt::ForbiddenCursor;
    case SurfaceCursor::MultiDrag: return Qt::DragCopyCursor;
    case SurfaceCursor::Drag: return Qt::DragMoveCursor;
    case SurfaceCursor::SizeNWSE: return Qt::SizeFDiagCursor;
    case SurfaceCursor::SizeNS: return Qt::SizeVerCursor;
    case SurfaceCursor::SizeNESW: return Qt::SizeBDiagCursor;
    case SurfaceCursor::SizeWE: return Qt::SizeHorCursor;
    case SurfaceCursor::SplitV: return Qt::SplitVCursor;
    default: return Qt::ArrowCursor;
    }
}

QRect ownRect(const TVoReportElement& e)
{
    return {e.Left, e.Top, e.Width, e.Height};
}

} // namespace

TPapir::TPapir(SurfaceHost& host, const TextMeasurer& measurer, QWidget* parent)
    : QWidget(parent), m_host(host), m_painter(measurer), m_paperCursor(Qt::ArrowCursor)
{
    setObjectName(QStringLiteral("Papir"));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

TPapir::~TPapir() = default;

void TPapir::setPaperCursor(const QCursor& cursor)
{
    m_paperCursor = cursor;
    if (m_cursor == SurfaceCursor::Paper) setCursor(cursor);
}

// ---- layout ----

std::vector<TPapir::Placed> TPapir::placeElements(const SurfaceBand& band) const
{
    int selected = 0;
    for (const SurfaceBand& b : m_view.bands)
        for (const SurfaceElement& e : b.elements) selected += e.selected ? 1 : 0;
    std::vector<Placed> placed;
    placed.reserve(band.elements.size());
    for (const SurfaceElement& e : band.elements) {
        if (!e.element) continue;
        placed.push_back({e.id, e.element, ownRect(*e.element), e.active, e.selected && selected > 1, e.selected, e.text});
    }
    return placed;
}

void TPapir::layOut()
{
    const double z = m_view.zoom;
    m_paperPixels = toPixels(m_view.paperWidth, z);
    const QFontMetrics metrics(font());
    std::vector<BandLayout> bands(m_view.bands.size());
    for (size_t i = 0; i < bands.size(); ++i) {
        const SurfaceBand& source = m_view.bands[i];
        BandLayout& b = bands[i];
        b.height = source.height;
        if (source.index == biBody && source.columns > 1)
            b.columnPixels = toPixels(columnWidth(m_view.paperWidth, source.columns, source.columnGap), z);
        b.currentDetail = std::clamp(source.currentDetail, 1, std::max(source.detailCount, 1));
        if (source.detailCount > 0) {
            int x = 5;
            for (int d = 1; d <= source.detailCount; ++d)
                x += metrics.horizontalAdvance(QStringLiteral("%1 %2").arg(source.caption).arg(d)) + 10;
            b.tabsEnd = x;
        }
        b.placed = placeElements(source);
        std::vector<QRect> rects;
        rects.reserve(b.placed.size());
        for (const Placed& p : b.placed) rects.push_back(p.rect);
        b.grid.build(rects, m_view.paperWidth, source.height);
    }
    m_bands = std::move(bands);
    stack();
}

void TPapir::stack()
{
    std::vector<int> heights;
    std::vector<bool> visible;
    for (size_t i = 0; i < m_bands.size(); ++i) {
        BandLayout& b = m_bands[i];
        if (m_heightDrag && m_heightDrag->band == int(i) && m_dragHeight) b.height = *m_dragHeight;
        b.pixelHeight = bandPixelHeight(b.height, m_view.zoom);
        heights.push_back(b.pixelHeight);
        visible.push_back(m_view.bands[i].visible);
    }
    int total = 0;
    const std::vector<int> tops = stackBands(heights, visible, total);
    for (size_t i = 0; i < m_bands.size(); ++i) m_bands[i].top = tops[i];
    // a widget is at most QWIDGETSIZE_MAX pixels high; what lies below stays out of reach
    const QSize size(std::clamp(m_paperPixels, 1, QWIDGETSIZE_MAX), std::clamp(total + 1, 1, QWIDGETSIZE_MAX));
    if (this->size() != size) setFixedSize(size);
}

bool TPapir::sameGeometry(const SurfaceView& a, const SurfaceView& b) const
{
    if (a.paperWidth != b.paperWidth || a.zoom != b.zoom || a.raster.x != b.raster.x || a.raster.y != b.raster.y
        || a.raster.show != b.raster.show || a.background.cacheKey() != b.background.cacheKey()
        || a.bands.size() != b.bands.size())
        return false;
    for (size_t i = 0; i < a.bands.size(); ++i) {
        const SurfaceBand& x = a.bands[i];
        const SurfaceBand& y = b.bands[i];
        if (x.index != y.index || x.caption != y.caption || x.visible != y.visible || x.height != y.height
            || x.columns != y.columns || x.columnGap != y.columnGap || x.detailCount != y.detailCount
            || x.currentDetail != y.currentDetail || x.backgroundOffset != y.backgroundOffset)
            return false;
    }
    return true;
}

void TPapir::setView(SurfaceView view)
{
    const bool same = !m_bands.empty() && sameGeometry(m_view, view);
    std::vector<BandLayout> old = std::move(m_bands);
    std::vector<QString> oldLabels;
    for (const SurfaceBand& b : m_view.bands) oldLabels.push_back(b.label);
    m_view = std::move(view);
    layOut();
    if (m_drag) relocateDrag();
    if (same) {
        for (size_t i = 0; i < m_bands.size(); ++i) {
            m_bands[i].currentDetail = old[i].currentDetail;
            const QRect area = bandRect(int(i));
            if (m_view.bands[i].label != oldLabels[i]) update(area.adjusted(0, area.height() - captionStrip, 0, 0));
        }
        return repaintChanged(old);
    }
    std::unordered_set<ElementId> shown;
    for (const BandLayout& b : m_bands)
        for (const Placed& p : b.placed) shown.insert(p.id);
    m_painter.retain(shown);
    update();
}

void TPapir::repaintChanged(const std::vector<BandLayout>& old)
{
    std::vector<QRect> dirty;
    for (size_t b = 0; b < m_bands.size(); ++b) {
        const auto& now = m_bands[b].placed;
        const auto& was = old[b].placed;
        for (size_t i = 0; i < std::max(now.size(), was.size()); ++i) {
            if (i < now.size() && i < was.size() && now[i] == was[i]) continue;
            if (i < was.size()) dirty.push_back(pixelRect(int(b), was[i].rect));
            if (i < now.size()) dirty.push_back(pixelRect(int(b), now[i].rect));
        }
    }
    repaintRects(dirty);
}

void TPapir::repaintRects(const std::vector<QRect>& rects)
{
    if (int(rects.size()) <= maxDirtyRects) {
        for (const QRect& r : rects) update(r);
        return;
    }
    QRect bounds;
    for (const QRect& r : rects) bounds |= r;
    update(bounds);
}

void TPapir::relocateDrag()
{
    std::vector<Moving> kept;
    for (Moving m : m_drag->moving) {
        const auto at = locate(m.id);
        if (at) {
            std::tie(m.band, m.z) = *at;
            kept.push_back(m);
        } else if (kept.empty()) {
            break;   // the dragged element is gone: the drag ends
        }
    }
    if (kept.empty()) {
        for (const Moving& m : m_drag->moving) m_overrides.erase(m.id);
        m_drag.reset();
        return update();
    }
    m_drag->moving = std::move(kept);
}

// ---- geometry queries ----

QRect TPapir::bandRect(int band) const
{
    if (band < 0 || band >= int(m_bands.size()) || !m_view.bands[size_t(band)].visible) return {};
    const BandLayout& b = m_bands[size_t(band)];
    return {0, b.top, std::max(m_paperPixels - 1, 0), b.pixelHeight};
}

QRect TPapir::modelRect(int band, int z) const
{
    const Placed& p = m_bands[size_t(band)].placed[size_t(z)];
    if (!m_overrides.empty()) {
        const auto it = m_overrides.find(p.id);
        if (it != m_overrides.end()) return it->second;
    }
    return p.rect;
}

QRect TPapir::pixelRect(int band, const QRect& model) const
{
    return toPixels(model, m_view.zoom).translated(0, m_bands[size_t(band)].top);
}

std::optional<std::pair<int, int>> TPapir::locate(ElementId id) const
{
    for (size_t b = 0; b < m_bands.size(); ++b)
        for (size_t z = 0; z < m_bands[b].placed.size(); ++z)
            if (m_bands[b].placed[z].id == id) return std::pair{int(b), int(z)};
    return std::nullopt;
}

QRect TPapir::elementRect(ElementId id) const
{
    const auto at = locate(id);
    return at ? pixelRect(at->first, modelRect(at->first, at->second)) : QRect();
}

int TPapir::tabsEnd(int band) const
{
    return band >= 0 && band < int(m_bands.size()) ? m_bands[size_t(band)].tabsEnd : 0;
}

int TPapir::currentDetail(int band) const
{
    return band >= 0 && band < int(m_bands.size()) ? m_bands[size_t(band)].currentDetail : 1;
}

TPapir::Hit TPapir::hitAt(QPoint p) const
{
    for (size_t b = 0; b < m_bands.size(); ++b) {
        const QRect area = bandRect(int(b));
        if (!area.contains(p)) continue;
        const QPoint model(toModel(p.x(), m_view.zoom), toModel(p.y() - area.top(), m_view.zoom));
        std::vector<int> near = m_bands[b].grid.near(QRect(model - QPoint(2, 2), QSize(5, 5)));
        for (auto it = near.rbegin(); it != near.rend(); ++it)
            if (pixelRect(int(b), modelRect(int(b), *it)).contains(p)) return {int(b), *it};
        return {int(b), -1};
    }
    return {};
}

// ---- events ----

bool TPapir::event(QEvent* event)
{
    bool handled = true;
    ui::guardEvent([&] { handled = QWidget::event(event); });
    return handled;
}

// ---- mouse ----

void TPapir::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || m_drag || m_heightDrag || m_rubber) return;
    const QPoint p = event->position().toPoint();
    const Hit hit = hitAt(p);
    if (hit.band < 0) return;
    if (hit.z >= 0) return pressElement(hit, event->modifiers(), p);
    pressBand(hit.band, event->modifiers(), p);
}

void TPapir::pressElement(const Hit& hit, Qt::KeyboardModifiers modifiers, QPoint p)
{
    const Placed& placed = m_bands[size_t(hit.band)].placed[size_t(hit.z)];
    const ElementId id = placed.id;
    if (modifiers & Qt::ShiftModifier) {
        if (placed.active || placed.selected)
            m_host.removeFromSelection(id);
        else
            m_host.addToSelection(id);
    } else {
        m_host.pressArrow();
        m_host.selectOnly(id);
    }
    startDrag(id, p);   // the host may have shown a new view meanwhile
}

void TPapir::startDrag(ElementId id, QPoint p)
{
    const auto at = locate(id);
    if (!at) return;
    const auto [band, z] = *at;
    const Placed& placed = m_bands[size_t(band)].placed[size_t(z)];
    const QRect pixels = pixelRect(band, placed.rect);
    ElementDrag drag{p, zoneAt(p - pixels.topLeft(), pixels.size(), placed.multi), {}};
    drag.moving.push_back({id, band, z, placed.rect, placed.rect});
    if (placed.multi)
        for (size_t b = 0; b < m_bands.size(); ++b)
            for (size_t i = 0; i < m_bands[b].placed.size(); ++i) {
                const Placed& other = m_bands[b].placed[i];
                if (other.selected && other.id != id) drag.moving.push_back({other.id, int(b), int(i), other.rect, other.rect});
            }
    m_drag = std::move(drag);
    setSurfaceCursor(elementCursor(false, placed.multi, placed.active, m_drag->zone));
}

void TPapir::pressBand(int band, Qt::KeyboardModifiers modifiers, QPoint p)
{
    const BandLayout& b = m_bands[size_t(band)];
    const QPoint local = p - QPoint(0, b.top);
    const BandSpot spot = bandSpot(local, b.pixelHeight, b.columnPixels, b.tabsEnd);
    if (spot == BandSpot::Tabs) {
        const int detail = tabAt(local.x(), m_view.bands[size_t(band)].detailCount, b.tabsEnd);
        if (detail != b.currentDetail) {
            m_bands[size_t(band)].currentDetail = detail;
            update(bandRect(band));
        }
    } else if (spot == BandSpot::Split) {
        m_host.pressArrow();
        m_heightDrag = HeightDrag{band, m_bands[size_t(band)].height, p.y()};
    } else if (m_host.activeTool() != 0) {
        const Raster& raster = m_view.raster;
        int x = toModel(local.x(), m_view.zoom), y = toModel(local.y(), m_view.zoom);
        if (raster.snap && raster.x > 0) x = RoundToRaster(x, raster.x);
        if (raster.snap && raster.y > 0) y = RoundToRaster(y, raster.y);
        m_host.bandClicked(m_view.bands[size_t(band)].index, x, y);
    } else if (modifiers & (Qt::ShiftModifier | Qt::ControlModifier)) {
        m_rubber = RubberBand{band, local, local};
    } else {
        m_host.bandClicked(m_view.bands[size_t(band)].index, 0, 0);
    }
}

void TPapir::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    if (m_drag) return dragTo(p);
    if (m_heightDrag) return dragHeightTo(p);
    if (m_rubber) {
        update(rubberPixels());
        m_rubber->to = p - QPoint(0, m_bands[size_t(m_rubber->band)].top);
        update(rubberPixels());
        return;
    }
    hover(p);
}

void TPapir::dragTo(QPoint p)
{
    Moving& dragged = m_drag->moving.front();
    const int zone = m_drag->zone;
    const DragStart start{dragged.start, zone, m_view.paperWidth, m_bands[size_t(dragged.band)].height};
    const QRect now = dragStep(start, p - m_drag->press, m_view.zoom, m_view.raster);
    if (now == dragged.now) return m_host.showCoordinates(-1, -1);
    const QPoint delta = now.topLeft() - dragged.start.topLeft();
    std::vector<QRect> dirty;
    dirty.reserve(2 * m_drag->moving.size());
    for (Moving& m : m_drag->moving) {
        dirty.push_back(pixelRect(m.band, m.now));
        m.now = &m == &dragged ? now : followDrag(m.start, delta);
        m_overrides[m.id] = m.now;
        dirty.push_back(pixelRect(m.band, m.now));
    }
    repaintRects(dirty);
    if (zone <= 4 || zone == 6) m_host.showPosition(now.x(), now.y());
    if (zone >= 1) m_host.showSize(now.width(), now.height());
    m_host.showCoordinates(-1, -1);
}

void TPapir::dragHeightTo(QPoint p)
{
    const int height = bandHeightDrag(m_heightDrag->saved, p.y() - m_heightDrag->pressY, m_view.zoom, m_view.raster);
    BandLayout& b = m_bands[size_t(m_heightDrag->band)];
    if (height == b.height) return;
    const int from = b.top;
    m_dragHeight = height;
    stack();
    update(QRect(0, from, width(), this->height() - from));
}

void TPapir::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) return;
    if (m_drag) finishDrag();
    if (m_heightDrag) {
        const HeightDrag drag = *m_heightDrag;
        const int height = m_bands[size_t(drag.band)].height;
        m_heightDrag.reset();
        m_dragHeight.reset();
        if (height != drag.saved) m_host.bandHeightChanged(m_view.bands[size_t(drag.band)].index, height);
        if (drag.band >= int(m_bands.size())) return;
        // Back to the view's height unless the host has shown the new one.
        const int top = m_bands[size_t(drag.band)].top;
        m_bands[size_t(drag.band)].height = m_view.bands[size_t(drag.band)].height;
        stack();
        update(QRect(0, top, width(), this->height()));
    }
    if (m_rubber) finishRubber();
    hover(event->position().toPoint());
}

void TPapir::finishDrag()
{
    const ElementDrag drag = std::move(*m_drag);
    m_drag.reset();
    // Back to the view's geometry before the host takes the move, so a move it fails does
    // not stay shown.
    std::vector<QRect> dirty;
    for (const Moving& m : drag.moving) {
        m_overrides.erase(m.id);
        if (m.band < int(m_bands.size())) dirty.push_back(pixelRect(m.band, m.now));
    }
    repaintRects(dirty);
    const Moving& dragged = drag.moving.front();
    if (dragged.now != dragged.start) {
        std::vector<ElementMove> moves;
        for (const Moving& m : drag.moving) moves.push_back({m.id, m.now});
        m_host.elementsDragged(moves);
    }
}

void TPapir::finishRubber()
{
    const RubberBand rubber = *m_rubber;
    update(rubberPixels());
    m_rubber.reset();
    const QRect area = rubberRect(rubber.from, rubber.to, m_view.zoom);
    std::vector<std::pair<ElementId, bool>> toggles;
    for (const Placed& p : m_bands[size_t(rubber.band)].placed)
        if (overlaps(p.rect, area)) toggles.emplace_back(p.id, p.active || p.selected);
    for (const auto& [id, selected] : toggles) {
        if (selected)
            m_host.removeFromSelection(id);
        else
            m_host.addToSelection(id);
    }
}

void TPapir::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) return;
    const Hit hit = hitAt(event->position().toPoint());
    if (hit.band < 0) return;
    if (hit.z >= 0) return m_host.elementDoubleClicked(m_bands[size_t(hit.band)].placed[size_t(hit.z)].id);
    m_host.bandDoubleClicked(m_view.bands[size_t(hit.band)].index);
}

void TPapir::hover(QPoint p)
{
    const Hit hit = hitAt(p);
    if (hit.band < 0) return;
    const BandLayout& b = m_bands[size_t(hit.band)];
    if (hit.z >= 0) {
        const Placed& placed = b.placed[size_t(hit.z)];
        const QRect pixels = pixelRect(hit.band, placed.rect);
        const int zone = zoneAt(p - pixels.topLeft(), pixels.size(), placed.multi);
        setSurfaceCursor(elementCursor(m_host.activeTool() != 0, placed.multi, placed.active, zone));
        return m_host.showCoordinates(-1, -1);
    }
    const QPoint local = p - QPoint(0, b.top);
    const BandSpot spot = bandSpot(local, b.pixelHeight, b.columnPixels, b.tabsEnd);
    setSurfaceCursor(bandCursor(spot));
    if (spot == BandSpot::Area)
        m_host.showCoordinates(toModel(local.x(), m_view.zoom), toModel(local.y(), m_view.zoom));
    else if (spot != BandSpot::NoDrop)
        m_host.showCoordinates(-1, -1);
}

void TPapir::setSurfaceCursor(SurfaceCursor cursor)
{
    if (m_cursor == cursor) return;
    m_cursor = cursor;
    if (cursor == SurfaceCursor::Paper)
        setCursor(m_paperCursor);
    else
        setCursor(shapeOf(cursor));
}

// ---- painting ----

QRect TPapir::rubberPixels() const
{
    if (!m_rubber) return {};
    const QRect r = QRect(m_rubber->from, m_rubber->to).normalized();
    return r.translated(0, m_bands[size_t(m_rubber->band)].top).adjusted(-1, -1, 1, 1);
}

void TPapir::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRegion& region = event->region();
    const bool split = region.rectCount() <= 8;
    for (const QRect& clip : split ? region : QRegion(region.boundingRect())) {
        painter.setClipRect(clip);
        painter.fillRect(clip, palette().window());
        for (size_t b = 0; b < m_bands.size(); ++b) paintBand(painter, int(b), clip);
        if (m_rubber) {
            painter.setPen(QPen(Qt::black, 0, Qt::DotLine));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(QRect(m_rubber->from, m_rubber->to).normalized().translated(0, m_bands[size_t(m_rubber->band)].top));
        }
    }
}

void TPapir::paintBand(QPainter& painter, int band, const QRect& clip)
{
    const QRect area = bandRect(band);
    const QRect part = area & clip;
    if (part.isEmpty()) return;
    painter.save();
    painter.setClipRect(part);
    paintBandFace(painter, band, area);
    paintCaption(painter, band, area);
    paintElements(painter, band, part);
    painter.restore();
}

void TPapir::paintBandFace(QPainter& painter, int band, const QRect& area)
{
    const BandLayout& b = m_bands[size_t(band)];
    const SurfaceBand& source = m_view.bands[size_t(band)];
    const double z = m_view.zoom;
    painter.fillRect(area, Qt::white);
    if (!m_view.background.isNull()) {
        const QRect target(toPixels(source.backgroundOffset.x(), z), area.top() + toPixels(source.backgroundOffset.y(), z),
                           toPixels(m_view.background.width(), z), toPixels(m_view.background.height(), z));
        painter.drawImage(target, m_view.background);
    }
    const int stripTop = area.top() + b.pixelHeight - captionStrip;
    if (b.columnPixels > 0) {
        const int gap = toPixels(source.columnGap, z);
        painter.setBrushOrigin(area.topLeft());
        painter.fillRect(QRect(QPoint(b.columnPixels - gap, area.top()), QPoint(area.right(), stripTop - 1)), checker(Qt::white));
        painter.fillRect(QRect(QPoint(b.columnPixels, area.top()), QPoint(area.right() - 2, stripTop - 1)), checker(grey));
    }
    const Raster& raster = m_view.raster;
    if (!raster.show || raster.x <= 0 || raster.y <= 0) return;
    const double stepX = raster.x * z, stepY = raster.y * z;
    const int columns = int(std::trunc((b.columnPixels > 0 ? toModel(b.columnPixels, z) : m_view.paperWidth) / double(raster.x)));
    const int rows = int(std::trunc(b.height / double(raster.y)));
    const QRect clip = painter.clipBoundingRect().toAlignedRect();
    const int j0 = std::max(1, int(clip.left() / stepX)), j1 = std::min(columns, int(clip.right() / stepX) + 1);
    const int i0 = std::max(1, int((clip.top() - area.top()) / stepY)), i1 = std::min(rows, int((clip.bottom() - area.top()) / stepY) + 1);
    std::vector<QPoint> dots;
    for (int i = i0; i <= i1; ++i)
        for (int j = j0; j <= j1; ++j)
            dots.emplace_back(txt::roundHalfEven(j * stepX), area.top() + txt::roundHalfEven(i * stepY));
    painter.setPen(QPen(Qt::black, 0));
    painter.drawPoints(dots.data(), int(dots.size()));
}

void TPapir::paintCaption(QPainter& painter, int band, const QRect& area)
{
    const BandLayout& b = m_bands[size_t(band)];
    const SurfaceBand& source = m_view.bands[size_t(band)];
    const int top = area.top() + b.pixelHeight - captionStrip, bottom = area.top() + b.pixelHeight - 1;
    const int right = area.right();
    painter.fillRect(QRect(QPoint(0, top), QPoint(right, bottom)), lightGrey);
    const struct { int y; QColor color; } lines[] = {{top, Qt::black}, {top + 1, Qt::white}, {bottom - 1, grey}, {bottom, Qt::black}};
    for (const auto& line : lines) {
        painter.setPen(QPen(line.color, 0));
        painter.drawLine(0, line.y, right, line.y);
    }
    if (b.columnPixels > 0) {
        const int x = b.columnPixels;
        for (const auto& [dx, color] : {std::pair{-1, grey}, {0, QColor(Qt::black)}, {1, QColor(Qt::white)}}) {
            painter.setPen(QPen(color, 0));
            painter.drawLine(x + dx, top + 1, x + dx, bottom - 1);
        }
    }
    painter.setFont(font());
    const QFontMetrics metrics(font());
    const int baseline = top + (captionStrip + metrics.ascent() - metrics.descent()) / 2;
    if (source.detailCount <= 0) {
        painter.setPen(Qt::black);
        painter.drawText(5, baseline, source.caption);
        if (!source.label.isEmpty())
            painter.drawText(5 + metrics.horizontalAdvance(source.caption) + 10, baseline, source.label);
        return;
    }
    int x = 5;
    for (int d = 1; d <= source.detailCount; ++d) {
        const QString text = QStringLiteral("%1 %2").arg(source.caption).arg(d);
        const int w = metrics.horizontalAdvance(text);
        const bool current = d == b.currentDetail;
        if (current) {
            for (const auto& [dx, color] : {std::pair{-4, QColor(Qt::white)}, {-3, QColor(Qt::black)}}) {
                painter.setPen(QPen(color, 0));
                painter.drawLine(x + dx, bottom - 1, x + dx + 3, top + 2);
            }
            for (const auto& [dx, color] : {std::pair{w + 3, grey}, {w + 4, QColor(Qt::black)}}) {
                painter.setPen(QPen(color, 0));
                painter.drawLine(x + dx - 3, top + 2, x + dx, bottom - 1);
            }
        }
        painter.setPen(current ? QColor(Qt::black) : grey);
        painter.drawText(x, baseline, text);
        x += w + 10;
    }
    if (!source.label.isEmpty()) {
        painter.setPen(Qt::black);
        painter.drawText(x, baseline, source.label);
    }
}

void TPapir::paintElements(QPainter& painter, int band, const QRect& clip)
{
    const BandLayout& b = m_bands[size_t(band)];
    const double z = m_view.zoom;
    const QRect modelClip(toModel(clip.left(), z) - 2, toModel(clip.top() - b.top, z) - 2,
                          toModel(clip.width(), z) + 5, toModel(clip.height(), z) + 5);
    std::vector<int> order = b.grid.near(modelClip);
    if (m_drag) {
        for (const Moving& m : m_drag->moving)
            if (m.band == band) order.push_back(m.z);
        std::sort(order.begin(), order.end());
        order.erase(std::unique(order.begin(), order.end()), order.end());
    }
    for (const int position : order) {
        const QRect model = modelRect(band, position);
        const QRect pixels = pixelRect(band, model);
        if (!pixels.intersects(clip)) continue;
        const Placed& p = b.placed[size_t(position)];
        m_painter.draw(painter, p.id, *p.element, p.text, model.size(), pixels, z);
        drawMarks(painter, pixels, p.multi, p.active);
    }
}

} // namespace reports::designer
