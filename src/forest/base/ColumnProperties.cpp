// Column-property classes of the forest model, created only by class name.
#include "forest/base/ColumnProperties.h"

TClass TVlastnosti::StaticClass()
{
    static const TClassInfo info = describeClass<TVlastnosti, TOwnerEntity>("TVlastnosti");
    return &info;
}

TClass TVlastnostiSloupcu::StaticClass()
{
    static const TClassInfo info = describeClass<TVlastnostiSloupcu, TOwnerEntity>("TVlastnostiSloupcu");
    return &info;
}

TClass TVlastnostiMN::StaticClass()
{
    static const TClassInfo info = describeClass<TVlastnostiMN, TLesniMnozina>("TVlastnostiMN");
    return &info;
}

TClass TVlastnostiSloupcuMN::StaticClass()
{
    static const TClassInfo info = describeClass<TVlastnostiSloupcuMN, TLesniMnozina>("TVlastnostiSloupcuMN");
    return &info;
}
