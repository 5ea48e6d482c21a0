// The font dialog: the text printer's fonts, a face that is not installed, the script kept
// as read, and what OK and "Storno" give.
#include "reports/designer/dialogs/VFontDlg.h"

#include "reports/designer/dialogs/ModalDialog.h"
#include "reports/model/ReportTables.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

using namespace reports;
using namespace reports::designer;

TEST(VFontDlg, RomanFontsShowInCourierAtTheirFixedSize)
{
    ReportFont font;
    font.Name = QStringLiteral("Roman 12cpi");
    font.Size = 14;
    TVFontDlg dialog(font);
    FontChooser& c = *dialog.Chooser;
    EXPECT_EQ(c.Pismo().Size, 10);
    EXPECT_EQ(c.CBVyska->currentText(), QStringLiteral("10"));
    EXPECT_TRUE(c.LabelUkazkaF->font().families().join(u',').contains(QStringLiteral("Courier New")));
    EXPECT_EQ(c.LabelUkazkaF->text(), QStringLiteral("ÁBČĎábčď"));

    c.CBPisma->setCurrentText(QStringLiteral("Roman 17cpi"));
    EXPECT_EQ(c.CBVyska->currentText(), QStringLiteral("8"));
    c.CBPisma->setCurrentText(QStringLiteral("Roman 10cpi"));
    EXPECT_EQ(c.Pismo().Size, 11);
    EXPECT_EQ(c.CBPisma->findText(QStringLiteral("Roman 10cpi")), c.CBPisma->count() - 3);
}

TEST(VFontDlg, AFaceNotInstalledIsOfferedAndKeptAsWritten)
{
    ReportFont font;
    font.Name = QStringLiteral("Arial CE");
    font.Size = 9;
    font.Charset = 77;     // not in the table
    font.Color = ColorByIndex(4);
    TVFontDlg dialog(font);
    FontChooser& c = *dialog.Chooser;
    EXPECT_EQ(c.CBPisma->currentText(), QStringLiteral("Arial CE"));
    EXPECT_EQ(c.Pismo(), font);

    c.CBVyska->setCurrentText(QStringLiteral("velké"));
    EXPECT_EQ(c.Pismo().Size, 12);
    c.CBBold->setChecked(true);
    c.CBStrikeout->setChecked(true);
    EXPECT_EQ(c.Pismo().Style, FontBold | FontStrikeOut);
    c.CbSkript->setCurrentIndex(4);
    EXPECT_EQ(c.Pismo().Charset, 238);
}

TEST(VFontDlg, OkGivesTheFontAndStornoNothing)
{
    ReportFont font;
    font.Name = QStringLiteral("Roman 10cpi");
    font.Size = 11;
    test::whenShown<TVFontDlg>([](TVFontDlg& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Volba typu písma"));
        d.Chooser->CBItalic->setChecked(true);
        d.Chooser->CBBarva->setCurrentIndex(9);
        d.OKBtn->click();
    });
    const std::optional<ReportFont> chosen = TVFontDlg::Execute(font);
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->Name, font.Name);
    EXPECT_EQ(chosen->Style, FontItalic);
    EXPECT_EQ(chosen->Color, 0x0000FFu);

    test::whenShown<TVFontDlg>([](TVFontDlg& d) { d.CancelBtn->click(); });
    EXPECT_FALSE(TVFontDlg::Execute(font));
}

} // namespace
