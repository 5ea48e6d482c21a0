// Tiled bitmap device: a large target page rendered in horizontal strips through one image.
#include "graphics/devices/TileDevice.h"

#include "framework/core/ClassRegistry.h"
#include "framework/core/Messages.h"
#include "framework/core/World.h"
#include "framework/elements/MemoryStatus.h"
#include "graphics/devices/PrintDevice.h"
#include "graphics/space/ObjectRegisters.h"

#include <algorithm>

namespace {

qint64& stripByteLimit()
{
    static qint64 limit = 0;
    return limit;
}

constexpr int stripCount = 8;   // strips before the halving on failure

qint32 halfUp(qint32 t)
{
    return t / 2 + t % 2;
}

} // namespace

TClass TTileDevice::StaticClass()
{
    static const TClassInfo info = describeClass<TTileDevice, TBitmapDevice>("TTileDevice");
    return &info;
}

void TTileDevice::SetStripByteLimit(qint64 bytes)
{
    stripByteLimit() = bytes;
}

qint64 TTileDevice::memoryBudget()
{
    qint64 budget = defaultTileBudget;
    if (TWorld* world = GraphicsWorld())
        if (auto* raster = dynamic_cast<TStringListElement*>(world->SystemRegister()->FindElementByName(QStringLiteral("RASTER"))))
            if (const qint32 tile = raster->IntegerByName(QStringLiteral("MEMORY_TILE")); tile != 0)
                budget = tile;
    Owned<TMemoryElement> memory = Create<TMemoryElement>();
    budget = std::min<qint64>(budget, static_cast<qint64>(std::min<quint64>(memory->AvailMemory(), INT64_MAX)));
    if (budget < lowTileBudget) {
        PostTextMessage(this, TileMessage::Memory, QStringLiteral("TILE... kritický stav paměti: %1").arg(budget), nullptr);
        if (memory->Status().AvailPageFile <= static_cast<quint64>(lowTileBudget)) {
            PostTextMessage(this, TileMessage::Memory,
                            QStringLiteral("TILE... Zoufale kritický stav paměti ... uvolněte místo na swapovacím disku!"),
                            nullptr);
            budget = 0;
        } else {
            budget = lowTileBudget;
        }
    }
    return budget;
}

bool TTileDevice::makeStrip(qint32 width, qint32 height)
{
    const qint64 bytes = qint64(width) * height * 4;
    if (stripByteLimit() > 0 && bytes > stripByteLimit())
        return false;
    auto image = std::make_unique<QImage>(width, height, QImage::Format_RGB32);
    if (image->isNull())
        return false;
    SetOwnedBitmap(std::move(image));
    return true;
}

void TTileDevice::centreOn()
{
    auto* target = m_target.get();
    Page()->SetResolution(target->Page()->HRes(), target->Page()->VRes());
    // Figures are clipped where the target clips them, not at the strip's edges: a strip then
    // holds exactly the rows of the direct drawing, and the painter keeps to the strip.
    PixelRect clip = target->Page()->ClipRect();
    clip.Top -= m_tileOffset;
    clip.Bottom -= m_tileOffset;
    Page()->SetClipRect(clip);
    // The original recomputed the projection around the strip's centre, so rounding could put
    // a point one row off between two strips; the strip takes the target's values instead.
    Projection()->ProjectStrip(*target->Projection(), Page(), m_tileOffset);
}

void TTileDevice::Prepare(TDevice* target)
{
    m_target = target;
    SetBitmap(nullptr);
    m_tileCount = 0;
    m_tileIndex = 0;
    m_tileOffset = 0;
    m_finished = true;
    if (!target)
        return;
    const qint32 w = target->Page()->Width();
    const qint32 h = target->Page()->Height();
    memoryBudget();
    if (w <= 0 || h <= 0)
        return;
    // The original kept one full-page strip when the budget was 0.
    qint32 count = 1;
    qint32 t = h;
    while (count < stripCount / 2 + 1) {
        count *= 2;
        t = halfUp(t);
    }
    while (!makeStrip(w, t)) {
        if (t <= 1)
            throw Exception(QStringLiteral("Nedostatek paměti pro dlaždici %1 × %2 bodů").arg(w).arg(t));
        count *= 2;
        t = halfUp(t);
    }
    while (qint64(t) * count - t >= h)
        --count;
    m_tileCount = count;
    PostTextMessage(this, TileMessage::TileCount, QStringLiteral("TILE... Počet dlaždic %1").arg(count), nullptr);
    ProcessMessages();
    Page()->SetColor(target->Page()->Color());
    centreOn();
    m_finished = false;
}

void TTileDevice::NextTile()
{
    TDevice* target = m_target.get();
    const qint32 height = Bitmap() ? Bitmap()->height() : 0;
    ++m_tileIndex;
    m_tileOffset += height;
    m_finished = !(m_tileIndex < m_tileCount) || !target;
    if (m_finished) {
        SetBitmap(nullptr);
        return;
    }
    const qint32 targetHeight = target->Page()->Height();
    qint32 newHeight = height;
    if (height + m_tileOffset > targetHeight - 1)
        newHeight = targetHeight - m_tileOffset;
    if (newHeight <= 0) {
        m_finished = true;
        SetBitmap(nullptr);
        return;
    }
    // The original kept the full-height page for the short last strip, so its centre row
    // was off by half the difference.
    if (newHeight != height && !makeStrip(Bitmap()->width(), newHeight))
        throw Exception(QStringLiteral("Nedostatek paměti pro dlaždici %1 × %2 bodů").arg(Bitmap()->width()).arg(newHeight));
    centreOn();
}

void TTileDevice::EndOutput()
{
    auto* target = dynamic_cast<TCanvasDevice*>(m_target.get());
    QImage* strip = Bitmap();
    if (!target || !strip)
        return;
    if (dynamic_cast<TPrintDevice*>(target)) {
        // The original stamped a black 100 x 100 square on every printed strip.
        target->StretchDrawPixel(0, m_tileOffset, strip->width(), strip->height(), 0, 0, strip->width(),
                                 strip->height(), *strip);
        return;
    }
    if (QPainter* canvas = target->Canvas())
        canvas->drawImage(0, m_tileOffset, *strip);
}
