// The list's report end to end: the computed sample list, "Sestava", paging in the preview and
// the list printed to "Soubor PDF…", on the test platform and on a real X display.
#include "app/support/DisplayRun.h"
#include "app/support/ModalScript.h"
#include "app/support/ListPageChecks.h"
#include "app/support/PdfText.h"
#include "app/support/SampleListFixture.h"
#include "app/windows/ListWindow.h"
#include "app/windows/RecognisedStandsList.h"
#include "platform/db/sql/Query.h"
#include "platform/files/Files.h"
#include "platform/ui/Services.h"
#include "reports/preview/FormSestP.h"
#include "reports/preview/PrintDialog.h"
#include "reports/preview/PreviewWindows.h"
#include "reports/preview/ReportComboBoxes.h"
#include "reports/preview/ReportPanels.h"
#include "reports/print/QtPrinter.h"
#include "support/CupsServer.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace {

using reports::TFormSestP;
using testapp::ModalScript;
using testapp::clickLater;
using testapp::pdfText;

class ListEndToEnd : public testapp::SampleListTest
{
protected:
    void SetUp() override
    {
        SampleListTest::SetUp();
        if (HasFatalFailure()) return;
        // The program's own file dialog, whatever desktop the display has.
        QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
        // The preview's slices of the run end by a clock that steps with each reading, so
        // they lay out as many records on any machine.
        m_windows->runClock = [this] { return m_now++; };
    }
    void TearDown() override
    {
        QApplication::setAttribute(Qt::AA_DontUseNativeDialogs, false);
        SampleListTest::TearDown();
    }

    // The first stand in print order as the list prints it: its first columns in a row.
    QRegularExpression firstStandRow() const
    {
        db::Query q;
        q.SetDatabaseName(m_dataDir);
        q.SQL().Add(QStringLiteral("Select * from TGENKL order by LHC_KOD, OKRES, LES_OBL, NAJEMCE, ODD, DIL, POR, PSK, ETAZ"));
        q.Open();
        QStringList cells;
        for (const char* name : {"ODD", "DIL", "POR", "PSK", "ETAZ"})
            cells << QRegularExpression::escape(q.FieldByName(QLatin1String(name)).AsString().trimmed());
        return QRegularExpression(QStringLiteral("(^|\\n)\\s*") + cells.join(QStringLiteral("\\s+")) + QStringLiteral("\\s"));
    }

    // What the user saw of one "Sestava": the preview, its pages turned with Page Down from the
    // focused page area, then "Tisk sestavy" to `printer` (a file name box for "Soubor PDF…").
    struct PreviewRun {
        int pages = 0;
        QStringList shownPages;
        QStringList printers;   // the print dialog's list
        bool maximised = false;
        bool editable = true;
        int printStatus = -1;
        QString waiting, stuckAt;
    };
    PreviewRun previewAndPrint(app::TFGKDB& window, const QString& printer, const QString& pdf)
    {
        PreviewRun run;
        TFormSestP* preview = nullptr;
        int drawn = 0;
        // The page shown has been painted: its image drawn since the last look.
        const auto painted = [&](int page) {
            const reports::PreviewSession& s = preview->session();
            if (s.navigation().current() != page || s.cache().drawn() <= drawn) return false;
            drawn = s.cache().drawn();
            run.shownPages << preview->PanelPrevCisloStrany->text();
            return true;
        };
        std::vector<std::pair<QString, ModalScript::Step>> steps = {
            {"preview with the finished run", [&](QWidget* w) {
                 preview = dynamic_cast<TFormSestP*>(w);
                 if (!preview || !preview->isVisible() || preview->session().isRunning() || !painted(0)) return false;
                 run.pages = preview->session().navigation().pageCount();
                 run.maximised = preview->isMaximized();
                 run.editable = preview->SBPrevEdit->isEnabled();
                 return true;
             }},
        };
        for (int page = 1; page < 3; ++page) {
            steps.push_back({QStringLiteral("page %1 turned").arg(page + 1), [&, page](QWidget*) {
                                 if (page >= run.pages) return true;
                                 // Typed with the page clicked, so the page area has the focus.
                                 QTest::mouseClick(preview->Preview, Qt::LeftButton);
                                 if (QApplication::focusWidget() != preview->Preview) return false;
                                 QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown);
                                 return true;
                             }});
            steps.push_back({QStringLiteral("page %1 painted").arg(page + 1),
                             [&, page](QWidget*) { return page >= run.pages || painted(page); }});
        }
        steps.push_back({"print", [&](QWidget*) {
                             if (!preview->SBPrevTisk->isEnabled()) return false;
                             clickLater(preview->SBPrevTisk);
                             return true;
                         }});
        steps.push_back({"print dialog", [&](QWidget* w) {
                             auto* dialog = dynamic_cast<reports::TSestPrintDlg*>(w);
                             if (!dialog) return false;
                             QComboBox* box = dialog->ComboBoxPrinter;
                             for (int i = 0; i < box->count(); ++i) run.printers << box->itemText(i);
                             // A queue by its name, "Soubor PDF…" by its entry.
                             const int queue = int(m_printers.printerNames().indexOf(printer));
                             if (queue >= 0) {
                                 dialog->ComboBoxPrinter->NastavTiskarnu(queue);
                             } else {
                                 const int index = int(run.printers.indexOf(printer));
                                 if (index < 0) return false;
                                 box->setCurrentIndex(index);
                             }
                             clickLater(dialog->BtnPrint);
                             return true;
                         }});
        if (!pdf.isEmpty()) {
            steps.push_back({"file name", [&](QWidget* w) {
                                 // The name typed into the file-name box once the dialog is up and
                                 // it has the focus (selectFile() leaves a focused box as it is).
                                 auto* dialog = qobject_cast<QFileDialog*>(w);
                                 auto* box = qobject_cast<QLineEdit*>(QApplication::focusWidget());
                                 if (!dialog || !dialog->isActiveWindow() || !box || !dialog->isAncestorOf(box)) return false;
                                 box->setText(pdf);
                                 QMetaObject::invokeMethod(dialog, &QDialog::accept, Qt::QueuedConnection);
                                 return true;
                             }});
        }
        steps.push_back({"printed", [&](QWidget* w) {
                             if (w != preview || preview->lastPrintStatus() < 0) return false;
                             run.printStatus = preview->lastPrintStatus();
                             clickLater(preview->SBPrevKonec);
                             return true;
                         }});
        ModalScript script(std::move(steps), 120000);
        QTest::mouseClick(window.BitBtn1(), Qt::LeftButton);
        run.waiting = script.waiting();
        run.stuckAt = script.stuckAt();
        return run;
    }

    // The list window over the computed list, active so that keys and clicks arrive as the
    // user's do.
    void showList(app::TFGKDB& window)
    {
        window.SetDataDir(m_dataDir);
        window.ShowList(false);
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    // The lessee typed into its field of the current row, the edit keeping the focus, and
    // "Uložit" of the navigator clicked.
    void correctLessee(app::TFGKDB& window, const QString& lessee)
    {
        auto* edit = window.findChild<QLineEdit*>(QStringLiteral("DBEdit_NAJEMCE"));
        ASSERT_NE(edit, nullptr);
        edit->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), edit);
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        // Key by key to the focused widget; a letter outside ASCII arrives as its text.
        for (const QChar c : lessee) {
            if (c.unicode() < 0x80)
                QTest::keyClick(QApplication::focusWidget(), char(c.unicode()));
            else
                QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
        QToolButton* store = nullptr;
        for (QToolButton* button : window.findChildren<QToolButton*>())
            if (button->text() == QStringLiteral("Uložit")) store = button;
        ASSERT_NE(store, nullptr);
        QTest::mouseClick(store, Qt::LeftButton);
    }

    // The list in print order: each record's words as its row prints them, and its lessee.
    QList<QStringList> recordsInPrintOrder(QStringList& lessees)
    {
        app::RecognisedStandsList list;
        list.SetDataDir(m_dataDir);
        list.openReportQuery();
        db::Query& q = list.Query1();
        lessees.clear();
        for (q.First(); !q.Eof(); q.Next())
            lessees << q.FieldByName(QStringLiteral("NAJEMCE")).AsString().trimmed();
        QList<QStringList> words = testapp::recordWords(q, app::RecognisedStandsList::gridColumns());
        q.Close();
        return words;
    }

    void correctPreviewAndPrint(const QString& queue, const QString& queueDir);

    // The text with every letter outside ASCII as "?".
    static QString asciiOnly(QString text)
    {
        for (QChar& c : text)
            if (c.unicode() > 0x7e) c = QLatin1Char('?');
        return text;
    }

    std::int64_t m_now = 0;
};

TEST_F(ListEndToEnd, PreviewsPagesAndPrintsTheListToAPdfFile)
{
    const QByteArray platform = qgetenv("GENKLAS_TEST_PLATFORM");
    if (!platform.isEmpty()) {
        ASSERT_EQ(QApplication::platformName().toUtf8(), platform);
    }
    const QString pdf = m_program.filePath(QStringLiteral("seznam.pdf"));
    app::TFGKDB window;
    window.SetDataDir(m_dataDir);
    window.ShowList(false);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    const PreviewRun run = previewAndPrint(window, QStringLiteral("Soubor PDF…"), pdf);
    ASSERT_TRUE(run.waiting.isEmpty()) << "waiting for: " << run.waiting.toStdString()
                                       << (m_recorder.messages.empty() ? "" : ", message: " + m_recorder.messages[0].text.toStdString());
    ASSERT_TRUE(run.stuckAt.isEmpty()) << "stuck at: " << run.stuckAt.toStdString();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(run.maximised);
    EXPECT_FALSE(run.editable);   // the list's preview opens no designer
    EXPECT_EQ(run.pages, 3);
    EXPECT_EQ(run.shownPages, (QStringList{"1", "2", "3"}));
    ASSERT_FALSE(run.printers.isEmpty());
    EXPECT_EQ(run.printers.back(), QStringLiteral("Soubor PDF…"));
    EXPECT_EQ(run.printStatus, 0);
    EXPECT_TRUE(m_recorder.messages.empty()) << m_recorder.messages[0].text.toStdString();
    EXPECT_FALSE(window.list().Query1().Active());

    const QString text = pdfText(pdf);
    EXPECT_TRUE(text.contains(QStringLiteral("Seznam uznaných porostů"))) << text.left(2000).toStdString();
    EXPECT_TRUE(text.contains(firstStandRow())) << firstStandRow().pattern().toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Celkem za")));
    EXPECT_EQ(text.count(QLatin1Char('\f')), run.pages);
    window.BitBtn2Click();
}

// An office's day with the list: a lessee typed into the first row and stored with "Uložit"
// while its edit has the focus, the preview paged with Page Down, and the list printed. With
// `queue` empty it goes to "Soubor PDF…", else to that raw queue of the test's scheduler
// (CUPS_SERVER of this process), whose output file lies in `queueDir`.
void ListEndToEnd::correctPreviewAndPrint(const QString& queue, const QString& queueDir)
{
    const QString lessee = QStringLiteral("Lesy Novák");
    app::TFGKDB window;
    showList(window);
    if (HasFatalFailure()) return;
    window.list().Query2().First();
    correctLessee(window, lessee);
    if (HasFatalFailure()) return;
    ASSERT_TRUE(m_recorder.messages.empty()) << m_recorder.messages[0].text.toStdString();

    const QString pdf = queue.isEmpty() ? m_program.filePath(QStringLiteral("opraveny.pdf")) : QString();
    const PreviewRun run = previewAndPrint(window, queue.isEmpty() ? QStringLiteral("Soubor PDF…") : queue, pdf);
    ASSERT_TRUE(run.waiting.isEmpty()) << "waiting for: " << run.waiting.toStdString() << " among "
                                       << run.printers.join(u',').toStdString();
    ASSERT_TRUE(run.stuckAt.isEmpty()) << "stuck at: " << run.stuckAt.toStdString();
    EXPECT_EQ(run.shownPages, (QStringList{"1", "2", "3"}));
    EXPECT_EQ(run.printStatus, 0);
    EXPECT_TRUE(m_recorder.messages.empty()) << m_recorder.messages[0].text.toStdString();
    window.BitBtn2Click();

    // The correction is stored, and its row is printed in a group of its own lessee.
    QStringList lessees;
    QList<QStringList> records = recordsInPrintOrder(lessees);
    ASSERT_EQ(lessees.count(lessee), 1) << "the typed lessee is not stored";
    QStringList lines;
    if (queue.isEmpty()) {
        lines = pdfText(pdf).split(QRegularExpression(QStringLiteral("[\\n\\f]")));
    } else {
        // A text printer's bytes: one line per printed row, a form feed after each page. Letters
        // outside ASCII depend on the printer's code page, so both sides compare them as "?".
        const QByteArray bytes = test::CupsServer::waitForOutput(queueDir + u'/' + queue + QStringLiteral(".out"), 1);
        ASSERT_FALSE(bytes.isEmpty()) << "nothing reached the queue";
        EXPECT_EQ(bytes.count('\f'), run.pages);
        lines = asciiOnly(QString::fromLatin1(bytes)).split(QRegularExpression(QStringLiteral("\\r?\\n|\\f")));
        for (QStringList& words : records)
            words = asciiOnly(words.join(u'\n')).split(u'\n');
    }
    const QStringList missing = testapp::recordsWithoutLine(records, lines);
    EXPECT_TRUE(missing.isEmpty()) << missing.join(u'\n').toStdString();
    const auto printed = [&](const QString& text) { return queue.isEmpty() ? text : asciiOnly(text); };
    const auto lineOf = [&](const QStringList& words, qsizetype from) {
        for (qsizetype i = from; i < lines.size(); ++i)
            if (testapp::wordsOf(lines[i]) == words) return i;
        return qsizetype(-1);
    };
    // The lessee's head, then the corrected row below it, and the rows of no lessee under theirs.
    const qsizetype head = lineOf(testapp::wordsOf(printed(QStringLiteral("Nájemce: ") + lessee)), 0);
    ASSERT_GE(head, 0) << "no head of the lessee's group";
    EXPECT_GE(lineOf(records[lessees.indexOf(lessee)], head), 0) << "the corrected row is not under its lessee";
    EXPECT_GE(lineOf(testapp::wordsOf(printed(QStringLiteral("bez nájemce"))), 0), 0);
}

TEST_F(ListEndToEnd, ACorrectionTypedAndStoredPrintsInItsLesseeGroupToAPdfFile)
{
    correctPreviewAndPrint(QString(), QString());
}

// The same on a text-only printer: a raw queue of a scheduler of the test's own. The test binary
// runs this test again as the scheduler's client, since libcups reads its server once.
TEST_F(ListEndToEnd, ACorrectionTypedAndStoredPrintsInItsLesseeGroupOnATextPrinter)
{
    const QString key = QStringLiteral("GENKLAS_TEST_CUPS_DIR");
    const QString queue = QStringLiteral("Jehlickova");
    if (qEnvironmentVariableIsSet("GENKLAS_TEST_CUPS_DIR")) {
        correctPreviewAndPrint(queue, qEnvironmentVariable("GENKLAS_TEST_CUPS_DIR"));
        return;
    }
    test::CupsServer cups;
    if (!cups.isRunning()) GTEST_SKIP() << "CUPS tests skipped: " << cups.whyNot().toStdString();
    ASSERT_TRUE(cups.addQueue(queue, QStringLiteral("Jehličková tiskárna"), QStringLiteral("Kancelář 2")))
        << cups.output().toStdString();
    QString output;
    EXPECT_TRUE(cups.runClient(QStringLiteral("ListEndToEnd.ACorrectionTypedAndStoredPrintsInItsLesseeGroupOnATextPrinter"),
                               key, output))
        << output.toStdString();
}

// The same run on the xcb platform of a virtual X server the test starts, so real windows,
// modal loops, fonts and the screen's resolution take part. The test binary runs it again in a
// child process, whose application is created on that display.
TEST(ListEndToEndOnDisplay, PreviewsPagesAndPrintsTheListToAPdfFile)
{
    testapp::expectPassesOnDisplay(QStringLiteral("ListEndToEnd.PreviewsPagesAndPrintsTheListToAPdfFile"));
}

} // namespace
