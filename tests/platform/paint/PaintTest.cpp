// Colour, pen, brush and font mapping onto QPainter.
#include "platform/paint/Paint.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

TEST(Paint, ColorsKeepTheirBgrByteOrder)
{
    EXPECT_EQ(paint::toQColor(0x0000FF), QColor(255, 0, 0));
    EXPECT_EQ(paint::toQColor(0xFF0000), QColor(0, 0, 255));
    EXPECT_EQ(paint::toQColor(0x008080), QColor(128, 128, 0));
    for (const paint::ColorRef c : {0x000000u, 0x123456u, 0xC0C0C0u, 0xFFFFFFu})
        EXPECT_EQ(paint::fromQColor(paint::toQColor(c)), c);
}

TEST(Paint, PenStylesFollowTheClassLibraryOrdinals)
{
    const Qt::PenStyle expected[] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::DashDotLine,
                                     Qt::DashDotDotLine, Qt::NoPen, Qt::SolidLine};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(paint::makePen(0, 1, paint::penStyleFromOrdinal(i)).style(), expected[i]) << i;
    EXPECT_EQ(paint::penStyleFromOrdinal(7), paint::PenStyle::Solid);
    EXPECT_EQ(paint::penStyleFromOrdinal(-1), paint::PenStyle::Solid);
}

TEST(Paint, BrushStylesFollowTheClassLibraryOrdinals)
{
    const Qt::BrushStyle expected[] = {Qt::SolidPattern, Qt::NoBrush, Qt::HorPattern, Qt::VerPattern,
                                       Qt::FDiagPattern, Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(paint::makeBrush(0, paint::brushStyleFromOrdinal(i)).style(), expected[i]) << i;
    EXPECT_EQ(paint::brushStyleFromOrdinal(8), paint::BrushStyle::Solid);
}

// A forward-diagonal hatch of the class library runs down to the right: along "\" the pixels
// of one hatch line repeat, along "/" they do not.
TEST(Paint, ForwardDiagonalHatchRunsDownToTheRight)
{
    QImage image(32, 32, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        p.fillRect(image.rect(), paint::makeBrush(0, paint::BrushStyle::FDiagonal));
    }
    const bool first = qGray(image.pixel(8, 8)) < 128;
    for (int i = 1; i < 16; ++i) EXPECT_EQ(qGray(image.pixel(8 + i, 8 + i)) < 128, first) << i;
    bool anyOther = false;
    for (int i = 1; i < 8; ++i) anyOther |= (qGray(image.pixel(8 + i, 8)) < 128) != first;
    EXPECT_TRUE(anyOther);
}

TEST(Paint, FontsDropTheCentralEuropeanSuffixAndCarryStyleBits)
{
    EXPECT_EQ(paint::faceName(QStringLiteral("Arial CE")), QStringLiteral("Arial"));
    EXPECT_EQ(paint::faceName(QStringLiteral("Times New Roman CE ")), QStringLiteral("Times New Roman"));
    EXPECT_EQ(paint::faceName(QStringLiteral("CEntury")), QStringLiteral("CEntury"));
    paint::FontDescription courier{QStringLiteral("Courier New CE"), 12, paint::Bold | paint::Underline};
    const QFont font = paint::makeFont(courier, 600, 600);
    EXPECT_EQ(font.family(), QStringLiteral("Courier New"));
    EXPECT_TRUE(font.bold());
    EXPECT_FALSE(font.italic());
    EXPECT_TRUE(font.underline());
    EXPECT_DOUBLE_EQ(font.pointSizeF(), 12);
    // A 600 dpi device whose painter reads points at 96 dpi needs the size scaled up.
    EXPECT_DOUBLE_EQ(paint::makeFont(courier, 600, 96).pointSizeF(), 75);
}

// Templates name the fonts they were drawn with; where those are missing, faces of the same widths
// stand in, never the wider default sans face.
TEST(Paint, TemplateFontsResolveToFacesOfTheSameWidths)
{
    const std::pair<const char*, const char*> cases[] = {
        {"Arial CE", "Liberation Sans"},         {"Arial", "Liberation Sans"},
        {"Times New Roman CE", "Liberation Serif"}, {"Times New Roman", "Liberation Serif"},
        {"Courier New CE", "Liberation Mono"},   {"Courier New", "Liberation Mono"},
    };
    for (const auto& [stored, substitute] : cases)
        if (!QFontDatabase::hasFamily(QLatin1String(substitute)))
            GTEST_SKIP() << substitute << " is not installed (package fonts-liberation): font mapping not checked";
    for (const auto& [stored, substitute] : cases) {
        const QString face = paint::faceName(QLatin1String(stored));
        // A machine that has the original face keeps it.
        const QString expected = QFontDatabase::hasFamily(face) ? face : QLatin1String(substitute);
        const QFont font = paint::makeFont({QLatin1String(stored), 8, paint::Bold}, 600, 96);
        EXPECT_EQ(QFontInfo(font).family(), expected) << stored;
        EXPECT_TRUE(QFontInfo(font).bold()) << stored;
    }
    EXPECT_TRUE(paint::metricSubstitute(QStringLiteral("Tahoma")).isEmpty());
}

} // namespace
