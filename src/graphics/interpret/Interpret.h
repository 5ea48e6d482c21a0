// Interpreters: tree-walking tools that hand model elements to a drawing device.
#pragma once

#include "framework/tools/Recursors.h"
#include "graphics/devices/Device.h"
#include "platform/Exceptions.h"

// Raised to abandon an interpretation.
class EBreakInterpret : public Exception
{
public:
    using Exception::Exception;
};

// Framework messages of the interpreters.
namespace InterpretCode {
constexpr qint32 RunEnded = 3;
constexpr qint32 InterpretElement = 31;
constexpr qint32 InterpretClipped = 32;
}

// TInterpret: a recursor bound to a device (held as a child while bound, never freed by the
// interpreter: the device lives with whoever made it)
// that may hold sub-interpreters (its sub-tools). Every element the walk meets goes to each
// sub-interpreter that accepts it. A run that ends by an exception still clears the running
// state and the stop request, so the interpreter can run again.
class TInterpret : public TRecursor
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    void AfterConstruction() override;
    // Lets go of the device without freeing it.
    void BeforeDestruction() override;

    TDevice* Device() const { return m_device.get(); }
    // Binds through BindDevice.
    void SetDevice(TDevice* device) { BindDevice(device); }
    // The mode flag every sub-interpreter copies from its parent (not read by these classes).
    bool Mode() const { return m_mode; }
    void SetMode(bool on) { m_mode = on; }
    // Adds a sub-interpreter.
    void SetNextSubInterpret(TInterpret* sub);

    virtual void AfterSubInterpret(int counter, TInterpret* sub, TElement* output);
    virtual bool Accepts(TElement* element) { return element != nullptr; }
    virtual void Init() {}
    virtual void ClearSubInterprets();
    // Clears stop and running, binds the device here and in every sub-interpreter.
    virtual void BindDevice(TDevice* device);
    // Device := nil here and in every sub-interpreter; nothing is freed.
    virtual void UnbindDevice();
    virtual void BeginRun() {}
    virtual void EndRun() {}
    // Whether the walk should enter the element after interpreting it.
    virtual bool GoInside(TElement*) { return false; }
    // Runs on the message's element (or the current Input) unless a run is under way.
    virtual void InterpretElement(TLumexMessage& msg, bool& handled);
    virtual void InterpretClipped(TLumexMessage&, bool&) {}

    bool DescendTest(TElement* element) override;
    bool PreTest(TElement*) override { return true; }
    void Action(TElement* element) override;
    // Own stop request := on, and the same for every sub-interpreter.
    void SetStop(bool on) override;
    // Nothing while running; else BeginRun, the walk, EndRun.
    void Execute() override;
    void HandleMessage(TLumexMessage& msg, bool& handled) override;

    // The sub-interpreters in order.
    std::vector<TInterpret*> SubInterprets();

protected:
    // The walk itself with the running state held for its duration.
    void runWalk();

private:
    WeakRef<TDevice> m_device;
    bool m_holdsDevice = false;   // the device was added as a child by BindDevice
    bool m_mode = false;
};

// Sets Input for a scope and restores the previous one, also when the scope is left by an
// exception.
class InputScope
{
public:
    InputScope(TTool& tool, TElement* input) : m_tool(tool), m_saved(tool.Input()) { tool.SetInput(input); }
    ~InputScope() { m_tool.SetInput(m_saved.get()); }
    InputScope(const InputScope&) = delete;
    InputScope& operator=(const InputScope&) = delete;

private:
    TTool& m_tool;
    WeakRef<TElement> m_saved;
};

void RegisterInterpretClasses();
