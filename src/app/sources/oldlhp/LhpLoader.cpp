// Fills the forest model from old 160-character LHP records.
#include "app/sources/oldlhp/LhpLoader.h"

#include "app/sources/PropertyLookup.h"
#include "app/sources/ishul/PropertyWriter.h"
#include "app/sources/oldlhp/UnivStareLHP.h"
#include "forest/base/Designations.h"
#include "forest/base/StatusText.h"
#include "forest/base/TextUtilities.h"
#include "forest/hierarchy/Dilec.h"
#include "forest/hierarchy/Drevina.h"
#include "forest/hierarchy/Etaz.h"
#include "forest/hierarchy/Kategorie.h"
#include "forest/hierarchy/LHC.h"
#include "forest/hierarchy/NonStockedLand.h"
#include "forest/hierarchy/Oddeleni.h"
#include "forest/hierarchy/Porost.h"
#include "forest/hierarchy/PorostniSkupina.h"
#include "forest/hierarchy/Poskozeni.h"
#include "forest/hierarchy/Zalesneni.h"
#include "forest/rules/SpeciesCodes.h"
#include "framework/core/TextRoutines.h"
#include "framework/values/TypedValues.h"
#include "platform/Exceptions.h"
#include "platform/db/Field.h"
#include "platform/db/Table.h"
#include "platform/text/DateTime.h"
#include "platform/text/Numbers.h"
#include "platform/ui/Services.h"

#include <cmath>

namespace {

// The number a property's text starts with (as GetPropAsInteger gives it).
qint32 readInt(TElement* element, const char* name)
{
    return LeadingInteger(app::literalText(*element, name));
}

// The number of a field: the digits of its text.
qint32 num(const TUnivStareLHP& r, int field)
{
    return r.Number(field);
}

// Status texts come per record: the text is always set, pending events run every so often.
void status(const QString& text)
{
    static int calls = 0;
    ui::services().setStatusText(text);
    if (++calls % 50 == 0)
        ProcessPendingEvents();
}

void message(const QString& text)
{
    ui::services().showMessage(text);
}

qint32 ownerKod(const TUnivStareLHP& r)
{
    return num(r, 10) % 100 + num(r, 31) * 100;
}

qint32 ownerDruh(const TUnivStareLHP& r)
{
    return num(r, 10) / 100;
}

// The designation of a stand group as records and groups are compared by.
QString groupKey(const QString& designation)
{
    return RemoveSpaces(NormalizeDesignationBlankZero(designation));
}

// Whether a record still belongs to the compartment, sub-compartment and stand group. The
// group's key is taken once; a record's only when its D16 differs from the last one seen.
class SameGroup
{
public:
    SameGroup(const TOddeleni* odd, const QString& dil, const QString& psk)
        : m_odd(odd->ODD()), m_dil(dil), m_key(groupKey(psk))
    {
    }

    bool operator()(const TUnivStareLHP& r)
    {
        if (r.Eof() || num(r, 7) != m_odd || !r.FieldIs(8, m_dil))
            return false;
        if (!m_seen || !r.FieldIs(16, m_lastText)) {
            m_lastText = r.D(16);
            m_lastMatches = groupKey(m_lastText) == m_key;
            m_seen = true;
        }
        return m_lastMatches;
    }

private:
    qint32 m_odd;
    QString m_dil;
    QString m_key;
    QString m_lastText;
    bool m_lastMatches = false;
    bool m_seen = false;
};

// The storey's operation area as its text reads back; an area of exactly zero (no operation
// so far, the common case) is zero without the text.
double storedArea(TEtaz* storey, const char* area)
{
    const PPropInfo prop = app::findLiteralProperty(*storey, area);
    if (prop && prop->Kind == tkFloat && prop->HasRead()) {
        const double stored = prop->Read(*storey).Float;
        if (stored == 0.0 && !std::signbit(stored))
            return 0.0;
    }
    double value = 0.0;
    txt::tryTextToFloat(GetPropValueAsString(storey, prop), value);
    return value;
}

// Adds a record's operation area to the storey; a storey with an area takes the record's
// urgency (cleaning and thinning: "3" becomes "1" with two operations, else one).
// Without a count (nullptr) the storey gets TO_DUVOD instead.
void addOperation(TEtaz* storey, const TUnivStareLHP& r, const char* area, int field, const char* urgency,
                  const char* count)
{
    const double value = storedArea(storey, area) + num(r, field) / 100.0;
    writeFloat(storey, area, value);
    if (value == 0.0 || FloatsEqualToDecimals(3, value, 0.0))
        return;
    writeText(storey, urgency, r.D(46));
    if (!count) {
        writeText(storey, "TO_DUVOD", QStringLiteral("1"));
        return;
    }
    writeInt(storey, count, 1);
    if (RemoveSpaces(r.D(46)) == QLatin1String("3")) {
        writeText(storey, urgency, QStringLiteral("1"));
        writeInt(storey, count, 2);
    }
}

void loadAfforestation(TEtaz* storey, const TUnivStareLHP& r)
{
    for (const int slot : {48, 51, 54}) {
        const qint32 code = num(r, slot);
        if (code == 0)
            continue;
        QString abbreviation;
        SpeciesCodeToAbbreviation(code, abbreviation);
        TZalesneniMN* set = storey->ZalesneniMN();
        set->NovyPrvekVzdy(abbreviation);
        auto* item = dynamic_cast<TZalesneni*>(set->AktualniPrvek());
        writeText(item, "ZAL_DR", abbreviation);
        status(QStringLiteral("Z lhp načítám zalesnění  ") + storey->CeleOznaceni());
        writeText(item, "ZAL_DRUH", r.D(slot + 1));
        writeFloat(item, "ZAL_P", num(r, slot + 2) / 100.0);
        writeInt(item, "ZpZadZal", 2);
    }
}

void loadDamage(TDrevina* species, const TUnivStareLHP& r)
{
    for (const int slot : {33, 35}) {
        const qint32 kind = num(r, slot);
        if (kind == 0)
            continue;
        TPoskozeniMN* set = species->PoskozeniMN();
        set->NovyPrvekVzdy(r.D(slot));
        TElement* item = set->AktualniPrvek();
        status((slot == 33 ? QStringLiteral("Z lhp načítám 1.poskozeni  ") : QStringLiteral("Z lhp načítám 2.poskozeni  "))
               + species->CeleOznaceni());
        writeInt(item, "POSKOZ_D", kind);
        writeInt(item, "POSKOZ_ST", kind);
        writeInt(item, "POSKOZ_R", num(r, slot + 1) * 10);
    }
}

void loadSpecies(TEtaz* storey, TUnivStareLHP& r)
{
    storey->DrevinaMN()->NovyPrvekVzdy(r.D(23).trimmed());
    auto* species = dynamic_cast<TDrevina*>(storey->DrevinaMN()->AktualniPrvek());
    if (!species)
        return;
    writeText(species, "DR_ZKR", r.D(23));
    status(QStringLiteral("Z lhp načítám drevinu  ") + species->CeleOznaceni());
    writeInt(species, "ZAST", num(r, 24));
    writeInt(species, "TLOUSTKA", num(r, 27));
    writeInt(species, "VYSKA", num(r, 26));
    writeInt(species, "BON_A", num(r, 28));
    writeInt(species, "ZAS_TAB_HA", num(r, 30));
    writeInt(species, "DR_ZAS_CEL", num(r, 32));
    // A group area of 0 gives no stock per hectare (and no error).
    const qint32 area = num(r, 17);
    const qint32 perHectare = area == 0 ? 0 : txt::roundHalfEven(num(r, 32) / double(area) * 100.0);
    writeInt(species, "DR_ZAS_HA", perHectare);
    writeInt(species, "POCET_KMENU", 0);
    writeFloat(species, "VYCETNI_ZAKLADNA", 0.0);
    writeText(species, "GEN_KLAS", r.D(28));
    writeText(species, "IMISE", r.D(61));
    writeText(species, "DR_KVAL", r.D(45));
    writeFloat(species, "PLOCHA_DREVINY", num(r, 25) / 100.0);
    writeText(species, "ZPZADZAS", QStringLiteral("8"));
    writeInt(species, "DR_TV", num(r, 44));
    writeInt(species, "N_ProcentoTV", num(r, 43));
    writeInt(species, "N_ObjemHaTV", txt::roundHalfEven(perHectare * num(r, 43) / 100.0));
    writeText(species, "ZpZadTV", QStringLiteral("3"));
    writeInt(species, "DR_TO", num(r, 40));
    writeText(species, "ZpZadTO", QStringLiteral("1"));
    addOperation(storey, r, "PRO_P", 47, "PRO_NAL", "PRO_POC");
    addOperation(storey, r, "TV_P", 42, "TV_NAL", "TV_POC");
    addOperation(storey, r, "TO_P", 39, "TO_NAL", nullptr);
    loadAfforestation(storey, r);
    loadDamage(species, r);
}

// The records of one stand group (one storey of the same designation), each consumed once.
void loadGroup(TOddeleni* odd, TDilec* dil, TPorost* stand, TUnivStareLHP& r)
{
    const QString designation = NormalizeDesignationBlankZero(r.D(16));
    stand->PorostniSkupinaMN()->NovyPrvek(designation);
    auto* group = stand->PorostniSkupina();
    if (!group) {
        message(stand->CeleOznaceni() + QStringLiteral(" vyskytuje se duplicitní označení porostní skupiny.") + r.D(16));
        r.Next();
        return;
    }
    const double area = num(r, 17) / 100.0;
    writeText(group, "PSK", designation);
    status(QStringLiteral("Z lhp načítám porSkup    ") + group->CeleOznaceni());
    writeText(group, "LT", r.D(21));
    writeText(group, "SLT", r.D(21).left(2));
    writeInt(group, "PRIB_VZD", num(r, 60));
    writeText(group, "TER_TYP", r.D(38));
    writeText(group, "Terenni_skupina", r.D(13));
    for (const char* p : {"PSK_P", "PSK_P0", "PSK_V"})
        writeFloat(group, p, area);
    group->EtazMN()->NovyPrvek(designation);
    TEtaz* storey = group->Etaz();
    if (!storey) {
        r.Next();
        return;
    }
    writeText(storey, "ETAZ", designation);
    status(QStringLiteral("Z lhp načítám etáž      ") + storey->CeleOznaceni());
    writeInt(storey, "VEK", num(r, 18));
    writeInt(storey, "HS", num(r, 19) + num(r, 59) * 1000);
    writeFloat(storey, "ETAZ_PP", area);
    writeFloat(storey, "ETAZ_PS", area);
    writeInt(storey, "OBMYTI", num(r, 20) / 100);
    writeInt(storey, "OBN_DOBA", num(r, 20) % 100);
    writeInt(storey, "ZAKM", num(r, 22));
    writeInt(storey, "ZP_TEZ_ST", num(r, 37));
    writeInt(storey, "TER_TYP_ST", num(r, 38));
    writeInt(storey, "NALEH_ST", num(r, 46));
    writeInt(storey, "M_Z_ZASOBY", num(r, 62));
    writeText(storey, "HOSP_TV", QStringLiteral("V"));
    const bool speciesRows = readInt(storey, "VEK") > 0;
    SameGroup sameGroup(odd, dil->DIL(), app::literalText(*group, "PSK"));
    while (sameGroup(r)) {
        try {
            if (speciesRows) {
                loadSpecies(storey, r);
            } else {
                loadAfforestation(storey, r);
                addOperation(storey, r, "PRO_P", 47, "PRO_NAL", "PRO_POC");
            }
        } catch (const Exception& e) {
            message(QStringLiteral(" bacha NactiDrevinaZalesneni ") + e.message());
        }
        r.Next();
    }
    storey->ZalesneniMN()->PercentagesFromAreas();
}

void fillStand(TPorost* stand, const QString& letter, TUnivStareLHP& r)
{
    stand->SetPOR(letter);
    status(QStringLiteral("Z lhp načítám porost   ") + stand->CeleOznaceni());
    writeText(stand, "PAS_OHR", r.D(14));
    writeText(stand, "KATEG_ST", r.D(9));
    writeInt(stand, "DRUH_UZIV_ST", ownerDruh(r));
    writeText(stand, "TER_SK_POR_ST", r.D(13));
    writeText(stand, "DRUH_POZ", QStringLiteral("10"));
    writeText(stand, "SDR_POR", QStringLiteral("N"));
    stand->SetMAJ_DRUH(ownerDruh(r));
    stand->SetMAJ_KOD(ownerKod(r));
    // Equal codes on both levels make two elements, as a repeated level code always does.
    TOrg_UrovenMN* levels = TJinyPozemek::Org_UrovenMN(stand);
    if (levels->PocetPrvku() == 0)
        stand->SetORG_UROVEN(1, r.D(6));
    if (levels->PocetPrvku() < 2)
        stand->SetORG_UROVEN(2, r.D(64));
    TKategorieMN* categories = TJinyPozemek::KategorieMN(stand);
    categories->NovyPrvek(r.D(9));
    writeText(categories->AktualniPrvek(), "KATEGORIE", r.D(9));
    if (!r.HasTlh())
        return;
    static const char* const prefixes[] = {"Popis porostu: ", nullptr, nullptr, "Zdravotní stav: ",
                                           "Plán hosp.opatření: ", nullptr, "Perspektivní záměr: ", nullptr};
    TStrings* lines = stand->POR_TEXT();
    for (int i = 2; i <= 9; ++i) {
        const char* prefix = prefixes[i - 2];
        lines->Lines.append((prefix ? QString::fromUtf8(prefix) : QString(22, QLatin1Char(' '))) + r.TlhString(i));
    }
}

// One stand per run of one owner's records (later runs of that owner join it).
void loadStand(TOddeleni* odd, TDilec* dil, TUnivStareLHP& r)
{
    const QString letter = FirstUnusedLetter(dil->PorostMN());
    dil->PorostMN()->NovyPrvekVzdy(letter);
    TPorost* stand = dil->Porost();
    if (!stand) {
        message(QStringLiteral(" bacha porost je nil"));
        r.Next();
        return;
    }
    fillStand(stand, letter, r);
    while (!r.Eof() && ownerKod(r) == readInt(stand, "MAJ_KOD")
           && ownerDruh(r) == readInt(stand, "MAJ_DRUH") && r.FieldIs(8, dil->DIL())
           && num(r, 7) == odd->ODD()) {
        loadGroup(odd, dil, stand, r);
        if (r.Eof() || (ownerKod(r) == readInt(stand, "MAJ_KOD")
                        && ownerDruh(r) == readInt(stand, "MAJ_DRUH")))
            continue;
        TPorost* found = nullptr;
        for (int i = 0; i < dil->PorostMN()->Count(); ++i) {
            auto* other = dynamic_cast<TPorost*>(dil->PorostMN()->Items(i));
            if (other && readInt(other, "MAJ_KOD") == ownerKod(r)
                && readInt(other, "MAJ_DRUH") == ownerDruh(r))
                found = other;
        }
        if (!found)
            break;
        dil->PorostMN()->SetAktualniPrvek(found);
        stand = found;
    }
}

void loadSubCompartment(TOddeleni* odd, TUnivStareLHP& r)
{
    const QString letter = r.D(8);
    odd->DilecMN()->NovyPrvek(letter);
    TDilec* dil = odd->Dilec();
    if (!dil) {
        message(QStringLiteral("nelze přidat stejný dílec"));
        while (!r.Eof() && num(r, 7) == odd->ODD() && r.FieldIs(8, letter))
            r.Next();   // the returning run is skipped whole
        return;
    }
    dil->SetDIL(letter);
    while (!r.Eof() && r.FieldIs(8, dil->DIL()) && num(r, 7) == odd->ODD()) {
        const qint64 before = r.Position();
        try {
            loadStand(odd, dil, r);
        } catch (const Exception& e) {
            message(QStringLiteral(" Bacha Bacha ") + e.message());
        }
        if (!r.Eof() && r.Position() == before)
            r.Next();   // every record is consumed, whatever failed
    }
}

} // namespace

void LoadLhcHeaderFromCodebook(TLHC* header, TUnivStareLHP& reader, const QString& programDir)
{
    const QString code = reader.D(2) + reader.D(3) + reader.D(4) + reader.D(5);
    const qint32 kod = DigitsToInt(code);
    writeInt(header, "LHC_KOD", kod);
    writeText(header, "LHC_NAZ", QStringLiteral("Ze staré věty :") + code + QStringLiteral("  ") + reader.D(1));
    writeText(header, "LHP_OD", txt::dateToStr(txt::today()));
    writeText(header, "LHP_DO", QString());
    writeText(header, "PUVOD_DAT", QStringLiteral("LHP 160"));
    try {
        db::Table table;
        table.SetTableName(programDir + QStringLiteral("/ciselnik/SEZLHC00.DB"));
        table.SetExclusive(true);
        table.Open();
        // A unit missing from the codebook keeps the record's values (never another unit's row).
        // The key's second field A is empty: the first row of the code (empty sorts first).
        if (table.FindKey({QString::number(kod)}) && table.FieldByName(QStringLiteral("A")).AsString().isEmpty()) {
            writeText(header, "LHP_OD", table.FieldByName(QStringLiteral("LHP_OD")).AsString());
            writeText(header, "LHP_DO", table.FieldByName(QStringLiteral("LHP_DO")).AsString());
            writeText(header, "LHC_NAZ", table.FieldByName(QStringLiteral("LHC_NAZ")).AsString());
        }
        table.Close();
    } catch (const Exception&) {
        message(QStringLiteral("Nebudou načteny položky LHP_OD,LHP_DO,LHC_NAZ z číselníku LHC"));
    }
}

void LoadCompartmentFromLhp(TOddeleni* odd, TUnivStareLHP& r)
{
    status(QStringLiteral("Z lhp načítám oddělení ") + r.D(7));
    while (!r.Eof() && num(r, 7) == odd->ODD()) {
        const qint64 before = r.Position();
        loadSubCompartment(odd, r);
        if (!r.Eof() && r.Position() == before)
            r.Next();
    }
}
