// Categories and organisation levels of a stand, and their sets.
#include "forest/hierarchy/Kategorie.h"

#include "forest/codebooks/CodeLookup.h"
#include "forest/hierarchy/Porost.h"

using namespace forest;


TClass TKategorie::StaticClass()
{
    using K = TKategorie;
    static const TClassInfo info = describeClass<K, TLesniPrvek>("TKategorie", [](PropertyTable<K>& t) {
        t.string("KATEGORIE", fieldGet(&K::m_kategorie), fieldSet(&K::m_kategorie))
            .string("CeleOznaceni", &K::CeleOznaceni, nullptr, false);
    });
    return &info;
}

QString TKategorie::CeleOznaceni()
{
    TPorost* porost = OwnerPorost();
    return (porost ? porost->CeleOznaceni() : QString()) + QStringLiteral(" Ktg: ") + m_kategorie;
}

TPorost* TKategorie::OwnerPorost()
{
    return ownerOf<TPorost>(this);
}

// --- TKategorieMN ----------------------------------------------------------------------------------

TClass TKategorieMN::StaticClass()
{
    using M = TKategorieMN;
    static const TClassInfo info = describeClass<M, TLesniMnozina>("TKategorieMN", [](PropertyTable<M>& t) {
        t.integer("KATEGORIEint", &M::KATEGORIEint, fieldSet(&M::m_kategorieInt))
            .object<TKategorie>("Kategorie", &M::Kategorie, nullptr, false)
            .string("KategorieVcetnePrekryvu", &M::KategorieVcetnePrekryvu, nullptr, false)
            .string("NovaKategorieVcetnePrekryvu", nullptr, &M::SetNovaKategorieVcetnePrekryvu, false);
    });
    return &info;
}

TKategorieMN::TKategorieMN()
{
    setItems(TKategorie::StaticClass(), QStringLiteral("KTG"));
}

qint32 TKategorieMN::KATEGORIEint()
{
    if (m_kategorieInt != 0)
        return m_kategorieInt;
    TKategorie* first = childOfClassAt<TKategorie>(this, 0);
    return first ? CategoryCodeToInt(first->KATEGORIE()) : 0;
}

QString TKategorieMN::KategorieVcetnePrekryvu()
{
    return JoinPropertyValues(this, QStringLiteral("KATEGORIE"), QStringLiteral("/"));
}

void TKategorieMN::SetNovaKategorieVcetnePrekryvu(const QString& text)
{
    for (int i = Count() - 1; i >= 0; --i)
        if (auto* category = dynamic_cast<TKategorie*>(Items(i)))
            RemoveAndFree(category);
    SetNamesFromList(text, QStringLiteral("/"));
    SetPropertyFromList(QStringLiteral("KATEGORIE"), text, QStringLiteral("/"));
}

TKategorie* TKategorieMN::Kategorie()
{
    return currentAs<TKategorie>(this);
}

// --- TOrg_Uroven ------------------------------------------------------------------------------------

TClass TOrg_Uroven::StaticClass()
{
    using O = TOrg_Uroven;
    static const TClassInfo info = describeClass<O, TLesniPrvek>("TOrg_Uroven", [](PropertyTable<O>& t) {
        t.integer("ORG_UROVEN", fieldGet(&O::m_orgUroven), fieldSet(&O::m_orgUroven))
            .string("CeleOznaceni", &O::CeleOznaceni, nullptr, false);
    });
    return &info;
}

QString TOrg_Uroven::CeleOznaceni()
{
    TPorost* porost = OwnerPorost();
    return (porost ? porost->CeleOznaceni() : QString()) + QStringLiteral(" Org_U: ") + QString::number(m_orgUroven);
}

TPorost* TOrg_Uroven::OwnerPorost()
{
    return ownerOf<TPorost>(this);
}

// --- TOrg_UrovenMN ----------------------------------------------------------------------------------

TClass TOrg_UrovenMN::StaticClass()
{
    static const TClassInfo info = describeClass<TOrg_UrovenMN, TLesniMnozina>("TOrg_UrovenMN");
    return &info;
}

TOrg_UrovenMN::TOrg_UrovenMN()
{
    setItems(TOrg_Uroven::StaticClass(), QStringLiteral("ORGU"));
}

void TOrg_UrovenMN::NovyPrvek(const QString& key)
{
    Owned<TOrg_Uroven> level = Create<TOrg_Uroven>();
    level->SetName(ItemName(key));
    TOrg_Uroven* item = level.release();
    Add(item);
    SetAktualniPrvek(item);
}

TOrg_Uroven* TOrg_UrovenMN::Org_Uroven()
{
    return currentAs<TOrg_Uroven>(this);
}
