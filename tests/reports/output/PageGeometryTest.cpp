// Page measures, printer selection and the margin check against the printer.
#include "reports/output/PageGeometry.h"

#include "reports/model/PageSettings.h"
#include "reports/output/Printer.h"
#include "reports/support/FakePrinter.h"

#include <gtest/gtest.h>

namespace {

using namespace reports;

class PageGeometryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        resetPageSettings();
        setPrinterSystem(&m_system);
    }
    void TearDown() override
    {
        setPrinterSystem(nullptr);
        resetPageSettings();
    }

    test::FakePrinterSystem m_system;
};

TEST_F(PageGeometryTest, LandscapeSwapsThePaper)
{
    pageSettings().Orientation = 1;
    EXPECT_EQ(PaperWidth(), 1169);
    EXPECT_EQ(PrintableWidth(), 1069);
    EXPECT_EQ(PrintableHeight(), 826 - 140);
    EXPECT_EQ(PrintableRect(), QRect(50, 70, 1069, 686));
}

TEST_F(PageGeometryTest, WithoutPrinterTheFixedValuesHold)
{
    SelectPrinter(-1);
    EXPECT_FALSE(PrinterReady());
    EXPECT_EQ(PixelsPerInchX(), 100);
    EXPECT_EQ(PrintingOffsetX(), 50);
    EXPECT_EQ(PrintingOffsetY(), 72);
    EXPECT_EQ(PhysicalPageHeight(), 1169);
    EXPECT_EQ(PageToDeviceX(100), 50);
    EXPECT_FLOAT_EQ(pageSettings().ScaleX, 1.0f);
    EXPECT_TRUE(MarginsWithinPrintableArea(0, 0, 0, 0, 0));
}

TEST_F(PageGeometryTest, SelectionTakesTheScaleOfThePrinter)
{
    m_system.add(QStringLiteral("A")).dpiX = 300;
    m_system.add(QStringLiteral("B")).dpiX = 600;
    m_system.printers[1]->dpiY = 1200;
    SelectPrinter(1);
    ASSERT_TRUE(PrinterReady());
    EXPECT_FLOAT_EQ(pageSettings().ScaleX, 6.0f);
    EXPECT_FLOAT_EQ(pageSettings().ScaleY, 12.0f);
    SelectPrinter(2);   // beyond the list: not ready, scale back to 1
    EXPECT_FALSE(PrinterReady());
    EXPECT_FLOAT_EQ(pageSettings().ScaleX, 1.0f);
    SelectPrinter(-1);
    ASSERT_TRUE(PrinterReady());
    EXPECT_EQ(selectedPrinter()->name(), QStringLiteral("A"));
}

TEST_F(PageGeometryTest, MarginsAreCheckedAndRaisedToThePrinter)
{
    test::FakePrinter& p = m_system.add(QStringLiteral("Laser"));
    p.dpiX = p.dpiY = 600;
    p.offset = QPoint(60, 90);
    p.physical = QSize(4960, 7016);
    p.page = QSize(4960 - 60 - 120, 7016 - 90 - 150);
    SelectPrinter(0);
    EXPECT_FALSE(MarginsWithinPrintableArea(0, 9, 15, 20, 25));
    EXPECT_TRUE(MarginsWithinPrintableArea(0, 10, 15, 20, 25));
    EXPECT_FALSE(MarginsWithinPrintableArea(0, 10, 15, 19, 25));
    int left = 9, top = 40, right = 0, bottom = 0;
    AdjustMarginsToPrinter(left, top, right, bottom);
    EXPECT_EQ(left, 10);
    EXPECT_EQ(top, 40);
    EXPECT_EQ(right, 20);
    EXPECT_EQ(bottom, 25);
    EXPECT_EQ(PageToDeviceX(50), 40);
}

TEST(PrinterModels, RawAndTextOnlyQueuesAreRecognised)
{
    EXPECT_TRUE(isTextOnlyModel(QStringLiteral("Local Raw Printer")));
    EXPECT_TRUE(isTextOnlyModel(QStringLiteral("Generic text-only printer")));
    EXPECT_FALSE(isTextOnlyModel(QStringLiteral("HP LaserJet 4 Plus Postscript")));
    EXPECT_TRUE(FillPrinterFonts().endsWith(QStringLiteral("Roman 17cpi")));
}

} // namespace
