// Tiled bitmap device: a large target page rendered in horizontal strips through one image.
#pragma once

#include "graphics/devices/CanvasDevice.h"

// Default memory budget of the strips, in bytes; below the low mark the budget is reported.
inline constexpr qint64 defaultTileBudget = 20'000'000;
inline constexpr qint64 lowTileBudget = 2'000'000;

// Text message codes of the tile reports.
namespace TileMessage {
constexpr qint32 Memory = 8;
constexpr qint32 TileCount = 44;
}

// TTileDevice: renders the target device's page in TileCount strips of the target's width.
// A run: Prepare(target); then per strip BeginOutput (clear), draw, EndOutput (copy onto the
// target), NextTile; until Finished. The strip image is owned.
class TTileDevice : public TBitmapDevice
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    TDevice* TargetDevice() const { return m_target.get(); }
    bool Finished() const { return m_finished; }
    qint32 TileCount() const { return m_tileCount; }
    qint32 TileIndex() const { return m_tileIndex; }
    qint32 TileOffset() const { return m_tileOffset; }

    // Splits the target page into 8 strips (fewer when fewer cover it), halving the strip height
    // while no strip image can be made. An empty target page gives no strips (Finished at once);
    // a one-row strip that cannot be made raises Exception. A nil target gives no strips.
    void Prepare(TDevice* target);
    // The next strip; the last one is shortened to the page and its page adjusted.
    virtual void NextTile();
    // Copies the strip onto the target's canvas at its offset.
    void EndOutput() override;

    // Largest strip image in bytes that may be made (tests narrow it); 0 means no limit.
    static void SetStripByteLimit(qint64 bytes);

private:
    bool makeStrip(qint32 width, qint32 height);
    qint64 memoryBudget();
    void centreOn();

    WeakRef<TDevice> m_target;
    bool m_finished = true;
    qint32 m_tileCount = 0;
    qint32 m_tileIndex = 0;
    qint32 m_tileOffset = 0;
};
