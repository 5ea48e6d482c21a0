// The print dialog: its layout, its answers and what it gives back, the printer labels and
// the proposed printer.
#include "reports/preview/PrintDialog.h"

#include "reports/preview/ReportComboBoxes.h"
#include "reports/support/FakePrinter.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using namespace reports;

TEST(PrintDialogLayout, StacksTheVisibleGroupsAboveTheButtons)
{
    TPrintDialogTyp dialog;
    PrintDialogLayout all = LayOutPrintDialog(dialog);
    EXPECT_EQ(all.clientHeight, 267);
    EXPECT_EQ(all.templateTop, 97 + 81);

    dialog.PrinterGroupVisible = dialog.PagesGroupVisible = dialog.TemplateGroupVisible = false;
    const PrintDialogLayout none = LayOutPrintDialog(dialog);
    EXPECT_EQ(none.buttonsTop, 6);
    EXPECT_EQ(none.backgroundTop, 10);
    EXPECT_EQ(none.clientHeight, 33);

    dialog.PagesGroupVisible = true;
    const PrintDialogLayout pages = LayOutPrintDialog(dialog);
    EXPECT_EQ(pages.pagesTop, 0);
    EXPECT_EQ(pages.templateTop, 81);
    EXPECT_EQ(pages.buttonsTop, 87);
}

TEST(PrintDialogLayout, ModalResultsBecomeAnswers)
{
    EXPECT_EQ(PrintDialogAnswer(1), TPrintDialogTyp::Preview);
    EXPECT_EQ(PrintDialogAnswer(6), TPrintDialogTyp::Edit);
    EXPECT_EQ(PrintDialogAnswer(8), TPrintDialogTyp::Print);
    EXPECT_EQ(PrintDialogAnswer(2), TPrintDialogTyp::Cancelled);
    EXPECT_EQ(PrintDialogAnswer(0), TPrintDialogTyp::Cancelled);
}

class PrintDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        test::FakePrinter& laser = m_system.add(QStringLiteral("laser"));
        laser.makeAndModel = QStringLiteral("HP LaserJet 4250 Postscript");
        laser.location = QStringLiteral("Kancelář 2");
        m_system.add(QStringLiteral("jehlicka")).makeAndModel = QStringLiteral("Local Raw Printer");
        m_system.defaultPrinter = 1;
        setPrinterSystem(&m_system);
    }
    void TearDown() override
    {
        setPrinterSystem(nullptr);
        setQueuePropertiesEditor(nullptr);
    }

    // Runs Execute and lets `act` work on the shown dialog.
    int execute(TPrintDialogTyp& settings, std::function<void(TSestPrintDlg&)> act)
    {
        QTimer::singleShot(0, [act] {
            auto* dialog = dynamic_cast<TSestPrintDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            act(*dialog);
        });
        return settings.Execute();
    }

    test::FakePrinterSystem m_system;
};

TEST_F(PrintDialogTest, PrintGivesTheChoicesBackAndCancelKeepsThem)
{
    TPrintDialogTyp settings;
    settings.CurrentPageVisible = true;
    settings.FromPage = 2;
    settings.ToPage = 7;
    settings.Copies = 3;
    int answer = execute(settings, [](TSestPrintDlg& d) {
        EXPECT_EQ(d.windowTitle(), "Nastavení tisku");
        EXPECT_EQ(d.SpinEditOd->value(), 2);
        EXPECT_FALSE(d.CheckBoxToFile->isVisibleTo(&d));
        d.SpinEditDo->setValue(4);
        d.ComboBoxPrinter->NastavTiskarnu(0);
        d.BtnPrint->click();
    });
    EXPECT_EQ(answer, TPrintDialogTyp::Print);
    EXPECT_EQ(settings.PrinterIndex, 0);
    EXPECT_FALSE(settings.PdfFile);
    EXPECT_EQ(settings.ToPage, 4);
    EXPECT_EQ(settings.Copies, 3);

    answer = execute(settings, [](TSestPrintDlg& d) {
        d.SpinEditKopie->setValue(9);
        d.CheckBoxActualPage->setChecked(true);
        d.BtnCancel->click();
    });
    EXPECT_EQ(answer, TPrintDialogTyp::Cancelled);
    EXPECT_EQ(settings.Copies, 3);
    EXPECT_FALSE(settings.CurrentPage);

    EXPECT_EQ(execute(settings, [](TSestPrintDlg& d) { d.BtnPreview->click(); }), TPrintDialogTyp::Preview);
    EXPECT_EQ(execute(settings, [](TSestPrintDlg& d) { d.BtnEdit->click(); }), TPrintDialogTyp::Edit);
}

TEST_F(PrintDialogTest, CurrentPageBoxDisablesTheRange)
{
    TPrintDialogTyp settings;
    settings.CurrentPageVisible = true;
    TSestPrintDlg dialog(settings, &m_system);
    dialog.CheckBoxActualPage->setChecked(true);
    EXPECT_FALSE(dialog.SpinEditOd->isEnabled());
    EXPECT_FALSE(dialog.SpinEditDo->isEnabled());
    dialog.CheckBoxActualPage->setChecked(false);
    EXPECT_TRUE(dialog.SpinEditOd->isEnabled() && dialog.SpinEditDo->isEnabled());
}

TEST_F(PrintDialogTest, LabelsShowMakeModelAndLocation)
{
    TPrintDialogTyp settings;
    settings.PrinterIndex = 0;
    TSestPrintDlg dialog(settings, &m_system);
    EXPECT_EQ(dialog.LabelDevice->text(), "HP LaserJet 4250 Postscript");
    EXPECT_EQ(dialog.LabelPort->text(), "Kancelář 2");
    dialog.ComboBoxPrinter->NastavPdf();
    EXPECT_EQ(dialog.LabelDevice->text(), "");
    EXPECT_FALSE(dialog.BtnProperty->isEnabled());
}

TEST_F(PrintDialogTest, ProposesTheDefaultElseTheFirstQueueElseThePdfFile)
{
    TPrintDialogTyp settings;   // PrinterIndex -1: the default
    EXPECT_EQ(TSestPrintDlg(settings, &m_system).ComboBoxPrinter->IndexTiskarny(), 1);
    m_system.defaultPrinter = -1;
    EXPECT_EQ(TSestPrintDlg(settings, &m_system).ComboBoxPrinter->IndexTiskarny(), 0);
    test::FakePrinterSystem none;
    TSestPrintDlg empty(settings, &none);
    EXPECT_TRUE(empty.ComboBoxPrinter->isPdfSelected());
    EXPECT_EQ(empty.ComboBoxPrinter->currentText(), QString::fromUtf8("Soubor PDF…"));
}

TEST_F(PrintDialogTest, PropertiesRunOnTheSelectedQueue)
{
    std::vector<int> edited;
    setQueuePropertiesEditor([&edited](int index, QWidget*) { edited.push_back(index); });
    TPrintDialogTyp settings;
    settings.PrinterIndex = 0;
    TSestPrintDlg dialog(settings, &m_system);
    ASSERT_TRUE(dialog.BtnProperty->isEnabled());
    dialog.BtnProperty->click();
    EXPECT_EQ(edited, std::vector<int>{0});

    settings.PropertiesEnabled = false;
    EXPECT_FALSE(TSestPrintDlg(settings, &m_system).BtnProperty->isEnabled());
}

TEST_F(PrintDialogTest, PdfEntryIsAnsweredAsPdfFile)
{
    TPrintDialogTyp settings;
    const int answer = execute(settings, [](TSestPrintDlg& d) {
        d.ComboBoxPrinter->NastavPdf();
        d.BtnPrint->click();
    });
    EXPECT_EQ(answer, TPrintDialogTyp::Print);
    EXPECT_TRUE(settings.PdfFile);
    EXPECT_EQ(settings.PrinterIndex, -1);
}

} // namespace
