// Tests of the edit controls on which Enter moves the focus on, and of their registration.
#include "app/sources/vex/EditControls.h"

#include "platform/db/MemoryDataSet.h"
#include "platform/ui/WidgetClasses.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(EnterMovesFocus, EnterIsTakenAndOtherKeysTypeAsUsual)
{
    QWidget form;
    vex::TKEdit first(&form);
    vex::TKEdit second(&form);
    bool returned = false;
    QObject::connect(&first, &QLineEdit::returnPressed, [&] { returned = true; });
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(&first, &enter);
    EXPECT_TRUE(enter.isAccepted());
    EXPECT_FALSE(returned);
    QKeyEvent letter(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QApplication::sendEvent(&first, &letter);
    EXPECT_EQ(first.text(), QStringLiteral("a"));
}

// A stream names the controls: each of the five is created by its name, in any letter case.
TEST(EditControls, AreCreatedByTheirRegisteredNames)
{
    vex::RegisterEditControls();
    QWidget form;
    const auto create = [&form](const char* name) { return ui::createWidget(QString::fromLatin1(name), &form); };
    EXPECT_NE(dynamic_cast<vex::TKEdit*>(create("TKEdit")), nullptr);
    EXPECT_NE(dynamic_cast<vex::TKMaskEdit*>(create("TKMaskEdit")), nullptr);
    EXPECT_NE(dynamic_cast<vex::TKDBEdit*>(create("tkdbedit")), nullptr);
    EXPECT_NE(dynamic_cast<vex::TKComboBox*>(create("TKComboBox")), nullptr);
    EXPECT_NE(dynamic_cast<vex::TKDBComboBox*>(create("TKDBComboBox")), nullptr);
    EXPECT_EQ(create("TKNeni"), nullptr);
    EXPECT_EQ(form.findChildren<QWidget*>(Qt::FindDirectChildrenOnly).size(), 5);
}

// A form of one field-bound control of each kind and a plain edit after it, shown active so
// that keys go where the focus is.
class DataControlsOnAForm : public ::testing::Test
{
protected:
    DataControlsOnAForm()
        : ds({{QStringLiteral("PLOCHA"), db::FieldType::ftFloat, 0}, {QStringLiteral("FENOTYP"), db::FieldType::ftString, 1}},
             {{0.5, QStringLiteral("A")}}),
          source(&ds)
    {
        ds.Open();
        auto* layout = new QVBoxLayout(&form);
        for (QWidget* w : std::initializer_list<QWidget*>{dbEdit, maskEdit, combo, after})
            layout->addWidget(w);
        dbEdit->SetDataSource(&source);
        dbEdit->SetDataField(QStringLiteral("PLOCHA"));
        combo->addItems({QStringLiteral("A"), QStringLiteral("B")});
        combo->SetDataField(QStringLiteral("FENOTYP"));
        combo->SetDataSource(&source);
        form.show();
        QApplication::setActiveWindow(&form);
    }
    ~DataControlsOnAForm() override { ds.Cancel(); }

    void pressEnter()
    {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }

    test::MemoryDataSet ds;
    db::DataSource source;
    QWidget form;
    vex::TKDBEdit* dbEdit = new vex::TKDBEdit(&form);
    vex::TKMaskEdit* maskEdit = new vex::TKMaskEdit(&form);
    vex::TKDBComboBox* combo = new vex::TKDBComboBox(&form);
    vex::TKEdit* after = new vex::TKEdit(&form);
};

// Enter in a TKDBEdit moves on and does not reach the control as Enter; leaving writes the typed
// value into the record without storing it.
TEST_F(DataControlsOnAForm, EnterInTheFieldEditMovesOnAndWritesTheRecord)
{
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    EXPECT_EQ(dbEdit->text(), QStringLiteral("0,5"));
    bool returned = false;
    QObject::connect(dbEdit, &QLineEdit::returnPressed, [&] { returned = true; });
    dbEdit->setFocus();
    QTest::keyClick(dbEdit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("7,5"));
    pressEnter();
    EXPECT_FALSE(returned);
    EXPECT_EQ(QApplication::focusWidget(), maskEdit);
    EXPECT_EQ(ds.State(), db::DataSetState::dsEdit);
    EXPECT_EQ(ds.FieldByName("PLOCHA").AsFloat(), 7.5);
    EXPECT_EQ(ds.rows()[0][0].toDouble(), 0.5);

    maskEdit->SetEditMask(QStringLiteral("99;_"));
    QTest::keyClicks(maskEdit, QStringLiteral("4x2"));
    EXPECT_EQ(maskEdit->text(), QStringLiteral("42"));
    pressEnter();
    EXPECT_EQ(QApplication::focusWidget(), combo);
    ds.Post();
    EXPECT_EQ(ds.rows()[0][0].toDouble(), 7.5);
}

// An item chosen in the TKDBComboBox is written to its field when Enter moves on.
TEST_F(DataControlsOnAForm, AnItemChosenInTheFieldComboIsWrittenToTheRecord)
{
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    EXPECT_EQ(combo->currentText(), QStringLiteral("A"));
    combo->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(combo->currentText(), QStringLiteral("B"));
    pressEnter();
    EXPECT_EQ(QApplication::focusWidget(), after);
    EXPECT_EQ(ds.FieldByName("FENOTYP").AsString(), QStringLiteral("B"));
    ds.Post();
    EXPECT_EQ(ds.rows()[0][1].toString(), QStringLiteral("B"));
}

} // namespace
