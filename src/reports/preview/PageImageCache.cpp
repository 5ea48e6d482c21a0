// The preview's page images.
#include "reports/preview/PageImageCache.h"

#include "reports/output/Canvas.h"
#include "reports/output/ReportOutput.h"

#include <QPainter>

#include <algorithm>

namespace reports {

PageImageCache::PageImageCache(const TSestVystup& output, int capacity)
    : m_output(output), m_capacity(std::max(capacity, 1))
{
}

const QImage& PageImageCache::image(int page, const PreviewGeometry& geometry, double pixelRatio, const QImage& background)
{
    const auto found = std::find_if(m_entries.begin(), m_entries.end(), [&](const Entry& e) {
        return e.page == page && e.zoom == geometry.zoom() && e.pixelRatio == pixelRatio;
    });
    if (found != m_entries.end()) {
        m_entries.splice(m_entries.begin(), m_entries, found);
        return m_entries.front().image;
    }
    m_entries.push_front({page, geometry.zoom(), pixelRatio, draw(page, geometry, pixelRatio, background)});
    ++m_drawn;
    if (int(m_entries.size()) > m_capacity) m_entries.pop_back();
    return m_entries.front().image;
}

QImage PageImageCache::draw(int page, const PreviewGeometry& geometry, double pixelRatio, const QImage& background) const
{
    const double ratio = std::max(pixelRatio, 1.0);
    const QSize panel = geometry.panelSize();
    QImage image(QSize(int(panel.width() * ratio + 0.5), int(panel.height() * ratio + 0.5)), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
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
    return image;
}

} // namespace reports
