// Tests of the class registry: sorted entries, lookups, creation by name, property tables.
#include "framework/support/ElementsTestSupport.h"

#include "framework/core/ClassRegistry.h"
#include "framework/core/Messages.h"

#include <gtest/gtest.h>

using namespace lumextest;

namespace {

using ClassRegistryTest = ElementsFixture;

TClassInfo plainClass(const char* name)
{
    return TClassInfo(QString::fromUtf8(name), TElement::StaticClass(), 8, [] {
        return static_cast<TPersistent*>(Create<TElement>().release());
    });
}

TEST_F(ClassRegistryTest, EntriesStaySortedIgnoringCzechLetterCase)
{
    const TClassInfo zeta = plainClass("TZeta");
    const TClassInfo alfa = plainClass("talfa");
    const TClassInfo beta = plainClass("TBeta");
    auto registry = Create<TLumexClasses>();
    registry->RegisterClass(&zeta);
    registry->RegisterClass(&alfa);
    registry->RegisterClass(&beta);

    ASSERT_EQ(registry->Count(), 3);
    EXPECT_EQ(registry->EntryAt(0)->GetName(), QStringLiteral("talfa"));
    EXPECT_EQ(registry->EntryAt(1)->GetName(), QStringLiteral("TBeta"));
    EXPECT_EQ(registry->EntryAt(2)->GetName(), QStringLiteral("TZeta"));
    EXPECT_EQ(registry->FindClass(QStringLiteral("TBETA")), &beta);
    // Registration numbers in registration order, counted once each.
    EXPECT_EQ(registry->EntryAt(2)->ID(), 0);
    EXPECT_EQ(registry->EntryAt(0)->ID(), 1);
    EXPECT_EQ(registry->EntryAt(1)->ID(), 2);
    EXPECT_EQ(registry->Current(), registry->EntryAt(1));

    // Czech letters compare by letter, ignoring case: Č is not C.
    const TClassInfo cap = plainClass("TČáp");
    const TClassInfo cukr = plainClass("TCukr");
    registry->RegisterClass(&cap);
    registry->RegisterClass(&cukr);
    EXPECT_EQ(registry->FindClass(QStringLiteral("tčÁP")), &cap);
    EXPECT_EQ(registry->FindClass(QStringLiteral("TCUKR")), &cukr);
    EXPECT_EQ(registry->FindClass(QStringLiteral("TCap")), nullptr);
}

TEST_F(ClassRegistryTest, SearchFindsEveryEntryAndInsertPositions)
{
    auto registry = Create<TLumexClasses>();
    std::vector<std::unique_ptr<TClassInfo>> classes;
    const QStringList names = {"TA", "TC", "TE", "TG", "TI", "TK", "TM"};
    for (const QString& n : names) {
        classes.push_back(std::make_unique<TClassInfo>(n, TElement::StaticClass(), 8, nullptr));
        registry->RegisterClass(classes.back().get());
    }
    for (int i = 0; i < names.size(); ++i) {
        int insertAt = 0;
        EXPECT_EQ(registry->Search(names[i].toLower(), insertAt), i) << names[i].toStdString();
    }
    int insertAt = 0;
    EXPECT_EQ(registry->Search(QStringLiteral("TD"), insertAt), -1);
    EXPECT_EQ(insertAt, 2);
    EXPECT_EQ(registry->Search(QStringLiteral("T0"), insertAt), -1);
    EXPECT_EQ(insertAt, 0);
    EXPECT_EQ(registry->Search(QStringLiteral("TZ"), insertAt), -1);
    EXPECT_EQ(insertAt, -1);
}

TEST_F(ClassRegistryTest, GlobalLookups)
{
    EXPECT_EQ(FindLumexClass(QStringLiteral("townerentity")), TOwnerEntity::StaticClass());
    EXPECT_EQ(FindLumexClass(QStringLiteral("TNeni")), nullptr);
    EXPECT_EQ(GetLumexClass(QStringLiteral("TEntity")), TEntity::StaticClass());
    try {
        GetLumexClass(QStringLiteral("TNeni"));
        FAIL() << "no exception";
    } catch (const EClassNotFound& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Lumex nenašel třídu TNeni"));
    }
}

TEST_F(ClassRegistryTest, CreateElementByNameRetriesWithT)
{
    Owned<TElement> probe = CreateElementByName(QStringLiteral("OwnedProbe"));
    ASSERT_NE(probe, nullptr);
    EXPECT_EQ(probe->ClassType(), TOwnedProbe::StaticClass());
    EXPECT_TRUE(recorder().messages.empty());

    EXPECT_EQ(CreateElementByName(QStringLiteral("Oddeleni")), nullptr);
    ASSERT_EQ(recorder().messages.size(), 1u);
    EXPECT_EQ(recorder().messages[0].text, QStringLiteral("Neregistrovaný element: TOddeleni"));
    EXPECT_EQ(recorder().messages[0].type, ui::MsgType::Error);
}

TEST_F(ClassRegistryTest, PropertyByNameIgnoresAsciiCaseAndFindsTheFirst)
{
    auto prop = [](const QString& name) {
        auto p = std::make_unique<TPropInfo>();
        p->Name = name;
        p->Kind = tkInteger;
        return p;
    };
    TClassInfo base = plainClass("TZakladni");
    base.AddOwnProp(prop(QStringLiteral("Plocha")));
    base.AddOwnProp(prop(QStringLiteral("Čís")));
    TClassInfo derived(QStringLiteral("TOdvozena"), &base, 8, {});
    derived.AddOwnProp(prop(QStringLiteral("Zakoji")));
    derived.AddOwnProp(prop(QStringLiteral("PLOCHA")));   // takes the inherited one's place

    const int n = TElement::StaticClass()->PropCount();   // inherited from the element
    EXPECT_EQ(derived.IndexOfProp(u"plocha"), n);
    EXPECT_EQ(derived.Prop(n)->Name, QStringLiteral("PLOCHA"));
    EXPECT_EQ(base.Prop(n)->Name, QStringLiteral("Plocha"));
    EXPECT_EQ(derived.PropCount(), n + 3);
    EXPECT_EQ(derived.IndexOfProp(u"ZAKOJI"), n + 2);
    EXPECT_EQ(derived.IndexOfProp(u"ČÍS"), -1);            // only ASCII letters fold
    EXPECT_EQ(derived.IndexOfProp(u"Čís"), n + 1);
    EXPECT_EQ(derived.IndexOfProp(TElement::StaticClass()->Prop(0)->Name.toLower()), 0);
    EXPECT_EQ(derived.IndexOfProp(u"Plochy"), -1);
    EXPECT_EQ(base.IndexOfProp(u"zakoji"), -1);
}

} // namespace
