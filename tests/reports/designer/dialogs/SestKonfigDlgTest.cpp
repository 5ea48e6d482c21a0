// The editor settings dialog: what "&Konec" and "Storno" give and write, the check of every
// numeric box before any value is taken, a failed write, the printer button.
#include "reports/designer/dialogs/SestKonfigDlg.h"

#include "platform/files/Files.h"
#include "platform/ui/Services.h"
#include "reports/designer/dialogs/ModalDialog.h"
#include "reports/model/ReportTables.h"
#include "support/FailingFileOps.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using namespace reports;
using namespace reports::designer;

const QByteArray oldFile = "[FormatyPapiru]\nPocetFormatu=1\nFormat1=\"Můj\",700,900\n\n[Oddily]\nImplSirka=150\n";

class SestKonfigDlgTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        files::setConfigDirectory(m_dir.path());
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(oldFile);
        ui::setServices(&m_ui);
    }
    void TearDown() override
    {
        ui::setServices(nullptr);
        files::setConfigDirectory(QString());
    }

    QString path() const { return m_dir.filePath(QStringLiteral("SESTDLL.INI")); }
    QByteArray bytes() const
    {
        QFile f(path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;
    ui::RecordingServices m_ui;
};

TEST_F(SestKonfigDlgTest, KonecGivesAndWritesTheEditedRecord)
{
    NastaveniEditoru start;
    start.ImplBarvaFontu = 9;
    start.ImplStylFontu = FontBold | FontItalic;
    start.ImplSkriptFontu = 77;
    test::whenShown<TSestKonfigDlg>([](TSestKonfigDlg& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Prostředí editoru sestav"));
        EXPECT_EQ(d.EImplW->text(), QStringLiteral("200"));
        EXPECT_EQ(d.SesLabel->palette().color(QPalette::WindowText), QColor(Qt::red));
        d.EditRastrX->setText(QStringLiteral("16"));
        d.EditPocetUndo->setText(QStringLiteral("50"));
        d.CBMazaniJedne->setChecked(true);
        d.CBSledPodle->setChecked(true);
        d.CBZarov->setCurrentIndex(2);
        d.EImplW->setText(QStringLiteral("120"));
        EXPECT_EQ(d.SesLabel->width(), 120);
        d.OKBtn->click();
    });
    const std::optional<NastaveniEditoru> edited = TSestKonfigDlg::Execute(start, EditorSettingsFile, {});
    ASSERT_TRUE(edited);
    NastaveniEditoru expected = start;
    expected.RastrX = 16;
    expected.PocetUndo = 50;
    expected.MazaniJedne = true;
    expected.SledPodle = true;
    expected.ImplZarovnani = 2;
    expected.ImplSirka = 120;
    EXPECT_EQ(*edited, expected);

    const QByteArray after = bytes();
    EXPECT_TRUE(after.startsWith(oldFile.left(oldFile.indexOf("\n\n") + 2)));
    EXPECT_FALSE(after.contains("ImplMeritko"));
    EXPECT_EQ(ReadEditorSettings(), expected);
}

TEST_F(SestKonfigDlgTest, StornoGivesNothingAndWritesNothing)
{
    test::whenShown<TSestKonfigDlg>([](TSestKonfigDlg& d) {
        d.EditRastrX->setText(QStringLiteral("16"));
        d.CancelBtn->click();
    });
    EXPECT_FALSE(TSestKonfigDlg::Execute(NastaveniEditoru{}, EditorSettingsFile, {}));
    EXPECT_EQ(bytes(), oldFile);
}

TEST_F(SestKonfigDlgTest, ABadBoxKeepsTheDialogAndTheRecordUnchanged)
{
    TSestKonfigDlg dialog(NastaveniEditoru{}, EditorSettingsFile, {});
    dialog.EditRastrX->setText(QStringLiteral("16"));
    dialog.EImplH->setText(QStringLiteral("dvacet"));
    dialog.OKBtnClick();

    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Nastaveni(), NastaveniEditoru{});
    EXPECT_EQ(bytes(), oldFile);
    ASSERT_EQ(m_ui.messages.size(), 1u);
    EXPECT_EQ(m_ui.messages[0].text, QStringLiteral("Hodnota \"dvacet\" v poli \"Výška položky\" není celé číslo."));

    dialog.EImplH->setText(QStringLiteral("30"));
    dialog.OKBtnClick();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Nastaveni().RastrX, 16);
    EXPECT_EQ(dialog.Nastaveni().ImplVyska, 30);
}

TEST_F(SestKonfigDlgTest, AFailedWriteIsShownAndKeepsTheOldFile)
{
    TSestKonfigDlg dialog(NastaveniEditoru{}, EditorSettingsFile, {});
    dialog.EditRastrY->setText(QStringLiteral("4"));
    test::FailingFileOps failing(2, true);
    files::ScopedFileOps scope(failing);
    dialog.OKBtnClick();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Nastaveni().RastrY, 8);
    EXPECT_EQ(bytes(), oldFile);
    EXPECT_EQ(m_ui.messages.size(), 1u);
}

TEST_F(SestKonfigDlgTest, PrinterButtonRunsTheGivenSetupOrIsDisabled)
{
    TSestKonfigDlg none(NastaveniEditoru{}, EditorSettingsFile, {});
    EXPECT_FALSE(none.BitBtn1->isEnabled());
    EXPECT_EQ(none.BitBtn1->text(), QStringLiteral("&Tiskárna.."));
    int runs = 0;
    TSestKonfigDlg with(NastaveniEditoru{}, EditorSettingsFile, [&runs](QWidget*) { ++runs; });
    with.BitBtn1->click();
    EXPECT_EQ(runs, 1);
    EXPECT_FALSE(with.HelpBtn->isVisible());
}

} // namespace
