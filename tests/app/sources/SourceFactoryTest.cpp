// Tests of the source of each kind byte.
#include "app/sources/LesniCelek.h"
#include "app/sources/Source.h"

#include <gtest/gtest.h>

namespace {

TEST(SourceFactory, EveryReadableKindHasASourceOfThatKind)
{
    for (const quint8 kind : {0, 1, 2, 3, 4, 5}) {
        const auto source = app::createSource(kind, {});
        ASSERT_NE(source, nullptr) << int(kind);
        EXPECT_EQ(source->kind(), kind);
    }
    EXPECT_EQ(app::createSource(7, {}), nullptr);
    EXPECT_EQ(app::createSource(6, {}), nullptr);
}

} // namespace
