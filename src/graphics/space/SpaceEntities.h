// Spatial entities: the entity base with its property element, points, texts, strings of
// entities and the cells of the line index.
#pragma once

#include "framework/elements/PlaneGraphics.h"

#include <array>

class TCoordinate;

// Framework message that hands an element to be added (a split line, an entity for a slot).
inline constexpr qint32 AddDataElementMessage = 57;

// TSpaceEntity: a map object whose T2DCoordinate children give its geometry; it carries a
// SpaceID, a Group and free properties in its property element (owned, not a child: a
// TSpaceEntityProps or TDynamicProperties). IsDone is a walk flag of its own (not stored).
class TSpaceEntity : public TRectEntity
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    // The property element (nil when none).
    TOwnerEntity* Properties() const { return m_properties.get(); }
    // Frees the old one; a TSpaceEntityProps learns its entity.
    void SetProperties(TOwnerEntity* properties);
    // The properties, a new TDynamicProperties when there are none.
    TOwnerEntity* EnsureProperties();
    double Angle() const { return m_angle; }
    void SetAngle(double angle) { m_angle = angle; }
    bool IsDone() const { return m_isDone; }
    void SetIsDone(bool on) { m_isDone = on; }

    // -1 without properties; else the "SPACEID" property (a TSpaceEntityProps answers its own).
    virtual qint32 SpaceID();
    // Creates the property bag when there is none, then sets "SPACEID".
    virtual void SetSpaceID(qint32 id);
    virtual qint32 Group();
    // The reference point lies closer than |tolerance| to the coordinate.
    virtual bool IsNear(const TCoordinate& c, double tolerance);

    // Published properties first, then the property element.
    bool HasProperty(const QString& name) override;
    QString GetPropAsString(const QString& name) override;
    // Published names directly; others go to the property element.
    void SetPropAsString(const QString& name, const QString& value) override;
    // The rectangle entity's Assign, then a clone of the source's property element.
    void Assign(const TPersistent* source) override;

private:
    Owned<TOwnerEntity> m_properties;
    double m_angle = 0.0;
    bool m_isDone = false;
};

class TPointElement : public TSpaceEntity
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
};

class TTextElement : public TSpaceEntity
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    const QString& Text() const { return m_text; }
    void SetText(const QString& text) { m_text = text; }

private:
    QString m_text;
};

// A container of entities of one kind. Property writes create its bag when missing; framework
// message 57 adds the message's data element as a child.
class TSpaceEntityString : public TSpaceEntity
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    void SetPropAsString(const QString& name, const QString& value) override;
    void HandleMessage(TLumexMessage& msg, bool& handled) override;
};

class TPointString : public TSpaceEntityString
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
};

class TTextString : public TSpaceEntityString
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
};

class TPolyLineString : public TSpaceEntityString
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
};

class TAreaString : public TSpaceEntityString
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
};

// A rectangle of a spatial subdivision; Last tells a leaf.
class TSpaceRect : public TRectEntity
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    bool Last() const { return m_last; }
    void SetLast(bool on) { m_last = on; }

private:
    bool m_last = true;
};

// A cell of a four-way subdivision of line ends: four sub-cells, or (Last) two lists of entities.
class TSpaceLineBegEndCell : public TSpaceRect
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    // A leaf: both lists' counts; else the sub-cells' counts summed. Published as "Count" in
    // place of the entity's child count; the C++ Count() stays the child count, because the
    // cell holds its sub-cells and lists apart from its children.
    qint32 CellCount() const;
    // Sub-cell i (0..3), nil when unset; setting one makes this cell no leaf.
    TSpaceLineBegEndCell* Cell(int i) const;
    void SetCell(int i, TSpaceLineBegEndCell* cell);
    // The two lists of a leaf (line beginnings and ends), created on first use.
    TEntity* List(int i);

private:
    std::array<Owned<TSpaceLineBegEndCell>, 4> m_cells;
    std::array<Owned<TEntity>, 2> m_lists;
};

// The code of the entity class used by the registers: B point, T text, L polyline, P area,
// X any other.
QChar ObjectTypeLetter(const TElement* entity);
