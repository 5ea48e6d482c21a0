// Start-up registration of the forest hierarchy's classes.
#include "forest/hierarchy/HierarchyRegistration.h"

#include "forest/hierarchy/Dilec.h"
#include "forest/hierarchy/Drevina.h"
#include "forest/hierarchy/Etaz.h"
#include "forest/hierarchy/Kategorie.h"
#include "forest/hierarchy/LHC.h"
#include "forest/hierarchy/NonStockedLand.h"
#include "forest/hierarchy/Oddeleni.h"
#include "forest/hierarchy/Porost.h"
#include "forest/hierarchy/PorostniSkupina.h"
#include "forest/hierarchy/Poskozeni.h"
#include "forest/hierarchy/Zalesneni.h"
#include "framework/core/ClassRegistry.h"

void RegisterE_LesOddUnit()
{
    RegisterUnitClasses({
        TLesniPrvek::StaticClass(),      TRadekPole::StaticClass(),         TFPole::StaticClass(),
        TLesniSlozenyPrvek::StaticClass(), TLesniPlosnyPrvek::StaticClass(), TLHC::StaticClass(),
        TOddeleni::StaticClass(),        TOddeleniMN::StaticClass(),        TDilec::StaticClass(),
        TDilecMN::StaticClass(),         TPorost::StaticClass(),            TPorostMN::StaticClass(),
        TPorostniSkupina::StaticClass(), TPorostniSkupinaMN::StaticClass(), TEtaz::StaticClass(),
        TEtazMN::StaticClass(),          TDrevina::StaticClass(),           TDrevinaMN::StaticClass(),
        TPoskozeni::StaticClass(),       TPoskozeniMN::StaticClass(),       TZalesneni::StaticClass(),
        TZalesneniMN::StaticClass(),     TLesniPlosnyNeporostniPrvek::StaticClass(), TBezlesi::StaticClass(),
        TBezlesiMN::StaticClass(),       TJinyPozemek::StaticClass(),       TJinyPozemekMN::StaticClass(),
        TOstatni::StaticClass(),         TOstatniMN::StaticClass(),         TKategorie::StaticClass(),
        TKategorieMN::StaticClass(),     TOrg_Uroven::StaticClass(),        TOrg_UrovenMN::StaticClass(),
    });
}
