// Tool models: element models that also hold the models of sub-tools.
#include "framework/models/ToolModel.h"

#include "framework/core/ClassRegistry.h"

namespace {

const QString toolsName = QStringLiteral("TOOLS");

} // namespace

TClass TToolModel::StaticClass()
{
    using M = TToolModel;
    static const TClassInfo info = describeClass<M, TElementModel>("TToolModel", [](PropertyTable<M>& t) {
        t.boolean("DynamicTool", &M::DynamicTool, &M::SetDynamicTool);
        t.object<TOwnerEntity>("ModelTools", &M::ModelTools, nullptr);
        t.boolean("NoModelTools", &M::NoModelTools, nullptr);
        t.string("NewToolName", nullptr, &M::NewToolName);
    });
    return &info;
}

TOwnerEntity* TToolModel::ModelTools()
{
    return NamedChild<TOwnerEntity>(this, toolsName);
}

bool TToolModel::NoModelTools() const
{
    return !hasNonEmptyChild(toolsName);
}

void TToolModel::NewToolName(const QString& name)
{
    ModelTools()->AddNew<TToolModel>()->SetName(name);
}

void RegisterE_ToolModelUnit()
{
    RegisterUnitClasses({TToolModel::StaticClass()});
}
