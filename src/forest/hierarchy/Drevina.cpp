// Tree species of a storey and their set.
#include "forest/hierarchy/Drevina.h"

#include "forest/hierarchy/Etaz.h"
#include "forest/hierarchy/Poskozeni.h"
#include "forest/hierarchy/PorostniSkupina.h"
#include "platform/text/Case.h"
#include "platform/ui/Services.h"

#include <array>
#include <cmath>

using namespace forest;

namespace {

constexpr quint8 AdjustedSource = 6;

QString withoutBlanks(QString text)
{
    return text.remove(QLatin1Char(' '));
}

// Whether the text reads wanted once its blanks are taken out (no text is built).
bool readsWithoutBlanks(QStringView text, QLatin1StringView wanted)
{
    qsizetype at = 0;
    for (const QChar c : text) {
        if (c == QLatin1Char(' '))
            continue;
        if (at == wanted.size() || c != QLatin1Char(wanted[at]))
            return false;
        ++at;
    }
    return at == wanted.size();
}

// Coefficients a0..a3 of the mean-tree volume by volume group 1..11.
constexpr std::array<std::array<double, 4>, 11> VolumeCoefficients = {{
    {2.5, -0.00846, -0.1071, 0.0053},
    {4.51, -0.0421, -0.2185, 0.00755},
    {-0.042, 0.00367, 0.0475, 0.00375},
    {2.2874, -0.02958, -0.2737, 0.00813},
    {-0.667, -0.00449, 0.0369, 0.005},
    {-1.2748, -0.0024, 0.0188, 0.00539},
    {-1.0275, 0.0003, 0.0812, 0.00403},
    {-1.3458, -0.0226, -0.0604, 0.00713},
    {-2.539, 0.033, 0.0874, 0.00297},
    {2.6548, -0.02764, -0.1349, 0.00604},
    {3.533, 0.0378, -0.0719, 0.005276},
}};

// The volume group of a species code.
int volumeGroup(qint32 code)
{
    struct Range {
        qint32 from, to;
        int group;
    };
    static constexpr Range Ranges[] = {
        {1, 9, 1},   {10, 18, 2}, {20, 29, 3}, {30, 39, 4}, {40, 48, 5}, {50, 50, 6},  {51, 51, 7},
        {52, 59, 8}, {60, 62, 5}, {63, 63, 9}, {64, 65, 10}, {66, 68, 11}, {70, 72, 5}, {74, 82, 6},
    };
    for (const Range& r : Ranges)
        if (code >= r.from && code <= r.to)
            return r.group;
    return 11;
}

// Lower age limit of the genetic class "C" by species.
qint32 geneticAgeLimit(const QString& abbreviation)
{
    static const QStringList Short = {"OL", "OLZ", "OLS", "BR", "BRX", "BRP", "OS"};
    static const QStringList Long = {"DG", "JDO", "VJ"};
    if (Short.contains(abbreviation))
        return 30;
    if (Long.contains(abbreviation))
        return 40;
    return 60;
}

} // namespace

TClass TDrevina::StaticClass()
{
    using D = TDrevina;
    static const TClassInfo info = describeClass<D, TLesniPrvek>("TDrevina", [](PropertyTable<D>& t) {
        t.integer("ZAST", fieldGet(&D::m_zast), fieldSet(&D::m_zast))
            .integer("TLOUSTKA", fieldGet(&D::m_tloustka), fieldSet(&D::m_tloustka))
            .integer("VYSKA", fieldGet(&D::m_vyska), fieldSet(&D::m_vyska))
            .integer("ZAS_TAB_HA", fieldGet(&D::m_zasTabHa), fieldSet(&D::m_zasTabHa))
            .integer("DR_ZAS_HA", fieldGet(&D::m_drZasHa), fieldSet(&D::m_drZasHa))
            .integer("DR_ZAS_CEL", fieldGet(&D::m_drZasCel), fieldSet(&D::m_drZasCel))
            .integer("POCET_KMENU", fieldGet(&D::m_pocetKmenu), fieldSet(&D::m_pocetKmenu))
            .floating("VYCETNI_ZAKLADNA", "Double", fieldGet(&D::m_vycetniZakladna), fieldSet(&D::m_vycetniZakladna))
            .string("VYB_STR", fieldGet(&D::m_vybStr), fieldSet(&D::m_vybStr))
            .string("DR_PUVOD", fieldGet(&D::m_drPuvod), fieldSet(&D::m_drPuvod))
            .integer("PROC_SOUS", fieldGet(&D::m_procSous), fieldSet(&D::m_procSous))
            .string("DR_KVAL", fieldGet(&D::m_drKval), fieldSet(&D::m_drKval))
            .floating("Vi", "Double", fieldGet(&D::m_vi), fieldSet(&D::m_vi))
            .integer("METODA_ZJISTENI_PRIRUSTU", fieldGet(&D::m_metodaZjisteniPrirustu),
                     fieldSet(&D::m_metodaZjisteniPrirustu))
            .integer("DR_CBP", fieldGet(&D::m_drCbp), fieldSet(&D::m_drCbp))
            .floating("PLOCHA_DREVINY", "Double", fieldGet(&D::m_plochaDreviny), fieldSet(&D::m_plochaDreviny))
            .integer("POC_JEHL", fieldGet(&D::m_pocJehl), fieldSet(&D::m_pocJehl))
            .string("ZPZADZAS", fieldGet(&D::m_zpZadZas), fieldSet(&D::m_zpZadZas))
            .string("DR_STAV_ZPRAC", fieldGet(&D::m_drStavZprac), fieldSet(&D::m_drStavZprac))
            .integer("N_ProcentoTV", fieldGet(&D::m_nProcentoTV), fieldSet(&D::m_nProcentoTV))
            .integer("N_ObjemHaTV", fieldGet(&D::m_nObjemHaTV), fieldSet(&D::m_nObjemHaTV))
            .integer("DR_TV", fieldGet(&D::m_drTv), fieldSet(&D::m_drTv))
            .string("ZpZadTV", fieldGet(&D::m_zpZadTV), fieldSet(&D::m_zpZadTV))
            .string("TV_STAV_ZPRAC", fieldGet(&D::m_tvStavZprac), fieldSet(&D::m_tvStavZprac))
            .integer("DR_TO", fieldGet(&D::m_drTo), fieldSet(&D::m_drTo))
            .string("ZpZadTO", fieldGet(&D::m_zpZadTO), fieldSet(&D::m_zpZadTO))
            .string("TO_STAV_ZPRAC", fieldGet(&D::m_toStavZprac), fieldSet(&D::m_toStavZprac))
            .integer("DR_TVYB", fieldGet(&D::m_drTvyb), fieldSet(&D::m_drTvyb));
        describeComputed(t);
    });
    return &info;
}

void TDrevina::describeComputed(PropertyTable<TDrevina>& t)
{
    using D = TDrevina;
    t.string("DR_ZKR", &D::DR_ZKR, &D::SetDR_ZKR)
        .integer("DR_KOD", &D::DR_KOD, nullptr, false)
        .integer("BON_A", fieldGet(&D::m_bonA), &D::SetBON_A)
        .integer("BON_RVyhl", &D::BON_RVyhl, &D::SetBON_RVyhl)
        .integer("BON_R", &D::BON_R, fieldSet(&D::m_bonR))
        .string("GEN_KLAS", &D::GEN_KLAS, &D::SetGEN_KLAS)
        .string("GEN_KLAS_nazev", &D::GEN_KLAS_nazev, nullptr, false)
        .integer("VYB_STRInt", &D::VYB_STRInt, &D::SetVYB_STRInt)
        .string("DR_PUVOD_nazev", &D::DR_PUVOD_nazev, nullptr, false)
        .floating("HMOT", "Double", &D::HMOT, nullptr, false)
        .string("IMISE", &D::IMISE, &D::SetIMISE)
        .string("IMISE_nazev", &D::IMISE_nazev, nullptr, false)
        .integer("OBJ_SOUS", &D::OBJ_SOUS, &D::SetOBJ_SOUS)
        .integer("POCET_KMENUVypocteny", &D::POCET_KMENUVypocteny, nullptr, false)
        .floating("VYCETNI_ZAKLADNATabul", "Double", &D::VYCETNI_ZAKLADNATabul, nullptr, false)
        .integer("KontrolniN_ObjemHaTV", &D::KontrolniN_ObjemHaTV, nullptr, false)
        .integer("SpocteneN_ProcentoTV", &D::SpocteneN_ProcentoTV, nullptr, false)
        .string("Poskozeni_Slovne_Prelamane", &D::Poskozeni_Slovne_Prelamane, nullptr, false)
        .string("DR_ZKR_nazev", [](D& d) { return d.codebookSpeciesText(QStringLiteral("POPIS_CS")); }, nullptr, false)
        .string("DR_ZKR_nazev_nemecky", [](D& d) { return d.codebookSpeciesText(QStringLiteral("POP_NEMEC")); },
                nullptr, false)
        .integer("Cislo_SLHP", &D::Cislo_SLHP, nullptr, false)
        .boolean("Jehlicnaty", &D::Jehlicnaty, nullptr, false)
        .floating("RedukovanaPlochaDrDleZasoby", "Double", &D::RedukovanaPlochaDrDleZasoby, nullptr, false)
        .integer("VypoctenaTabulkovaZasoba", &D::VypoctenaTabulkovaZasoba, nullptr, false)
        .object<TPoskozeniMN>("PoskozeniMN", &D::PoskozeniMN, nullptr, false)
        .object<TPoskozeni>("Poskozeni", &D::Poskozeni, nullptr, false)
        .string("CeleOznaceni", &D::CeleOznaceni, nullptr, false)
        .integer("VypoctenaDR_ZAS_HAzTabulek", &D::VypoctenaDR_ZAS_HAzTabulek, nullptr, false)
        .integer("KontrolniDR_ZAS_HA", &D::KontrolniDR_ZAS_HA, nullptr, false)
        .integer("VypoctenaDR_ZAS_CELzTabulek", &D::VypoctenaDR_ZAS_CELzTabulek, nullptr, false)
        .integer("KontrolniDR_ZAS_CEL", &D::KontrolniDR_ZAS_CEL, nullptr, false)
        .enumeration("ZpZadZasT", "TZpZadZas",
                     {"dleZast", "dleVsHA", "dleVsCel", "DleKmenu", "DleKrZak", "dleZastVolne", "dleNevim"},
                     [](D& d) { return static_cast<int>(d.ZpZadZasT()); },
                     [](D& d, int v) { d.SetZpZadZasT(static_cast<TZpZadZas>(v)); })
        .enumeration("ZpZadTVT", "TZpZadTV", {"TVDleProc", "TVDleHA", "TVDleCEL"},
                     [](D& d) { return static_cast<int>(d.ZpZadTVT()); },
                     [](D& d, int v) { d.SetZpZadTVT(static_cast<TZpZadTV>(v)); });
}

QString TDrevina::DR_ZKR()
{
    const QString abbreviation = txt::trim(m_drZkr);
    if (m_procSous == 100 && SourceKind() == AdjustedSource)
        return IsConiferous(abbreviation) ? QStringLiteral("SOJ") : QStringLiteral("SOL");
    return abbreviation;
}

qint32 TDrevina::DR_KOD()
{
    const QString abbreviation = DR_ZKR();
    const QString code = withoutBlanks(codebookText(this, QStringLiteral("tb_DrevCis"), QStringLiteral("CKOD"),
                                                    abbreviation, QStringLiteral("NKOD")));
    qint32 value = 0;
    if (txt::tryStrToInt(code, value))
        return value;
    // Species or codebook missing: the code of the species table.
    return SpeciesCodeOfIndex(SpeciesIndex(abbreviation));
}

void TDrevina::SetBON_A(qint32 v)
{
    if (v >= 1 && v <= 9)
        SetBON_RVyhl(v);
    else
        m_bonA = v;
}

qint32 TDrevina::BON_RVyhl()
{
    const QString abbreviation = DR_ZKR();
    if (m_bonA < 10 || m_bonA > 50 || abbreviation.size() > 4)
        return 0;
    try {
        return roundInt(SiteClassFromHeight(m_bonA, SpeciesGrowthGroup(abbreviation)));
    } catch (const Exception&) {
        return 0;
    }
}

void TDrevina::SetBON_RVyhl(qint32 v)
{
    const QString abbreviation = DR_ZKR();
    m_bonA = 0;
    if (v < 0 || v > 9 || abbreviation.size() > 4)
        return;
    try {
        m_bonA = roundInt(HeightFromSiteClass(v, SpeciesGrowthGroup(abbreviation)));
    } catch (const Exception&) {
        m_bonA = 0;
    }
}

qint32 TDrevina::BON_R()
{
    if (m_bonR != 0)
        return m_bonR;
    TEtaz* etaz = OwnerEtaz();
    return RelativeSiteClass(DR_ZKR(), etaz ? etaz->VEK() : 0, m_bonA);
}

QString TDrevina::GEN_KLAS()
{
    if (m_genKlas == QLatin1String("A") || m_genKlas == QLatin1String("B") || m_genKlas == QLatin1String("D"))
        return m_genKlas;
    TEtaz* etaz = OwnerEtaz();
    return etaz && etaz->VEK() > geneticAgeLimit(withoutBlanks(DR_ZKR())) ? QStringLiteral("C") : QString();
}

QString TDrevina::GEN_KLAS_nazev()
{
    const QString klas = GEN_KLAS();
    return klas.isEmpty() ? QString() : codebookName(this, QStringLiteral("tb_genKl"), klas.trimmed());
}

qint32 TDrevina::VYB_STRInt() const
{
    if (m_vybStr == QLatin1String("V"))
        return 99;
    qint32 value = 0;
    return txt::tryStrToInt(m_vybStr, value) ? value : 0;
}

void TDrevina::SetVYB_STRInt(qint32 v)
{
    m_vybStr = QString::number(v);
}

QString TDrevina::DR_PUVOD_nazev()
{
    const QString origin = m_drPuvod.trimmed();
    return origin.isEmpty() ? QString() : codebookName(this, QStringLiteral("Tb_puvod"), origin);
}

double TDrevina::HMOT()
{
    const double d = m_tloustka;
    const double h = m_vyska;
    if (d < 7 || h < 7)
        return 0.0;
    const auto& a = VolumeCoefficients[static_cast<size_t>(volumeGroup(DR_KOD()) - 1)];
    const double q = 100.0 * h / d;
    return d * d * 0.785 * (a[0] + a[1] * q + (a[2] + a[3] * q) * d) * 0.0001;
}

QString TDrevina::IMISE()
{
    m_imise = withoutBlanks(m_imise);
    if (m_imise == QLatin1String("01"))
        return QStringLiteral("0/1");
    if (m_imise.isEmpty())
        return QStringLiteral("0");
    if (SourceKind() == AdjustedSource) {
        if (m_imise == QLatin1String("4a") || m_imise == QLatin1String("4b"))
            return QStringLiteral("4");
        if (m_imise == QLatin1String("hol"))
            return QStringLiteral("0");
    }
    return m_imise;
}

void TDrevina::SetIMISE(const QString& v)
{
    m_imise = readsWithoutBlanks(v, QLatin1StringView("0/1")) ? QStringLiteral("01") : v;
}

QString TDrevina::IMISE_nazev()
{
    QString code = IMISE().trimmed();
    if (code == QLatin1String("0/1"))
        code = QStringLiteral("01");
    return codebookName(this, QStringLiteral("tb_imise"), code);
}

qint32 TDrevina::OBJ_SOUS() const
{
    return roundInt(static_cast<double>(m_drZasCel) * m_procSous / 100.0);
}

void TDrevina::SetOBJ_SOUS(qint32 v)
{
    // A species without stock keeps no dead-wood share (the share would divide by zero).
    m_procSous = m_drZasCel == 0 ? 0 : roundInt(static_cast<double>(v) / m_drZasCel * 100.0);
}

qint32 TDrevina::POCET_KMENUVypocteny()
{
    const double volume = HMOT();
    return volume <= 0.0001 ? 0 : roundInt(m_drZasCel / volume);
}

double TDrevina::VYCETNI_ZAKLADNATabul()
{
    return YieldTableBasalArea(DR_ZKR(), m_tloustka, m_vyska);
}

qint32 TDrevina::KontrolniN_ObjemHaTV()
{
    if (m_zpZadTV == QLatin1String("1"))
        return roundInt(m_drZasHa / 100.0 * m_nProcentoTV);
    if (m_zpZadTV == QLatin1String("3")) {
        TEtaz* etaz = OwnerEtaz();
        const double area = etaz ? etaz->TV_P() : 0.0;
        // No thinning area: no volume per hectare (as the thinning recalculation answers).
        return area <= 0.001 ? 0 : roundInt(m_drTv / area);
    }
    return m_nObjemHaTV;
}

qint32 TDrevina::SpocteneN_ProcentoTV()
{
    TEtaz* etaz = OwnerEtaz();
    TPorostniSkupina* group = etaz ? etaz->OwnerPorostniSkupina() : nullptr;
    const QString lt = group ? group->LT() : QString();
    const QChar letter = lt.size() >= 2 ? lt.at(1) : QChar(QLatin1Char(' '));
    return ThinningPercentFromPhsTables(DR_ZKR(), etaz ? etaz->ZAKM() : 0, etaz ? etaz->VEK() : 0, letter, m_bonA,
                                        100 - m_zast, m_zast);
}

QString TDrevina::Poskozeni_Slovne_Prelamane()
{
    return m_poskozeniMN ? JoinPropertyValues(m_poskozeniMN.get(), QStringLiteral("POSKOZ_Slovne"),
                                                        QStringLiteral("@$&"))
                         : QString();
}

QString TDrevina::codebookSpeciesText(const QString& field)
{
    const QString abbreviation = DR_ZKR();
    if (abbreviation.trimmed().isEmpty())
        return {};
    return codebookText(this, QStringLiteral("tb_DrevCis"), QStringLiteral("CKOD"), abbreviation, field);
}

qint32 TDrevina::Cislo_SLHP()
{
    qint32 value = 0;
    return txt::tryStrToInt(withoutBlanks(codebookSpeciesText(QStringLiteral("Cislo_SLHP"))), value) ? value : 0;
}

bool TDrevina::Jehlicnaty()
{
    return IsConiferous(DR_ZKR());
}

double TDrevina::RedukovanaPlochaDrDleZasoby() const
{
    return m_zasTabHa <= 0.1 ? 0.0 : static_cast<double>(m_drZasCel) / m_zasTabHa;
}

double TDrevina::TableStockPerHa()
{
    double v1 = 0, v2 = 0, fullStock = 0, tableStock = 0;
    YieldTableModel(DR_ZKR(), m_tloustka, m_vyska, v1, v2, fullStock, tableStock);
    return tableStock;
}

qint32 TDrevina::VypoctenaTabulkovaZasoba()
{
    return roundInt(TableStockPerHa());
}

double TDrevina::standGroupArea()
{
    TEtaz* etaz = OwnerEtaz();
    TPorostniSkupina* group = etaz ? etaz->OwnerPorostniSkupina() : nullptr;
    return group ? group->Plocha() : 0.0;
}

qint32 TDrevina::VypoctenaDR_ZAS_HAzTabulek()
{
    TEtaz* etaz = OwnerEtaz();
    const double zakm = etaz ? etaz->ZAKM() : 0;
    return roundInt(zakm / 10.0 * m_zast / 100.0 * TableStockPerHa());
}

qint32 TDrevina::VypoctenaDR_ZAS_CELzTabulek()
{
    TEtaz* etaz = OwnerEtaz();
    const double zakm = etaz ? etaz->ZAKM() : 0;
    return roundInt(m_zast / 100.0 * TableStockPerHa() * zakm / 10.0 * standGroupArea());
}

qint32 TDrevina::KontrolniDR_ZAS_HA()
{
    try {
        if (m_zpZadZas == QLatin1String("0"))
            return VypoctenaDR_ZAS_HAzTabulek();
        if (m_zpZadZas == QLatin1String("1") || m_zpZadZas == QLatin1String("4"))
            return m_drZasHa;
        if (m_zpZadZas == QLatin1String("2") || m_zpZadZas == QLatin1String("3"))
            return roundInt(txt::divFloat(m_drZasCel, standGroupArea()));
    } catch (const Exception&) {
    }
    ui::services().showMessage(CeleOznaceni() + QStringLiteral("Chybný zp.zad.zas.-Počítám DR_ZAS_HA z tabulek."));
    return VypoctenaDR_ZAS_HAzTabulek();
}

qint32 TDrevina::KontrolniDR_ZAS_CEL()
{
    try {
        if (m_zpZadZas == QLatin1String("0"))
            return VypoctenaDR_ZAS_CELzTabulek();
        if (m_zpZadZas == QLatin1String("1") || m_zpZadZas == QLatin1String("4"))
            return roundInt(m_drZasHa * standGroupArea());
        if (m_zpZadZas == QLatin1String("2") || m_zpZadZas == QLatin1String("3"))
            return m_drZasCel;
    } catch (const Exception&) {
    }
    ui::services().showMessage(CeleOznaceni() + QStringLiteral("Chybný zp.zad.zas.-Počítám DR_ZAS_CEL z tabulek."));
    return VypoctenaDR_ZAS_CELzTabulek();
}

TZpZadZas TDrevina::ZpZadZasT() const
{
    qint32 value = 0;
    if (txt::tryStrToInt(m_zpZadZas, value) && value >= 0 && value <= 5)
        return static_cast<TZpZadZas>(value);
    return TZpZadZas::dleNevim;
}

void TDrevina::SetZpZadZasT(TZpZadZas v)
{
    m_zpZadZas = QString::number(static_cast<int>(v));
}

TZpZadTV TDrevina::ZpZadTVT() const
{
    qint32 value = 0;
    if (txt::tryStrToInt(m_zpZadTV, value) && value >= 1 && value <= 3)
        return static_cast<TZpZadTV>(value - 1);
    return TZpZadTV::TVDleProc;
}

void TDrevina::SetZpZadTVT(TZpZadTV v)
{
    m_zpZadTV = QString::number(static_cast<int>(v) + 1);
}

QString TDrevina::CeleOznaceni()
{
    return forest::designation(*this);
}

void TDrevina::appendCeleOznaceni(QString& text)
{
    if (TEtaz* etaz = OwnerEtaz())
        etaz->appendCeleOznaceni(text);
    text += QStringLiteral(" Drev: ");
    text += DR_ZKR();
}

TPoskozeniMN* TDrevina::PoskozeniMN()
{
    return ensureChildSet(this, m_poskozeniMN);
}

TPoskozeni* TDrevina::Poskozeni()
{
    return PoskozeniMN()->Poskozeni();
}

TEtaz* TDrevina::OwnerEtaz()
{
    return ownerOf<TEtaz>(this);
}

void TDrevina::RecalculateThinning()
{
    TEtaz* etaz = OwnerEtaz();
    const double area = etaz ? etaz->TV_P() : 0.0;
    switch (ZpZadTVT()) {
    case TZpZadTV::TVDleProc:
        m_nObjemHaTV = roundInt(m_drZasHa * m_nProcentoTV / 100.0);
        m_drTv = roundInt(area * m_nObjemHaTV);
        break;
    case TZpZadTV::TVDleHA:
        m_nProcentoTV = m_drZasHa < 1 ? 0 : roundInt(static_cast<double>(m_nObjemHaTV) / m_drZasHa * 100.0);
        m_drTv = roundInt(area * m_nObjemHaTV);
        break;
    case TZpZadTV::TVDleCEL:
        m_nObjemHaTV = area <= 0.001 ? 0 : roundInt(m_drTv / area);
        m_nProcentoTV = m_drZasHa < 1 ? 0 : roundInt(static_cast<double>(m_nObjemHaTV) / m_drZasHa * 100.0);
        break;
    }
}

void TDrevina::StocksFromTables()
{
    TEtaz* etaz = OwnerEtaz();
    const double zakm = etaz ? etaz->ZAKM() : 0;
    m_drZasHa = VypoctenaDR_ZAS_HAzTabulek();
    m_drZasCel = VypoctenaDR_ZAS_CELzTabulek();
    m_pocetKmenu = POCET_KMENUVypocteny();
    m_vycetniZakladna = roundInt(VYCETNI_ZAKLADNATabul() * zakm / 10.0 * m_zast / 100.0);
}

// --- TDrevinaMN ------------------------------------------------------------------------------------

TClass TDrevinaMN::StaticClass()
{
    using M = TDrevinaMN;
    static const TClassInfo info = describeClass<M, TLesniMnozina>("TDrevinaMN", [](PropertyTable<M>& t) {
        t.integer("TV_jehlicnata", [](M& m) { return m.FellingSum(true, true); }, nullptr, false)
            .integer("TO_jehlicnata", [](M& m) { return m.FellingSum(false, true); }, nullptr, false)
            .integer("TV_listnata", [](M& m) { return m.FellingSum(true, false); }, nullptr, false)
            .integer("TO_listnata", [](M& m) { return m.FellingSum(false, false); }, nullptr, false);
    });
    return &info;
}

TDrevinaMN::TDrevinaMN()
{
    setItems(TDrevina::StaticClass(), QStringLiteral("DREV"));
}

qint32 TDrevinaMN::FellingSum(bool thinning, bool coniferous)
{
    qint32 sum = 0;
    forEachChild<TDrevina>(this, [&](TDrevina* d) {
        if (d->Jehlicnaty() == coniferous)
            sum = txt::addChecked(sum, thinning ? d->DR_TV() : d->DR_TO());
    });
    return sum;
}
