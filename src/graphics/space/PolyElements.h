// Polylines and areas: lengths, signed areas, holes, proximity, and areas bounded by shared lines.
#pragma once

#include "graphics/space/SpaceEntities.h"

#include <QByteArray>

#include <vector>

class T2DCoordinate;
class THolesEntity;

// TPolyElement: an entity whose coordinate children form a line or ring.
class TPolyElement : public TSpaceEntity
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    virtual qint32 CoordsCount();
    // Child i when it is a T2DCoordinate, else nil (also outside 0..Count-1).
    virtual T2DCoordinate* CoordAt(int i);
    // Signed trapezoid sum of the ring; a counter-clockwise ring is negative. Children that are
    // no coordinates are left out.
    virtual double Area1();
    // Appends the children of source, in order when forward, else in reverse.
    virtual void AddItems(TElement* source, bool forward);
    // Sum of the segment lengths (the figure is not closed).
    double Length();
    // The coordinates CoordAt answers, in order.
    std::vector<TPoint2D> Points();
};

class TPolyLineElement : public TPolyElement
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    // Two or more points, and the coordinate lies closer than |tolerance| to a vertex or to the
    // foot of its perpendicular on a segment.
    bool IsNear(const TCoordinate& c, double tolerance) override;
};

// An area: its ring and, in a THolesEntity child, its holes (themselves areas).
class TAreaElement : public TPolyElement
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    double SavedArea() const { return m_savedArea; }
    // The holes container, nil until the first hole.
    THolesEntity* Holes() const { return m_holes.get(); }
    bool IsHole() const { return m_isHole; }
    void SetIsHole(bool on) { m_isHole = on; }
    // The area whose hole this is; nil when it is none.
    TAreaElement* HoleOwnerArea() const;
    // The signed ring area (0 when the first child is no coordinate); kept in SavedArea.
    double WholeArea();
    // Net area: sign(whole) * (|whole| - sum of |hole areas|).
    double Area1() override;
    void AddHole(TAreaElement* hole);
    virtual bool PointInside(double x, double y);
    // Inside the ring and in no hole.
    bool PointInArea(double x, double y);
    bool IsNear(const TCoordinate& c, double tolerance) override;

private:
    double m_savedArea = 0.0;
    WeakRef<THolesEntity> m_holes;
    bool m_isHole = false;
};

// The holes of an area.
class THolesEntity : public TRectEntity
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    TAreaElement* OwnerArea() const { return m_ownerArea.get(); }
    void SetOwnerArea(TAreaElement* area) { m_ownerArea = area; }

private:
    WeakRef<TAreaElement> m_ownerArea;
};

// An area bounded by shared polylines (its children, in ring order). Bit k of the orientation
// string tells that line k runs reversed; published as LinesOriginesHex, two upper-case hex
// digits per byte.
class TPolyLineAreaElement : public TAreaElement
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    bool IsReversed(int k) const;
    void SetReversed(int k, bool on);
    QString LinesOriginesHex() const;
    // Bad hex text raises EConvertError and keeps the bits.
    void SetLinesOriginesHex(const QString& text);
    void AddLine(TPolyLineElement* line, bool reversed);

    // Sum over the lines of max(0, points - 1): each line's last point is the next one's first.
    qint32 CoordsCount() override;
    T2DCoordinate* CoordAt(int i) override;
    bool PointInside(double x, double y) override;
    bool IsNear(const TCoordinate& c, double tolerance) override;
    // Adds the source's lines (in order or reversed), each as AddLine.
    void AddItems(TElement* source, bool forward) override;
    // Removing a line removes its bit.
    void Remove(TElement* element) override;
    // Message 57 from a line that was split: the new line goes next to it with its bit.
    void HandleMessage(TLumexMessage& msg, bool& handled) override;

    // A plain area with copies of the ring's coordinates and of its line-bounded holes.
    Owned<TAreaElement> ToPlainArea();

private:
    void insertBit(int k, bool on);
    void removeBit(int k);

    QByteArray m_bits;
};

void RegisterSpaceEntityClasses();
