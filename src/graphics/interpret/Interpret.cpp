// Interpreters: tree-walking tools that hand model elements to a drawing device.
#include "graphics/interpret/Interpret.h"

#include "framework/core/ClassRegistry.h"
#include "framework/core/Messages.h"
#include "graphics/devices/Device.h"

namespace {

// Clears the running state and the stop request when a run ends, however it ends.
class RunningScope
{
public:
    explicit RunningScope(TInterpret& tool) : m_tool(tool) { tool.SetRunning(true); }
    ~RunningScope()
    {
        m_tool.SetRunning(false);
        m_tool.SetStop(false);
    }
    RunningScope(const RunningScope&) = delete;
    RunningScope& operator=(const RunningScope&) = delete;

private:
    TInterpret& m_tool;
};

} // namespace

TClass TInterpret::StaticClass()
{
    static const TClassInfo info = describeClass<TInterpret, TRecursor>("TInterpret", [](PropertyTable<TInterpret>& t) {
        t.object<TDevice>("Device", &TInterpret::Device, &TInterpret::SetDevice, false)
            .object<TInterpret>("NextSubInterpret", nullptr, &TInterpret::SetNextSubInterpret, false);
    });
    return &info;
}

void TInterpret::AfterConstruction()
{
    TRecursor::AfterConstruction();
    Init();
}

void TInterpret::BeforeDestruction()
{
    UnbindDevice();
    TRecursor::BeforeDestruction();
}

void TInterpret::SetNextSubInterpret(TInterpret* sub)
{
    if (sub && sub != this)
        AddTool(sub);
}

std::vector<TInterpret*> TInterpret::SubInterprets()
{
    std::vector<TInterpret*> subs;
    const int n = ToolCount();
    for (int i = 0; i < n; ++i)
        if (auto* sub = dynamic_cast<TInterpret*>(ToolAt(i)))
            subs.push_back(sub);
    return subs;
}

void TInterpret::AfterSubInterpret(int, TInterpret*, TElement*) {}

void TInterpret::ClearSubInterprets()
{
    Tools()->Clear();
}

// The device is held as a child while bound, so the text window finds the interpreter through
// its owners; it is only taken out again, never freed here (it belongs to whoever made it).
void TInterpret::BindDevice(TDevice* device)
{
    SetStop(false);
    SetRunning(false);
    TDevice* old = m_device.get();
    if (old != device) {
        if (old && m_holdsDevice)
            Remove(old);
        m_holdsDevice = device && IndexOf(device) < 0;
        if (m_holdsDevice)
            Add(device);
    }
    m_device = device;
    for (TInterpret* sub : SubInterprets()) {
        sub->BindDevice(device);
        sub->SetMode(m_mode);
    }
}

void TInterpret::UnbindDevice()
{
    if (TDevice* old = m_device.get(); old && m_holdsDevice)
        Remove(old);
    m_holdsDevice = false;
    m_device = nullptr;
    for (TInterpret* sub : SubInterprets())
        sub->UnbindDevice();
}

bool TInterpret::DescendTest(TElement* element)
{
    return dynamic_cast<TEntity*>(element) != nullptr;
}

void TInterpret::Action(TElement* element)
{
    int counter = 0;
    for (TInterpret* sub : SubInterprets()) {
        if (!sub->Accepts(element))
            continue;
        sub->SetInput(element);
        sub->SetMode(m_mode);
        sub->Execute();
        AfterSubInterpret(counter++, sub, sub->Output());
    }
}

// The original passed true down whatever was asked, so clearing a stop never reached the
// sub-interpreters.
void TInterpret::SetStop(bool on)
{
    TRecursor::SetStop(on);
    for (TInterpret* sub : SubInterprets())
        sub->SetStop(on);
}

void TInterpret::runWalk()
{
    RunningScope running(*this);
    BeginRun();
    TRecursor::Execute();
    EndRun();
}

void TInterpret::Execute()
{
    if (IsRunning())
        return;
    runWalk();
}

void TInterpret::InterpretElement(TLumexMessage& msg, bool& handled)
{
    handled = true;
    if (IsRunning())
        return;
    if (TElement* element = msg.Data()) {
        InputScope scope(*this, element);
        Execute();
    } else {
        Execute();
    }
}

void TInterpret::HandleMessage(TLumexMessage& msg, bool& handled)
{
    TRecursor::HandleMessage(msg, handled);
    if (handled)
        return;
    if (msg.Message() == InterpretCode::InterpretElement)
        InterpretElement(msg, handled);
    else if (msg.Message() == InterpretCode::InterpretClipped)
        InterpretClipped(msg, handled);
}

void RegisterInterpretClasses()
{
    RegisterUnitClasses({TInterpret::StaticClass()});
}
