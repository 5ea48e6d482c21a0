// The codebook container of a forest unit: codebook tables beside the program and their views.
#pragma once

#include "framework/core/Elements.h"

// The codebook container (tciselnik) of one forest unit.
class tciselnik : public TOwnerEntity
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
};
