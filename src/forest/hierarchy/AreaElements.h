// Bases of the hierarchy levels with areas: the cadastral table, composite and areal elements.
#pragma once

#include "forest/hierarchy/HierarchySupport.h"

#include <QString>

// One row of a cadastral table: a cadastral territory and the area that falls into it.
class TRadekPole : public TElement
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    const QString& Klasifikator() const { return m_klasifikator; }
    // At most 30 characters: a longer text is cut after the message "Pozor uřezávám Klasifikátor".
    void SetKlasifikator(const QString& text);
    double ProPlocha() const { return m_proPlocha; }
    void SetProPlocha(double area) { m_proPlocha = area; }
    qint32 Soucet() const { return m_soucet; }
    void SetSoucet(qint32 sum) { m_soucet = sum; }

private:
    QString m_klasifikator;
    double m_proPlocha = 0.0;
    qint32 m_soucet = 0;
};

// The cadastral table of a composite element: rows addressed from 1, 40 at creation. It grows
// when more rows are asked for, so a stand with more territories loses none.
class TFPole : public TOwnerEntity
{
public:
    static constexpr int InitialRows = 40;

    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
    void AfterConstruction() override;

    // Row 1..RowCount(); rows beyond the count are created on the way.
    TRadekPole* Row(int index);
    int RowCount() const { return Count(); }
};

// A hierarchy level that sums its parts by cadastral territory (header, compartment,
// sub-compartment, stand).
class TLesniSlozenyPrvek : public TLesniPrvek
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    // The cadastral table, created on first use and held as a child.
    TFPole* CadastralTable();
    // Rows of the cadastral table in use.
    int CadastralRowsInUse() const { return m_rowsInUse; }
    qint32 PoradiAktualnihoKatastruZeSkupin() const { return m_poradiKatastru; }
    void SetPoradiAktualnihoKatastruZeSkupin(qint32 value) { m_poradiKatastru = value; }

protected:
    // Empties the table's use count.
    void ResetCadastralRows() { m_rowsInUse = 0; }
    // Adds area to the row of the territory, taking the next row into use when it is new.
    void AddCadastralArea(const QString& territory, double area);

private:
    int m_rowsInUse = 0;
    qint32 m_poradiKatastru = 0;
    forest::ChildSlot<TFPole> m_cadastralTable;
};

// A hierarchy element with an area and its land-register data (stand group, bare and other land).
class TLesniPlosnyPrvek : public TLesniPrvek
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    double Plocha0() const { return m_plocha0; }
    void SetPlocha0(double v) { m_plocha0 = v; }
    double Vymera() const { return m_vymera; }
    void SetVymera(double v) { m_vymera = v; }
    // Vymera when PouzivatPlochuJakoVymeru is set, else the stored area.
    double Plocha() const { return m_pouzivatPlochuJakoVymeru ? m_vymera : m_plocha; }
    void SetPlocha(double v) { m_plocha = v; }
    qint32 KVAL_P() const { return m_kvalP; }
    void SetKVAL_P(qint32 v) { m_kvalP = v; }
    qint32 KU_KOD() const { return m_kuKod; }
    void SetKU_KOD(qint32 v) { m_kuKod = v; }
    qint32 LES_URAD() const { return m_lesUrad; }
    void SetLES_URAD(qint32 v) { m_lesUrad = v; }
    void SetLES_URAD_Z_KU_KOD(qint32 kuKod) { m_lesUrad = kuKod / 100000; }
    bool PouzivatPlochuJakoVymeru() const { return m_pouzivatPlochuJakoVymeru; }
    void SetPouzivatPlochuJakoVymeru(bool on) { m_pouzivatPlochuJakoVymeru = on; }

    // Area quality: KVAL_P := quality; the area becomes Plocha0 for 2 and more, else Vymera.
    void ApplyAreaQuality(qint32 quality);

    QString NazevKatastru();
    QString LES_URAD_Nazev();
    QString KVAL_P_nazev();

protected:
    double m_plocha0 = 0.0;
    double m_vymera = 0.0;
    double m_plocha = 0.0;
    double m_plochaDleP0110 = 0.0;
    double m_vymeraDleP0110 = 0.0;
    qint32 m_kvalP = 0;
    qint32 m_potVlast = 0;   // also published as KAT_PAR_KOD
    QString m_skupParc;
    qint32 m_lesUrad = 0;
    qint32 m_kuKod = 0;
    bool m_pouzivatPlochuJakoVymeru = false;
};
