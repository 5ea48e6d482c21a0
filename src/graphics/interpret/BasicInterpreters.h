// Concrete interpreters: one draws spatial entities, one lists elements as text.
#pragma once

#include "graphics/interpret/Interpret.h"

// Draws the element it is given (not its children) by kind: areas with their holes, polylines,
// texts at their reference point and angle, points as a small cross.
class TSpaceEntityInterpret : public TInterpret
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    bool DescendTest(TElement*) override { return false; }
    void Action(TElement* element) override;
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
