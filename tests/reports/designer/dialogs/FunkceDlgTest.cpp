// The user function dialog through UpravFunkci: the reset points offered, the record
// rewritten on OK and left on "Storno", boxes that are not numbers.
#include "reports/designer/dialogs/FunkceDlg.h"

#include "reports/designer/dialogs/ModalDialog.h"
#include "reports/designer/dialogs/VFontDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>

#include <gtest/gtest.h>

namespace {

using namespace reports;
using namespace reports::designer;

FunctionSettings sample()
{
    FunctionSettings f;
    f.Name = QStringLiteral("Soucet");
    f.Popis = QStringLiteral("Součet ploch");
    f.Vyraz = QStringLiteral("#3");
    f.Nulovat = 3;
    f.Zpracovani = 2;
    f.Sirka = 10;
    f.Desetiny = 1;
    f.Format = 3;
    return f;
}

TEST(UpravFunkci, ConfirmedRewritesTheRecord)
{
    test::whenShown<TFunkceDlg>([](TFunkceDlg& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Nastavení parametrů funkce"));
        QStringList offered;
        for (int i = 0; i < d.CBFnPhn->count(); ++i) offered.append(d.CBFnPhn->itemText(i));
        EXPECT_EQ(offered, (QStringList{"Sestavy", "Stránky", "Skupiny 1", "Skupiny 2", "Skupiny 3"}));
        EXPECT_EQ(d.CBFnPhn->currentIndex(), 3);
        EXPECT_EQ(d.RGDalZpr->itemIndex(), 2);
        EXPECT_EQ(d.CbFnFrm->currentText(), QStringLiteral("Number"));
        d.EditFnNaz->setText(QStringLiteral("Prumer"));
        d.RGDalZpr->setItemIndex(3);
        d.CBFnPhn->setCurrentIndex(4);
        d.EditFnSir->setText(QStringLiteral("široká"));
        d.EditFnDes->setText(QStringLiteral("3"));
        d.CBFnTyp->setCurrentIndex(1);
        EXPECT_EQ(d.NotebookFormat->currentIndex(), 1);
        d.OKBtn->click();
    });
    FunctionSettings f = sample();
    EXPECT_EQ(UpravFunkci(nullptr, {}, 3, f), 1);
    FunctionSettings expected = sample();
    expected.Name = QStringLiteral("Prumer");
    expected.Zpracovani = 3;
    expected.Nulovat = 4;
    expected.Desetiny = 3;
    expected.Typ = 1;
    EXPECT_EQ(f, expected);
}

TEST(UpravFunkci, StornoLeavesTheRecord)
{
    test::whenShown<TFunkceDlg>([](TFunkceDlg& d) {
        EXPECT_EQ(d.CBFnPhn->count(), 2);
        EXPECT_EQ(d.CBFnPhn->currentIndex(), -1);   // group 2 of a template that has none
        d.EditFnNaz->setText(QStringLiteral("Jina"));
        d.CancelBtn->click();
    });
    FunctionSettings f = sample();
    EXPECT_EQ(UpravFunkci(nullptr, {}, 0, f), 2);
    EXPECT_EQ(f, sample());
}

TEST(UpravFunkci, TheBuilderGivesTheExpression)
{
    TFunkceDlg dialog({{QStringLiteral("ODD")}, 0, {}, true});
    dialog.fill(sample(), 0);
    test::whenShown<TSest_FnEditVyraz>([](TSest_FnEditVyraz& b) {
        EXPECT_EQ(b.Vyraz(), QStringLiteral("#3"));
        EXPECT_TRUE(b.CBPodle->isChecked());
        b.EditVyraz->setText(QStringLiteral("#ODD*2"));
        b.OKBtn->click();
    });
    dialog.SpeedButton1->click();
    EXPECT_EQ(dialog.take(sample()).Vyraz, QStringLiteral("#ODD*2"));
}

} // namespace
