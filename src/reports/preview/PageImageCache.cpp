// The preview's page images.
#include "reports/preview/PageImageCache.h"

#include "reports/output/Canvas.h"
#include "reports/output/ReportOutput.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace reports {

namespace {

// How far the drawn part reaches beyond the view, as a factor of the view's size, so that
// scrolling a little needs no new image.
constexpr double aroundView = 2.0;

double pixelsOf(QSize size, double ratio)
{
    return double(size.width()) * size.height() * ratio * ratio;
}

// `inner` grown about its centre to `factor` times its size, within `outer`.
QRect grown(const QRect& inner, double factor, const QRect& outer)
{
    const int dx = int(inner.width() * (factor - 1) / 2);
    const int dy = int(inner.height() * (factor - 1) / 2);
    return inner.adjusted(-dx, -dy, dx, dy).intersected(outer);
}

} // namespace

PageImageCache::PageImageCache(const TSestVystup& output, int capacity)
    : m_output(output), m_capacity(std::max(capacity, 1))
{
}

PageImageCache::Part PageImageCache::partToDraw(const PreviewGeometry& geometry, double pixelRatio, const QRect& visible)
{
    const QRect panel(QPoint(0, 0), geometry.panelSize());
    const double ratio = std::max(pixelRatio, 1.0);
    if (pixelsOf(panel.size(), ratio) <= double(maxImagePixels)) return {panel, ratio};
    // Too large to draw whole: the part in view and some room around it. Without a view, the
    // panel's corner as large as an image may be.
    QRect view = visible.intersected(panel);
    if (view.isEmpty()) {
        const int side = int(std::sqrt(double(maxImagePixels)) / ratio);
        view = QRect(0, 0, side, side).intersected(panel);
    }
    const double room = std::sqrt(double(maxImagePixels) / pixelsOf(view.size(), ratio));
    if (room >= 1) return {grown(view, std::min(room, aroundView), panel), ratio};
    // A view larger than an image may be: drawn at a lower resolution.
    return {view, ratio * room};
}

const QImage& PageImageCache::image(int page, const PreviewGeometry& geometry, double pixelRatio, const QImage& background,
                                    const QRect& visible)
{
    // An image serves while it holds the view (without a view: the panel's corner).
    const QRect view = visible.intersected(QRect(QPoint(0, 0), geometry.panelSize()));
    const QRect needed = view.isEmpty() ? QRect(0, 0, 1, 1) : view;
    const auto found = std::find_if(m_entries.begin(), m_entries.end(), [&](const Entry& e) {
        return e.page == page && e.zoom == geometry.zoom() && e.pixelRatio == pixelRatio && e.part.contains(needed);
    });
    if (found != m_entries.end()) {
        m_entries.splice(m_entries.begin(), m_entries, found);
        return m_entries.front().image;
    }
    const Part part = partToDraw(geometry, pixelRatio, visible);
    m_entries.push_front({page, geometry.zoom(), pixelRatio, part.area, drawPart(page, geometry, part, background)});
    ++m_drawn;
    trim();
    return m_entries.front().image;
}

void PageImageCache::trim()
{
    qint64 bytes = byteCount();
    while (m_entries.size() > 1
           && (int(m_entries.size()) > m_capacity || bytes > maxCachePixels * qint64(sizeof(QRgb)))) {
        bytes -= m_entries.back().image.sizeInBytes();
        m_entries.pop_back();
    }
}

qint64 PageImageCache::byteCount() const
{
    qint64 bytes = 0;
    for (const Entry& e : m_entries) bytes += e.image.sizeInBytes();
    return bytes;
}

QImage PageImageCache::draw(int page, const PreviewGeometry& geometry, double pixelRatio, const QImage& background) const
{
    return drawPart(page, geometry, partToDraw(geometry, pixelRatio, QRect()), background);
}

QImage PageImageCache::drawPart(int page, const PreviewGeometry& geometry, const Part& part, const QImage& background) const
{
    const double ratio = part.ratio;
    const QSize panel = geometry.panelSize();
    QImage image(QSize(int(part.area.width() * ratio + 0.5), int(part.area.height() * ratio + 0.5)), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    // The part's corner at the image's corner; everything else is drawn in panel pixels.
    painter.translate(-part.area.left() * ratio, -part.area.top() * ratio);
    const QRect area = geometry.pageRect();
    const double scale = double(geometry.zoom()) * ratio;
    PainterCanvas canvas(painter, QPointF(area.left() * ratio, area.top() * ratio), scale, scale);
    if (!background.isNull()) {
        // Over the whole sheet, from the paper's corner, as a printed page has it.
        const double left = area.left() / double(geometry.zoom());
        const double top = area.top() / double(geometry.zoom());
        canvas.drawImage(QRectF(-left, -top, panel.width() / double(geometry.zoom()), panel.height() / double(geometry.zoom())),
                         background);
    }
    painter.setClipRect(QRectF(area.left() * ratio, area.top() * ratio, area.width() * ratio, area.height() * ratio));
    m_output.DrawItems(page, canvas);
    painter.end();
    image.setDevicePixelRatio(ratio);
    image.setOffset(part.area.topLeft());
    return image;
}

} // namespace reports
