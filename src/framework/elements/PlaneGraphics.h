// Plane graphic elements: coordinates, rectangles, rectangle entities with a reference point, texts.
#pragma once

#include "framework/core/Elements.h"

#include <QString>

// Four doubles: a rectangle as (MinX, MinY, MaxX, MaxY).
struct TBounds {
    double MinX = 0.0;
    double MinY = 0.0;
    double MaxX = 0.0;
    double MaxY = 0.0;
};

struct TPoint2D {
    double X = 0.0;
    double Y = 0.0;
};

// The corners of an empty rectangle: minimum (emptyMin, emptyMin), maximum (emptyMax, emptyMax).
// Extending an empty rectangle by a point makes it that point.
inline constexpr double emptyMin = 1e30;
inline constexpr double emptyMax = -1e30;

// A point in a coordinate system CS. The y axis points up. TCoordinate itself stores no
// position: it answers -1 for X, Y and Z and ignores their writes.
class TCoordinate : public TElement
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    quint8 CS() const { return m_cs; }
    void SetCS(quint8 cs) { m_cs = cs; }

    virtual double GetX() const;
    virtual double GetY() const;
    virtual double GetZ() const;
    virtual void SetX(double x);
    virtual void SetY(double y);
    virtual void SetZ(double z);
    // A new element of the same class (virtual constructor) with X, Y, Z and CS copied.
    virtual Owned<TCoordinate> Duplicate() const;
    // The point as a degenerate rectangle (X, Y, X, Y).
    virtual TBounds GetBounds() const;

    // Element stream: CS as an integer after the base; a value outside 0..255 raises ERangeError.
    void ReadFrom(TReader& reader, TEntity* loader) override;
    void WriteTo(TWriter& writer) override;
    // The bare copy with X, Y, Z copied (CS is not).
    Owned<TElement> MakeCopy() override;

private:
    quint8 m_cs = 0;
};

// A point with X and Y; Z stays -1.
class T2DCoordinate : public TCoordinate
{
public:
    T2DCoordinate() = default;
    T2DCoordinate(double x, double y) : m_x(x), m_y(y) {}
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    double GetX() const override { return m_x; }
    double GetY() const override { return m_y; }
    void SetX(double x) override { m_x = x; }
    void SetY(double y) override { m_y = y; }

    // X and Y as 16 raw bytes (two little-endian IEEE doubles, no tag) after the base.
    void ReadFrom(TReader& reader, TEntity* loader) override;
    void WriteTo(TWriter& writer) override;

private:
    double m_x = 0.0;
    double m_y = 0.0;
};

// A point with X, Y and Z.
class T3DCoordinate : public T2DCoordinate
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    double GetZ() const override { return m_z; }
    void SetZ(double z) override { m_z = z; }

    // Z as a tagged float after the base.
    void ReadFrom(TReader& reader, TEntity* loader) override;
    void WriteTo(TWriter& writer) override;

private:
    double m_z = 0.0;
};

// An axis-parallel rectangle given by its minimum and maximum corner (both owned). It starts
// empty: minimum (1e30, 1e30), maximum (-1e30, -1e30).
class TRectangle : public TElement
{
public:
    TRectangle();
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    double MinX() const { return m_min->GetX(); }
    double MinY() const { return m_min->GetY(); }
    double MaxX() const { return m_max->GetX(); }
    double MaxY() const { return m_max->GetY(); }
    void SetMinX(double v) { m_min->SetX(v); }
    void SetMinY(double v) { m_min->SetY(v); }
    void SetMaxX(double v) { m_max->SetX(v); }
    void SetMaxY(double v) { m_max->SetY(v); }
    double Width() const { return MaxX() - MinX(); }
    double Height() const { return MaxY() - MinY(); }
    // MaxX := MinX + value; MaxY := MinY + value.
    void SetWidth(double value) { SetMaxX(MinX() + value); }
    void SetHeight(double value) { SetMaxY(MinY() + value); }

    // The four coordinates of another rectangle; other sources are ignored.
    void Assign(const TPersistent* source) override;
    // A new rectangle of the same class with the four coordinates copied.
    virtual Owned<TRectangle> Duplicate() const;

    void MakeEmpty();
    // MinX <= MaxX, MinY <= MaxY and every coordinate below 1e30.
    bool IsValid() const;
    TPoint2D Center() const;
    // The rectangle grown by 10 on every side.
    TBounds InflatedBounds() const;
    TBounds Bounds() const { return {MinX(), MinY(), MaxX(), MaxY()}; }
    void ExtendByPoint(double x, double y);
    void ExtendByCoordinate(const TCoordinate& point) { ExtendByPoint(point.GetX(), point.GetY()); }
    // An invalid (empty) rectangle changes nothing.
    void ExtendByRect(const TRectangle& other);
    void Shift(double dx, double dy);

    // Own size plus the corners'.
    qint32 Size() override;
    // MinX, MinY, MaxX, MaxY as tagged floats after the base.
    void ReadFrom(TReader& reader, TEntity* loader) override;
    void WriteTo(TWriter& writer) override;
    // The Duplicate.
    Owned<TElement> MakeCopy() override;

private:
    Owned<T2DCoordinate> m_min;
    Owned<T2DCoordinate> m_max;
};

// The position of a reference point relative to a rectangle: 1 + 3 * column + row, column and
// row being the positions of RelRefX and RelRefY in (0, 0.5, 1); 0 when either is another value.
using TRefPosition = int;

// A container with a bounding rectangle and a reference point placed relative to it
// (RelRefX/RelRefY: 0 = left or bottom edge, 1 = right or top edge). Rectangle and reference
// point belong to the entity (they are not children) and are created on first use.
//
// A relative-reference write moves the rectangle so that the absolute reference point stays;
// an absolute-reference write moves the point inside the rectangle; a size write keeps the
// minimum corner and the absolute reference point; a position write moves both.
class TRectEntity : public TOwnerEntity
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    // The bounding rectangle, created empty on first use.
    TRectangle* Rectangle();
    // r replaces (and frees) the rectangle; nil leaves none until the next Rectangle().
    void SetRectangle(Owned<TRectangle> r);

    qint32 Index() const { return m_index; }
    void SetIndex(qint32 index) { m_index = index; }

    double MinX() { return Rectangle()->MinX(); }
    double MinY() { return Rectangle()->MinY(); }
    double MaxX() { return Rectangle()->MaxX(); }
    double MaxY() { return Rectangle()->MaxY(); }
    void SetMinX(double v) { Rectangle()->SetMinX(v); }
    void SetMinY(double v) { Rectangle()->SetMinY(v); }
    void SetMaxX(double v) { Rectangle()->SetMaxX(v); }
    void SetMaxY(double v) { Rectangle()->SetMaxY(v); }
    bool IsValid() { return Rectangle()->IsValid(); }
    double Width() { return Rectangle()->Width(); }
    double Height() { return Rectangle()->Height(); }
    // Keep the absolute reference point.
    void SetWidth(double value);
    void SetHeight(double value);
    double CenterX() { return Rectangle()->Center().X; }
    double CenterY() { return Rectangle()->Center().Y; }
    double X() { return AbsRefX(); }
    double Y() { return AbsRefY(); }
    // Valid rectangle: shifted so that the absolute reference lands on the value; else both
    // edges of that axis := value.
    void SetX(double value);
    void SetY(double value);
    double RelRefX() { return RefPoint()->GetX(); }
    double RelRefY() { return RefPoint()->GetY(); }
    void SetRelRefX(double value);
    void SetRelRefY(double value);
    double DeltaRefX() { return RelRefX() * Width(); }
    double DeltaRefY() { return RelRefY() * Height(); }
    void SetDeltaRefX(double value);
    void SetDeltaRefY(double value);
    double AbsRefX() { return MinX() + RelRefX() * Width(); }
    double AbsRefY() { return MinY() + RelRefY() * Height(); }
    void SetAbsRefX(double value);
    void SetAbsRefY(double value);
    // "LEFT", "CENTER", "RIGHT" (else "OTHER"); "DOWN", "CENTER", "TOP" (else "OTHER").
    QString HorizAllign();
    QString VertAllign();
    void SetHorizAllign(const QString& text);
    void SetVertAllign(const QString& text);
    TRefPosition GetRefPosition();
    // Codes 1 to 9 set both relative coordinates keeping the absolute reference point; others
    // do nothing.
    virtual void RefPosition(TRefPosition code);
    void SetDeltaX(double dx) { Shift(dx, 0.0); }
    void SetDeltaY(double dy) { Shift(0.0, dy); }
    // True: ExtendByChildren; false: the rectangle is made empty.
    void SetUpdateNoReset(bool on);

    // Nothing when the reference point already is (rx, ry); else moves the rectangle so that
    // the absolute reference point stays.
    void SetRelRef(double rx, double ry);
    // A coordinate extends by its point, a rectangle entity by its rectangle (when valid);
    // anything else (nil included) is ignored.
    void ExtendRect(TElement* element);
    // Edges count as inside.
    bool IsInside(double x1, double y1, double x2, double y2);
    bool Covers(double x1, double y1, double x2, double y2);
    // ExtendRect by every child in order; the rectangle is not emptied first.
    virtual void ExtendByChildren();
    // MakeEmpty, then ExtendByChildren.
    virtual void RecalcRect();
    void Shift(double dx, double dy) { Rectangle()->Shift(dx, dy); }

    // From another TRectEntity: Index and a Duplicate of its rectangle; other sources ignored.
    void Assign(const TPersistent* source) override;
    qint32 Size() override;
    // MinX, MinY, MaxX, MaxY as tagged floats after the base.
    void ReadFrom(TReader& reader, TEntity* loader) override;
    void WriteTo(TWriter& writer) override;
    // The container copy, then its rectangle assigned from this one (Index and the reference
    // point are not copied).
    Owned<TElement> MakeCopy() override;

private:
    T2DCoordinate* RefPoint();

    Owned<TRectangle> m_rect;
    qint32 m_index = 0;
    Owned<T2DCoordinate> m_refPoint;
};

// ExtendRect(child), then Add(child).
void AddAndExtend(TRectEntity* entity, TElement* child);

// Stands for another element (not owned).
class TSelectedElement : public TRectEntity
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    TElement* Selected() const { return m_selected.get(); }
    void SetSelected(TElement* element) { m_selected = element; }
    // The selected element's name, empty without one.
    QString SelectName() const;

private:
    WeakRef<TElement> m_selected;
};

// Pen styles and brush styles of the class library, in its order.
enum TPenStyle : int { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TBrushStyle : int {
    bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross
};
// A colour as the class library kept it: 0x00BBGGRR.
using TColor = qint32;

// A rectangle drawn with a pen and a brush.
class TDrawRectangle : public TRectEntity
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    TColor PenColor() const { return m_penColor; }
    void SetPenColor(TColor c) { m_penColor = c; }
    int PenStyle() const { return m_penStyle; }
    void SetPenStyle(int s) { m_penStyle = s; }
    double PenWidth() const { return m_penWidth; }
    void SetPenWidth(double w) { m_penWidth = w; }
    TColor BrushColor() const { return m_brushColor; }
    void SetBrushColor(TColor c) { m_brushColor = c; }
    int BrushStyle() const { return m_brushStyle; }
    void SetBrushStyle(int s) { m_brushStyle = s; }

    // The rectangle entity's copy, then the pen and brush.
    Owned<TElement> MakeCopy() override;

private:
    TColor m_penColor = 0;
    int m_penStyle = psSolid;
    double m_penWidth = 0.0;
    TColor m_brushColor = 0;
    int m_brushStyle = bsSolid;
};

// A text placed by its rectangle and reference point. Font styles are the bits of bold 1,
// italic 2, underline 4, strike-out 8.
class TText : public TRectEntity
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    const QString& Text() const { return m_text; }
    void SetText(const QString& text) { m_text = text; }
    double Orientation() const { return m_orientation; }
    void SetOrientation(double degrees) { m_orientation = degrees; }
    TColor Color() const { return m_color; }
    void SetColor(TColor c) { m_color = c; }
    const QString& FontName() const { return m_fontName; }
    void SetFontName(const QString& name) { m_fontName = name; }
    qint32 FontStyle() const { return m_fontStyle; }
    void SetFontStyle(qint32 bits) { m_fontStyle = bits; }
    quint8 Charset() const { return m_charset; }
    void SetCharset(quint8 charset) { m_charset = charset; }

    // A text takes no size from children: Height := MaxY - MinY through the Height write.
    void ExtendByChildren() override;
    // Text, Orientation and Height (through the Height write) after the base.
    void ReadFrom(TReader& reader, TEntity* loader) override;
    void WriteTo(TWriter& writer) override;
    // The rectangle entity's copy, then the text attributes and the Height write.
    Owned<TElement> MakeCopy() override;

private:
    QString m_text;
    double m_orientation = 0.0;
    TColor m_color = 0;
    QString m_fontName;
    qint32 m_fontStyle = 0;
    quint8 m_charset = 0;
};

// Registers T2DCoordinate, T3DCoordinate, TRectangle, TDrawRectangle, TText, TRectEntity and
// TSelectedElement. The unit's initialisation: runs once, later calls do nothing.
void RegisterG_elemsUnit();
