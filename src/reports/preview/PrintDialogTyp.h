// The print dialog's input and output (TPrintDialogTyp) and the placement of its groups.
#pragma once

#include <QString>

class QWidget;

namespace reports {

// What the print dialog starts from and what it gives back. The caller fills it, runs
// Execute() and reads it back after a non-zero answer; a cancelled dialog changes nothing.
class TPrintDialogTyp
{
public:
    enum Result { Cancelled = 0, Preview = 1, Print = 2, Edit = 3 };

    QString Titulek;               // caption; "Nastavení tisku" by default
    QString ReportDir;             // template chooser
    bool ReportDirIgnore = true;
    QString ReportMask;
    QString NazevPredlohy;         // the chosen template's file name
    int PrinterIndex = -1;         // queue of the printer system; -1 its default
    bool PdfFile = false;          // the entry "Soubor PDF…" instead of a queue
    int FromPage = 1;
    int ToPage = 9999;
    int Copies = 1;

    bool PropertiesEnabled = true;
    bool EditEnabled = true;
    bool PreviewEnabled = true;
    bool PrintEnabled = true;
    bool PrinterGroupVisible = true;
    bool PagesGroupVisible = true;
    bool TemplateGroupVisible = true;

    bool CurrentPageVisible = false;
    bool OneRecordVisible = false;
    bool ToFileVisible = false;
    bool SetDefaultVisible = false;
    bool BackgroundVisible = false;

    bool ToFile = false;
    bool CurrentPage = false;
    bool OneRecord = false;
    bool SetDefault = false;
    bool PrintBackground = false;

    TPrintDialogTyp();
    // Shows the dialog modally (TSestPrintDlg): 0 cancelled, 1 preview, 2 print, 3 edit.
    int Execute(QWidget* parent = nullptr);
};

// The dialog's modal result as Execute answers it: 1 preview, 6 edit, 8 print, else cancel.
int PrintDialogAnswer(int modalResult);

// Where the groups and buttons of the dialog go: the visible groups stacked from the top,
// the buttons 6 pixels below them, the background box 4 lower, the client 27 below the buttons.
struct PrintDialogLayout {
    int printerTop = 0;
    int pagesTop = 0;
    int templateTop = 0;
    int buttonsTop = 0;
    int backgroundTop = 0;
    int clientHeight = 0;
};
struct PrintDialogGroupHeights {
    int printer = 97;
    int pages = 81;
    int templates = 56;
};
PrintDialogLayout LayOutPrintDialog(const TPrintDialogTyp& dialog, const PrintDialogGroupHeights& heights = {});

} // namespace reports
