// Tests of the forest set: naming by prefix and key, the current item, keep-only-one mode, lists.
#include "forest/base/ColumnProperties.h"
#include "forest/base/LesniMnozina.h"
#include "forest/support/ForestTestSupport.h"

namespace {

using foresttest::recorder;
using foresttest::TTestMN;
using foresttest::TTestPrvek;

class LesniMnozina : public foresttest::ForestFixture
{
protected:
    Owned<TTestMN> set = Create<TTestMN>();
};

TEST_F(LesniMnozina, SelectOrCreateTwiceGivesOneChild)
{
    set->NovyNeboAktualniPrvek("a");
    TElement* first = set->AktualniPrvek();
    set->NovyNeboAktualniPrvek("a");
    ASSERT_EQ(set->Count(), 1);
    EXPECT_EQ(set->Items(0)->GetName(), "POR a");
    EXPECT_EQ(set->AktualniPrvek(), first);
    EXPECT_EQ(set->JmenoAktualnihoPrvku(), "a");

    set->NovyPrvek("a");
    EXPECT_EQ(set->AktualniPrvek(), nullptr);
    EXPECT_EQ(set->Count(), 1);
    EXPECT_EQ(set->JmenoAktualnihoPrvku(), "PrvekNeni");
}

TEST_F(LesniMnozina, KeysMatchIgnoringLetterCase)
{
    set->NovyPrvek("č");
    set->SetJmenoAktualnihoPrvku("Č");
    ASSERT_NE(set->AktualniPrvek(), nullptr);
    EXPECT_EQ(set->AktualniPrvek()->GetName(), "POR č");
    set->SetJmenoAktualnihoPrvku("x");
    EXPECT_EQ(set->AktualniPrvek(), nullptr);
}

TEST_F(LesniMnozina, LookUpFindsTheFirstNameEqualIgnoringCase)
{
    set->NovyPrvekVzdy("ab");
    TElement* first = set->AktualniPrvek();
    set->NovyPrvekVzdy("AB");
    set->NovyPrvekVzdy("\u0131");   // dotless i: upper-cases to the ASCII "I"
    TElement* dotless = set->AktualniPrvek();
    set->NovyPrvekVzdy("aby");

    EXPECT_EQ(set->FindElementByName("por AB"), first);
    EXPECT_EQ(set->FindElementByName("POR i"), dotless);
    EXPECT_EQ(set->FindElementByName("POR ABY"), set->Items(3));
    EXPECT_EQ(set->FindElementByName("POR A"), nullptr);
    EXPECT_EQ(set->FindElementByName("POR Ab "), nullptr);
    // Names are read at each look-up: a renamed item answers to its new name only.
    first->SetName("POR zz");
    EXPECT_EQ(set->FindElementByName("POR zZ"), first);
    EXPECT_EQ(set->FindElementByName("POR ab"), set->Items(1));
}

TEST_F(LesniMnozina, AddPutsThePrefixInFrontOnlyWhenMissing)
{
    set->SetPredponaName("DIL");
    Owned<TTestPrvek> x = Create<TTestPrvek>();
    x->SetName("x");
    Owned<TTestPrvek> y = Create<TTestPrvek>();
    y->SetName("DIL y");
    set->Add(x.get());
    set->Add(y.get());
    EXPECT_EQ(x->GetName(), "DIL x");
    EXPECT_EQ(y->GetName(), "DIL y");
    EXPECT_EQ(set->AktualniPrvek(), y.get());
    EXPECT_EQ(set->Count(), 2);
}

TEST_F(LesniMnozina, ForeignClassIsRefusedWithAMessage)
{
    set->SetName("Porosty");
    set->NovyPrvek("1");
    TElement* current = set->AktualniPrvek();
    Owned<TObecnyLesniPrvek> foreign = Create<TObecnyLesniPrvek>();
    foreign->SetName("cizi");
    set->Add(foreign.get());
    EXPECT_EQ(set->Count(), 1);
    EXPECT_EQ(set->AktualniPrvek(), current);
    EXPECT_EQ(foreign->GetName(), "cizi");
    ASSERT_EQ(recorder().messages.size(), 1u);
    EXPECT_EQ(recorder().messages[0].text, "Prvek \"cizi\" neni typem pro mnozinu \"Porosty\"");
}

TEST_F(LesniMnozina, KeepOnlyOneFreesTheOldItem)
{
    set->SetNechavatJenJedenPrvek(true);
    set->NovyPrvek("1");
    WeakRef<TElement> old = set->AktualniPrvek();
    set->NovyPrvek("2");
    EXPECT_EQ(old.get(), nullptr);
    ASSERT_EQ(set->Count(), 1);
    EXPECT_EQ(set->JmenoAktualnihoPrvku(), "2");
}

TEST_F(LesniMnozina, KeepOnlyOneKeepsAnItemAddedAgain)
{
    // The original freed every item of the class, the one being added again included.
    set->SetNechavatJenJedenPrvek(true);
    set->NovyPrvek("1");
    TElement* item = set->AktualniPrvek();
    set->Add(item);
    ASSERT_GE(set->Count(), 1);
    EXPECT_EQ(set->Items(0), item);
    EXPECT_EQ(set->AktualniPrvek()->GetName(), "POR 1");
}

TEST_F(LesniMnozina, KeepOnlyOneLeavesItemsOfOtherClassesAlone)
{
    set->SetNechavatJenJedenPrvek(true);
    Owned<TObecnyLesniPrvek> other = Create<TObecnyLesniPrvek>();
    set->TObecnyLesniPrvek::Add(other.get());
    set->NovyPrvek("1");
    set->NovyPrvek("2");
    EXPECT_EQ(set->Count(), 2);
    EXPECT_EQ(set->PocetPrvku(), 1);
    EXPECT_EQ(set->Items(0), other.get());
}

TEST_F(LesniMnozina, CurrentKeyIsPrvekNeniWhenEmptyOrRemoved)
{
    EXPECT_EQ(set->JmenoAktualnihoPrvku(), "PrvekNeni");
    set->NovyPrvek("5");
    Owned<TElement> keep(set->AktualniPrvek());
    set->Remove(keep.get());
    EXPECT_EQ(set->JmenoAktualnihoPrvku(), "PrvekNeni");
}

TEST_F(LesniMnozina, OldKeyFollowsEveryWriteOfTheCurrentItem)
{
    set->NovyPrvek("1");
    set->NovyPrvek("2");
    TElement* second = set->AktualniPrvek();
    set->SetJmenoAktualnihoPrvku("1");
    EXPECT_EQ(set->JmenoStarehoPrvku(), "2");
    set->SetAktualniPrvek(nullptr);
    EXPECT_EQ(set->JmenoStarehoPrvku(), "1");
    set->SetAktualniPrvek(second);
    EXPECT_EQ(set->JmenoStarehoPrvku(), "PrvekNeni");
}

TEST_F(LesniMnozina, AlwaysCreatesTheVzdyItem)
{
    set->SetPredponaName("ETAZ");
    TElement* item = set->AktualniPrvekVzdy();
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->GetName(), "ETAZ Vzdy");
    EXPECT_EQ(set->AktualniPrvekVzdy(), item);
    EXPECT_EQ(set->Count(), 1);
}

TEST_F(LesniMnozina, AlwaysNTakesTheFirstChildWithoutTouchingTheOldKey)
{
    set->NovyPrvek("1");
    set->NovyPrvek("2");
    set->SetAktualniPrvek(nullptr);
    const QString old = set->JmenoStarehoPrvku();
    EXPECT_EQ(set->AktualniPrvekVzdyN(), set->Items(0));
    EXPECT_EQ(set->JmenoStarehoPrvku(), old);

    Owned<TTestMN> empty = Create<TTestMN>();
    EXPECT_EQ(empty->AktualniPrvekVzdyN()->GetName(), "POR Vzdy");
}

TEST_F(LesniMnozina, AlwaysNewAllowsDuplicateKeys)
{
    set->NovyPrvekVzdy("a");
    set->NovyPrvekVzdy("a");
    ASSERT_EQ(set->Count(), 2);
    EXPECT_EQ(set->Items(1)->GetName(), "POR a");
    EXPECT_EQ(set->AktualniPrvek(), set->Items(1));
    EXPECT_EQ(set->PoradiAktualnihoPrvku(), 1);
}

TEST_F(LesniMnozina, NamesAndPropertiesFromLists)
{
    set->SetNamesFromList("1;2;3;", ";");
    ASSERT_EQ(set->Count(), 3);
    EXPECT_EQ(set->Items(2)->GetName(), "POR 3");
    set->SetPropertyFromList("ZAST", "10;20;30;40", ";");
    ASSERT_EQ(set->Count(), 4);
    EXPECT_EQ(set->Items(0)->GetPropAsInteger("ZAST"), 10);
    EXPECT_EQ(set->Items(3)->GetPropAsInteger("zast"), 40);
    set->SetPropertyOfAll("POPIS", "x");
    EXPECT_EQ(set->Items(1)->GetPropAsString("POPIS"), "x");
    EXPECT_EQ(set->Items(3)->GetPropAsString("POPIS"), "x");
}

TEST_F(LesniMnozina, SelectingByKeyFindsWhatTheFullNameFinds)
{
    for (const char* name : {"POR a", "PORXa", "por A", "POR \u0131", "POR ", "POR  b", "POR\u00a0c", "XPOR d"}) {
        Owned<TElement> item(Create<TTestPrvek>().release());
        item->SetName(QString::fromUtf8(name));
        set->Add(item.release());
    }
    for (const char* key : {"a", "A", "I", "i", "", " b", "c", "d", "Xa", "\u0131"}) {
        const QString k = QString::fromUtf8(key);
        TElement* byName = set->FindElementByName(set->ItemName(k));
        set->SetJmenoAktualnihoPrvku(k);
        EXPECT_EQ(set->AktualniPrvek(), byName) << key;
    }
}

TEST_F(LesniMnozina, OldKeyIsTheKeyOfTheItemJustAdded)
{
    set->NovyPrvekVzdy("POR 7");   // the prefix is there already: the name stays
    EXPECT_EQ(set->AktualniPrvek()->GetName(), "POR 7");
    EXPECT_EQ(set->JmenoStarehoPrvku(), "7");
    set->NovyPrvekVzdy("PORx");
    EXPECT_EQ(set->JmenoStarehoPrvku(), "");
    EXPECT_EQ(set->JmenoAktualnihoPrvku(), "");
    set->NovyPrvekVzdy("8");
    EXPECT_EQ(set->JmenoStarehoPrvku(), "8");
    set->NovyPrvek("9");
    EXPECT_EQ(set->JmenoStarehoPrvku(), "9");
    // Selecting the same item again keeps its key as the old one.
    set->SetJmenoAktualnihoPrvku("8");
    set->SetJmenoAktualnihoPrvku("8");
    EXPECT_EQ(set->JmenoStarehoPrvku(), "8");
    EXPECT_EQ(set->JmenoAktualnihoPrvku(), "8");
}

TEST_F(LesniMnozina, ListPartsAreThoseOfSplittingTheText)
{
    for (const QString& text : {QString(";a;;b;"), QString("a"), QString(""), QString(";"), QString("a;;"),
                                QString("x, y, "), QString(", ")}) {
        for (const QString& separator : {QString(";"), QString(", "), QString()}) {
            Owned<TTestMN> fresh = Create<TTestMN>();
            fresh->SetPropertyFromList("POPIS", text, separator);
            QStringList parts = separator.isEmpty() ? (text.isEmpty() ? QStringList() : QStringList{text})
                                                    : text.split(separator);
            if (!separator.isEmpty() && parts.last().isEmpty())
                parts.removeLast();
            ASSERT_EQ(fresh->Count(), parts.size()) << text.toStdString() << "|" << separator.toStdString();
            for (int i = 0; i < parts.size(); ++i)
                EXPECT_EQ(fresh->Items(i)->GetPropAsString("POPIS"), parts[i]);
        }
    }
    // Only "NAME" in any ASCII letter case names the items.
    set->SetPropertyFromList("nAmE", "1;2", ";");
    EXPECT_EQ(set->Items(1)->GetName(), "POR 2");
}

TEST_F(LesniMnozina, PublishedAccessorsDriveTheSet)
{
    TElement& e = *set;
    e.SetPropAsString("NovyNeboAktualniPrvek", "7");
    e.SetPropAsString("NovyNeboAktualniPrvek", "7");
    EXPECT_EQ(e.GetPropAsInteger("PocetPrvku"), 1);
    EXPECT_EQ(e.GetPropAsString("JmenoAktualnihoPrvku"), "7");
    EXPECT_EQ(e.GetPropAsString("PredponaName"), "POR");
    e.SetPropAsBoolean("NechavatJenJedenPrvek", true);
    EXPECT_TRUE(set->NechavatJenJedenPrvek());
    Owned<TElement> created = CreateElementByName("TVlastnostiMN");
    ASSERT_TRUE(created);
    EXPECT_EQ(created->GetPropAsString("PredponaName"), "VLAS");
}

TEST_F(LesniMnozina, CloneKeepsOnlyTheStoredSettings)
{
    set->SetNechavatJenJedenPrvek(true);
    set->SetPredponaName("DIL");
    set->NovyPrvek("1");
    Owned<TObecnyLesniPrvek> copy = set->Clone();
    auto* clone = dynamic_cast<TTestMN*>(copy.get());
    ASSERT_NE(clone, nullptr);
    EXPECT_EQ(clone->PredponaName(), "DIL");
    EXPECT_TRUE(clone->NechavatJenJedenPrvek());
    EXPECT_EQ(clone->JmenoStarehoPrvku(), set->JmenoStarehoPrvku());
    EXPECT_EQ(clone->Count(), 0);
    EXPECT_EQ(clone->AktualniPrvek(), nullptr);
}

TEST_F(LesniMnozina, ColumnPropertiesStartWithTheTooltipColour)
{
    Owned<TVlastnosti> v = Create<TVlastnosti>();
    EXPECT_EQ(v->Color(), 0x80000018u);
    EXPECT_EQ(v->Value(), 0u);
    Owned<TVlastnostiSloupcuMN> columns = Create<TVlastnostiSloupcuMN>();
    columns->NovyPrvek("A");
    EXPECT_EQ(columns->Items(0)->GetName(), "SLOUP A");
    EXPECT_TRUE(columns->Items(0)->InheritsFrom(TVlastnostiSloupcu::StaticClass()));
}

} // namespace
