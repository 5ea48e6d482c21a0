// The preview's page images: a page's items drawn at the zoom, kept per page and zoom.
#pragma once

#include "reports/preview/PreviewGeometry.h"

#include <QImage>

#include <list>

namespace reports {

class TSestVystup;

// Draws pages with the output's own item drawing at the zoom and the screen's pixel ratio, so
// text stays sharp at any zoom, and keeps the last few images.
class PageImageCache
{
public:
    explicit PageImageCache(const TSestVystup& output, int capacity = 6);

    // The page on a white sheet of the geometry's panel size (times `pixelRatio`): the
    // background stretched over the whole sheet as printing puts it, the items clipped to
    // the printable area. A page outside the output gives a blank sheet.
    const QImage& image(int page, const PreviewGeometry& geometry, double pixelRatio, const QImage& background);
    // Pages changed (the page counts of a finished run): every image is drawn again.
    void clear() { m_entries.clear(); }
    // Images drawn so far.
    int drawn() const { return m_drawn; }
    // Draws the page afresh, without keeping it.
    QImage draw(int page, const PreviewGeometry& geometry, double pixelRatio, const QImage& background) const;

private:
    struct Entry {
        int page;
        float zoom;
        double pixelRatio;
        QImage image;
    };

    const TSestVystup& m_output;
    const int m_capacity;
    std::list<Entry> m_entries;   // most recently used first
    int m_drawn = 0;
};

} // namespace reports
