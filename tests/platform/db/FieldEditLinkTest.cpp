// Tests of the field-bound edit logic over a view without widgets.
#include "platform/db/FieldEditLink.h"
#include "platform/db/MemoryDataSet.h"

#include "platform/Exceptions.h"
#include "platform/ui/Services.h"

#include <gtest/gtest.h>

namespace {

// A view that is a string and a focus flag.
struct TextView : db::FieldEditView
{
    QString text() const override { return shown; }
    void setText(const QString& text) override { shown = text; }
    void setReadOnly(bool on) override { isReadOnly = on; }
    bool hasFocus() const override { return isFocused; }

    QString shown;
    bool isReadOnly = false;
    bool isFocused = false;
};

class FieldEdit : public ::testing::Test
{
protected:
    FieldEdit() : ds({{QStringLiteral("PLOCHA"), db::FieldType::ftFloat, 0}}, {{0.125}, {4.0}}), source(&ds)
    {
        ds.Open();
        ds.Fields(0).SetDisplayFormat(QStringLiteral("0.00"));
    }

    // The user focuses the view and types `text` over what it shows.
    void type(db::FieldEditLink& link, const QString& text)
    {
        view.isFocused = true;
        link.focusChanged(true);
        view.shown = text;
        link.textEdited();
    }

    ui::RecordingServices& recorder() { return dynamic_cast<ui::RecordingServices&>(ui::services()); }

    test::MemoryDataSet ds;
    db::DataSource source;
    TextView view;
};

TEST_F(FieldEdit, LeavingWritesTheRecordAndPostStoresIt)
{
    db::FieldEditLink link(view, &source, QStringLiteral("plocha"));
    EXPECT_EQ(view.shown, QStringLiteral("0,13"));
    type(link, QStringLiteral("7,5"));
    EXPECT_EQ(ds.State(), db::DataSetState::dsEdit);
    view.isFocused = false;
    link.focusChanged(false);   // leaving the control writes the record, not the table
    EXPECT_EQ(ds.State(), db::DataSetState::dsEdit);
    EXPECT_EQ(ds.Fields(0).AsFloat(), 7.5);
    EXPECT_EQ(ds.rows()[0][0].toDouble(), 0.125);
    EXPECT_EQ(view.shown, QStringLiteral("7,50"));
    ds.Post();
    EXPECT_EQ(ds.rows()[0][0].toDouble(), 7.5);

    type(link, QStringLiteral("9"));
    link.cancel();
    EXPECT_EQ(ds.State(), db::DataSetState::dsBrowse);
    EXPECT_EQ(view.shown, QStringLiteral("7,5"));   // still focused: the edit text
    ds.Next();
    EXPECT_EQ(view.shown, QStringLiteral("4"));
}

// A text still being typed (the view keeps the focus) is written by whatever stores or leaves
// the record; cancelling the record brings back what is stored.
TEST_F(FieldEdit, TypedTextIsTakenByPostAndMoveAndDroppedByCancel)
{
    db::FieldEditLink link(view, &source, QStringLiteral("PLOCHA"));
    type(link, QStringLiteral("2,5"));
    ds.Post();
    EXPECT_EQ(ds.rows()[0][0].toDouble(), 2.5);
    EXPECT_EQ(view.shown, QStringLiteral("2,5"));

    type(link, QStringLiteral("3"));
    ds.Next();   // a move stores the record it leaves
    EXPECT_EQ(ds.rows()[0][0].toDouble(), 3.0);
    EXPECT_EQ(view.shown, QStringLiteral("4"));

    type(link, QStringLiteral("8"));
    ds.Cancel();
    EXPECT_EQ(ds.rows()[1][0].toDouble(), 4.0);
    EXPECT_EQ(view.shown, QStringLiteral("4"));
    ds.Post();   // nothing pending any more
    EXPECT_EQ(ds.rows()[1][0].toDouble(), 4.0);
}

// A text that does not convert stops storing and leaving the record and stays for correction;
// leaving the control reports it and shows the field's value again.
TEST_F(FieldEdit, AnUnconvertibleTextStopsThePostUntilCorrected)
{
    db::FieldEditLink link(view, &source, QStringLiteral("PLOCHA"));
    const size_t before = recorder().messages.size();
    type(link, QStringLiteral("sedm"));
    EXPECT_THROW(ds.Post(), EConvertError);
    EXPECT_THROW(ds.Next(), EConvertError);
    EXPECT_EQ(ds.RecNo(), 1);
    EXPECT_EQ(view.shown, QStringLiteral("sedm"));
    EXPECT_EQ(ds.rows()[0][0].toDouble(), 0.125);
    view.shown = QStringLiteral("7");
    ds.Post();
    EXPECT_EQ(ds.rows()[0][0].toDouble(), 7.0);

    type(link, QStringLiteral("sedm"));
    EXPECT_FALSE(link.commit());
    ASSERT_EQ(recorder().messages.size(), before + 1);
    EXPECT_EQ(recorder().messages.back().text, QStringLiteral("'sedm' není platné desetinné číslo."));
    EXPECT_EQ(view.shown, QStringLiteral("7"));
    EXPECT_EQ(ds.State(), db::DataSetState::dsEdit);
    ds.Post();
    EXPECT_EQ(ds.rows()[0][0].toDouble(), 7.0);

    // Moving to another row drops the typed text.
    type(link, QStringLiteral("1"));
    ds.Cancel();
    ds.Next();
    EXPECT_EQ(view.shown, QStringLiteral("4"));
    EXPECT_TRUE(link.commit());
    EXPECT_EQ(ds.rows()[1][0].toDouble(), 4.0);
}

TEST_F(FieldEdit, ReadOnlyWithoutAWritableFieldOrDataSet)
{
    ds.writable = false;
    ds.Close();
    ds.Open();
    db::FieldEditLink link(view, &source, QStringLiteral("PLOCHA"));
    EXPECT_TRUE(view.isReadOnly);
    db::FieldEditLink missing(view, &source, QStringLiteral("NENI"));
    EXPECT_TRUE(view.isReadOnly);
    EXPECT_EQ(view.shown, QString());
}

// Typing on an empty dataset would insert a row holding only the typed field.
TEST(FieldEditOnEmpty, ReadOnlyUntilTheDataSetHasARow)
{
    test::MemoryDataSet ds({{QStringLiteral("NAJEMCE"), db::FieldType::ftString, 80}}, {});
    ds.Open();
    db::DataSource source(&ds);
    TextView view;
    db::FieldEditLink link(view, &source, QStringLiteral("NAJEMCE"));
    EXPECT_TRUE(view.isReadOnly);
    ds.Append();
    ds.Fields(0).AsString(QStringLiteral("Lesy obce"));
    ds.Post();
    EXPECT_FALSE(view.isReadOnly);
    EXPECT_EQ(view.shown, QStringLiteral("Lesy obce"));
}

} // namespace
