// Non-stocked land of a stand: bare land (BZL), other land (JP), other areas (OST) and their sets.
#pragma once

#include "forest/hierarchy/AreaElements.h"

class TPorost;
class TKategorieMN;
class TOrg_UrovenMN;

// An areal element without stocking, with its own use and owner.
class TLesniPlosnyNeporostniPrvek : public TLesniPlosnyPrvek
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    QString MAJ_NAZ();
    TPorost* OwnerPorost();
    // "(owning stand's CeleOznaceni)" + label + number.
    QString CeleOznaceniWith(const QString& label, qint32 number);

protected:
    // The area fields again as prefix + "_P0", "_P", "_V".
    template<class T>
    static void describeAreaNames(PropertyTable<T>& t, const QString& prefix)
    {
        t.floating(prefix + "_P0", "Double", &T::Plocha0, &T::SetPlocha0)
            .floating(prefix + "_P", "Double", &T::Plocha, &T::SetPlocha)
            .floating(prefix + "_V", "Double", &T::Vymera, &T::SetVymera);
    }
    // MAJ_KOD, MAJ_DRUH and MAJ_NAZ again with the suffix.
    template<class T>
    static void describeOwnerAliases(PropertyTable<T>& t, const QString& suffix)
    {
        t.integer("MAJ_KOD" + suffix, forest::fieldGet(&T::m_majKod), forest::fieldSet(&T::m_majKod))
            .integer("MAJ_DRUH" + suffix, forest::fieldGet(&T::m_majDruh), forest::fieldSet(&T::m_majDruh))
            .string("MAJ_NAZ" + suffix, &T::MAJ_NAZ, nullptr, false);
    }
    // KVAL_P, its name, POT_VLAST (= KAT_PAR_KOD) and SKUPPARC again with the suffix.
    template<class T>
    static void describeRegisterAliases(PropertyTable<T>& t, const QString& suffix)
    {
        t.integer("KVAL_P" + suffix, &T::KVAL_P, &T::SetKVAL_P)
            .string("KVAL_P" + suffix + "_nazev", &T::KVAL_P_nazev, nullptr, false)
            .integer("POT_VLAST" + suffix, forest::fieldGet(&T::m_potVlast), forest::fieldSet(&T::m_potVlast))
            .integer("KAT_PAR_KOD" + suffix, forest::fieldGet(&T::m_potVlast), forest::fieldSet(&T::m_potVlast))
            .string("SKUPPARC" + suffix, forest::fieldGet(&T::m_skupParc), forest::fieldSet(&T::m_skupParc));
    }

    QString m_vyuziti;
    qint32 m_majKod = 0;
    qint32 m_majDruh = 0;
};

// Bare land.
class TBezlesi : public TLesniPlosnyNeporostniPrvek
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

private:
    qint32 m_bzl = 0;
    QString m_bzlVyuz;
};

// Other land; also the home of the category and organisation-level accessors that every
// element uses.
class TJinyPozemek : public TLesniPlosnyNeporostniPrvek
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    // The element's child set of that class: the last one when there are several (with the
    // message "Pozor dvě KategorieMN" for each further one), a new one when there is none.
    static TKategorieMN* KategorieMN(TEntity* element);
    static TOrg_UrovenMN* Org_UrovenMN(TEntity* element);

private:
    qint32 m_jp = 0;
    QString m_jpPupfl;
    QString m_druhPoz;
    QString m_jpVyuz;
};

// Other areas.
class TOstatni : public TLesniPlosnyNeporostniPrvek
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

private:
    qint32 m_ost = 0;
    QString m_druhPoz;
    QString m_ostVyuz;
};

// Prefix "BZL".
class TBezlesiMN : public TLesniMnozina
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
    TBezlesiMN();
};

// Prefix "JINE".
class TJinyPozemekMN : public TLesniMnozina
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
    TJinyPozemekMN();
};

// Prefix "OST".
class TOstatniMN : public TLesniMnozina
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
    TOstatniMN();
};
