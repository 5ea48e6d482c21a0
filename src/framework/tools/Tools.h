// Tools, technologies and progress messages: units of work on the element tree.
#pragma once

#include "framework/core/Messages.h"
#include "framework/models/ToolModel.h"

class TTool;

// Progress report of a tool: codes 10 (start), 11 (step).
class TProgressMessage : public TLumexMessage
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    qint32 MaxProgress() const { return m_maxProgress; }
    void SetMaxProgress(qint32 v) { m_maxProgress = v; }
    qint32 Progress() const { return m_progress; }
    void SetProgress(qint32 v) { m_progress = v; }
    qint32 MinProgress() const { return m_minProgress; }
    void SetMinProgress(qint32 v) { m_minProgress = v; }
    const QString& ProcessName() const { return m_processName; }
    void SetProcessName(const QString& name) { m_processName = name; }

private:
    qint32 m_maxProgress = 0;
    qint32 m_progress = 0;
    qint32 m_minProgress = 0;
    QString m_processName;
};

// The parameters of a tool and their alias table; may be shared by several tools.
class TParameters : public TOwnerEntity
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
};

// The sub-tools of a technology. It envelops the technology, so release requests and owner
// searches of a sub-tool reach the technology.
class TTools : public TEnvelopeEntity
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
};

class TToolProperties : public TOwnerElement
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
};

// Status flags of a tool.
namespace ToolFlag {
constexpr quint8 Executed = 1;    // set by Execute, cleared by Release
constexpr quint8 Running = 2;
constexpr quint8 Stop = 4;
constexpr quint8 Stop2 = 8;       // cleared by SetStop(false) only; descendants may set it
constexpr quint8 Progress = 32;   // progress reporting active
}

// A unit of work: takes Input, runs Execute, leaves its result in Output (both not owned).
// Holds its parameters, its configuring model (SelfModel) and, for technologies, its sub-tools
// as children. Reports progress and texts as posted framework messages.
class TTool : public TOwnerEntity
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    // A tool destroyed while reporting progress ends the report first.
    void BeforeDestruction() override;

    virtual void SetInput(TElement* element) { m_input = element; }
    virtual void SetOutput(TElement* element) { m_output = element; }
    // The parameters child, added on first use.
    virtual TParameters* GetParameters();
    // The old parameters child is released; the new one is added (and so may be shared).
    virtual void SetParameters(TParameters* parameters);
    // By alias first, then by child name (case ignored).
    virtual TElement* GetParameter(const QString& name);
    // Registers the element under the alias, releasing the one registered before.
    virtual void SetParameter(const QString& name, TElement* element);
    virtual void SetStop(bool on);
    // Sets the executed flag; every tool's Execute begins with this.
    virtual void Execute();
    virtual bool CanRelease() { return true; }
    // Configures the tool from SelfModel (DynamicTool, property values).
    virtual void ApplyModel();
    virtual void CreateToolsFromModel() {}
    virtual void DestroyDynamic() {}
    // Writes the current property values back into the property models.
    virtual void StoreToModel();
    virtual void OnMessage0(TLumexMessage& msg, bool& handled);
    // When CanRelease: clears the executed flag and asks every owner to free the tool (code 1).
    virtual void Release();
    virtual void OnReleaseRequest(TLumexMessage& msg, bool& handled);
    virtual void OnStop(TLumexMessage& msg, bool& handled);
    // Names of the tool's parameter properties; none here.
    virtual QString GetParamName(int index);

    // Dispatches codes 0 to 3 to the handlers above.
    void HandleMessage(TLumexMessage& msg, bool& handled) override;

    TElement* Input() const { return m_input.get(); }
    TElement* Output() const { return m_output.get(); }
    qint32 Error() const { return m_error; }
    void SetError(qint32 code) { m_error = code; }
    bool DynamicTool() const { return m_dynamicTool; }
    void SetDynamicTool(bool on) { m_dynamicTool = on; }
    quint8 Flags() const { return m_flags; }

    // SetParameter under the element's own name.
    void NextParameter(TElement* element);
    void AddParameter(TElement* element);
    void FreeParameter(TElement* element);
    bool IsRunning() const { return m_flags & ToolFlag::Running; }
    void SetRunning(bool on);
    bool StopRequested() const { return m_flags & (ToolFlag::Stop | ToolFlag::Stop2); }
    bool IsExecuted() const { return m_flags & ToolFlag::Executed; }
    // The first TToolModel child; nil when none.
    TToolModel* SelfModel() const;
    // The old model is released, the new one added. Nothing when it is the same model.
    void SetSelfModel(TToolModel* model);

    // Progress reports: posted messages 10 (with the values), 11, 13 (text) and 12; start and
    // end let pending events run once.
    void StartProgress(const QString& processName, qint32 min, qint32 max);
    void StepProgress(qint32 value);
    void ProgressText(const QString& text);
    void EndProgress();

protected:
    void setFlag(quint8 flag, bool on);

private:
    void postEndProgress();

    quint8 m_flags = 0;
    WeakRef<TParameters> m_parameters;
    qint32 m_error = 0;
    bool m_dynamicTool = false;
    WeakRef<TElement> m_input;
    WeakRef<TElement> m_output;
};

// A tool with a text result.
class TResultTool : public TTool
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    const QString& Result() const { return m_result; }
    void SetResult(const QString& text) { m_result = text; }

private:
    QString m_result;
};

// A tool with a Boolean result.
class TBooleanTool : public TTool
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    bool Result() const { return m_result; }
    void SetResult(bool value) { m_result = value; }

private:
    bool m_result = false;
};

// A tool that runs sub-tools, built from the tool models of its SelfModel.
class TTechnology : public TTool
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    // The sub-tool at the active index; nil when there is none there.
    virtual TTool* ActiveTool();
    virtual int ActiveIndex() const { return m_activeIndex; }
    virtual void SetActiveTool(TTool* tool);
    // Kept when it indexes a sub-tool, else -1.
    virtual void SetActiveIndex(int index);
    virtual void ToolToAdd(TTool* tool) { AddTool(tool); }
    virtual TTool* AddTool(TTool* tool);
    // Creates, names and adds the tool that the model describes and configures it; problems are
    // posted as texts (code 8) and give nil.
    virtual TTool* NewToolByModel(TToolModel* model);
    virtual TElement* CreateTool(const QString& className, const QString& name);
    virtual TTool* InsertTool(int index, TTool* tool);
    virtual void RemoveTool(TElement* tool);
    virtual void FreeTool(TElement* tool);

    bool CanRelease() override;
    void ApplyModel() override;
    void CreateToolsFromModel() override;
    // Stores the properties into the models and frees every sub-tool.
    void DestroyDynamic() override;
    void StoreToModel() override;
    // Frees the sender.
    void OnReleaseRequest(TLumexMessage& msg, bool& handled) override;

    // The TTools child, added on first use.
    TTools* Tools();
    int ToolCount();
    TElement* ToolAt(int index);

protected:
    int m_activeIndex = -1;
};

// Runs the sub-tools in order, each on its predecessor's result.
class TSeqTechnology : public TTechnology
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    void Execute() override;
};

// Runs the sub-tool at SelIndex, or ElseTool when there is none there.
class TSelectTechnology : public TTechnology
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    void Execute() override;

    TTool* ElseTool() const { return m_elseTool.get(); }
    // Stores the tool and adds it as a child (nil is ignored).
    void SetElseTool(TTool* tool);
    qint32 SelIndex() const { return m_selIndex; }
    void SetSelIndex(qint32 index) { m_selIndex = index; }

private:
    WeakRef<TTool> m_elseTool;
    qint32 m_selIndex = 0;
};

// Registers the classes of this unit.
void RegisterToolsUnit();
