// Tests of the field-bound edit logic over a view without widgets.
#include "platform/db/FieldEditLink.h"
#include "platform/db/MemoryDataSet.h"

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

TEST_F(FieldEdit, ShowsEditsAndPostsThroughTheDataSet)
{
    db::FieldEditLink link(view, &source, QStringLiteral("plocha"));
    EXPECT_EQ(view.shown, QStringLiteral("0,13"));
    type(link, QStringLiteral("7,5"));
    EXPECT_EQ(ds.State(), db::DataSetState::dsEdit);
    view.isFocused = false;
    link.focusChanged(false);   // leaving the control posts
    EXPECT_EQ(ds.State(), db::DataSetState::dsBrowse);
    EXPECT_EQ(ds.rows()[0][0].toDouble(), 7.5);
    EXPECT_EQ(view.shown, QStringLiteral("7,50"));

    type(link, QStringLiteral("9"));
    link.cancel();
    EXPECT_EQ(ds.State(), db::DataSetState::dsBrowse);
    EXPECT_EQ(view.shown, QStringLiteral("7,5"));   // still focused: the edit text
    ds.Next();
    EXPECT_EQ(view.shown, QStringLiteral("4"));
}

TEST_F(FieldEdit, FailedPostReportsAndShowsTheStoredValue)
{
    db::FieldEditLink link(view, &source, QStringLiteral("PLOCHA"));
    const size_t before = recorder().messages.size();
    type(link, QStringLiteral("sedm"));
    EXPECT_FALSE(link.commit());
    EXPECT_EQ(recorder().messages.size(), before + 1);
    EXPECT_EQ(ds.State(), db::DataSetState::dsBrowse);
    EXPECT_EQ(view.shown, QStringLiteral("0,125"));

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
