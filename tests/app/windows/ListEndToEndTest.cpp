// The list's report end to end: the computed sample list, "Sestava", paging in the preview and
// the list printed to "Soubor PDF…", on the test platform and on a real X display.
#include "app/support/DisplayRun.h"
#include "app/support/ModalScript.h"
#include "app/support/PdfText.h"
#include "app/support/SampleListFixture.h"
#include "app/windows/ListWindow.h"
#include "platform/db/sql/Query.h"
#include "platform/files/Files.h"
#include "platform/ui/Services.h"
#include "reports/preview/FormSestP.h"
#include "reports/preview/PrintDialog.h"
#include "reports/preview/PreviewWindows.h"
#include "reports/preview/ReportComboBoxes.h"
#include "reports/preview/ReportPanels.h"
#include "reports/print/QtPrinter.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

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

    TFormSestP* preview = nullptr;
    int pages = 0, drawn = 0;
    QStringList shownPages, pdfEntries;
    bool maximised = false;
    bool editable = true;
    // The page shown has been painted: its image drawn since the last look, at the panel's size.
    const auto painted = [&](int page) {
        const reports::PreviewSession& s = preview->session();
        if (s.navigation().current() != page || s.cache().drawn() <= drawn) return false;
        drawn = s.cache().drawn();
        shownPages << preview->PanelPrevCisloStrany->text();
        return true;
    };
    std::vector<std::pair<QString, ModalScript::Step>> steps = {
        {"preview with the finished run", [&](QWidget* w) {
             preview = dynamic_cast<TFormSestP*>(w);
             if (!preview || !preview->isVisible() || preview->session().isRunning() || !painted(0)) return false;
             pages = preview->session().navigation().pageCount();
             maximised = preview->isMaximized();
             editable = preview->SBPrevEdit->isEnabled();
             return true;
         }},
    };
    for (int page = 1; page < 3; ++page) {
        steps.push_back({QStringLiteral("page %1 turned").arg(page + 1), [&, page](QWidget*) {
                             if (page >= pages) return true;
                             // Typed with the page clicked, so the page area has the focus.
                             QTest::mouseClick(preview->Preview, Qt::LeftButton);
                             if (QApplication::focusWidget() != preview->Preview) return false;
                             QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown);
                             return true;
                         }});
        steps.push_back({QStringLiteral("page %1 painted").arg(page + 1),
                         [&, page](QWidget*) { return page >= pages || painted(page); }});
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
                         for (int i = 0; i < box->count(); ++i) pdfEntries << box->itemText(i);
                         box->setCurrentIndex(box->count() - 1);   // "Soubor PDF…" ends the list
                         clickLater(dialog->BtnPrint);
                         return true;
                     }});
    steps.push_back({"file name", [&](QWidget* w) {
                         // The name typed into the file-name box once the dialog is up and it
                         // has the focus. (selectFile() leaves a focused box as it is, so the
                         // name went in only when the poll came before the dialog's activation.)
                         auto* dialog = qobject_cast<QFileDialog*>(w);
                         auto* box = qobject_cast<QLineEdit*>(QApplication::focusWidget());
                         if (!dialog || !dialog->isActiveWindow() || !box || !dialog->isAncestorOf(box)) return false;
                         box->setText(pdf);
                         QMetaObject::invokeMethod(dialog, &QDialog::accept, Qt::QueuedConnection);
                         return true;
                     }});
    steps.push_back({"printed", [&](QWidget* w) {
                         if (w != preview || preview->lastPrintStatus() < 0) return false;
                         clickLater(preview->SBPrevKonec);
                         return true;
                     }});
    ModalScript script(std::move(steps), 120000);

    QTest::mouseClick(window.BitBtn1(), Qt::LeftButton);
    ASSERT_TRUE(script.finished()) << "waiting for: " << script.waiting().toStdString()
                                   << (m_recorder.messages.empty() ? "" : ", message: " + m_recorder.messages[0].text.toStdString());
    ASSERT_TRUE(script.stuckAt().isEmpty()) << "stuck at: " << script.stuckAt().toStdString();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(maximised);
    EXPECT_FALSE(editable);   // the list's preview opens no designer
    EXPECT_EQ(pages, 3);
    EXPECT_EQ(shownPages, (QStringList{"1", "2", "3"}));
    ASSERT_FALSE(pdfEntries.isEmpty());
    EXPECT_EQ(pdfEntries.back(), QStringLiteral("Soubor PDF…"));
    EXPECT_TRUE(m_recorder.messages.empty()) << m_recorder.messages[0].text.toStdString();
    EXPECT_FALSE(window.list().Query1().Active());

    const QString text = pdfText(pdf);
    EXPECT_TRUE(text.contains(QStringLiteral("Seznam uznaných porostů"))) << text.left(2000).toStdString();
    EXPECT_TRUE(text.contains(firstStandRow())) << firstStandRow().pattern().toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Celkem za")));
    EXPECT_EQ(text.count(QLatin1Char('\f')), pages);
    window.BitBtn2Click();
}

// The same run on the xcb platform of a virtual X server the test starts, so real windows,
// modal loops, fonts and the screen's resolution take part. The test binary runs it again in a
// child process, whose application is created on that display.
TEST(ListEndToEndOnDisplay, PreviewsPagesAndPrintsTheListToAPdfFile)
{
    testapp::expectPassesOnDisplay(QStringLiteral("ListEndToEnd.PreviewsPagesAndPrintsTheListToAPdfFile"));
}

} // namespace
