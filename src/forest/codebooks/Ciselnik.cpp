// The codebook container of a forest unit: codebook tables beside the program and their views.
#include "forest/codebooks/Ciselnik.h"

TClass tciselnik::StaticClass()
{
    static const TClassInfo info = describeClass<tciselnik, TOwnerEntity>("tciselnik");
    return &info;
}
