// Universal interpreter: draws a whole model through its script, by passes, layers and tiles.
#include "graphics/interpret/UniversalInterpret.h"

#include "framework/core/ClassRegistry.h"
#include "framework/core/Messages.h"
#include "framework/elements/Timers.h"
#include "graphics/devices/TileDevice.h"
#include "graphics/interpret/InterpretLayers.h"
#include "graphics/interpret/InterpretScript.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

constexpr qint32 timerInterval = 200;   // milliseconds between event services

// Restores the device and page state a run changed, also when the run is abandoned.
class DeviceScope
{
public:
    DeviceScope(TInterpret& tool, TDevice* device) : m_tool(tool), m_device(device) {}
    ~DeviceScope() { m_tool.BindDevice(m_device.get()); }
    DeviceScope(const DeviceScope&) = delete;
    DeviceScope& operator=(const DeviceScope&) = delete;

private:
    TInterpret& m_tool;
    WeakRef<TDevice> m_device;
};

class OutputScope
{
public:
    explicit OutputScope(TDevice* device) : m_device(device)
    {
        if (device)
            device->BeginOutput();
    }
    ~OutputScope()
    {
        if (TDevice* device = m_device.get()) {
            try {
                device->EndOutput();
            } catch (const Exception&) {
                // An unwinding run keeps its own error; the close error is lost with it.
            }
        }
    }
    OutputScope(const OutputScope&) = delete;
    OutputScope& operator=(const OutputScope&) = delete;

private:
    WeakRef<TDevice> m_device;
};

// Ends the progress report and frees the tile strip when a tiled run ends, however it ends.
class TileRunScope
{
public:
    TileRunScope(TTool& tool, TTileDevice* tiles) : m_tool(tool), m_tiles(tiles)
    {
        tool.StartProgress(QStringLiteral("Interpretace Bitmapových Dlaždic"), 0, 0);
    }
    ~TileRunScope()
    {
        if (TTileDevice* tiles = m_tiles.get())
            tiles->Release();
        try {
            m_tool.EndProgress();
        } catch (const Exception&) {
            // An unwinding run keeps its own error.
        }
    }
    TileRunScope(const TileRunScope&) = delete;
    TileRunScope& operator=(const TileRunScope&) = delete;

private:
    TTool& m_tool;
    WeakRef<TTileDevice> m_tiles;
};

class ClipScope
{
public:
    ClipScope(T_Page* page, const PixelRect& clip) : m_page(page)
    {
        page->SetClipRect(clip);
        page->SetClipOn(true);
    }
    ~ClipScope()
    {
        if (T_Page* page = m_page.get()) {
            page->SetClipOn(false);
            page->SetClipRect(page->PageRect());
        }
    }
    ClipScope(const ClipScope&) = delete;
    ClipScope& operator=(const ClipScope&) = delete;

private:
    WeakRef<T_Page> m_page;
};

qint32 toPixel(double v, qint32 lo, qint32 hi)
{
    if (!(v > lo))
        return lo;
    if (v > hi)
        return hi;
    return static_cast<qint32>(std::nearbyint(v));
}

} // namespace

TClass TUniversalInterpret::StaticClass()
{
    static const TClassInfo info = describeClass<TUniversalInterpret, TInterpret>("TUniversalInterpret", [](PropertyTable<TUniversalInterpret>& t) {
        using U = TUniversalInterpret;
        t.boolean("InterpretByLayer", &U::InterpretByLayer, nullptr, false)
            .boolean("Tile", &U::Tile, &U::SetTile)
            .object<TTileDevice>("TileDevice", &U::TileDevice, &U::SetTileDevice, false)
            .object<TTickElement>("Timer", &U::Timer, nullptr, false)
            .object<TInterpretScript>("Script", &U::Script, &U::SetScript)
            .boolean("CanGoInside", &U::CanGoInside, &U::SetCanGoInside)
            .object<TInterpret>("Interpret", &U::Interpret, nullptr, false)
            .integer("Counter", [](U& u) { return qint32(u.Counter()); }, [](U& u, qint32 v) { u.SetCounter(quint16(v)); });
    });
    return &info;
}

TTileDevice* TUniversalInterpret::TileDevice()
{
    if (!m_tileDevice)
        m_tileDevice = AddNew<TTileDevice>();
    return m_tileDevice.get();
}

void TUniversalInterpret::SetTileDevice(TTileDevice* device)
{
    if (!device)
        return;
    ReplaceChild(m_tileDevice, device);
}

TTickElement* TUniversalInterpret::Timer()
{
    if (!m_timer) {
        TTickElement* timer = AddNew<TTickElement>();
        timer->SetInterval(timerInterval);
        m_timer = timer;
    }
    return m_timer.get();
}

TInterpretScript* TUniversalInterpret::Script() const
{
    return m_script.get();
}

void TUniversalInterpret::SetScript(TInterpretScript* script)
{
    ReplaceChild(m_script, script);
}

bool TUniversalInterpret::layerInScale(TInterpretLayer* layer)
{
    TDevice* device = Device();
    return !device || layer->InScale(device->Projection()->Scale());
}

// The original entered a layer that its pre-test had skipped for its scale.
bool TUniversalInterpret::DescendTest(TElement* element)
{
    if (auto* layer = dynamic_cast<TInterpretLayer*>(element))
        return !layer->SwitchedOff() && layerInScale(layer);
    return m_canGoInside && dynamic_cast<TEntity*>(element) != nullptr;
}

bool TUniversalInterpret::PreTest(TElement* element)
{
    auto* layer = dynamic_cast<TInterpretLayer*>(element);
    if (!layer)
        return TInterpret::PreTest(element);
    if (layer->SwitchedOff() || !layerInScale(layer))
        return false;
    ActiveLayer active{layer, nullptr, nullptr};
    if (layer->Interpret() && layer->LayerClass()) {
        active.interpret = layer->Interpret();
        active.cls = layer->LayerClass();
        active.interpret->BindDevice(Device());
    }
    m_layers.push_back(active);
    return true;
}

bool TUniversalInterpret::PostTest(TElement* element)
{
    auto* layer = dynamic_cast<TInterpretLayer*>(element);
    if (!layer)
        return TInterpret::PostTest(element);
    if (!m_layers.empty() && m_layers.back().layer == layer) {
        if (TInterpret* i = m_layers.back().interpret)
            i->UnbindDevice();
        m_layers.pop_back();
    }
    return false;
}

void TUniversalInterpret::Action(TElement* element)
{
    m_canGoInside = true;
    TInterpret* chosen = nullptr;
    const bool byLayer = InterpretByLayer();
    if (!byLayer) {
        TInterpretScript* script = Script();
        if (script && script->MatchesElement(element))
            chosen = script->InterpretFor(element);
    } else if (element && element->InheritsFrom(m_layers.back().cls)) {
        chosen = m_layers.back().interpret;
    }
    if (chosen && chosen != this) {
        m_interpret = chosen;
        InputScope input(*chosen, element);
        chosen->SetMode(Mode());
        chosen->Execute();
        m_canGoInside = chosen->GoInside(element);
        m_interpret = nullptr;
    }
    serviceEvents();
}

void TUniversalInterpret::serviceEvents()
{
    TTickElement* timer = Timer();
    if (!timer->Alarm())
        return;
    timer->SetPause(true);
    ProcessMessages();
    if (StopRequested())
        throw EBreakInterpret(QStringLiteral("Konec intepretace"));
    timer->Start();
}

void TUniversalInterpret::SetStop(bool on)
{
    TInterpret::SetStop(on);
    if (TInterpret* current = m_interpret.get())
        current->SetStop(on);
}

void TUniversalInterpret::BeginRun()
{
    m_layers.clear();
    if (TInterpretScript* script = Script())
        script->BindDevice(Device());
    Timer()->Start();
    m_counter = 0;
}

void TUniversalInterpret::EndRun()
{
    m_layers.clear();
    if (TInterpretScript* script = Script())
        script->UnbindDevice();
    PostToOwners(InterpretCode::RunEnded, nullptr);
}

void TUniversalInterpret::runPasses()
{
    TInterpretScript* script = Script();
    const qint32 passes = script ? script->PassesCount() : 0;
    if (passes < 1) {
        runWalk();
        return;
    }
    for (qint32 p = 0; p < passes; ++p) {
        script->SetPass(p);
        if (script->IsError())
            break;
        runWalk();
    }
}

void TUniversalInterpret::runTiles()
{
    TTileDevice* tiles = TileDevice();
    TileRunScope run(*this, tiles);
    ProgressText(QStringLiteral("Inicializace...."));
    TDevice* target = Device();
    tiles->Prepare(target);
    DeviceScope restore(*this, target);
    BindDevice(tiles);
    for (int number = 1; !tiles->Finished(); ++number) {
        ProgressText(QStringLiteral("Interpretace %1. dlaždice z %2").arg(number).arg(tiles->TileCount()));
        tiles->BeginOutput();
        runPasses();
        tiles->EndOutput();
        tiles->NextTile();
    }
}

void TUniversalInterpret::Execute()
{
    if (IsRunning())
        return;
    if (m_tile && Device())
        runTiles();
    else
        runPasses();
}

void TUniversalInterpret::InterpretElement(TLumexMessage& msg, bool& handled)
{
    ProcessMessages();
    // A whole-model run brackets its output; a single element draws within a running one.
    std::optional<OutputScope> output;
    if (!msg.Data())
        output.emplace(Device());
    TInterpret::InterpretElement(msg, handled);
}

void TUniversalInterpret::InterpretClipped(TLumexMessage& msg, bool& handled)
{
    ProcessMessages();
    handled = true;
    auto* entity = dynamic_cast<TRectEntity*>(msg.Data());
    TDevice* device = Device();
    if (!entity || !device || !entity->IsValid())
        return;
    const TBounds b = entity->Rectangle()->InflatedBounds();
    const TPageProjection* p = device->Projection();
    const PixelRect page = device->Page()->PageRect();
    const PixelPointF lt = p->WorldToPixelF(b.MinX, b.MaxY);
    const PixelPointF rb = p->WorldToPixelF(b.MaxX, b.MinY);
    const PixelRect clip{toPixel(lt.x, page.Left, page.Right), toPixel(lt.y, page.Top, page.Bottom),
                         toPixel(rb.x, page.Left, page.Right), toPixel(rb.y, page.Top, page.Bottom)};
    ClipScope clipping(device->Page(), clip);
    OutputScope output(device);
    msg.SetData(nullptr);
    TInterpret::InterpretElement(msg, handled);
}

void RegisterUniversalInterpretClasses()
{
    RegisterUnitClasses({TUniversalInterpret::StaticClass()});
}
