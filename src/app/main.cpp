// Entry point of the recognised-stands program.
#include "app/AppRegistration.h"
#include "app/sources/LesniCelek.h"
#include "app/windows/CalculationForm.h"
#include "app/windows/MainWindow.h"
#include "platform/files/Files.h"
#include "platform/ui/QtServices.h"

#include <QApplication>
#include <QFileDialog>

namespace {

// Until the sibling program's search dialog is part of the program: a plain directory dialog
// from the file-system root; cancelling answers "NicSeNavybralo".
QString chooseDirectory(const QString& start, const QString& caption, const QString&, bool)
{
    const QString resolved = files::resolvePath(start);
    const QString dir = QFileDialog::getExistingDirectory(
        nullptr, caption, files::directoryExists(resolved) ? resolved : QStringLiteral("/"));
    return dir.isEmpty() ? QStringLiteral("NicSeNavybralo") : dir;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    ui::QtServices services;
    ui::setServices(&services);
    RegisterAppUnits();

    app::TFGenKl mainWindow(files::programDirectory());
    mainWindow.calculationForm()->calculation().LesniCelek()->setDirectoryChooser(chooseDirectory);
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
