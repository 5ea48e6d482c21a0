// Tool models: element models that also hold the models of sub-tools.
#pragma once

#include "framework/models/ElementModel.h"

// The model of a tool; a technology builds its sub-tools from ModelTools ("TOOLS", added on
// first use; NoModelTools does not add it).
class TToolModel : public TElementModel
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    TOwnerEntity* ModelTools();
    bool NoModelTools() const;
    void NewToolName(const QString& name);

    bool DynamicTool() const { return m_dynamicTool; }
    void SetDynamicTool(bool on) { m_dynamicTool = on; }

private:
    bool m_dynamicTool = false;
};

// Registers the classes of this unit.
void RegisterE_ToolModelUnit();
