// Font metrics at 96 dots per inch, in hundredths of an inch.
#include "reports/output/TextMeasurer.h"

#include "platform/paint/Paint.h"
#include "reports/output/Canvas.h"

#include <QFontMetricsF>
#include <QImage>

namespace reports {

namespace {

constexpr double dpi = 96;
constexpr double hundredthsPerPixel = 100 / dpi;

QString fontKey(const ReportFont& f)
{
    return f.Name + u'|' + QString::number(f.Size) + u'|' + QString::number(f.Style & FontStyleMask);
}

} // namespace

struct FontMetricsMeasurer::Metrics {
    explicit Metrics(const QFont& font, const QPaintDevice* device) : metrics(font, device) {}
    QFontMetricsF metrics;
    mutable QHash<char16_t, double> advances;
};

FontMetricsMeasurer::FontMetricsMeasurer() = default;
FontMetricsMeasurer::~FontMetricsMeasurer() = default;

const FontMetricsMeasurer::Metrics& FontMetricsMeasurer::metrics(const ReportFont& font) const
{
    if (m_last && font.Size == m_lastFont.Size && font.Style == m_lastFont.Style && font.Name == m_lastFont.Name)
        return *m_last;
    const QString key = fontKey(font);
    auto it = m_fonts.constFind(key);
    if (it != m_fonts.constEnd()) {
        m_lastFont = font;
        m_last = it->get();
        return *m_last;
    }
    // A 96-dpi image is the measuring device, whatever screen (or none) the program has.
    static QImage device = [] {
        QImage image(1, 1, QImage::Format_RGB32);
        image.setDotsPerMeterX(qRound(dpi / 0.0254));
        image.setDotsPerMeterY(qRound(dpi / 0.0254));
        return image;
    }();
    const QFont qfont = paint::makeFont(deviceFont(font), dpi, device.logicalDpiY());
    m_lastFont = font;
    m_last = m_fonts.insert(key, std::make_shared<Metrics>(qfont, &device))->get();
    return *m_last;
}

double FontMetricsMeasurer::advance(const ReportFont& font, QChar c) const
{
    const Metrics& m = metrics(font);
    auto it = m.advances.constFind(c.unicode());
    if (it != m.advances.constEnd()) return *it;
    const double w = m.metrics.horizontalAdvance(c) * hundredthsPerPixel;
    m.advances.insert(c.unicode(), w);
    return w;
}

double FontMetricsMeasurer::height(const ReportFont& font) const
{
    return metrics(font).metrics.height() * hundredthsPerPixel;
}

double FontMetricsMeasurer::descent(const ReportFont& font) const
{
    return metrics(font).metrics.descent() * hundredthsPerPixel;
}

} // namespace reports
