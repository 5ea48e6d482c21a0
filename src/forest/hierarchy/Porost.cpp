// Stands (POR) and their set.
#include "forest/hierarchy/Porost.h"

#include "forest/codebooks/CiselLumex.h"
#include "forest/hierarchy/Dilec.h"
#include "forest/hierarchy/Kategorie.h"
#include "forest/hierarchy/NonStockedLand.h"
#include "forest/hierarchy/PorostniSkupina.h"
#include "platform/text/Case.h"

using namespace forest;

namespace {

const QString LineMarker = QStringLiteral("@$&");
constexpr quint8 AdjustedSource = 6;

// The stand's own data that a stand takes over with a moved stand group, read and written by name.
const char* const TakenOverProperties[] = {
    "PAS_OHR",      "LES_OBL",       "KAT_SPEC",    "ZVL_STATUT",  "SDR_POR",      "DRUH_POZ",
    "OLH_98",       "DRUH_UZIV_ST",  "TER_SK_POR_ST", "ORG_UROVEN1", "ORG_UROVEN2", "POR_TEXT_Vse",
};

} // namespace

TClass TPorost::StaticClass()
{
    using P = TPorost;
    static const TClassInfo info = describeClass<P, TLesniSlozenyPrvek>("TPorost", [](PropertyTable<P>& t) {
        t.string("POR", fieldGet(&P::m_por), fieldSet(&P::m_por))
            .string("PAS_OHR", fieldGet(&P::m_pasOhr), fieldSet(&P::m_pasOhr))
            .integer("KAT_SPEC", fieldGet(&P::m_katSpec), fieldSet(&P::m_katSpec))
            .string("ZVL_STATUT", fieldGet(&P::m_zvlStatut), fieldSet(&P::m_zvlStatut))
            .integer("MAJ_KOD", fieldGet(&P::m_majKod), fieldSet(&P::m_majKod))
            .integer("MAJ_DRUH", fieldGet(&P::m_majDruh), fieldSet(&P::m_majDruh))
            .string("SDR_POR", fieldGet(&P::m_sdrPor), fieldSet(&P::m_sdrPor))
            .string("DRUH_POZ", fieldGet(&P::m_druhPoz), fieldSet(&P::m_druhPoz))
            .string("HIST_ROZD", fieldGet(&P::m_histRozd), fieldSet(&P::m_histRozd))
            .integer("HIST_LHC", fieldGet(&P::m_histLhc), fieldSet(&P::m_histLhc))
            .string("HIST_LHPOD", fieldGet(&P::m_histLhpod), fieldSet(&P::m_histLhpod))
            .string("KATEG_ST", fieldGet(&P::m_kategSt), fieldSet(&P::m_kategSt))
            .integer("DRUH_UZIV_ST", fieldGet(&P::m_druhUzivSt), fieldSet(&P::m_druhUzivSt))
            .string("TER_SK_POR_ST", fieldGet(&P::m_terSkPorSt), fieldSet(&P::m_terSkPorSt))
            .string("LES_OBL", &P::LES_OBL, &P::SetLES_OBL)
            .string("MAJ_NAZ", &P::MAJ_NAZ, nullptr, false)
            .string("OLH_98", &P::OLH_98, fieldSet(&P::m_olh98))
            .string("OLH_99", &P::OLH_99, nullptr, false)
            .string("OLH_LIC", &P::OLH_LIC, nullptr, false)
            .string("OLH", &P::OLH, nullptr, false)
            .string("OLH_nazev", &P::OLH_nazev, nullptr, false)
            .object<TStrings>("POR_TEXT", &P::POR_TEXT, nullptr, false)
            .string("POR_TEXT_1Radek", &P::POR_TEXT_1Radek, nullptr, false)
            .string("POR_TEXT_Vse", &P::POR_TEXT_Vse, &P::SetPOR_TEXT_Vse)
            .string("POR_TEXT_Vse_BezZavin", &P::POR_TEXT_Vse_BezZavin, nullptr, false)
            .string("HlavniKATEGORIE", &P::HlavniKATEGORIE, nullptr, false)
            .string("ORG_UROVEN1", [](P& p) { return p.ORG_UROVEN(1); },
                    [](P& p, const QString& v) { p.SetORG_UROVEN(1, v); })
            .string("ORG_UROVEN2", [](P& p) { return p.ORG_UROVEN(2); },
                    [](P& p, const QString& v) { p.SetORG_UROVEN(2, v); })
            .string("ORG_UROVEN1_nazev", [](P& p) { return p.ORG_UROVEN_nazev(1); }, nullptr, false)
            .string("ORG_UROVEN2_nazev", [](P& p) { return p.ORG_UROVEN_nazev(2); }, nullptr, false)
            .string("DRUH_POZ_nazev", [](P& p) { return codebookName(&p, "tb_Druh_poz", p.m_druhPoz); }, nullptr, false)
            .string("LES_OBL_nazev", [](P& p) { return codebookName(&p, "tb_LeOb", p.LES_OBL()); }, nullptr, false)
            .string("ZVL_STATUT_nazev", [](P& p) { return codebookName(&p, "tb_ZVL_Stat", p.m_zvlStatut); }, nullptr,
                    false)
            .string("PAS_OHR_nazev", [](P& p) { return codebookName(&p, "Tb_PaOh", p.m_pasOhr); }, nullptr, false)
            .string("SDR_POR_nazev", [](P& p) { return codebookName(&p, "tb_sdr_por", p.m_sdrPor); }, nullptr, false)
            .string("CeleOznaceni", &P::CeleOznaceni, nullptr, false)
            .integer("PoradiAktualnihoKatastruZeSkupin", &P::PoradiAktualnihoKatastruZeSkupin,
                     &P::SetPoradiAktualnihoKatastruZeSkupin, false)
            .integer("PocetKatastruZeSkupin", &P::PocetKatastruZeSkupin, nullptr, false);
    });
    return &info;
}

QString TPorost::LES_OBL()
{
    if (SourceKind() == AdjustedSource)
        return m_lesObl.left(2) + QLatin1Char(' ');
    return m_lesObl;
}

void TPorost::SetLES_OBL(const QString& code)
{
    QString normalised = code;
    NormalizeRegionCode(normalised);
    m_lesObl = normalised;
}

QString TPorost::MAJ_NAZ()
{
    return ownerName(this, m_majKod);
}

QString TPorost::OLH_98()
{
    TCiselLumex* root = codebookRoot(this);
    TEntity* owners = root ? root->MajetkyMN() : nullptr;
    if (hasItems(owners)) {
        const QString manager = itemValueByKey(owners, QStringLiteral("MAJ_KOD_C"), QString::number(m_majKod),
                                               QStringLiteral("ODB_SPR_C"));
        if (!manager.trimmed().isEmpty())
            return manager;
    }
    return m_olh98;
}

QString TPorost::OLH_99()
{
    const QString code = OLH_98();
    if (SourceKind() == AdjustedSource)
        return codebookText(this, QStringLiteral("tb_OLH"), QStringLiteral("Kod"), code, QStringLiteral("OLH80"));
    TCiselLumex* root = codebookRoot(this);
    TEntity* managers = root ? root->OLHMN() : nullptr;
    if (hasItems(managers))
        return itemValueByKey(managers, QStringLiteral("KOD"), code, QStringLiteral("JMENO"));
    return {};
}

QString TPorost::OLH_LIC()
{
    if (!codebookRoot(this))
        return {};
    return codebookText(this, QStringLiteral("tb_OLH"), QStringLiteral("Kod"), OLH_98(), QStringLiteral("OLH_LIC"));
}

QString TPorost::OLH()
{
    return SourceKind() == AdjustedSource ? OLH_99() : OLH_98();
}

QString TPorost::OLH_nazev()
{
    const QString code = OLH_98();
    TCiselLumex* root = codebookRoot(this);
    TEntity* managers = root ? root->OLHMN() : nullptr;
    if (hasItems(managers))
        return itemValueByKey(managers, QStringLiteral("KOD"), code, QStringLiteral("JMENO"));
    return codebookName(this, QStringLiteral("tb_OLH"), code);
}

TStrings* TPorost::POR_TEXT()
{
    if (!m_porText)
        m_porText = Create<TStrings>();
    return m_porText.get();
}

QString TPorost::POR_TEXT_1Radek()
{
    return m_porText && !m_porText->Lines.isEmpty() ? m_porText->Lines.first() : QString();
}

QString TPorost::POR_TEXT_Vse()
{
    QString text;
    if (!m_porText)
        return text;
    const QStringList& lines = m_porText->Lines;
    for (int i = 0; i < lines.size(); ++i) {
        if (i == 3 || i == 4 || i == 6)
            text += LineMarker;
        else if (i > 0)
            text += QLatin1Char(' ');
        text += txt::trim(lines[i]);
    }
    return text;
}

void TPorost::SetPOR_TEXT_Vse(const QString& text)
{
    QStringList lines;
    SplitAtLineMarker(lines, text);
    POR_TEXT()->Lines = lines;
}

QString TPorost::POR_TEXT_Vse_BezZavin()
{
    QStringList trimmed;
    if (m_porText)
        for (const QString& line : m_porText->Lines)
            trimmed.append(txt::trim(line));
    return trimmed.join(QStringLiteral("  "));
}

QString TPorost::HlavniKATEGORIE()
{
    TKategorie* first = childOfClassAt<TKategorie>(TJinyPozemek::KategorieMN(this), 0);
    return first ? first->KATEGORIE() : QString();
}

QString TPorost::ORG_UROVEN(int level)
{
    TOrg_Uroven* item = childOfClassAt<TOrg_Uroven>(TJinyPozemek::Org_UrovenMN(this), level - 1);
    return item ? QString::number(item->ORG_UROVEN()) : QString();
}

void TPorost::SetORG_UROVEN(int level, const QString& text)
{
    TOrg_UrovenMN* levels = TJinyPozemek::Org_UrovenMN(this);
    if (level == 2 && !childOfClassAt<TOrg_Uroven>(levels, 0))
        levels->NovyPrvek(QStringLiteral("0"));
    TOrg_Uroven* item = childOfClassAt<TOrg_Uroven>(levels, level - 1);
    if (!item) {
        levels->NovyPrvek(text);
        item = levels->Org_Uroven();
    }
    item->SetORG_UROVEN(DigitsToInt(text));
}

QString TPorost::ORG_UROVEN_nazev(int level)
{
    const QString code = ORG_UROVEN(level);
    TCiselLumex* root = codebookRoot(this);
    TEntity* names = !root ? nullptr : level == 1 ? root->OrgUroven1MN() : root->OrgUroven2MN();
    if (hasItems(names))
        return itemValueByKey(names, QStringLiteral("KOD"), code, QStringLiteral("POPIS"));
    return codebookName(this, level == 1 ? QStringLiteral("Tb_OrgUr1") : QStringLiteral("Tb_OrgUr2"), code);
}

QString TPorost::CeleOznaceni()
{
    return forest::designation(*this);
}

void TPorost::appendCeleOznaceni(QString& text)
{
    text += QStringLiteral("Porost: ");
    if (TDilec* dilec = OwnerDilec())
        dilec->appendCeleOznaceni(text);
    text += m_por;
}

qint32 TPorost::PocetKatastruZeSkupin()
{
    ResetCadastralRows();
    forEachChild<TPorostniSkupina>(ExistingPorostniSkupinaMN(), [this](TPorostniSkupina* group) {
        AddCadastralArea(QString::number(group->KU_KOD()), group->Plocha());
    });
    return CadastralRowsInUse();
}

TPorostniSkupinaMN* TPorost::PorostniSkupinaMN()
{
    return ensureChildSet(this, m_porostniSkupinaMN);
}

TPorostniSkupina* TPorost::PorostniSkupina()
{
    return currentAs<TPorostniSkupina>(PorostniSkupinaMN());
}

TPorostniSkupina* TPorost::PorostniSkupinaAt(int index)
{
    return childAt<TPorostniSkupina>(PorostniSkupinaMN(), index);
}

TBezlesiMN* TPorost::BezlesiMN()
{
    return ensureChildSet(this, m_bezlesiMN);
}

TBezlesi* TPorost::Bezlesi()
{
    return currentAs<TBezlesi>(BezlesiMN());
}

TJinyPozemekMN* TPorost::JinyPozemekMN()
{
    return ensureChildSet(this, m_jinyPozemekMN);
}

TJinyPozemek* TPorost::JinyPozemek()
{
    return currentAs<TJinyPozemek>(JinyPozemekMN());
}

TOstatniMN* TPorost::OstatniMN()
{
    return ensureChildSet(this, m_ostatniMN);
}

TOstatni* TPorost::Ostatni()
{
    return currentAs<TOstatni>(OstatniMN());
}

TPorostniSkupinaMN* TPorost::ExistingPorostniSkupinaMN() const
{
    return m_porostniSkupinaMN.get();
}

TBezlesiMN* TPorost::ExistingBezlesiMN() const
{
    return m_bezlesiMN.get();
}

TJinyPozemekMN* TPorost::ExistingJinyPozemekMN() const
{
    return m_jinyPozemekMN.get();
}

TDilec* TPorost::OwnerDilec()
{
    return ownerOf<TDilec>(this);
}

void TPorost::TakeOverStandData(TPorost& from)
{
    for (const char* name : TakenOverProperties) {
        const QString property = QString::fromLatin1(name);
        SetPropAsString(property, from.GetPropAsString(property));
    }
    TKategorieMN* target = TJinyPozemek::KategorieMN(this);
    forEachChild<TKategorie>(TJinyPozemek::KategorieMN(&from), [target](TKategorie* category) {
        target->NovyPrvekVzdy(category->GetName());
        if (auto* copy = currentAs<TKategorie>(target))
            copy->SetKATEGORIE(category->KATEGORIE());
    });
}

// --- TPorostMN -------------------------------------------------------------------------------------

TClass TPorostMN::StaticClass()
{
    static const TClassInfo info = describeClass<TPorostMN, TLesniMnozina>("TPorostMN");
    return &info;
}

TPorostMN::TPorostMN()
{
    setItems(TPorost::StaticClass(), QStringLiteral("POR"));
}
