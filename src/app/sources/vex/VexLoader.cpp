// Loading the forest model from the sibling inventory database, versions 97 and 98.
#include "app/sources/vex/VexLoader.h"

#include "app/sources/vex/Ovr.h"
#include "app/sources/PropertyLookup.h"
#include "forest/base/StatusText.h"
#include "forest/codebooks/Ciselnik.h"
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
#include "framework/core/TextRoutines.h"
#include "framework/values/TypedValues.h"
#include "platform/Exceptions.h"
#include "platform/ui/Services.h"

#include <QHash>

#include <optional>


namespace vex {

namespace {

// Answers kept per pair of a table and a name literal: a front of two places per pair over a hash.
template<class Key, class Value>
class PointerPairCache
{
public:
    template<class Find>
    Value get(Key key, const char* name, Find find)
    {
        return m_front.get(key, name, [&] {
            const QPair<Key, const char*> pair(key, name);
            auto it = m_all.constFind(pair);
            if (it == m_all.constEnd())
                it = m_all.insert(pair, find());
            return it.value();
        });
    }
    void clear()
    {
        m_front.clear();
        m_all.clear();
    }

private:
    app::PointerPairFront<Key, Value> m_front;
    QHash<QPair<Key, const char*>, Value> m_all;
};

PointerPairCache<const db::Table*, db::Field*>& columnCache()
{
    static PointerPairCache<const db::Table*, db::Field*> cache;
    return cache;
}

} // namespace

void forgetColumns()
{
    columnCache().clear();
}

namespace {

// An error of a table read, already naming the table.
class ETableRead : public EDatabaseError
{
public:
    using EDatabaseError::EDatabaseError;
};

// Runs a walk over one table; an error not yet naming a table gets its name.
template<class F>
void overTable(db::Table& t, F walk)
{
    try {
        walk();
    } catch (const ETableRead&) {
        throw;
    } catch (const Exception& e) {
        throw ETableRead(QStringLiteral("Chyba při čtení tabulky %1: %2").arg(t.TableName(), e.message()));
    }
}

// --- writing published properties -------------------------------------------------------------

bool isTextKind(TTypeKind kind)
{
    return kind == tkString || kind == tkLString || kind == tkWString;
}

void put(TPersistent& o, PPropInfo p, qint32 value)
{
    if (p->HasWrite() && !app::writeWholeNumber(o, p, value))
        SetPropFromString(&o, p, QString::number(value));
}

void put(TPersistent& o, PPropInfo p, double value)
{
    if (!p->HasWrite())
        return;
    if (p->Kind != tkFloat) {
        put(o, p, qint32(qRound(value)));
        return;
    }
    PropValue v;
    v.Float = value;
    p->Write(o, v);
}

void put(TPersistent& o, PPropInfo p, QString value)
{
    if (!p->HasWrite())
        return;
    if (!isTextKind(p->Kind)) {
        SetPropFromString(&o, p, value);
        return;
    }
    PropValue v;
    v.Text = std::move(value);
    p->Write(o, v);
}

void put(TPersistent& o, const char* name, qint32 value)
{
    put(o, app::literalProperty(o, name), value);
}

void put(TPersistent& o, const char* name, double value)
{
    put(o, app::literalProperty(o, name), value);
}

void put(TPersistent& o, const char* name, QString value)
{
    put(o, app::literalProperty(o, name), std::move(value));
}

// --- column reads -----------------------------------------------------------------------------

// The field of a column. A search by name compares every field ignoring case, so the answer is
// kept per table and literal; the module clears the cache whenever its tables open or go away.
db::Field& column(const db::Table& t, const char* field)
{
    return *columnCache().get(&t, field, [&] { return &t.FieldByName(QString::fromLatin1(field)); });
}

qint32 intOf(const db::Table& t, const char* field)
{
    return column(t, field).AsInteger();
}

double floatOf(const db::Table& t, const char* field)
{
    return column(t, field).AsFloat();
}

QString textOf(const db::Table& t, const char* field)
{
    return column(t, field).AsString();
}

// A column that an older table of the sibling program may lack (never restructured): empty.
QString optionalText(const db::Table& t, const QString& field)
{
    const db::Field* f = t.FindField(field);
    return f ? f->AsString() : QString();
}

void copyInt(TPersistent& o, const char* property, const db::Table& t, const char* field)
{
    put(o, property, intOf(t, field));
}

void copyFloat(TPersistent& o, const char* property, const db::Table& t, const char* field)
{
    put(o, property, floatOf(t, field));
}

void copyText(TPersistent& o, const char* property, const db::Table& t, const char* field)
{
    put(o, property, textOf(t, field));
}

// --- copies looked up once ----------------------------------------------------------------------

enum class Conversion : quint8 { Integer, Float, Text };

// A property filled from a column, as copyInt, copyFloat or copyText fills it.
struct Copy {
    const char* property;
    const char* field;
    Conversion conversion;
};

Copy whole(const char* property, const char* field)
{
    return {property, field, Conversion::Integer};
}

Copy whole(const char* name)
{
    return whole(name, name);
}

Copy fraction(const char* property, const char* field)
{
    return {property, field, Conversion::Float};
}

Copy fraction(const char* name)
{
    return fraction(name, name);
}

Copy text(const char* property, const char* field)
{
    return {property, field, Conversion::Text};
}

Copy text(const char* name)
{
    return text(name, name);
}

void copyByName(TPersistent& o, const Copy& c, const db::Table& t)
{
    switch (c.conversion) {
    case Conversion::Integer: copyInt(o, c.property, t, c.field); break;
    case Conversion::Float: copyFloat(o, c.property, t, c.field); break;
    case Conversion::Text: copyText(o, c.property, t, c.field); break;
    }
}

// A filler's copies of a row, in their order. The properties and fields are looked up once per
// class and opening of the table (a field stays while its table's fieldsStamp does); when one
// is missing, every copy goes by name and raises where copyInt and the others raise.
class Copies
{
public:
    Copies(std::initializer_list<Copy> copies) : m_copies(copies) {}

    void apply(TPersistent& o, const db::Table& t)
    {
        if (o.ClassType() != m_class || t.fieldsStamp() != m_fieldsStamp)
            resolve(o, t);
        if (m_resolved.empty()) {
            for (const Copy& c : m_copies)
                copyByName(o, c, t);
            return;
        }
        for (const Resolved& r : m_resolved) {
            switch (r.conversion) {
            case Conversion::Integer: put(o, r.property, r.field->AsInteger()); break;
            case Conversion::Float: put(o, r.property, r.field->AsFloat()); break;
            case Conversion::Text: put(o, r.property, r.field->AsString()); break;
            }
        }
    }

private:
    struct Resolved {
        PPropInfo property;
        const db::Field* field;
        Conversion conversion;
    };

    void resolve(TPersistent& o, const db::Table& t)
    {
        m_class = o.ClassType();
        m_fieldsStamp = t.fieldsStamp();
        m_resolved.clear();
        for (const Copy& c : m_copies) {
            const PPropInfo property = app::findLiteralProperty(o, c.property);
            const db::Field* field = t.FindField(QString::fromLatin1(c.field));
            if (!property || !field) {
                m_resolved.clear();
                return;
            }
            m_resolved.push_back({property, field, c.conversion});
        }
    }

    std::vector<Copy> m_copies;
    std::vector<Resolved> m_resolved;   // empty: by name
    TClass m_class = nullptr;
    quint64 m_fieldsStamp = 0;
};

QString designation(TElement* element)
{
    return element ? app::literalText(*element, "CeleOznaceni") : QString();
}

void message(const QString& text)
{
    ui::services().showMessage(text);
}

// Runs a filler; an error there is reported with the level's text and the designation.
template<class F>
void guarded(const char* prefix, TElement* element, F fill)
{
    try {
        fill();
    } catch (const Exception&) {
        message(QString::fromUtf8(prefix) + designation(element));
    }
}

// Puts a table on its first row. A detail whose master has just moved is there already, and
// moving it again would rebuild every table below it once more.
void rewind(db::Table& t)
{
    if (t.Eof() || t.RecNo() != 1)
        t.First();
}

template<class T>
T* current(TLesniMnozina* set)
{
    return dynamic_cast<T*>(set->AktualniPrvek());
}

bool isV98(const TOvr& ovr)
{
    return ovr.version() == Version::V98;
}

// --- fillers ------------------------------------------------------------------------------------

void fillIds(TPersistent& e, const db::Table& t, const char* id = "ID", const char* vazba = "VAZBA")
{
    copyInt(e, "RId", t, id);
    copyInt(e, "Vazba", t, vazba);
}

void NactiPolozkyPorostu_db(TPorost& p, const db::Table& t)
{
    fillIds(p, t, "ID", "VAZBA");
    copyInt(p, "MAJ_KOD", t, "MAJ_KOD");
    copyInt(p, "MAJ_DRUH", t, "MAJ_DRUH");
    copyText(p, "POR", t, "POR");
    put(*TJinyPozemek::KategorieMN(&p), "KATEGORIEint", intOf(t, "KATEGORIE"));
    copyText(p, "PAS_OHR", t, "PAS_OHR");
    copyText(p, "LES_OBL", t, "LES_OBL");
    copyInt(p, "KAT_SPEC", t, "KAT_SPEC");
    copyText(p, "ZVL_STATUT", t, "ZVL_STATUS");
    copyText(p, "SDR_POR", t, "SDR_POR");
    copyText(p, "DRUH_POZ", t, "DRUH_POZ");
    copyText(p, "OLH_98", t, "OLH");
    const qint32 level1 = intOf(t, "ORG_UROVEN1");
    const qint32 level2 = intOf(t, "ORG_UROVEN2");
    TOrg_UrovenMN* levels = TJinyPozemek::Org_UrovenMN(&p);
    auto addLevel = [levels](qint32 level) {
        levels->NovyPrvek(QString::number(level));
        // Two equal levels: the second has no element of its own and is left out.
        if (TOrg_Uroven* item = current<TOrg_Uroven>(levels))
            item->SetORG_UROVEN(level);
    };
    if (level1 > 0 || level2 > 0)
        addLevel(level1);
    if (level2 > 0)
        addLevel(level2);
}

void NactiPolozkyPorostniSkupiny_db(TPorostniSkupina& s, const db::Table& t, const db::Table& notes)
{
    static Copies copies = {
        whole("RId", "ID"), whole("Vazba", "VAZBA"), text("PSK"), whole("LES_URAD"), whole("KU_KOD"),
        whole("PRIB_VZD"), whole("Uzivatel"), whole("HOSP_ZP"), whole("KVAL_P"), whole("POT_VLAST"), text("LT"),
        text("SLT"), text("HOSP_TVAR"), text("TER_TYP"), text("Terenni_skupina"), text("SKUPPARC"), text("DAN"),
        fraction("PSK_P"), fraction("PSK_P0"), fraction("PSK_V")};
    copies.apply(s, t);
    put(s, "PSK_TEXT", notes.IsEmpty() ? QString() : textOf(notes, "Poznamka"));
}

// The storey's cleaning, tending and regeneration proposals from the first rows of their views.
void storeyProposals(TEtaz& e, TOvr& ovr)
{
    db::Table& pror = ovr.TB_Pror();
    const bool hasPror = !DataSetIsEmpty(&pror);
    put(e, "PRO_P", hasPror ? floatOf(pror, "N_Plocha") : 0.0);
    put(e, "PRO_NAL", hasPror ? textOf(pror, "N_Nalehavost") : QString());
    put(e, "PRO_POC", hasPror ? intOf(pror, "Pocet_Zasahu") : 0);
    db::Table& navrh = ovr.TB_NAVRH();
    const bool hasNavrh = !DataSetIsEmpty(&navrh);
    if (hasNavrh)
        navrh.First();
    put(e, "TV_P", hasNavrh ? floatOf(navrh, "N_Plocha") : 0.0);
    put(e, "TV_NAL", hasNavrh ? textOf(navrh, "N_Nalehavost") : QString());
    put(e, "TV_POC", hasNavrh ? intOf(navrh, "Pocet_Zasahu") : 0);
    db::Table& tezob = ovr.TB_TEZOB();
    const bool hasTezob = !DataSetIsEmpty(&tezob);
    if (hasTezob)
        tezob.First();
    put(e, "TO_P", hasTezob ? floatOf(tezob, "N_Plocha") : 0.0);
    put(e, "TO_NAL", hasTezob ? textOf(tezob, "N_Nalehavost") : QString());
    put(e, "TO_DUVOD", hasTezob ? textOf(tezob, "Duvod") : QString());
}

void NactiPolozkyEtaze_db(TEtaz& e, TOvr& ovr)
{
    const db::Table& t = ovr.TB_ETAZ();
    static Copies common = {
        whole("RId", "ID"), whole("Vazba", "VAZBA"), text("ETAZ"), whole("HS"), whole("OBMYTI"), whole("OBN_DOBA"),
        whole("POC_OBNOVY"), whole("VEK"), whole("ZAKM"), whole("Rok_zjisteni_zasoby"), fraction("ETAZ_PP"),
        fraction("ETAZ_PS"), whole("M_Z_ZASOBY", "Metoda_zjisteni_zasoby"), text("MZDs", "MZD"), text("HOSP_TV")};
    static Copies only98 = {text("TO_ZPUSOB")};
    common.apply(e, t);
    if (isV98(ovr))
        only98.apply(e, t);
    storeyProposals(e, ovr);
}

void NactiPolozkyZalesneni_db(TZalesneni& z, const db::Table& t)
{
    static Copies copies = {whole("RId", "ID"), whole("Vazba"), text("ZAL_DRUH", "N_Druh_Vykonu"),
                            fraction("ZAL_P", "N_Plocha"), text("ZAL_DR", "N_Zkratka_dreviny"),
                            whole("ZAL_DR_P", "N_Procento"), whole("ZpZadZal", "ZpZadTV")};
    copies.apply(z, t);
}

void speciesColumns(TDrevina& d, const db::Table& t, bool v98)
{
    static Copies common = {
        whole("RId", "ID"), whole("Vazba", "VAZBA"), text("DR_ZKR"), whole("ZAST"), whole("TLOUSTKA"),
        whole("VYSKA"), whole("ZAS_TAB_HA"), whole("DR_ZAS_HA"), whole("POCET_KMENU"), whole("PROC_SOUS"),
        whole("METODA_ZJISTENI_PRIRUSTU"), whole("DR_CBP"), whole("BON_R"), whole("BON_A"),
        whole("DR_ZAS_CEL", "DR_ZAS_CELK"), fraction("VYCETNI_ZAKLADNA"), fraction("Vi"), fraction("PLOCHA_DREVINY"),
        text("GEN_KLAS"), text("VYB_STR"), text("DR_KVAL"), text("ZPZADZAS"), text("DR_PUVOD", "PUVOD_DR"),
        text("IMISE")};
    static Copies only98 = {whole("POC_JEHL"), text("DR_STAV_ZPRAC", "STAV_ZPRAC")};
    common.apply(d, t);
    if (v98)
        only98.apply(d, t);
}

// The storey's species abbreviations as Find_DR reads them, read on the first count and kept
// for the others: the species rows do not change while the storey loads.
class StoreyAbbreviations
{
public:
    // The rows whose abbreviation is species, as Find_DR.CountMatches counts them.
    qsizetype count(const TOvr& ovr, const QString& species)
    {
        if (!m_texts) {
            QStringList texts;
            const db::DataSource* source = ovr.Find_DR.DataSource();
            const db::DataSet* rows = source ? source->dataSet() : nullptr;
            const db::Field* field = rows && rows->Active() ? rows->FindField(ovr.Find_DR.DataField()) : nullptr;
            for (int row = 0; field && row < rows->RecordCount(); ++row)
                texts.append(field->asStringOf(rows->rowValue(row, field->Index())));
            m_texts = std::move(texts);
        }
        return m_texts->count(species);
    }

private:
    std::optional<QStringList> m_texts;
};

// Finds the species' row in a proposal view. Version 98 takes the row of the same rank among
// the view's rows of the abbreviation as the species row has among the storey's species rows.
bool findProposal(TOvr& ovr, StoreyAbbreviations& abbreviations, TKSekvenFind& finder, db::Table& view,
                  const QString& species, qint32 speciesId)
{
    if (!isV98(ovr) || abbreviations.count(ovr, species) <= 1)
        return finder.Find(species, true);
    db::Table& dr = ovr.TB_DR();
    db::Bookmark mark = dr.GetBookmark();
    int rank = 0;
    ovr.Find_DR.SetFindStyle(FromCurrent);
    dr.First();
    while (ovr.Find_DR.Find(species, true)) {
        ++rank;
        if (intOf(dr, "ID") == speciesId)
            break;
        dr.Next();
        if (dr.Eof())
            break;
    }
    dr.GotoBookmark(mark);
    dr.FreeBookmark(mark);
    ovr.Find_DR.SetFindStyle(FromTop);
    finder.SetFindStyle(FromCurrent);
    view.First();
    bool found = false;
    for (int i = 1; i <= rank; ++i) {
        found = finder.Find(species, true);
        if (!found || i == rank)
            break;
        view.Next();
        if (view.Eof()) {
            found = false;
            break;
        }
    }
    finder.SetFindStyle(FromTop);
    return found;
}

void speciesProposals(TDrevina& d, TOvr& ovr, StoreyAbbreviations& abbreviations)
{
    const bool v98 = isV98(ovr);
    const QString species = app::literalText(d, "DR_ZKR");
    const qint32 id = app::literalWholeNumber(d, "RId");
    bool tending = false;
    guarded("Chyba při načítání těžby výchovné : ", &d, [&] {
        db::Table& navrh = ovr.TB_NAVRH();
        if (DataSetIsEmpty(&navrh) || !findProposal(ovr, abbreviations, ovr.Find_NAVRH, navrh, species, id))
            return;
        tending = true;
        static Copies common = {whole("DR_TV", "N_Objem"), whole("N_ProcentoTV", "N_Procento"),
                                whole("N_ObjemHaTV", "N_ObjemHa"), text("ZpZadTV")};
        static Copies only98 = {text("TV_STAV_ZPRAC", "STAV_ZPRAC")};
        common.apply(d, navrh);
        if (v98)
            only98.apply(d, navrh);
    });
    if (!tending) {
        put(d, "DR_TV", 0);
        put(d, "N_ProcentoTV", 0);
        put(d, "N_ObjemHaTV", 0);
        put(d, "ZpZadTV", QString());
    }
    bool regeneration = false;
    guarded("Chyba při načítání těžby obnovní : ", &d, [&] {
        db::Table& tezob = ovr.TB_TEZOB();
        if (DataSetIsEmpty(&tezob))
            return;
        if (!findProposal(ovr, abbreviations, ovr.Find_TEZOB, tezob, species, id)) {
            message(designation(&d) + QStringLiteral("chybí v TO dřevina . Zruš TO a navrhni jej znovu."));
            return;
        }
        regeneration = true;
        static Copies copies = {whole("DR_TO", "N_Objem"), text("ZpZadTO", "ZpZadTV")};
        copies.apply(d, tezob);
        put(d, "DR_TVYB", 0);
    });
    if (!regeneration) {
        put(d, "DR_TO", 0);
        put(d, "ZpZadTO", QString());
        put(d, "DR_TVYB", 0);
    }
}

void NactiPolozkyPoskozeni_db(TPoskozeni& p, const db::Table& t)
{
    static Copies copies = {whole("Vazba"), whole("POSKOZ_D", "Druh_poskozeni"), whole("POSKOZ_R", "Stupen_poskozeni")};
    put(p, "RId", 0);
    copies.apply(p, t);
}

// The columns that bare land, other land and other areas share, with their property names.
struct AreaNames {
    const char* number;
    const char* majKod;
    const char* majDruh;
    const char* kuKod;
    const char* lesUrad;
    const char* p0;
    const char* p;
    const char* v;
    const char* kvalP;
    const char* potVlast;
    const char* skupParc;
    const char* vyuz;
    const char* kind;
};

void areaColumns(TPersistent& e, const db::Table& t, const AreaNames& n, const QString& kindField)
{
    fillIds(e, t);
    put(e, n.number, intOf(t, n.number));
    copyInt(e, n.majKod, t, "MAJ_KOD");
    copyInt(e, n.majDruh, t, "MAJ_DRUH");
    copyInt(e, n.kuKod, t, "KU_KOD");
    copyInt(e, n.lesUrad, t, "LES_URAD");
    copyFloat(e, n.p0, t, n.p0);
    copyFloat(e, n.p, t, n.p);
    copyFloat(e, n.v, t, n.v);
    copyInt(e, n.kvalP, t, "KVAL_P");
    copyInt(e, n.potVlast, t, "POT_VLAST");
    copyText(e, n.skupParc, t, "SKUPPARC");
    copyText(e, n.vyuz, t, n.vyuz);
    put(e, n.kind, optionalText(t, kindField));
}

const AreaNames kBareLand = {"BZL", "MAJ_KOD_BZL", "MAJ_DRUH_BZL", "KU_KOD_BZL", "LES_URAD_BZL", "BZL_P0", "BZL_P",
                             "BZL_V", "KVAL_P_BZL", "POT_VLAST_BZL", "SKUPPARC_BZL", "BZL_VYUZ", "BZL_DRUH"};
const AreaNames kOtherLand = {"JP", "MAJ_KOD_JP", "MAJ_DRUH_JP", "KU_KOD_JP", "LES_URAD_JP", "JP_P0", "JP_P",
                              "JP_V", "KVAL_P_JP", "POT_VLAST_JP", "SKUPPARC_JP", "JP_VYUZ", "JP_DRUH"};
const AreaNames kOtherArea = {"OST", "MAJ_KOD", "MAJ_DRUH", "KU_KOD", "LES_URAD", "OST_P0", "OST_P",
                              "OST_V", "KVAL_P", "POT_VLAST", "SKUPPARC", "OST_VYUZ", "VYUZITI"};

// --- the walk ---------------------------------------------------------------------------------

void loadOtherLand(TPorost& stand, TOvr& ovr)
{
    db::Table& t = ovr.Tb_jine();
    const bool v98 = isV98(ovr);
    overTable(t, [&] {
        for (rewind(t); !t.Eof(); t.Next()) {
            TJinyPozemekMN* set = stand.JinyPozemekMN();
            set->NovyPrvekVzdy(textOf(t, "JP"));
            auto* item = current<TJinyPozemek>(set);
            if (!item)
                continue;
            if (!v98)
                ShowStatusText(QStringLiteral("Za jinypozemek ") + designation(item));
            // A bad category is reported like any other failure of the row.
            guarded("Chyba při načítání jiného pozemku : ", item, [&] {
                areaColumns(*item, t, kOtherLand, otherLandKindField(ovr.version()));
                copyText(*item, "DRUH_POZ", t, "DRUH_POZ");
                copyText(*item, "JP_PUPFL", t, "JP_PUPFL");
                if (!v98)
                    TJinyPozemek::KategorieMN(item)->SetNovaKategorieVcetnePrekryvu(optionalText(t, QStringLiteral("Kategorie")));
            });
        }
    });
}

void loadOtherAreas(TPorost& stand, TOvr& ovr)
{
    db::Table& t = ovr.Tb_ost();
    const bool v98 = isV98(ovr);
    overTable(t, [&] {
        for (rewind(t); !t.Eof(); t.Next()) {
            if (!v98)
                ShowStatusText(QStringLiteral("Pred ostatni "));
            TOstatniMN* set = stand.OstatniMN();
            set->NovyPrvek(textOf(t, "OST"));
            auto* item = current<TOstatni>(set);
            if (!item)
                continue;
            if (!v98)
                ShowStatusText(QStringLiteral("Za Ostatni ") + designation(item));
            guarded("Chyba při načítání ostatní plochy : ", item, [&] {
                areaColumns(*item, t, kOtherArea, QStringLiteral("Vyuziti"));
                copyText(*item, "DRUH_POZ", t, "DRUH_POZ");
            });
        }
    });
}

void loadCategories(TPorost& stand, TOvr& ovr)
{
    db::Table& t = ovr.TB_PREKRYV();
    overTable(t, [&] {
        for (rewind(t); !t.Eof(); t.Next()) {
            TKategorieMN* set = TJinyPozemek::KategorieMN(&stand);
            const QString code = textOf(t, "Ktg_str");
            set->NovyPrvek(code);
            auto* item = current<TKategorie>(set);
            if (!item) {
                if (isV98(ovr)) {
                    message(designation(&stand) + QStringLiteral(" vyskytuje se duplicitní označení kategorie v překryvu."));
                    continue;
                }
                message(designation(&stand) + QStringLiteral(" KTG:\"") + code
                        + QStringLiteral("\" vyskytuje se duplicitní označení kategorie v překryvu."));
                return;
            }
            guarded("Chyba při načítání kategorie : ", item, [&] {
                fillIds(*item, t);
                copyText(*item, "KATEGORIE", t, "Ktg_str");
            });
        }
    });
}

void loadBareLand(TPorost& stand, TOvr& ovr)
{
    db::Table& t = ovr.Tb_BZL();
    overTable(t, [&] {
        for (rewind(t); !t.Eof(); t.Next()) {
            const qint32 number = intOf(t, "BZL");
            if (number == 0) {
                message(designation(&stand) + QStringLiteral(" vyskytuje se chybné označení bezlesi."));
                continue;
            }
            TBezlesiMN* set = stand.BezlesiMN();
            const QString key = textOf(t, "BZL");
            set->NovyPrvek(key);
            for (char letter = 'a'; !set->AktualniPrvek() && letter <= 'z'; ++letter)
                set->NovyPrvek(key + QLatin1Char(letter));
            auto* item = current<TBezlesi>(set);
            if (!item)
                continue;
            guarded("Chyba při načítání bezlesí : ", item,
                    [&] { areaColumns(*item, t, kBareLand, bareLandKindField(ovr.version())); });
        }
    });
}

// The species element of the current species row: a standing-dead-wood row (PROC_SOUS 100) and
// a living row of one abbreviation get two elements (keys k and k + "s"); any other repetition
// has none (the caller reports it).
TDrevina* keySpecies(TEtaz& storey, const db::Table& t)
{
    TDrevinaMN* set = storey.DrevinaMN();
    const QString key = textOf(t, "DR_ZKR");
    set->NovyPrvek(key);
    if (auto* made = current<TDrevina>(set))
        return made;
    set->SetJmenoAktualnihoPrvku(key);
    TElement* taken = set->AktualniPrvek();
    if (taken && taken->GetPropAsInteger(QStringLiteral("PROC_SOUS")) == 100) {
        taken->SetName(GetPropByName(taken, QStringLiteral("DR_ZKR")).trimmed() + QStringLiteral("s DREV"));
        set->NovyPrvek(key);
    }
    if (intOf(t, "PROC_SOUS") == 100)
        set->NovyPrvek(key + QStringLiteral("s"));
    TElement* now = set->AktualniPrvek();
    return now == taken ? nullptr : dynamic_cast<TDrevina*>(now);
}

void loadDamage(TDrevina& species, TOvr& ovr)
{
    db::Table& t = ovr.Tb_Poskoz();
    overTable(t, [&] {
        for (rewind(t); !t.Eof(); t.Next()) {
            TPoskozeniMN* set = species.PoskozeniMN();
            set->NovyPrvek(textOf(t, "Druh_poskozeni"));
            auto* item = current<TPoskozeni>(set);
            if (!item) {
                message(designation(&species) + QStringLiteral(" vyskytuje se duplicitní označení poškození."));
                continue;
            }
            guarded("Chyba při načítání poškození : ", item, [&] { NactiPolozkyPoskozeni_db(*item, t); });
        }
    });
}

void loadSpecies(TEtaz& storey, TOvr& ovr)
{
    db::Table& t = ovr.TB_DR();
    overTable(t, [&] {
        StoreyAbbreviations abbreviations;
        for (rewind(t); !t.Eof(); t.Next()) {
            TDrevina* species = keySpecies(storey, t);
            if (!species) {
                message(designation(&storey) + QStringLiteral(" vyskytuje se duplicitní drevina."));
                continue;
            }
            guarded("Chyba při načítání dřeviny : ", species, [&] { speciesColumns(*species, t, isV98(ovr)); });
            speciesProposals(*species, ovr, abbreviations);
            loadDamage(*species, ovr);
        }
    });
}

void loadAfforestation(TEtaz& storey, TOvr& ovr)
{
    db::Table& t = ovr.TB_ZAL();
    overTable(t, [&] {
        for (rewind(t); !t.Eof(); t.Next()) {
            TZalesneniMN* set = storey.ZalesneniMN();
            set->NovyPrvek(textOf(t, "N_Zkratka_Dreviny"));
            auto* item = current<TZalesneni>(set);
            if (!item) {
                message(designation(&storey) + QStringLiteral(" vyskytuje se duplicitní drevina k zalesnění."));
                continue;
            }
            guarded("Chyba při načítání zalesnění : ", item, [&] { NactiPolozkyZalesneni_db(*item, t); });
        }
    });
}

void loadStoreys(TPorostniSkupina& group, TOvr& ovr)
{
    db::Table& t = ovr.TB_ETAZ();
    overTable(t, [&] {
        for (rewind(t); !t.Eof(); t.Next()) {
            ovr.SetNavrhRanges();
            TEtazMN* set = group.EtazMN();
            set->NovyPrvek(textOf(t, "ETAZ"));
            auto* storey = current<TEtaz>(set);
            if (!storey) {
                message(designation(&group) + QStringLiteral(" vyskytuje se duplicitní označení etáže."));
                continue;
            }
            overTable(ovr.TB_NAVRH(), [&] { NactiPolozkyEtaze_db(*storey, ovr); });
            loadAfforestation(*storey, ovr);
            loadSpecies(*storey, ovr);
        }
    });
}

void loadStandGroups(TPorost& stand, TOvr& ovr)
{
    db::Table& t = ovr.TB_SK();
    overTable(t, [&] {
        for (rewind(t); !t.Eof(); t.Next()) {
            TPorostniSkupinaMN* set = stand.PorostniSkupinaMN();
            set->NovyPrvek(textOf(t, "PSK"));
            auto* group = current<TPorostniSkupina>(set);
            if (!group) {
                message(designation(&stand) + QStringLiteral(" vyskytuje se duplicitní označení porostní skupiny."));
                continue;
            }
            NactiPolozkyPorostniSkupiny_db(*group, t, ovr.TB_PS_POZN());
            loadStoreys(*group, ovr);
        }
    });
}

void loadStands(TDilec& dilec, TOvr& ovr)
{
    db::Table& t = ovr.TB_Porost();
    const bool v98 = isV98(ovr);
    overTable(t, [&] {
        for (rewind(t); !t.Eof(); t.Next()) {
            TPorostMN* set = dilec.PorostMN();
            set->NovyPrvek(textOf(t, "POR"));
            auto* stand = current<TPorost>(set);
            if (!stand) {
                message(designation(&dilec) + QStringLiteral(" vyskytuje se duplicitní označení porostu."));
                continue;
            }
            NactiPolozkyPorostu_db(*stand, t);
            if (!v98)
                ShowStatusText(QStringLiteral("Za NactiPolozkyPorostu_db ") + designation(&dilec));
            db::Table& notes = ovr.TB_POR_POZN();
            overTable(notes, [&] {
                for (rewind(notes); !notes.Eof(); notes.Next())
                    stand->POR_TEXT()->Lines.append(textOf(notes, "POZNAMKA"));
            });
            loadCategories(*stand, ovr);
            loadBareLand(*stand, ovr);
            if (v98) {
                loadOtherLand(*stand, ovr);
                loadOtherAreas(*stand, ovr);
            }
            loadStandGroups(*stand, ovr);
        }
    });
}

} // namespace

void LoadLhcHeader97(TLHC& lhc, TOvr& ovr)
{
    const db::Table& t = ovr.Tb_LHC();
    overTable(ovr.Tb_LHC(), [&] {
        copyInt(lhc, "LHC_KOD", t, "LHC_KOD");
        for (const char* f : {"LHC_NAZ", "LHP_OD", "LHP_DO"})
            copyText(lhc, f, t, f);
        const QString origin = textOf(t, "Puv_Dat");
        put(lhc, "PUVOD_DAT", origin.isEmpty() || origin == QLatin1String("0") ? QStringLiteral("VEX 97") : origin);
        try {
            const qint32 felling = intOf(t, "ETAT_TO");
            const qint32 tending = intOf(t, "ETAT_TV");
            put(lhc, "ETAT_TO", felling);
            put(lhc, "ETAT_TV", tending);
        } catch (const Exception&) {
            put(lhc, "ETAT_TO", -1);
            put(lhc, "ETAT_TV", -1);
        }
    });
}

void LoadLhcHeader98(TLHC& lhc, TOvr& ovr)
{
    const db::Table& t = ovr.Tb_LHC();
    overTable(ovr.Tb_LHC(), [&] {
        copyInt(lhc, "LHC_KOD", t, "LHC_KOD");
        for (const char* f : {"LHC_NAZ", "LHP_OD", "LHP_DO", "LHP_Z_OD", "LHP_Z_DO", "LHP_Z_TAX", "LHP_TAX"})
            copyText(lhc, f, t, f);
        for (const char* f : {"ETAT_TO", "ETAT_TV", "ETAT_TVYB", "TEZ_PROC", "NOR_PAS", "LHC_PN_PRO", "LHC_IND", "LHC_MAX"})
            copyInt(lhc, f, t, f);
        for (const char* f : {"LHP_LIC", "LHP_Z_LIC"})
            if (t.FindField(QString::fromLatin1(f)))
                copyText(lhc, f, t, f);
        if (t.FindField(QStringLiteral("MVYCH_DO40")))
            copyFloat(lhc, "MVYCH_DO40", t, "MVYCH_DO40");
        const QString origin = textOf(t, "Puv_Dat");
        put(lhc, "PUVOD_DAT", origin.isEmpty() || origin == QLatin1String("0") ? QStringLiteral("VEX 98") : origin);
    });
}

void AssignOvrTables(tciselnik& codebooks, TOvr& ovr)
{
    static const std::pair<const char*, Codebook> map[] = {
        {"TB_HS", Codebook::Tb_HS}, {"Tb_LT", Codebook::Tb_LT}, {"Tb_SLT", Codebook::Tb_SLT},
        {"Tb_kategorie", Codebook::Tb_Ktg}, {"TB_porKTG", Codebook::Tb_PorKtg}, {"Tb_Nal", Codebook::tb_nal},
        {"Tb_tvar", Codebook::tb_tvar}, {"TB_HZ", Codebook::tb_HZ}, {"TB_ZJZ", Codebook::tb_ZJZ},
        {"Tb_Zvl_Stat", Codebook::tb_ZVL_Stat}, {"Tb_DRUH_VLA", Codebook::tb_Druh_vla}, {"Tb_paoh", Codebook::Tb_PaOh},
        {"Tb_leob", Codebook::tb_LeOb}, {"Tb_sdr_por", Codebook::tb_sdr_por}, {"Tb_druh_poz", Codebook::tb_Druh_poz},
        {"Tb_pot_vla", Codebook::tb_Pot_vla}, {"Tb_tety", Codebook::tb_TeTy}, {"TB_LDU", Codebook::tb_LDU},
        {"Tb_kval_p", Codebook::tb_Kval_P}, {"Tb_duv_tezb", Codebook::tb_Duv_tezb}, {"Tb_druh_zal", Codebook::tb_Druh_Zal},
        {"Tb_dan", Codebook::tb_Dan}, {"TB_Majetky", Codebook::tb_Majetky}, {"Tb_katastry", Codebook::tb_Katastry},
        {"TB_OLH", Codebook::tb_OLH}, {"TB_GenKL", Codebook::tb_genKl}, {"tb_imise", Codebook::tb_imise},
        {"Tb_Puvod", Codebook::Tb_puvod}, {"TB_POSK", Codebook::tb_posk}, {"tb_DrevCis", Codebook::tb_DrevCis},
        {"TB_OrgUr1", Codebook::Tb_OrgUr1}, {"TB_OrgUr2", Codebook::Tb_OrgUr2}, {"TB_MEL_DREV", Codebook::TB_Mel_Drev},
        {"TB_Cis_Jine", Codebook::TB_Cis_Jine}, {"Tb_CIS_BEZL", Codebook::TB_Cis_Bezl},
        {"Tb_ZP_TEZBY", Codebook::TB_Zp_TEZBY}, {"Tb_ODVOZ_TEZ", Codebook::TB_ODVOZ_TEZ},
    };
    for (const auto& [component, codebook] : map) {
        if (codebook == Codebook::TB_ODVOZ_TEZ && !isV98(ovr))
            continue;
        db::Table& t = ovr.table(QString::fromLatin1(component));
        codebooks.SetTable(codebook, t.Active() ? &t : nullptr);
    }
}

void NactiOddeleni_db(Owned<TOddeleni>& result, TOvr& ovr)
{
    const bool v98 = isV98(ovr);
    if (!v98)
        ShowStatusText(QStringLiteral("V NactiOddeleni_db "));
    result = Create<TOddeleni>();
    TOddeleni& odd = *result;
    const db::Table& compartments = ovr.TB_ODD();
    overTable(ovr.TB_ODD(), [&] {
        odd.SetName(textOf(compartments, "ODD"));
        odd.SetODD(intOf(compartments, "ODD"));
    });
    if (!v98)
        ShowStatusText(QStringLiteral("Za NactiPolozkyOddeleni_db ") + QString::number(odd.ODD()));
    db::Table& dl = ovr.TB_DL();
    overTable(dl, [&] {
        for (rewind(dl); !dl.Eof(); dl.Next()) {
            TDilecMN* set = odd.DilecMN();
            set->NovyPrvek(textOf(dl, "DIL"));
            auto* dilec = current<TDilec>(set);
            if (!dilec)
                continue;
            fillIds(*dilec, dl);
            copyText(*dilec, "DIL", dl, "DIL");
            if (!v98)
                ShowStatusText(QStringLiteral("Za NactiPolozkyDilce_db ") + designation(dilec));
            loadStands(*dilec, ovr);
        }
        dl.First();
        ovr.TB_Porost().First();
    });
    odd.EnsureDilecAndPorost();
    if (v98) {
        overTable(ovr.TB_ODD(), [&] { ovr.TB_ODD().Next(); });
        return;
    }
    TPorost* stand = odd.Dilec() ? odd.Dilec()->Porost() : nullptr;
    if (stand) {
        loadOtherLand(*stand, ovr);
        loadOtherAreas(*stand, ovr);
    }
}

} // namespace vex
