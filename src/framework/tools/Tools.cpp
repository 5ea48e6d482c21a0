// Tools, technologies and progress messages: units of work on the element tree.
#include "framework/tools/Tools.h"

#include "framework/core/ClassRegistry.h"

// --- small classes -------------------------------------------------------------------------------

TClass TProgressMessage::StaticClass()
{
    using M = TProgressMessage;
    static const TClassInfo info = describeClass<M, TLumexMessage>("TProgressMessage", [](PropertyTable<M>& t) {
        t.integer("MaxProgress", &M::MaxProgress, &M::SetMaxProgress);
        t.integer("Progress", &M::Progress, &M::SetProgress);
        t.integer("MinProgress", &M::MinProgress, &M::SetMinProgress);
        t.string("ProcessName", &M::ProcessName, &M::SetProcessName);
    });
    return &info;
}

TClass TParameters::StaticClass()
{
    static const TClassInfo info = describeClass<TParameters, TOwnerEntity>("TParameters");
    return &info;
}

TClass TTools::StaticClass()
{
    static const TClassInfo info = describeClass<TTools, TEnvelopeEntity>("TTools");
    return &info;
}

TClass TToolProperties::StaticClass()
{
    static const TClassInfo info = describeClass<TToolProperties, TOwnerElement>("TToolProperties");
    return &info;
}

// --- TTool ---------------------------------------------------------------------------------------

TClass TTool::StaticClass()
{
    static const TClassInfo info = describeClass<TTool, TOwnerEntity>("TTool", [](PropertyTable<TTool>& t) {
        t.object<TElement>("Input", &TTool::Input, &TTool::SetInput);
        t.object<TElement>("Output", &TTool::Output, &TTool::SetOutput);
        t.boolean("DynamicTool", &TTool::DynamicTool, &TTool::SetDynamicTool);
        t.object<TToolModel>("SelfModel", &TTool::SelfModel, &TTool::SetSelfModel);
        t.integer("Error", &TTool::Error, &TTool::SetError, false);
        t.object<TElement>("NextParameter", nullptr, &TTool::NextParameter);
    });
    return &info;
}

// Only the end message is posted here: letting events run inside a destruction could free the
// tool a second time.
void TTool::BeforeDestruction()
{
    if (m_flags & ToolFlag::Progress)
        postEndProgress();
    TOwnerEntity::BeforeDestruction();
}

TParameters* TTool::GetParameters()
{
    if (TParameters* parameters = m_parameters.get())
        return parameters;
    auto* parameters = dynamic_cast<TParameters*>(FindElementByClass(TParameters::StaticClass()));
    if (!parameters)
        parameters = AddNew<TParameters>();
    m_parameters = parameters;
    return parameters;
}

void TTool::SetParameters(TParameters* parameters)
{
    if (!m_parameters.get())   // the field follows a child loaded from a stream
        m_parameters = dynamic_cast<TParameters*>(FindElementByClass(TParameters::StaticClass()));
    ReplaceChild(m_parameters, parameters);
}

TElement* TTool::GetParameter(const QString& name)
{
    return GetParameters()->FindAliased(name);
}

void TTool::SetParameter(const QString& name, TElement* element)
{
    GetParameters()->SetAliased(name, element);
}

void TTool::SetStop(bool on)
{
    if (on)
        m_flags |= ToolFlag::Stop;
    else
        m_flags &= quint8(~(ToolFlag::Stop | ToolFlag::Stop2));
}

void TTool::Execute()
{
    m_flags |= ToolFlag::Executed;
}

void TTool::ApplyModel()
{
    TToolModel* model = SelfModel();
    if (!model) {
        PostTextMessage(this, LumexCode::Info,
                        QStringLiteral("Tool: ") + GetName() + QStringLiteral(" class: ") + ClassName()
                            + QStringLiteral(" Has no model!"),
                        nullptr);
        return;
    }
    m_dynamicTool = model->DynamicTool();
    if (model->NoModelProperties())
        return;
    TOwnerEntity* properties = model->ModelProperties();
    for (int i = 0; i < properties->Count(); ++i) {
        if (auto* property = dynamic_cast<TPropertyModel*>(properties->Items(i)))
            SetPropAsString(property->GetName(), property->Value());
    }
}

void TTool::StoreToModel()
{
    TToolModel* model = SelfModel();
    if (!model || model->NoModelProperties())
        return;
    TOwnerEntity* properties = model->ModelProperties();
    for (int i = 0; i < properties->Count(); ++i) {
        if (auto* property = dynamic_cast<TPropertyModel*>(properties->Items(i)))
            property->SetValue(GetPropAsString(property->GetName()));
    }
}

void TTool::OnMessage0(TLumexMessage&, bool&)
{
}

void TTool::Release()
{
    if (!CanRelease())
        return;
    m_flags &= quint8(~ToolFlag::Executed);
    PostToOwners(LumexCode::ReleaseRequest, nullptr);
}

void TTool::OnReleaseRequest(TLumexMessage&, bool&)
{
}

void TTool::OnStop(TLumexMessage&, bool&)
{
}

QString TTool::GetParamName(int)
{
    return QString();
}

void TTool::HandleMessage(TLumexMessage& msg, bool& handled)
{
    handled = false;
    TOwnerEntity::HandleMessage(msg, handled);
    switch (msg.Message()) {
    case LumexCode::Tool:
        OnMessage0(msg, handled);
        break;
    case LumexCode::ReleaseRequest:
        OnReleaseRequest(msg, handled);
        break;
    case LumexCode::Release:
        Release();
        break;
    case LumexCode::Stop:
        OnStop(msg, handled);
        break;
    default:
        break;
    }
}

void TTool::NextParameter(TElement* element)
{
    if (element)
        SetParameter(element->GetName(), element);
}

void TTool::AddParameter(TElement* element)
{
    GetParameters()->Add(element);
}

void TTool::FreeParameter(TElement* element)
{
    GetParameters()->RemoveAndFree(element);
}

void TTool::SetRunning(bool on)
{
    setFlag(ToolFlag::Running, on);
}

TToolModel* TTool::SelfModel() const
{
    return dynamic_cast<TToolModel*>(FindElementByClass(TToolModel::StaticClass()));
}

void TTool::SetSelfModel(TToolModel* model)
{
    TToolModel* current = SelfModel();
    ReplaceChild(current, model);
}

void TTool::StartProgress(const QString& processName, qint32 min, qint32 max)
{
    auto msg = TLumexMessage::CreateMessage<TProgressMessage>(LumexCode::ProgressStart, this, nullptr, nullptr);
    msg->SetProcessName(processName);
    msg->SetMinProgress(min);
    msg->SetMaxProgress(max);
    PostFrameworkMessage(std::move(msg));
    m_flags |= ToolFlag::Progress;
    ProcessMessages();
}

void TTool::StepProgress(qint32 value)
{
    if (!(m_flags & ToolFlag::Progress))
        return;
    auto msg = TLumexMessage::CreateMessage<TProgressMessage>(LumexCode::ProgressStep, this, nullptr, nullptr);
    msg->SetProgress(value);
    PostFrameworkMessage(std::move(msg));
}

void TTool::ProgressText(const QString& text)
{
    if (m_flags & ToolFlag::Progress)
        PostTextMessage(this, LumexCode::ProgressText, text, nullptr);
}

void TTool::EndProgress()
{
    if (!(m_flags & ToolFlag::Progress))
        return;
    postEndProgress();
    ProcessMessages();
}

void TTool::postEndProgress()
{
    PostFrameworkMessage(TLumexMessage::CreateMessage(LumexCode::ProgressEnd, this, nullptr, nullptr));
    m_flags &= quint8(~ToolFlag::Progress);
}

void TTool::setFlag(quint8 flag, bool on)
{
    if (on)
        m_flags |= flag;
    else
        m_flags &= quint8(~flag);
}

TClass TResultTool::StaticClass()
{
    static const TClassInfo info =
        describeClass<TResultTool, TTool>("TResultTool", [](PropertyTable<TResultTool>& t) {
            t.string("Result", &TResultTool::Result, &TResultTool::SetResult, false);
        });
    return &info;
}

TClass TBooleanTool::StaticClass()
{
    static const TClassInfo info =
        describeClass<TBooleanTool, TTool>("TBooleanTool", [](PropertyTable<TBooleanTool>& t) {
            t.boolean("Result", &TBooleanTool::Result, &TBooleanTool::SetResult, false);
        });
    return &info;
}

// --- TTechnology ---------------------------------------------------------------------------------

TClass TTechnology::StaticClass()
{
    using T = TTechnology;
    static const TClassInfo info = describeClass<T, TTool>("TTechnology", [](PropertyTable<T>& t) {
        t.object<TTool>("ActiveTool", &T::ActiveTool, &T::SetActiveTool);
        t.object<TTool>("ToolToAdd", nullptr, &T::ToolToAdd);
        t.object<TToolModel>("NewToolByModel", nullptr, [](T& tech, TToolModel* model) { tech.NewToolByModel(model); });
        t.object<TElement>("ToolToFree", nullptr, &T::FreeTool);
        t.object<TElement>("ToolToRemove", nullptr, &T::RemoveTool);
    });
    return &info;
}

TTools* TTechnology::Tools()
{
    if (auto* tools = dynamic_cast<TTools*>(FindElementByClass(TTools::StaticClass())))
        return tools;
    return AddNew<TTools>();
}

int TTechnology::ToolCount()
{
    return Tools()->Count();
}

TElement* TTechnology::ToolAt(int index)
{
    return Tools()->Items(index);
}

TTool* TTechnology::ActiveTool()
{
    if (m_activeIndex < 0 || m_activeIndex >= ToolCount())
        return nullptr;
    return dynamic_cast<TTool*>(ToolAt(m_activeIndex));
}

void TTechnology::SetActiveTool(TTool* tool)
{
    SetActiveIndex(Tools()->IndexOf(tool));
}

void TTechnology::SetActiveIndex(int index)
{
    m_activeIndex = index >= 0 && index < ToolCount() ? index : -1;
}

TTool* TTechnology::AddTool(TTool* tool)
{
    Tools()->Add(tool);
    return tool;
}

TTool* TTechnology::NewToolByModel(TToolModel* model)
{
    if (!model || model->ElementClassName().isEmpty())
        return nullptr;
    const QString className = model->ElementClassName();
    const TClass cls = FindLumexClass(className);
    if (!cls) {
        PostTextMessage(this, LumexCode::Info, QStringLiteral("Unknown class: ") + className, nullptr);
        return nullptr;
    }
    if (!cls->InheritsFrom(TTool::StaticClass()) || !cls->CanCreate()) {
        PostTextMessage(this, LumexCode::Info, QStringLiteral("Class: ") + className + QStringLiteral(" is not a Tool"),
                        nullptr);
        return nullptr;
    }
    auto* tool = Tools()->AddNewOfClass<TTool>(cls, model->GetName());
    if (!model->AttachToPropertyName().isEmpty())
        SetPropAsInteger(model->AttachToPropertyName(), ObjectHandle(tool));
    tool->SetSelfModel(model);
    tool->ApplyModel();
    return tool;
}

TElement* TTechnology::CreateTool(const QString& className, const QString& name)
{
    return Tools()->CreateChild(className, name);
}

TTool* TTechnology::InsertTool(int index, TTool* tool)
{
    Tools()->Insert(index, tool);
    return tool;
}

void TTechnology::RemoveTool(TElement* tool)
{
    Tools()->Remove(tool);
}

void TTechnology::FreeTool(TElement* tool)
{
    Tools()->RemoveAndFree(tool);
}

bool TTechnology::CanRelease()
{
    TTools* tools = Tools();
    for (int i = 0; i < tools->Count(); ++i) {
        auto* tool = dynamic_cast<TTool*>(tools->Items(i));
        if (tool && !tool->CanRelease())
            return false;
    }
    return true;
}

void TTechnology::ApplyModel()
{
    TTool::ApplyModel();
    if (!DynamicTool())
        CreateToolsFromModel();
}

void TTechnology::CreateToolsFromModel()
{
    TToolModel* model = SelfModel();
    if (!model || model->NoModelTools())
        return;
    TOwnerEntity* models = model->ModelTools();
    for (int i = 0; i < models->Count(); ++i) {
        if (auto* toolModel = dynamic_cast<TToolModel*>(models->Items(i)))
            NewToolByModel(toolModel);
    }
}

void TTechnology::DestroyDynamic()
{
    PostTextMessage(this, LumexCode::Info, GetName() + QStringLiteral(": DestroyDynamic"), nullptr);
    StoreToModel();
    Tools()->Clear();
}

void TTechnology::StoreToModel()
{
    TTool::StoreToModel();
    TTools* tools = Tools();
    for (int i = 0; i < tools->Count(); ++i) {
        if (auto* tool = dynamic_cast<TTool*>(tools->Items(i)))
            tool->StoreToModel();
    }
}

void TTechnology::OnReleaseRequest(TLumexMessage& msg, bool& handled)
{
    FreeTool(msg.Sender());
    handled = true;
}

// --- TSeqTechnology, TSelectTechnology ----------------------------------------------------------

TClass TSeqTechnology::StaticClass()
{
    static const TClassInfo info = describeClass<TSeqTechnology, TTechnology>("TSeqTechnology");
    return &info;
}

// Each sub-tool shares the technology's parameters and works on its predecessor's result.
void TSeqTechnology::Execute()
{
    TTool::Execute();
    if (IsEmpty())
        return;
    const int count = ToolCount();
    for (int i = 0; i < count && i < ToolCount(); ++i) {
        m_activeIndex = i;
        auto* tool = dynamic_cast<TTool*>(ToolAt(i));
        if (!tool)
            continue;
        tool->SetParameters(GetParameters());
        tool->SetInput(Input());
        tool->Execute();
        TElement* result = tool->Output();
        SetOutput(result);
        SetInput(result);
    }
}

TClass TSelectTechnology::StaticClass()
{
    using T = TSelectTechnology;
    static const TClassInfo info = describeClass<T, TTechnology>("TSelectTechnology", [](PropertyTable<T>& t) {
        t.object<TTool>("ElseTool", &T::ElseTool, &T::SetElseTool);
        t.integer("SelIndex", &T::SelIndex, &T::SetSelIndex);
    });
    return &info;
}

void TSelectTechnology::Execute()
{
    TTool* chosen = nullptr;
    if (m_selIndex >= 0 && m_selIndex < ToolCount())
        chosen = dynamic_cast<TTool*>(ToolAt(m_selIndex));
    if (!chosen)
        chosen = ElseTool();
    if (!chosen)
        return;
    chosen->SetInput(Input());
    chosen->Execute();
    SetOutput(chosen->Output());
}

void TSelectTechnology::SetElseTool(TTool* tool)
{
    if (!tool || tool == ElseTool())
        return;
    m_elseTool = tool;
    Add(tool);
}

void RegisterToolsUnit()
{
    RegisterUnitClasses({TProgressMessage::StaticClass(), TToolProperties::StaticClass(), TTool::StaticClass(),
                         TResultTool::StaticClass(), TBooleanTool::StaticClass(), TTechnology::StaticClass(),
                         TSeqTechnology::StaticClass(), TSelectTechnology::StaticClass()});
}
