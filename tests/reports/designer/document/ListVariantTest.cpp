// Tests of the designer's undo list: depth, trimming, captions and hints.
#include "reports/designer/document/ListVariant.h"

#include <gtest/gtest.h>

using namespace reports::designer;

namespace {

// Entries are told apart by the caption of the change that made them.
void push(TListVariant& list, int n)
{
    for (int i = 0; i < n; ++i)
        list.Push(QStringLiteral("krok ") + QString::number(list.Count()), {});
}

QStringList captions(const TListVariant& list)
{
    QStringList out;
    for (int i = 0; i < list.Count(); ++i)
        out << list.Caption(i);
    return out;
}

} // namespace

TEST(ListVariant, DepthOneKeepsOnlyTheLatestChange)
{
    TListVariant list;
    list.SetDepth(0);   // below 1 counts as 1
    EXPECT_EQ(list.Depth(), 1);
    push(list, 3);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_FALSE(list.CanUndo());
    EXPECT_FALSE(list.CanRedo());
    EXPECT_EQ(list.UndoHint(), QStringLiteral("Zrušit změny"));
    EXPECT_EQ(list.RedoHint(), QStringLiteral("Znovu změny"));
}

TEST(ListVariant, TenthChangeDropsTheBaseEntry)
{
    TListVariant list;
    push(list, 9);
    EXPECT_EQ(list.Caption(0), QStringLiteral("Základní varianta"));
    push(list, 1);
    EXPECT_EQ(list.Count(), 10);
    EXPECT_NE(list.Caption(0), QStringLiteral("Základní varianta"));
    int steps = 0;
    while (list.StepBack())
        ++steps;
    EXPECT_EQ(steps, 9);
}

TEST(ListVariant, NewChangeAfterUndoLosesTheRedoSteps)
{
    TListVariant list;
    push(list, 3);
    ASSERT_TRUE(list.StepBack());
    ASSERT_TRUE(list.StepBack());
    EXPECT_EQ(list.RedoHint(), QStringLiteral("Znovu krok 2"));
    EXPECT_EQ(list.UndoHint(), QStringLiteral("Zrušit krok 1"));
    list.Push(QStringLiteral("nový"), {});
    EXPECT_FALSE(list.CanRedo());
    EXPECT_EQ(captions(list), QStringList({QStringLiteral("Základní varianta"), QStringLiteral("krok 1"),
                                           QStringLiteral("nový")}));
}

TEST(ListVariant, LoweringTheDepthDropsOldestThenRedoSteps)
{
    TListVariant newest;
    push(newest, 5);
    newest.SetDepth(3);
    EXPECT_EQ(captions(newest), QStringList({QStringLiteral("krok 3"), QStringLiteral("krok 4"), QStringLiteral("krok 5")}));
    EXPECT_EQ(newest.CurrentIndex(), 2);

    TListVariant older;
    push(older, 5);
    for (int i = 0; i < 4; ++i)
        older.StepBack();   // current is entry 1
    older.SetDepth(2);
    EXPECT_EQ(captions(older), QStringList({QStringLiteral("krok 1"), QStringLiteral("krok 2")}));
    EXPECT_EQ(older.CurrentIndex(), 0);
}

TEST(ListVariant, CaptionsAreCutAndSaveKeepsOnlyTheCurrentEntry)
{
    TListVariant list;
    list.Push(QString(40, QLatin1Char('a')), {}, QStringLiteral("k"));
    EXPECT_EQ(list.Caption(1).size(), 32);
    push(list, 2);
    list.StepBack();
    list.KeepCurrentOnly();
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Caption(0), QStringLiteral("krok 2"));
    EXPECT_FALSE(list.CanUndo());
    EXPECT_FALSE(list.CanRedo());
}

TEST(ListVariant, OnlyTheNewestEntryOfTheSameKeyMerges)
{
    TListVariant list;
    list.Push(QStringLiteral("posun"), {}, QStringLiteral("x"));
    EXPECT_TRUE(list.Merge(QStringLiteral("x"), {}));
    EXPECT_FALSE(list.Merge(QStringLiteral("y"), {}));
    EXPECT_FALSE(list.Merge(QString(), {}));
    list.StepBack();
    EXPECT_FALSE(list.Merge(QStringLiteral("x"), {}));   // the base entry never merges
    list.StepForward();
    list.KeepCurrentOnly();
    EXPECT_FALSE(list.Merge(QStringLiteral("x"), {}));   // a saved entry stays as saved
    EXPECT_EQ(list.Count(), 1);
}
