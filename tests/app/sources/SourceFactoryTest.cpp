// Tests of the source of each kind byte.
#include "app/sources/LesniCelek.h"
#include "app/sources/Source.h"
#include "app/sources/UnreadableSource.h"

#include "platform/ui/Services.h"

#include <gtest/gtest.h>

namespace {

ui::RecordingServices& recorder()
{
    return static_cast<ui::RecordingServices&>(ui::services());
}

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

TEST(SourceFactory, AKindWithoutReaderSaysSoOnceAndYieldsNothing)
{
    recorder().clear();
    app::UnreadableSource source(3);
    Owned<TLesniCelek> unit = Create<TLesniCelek>();
    source.loadHeader(*unit);
    source.loadHeader(*unit);
    ASSERT_EQ(recorder().messages.size(), 1u);
    EXPECT_EQ(recorder().messages[0].text, app::unreadableSourceMessage());
    EXPECT_TRUE(source.buildCompartmentList(*unit).isEmpty());
    EXPECT_FALSE(source.loadFirstCompartment(*unit));
    EXPECT_TRUE(source.endOfData());
    EXPECT_FALSE(source.loadNextCompartment(*unit));
}

} // namespace
