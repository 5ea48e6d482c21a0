// Tests of the loaders' typed property writes through names prepared once.
#include "framework/support/ElementsTestSupport.h"

#include "app/sources/ishul/PropertyWriter.h"

#include <gtest/gtest.h>

using namespace lumextest;

namespace {

// A class whose "Cislo" stands elsewhere than in TPropProbe, after a text property.
class TOtherOrderProbe : public TElement
{
public:
    static TClass StaticClass()
    {
        static const TClassInfo info = describeClass<TOtherOrderProbe, TElement>(
            "TOtherOrderProbe", [](PropertyTable<TOtherOrderProbe>& t) {
                t.string("Popis", &TOtherOrderProbe::popis, [](TOtherOrderProbe& p, const QString& v) { p.popis = v; })
                    .integer("CISLO", &TOtherOrderProbe::cislo, [](TOtherOrderProbe& p, qint32 v) { p.cislo = v; });
            });
        return &info;
    }
    TClass ClassType() const override { return StaticClass(); }
    QString popis;
    qint32 cislo = 0;
};

// A descendant that publishes "Cislo" again without write access.
class TReadOnlyNumberProbe : public TPropProbe
{
public:
    static TClass StaticClass()
    {
        static const TClassInfo info = describeClass<TReadOnlyNumberProbe, TPropProbe>(
            "TReadOnlyNumberProbe", [](PropertyTable<TReadOnlyNumberProbe>& t) {
                t.integer("Cislo", [](TReadOnlyNumberProbe& p) { return p.cislo; }, nullptr);
            });
        return &info;
    }
    TClass ClassType() const override { return StaticClass(); }
};

// One prepared name written into elements of several classes in turn: each class gets its own
// property so named, or nothing when it has no writable one.
TEST(PropertyWriter, APreparedNameFollowsTheClassOfEachElement)
{
    auto probe = Create<TPropProbe>();
    auto other = Create<TOtherOrderProbe>();
    auto readOnly = Create<TReadOnlyNumberProbe>();
    auto without = Create<TOwnedProbe>();
    ASSERT_NE(IndexOfProp(probe.get(), QStringLiteral("cislo")), IndexOfProp(other.get(), QStringLiteral("cislo")));
    PreparedProperty cislo{QStringLiteral("cislo")};
    for (int round = 1; round <= 2; ++round) {
        writeInt(probe.get(), cislo, 10 * round);
        writeInt(other.get(), cislo, 20 * round);
        writeInt(readOnly.get(), cislo, 30 * round);
        writeInt(without.get(), cislo, 40 * round);
        writeInt(nullptr, cislo, 50 * round);
        EXPECT_EQ(probe->cislo, 10 * round);
        EXPECT_EQ(other->cislo, 20 * round);
        EXPECT_EQ(other->popis, QString());
        EXPECT_EQ(readOnly->cislo, 0);
    }
    PreparedProperty popis{QStringLiteral("POPIS")};
    writeText(other.get(), popis, QStringLiteral("text"));
    writeText(probe.get(), popis, QStringLiteral("jiný"));
    EXPECT_EQ(other->popis, QStringLiteral("text"));
    EXPECT_EQ(probe->popis, QStringLiteral("jiný"));
    PreparedProperty plocha{QStringLiteral("Plocha")};
    writeFloat(other.get(), plocha, 1.5);
    writeFloat(probe.get(), plocha, 2.5);
    EXPECT_EQ(probe->plocha, 2.5);
}

// Names built at run time, freed and built again with other letters, reach their own
// properties; a literal name and a built one of the same letters reach the same property.
TEST(PropertyWriter, NamesBuiltAtRunTimeAreNeverTakenForOthers)
{
    auto other = Create<TOtherOrderProbe>();
    for (int round = 1; round <= 50; ++round) {
        {
            const QString name = QStringLiteral("CIS") + QStringLiteral("LO");
            writeInt(other.get(), name, round);
        }
        {
            const QString name = QStringLiteral("PO") + QStringLiteral("PIS");
            writeText(other.get(), name, QString::number(round));
        }
        ASSERT_EQ(other->cislo, round);
        ASSERT_EQ(other->popis, QString::number(round));
    }
    writeInt(other.get(), QStringLiteral("Cislo"), 7);
    writeText(other.get(), QStringLiteral("Popis"), QStringLiteral("x"));
    EXPECT_EQ(other->cislo, 7);
    EXPECT_EQ(other->popis, QStringLiteral("x"));
}

} // namespace
