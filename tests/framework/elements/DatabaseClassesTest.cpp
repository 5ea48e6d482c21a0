// Tests of database tables as model classes: codebook tables and queries served as containers of rows.
#include "framework/core/ClassRegistry.h"
#include "framework/core/Elements.h"
#include "framework/elements/DatabaseClasses.h"
#include "platform/db/DataSet.h"
#include "platform/Exceptions.h"
#include "platform/ui/Services.h"
#include "support/ParadoxFixture.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// --- GetFieldN --------------------------------------------------------------------------------------

struct FieldNCase {
    const char* label;
    const char* text;
    int n;
    const char* expected;
};
class GetFieldNTest : public ::testing::TestWithParam<FieldNCase>
{
};

TEST_P(GetFieldNTest, SplitsAtSemicolons)
{
    const FieldNCase& c = GetParam();
    EXPECT_EQ(GetFieldN(QString::fromUtf8(c.text), c.n), QString::fromUtf8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(DatabaseClass, GetFieldNTest,
                         ::testing::Values(FieldNCase{"SecondOfClosed", "A;B;", 2, "B"},
                                           FieldNCase{"BeyondOpen", "A;B", 3, ""},
                                           FieldNCase{"ZeroIndex", "A;B", 0, ""},
                                           FieldNCase{"Czech", "Žluť;kůň;", 2, "kůň"}),
                         [](const auto& info) { return std::string(info.param.label); });

// --- fixtures -------------------------------------------------------------------------------------

ui::RecordingServices& recorder()
{
    return dynamic_cast<ui::RecordingServices&>(ui::services());
}

const QList<test::FixtureField> codebookFields = {
    {QStringLiteral("KOD"), QStringLiteral("A"), 2},
    {QStringLiteral("NAZEV"), QStringLiteral("A"), 40},
    {QStringLiteral("PLOCHA"), QStringLiteral("N")},
};

// Keyed by KOD; rows in key order.
QList<QVariantList> codebookRows()
{
    return {
        {QStringLiteral("01"), QStringLiteral("Smrk ztepilý"), 12.5},
        {QStringLiteral("02"), QStringLiteral("Borovice lesní"), QVariant()},
        {QStringLiteral("10"), QStringLiteral("Buk lesní"), 3.0},
        {QStringLiteral("5A"), QStringLiteral("Žluťoučký kůň"), 0.25},
    };
}

// A species codebook without key, read through its name field only.
const QList<test::FixtureField> speciesFields = {
    {QStringLiteral("CKOD"), QStringLiteral("A"), 3},
    {QStringLiteral("NKOD"), QStringLiteral("S")},
    {QStringLiteral("POPIS_CS"), QStringLiteral("A"), 40},
};

QList<QVariantList> speciesRows()
{
    return {
        {QStringLiteral("SM"), 1, QStringLiteral("smrk ztepilý")},
        {QStringLiteral("BO"), 10, QStringLiteral("borovice lesní")},
        {QStringLiteral("BK"), 20, QStringLiteral("buk lesní")},
    };
}

// Two key fields; the pair is unique, each field alone is not.
const QList<test::FixtureField> pairFields = {
    {QStringLiteral("SKUPINA"), QStringLiteral("A"), 4},
    {QStringLiteral("CISLO"), QStringLiteral("S")},
    {QStringLiteral("TEXT"), QStringLiteral("A"), 20},
};

QList<QVariantList> pairRows()
{
    return {
        {QStringLiteral("A"), 1, QStringLiteral("a-jedna")},
        {QStringLiteral("A"), 2, QStringLiteral("a-dvě")},
        {QStringLiteral("B"), 1, QStringLiteral("b-jedna")},
        {QStringLiteral("B"), 2, QStringLiteral("b-dvě")},
    };
}

class DatabaseClassTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        test::FixtureOptions keyed;
        keyed.keyFields = 1;
        test::writeParadoxTable(dir.filePath(QStringLiteral("CIS_TEST.DB")), codebookFields, codebookRows(), keyed);
        test::writeParadoxTable(dir.filePath(QStringLiteral("CIS_DREV.DB")), speciesFields, speciesRows());
        test::writeParadoxTable(dir.filePath(QStringLiteral("DVOJICE.DB")), pairFields, pairRows());
        recorder().clear();
    }

    // A table view as the codebook container makes one: path empty, full table path.
    Owned<TDatabaseClass> view(const QString& table, const QString& adress, const QString& name)
    {
        Owned<TDatabaseClass> d = Create<TDatabaseClass>();
        d->SetName(QStringLiteral("Pokus"));
        d->SetDataSourceType(dstTable);
        d->SetDataSource(dir.filePath(table));
        d->SetAdressField(adress);
        d->SetNameField(name);
        return d;
    }
    Owned<TDatabaseClass> codebook() { return view(QStringLiteral("CIS_TEST.DB"), QStringLiteral("KOD"), QStringLiteral("KOD")); }

    QTemporaryDir dir;
};

// --- rows as children -------------------------------------------------------------------------------

TEST_F(DatabaseClassTest, ChildrenAreRowsInKeyOrderReachedByPosition)
{
    auto d = codebook();
    ASSERT_EQ(d->Count(), 4);
    EXPECT_FALSE(d->IsEmpty());
    QStringList names;
    QStringList adresses;
    for (int i = 0; i < d->Count(); ++i) {
        auto* row = dynamic_cast<TVirtualElement*>(d->Items(i));
        ASSERT_NE(row, nullptr);
        names << row->GetName();
        adresses << row->ElementAdress();
    }
    EXPECT_EQ(names, (QStringList{"01", "02", "10", "5A"}));
    EXPECT_EQ(adresses, (QStringList{"01;", "02;", "10;", "5A;"}));
    // A search moves the cursor; Items still answers the row at the position asked for.
    ASSERT_NE(d->FindElementByName(QStringLiteral("10")), nullptr);
    EXPECT_EQ(d->Items(1)->GetName(), QStringLiteral("02"));
    EXPECT_EQ(d->Items(2)->GetName(), QStringLiteral("10"));
    EXPECT_EQ(d->Items(4), nullptr);
    EXPECT_EQ(d->Items(-1), nullptr);
}

TEST_F(DatabaseClassTest, OneRowElementIsReusedUntilAContainerTakesIt)
{
    auto d = codebook();
    TElement* first = d->Items(0);
    TElement* second = d->Items(1);
    EXPECT_EQ(first, second);

    Owned<TEntity> holder = Create<TEntity>();
    holder->Add(second);
    TElement* third = d->Items(2);
    EXPECT_NE(third, second);
    // The element taken keeps describing its own row, even with the cursor elsewhere.
    EXPECT_EQ(second->GetPropAsString(QStringLiteral("NAZEV")), QStringLiteral("Borovice lesní"));
    EXPECT_EQ(third->GetPropAsString(QStringLiteral("NAZEV")), QStringLiteral("Buk lesní"));
}

TEST_F(DatabaseClassTest, ATakenRowElementOutlivesItsTable)
{
    Owned<TEntity> holder = Create<TEntity>();
    TElement* row = nullptr;
    {
        auto d = codebook();
        row = d->Items(3);
        holder->Add(row);
    }
    ASSERT_EQ(holder->Count(), 1);
    EXPECT_EQ(row->GetName(), QStringLiteral("5A"));
    EXPECT_EQ(row->GetPropAsString(QStringLiteral("NAZEV")), QString());   // no table behind it any more
    EXPECT_EQ(row->Size(), 0);
}

// --- lookups --------------------------------------------------------------------------------------

TEST_F(DatabaseClassTest, FindsByKeyIgnoringCaseAndWrapsToTheFirstRow)
{
    auto d = codebook();
    TElement* last = d->FindElementByName(QStringLiteral("5a"));
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->GetName(), QStringLiteral("5A"));
    // The cursor stands on the last row; a code before it is still found.
    TElement* first = d->FindElementByName(QStringLiteral("01"));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->GetPropAsString(QStringLiteral("NAZEV")), QStringLiteral("Smrk ztepilý"));
    // A missing code is nil without a beep.
    EXPECT_EQ(d->FindElementByName(QStringLiteral("7")), nullptr);
    EXPECT_EQ(d->FindElementByName(QStringLiteral("1")), nullptr);   // text compare: not "01"
    EXPECT_EQ(d->FindElementByName(QString()), nullptr);
    EXPECT_EQ(recorder().beepCount, 0);
}

TEST_F(DatabaseClassTest, CzechNamesMatchIgnoringLetterCase)
{
    // An address field with a closing ";" names the same single key field.
    auto d = view(QStringLiteral("CIS_TEST.DB"), QStringLiteral("NAZEV;"), QStringLiteral("KOD"));
    TElement* row = d->FindElementByName(QStringLiteral("ŽLUŤOUČKÝ KŮŇ"));
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->GetName(), QStringLiteral("5A"));
    EXPECT_EQ(dynamic_cast<TVirtualElement*>(row)->ElementAdress(), QStringLiteral("Žluťoučký kůň;"));
}

TEST_F(DatabaseClassTest, IndexOfFindsTheRowOfACompositeKey)
{
    auto d = view(QStringLiteral("DVOJICE.DB"), QStringLiteral("SKUPINA;CISLO"), QStringLiteral("TEXT"));
    Owned<TEntity> holder = Create<TEntity>();
    TElement* b1 = d->Items(2);
    holder->Add(b1);
    EXPECT_EQ(d->Items(3)->GetName(), QStringLiteral("b-dvě"));
    EXPECT_EQ(d->IndexOf(b1), 2);
    // The cursor is now on B;1; a row before it is still found.
    Owned<TVirtualElement> a2 = Create<TVirtualElement>();
    a2->SetElementAdress(QStringLiteral("a;2;"));   // letter case ignored
    EXPECT_EQ(d->IndexOf(a2.get()), 1);
    a2->SetElementAdress(QStringLiteral("C;1;"));
    EXPECT_EQ(d->IndexOf(a2.get()), -1);
}

// An address field with a closing ";" names the same fields.
TEST_F(DatabaseClassTest, CompositeKeyReadsTheFieldOfItsOwnRow)
{
    auto d = view(QStringLiteral("DVOJICE.DB"), QStringLiteral("SKUPINA;CISLO;"), QStringLiteral("TEXT"));
    EXPECT_EQ(dynamic_cast<TVirtualElement*>(d->Items(3))->ElementAdress(), QStringLiteral("B;2;"));
    // A name lookup compares the first key field, starting at the current row (B;2).
    EXPECT_EQ(d->FindElementByName(QStringLiteral("b"))->GetName(), QStringLiteral("b-dvě"));
    EXPECT_EQ(d->FindElementByName(QStringLiteral("a"))->GetName(), QStringLiteral("a-jedna"));
    Owned<TVirtualElement> row = Create<TVirtualElement>();
    row->SetOwnerClass(d.get());
    const QStringList adresses = {"A;1;", "A;2;", "B;1;", "B;2;", "B;3;", "b;1;"};
    const QStringList expected = {"a-jedna", "a-dvě", "b-jedna", "b-dvě", "", ""};   // exact match only
    for (int i = 0; i < adresses.size(); ++i) {
        row->SetElementAdress(adresses[i]);
        EXPECT_EQ(row->GetPropAsString(QStringLiteral("text")), expected[i]) << adresses[i].toStdString();
    }
}

struct KeyReadCase {
    const char* label;
    const char* adress;
    const char* expected;
};
class DatabaseClassKeyReads : public DatabaseClassTest, public ::testing::WithParamInterface<KeyReadCase>
{
};

// A keyed codebook (numeric key) reads a row element's fields through its key.
TEST_P(DatabaseClassKeyReads, FindsTheRowOfTheAddress)
{
    test::FixtureOptions keyed;
    keyed.keyFields = 1;
    test::writeParadoxTable(dir.filePath(QStringLiteral("CIS_NUM.DB")),
                            {{QStringLiteral("KOD"), QStringLiteral("S")}, {QStringLiteral("POPIS"), QStringLiteral("A"), 20}},
                            {{1, QStringLiteral("jedna")}, {5, QStringLiteral("pět")}, {12, QStringLiteral("dvanáct")}},
                            keyed);
    auto d = view(QStringLiteral("CIS_NUM.DB"), QStringLiteral("KOD"), QStringLiteral("KOD"));
    Owned<TVirtualElement> row = Create<TVirtualElement>();
    row->SetOwnerClass(d.get());
    row->SetElementAdress(QString::fromUtf8(GetParam().adress));
    EXPECT_EQ(row->GetPropAsString(QStringLiteral("POPIS")), QString::fromUtf8(GetParam().expected));
    EXPECT_EQ(recorder().beepCount, 0);
}

INSTANTIATE_TEST_SUITE_P(DatabaseClass, DatabaseClassKeyReads,
                         ::testing::Values(KeyReadCase{"First", "1;", "jedna"},
                                           KeyReadCase{"WithoutClosingSemicolon", "12", "dvanáct"},
                                           KeyReadCase{"MissingCode", "7;", ""},
                                           KeyReadCase{"EmptyAdress", "", ""}),
                         [](const auto& info) { return std::string(info.param.label); });

// The species codebook view of the codebook container: no address field, name field CKOD.
TEST_F(DatabaseClassTest, EmptyAddressFieldUsesTheNameField)
{
    auto d = view(QStringLiteral("CIS_DREV.DB"), QString(), QStringLiteral("CKOD"));
    TElement* bk = d->FindElementByName(QStringLiteral("bk"));
    ASSERT_NE(bk, nullptr);
    Owned<TEntity> holder = Create<TEntity>();
    holder->Add(bk);
    EXPECT_EQ(dynamic_cast<TVirtualElement*>(bk)->ElementAdress(), QStringLiteral("BK;"));
    EXPECT_EQ(d->Items(0)->GetName(), QStringLiteral("SM"));
}

// --- property reads -----------------------------------------------------------------------------

struct PropCase {
    const char* label;
    const char* code;
    const char* property;
    const char* expected;
};
class DatabaseClassProps : public DatabaseClassTest, public ::testing::WithParamInterface<PropCase>
{
};

TEST_P(DatabaseClassProps, ReadsFieldsThenPublishedProperties)
{
    auto d = codebook();
    const PropCase& c = GetParam();
    TElement* row = d->FindElementByName(QString::fromUtf8(c.code));
    ASSERT_NE(row, nullptr);
    Owned<TEntity> holder = Create<TEntity>();
    holder->Add(row);
    d->Items(0);   // the cursor leaves the row
    EXPECT_EQ(row->GetPropAsString(QString::fromUtf8(c.property)), QString::fromUtf8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    DatabaseClass, DatabaseClassProps,
    ::testing::Values(PropCase{"FieldCaseIgnored", "10", "nazev", "Buk lesní"},
                      PropCase{"CzechText", "5A", "NAZEV", "Žluťoučký kůň"},
                      PropCase{"Float", "01", "PLOCHA", "12,5"},
                      PropCase{"NullNumber", "02", "PLOCHA", ""},
                      PropCase{"UnknownName", "01", "POPIS", ""}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(DatabaseClassTest, PublishedPropertiesOfTheClass)
{
    auto d = codebook();
    // KOD A2 (3) + NAZEV A40 (41) + PLOCHA N (8)
    EXPECT_EQ(d->GetPropAsInteger(QStringLiteral("RecordSize")), 52);
    EXPECT_EQ(d->GetPropAsInteger(QStringLiteral("PropertyCount")), 3);
    EXPECT_EQ(d->WholeSize(), 4 * 52);
}

// --- failures -------------------------------------------------------------------------------------

TEST_F(DatabaseClassTest, MissingTableBeepsAtEveryAccessAndShowsNothing)
{
    auto d = view(QStringLiteral("NENI.DB"), QStringLiteral("KOD"), QStringLiteral("KOD"));
    EXPECT_EQ(d->Count(), 0);
    EXPECT_EQ(recorder().beepCount, 1);
    EXPECT_EQ(d->Items(0), nullptr);
    EXPECT_EQ(d->FindElementByName(QStringLiteral("01")), nullptr);
    EXPECT_GE(recorder().beepCount, 3);
    EXPECT_TRUE(recorder().messages.empty());
    // Once the file exists, the next access opens it.
    test::FixtureOptions keyed;
    keyed.keyFields = 1;
    test::writeParadoxTable(dir.filePath(QStringLiteral("NENI.DB")), codebookFields, codebookRows(), keyed);
    EXPECT_EQ(d->Count(), 4);
}

TEST_F(DatabaseClassTest, FieldsTheTableLacksRaise)
{
    auto noName = view(QStringLiteral("CIS_TEST.DB"), QStringLiteral("KOD"), QStringLiteral("NAZEV_X"));
    EXPECT_THROW(noName->Items(0), EDatabaseError);
    // The controls are enabled again after the error.
    ASSERT_NE(noName->DataSet(), nullptr);
    EXPECT_FALSE(noName->DataSet()->ControlsDisabled());
    auto noKey = view(QStringLiteral("CIS_TEST.DB"), QStringLiteral("CISLO"), QStringLiteral("KOD"));
    EXPECT_THROW(noKey->FindElementByName(QStringLiteral("01")), EDatabaseError);
    EXPECT_FALSE(noKey->DataSet()->ControlsDisabled());
}

// --- SQL query source ------------------------------------------------------------------------------

TEST_F(DatabaseClassTest, QueryRowsAreChildrenToo)
{
    Owned<TDatabaseClass> d = Create<TDatabaseClass>();
    d->SetName(QStringLiteral("Dotaz"));
    d->SetDataSourceType(dstSQL);
    d->SetDataSourcePath(dir.path());
    d->SetSQL({QStringLiteral("SELECT KOD, NAZEV FROM CIS_TEST"), QStringLiteral("WHERE KOD <> '01' ORDER BY KOD DESC")});
    d->SetAdressField(QStringLiteral("KOD"));
    d->SetNameField(QStringLiteral("NAZEV"));
    ASSERT_EQ(d->Count(), 3);
    EXPECT_EQ(d->Items(0)->GetName(), QStringLiteral("Žluťoučký kůň"));
    TElement* buk = d->FindElementByName(QStringLiteral("10"));
    ASSERT_NE(buk, nullptr);
    EXPECT_EQ(buk->GetPropAsString(QStringLiteral("NAZEV")), QStringLiteral("Buk lesní"));
    // New SQL lines take effect at the next access.
    d->SetSQL({QStringLiteral("SELECT * FROM CIS_TEST")});
    EXPECT_EQ(d->Count(), 4);
    EXPECT_EQ(recorder().beepCount, 0);
}

TEST_F(DatabaseClassTest, BadSqlBeeps)
{
    Owned<TDatabaseClass> d = Create<TDatabaseClass>();
    d->SetDataSourceType(dstSQLdef);
    d->SetDataSourcePath(dir.path());
    d->SetSQL({QStringLiteral("SELECT * FROM NEEXISTUJE")});
    d->SetAdressField(QStringLiteral("KOD"));
    EXPECT_EQ(d->Count(), 0);
    EXPECT_EQ(recorder().beepCount, 1);
}

} // namespace
