// Tests of the CUPS printer system against a scheduler of its own: queues, text-only drivers,
// raw jobs, and graphic jobs from the preview on a queue that refuses them.
#include "reports/print/QtPrinter.h"
#include "reports/preview/FormSestP.h"
#include "reports/preview/PreviewFixture.h"
#include "reports/preview/PrintDialog.h"
#include "reports/preview/ReportComboBoxes.h"
#include "support/CupsServer.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

using reports::QtPrinterSystem;

const QString rawQueue = QStringLiteral("Jehlickova");
const QString laserQueue = QStringLiteral("Laser");
const QString officeQueue = QStringLiteral("Kancelar");
// Set in the environment of the test binary run again as a client of the test's scheduler.
constexpr char serverDirKey[] = "GENKLAS_TEST_CUPS_DIR";

// A PostScript printer's description, the least CUPS takes.
const char laserPpd[] = R"ppd(*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "LASER.PPD"
*Manufacturer: "Kancelar"
*Product: "(Laser)"
*ModelName: "Kancelar Laser"
*ShortNickName: "Kancelar Laser"
*NickName: "Kancelar Laser PostScript"
*PSVersion: "(3010.000) 0"
*LanguageLevel: "3"
*ColorDevice: False
*DefaultColorSpace: Gray
*FileSystem: False
*LandscapeOrientation: Plus90
*OpenUI *PageSize: PickOne
*DefaultPageSize: A4
*PageSize A4/A4: "<</PageSize[595 842]>>setpagedevice"
*CloseUI: *PageSize
*DefaultImageableArea: A4
*ImageableArea A4/A4: "18 36 577 806"
*DefaultPaperDimension: A4
*PaperDimension A4/A4: "595 842"
)ppd";

// The same printer taking the PDF of a graphic job as it is, so the job reaches the queue's
// file without the filters of a real driver.
QByteArray pdfPpd()
{
    return QByteArray(laserPpd) + "*cupsFilter: \"application/pdf 0 -\"\n";
}

// Writes the PPD of a test's queues beside a running scheduler; empty when done, else why the
// test skips.
QString writePpd(test::CupsServer& cups, const QString& ppdName, const QByteArray& ppdText)
{
    if (!cups.isRunning()) return cups.whyNot();
    QFile ppdFile(cups.directory() + u'/' + ppdName);
    if (!ppdFile.open(QIODevice::WriteOnly) || ppdFile.write(ppdText) <= 0) return QStringLiteral("cannot write the PPD");
    return {};
}

// Runs the test binary again as a client of the scheduler, with only `testName`, and expects
// that test to pass there.
void runAsClient(const test::CupsServer& cups, const QString& testName)
{
    QString output;
    EXPECT_TRUE(cups.runClient(testName, QString::fromLatin1(serverDirKey), output)) << output.toStdString();
}

// Every byte value, then a text printer's page with its controls.
QByteArray characterJob()
{
    QByteArray bytes;
    for (int i = 0; i < 256; ++i)
        bytes.append(char(i));
    bytes.append("\x1b@\x1bx0  Seznam uzna\xec" "n\xfd" "ch porost\xf9" "\r\n\x0c");
    return bytes;
}

// The checks of a client that saw the test's scheduler from its start.
void checkAsClient(const QString& serverDir)
{
    QtPrinterSystem printers;
    const QStringList names = printers.printerNames();
    const int raw = int(names.indexOf(rawQueue));
    const int laser = int(names.indexOf(laserQueue));
    ASSERT_GE(raw, 0) << names.join(u',').toStdString();
    ASSERT_GE(laser, 0) << names.join(u',').toStdString();

    // CUPS names a queue without driver "Local Raw Printer"; a PPD gives its nickname.
    EXPECT_EQ(printers.makeAndModel(raw), QStringLiteral("Local Raw Printer"));
    EXPECT_EQ(printers.location(raw), QStringLiteral("Kancelář 2"));
    EXPECT_EQ(printers.makeAndModel(laser), QStringLiteral("Kancelar Laser PostScript"));
    EXPECT_EQ(printers.location(laser), QStringLiteral("Sekretariát"));
    EXPECT_EQ(printers.defaultIndex(), laser);

    const std::unique_ptr<reports::Printer> text = printers.open(raw, QString());
    const std::unique_ptr<reports::Printer> graphic = printers.open(laser, QString());
    // A port names the queue that prints.
    const std::unique_ptr<reports::Printer> viaPort = printers.open(laser, rawQueue);
    ASSERT_TRUE(text && graphic && viaPort);
    EXPECT_TRUE(text->isTextOnly());
    EXPECT_FALSE(graphic->isTextOnly());
    EXPECT_TRUE(viaPort->isTextOnly());
    EXPECT_EQ(viaPort->name(), rawQueue);
    // The PPD's imageable area leaves 18 pt at the sides and 36 pt at top and bottom unprinted.
    const int x = graphic->pixelsPerInchX();
    const int y = graphic->pixelsPerInchY();
    EXPECT_EQ(graphic->printingOffset(), QPoint(18 * x / 72, 36 * y / 72));
    EXPECT_EQ(graphic->physicalPageSize() - graphic->pageSize(), QSize(36 * x / 72, 72 * y / 72));
    EXPECT_EQ(text->printingOffset(), QPoint(0, 0));

    const QByteArray bytes = characterJob();
    ASSERT_TRUE(text->sendRaw(QStringLiteral("Seznam uznaných porostů"), bytes));
    EXPECT_EQ(test::CupsServer::waitForOutput(serverDir + u'/' + rawQueue + QStringLiteral(".out"), bytes.size()), bytes);
    // The laser queue refuses jobs.
    EXPECT_FALSE(graphic->sendRaw(QStringLiteral("Zkouška"), bytes));
}

} // namespace

// libcups reads the server once per process, so the checks run in the test binary started again
// with the scheduler's environment.
TEST(QtPrinterSystemCups, ListsQueuesAndSendsRawJobsByteForByte)
{
    if (qEnvironmentVariableIsSet(serverDirKey)) {
        checkAsClient(qEnvironmentVariable(serverDirKey));
        return;
    }
    test::CupsServer cups;
    const QString why = writePpd(cups, QStringLiteral("laser.ppd"), laserPpd);
    if (!why.isEmpty()) GTEST_SKIP() << "CUPS tests skipped: " << why.toStdString();
    const QString ppd = cups.directory() + QStringLiteral("/laser.ppd");
    ASSERT_TRUE(cups.addQueue(rawQueue, QStringLiteral("Jehličková tiskárna"), QStringLiteral("Kancelář 2")))
        << cups.output().toStdString();
    ASSERT_TRUE(cups.addQueue(laserQueue, QStringLiteral("Laserová tiskárna"), QStringLiteral("Sekretariát"), ppd))
        << cups.output().toStdString();
    ASSERT_TRUE(cups.setDefault(laserQueue)) << cups.output().toStdString();
    ASSERT_TRUE(cups.reject(laserQueue)) << cups.output().toStdString();
    runAsClient(cups, QStringLiteral("QtPrinterSystemCups.ListsQueuesAndSendsRawJobsByteForByte"));
}

namespace {

// The preview over the queues of the scheduler the test binary was started against.
class CupsPreviewTest : public reports::test::PreviewFixture
{
protected:
    // "Tisk sestavy", then the dialog's printer set to `queue` and "Tisk".
    void printFromPreview(reports::TFormSestP& form, const QString& queue)
    {
        const int index = int(m_cups.printerNames().indexOf(queue));
        ASSERT_GE(index, 0) << queue.toStdString();
        reports::test::printThroughDialog(
            form, [index](reports::TSestPrintDlg& dialog) { dialog.ComboBoxPrinter->NastavTiskarnu(index); });
    }

    QtPrinterSystem m_cups;
};

} // namespace

// A graphic job on a queue that rejects jobs is reported as the raw path reports it and answers
// "not done"; a queue that takes jobs gets the pages.
TEST_F(CupsPreviewTest, GraphicJobTheQueueRefusesIsReported)
{
    if (qEnvironmentVariableIsSet(serverDirKey)) {
        const QString dir = qEnvironmentVariable(serverDirKey);
        reports::setPrinterSystem(&m_cups);
        m_report.rows.resize(26);
        m_report.RunReport();
        reports::TFormSestP form(m_report, nullptr);
        form.show();
        printFromPreview(form, laserQueue);
        EXPECT_EQ(form.lastPrintStatus(), 6);
        ASSERT_EQ(m_ui.messages.size(), 1u);
        EXPECT_EQ(m_ui.messages.front().text, QStringLiteral("Tiskárna \"Laser\" tiskovou úlohu nepřijala."));
        printFromPreview(form, officeQueue);
        EXPECT_EQ(form.lastPrintStatus(), 0);
        EXPECT_EQ(m_ui.messages.size(), 1u);
        EXPECT_TRUE(test::CupsServer::waitForOutput(dir + u'/' + officeQueue + QStringLiteral(".out"), 5).startsWith("%PDF-"));
        EXPECT_FALSE(QFile::exists(dir + u'/' + laserQueue + QStringLiteral(".out")));
        return;
    }
    test::CupsServer cups;
    const QString why = writePpd(cups, QStringLiteral("pdf.ppd"), pdfPpd());
    if (!why.isEmpty()) GTEST_SKIP() << "CUPS tests skipped: " << why.toStdString();
    const QString ppd = cups.directory() + QStringLiteral("/pdf.ppd");
    for (const QString& queue : {laserQueue, officeQueue})
        ASSERT_TRUE(cups.addQueue(queue, queue, QStringLiteral("Sekretariát"), ppd)) << cups.output().toStdString();
    ASSERT_TRUE(cups.reject(laserQueue)) << cups.output().toStdString();
    runAsClient(cups, QStringLiteral("CupsPreviewTest.GraphicJobTheQueueRefusesIsReported"));
}
