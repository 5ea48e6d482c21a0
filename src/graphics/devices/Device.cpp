// Drawing device interface: a page, a projection and drawing operations in world or page pixels.
#include "graphics/devices/Device.h"

#include "framework/core/ClassRegistry.h"

#include <algorithm>

TClass TDevice::StaticClass()
{
    static const TClassInfo info = describeClass<TDevice, TOwnerEntity>("TDevice");
    return &info;
}

void TDevice::AfterConstruction()
{
    TOwnerEntity::AfterConstruction();
    makePageAndProjection();
}

void TDevice::makePageAndProjection()
{
    if (!m_page)
        m_page = AddNew<T_Page>();
    if (!m_projection)
        m_projection = AddNew<TPageProjection>();
    if (!m_projection->Page())
        m_projection->AttachPage(m_page.get());
}

void TDevice::SetPenWidth(double width)
{
    const QPen* pen = Pen();
    if (!pen)
        return;
    QPen changed = *pen;
    changed.setWidth(std::max(1, Projection()->WorldLengthToPixelsX(width)));
    SetPen(changed);
}

double TDevice::TextWidthWorld(const QString& s)
{
    return TextWidth(s) * Projection()->UnitsPerPixelMax();
}

double TDevice::TextHeightWorld(const QString& s)
{
    return TextHeight(s) * Projection()->UnitsPerPixelMax();
}
