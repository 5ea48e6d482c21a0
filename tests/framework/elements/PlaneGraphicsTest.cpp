// Tests of the plane graphic elements: points, rectangles, reference points, texts and their streams.
#include "framework/elements/PlaneGraphics.h"

#include "framework/core/ClassRegistry.h"
#include "framework/streams/Filer.h"
#include "framework/streams/StreamLoader.h"
#include "framework/streams/StreamSaver.h"
#include "platform/Exceptions.h"

#include <QBuffer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <vector>

namespace {

template<class T = TRectEntity>
Owned<T> entityOver(double minX, double minY, double maxX, double maxY)
{
    auto e = Create<T>();
    e->SetMinX(minX);
    e->SetMinY(minY);
    e->SetMaxX(maxX);
    e->SetMaxY(maxY);
    return e;
}

template<class R>
void expectBounds(R& e, double minX, double minY, double maxX, double maxY)
{
    EXPECT_DOUBLE_EQ(e.MinX(), minX);
    EXPECT_DOUBLE_EQ(e.MinY(), minY);
    EXPECT_DOUBLE_EQ(e.MaxX(), maxX);
    EXPECT_DOUBLE_EQ(e.MaxY(), maxY);
}

// Writes an element to a buffer and reads it back into `target` (the class name is consumed here,
// as the loader does).
void roundTrip(TElement& source, TElement& target, QString* className = nullptr)
{
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    TWriter writer(buffer);
    source.WriteTo(writer);
    buffer.seek(0);
    TReader reader(buffer);
    const QString name = reader.ReadString();
    if (className)
        *className = name;
    target.ReadFrom(reader, nullptr);
    EXPECT_TRUE(buffer.atEnd());
}

// --- points --------------------------------------------------------------------------------------

TEST(Coordinates, PlainHasNoPositionAndTwoDimensionalNoZ)
{
    auto c = Create<TCoordinate>();
    c->SetX(5);
    c->SetPropAsString("Y", "7");
    EXPECT_EQ(c->GetX(), -1.0);
    EXPECT_EQ(c->GetPropAsString("Y"), "-1");
    EXPECT_EQ(c->GetZ(), -1.0);
    auto p = Create<T2DCoordinate>();   // no Z
    p->SetZ(3.0);
    EXPECT_EQ(p->GetZ(), -1.0);
}

TEST(Coordinates, StreamsRawDoublesAndTaggedZ)
{
    auto p = Create<T3DCoordinate>();
    p->SetX(-2.25);
    p->SetY(1e300);
    p->SetZ(2.5);
    p->SetCS(200);
    p->SetID(3);
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    TWriter writer(buffer);
    p->WriteTo(writer);
    const QByteArray bytes = buffer.data();
    // "T3DCoordinate" (6, 13, text), ID 3 (2, 3), CS 200 (3, 200, 0: beyond 8 signed bits), 16 raw bytes,
    // Z (5 + 10 bytes).
    ASSERT_EQ(bytes.size(), 2 + 13 + 2 + 3 + 16 + 11);
    EXPECT_EQ(bytes.mid(17, 3), QByteArray("\x03\xC8\x00", 3));
    EXPECT_EQ(bytes.mid(20, 8), QByteArray("\x00\x00\x00\x00\x00\x00\x02\xC0", 8));
    EXPECT_EQ(bytes.at(36), '\x05');

    auto q = Create<T3DCoordinate>();
    QString className;
    roundTrip(*p, *q, &className);
    EXPECT_EQ(className, "T3DCoordinate");
    EXPECT_EQ(q->ID(), 3);
    EXPECT_EQ(q->CS(), 200);
    EXPECT_EQ(q->GetX(), -2.25);
    EXPECT_EQ(q->GetY(), 1e300);
    EXPECT_EQ(q->GetZ(), 2.5);
}

TEST(Coordinates, SystemNumberOutsideByteRaises)
{
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    TWriter writer(buffer);
    writer.WriteInteger(1);
    writer.WriteInteger(256);
    buffer.seek(0);
    TReader reader(buffer);
    auto c = Create<TCoordinate>();
    EXPECT_THROW(c->ReadFrom(reader, nullptr), ERangeError);
}

// --- rectangles ---------------------------------------------------------------------------------

TEST(Rectangle, UnionOfRectanglesAndPoints)
{
    auto a = Create<TRectangle>();
    a->ExtendByPoint(10, 5);   // empty: becomes the point
    EXPECT_TRUE(a->IsValid());
    EXPECT_EQ(a->Width(), 0.0);
    a->ExtendByPoint(0, 0);
    auto b = Create<TRectangle>();
    b->ExtendByPoint(-2, 3);
    b->ExtendByPoint(4, 8);
    a->ExtendByRect(*b);
    a->ExtendByRect(*Create<TRectangle>());   // empty: changes nothing
    expectBounds(*a, -2, 0, 10, 8);
    const auto point = Create<T2DCoordinate>(20.0, -1.0);
    a->ExtendByCoordinate(*point);
    EXPECT_EQ(a->MaxX(), 20.0);
    EXPECT_EQ(a->MinY(), -1.0);
}

TEST(Rectangle, SizeWritesMoveTheMaximumCorner)
{
    auto r = Create<TRectangle>();
    r->SetPropAsString("MinX", "2");
    r->SetPropAsString("MinY", "3");
    r->SetPropAsString("Width", "10");
    r->SetPropAsString("Height", "4,5");
    EXPECT_EQ(r->MaxX(), 12.0);
    EXPECT_EQ(r->MaxY(), 7.5);
}

// Bounds travel as in the rectangle entity (see the model stream test below).
TEST(Rectangle, StreamKeepsTheCornersOfAnEmptyRectangle)
{
    auto empty = Create<TRectangle>();
    auto emptyBack = Create<TRectangle>();
    emptyBack->ExtendByPoint(1, 1);
    roundTrip(*empty, *emptyBack);
    EXPECT_FALSE(emptyBack->IsValid());
    EXPECT_EQ(emptyBack->MinX(), 1e30);
}

struct InclusionCase {
    const char* name;
    double x1, y1, x2, y2;
    bool inside;
    bool covers;
};

class Inclusion : public ::testing::TestWithParam<InclusionCase>
{
};

// The entity spans 0..10 x 0..5.
TEST_P(Inclusion, EdgesCount)
{
    const InclusionCase& c = GetParam();
    auto e = entityOver(0, 0, 10, 5);
    EXPECT_EQ(e->IsInside(c.x1, c.y1, c.x2, c.y2), c.inside);
    EXPECT_EQ(e->Covers(c.x1, c.y1, c.x2, c.y2), c.covers);
}

INSTANTIATE_TEST_SUITE_P(RectEntity, Inclusion,
                         ::testing::Values(InclusionCase{"SameRectangle", 0, 0, 10, 5, true, true},
                                           InclusionCase{"Larger", -1, -1, 11, 6, true, false},
                                           InclusionCase{"Smaller", 1, 1, 9, 4, false, true},
                                           InclusionCase{"Overlapping", 5, -1, 15, 4, false, false},
                                           InclusionCase{"Disjoint", 20, 20, 30, 30, false, false},
                                           InclusionCase{"TouchingLeftEdge", 0, 1, 3, 4, false, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// --- reference points -----------------------------------------------------------------------------

// Property writes on a rectangle entity, and the rectangle and reference point they leave.
struct WriteCase {
    const char* name;
    std::optional<std::array<double, 4>> start;   // none: a new, empty entity
    std::vector<const char*> writes;               // "Property=text", in order
    std::optional<std::array<double, 4>> bounds;   // none: still empty
    double relX, relY, absX;
    const char* horiz = nullptr;   // the alignment texts, where checked
    const char* vert = nullptr;
};

class PropertyWrites : public ::testing::TestWithParam<WriteCase>
{
};

TEST_P(PropertyWrites, MoveRectangleAndReferenceTogether)
{
    const WriteCase& c = GetParam();
    auto e = c.start ? entityOver((*c.start)[0], (*c.start)[1], (*c.start)[2], (*c.start)[3]) : Create<TRectEntity>();
    for (const char* write : c.writes) {
        const QStringList parts = QString::fromLatin1(write).split('=');
        e->SetPropAsString(parts[0], parts[1]);
    }
    ASSERT_EQ(e->IsValid(), c.bounds.has_value());
    if (!c.bounds)
        return;
    expectBounds(*e, (*c.bounds)[0], (*c.bounds)[1], (*c.bounds)[2], (*c.bounds)[3]);
    EXPECT_DOUBLE_EQ(e->RelRefX(), c.relX);
    EXPECT_DOUBLE_EQ(e->RelRefY(), c.relY);
    EXPECT_DOUBLE_EQ(e->AbsRefX(), c.absX);
    if (c.horiz) {
        EXPECT_EQ(e->GetPropAsString("HorizAllign"), c.horiz);
        EXPECT_EQ(e->GetPropAsString("VertAllign"), c.vert);
    }
}

using Box = std::array<double, 4>;
INSTANTIATE_TEST_SUITE_P(
    RectEntityReference, PropertyWrites,
    ::testing::Values(
        // A position code sets both axes and keeps the absolute point.
        WriteCase{"LeftDown", Box{0, 0, 10, 4}, {"RefPosition=1"}, Box{0, 0, 10, 4}, 0, 0, 0, "LEFT", "DOWN"},
        WriteCase{"Center", Box{0, 0, 10, 4}, {"RefPosition=5"}, Box{-5, -2, 5, 2}, 0.5, 0.5, 0, "CENTER", "CENTER"},
        WriteCase{"RightTop", Box{0, 0, 10, 4}, {"RefPosition=9"}, Box{-10, -4, 0, 0}, 1, 1, 0, "RIGHT", "TOP"},
        WriteCase{"RightAlignmentMovesTheRectangleLeft", Box{0, 0, 10, 10}, {"HorizAllign=right"}, Box{-10, 0, 0, 10}, 1, 0, 0},
        WriteCase{"UnknownAlignmentKeepsTheOld", Box{0, 0, 10, 10}, {"HorizAllign=right", "HorizAllign=middle", "VertAllign=Center"},
                  Box{-10, -5, 0, 5}, 1, 0.5, 0},
        WriteCase{"AbsoluteWriteMovesOnlyThePoint", Box{0, 0, 8, 4}, {"AbsRefX=2", "AbsRefY=3"}, Box{0, 0, 8, 4}, 0.25, 0.75, 2},
        WriteCase{"DeltaWriteKeepsTheAbsolutePoint", Box{0, 0, 8, 4}, {"DeltaRefX=2"}, Box{-2, 0, 6, 4}, 0.25, 0, 0},
        WriteCase{"DeltaOnAFlatRectangleIsNoReference", Box{0, 0, 0, 4}, {"RelRefX=0,5", "DeltaRefX=3"}, Box{0, 0, 0, 4}, 0, 0, 0},
        WriteCase{"SizeWriteKeepsMinimumAndAbsolutePoint", Box{0, 0, 10, 10}, {"AbsRefX=5", "Width=20", "Height=0"},
                  Box{0, 0, 20, 0}, 0.25, 0, 5},
        WriteCase{"PositionWriteMovesRectangleWithPoint", Box{0, 0, 10, 10}, {"RefPosition=5", "X=100"},
                  Box{95, -5, 105, 5}, 0.5, 0.5, 100},
        WriteCase{"OneCoordinateLeavesAnEmptyEntityEmpty", std::nullopt, {"X=7"}, std::nullopt, 0, 0, 0},
        WriteCase{"BothCoordinatesMakeAnEmptyEntityAPoint", std::nullopt, {"X=7", "Y=-3"}, Box{7, -3, 7, -3}, 0, 0, 7}),
    [](const auto& info) { return std::string(info.param.name); });

// --- extents from children -----------------------------------------------------------------------

TEST(RectEntityExtent, ChildrenExtendWithoutReset)
{
    auto e = entityOver(0, 0, 1, 1);
    e->AddNew<T2DCoordinate>(5.0, -2.0);
    TRectEntity* child = e->AddNew<TRectEntity>();
    child->Assign(entityOver(-3, 0, -1, 4).get());
    e->AddNew<TRectEntity>();   // empty: changes nothing
    e->AddNew<TNameEntity>();   // not geometric: ignored
    e->ExtendByChildren();
    expectBounds(*e, -3, -2, 5, 4);
    e->SetPropAsBoolean("UpdateNoReset", false);
    EXPECT_FALSE(e->IsValid());
    e->SetPropAsBoolean("UpdateNoReset", true);
    expectBounds(*e, -3, -2, 5, 4);
    child->SetMaxX(10);
    e->RecalcRect();
    expectBounds(*e, -3, -2, 10, 4);
}

// --- copies and assignment -------------------------------------------------------------------------

TEST(RectEntityCopy, CopySharesChildrenAndTakesRectangleButNotIndexOrReference)
{
    auto e = entityOver(1, 2, 3, 4);
    e->SetName("Porost");
    e->SetIndex(9);
    e->SetRelRefX(1);
    TOwnerEntity* child = e->AddNew<TOwnerEntity>();
    const Owned<TElement> copy = e->MakeCopy();
    auto* c = dynamic_cast<TRectEntity*>(copy.get());
    ASSERT_NE(c, nullptr);
    expectBounds(*c, e->MinX(), 2, e->MaxX(), 4);
    EXPECT_EQ(c->Index(), 0);
    EXPECT_EQ(c->RelRefX(), 0.0);
    EXPECT_EQ(c->GetName(), QString::fromUtf8("Obálka: Porost"));
    ASSERT_EQ(c->Count(), 1);
    EXPECT_EQ(c->Items(0), child);
    EXPECT_EQ(child->OwnersCount(), 2);
}

TEST(SelectedElement, NameOfTheElementItStandsFor)
{
    auto s = Create<TSelectedElement>();
    EXPECT_EQ(s->GetPropAsString("SelectName"), "");
    {
        auto target = Create<TNameEntity>();
        target->SetName("Oddělení 12");
        s->SetSelected(target.get());
        EXPECT_EQ(s->GetPropAsString("SelectName"), QString::fromUtf8("Oddělení 12"));
    }
    EXPECT_EQ(s->SelectName(), "");
}

// --- texts ---------------------------------------------------------------------------------------

TEST(Text, TakesNoSizeFromChildren)
{
    auto t = entityOver<TText>(0, 0, 4, 2);
    t->AddNew<T2DCoordinate>(100.0, 100.0);
    t->ExtendByChildren();
    expectBounds(*t, 0, 0, 4, 2);
}

TEST(GElemsModelStream, ZeroRectangleAndReferenceSurviveAReload)
{
    RegisterG_elemsUnit();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath("rect.lmx");

    auto root = entityOver(0, 0, 0, 0);   // a point at the origin: MinX 0 and Width 0
    root->SetName("koren");
    TText* text = root->AddNew<TText>();
    text->SetMinX(0);
    text->SetMinY(-2);
    text->SetMaxX(5);
    text->SetMaxY(0);
    text->RefPosition(6);   // centre top: the rectangle moves to -2.5..2.5 x -4..-2
    text->SetText("Jedle");
    {
        auto save = Create<TSave>(file);
        save->SetInput(root.get());
        save->Execute();
    }
    auto load = Create<TLoad>(file);
    load->Execute();
    Owned<TElement> loaded(load->Output());
    auto* back = dynamic_cast<TRectEntity*>(loaded.get());
    ASSERT_NE(back, nullptr);
    EXPECT_TRUE(back->IsValid());
    expectBounds(*back, 0, 0, 0, 0);
    ASSERT_EQ(back->Count(), 1);
    auto* t = dynamic_cast<TText*>(back->Items(0));
    ASSERT_NE(t, nullptr);
    expectBounds(*t, -2.5, -4, 2.5, -2);
    EXPECT_EQ(t->GetRefPosition(), 6);
    EXPECT_EQ(t->Text(), "Jedle");
}

} // namespace
