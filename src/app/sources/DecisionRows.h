// Decision rows about stand groups and map-rectangle holders, with their sets.
#pragma once

#include "forest/base/LesniMnozina.h"

#include <QString>

#include "framework/elements/PlaneGraphics.h"

// An official decision about a stand group (TRadekRozhodnuti): its type, validity and note.
class TRadekRozhodnuti : public TObecnyLesniPrvek
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    // The description of the decision type from the codebook root's decision-type set; empty
    // when the type is not there.
    QString TypRozh_nazev();
    // ODD + DIL + POR + PSK without separators (7, "b", "2", "1" give "7b21").
    QString OddDilPorPsk() const;

    qint32 ODD = 0;
    QString DIL;
    QString POR;
    QString PSK;
    qint32 MAJ_KOD = 0;
    qint32 MAJ_DRUH = 0;
    QString CisJedn;
    qint32 TypRozh = 0;
    QString Platnost_OD;
    QString Platnost_DO;
    QString Poznamka;
};

// The set of decision rows, prefix "R_ROZHOD".
class TRadekRozhodnutiMN : public TLesniMnozina
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
    TRadekRozhodnutiMN();
};

// A map directory tied to a rectangle entity (TObdelniky, "rectangles").
class TObdelniky : public TObecnyLesniPrvek
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    // The remembered entity; else the first child rectangle entity; else a new one as a child.
    TRectEntity* RecEnti();
    void SetRecEnti(TRectEntity* entity) { m_recEnti = entity; }

    QString AdresarMapy;

private:
    WeakRef<TRectEntity> m_recEnti;
};

// The set of rectangle holders, prefix "OBDEL".
class TObdelnikyMN : public TLesniMnozina
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
    TObdelnikyMN();
};
