// The preview's page images: a page's items drawn at the zoom, kept per page and zoom.
#pragma once

#include "reports/preview/PreviewGeometry.h"

#include <QImage>

#include <list>

namespace reports {

class TSestVystup;

// Draws pages with the output's own item drawing at the zoom and the screen's pixel ratio, so
// text stays sharp at any zoom, and keeps the last few images. Images and the cache are
// bounded by pixels: a panel too large for one image (a huge paper, a high zoom) is drawn in
// the part around the view only.
class PageImageCache
{
public:
    // Largest image drawn (64 MiB of 32-bit pixels) and largest total kept.
    static constexpr qint64 maxImagePixels = 4096LL * 4096;
    static constexpr qint64 maxCachePixels = 3 * maxImagePixels;

    explicit PageImageCache(const TSestVystup& output, int capacity = 6);

    // The page on a white sheet of the geometry's panel size (times `pixelRatio`): the
    // background stretched over the whole sheet as printing puts it, the items clipped to
    // the printable area. A page outside the output gives a blank sheet. When the whole
    // panel exceeds maxImagePixels, the image holds the part of the panel around `visible`
    // (panel pixels; the panel's corner when empty); its offset() is where that part lies
    // on the panel and it is drawn at a lower pixel ratio only when even the view exceeds
    // the bound.
    const QImage& image(int page, const PreviewGeometry& geometry, double pixelRatio, const QImage& background,
                        const QRect& visible = {});
    // Pages changed (the page counts of a finished run): every image is drawn again.
    void clear() { m_entries.clear(); }
    // Images drawn so far.
    int drawn() const { return m_drawn; }
    // Bytes of the images kept.
    qint64 byteCount() const;
    // Draws the page afresh as image() draws it without a view, without keeping it.
    QImage draw(int page, const PreviewGeometry& geometry, double pixelRatio, const QImage& background) const;

private:
    // The panel part an image shows (panel pixels) and the pixel ratio it is drawn at.
    struct Part {
        QRect area;
        double ratio;
    };
    struct Entry {
        int page;
        float zoom;
        double pixelRatio;   // as asked
        QRect part;
        QImage image;
    };

    static Part partToDraw(const PreviewGeometry& geometry, double pixelRatio, const QRect& visible);
    QImage drawPart(int page, const PreviewGeometry& geometry, const Part& part, const QImage& background) const;
    // Drops the least recently used images beyond the count or the pixel bound.
    void trim();

    const TSestVystup& m_output;
    const int m_capacity;
    std::list<Entry> m_entries;   // most recently used first
    int m_drawn = 0;
};

} // namespace reports
