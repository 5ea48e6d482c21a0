// Interpretation layers: parts of a model drawn by their own interpreter within scale limits.
#include "graphics/interpret/InterpretLayers.h"

#include "framework/core/ClassRegistry.h"
#include "graphics/interpret/Interpret.h"
#include "platform/text/Case.h"

TClass TInterpretLayer::StaticClass()
{
    static const TClassInfo info = describeClass<TInterpretLayer, TRectEntity>("TInterpretLayer", [](PropertyTable<TInterpretLayer>& t) {
        using L = TInterpretLayer;
        t.string("Path", &L::Path, &L::SetPath)
            .integer("GlobalColor", &L::GlobalColor, &L::SetGlobalColor)
            .integer("GlobalSymbol", &L::GlobalSymbol, &L::SetGlobalSymbol)
            .boolean("SwitchedOff", &L::SwitchedOff, &L::SetSwitchedOff)
            .string("LayerClassName", &L::LayerClassName, &L::SetLayerClassName)
            .object<TInterpret>("Interpret", &L::Interpret, nullptr, false)
            .string("InterpretName", &L::InterpretName, &L::SetInterpretName)
            .floating("MinScaleNumber", "Double", &L::MinScaleNumber, &L::SetMinScaleNumber)
            .floating("MaxScaleNumber", "Double", &L::MaxScaleNumber, &L::SetMaxScaleNumber);
    });
    return &info;
}

QString TInterpretLayer::LayerClassName() const
{
    return m_layerClass ? m_layerClass->ClassName() : QString();
}

void TInterpretLayer::SetLayerClassName(const QString& name)
{
    m_layerClass = FindLumexClass(name);
}

QString TInterpretLayer::InterpretName() const
{
    return m_interpret ? m_interpret->ClassName() : QString();
}

void TInterpretLayer::SetInterpretName(const QString& name)
{
    if (m_interpret && txt::upperAscii(m_interpret->ClassName()) == txt::upperAscii(name))
        return;
    m_interpret = nullptr;
    TClass cls = FindLumexClass(name);
    if (cls && cls->InheritsFrom(TInterpret::StaticClass()))
        m_interpret.reset(dynamic_cast<TInterpret*>(cls->CreateInstance()));
}

bool TInterpretLayer::InScale(double scale) const
{
    if (m_minScale != 0.0 && !(scale > m_minScale))
        return false;
    if (m_maxScale != 0.0 && !(scale < m_maxScale))
        return false;
    return true;
}

TClass TInterpretContainer::StaticClass()
{
    static const TClassInfo info = describeClass<TInterpretContainer, TRectEntity>("TInterpretContainer");
    return &info;
}

void RegisterInterpretLayerClasses()
{
    RegisterUnitClasses({TInterpretLayer::StaticClass(), TInterpretContainer::StaticClass()});
}
