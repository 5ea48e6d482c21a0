// Plane graphic elements: coordinates, rectangles, rectangle entities with a reference point, texts.
#include "framework/elements/PlaneGraphics.h"

#include "framework/core/ClassRegistry.h"
#include "framework/streams/Filer.h"
#include "platform/text/Case.h"
#include "platform/text/Numbers.h"

#include <QtEndian>

#include <array>
#include <cstring>

namespace {

// Below this a width or height counts as zero when a relative reference is computed.
constexpr double tinyExtent = 1e-20;

// The relative positions a reference point may take on one axis, in code order.
constexpr std::array<double, 3> refSteps = {0.0, 0.5, 1.0};

// Position of value in refSteps, -1 when it is none of them.
int refStepIndex(double value)
{
    for (int i = 0; i < 3; ++i)
        if (value == refSteps[static_cast<size_t>(i)])
            return i;
    return -1;
}

// The relative position named by text (letter case ignored), -1 when none; names[i] names refSteps[i].
double refStepOfName(const QString& text, const std::array<const char*, 3>& names, bool& found)
{
    const QString upper = txt::upperAscii(text);
    for (size_t i = 0; i < names.size(); ++i)
        if (upper == QLatin1String(names[i])) {
            found = true;
            return refSteps[i];
        }
    found = false;
    return 0.0;
}

QString refStepName(double value, const std::array<const char*, 3>& names)
{
    const int i = refStepIndex(value);
    return i < 0 ? QStringLiteral("OTHER") : QString::fromLatin1(names[static_cast<size_t>(i)]);
}

constexpr std::array<const char*, 3> horizNames = {"LEFT", "CENTER", "RIGHT"};
constexpr std::array<const char*, 3> vertNames = {"DOWN", "CENTER", "TOP"};

void writeRawDouble(TWriter& writer, double value)
{
    quint64 bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    QByteArray bytes(8, '\0');
    qToLittleEndian(bits, bytes.data());
    writer.WriteRaw(bytes);
}

double readRawDouble(TReader& reader)
{
    const QByteArray bytes = reader.ReadRaw(8);
    if (bytes.size() != 8)
        throw EBadStream(QStringLiteral("Stream read error"));
    const quint64 bits = qFromLittleEndian<quint64>(bytes.constData());
    double value = 0.0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void writeBounds(TWriter& writer, const TRectangle& r)
{
    writer.WriteFloat(r.MinX());
    writer.WriteFloat(r.MinY());
    writer.WriteFloat(r.MaxX());
    writer.WriteFloat(r.MaxY());
}

void readBounds(TReader& reader, TRectangle& r)
{
    r.SetMinX(reader.ReadFloat());
    r.SetMinY(reader.ReadFloat());
    r.SetMaxX(reader.ReadFloat());
    r.SetMaxY(reader.ReadFloat());
}

} // namespace

// --- TCoordinate --------------------------------------------------------------------------------

TClass TCoordinate::StaticClass()
{
    static const TClassInfo info =
        describeClass<TCoordinate, TElement>("TCoordinate", [](PropertyTable<TCoordinate>& t) {
            t.byte("CS", &TCoordinate::CS, &TCoordinate::SetCS)
                .floating("X", "Double", &TCoordinate::GetX, &TCoordinate::SetX)
                .floating("Y", "Double", &TCoordinate::GetY, &TCoordinate::SetY)
                .floating("Z", "Double", &TCoordinate::GetZ, &TCoordinate::SetZ);
        });
    return &info;
}

double TCoordinate::GetX() const
{
    return -1.0;
}

double TCoordinate::GetY() const
{
    return -1.0;
}

double TCoordinate::GetZ() const
{
    return -1.0;
}

void TCoordinate::SetX(double) {}
void TCoordinate::SetY(double) {}
void TCoordinate::SetZ(double) {}

Owned<TCoordinate> TCoordinate::Duplicate() const
{
    Owned<TCoordinate> copy = CreateOfClass<TCoordinate>(ClassType());
    if (!copy)
        return nullptr;
    copy->SetX(GetX());
    copy->SetY(GetY());
    copy->SetZ(GetZ());
    copy->SetCS(m_cs);
    return copy;
}

TBounds TCoordinate::GetBounds() const
{
    return {GetX(), GetY(), GetX(), GetY()};
}

void TCoordinate::ReadFrom(TReader& reader, TEntity* loader)
{
    TElement::ReadFrom(reader, loader);
    m_cs = static_cast<quint8>(txt::checkRange(reader.ReadInteger(), 0, 255));
}

void TCoordinate::WriteTo(TWriter& writer)
{
    TElement::WriteTo(writer);
    writer.WriteInteger(m_cs);
}

Owned<TElement> TCoordinate::MakeCopy()
{
    Owned<TElement> copy = TElement::MakeCopy();
    if (auto* point = dynamic_cast<TCoordinate*>(copy.get())) {
        point->SetX(GetX());
        point->SetY(GetY());
        point->SetZ(GetZ());
    }
    return copy;
}

// --- T2DCoordinate, T3DCoordinate -----------------------------------------------------------------

TClass T2DCoordinate::StaticClass()
{
    static const TClassInfo info = describeClass<T2DCoordinate, TCoordinate>("T2DCoordinate");
    return &info;
}

void T2DCoordinate::ReadFrom(TReader& reader, TEntity* loader)
{
    TCoordinate::ReadFrom(reader, loader);
    m_x = readRawDouble(reader);
    m_y = readRawDouble(reader);
}

void T2DCoordinate::WriteTo(TWriter& writer)
{
    TCoordinate::WriteTo(writer);
    writeRawDouble(writer, m_x);
    writeRawDouble(writer, m_y);
}

TClass T3DCoordinate::StaticClass()
{
    static const TClassInfo info = describeClass<T3DCoordinate, T2DCoordinate>("T3DCoordinate");
    return &info;
}

void T3DCoordinate::ReadFrom(TReader& reader, TEntity* loader)
{
    T2DCoordinate::ReadFrom(reader, loader);
    m_z = reader.ReadFloat();
}

void T3DCoordinate::WriteTo(TWriter& writer)
{
    T2DCoordinate::WriteTo(writer);
    writer.WriteFloat(m_z);
}

// --- TRectangle ---------------------------------------------------------------------------------

TClass TRectangle::StaticClass()
{
    static const TClassInfo info =
        describeClass<TRectangle, TElement>("TRectangle", [](PropertyTable<TRectangle>& t) {
            t.floating("MinX", "Double", &TRectangle::MinX, &TRectangle::SetMinX)
                .floating("MinY", "Double", &TRectangle::MinY, &TRectangle::SetMinY)
                .floating("MaxX", "Double", &TRectangle::MaxX, &TRectangle::SetMaxX)
                .floating("MaxY", "Double", &TRectangle::MaxY, &TRectangle::SetMaxY)
                .floating("Height", "Double", &TRectangle::Height, &TRectangle::SetHeight)
                .floating("Width", "Double", &TRectangle::Width, &TRectangle::SetWidth);
        });
    return &info;
}

TRectangle::TRectangle()
    : m_min(Create<T2DCoordinate>(emptyMin, emptyMin)), m_max(Create<T2DCoordinate>(emptyMax, emptyMax))
{
}

void TRectangle::Assign(const TPersistent* source)
{
    if (const auto* other = dynamic_cast<const TRectangle*>(source)) {
        SetMinX(other->MinX());
        SetMinY(other->MinY());
        SetMaxX(other->MaxX());
        SetMaxY(other->MaxY());
    }
}

Owned<TRectangle> TRectangle::Duplicate() const
{
    Owned<TRectangle> copy = CreateOfClass<TRectangle>(ClassType());
    if (copy)
        copy->Assign(this);
    return copy;
}

void TRectangle::MakeEmpty()
{
    SetMinX(emptyMin);
    SetMinY(emptyMin);
    SetMaxX(emptyMax);
    SetMaxY(emptyMax);
}

bool TRectangle::IsValid() const
{
    return MinX() <= MaxX() && MinY() <= MaxY() && MinX() < emptyMin && MinY() < emptyMin && MaxX() < emptyMin
           && MaxY() < emptyMin;
}

TPoint2D TRectangle::Center() const
{
    return {MinX() + (MaxX() - MinX()) / 2, MinY() + (MaxY() - MinY()) / 2};
}

TBounds TRectangle::InflatedBounds() const
{
    constexpr double margin = 10.0;
    return {MinX() - margin, MinY() - margin, MaxX() + margin, MaxY() + margin};
}

void TRectangle::ExtendByPoint(double x, double y)
{
    if (MinX() > x)
        SetMinX(x);
    if (MaxX() < x)
        SetMaxX(x);
    if (MinY() > y)
        SetMinY(y);
    if (MaxY() < y)
        SetMaxY(y);
}

void TRectangle::ExtendByRect(const TRectangle& other)
{
    if (!other.IsValid())
        return;
    ExtendByPoint(other.MinX(), other.MinY());
    ExtendByPoint(other.MaxX(), other.MaxY());
}

void TRectangle::Shift(double dx, double dy)
{
    SetMinX(MinX() + dx);
    SetMinY(MinY() + dy);
    SetMaxX(MaxX() + dx);
    SetMaxY(MaxY() + dy);
}

qint32 TRectangle::Size()
{
    return txt::addChecked(txt::addChecked(TElement::Size(), m_min->Size()), m_max->Size());
}

void TRectangle::ReadFrom(TReader& reader, TEntity* loader)
{
    TElement::ReadFrom(reader, loader);
    readBounds(reader, *this);
}

void TRectangle::WriteTo(TWriter& writer)
{
    TElement::WriteTo(writer);
    writeBounds(writer, *this);
}

Owned<TElement> TRectangle::MakeCopy()
{
    return Duplicate();
}

// --- TRectEntity --------------------------------------------------------------------------------

TClass TRectEntity::StaticClass()
{
    using R = TRectEntity;
    static const TClassInfo info = describeClass<R, TOwnerEntity>("TRectEntity", [](PropertyTable<R>& t) {
        t.integer("Index", &R::Index, &R::SetIndex)
            .floating("MinX", "Double", &R::MinX, &R::SetMinX)
            .floating("MinY", "Double", &R::MinY, &R::SetMinY)
            .floating("MaxX", "Double", &R::MaxX, &R::SetMaxX, false)
            .floating("MaxY", "Double", &R::MaxY, &R::SetMaxY, false)
            .boolean("IsValid", &R::IsValid, nullptr, false)
            .floating("Width", "Double", &R::Width, &R::SetWidth)
            .floating("Height", "Double", &R::Height, &R::SetHeight)
            .floating("CenterX", "Double", &R::CenterX, nullptr, false)
            .floating("CenterY", "Double", &R::CenterY, nullptr, false)
            .floating("X", "Double", &R::X, &R::SetX, false)
            .floating("Y", "Double", &R::Y, &R::SetY, false)
            .floating("RelRefX", "Double", &R::RelRefX, &R::SetRelRefX, false)
            .floating("RelRefY", "Double", &R::RelRefY, &R::SetRelRefY, false)
            .floating("DeltaRefX", "Double", &R::DeltaRefX, &R::SetDeltaRefX, false)
            .floating("DeltaRefY", "Double", &R::DeltaRefY, &R::SetDeltaRefY, false)
            .floating("AbsRefX", "Double", &R::AbsRefX, &R::SetAbsRefX)
            .floating("AbsRefY", "Double", &R::AbsRefY, &R::SetAbsRefY)
            .string("HorizAllign", &R::HorizAllign, &R::SetHorizAllign, false)
            .string("VertAllign", &R::VertAllign, &R::SetVertAllign, false)
            .integer("RefPosition", "TRefPosition", &R::GetRefPosition, &R::RefPosition, false)
            .floating("DeltaX", "Double", nullptr, &R::SetDeltaX, false)
            .floating("DeltaY", "Double", nullptr, &R::SetDeltaY, false)
            .boolean("UpdateNoReset", nullptr, &R::SetUpdateNoReset, false);
    });
    return &info;
}

TRectangle* TRectEntity::Rectangle()
{
    if (!m_rect)
        m_rect = Create<TRectangle>();
    return m_rect.get();
}

void TRectEntity::SetRectangle(Owned<TRectangle> r)
{
    m_rect = std::move(r);
}

T2DCoordinate* TRectEntity::RefPoint()
{
    if (!m_refPoint)
        m_refPoint = Create<T2DCoordinate>();
    return m_refPoint.get();
}

void TRectEntity::SetWidth(double value)
{
    const double absRef = AbsRefX();
    Rectangle()->SetWidth(value);
    SetAbsRefX(absRef);
}

void TRectEntity::SetHeight(double value)
{
    const double absRef = AbsRefY();
    Rectangle()->SetHeight(value);
    SetAbsRefY(absRef);
}

void TRectEntity::SetX(double value)
{
    if (IsValid()) {
        Shift(value - AbsRefX(), 0.0);
        return;
    }
    SetMinX(value);
    SetMaxX(value);
}

void TRectEntity::SetY(double value)
{
    if (IsValid()) {
        Shift(0.0, value - AbsRefY());
        return;
    }
    SetMinY(value);
    SetMaxY(value);
}

void TRectEntity::SetRelRefX(double value)
{
    if (value == RelRefX())
        return;
    const double oldDelta = DeltaRefX();
    RefPoint()->SetX(value);
    Shift(oldDelta - DeltaRefX(), 0.0);
}

void TRectEntity::SetRelRefY(double value)
{
    if (value == RelRefY())
        return;
    const double oldDelta = DeltaRefY();
    RefPoint()->SetY(value);
    Shift(0.0, oldDelta - DeltaRefY());
}

void TRectEntity::SetDeltaRefX(double value)
{
    const double width = Width();
    SetRelRefX(value != 0.0 && width >= tinyExtent ? value / width : 0.0);
}

void TRectEntity::SetDeltaRefY(double value)
{
    const double height = Height();
    SetRelRefY(value != 0.0 && height >= tinyExtent ? value / height : 0.0);
}

void TRectEntity::SetAbsRefX(double value)
{
    const double width = Width();
    RefPoint()->SetX(width >= tinyExtent ? (value - MinX()) / width : 0.0);
}

void TRectEntity::SetAbsRefY(double value)
{
    const double height = Height();
    RefPoint()->SetY(height >= tinyExtent ? (value - MinY()) / height : 0.0);
}

QString TRectEntity::HorizAllign()
{
    return refStepName(RelRefX(), horizNames);
}

QString TRectEntity::VertAllign()
{
    return refStepName(RelRefY(), vertNames);
}

void TRectEntity::SetHorizAllign(const QString& text)
{
    bool found = false;
    const double value = refStepOfName(text, horizNames, found);
    if (found)
        SetRelRefX(value);
}

void TRectEntity::SetVertAllign(const QString& text)
{
    bool found = false;
    const double value = refStepOfName(text, vertNames, found);
    if (found)
        SetRelRefY(value);
}

TRefPosition TRectEntity::GetRefPosition()
{
    const int column = refStepIndex(RelRefX());
    const int row = refStepIndex(RelRefY());
    if (column < 0 || row < 0)
        return 0;
    return 1 + 3 * column + row;
}

void TRectEntity::RefPosition(TRefPosition code)
{
    if (code < 1 || code > 9)
        return;
    const int column = (code - 1) / 3;
    const int row = (code - 1) % 3;
    SetRelRef(refSteps[static_cast<size_t>(column)], refSteps[static_cast<size_t>(row)]);
}

void TRectEntity::SetUpdateNoReset(bool on)
{
    if (on)
        ExtendByChildren();
    else
        Rectangle()->MakeEmpty();
}

void TRectEntity::SetRelRef(double rx, double ry)
{
    if (RelRefX() == rx && RelRefY() == ry)
        return;
    const double oldDeltaX = DeltaRefX();
    const double oldDeltaY = DeltaRefY();
    RefPoint()->SetX(rx);
    RefPoint()->SetY(ry);
    Shift(oldDeltaX - DeltaRefX(), oldDeltaY - DeltaRefY());
}

void TRectEntity::ExtendRect(TElement* element)
{
    if (auto* point = dynamic_cast<TCoordinate*>(element))
        Rectangle()->ExtendByCoordinate(*point);
    else if (auto* entity = dynamic_cast<TRectEntity*>(element))
        Rectangle()->ExtendByRect(*entity->Rectangle());
}

bool TRectEntity::IsInside(double x1, double y1, double x2, double y2)
{
    return MinX() >= x1 && MinY() >= y1 && MaxX() <= x2 && MaxY() <= y2;
}

bool TRectEntity::Covers(double x1, double y1, double x2, double y2)
{
    return MinX() <= x1 && MinY() <= y1 && MaxX() >= x2 && MaxY() >= y2;
}

void TRectEntity::ExtendByChildren()
{
    for (int i = 0; i < Count(); ++i)
        ExtendRect(Items(i));
}

void TRectEntity::RecalcRect()
{
    Rectangle()->MakeEmpty();
    ExtendByChildren();
}

void TRectEntity::Assign(const TPersistent* source)
{
    const auto* other = dynamic_cast<const TRectEntity*>(source);
    if (!other)
        return;
    m_index = other->m_index;
    // A source without a rectangle has an empty one.
    SetRectangle(other->m_rect ? other->m_rect->Duplicate() : Create<TRectangle>());
}

qint32 TRectEntity::Size()
{
    qint32 size = TOwnerEntity::Size();
    if (m_rect)
        size = txt::addChecked(size, m_rect->Size());
    if (m_refPoint)
        size = txt::addChecked(size, m_refPoint->Size());
    return size;
}

void TRectEntity::ReadFrom(TReader& reader, TEntity* loader)
{
    TOwnerEntity::ReadFrom(reader, loader);
    readBounds(reader, *Rectangle());
}

void TRectEntity::WriteTo(TWriter& writer)
{
    TOwnerEntity::WriteTo(writer);
    writeBounds(writer, *Rectangle());
}

Owned<TElement> TRectEntity::MakeCopy()
{
    Owned<TElement> copy = TOwnerEntity::MakeCopy();
    if (auto* entity = dynamic_cast<TRectEntity*>(copy.get()))
        entity->Rectangle()->Assign(Rectangle());
    return copy;
}

void AddAndExtend(TRectEntity* entity, TElement* child)
{
    entity->ExtendRect(child);
    entity->Add(child);
}

// --- TSelectedElement, TDrawRectangle, TText -----------------------------------------------------

TClass TSelectedElement::StaticClass()
{
    static const TClassInfo info =
        describeClass<TSelectedElement, TRectEntity>("TSelectedElement", [](PropertyTable<TSelectedElement>& t) {
            t.string("SelectName", &TSelectedElement::SelectName, nullptr);
        });
    return &info;
}

QString TSelectedElement::SelectName() const
{
    const TElement* selected = m_selected.get();
    return selected ? selected->GetName() : QString();
}

TClass TDrawRectangle::StaticClass()
{
    using D = TDrawRectangle;
    static const TClassInfo info = describeClass<D, TRectEntity>("TDrawRectangle", [](PropertyTable<D>& t) {
        const QStringList penStyles = {"psSolid", "psDash",  "psDot",        "psDashDot",
                                       "psDashDotDot", "psClear", "psInsideFrame"};
        const QStringList brushStyles = {"bsSolid",     "bsClear",     "bsHorizontal", "bsVertical",
                                         "bsFDiagonal", "bsBDiagonal", "bsCross",      "bsDiagCross"};
        t.integer("PenColor", "TColor", &D::PenColor, &D::SetPenColor)
            .enumeration("PenStyle", "TPenStyle", penStyles, &D::PenStyle, &D::SetPenStyle)
            .floating("PenWidth", "Double", &D::PenWidth, &D::SetPenWidth)
            .integer("BrushColor", "TColor", &D::BrushColor, &D::SetBrushColor)
            .enumeration("BrushStyle", "TBrushStyle", brushStyles, &D::BrushStyle, &D::SetBrushStyle);
    });
    return &info;
}

Owned<TElement> TDrawRectangle::MakeCopy()
{
    Owned<TElement> copy = TRectEntity::MakeCopy();
    if (auto* drawn = dynamic_cast<TDrawRectangle*>(copy.get())) {
        drawn->m_penColor = m_penColor;
        drawn->m_penStyle = m_penStyle;
        drawn->m_penWidth = m_penWidth;
        drawn->m_brushColor = m_brushColor;
        drawn->m_brushStyle = m_brushStyle;
    }
    return copy;
}

TClass TText::StaticClass()
{
    static const TClassInfo info = describeClass<TText, TRectEntity>("TText", [](PropertyTable<TText>& t) {
        t.string("Text", &TText::Text, &TText::SetText)
            .floating("Orientation", "Double", &TText::Orientation, &TText::SetOrientation)
            .integer("Color", "TColor", &TText::Color, &TText::SetColor)
            .string("FontName", &TText::FontName, &TText::SetFontName)
            .set("FontStyle", "TFontStyles", &TText::FontStyle, &TText::SetFontStyle)
            .byte("Charset", "TFontCharset", &TText::Charset, &TText::SetCharset);
    });
    return &info;
}

void TText::ExtendByChildren()
{
    SetHeight(MaxY() - MinY());
}

void TText::ReadFrom(TReader& reader, TEntity* loader)
{
    TRectEntity::ReadFrom(reader, loader);
    m_text = reader.ReadString();
    m_orientation = reader.ReadFloat();
    SetHeight(reader.ReadFloat());
}

void TText::WriteTo(TWriter& writer)
{
    TRectEntity::WriteTo(writer);
    writer.WriteString(m_text);
    writer.WriteFloat(m_orientation);
    writer.WriteFloat(Height());
}

Owned<TElement> TText::MakeCopy()
{
    Owned<TElement> copy = TRectEntity::MakeCopy();
    if (auto* text = dynamic_cast<TText*>(copy.get())) {
        text->m_text = m_text;
        text->m_fontName = m_fontName;
        text->m_fontStyle = m_fontStyle;
        text->m_charset = m_charset;
        text->m_color = m_color;
        text->m_orientation = m_orientation;
        text->SetHeight(Height());
    }
    return copy;
}

void RegisterG_elemsUnit()
{
    RegisterUnitClasses({T2DCoordinate::StaticClass(), T3DCoordinate::StaticClass(), TRectangle::StaticClass(),
                        TDrawRectangle::StaticClass(), TText::StaticClass(), TRectEntity::StaticClass(),
                        TSelectedElement::StaticClass()});
}
