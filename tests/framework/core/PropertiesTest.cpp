// Tests of published properties: text conversions by kind, references by handle, CloneObject.
#include "framework/support/ElementsTestSupport.h"

#include "framework/core/ClassRegistry.h"
#include "framework/core/Properties.h"
#include "platform/Exceptions.h"

#include <gtest/gtest.h>

using namespace lumextest;

namespace {

class PropertiesTest : public ElementsFixture
{
protected:
    void SetUp() override
    {
        ElementsFixture::SetUp();
        probe = Create<TPropProbe>();
    }
    Owned<TPropProbe> probe;
};

// One text written to a property, and what reading it back gives.
struct TextCase {
    const char* label;
    const char* property;
    QString written;
    QString read;
};

class PropertyTextTest : public PropertiesTest, public ::testing::WithParamInterface<TextCase>
{
};

TEST_P(PropertyTextTest, ConvertsByKind)
{
    const TextCase& c = GetParam();
    probe->SetPropAsString(QString::fromLatin1(c.property), c.written);
    EXPECT_EQ(probe->GetPropAsString(QString::fromLatin1(c.property)), c.read);
    EXPECT_TRUE(recorder().messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, PropertyTextTest,
    ::testing::Values(
        TextCase{"IntegerDecimal", "Cislo", "-42", "-42"},
        TextCase{"IntegerHex", "Cislo", "$1F", "31"},
        TextCase{"IntegerHexWith0x", "Cislo", "0x1F", "31"},
        TextCase{"IntegerNotANumberGivesZero", "Cislo", "12abc", "0"},
        TextCase{"IntegerAfterLeadingBlanks", "Cislo", "  12", "12"},
        TextCase{"IntegerWithTrailingBlankIsNoNumber", "Cislo", "12 ", "0"},
        TextCase{"ByteWrapsModulo256", "Bajt", "300", "44"},
        TextCase{"BooleanFromIdentifier", "Priznak", "true", "True"},
        TextCase{"EnumerationFromIdentifier", "Barva", "CLBLUE", "clBlue"},
        TextCase{"EnumerationFromOrdinal", "Barva", "1", "clGreen"},
        TextCase{"EnumerationUnknownKeepsOld", "Barva", "clPink", "clRed"},
        TextCase{"EnumerationOrdinalOutsideKeepsOld", "Barva", "7", "clRed"},
        TextCase{"EnumerationNegativeOrdinalKeepsOld", "Barva", "-1", "clRed"},
        TextCase{"EnumerationBeyond32BitsKeepsOld", "Barva", "4294967297", "clRed"},
        TextCase{"SetFromDecimal", "Styl", "5", "5"},
        TextCase{"SetIdentifierKeepsOld", "Styl", "fsBold", "0"},
        TextCase{"CharIgnoresText", "Znak", "x", "a"},
        TextCase{"FloatWithPoint", "Plocha", "12.5", "12,5"},
        TextCase{"FloatGarbageGivesZero", "Plocha", "abc", "0"},
        TextCase{"ShortString", "Popis", QStringLiteral("Smrk ztepilý"), QStringLiteral("Smrk ztepilý")},
        TextCase{"LongString", "Soubor", "C:\\DATA\\LES.LMX", "C:\\DATA\\LES.LMX"},
        TextCase{"Int64IgnoresText", "Velke", "5", ""},
        TextCase{"MethodAsTwoNumbers", "OnZmena", "12;34", "12;34"},
        TextCase{"MethodWithoutSemicolon", "OnZmena", "12", "12;0"},
        TextCase{"ReadOnlyIgnoresText", "Pouze", "9", "0"},
        TextCase{"NameCaseIgnored", "cISLO", "7", "7"}),
    [](const ::testing::TestParamInfo<TextCase>& info) { return std::string(info.param.label); });

// A whole number beyond 32 bits is no Integer text: 0, without a message.
TEST_F(PropertiesTest, IntegerBeyond32BitsGivesZero)
{
    for (const char* text : {"4294967296", "-2147483649", "$100000000"}) {
        probe->SetPropAsInteger(QStringLiteral("Cislo"), 5);
        probe->SetPropAsString(QStringLiteral("Cislo"), QString::fromLatin1(text));
        EXPECT_EQ(probe->cislo, 0) << text;
    }
    EXPECT_TRUE(recorder().messages.empty());
}

TEST_F(PropertiesTest, BooleansReadAsText)
{
    for (const auto& [text, value] : {std::pair{"", false}, {"ano", false}, {"t", true}, {"TRUE", true}}) {
        probe->popis = QString::fromLatin1(text);
        EXPECT_EQ(probe->GetPropAsBoolean(QStringLiteral("Popis")), value) << text;
    }
}

TEST_F(PropertiesTest, GetPropAsIntegerReadsTheLeadingNumber)
{
    const std::pair<const char*, qint32> cases[] = {
        {"12abc", 12}, {"  -7", -7}, {"0x10", 16}, {"abc", 0}, {"99999999999", 999999999},
    };
    for (const auto& [text, value] : cases) {
        probe->popis = QString::fromLatin1(text);
        EXPECT_EQ(probe->GetPropAsInteger(QStringLiteral("Popis")), value) << text;
    }
}

TEST_F(PropertiesTest, UnknownNamesAnswerNothing)
{
    EXPECT_TRUE(probe->HasProperty(QStringLiteral("plocha")));
    EXPECT_EQ(probe->GetPropAsString(QString()), QString());
    EXPECT_FALSE(SetPropByName(probe.get(), QStringLiteral("Neni"), QStringLiteral("1")));
    EXPECT_TRUE(SetPropByName(probe.get(), QStringLiteral("Znak"), QStringLiteral("1")));
    EXPECT_EQ(GetObjectPropByName(probe.get(), QStringLiteral("Popis")), nullptr);   // not an object
}

// Every name of a class with many properties is found at its own place in any ASCII case; a
// name that differs in anything else (a Czech letter's case, a character more or less) is not.
TEST_F(PropertiesTest, NamesAreFoundInAnyAsciiCaseOnly)
{
    const TClass cls = TPropProbe::StaticClass();
    ASSERT_GT(cls->PropCount(), 16);
    for (int i = 0; i < cls->PropCount(); ++i) {
        const QString name = cls->Prop(i)->Name;
        EXPECT_EQ(cls->IndexOfProp(name.toLower()), i) << qPrintable(name);
        EXPECT_EQ(IndexOfProp(probe.get(), name.toUpper()), i) << qPrintable(name);
        EXPECT_EQ(cls->IndexOfProp(name + QLatin1Char('_')), -1) << qPrintable(name);
        EXPECT_EQ(cls->IndexOfProp(name.chopped(1)), -1) << qPrintable(name);
    }
    EXPECT_EQ(cls->IndexOfProp(u"Čislo"), -1);
    EXPECT_EQ(cls->IndexOfProp(u""), -1);
    EXPECT_EQ(TPersistent::StaticClass()->IndexOfProp(u"Name"), -1);
}

// A descendant that publishes an inherited name again, read-only and with another value.
class TRedeclaringProbe : public TPropProbe
{
public:
    static TClass StaticClass()
    {
        static const TClassInfo info = describeClass<TRedeclaringProbe, TPropProbe>(
            "TRedeclaringProbe", [](PropertyTable<TRedeclaringProbe>& t) {
                t.integer("CISLO", [](TRedeclaringProbe& p) { return p.cislo + 100; }, nullptr);
            });
        return &info;
    }
    TClass ClassType() const override { return StaticClass(); }
};

TEST_F(PropertiesTest, ARedeclaredNameTakesTheInheritedPropertysPlace)
{
    auto redeclaring = Create<TRedeclaringProbe>();
    redeclaring->cislo = 5;
    probe->cislo = 5;
    EXPECT_EQ(redeclaring->GetPropAsString(QStringLiteral("Cislo")), QStringLiteral("105"));
    SetPropByName(redeclaring.get(), QStringLiteral("Cislo"), QStringLiteral("7"));
    EXPECT_EQ(redeclaring->cislo, 5);   // read-only here
    EXPECT_EQ(probe->GetPropAsString(QStringLiteral("Cislo")), QStringLiteral("5"));
    const TClass cls = TRedeclaringProbe::StaticClass();
    EXPECT_EQ(cls->PropCount(), TPropProbe::StaticClass()->PropCount());
    EXPECT_EQ(cls->IndexOfProp(u"cislo"), TPropProbe::StaticClass()->IndexOfProp(u"cislo"));
}

TEST_F(PropertiesTest, ReferencesTravelAsHandles)
{
    Owned<TOwnerElement> target = Create<TOwnerElement>();
    probe->odkaz = target.get();
    const QString text = probe->GetPropAsString(QStringLiteral("Odkaz"));
    EXPECT_NE(text, QStringLiteral("0"));

    auto other = Create<TPropProbe>();
    other->SetPropAsString(QStringLiteral("Odkaz"), text);
    EXPECT_EQ(other->odkaz.get(), target.get());
    other->SetPropAsInteger(QStringLiteral("Odkaz"), 0);
    EXPECT_EQ(other->odkaz.get(), nullptr);

    // Unknown handles and handles of freed objects give nil, never a dangling reference.
    other->SetPropAsString(QStringLiteral("Odkaz"), QStringLiteral("123456789"));
    EXPECT_EQ(other->odkaz.get(), nullptr);
    target.reset();
    EXPECT_EQ(probe->odkaz.get(), nullptr);
    other->SetPropAsString(QStringLiteral("Odkaz"), text);
    EXPECT_EQ(other->odkaz.get(), nullptr);
    EXPECT_EQ(probe->GetPropAsString(QStringLiteral("Odkaz")), QStringLiteral("0"));
}

TEST_F(PropertiesTest, HandleOfTheWrongClassGivesNil)
{
    Owned<TOwnerElement> element = Create<TOwnerElement>();
    probe->SetPropAsInteger(QStringLiteral("Kontejner"), ObjectHandle(element.get()));
    EXPECT_EQ(probe->kontejner.get(), nullptr);
    Owned<TEntity> entity = Create<TEntity>();
    const qint32 handle = ObjectHandle(entity.get());
    EXPECT_EQ(ObjectFromHandle(handle, TElement::StaticClass()), entity.get());
    EXPECT_EQ(ObjectFromHandle(handle, TOwnerElement::StaticClass()), nullptr);
}

// An object is answered as its own class, an ancestor's and, from a class that declares no
// descriptor of its own, as that class; never as a descendant's or a sibling's.
TEST_F(PropertiesTest, ObjectsAreCastByTheirClass)
{
    class TUndescribedProbe : public TPropProbe
    {
    };
    auto entity = Create<TOwnerEntity>();
    auto element = Create<TOwnedProbe>();
    auto undescribed = Create<TUndescribedProbe>();
    EXPECT_EQ(castObject<TEntity>(entity.get()), entity.get());
    EXPECT_EQ(WeakRef<TOwnerEntity>(entity.get()).get(), entity.get());
    EXPECT_EQ(castObject<TEntity>(element.get()), nullptr);
    EXPECT_EQ(castObject<TEntity>(nullptr), nullptr);
    EXPECT_EQ(castObject<TOwnerElement>(element.get()), element.get());
    EXPECT_EQ(WeakRef<TOwnedProbe>(element.get()).get(), element.get());
    EXPECT_EQ(castObject<TPropProbe>(element.get()), nullptr);
    EXPECT_EQ(castObject<TPropProbe>(undescribed.get()), undescribed.get());
    EXPECT_EQ(WeakRef<TPropProbe>(undescribed.get()).get(), undescribed.get());
    EXPECT_EQ(castObject<TUndescribedProbe>(probe.get()), nullptr);
    EXPECT_EQ(castObject<TOwnedProbe>(entity.get()), nullptr);
    EXPECT_EQ(castObject<TEntity>(probe.get()), nullptr);
}

// A watch answers "alive" until its own object is freed, whatever else is freed meanwhile, and
// "freed" ever after, also once other objects have come and gone.
TEST_F(PropertiesTest, LifeWatchSeesOnlyItsOwnObjectFreed)
{
    auto watched = Create<TOwnedProbe>();
    auto other = Create<TOwnedProbe>();
    LifeWatch watch(*watched);
    LifeWatch fresh(*Create<TPlainProbe>().get());   // freed at once
    EXPECT_FALSE(fresh.isAlive());
    EXPECT_TRUE(watch.isAlive());
    other = nullptr;
    EXPECT_TRUE(watch.isAlive());
    watched = nullptr;
    EXPECT_FALSE(watch.isAlive());
    auto later = Create<TOwnedProbe>();
    later = nullptr;
    EXPECT_FALSE(watch.isAlive());
}

TEST_F(PropertiesTest, NextElementAddsThroughItsHandle)
{
    auto entity = Create<TEntity>();
    auto* child = Create<TOwnerElement>().release();
    entity->SetPropAsInteger(QStringLiteral("NextElement"), ObjectHandle(child));
    ASSERT_EQ(entity->Count(), 1);
    EXPECT_EQ(entity->GetPropAsString(QStringLiteral("NextElement")), QString());   // write only
    entity->SetPropAsInteger(QStringLiteral("ElementToFree"), ObjectHandle(child));
    EXPECT_EQ(entity->Count(), 0);
}

TEST_F(PropertiesTest, CloneObjectCopiesStoredValuesAndSharesReferences)
{
    Owned<TOwnerElement> target = Create<TOwnerElement>();
    probe->SetName(QStringLiteral("Vzor"));
    probe->cislo = 7;
    probe->barva = 2;
    probe->plocha = 2.5;
    probe->soubor = QStringLiteral("soubor");
    probe->odkaz = target.get();
    probe->velke = 1LL << 40;
    probe->onZmena = {1, 2};
    probe->docasny = QStringLiteral("not stored");
    probe->SetID(77);

    Owned<TPersistent> clone = CloneObject(probe.get());
    auto* copy = dynamic_cast<TPropProbe*>(clone.get());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetName(), QStringLiteral("Vzor"));
    EXPECT_EQ(copy->cislo, 7);
    EXPECT_EQ(copy->barva, 2);
    EXPECT_EQ(copy->plocha, 2.5);
    EXPECT_EQ(copy->soubor, QStringLiteral("soubor"));
    EXPECT_EQ(copy->odkaz.get(), target.get());   // the same object, not a copy
    EXPECT_EQ(copy->velke, 1LL << 40);
    EXPECT_EQ(copy->onZmena.Code, 1);
    EXPECT_EQ(copy->docasny, QString());           // not stored
    EXPECT_EQ(copy->podminene, QString());         // stored only when set
    EXPECT_EQ(copy->ID(), -1);                     // ID is never stored

    probe->podminene = QStringLiteral("ano");
    EXPECT_EQ(dynamic_cast<TPropProbe*>(CloneObject(probe.get()).get())->podminene, QStringLiteral("ano"));
    EXPECT_EQ(CloneObject(nullptr), nullptr);
}

TEST_F(PropertiesTest, AssignWithoutACopyOfItsOwnRaises)
{
    auto target = Create<TElement>();
    auto source = Create<TNameElement>();
    for (const auto& [from, text] : {std::pair<const TPersistent*, const char*>{source.get(), "TNameElement"},
                                     {nullptr, "nil"}}) {
        try {
            target->Assign(from);
            ADD_FAILURE() << "no error";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.message(), QStringLiteral("Cannot assign a %1 to a TElement").arg(text));
        }
    }
}

} // namespace
