// Polylines and areas: lengths, signed areas, holes, proximity, and areas bounded by shared lines.
#include "graphics/space/PolyElements.h"

#include "framework/core/ClassRegistry.h"
#include "framework/core/Messages.h"
#include "graphics/geometry/PlaneGeometry.h"
#include "graphics/space/PropertyBags.h"
#include "platform/Exceptions.h"

#include <algorithm>
#include <cmath>

namespace {

double signedRingArea(const std::vector<TPoint2D>& p)
{
    const size_t n = p.size();
    if (n == 0)
        return 0.0;
    double a = 0.0;
    for (size_t i = 1; i < n; ++i)
        a += (p[i].X - p[i - 1].X) * (p[i].Y + p[i - 1].Y) / 2;
    a += (p[0].X - p[n - 1].X) * (p[0].Y + p[n - 1].Y) / 2;
    return a;
}

int hexDigit(QChar c)
{
    const ushort u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    return -1;
}

// The line's points in the orientation it runs in the ring.
std::vector<TPoint2D> orientedPoints(TPolyLineElement& line, bool reversed)
{
    std::vector<TPoint2D> p = line.Points();
    if (reversed)
        std::reverse(p.begin(), p.end());
    return p;
}

} // namespace

// --- TPolyElement ------------------------------------------------------------------------------

TClass TPolyElement::StaticClass()
{
    static const TClassInfo info = describeClass<TPolyElement, TSpaceEntity>("TPolyElement", [](PropertyTable<TPolyElement>& t) {
        t.integer("CoordsCount", &TPolyElement::CoordsCount, nullptr)
            .floating("Length", "Double", &TPolyElement::Length, nullptr)
            .floating("Area1", "Double", &TPolyElement::Area1, nullptr);
    });
    return &info;
}

qint32 TPolyElement::CoordsCount()
{
    return Count();
}

T2DCoordinate* TPolyElement::CoordAt(int i)
{
    if (i < 0 || i >= Count())
        return nullptr;
    return dynamic_cast<T2DCoordinate*>(Items(i));
}

std::vector<TPoint2D> TPolyElement::Points()
{
    std::vector<TPoint2D> points;
    const int n = CoordsCount();
    points.reserve(static_cast<size_t>(std::max(0, n)));
    for (int i = 0; i < n; ++i)
        if (const T2DCoordinate* c = CoordAt(i))
            points.push_back({c->GetX(), c->GetY()});
    return points;
}

double TPolyElement::Area1()
{
    return signedRingArea(Points());
}

double TPolyElement::Length()
{
    const std::vector<TPoint2D> p = Points();
    double sum = 0.0;
    for (size_t i = 1; i < p.size(); ++i)
        sum += Distance(p[i - 1].X, p[i - 1].Y, p[i].X, p[i].Y);
    return sum;
}

void TPolyElement::AddItems(TElement* source, bool forward)
{
    auto* from = dynamic_cast<TEntity*>(source);
    if (!from || from == this)
        return;
    const int n = from->Count();
    for (int k = 0; k < n; ++k)
        AddAndExtend(this, from->Items(forward ? k : n - 1 - k));
}

// --- TPolyLineElement --------------------------------------------------------------------------

TClass TPolyLineElement::StaticClass()
{
    static const TClassInfo info = describeClass<TPolyLineElement, TPolyElement>("TPolyLineElement");
    return &info;
}

bool TPolyLineElement::IsNear(const TCoordinate& c, double tolerance)
{
    const std::vector<TPoint2D> p = Points();
    if (p.size() < 2)
        return false;
    const double limit = std::abs(tolerance);
    const double x = c.GetX(), y = c.GetY();
    for (size_t i = 0; i < p.size(); ++i) {
        if (Distance(p[i].X, p[i].Y, x, y) < limit)
            return true;
        if (i + 1 == p.size())
            break;
        const PerpendicularResult r = PerpendicularFoot(x, y, p[i].X, p[i].Y, p[i + 1].X, p[i + 1].Y);
        if (r.OnSegment && r.Dist < limit)
            return true;
    }
    return false;
}

// --- TAreaElement ------------------------------------------------------------------------------

TClass TAreaElement::StaticClass()
{
    static const TClassInfo info = describeClass<TAreaElement, TPolyElement>("TAreaElement", [](PropertyTable<TAreaElement>& t) {
        t.floating("SavedArea", "Double", &TAreaElement::SavedArea, nullptr)
            .object<TRectEntity>("Holes", [](TAreaElement& a) -> TRectEntity* { return a.Holes(); }, nullptr)
            .boolean("IsHole", &TAreaElement::IsHole, &TAreaElement::SetIsHole)
            .object<TAreaElement>("HoleOwnerArea", &TAreaElement::HoleOwnerArea, nullptr)
            .floating("WholeArea", "Double", &TAreaElement::WholeArea, nullptr);
    });
    return &info;
}

TAreaElement* TAreaElement::HoleOwnerArea() const
{
    auto* holes = dynamic_cast<THolesEntity*>(GetOwnerOfClass(THolesEntity::StaticClass()));
    return holes ? holes->OwnerArea() : nullptr;
}

double TAreaElement::WholeArea()
{
    m_savedArea = CoordAt(0) ? signedRingArea(Points()) : 0.0;
    return m_savedArea;
}

// The original subtracted the holes from the signed sum, so a counter-clockwise ring of 100
// with a hole of 4 gave -104 instead of -96.
double TAreaElement::Area1()
{
    const double whole = WholeArea();
    double holes = 0.0;
    if (THolesEntity* h = Holes())
        for (int i = 0; i < h->Count(); ++i)
            if (auto* hole = dynamic_cast<TAreaElement*>(h->Items(i)))
                holes += std::abs(hole->WholeArea());
    return (whole < 0 ? -1.0 : 1.0) * (std::abs(whole) - holes);
}

void TAreaElement::AddHole(TAreaElement* hole)
{
    if (!hole || hole == this)
        return;
    THolesEntity* holes = Holes();
    if (!holes) {
        holes = AddNew<THolesEntity>();
        holes->SetOwnerArea(this);
        m_holes = holes;
    }
    AddAndExtend(holes, hole);
    hole->SetIsHole(true);
}

bool TAreaElement::PointInside(double x, double y)
{
    return PointInPolygon(Points(), x, y);
}

bool TAreaElement::PointInArea(double x, double y)
{
    if (!PointInside(x, y))
        return false;
    if (THolesEntity* h = Holes())
        for (int i = 0; i < h->Count(); ++i)
            if (auto* hole = dynamic_cast<TAreaElement*>(h->Items(i)); hole && hole->PointInside(x, y))
                return false;
    return true;
}

bool TAreaElement::IsNear(const TCoordinate& c, double tolerance)
{
    const double x = c.GetX(), y = c.GetY();
    return Covers(x - tolerance, y - tolerance, x + tolerance, y + tolerance) && PointInArea(x, y);
}

// --- THolesEntity ------------------------------------------------------------------------------

TClass THolesEntity::StaticClass()
{
    static const TClassInfo info = describeClass<THolesEntity, TRectEntity>("THolesEntity", [](PropertyTable<THolesEntity>& t) {
        t.object<TAreaElement>("OwnerArea", &THolesEntity::OwnerArea, nullptr);
    });
    return &info;
}

// --- TPolyLineAreaElement ----------------------------------------------------------------------

TClass TPolyLineAreaElement::StaticClass()
{
    static const TClassInfo info = describeClass<TPolyLineAreaElement, TAreaElement>(
        "TPolyLineAreaElement", [](PropertyTable<TPolyLineAreaElement>& t) {
            t.string("LinesOriginesHex", &TPolyLineAreaElement::LinesOriginesHex,
                     &TPolyLineAreaElement::SetLinesOriginesHex);
        });
    return &info;
}

bool TPolyLineAreaElement::IsReversed(int k) const
{
    if (k < 0 || k / 8 >= m_bits.size())
        return false;
    return (static_cast<quint8>(m_bits[k / 8]) >> (k % 8)) & 1;
}

void TPolyLineAreaElement::SetReversed(int k, bool on)
{
    if (k < 0)
        return;
    if (k / 8 >= m_bits.size())
        m_bits.append(QByteArray(k / 8 + 1 - m_bits.size(), '\0'));
    quint8 byte = static_cast<quint8>(m_bits[k / 8]);
    const quint8 mask = static_cast<quint8>(1u << (k % 8));
    byte = on ? (byte | mask) : (byte & ~mask);
    m_bits[k / 8] = static_cast<char>(byte);
}

QString TPolyLineAreaElement::LinesOriginesHex() const
{
    return QString::fromLatin1(m_bits.toHex().toUpper());
}

void TPolyLineAreaElement::SetLinesOriginesHex(const QString& text)
{
    if (text.size() % 2 != 0)
        throw EConvertError(QStringLiteral("Neplatný zápis orientace čar (lichý počet číslic): %1").arg(text.left(64)));
    QByteArray bits;
    bits.reserve(text.size() / 2);
    for (qsizetype i = 0; i < text.size(); i += 2) {
        const int hi = hexDigit(text[i]);
        const int lo = hexDigit(text[i + 1]);
        if (hi < 0 || lo < 0)
            throw EConvertError(QStringLiteral("Neplatný zápis orientace čar na pozici %1").arg(i + 1));
        bits.append(static_cast<char>(hi * 16 + lo));
    }
    m_bits = bits;
}

void TPolyLineAreaElement::insertBit(int k, bool on)
{
    const int count = static_cast<int>(m_bits.size()) * 8;
    for (int i = count; i > k; --i)
        SetReversed(i, IsReversed(i - 1));
    SetReversed(k, on);
}

void TPolyLineAreaElement::removeBit(int k)
{
    const int count = static_cast<int>(m_bits.size()) * 8;
    for (int i = k; i + 1 < count; ++i)
        SetReversed(i, IsReversed(i + 1));
    if (count > 0)
        SetReversed(count - 1, false);
}

void TPolyLineAreaElement::AddLine(TPolyLineElement* line, bool reversed)
{
    if (!line)
        return;
    AddAndExtend(this, line);
    SetReversed(Count() - 1, reversed);
}

qint32 TPolyLineAreaElement::CoordsCount()
{
    qint32 n = 0;
    for (int k = 0; k < Count(); ++k)
        if (auto* line = dynamic_cast<TPolyLineElement*>(Items(k)))
            n += std::max(0, line->CoordsCount() - 1);
    return n;
}

T2DCoordinate* TPolyLineAreaElement::CoordAt(int i)
{
    if (i < 0)
        return nullptr;
    for (int k = 0; k < Count(); ++k) {
        auto* line = dynamic_cast<TPolyLineElement*>(Items(k));
        if (!line)
            continue;
        const int n = line->CoordsCount();
        const int m = std::max(0, n - 1);
        if (i < m)
            return line->CoordAt(IsReversed(k) ? n - 1 - i : i);
        i -= m;
    }
    return nullptr;
}

Owned<TAreaElement> TPolyLineAreaElement::ToPlainArea()
{
    Owned<TAreaElement> area = Create<TAreaElement>();
    bool first = true;
    for (int k = 0; k < Count(); ++k) {
        auto* line = dynamic_cast<TPolyLineElement*>(Items(k));
        if (!line)
            continue;
        const std::vector<TPoint2D> p = orientedPoints(*line, IsReversed(k));
        for (size_t j = first ? 0 : 1; j < p.size(); ++j)
            AddAndExtend(area.get(), Create<T2DCoordinate>(p[j].X, p[j].Y).release());
        first = false;
    }
    if (THolesEntity* holes = Holes())
        for (int i = 0; i < holes->Count(); ++i) {
            if (auto* lineHole = dynamic_cast<TPolyLineAreaElement*>(holes->Items(i)))
                area->AddHole(lineHole->ToPlainArea().release());
            else if (auto* hole = dynamic_cast<TAreaElement*>(holes->Items(i)))
                area->AddHole(hole);
        }
    area->SetRectangle(Rectangle()->Duplicate());
    return area;
}

bool TPolyLineAreaElement::PointInside(double x, double y)
{
    return ToPlainArea()->PointInside(x, y);
}

bool TPolyLineAreaElement::IsNear(const TCoordinate& c, double tolerance)
{
    return ToPlainArea()->IsNear(c, tolerance);
}

void TPolyLineAreaElement::AddItems(TElement* source, bool forward)
{
    auto* from = dynamic_cast<TEntity*>(source);
    if (!from || from == this)
        return;
    const int n = from->Count();
    for (int k = 0; k < n; ++k)
        AddLine(dynamic_cast<TPolyLineElement*>(from->Items(forward ? k : n - 1 - k)), false);
}

void TPolyLineAreaElement::Remove(TElement* element)
{
    const int k = IndexOf(element);
    TAreaElement::Remove(element);
    if (k >= 0)
        removeBit(k);
}

void TPolyLineAreaElement::HandleMessage(TLumexMessage& msg, bool& handled)
{
    TAreaElement::HandleMessage(msg, handled);
    if (handled || msg.Message() != AddDataElementMessage)
        return;
    auto* split = dynamic_cast<TPolyLineElement*>(msg.Sender());
    auto* added = dynamic_cast<TPolyLineElement*>(msg.Data());
    const int k = IndexOf(split);
    if (!split || !added || k < 0)
        return;
    const bool reversed = IsReversed(k);
    const int at = reversed ? k : k + 1;
    ExtendRect(added);
    Insert(at, added);
    insertBit(at, reversed);
    handled = true;
}

void RegisterSpaceEntityClasses()
{
    RegisterUnitClasses({TSpaceEntity::StaticClass(), TPointElement::StaticClass(), TPointString::StaticClass(),
                         TTextElement::StaticClass(), TTextString::StaticClass(), TPolyElement::StaticClass(),
                         TPolyLineElement::StaticClass(), TPolyLineString::StaticClass(), TAreaElement::StaticClass(),
                         TAreaString::StaticClass(), TPolyLineAreaElement::StaticClass(),
                         TSpaceLineBegEndCell::StaticClass(), THolesEntity::StaticClass()});
}
