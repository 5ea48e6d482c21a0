// Spatial entities: the entity base with its property element, points, texts, strings of
// entities and the cells of the line index.
#include "graphics/space/SpaceEntities.h"

#include "framework/core/ClassRegistry.h"
#include "framework/core/Messages.h"
#include "graphics/geometry/PlaneGeometry.h"
#include "graphics/space/PolyElements.h"
#include "graphics/space/PropertyBags.h"

#include <cmath>

namespace {

const QString spaceIdKey = QStringLiteral("SPACEID");
const QString groupKey = QStringLiteral("GROUP");

} // namespace

// --- TSpaceEntity ------------------------------------------------------------------------------

TClass TSpaceEntity::StaticClass()
{
    static const TClassInfo info =
        describeClass<TSpaceEntity, TRectEntity>("TSpaceEntity", [](PropertyTable<TSpaceEntity>& t) {
            t.object<TOwnerEntity>("Properties", &TSpaceEntity::Properties, &TSpaceEntity::SetProperties)
                .floating("Angle", "Double", &TSpaceEntity::Angle, &TSpaceEntity::SetAngle)
                .integer("SpaceID", &TSpaceEntity::SpaceID, &TSpaceEntity::SetSpaceID)
                .integer("Group", &TSpaceEntity::Group, nullptr)
                .boolean("IsDone", &TSpaceEntity::IsDone, &TSpaceEntity::SetIsDone, false);
        });
    return &info;
}

void TSpaceEntity::SetProperties(TOwnerEntity* properties)
{
    if (properties == m_properties.get())
        return;
    m_properties.reset(properties);
    if (auto* props = dynamic_cast<TSpaceEntityProps*>(properties))
        props->SetSpaceEntity(this);
}

TOwnerEntity* TSpaceEntity::EnsureProperties()
{
    if (!m_properties)
        SetProperties(Create<TDynamicProperties>().release());
    return m_properties.get();
}

qint32 TSpaceEntity::SpaceID()
{
    if (!m_properties)
        return -1;
    if (auto* props = dynamic_cast<TSpaceEntityProps*>(m_properties.get()))
        return props->SpaceID();
    return m_properties->GetPropAsInteger(spaceIdKey);
}

void TSpaceEntity::SetSpaceID(qint32 id)
{
    EnsureProperties()->SetPropAsInteger(spaceIdKey, id);
}

qint32 TSpaceEntity::Group()
{
    return m_properties ? m_properties->GetPropAsInteger(groupKey) : -1;
}

bool TSpaceEntity::IsNear(const TCoordinate& c, double tolerance)
{
    return Distance(AbsRefX(), AbsRefY(), c.GetX(), c.GetY()) < std::abs(tolerance);
}

bool TSpaceEntity::HasProperty(const QString& name)
{
    if (TRectEntity::HasProperty(name))
        return true;
    return m_properties && m_properties->HasProperty(name);
}

QString TSpaceEntity::GetPropAsString(const QString& name)
{
    if (IndexOfProp(this, name) >= 0)
        return TRectEntity::GetPropAsString(name);
    return m_properties ? m_properties->GetPropAsString(name) : QString();
}

void TSpaceEntity::SetPropAsString(const QString& name, const QString& value)
{
    if (IndexOfProp(this, name) >= 0)
        TRectEntity::SetPropAsString(name, value);
    else if (m_properties)
        m_properties->SetPropAsString(name, value);
}

void TSpaceEntity::Assign(const TPersistent* source)
{
    TRectEntity::Assign(source);
    const auto* other = dynamic_cast<const TSpaceEntity*>(source);
    if (!other || !other->m_properties)
        return;
    if (auto* props = dynamic_cast<TSpaceEntityProps*>(other->m_properties.get()))
        SetProperties(props->Clone().release());
    else if (auto* bag = dynamic_cast<TDynamicProperties*>(other->m_properties.get()))
        SetProperties(bag->Clone().release());
}

// --- points, texts -----------------------------------------------------------------------------

TClass TPointElement::StaticClass()
{
    static const TClassInfo info = describeClass<TPointElement, TSpaceEntity>("TPointElement");
    return &info;
}

TClass TTextElement::StaticClass()
{
    static const TClassInfo info =
        describeClass<TTextElement, TSpaceEntity>("TTextElement", [](PropertyTable<TTextElement>& t) {
            t.string("Text", &TTextElement::Text, &TTextElement::SetText);
        });
    return &info;
}

// --- strings -----------------------------------------------------------------------------------

TClass TSpaceEntityString::StaticClass()
{
    static const TClassInfo info = describeClass<TSpaceEntityString, TSpaceEntity>("TSpaceEntityString");
    return &info;
}

void TSpaceEntityString::SetPropAsString(const QString& name, const QString& value)
{
    if (IndexOfProp(this, name) < 0)
        EnsureProperties();
    TSpaceEntity::SetPropAsString(name, value);
}

void TSpaceEntityString::HandleMessage(TLumexMessage& msg, bool& handled)
{
    TSpaceEntity::HandleMessage(msg, handled);
    if (handled || msg.Message() != AddDataElementMessage)
        return;
    if (TElement* data = msg.Data(); data && data != this) {
        Add(data);
        handled = true;
    }
}

TClass TPointString::StaticClass()
{
    static const TClassInfo info = describeClass<TPointString, TSpaceEntityString>("TPointString");
    return &info;
}

TClass TTextString::StaticClass()
{
    static const TClassInfo info = describeClass<TTextString, TSpaceEntityString>("TTextString");
    return &info;
}

TClass TPolyLineString::StaticClass()
{
    static const TClassInfo info = describeClass<TPolyLineString, TSpaceEntityString>("TPolyLineString");
    return &info;
}

TClass TAreaString::StaticClass()
{
    static const TClassInfo info = describeClass<TAreaString, TSpaceEntityString>("TAreaString");
    return &info;
}

// --- cells -------------------------------------------------------------------------------------

TClass TSpaceRect::StaticClass()
{
    static const TClassInfo info = describeClass<TSpaceRect, TRectEntity>("TSpaceRect", [](PropertyTable<TSpaceRect>& t) {
        t.boolean("Last", &TSpaceRect::Last, &TSpaceRect::SetLast);
    });
    return &info;
}

TClass TSpaceLineBegEndCell::StaticClass()
{
    static const TClassInfo info = describeClass<TSpaceLineBegEndCell, TSpaceRect>("TSpaceLineBegEndCell",
        [](PropertyTable<TSpaceLineBegEndCell>& t) { t.integer("Count", &TSpaceLineBegEndCell::CellCount, nullptr); });
    return &info;
}

qint32 TSpaceLineBegEndCell::CellCount() const
{
    qint32 n = 0;
    if (Last()) {
        for (const Owned<TEntity>& list : m_lists)
            n += list ? list->Count() : 0;
        return n;
    }
    for (const Owned<TSpaceLineBegEndCell>& cell : m_cells)
        n += cell ? cell->CellCount() : 0;
    return n;
}

TSpaceLineBegEndCell* TSpaceLineBegEndCell::Cell(int i) const
{
    return i >= 0 && i < 4 ? m_cells[static_cast<size_t>(i)].get() : nullptr;
}

void TSpaceLineBegEndCell::SetCell(int i, TSpaceLineBegEndCell* cell)
{
    if (i < 0 || i >= 4)
        return;
    m_cells[static_cast<size_t>(i)].reset(cell);
    SetLast(false);
}

TEntity* TSpaceLineBegEndCell::List(int i)
{
    if (i < 0 || i >= 2)
        return nullptr;
    Owned<TEntity>& list = m_lists[static_cast<size_t>(i)];
    if (!list)
        list = Create<TEntity>();
    return list.get();
}

QChar ObjectTypeLetter(const TElement* entity)
{
    if (dynamic_cast<const TPointElement*>(entity))
        return QLatin1Char('B');
    if (dynamic_cast<const TTextElement*>(entity))
        return QLatin1Char('T');
    if (dynamic_cast<const TPolyLineElement*>(entity))
        return QLatin1Char('L');
    if (dynamic_cast<const TAreaElement*>(entity))
        return QLatin1Char('P');
    return QLatin1Char('X');
}
