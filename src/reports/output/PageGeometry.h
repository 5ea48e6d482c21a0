// Page measures from the shared page settings and the selected printer (VPrinter's queries).
#pragma once

#include <QRect>

namespace reports {

// Paper size for the current orientation (landscape swaps width and height).
int PaperWidth();
int PaperHeight();
// Paper less the margins; the rectangle starts at (left margin, top margin).
int PrintableWidth();
int PrintableHeight();
QRect PrintableRect();

// Printer queries; without a ready printer the fixed values: 100 pixels per inch, offsets 50
// and 72, the paper settings as the physical page.
int PixelsPerInchX();
int PixelsPerInchY();
double DeviceScaleX();
double DeviceScaleY();
int PrintingOffsetX();
int PrintingOffsetY();
int PhysicalPageWidth();
int PhysicalPageHeight();
// A coordinate from the paper edge moved to the printer's printable origin.
int PageToDeviceX(int x);
int PageToDeviceY(int y);

// Sets the ready printer's orientation (below 1 portrait).
void SetOrientation(int orientation);
// The margins are no smaller than the printer's unprintable border (true without a printer).
bool MarginsWithinPrintableArea(int orientation, int left, int top, int right, int bottom);
// Raises each margin to the printer's bound where it is smaller.
void AdjustMarginsToPrinter(int& left, int& top, int& right, int& bottom);

} // namespace reports
