// What text layout asks of fonts: character advances and line heights.
#pragma once

#include "reports/model/ReportFont.h"

#include <QChar>
#include <QHash>
#include <QString>

#include <memory>

namespace reports {

// Font metrics in hundredths of an inch. Layout never asks a device: the report runs measure
// once through the injected measurer, and every device replays the lines it gave.
class TextMeasurer
{
public:
    virtual ~TextMeasurer() = default;
    virtual double advance(const ReportFont& font, QChar c) const = 0;
    // Text height of the font (ascent + descent).
    virtual double height(const ReportFont& font) const = 0;
    virtual double descent(const ReportFont& font) const = 0;
};

// The real measurer: QFontMetricsF of the device font at 96 dots per inch, cached per font
// and character.
class FontMetricsMeasurer : public TextMeasurer
{
public:
    FontMetricsMeasurer();
    ~FontMetricsMeasurer() override;
    double advance(const ReportFont& font, QChar c) const override;
    double height(const ReportFont& font) const override;
    double descent(const ReportFont& font) const override;

private:
    struct Metrics;
    const Metrics& metrics(const ReportFont& font) const;

    // Caches, filled on first use of a font or character; the font asked last is kept at
    // hand, since layout asks for one font character after character.
    mutable QHash<QString, std::shared_ptr<Metrics>> m_fonts;
    mutable ReportFont m_lastFont;
    mutable const Metrics* m_last = nullptr;
};

} // namespace reports
