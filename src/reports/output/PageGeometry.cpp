// Page measures of the shared settings and the selected printer.
#include "reports/output/PageGeometry.h"

#include "reports/model/PageSettings.h"
#include "reports/output/Printer.h"

#include <algorithm>

namespace reports {

int PaperWidth()
{
    const PageSettings& p = pageSettings();
    return p.Orientation == 1 ? p.PaperFormatHeight : p.PaperFormatWidth;
}

int PaperHeight()
{
    const PageSettings& p = pageSettings();
    return p.Orientation == 1 ? p.PaperFormatWidth : p.PaperFormatHeight;
}

namespace {

// Page lengths beyond any paper (hostile templates) are held to this.
constexpr long long maxLength = 100000000;

int bounded(long long v)
{
    return int(std::clamp(v, -maxLength, maxLength));
}

} // namespace

int PrintableWidth()
{
    return bounded((long long)PaperWidth() - pageSettings().LeftMargin - pageSettings().RightMargin);
}

int PrintableHeight()
{
    return bounded((long long)PaperHeight() - pageSettings().TopMargin - pageSettings().BottomMargin);
}

QRect PrintableRect()
{
    return QRect(bounded(pageSettings().LeftMargin), bounded(pageSettings().TopMargin), PrintableWidth(), PrintableHeight());
}

int PixelsPerInchX()
{
    const Printer* p = selectedPrinter();
    return p && p->pixelsPerInchX() > 0 ? p->pixelsPerInchX() : 100;
}

int PixelsPerInchY()
{
    const Printer* p = selectedPrinter();
    return p && p->pixelsPerInchY() > 0 ? p->pixelsPerInchY() : 100;
}

double DeviceScaleX()
{
    return PixelsPerInchX() / 100.0;
}

double DeviceScaleY()
{
    return PixelsPerInchY() / 100.0;
}

int PrintingOffsetX()
{
    const Printer* p = selectedPrinter();
    return p ? p->printingOffset().x() : 50;
}

int PrintingOffsetY()
{
    const Printer* p = selectedPrinter();
    return p ? p->printingOffset().y() : 72;
}

int PhysicalPageWidth()
{
    const Printer* p = selectedPrinter();
    return p ? p->physicalPageSize().width() : PaperWidth();
}

int PhysicalPageHeight()
{
    const Printer* p = selectedPrinter();
    return p ? p->physicalPageSize().height() : PaperHeight();
}

int PageToDeviceX(int x)
{
    return x - PrintingOffsetX() * 100 / PixelsPerInchX();
}

int PageToDeviceY(int y)
{
    return y - PrintingOffsetY() * 100 / PixelsPerInchY();
}

void SetOrientation(int orientation)
{
    if (Printer* p = selectedPrinter()) p->setOrientation(orientation < 1 ? 0 : 1);
}

namespace {

struct MarginBounds {
    int left, top, right, bottom;
};

// The smallest margins the selected printer allows, in hundredths of an inch.
MarginBounds marginBounds(int orientation)
{
    SetOrientation(orientation);
    const Printer& p = *selectedPrinter();
    const int dx = PixelsPerInchX();
    const int dy = PixelsPerInchY();
    const QPoint offset = p.printingOffset();
    const QSize physical = p.physicalPageSize();
    const QSize page = p.pageSize();
    return {offset.x() * 100 / dx, offset.y() * 100 / dy,
            (physical.width() - page.width() - offset.x()) * 100 / dx,
            (physical.height() - page.height() - offset.y()) * 100 / dy};
}

} // namespace

bool MarginsWithinPrintableArea(int orientation, int left, int top, int right, int bottom)
{
    if (!PrinterReady()) return true;
    const MarginBounds b = marginBounds(orientation);
    return left >= b.left && top >= b.top && right >= b.right && bottom >= b.bottom;
}

void AdjustMarginsToPrinter(int& left, int& top, int& right, int& bottom)
{
    if (!PrinterReady()) return;
    const MarginBounds b = marginBounds(pageSettings().Orientation);
    left = std::max(left, b.left);
    top = std::max(top, b.top);
    right = std::max(right, b.right);
    bottom = std::max(bottom, b.bottom);
}

} // namespace reports
