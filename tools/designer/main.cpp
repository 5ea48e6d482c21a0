// genklas_designer: the report designer on a template over a Paradox table, as a user meets it.
#include "platform/Exceptions.h"
#include "platform/db/DataSource.h"
#include "platform/db/Table.h"
#include "platform/files/Files.h"
#include "platform/ui/QtServices.h"
#include "platform/ui/Translations.h"
#include "reports/component/Sestava.h"
#include "reports/designer/InstallDesigner.h"
#include "reports/preview/PreviewWindows.h"
#include "reports/print/QtPrinter.h"

#include <QApplication>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    ui::installQtTranslations(application);
    const QStringList args = QApplication::arguments();
    if (args.size() != 3) {
        std::fputs("Použití: genklas_designer <předloha.pts> <tabulka.DB>\n", stderr);
        return 2;
    }
    ui::QtServices services;
    ui::setServices(&services);
    reports::QtPrinterSystem printers;
    const auto windows = reports::installReportWindows(printers);
    reports::designer::installDesigner(*windows);

    const QFileInfo table(args.at(2));
    const QFileInfo predloha(args.at(1));
    db::Table data;
    db::DataSource source;
    int rc = 1;
    try {
        data.SetDatabaseName(table.absolutePath());
        data.SetTableName(table.fileName());
        data.Open();
        source.SetDataSet(&data);
        reports::TSestava report;
        report.SetDataSource(&source);
        report.ReportDirIgnore = false;
        report.SetReportDir(predloha.absolutePath());
        report.SetReportName(predloha.fileName());
        rc = report.Edit() == 0 ? 0 : 1;
    } catch (const Exception& e) {
        services.messageBox(e.message(), QString(), ui::MsgType::Error, ui::Ok);
    }
    ui::setServices(nullptr);
    return rc;
}
