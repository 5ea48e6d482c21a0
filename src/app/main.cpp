// Entry point of the recognised-stands program.
#include "app/AppRegistration.h"
#include "app/sources/LesniCelek.h"
#include "app/sources/vex/DirectorySearch.h"
#include "app/windows/CalculationForm.h"
#include "app/windows/MainWindow.h"
#include "platform/files/Files.h"
#include "platform/ui/QtServices.h"
#include "platform/ui/Translations.h"
#include "reports/preview/PreviewWindows.h"
#include "reports/print/QtPrinter.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    ui::installQtTranslations(application);
    ui::QtServices services;
    ui::setServices(&services);
    RegisterAppUnits();
    reports::QtPrinterSystem printers;
    const auto reportWindows = reports::installReportWindows(printers);

    app::TFGenKl mainWindow(files::programDirectory());
    mainWindow.calculationForm()->calculation().LesniCelek()->setDirectoryChooser(vex::SelectFile);
    services.setDialogParent(&mainWindow);
    const bool chosen = mainWindow.FormShow();
    int rc = 0;
    if (chosen) {
        mainWindow.show();
        rc = application.exec();
    }
    ui::setServices(nullptr);
    return rc;
}
