// Start-up registration of the framework's element classes, unit by unit.
#include "framework/FrameworkUnits.h"

#include "framework/E_dclass.h"
#include "framework/E_files.h"
#include "framework/E_time.h"
#include "framework/E_type.h"
#include "framework/Elements.h"
#include "framework/G_elems.h"
#include "framework/T_Recurs.h"
#include "framework/T_grp.h"
#include "framework/T_loader.h"
#include "framework/T_saver.h"
#include "framework/T_select.h"
#include "framework/Tools.h"
#include "framework/Worlds.h"
#include "framework/e_ElementModel.h"
#include "framework/e_Memory.h"
#include "framework/e_SysReg.h"
#include "framework/e_ToolModel.h"

void RegisterFrameworkUnits()
{
    // U_string, E_Class, U_props, e_InhMdl, T_Oper, Syntax, creacond, f_YesNo and F_gauge offer
    // no class by name.
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
