// Tests of spatial entities: areas and holes, lengths, proximity, walk flags, line-bounded areas.
#include "graphics/space/PolyElements.h"

#include "framework/core/Messages.h"
#include "framework/streams/StreamSaver.h"
#include "graphics/space/PropertyBags.h"
#include "graphics/support/GraphicsTestSupport.h"
#include "platform/Exceptions.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using gtest_support::ring;

const std::vector<std::pair<double, double>> ccwSquare{{0, 0}, {10, 0}, {10, 10}, {0, 10}};
const std::vector<std::pair<double, double>> cwSquare{{0, 0}, {0, 10}, {10, 10}, {10, 0}};

TEST(AreaElement, SignedAreaFollowsTheOrientation)
{
    EXPECT_DOUBLE_EQ(ring<TPolyElement>({{0, 0}, {1, 0}, {1, 1}, {0, 1}})->Area1(), -1);
    EXPECT_DOUBLE_EQ(ring<TPolyElement>({{0, 0}, {0, 1}, {1, 1}, {1, 0}})->Area1(), 1);
}

TEST(AreaElement, NetAreaSubtractsHolesFromTheMagnitude)
{
    for (const bool clockwise : {true, false}) {
        auto area = ring(clockwise ? cwSquare : ccwSquare);
        auto hole = ring({{2, 2}, {4, 2}, {4, 4}, {2, 4}});
        TAreaElement* h = hole.get();
        area->AddHole(hole.release());
        EXPECT_DOUBLE_EQ(area->Area1(), clockwise ? 96 : -96);
        EXPECT_DOUBLE_EQ(area->SavedArea(), clockwise ? 100 : -100);
        EXPECT_TRUE(h->IsHole());
        EXPECT_EQ(h->HoleOwnerArea(), area.get());
        EXPECT_EQ(area->HoleOwnerArea(), nullptr);
        // The holes container is a child; the ring's measures ignore it.
        EXPECT_DOUBLE_EQ(area->Length(), 30);
    }
}

TEST(AreaElement, PointInAreaLeavesOutHolesAndIsNearNeedsTheBox)
{
    auto area = ring(cwSquare);
    area->AddHole(ring({{2, 2}, {4, 2}, {4, 4}, {2, 4}}).release());
    EXPECT_TRUE(area->PointInArea(7, 7));
    EXPECT_FALSE(area->PointInArea(3, 3));
    EXPECT_TRUE(area->PointInside(3, 3));
    auto c = Create<T2DCoordinate>(7, 7);
    EXPECT_TRUE(area->IsNear(*c, 1));
    auto edge = Create<T2DCoordinate>(9.5, 5);
    EXPECT_FALSE(area->IsNear(*edge, 1));   // the box passes the rectangle
}

TEST(PolyLineElement, LengthAndProximity)
{
    auto single = ring<TPolyLineElement>({{5, 5}});
    auto c = Create<T2DCoordinate>(5, 5);
    EXPECT_DOUBLE_EQ(single->Length(), 0);
    EXPECT_FALSE(single->IsNear(*c, 100));
    auto line = ring<TPolyLineElement>({{0, 0}, {10, 0}, {10, 10}});
    EXPECT_DOUBLE_EQ(line->Length(), 20);
    auto nearSegment = Create<T2DCoordinate>(5, 0.5);
    EXPECT_TRUE(line->IsNear(*nearSegment, 1));
    EXPECT_TRUE(line->IsNear(*nearSegment, -1));   // |Tolerance|
    // Beyond both segments' feet, but close to the corner vertex.
    auto corner = Create<T2DCoordinate>(10.5, -0.5);
    EXPECT_TRUE(line->IsNear(*corner, 1));
    auto far = Create<T2DCoordinate>(5, 5);
    EXPECT_FALSE(line->IsNear(*far, 1));
}

TEST(SpaceEntity, IsDoneIsItsOwnFlagThatWalksAndSavesLeave)
{
    auto area = ring(cwSquare);
    area->SetSpaceID(5);
    area->AddHole(ring({{2, 2}, {4, 2}, {4, 4}, {2, 4}}).release());
    area->SetIsDone(true);
    EXPECT_TRUE(area->IsDone());
    area->WholeSize();
    EXPECT_TRUE(area->IsDone());
    QTemporaryDir dir;
    auto saver = Create<TSave>();
    saver->SetFileName(dir.filePath("model.lmx"));
    saver->SetInput(area.get());
    saver->Execute();
    EXPECT_GT(QFileInfo(dir.filePath("model.lmx")).size(), 0);
    EXPECT_TRUE(area->IsDone());
    EXPECT_TRUE(area->GetPropAsBoolean("IsDone"));
    area->SetIsDone(false);
    EXPECT_FALSE(area->IsDone());
}

TEST(SpaceEntity, SpaceIdWriteMakesTheBagAndPropertiesGoToIt)
{
    auto p = Create<TPointElement>();
    EXPECT_EQ(p->SpaceID(), -1);
    EXPECT_EQ(p->Group(), -1);
    p->SetSpaceID(42);
    EXPECT_EQ(p->SpaceID(), 42);
    EXPECT_EQ(p->GetPropAsString("SpaceID"), "42");
    p->SetPropAsString("COLOUR", "red");
    EXPECT_EQ(p->GetPropAsString("colour"), "red");
    EXPECT_TRUE(p->HasProperty("Colour"));
    EXPECT_FALSE(p->HasProperty("Nothing"));
    auto copy = Create<TPointElement>();
    copy->Assign(p.get());
    EXPECT_EQ(copy->SpaceID(), 42);
    EXPECT_EQ(copy->GetPropAsString("COLOUR"), "red");
    EXPECT_NE(copy->Properties(), p->Properties());
    auto text = Create<TTextString>();
    text->SetPropAsString("LABEL", "x");
    EXPECT_EQ(text->GetPropAsString("LABEL"), "x");
}

TEST(PolyElement, AddItemsTakesTheSourceChildrenInEitherDirection)
{
    auto source = ring<TPolyLineElement>({{0, 0}, {1, 0}, {2, 0}});
    auto forward = Create<TPolyLineElement>();
    forward->AddItems(source.get(), true);
    auto backward = Create<TPolyLineElement>();
    backward->AddItems(source.get(), false);
    ASSERT_EQ(forward->CoordsCount(), 3);
    EXPECT_EQ(forward->CoordAt(0)->GetX(), 0);
    EXPECT_EQ(backward->CoordAt(0)->GetX(), 2);
    EXPECT_DOUBLE_EQ(backward->MaxX(), 2);
    EXPECT_EQ(forward->CoordAt(3), nullptr);
}

// Three lines of a ring: (0,0)-(10,0), then (10,10)-(10,0) used reversed, then (10,10)-(0,0).
Owned<TPolyLineAreaElement> lineArea()
{
    auto area = Create<TPolyLineAreaElement>();
    area->AddLine(ring<TPolyLineElement>({{0, 0}, {10, 0}}).release(), false);
    area->AddLine(ring<TPolyLineElement>({{10, 10}, {10, 0}}).release(), true);
    area->AddLine(ring<TPolyLineElement>({{10, 10}, {0, 10}, {0, 0}}).release(), false);
    return area;
}

TEST(PolyLineAreaElement, WalksItsLinesInTheirOrientation)
{
    auto area = lineArea();
    EXPECT_EQ(area->CoordsCount(), 4);
    EXPECT_EQ(area->CoordAt(1)->GetX(), 10);
    EXPECT_EQ(area->CoordAt(1)->GetY(), 0);
    EXPECT_EQ(area->CoordAt(2)->GetY(), 10);
    EXPECT_DOUBLE_EQ(area->Area1(), -100);
    EXPECT_TRUE(area->PointInside(5, 5));
    EXPECT_FALSE(area->PointInside(15, 5));
    auto c = Create<T2DCoordinate>(5, 5);
    EXPECT_TRUE(area->IsNear(*c, 1));
    // A line without points adds nothing (the original counted -1 for it).
    area->AddLine(Create<TPolyLineElement>().release(), false);
    EXPECT_EQ(area->CoordsCount(), 4);
}

TEST(PolyLineAreaElement, OrientationBitsAsHex)
{
    auto area = Create<TPolyLineAreaElement>();
    for (const bool reversed : {true, false, true})
        area->AddLine(ring<TPolyLineElement>({{0, 0}, {1, 1}}).release(), reversed);
    EXPECT_EQ(area->LinesOriginesHex(), "05");
    area->SetReversed(9, true);
    EXPECT_EQ(area->LinesOriginesHex(), "0502");
    area->SetLinesOriginesHex("a0");
    EXPECT_TRUE(area->IsReversed(5));
    EXPECT_THROW(area->SetLinesOriginesHex("0"), EConvertError);
    EXPECT_THROW(area->SetLinesOriginesHex("zz"), EConvertError);
    EXPECT_EQ(area->LinesOriginesHex(), "A0");
    const Owned<TElement> removed(area->Items(0));
    area->Remove(removed.get());
    EXPECT_EQ(area->LinesOriginesHex(), "50");
}

TEST(PolyLineAreaElement, ASplitLineGoesBesideItWithItsBit)
{
    auto area = lineArea();
    TElement* reversedLine = area->Items(1);
    auto* piece = Create<TPolyLineElement>().release();
    auto msg = TLumexMessage::CreateMessage(AddDataElementMessage, reversedLine, area.get(), piece);
    bool handled = false;
    area->HandleMessage(*msg, handled);
    EXPECT_TRUE(handled);
    EXPECT_EQ(area->IndexOf(piece), 1);
    EXPECT_TRUE(area->IsReversed(1));
    EXPECT_TRUE(area->IsReversed(2));
    EXPECT_FALSE(area->IsReversed(3));
}

TEST(SpaceLineBegEndCell, CountsItsListsOrItsSubCells)
{
    auto cell = Create<TSpaceLineBegEndCell>();
    EXPECT_TRUE(cell->Last());
    cell->List(0)->Add(Create<TElement>().release());
    cell->List(1)->Add(Create<TElement>().release());
    EXPECT_EQ(cell->CellCount(), 2);
    // By name, "Count" is the cell's count, not its (empty) child list.
    EXPECT_EQ(cell->GetPropAsString("Count"), "2");
    EXPECT_EQ(cell->Count(), 0);
    auto parent = Create<TSpaceLineBegEndCell>();
    parent->SetCell(0, cell.release());
    parent->SetCell(3, Create<TSpaceLineBegEndCell>().release());
    EXPECT_EQ(parent->GetPropAsString("count"), "2");
    // Other entities keep their child count under that name.
    EXPECT_EQ(parent->Cell(0)->List(0)->GetPropAsString("Count"), "1");
}

} // namespace
