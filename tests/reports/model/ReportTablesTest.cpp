// Tests of the colour, charset and zoom tables, printer fonts, rounding and picture placement.
#include "reports/model/ReportTables.h"

#include <gtest/gtest.h>

#include <limits>

using namespace reports;

TEST(ReportTables, ColoursAndCharsetsFallBackOutsideTheirTables)
{
    EXPECT_EQ(ColorIndex(0x0000FF), 9);
    EXPECT_EQ(ColorIndex(0x123456), 0);
    EXPECT_EQ(ColorByIndex(12), 0xFF0000u);
    EXPECT_EQ(ColorByIndex(16), 0u);
    EXPECT_EQ(ColorByIndex(-1), 0u);
    EXPECT_EQ(CharsetIndex(238), 4);
    EXPECT_EQ(CharsetIndex(77), 7);
    EXPECT_EQ(CharsetByIndex(9), 1);
    EXPECT_EQ(CharsetByIndex(-3), 1);
    EXPECT_EQ(CharsetByIndex(5), 204);
}

TEST(ReportTables, ZoomStepIsTheNearestWithTiesGoingUp)
{
    EXPECT_EQ(ZoomStepForPercent(100), 6);
    EXPECT_EQ(ZoomStepForPercent(90), 5);
    EXPECT_EQ(ZoomStepForPercent(83), 5);
    EXPECT_EQ(ZoomStepForPercent(92), 6);
    EXPECT_EQ(ZoomStepForPercent(500), 10);
    EXPECT_EQ(ZoomStepForPercent(10), 0);
    EXPECT_EQ(ZoomStepForPercent(36), 1);   // midway between 32 and 40
    EXPECT_EQ(ZoomStepForPercent(-5), 0);
}

TEST(ReportTables, PrinterFontsHaveFixedGrids)
{
    EXPECT_EQ(PrinterFontSize(u"Roman 17cpi", 9), 8);
    EXPECT_EQ(PrinterFontSize(u"Roman 10cpi", 9), 11);
    EXPECT_EQ(PrinterFontSize(u"Roman 12cpi", 9), 10);
    EXPECT_EQ(PrinterFontSize(u"Arial", 9), 9);
    EXPECT_NEAR(PrinterFontCharWidth(u"Roman 12cpi", 0), 8.333f, 0.001f);
    EXPECT_NEAR(PrinterFontCharWidth(u"Roman xx", 0), 10.0f, 0.001f);
    EXPECT_NEAR(PrinterFontCharWidth(u"Roman 00", 0), 10.0f, 0.001f);
    EXPECT_EQ(PrinterFontCharWidth(u"Arial", 3.5f), 3.5f);
    EXPECT_NEAR(PrinterFontLineHeight(u"Roman 17cpi", 0), 16.6667f, 0.001f);

    ReportFont font;
    font.Name = QStringLiteral("Roman 17cpi");
    MapPrinterFont(font);
    EXPECT_EQ(font.Name, QStringLiteral("Courier New CE"));
    EXPECT_EQ(font.Size, 8);
    EXPECT_TRUE(font.FixedPitch);
}

TEST(ReportTables, RoundingHalvesToEvenAndSurvivesZero)
{
    EXPECT_EQ(RoundToRaster(37, 5.0), 35);
    EXPECT_EQ(RoundToRaster(38, 5.0), 40);
    EXPECT_EQ(RoundToRaster(38, 0.0), 38);
    EXPECT_EQ(DivRound(5, 2), 2);
    EXPECT_EQ(DivRound(7, 2), 4);
    EXPECT_EQ(DivRound(7, 0), 0);
    EXPECT_EQ(ScaleRound(2.5f, 1.0f), 2);
    EXPECT_EQ(ScaleRound(50, 0.83f), 41);   // 41.4999992, not the single-precision 41.5
    EXPECT_EQ(ScaleRound(std::numeric_limits<float>::infinity(), 1.0f), 0);
    EXPECT_EQ(ScaleRound(1e30f, 1e30f), 2147483647);   // finite in double
    EXPECT_EQ(ScaleRound(1e20f, 1.0f), 2147483647);
    EXPECT_EQ(CompareInt(1, 2), -1);
    EXPECT_EQ(CompareInt(2, 2), 0);
    EXPECT_EQ(CompareInt(3, 2), 1);
}

TEST(ReportTables, PicturePlacement)
{
    const PictureBox square{0, 0, 100, 100};
    // stretched keeping the aspect ratio: a wide picture shrinks in height from the top
    EXPECT_EQ(PictureRect(square, true, 1, 1, true, 0, 200, 100), (PictureBox{0, 0, 100, 50}));
    // a tall one shrinks in width, placed by alignment
    EXPECT_EQ(PictureRect(square, true, 1, 1, true, 2, 50, 100), (PictureBox{25, 0, 75, 100}));
    EXPECT_EQ(PictureRect(square, true, 1, 1, true, 1, 50, 100), (PictureBox{50, 0, 100, 100}));
    // stretched without aspect: the whole rectangle; a zero side too
    EXPECT_EQ(PictureRect(square, true, 1, 1, false, 0, 200, 100), square);
    EXPECT_EQ(PictureRect(square, true, 1, 1, true, 0, 0, 100), square);
    // unstretched at its size times the factors
    EXPECT_EQ(PictureRect(square, false, 2, 0.5f, false, 0, 30, 40), (PictureBox{0, 0, 60, 20}));
    EXPECT_EQ(PictureRect(square, false, 1, 1, false, 1, 30, 40), (PictureBox{70, 0, 100, 40}));
    EXPECT_EQ(PictureRect(square, false, 1, 1, false, 2, 30, 40), (PictureBox{35, 0, 65, 40}));
}
