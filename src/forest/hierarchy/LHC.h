// The forest unit header: its data, its compartment set and the "always" chain of current levels.
#pragma once

#include "forest/hierarchy/AreaElements.h"

class TOddeleniMN;
class TOddeleni;
class TDilec;
class TPorost;
class TPorostniSkupina;
class TEtaz;
class TDrevina;
class TJinyPozemek;
class TBezlesi;

// Header of one forest unit (LHC). Holds one compartment at a time (keep-only-one set).
class TLHC : public TLesniSlozenyPrvek
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    qint32 LHC_KOD() const { return m_lhcKod; }
    const QString& LHC_NAZ() const { return m_lhcNaz; }
    const QString& PUVOD_DAT() const { return m_puvodDat; }
    QString UHUL_KOD() const;
    qint32 ETAT() const;

    // The compartment set, created on first use in keep-only-one mode.
    TOddeleniMN* OddeleniMN();
    TOddeleni* Oddeleni();
    // The current element of each level under the current elements above it; every missing
    // level is created on the way with the key "Vzdy".
    TOddeleni* AktualniOddeleniVzdy();
    TDilec* AktualniDilecVzdy();
    TPorost* AktualniPorostVzdy();
    TPorostniSkupina* AktualniPorostniSkupinaVzdy();
    TEtaz* AktualniEtazVzdy();
    TDrevina* AktualniDrevinaVzdy();
    TJinyPozemek* AktualniJinyPozemekVzdy();
    TBezlesi* AktualniBezlesiVzdy();

private:
    qint32 m_lhcKod = 0;
    qint32 m_lhcKodId = 0;
    QString m_lhcNaz;
    QString m_lhpOd;
    QString m_lhpDo;
    QString m_uhulKod;
    QString m_puvodDat;
    qint32 m_etatTo = 0;
    qint32 m_etatTv = 0;
    qint32 m_etatTvyb = 0;
    QString m_lhpZOd;
    QString m_lhpZDo;
    QString m_lhpZTax;
    QString m_lhpTax;
    QString m_lhpLic;
    QString m_lhpZLic;
    double m_mvychDo40 = 0.0;
    qint32 m_tezProc = 0;
    qint32 m_norPas = 0;
    qint32 m_lhcPnPro = 0;
    qint32 m_lhcInd = 0;
    qint32 m_lhcMax = 0;
    bool m_verzeProPark = false;
    bool m_lho = false;
    forest::ChildSlot<TOddeleniMN> m_oddeleniMN;
};
