// Start-up registration of the framework's element classes, unit by unit.
#include "framework/core/StartupRegistration.h"

#include "framework/core/Elements.h"
#include "framework/core/World.h"
#include "framework/elements/DatabaseClasses.h"
#include "framework/elements/FileElements.h"
#include "framework/elements/MemoryStatus.h"
#include "framework/elements/PlaneGraphics.h"
#include "framework/elements/Timers.h"
#include "framework/expressions/Selectors.h"
#include "framework/models/ElementModel.h"
#include "framework/models/SystemRegister.h"
#include "framework/models/ToolModel.h"
#include "framework/streams/StreamLoader.h"
#include "framework/streams/StreamSaver.h"
#include "framework/tools/Groupper.h"
#include "framework/tools/Recursors.h"
#include "framework/tools/Tools.h"
#include "framework/values/TypedValues.h"

void RegisterFrameworkUnits()
{
    // The text routines, class registry, properties, inheritance models, operators, condition
    // parser and dialogs offer no class by name.
    RegisterElementsUnit();
    RegisterG_elemsUnit();
    RegisterE_MemoryUnit();
    RegisterE_typeUnit();
    RegisterE_SysRegUnit();
    RegisterE_ElementModelUnit();
    RegisterE_ToolModelUnit();
    RegisterWorldsUnit();
    RegisterToolsUnit();
    RegisterE_timeUnit();
    RegisterT_RecursUnit();
    RegisterT_grpUnit();
    RegisterT_saverUnit();
    RegisterT_loaderUnit();
    RegisterE_filesUnit();
    RegisterT_selectUnit();
    RegisterE_dclassUnit();
}
