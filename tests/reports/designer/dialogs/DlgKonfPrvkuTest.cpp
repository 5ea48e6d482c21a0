// The element dialog: reference lists and pages by kind, the RTF rules, what OK gives back,
// an element whose reference is gone, and the function it edits.
#include "reports/designer/dialogs/DlgKonfPrvku.h"

#include "reports/designer/dialogs/FunkceDlg.h"
#include "reports/designer/dialogs/ModalDialog.h"
#include "reports/designer/dialogs/VFontDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

using namespace reports;
using namespace reports::designer;

ElementDialogData columnElement()
{
    ElementDialogData d;
    d.Kind = 2;
    d.Reference = 1;
    d.Columns = {QStringLiteral("ODD"), QStringLiteral("POZNAMKA"), QStringLiteral("FOTO")};
    d.ColumnTypes = {5, 16, 17};
    d.Font.Name = QStringLiteral("Arial CE");
    d.Font.Size = 10;
    d.Left = 40;
    d.Top = 4;
    d.Width = 200;
    d.Height = 20;
    d.Roztec = 7;
    d.Ramecek = {true, false, false, true};
    d.Text = QStringLiteral("text");
    FunctionSettings f;
    f.Name = QStringLiteral("Soucet");
    d.Functions = {f};
    d.GroupCount = 2;
    return d;
}

TEST(DlgKonfPrvku, ReferenceListsFollowTheKind)
{
    ElementDialogData d = columnElement();
    d.Kind = 5;
    d.Reference = 8;
    TDlgKonfPrvku variable(d);
    ASSERT_EQ(variable.CbIndex->count(), 9);
    EXPECT_EQ(variable.CbIndex->itemText(5), QStringLiteral("Číslo ř. ve sk.1"));
    EXPECT_EQ(variable.CbIndex->itemText(8), QStringLiteral("Číslo skupiny 2"));
    EXPECT_EQ(variable.CbIndex->currentIndex(), 8);
    EXPECT_FALSE(variable.RGPodle->isEnabled());
    EXPECT_EQ(variable.NotebookDalsi->currentIndex(), TDlgKonfPrvku::pgPromenna);

    d.Kind = 3;
    d.Reference = 2;
    EXPECT_EQ(TDlgKonfPrvku::ReferenceTexts(d),
              (QStringList{"#1  ODD", "#2  POZNAMKA", "#3  FOTO"}));
    d.Kind = 6;
    d.Reference = 0;
    TDlgKonfPrvku function(d);
    EXPECT_EQ(function.CbIndex->itemText(0), QStringLiteral("#1  Soucet"));
    EXPECT_EQ(function.NotebookDalsi->currentIndex(), TDlgKonfPrvku::pgFunkce);
    d.Kind = 4;
    TDlgKonfPrvku parameter(d);
    EXPECT_FALSE(parameter.CbIndex->isEnabled());
    EXPECT_FALSE(parameter.RGPodle->isEnabled());
    EXPECT_EQ(parameter.EdTyp->text(), QStringLiteral("Parametr"));
}

TEST(DlgKonfPrvku, ColumnTypeSelectsThePageAndRtfLocksWrapAlignmentAndFont)
{
    TDlgKonfPrvku dialog(columnElement());
    EXPECT_EQ(dialog.NotebookDalsi->currentIndex(), TDlgKonfPrvku::pgDbMemo);
    dialog.CBRtf->setChecked(true);
    EXPECT_TRUE(dialog.CBPretahSl->isChecked());
    EXPECT_FALSE(dialog.CBPretahSl->isEnabled());
    EXPECT_FALSE(dialog.CBZarovnani->isEnabled());
    dialog.TabSet->setCurrentIndex(1);
    EXPECT_EQ(dialog.TabSet->currentIndex(), 0);
    EXPECT_EQ(dialog.Notebook->currentIndex(), 0);
    dialog.CBRtf->setChecked(false);
    EXPECT_TRUE(dialog.CBZarovnani->isEnabled());
    dialog.TabSet->setCurrentIndex(1);
    EXPECT_EQ(dialog.Notebook->currentIndex(), 1);

    dialog.CbIndex->setCurrentIndex(2);
    EXPECT_EQ(dialog.NotebookDalsi->currentIndex(), TDlgKonfPrvku::pgDbGraphic);
    dialog.CbIndex->setCurrentIndex(0);
    EXPECT_EQ(dialog.NotebookDalsi->currentIndex(), TDlgKonfPrvku::pgText);
}

TEST(DlgKonfPrvku, OkGivesTheEditedElement)
{
    test::whenShown<TDlgKonfPrvku>([](TDlgKonfPrvku& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Nastavení vlastností prvku"));
        d.CbIndex->setCurrentIndex(2);
        d.CBStretch->setChecked(true);
        d.RGPodle->setItemIndex(1);
        d.EdL->setText(QStringLiteral("vlevo"));
        d.EdS->setText(QStringLiteral("180"));
        d.ERoztec->setText(QStringLiteral("x"));
        d.SBCarT[2]->click();
        d.Pismo->CBBold->setChecked(true);
        d.CBZarovnani->setCurrentIndex(2);
        d.OKBtn->click();
    });
    const std::optional<ElementDialogData> edited = TDlgKonfPrvku::Execute(columnElement());
    ASSERT_TRUE(edited);
    ElementDialogData expected = columnElement();
    expected.Reference = 2;
    expected.Stretch = true;
    expected.ByName = true;
    expected.Width = 180;
    expected.Roztec = 0;
    expected.Ramecek = {true, false, true, true};
    expected.Font.Style = FontBold;
    expected.Alignment = 2;
    EXPECT_EQ(*edited, expected);

    test::whenShown<TDlgKonfPrvku>([](TDlgKonfPrvku& d) { d.CancelBtn->click(); });
    EXPECT_FALSE(TDlgKonfPrvku::Execute(columnElement()));
}

TEST(DlgKonfPrvku, AnElementWhoseReferenceIsGoneIsNotShown)
{
    ElementDialogData d = columnElement();
    d.Reference = 3;
    bool isShown = false;
    QTimer::singleShot(0, [&isShown] {
        if (auto* shown = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            isShown = true;
            shown->reject();
        }
    });
    EXPECT_FALSE(TDlgKonfPrvku::Execute(d));
    d.Kind = 6;
    d.Reference = 1;
    EXPECT_FALSE(TDlgKonfPrvku::IsValid(d));
    QCoreApplication::processEvents();
    EXPECT_FALSE(isShown);
}

TEST(DlgKonfPrvku, FunkceEditsTheFunctionOfTheCopy)
{
    ElementDialogData d = columnElement();
    d.Kind = 6;
    d.Reference = 0;
    TDlgKonfPrvku dialog(d);
    test::whenShown<TFunkceDlg>([](TFunkceDlg& f) {
        EXPECT_EQ(f.CBFnPhn->count(), 4);
        f.EditFnNaz->setText(QStringLiteral("Celkem"));
        f.OKBtn->click();
    });
    dialog.SBFunkce->click();
    EXPECT_EQ(dialog.CbIndex->itemText(0), QStringLiteral("#1  Celkem"));
    EXPECT_EQ(dialog.Data().Functions.at(0).Name, QStringLiteral("Celkem"));
}

} // namespace
