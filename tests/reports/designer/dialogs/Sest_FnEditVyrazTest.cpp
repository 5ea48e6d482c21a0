// The expression builder: list texts and tokens, insertion at the caret, operator buttons,
// the check through the report's evaluator, and what OK and "Storno" give.
#include "reports/designer/dialogs/Sest_FnEditVyraz.h"

#include "platform/ui/Services.h"
#include "reports/designer/dialogs/ModalDialog.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

using namespace reports::designer;

TEST(ExpressionBuilderItems, NumbersTakeThreePlacesAndTokensFollowTheChoice)
{
    EXPECT_EQ(ListItemText(u'#', 0, QStringLiteral("ODD")), QStringLiteral("#1  ODD"));
    EXPECT_EQ(ListItemText(u'#', 9, QStringLiteral("ODD")), QStringLiteral("#10 ODD"));
    EXPECT_EQ(ListItemText(u'#', 99, QStringLiteral("ODD")), QStringLiteral("#100ODD"));
    EXPECT_EQ(ItemToken(QStringLiteral("#10 ODD"), false), QStringLiteral("#10"));
    EXPECT_EQ(ItemToken(QStringLiteral("#100ODD"), false), QStringLiteral("#100"));
    EXPECT_EQ(ItemToken(QStringLiteral("#100ODD"), true), QStringLiteral("#ODD"));
    EXPECT_EQ(ItemToken(QStringLiteral("@2  Soucet"), true), QStringLiteral("@Soucet"));
    EXPECT_EQ(ItemToken(QStringLiteral("&3  Parametr 3"), true), QStringLiteral("&3"));
}

class ExpressionBuilder : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ui::setServices(&m_ui);
        m_builder.NaplnSeznamy({{QStringLiteral("ODD"), QStringLiteral("DIL")}, 2, {QStringLiteral("Soucet")}, false});
    }
    void TearDown() override { ui::setServices(nullptr); }

    ui::RecordingServices m_ui;
    TSest_FnEditVyraz m_builder{QString()};
};

TEST_F(ExpressionBuilder, InsertsTokensAtTheCaretReplacingTheSelection)
{
    TSest_FnEditVyraz& b = m_builder;
    EXPECT_EQ(b.LBParametry->item(1)->text(), QStringLiteral("&2  Parametr 2"));
    EXPECT_EQ(b.LBFunkce->item(0)->text(), QStringLiteral("@1  Soucet"));
    EXPECT_FALSE(b.BitBtnVlozit->isEnabled());

    b.EditVyraz->setText(QStringLiteral("1+XX+2"));
    b.EditVyraz->setSelection(2, 2);
    b.LBOperatory->setCurrentRow(8);
    EXPECT_TRUE(b.BitBtnVlozit->isEnabled());
    b.BitBtnVlozit->click();
    EXPECT_EQ(b.EditVyraz->text(), QStringLiteral("1+SUBSTR(,,)+2"));
    EXPECT_EQ(b.EditVyraz->cursorPosition(), 9);
    EXPECT_FALSE(b.BitBtnVlozit->isEnabled());

    b.CBPodle->setChecked(true);
    b.LBPolozky->setCurrentRow(1);
    b.BitBtnVlozit->click();
    EXPECT_EQ(b.EditVyraz->text(), QStringLiteral("1+SUBSTR(#DIL,,)+2"));
    b.LBParametry->setCurrentRow(0);
    b.LBParametry->setCurrentRow(1);
    b.Vlozit();
    EXPECT_EQ(b.EditVyraz->text(), QStringLiteral("1+SUBSTR(#DIL&2,,)+2"));
    EXPECT_EQ(b.EditVyraz->cursorPosition(), 15);
}

TEST_F(ExpressionBuilder, OperatorButtonsAdvanceTheCaretByTheirTag)
{
    TSest_FnEditVyraz& b = m_builder;
    b.EditVyraz->setText(QStringLiteral("ab"));
    b.EditVyraz->setCursorPosition(1);
    b.findChild<QPushButton*>(QStringLiteral("SBOperator14"))->click();   // " AND "
    EXPECT_EQ(b.EditVyraz->text(), QStringLiteral("a AND b"));
    EXPECT_EQ(b.EditVyraz->cursorPosition(), 6);
    b.findChild<QPushButton*>(QStringLiteral("SBOperator1"))->click();    // "()"
    EXPECT_EQ(b.EditVyraz->text(), QStringLiteral("a AND ()b"));
    EXPECT_EQ(b.EditVyraz->cursorPosition(), 7);
    b.BitBtnIn->click();
    EXPECT_EQ(b.EditVyraz->text(), QStringLiteral("a AND ( IN[])b"));
    EXPECT_EQ(b.EditVyraz->cursorPosition(), 12);
}

TEST_F(ExpressionBuilder, KontrolaReportsTheErrorAndPutsTheCaretThere)
{
    TSest_FnEditVyraz& b = m_builder;
    b.EditVyraz->setText(QStringLiteral("(1+2"));
    b.BitBtn1->click();
    ASSERT_EQ(m_ui.messages.size(), 1u);
    EXPECT_EQ(m_ui.messages[0].text, QStringLiteral("Chyba : \"Chybí uzavírací závorky\" na pozici 4"));
    EXPECT_EQ(m_ui.messages[0].caption, QStringLiteral("Chyba"));
    EXPECT_EQ(b.EditVyraz->cursorPosition(), 4);

    b.EditVyraz->setText(QStringLiteral("1 + 'abc"));
    b.EditVyraz->setCursorPosition(8);
    b.Kontrola();
    EXPECT_EQ(b.EditVyraz->cursorPosition(), 4);
    EXPECT_FALSE(b.EditVyraz->hasSelectedText());

    b.EditVyraz->setText(QStringLiteral("MAX(1, 2) * 3"));
    b.Kontrola();
    EXPECT_EQ(m_ui.messages.back().text, QStringLiteral("Výraz je v pořádku."));
    EXPECT_EQ(m_ui.messages.back().caption, QStringLiteral("Informace"));
}

TEST_F(ExpressionBuilder, OkGivesTheTextAndStornoNothing)
{
    const ExpressionLists lists{{QStringLiteral("ODD")}, 0, {}, false};
    test::whenShown<TSest_FnEditVyraz>([](TSest_FnEditVyraz& d) {
        d.LBPolozky->setCurrentRow(0);
        d.Vlozit();
        d.OKBtn->click();
    });
    EXPECT_EQ(TSest_FnEditVyraz::Execute(QStringLiteral("2*"), lists), QStringLiteral("2*#1"));
    test::whenShown<TSest_FnEditVyraz>([](TSest_FnEditVyraz& d) { d.CancelBtn->click(); });
    EXPECT_FALSE(TSest_FnEditVyraz::Execute(QStringLiteral("2*"), lists));
}

} // namespace
