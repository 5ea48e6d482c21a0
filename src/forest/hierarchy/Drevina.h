// Tree species of a storey and their set.
#pragma once

#include "forest/hierarchy/HierarchySupport.h"

class TPoskozeniMN;
class TPoskozeni;
class TEtaz;
class TPorostniSkupina;

// How the stock of a species was given.
enum class TZpZadZas { dleZast, dleVsHA, dleVsCel, DleKmenu, DleKrZak, dleZastVolne, dleNevim };
// How the thinning of a species was given.
enum class TZpZadTV { TVDleProc, TVDleHA, TVDleCEL };

// One tree species of a storey: share, mean tree, site class, stocks, thinning, felling and the
// genetic class that decides a row of the list of recognised stands.
class TDrevina : public TLesniPrvek
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    // The stored abbreviation trimmed (source kind 6: a pure mixture reads SOJ or SOL).
    QString DR_ZKR();
    void SetDR_ZKR(const QString& v) { m_drZkr = v; }
    qint32 ZAST() const { return m_zast; }
    void SetZAST(qint32 v) { m_zast = v; }
    qint32 TLOUSTKA() const { return m_tloustka; }
    void SetTLOUSTKA(qint32 v) { m_tloustka = v; }
    qint32 VYSKA() const { return m_vyska; }
    void SetVYSKA(qint32 v) { m_vyska = v; }
    qint32 BON_A() const { return m_bonA; }
    // 1 to 9 are relative site classes (through SetBON_RVyhl); other values are stored.
    void SetBON_A(qint32 v);
    qint32 ZAS_TAB_HA() const { return m_zasTabHa; }
    void SetZAS_TAB_HA(qint32 v) { m_zasTabHa = v; }
    qint32 DR_ZAS_HA() const { return m_drZasHa; }
    void SetDR_ZAS_HA(qint32 v) { m_drZasHa = v; }
    qint32 DR_ZAS_CEL() const { return m_drZasCel; }
    void SetDR_ZAS_CEL(qint32 v) { m_drZasCel = v; }
    qint32 POCET_KMENU() const { return m_pocetKmenu; }
    void SetPOCET_KMENU(qint32 v) { m_pocetKmenu = v; }
    double VYCETNI_ZAKLADNA() const { return m_vycetniZakladna; }
    void SetVYCETNI_ZAKLADNA(double v) { m_vycetniZakladna = v; }
    qint32 PROC_SOUS() const { return m_procSous; }
    void SetPROC_SOUS(qint32 v) { m_procSous = v; }
    qint32 N_ProcentoTV() const { return m_nProcentoTV; }
    void SetN_ProcentoTV(qint32 v) { m_nProcentoTV = v; }
    qint32 N_ObjemHaTV() const { return m_nObjemHaTV; }
    void SetN_ObjemHaTV(qint32 v) { m_nObjemHaTV = v; }
    qint32 DR_TV() const { return m_drTv; }
    void SetDR_TV(qint32 v) { m_drTv = v; }
    qint32 DR_TO() const { return m_drTo; }
    void SetDR_TO(qint32 v) { m_drTo = v; }

    qint32 DR_KOD();
    qint32 BON_RVyhl();
    void SetBON_RVyhl(qint32 v);
    qint32 BON_R();
    QString GEN_KLAS();
    void SetGEN_KLAS(const QString& v) { m_genKlas = v; }
    QString GEN_KLAS_nazev();
    qint32 VYB_STRInt() const;
    void SetVYB_STRInt(qint32 v);
    QString DR_PUVOD_nazev();
    QString IMISE_nazev();
    QString Poskozeni_Slovne_Prelamane();
    qint32 Cislo_SLHP();
    double HMOT();
    QString IMISE();
    void SetIMISE(const QString& v);
    qint32 OBJ_SOUS() const;
    void SetOBJ_SOUS(qint32 v);
    qint32 POCET_KMENUVypocteny();
    double VYCETNI_ZAKLADNATabul();
    qint32 KontrolniN_ObjemHaTV();
    qint32 SpocteneN_ProcentoTV();
    bool Jehlicnaty();
    double RedukovanaPlochaDrDleZasoby() const;
    // The yield model's table stock per hectare for the abbreviation and the mean tree.
    double TableStockPerHa();
    qint32 VypoctenaTabulkovaZasoba();
    qint32 VypoctenaDR_ZAS_HAzTabulek();
    qint32 KontrolniDR_ZAS_HA();
    qint32 VypoctenaDR_ZAS_CELzTabulek();
    qint32 KontrolniDR_ZAS_CEL();
    TZpZadZas ZpZadZasT() const;
    void SetZpZadZasT(TZpZadZas v);
    TZpZadTV ZpZadTVT() const;
    void SetZpZadTVT(TZpZadTV v);
    QString CeleOznaceni();
    // Appends CeleOznaceni to the text (the owners' designations built into one text).
    void appendCeleOznaceni(QString& text);

    TPoskozeniMN* PoskozeniMN();
    TPoskozeni* Poskozeni();
    TEtaz* OwnerEtaz();

    // Thinning volume, percentage and per-hectare volume brought into agreement by ZpZadTVT.
    void RecalculateThinning();
    // The stocks, stem count and basal area from the yield tables by share.
    void StocksFromTables();

private:
    // The computed and converting part of the property table.
    static void describeComputed(PropertyTable<TDrevina>& t);
    double standGroupArea();
    QString codebookSpeciesText(const QString& field);

    QString m_drZkr;
    qint32 m_zast = 0;
    qint32 m_tloustka = 0;
    qint32 m_vyska = 0;
    qint32 m_bonA = 0;
    qint32 m_zasTabHa = 0;
    qint32 m_drZasHa = 0;
    qint32 m_drZasCel = 0;
    qint32 m_pocetKmenu = 0;
    double m_vycetniZakladna = 0.0;
    QString m_genKlas;
    QString m_vybStr;
    QString m_drPuvod;
    QString m_imise;
    qint32 m_procSous = 0;
    QString m_drKval;
    qint32 m_bonR = 0;
    double m_vi = 0.0;
    qint32 m_metodaZjisteniPrirustu = 0;
    qint32 m_drCbp = 0;
    double m_plochaDreviny = 0.0;
    qint32 m_pocJehl = 0;
    QString m_zpZadZas;
    QString m_drStavZprac;
    qint32 m_drTv = 0;
    qint32 m_nProcentoTV = 0;
    qint32 m_nObjemHaTV = 0;
    QString m_zpZadTV;
    QString m_tvStavZprac;
    qint32 m_drTo = 0;
    QString m_zpZadTO;
    QString m_toStavZprac;
    qint32 m_drTvyb = 0;
    forest::ChildSlot<TPoskozeniMN> m_poskozeniMN;
};

// The species set of a storey, prefix "DREV", with the felling sums by needle and broad leaves.
class TDrevinaMN : public TLesniMnozina
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
    TDrevinaMN();

    // Sum of DR_TV or DR_TO over the coniferous (or broadleaved) species.
    qint32 FellingSum(bool thinning, bool coniferous);
};
