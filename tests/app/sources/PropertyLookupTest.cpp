// Tests of the loaders' property look-up by name literal.
#include "app/sources/PropertyLookup.h"

#include "forest/base/ForestRegistration.h"
#include "forest/hierarchy/Etaz.h"
#include "forest/hierarchy/PorostniSkupina.h"
#include "framework/core/StartupRegistration.h"
#include "platform/Exceptions.h"

#include <gtest/gtest.h>

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

} // namespace
