// Tiled bitmap device: a large target page rendered in horizontal strips through one image.
#include "graphics/devices/TileDevice.h"

#include "framework/core/ClassRegistry.h"
#include "framework/core/Messages.h"
#include "framework/core/World.h"
#include "framework/elements/MemoryStatus.h"
#include "graphics/devices/PrintDevice.h"
#include "graphics/space/ObjectRegisters.h"

#include <algorithm>
#include <limits>

namespace {

constexpr int stripCount = 8;          // strips of a page that a budget allows whole
constexpr qint64 bytesPerPixel = 4;    // the strip image's format (QImage::Format_RGB32)

qint32 halfUp(qint32 t)
{
    return t / 2 + t % 2;
}

[[noreturn]] void stripTooLarge(qint32 width, qint32 height)
{
    throw Exception(QStringLiteral("Nedostatek paměti pro dlaždici %1 × %2 bodů").arg(width).arg(height));
}

} // namespace

TClass TTileDevice::StaticClass()
{
    static const TClassInfo info = describeClass<TTileDevice, TBitmapDevice>("TTileDevice");
    return &info;
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

TTileDevice::StripPlan TTileDevice::PlanStrips(qint32 width, qint32 height, qint64 budget)
{
    if (width <= 0 || height <= 0)
        return {};
    const qint64 limit = budget > 0 ? budget : lowTileBudget;
    const qint64 rowBytes = qint64(width) * bytesPerPixel;
    if (rowBytes > limit)
        stripTooLarge(width, 1);
    qint32 count = 1;
    qint32 t = height;
    while (count < stripCount / 2 + 1) {
        count *= 2;
        t = halfUp(t);
    }
    while (rowBytes * t > limit)
        t = halfUp(t);
    // The fewest strips of t rows that still cover the page.
    return {static_cast<qint32>((qint64(height) + t - 1) / t), t};
}

void TTileDevice::makeStrip(qint32 width, qint32 height)
{
    auto image = std::make_unique<QImage>(width, height, QImage::Format_RGB32);
    if (image->isNull())
        stripTooLarge(width, height);
    SetOwnedBitmap(std::move(image));
}

void TTileDevice::centreOn()
{
    auto* target = m_target.get();
    Page()->SetResolution(target->Page()->HRes(), target->Page()->VRes());
    // Figures are clipped where the target clips them, not at the strip's edges: a strip then
    // holds exactly the rows of the direct drawing, and the painter keeps to the strip.
    PixelRect clip = target->Page()->ClipRect();
    const auto shifted = [this](qint32 row) {
        return static_cast<qint32>(std::max<qint64>(qint64(row) - m_tileOffset, std::numeric_limits<qint32>::min()));
    };
    clip.Top = shifted(clip.Top);
    clip.Bottom = shifted(clip.Bottom);
    Page()->SetClipRect(clip);
    // The original recomputed the projection around the strip's centre, so rounding could put
    // a point one row off between two strips; the strip takes the target's values instead.
    Projection()->ProjectStrip(*target->Projection(), Page(), m_tileOffset);
}

void TTileDevice::Prepare(TDevice* target)
{
    m_target = target;
    Release();
    m_tileCount = 0;
    m_tileIndex = 0;
    m_tileOffset = 0;
    if (!target)
        return;
    const qint32 w = target->Page()->Width();
    const qint32 h = target->Page()->Height();
    const StripPlan plan = PlanStrips(w, h, memoryBudget());
    if (plan.Count == 0)
        return;
    makeStrip(w, plan.Height);
    m_tileCount = plan.Count;
    PostTextMessage(this, TileMessage::TileCount, QStringLiteral("TILE... Počet dlaždic %1").arg(plan.Count), nullptr);
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
    if (!(m_tileIndex < m_tileCount) || !target) {
        Release();
        return;
    }
    const qint32 targetHeight = target->Page()->Height();
    qint32 newHeight = height;
    if (qint64(height) + m_tileOffset > qint64(targetHeight) - 1)
        newHeight = targetHeight - m_tileOffset;
    if (newHeight <= 0) {
        Release();
        return;
    }
    // The original kept the full-height page for the short last strip, so its centre row
    // was off by half the difference.
    if (newHeight != height)
        makeStrip(Bitmap()->width(), newHeight);
    centreOn();
}

void TTileDevice::Release()
{
    m_finished = true;
    SetBitmap(nullptr);
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
