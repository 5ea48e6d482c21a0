// The world: root object of a framework application with its register, classes, object model and main tool.
#include "framework/core/World.h"

#include "framework/core/ClassRegistry.h"
#include "platform/files/Files.h"
#include "platform/ui/Services.h"

#include <QCoreApplication>
#include <QGuiApplication>

namespace {

WeakRef<TElement>& testElement()
{
    static WeakRef<TElement> element;
    return element;
}

} // namespace

TClass TObjectModel::StaticClass()
{
    static const TClassInfo info = describeClass<TObjectModel, TOwnerEntity>("TObjectModel");
    return &info;
}

// --- TApplication --------------------------------------------------------------------------------

TClass TApplication::StaticClass()
{
    static const TClassInfo info = describeClass<TApplication, TPersistent>("TApplication");
    return &info;
}

TApplication* TApplication::Instance()
{
    // Lives to the end of the program; reachable through this pointer.
    static TApplication* const instance = Create<TApplication>().release();
    return instance;
}

QString TApplication::ExeName() const
{
    return QCoreApplication::applicationFilePath();
}

QString TApplication::ExeDir() const
{
    return files::includeTrailingBackslash(files::programDirectory());
}

QString TApplication::Title() const
{
    return QGuiApplication::applicationDisplayName();
}

void TApplication::SetTitle(const QString& title)
{
    QGuiApplication::setApplicationDisplayName(title);
}

// --- TWorld --------------------------------------------------------------------------------------

TClass TWorld::StaticClass()
{
    static const TClassInfo info = describeClass<TWorld, TEntity>("TWorld", [](PropertyTable<TWorld>& t) {
        auto app = [](TWorld&) { return TApplication::Instance(); };
        t.object<TApplication>("Application", app, nullptr);
        t.string("ApplicExeName", [app](TWorld& w) { return app(w)->ExeName(); }, nullptr);
        t.string("ApplicDir", [app](TWorld& w) { return app(w)->ExeDir(); }, nullptr);
        t.string("ApplicHelpFile", [app](TWorld& w) { return app(w)->HelpFile(); },
                 [app](TWorld& w, const QString& v) { app(w)->SetHelpFile(v); });
        t.string("ApplicHint", [app](TWorld& w) { return app(w)->Hint(); },
                 [app](TWorld& w, const QString& v) { app(w)->SetHint(v); });
        t.boolean("ApplicShowHint", [app](TWorld& w) { return app(w)->ShowHint(); },
                  [app](TWorld& w, bool v) { app(w)->SetShowHint(v); });
        t.integer("ApplicHintColor", "TColor", [app](TWorld& w) { return app(w)->HintColor(); },
                  [app](TWorld& w, qint32 v) { app(w)->SetHintColor(v); });
        t.integer("ApplicHintPause", [app](TWorld& w) { return app(w)->HintPause(); },
                  [app](TWorld& w, qint32 v) { app(w)->SetHintPause(v); });
        t.object<TPersistent>("ApplicMainForm", [app](TWorld& w) { return app(w)->MainForm(); }, nullptr);
        t.string("ApplicTitle", [app](TWorld& w) { return app(w)->Title(); },
                 [app](TWorld& w, const QString& v) { app(w)->SetTitle(v); });
        t.object<TElement>("TestElement", nullptr, [](TWorld&, TElement* e) { SetTestElement(e); });
        t.object<TTool>("MainTool", &TWorld::MainTool, &TWorld::SetMainTool);
        t.object<TSystemRegister>("SystemRegister", &TWorld::SystemRegister, &TWorld::SetSystemRegister);
        t.object<TLumexClasses>("ObjectClasses", &TWorld::ObjectClasses, [](TWorld&, TLumexClasses*) {});
        t.object<TObjectModel>("ObjectModel", &TWorld::ObjectModel, &TWorld::SetObjectModel);
    });
    return &info;
}

void TWorld::AfterConstruction()
{
    TEntity::AfterConstruction();
    ObjectClasses();
}

void TWorld::HandleApplicationMessage(TLumexMessage& msg, bool& handled)
{
    if (TElement* receiver = msg.Receiver()) {
        receiver->HandleMessage(msg, handled);
        return;
    }
    if (msg.ReceiverLost())
        return;   // its receiver has been freed: nowhere to go
    if (TTool* tool = m_mainTool.get()) {
        msg.SetReceiver(tool);
        tool->HandleMessage(msg, handled);
    }
}

void TWorld::HandleException(TPersistent*, const Exception& e)
{
    ui::services().showMessage(QStringLiteral("World Level Error :") + e.message());
}

TTool* TWorld::MainTool()
{
    if (!m_mainTool.get())
        CreateMainTool();
    return m_mainTool.get();
}

TSystemRegister* TWorld::SystemRegister()
{
    if (!m_systemRegister.get()) {
        auto* reg = AddNew<TSystemRegister>();
        reg->SetName(QStringLiteral("System register"));
        m_systemRegister = reg;
    }
    return m_systemRegister.get();
}

TLumexClasses* TWorld::ObjectClasses()
{
    if (!m_objectClasses.get()) {
        TLumexClasses* registry = LumexClasses();
        registry->SetName(QStringLiteral("ObjectClasses"));
        Add(registry);
        m_objectClasses = registry;
    }
    return m_objectClasses.get();
}

TObjectModel* TWorld::ObjectModel()
{
    if (!m_objectModel.get()) {
        auto* model = AddNew<TObjectModel>();
        model->SetName(QStringLiteral("Object model"));
        m_objectModel = model;
    }
    return m_objectModel.get();
}

void TWorld::SetMainTool(TTool* tool)
{
    ReplaceChild(m_mainTool, tool);
}

void TWorld::SetSystemRegister(TSystemRegister* reg)
{
    ReplaceChild(m_systemRegister, reg);
}

void TWorld::SetObjectModel(TObjectModel* model)
{
    ReplaceChild(m_objectModel, model);
}

TElement* TestElement()
{
    return testElement().get();
}

void SetTestElement(TElement* element)
{
    testElement() = element;
}

void RegisterWorldsUnit()
{
    RegisterUnitClasses({TObjectModel::StaticClass(), TWorld::StaticClass()});
}
