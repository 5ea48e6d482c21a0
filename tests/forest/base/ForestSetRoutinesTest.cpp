// Tests of the routines over forest sets: owner search, sums, maxima, ranges, joins, look-ups, names.
#include "forest/base/ColumnProperties.h"
#include "forest/base/ForestSetRoutines.h"
#include "framework/values/TypedValues.h"
#include "platform/Exceptions.h"
#include "forest/support/ForestTestSupport.h"

namespace {

using foresttest::TTestMN;
using foresttest::TTestPrvek;

class ForestSetRoutines : public foresttest::ForestFixture
{
protected:
    // Items keyed 1, 2, ... with the given ZAST values.
    void fill(std::initializer_list<int> values)
    {
        int key = 0;
        for (const int v : values) {
            set->NovyPrvek(QString::number(++key));
            dynamic_cast<TTestPrvek*>(set->AktualniPrvek())->zast = v;
        }
    }
    TTestPrvek* item(int index) const { return dynamic_cast<TTestPrvek*>(set->Items(index)); }

    Owned<TTestMN> set = Create<TTestMN>();
};

TEST_F(ForestSetRoutines, MaximumKeepsTheFirstOfEqualValues)
{
    EXPECT_EQ(ElementWithMaxProperty(set.get(), "ZAST"), nullptr);
    fill({5, 7, 7});
    EXPECT_EQ(ElementWithMaxProperty(set.get(), "ZAST"), set->Items(1));
}

TEST_F(ForestSetRoutines, RangeOfEqualValuesInASortedSet)
{
    int first = -1;
    int count = -1;
    FindRangeByIntProperty(set.get(), "ZAST", 3, first, count);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(count, 0);
    fill({1, 3, 3, 3, 8});
    FindRangeByIntProperty(set.get(), "ZAST", 3, first, count);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(count, 3);
    FindRangeByIntProperty(set.get(), "ZAST", 4, first, count);
    EXPECT_EQ(count, 0);
    FindRangeByIntProperty(set.get(), "ZAST", 8, first, count);
    EXPECT_EQ(first, 4);
    EXPECT_EQ(count, 1);
    FindRangeByIntProperty(set.get(), "ZAST", 1, first, count);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(count, 1);
}

TEST_F(ForestSetRoutines, SumsOverTheSubtree)
{
    fill({60, 40});
    // The set itself and the storey-like owner have no ZAST: skipped.
    EXPECT_EQ(SumPropertyRounded(set.get(), "ZAST"), 100);
    EXPECT_DOUBLE_EQ(SumFloatProperty(set.get(), "ZAST"), 100.0);
    item(0)->popis = "1,5";
    item(1)->popis = "x";
    EXPECT_DOUBLE_EQ(SumFloatProperty(set.get(), "POPIS"), 1.5);
    EXPECT_THROW(SumPropertyRounded(set.get(), "POPIS"), EConvertError);
}

TEST_F(ForestSetRoutines, JoinsValuesOfChildrenThatHaveTheProperty)
{
    EXPECT_EQ(JoinPropertyValues(set.get(), "ZAST", ","), "");
    fill({1, 2});
    set->TObecnyLesniPrvek::Add(Create<TObecnyLesniPrvek>().release());
    EXPECT_EQ(JoinPropertyValues(set.get(), "ZAST", ", "), "1, 2");
}

TEST_F(ForestSetRoutines, ValueByKeyTakesTheLastMatch)
{
    fill({1, 2, 3});
    item(0)->popis = " sm ";
    item(1)->popis = "BK";
    item(2)->popis = "SM";
    EXPECT_EQ(ValueByKey(set.get(), "POPIS", "sm", "ZAST"), "3");
    EXPECT_EQ(ValueByKey(set.get(), "POPIS", "DB", "ZAST"), "");
}

TEST_F(ForestSetRoutines, SelectsFirstItemsAllTheWayDown)
{
    fill({1, 2});
    TTestMN* inner = item(1)->AddNew<TTestMN>();
    inner->NovyPrvek("x");
    inner->NovyPrvek("y");
    set->SetAktualniPrvek(nullptr);
    SelectFirstElements(set.get());
    EXPECT_EQ(set->AktualniPrvek(), set->Items(0));
    EXPECT_EQ(inner->AktualniPrvek(), inner->Items(0));
}

TEST_F(ForestSetRoutines, FindsOwnersOfAClassThroughForestOwners)
{
    fill({1});
    TTestMN* inner = item(0)->AddNew<TTestMN>();
    inner->NovyPrvek("x");
    TElement* leaf = inner->AktualniPrvek();
    EXPECT_EQ(FindOwnerOfClassDeep(leaf, TTestMN::StaticClass()), inner);
    EXPECT_EQ(FindOwnerOfClassDeep(leaf, TTestPrvek::StaticClass()), item(0));
    EXPECT_EQ(FindOwnerOfClassDeep(leaf, TVlastnostiMN::StaticClass()), nullptr);
}

// An owner entry left nil by a freed owner is reported on each pass over the owners, and the
// search goes on through the live ones.
TEST_F(ForestSetRoutines, OwnerSearchReportsAFreedOwnerOnEachPass)
{
    auto gone = Create<TTestMN>();
    auto made = Create<TTestPrvek>();
    made->AddOwner(gone.get());
    TTestPrvek* leaf = made.get();
    set->Add(made.release());
    gone = nullptr;
    auto outer = Create<TTestPrvek>();
    outer->Add(set.get());
    foresttest::recorder().clear();
    EXPECT_EQ(FindOwnerOfClassDeep(leaf, TTestPrvek::StaticClass()), outer.get());
    ASSERT_EQ(foresttest::recorder().messages.size(), 2u);
    for (const auto& message : foresttest::recorder().messages)
        EXPECT_TRUE(message.text.endsWith(QStringLiteral("Objekt vlastníka je prázdný"))) << message.text.toStdString();
    outer->Remove(set.get());
}

TEST_F(ForestSetRoutines, UpperCasesNamesRecursively)
{
    fill({1});
    TTestMN* inner = item(0)->AddNew<TTestMN>();
    inner->NovyPrvek("ab");
    UpperCaseNames(set.get());
    EXPECT_EQ(item(0)->GetName(), "POR 1");
    EXPECT_EQ(inner->Items(0)->GetName(), "POR AB");
}

TEST(ForestStringLists, AddUniqueAndNameValueOnce)
{
    QStringList list;
    AddUnique(list, "a");
    AddUnique(list, "a");
    EXPECT_EQ(list, QStringList({"a"}));
    QStringList pairs;
    AddNameValueOnce(pairs, "7", "x");
    AddNameValueOnce(pairs, "  7", "y");
    AddNameValueOnce(pairs, "abcd", "z");
    EXPECT_EQ(pairs, QStringList({"  7=x", "abcd=z"}));
}

TEST(ForestStringLists, LinesBecomeNamedValues)
{
    EXPECT_FALSE(StringsToListElement(nullptr));
    const QStringList lines = {"ODD", "DIL"};
    Owned<TStringListElement> list = StringsToListElement(&lines);
    ASSERT_EQ(list->Count(), 2);
    EXPECT_EQ(list->NameAt(1), "DIL");
    EXPECT_EQ(list->ValueAt(1), "DIL");
}

} // namespace
