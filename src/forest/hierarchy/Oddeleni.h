// Compartments (ODD) and their set.
#pragma once

#include "forest/hierarchy/AreaElements.h"

#include <vector>

class TDilecMN;
class TDilec;
class TLHC;

// A compartment: numbered, holds the sub-compartments.
class TOddeleni : public TLesniSlozenyPrvek
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    qint32 ODD() const { return m_odd; }
    void SetODD(qint32 odd) { m_odd = odd; }
    bool Ulozeno() const { return m_ulozeno; }
    void SetUlozeno(bool on) { m_ulozeno = on; }
    qint32 OwnerLHC_KOD();
    QString OwnerLHC_NAZ();

    TDilecMN* DilecMN();
    TDilec* Dilec();
    TDilec* DilecAt(int index);
    TLHC* OwnerLHC();
    // The sub-compartment of a key, the selection of the set left as it was.
    TDilec* DilecJmenem(const QString& key);
    // A "-" sub-compartment with a "-" stand where a level is empty; else the first ones current.
    void EnsureDilecAndPorost();
    // Identifier from the organisation levels of the first stand of the first sub-compartment.
    qint32 Id_z_Orgur();

    // Hands the ownership-transformation records of this compartment (records sorted by ODD)
    // to its sub-compartments; a null compartment does nothing.
    static void ApplyOwnerTransforms(TOddeleni* compartment, TEntity* records);
    // Whether the last application failed (missing sub-compartment or ambiguous stand group).
    bool OwnerTransformFailed() const { return m_transformFailed; }

private:
    bool m_transformFailed = false;
    bool m_ulozeno = false;
    qint32 m_odd = 0;
    forest::ChildSlot<TDilecMN> m_dilecMN;
};

// The compartment set of a header, prefix "ODD".
class TOddeleniMN : public TLesniMnozina
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
    TOddeleniMN();
};
