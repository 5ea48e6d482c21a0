// Interpretation scripts: which interpreter serves which element class or single element, by pass.
#pragma once

#include "framework/core/Elements.h"

class TDevice;
class TInterpret;
class TISInstances;

// TISInstance: a leaf that gives one element (not owned) its interpreter (owned, a child).
// Named element name + "(" + element class + "):" + interpreter name, each part when known.
class TISInstance : public TOwnerEntity
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    virtual TInterpret* Interpret() const { return m_interpret.get(); }
    // Frees the old interpreter, holds the new one as a child.
    virtual void SetInterpret(TInterpret* interpret);
    TElement* Element() const { return m_element.get(); }
    void SetElement(TElement* element);
    virtual bool MatchesElement(TElement* element);
    virtual bool MatchesClass(TClass cls);
    virtual TInterpret* InterpretFor(TElement* element);
    virtual void BindDevice(TDevice* device);
    virtual void UnbindDevice();
    virtual void RefreshName();

private:
    WeakRef<TInterpret> m_interpret;
    WeakRef<TElement> m_element;
};

// TISClass: a class node; its instances list holds instance leaves and more specific class
// nodes, kept ordered by inheritance whatever the order of adding.
class TISClass : public TISInstance
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    TClass ElementClass() const { return m_class; }
    void SetElementClass(TClass cls);
    QString ElementClassName() const;
    // A registered class name; others are ignored.
    void SetElementClassName(const QString& name);
    void SetNextInstance(TISInstance* instance) { AddInstance(instance); }
    void SetNextClass(TISClass* node) { AddClass(node); }

    // The list of leaves and sub-nodes, created on first use.
    virtual TISInstances* Instances();
    virtual void AddInstance(TISInstance* instance);
    virtual void AddClass(TISClass* node);

    bool MatchesElement(TElement* element) override;
    bool MatchesClass(TClass cls) override;
    // The element's own leaf first, then the node for its exact class, then the most specific
    // class node below; this node's interpreter when nothing below matches.
    TInterpret* InterpretFor(TElement* element) override;
    void BindDevice(TDevice* device) override;
    void UnbindDevice() override;
    void RefreshName() override;

    TISClass* FindClassNode(TClass cls);
    TISInstance* FindElementNode(TElement* element);
    TISInstance* FindInterpretNode(const QString& name);

protected:
    // The leaves and nodes directly below, in list order.
    std::vector<TISInstance*> children();

private:
    TClass m_class = nullptr;
    WeakRef<TISInstances> m_instances;
};

// The list of a class node, or one pass of a script.
class TISInstances : public TOwnerEntity
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
};

// Script error codes.
namespace ScriptError {
constexpr qint32 Done = 0;
constexpr qint32 NotFound = 1;
constexpr qint32 ClassNotRegistered = 2;
constexpr qint32 WrongItem = 3;
constexpr qint32 NilElement = 4;
constexpr qint32 NoInterpret = 5;
constexpr qint32 PassOutOfRange = 8;
}

// TInterpretScript: the root class node (TElement, so it accepts every element) whose lists are
// its passes "Pass 1", "Pass 2", ...; the current pass serves as its instances list. It is
// edited through its properties, each of which reports through Error instead of raising.
class TInterpretScript : public TISClass
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    void AfterConstruction() override;

    qint32 Error() const { return m_error; }
    void SetError(qint32 code) { m_error = code; }
    bool IsError() const { return m_error > 0; }
    // The node last created or found; the script itself when none.
    TISInstance* ActualItem() const;
    qint32 Pass() const { return m_pass; }
    void SetPass(qint32 pass);
    qint32 PassesCount() const;
    void SetPassesCount(qint32 count);

    void SetNewElement(TElement* element);
    void SetNewClassName(const QString& name);
    TElement* ActualElement();
    void SetActualElement(TElement* element);
    QString ActualClassName();
    void SetActualClassName(const QString& name);
    TInterpret* ActualInterpret();
    void SetActualInterpret(TInterpret* interpret);
    QString ActualInterpretName();
    void SetActualInterpretName(const QString& className);
    void SetFindElement(TElement* element);
    void SetFindClassName(const QString& name);
    void SetFindInterpretName(const QString& name);
    void SetDeleteActualItem(qint32 any);

    TISInstances* Instances() override;
    void RefreshName() override {}

private:
    std::vector<TISInstances*> passes() const;
    void setActual(TISInstance* item) { m_actual = item; }

    qint32 m_error = 0;
    WeakRef<TISInstance> m_actual;
    qint32 m_pass = 0;
    WeakRef<TISInstances> m_current;
};

void RegisterInterpretScriptClasses();
