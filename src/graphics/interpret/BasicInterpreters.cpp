// Concrete interpreters: one draws spatial entities, one lists elements as text.
#include "graphics/interpret/BasicInterpreters.h"

#include "framework/core/ClassRegistry.h"
#include "graphics/devices/Device.h"
#include "graphics/space/PolyElements.h"
#include "platform/paint/Paint.h"

namespace {

constexpr double pointCrossPixels = 2.0;   // half the arm of a point's cross

void drawPoint(TDevice& device, TPointElement& point)
{
    const double arm = device.Projection()->PixelLengthToWorld(pointCrossPixels);
    const double x = point.AbsRefX(), y = point.AbsRefY();
    device.MoveTo(x - arm, y);
    device.LineTo(x + arm, y);
    device.MoveTo(x, y - arm);
    device.LineTo(x, y + arm);
}

} // namespace

TClass TSpaceEntityInterpret::StaticClass()
{
    static const TClassInfo info = describeClass<TSpaceEntityInterpret, TInterpret>(
        "TSpaceEntityInterpret", [](PropertyTable<TSpaceEntityInterpret>& t) {
            t.integer("PenColor", "TColor", &TSpaceEntityInterpret::PenColor, &TSpaceEntityInterpret::SetPenColor)
                .integer("BrushColor", "TColor", &TSpaceEntityInterpret::BrushColor, &TSpaceEntityInterpret::SetBrushColor);
        });
    return &info;
}

void TSpaceEntityInterpret::Action(TElement* element)
{
    TDevice* device = Device();
    if (!device || !element)
        return;
    device->SetPen(paint::makePen(static_cast<paint::ColorRef>(m_penColor), 0, paint::PenStyle::Solid));
    device->SetBrush(paint::makeBrush(static_cast<paint::ColorRef>(m_brushColor), paint::BrushStyle::Solid));
    if (auto* area = dynamic_cast<TAreaElement*>(element)) {
        device->DrawArea(area);
    } else if (auto* line = dynamic_cast<TPolyLineElement*>(element)) {
        device->DrawPolyline(line);
    } else if (auto* text = dynamic_cast<TTextElement*>(element)) {
        device->SetTextAngle(text->Angle());
        device->TextOut(text->AbsRefX(), text->AbsRefY(), text->Text());
    } else if (auto* point = dynamic_cast<TPointElement*>(element)) {
        drawPoint(*device, *point);
    }
}

TClass TTextListInterpret::StaticClass()
{
    static const TClassInfo info = describeClass<TTextListInterpret, TInterpret>("TTextListInterpret");
    return &info;
}

void TTextListInterpret::Action(TElement* element)
{
    TDevice* device = Device();
    if (!device || !element)
        return;
    QString line = element->ClassName() + QStringLiteral(": ") + element->GetName();
    if (auto* entity = dynamic_cast<TSpaceEntity*>(element))
        line += QStringLiteral(" (SpaceID %1)").arg(entity->SpaceID());
    device->WriteLn(line);
}

void RegisterBasicInterpreterClasses()
{
    RegisterUnitClasses({TSpaceEntityInterpret::StaticClass(), TTextListInterpret::StaticClass()});
}
