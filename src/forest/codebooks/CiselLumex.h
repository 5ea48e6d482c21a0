// The codebook root of a forest unit and the registration of the codebook sets.
#pragma once

#include "forest/codebooks/CodebookSets.h"
#include "forest/codebooks/Majetky.h"

// The codebook root element (TCiselLumex) that the forest unit names "CiselLumex": on creation
// it creates and keeps, in this order, the management sets, the names of organisational levels
// 1 and 2, the forest managers, the cadastral territories, the owners and the decision types
// (seven fixed items).
class TCiselLumex : public TObecnyLesniPrvek
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    void AfterConstruction() override;

    TCisHsMN* CisHsMN() const { return m_cisHs.get(); }
    TKodPopisMN* OrgUroven1MN() const { return m_orgUroven1.get(); }
    TKodPopisMN* OrgUroven2MN() const { return m_orgUroven2.get(); }
    TOLHMN* OLHMN() const { return m_olh.get(); }
    TKodPopisMN* KatastryMN() const { return m_katastry.get(); }
    TmajetkyMN* MajetkyMN() const { return m_majetky.get(); }
    TKodPopisMN* TypyRozhodnutiMN() const { return m_typyRozhodnuti.get(); }

private:
    WeakRef<TCisHsMN> m_cisHs;
    WeakRef<TKodPopisMN> m_orgUroven1;
    WeakRef<TKodPopisMN> m_orgUroven2;
    WeakRef<TOLHMN> m_olh;
    WeakRef<TKodPopisMN> m_katastry;
    WeakRef<TmajetkyMN> m_majetky;
    WeakRef<TKodPopisMN> m_typyRozhodnuti;
};

// Registers Tmajetky, TmajetkyMN, TMajPoPorostech, TMajPoPorostechMN, TTransforDleMajiteleMN and
// TTransforDleMajitele, in that order.
void RegisterLesCisOrUnit();
