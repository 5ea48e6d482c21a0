// Tests of db::Table over generated Paradox tables: location, orders, ranges, keys, links, writes.
#include "platform/db/Table.h"

#include "platform/db/paradox/ParadoxFile.h"
#include "platform/Exceptions.h"
#include "platform/ui/Services.h"
#include "support/ParadoxFixture.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMultiMap>
#include <QTemporaryDir>

#include <algorithm>
#include <functional>
#include <numeric>
#include <typeinfo>

using db::FieldType;
using db::Table;

namespace {

class TableTest : public ::testing::Test
{
protected:
    QString write(const QString& name, const QList<test::FixtureField>& fields,
                  const QList<QVariantList>& rows, const test::FixtureOptions& options = {})
    {
        const QString path = m_dir.filePath(name);
        test::writeParadoxTable(path, fields, rows, options);
        return path;
    }

    // NAVRH.DB: proposals of storeys (Vazba = storey ID) by kind, written out of order.
    QString writeNavrh()
    {
        return write(QStringLiteral("NAVRH.DB"),
                     {{"Vazba", "N"}, {"ID", "N"}, {"N_Druh_vykonu", "S"}, {"N_Zkratka_dreviny", "A", 3}},
                     {{7.0, 5.0, 11, "SM"}, {7.0, 1.0, 10, "BK"}, {8.0, 2.0, 10, "DB"}, {7.0, 3.0, 10, "SM"},
                      {7.0, 4.0, 2, "JD"}, {6.0, 6.0, 10, "BO"}, {7.0, 7.0, 12, "SM"}});
    }

    void open(Table& t, const QString& name, const QString& index = QString())
    {
        t.SetDatabaseName(dir());
        t.SetTableName(name);
        t.SetIndexFieldNames(index);
        t.Open();
    }

    static QStringList column(Table& t, const char* field)
    {
        QStringList values;
        for (t.First(); !t.Eof(); t.Next())
            values << t.FieldByName(QString::fromUtf8(field)).AsString();
        return values;
    }

    QString dir() const { return m_dir.path(); }

    static test::FixtureOptions keyed(int keyFields)
    {
        test::FixtureOptions options;
        options.keyFields = keyFields;
        return options;
    }

    QTemporaryDir m_dir;
};

TEST_F(TableTest, OpensByDirectoryOrFullPathIgnoringCaseAndExtension)
{
    write(QStringLiteral("ODDELENI.DB"), {{"ODD", "S"}}, {{1}, {2}});
    Table byName;
    open(byName, QStringLiteral("oddeleni"));
    EXPECT_EQ(byName.RecordCount(), 2);

    Table byPath;
    byPath.SetTableName(QDir::toNativeSeparators(dir()).replace(QLatin1Char('/'), QLatin1Char('\\'))
                        + QStringLiteral("\\Oddeleni.db"));
    byPath.Open();
    EXPECT_EQ(byPath.FieldByName(QStringLiteral("odd")).AsInteger(), 1);

    Table missing;
    missing.SetDatabaseName(dir());
    missing.SetTableName(QStringLiteral("NIC.DB"));
    EXPECT_THROW(missing.Open(), EDatabaseError);
    EXPECT_FALSE(missing.Active());
}

// Stored names use "\\" and any letter case, in folders as in file names.
TEST_F(TableTest, FoldersAndFilesAreMatchedIgnoringCase)
{
    ASSERT_TRUE(QDir(dir()).mkpath(QStringLiteral("ciselnik")));
    write(QStringLiteral("ciselnik/CIS_LT.db"), {{"KOD", "A", 4}}, {{"1a"}});
    Table relative;
    relative.SetDatabaseName(dir());
    relative.SetTableName(QStringLiteral("CISELNIK\\Cis_LT.DB"));
    relative.Open();
    EXPECT_EQ(relative.Fields(0).AsString(), QStringLiteral("1a"));
    Table inFolder;
    inFolder.SetDatabaseName(dir() + QStringLiteral("/CISELNIK"));
    inFolder.SetTableName(QStringLiteral("cis_lt"));
    inFolder.Open();
    EXPECT_EQ(inFolder.Fields(0).AsString(), QStringLiteral("1a"));
}

TEST_F(TableTest, DeclaredFieldMissingIsADistinctError)
{
    write(QStringLiteral("BEZLESI.DB"), {{"VAZBA", "N"}, {"ID", "N"}}, {{1.0, 2.0}});
    Table t;
    t.SetDatabaseName(dir());
    t.SetTableName(QStringLiteral("BEZLESI.DB"));
    t.FieldDefs().Add(QStringLiteral("vazba"), FieldType::ftFloat);
    t.FieldDefs().Add(QStringLiteral("Vyuziti"), FieldType::ftString, 2);
    try {
        t.Open();
        FAIL() << "opened";
    } catch (const db::EDeclaredFieldMissing& e) {
        EXPECT_EQ(e.fieldName(), QStringLiteral("Vyuziti"));
    }
    EXPECT_FALSE(t.Active());
    t.FieldDefs().Clear();
    t.FieldDefs().Add(QStringLiteral("ID"), FieldType::ftFloat);
    t.Open();
    EXPECT_EQ(t.FieldCount(), 2);
}

TEST_F(TableTest, FieldNamesIgnoreTheCaseOfEveryLetter)
{
    write(QStringLiteral("MENY.DB"), {{"Währung", "A", 3}, {"ČÍSLO", "N"}},
          {{"EUR", 2.0}, {"CZK", 1.0}, {"USD", 3.0}});
    Table t;
    t.FieldDefs().Add(QStringLiteral("WÄHRUNG"), FieldType::ftString, 3);
    open(t, QStringLiteral("MENY"), QStringLiteral("číslo"));
    EXPECT_EQ(column(t, "währung"), (QStringList{"CZK", "EUR", "USD"}));
    t.SetIndexFieldNames(QStringLiteral("WÄHRUNG"));
    EXPECT_EQ(column(t, "Číslo"), (QStringList{"1", "2", "3"}));
}

TEST_F(TableTest, NamedOrdersAreStableOverThePhysicalOrder)
{
    writeNavrh();
    Table t;
    open(t, QStringLiteral("NAVRH"), QStringLiteral("Vazba"));
    EXPECT_EQ(column(t, "ID"), (QStringList{"6", "5", "1", "3", "4", "7", "2"}));
    t.SetIndexFieldNames(QStringLiteral("Vazba;N_Druh_vykonu;ID"));
    EXPECT_EQ(column(t, "ID"), (QStringList{"6", "4", "1", "3", "5", "7", "2"}));
    t.SetIndexName(QString());   // unkeyed: the physical order
    EXPECT_EQ(column(t, "ID"), (QStringList{"5", "1", "2", "3", "4", "6", "7"}));
    EXPECT_THROW(t.SetIndexName(QStringLiteral("NEEXISTUJE")), EDatabaseError);
}

// Enough rows for a sort that is not stable by itself: equal keys (texts differing in case
// only, NULLs) stay in the physical order.
TEST_F(TableTest, LongOrdersKeepEqualKeysInThePhysicalOrder)
{
    QList<QVariantList> rows;
    for (int i = 0; i < 300; ++i) {
        const int storey = (i * 7) % 5;
        rows.append({storey == 0 ? QVariant() : QVariant(double(storey)), i % 3 == 0 ? "a" : "A", double(i)});
    }
    write(QStringLiteral("NAVRH.DB"), {{"Vazba", "N"}, {"Kod", "A", 1}, {"ID", "N"}}, rows);
    // "a" and "A" are one key: both orders list the rows by Vazba alone, NULL first.
    const QStringList expected = [&rows] {
        QList<int> order(rows.size());
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            const double va = rows[a][0].isValid() ? rows[a][0].toDouble() : -1;
            const double vb = rows[b][0].isValid() ? rows[b][0].toDouble() : -1;
            return va < vb;
        });
        QStringList ids;
        for (const int r : order)
            ids << QString::number(r);
        return ids;
    }();
    Table t;
    open(t, QStringLiteral("NAVRH"), QStringLiteral("Vazba"));
    EXPECT_EQ(column(t, "ID"), expected);
    t.SetIndexFieldNames(QStringLiteral("Vazba;Kod"));
    EXPECT_EQ(column(t, "ID"), expected);
}

TEST_F(TableTest, CompositeRangeOnTheLeadingFields)
{
    writeNavrh();
    Table t;
    open(t, QStringLiteral("NAVRH"), QStringLiteral("Vazba;N_Druh_vykonu;ID"));
    auto range = [&](int storey, int firstKind, int lastKind) {
        t.SetRangeStart();
        t.FieldByName(QStringLiteral("VAZBA")).AsInteger(storey);
        t.FieldByName(QStringLiteral("N_Druh_vykonu")).AsInteger(firstKind);
        t.FieldByName(QStringLiteral("ID")).AsInteger(0);
        t.SetRangeEnd();
        t.FieldByName(QStringLiteral("VAZBA")).AsInteger(storey);
        t.FieldByName(QStringLiteral("N_Druh_vykonu")).AsInteger(lastKind);
        t.FieldByName(QStringLiteral("ID")).AsInteger(900000);
        t.ApplyRange();
    };
    range(7, 10, 10);
    EXPECT_EQ(column(t, "ID"), (QStringList{"1", "3"}));
    range(7, 0, 7);
    EXPECT_EQ(column(t, "ID"), (QStringList{"4"}));
    range(9, 10, 10);
    EXPECT_TRUE(t.IsEmpty());
    EXPECT_TRUE(t.Bof() && t.Eof());
    t.SetRange({7.0}, {8.0});   // one leading field only
    EXPECT_EQ(column(t, "ID"), (QStringList{"4", "1", "3", "5", "7", "2"}));
    t.CancelRange();
    EXPECT_EQ(t.RecordCount(), 7);
}

// SetRangeEnd forgets every field of the earlier end; EditRangeEnd keeps them and changes one.
TEST_F(TableTest, RangeKeysAreClearedBySetAndKeptByEdit)
{
    writeNavrh();
    Table t;
    open(t, QStringLiteral("NAVRH"), QStringLiteral("Vazba;N_Druh_vykonu;ID"));
    t.SetRange({7.0, 10, 0.0}, {7.0, 10, 900000.0});
    EXPECT_EQ(column(t, "ID"), (QStringList{"1", "3"}));
    t.EditRangeEnd();
    t.FieldByName(QStringLiteral("ID")).AsInteger(2);
    t.ApplyRange();
    EXPECT_EQ(column(t, "ID"), (QStringList{"1"}));
    t.SetRangeStart();
    t.FieldByName(QStringLiteral("VAZBA")).AsInteger(7);
    t.SetRangeEnd();
    t.FieldByName(QStringLiteral("VAZBA")).AsInteger(7);
    t.ApplyRange();   // the ID and kind of the earlier keys no longer count
    EXPECT_EQ(column(t, "ID"), (QStringList{"4", "1", "3", "5", "7"}));
}

// A range of numbers shows the rows, values and cursor of the same range given as variants, also
// after the rows change and when its keys are edited afterwards.
TEST_F(TableTest, NumberRangeShowsTheRowsOfTheVariantRange)
{
    writeNavrh();
    Table byVariant, byNumber, writer;
    const QString order = QStringLiteral("Vazba;N_Druh_vykonu;ID");
    open(byVariant, QStringLiteral("NAVRH"), order);
    open(byNumber, QStringLiteral("NAVRH"), order);
    open(writer, QStringLiteral("NAVRH"));
    auto rows = [](Table& t) {
        QStringList out{QString::number(t.RecordCount()) + (t.Bof() ? "B" : "") + (t.Eof() ? "E" : "")};
        for (t.First(); !t.Eof(); t.Next()) {
            QStringList values;
            for (int i = 0; i < t.FieldCount(); ++i)
                values << t.Fields(i).AsString();
            out << values.join(QLatin1Char('|'));
        }
        return out;
    };
    const std::vector<std::pair<std::vector<double>, std::vector<double>>> ranges = {
        {{7, 10, 0}, {7, 10, 900000}}, {{7, 10, 3}, {7, 10, 3}}, {{7, 12, 0}, {7, 11, 900000}},
        {{-5}, {6}}, {{6.5}, {7.5}}, {{7, 9.5, 0}, {7, 10.5, 900000}}, {{7, 10.5}, {7, 11.5}},
        {{7, 2, 4.5}, {7, 2, 4.5}}, {{8}, {7}}, {{}, {7, 2}}, {{7}, {}}};
    auto compareAll = [&](const char* when) {
        for (const auto& [start, end] : ranges) {
            QVariantList startValues(start.begin(), start.end());
            QVariantList endValues(end.begin(), end.end());
            byVariant.SetRange(startValues, endValues);
            byNumber.SetNumberRange(start, end);
            EXPECT_EQ(rows(byNumber), rows(byVariant)) << when << " " << startValues.size() << " " << start.front();
            byVariant.Last();
            byNumber.Last();
        }
    };
    compareAll("read");
    writer.Append();
    writer.FieldByName(QStringLiteral("Vazba")).AsFloat(7);
    writer.FieldByName(QStringLiteral("ID")).AsFloat(8);
    writer.FieldByName(QStringLiteral("N_Druh_vykonu")).AsInteger(10);
    writer.Post();
    byVariant.SetRange({7.0, 10, 0.0}, {7.0, 10, 900000.0});
    byNumber.SetNumberRange(std::vector<double>{7, 10, 0}, std::vector<double>{7, 10, 900000});
    writer.First();
    writer.Delete();   // the first physical row: storey 7, kind 11
    byVariant.Refresh();
    byNumber.Refresh();
    EXPECT_EQ(rows(byNumber), rows(byVariant));
    compareAll("changed");
    byVariant.SetRange({7.0, 10, 0.0}, {7.0, 12, 900000.0});
    byNumber.SetNumberRange(std::vector<double>{7, 10, 0}, std::vector<double>{7, 12, 900000});
    const QStringList unedited = rows(byNumber);
    for (Table* t : {&byVariant, &byNumber}) {
        t->EditRangeEnd();
        t->FieldByName(QStringLiteral("N_Druh_vykonu")).AsInteger(10);
        t->ApplyRange();
    }
    EXPECT_EQ(rows(byNumber), rows(byVariant));
    EXPECT_NE(rows(byNumber), unedited);   // the edit kept the storey and start, and took effect
}

TEST_F(TableTest, NullNumbersSortFirstWhenReadAndWhenPosted)
{
    write(QStringLiteral("ZASOBY.DB"), {{"Objem", "N"}, {"Kod", "A", 2}},
          {{3.0, "c"}, {QVariant(), "n"}, {-1.0, "a"}});
    Table t;
    open(t, QStringLiteral("ZASOBY"), QStringLiteral("Objem;Kod"));
    EXPECT_EQ(column(t, "Kod"), (QStringList{"n", "a", "c"}));
    const QList<QVariantList> posts = {{2.0, "b"}, {QVariant(), "m"}, {-1.0, "0"}};
    for (const QVariantList& values : posts) {
        t.Append();
        if (values[0].isValid())
            t.FieldByName(QStringLiteral("Objem")).Value(values[0]);
        t.FieldByName(QStringLiteral("Kod")).AsString(values[1].toString());
        t.Post();
    }
    EXPECT_EQ(column(t, "Kod"), (QStringList{"m", "n", "0", "a", "b", "c"}));
    EXPECT_TRUE(t.FindKey({2.0}));
    EXPECT_EQ(t.FieldByName(QStringLiteral("Kod")).AsString(), QStringLiteral("b"));
    EXPECT_TRUE(t.FindKey({QVariant(), QStringLiteral("n")}));
    EXPECT_EQ(t.RecNo(), 2);
}

TEST_F(TableTest, FindKeyMissLeavesTheCursorWhereItWas)
{
    writeNavrh();
    Table t;
    open(t, QStringLiteral("NAVRH"), QStringLiteral("ID"));
    t.MoveBy(2);
    EXPECT_FALSE(t.FindKey({99}));
    EXPECT_EQ(t.RecNo(), 3);
    EXPECT_TRUE(t.FindKey({5}));
    EXPECT_EQ(t.FieldByName(QStringLiteral("N_Druh_vykonu")).AsInteger(), 11);
    t.SetKey();
    t.FieldByName(QStringLiteral("ID")).AsFloat(2);
    EXPECT_TRUE(t.GotoKey());
    EXPECT_EQ(t.FieldByName(QStringLiteral("N_Zkratka_dreviny")).AsString(), QStringLiteral("DB"));
    t.FindNearest({4.5});
    EXPECT_EQ(t.FieldByName(QStringLiteral("ID")).AsInteger(), 5);
    t.FindNearest({100});
    EXPECT_EQ(t.RecNo(), 7);
}

// ODDELENI (ID) > DILEC (VAZBA, ID) > POROST (VAZBA, POR).
class MasterDetailChain : public TableTest
{
protected:
    void SetUp() override
    {
        write(QStringLiteral("ODDELENI.DB"), {{"ODD", "S"}, {"ID", "N"}}, {{1, 100.0}, {2, 200.0}, {3, 300.0}});
        write(QStringLiteral("DILEC.DB"), {{"VAZBA", "N"}, {"DIL", "A", 1}, {"ID", "N"}},
              {{200.0, "a", 21.0}, {100.0, "a", 11.0}, {100.0, "b", 12.0}, {200.0, "b", 22.0}});
        write(QStringLiteral("POROST.DB"), {{"VAZBA", "N"}, {"POR", "A", 1}},
              {{12.0, "1"}, {11.0, "1"}, {21.0, "1"}, {11.0, "2"}, {22.0, "1"}, {22.0, "2"}, {22.0, "3"}});
        open(odd, QStringLiteral("ODDELENI"));
        open(dil, QStringLiteral("DILEC"), QStringLiteral("VAZBA"));
        open(por, QStringLiteral("POROST"), QStringLiteral("VAZBA"));
        dil.SetMasterSource(&oddSource);
        dil.SetMasterFields(QStringLiteral("ID"));
        por.SetMasterSource(&dilSource);
        por.SetMasterFields(QStringLiteral("ID"));
    }

    QString stands()
    {
        QStringList all;
        for (dil.First(); !dil.Eof(); dil.Next())
            all << dil.FieldByName(QStringLiteral("DIL")).AsString() + QLatin1Char(':')
                    + column(por, "POR").join(QLatin1Char(','));
        return all.join(QLatin1Char(' '));
    }

    Table odd, dil, por;
    db::DataSource oddSource{&odd};
    db::DataSource dilSource{&dil};
};

TEST_F(MasterDetailChain, EveryLevelRefiltersOnEachMasterMove)
{
    EXPECT_EQ(stands(), QStringLiteral("a:1,2 b:1"));
    odd.Next();
    EXPECT_EQ(stands(), QStringLiteral("a:1 b:1,2,3"));
    odd.Next();
    EXPECT_TRUE(dil.IsEmpty());
    EXPECT_TRUE(por.IsEmpty());
    odd.Prior();
    EXPECT_EQ(dil.RecordCount(), 2);
    EXPECT_EQ(por.FieldByName(QStringLiteral("VAZBA")).AsInteger(), 21);
    // A closed master empties the detail.
    odd.Close();
    EXPECT_TRUE(dil.IsEmpty());
    EXPECT_TRUE(por.IsEmpty());
    odd.Open();
    EXPECT_EQ(dil.RecordCount(), 2);
}

TEST_F(MasterDetailChain, DetailGoesToItsFirstRowOnEveryMasterMove)
{
    dil.Last();
    EXPECT_EQ(por.RecordCount(), 1);
    odd.Next();
    odd.Prior();
    EXPECT_EQ(dil.RecNo(), 1);
    EXPECT_TRUE(dil.Bof());
    EXPECT_EQ(dil.FieldByName(QStringLiteral("ID")).AsInteger(), 11);
    EXPECT_EQ(por.RecordCount(), 2);
}

TEST_F(MasterDetailChain, ARangeReplacesTheLinkUntilTheMasterMoves)
{
    dil.SetRange({200.0}, {200.0});
    EXPECT_EQ(column(dil, "ID"), (QStringList{"21", "22"}));
    odd.Next();
    odd.First();
    EXPECT_EQ(column(dil, "ID"), (QStringList{"11", "12"}));
}

TEST_F(TableTest, DetailLinkOnNumbersMatchesExactValuesAndZeroOfEitherSign)
{
    const double a = 0.1 + 0.2;   // 0.30000000000000004, next to 0.3
    write(QStringLiteral("M.DB"), {{"K", "N"}}, {{0.3}, {a}, {-0.0}});
    write(QStringLiteral("D.DB"), {{"K", "N"}, {"T", "A", 1}}, {{a, "a"}, {0.3, "b"}, {0.0, "z"}, {0.3, "c"}});
    Table m, d;
    open(m, QStringLiteral("M"));
    open(d, QStringLiteral("D"), QStringLiteral("K"));
    db::DataSource source{&m};
    d.SetMasterSource(&source);
    d.SetMasterFields(QStringLiteral("K"));
    EXPECT_EQ(column(d, "T"), (QStringList{"b", "c"}));
    m.Next();
    EXPECT_EQ(column(d, "T"), (QStringList{"a"}));
    m.Next();
    EXPECT_EQ(column(d, "T"), (QStringList{"z"}));
}

TEST_F(TableTest, DetailLinkFollowsTheMasterFieldWhenTheMasterReopensWithAnotherLayout)
{
    write(QStringLiteral("M1.DB"), {{"K", "N"}, {"X", "N"}}, {{1.0, 9.0}});
    write(QStringLiteral("M2.DB"), {{"X", "N"}, {"K", "N"}}, {{1.0, 2.0}});
    write(QStringLiteral("D.DB"), {{"K", "N"}, {"T", "A", 1}}, {{1.0, "a"}, {2.0, "b"}, {9.0, "c"}});
    Table m, d;
    open(m, QStringLiteral("M1"));
    open(d, QStringLiteral("D"), QStringLiteral("K"));
    db::DataSource source{&m};
    d.SetMasterSource(&source);
    d.SetMasterFields(QStringLiteral("K"));
    EXPECT_EQ(column(d, "T"), (QStringList{"a"}));
    m.Close();
    open(m, QStringLiteral("M2"));
    EXPECT_EQ(column(d, "T"), (QStringList{"b"}));
}

TEST_F(TableTest, ChangingTheIndexOfAnOpenTableReordersAndRejectsUnknownFields)
{
    write(QStringLiteral("P.DB"), {{"A", "N"}, {"B", "A", 1}}, {{2.0, "x"}, {1.0, "z"}, {3.0, "y"}});
    Table t;
    open(t, QStringLiteral("P"), QStringLiteral("A"));
    EXPECT_EQ(column(t, "B"), (QStringList{"z", "x", "y"}));
    t.SetIndexFieldNames(QStringLiteral("B"));
    EXPECT_EQ(column(t, "B"), (QStringList{"x", "y", "z"}));
    EXPECT_EQ(t.IndexFieldCount(), 1);
    EXPECT_THROW(t.SetIndexFieldNames(QStringLiteral("C")), EDatabaseError);
    EXPECT_THROW(t.IndexFieldCount(), EDatabaseError);
    t.SetIndexFieldNames(QStringLiteral("A"));
    EXPECT_EQ(column(t, "B"), (QStringList{"z", "x", "y"}));
}

TEST_F(MasterDetailChain, AnInsertedDetailRowTakesTheMasterKey)
{
    odd.Next();
    dil.Append();
    dil.FieldByName(QStringLiteral("DIL")).AsString(QStringLiteral("c"));
    dil.FieldByName(QStringLiteral("ID")).AsInteger(23);
    dil.Post();
    EXPECT_EQ(dil.FieldByName(QStringLiteral("VAZBA")).AsInteger(), 200);
    EXPECT_EQ(column(dil, "DIL"), (QStringList{"a", "b", "c"}));
    odd.First();
    EXPECT_EQ(column(dil, "DIL"), (QStringList{"a", "b"}));
}

TEST_F(TableTest, InsertEditDeleteReachTheFileAndAFreshTable)
{
    const QString path = write(QStringLiteral("PS.DB"), {{"PSK", "A", 12}, {"PSK_P", "N"}, {"POZN", "M", 10}},
                               {{"1a", 1.5, "krátká"}, {"2b", 2.5, QString(300, QChar(u'ř'))}, {"3c", 3.5, QVariant()}});
    {
        Table t;
        open(t, QStringLiteral("PS"));
        t.Next();
        t.Edit();
        t.FieldByName(QStringLiteral("PSK_P")).AsFloat(0.12);
        t.Post();
        t.Last();
        t.Delete();
        t.Append();
        t.FieldByName(QStringLiteral("PSK")).AsString(QStringLiteral("4d"));
        t.FieldByName(QStringLiteral("POZN")).AsString(QStringLiteral("Poznámka ěščřžýáíé"));
        t.Post();

        Table fresh;   // same process, not yet flushed: the rows are shared
        open(fresh, QStringLiteral("PS"));
        EXPECT_EQ(column(fresh, "PSK"), (QStringList{"1a", "2b", "4d"}));
        t.FlushBuffers();
    }
    const db::paradox::ParadoxFile file(path);
    EXPECT_EQ(file.recordCount(), 3);
    Table reread;
    open(reread, QStringLiteral("PS"));
    EXPECT_EQ(column(reread, "PSK_P"), (QStringList{"1,5", "0,12", ""}));
    EXPECT_EQ(column(reread, "POZN"), (QStringList{"krátká", QString(300, QChar(u'ř')), "Poznámka ěščřžýáíé"}));
}

// Tables of one file with the same order take one sorting of the rows; another order, or rows
// changed since, get a sorting of their own.
TEST_F(TableTest, TablesOfOneFileAgreeOnTheirOrdersAcrossPosts)
{
    writeNavrh();
    const QString byKind = QStringLiteral("Vazba;N_Druh_vykonu;ID");
    Table first, second, byId;
    open(first, QStringLiteral("NAVRH"), byKind);
    open(second, QStringLiteral("NAVRH"), byKind);
    open(byId, QStringLiteral("NAVRH"), QStringLiteral("ID"));
    const QStringList kindOrder{"6", "4", "1", "3", "5", "7", "2"};
    EXPECT_EQ(column(first, "ID"), kindOrder);
    EXPECT_EQ(column(second, "ID"), kindOrder);
    EXPECT_EQ(column(byId, "ID"), (QStringList{"1", "2", "3", "4", "5", "6", "7"}));

    first.Append();
    first.FieldByName(QStringLiteral("ID")).AsInteger(8);
    first.FieldByName(QStringLiteral("Vazba")).AsInteger(6);
    first.FieldByName(QStringLiteral("N_Druh_vykonu")).AsInteger(1);
    first.Post();
    second.Refresh();
    EXPECT_EQ(column(second, "ID"), (QStringList{"8", "6", "4", "1", "3", "5", "7", "2"}));
    EXPECT_EQ(column(first, "ID"), (QStringList{"8", "6", "4", "1", "3", "5", "7", "2"}));
    byId.Refresh();
    EXPECT_EQ(column(byId, "ID"), (QStringList{"1", "2", "3", "4", "5", "6", "7", "8"}));

    second.SetRange({7.0}, {7.0});
    EXPECT_EQ(column(second, "ID"), (QStringList{"4", "1", "3", "5", "7"}));
    EXPECT_EQ(column(first, "ID").size(), 8);
    Table later;
    open(later, QStringLiteral("NAVRH"), byKind);
    EXPECT_EQ(column(later, "ID"), (QStringList{"8", "6", "4", "1", "3", "5", "7", "2"}));
}

TEST_F(TableTest, TwoTablesOnOneFileKeepEachOthersPosts)
{
    writeNavrh();
    Table thinning, felling;
    open(thinning, QStringLiteral("NAVRH"), QStringLiteral("Vazba;N_Druh_vykonu;ID"));
    open(felling, QStringLiteral("navrh.db"));
    thinning.Append();
    thinning.FieldByName(QStringLiteral("ID")).AsInteger(8);
    thinning.FieldByName(QStringLiteral("Vazba")).AsInteger(7);
    thinning.Post();
    felling.Append();
    felling.FieldByName(QStringLiteral("ID")).AsInteger(9);
    felling.Post();
    felling.FlushBuffers();
    thinning.Close();
    felling.Close();
    Table reread;
    open(reread, QStringLiteral("NAVRH"), QStringLiteral("ID"));
    EXPECT_EQ(column(reread, "ID"), (QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "9"}));
}

TEST_F(TableTest, ClosingOrDestroyingTheLastHolderWritesPendingChanges)
{
    write(QStringLiteral("ID.DB"), {{"Tabulka", "A", 8}, {"ID", "N"}}, {{"NAVRH", 10.0}});
    for (const int id : {11, 12}) {
        {
            Table t;
            open(t, QStringLiteral("ID"));
            t.Edit();
            t.FieldByName(QStringLiteral("ID")).AsInteger(id);
            t.Post();
            if (id == 11)
                t.Close();
        }
        Table again;
        open(again, QStringLiteral("ID"));
        EXPECT_EQ(again.FieldByName(QStringLiteral("ID")).AsInteger(), id);
    }
}

// The rows are written at flush or close: a failed write must not pass for success.
TEST_F(TableTest, AFailedWriteRaisesAtFlushAndCloseAndIsReportedAtDestruction)
{
    const QString sub = m_dir.filePath(QStringLiteral("LHC"));
    ASSERT_TRUE(QDir().mkpath(sub));
    test::writeParadoxTable(sub + QStringLiteral("/ID.DB"), {{"ID", "N"}}, {{10.0}});
    auto& recorder = dynamic_cast<ui::RecordingServices&>(ui::services());
    recorder.clear();
    {
        Table t;
        t.SetDatabaseName(sub);
        t.SetTableName(QStringLiteral("ID"));
        t.Open();
        t.Edit();
        t.FieldByName(QStringLiteral("ID")).AsInteger(11);
        t.Post();
        ASSERT_TRUE(QDir(sub).removeRecursively());
        EXPECT_THROW(t.FlushBuffers(), EDatabaseError);
        EXPECT_THROW(t.Close(), EDatabaseError);
        EXPECT_TRUE(t.Active());
    }
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_TRUE(recorder.messages[0].text.contains(QStringLiteral("ID.DB"))) << qPrintable(recorder.messages[0].text);
}

TEST_F(TableTest, AFailedOpenBesideAnOpenTableKeepsItsChangesWritten)
{
    write(QStringLiteral("ID.DB"), {{"Tabulka", "A", 8}, {"ID", "N"}}, {{"NAVRH", 10.0}});
    Table a;
    open(a, QStringLiteral("ID"));
    a.Edit();
    a.FieldByName(QStringLiteral("ID")).AsInteger(12);
    a.Post();
    Table b;
    b.FieldDefs().Add(QStringLiteral("CHYBI"), FieldType::ftString, 2);
    EXPECT_THROW(open(b, QStringLiteral("ID")), db::EDeclaredFieldMissing);
    a.Close();
    Table c;
    open(c, QStringLiteral("ID"));
    EXPECT_EQ(c.FieldByName(QStringLiteral("ID")).AsInteger(), 12);
}

TEST_F(TableTest, RefreshRereadsAFileChangedOnDiskUnlessChangesArePending)
{
    write(QStringLiteral("LHC.DB"), {{"LHC_KOD", "I"}}, {{1}, {2}});
    Table t;
    open(t, QStringLiteral("LHC"));
    write(QStringLiteral("LHC.DB"), {{"LHC_KOD", "I"}}, {{1}, {2}, {3}});
    t.Refresh();
    EXPECT_EQ(column(t, "LHC_KOD"), (QStringList{"1", "2", "3"}));
    t.First();
    t.Edit();
    t.Fields(0).AsInteger(9);
    t.Post();
    write(QStringLiteral("LHC.DB"), {{"LHC_KOD", "I"}}, {{5}});
    t.Refresh();
    EXPECT_EQ(column(t, "LHC_KOD"), (QStringList{"9", "2", "3"}));
}

TEST_F(TableTest, TableWithIndexFilesOpensReadOnly)
{
    const QString path = write(QStringLiteral("TAB_HS.DB"), {{"CISLO_HS", "S"}, {"NAZEV_HS", "A", 30}},
                               {{1, "první"}, {2, "druhý"}}, keyed(1));
    QFile px(m_dir.filePath(QStringLiteral("tab_hs.px")));
    ASSERT_TRUE(px.open(QIODevice::WriteOnly));
    px.close();
    const QByteArray before = [&] { QFile f(path); f.open(QIODevice::ReadOnly); return f.readAll(); }();
    Table t;
    open(t, QStringLiteral("TAB_HS"));
    EXPECT_TRUE(t.isReadOnlyStorage());
    EXPECT_FALSE(t.CanModify());
    EXPECT_EQ(t.IndexDefs().size(), 1u);
    EXPECT_TRUE(t.FindKey({2}));
    EXPECT_EQ(t.FieldByName(QStringLiteral("NAZEV_HS")).AsString(), QStringLiteral("druhý"));
    EXPECT_THROW(t.Edit(), EDatabaseError);
    EXPECT_THROW(t.Append(), EDatabaseError);
    EXPECT_THROW(t.Delete(), EDatabaseError);
    t.Close();
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
}

TEST_F(TableTest, CreateTableReplacesTheFileFromFieldDefinitions)
{
    write(QStringLiteral("TGENKL.DB"), {{"X", "A", 5}}, {{"starý"}});
    Table t;
    t.SetDatabaseName(dir());
    t.SetTableName(QStringLiteral("TGENKL.DB"));
    t.SetExclusive(true);
    t.FieldDefs().Add(QStringLiteral("LHC_KOD"), FieldType::ftInteger);
    t.FieldDefs().Add(QStringLiteral("LHC_NAZEV"), FieldType::ftString, 80);
    t.FieldDefs().Add(QStringLiteral("MODEL"), FieldType::ftBoolean);
    t.CreateTable();
    t.Open();
    EXPECT_TRUE(t.IsEmpty());
    EXPECT_EQ(t.FieldByName(QStringLiteral("LHC_NAZEV")).Size(), 80);
    EXPECT_EQ(t.FieldByName(QStringLiteral("MODEL")).DataType(), FieldType::ftBoolean);
    for (int i = 1; i <= 3; ++i) {
        t.Append();
        t.FieldByName(QStringLiteral("LHC_KOD")).AsInteger(i);
        t.FieldByName(QStringLiteral("lhc_nazev")).AsString(QStringLiteral("Lesní celek %1").arg(i));
        t.FieldByName(QStringLiteral("MODEL")).AsBoolean(i % 2 == 1);
        t.Post();
    }
    EXPECT_EQ(t.RecNo(), 3);

    Table other;
    other.SetDatabaseName(dir());
    other.SetTableName(QStringLiteral("TGENKL.DB"));
    EXPECT_THROW(other.Open(), EDatabaseError);   // opened exclusively
    t.Close();
    open(other, QStringLiteral("TGENKL"));
    EXPECT_EQ(column(other, "LHC_NAZEV"), (QStringList{"Lesní celek 1", "Lesní celek 2", "Lesní celek 3"}));
    EXPECT_EQ(column(other, "MODEL"), (QStringList{"True", "False", "True"}));
}

// Replacing or deleting a file that another table holds open would lose its posted rows or let
// them overwrite the new file at their next save: refused, as the engine did.
TEST_F(TableTest, CreateAndDeleteAreRefusedWhileAnotherTableHoldsTheFile)
{
    const QString path = write(QStringLiteral("TGENKL.DB"), {{"X", "A", 5}}, {{"a"}, {"b"}});
    Table held;
    open(held, QStringLiteral("TGENKL"));
    held.First();
    held.Edit();
    held.FieldByName(QStringLiteral("X")).AsString(QStringLiteral("c"));
    held.Post();

    Table other;
    other.SetDatabaseName(dir());
    other.SetTableName(QStringLiteral("TGENKL.DB"));
    other.FieldDefs().Add(QStringLiteral("Y"), FieldType::ftInteger);
    for (const auto& step : {std::function<void()>([&] { other.CreateTable(); }),
                             std::function<void()>([&] { other.DeleteTable(); })}) {
        try {
            step();
            ADD_FAILURE() << "a held table was replaced";
        } catch (const EDatabaseError& e) {
            EXPECT_TRUE(e.message().contains(QStringLiteral("je otevřena"))) << qPrintable(e.message());
        }
    }
    held.Close();
    Table check;
    open(check, QStringLiteral("TGENKL"));
    EXPECT_EQ(column(check, "X"), (QStringList{"c", "b"}));
    check.Close();
    other.CreateTable();   // nobody holds it now
    open(check, QStringLiteral("TGENKL"));
    EXPECT_TRUE(check.IsEmpty());
    EXPECT_NE(check.FindField(QStringLiteral("Y")), nullptr);
    EXPECT_TRUE(QFileInfo::exists(path));
}

TEST_F(TableTest, EncryptedTableIsReadButNotWritten)
{
    test::FixtureOptions options;
    options.password = QStringLiteral("zq");
    write(QStringLiteral("OLH.DB"), {{"KOD", "S"}, {"POPIS", "A", 20}}, {{1, "Šumava"}, {2, "Křivoklát"}}, options);
    Table t;
    open(t, QStringLiteral("OLH"));
    EXPECT_EQ(column(t, "POPIS"), (QStringList{"Šumava", "Křivoklát"}));
    EXPECT_TRUE(t.isReadOnlyStorage());
    EXPECT_THROW(t.Edit(), EDatabaseError);
}

TEST_F(TableTest, GraphicAndAutoIncrementFields)
{
    const QByteArray picture = QByteArray("BM") + QByteArray(5000, '\x7f');
    write(QStringLiteral("OBR.DB"), {{"N", "+"}, {"OBR", "G", 10}}, {{1, picture}, {2, QVariant()}});
    Table t;
    open(t, QStringLiteral("OBR"));
    EXPECT_EQ(t.FieldByName(QStringLiteral("OBR")).DataType(), FieldType::ftGraphic);
    EXPECT_EQ(t.FieldByName(QStringLiteral("OBR")).AsBytes(), picture);
    EXPECT_TRUE(t.FieldByName(QStringLiteral("N")).ReadOnly());
    t.Append();
    t.FieldByName(QStringLiteral("OBR")).AsBytes(QByteArray("GIF89a"));
    t.Post();
    EXPECT_EQ(t.FieldByName(QStringLiteral("N")).AsInteger(), 3);
    t.Close();
    open(t, QStringLiteral("OBR"));
    t.Append();
    t.Post();
    EXPECT_EQ(column(t, "N"), (QStringList{"1", "2", "3", "4"}));
    t.First();
    EXPECT_EQ(t.FieldByName(QStringLiteral("OBR")).AsBytes(), picture);
    t.MoveBy(2);
    EXPECT_EQ(t.FieldByName(QStringLiteral("OBR")).AsBytes(), QByteArray("GIF89a"));
    t.Next();
    EXPECT_TRUE(t.FieldByName(QStringLiteral("OBR")).IsNull());
}

TEST_F(TableTest, EmptyTableRemovesEveryRow)
{
    write(QStringLiteral("OST.DB"), {{"OST", "N"}}, {{1.0}, {2.0}});
    Table t;
    t.SetDatabaseName(dir());
    t.SetTableName(QStringLiteral("OST"));
    t.EmptyTable();
    t.Open();
    EXPECT_TRUE(t.IsEmpty());
    t.Close();
    t.DeleteTable();
    EXPECT_THROW(t.Open(), EDatabaseError);
}

TEST_F(MasterDetailChain, AnEditedMasterFieldNamedInAnotherCaseRefiltersTheDetail)
{
    write(QStringLiteral("MENY.DB"), {{"MĚNA", "A", 3}}, {{"CZK"}});
    write(QStringLiteral("KURZY.DB"), {{"Měna", "A", 3}, {"Kurz", "N"}}, {{"EUR", 25.0}, {"CZK", 1.0}});
    Table meny, kurzy;
    db::DataSource menySource{&meny};
    open(meny, QStringLiteral("MENY"));
    open(kurzy, QStringLiteral("KURZY"), QStringLiteral("měna"));
    kurzy.SetMasterSource(&menySource);
    kurzy.SetMasterFields(QStringLiteral("měna"));
    EXPECT_EQ(column(kurzy, "Kurz"), QStringList{"1"});
    meny.Edit();
    meny.FieldByName(QStringLiteral("MĚNA")).AsString(QStringLiteral("EUR"));
    EXPECT_EQ(column(kurzy, "Kurz"), QStringList{"25"});
    meny.Cancel();
}

} // namespace

namespace {

// The link index of a detail follows writes to the detail: rows whose link key changed, new and
// deleted rows, through the detail itself and through another table on the same file.
TEST_F(MasterDetailChain, WrittenDetailRowsFollowTheirNewLinkKey)
{
    dil.Last();   // b under compartment 100
    dil.Edit();
    dil.FieldByName(QStringLiteral("VAZBA")).AsFloat(200.0);
    dil.Post();
    EXPECT_EQ(column(dil, "DIL"), QStringList{"a"});
    odd.Next();
    EXPECT_EQ(column(dil, "DIL"), (QStringList{"a", "b", "b"}));
    Table other;
    open(other, QStringLiteral("DILEC"));
    for (other.First(); !other.Eof(); other.Next()) {
        if (other.FieldByName(QStringLiteral("ID")).AsInteger() == 21) {
            other.Delete();
            break;
        }
    }
    other.Append();
    other.FieldByName(QStringLiteral("VAZBA")).AsFloat(300.0);
    other.FieldByName(QStringLiteral("DIL")).AsString(QStringLiteral("c"));
    other.Post();
    odd.First();
    odd.Next();
    EXPECT_EQ(column(dil, "ID"), (QStringList{"12", "22"}));
    odd.Next();
    EXPECT_EQ(column(dil, "DIL"), QStringList{"c"});
}

TEST_F(MasterDetailChain, AMasterMoveWhileTheDetailIsEditedPostsTheDetailFirst)
{
    dil.Edit();
    dil.FieldByName(QStringLiteral("DIL")).AsString(QStringLiteral("x"));
    odd.Next();
    EXPECT_EQ(dil.State(), db::DataSetState::dsBrowse);
    EXPECT_EQ(column(dil, "ID"), (QStringList{"21", "22"}));
    odd.First();
    EXPECT_EQ(column(dil, "DIL"), (QStringList{"x", "b"}));
}

// Master and detail keys of different types: numbers compare as numbers whatever their field
// type, texts ignoring letter case, NULL with NULL.
TEST_F(TableTest, DetailLinkComparesKeysByTheirValues)
{
    write(QStringLiteral("M.DB"), {{"I", "S"}, {"T", "A", 3}}, {{7, "ab"}, {QVariant(), QVariant()}, {-3, "Čd"}});
    write(QStringLiteral("DN.DB"), {{"K", "N"}, {"R", "A", 2}},
          {{7.0, "n1"}, {QVariant(), "n2"}, {-3.0, "n3"}, {7.0, "n4"}, {7.5, "n5"}});
    write(QStringLiteral("DT.DB"), {{"K", "A", 3}, {"R", "A", 2}},
          {{"AB", "t1"}, {"čD", "t2"}, {"abx", "t3"}, {QVariant(), "t4"}, {"ab", "t5"}});
    Table m, numbers, texts;
    db::DataSource source{&m};
    open(m, QStringLiteral("M"));
    open(numbers, QStringLiteral("DN"), QStringLiteral("K"));
    open(texts, QStringLiteral("DT"), QStringLiteral("K"));
    numbers.SetMasterSource(&source);
    numbers.SetMasterFields(QStringLiteral("I"));
    texts.SetMasterSource(&source);
    texts.SetMasterFields(QStringLiteral("T"));
    EXPECT_EQ(column(numbers, "R"), (QStringList{"n1", "n4"}));
    EXPECT_EQ(column(texts, "R"), (QStringList{"t1", "t5"}));
    m.Next();
    EXPECT_EQ(column(numbers, "R"), QStringList{"n2"});
    EXPECT_EQ(column(texts, "R"), QStringList{"t4"});
    m.Next();
    EXPECT_EQ(column(numbers, "R"), QStringList{"n3"});
    EXPECT_EQ(column(texts, "R"), QStringList{"t2"});
}

// Numbers of a browsed row are read without a QVariant: every type answers AsInteger and
// AsFloat as the conversions of its Value() do, NULL and the refusals included.
TEST_F(TableTest, NumberAndTextReadsAgreeWithTheirValuesOnEveryType)
{
    const QList<test::FixtureField> fields = {{"A", "A", 6}, {"S", "S"}, {"I", "I"}, {"P", "+"}, {"N", "N"}, {"C", "$"},
                                              {"B", "#", 2}, {"L", "L"}, {"D", "D"}, {"T", "T"}, {"TS", "@"}, {"Y", "Y", 2}};
    write(QStringLiteral("TYPY.DB"), fields,
          {{"12 ", -7, 70000, 3, 2.5, -3.5, 1.25, true, QDate(2020, 2, 29), QTime(6, 0), QDateTime(QDate(1999, 1, 2), QTime(12, 0)), QByteArray("ab")},
           {QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant()},
           {"x", 0, -1, 4, 3.5, 5e10, -0.5, false, QDate(1899, 12, 30), QTime(0, 0, 1), QDateTime(QDate(2000, 1, 1), QTime(0, 0)), QByteArray("\0\1", 2)}});
    Table t;
    open(t, QStringLiteral("TYPY"));
    // What a read gives: the number, or the name of the error it raises.
    auto outcome = [](auto read) -> QString {
        try {
            return QString::number(double(read()), 'g', 17);
        } catch (const Exception& e) {
            return QString::fromLatin1(typeid(e).name());
        }
    };
    int rows = 0;
    for (t.First(); !t.Eof(); t.Next(), ++rows) {
        for (int i = 0; i < t.FieldCount(); ++i) {
            const db::Field& f = t.Fields(i);
            EXPECT_EQ(outcome([&] { return f.AsInteger(); }), outcome([&] { return f.asIntegerOf(f.Value()); }))
                << rows << " " << f.FieldName().toStdString();
            EXPECT_EQ(outcome([&] { return f.AsFloat(); }), outcome([&] { return f.asFloatOf(f.Value()); }))
                << rows << " " << f.FieldName().toStdString();
            const QString text = f.AsString();
            EXPECT_EQ(text, f.asStringOf(f.Value())) << rows << " " << f.FieldName().toStdString();
            EXPECT_EQ(text.isNull(), f.asStringOf(f.Value()).isNull()) << rows << " " << f.FieldName().toStdString();
        }
    }
    EXPECT_EQ(rows, 3);
    EXPECT_EQ(t.FieldByName(QStringLiteral("S")).AsInteger(), 0);
    t.First();
    EXPECT_EQ(t.FieldByName(QStringLiteral("N")).AsInteger(), 2);
    EXPECT_EQ(t.FieldByName(QStringLiteral("C")).AsInteger(), -4);
}

// Ranges and links search the order by its first field's numbers, then the further fields:
// over many rows with repeated keys and NULLs they show exactly the rows a filter keeps.
TEST_F(TableTest, RangesAndLinksShowTheRowsAFilterKeeps)
{
    QList<QVariantList> rows;
    quint32 seed = 12345;
    auto next = [&seed](int n) { seed = seed * 1103515245u + 12345u; return int((seed >> 16) % quint32(n)); };
    for (int i = 0; i < 400; ++i) {
        const int storey = next(12);
        rows.append({storey == 0 ? QVariant() : QVariant(double(storey)), next(14), double(i)});
    }
    write(QStringLiteral("NAVRH.DB"), {{"Vazba", "N"}, {"Druh", "S"}, {"ID", "N"}}, rows);
    write(QStringLiteral("ETAZ.DB"), {{"ID", "N"}}, {{QVariant()}, {3.0}, {5.0}, {11.0}, {99.0}});
    Table t, link, master;
    db::DataSource source{&master};
    open(t, QStringLiteral("NAVRH"), QStringLiteral("Vazba;Druh;ID"));
    open(master, QStringLiteral("ETAZ"));
    open(link, QStringLiteral("NAVRH"), QStringLiteral("Vazba"));
    link.SetMasterSource(&source);
    link.SetMasterFields(QStringLiteral("ID"));
    auto ids = [](Table& table) {
        QList<int> out;
        for (table.First(); !table.Eof(); table.Next())
            out << table.FieldByName(QStringLiteral("ID")).AsInteger();
        std::sort(out.begin(), out.end());
        return out;
    };
    auto kept = [&](std::function<bool(const QVariantList&)> keep) {
        QList<int> out;
        for (const QVariantList& r : rows)
            if (keep(r))
                out << int(r[2].toDouble());
        return out;
    };
    for (const int storey : {1, 3, 5, 11, 12}) {
        for (const auto& [first, last] : {std::pair{10, 10}, std::pair{0, 7}, std::pair{9, 2}}) {
            t.SetRange({double(storey), first, 0.0}, {double(storey), last, 900000.0});
            EXPECT_EQ(ids(t), kept([&](const QVariantList& r) {
                          return r[0].isValid() && r[0].toDouble() == storey && r[1].toInt() >= first && r[1].toInt() <= last;
                      })) << storey << " " << first;
        }
    }
    t.SetRange({QVariant()}, {2.0});
    EXPECT_EQ(ids(t), kept([](const QVariantList& r) { return !r[0].isValid() || r[0].toDouble() <= 2; }));
    for (master.First(); !master.Eof(); master.Next()) {
        const QVariant key = master.FieldByName(QStringLiteral("ID")).Value();
        EXPECT_EQ(ids(link), kept([&](const QVariantList& r) {
                      return r[0].isValid() == key.isValid() && (!key.isValid() || r[0].toDouble() == key.toDouble());
                  })) << key.toDouble();
    }
}

// Master fields beyond the detail's order match the detail fields of their names.
TEST_F(TableTest, DetailLinkBeyondTheOrderMatchesFieldsByName)
{
    write(QStringLiteral("M.DB"), {{"A", "S"}, {"B", "A", 1}}, {{1, "x"}, {2, "y"}});
    write(QStringLiteral("D.DB"), {{"A", "N"}, {"B", "A", 1}, {"R", "S"}},
          {{1.0, "y", 1}, {1.0, "X", 2}, {2.0, "y", 3}, {1.0, "x", 4}});
    Table m, d;
    db::DataSource source{&m};
    open(m, QStringLiteral("M"));
    open(d, QStringLiteral("D"), QStringLiteral("A"));
    d.SetMasterSource(&source);
    d.SetMasterFields(QStringLiteral("A;B"));
    EXPECT_EQ(column(d, "R"), (QStringList{"2", "4"}));
    m.Next();
    EXPECT_EQ(column(d, "R"), QStringList{"3"});
}

} // namespace

namespace {

// Masters with equal keys in a row and a key without details; the detail's rows change through
// the detail itself and through another table on its file between the moves.
TEST_F(TableTest, DetailFollowsEveryMasterMoveWhenItsRowsOrTheMasterChange)
{
    write(QStringLiteral("M.DB"), {{"K", "N"}}, {{2.0}, {2.0}, {5.0}, {2.0}, {7.0}, {7.0}});
    write(QStringLiteral("D.DB"), {{"K", "N"}, {"T", "A", 4}},
          {{7.0, "g"}, {2.0, "a"}, {2.0, "b"}, {9.0, "z"}, {7.0, "h"}});
    write(QStringLiteral("S.DB"), {{"T", "A", 4}, {"N", "S"}}, {{"a", 1}, {"b", 2}, {"x", 3}, {"b", 4}});
    Table m, d, other, s;
    db::DataSource source{&m};
    db::DataSource detailSource{&d};
    open(m, QStringLiteral("M"));
    open(d, QStringLiteral("D"), QStringLiteral("K;T"));
    open(other, QStringLiteral("D"));
    open(s, QStringLiteral("S"), QStringLiteral("T"));
    d.SetMasterSource(&source);
    d.SetMasterFields(QStringLiteral("K"));
    s.SetMasterSource(&detailSource);
    s.SetMasterFields(QStringLiteral("T"));
    QStringList seen;   // the detail's row at each data event a listener gets
    detailSource.OnDataChange = [&](db::DataSource&, db::Field* field) {
        if (!field)
            seen << QString::number(d.RecNo()) + (d.Bof() ? QStringLiteral("^") : QString());
    };
    QMultiMap<double, QString> rows{{7, "g"}, {2, "a"}, {2, "b"}, {9, "z"}, {7, "h"}};
    auto expected = [&] {
        QStringList out = rows.values(m.FieldByName(QStringLiteral("K")).AsFloat());
        std::sort(out.begin(), out.end());
        return out;
    };
    auto move = [&](auto&& step, const char* name) {
        d.Last();
        seen.clear();
        step();
        // Each listener call finds the detail on its first row.
        ASSERT_FALSE(seen.isEmpty()) << name;
        for (const QString& at : seen)
            EXPECT_TRUE(at == QStringLiteral("0^") || at == QStringLiteral("1^")) << name << " " << at.toStdString();
        EXPECT_EQ(seen.last(), d.IsEmpty() ? QStringLiteral("0^") : QStringLiteral("1^")) << name;
        EXPECT_EQ(column(d, "T"), expected()) << name;
        d.First();
        const QString first = d.IsEmpty() ? QString() : d.FieldByName(QStringLiteral("T")).AsString();
        const QStringList subs = first == "a" ? QStringList{"1"} : first == "b" ? QStringList{"2", "4"} : QStringList();
        EXPECT_EQ(column(s, "N"), subs) << name;
    };
    EXPECT_EQ(column(d, "T"), expected());
    move([&] { m.Next(); }, "equal key");
    move([&] { m.Next(); }, "key without details");
    move([&] { m.Next(); }, "back to the first key");
    other.Append();
    other.FieldByName(QStringLiteral("K")).AsFloat(2);
    other.FieldByName(QStringLiteral("T")).AsString(QStringLiteral("0"));
    other.Post();
    rows.insert(2, "0");
    move([&] { m.Prior(); m.Next(); }, "after another table appended");
    d.Append();
    d.FieldByName(QStringLiteral("T")).AsString(QStringLiteral("c"));
    d.Post();
    rows.insert(2, "c");
    move([&] { m.Prior(); m.Next(); }, "after the detail appended");
    d.First();
    d.Delete();
    rows.remove(2, "0");
    move([&] { m.First(); }, "after the detail deleted");
    move([&] { m.Edit(); }, "master edited");
    move([&] { m.Cancel(); }, "master edit cancelled");
    m.Close();
    EXPECT_TRUE(d.IsEmpty());
    m.Open();
    EXPECT_EQ(column(d, "T"), expected());
    move([&] { m.Last(); }, "last key");
    move([&] { m.Prior(); }, "equal last key");
}

} // namespace
