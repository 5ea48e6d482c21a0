// A measurer and a canvas for layout tests: fixed-width fonts, drawing recorded as text.
#pragma once

#include "reports/output/Canvas.h"
#include "reports/output/TextMeasurer.h"

#include <QStringList>

namespace reports::test {

// Every character of a font is Size / 2 hundredths of an inch wide (bold a tenth wider),
// every line Size * 1.5 high with a descent of Size * 0.3.
class FixedMeasurer : public TextMeasurer
{
public:
    double advance(const ReportFont& font, QChar) const override
    {
        return font.Size * 0.5 * (font.isBold() ? 1.1 : 1.0);
    }
    double height(const ReportFont& font) const override { return font.Size * 1.5; }
    double descent(const ReportFont& font) const override { return font.Size * 0.3; }
};

// Records every call as one line of text, coordinates to two decimals.
class RecordingCanvas : public Canvas
{
public:
    QStringList calls;
    double sx = 1;
    double sy = 1;

    double scaleX() const override { return sx; }
    double scaleY() const override { return sy; }
    void drawText(QPointF at, QStringView text, const ReportFont& font) override
    {
        calls << QStringLiteral("text %1,%2 %3 %4%5").arg(at.x(), 0, 'f', 2).arg(at.y(), 0, 'f', 2)
                     .arg(text.toString(), font.Name).arg(font.isBold() ? QStringLiteral(" bold") : QString());
    }
    void drawLine(QPointF a, QPointF b, const PenSpec& pen) override
    {
        calls << QStringLiteral("line %1,%2-%3,%4 w%5 s%6").arg(a.x()).arg(a.y()).arg(b.x()).arg(b.y())
                     .arg(pen.width).arg(int(pen.style));
    }
    void drawShape(Shape shape, const QRectF& r, const PenSpec& pen, const BrushSpec& brush, double corner) override
    {
        calls << QStringLiteral("shape%1 %2,%3 %4x%5 w%6 s%7 b%8 c%9").arg(int(shape)).arg(r.x()).arg(r.y())
                     .arg(r.width()).arg(r.height()).arg(pen.width).arg(int(pen.style)).arg(int(brush.style)).arg(corner);
    }
    void drawImage(const QRectF& r, const QImage& image) override
    {
        calls << QStringLiteral("image %1,%2 %3x%4 of %5x%6").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height())
                     .arg(image.width()).arg(image.height());
    }

    // The characters drawn, in drawing order.
    QString drawnText() const
    {
        QString out;
        for (const QString& c : calls)
            if (c.startsWith(QLatin1String("text "))) out += c.section(u' ', 2, 2);
        return out;
    }
};

} // namespace reports::test
