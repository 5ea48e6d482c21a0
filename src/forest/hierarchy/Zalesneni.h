// Afforestation items of a storey and their set.
#pragma once

#include "forest/hierarchy/HierarchySupport.h"

class TEtaz;

// One afforestation item: kind, species, area and share.
class TZalesneni : public TLesniPrvek
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    const QString& ZAL_DRUH() const { return m_zalDruh; }
    double ZAL_P() const { return m_zalP; }
    void SetZAL_P(double v) { m_zalP = v; }
    qint32 ZAL_DR_P() const { return m_zalDrP; }
    void SetZAL_DR_P(qint32 v) { m_zalDrP = v; }
    bool Jehlicnaty() const;
    QString CeleOznaceni();
    TEtaz* OwnerEtaz();

private:
    QString m_zalDruh;
    double m_zalP = 0.0;
    QString m_zalDr;
    qint32 m_zalDrP = 0;
    qint32 m_zpZadZal = 0;
};

// Prefix "ZAL"; shares the storey's afforestation area among its items.
class TZalesneniMN : public TLesniMnozina
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
    TZalesneniMN();

    double PlochaZalesneni();
    // The area rounded to 0.01 ha, shared by ZAL_DR_P; the largest share takes the remainder.
    void SetPlochaZalesneni(double area);
    qint32 ProcentoZalesneni();
    // Sum of ZAL_P over the coniferous (or broadleaved) items.
    double AreaOf(bool coniferous);
    // ZAL_DR_P from the items' areas for every positive total; the largest share takes the
    // difference to 100.
    void PercentagesFromAreas();
    TZalesneni* Zalesneni();

private:
    template<class F>
    void forEachItem(F&& action);

    QString m_zalDruhNahr;
};
