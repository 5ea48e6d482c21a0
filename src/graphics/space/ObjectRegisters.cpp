// Object registers: entities filed by block name, object type letter and SpaceID.
#include "graphics/space/ObjectRegisters.h"

#include "framework/core/ClassRegistry.h"
#include "framework/core/Messages.h"
#include "framework/core/World.h"
#include "platform/Exceptions.h"
#include "platform/text/Case.h"

namespace {

WeakRef<TWorld>& worldRef()
{
    static WeakRef<TWorld> world;
    return world;
}

} // namespace

TWorld* GraphicsWorld()
{
    return worldRef().get();
}

void SetGraphicsWorld(TWorld* world)
{
    worldRef() = world;
}

// --- TObjectOwner ------------------------------------------------------------------------------

TClass TObjectOwner::StaticClass()
{
    static const TClassInfo info = describeClass<TObjectOwner, TOwnerEntity>("TObjectOwner");
    return &info;
}

QString TObjectOwner::GetPropAsString(const QString& name)
{
    QString value = TOwnerEntity::GetPropAsString(name);
    if (value.isEmpty() && Count() > 0)
        if (TElement* first = Items(0))
            value = first->GetPropAsString(name);
    return value;
}

void TObjectOwner::HandleMessage(TLumexMessage& msg, bool& handled)
{
    TOwnerEntity::HandleMessage(msg, handled);
    if (handled || msg.Message() != AddDataElementMessage)
        return;
    if (TElement* data = msg.Data(); data && data != this) {
        Add(data);
        handled = true;
    }
}

// --- TObjectRegister ---------------------------------------------------------------------------

TClass TObjectRegister::StaticClass()
{
    static const TClassInfo info =
        describeClass<TObjectRegister, TSpaceEntity>("TObjectRegister", [](PropertyTable<TObjectRegister>& t) {
            t.string("BlockName", &TObjectRegister::BlockName, nullptr)
                .object<TPersistent>("DBF", &TObjectRegister::DBF, nullptr);
        });
    return &info;
}

QString TObjectRegister::BlockName() const
{
    const TElement* block = GetOwnerOfClass(TBlockRegister::StaticClass());
    return block ? block->GetName() : QString();
}

Owned<TObjectOwner> TObjectRegister::NewSlot()
{
    return Create<TObjectOwner>();
}

void TObjectRegister::Register(TSpaceEntity* entity)
{
    if (!entity)
        return;
    const qint32 id = entity->SpaceID();
    if (id >= 1 && id <= maxRegisterNumber)
        PutAt(id, entity);
}

void TObjectRegister::PutAt(qint32 n, TSpaceEntity* entity)
{
    if (n < 0 || n > maxRegisterNumber || !entity)
        return;
    TEntity* slot = nullptr;
    if (Count() <= n) {
        while (Count() <= n) {
            slot = NewSlot().release();
            Add(slot);
        }
    } else {
        slot = dynamic_cast<TEntity*>(Items(n));
    }
    if (slot)
        slot->Add(entity);
    ExtendRect(entity);
}

TSpaceEntity* TObjectRegister::ObjectAt(qint32 n) const
{
    if (n < 1 || n >= Count())
        return nullptr;
    auto* slot = dynamic_cast<TEntity*>(Items(n));
    if (!slot || slot->Count() == 0)
        return nullptr;
    return dynamic_cast<TSpaceEntity*>(slot->Items(0));
}

void TObjectRegister::ClearSlot(qint32 n)
{
    if (n < 0 || n >= Count())
        return;
    if (auto* slot = dynamic_cast<TObjectOwner*>(Items(n)))
        slot->Clear();
}

// --- TBlockRegister ----------------------------------------------------------------------------

TClass TBlockRegister::StaticClass()
{
    static const TClassInfo info = describeClass<TBlockRegister, TSpaceEntity>("TBlockRegister");
    return &info;
}

void TBlockRegister::Register(TSpaceEntity* entity)
{
    if (!entity)
        return;
    RegisterFor(ObjectTypeLetter(entity))->Register(entity);
    ExtendRect(entity);
}

void TBlockRegister::RegisterSpaceEntity(TElement* element)
{
    if (auto* entity = dynamic_cast<TSpaceEntity*>(element))
        Register(entity);
}

TObjectRegister* TBlockRegister::RegisterFor(QChar letter)
{
    return dynamic_cast<TObjectRegister*>(GetOrCreateChildOfClass(this, TObjectRegister::StaticClass(), QString(letter)));
}

TSpaceEntity* TBlockRegister::ObjectAt(QChar letter, qint32 n)
{
    return RegisterFor(letter)->ObjectAt(n);
}

void TBlockRegister::ClearObject(QChar letter, qint32 n)
{
    RegisterFor(letter)->ClearSlot(n);
}

// --- TRegister ---------------------------------------------------------------------------------

TClass TRegister::StaticClass()
{
    static const TClassInfo info = describeClass<TRegister, TSpaceEntity>("TRegister");
    return &info;
}

TBlockRegister* TRegister::BlockRegisterByName(const QString& name)
{
    if (name.isEmpty())
        return nullptr;
    return dynamic_cast<TBlockRegister*>(FindElementByName(txt::upperAscii(name)));
}

TBlockRegister* TRegister::GetBlockRegister(const QString& name, const QString& className)
{
    if (TBlockRegister* found = BlockRegisterByName(name))
        return found;
    Owned<TElement> created = CreateElementByName(className);
    auto* block = dynamic_cast<TBlockRegister*>(created.get());
    if (!block)
        return nullptr;
    block->SetName(name);
    Add(created.release());
    return block;
}

// --- TRegisterObjectSelector -------------------------------------------------------------------

TClass TRegisterObjectSelector::StaticClass()
{
    static const TClassInfo info = describeClass<TRegisterObjectSelector, TTool>(
        "TRegisterObjectSelector", [](PropertyTable<TRegisterObjectSelector>& t) {
            t.string("BlockName", &TRegisterObjectSelector::BlockName, &TRegisterObjectSelector::SetBlockName)
                .integer("ObjectNo", &TRegisterObjectSelector::ObjectNo, &TRegisterObjectSelector::SetObjectNo)
                .string("ObjectType", &TRegisterObjectSelector::ObjectType, &TRegisterObjectSelector::SetObjectType);
        });
    return &info;
}

void TRegisterObjectSelector::Execute()
{
    TTool::Execute();
    if (m_objectType.isEmpty())
        throw ERangeError(QStringLiteral("Range check error"));
    TWorld* world = GraphicsWorld();
    if (!world || !world->ObjectModel())
        return;
    auto* reg = dynamic_cast<TRegister*>(world->ObjectModel()->FindElementByClass(TRegister::StaticClass()));
    TBlockRegister* block = reg ? reg->BlockRegisterByName(m_blockName) : nullptr;
    if (!block)
        return;
    if (TSpaceEntity* found = block->ObjectAt(m_objectType.at(0), m_objectNo))
        SetOutput(found);
}

void RegisterObjectRegisterClasses()
{
    RegisterUnitClasses({TBlockRegister::StaticClass(), TRegister::StaticClass(), TRegisterObjectSelector::StaticClass()});
}
