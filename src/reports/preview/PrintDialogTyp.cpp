// The print dialog's input and output and the placement of its groups.
#include "reports/preview/PrintDialogTyp.h"

#include "reports/model/ReportTexts.h"

namespace reports {

TPrintDialogTyp::TPrintDialogTyp() : Titulek(reportText(65027))
{
}

int PrintDialogAnswer(int modalResult)
{
    switch (modalResult) {
    case 1: return TPrintDialogTyp::Preview;
    case 6: return TPrintDialogTyp::Edit;
    case 8: return TPrintDialogTyp::Print;
    default: return TPrintDialogTyp::Cancelled;
    }
}

PrintDialogLayout LayOutPrintDialog(const TPrintDialogTyp& dialog, const PrintDialogGroupHeights& heights)
{
    PrintDialogLayout layout;
    int y = 0;
    const auto stack = [&y](int& top, bool visible, int height) {
        top = y;
        if (visible) y += height;
    };
    stack(layout.printerTop, dialog.PrinterGroupVisible, heights.printer);
    stack(layout.pagesTop, dialog.PagesGroupVisible, heights.pages);
    stack(layout.templateTop, dialog.TemplateGroupVisible, heights.templates);
    y += 6;
    layout.buttonsTop = y;
    layout.backgroundTop = y + 4;
    layout.clientHeight = y + 27;
    return layout;
}

} // namespace reports
