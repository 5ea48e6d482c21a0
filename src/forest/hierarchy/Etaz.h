// Storeys (ETAZ) and their set.
#pragma once

#include "forest/hierarchy/HierarchySupport.h"

namespace db {
class Table;
}

class TDrevinaMN;
class TDrevina;
class TZalesneniMN;
class TZalesneni;
class TPorostniSkupina;

// A storey of a stand group: age, stocking, rotation, regeneration and felling data; holds its
// tree species and afforestation items.
class TEtaz : public TLesniPrvek
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
    void AfterConstruction() override;

    const QString& ETAZ() const { return m_etaz; }
    void SetETAZ(const QString& etaz);
    qint32 HS() const { return m_hs; }
    void SetHS(qint32 v) { m_hs = v; }
    double ETAZ_PP() const { return m_etazPP; }
    void SetETAZ_PP(double v) { m_etazPP = v; }
    qint32 OBMYTI() const { return m_obmyti; }
    void SetOBMYTI(qint32 v) { m_obmyti = v; }
    qint32 OBN_DOBA() const { return m_obnDoba; }
    void SetOBN_DOBA(qint32 v) { m_obnDoba = v; }
    qint32 VEK() const { return m_vek; }
    void SetVEK(qint32 v) { m_vek = v; }
    qint32 ZAKM() const { return m_zakm; }
    void SetZAKM(qint32 v) { m_zakm = v; }
    qint32 M_Z_ZASOBY() const { return m_mZZasoby; }
    void SetM_Z_ZASOBY(qint32 v) { m_mZZasoby = v; }
    double TV_P() const { return m_tvP; }
    void SetTV_P(double v) { m_tvP = v; }
    double TO_P() const { return m_toP; }
    void SetTO_P(double v) { m_toP = v; }
    double PRO_P() const { return m_proP; }
    void SetPRO_P(double v) { m_proP = v; }
    qint32 POC_OBNOVY() const { return m_pocObnovy; }
    void SetPOC_OBNOVY(qint32 v) { m_pocObnovy = v; }

    // Regeneration-felling percentage from rotation, regeneration period and age.
    qint32 ProcentoTODleObmObn() const;
    // The stored value; the computed percentage while it is -1.
    qint32 M_TEZ_PROC() const;
    void SetM_TEZ_PROC(qint32 v) { m_mTezProc = v; }
    QString ODVOZ_TEZ();
    QString MZDs() const;
    void SetMZDs(const QString& text);
    QString TO_DUVOD();
    QString TO_ZPUSOB() const;
    qint32 MZDDleHS();
    QString ZAL_DRUH();
    double ZAL_P();
    QString CeleOznaceni();
    // Appends CeleOznaceni to the text (the owners' designations built into one text).
    void appendCeleOznaceni(QString& text);
    qint32 ZastoupeniDrevin();
    double RedukovanaPlochaEtDleZasoby();
    double PocitaneZakmeneniFlo();
    qint32 VekovyStupen() const { return (m_vek + 9) / 10; }
    qint32 NejmensiTabulkovaZasoba();
    bool MusiBytMZD();
    bool JeIndex_vxyz() const;
    qint32 DruhVykonu();

    TDrevinaMN* DrevinaMN();
    TDrevina* Drevina();
    TDrevina* DrevinaAt(int index);
    TZalesneniMN* ZalesneniMN();
    TZalesneni* Zalesneni();
    TZalesneni* ZalesneniAt(int index);
    TPorostniSkupina* OwnerPorostniSkupina();

    // The marked areas take the stand group's area A.
    void ApplyMarkedAreas(double area);
    // Recomputes the stocks, shares, stocking and thinning of the species from the stand
    // group's area; nothing when that area is below 0.001 ha.
    void RecalculateStocks();

private:
    // The computed and converting part of the property table.
    static void describeComputed(PropertyTable<TEtaz>& t);
    qint32 speciesSum(const char* property);
    int stockMix();
    void recalculateSpeciesStock(TDrevina& species, double area);
    void sharesFromReducedAreas(int mix, double area);

    QString m_etaz;
    qint32 m_hs = 0;
    double m_etazPP = 0.0;
    double m_etazPS = 0.0;
    bool m_etazPSMenit = false;
    qint32 m_obmyti = 0;
    qint32 m_obnDoba = 0;
    qint32 m_pocObnovy = 0;
    qint32 m_vek = 0;
    qint32 m_zakm = 0;
    qint32 m_mZZasoby = 0;
    qint32 m_mTezProc = 0;
    QString m_odvozTez;
    qint32 m_rokZjisteniZasoby = 0;
    qint32 m_mzd = 0;   // -1: not set
    QString m_hospTv;
    QString m_ekolHod;
    double m_proP = 0.0;
    bool m_proPMenit = false;
    QString m_proNal;
    qint32 m_proPoc = 0;
    double m_tvP = 0.0;
    bool m_tvPMenit = false;
    QString m_tvNal;
    qint32 m_tvPoc = 0;
    double m_toP = 0.0;
    bool m_toPMenit = false;
    QString m_toNal;
    QString m_toDuvod;
    QString m_toZpusob;
    double m_tvybP = 0.0;
    QString m_tvybNal;
    qint32 m_zpTezSt = 0;
    qint32 m_terTypSt = 0;
    qint32 m_nalehSt = 0;
    bool m_plochaZalesneniMenit = false;
    forest::ChildSlot<TZalesneniMN> m_zalesneniMN;
    forest::ChildSlot<TDrevinaMN> m_drevinaMN;
};

// Minimum felling age of a management set from the species-mixture codebook (rows of the set
// whose LT holds the stand group's forest type, else its first two characters and a blank, else
// rows without forest type); 0 without a table or a matching row. The table's range is dropped
// again afterwards.
qint32 MinimumFellingAgeByManagementSet(db::Table* melDrev, qint32 hs, const QString& lt);

// The storey set of a stand group, prefix "ETAZ"; keys are normalised as ETAZ is.
class TEtazMN : public TLesniMnozina
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
    TEtazMN();

    void NovyPrvek(const QString& key) override;
    void SetJmenoAktualnihoPrvku(const QString& key) override;
    void NovyNeboAktualniPrvek(const QString& key) override;
};
