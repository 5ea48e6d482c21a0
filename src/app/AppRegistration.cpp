// Start-up registration of the program's element and control classes after those of the layers below.
#include "app/AppRegistration.h"

#include "app/sources/DecisionRows.h"
#include "app/sources/LesniCelek.h"
#include "app/sources/vex/EditControls.h"
#include "forest/base/ForestRegistration.h"
#include "framework/core/ClassRegistry.h"
#include "framework/core/StartupRegistration.h"

void RegisterAppUnits()
{
    RegisterFrameworkUnits();
    RegisterForestUnits();
    RegisterUnitClasses({TRadekRozhodnuti::StaticClass(), TRadekRozhodnutiMN::StaticClass()});
    RegisterUnitClasses({TObdelniky::StaticClass(), TObdelnikyMN::StaticClass()});
    RegisterUnitClasses({TLesniCelek::StaticClass()});
    vex::RegisterEditControls();
}
