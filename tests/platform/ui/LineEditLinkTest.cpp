// Tests of the line edit bound to a field: typing, Enter, Escape and the focus.
#include "platform/ui/LineEditLink.h"

#include "platform/db/MemoryDataSet.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

void type(QLineEdit& edit, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(&edit, &press);
    }
}

void press(QLineEdit& edit, Qt::Key key)
{
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(&edit, &event);
}

TEST(LineEditLink, TypingEditsEnterWritesTheRecordEscapeCancels)
{
    test::MemoryDataSet ds({{QStringLiteral("PSK_P"), db::FieldType::ftFloat, 0}}, {{0.125}, {4.0}});
    ds.Open();
    ds.Fields(0).SetDisplayFormat(QStringLiteral("0.00"));
    db::DataSource source(&ds);
    QLineEdit edit;
    new ui::LineEditLink(&edit, &source, QStringLiteral("PSK_P"));
    EXPECT_EQ(edit.text(), QStringLiteral("0,13"));
    edit.selectAll();
    type(edit, QStringLiteral("7,5"));
    EXPECT_EQ(ds.State(), db::DataSetState::dsEdit);
    press(edit, Qt::Key_Return);
    EXPECT_EQ(ds.State(), db::DataSetState::dsEdit);   // in the record, not yet stored
    EXPECT_EQ(ds.Fields(0).AsFloat(), 7.5);
    EXPECT_EQ(edit.text(), QStringLiteral("7,50"));
    ds.Post();
    EXPECT_EQ(ds.rows()[0][0].toDouble(), 7.5);

    edit.selectAll();
    type(edit, QStringLiteral("9"));
    press(edit, Qt::Key_Escape);
    EXPECT_EQ(ds.State(), db::DataSetState::dsBrowse);
    EXPECT_EQ(edit.text(), QStringLiteral("7,50"));

    // Leaving the edit writes what was typed into the record; moving on stores it.
    QFocusEvent focusIn(QEvent::FocusIn);
    QApplication::sendEvent(&edit, &focusIn);
    EXPECT_EQ(edit.text(), QStringLiteral("7,5"));
    edit.selectAll();
    type(edit, QStringLiteral("2"));
    QFocusEvent focusOut(QEvent::FocusOut);
    QApplication::sendEvent(&edit, &focusOut);
    EXPECT_EQ(ds.Fields(0).AsFloat(), 2.0);
    EXPECT_EQ(edit.text(), QStringLiteral("2,00"));

    ds.Next();
    EXPECT_EQ(edit.text(), QStringLiteral("4,00"));
    EXPECT_EQ(ds.rows()[0][0].toDouble(), 2.0);
}

} // namespace
