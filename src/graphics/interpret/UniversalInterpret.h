// Universal interpreter: draws a whole model through its script, by passes, layers and tiles.
#pragma once

#include "graphics/interpret/Interpret.h"

#include <vector>

class TInterpretLayer;
class TInterpretScript;
class TTickElement;
class TTileDevice;

// TUniversalInterpret: walks the model and gives each element the interpreter its script names
// (one walk per pass), or inside a layer the layer's interpreter for elements of the layer's
// class. It lets pending events run at most every Timer interval (200 ms) and stops there with
// EBreakInterpret when asked to. With Tile it renders through its tile device, strip by strip.
class TUniversalInterpret : public TInterpret
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    bool InterpretByLayer() const { return !m_layers.empty() && m_layers.back().interpret; }
    bool Tile() const { return m_tile; }
    void SetTile(bool on) { m_tile = on; }
    // Created on first read (a child).
    TTileDevice* TileDevice();
    // Replaces (and frees) the old one.
    void SetTileDevice(TTileDevice* device);
    // Created on first read (a child) with Interval 200.
    TTickElement* Timer();
    TInterpretScript* Script() const;
    void SetScript(TInterpretScript* script);
    bool CanGoInside() const { return m_canGoInside; }
    void SetCanGoInside(bool on) { m_canGoInside = on; }
    TInterpret* Interpret() const { return m_interpret.get(); }
    quint16 Counter() const { return m_counter; }
    void SetCounter(quint16 n) { m_counter = n; }

    bool DescendTest(TElement* element) override;
    bool PreTest(TElement* element) override;
    bool PostTest(TElement* element) override;
    void Action(TElement* element) override;
    void SetStop(bool on) override;
    void Execute() override;
    void BeginRun() override;
    void EndRun() override;
    void InterpretElement(TLumexMessage& msg, bool& handled) override;
    // Draws the element's rectangle widened by 10 world units; an empty rectangle draws nothing,
    // one beyond the page is cut to it.
    void InterpretClipped(TLumexMessage& msg, bool& handled) override;

private:
    // An active layer; nested layers stack (interpret nil: the layer has none).
    struct ActiveLayer {
        TInterpretLayer* layer;
        TInterpret* interpret;
        TClass cls;
    };
    bool layerInScale(TInterpretLayer* layer);
    void runPasses();
    void runTiles();
    void serviceEvents();

    bool m_tile = false;
    WeakRef<TTileDevice> m_tileDevice;
    WeakRef<TTickElement> m_timer;
    WeakRef<TInterpretScript> m_script;
    bool m_canGoInside = false;
    WeakRef<TInterpret> m_interpret;
    quint16 m_counter = 0;
    std::vector<ActiveLayer> m_layers;
};

void RegisterUniversalInterpretClasses();
