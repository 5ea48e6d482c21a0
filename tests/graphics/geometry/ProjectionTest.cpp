// Tests of pages and projections: conversions, zoom, rotation, streams, guarded failures.
#include "graphics/geometry/Projection.h"

#include "framework/streams/Filer.h"
#include "graphics/geometry/Page.h"
#include "graphics/support/GraphicsTestSupport.h"
#include "platform/Exceptions.h"

#include <QBuffer>
#include <QFile>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

namespace {

Owned<T_Page> page(int w, int h, double res)
{
    auto p = Create<T_Page>();
    p->SetPageRect({0, 0, w, h});
    p->SetClipRect({0, 0, w, h});
    p->SetResolution(res, res);
    return p;
}

QByteArray golden(const char* name)
{
    QFile f(QStringLiteral(GENKLAS_GOLDEN_DIR "/graphics/") + QLatin1String(name));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name;
    return f.readAll();
}

QByteArray written(TElement& e)
{
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    TWriter writer(buffer);
    e.WriteTo(writer);
    return buffer.data();
}

TEST(Projection, CentreLandsOnThePageCentreAndOnePixelIsScaleOverResolution)
{
    auto pg = page(1000, 800, 3779.5);
    auto p = Create<TPageProjection>();
    p->Recalc(1000, 2000, pg.get(), 5000);
    EXPECT_EQ(p->WorldToPixel(1000, 2000), (PixelPoint{500, 400}));
    EXPECT_EQ(p->WorldToPixelX(1000 + 5000 / 3779.5), 501);
    EXPECT_EQ(p->WorldToPixelY(2000 + 5000 / 3779.5), 399);
    EXPECT_EQ(p->WorldToPixelX(1e9), 32000);
    EXPECT_EQ(p->WorldToPixelY(1e9), -32000);
    EXPECT_THROW(p->WorldToPixel(1e12, 0), ERangeError);
    EXPECT_EQ(p->WorldLengthToPixelsX(10 * 5000 / 3779.5), 10);
}

TEST(Projection, RoundTripsStayWithinHalfAPixel)
{
    auto pg = page(4000, 3000, 3779.5);
    auto p = Create<TPageProjection>();
    p->Recalc(-600000, -1100000, pg.get(), 2880);
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> dx(-1500, 1500);
    for (int i = 0; i < 2000; ++i) {
        const double x = -600000 + dx(rng), y = -1100000 + dx(rng);
        const PixelPoint px = p->WorldToPixel(x, y);
        const TPoint2D back = p->PixelToWorld(px.x, px.y);
        ASSERT_LE(std::abs(back.X - x), p->UnitsPerPixelX() / 2 + 1e-9);
        ASSERT_LE(std::abs(back.Y - y), p->UnitsPerPixelY() / 2 + 1e-9);
    }
}

TEST(Projection, ZoomFitsTheRectangleAndAZeroOneKeepsTheScale)
{
    auto pg = page(1000, 1000, 1000);
    auto p = Create<TPageProjection>();
    p->Recalc(0, 0, pg.get(), 100);
    p->ZoomToRect({0, 0, 400, 100});
    EXPECT_DOUBLE_EQ(p->Scale(), 400);   // 400 m on a 1 m wide page
    EXPECT_DOUBLE_EQ(p->Center_X(), 200);
    EXPECT_DOUBLE_EQ(p->Center_Y(), 50);
    p->ZoomToRect({7, 8, 7, 8});
    EXPECT_DOUBLE_EQ(p->Scale(), 400);
    EXPECT_DOUBLE_EQ(p->Center_X(), 7);
}

TEST(Projection, ZeroPageOrResolutionRaisesAndAPagelessProjectionRefusesConversions)
{
    auto p = Create<TPageProjection>();
    EXPECT_THROW(p->WorldToPixelX(0), EConvertError);
    EXPECT_THROW(p->PixelToWorldY(0), EConvertError);
    auto zeroRes = page(100, 100, 0);
    EXPECT_THROW(p->Recalc(1, 1, zeroRes.get(), 5000), EZeroDivide);
    auto zeroPage = page(0, 0, 1000);
    p->Recalc(1, 1, zeroPage.get(), 5000);
    EXPECT_THROW(p->ZoomToRect({0, 0, 10, 10}), EZeroDivide);
}

TEST(Projection, VirtualScaleDefaultsAndIsOK)
{
    auto p = Create<TPageProjection>();
    EXPECT_DOUBLE_EQ(p->VirtualScale(), 5000);
    EXPECT_EQ(p->GetPropAsString("VirtualScale"), "5000");
    EXPECT_FALSE(p->IsOK());
    auto pg = page(10, 10, 1000);
    p->Recalc(0, 0, pg.get(), 100);
    EXPECT_FALSE(p->IsOK());
    p->SetCenterPoint(1, 0);
    EXPECT_TRUE(p->IsOK());
    p->SetScale(0);
    EXPECT_FALSE(p->IsOK());
    p->SetScale(1e30);
    EXPECT_FALSE(p->IsOK());
}

TEST(Projection, RotationTurnsClockwiseAboutTheCentre)
{
    auto pg = page(10, 10, 1000);
    auto p = Create<TPageProjection>();
    p->Recalc(100, 100, pg.get(), 100);
    p->SetAngle(std::numbers::pi / 2);
    EXPECT_DOUBLE_EQ(p->RotateCenter_X(), 100);
    const TPoint2D north = p->Rotate(100, 110);   // a quarter turn clockwise: east
    EXPECT_NEAR(north.X, 110, 1e-9);
    EXPECT_NEAR(north.Y, 100, 1e-9);
}

TEST(PageStream, BlocksMatchTheGoldenBytesAndReadBack)
{
    auto pg = Create<T_Page>();
    pg->SetColor(0x00C0FFEE);
    pg->SetResolution(3779.5, 3800.25);
    pg->SetPageRect({0, 0, 1000, 800});
    pg->SetClipRect({10, 20, 990, -780});
    const QByteArray bytes = written(*pg);
    EXPECT_EQ(bytes.right(56), golden("page-block.bin"));

    auto p = Create<TPageProjection>();
    p->Recalc(1000, 2000, pg.get(), 5000);
    p->VirtualScale();
    const QByteArray pbytes = written(*p);
    QBuffer buffer;
    buffer.setData(pbytes);
    buffer.open(QIODevice::ReadOnly);
    TReader reader(buffer);
    reader.ReadString();
    auto copy = Create<TPageProjection>();
    copy->ReadFrom(reader, nullptr);   // page ID -1: no page, no lookup
    EXPECT_DOUBLE_EQ(copy->Scale(), 5000);
    const qsizetype blockAt = pbytes.indexOf(golden("projection-block.bin"));
    EXPECT_GT(blockAt, 0);
    EXPECT_THROW(copy->WorldToPixelX(0), EConvertError);
    copy->SetPage(pg.get());
    EXPECT_EQ(copy->WorldToPixelX(1000), 500);
}

TEST(PageStream, ProjectionNamingAMissingPageRaises)
{
    auto pg = Create<T_Page>();
    pg->SetID(3);
    pg->SetResolution(1000, 1000);
    auto p = Create<TPageProjection>();
    p->Recalc(0, 0, pg.get(), 1);
    const QByteArray bytes = written(*p);
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    TReader reader(buffer);
    reader.ReadString();
    auto loader = Create<TEntity>();
    loader->AddNew<TElement>();
    auto copy = Create<TPageProjection>();
    EXPECT_THROW(copy->ReadFrom(reader, loader.get()), EBadStream);
}

// Truncations, flips and insertions of a page and a projection stream raise cleanly.
TEST(PageStream, MutatedStreamsRaiseCleanly)
{
    auto pg = Create<T_Page>();
    pg->SetResolution(3779.5, 3779.5);
    pg->SetPageRect({0, 0, 100, 100});
    auto p = Create<TPageProjection>();
    p->Recalc(5, 5, pg.get(), 100);
    const QByteArray sources[] = {written(*pg), written(*p)};
    std::mt19937 rng(16);
    for (int i = 0; i < 3000; ++i) {
        QByteArray bytes = sources[i % 2];
        switch (rng() % 3) {
        case 0: bytes.truncate(static_cast<qsizetype>(rng() % bytes.size())); break;
        case 1: bytes[rng() % bytes.size()] = static_cast<char>(rng()); break;
        default: bytes.insert(static_cast<qsizetype>(rng() % bytes.size()), static_cast<char>(rng())); break;
        }
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        TReader reader(buffer);
        try {
            reader.ReadString();
            Owned<TElement> target = i % 2 ? Owned<TElement>(Create<TPageProjection>()) : Owned<TElement>(Create<T_Page>());
            target->ReadFrom(reader, nullptr);
        } catch (const Exception&) {
        }
    }
    SUCCEED();
}

} // namespace
