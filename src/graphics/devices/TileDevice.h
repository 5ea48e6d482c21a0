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

    // How a page is cut: Count strips of Height rows, the last one possibly shorter.
    struct StripPlan {
        qint32 Count = 0;
        qint32 Height = 0;
    };
    // The strips of a width x height page whose image keeps within budget bytes: 8 strips
    // (fewer when fewer cover the page), their height halved while one strip's image exceeds
    // the budget. A budget of 0 (memory desperately short) is taken as the low mark. An empty
    // page gives no strips; a single row beyond the budget raises Exception.
    static StripPlan PlanStrips(qint32 width, qint32 height, qint64 budget);

    // Cuts the target page as PlanStrips does within the memory budget. An empty target page or
    // a nil target gives no strips (Finished at once); a strip image that cannot be made raises
    // Exception.
    void Prepare(TDevice* target);
    // The next strip; the last one is shortened to the page and its page adjusted.
    virtual void NextTile();
    // Copies the strip onto the target's canvas at its offset.
    void EndOutput() override;
    // Ends the run where it stands: Finished, the strip image freed.
    void Release();

private:
    void makeStrip(qint32 width, qint32 height);
    qint64 memoryBudget();
    void centreOn();

    WeakRef<TDevice> m_target;
    bool m_finished = true;
    qint32 m_tileCount = 0;
    qint32 m_tileIndex = 0;
    qint32 m_tileOffset = 0;
};
