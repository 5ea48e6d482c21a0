// Inheritance models: models arranged in a tree that follows the class hierarchy.
#include "framework/models/InheritanceModel.h"

#include "framework/core/ClassRegistry.h"

namespace {

bool descends(TClass cls, TClass ancestor)
{
    return cls && ancestor && cls->InheritsFrom(ancestor);
}

// Takes the model out of the model tree that holds it; it is freed unless something else
// (another container, an Owned) still holds it.
void releaseFromTree(TInheritanceModel* model)
{
    for (int i = model->OwnersCount() - 1; i >= 0; --i) {
        if (auto* items = dynamic_cast<TModelItems*>(model->GetOwner(i))) {
            items->RemoveAndFree(model);
            return;
        }
    }
    if (model->HolderCount() == 0 && !model->IsHeldByOwned())
        FreeObject(model);
}

} // namespace

TClass TModelItems::StaticClass()
{
    static const TClassInfo info = describeClass<TModelItems, TEnvelopeEntity>("TModelItems");
    return &info;
}

// --- TInheritanceModel ---------------------------------------------------------------------------

TClass TInheritanceModel::StaticClass()
{
    static const TClassInfo info = describeClass<TInheritanceModel, TOwnerEntity>(
        "TInheritanceModel", [](PropertyTable<TInheritanceModel>& t) {
            t.object<TModelItems>("Items", &TInheritanceModel::Items, nullptr);
            t.boolean("NoItems", &TInheritanceModel::NoItems, nullptr);
            t.object<TInheritanceModel>("NextItem", nullptr, &TInheritanceModel::NextItem);
            t.string("ElementClassName", &TInheritanceModel::ElementClassName,
                     &TInheritanceModel::SetElementClassName);
        });
    return &info;
}

TModelItems* TInheritanceModel::Items()
{
    if (auto* items = dynamic_cast<TModelItems*>(FindElementByClass(TModelItems::StaticClass())))
        return items;
    return AddNew<TModelItems>();
}

bool TInheritanceModel::NoItems()
{
    return Items()->IsEmpty();
}

// Items whose class descends from the model's move below it; the model goes below an item whose
// class it descends from; otherwise it becomes an item here.
void TInheritanceModel::NextItem(TInheritanceModel* model)
{
    if (!model)
        return;
    TModelItems* items = Items();
    for (int i = items->Count() - 1; i >= 0; --i) {
        auto* item = dynamic_cast<TInheritanceModel*>(items->Items(i));
        if (!item || item == model)
            continue;
        if (descends(item->ElementClass(), model->ElementClass())) {
            items->Remove(item);
            model->AddItem(item);
        } else if (descends(model->ElementClass(), item->ElementClass())) {
            item->NextItem(model);
        }
    }
    if (model->HasNoOwner())
        AddItem(model);
}

void TInheritanceModel::SetElementClass(TClass cls)
{
    m_class = cls;
    if (cls)
        SetName(cls->ClassName());
}

void TInheritanceModel::SetElementClassName(const QString& name)
{
    SetElementClass(FindLumexClass(name));
}

TInheritanceModel* TInheritanceModel::FindModel(TClass cls)
{
    TInheritanceModel* candidate = m_class ? this : nullptr;
    if (m_class == cls || NoItems())
        return candidate;
    TModelItems* items = Items();
    for (int i = 0; i < items->Count(); ++i) {
        auto* item = dynamic_cast<TInheritanceModel*>(items->Items(i));
        if (item && item->AcceptsClass(cls))
            return item->FindModel(cls);
    }
    return candidate;
}

TInheritanceModel* TInheritanceModel::FindModelByName(const QString& name)
{
    return FindModel(FindLumexClass(name));
}

bool TInheritanceModel::AcceptsClass(TClass cls) const
{
    return !m_class || descends(cls, m_class);
}

QString TInheritanceModel::ElementClassName() const
{
    return m_class ? m_class->ClassName() : QString();
}

void TInheritanceModel::AddItem(TInheritanceModel* model)
{
    Items()->Add(model);
}

TElement* TInheritanceModel::ItemAt(int index)
{
    return Items()->Items(index);
}

// --- TInheritanceModelEntity ---------------------------------------------------------------------

TClass TInheritanceModelEntity::StaticClass()
{
    using E = TInheritanceModelEntity;
    static const TClassInfo info = describeClass<E, TInheritanceModel>("TInheritanceModelEntity", [](PropertyTable<E>& t) {
        t.integer("Error", &E::Error, &E::SetError);
        t.object<TInheritanceModel>("ActualItem", &E::ActualItem, nullptr);
        t.string("ItemClassName", &E::ItemClassName, &E::SetItemClassName);
        t.string("NewClassName", nullptr, &E::NewClassName);
        t.string("FindClassName", nullptr, &E::FindClassName);
        t.string("ActualClassName", &E::ActualClassName, &E::SetActualClassName);
        t.integer("DeleteActualItem", nullptr, [](E& e, qint32) { e.DeleteActualItem(); });
        t.boolean("IsError", &E::IsError, nullptr);
    });
    return &info;
}

void TInheritanceModelEntity::AfterConstruction()
{
    TInheritanceModel::AfterConstruction();
    m_itemClass = ItemClass();
    SetElementClass(nullptr);
    m_actualItem.reset();
}

QString TInheritanceModelEntity::ActualClassName()
{
    TInheritanceModel* actual = ActualItem();
    if (!actual) {
        m_error = InheritanceError::NoActualItem;
        return QStringLiteral("NIL");
    }
    return actual->ElementClassName();
}

void TInheritanceModelEntity::NewClassName(const QString& name)
{
    m_actualItem.reset();
    m_error = InheritanceError::None;
    if (name.isEmpty())
        return;
    const TClass cls = FindLumexClass(name);
    if (!cls) {
        m_error = InheritanceError::NoClass;
        return;
    }
    const TClass itemClass = m_itemClass ? m_itemClass : ItemClass();
    TInheritanceModel* item = CreateOfClass<TInheritanceModel>(itemClass).release();
    if (!item)
        return;
    item->SetElementClass(cls);
    m_actualItem = item;
    NextItem(item);
}

void TInheritanceModelEntity::SetActualClassName(const QString& name)
{
    m_error = InheritanceError::None;
    TInheritanceModel* actual = ActualItem();
    if (!actual) {
        m_error = InheritanceError::NoActualItem;
        return;
    }
    m_actualItem.reset();
    releaseFromTree(actual);
    NewClassName(name);
}

void TInheritanceModelEntity::FindClassName(const QString& name)
{
    m_error = InheritanceError::None;
    const TClass cls = FindLumexClass(name);
    if (!cls) {
        m_error = InheritanceError::NoClass;
        m_actualItem.reset();
        return;
    }
    m_actualItem = FindModel(cls);
    if (!ActualItem())
        m_error = InheritanceError::NotAccepted;
}

void TInheritanceModelEntity::DeleteActualItem()
{
    TInheritanceModel* actual = ActualItem();
    if (!actual)
        return;
    m_actualItem.reset();
    releaseFromTree(actual);
    m_error = InheritanceError::NoActualItem;
}

TClass TInheritanceModelEntity::ItemClass() const
{
    return TInheritanceModel::StaticClass();
}

QString TInheritanceModelEntity::ItemClassName() const
{
    return m_itemClass ? m_itemClass->ClassName() : QString();
}

void TInheritanceModelEntity::SetItemClassName(const QString& name)
{
    const TClass cls = FindLumexClass(name);
    m_itemClass = descends(cls, TInheritanceModel::StaticClass()) ? cls : TInheritanceModel::StaticClass();
}
