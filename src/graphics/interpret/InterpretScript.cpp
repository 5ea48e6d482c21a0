// Interpretation scripts: which interpreter serves which element class or single element, by pass.
#include "graphics/interpret/InterpretScript.h"

#include "framework/core/ClassRegistry.h"
#include "graphics/interpret/Interpret.h"
#include "platform/text/Case.h"

namespace {

QString interpretName(TInterpret* interpret)
{
    return interpret ? interpret->GetName() : QString();
}

// Takes the node out of the list that holds it, without freeing it.
void detachFromList(TISInstance* node)
{
    if (auto* list = dynamic_cast<TEntity*>(node->GetOwnerOfClass(TISInstances::StaticClass())))
        list->Remove(node);
}

} // namespace

// --- TISInstance -------------------------------------------------------------------------------

TClass TISInstance::StaticClass()
{
    static const TClassInfo info = describeClass<TISInstance, TOwnerEntity>("TISInstance", [](PropertyTable<TISInstance>& t) {
        t.object<TInterpret>("Interpret", [](TISInstance& i) { return i.Interpret(); },
                             [](TISInstance& i, TInterpret* v) { i.SetInterpret(v); })
            .object<TElement>("Element", &TISInstance::Element, &TISInstance::SetElement);
    });
    return &info;
}

void TISInstance::SetInterpret(TInterpret* interpret)
{
    ReplaceChild(m_interpret, interpret);
    RefreshName();
}

void TISInstance::SetElement(TElement* element)
{
    m_element = element;
    RefreshName();
}

bool TISInstance::MatchesElement(TElement* element)
{
    return element && element == m_element.get();
}

bool TISInstance::MatchesClass(TClass cls)
{
    TElement* element = m_element.get();
    return element && element->ClassType() == cls;
}

TInterpret* TISInstance::InterpretFor(TElement* element)
{
    return MatchesElement(element) ? Interpret() : nullptr;
}

void TISInstance::BindDevice(TDevice* device)
{
    if (TInterpret* i = Interpret())
        i->BindDevice(device);
}

void TISInstance::UnbindDevice()
{
    if (TInterpret* i = Interpret())
        i->UnbindDevice();
}

void TISInstance::RefreshName()
{
    QString name;
    if (TElement* element = m_element.get())
        name = element->GetName() + QLatin1Char('(') + element->ClassName() + QStringLiteral("):");
    name += interpretName(Interpret());
    SetName(name);
}

// --- TISClass ----------------------------------------------------------------------------------

TClass TISClass::StaticClass()
{
    static const TClassInfo info = describeClass<TISClass, TISInstance>("TISClass", [](PropertyTable<TISClass>& t) {
        t.string("ElementClassName", &TISClass::ElementClassName, &TISClass::SetElementClassName)
            .object<TISInstance>("NextInstance", nullptr, &TISClass::SetNextInstance, false)
            .object<TISClass>("NextClass", nullptr, &TISClass::SetNextClass, false);
    });
    return &info;
}

void TISClass::SetElementClass(TClass cls)
{
    m_class = cls;
    RefreshName();
}

QString TISClass::ElementClassName() const
{
    return m_class ? m_class->ClassName() : QString();
}

void TISClass::SetElementClassName(const QString& name)
{
    if (TClass cls = FindLumexClass(name))
        SetElementClass(cls);
}

TISInstances* TISClass::Instances()
{
    if (!m_instances)
        m_instances = AddNew<TISInstances>();
    return m_instances.get();
}

std::vector<TISInstance*> TISClass::children()
{
    std::vector<TISInstance*> out;
    TISInstances* list = Instances();
    for (int i = 0; list && i < list->Count(); ++i)
        if (auto* node = dynamic_cast<TISInstance*>(list->Items(i)))
            out.push_back(node);
    return out;
}

void TISClass::AddInstance(TISInstance* instance)
{
    if (!instance || instance == this)
        return;
    TElement* element = instance->Element();
    const std::vector<TISInstance*> nodes = children();
    for (auto it = nodes.rbegin(); element && it != nodes.rend(); ++it) {
        auto* node = dynamic_cast<TISClass*>(*it);
        if (node && node->ElementClass() && element->InheritsFrom(node->ElementClass())) {
            node->AddInstance(instance);
            return;
        }
    }
    Instances()->Add(instance);
}

void TISClass::AddClass(TISClass* added)
{
    if (!added || added == this || !added->ElementClass())
        return;
    TClass cls = added->ElementClass();
    TISInstances* list = Instances();
    const std::vector<TISInstance*> nodes = children();
    for (auto it = nodes.rbegin(); it != nodes.rend(); ++it) {
        TISInstance* child = *it;
        if (child == added)
            continue;
        if (auto* node = dynamic_cast<TISClass*>(child)) {
            if (node->ElementClass() && node->ElementClass()->InheritsFrom(cls)) {
                list->Remove(node);
                added->AddClass(node);
            } else if (node->ElementClass() && cls->InheritsFrom(node->ElementClass())) {
                node->AddClass(added);
                return;
            }
        } else if (child->Element() && child->Element()->InheritsFrom(cls)) {
            list->Remove(child);
            added->AddInstance(child);
        }
    }
    list->Add(added);
}

bool TISClass::MatchesElement(TElement* element)
{
    return element && m_class && element->InheritsFrom(m_class);
}

bool TISClass::MatchesClass(TClass cls)
{
    return cls && m_class && cls->InheritsFrom(m_class);
}

// The original answered the exact-class node before looking at its leaves, so a leaf for one
// element under the node of its own class never won.
TInterpret* TISClass::InterpretFor(TElement* element)
{
    if (!MatchesElement(element))
        return nullptr;
    const std::vector<TISInstance*> nodes = children();
    for (TISInstance* node : nodes)
        if (!dynamic_cast<TISClass*>(node) && node->MatchesElement(element) && node->Interpret())
            return node->Interpret();
    if (element->ClassType() == m_class || nodes.empty())
        return Interpret();
    for (TISInstance* node : nodes)
        if (auto* cls = dynamic_cast<TISClass*>(node); cls && cls->MatchesElement(element))
            return cls->InterpretFor(element);
    return Interpret();
}

void TISClass::BindDevice(TDevice* device)
{
    TISInstance::BindDevice(device);
    for (TISInstance* node : children())
        node->BindDevice(device);
}

void TISClass::UnbindDevice()
{
    TISInstance::UnbindDevice();
    for (TISInstance* node : children())
        node->UnbindDevice();
}

void TISClass::RefreshName()
{
    SetName(QLatin1Char('(') + ElementClassName() + QStringLiteral("):") + interpretName(Interpret()));
}

TISClass* TISClass::FindClassNode(TClass cls)
{
    const std::vector<TISInstance*> nodes = children();
    if (m_class == cls || nodes.empty())
        return this;
    for (TISInstance* node : nodes)
        if (auto* c = dynamic_cast<TISClass*>(node); c && c->MatchesClass(cls))
            return c->FindClassNode(cls);
    return this;
}

TISInstance* TISClass::FindElementNode(TElement* element)
{
    TISInstance* found = nullptr;
    for (TISInstance* node : children()) {
        if (auto* c = dynamic_cast<TISClass*>(node)) {
            if (c->MatchesElement(element))
                if (TISInstance* r = c->FindElementNode(element))
                    found = r;
        } else if (element && node->Element() == element) {
            return node;
        }
    }
    return found;
}

TISInstance* TISClass::FindInterpretNode(const QString& name)
{
    const QString wanted = txt::upperAscii(name);
    for (TISInstance* node : children()) {
        if (TInterpret* i = node->Interpret(); i && txt::upperAscii(i->GetName()) == wanted)
            return node;
        if (auto* c = dynamic_cast<TISClass*>(node))
            if (TISInstance* r = c->FindInterpretNode(name))
                return r;
    }
    return nullptr;
}

// --- TISInstances ------------------------------------------------------------------------------

TClass TISInstances::StaticClass()
{
    static const TClassInfo info = describeClass<TISInstances, TOwnerEntity>("TISInstances");
    return &info;
}

// --- TInterpretScript --------------------------------------------------------------------------

TClass TInterpretScript::StaticClass()
{
    static const TClassInfo info = describeClass<TInterpretScript, TISClass>("TInterpretScript", [](PropertyTable<TInterpretScript>& t) {
        using S = TInterpretScript;
        t.integer("Error", &S::Error, &S::SetError, false)
            .object<TISInstance>("ActualItem", &S::ActualItem, nullptr, false)
            .integer("Pass", &S::Pass, &S::SetPass, false)
            .integer("PassesCount", &S::PassesCount, &S::SetPassesCount, false)
            .object<TElement>("NewElement", nullptr, &S::SetNewElement, false)
            .string("NewClassName", nullptr, &S::SetNewClassName, false)
            .object<TElement>("ActualElement", &S::ActualElement, &S::SetActualElement, false)
            .string("ActualClassName", &S::ActualClassName, &S::SetActualClassName, false)
            .object<TInterpret>("ActualInterpret", &S::ActualInterpret, &S::SetActualInterpret, false)
            .string("ActualInterpretName", &S::ActualInterpretName, &S::SetActualInterpretName, false)
            .object<TElement>("FindElement", nullptr, &S::SetFindElement, false)
            .string("FindClassName", nullptr, &S::SetFindClassName, false)
            .string("FindInterpretName", nullptr, &S::SetFindInterpretName, false)
            .integer("DeleteActualItem", nullptr, &S::SetDeleteActualItem, false);
    });
    return &info;
}

void TInterpretScript::AfterConstruction()
{
    TISClass::AfterConstruction();
    SetElementClass(TElement::StaticClass());
    SetName(QStringLiteral("Interpret Script"));
}

TISInstance* TInterpretScript::ActualItem() const
{
    TISInstance* item = m_actual.get();
    return item ? item : const_cast<TInterpretScript*>(this);
}

std::vector<TISInstances*> TInterpretScript::passes() const
{
    std::vector<TISInstances*> out;
    for (int i = 0; i < Count(); ++i)
        if (auto* pass = dynamic_cast<TISInstances*>(Items(i)))
            out.push_back(pass);
    return out;
}

qint32 TInterpretScript::PassesCount() const
{
    return static_cast<qint32>(passes().size());
}

void TInterpretScript::SetPassesCount(qint32 count)
{
    m_error = ScriptError::Done;
    const qint32 have = PassesCount();
    if (count < 0 || count == have)
        return;
    for (qint32 n = have; n < count; ++n)
        AddNew<TISInstances>()->SetName(QStringLiteral("Pass %1").arg(n + 1));
    std::vector<TISInstances*> all = passes();
    for (qint32 n = have - 1; n >= count; --n)
        RemoveAndFree(all[static_cast<size_t>(n)]);
    // A freed current pass (or actual item within it) leaves pass 0 and the script current.
    if (!m_current) {
        m_actual = nullptr;
        m_pass = 0;
        all = passes();
        m_current = all.empty() ? nullptr : all.front();
    }
}

void TInterpretScript::SetPass(qint32 pass)
{
    m_error = ScriptError::Done;
    if (PassesCount() == 0)
        AddNew<TISInstances>()->SetName(QStringLiteral("Pass 1"));
    const std::vector<TISInstances*> all = passes();
    if (pass < 0 || pass >= static_cast<qint32>(all.size())) {
        m_error = ScriptError::PassOutOfRange;
        pass = 0;
    }
    m_pass = pass;
    m_current = all[static_cast<size_t>(pass)];
}

TISInstances* TInterpretScript::Instances()
{
    if (!m_current) {
        const qint32 saved = m_error;
        SetPass(0);
        m_error = saved;
    }
    return m_current.get();
}

void TInterpretScript::SetNewElement(TElement* element)
{
    m_error = ScriptError::Done;
    if (!element) {
        m_error = ScriptError::NilElement;
        return;
    }
    auto* leaf = Create<TISInstance>().release();
    leaf->SetElement(element);
    AddInstance(leaf);
    setActual(leaf);
}

void TInterpretScript::SetNewClassName(const QString& name)
{
    m_error = ScriptError::Done;
    TClass cls = FindLumexClass(name);
    if (!cls) {
        m_error = ScriptError::ClassNotRegistered;
        return;
    }
    auto* node = Create<TISClass>().release();
    node->SetElementClass(cls);
    AddClass(node);
    setActual(node);
}

TElement* TInterpretScript::ActualElement()
{
    m_error = ScriptError::Done;
    TISInstance* item = ActualItem();
    if (item == this) {
        m_error = ScriptError::WrongItem;
        return nullptr;
    }
    return item->Element();
}

void TInterpretScript::SetActualElement(TElement* element)
{
    m_error = ScriptError::Done;
    TISInstance* item = ActualItem();
    if (item == this || dynamic_cast<TISClass*>(item)) {
        m_error = ScriptError::WrongItem;
        return;
    }
    if (!element) {
        m_error = ScriptError::NilElement;
        return;
    }
    item->SetElement(element);
    detachFromList(item);
    AddInstance(item);
}

QString TInterpretScript::ActualClassName()
{
    m_error = ScriptError::Done;
    TISInstance* item = ActualItem();
    if (item == this) {
        m_error = ScriptError::WrongItem;
        return ElementClassName();
    }
    auto* node = dynamic_cast<TISClass*>(item);
    return node ? node->ElementClassName() : QStringLiteral("NIL");
}

void TInterpretScript::SetActualClassName(const QString& name)
{
    m_error = ScriptError::Done;
    auto* node = dynamic_cast<TISClass*>(ActualItem());
    if (!node || node == this) {
        m_error = ScriptError::WrongItem;
        return;
    }
    TClass cls = FindLumexClass(name);
    if (!cls) {
        m_error = ScriptError::ClassNotRegistered;
        return;
    }
    node->SetElementClass(cls);
    detachFromList(node);
    AddClass(node);
}

TInterpret* TInterpretScript::ActualInterpret()
{
    m_error = ScriptError::Done;
    TISInstance* item = ActualItem();
    if (item == this)
        m_error = ScriptError::WrongItem;
    return item->Interpret();
}

void TInterpretScript::SetActualInterpret(TInterpret* interpret)
{
    m_error = ScriptError::Done;
    TISInstance* item = ActualItem();
    if (item == this)
        m_error = ScriptError::WrongItem;
    item->SetInterpret(interpret);
}

QString TInterpretScript::ActualInterpretName()
{
    TInterpret* i = ActualInterpret();
    if (!i) {
        m_error = ScriptError::NoInterpret;
        return QString();
    }
    return i->GetName();
}

void TInterpretScript::SetActualInterpretName(const QString& className)
{
    m_error = ScriptError::Done;
    TClass cls = FindLumexClass(className);
    TInterpret* created = nullptr;
    if (!cls || !cls->InheritsFrom(TInterpret::StaticClass()))
        m_error = ScriptError::ClassNotRegistered;
    else
        created = dynamic_cast<TInterpret*>(cls->CreateInstance());
    const qint32 error = m_error;
    ActualItem()->SetInterpret(created);
    m_error = error;
}

void TInterpretScript::SetFindElement(TElement* element)
{
    m_error = ScriptError::Done;
    TISInstance* found = element ? FindElementNode(element) : nullptr;
    setActual(found);
    if (!found)
        m_error = ScriptError::NotFound;
}

void TInterpretScript::SetFindClassName(const QString& name)
{
    m_error = ScriptError::Done;
    TClass cls = FindLumexClass(name);
    if (!cls) {
        setActual(nullptr);
        m_error = ScriptError::ClassNotRegistered;
        return;
    }
    TISClass* found = FindClassNode(cls);
    if (found == this && cls != ElementClass()) {
        setActual(nullptr);
        m_error = ScriptError::NotFound;
        return;
    }
    setActual(found == this ? nullptr : found);
}

void TInterpretScript::SetFindInterpretName(const QString& name)
{
    m_error = ScriptError::Done;
    TISInstance* found = FindInterpretNode(name);
    setActual(found);
    if (!found)
        m_error = ScriptError::NotFound;
}

void TInterpretScript::SetDeleteActualItem(qint32)
{
    TISInstance* item = ActualItem();
    if (item != this)
        if (auto* list = dynamic_cast<TEntity*>(item->GetOwnerOfClass(TISInstances::StaticClass())))
            list->RemoveAndFree(item);
    setActual(nullptr);
    m_error = ScriptError::WrongItem;
}

void RegisterInterpretScriptClasses()
{
    RegisterUnitClasses({TISInstance::StaticClass(), TISClass::StaticClass(), TISInstances::StaticClass(),
                         TInterpretScript::StaticClass()});
}
