// Stands (POR) and their set.
#pragma once

#include "forest/hierarchy/AreaElements.h"
#include "framework/values/TypedValues.h"

class TPorostniSkupinaMN;
class TPorostniSkupina;
class TBezlesiMN;
class TBezlesi;
class TJinyPozemekMN;
class TJinyPozemek;
class TOstatniMN;
class TOstatni;
class TDilec;

// A stand: owner, site and protection data, text lines, and its stand groups, bare land,
// other land, other areas, categories and organisation levels.
class TPorost : public TLesniSlozenyPrvek
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    const QString& POR() const { return m_por; }
    void SetPOR(const QString& por) { m_por = por; }
    qint32 MAJ_KOD() const { return m_majKod; }
    void SetMAJ_KOD(qint32 v) { m_majKod = v; }
    qint32 MAJ_DRUH() const { return m_majDruh; }
    void SetMAJ_DRUH(qint32 v) { m_majDruh = v; }
    const QString& ZVL_STATUT() const { return m_zvlStatut; }
    QString LES_OBL();
    void SetLES_OBL(const QString& code);
    QString MAJ_NAZ();
    QString OLH_98();
    QString OLH_99();
    QString OLH_LIC();
    QString OLH();
    QString OLH_nazev();
    // The text lines, created on first use.
    TStrings* POR_TEXT();
    QString POR_TEXT_1Radek();
    QString POR_TEXT_Vse();
    void SetPOR_TEXT_Vse(const QString& text);
    QString POR_TEXT_Vse_BezZavin();
    QString HlavniKATEGORIE();
    QString ORG_UROVEN(int level);
    void SetORG_UROVEN(int level, const QString& text);
    QString ORG_UROVEN_nazev(int level);
    QString CeleOznaceni();
    // Appends CeleOznaceni to the text (the owners' designations built into one text).
    void appendCeleOznaceni(QString& text);
    qint32 PocetKatastruZeSkupin();

    TPorostniSkupinaMN* PorostniSkupinaMN();
    TPorostniSkupina* PorostniSkupina();
    TPorostniSkupina* PorostniSkupinaAt(int index);
    TBezlesiMN* BezlesiMN();
    TBezlesi* Bezlesi();
    TJinyPozemekMN* JinyPozemekMN();
    TJinyPozemek* JinyPozemek();
    TOstatniMN* OstatniMN();
    TOstatni* Ostatni();
    TDilec* OwnerDilec();
    // The existing sets, without creating them.
    TPorostniSkupinaMN* ExistingPorostniSkupinaMN() const;
    TBezlesiMN* ExistingBezlesiMN() const;
    TJinyPozemekMN* ExistingJinyPozemekMN() const;

    // The stand data a stand takes over from another when a stand group moves to it.
    void TakeOverStandData(TPorost& from);

private:
    QString m_por;
    QString m_pasOhr;
    QString m_lesObl;
    qint32 m_katSpec = 0;
    QString m_zvlStatut;
    qint32 m_majKod = 0;
    qint32 m_majDruh = 0;
    QString m_sdrPor;
    QString m_druhPoz;
    QString m_olh98;
    Owned<TStrings> m_porText;
    QString m_histRozd;
    qint32 m_histLhc = 0;
    QString m_histLhpod;
    QString m_kategSt;
    qint32 m_druhUzivSt = 0;
    QString m_terSkPorSt;
    forest::ChildSlot<TPorostniSkupinaMN> m_porostniSkupinaMN;
    forest::ChildSlot<TBezlesiMN> m_bezlesiMN;
    forest::ChildSlot<TOstatniMN> m_ostatniMN;
    forest::ChildSlot<TJinyPozemekMN> m_jinyPozemekMN;
};

// The stand set of a sub-compartment, prefix "POR".
class TPorostMN : public TLesniMnozina
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
    TPorostMN();
};
