// Interpretation layers: parts of a model drawn by their own interpreter within scale limits.
#pragma once

#include "framework/elements/PlaneGraphics.h"

class TInterpret;

// TInterpretLayer: its elements of LayerClassName go to its own interpreter (owned, not a
// child, so walks do not meet it) while the map scale lies strictly between MinScaleNumber and
// MaxScaleNumber (0 = no limit).
class TInterpretLayer : public TRectEntity
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    const QString& Path() const { return m_path; }
    void SetPath(const QString& path) { m_path = path; }
    qint32 GlobalColor() const { return m_globalColor; }
    void SetGlobalColor(qint32 c) { m_globalColor = c; }
    qint32 GlobalSymbol() const { return m_globalSymbol; }
    void SetGlobalSymbol(qint32 s) { m_globalSymbol = s; }
    bool SwitchedOff() const { return m_switchedOff; }
    void SetSwitchedOff(bool on) { m_switchedOff = on; }
    TClass LayerClass() const { return m_layerClass; }
    QString LayerClassName() const;
    // A registered class name; others leave no class.
    void SetLayerClassName(const QString& name);
    TInterpret* Interpret() const { return m_interpret.get(); }
    QString InterpretName() const;
    // Nothing when the name is the current interpreter's (case ignored); else the old one is
    // freed and one of the named registered interpreter class made (nil for other names).
    void SetInterpretName(const QString& name);
    double MinScaleNumber() const { return m_minScale; }
    void SetMinScaleNumber(double v) { m_minScale = v; }
    double MaxScaleNumber() const { return m_maxScale; }
    void SetMaxScaleNumber(double v) { m_maxScale = v; }
    // Both limits are exclusive.
    bool InScale(double scale) const;

private:
    QString m_path;
    qint32 m_globalColor = 0;
    qint32 m_globalSymbol = 0;
    bool m_switchedOff = false;
    TClass m_layerClass = nullptr;
    Owned<TInterpret> m_interpret;
    double m_minScale = 0.0;
    double m_maxScale = 0.0;
};

// A container of layers and other elements.
class TInterpretContainer : public TRectEntity
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
};

void RegisterInterpretLayerClasses();
