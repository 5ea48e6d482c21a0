// Categories and organisation levels of a stand, and their sets.
#pragma once

#include "forest/hierarchy/HierarchySupport.h"

class TPorost;

// One category of a stand.
class TKategorie : public TLesniPrvek
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    const QString& KATEGORIE() const { return m_kategorie; }
    void SetKATEGORIE(const QString& v) { m_kategorie = v; }
    QString CeleOznaceni();
    TPorost* OwnerPorost();

private:
    QString m_kategorie;
};

// Prefix "KTG".
class TKategorieMN : public TLesniMnozina
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
    TKategorieMN();

    // The stored number when not 0, else the number of the first category's code.
    qint32 KATEGORIEint();
    QString KategorieVcetnePrekryvu();
    // Replaces the categories by the parts of text between "/".
    void SetNovaKategorieVcetnePrekryvu(const QString& text);
    TKategorie* Kategorie();

private:
    qint32 m_kategorieInt = 0;
};

// One organisation level of a stand.
class TOrg_Uroven : public TLesniPrvek
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    qint32 ORG_UROVEN() const { return m_orgUroven; }
    void SetORG_UROVEN(qint32 v) { m_orgUroven = v; }
    QString CeleOznaceni();
    TPorost* OwnerPorost();

private:
    qint32 m_orgUroven = 0;
};

// Prefix "ORGU"; NovyPrvek always adds a new level, without looking the key up.
class TOrg_UrovenMN : public TLesniMnozina
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
    TOrg_UrovenMN();

    void NovyPrvek(const QString& key) override;
    TOrg_Uroven* Org_Uroven();
};
