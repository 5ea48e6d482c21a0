// The preview's page geometry at a zoom.
#include "reports/preview/PreviewGeometry.h"

#include "reports/model/PageSettings.h"
#include "reports/model/ReportTables.h"
#include "reports/output/PageGeometry.h"

#include <algorithm>
#include <cmath>

namespace reports {

SheetMeasures SheetMeasures::current()
{
    const PageSettings& page = pageSettings();
    return {PaperWidth(), PaperHeight(), page.LeftMargin, page.TopMargin, page.RightMargin, page.BottomMargin};
}

PreviewGeometry::PreviewGeometry(const SheetMeasures& sheet, float zoom) : m_zoom(zoom)
{
    const auto scaled = [zoom](int v) { return ScaleRound(float(v), zoom); };
    m_panel = QSize(scaled(sheet.width), scaled(sheet.height));
    const int printableWidth = sheet.width - sheet.left - sheet.right;
    const int printableHeight = sheet.height - sheet.top - sheet.bottom;
    const QPoint topLeft(scaled(sheet.left), scaled(sheet.top));
    const QPoint bottomRight(scaled(sheet.left + printableWidth), scaled(sheet.top + printableHeight));
    m_page = QRect(topLeft, QSize(bottomRight.x() - topLeft.x(), bottomRight.y() - topLeft.y()));
}

QPoint PreviewGeometry::panelOffset(QSize viewport) const
{
    return {m_panel.width() < viewport.width() ? (viewport.width() - m_panel.width()) / 2 : 0,
            m_panel.height() < viewport.height() ? (viewport.height() - m_panel.height()) / 2 : 0};
}

QPoint PreviewGeometry::maxScroll(QSize viewport) const
{
    return {std::max(m_panel.width() - viewport.width(), 0), std::max(m_panel.height() - viewport.height(), 0)};
}

QPoint PreviewGeometry::keepCentre(const PreviewGeometry& from, QSize viewport, QPoint scroll) const
{
    const QPoint oldOffset = from.panelOffset(viewport);
    const QPoint newOffset = panelOffset(viewport);
    const QPoint limit = maxScroll(viewport);
    const double ratio = double(m_zoom) / double(from.m_zoom);
    const auto axis = [ratio](int scrollAt, int half, int oldOff, int newOff, int max) {
        const double centre = (scrollAt + half - oldOff) * ratio;   // panel pixels at the new zoom
        return std::clamp(int(std::lround(centre - half + newOff)), 0, max);
    };
    return {axis(scroll.x(), viewport.width() / 2, oldOffset.x(), newOffset.x(), limit.x()),
            axis(scroll.y(), viewport.height() / 2, oldOffset.y(), newOffset.y(), limit.y())};
}

} // namespace reports
