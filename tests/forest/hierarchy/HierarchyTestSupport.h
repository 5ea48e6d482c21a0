// Fixture and builders shared by the tests of the forest hierarchy.
#pragma once

#include "forest/hierarchy/Dilec.h"
#include "forest/hierarchy/Drevina.h"
#include "forest/hierarchy/Etaz.h"
#include "forest/hierarchy/LHC.h"
#include "forest/hierarchy/Oddeleni.h"
#include "forest/hierarchy/Porost.h"
#include "forest/hierarchy/PorostniSkupina.h"
#include "forest/support/ForestTestSupport.h"

namespace hierarchytest {

using foresttest::recorder;

// A unit header with the recording UI cleared and every class registered.
class HierarchyFixture : public foresttest::ForestFixture
{
protected:
    void SetUp() override
    {
        ForestFixture::SetUp();
        header = Create<TLHC>();
    }

    // Selects or creates the element of the key in a set and answers it.
    template<class T>
    static T* select(TLesniMnozina* set, const QString& key)
    {
        set->NovyNeboAktualniPrvek(key);
        return dynamic_cast<T*>(set->AktualniPrvek());
    }

    // Compartment 12, sub-compartment A, stand 1, group " 1a" of area, storey " 1 " of age.
    TEtaz* storey(double area = 1.0, qint32 age = 50)
    {
        auto* odd = select<TOddeleni>(header->OddeleniMN(), "12");
        odd->SetODD(12);
        auto* dil = select<TDilec>(odd->DilecMN(), "A");
        dil->SetDIL("A");
        auto* por = select<TPorost>(dil->PorostMN(), "1");
        por->SetPOR("1");
        auto* psk = select<TPorostniSkupina>(por->PorostniSkupinaMN(), "1a");
        psk->SetPSK("1a");
        psk->SetPlocha(area);
        auto* etaz = select<TEtaz>(psk->EtazMN(), "1");
        etaz->SetETAZ("1");
        etaz->SetVEK(age);
        return etaz;
    }

    // A species of the storey, with abbreviation, share and stock method.
    static TDrevina* species(TEtaz* etaz, const QString& abbreviation, qint32 zast = 100)
    {
        auto* d = select<TDrevina>(etaz->DrevinaMN(), abbreviation);
        d->SetDR_ZKR(abbreviation);
        d->SetZAST(zast);
        return d;
    }

    Owned<TLHC> header;
};

} // namespace hierarchytest
