// Concrete interpreters: one draws spatial entities, one lists elements as text.
#pragma once

#include "graphics/interpret/Interpret.h"

// Draws the element it is given (not its children) by kind: areas with their holes, polylines,
// texts at their reference point and angle, points as a small cross; lines in PenColor, areas
// filled with BrushColor (black by default).
class TSpaceEntityInterpret : public TInterpret
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    TColor PenColor() const { return m_penColor; }
    void SetPenColor(TColor c) { m_penColor = c; }
    TColor BrushColor() const { return m_brushColor; }
    void SetBrushColor(TColor c) { m_brushColor = c; }

    bool DescendTest(TElement*) override { return false; }
    void Action(TElement* element) override;

private:
    TColor m_penColor = 0;
    TColor m_brushColor = 0;
};

// Writes one line per element it is given: class name, name and, for spatial entities, SpaceID.
class TTextListInterpret : public TInterpret
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    bool DescendTest(TElement*) override { return false; }
    void Action(TElement* element) override;
};

void RegisterBasicInterpreterClasses();
