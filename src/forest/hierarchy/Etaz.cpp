// Storeys (ETAZ) and their set.
#include "forest/hierarchy/Etaz.h"

#include "forest/hierarchy/Drevina.h"
#include "forest/hierarchy/Porost.h"
#include "forest/hierarchy/PorostniSkupina.h"
#include "forest/hierarchy/Zalesneni.h"
#include "platform/db/Table.h"
#include "platform/text/Case.h"

#include <algorithm>
#include <array>

using namespace forest;

namespace {

constexpr quint8 AdjustedSource = 6;

// Regeneration-felling percentage by row r (age against rotation) and column c (regeneration
// period in decades, 1..5). Row 4 column 1 (86) above column 2 stands as given.
constexpr std::array<std::array<qint32, 5>, 8> RegenerationFelling = {{
    {0, 0, 0, 0, 0},
    {0, 0, 0, 0, 2},
    {0, 0, 4, 12, 18},
    {12, 25, 30, 29, 25},
    {86, 67, 50, 40, 33},
    {100, 100, 88, 67, 50},
    {100, 100, 100, 100, 88},
    {100, 100, 100, 100, 100},
}};

QString normalisedDesignation(const QString& text)
{
    QString normalised = text;
    NormalizeDesignation(normalised);
    return normalised;
}

// The text without blanks as an integer; 0 when empty or no number.
qint32 urgencyNumber(const QString& text)
{
    qint32 value = 0;
    return txt::tryStrToInt(QString(text).remove(QLatin1Char(' ')), value) ? value : 0;
}

} // namespace

TClass TEtaz::StaticClass()
{
    using E = TEtaz;
    static const TClassInfo info = describeClass<E, TLesniPrvek>("TEtaz", [](PropertyTable<E>& t) {
        t.string("ETAZ", fieldGet(&E::m_etaz), &E::SetETAZ)
            .integer("HS", fieldGet(&E::m_hs), fieldSet(&E::m_hs))
            .floating("ETAZ_PP", "Double", fieldGet(&E::m_etazPP), fieldSet(&E::m_etazPP))
            .floating("ETAZ_PS", "Double", fieldGet(&E::m_etazPS), fieldSet(&E::m_etazPS))
            .boolean("ETAZ_PSMenit", fieldGet(&E::m_etazPSMenit), fieldSet(&E::m_etazPSMenit))
            .integer("OBMYTI", fieldGet(&E::m_obmyti), fieldSet(&E::m_obmyti))
            .integer("OBN_DOBA", fieldGet(&E::m_obnDoba), fieldSet(&E::m_obnDoba))
            .integer("POC_OBNOVY", fieldGet(&E::m_pocObnovy), fieldSet(&E::m_pocObnovy))
            .integer("VEK", fieldGet(&E::m_vek), fieldSet(&E::m_vek))
            .integer("ZAKM", fieldGet(&E::m_zakm), fieldSet(&E::m_zakm))
            .integer("M_Z_ZASOBY", fieldGet(&E::m_mZZasoby), fieldSet(&E::m_mZZasoby))
            .integer("Rok_zjisteni_zasoby", fieldGet(&E::m_rokZjisteniZasoby), fieldSet(&E::m_rokZjisteniZasoby))
            .string("HOSP_TV", fieldGet(&E::m_hospTv), fieldSet(&E::m_hospTv))
            .floating("PRO_P", "Double", fieldGet(&E::m_proP), fieldSet(&E::m_proP))
            .boolean("PRO_PMenit", fieldGet(&E::m_proPMenit), fieldSet(&E::m_proPMenit))
            .string("PRO_NAL", fieldGet(&E::m_proNal), fieldSet(&E::m_proNal))
            .integer("PRO_POC", fieldGet(&E::m_proPoc), fieldSet(&E::m_proPoc))
            .floating("TV_P", "Double", fieldGet(&E::m_tvP), fieldSet(&E::m_tvP))
            .boolean("TV_PMenit", fieldGet(&E::m_tvPMenit), fieldSet(&E::m_tvPMenit))
            .string("TV_NAL", fieldGet(&E::m_tvNal), fieldSet(&E::m_tvNal))
            .integer("TV_POC", fieldGet(&E::m_tvPoc), fieldSet(&E::m_tvPoc))
            .floating("TO_P", "Double", fieldGet(&E::m_toP), fieldSet(&E::m_toP))
            .boolean("TO_PMenit", fieldGet(&E::m_toPMenit), fieldSet(&E::m_toPMenit))
            .string("TO_NAL", fieldGet(&E::m_toNal), fieldSet(&E::m_toNal))
            .string("EKOL_HOD", fieldGet(&E::m_ekolHod), fieldSet(&E::m_ekolHod))
            .floating("TVYB_P", "Double", fieldGet(&E::m_tvybP), fieldSet(&E::m_tvybP))
            .string("TVYB_NAL", fieldGet(&E::m_tvybNal), fieldSet(&E::m_tvybNal))
            .integer("ZP_TEZ_ST", fieldGet(&E::m_zpTezSt), fieldSet(&E::m_zpTezSt))
            .integer("TER_TYP_ST", fieldGet(&E::m_terTypSt), fieldSet(&E::m_terTypSt))
            .integer("NALEH_ST", fieldGet(&E::m_nalehSt), fieldSet(&E::m_nalehSt))
            .boolean("PlochaZalesneniMenit", fieldGet(&E::m_plochaZalesneniMenit),
                     fieldSet(&E::m_plochaZalesneniMenit));
        describeComputed(t);
    });
    return &info;
}

void TEtaz::describeComputed(PropertyTable<TEtaz>& t)
{
    using E = TEtaz;
    const auto name = [](const char* table, QString (*code)(E&)) {
        return [table, code](E& e) { return codebookName(&e, QString::fromLatin1(table), code(e)); };
    };
    t.integer("PROC_HS", &E::ProcentoTODleObmObn, nullptr, false)
        .integer("ProcentoTODleObmObn", &E::ProcentoTODleObmObn, nullptr, false)
        .integer("M_TEZ_PROC", &E::M_TEZ_PROC, &E::SetM_TEZ_PROC)
        .string("ODVOZ_TEZ", &E::ODVOZ_TEZ, fieldSet(&E::m_odvozTez))
        .integer("MZDi", [](E& e) { return e.m_mzd == -1 ? 0 : e.m_mzd; }, nullptr, false)
        .string("MZDs", &E::MZDs, &E::SetMZDs)
        .integer("MZD", fieldGet(&E::m_mzd), nullptr, false)
        .string("HOSP_TV_nazev", name("tb_tvar", [](E& e) { return e.m_hospTv.trimmed(); }), nullptr, false)
        .string("M_Z_ZASOBY_nazev", name("tb_ZJZ", [](E& e) { return QString::number(e.m_mZZasoby); }), nullptr,
                false)
        .integer("PRO_NALi", [](E& e) { return urgencyNumber(e.m_proNal); }, nullptr, false)
        .integer("TV_NALi", [](E& e) { return urgencyNumber(e.m_tvNal); }, nullptr, false)
        .string("PRO_NAL_nazev", name("tb_nal", [](E& e) { return e.m_proNal.trimmed(); }), nullptr, false)
        .string("TV_NAL_nazev", name("tb_nal", [](E& e) { return e.m_tvNal.trimmed(); }), nullptr, false)
        .string("TO_NAL_nazev", name("tb_nal", [](E& e) { return e.m_toNal.trimmed(); }), nullptr, false)
        .string("TVYB_NAL_nazev", name("tb_nal", [](E& e) { return e.m_tvybNal.trimmed(); }), nullptr, false)
        .string("TO_DUVOD", &E::TO_DUVOD, fieldSet(&E::m_toDuvod))
        .string("TO_DUVOD_nazev", name("tb_Duv_tezb", [](E& e) { return e.TO_DUVOD().trimmed(); }), nullptr, false)
        .string("TO_ZPUSOB", &E::TO_ZPUSOB, fieldSet(&E::m_toZpusob))
        .string("TO_ZPUSOB_nazev", name("TB_Zp_TEZBY", [](E& e) { return e.TO_ZPUSOB().trimmed(); }), nullptr, false)
        .integer("MZDDleHS", &E::MZDDleHS, nullptr, false)
        .string("ZAL_DRUH", &E::ZAL_DRUH, nullptr, false)
        .string("ZAL_DRUH_ETAZ", &E::ZAL_DRUH, nullptr, false)
        .string("ZAL_DRUH_nazev", name("tb_Druh_Zal", [](E& e) { return e.ZAL_DRUH().trimmed(); }), nullptr, false)
        .floating("ZAL_P", "Double", &E::ZAL_P, nullptr, false)
        .floating("ZAL_P_ETAZ", "Double", &E::ZAL_P, nullptr, false)
        .string("CeleOznaceni", &E::CeleOznaceni, nullptr, false)
        .integer("ZastoupeniDrevin", &E::ZastoupeniDrevin, nullptr, false)
        .integer("Etaz_ZAS_CELK", [](E& e) { return e.speciesSum("DR_ZAS_CEL"); }, nullptr, false)
        .integer("Etaz_ZAS_HA", [](E& e) { return e.speciesSum("DR_ZAS_HA"); }, nullptr, false)
        .integer("Etaz_OBJ_SOUS", [](E& e) { return e.speciesSum("OBJ_SOUS"); }, nullptr, false)
        .integer("EtazN_ObjemHaTV", [](E& e) { return e.speciesSum("N_ObjemHaTV"); }, nullptr, false)
        .integer("Etaz_TV", [](E& e) { return e.speciesSum("DR_TV"); }, nullptr, false)
        .integer("Etaz_TO", [](E& e) { return e.speciesSum("DR_TO"); }, nullptr, false)
        .floating("RedukovanaPlochaEtDleZasoby", "Double", &E::RedukovanaPlochaEtDleZasoby, nullptr, false)
        .floating("PocitaneZakmeneniFlo", "Double", &E::PocitaneZakmeneniFlo, nullptr, false)
        .integer("PocitaneZakmeneniInt", [](E& e) { return roundInt(e.PocitaneZakmeneniFlo()); }, nullptr, false)
        .integer("VekovyStupen", &E::VekovyStupen, nullptr, false)
        .integer("NejmensiTabulkovaZasoba", &E::NejmensiTabulkovaZasoba, nullptr, false)
        .boolean("MusiBytMZD", &E::MusiBytMZD, nullptr, false)
        .boolean("JeIndex_vxyz", &E::JeIndex_vxyz, nullptr, false)
        .integer("DruhVykonu", &E::DruhVykonu, nullptr, false);
}

void TEtaz::AfterConstruction()
{
    TLesniPrvek::AfterConstruction();
    DrevinaMN();
    m_mTezProc = -1;
}

void TEtaz::SetETAZ(const QString& etaz)
{
    m_etaz = normalisedDesignation(etaz);
}

qint32 TEtaz::ProcentoTODleObmObn() const
{
    const qint32 column = roundInt(m_obnDoba / 10.0);
    if (column < 1 || column > 5)
        return 0;
    const qint32 row = std::clamp((m_vek - m_obmyti + 49) / 10, 0, 7);
    return RegenerationFelling[static_cast<size_t>(row)][static_cast<size_t>(column - 1)];
}

qint32 TEtaz::M_TEZ_PROC() const
{
    return m_mTezProc == -1 ? ProcentoTODleObmObn() : m_mTezProc;
}

QString TEtaz::ODVOZ_TEZ()
{
    TPorostniSkupina* group = OwnerPorostniSkupina();
    TPorost* porost = group ? group->OwnerPorost() : nullptr;
    if (!porost)
        return QStringLiteral("D");
    if (porost->HlavniKATEGORIE().remove(QLatin1Char(' ')).startsWith(QLatin1String("21")))
        return QStringLiteral("I");
    switch (DigitsToInt(porost->ZVL_STATUT())) {
    case 2:
    case 6:
    case 10:
    case 11:
        return QStringLiteral("I");
    default:
        return QStringLiteral("D");
    }
}

QString TEtaz::MZDs() const
{
    return m_mzd == -1 ? QString() : QString::number(m_mzd);
}

void TEtaz::SetMZDs(const QString& text)
{
    m_mzd = text.isEmpty() ? -1 : txt::strToInt(text);
}

QString TEtaz::TO_DUVOD()
{
    if (SourceKind() == AdjustedSource && ProcentoTODleObmObn() > 0 && m_vek < 80
        && (m_toDuvod == QLatin1String("0") || m_toDuvod == QLatin1String("4")))
        return QStringLiteral("6");
    return m_toDuvod;
}

QString TEtaz::TO_ZPUSOB() const
{
    return m_toZpusob == QLatin1String("0") ? QString() : m_toZpusob;
}

qint32 TEtaz::MZDDleHS()
{
    TPorostniSkupina* group = OwnerPorostniSkupina();
    return MinimumFellingAgeByManagementSet(codebookTable(this, QStringLiteral("TB_Mel_Drev")), m_hs,
                                            group ? group->LT() : QString());
}

namespace {

// Drops a range however the scan ends.
class RangeReset
{
public:
    explicit RangeReset(db::Table& table) : m_table(table) {}
    ~RangeReset()
    {
        try {
            m_table.CancelRange();
        } catch (...) {
        }
    }
    RangeReset(const RangeReset&) = delete;
    RangeReset& operator=(const RangeReset&) = delete;

private:
    db::Table& m_table;
};

// MZD of the last row in the range whose LT passes the test; `found` stays as it was otherwise.
template<class Test>
void scanFellingAges(db::Table& table, Test&& test, qint32& found)
{
    for (table.First(); !table.Eof(); table.Next())
        if (test(table.FieldByName(QStringLiteral("LT")).AsString()))
            found = table.FieldByName(QStringLiteral("MZD")).AsInteger();
}

} // namespace

qint32 MinimumFellingAgeByManagementSet(db::Table* melDrev, qint32 hs, const QString& lt)
{
    constexpr qint32 None = 999;
    if (!melDrev)
        return 0;
    melDrev->SetRange({hs, QStringLiteral("AAA")}, {hs, QStringLiteral("ZZZ")});
    RangeReset reset(*melDrev);
    qint32 result = None;
    // An empty needle is in every text; it matches nothing here.
    const auto holds = [](const QString& needle) {
        return [needle](const QString& text) { return !needle.isEmpty() && text.contains(needle); };
    };
    scanFellingAges(*melDrev, holds(lt), result);
    if (result == None)
        scanFellingAges(*melDrev, holds(lt.left(2) + QLatin1Char(' ')), result);
    if (result == None)
        scanFellingAges(*melDrev, [](const QString& text) {
            const QString bare = QString(text).remove(QLatin1Char(' '));
            return bare.isEmpty() || bare == QLatin1String("X");
        }, result);
    return result == None ? 0 : result;
}

QString TEtaz::ZAL_DRUH()
{
    TZalesneni* first = m_zalesneniMN ? childOfClassAt<TZalesneni>(m_zalesneniMN.get(), 0) : nullptr;
    return first ? first->ZAL_DRUH() : QStringLiteral("-");
}

double TEtaz::ZAL_P()
{
    return m_zalesneniMN ? m_zalesneniMN->PlochaZalesneni() : 0.0;
}

QString TEtaz::CeleOznaceni()
{
    return forest::designation(*this);
}

void TEtaz::appendCeleOznaceni(QString& text)
{
    if (TPorostniSkupina* group = OwnerPorostniSkupina())
        group->appendCeleOznaceni(text);
    text += QStringLiteral(" Etáž: ");
    text += m_etaz;
}

qint32 TEtaz::speciesSum(const char* property)
{
    return roundInt(SumFloatProperty(DrevinaMN(), QString::fromLatin1(property)));
}

qint32 TEtaz::ZastoupeniDrevin()
{
    return speciesSum("ZAST");
}

double TEtaz::RedukovanaPlochaEtDleZasoby()
{
    double sum = 0.0;
    forEachChild<TDrevina>(DrevinaMN(), [&](TDrevina* d) { sum += d->RedukovanaPlochaDrDleZasoby(); });
    return sum;
}

double TEtaz::PocitaneZakmeneniFlo()
{
    TPorostniSkupina* group = OwnerPorostniSkupina();
    if (!group || group->Plocha() < 0.005)
        return 0.0;
    return 10.0 * RedukovanaPlochaEtDleZasoby() / group->Plocha();
}

qint32 TEtaz::NejmensiTabulkovaZasoba()
{
    bool any = false;
    qint32 smallest = 0;
    forEachChild<TDrevina>(DrevinaMN(), [&](TDrevina* d) {
        if (!any || d->ZAS_TAB_HA() < smallest)
            smallest = d->ZAS_TAB_HA();
        any = true;
    });
    return smallest;
}

bool TEtaz::MusiBytMZD()
{
    return m_vek > 80 || m_toP > 0.004 || (m_pocObnovy > 0 && m_vek >= m_pocObnovy)
           || (m_vek == 0 && DrevinaMN()->PocetPrvku() == 0);
}

bool TEtaz::JeIndex_vxyz() const
{
    for (const QChar c : m_etaz.toLower())
        if (c == QLatin1Char('v') || c == QLatin1Char('x') || c == QLatin1Char('y') || c == QLatin1Char('z'))
            return true;
    return false;
}

qint32 TEtaz::DruhVykonu()
{
    if (speciesSum("DR_TO") > speciesSum("DR_TV"))
        return 10;
    if (m_tvP - m_proP > 0.005)
        return 11;
    if (m_proP > 0.005)
        return 12;
    return 0;
}

TDrevinaMN* TEtaz::DrevinaMN()
{
    return ensureChildSet(this, m_drevinaMN);
}

TDrevina* TEtaz::Drevina()
{
    return currentAs<TDrevina>(DrevinaMN());
}

TDrevina* TEtaz::DrevinaAt(int index)
{
    return childAt<TDrevina>(DrevinaMN(), index);
}

TZalesneniMN* TEtaz::ZalesneniMN()
{
    return ensureChildSet(this, m_zalesneniMN);
}

TZalesneni* TEtaz::Zalesneni()
{
    return currentAs<TZalesneni>(ZalesneniMN());
}

TZalesneni* TEtaz::ZalesneniAt(int index)
{
    return childAt<TZalesneni>(ZalesneniMN(), index);
}

TPorostniSkupina* TEtaz::OwnerPorostniSkupina()
{
    return ownerOf<TPorostniSkupina>(this);
}

// --- TEtazMN ---------------------------------------------------------------------------------------

TClass TEtazMN::StaticClass()
{
    static const TClassInfo info = describeClass<TEtazMN, TLesniMnozina>("TEtazMN");
    return &info;
}

TEtazMN::TEtazMN()
{
    setItems(TEtaz::StaticClass(), QStringLiteral("ETAZ"));
}

void TEtazMN::NovyPrvek(const QString& key)
{
    TLesniMnozina::NovyPrvek(normalisedDesignation(key));
}

void TEtazMN::SetJmenoAktualnihoPrvku(const QString& key)
{
    TLesniMnozina::SetJmenoAktualnihoPrvku(normalisedDesignation(key));
}

void TEtazMN::NovyNeboAktualniPrvek(const QString& key)
{
    selectOrCreate(normalisedDesignation(key));
}
