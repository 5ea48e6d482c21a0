// The settings dialog: paper preview, formats, groups, raster, the margin check, OK and Storno,
// and the user formats in SESTDLL.INI.
#include "reports/designer/dialogs/SestDlg.h"

#include "platform/files/Files.h"
#include "platform/text/Cp1250.h"
#include "platform/ui/Services.h"
#include "reports/model/PageSettings.h"
#include "reports/output/PageGeometry.h"
#include "reports/output/Printer.h"
#include "reports/support/FakePrinter.h"
#include "support/FailingFileOps.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using namespace reports;
using namespace reports::designer;

const QString ini = QStringLiteral("SESTDLL.INI");
// Other sections around the formats, with a comment and mixed line ends, to be kept as they are.
const QByteArray before = Cp1250::encode(QStringLiteral("; nastavení\r\n[EditorSestav]\r\nPocetUndo=20\n\n"));
const QByteArray section = Cp1250::encode(QStringLiteral("[FormatyPapiru]\r\nPocetFormatu=1\r\nFormat1=Široký,1500,900\r\n"));
const QByteArray after = Cp1250::encode(QStringLiteral("[Oddily]\r\nZ=Začátek\r\n"));

ReportSettingsData a4()
{
    ReportSettingsData d;
    d.columns = 2;
    d.columnGap = 20;
    d.bands = {{{true, 96}, {true, 16}, {true, 300}, {false, 16}, {true, 32}}};
    d.columnReferences = {QStringLiteral("#1  Porost"), QStringLiteral("#2  Plocha")};
    d.groups = {{0, 1, true, 30, false, 24, false}, {1, 0, false, 24, true, 40, true}, {2, 0, false, 24, false, 24, false}};
    return d;
}

class SestDlgTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Format changes limit the margins by the shared page settings, which other tests set.
        resetPageSettings();
        ASSERT_TRUE(m_dir.isValid());
        files::setConfigDirectory(m_dir.path());
        QFile f(iniPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(before + section + after);
        f.close();
        m_formats.BuildPaperFormats(ini);
        m_previous = &ui::services();
        ui::setServices(&m_ui);
    }
    void TearDown() override
    {
        ui::setServices(m_previous);
        releasePrinter();
        setPrinterSystem(nullptr);
        files::setConfigDirectory(QString());
    }

    QString iniPath() const { return m_dir.path() + QStringLiteral("/SESTDLL.INI"); }
    QByteArray iniBytes() const
    {
        QFile f(iniPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // A format editor that answers `answer` and renames the format.
    static PaperFormatEditor editor(int answer, const QString& name, bool* isEditable = nullptr)
    {
        return [=](TFormatPapiru& f, bool editable, QWidget*) {
            if (isEditable) *isEditable = editable;
            f.Nazev = name;
            return answer;
        };
    }

    QTemporaryDir m_dir;
    TListFormatu m_formats;
    ui::RecordingServices m_ui;
    ui::Services* m_previous = nullptr;
};

TEST_F(SestDlgTest, PreviewOfA4WithTwoColumns)
{
    TSestDlg dialog(a4(), m_formats, ini);
    EXPECT_EQ(dialog.InfoRozmer->text(), QStringLiteral("826 x 1169"));
    EXPECT_EQ(dialog.InfoRozmerT->text(), QStringLiteral("726 x 1029"));
    EXPECT_EQ(dialog.InfoRozmerS->text(), QStringLiteral("353 x 300"));
    EXPECT_EQ(dialog.CBFormaty->currentIndex(), 0);   // the first A4-sized entry

    const PaperPreview p = layOutPaperPreview(a4(), QSize(140, 150), QStringLiteral("300"));
    ASSERT_EQ(p.cells.size(), 8u);   // four rows of two columns
    EXPECT_TRUE(p.sheet.contains(p.printable));
    EXPECT_EQ(p.cells[0].topLeft(), p.printable.topLeft());
    EXPECT_LT(p.cells[0].right(), p.cells[1].left());   // the gap shows

    // Landscape swaps the shown sizes; emptying the column count counts one column.
    dialog.orientationButtons[1]->setChecked(true);
    QLineEdit* columns = dialog.SEPocSloup->findChild<QLineEdit*>();
    columns->clear();
    emit columns->textEdited(QString());
    EXPECT_EQ(dialog.InfoRozmer->text(), QStringLiteral("1169 x 826"));
    EXPECT_EQ(dialog.InfoRozmerS->text(), QStringLiteral("1069 x 300"));
    EXPECT_EQ(dialog.settings().columns, 1);
}

TEST_F(SestDlgTest, BodyHeightThatIsNoNumberCountsZero)
{
    TSestDlg dialog(a4(), m_formats, ini);
    dialog.EditH[2]->setText(QStringLiteral("3x"));
    EXPECT_EQ(dialog.InfoRozmerS->text(), QStringLiteral("353 x 0"));
    dialog.selectTab(1);
    dialog.show();
    EXPECT_NO_THROW(dialog.grab());
    EXPECT_EQ(dialog.settings().bands[2].height, 300);   // the old height stays
}

TEST_F(SestDlgTest, UserFormatsSwitchTheButtons)
{
    TSestDlg dialog(a4(), m_formats, ini);
    dialog.CBFormaty->setCurrentIndex(18);
    emit dialog.CBFormaty->activated(18);
    EXPECT_TRUE(dialog.ButtonDeleteFormat->isEnabled());
    EXPECT_EQ(dialog.ButtonEditFormat->text(), QStringLiteral("Oprav"));
    EXPECT_EQ(dialog.settings().paperWidth, 1500);
    EXPECT_EQ(dialog.SEOkrajLevy->maximum(), 413);   // half the current page
    dialog.CBFormaty->setCurrentIndex(17);
    emit dialog.CBFormaty->activated(17);
    EXPECT_FALSE(dialog.ButtonDeleteFormat->isEnabled());
    EXPECT_EQ(dialog.ButtonEditFormat->text(), QStringLiteral("Ukaž"));
    EXPECT_EQ(dialog.settings().paperHeight, 896);

    bool isEditable = true;
    dialog.setPaperFormatEditor(editor(1, QStringLiteral("jiný"), &isEditable));
    dialog.ButtonEditFormat->click();
    EXPECT_FALSE(isEditable);   // built-in formats are only shown
    EXPECT_EQ(m_formats.FormatAt(17).Nazev, QStringLiteral("Obálka otoč.(162 x 228 mm)"));
    EXPECT_EQ(iniBytes(), before + section + after);
}

TEST_F(SestDlgTest, FormatChangesRewriteOnlyTheirSection)
{
    TSestDlg dialog(a4(), m_formats, ini);
    dialog.CBFormaty->setCurrentIndex(8);
    dialog.setPaperFormatEditor(editor(2, QStringLiteral("zahozený")));
    dialog.ButtonInsertFormat->click();
    EXPECT_EQ(iniBytes(), before + section + after);   // cancelled: nothing written
    EXPECT_EQ(m_formats.count(), 19);

    dialog.setPaperFormatEditor(editor(1, QStringLiteral("Můj A4")));
    dialog.ButtonInsertFormat->click();
    EXPECT_EQ(dialog.CBFormaty->currentIndex(), 19);
    EXPECT_EQ(iniBytes(), before
                              + Cp1250::encode(QStringLiteral("[FormatyPapiru]\r\nPocetFormatu=2\r\nFormat1=Široký,1500,900\r\n"
                                                              "Format2=Můj A4,826,1169\r\n"))
                              + after);

    m_ui.script({ui::Answer::No});
    dialog.ButtonDeleteFormat->click();
    EXPECT_EQ(m_formats.count(), 20);
    m_ui.script({ui::Answer::Yes});
    dialog.ButtonDeleteFormat->click();
    EXPECT_EQ(m_ui.messages.back().text, QStringLiteral("Zrušit vybraný uživatelský formát?"));
    EXPECT_EQ(m_formats.count(), 19);
    EXPECT_EQ(dialog.CBFormaty->currentIndex(), 0);
    EXPECT_TRUE(iniBytes().contains("PocetFormatu=1\r\n"));
    EXPECT_TRUE(iniBytes().startsWith(before) && iniBytes().endsWith(after));
}

TEST_F(SestDlgTest, FailedFormatWriteKeepsTheOldFile)
{
    TSestDlg dialog(a4(), m_formats, ini);
    dialog.setPaperFormatEditor(editor(1, QStringLiteral("Nový")));
    for (const int step : {1, 2}) {
        ::test::FailingFileOps ops(step, true);
        const files::ScopedFileOps scoped(ops);
        m_ui.clear();
        dialog.ButtonInsertFormat->click();
        EXPECT_TRUE(ops.hasFailed());
        EXPECT_EQ(iniBytes(), before + section + after) << step;
        ASSERT_EQ(m_ui.messages.size(), 1u);
        EXPECT_EQ(m_ui.messages[0].type, ui::MsgType::Error);
    }
    EXPECT_FALSE(QFile::exists(iniPath() + QStringLiteral(".tmp")));
}

TEST_F(SestDlgTest, DelRemovesOnlyTheLastGroupOfTheCopy)
{
    const ReportSettingsData original = a4();
    TSestDlg dialog(original, m_formats, ini);
    EXPECT_EQ(dialog.LBSkupPol->item(1)->text(), QStringLiteral("Skupina 2"));
    EXPECT_FALSE(dialog.SBDelSk->isEnabled());
    dialog.selectGroup(1);
    EXPECT_FALSE(dialog.SBDelSk->isEnabled());
    EXPECT_EQ(dialog.EditHU->text(), QStringLiteral("40"));
    EXPECT_TRUE(dialog.CBNsNs->isChecked());
    dialog.EditHU->setText(QStringLiteral("xx"));   // not a number: 24
    dialog.selectGroup(2);
    EXPECT_TRUE(dialog.SBDelSk->isEnabled());

    m_ui.script({ui::Answer::No});
    dialog.SBDelSk->click();
    EXPECT_EQ(dialog.settings().groups.size(), 3u);
    m_ui.script({ui::Answer::Yes});
    dialog.SBDelSk->click();
    EXPECT_FALSE(dialog.SBDelSk->isEnabled());
    dialog.SBInsSk->click();
    EXPECT_EQ(dialog.LBSkupPol->currentRow(), 2);
    EXPECT_TRUE(dialog.SBDelSk->isEnabled());
    dialog.CBOddS->setChecked(true);

    const ReportSettingsData r = dialog.settings();
    ASSERT_EQ(r.groups.size(), 3u);
    EXPECT_EQ(r.groups[1].endHeight, 24);
    EXPECT_EQ(r.groups[2].index, 2);
    EXPECT_TRUE(r.groups[2].isStartShown);
    EXPECT_EQ(r.groups[2].startHeight, 24);
    EXPECT_FALSE(original.groups[2].isStartShown);   // the caller's record is untouched
}

TEST_F(SestDlgTest, KonecGivesTheSettingsAndStornoNothing)
{
    const auto run = [&](std::function<void(TSestDlg&)> act) {
        QTimer::singleShot(0, [act] {
            auto* d = dynamic_cast<TSestDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(d, nullptr);
            act(*d);
        });
        return ShowSettingsDialog(a4(), m_formats, ini, 4, 2);
    };
    const auto cancelled = run([](TSestDlg& d) {
        EXPECT_EQ(d.Notebook->currentIndex(), 4);
        EXPECT_FALSE(d.TabSet->isEnabled());
        EXPECT_TRUE(d.SBDelSk->isEnabled());   // group 2 is selected
        d.SBInsSk->click();
        d.SEOkrajLevy->setValue(99);
        d.CancelBtn->click();
    });
    EXPECT_FALSE(cancelled.has_value());
    EXPECT_EQ(iniBytes(), before + section + after);

    const auto taken = run([](TSestDlg& d) {
        d.ENazev->setText(QStringLiteral("Přehled"));
        d.EditH[0]->setText(QStringLiteral("120"));
        d.EditH[3]->setText(QStringLiteral("abc"));
        d.CBOdd[3]->setChecked(true);
        d.CbNsKon->setChecked(true);
        d.SEOkrajLevy->setValue(99);
        d.SEMeziSloup->setValue(30);
        d.rasterTypeButtons[1]->setChecked(true);
        d.pitchButtons[2]->click();
        d.spacingButtons[1]->click();
        d.OKBtn->click();
    });
    ASSERT_TRUE(taken.has_value());
    EXPECT_EQ(taken->description, QStringLiteral("Přehled"));
    EXPECT_EQ(taken->bands[0].height, 120);
    EXPECT_TRUE(taken->bands[3].isVisible);
    EXPECT_EQ(taken->bands[3].height, 16);
    EXPECT_TRUE(taken->isBreakBeforeEnd);
    EXPECT_EQ(taken->leftMargin, 99);
    EXPECT_EQ(taken->columnGap, 30);
    EXPECT_TRUE(taken->isCharacterRaster);
    EXPECT_EQ(taken->pitchCode, 2);
    EXPECT_EQ(taken->lineSpacingCode, 1);
    EXPECT_EQ(taken->rasterX, 6);
    EXPECT_EQ(taken->rasterY, 24);
    EXPECT_EQ(taken->groups.size(), 3u);
    EXPECT_EQ(iniBytes(), before + section + after);
}

TEST_F(SestDlgTest, MarginsBelowThePrintersBorderAsk)
{
    reports::test::FakePrinterSystem system;
    reports::test::FakePrinter& printer = system.add(QStringLiteral("laser"));
    printer.dpiX = printer.dpiY = 600;
    printer.offset = {60, 60};
    printer.page = {4800, 6800};
    printer.physical = {4920, 6920};
    setPrinterSystem(&system);
    SelectPrinter(0);
    ReportSettingsData d = a4();
    d.leftMargin = 9;
    TSestDlg dialog(d, m_formats, ini);

    m_ui.script({ui::Answer::Cancel, ui::Answer::No, ui::Answer::Yes});
    EXPECT_FALSE(dialog.FormCloseQuery());
    ASSERT_EQ(m_ui.messages.size(), 1u);
    EXPECT_EQ(m_ui.messages[0].caption, QStringLiteral("Potvrzení"));
    EXPECT_EQ(m_ui.messages[0].buttons, ui::YesNoCancel);
    EXPECT_TRUE(m_ui.messages[0].text.startsWith(QStringLiteral("Nastavené okraje tisku jsou menší")));
    EXPECT_TRUE(dialog.FormCloseQuery());
    EXPECT_EQ(dialog.settings().leftMargin, 9);
    EXPECT_TRUE(dialog.FormCloseQuery());
    EXPECT_EQ(dialog.settings().leftMargin, 10);
    EXPECT_EQ(dialog.SEOkrajLevy->value(), 10);

    // The character raster is not checked.
    dialog.SEOkrajLevy->setValue(5);
    dialog.rasterTypeButtons[1]->setChecked(true);
    EXPECT_EQ(dialog.NotebookRastr->currentIndex(), 1);
    m_ui.clear();
    EXPECT_TRUE(dialog.FormCloseQuery());
    EXPECT_TRUE(m_ui.messages.empty());
}

} // namespace
