// Tests of the loaders' property look-up by name literal.
#include "app/sources/PropertyLookup.h"

#include "forest/base/ForestRegistration.h"
#include "forest/hierarchy/Drevina.h"
#include "forest/hierarchy/Etaz.h"
#include "forest/hierarchy/Porost.h"
#include "forest/hierarchy/PorostniSkupina.h"
#include "framework/core/StartupRegistration.h"
#include "framework/core/TextRoutines.h"
#include "platform/Exceptions.h"

#include <gtest/gtest.h>

#include <deque>
#include <vector>

namespace {

PPropInfo byName(TPersistent& object, const QString& name)
{
    const int index = IndexOfProp(&object, name);
    return index < 0 ? nullptr : object.ClassType()->Prop(index);
}

// One literal asked of two classes in turn answers each class's own property, in any ASCII case,
// and nothing (or the error, for literalProperty) where the class has none.
TEST(PropertyLookupTest, ALiteralAnswersPerClassAsTheLookUpByName)
{
    RegisterFrameworkUnits();
    RegisterForestUnits();
    auto storey = Create<TEtaz>();
    auto group = Create<TPorostniSkupina>();
    for (int round = 0; round < 2; ++round) {
        for (TPersistent* object : {static_cast<TPersistent*>(storey.get()), static_cast<TPersistent*>(group.get())}) {
            for (const char* name : {"VEK", "vek", "PSK", "Psk_p", "NEEXISTUJE"}) {
                const PPropInfo expected = byName(*object, QString::fromLatin1(name));
                EXPECT_EQ(app::findLiteralProperty(*object, name), expected) << name;
                if (expected)
                    EXPECT_EQ(app::literalProperty(*object, name), expected) << name;
                else
                    EXPECT_THROW(app::literalProperty(*object, name), EDatabaseError) << name;
            }
        }
    }
    EXPECT_NE(app::findLiteralProperty(*storey, "vek"), nullptr);
    EXPECT_EQ(app::findLiteralProperty(*storey, "NEEXISTUJE"), nullptr);
}

// Every published name of the classes, each at one address for the life of the process (the
// look-up keeps answers by address, as it does for string literals).
std::vector<const char*> namesOf(const std::vector<TPersistent*>& objects)
{
    static std::deque<QByteArray> stored;
    std::vector<const char*> names;
    for (TPersistent* object : objects) {
        const TClass type = object->ClassType();
        for (int i = 0; i < type->PropCount(); ++i) {
            stored.push_back(type->Prop(i)->Name.toLatin1());
            names.push_back(stored.back().constData());
        }
    }
    return names;
}

// Each class gets its own property of a name, also when another class was asked for the same
// literal just before; the answers agree with the look-up by name however the calls interleave.
TEST(PropertyLookupTest, LiteralAnswersAgreeWithTheNamedLookupForEveryClass)
{
    Owned<TDrevina> species = Create<TDrevina>();
    Owned<TEtaz> storey = Create<TEtaz>();
    Owned<TPorost> stand = Create<TPorost>();
    const std::vector<TPersistent*> objects = {species.get(), storey.get(), stand.get()};
    const std::vector<const char*> names = namesOf(objects);
    for (int round = 0; round < 2; ++round) {
        for (const char* name : names) {
            for (TPersistent* object : objects) {
                const int index = IndexOfProp(object, QString::fromLatin1(name));
                if (index < 0) {
                    EXPECT_THROW(app::literalProperty(*object, name), EDatabaseError) << name;
                    continue;
                }
                EXPECT_EQ(app::literalProperty(*object, name), object->ClassType()->Prop(index)) << name;
            }
        }
    }
}

// The whole number of an integer property, a float one and a text one reads as its text does.
TEST(PropertyLookupTest, AWholeNumberReadsAsTheLeadingIntegerOfTheText)
{
    Owned<TDrevina> species = Create<TDrevina>();
    const QStringList values = {"0", "7", "-42", "2147483647", "-2147483648", "12ab", "", "3,5"};
    for (const QString& value : values) {
        for (const char* name : {"RId", "DR_ZKR", "Vi", "ZAST"}) {
            SetPropFromString(species.get(), app::literalProperty(*species, name), value);
            EXPECT_EQ(app::literalWholeNumber(*species, name), LeadingInteger(app::literalText(*species, name)))
                << name << " " << value.toStdString();
        }
    }
    EXPECT_EQ(app::literalWholeNumber(*species, "NEEXISTUJE"), 0);
}

} // namespace
