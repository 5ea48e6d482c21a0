// Tests of the species row values read from the forest model.
#include "app/calculation/SpeciesRowSource.h"

#include "forest/hierarchy/LHC.h"

#include <gtest/gtest.h>

namespace {

using namespace app;

// The cache keeps one text per element and property: another element, or the next property of
// the same element, is read anew.
TEST(SpeciesRowCache, EachElementAndPropertyGetsItsOwnText)
{
    Owned<TLHC> first = Create<TLHC>();
    Owned<TLHC> second = Create<TLHC>();
    first->SetPropAsString(QStringLiteral("LHP_TAX"), QStringLiteral("Ing. Říha"));
    first->SetPropAsString(QStringLiteral("LHP_Z_TAX"), QStringLiteral("Bc. Šťastná"));
    second->SetPropAsString(QStringLiteral("LHP_TAX"), QStringLiteral("Ing. Novák"));
    SpeciesRowCache cache;
    EXPECT_EQ(cache.lhpTax(*first), QStringLiteral("Ing. Říha"));
    EXPECT_EQ(cache.lhpZTax(*first), QStringLiteral("Bc. Šťastná"));
    EXPECT_EQ(cache.lhpTax(*second), QStringLiteral("Ing. Novák"));
    EXPECT_EQ(cache.lhpZTax(*second), QString());
    EXPECT_EQ(cache.lhpTax(*first), QStringLiteral("Ing. Říha"));
}

} // namespace
