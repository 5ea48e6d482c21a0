// Tests of the dataset cursor, editing states, events, bookmarks and data-source notifications.
#include "platform/db/MemoryDataSet.h"

#include "platform/db/DataSource.h"
#include "platform/Exceptions.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <memory>
#include <vector>

using db::DataSetState;
using test::MemoryDataSet;

namespace {

// script: F First, L Last, N Next, P Prior, M MoveBy(+5), m MoveBy(-5)
struct CursorCase { const char* name; int rowCount; const char* script; bool bof; bool eof; int recNo; };

class CursorRules : public ::testing::TestWithParam<CursorCase> {};

TEST_P(CursorRules, BofEofAndRow)
{
    const CursorCase& c = GetParam();
    MemoryDataSet ds(test::numberedDefs(), test::numberedRows(c.rowCount));
    ds.Open();
    for (const char* p = c.script; *p; ++p) {
        switch (*p) {
        case 'F': ds.First(); break;
        case 'L': ds.Last(); break;
        case 'N': ds.Next(); break;
        case 'P': ds.Prior(); break;
        case 'M': ds.MoveBy(5); break;
        case 'm': ds.MoveBy(-5); break;
        }
    }
    EXPECT_EQ(ds.Bof(), c.bof);
    EXPECT_EQ(ds.Eof(), c.eof);
    EXPECT_EQ(ds.RecNo(), c.recNo);
}

INSTANTIATE_TEST_SUITE_P(
    DataSet, CursorRules,
    ::testing::Values(
        CursorCase{"EmptyOpen", 0, "", true, true, 0},
        CursorCase{"EmptyNextPrior", 0, "NP", true, true, 0},
        CursorCase{"OpenIsBofNotEof", 3, "", true, false, 1},
        CursorCase{"NextPastLastKeepsLastRow", 3, "NNN", false, true, 3},
        CursorCase{"PriorFromEofClearsIt", 3, "NNNP", false, false, 2},
        CursorCase{"PriorOnFirstRowIsBof", 3, "NPP", true, false, 1},
        CursorCase{"LastSetsEof", 3, "L", false, true, 3},
        CursorCase{"MoveByPastEnd", 3, "M", false, true, 3},
        CursorCase{"MoveByPastStart", 3, "Lm", true, false, 1},
        CursorCase{"SingleRowNext", 1, "N", false, true, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DataSet, FieldByNameIgnoresCaseAndNamesTheMissingField)
{
    MemoryDataSet ds(test::numberedDefs(), test::numberedRows(1));
    ds.Open();
    EXPECT_EQ(&ds.FieldByName(QStringLiteral("name")), &ds.Fields(1));
    EXPECT_EQ(ds.FindField(QStringLiteral("X")), nullptr);
    try {
        ds.FieldByName(QStringLiteral("X"));
        FAIL() << "no exception";
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Pole 'X' nebylo nalezeno"));
    }
    EXPECT_THROW(ds.Fields(0).AsInteger(5), EDatabaseError);   // not in edit state
    // Field settings survive close and open.
    ds.FieldByName(QStringLiteral("ID")).SetDisplayFormat(QStringLiteral("0.00"));
    ds.Close();
    EXPECT_EQ(ds.State(), DataSetState::dsInactive);
    ds.Open();
    EXPECT_EQ(ds.FieldByName(QStringLiteral("ID")).DisplayText(), QStringLiteral("10,00"));
}

// Callers keep fields while the stamp stays: it changes with every opening, never with rows.
TEST(DataSet, FieldsStampChangesWithEveryOpeningOnly)
{
    MemoryDataSet ds(test::numberedDefs(), test::numberedRows(2));
    MemoryDataSet other(test::numberedDefs(), test::numberedRows(2));
    ds.Open();
    other.Open();
    const quint64 opened = ds.fieldsStamp();
    EXPECT_NE(opened, other.fieldsStamp());
    ds.Next();
    ds.Edit();
    ds.Fields(0).AsInteger(5);
    ds.Post();
    EXPECT_EQ(ds.fieldsStamp(), opened);
    ds.Close();
    ds.Open();
    EXPECT_NE(ds.fieldsStamp(), opened);
    EXPECT_NE(ds.fieldsStamp(), other.fieldsStamp());
}

// The engine's language drivers matched field names ignoring the case of every letter.
TEST(DataSet, FieldNamesMatchIgnoringTheCaseOfEveryLetter)
{
    const std::vector<db::FieldDef> defs = {{QStringLiteral("Währung"), db::FieldType::ftString, 3},
                                            {QStringLiteral("ČÍSLO"), db::FieldType::ftInteger, 0},
                                            {QStringLiteral("Цена"), db::FieldType::ftFloat, 0}};
    MemoryDataSet ds(defs, {{QStringLiteral("CZK"), 7, 1.5}});
    ds.Open();
    EXPECT_EQ(ds.FindField(QStringLiteral("WÄHRUNG")), &ds.Fields(0));
    EXPECT_EQ(&ds.FieldByName(QStringLiteral("číslo")), &ds.Fields(1));
    EXPECT_EQ(&ds.FieldByName(QStringLiteral("цЕНА")), &ds.Fields(2));
    EXPECT_EQ(ds.FindField(QStringLiteral("CISLO")), nullptr);

    db::FieldDefs list;
    for (const db::FieldDef& d : defs)
        list.Add(d.Name, d.DataType, d.Size);
    EXPECT_EQ(list.IndexOf(QStringLiteral("währung")), 0);
    EXPECT_EQ(list.IndexOf(QStringLiteral("číslo")), 1);
}

TEST(DataSet, EventsOfEditAndPostComeInOrder)
{
    MemoryDataSet ds(test::numberedDefs(), test::numberedRows(2));
    QStringList log;
    ds.BeforeEdit = [&](db::DataSet&) { log << "BeforeEdit"; };
    ds.AfterEdit = [&](db::DataSet&) { log << "AfterEdit"; };
    ds.BeforePost = [&](db::DataSet&) { log << "BeforePost"; };
    ds.AfterPost = [&](db::DataSet&) { log << "AfterPost"; };
    ds.Open();
    ds.FieldByName(QStringLiteral("NAME")).OnChange = [&](db::Field& f) { log << "Change " + f.AsString(); };
    ds.Edit();
    ds.FieldByName(QStringLiteral("NAME")).AsString(QStringLiteral("nový"));
    ds.Post();
    EXPECT_EQ(log, (QStringList{"BeforeEdit", "AfterEdit", "Change nový", "BeforePost", "AfterPost"}));
    EXPECT_EQ(ds.rows()[0][1].toString(), QStringLiteral("nový"));
    EXPECT_EQ(ds.State(), DataSetState::dsBrowse);
}

TEST(DataSet, MovingWhileEditingPostsAModifiedRecordAndCancelsAnUntouchedOne)
{
    MemoryDataSet ds(test::numberedDefs(), test::numberedRows(3));
    ds.Open();
    ds.Edit();
    ds.Next();
    EXPECT_EQ(ds.writes, 0);
    ds.Edit();
    ds.Fields(0).AsInteger(99);
    ds.Next();
    EXPECT_EQ(ds.writes, 1);
    EXPECT_EQ(ds.rows()[1][0].toInt(), 99);
    EXPECT_EQ(ds.RecNo(), 3);
}

TEST(DataSet, EditOnAnEmptySetInserts)
{
    MemoryDataSet ds(test::numberedDefs(), {});
    ds.Open();
    ds.Edit();
    EXPECT_EQ(ds.State(), DataSetState::dsInsert);
    EXPECT_FALSE(ds.IsEmpty());
    EXPECT_EQ(ds.RecordCount(), 0);
    ds.Fields(0).AsInteger(1);
    ds.Post();
    EXPECT_EQ(ds.RecordCount(), 1);
}

TEST(DataSet, CancelledInsertReturnsToThePreviousRowAndDeleteMovesOn)
{
    MemoryDataSet ds(test::numberedDefs(), test::numberedRows(3));
    ds.Open();
    ds.Next();
    ds.Insert();
    ds.Fields(0).AsInteger(5);
    ds.Cancel();
    EXPECT_EQ(ds.RecNo(), 2);
    EXPECT_EQ(ds.RecordCount(), 3);
    EXPECT_EQ(ds.writes, 0);
    // Delete moves to the following row or the new last.
    ds.Delete();
    EXPECT_EQ(ds.Fields(0).AsInteger(), 30);
    ds.Delete();
    EXPECT_EQ(ds.Fields(0).AsInteger(), 10);
    ds.Delete();
    EXPECT_TRUE(ds.IsEmpty());
    EXPECT_TRUE(ds.Bof() && ds.Eof());
    EXPECT_THROW(ds.Delete(), EDatabaseError);
}

TEST(DataSet, BookmarksFollowTheRecordAndDieWithIt)
{
    MemoryDataSet ds(test::numberedDefs(), test::numberedRows(3));
    ds.Open();
    ds.Next();
    db::Bookmark b = ds.GetBookmark();
    ds.Last();
    ds.GotoBookmark(b);
    EXPECT_EQ(ds.Fields(0).AsInteger(), 20);
    ds.Delete();
    EXPECT_FALSE(ds.BookmarkValid(b));
    EXPECT_THROW(ds.GotoBookmark(b), EDatabaseError);
    ds.FreeBookmark(b);
    EXPECT_TRUE(b.isNull());
}

TEST(DataSet, DisabledControlsHoldNotificationsUntilEnabled)
{
    MemoryDataSet ds(test::numberedDefs(), test::numberedRows(3));
    ds.Open();
    db::DataSource source(&ds);
    int changes = 0;
    source.OnDataChange = [&](db::DataSource&, db::Field*) { ++changes; };
    ds.DisableControls();
    ds.DisableControls();
    ds.Next();
    ds.Next();
    ds.EnableControls();
    EXPECT_EQ(changes, 0);
    ds.EnableControls();
    EXPECT_EQ(changes, 1);
    ds.Prior();
    EXPECT_EQ(changes, 2);
}

TEST(DataSet, APostInsideBeforePostIsNotRepeated)
{
    // A handler may post the record itself (detaching itself first) and put it back into edit.
    MemoryDataSet ds(test::numberedDefs(), test::numberedRows(1));
    ds.Open();
    ds.BeforePost = [&](db::DataSet& d) {
        auto self = d.BeforePost;
        d.BeforePost = nullptr;
        d.Post();
        d.Edit();
        d.BeforePost = self;
    };
    ds.Edit();
    ds.Fields(0).AsInteger(77);
    ds.Post();
    EXPECT_EQ(ds.rows()[0][0].toInt(), 77);
    EXPECT_EQ(ds.State(), DataSetState::dsBrowse);
    EXPECT_EQ(ds.RecordCount(), 1);
}

TEST(DataSet, DataSourceFollowsItsDataSetAndOutlivesIt)
{
    db::DataSource source;
    int changes = 0;
    source.OnDataChange = [&](db::DataSource&, db::Field*) { ++changes; };
    {
        MemoryDataSet ds(test::numberedDefs(), test::numberedRows(2));
        source.SetDataSet(&ds);
        ds.Open();
        EXPECT_EQ(source.State(), DataSetState::dsBrowse);
    }
    EXPECT_EQ(source.dataSet(), nullptr);
    EXPECT_GE(changes, 2);
}

// Records the scrolls it hears; on its first one it may let another link go.
class ScrollLink : public db::DataLink
{
public:
    int scrolls = 0;
    ScrollLink* detachOnFirst = nullptr;

protected:
    void dataEvent(db::DataEvent event, db::Field*) override
    {
        if (event != db::DataEvent::DataSetScroll)
            return;
        if (++scrolls == 1 && detachOnFirst)
            detachOnFirst->setDataSource(nullptr);
    }
};

// Every link of a source hears a scroll once, more links than fit beside the call too; a link
// let go by an earlier one during the event hears nothing more, a link added later hears the next.
TEST(DataSet, ALinkLetGoDuringAnEventHearsNoMoreOfIt)
{
    MemoryDataSet ds(test::numberedDefs(), test::numberedRows(3));
    ds.Open();
    db::DataSource source(&ds);
    std::vector<std::unique_ptr<ScrollLink>> links;
    for (int i = 0; i < 12; ++i) {
        links.push_back(std::make_unique<ScrollLink>());
        links.back()->setDataSource(&source);
    }
    links[2]->detachOnFirst = links[9].get();
    ds.Next();
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(links[size_t(i)]->scrolls, i == 9 ? 0 : 1) << i;
    ScrollLink late;
    late.setDataSource(&source);
    ds.Next();
    EXPECT_EQ(late.scrolls, 1);
    EXPECT_EQ(links[9]->scrolls, 0);
    EXPECT_EQ(links[0]->scrolls, 2);
}

} // namespace
