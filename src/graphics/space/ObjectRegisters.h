// Object registers: entities filed by block name, object type letter and SpaceID.
#pragma once

#include "framework/tools/Tools.h"
#include "graphics/space/SpaceEntities.h"

class TWorld;

// Numbers a register accepts.
inline constexpr qint32 maxRegisterNumber = 500000;

// One numbered slot of a register: the entity (or entities) with that number. A property it
// lacks (empty answer) is read from its first child. Message 57 adds the data element.
class TObjectOwner : public TOwnerEntity
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    QString GetPropAsString(const QString& name) override;
    void HandleMessage(TLumexMessage& msg, bool& handled) override;
};

// Slots indexed by number: slot n holds the entities whose SpaceID is n (1..500000).
class TObjectRegister : public TSpaceEntity
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    // The name of the owning block register; empty without one.
    QString BlockName() const;
    // A table in a descendant; always nil here.
    virtual TPersistent* DBF() { return nullptr; }
    virtual Owned<TObjectOwner> NewSlot();
    // Files the entity under its SpaceID when that lies in 1..500000.
    void Register(TSpaceEntity* entity);
    // Appends slots up to n as needed, puts the entity in slot n, extends the rectangle.
    void PutAt(qint32 n, TSpaceEntity* entity);
    // The first entity of slot n (1 <= n < Count), else nil.
    TSpaceEntity* ObjectAt(qint32 n) const;
    void ClearSlot(qint32 n);
};

// A block: one object register per type letter, named by the letter.
class TBlockRegister : public TSpaceEntity
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    virtual void Register(TSpaceEntity* entity);
    virtual void RegisterSpaceEntity(TElement* element);
    // The register named by the letter; created when missing.
    virtual TObjectRegister* RegisterFor(QChar letter);
    virtual TSpaceEntity* ObjectAt(QChar letter, qint32 n);
    virtual void ClearObject(QChar letter, qint32 n);
};

// The block registers of a model, by name.
class TRegister : public TSpaceEntity
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    // The block found by the upper-cased name; nil for an empty name.
    virtual TBlockRegister* BlockRegisterByName(const QString& name);
    // That block, or a new one of the named class (a TBlockRegister descendant) named and added.
    virtual TBlockRegister* GetBlockRegister(const QString& name, const QString& className);
};

// Fetches one entity of the world's register by block, type letter and number into Output.
// Without a world (or when nothing is found) Output stays as it was.
class TRegisterObjectSelector : public TTool
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    const QString& BlockName() const { return m_blockName; }
    void SetBlockName(const QString& name) { m_blockName = name; }
    qint32 ObjectNo() const { return m_objectNo; }
    void SetObjectNo(qint32 n) { m_objectNo = n; }
    const QString& ObjectType() const { return m_objectType; }
    void SetObjectType(const QString& type) { m_objectType = type; }

    // An empty ObjectType raises ERangeError.
    void Execute() override;

private:
    QString m_blockName;
    qint32 m_objectNo = 0;
    QString m_objectType;
};

// The world the graphics classes consult (tile memory budget, register selector); nil when the
// program runs without one. Not owned.
TWorld* GraphicsWorld();
void SetGraphicsWorld(TWorld* world);

void RegisterObjectRegisterClasses();
