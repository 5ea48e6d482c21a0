// World-to-page projection: world metres (Y north) onto page pixels (Y down) at a map scale.
#include "graphics/geometry/Projection.h"

#include "framework/core/ClassRegistry.h"
#include "framework/streams/Filer.h"
#include "graphics/geometry/Page.h"
#include "graphics/geometry/PlaneGeometry.h"
#include "graphics/geometry/RawBlock.h"
#include "platform/Exceptions.h"
#include "platform/text/Numbers.h"

#include <cmath>

namespace {

constexpr double defaultVirtualScale = 5000.0;

double divideNonZero(double a, double b)
{
    if (b == 0.0)
        throw EZeroDivide(QStringLiteral("Floating point division by zero"));
    return a / b;
}

} // namespace

// --- TProjection -------------------------------------------------------------------------------

TClass TProjection::StaticClass()
{
    static const TClassInfo info =
        describeClass<TProjection, TOwnerElement>("TProjection", [](PropertyTable<TProjection>& t) {
            t.floating("Angle", "Double", &TProjection::Angle, &TProjection::SetAngle)
                .floating("RotateCenter_X", "Double", &TProjection::RotateCenter_X, &TProjection::SetRotateCenter_X)
                .floating("RotateCenter_Y", "Double", &TProjection::RotateCenter_Y, &TProjection::SetRotateCenter_Y)
                .floating("Center_X", "Double", &TProjection::Center_X, &TProjection::SetCenter_X)
                .floating("Center_Y", "Double", &TProjection::Center_Y, &TProjection::SetCenter_Y)
                .floating("Scale", "Double", &TProjection::Scale, &TProjection::SetScale)
                .floating("VirtualScale", "Double", &TProjection::VirtualScale, &TProjection::SetVirtualScale)
                .boolean("IsOK", &TProjection::IsOK, nullptr);
        });
    return &info;
}

void TProjection::SetAngle(double radians)
{
    m_angle = radians;
    if (m_rotateX == 0.0 && m_rotateY == 0.0) {
        m_rotateX = m_centerX;
        m_rotateY = m_centerY;
    }
}

double TProjection::VirtualScale()
{
    if (m_virtualScale == 0.0)
        m_virtualScale = defaultVirtualScale;
    return m_virtualScale;
}

bool TProjection::IsOK() const
{
    if (m_centerX == 0.0 && m_centerY == 0.0)
        return false;
    return m_scale > 0.0 && m_scale < 1e30;
}

TPoint2D TProjection::Rotate(double x, double y) const
{
    if (m_angle == 0.0)
        return {x, y};
    const double dx = x - m_rotateX;
    const double dy = y - m_rotateY;
    const double r = std::sqrt(dx * dx + dy * dy);
    const double a = Azimuth(dy, dx);
    return {std::sin(m_angle + a) * r + m_rotateX, std::cos(m_angle + a) * r + m_rotateY};
}

void TProjection::Assign(const TPersistent* source)
{
    auto* other = const_cast<TProjection*>(dynamic_cast<const TProjection*>(source));
    if (!other) {
        TOwnerElement::Assign(source);
        return;
    }
    SetCenterPoint(other->m_centerX, other->m_centerY);
    SetScale(other->m_scale);
    m_virtualScale = other->VirtualScale();
    m_uppX = other->m_uppX;
    m_uppY = other->m_uppY;
    m_uppMax = other->m_uppMax;
    m_originX = other->m_originX;
    m_originY = other->m_originY;
}

void TProjection::WriteTo(TWriter& writer)
{
    TOwnerElement::WriteTo(writer);
    RawBlockWriter block;
    for (double v : {m_centerX, m_centerY, m_scale, m_virtualScale, m_uppX, m_uppY, m_uppMax, m_originX})
        block.float64(v);
    writer.WriteRaw(block.bytes());
}

void TProjection::ReadFrom(TReader& reader, TEntity* loader)
{
    TOwnerElement::ReadFrom(reader, loader);
    RawBlockReader block(reader, blockSize, QStringLiteral("TProjection"));
    for (double* v : {&m_centerX, &m_centerY, &m_scale, &m_virtualScale, &m_uppX, &m_uppY, &m_uppMax, &m_originX})
        *v = block.float64();
}

// --- TPageProjection ---------------------------------------------------------------------------

TClass TPageProjection::StaticClass()
{
    static const TClassInfo info = describeClass<TPageProjection, TProjection>("TPageProjection");
    return &info;
}

void TPageProjection::SetPage(T_Page* page)
{
    Recalc(m_centerX, m_centerY, page, m_scale);
}

void TPageProjection::AttachPage(T_Page* page)
{
    if (page && page->HRes() != 0.0 && page->VRes() != 0.0) {
        SetPage(page);
        return;
    }
    m_page = page;
    m_hasPage = page != nullptr;
    m_rowOffset = 0;
    m_uppX = m_uppY = m_uppMax = 0.0;
    m_originX = m_centerX;
    m_originY = m_centerY;
}

void TPageProjection::Recalc(double centerX, double centerY, T_Page* page, double scale)
{
    m_centerX = centerX;
    m_centerY = centerY;
    m_scale = scale;
    m_page = page;
    m_hasPage = page != nullptr;
    m_rowOffset = 0;
    if (!page)
        return;
    const qint32 cx = page->Width() / 2;
    const qint32 cy = page->Height() / 2;
    m_uppX = divideNonZero(scale, page->HRes());
    m_uppY = divideNonZero(scale, page->VRes());
    m_uppMax = m_uppX >= m_uppY ? m_uppX : m_uppY;
    m_originX = m_centerX - cx * m_uppX;
    m_originY = cy * m_uppY + m_centerY;
}

void TPageProjection::ProjectStrip(const TPageProjection& source, T_Page* strip, qint32 rowOffset)
{
    source.requirePage();
    const qint32 height = strip ? strip->Height() : 0;
    Recalc(source.m_centerX, source.PixelToWorldY(double(rowOffset) + height / 2), strip, source.m_scale);
    m_uppX = source.m_uppX;
    m_uppY = source.m_uppY;
    m_uppMax = source.m_uppMax;
    m_originX = source.m_originX;
    m_originY = source.m_originY;
    m_rowOffset = source.m_rowOffset + rowOffset;
}

void TPageProjection::requirePage() const
{
    if (!m_hasPage)
        throw EConvertError(QStringLiteral("Projekce nemá stránku"));
}

WorldRect TPageProjection::GetPageWorldRect()
{
    T_Page* page = m_page.get();
    if (!page)
        requirePage();
    if (!page)
        throw EConvertError(QStringLiteral("Projekce nemá stránku"));
    const PixelRect& r = page->PageRect();
    return {PixelToWorldX(r.Left), PixelToWorldY(r.Bottom), PixelToWorldX(r.Right), PixelToWorldY(r.Top)};
}

WorldRect TPageProjection::GetClipWorldRect()
{
    T_Page* page = m_page.get();
    if (!page || !page->ClipOn())
        return GetPageWorldRect();
    return PixelRectToWorldRect(page->ClipRect());
}

void TPageProjection::SetCenterPoint(double x, double y)
{
    Recalc(x, y, m_page.get(), m_scale);
}

void TPageProjection::SetCenter_X(double x)
{
    Recalc(x, m_centerY, m_page.get(), m_scale);
}

void TPageProjection::SetCenter_Y(double y)
{
    Recalc(m_centerX, y, m_page.get(), m_scale);
}

void TPageProjection::SetScale(double scale)
{
    Recalc(m_centerX, m_centerY, m_page.get(), scale);
}

void TPageProjection::ZoomToRect(const WorldRect& r)
{
    T_Page* page = m_page.get();
    if (!page)
        throw EConvertError(QStringLiteral("Projekce nemá stránku"));
    const double w = r.X2 - r.X1;
    const double h = r.Y2 - r.Y1;
    const double pageW = divideNonZero(page->PageRect().Right, page->HRes());
    const double pageH = divideNonZero(page->PageRect().Bottom, page->VRes());
    const double sx = divideNonZero(w, pageW);
    const double sy = divideNonZero(h, pageH);
    double scale = sx >= sy ? sx : sy;
    // A point or a line would give scale 0, and every later conversion 0.
    if (!(scale > 0.0))
        scale = m_scale;
    Recalc(r.X1 + w / 2, r.Y1 + h / 2, page, scale);
}

void TPageProjection::SetClipRect(const WorldRect& r)
{
    requirePage();
    if (T_Page* page = m_page.get())
        page->SetClipRect(WorldRectToPixelRect(r));
}

double TPageProjection::PixelToWorldX(double px) const
{
    requirePage();
    return px * m_uppX + m_originX;
}

double TPageProjection::PixelToWorldY(double py) const
{
    requirePage();
    return m_originY - (py + m_rowOffset) * m_uppY;
}

TPoint2D TPageProjection::PixelToWorld(double px, double py) const
{
    return {PixelToWorldX(px), PixelToWorldY(py)};
}

WorldRect TPageProjection::PixelRectToWorldRect(const PixelRect& r) const
{
    const TPoint2D a = PixelToWorld(r.Left, r.Bottom);
    const TPoint2D b = PixelToWorld(r.Right, r.Top);
    return {a.X, a.Y, b.X, b.Y};
}

qint32 HeldPixel(double v, double limit)
{
    if (!(v > -limit))
        v = -limit;
    else if (v > limit)
        v = limit;
    return static_cast<qint32>(std::nearbyint(v));
}

qint32 TPageProjection::ClampToPixel(double v)
{
    return HeldPixel(v, pixelClamp);
}

qint32 TPageProjection::WorldToPixelX(double x) const
{
    requirePage();
    if (m_uppX == 0.0)
        return 0;
    return ClampToPixel((x - m_originX) / m_uppX);
}

qint32 TPageProjection::WorldToPixelY(double y) const
{
    requirePage();
    if (m_uppY == 0.0)
        return 0;
    return ClampToPixel((m_originY - y) / m_uppY - m_rowOffset);
}

PixelPoint TPageProjection::WorldToPixel(double x, double y) const
{
    requirePage();
    if (m_uppX == 0.0 || m_uppY == 0.0)
        return {0, 0};
    return {txt::roundHalfEven((x - m_originX) / m_uppX), txt::roundHalfEven((m_originY - y) / m_uppY - m_rowOffset)};
}

PixelPointF TPageProjection::WorldToPixelF(double x, double y) const
{
    requirePage();
    if (m_uppX == 0.0 || m_uppY == 0.0)
        return {0.0, 0.0};
    return {(x - m_originX) / m_uppX, (m_originY - y) / m_uppY - m_rowOffset};
}

PixelRect TPageProjection::WorldRectToPixelRect(const WorldRect& r) const
{
    const PixelPoint lt = WorldToPixel(r.X1, r.Y2);
    const PixelPoint rb = WorldToPixel(r.X2, r.Y1);
    return {lt.x, lt.y, rb.x, rb.y};
}

qint32 TPageProjection::WorldLengthToPixelsX(double length) const
{
    return m_uppX == 0.0 ? 0 : txt::roundHalfEven(length / m_uppX);
}

qint32 TPageProjection::WorldLengthToPixelsY(double length) const
{
    return m_uppY == 0.0 ? 0 : txt::roundHalfEven(length / m_uppY);
}

void TPageProjection::WriteTo(TWriter& writer)
{
    TProjection::WriteTo(writer);
    T_Page* page = m_page.get();
    writer.WriteInteger(page ? page->ID() : -1);
}

void TPageProjection::ReadFrom(TReader& reader, TEntity* loader)
{
    TProjection::ReadFrom(reader, loader);
    const qint32 index = reader.ReadInteger();
    m_page = nullptr;
    m_hasPage = false;
    if (index == -1)
        return;
    T_Page* page = nullptr;
    if (loader && index >= 0 && index < loader->Count())
        page = dynamic_cast<T_Page*>(loader->Items(index));
    if (!page)
        throw EBadStream(QStringLiteral("Stream read error: TPageProjection names page %1, which was not read").arg(index));
    Recalc(m_centerX, m_centerY, page, m_scale);
}

void RegisterProjectionClasses()
{
    RegisterUnitClasses({TProjection::StaticClass(), TPageProjection::StaticClass()});
}
