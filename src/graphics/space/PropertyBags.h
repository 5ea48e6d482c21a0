// Property bags of spatial entities: named typed values, and the base of properties kept outside.
#pragma once

#include "framework/core/Elements.h"

class TSpaceEntity;
class TObjectRegister;
class TBlockRegister;

// Base of the property elements.
class TProperties : public TOwnerEntity
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
};

// TDynamicProperties: each property is a child value element (string, integer or Boolean)
// named like the property; names compare ignoring case. A missing property reads empty, 0 or
// false; writing one creates the child of the written kind.
class TDynamicProperties : public TProperties
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    bool HasProperty(const QString& name) override;
    QString GetPropAsString(const QString& name) override;
    void SetPropAsString(const QString& name, const QString& value) override;
    qint32 GetPropAsInteger(const QString& name) override;
    void SetPropAsInteger(const QString& name, qint32 value) override;
    bool GetPropAsBoolean(const QString& name) override;
    void SetPropAsBoolean(const QString& name, bool value) override;

    // A new bag with a duplicate of every value. The caller owns it.
    Owned<TDynamicProperties> Clone() const;
};

// TSpaceEntityProps: properties of an entity kept outside it (a descendant supplies the store
// through the external hooks, which do nothing here). It also answers where its entity is filed.
class TSpaceEntityProps : public TOwnerEntity
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    bool IsDone() const { return m_isDone; }
    void SetIsDone(bool on) { m_isDone = on; }
    TSpaceEntity* SpaceEntity() const { return m_entity.get(); }
    void SetSpaceEntity(TSpaceEntity* entity) { m_entity = entity; }

    virtual qint32 SpaceID() { return -1; }
    // The register whose slot holds the entity; nil when a link is missing.
    virtual TObjectRegister* ObjectRegister();
    virtual TBlockRegister* BlockRegister();
    virtual void LoadExternal() {}
    virtual QString GetExternalProp(const QString&) { return QString(); }
    virtual void SetExternalProp(const QString&, const QString&) {}
    virtual bool HasExternalProp(const QString&) { return false; }
    // Itself when the entity's slot holds only the entity; else the properties of the slot's
    // first entity; nil without entity or slot.
    virtual TPersistent* PrimaryProps();
    // The slot's index in its register; -1 without one.
    virtual qint32 OrigNo();
    virtual QString BlockName();
    // A new object of the same class with the descendant's own published properties copied.
    virtual Owned<TSpaceEntityProps> Clone();

    bool HasProperty(const QString& name) override;
    QString GetPropAsString(const QString& name) override;
    void SetPropAsString(const QString& name, const QString& value) override;

private:
    bool m_isDone = false;
    WeakRef<TSpaceEntity> m_entity;
};

void RegisterPropertyBagClasses();
