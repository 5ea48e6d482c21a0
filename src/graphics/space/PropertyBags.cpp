// Property bags of spatial entities: named typed values, and the base of properties kept outside.
#include "graphics/space/PropertyBags.h"

#include "framework/core/ClassRegistry.h"
#include "framework/values/TypedValues.h"
#include "graphics/space/ObjectRegisters.h"
#include "graphics/space/SpaceEntities.h"

namespace {

TTypeElement* valueNamed(const TEntity& bag, const QString& name)
{
    return dynamic_cast<TTypeElement*>(bag.FindElementByName(name));
}

template<class V>
TTypeElement* valueOrNew(TEntity& bag, const QString& name)
{
    if (TTypeElement* v = valueNamed(bag, name))
        return v;
    V* created = bag.AddNew<V>();
    created->SetName(name);
    return created;
}

} // namespace

TClass TProperties::StaticClass()
{
    static const TClassInfo info = describeClass<TProperties, TOwnerEntity>("TProperties");
    return &info;
}

// --- TDynamicProperties ------------------------------------------------------------------------

TClass TDynamicProperties::StaticClass()
{
    static const TClassInfo info = describeClass<TDynamicProperties, TProperties>("TDynamicProperties");
    return &info;
}

bool TDynamicProperties::HasProperty(const QString& name)
{
    return FindElementByName(name) != nullptr;
}

QString TDynamicProperties::GetPropAsString(const QString& name)
{
    const TTypeElement* v = valueNamed(*this, name);
    return v ? v->GetAsString() : QString();
}

void TDynamicProperties::SetPropAsString(const QString& name, const QString& value)
{
    valueOrNew<TStringElement>(*this, name)->SetAsString(value);
}

qint32 TDynamicProperties::GetPropAsInteger(const QString& name)
{
    const TTypeElement* v = valueNamed(*this, name);
    return v ? v->GetAsInteger() : 0;
}

void TDynamicProperties::SetPropAsInteger(const QString& name, qint32 value)
{
    valueOrNew<TIntegerElement>(*this, name)->SetAsInteger(value);
}

bool TDynamicProperties::GetPropAsBoolean(const QString& name)
{
    const TTypeElement* v = valueNamed(*this, name);
    return v && v->GetAsBoolean();
}

void TDynamicProperties::SetPropAsBoolean(const QString& name, bool value)
{
    valueOrNew<TBooleanElement>(*this, name)->SetAsBoolean(value);
}

Owned<TDynamicProperties> TDynamicProperties::Clone() const
{
    Owned<TDynamicProperties> copy = Create<TDynamicProperties>();
    for (int i = 0; i < Count(); ++i)
        if (const auto* v = dynamic_cast<const TTypeElement*>(Items(i)))
            if (Owned<TTypeElement> d = v->Duplicate())
                copy->Add(d.release());
    return copy;
}

// --- TSpaceEntityProps -------------------------------------------------------------------------

TClass TSpaceEntityProps::StaticClass()
{
    static const TClassInfo info =
        describeClass<TSpaceEntityProps, TOwnerEntity>("TSpaceEntityProps", [](PropertyTable<TSpaceEntityProps>& t) {
            t.boolean("IsDone", &TSpaceEntityProps::IsDone, &TSpaceEntityProps::SetIsDone)
                .object<TSpaceEntity>("SpaceEntity", &TSpaceEntityProps::SpaceEntity, &TSpaceEntityProps::SetSpaceEntity)
                .integer("SpaceID", &TSpaceEntityProps::SpaceID, nullptr)
                .integer("OrigNo", &TSpaceEntityProps::OrigNo, nullptr)
                .object<TObjectRegister>("ObjectRegister", &TSpaceEntityProps::ObjectRegister, nullptr)
                .object<TBlockRegister>("BlockRegister", &TSpaceEntityProps::BlockRegister, nullptr)
                .string("BlockName", &TSpaceEntityProps::BlockName, nullptr);
        });
    return &info;
}

TObjectRegister* TSpaceEntityProps::ObjectRegister()
{
    TSpaceEntity* entity = m_entity.get();
    if (!entity)
        return nullptr;
    TElement* slot = entity->GetOwnerOfClass(TObjectOwner::StaticClass());
    if (!slot)
        return nullptr;
    return dynamic_cast<TObjectRegister*>(slot->GetOwnerOfClass(TObjectRegister::StaticClass()));
}

TBlockRegister* TSpaceEntityProps::BlockRegister()
{
    TObjectRegister* reg = ObjectRegister();
    return reg ? dynamic_cast<TBlockRegister*>(reg->GetOwnerOfClass(TBlockRegister::StaticClass())) : nullptr;
}

TPersistent* TSpaceEntityProps::PrimaryProps()
{
    TSpaceEntity* entity = m_entity.get();
    if (!entity)
        return nullptr;
    auto* slot = dynamic_cast<TEntity*>(entity->GetOwnerOfClass(TObjectOwner::StaticClass()));
    if (!slot)
        return nullptr;
    if (slot->Count() == 1)
        return this;
    auto* first = slot->Count() > 0 ? dynamic_cast<TSpaceEntity*>(slot->Items(0)) : nullptr;
    return first ? first->Properties() : nullptr;
}

qint32 TSpaceEntityProps::OrigNo()
{
    TSpaceEntity* entity = m_entity.get();
    TObjectRegister* reg = ObjectRegister();
    if (!entity || !reg)
        return -1;
    return reg->IndexOf(entity->GetOwnerOfClass(TObjectOwner::StaticClass()));
}

QString TSpaceEntityProps::BlockName()
{
    TObjectRegister* reg = ObjectRegister();
    return reg ? reg->BlockName() : QString();
}

Owned<TSpaceEntityProps> TSpaceEntityProps::Clone()
{
    Owned<TSpaceEntityProps> copy(dynamic_cast<TSpaceEntityProps*>(ClassType()->CreateInstance()));
    if (!copy)
        return copy;
    // The framework's own published properties end with the entity's LastIndex.
    const int start = IndexOfProp(this, QStringLiteral("LastIndex")) + 1;
    const int count = PublishedPropCount(this);
    for (int i = start; i < count; ++i)
        SetPropFromStringByIndex(copy.get(), i, GetPropAsStringByIndex(this, i));
    return copy;
}

bool TSpaceEntityProps::HasProperty(const QString& name)
{
    if (TOwnerEntity::HasProperty(name))
        return true;
    return ObjectRegister() && HasExternalProp(name);
}

QString TSpaceEntityProps::GetPropAsString(const QString& name)
{
    QString value = TOwnerEntity::GetPropAsString(name);
    if (value.isEmpty() && ObjectRegister()) {
        LoadExternal();
        value = GetExternalProp(name);
    }
    return value;
}

void TSpaceEntityProps::SetPropAsString(const QString& name, const QString& value)
{
    if (IndexOfProp(this, name) < 0 && ObjectRegister()) {
        LoadExternal();
        SetExternalProp(name, value);
        return;
    }
    TOwnerEntity::SetPropAsString(name, value);
}

void RegisterPropertyBagClasses()
{
    RegisterUnitClasses({TDynamicProperties::StaticClass()});
}
