// The world: root object of a framework application with its register, classes, object model and main tool.
#pragma once

#include "framework/models/SystemRegister.h"
#include "framework/tools/Tools.h"

#include "platform/Exceptions.h"

class TLumexClasses;

// The object model of an application.
class TObjectModel : public TOwnerEntity
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
};

// Settings of the application object that the world exposes as properties. One instance lives
// for the whole program (TApplication::Instance()).
class TApplication : public TPersistent
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
    static TApplication* Instance();

    // The executable's full path and its directory with a closing separator.
    QString ExeName() const;
    QString ExeDir() const;
    // The title shown by the windows (the Qt application display name).
    QString Title() const;
    void SetTitle(const QString& title);

    const QString& HelpFile() const { return m_helpFile; }
    void SetHelpFile(const QString& file) { m_helpFile = file; }
    const QString& Hint() const { return m_hint; }
    void SetHint(const QString& text) { m_hint = text; }
    bool ShowHint() const { return m_showHint; }
    void SetShowHint(bool on) { m_showHint = on; }
    qint32 HintColor() const { return m_hintColor; }
    void SetHintColor(qint32 color) { m_hintColor = color; }
    qint32 HintPause() const { return m_hintPause; }
    void SetHintPause(qint32 ms) { m_hintPause = ms; }
    // The main window, set by the application; nil until then.
    TPersistent* MainForm() const { return m_mainForm.get(); }
    void SetMainForm(TPersistent* form) { m_mainForm = form; }

private:
    QString m_helpFile;
    QString m_hint;
    bool m_showHint = true;
    qint32 m_hintColor = 0x80FFFF;   // the hint colour of the class library (clInfoBk)
    qint32 m_hintPause = 500;        // milliseconds
    WeakRef<TPersistent> m_mainForm;
};

// The root object of a framework application. It holds the system register, the class registry
// ("ObjectClasses"), the object model and the main tool as children, and carries the handler of
// framework messages (install it with SetFrameworkMessageHandler to route messages).
class TWorld : public TEntity
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    // Attaches ObjectClasses.
    void AfterConstruction() override;

    // Descendants create their main technology here; nothing in TWorld.
    virtual void CreateMainTool() {}
    // Delivers a framework message: to its receiver, else to the main tool (which becomes its
    // receiver), else to nobody. The caller frees the message.
    virtual void HandleApplicationMessage(TLumexMessage& msg, bool& handled);
    // "World Level Error :" + the message, in a message box.
    virtual void HandleException(TPersistent* sender, const Exception& e);

    // CreateMainTool when none is set; may answer nil.
    TTool* MainTool();
    TSystemRegister* SystemRegister();
    // The global class registry, named "ObjectClasses" and added on first use.
    TLumexClasses* ObjectClasses();
    TObjectModel* ObjectModel();
    // Each releases the current child and adds the new one; nothing when it is the same.
    void SetMainTool(TTool* tool);
    void SetSystemRegister(TSystemRegister* reg);
    void SetObjectModel(TObjectModel* model);

private:
    WeakRef<TTool> m_mainTool;
    WeakRef<TSystemRegister> m_systemRegister;
    WeakRef<TLumexClasses> m_objectClasses;
    WeakRef<TObjectModel> m_objectModel;
};

// The program-wide test element (the world's write-only TestElement); nil until set.
TElement* TestElement();
void SetTestElement(TElement* element);

// Registers the classes of this unit.
void RegisterWorldsUnit();
