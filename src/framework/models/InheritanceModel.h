// Inheritance models: models arranged in a tree that follows the class hierarchy.
#pragma once

#include "framework/core/Elements.h"

// The items of an inheritance model; it envelops the model, so owner searches from an item
// reach the parent model.
class TModelItems : public TEnvelopeEntity
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    QString GetName() const override { return QStringLiteral("ITEMS"); }
};

// A model for one class (or for every class, without one) whose items are the models of the
// classes below it. FindModel answers the most specific model of a class.
class TInheritanceModel : public TOwnerEntity
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    // The TModelItems child, added on first use.
    virtual TModelItems* Items();
    virtual bool NoItems();
    // Inserts a model into the class tree below this one.
    virtual void NextItem(TInheritanceModel* model);
    // A class also names the model after it.
    virtual void SetElementClass(TClass cls);
    // SetElementClass of the class registered under the name (nil when none).
    virtual void SetElementClassName(const QString& name);
    virtual TInheritanceModel* FindModel(TClass cls);
    virtual TInheritanceModel* FindModelByName(const QString& name);
    // True without element class; else whether cls descends from it.
    virtual bool AcceptsClass(TClass cls) const;

    TClass ElementClass() const { return m_class; }
    QString ElementClassName() const;
    void AddItem(TInheritanceModel* model);
    TElement* ItemAt(int index);

private:
    TClass m_class = nullptr;
};

// Error codes of TInheritanceModelEntity.
namespace InheritanceError {
constexpr qint32 None = 0;
constexpr qint32 NotAccepted = 1;   // no model in the tree accepts the class
constexpr qint32 NoClass = 2;       // no class is registered under the name
constexpr qint32 NoActualItem = 3;
}

// A root inheritance model driven by class names, with a current ("actual") item. Reports
// through Error and never raises.
class TInheritanceModelEntity : public TInheritanceModel
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    void AfterConstruction() override;

    // The class name of the actual item's class; "NIL" (and Error 3) without actual item.
    virtual QString ActualClassName();
    virtual bool IsError() const { return m_error > 0; }
    // A new item of the item class for the class registered under name becomes the actual item.
    virtual void NewClassName(const QString& name);
    // Replaces the actual item by a new one for the class registered under name.
    virtual void SetActualClassName(const QString& name);
    // The model of the class registered under name becomes the actual item.
    virtual void FindClassName(const QString& name);
    // Frees the actual item.
    virtual void DeleteActualItem();
    // The class of new items.
    virtual TClass ItemClass() const;

    qint32 Error() const { return m_error; }
    void SetError(qint32 code) { m_error = code; }
    TInheritanceModel* ActualItem() const { return m_actualItem.get(); }
    QString ItemClassName() const;
    // Only a registered class that descends from TInheritanceModel; others reset to it.
    void SetItemClassName(const QString& name);

private:
    qint32 m_error = 0;
    WeakRef<TInheritanceModel> m_actualItem;
    TClass m_itemClass = nullptr;
};
