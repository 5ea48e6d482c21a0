// Damage records of a tree species and their set.
#pragma once

#include "forest/hierarchy/HierarchySupport.h"

class TDrevina;

// One damage of a species: kind, degree in per cent.
class TPoskozeni : public TLesniPrvek
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    qint32 POSKOZ_R() const { return m_poskozR; }
    void SetPOSKOZ_R(qint32 v) { m_poskozR = v; }
    // Degree in tens of per cent, at least 1.
    qint32 POSKOZ_R10() const;
    void SetPOSKOZ_R10(qint32 v);
    QString POSKOZ_D_nazev();
    QString POSKOZ_Slovne();
    QString CeleOznaceni();
    TDrevina* OwnerDrevina();

private:
    qint32 m_poskozD = 0;
    qint32 m_poskozR = 0;
    qint32 m_poskozSt = 0;
};

// Prefix "POSK".
class TPoskozeniMN : public TLesniMnozina
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
    TPoskozeniMN();

    TPoskozeni* Poskozeni();
};
