// Start-up registration of the forest model's element classes, unit by unit.
#include "forest/base/ForestRegistration.h"

#include "forest/base/ColumnProperties.h"
#include "forest/base/IniLists.h"
#include "forest/codebooks/CiselLumex.h"
#include "forest/hierarchy/HierarchyRegistration.h"
#include "framework/core/ClassRegistry.h"

void RegisterELesObecUnit()
{
    RegisterUnitClasses({TVlastnosti::StaticClass(), TVlastnostiMN::StaticClass(), TVlastnostiSloupcu::StaticClass(),
                         TVlastnostiSloupcuMN::StaticClass(), TObecnyLesniPrvek::StaticClass(),
                         TLesniMnozina::StaticClass()});
}

void RegisterForestUnits()
{
    RegisterLesrecurUnit();
    RegisterELesObecUnit();
    RegisterLesCisOrUnit();
    RegisterE_LesOddUnit();
}
