// Loading the forest model from the SQL database of forest units, one query per level.
#include "app/sources/sql/SqlLoader.h"

#include "app/sources/PropertyLookup.h"
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
#include "platform/Exceptions.h"

#include <QHash>

namespace sqlsrc {

namespace {

// --- writing published properties -------------------------------------------------------------

// Writes a value read from a column into the property; the property's kind decides the form.
void store(TPersistent& object, const char* name, const QVariant& value)
{
    const PPropInfo p = app::publishedProperty(object, name);
    if (!p->HasWrite())
        return;
    PropValue v;
    switch (p->Kind) {
    case tkInteger:
    case tkEnumeration:
    case tkChar:
        v.Ordinal = value.toInt();
        break;
    case tkInt64:
        v.Int64 = value.toLongLong();
        break;
    case tkFloat:
        v.Float = value.toDouble();
        break;
    case tkString:
    case tkLString:
    case tkWString:
        v.Text = value.toString();
        break;
    default:
        SetPropFromString(&object, p, value.toString());
        return;
    }
    p->Write(object, v);
}

// --- reading columns --------------------------------------------------------------------------

qint32 intOf(const db::Query& q, const char* column)
{
    return q.FieldByName(QString::fromLatin1(column)).AsInteger();
}

QString textOf(const db::Query& q, const char* column)
{
    return q.FieldByName(QString::fromLatin1(column)).AsString();
}

double floatOf(const db::Query& q, const char* column)
{
    return q.FieldByName(QString::fromLatin1(column)).AsFloat();
}

void ints(TPersistent& o, const db::Query& q, std::initializer_list<const char*> columns)
{
    for (const char* c : columns)
        store(o, c, intOf(q, c));
}

void texts(TPersistent& o, const db::Query& q, std::initializer_list<const char*> columns)
{
    for (const char* c : columns)
        store(o, c, textOf(q, c));
}

void floats(TPersistent& o, const db::Query& q, std::initializer_list<const char*> columns)
{
    for (const char* c : columns)
        store(o, c, floatOf(q, c));
}

QString designation(TElement* element)
{
    return element ? GetPropByName(element, QStringLiteral("CeleOznaceni")) : QString();
}

template<class T>
T* current(TLesniMnozina* set)
{
    return dynamic_cast<T*>(set->AktualniPrvek());
}

template<class T>
T* selectOrCreate(TLesniMnozina* set, const QString& key)
{
    set->NovyNeboAktualniPrvek(key);
    T* item = current<T>(set);
    if (!item)
        throw EDatabaseError(QStringLiteral("Prvek \"%1\" nelze vytvořit.").arg(key));
    return item;
}

// --- where-clauses -----------------------------------------------------------------------------

// The key columns of a level, outermost first; every value is bound.
const char* const kChain[] = {"LHC_KOD", "LHC_KOD_ID", "ODD", "ODD_ID", "DIL", "POR", "PSK", "ETAZ", "DR_ZKR"};

// Sets "select * from T where (K1=:K1)and(K2=:K2)..." over the first `depth` key columns.
void prepare(db::Query& q, const char* table, int depth)
{
    QString where = QStringLiteral("where ");
    for (int i = 0; i < depth; ++i) {
        if (i > 0)
            where += QStringLiteral("and");
        where += QStringLiteral("(%1=:%1)").arg(QLatin1String(kChain[i]));
    }
    q.SQL().Clear();
    q.SQL().Add(QStringLiteral("select * from %1 ").arg(QLatin1String(table)));
    q.SQL().Add(where);
}

// The values of the key columns of the current parent row, as stored.
struct ParentKey {
    QVariant values[9];
    int depth = 0;

    ParentKey below(const db::Query& row, std::initializer_list<const char*> columns) const
    {
        ParentKey k = *this;
        for (const char* c : columns)
            k.values[k.depth++] = row.FieldByName(QString::fromLatin1(c)).Value();
        return k;
    }
};

void reopen(db::Query& q, const ParentKey& key)
{
    q.Close();
    for (int i = 0; i < key.depth; ++i)
        q.ParamByName(QLatin1String(kChain[i])).setValue(key.values[i]);
    q.Open();
    q.First();
}

// --- column copies ------------------------------------------------------------------------------

void copyStandColumns(TPorost& p, const db::Query& q)
{
    texts(p, q, {"POR", "PAS_OHR", "HIST_ROZD", "HIST_LHPOD", "KATEG_ST", "TER_SK_POR_ST"});
    ints(p, q, {"MAJ_KOD", "HIST_LHC", "DRUH_UZIV_ST"});
    p.SetLES_OBL(textOf(q, "LES_OBL"));
    store(p, "OLH_98", textOf(q, "OLH"));
    p.POR_TEXT()->Lines.append(textOf(q, "POR_TEXT"));
    // Three levels by position; the set adds every key, repeated codes included.
    TOrg_UrovenMN* levels = TJinyPozemek::Org_UrovenMN(&p);
    const char* const columns[] = {"OR_UR1_KOD", "OR_UR2_KOD", "OR_UR3_KOD"};
    for (int i = 0; i < 3; ++i) {
        if (levels->Count() > i)
            continue;
        levels->NovyPrvek(textOf(q, columns[i]));
        if (auto* level = current<TOrg_Uroven>(levels))
            level->SetORG_UROVEN(intOf(q, columns[i]));
    }
}

void copyStandGroupColumns(TPorostniSkupina& s, const db::Query& q)
{
    s.SetPSK(textOf(q, "PSK"));
    ints(s, q, {"KVAL_P", "LES_URAD", "PRIB_VZD"});
    texts(s, q, {"SLT", "TER_TYP", "LT", "PSK_TEXT"});
    floats(s, q, {"PSK_P0", "PSK_V", "PSK_P"});
}

void copyStoreyColumns(TEtaz& e, const db::Query& q)
{
    e.SetETAZ(textOf(q, "ETAZ"));
    texts(e, q, {"HOSP_TV", "PRO_NAL", "TV_NAL", "TO_DUVOD", "TO_NAL", "TVYB_NAL"});
    floats(e, q, {"ETAZ_PS", "ETAZ_PP", "PRO_P", "TV_P", "TO_P", "TVYB_P"});
    ints(e, q, {"VEK", "ZAKM", "HS", "OBMYTI", "OBN_DOBA", "PRO_POC", "TV_POC", "ZP_TEZ_ST", "TER_TYP_ST", "NALEH_ST"});
}

void copySpeciesColumns(TDrevina& d, const db::Query& q)
{
    texts(d, q, {"DR_ZKR", "DR_PUVOD", "GEN_KLAS", "VYB_STR", "DR_KVAL"});
    d.SetIMISE(textOf(q, "IMISE"));
    ints(d, q, {"ZAST", "VYSKA", "TLOUSTKA", "DR_ZAS_HA", "DR_ZAS_CEL", "DR_TV", "DR_TO", "BON_R"});
    d.SetBON_A(intOf(q, "BON_A"));
    store(d, "PROC_SOUS", intOf(q, "OBJ_SOUSI"));
}

void copyAfforestationColumns(TPersistent& z, const db::Query& q)
{
    texts(z, q, {"ZAL_DR", "ZAL_DRUH"});
    ints(z, q, {"ZAL_DR_P"});
    floats(z, q, {"ZAL_P"});
}

void copyDamageColumns(TPersistent& p, const db::Query& q)
{
    ints(p, q, {"POSKOZ_D", "POSKOZ_R", "POSKOZ_ST"});
}

void copyBareLandColumns(TPersistent& b, const db::Query& q)
{
    ints(b, q, {"BZL", "KVAL_P", "KU_KOD"});
    floats(b, q, {"BZL_P0", "BZL_V", "BZL_P"});
    texts(b, q, {"BZL_DRUH", "BZL_VYUZ"});
}

void copyOtherLandColumns(TPersistent& j, const db::Query& q)
{
    ints(j, q, {"JP", "KU_KOD", "KVAL_P", "LES_URAD"});
    store(j, "MAJ_KOD_JP", intOf(q, "MAJ_KOD"));
    texts(j, q, {"DRUH_POZ", "JP_DRUH", "JP_VYUZ"});
    floats(j, q, {"JP_P0", "JP_V", "JP_P"});
}

// --- the walk -----------------------------------------------------------------------------------

// Walks the rows of a child query: the element of each row's key, selected or created.
template<class T, class Fill>
void eachRow(db::Query& q, const ParentKey& key, TLesniMnozina* set, const char* keyColumn, Fill fill)
{
    reopen(q, key);
    for (; !q.Eof(); q.Next())
        fill(*selectOrCreate<T>(set, textOf(q, keyColumn)));
}

void loadSpecies(TEtaz& storey, LoaderQueries& qs, const ParentKey& storeyKey)
{
    eachRow<TDrevina>(qs.species, storeyKey, storey.DrevinaMN(), "DR_ZKR", [&](TDrevina& d) {
        copySpeciesColumns(d, qs.species);
        const ParentKey speciesKey = storeyKey.below(qs.species, {"DR_ZKR"});
        eachRow<TPoskozeni>(qs.damage, speciesKey, d.PoskozeniMN(), "POSKOZ_D",
                            [&](TPoskozeni& p) { copyDamageColumns(p, qs.damage); });
    });
    eachRow<TZalesneni>(qs.afforestation, storeyKey, storey.ZalesneniMN(), "ZAL_DR",
                        [&](TZalesneni& z) { copyAfforestationColumns(z, qs.afforestation); });
}

void loadStoreys(TPorostniSkupina& group, LoaderQueries& qs, const ParentKey& groupKey)
{
    eachRow<TEtaz>(qs.storeys, groupKey, group.EtazMN(), "ETAZ", [&](TEtaz& e) {
        ShowStatusText(QStringLiteral("pred načtením etáže ") + designation(&e));
        copyStoreyColumns(e, qs.storeys);
        loadSpecies(e, qs, groupKey.below(qs.storeys, {"ETAZ"}));
        ShowStatusText(QStringLiteral("načtena etáž ") + designation(&e));
    });
}

void loadStand(TPorost& stand, LoaderQueries& qs, const ParentKey& standKey)
{
    copyStandColumns(stand, qs.stands);
    ShowStatusText(QStringLiteral("načteny polozky porostu ") + designation(&stand));
    eachRow<TPorostniSkupina>(qs.groups, standKey, stand.PorostniSkupinaMN(), "PSK", [&](TPorostniSkupina& s) {
        ShowStatusText(QStringLiteral("Před načtením porostní skupiny ") + designation(&s));
        copyStandGroupColumns(s, qs.groups);
        loadStoreys(s, qs, standKey.below(qs.groups, {"PSK"}));
        ShowStatusText(QStringLiteral("načtena porostní skupina ") + designation(&s));
    });
    eachRow<TKategorie>(qs.categories, standKey, TJinyPozemek::KategorieMN(&stand), "KATEGORIE", [&](TKategorie& k) {
        ShowStatusText(QStringLiteral("Před načtením kategorie ") + designation(&k));
        texts(k, qs.categories, {"KATEGORIE"});
        ShowStatusText(QStringLiteral("načtena kategorie ") + designation(&k));
    });
    eachRow<TBezlesi>(qs.bareLand, standKey, stand.BezlesiMN(), "BZL", [&](TBezlesi& b) {
        ShowStatusText(QStringLiteral("Před načtením bezlesi ") + designation(&b));
        copyBareLandColumns(b, qs.bareLand);
        ShowStatusText(QStringLiteral("načteno bezlesí ") + designation(&b));
    });
    eachRow<TJinyPozemek>(qs.otherLand, standKey, stand.JinyPozemekMN(), "JP", [&](TJinyPozemek& j) {
        ShowStatusText(QStringLiteral("Před načtením jiných pozemků ") + designation(&j));
        copyOtherLandColumns(j, qs.otherLand);
        ShowStatusText(QStringLiteral("načten jiný pozemek ") + designation(&j));
    });
}

} // namespace

LoaderQueries::LoaderQueries(const QString& databaseName)
{
    for (db::Query* q : {&header, &stands, &groups, &categories, &bareLand, &otherLand, &storeys, &species,
                         &afforestation, &damage, &compartmentNumbers})
        q->SetDatabaseName(databaseName);
    prepare(header, "LHC", 2);
    prepare(stands, "POROST", 2);
    stands.SQL().Add(QStringLiteral("order by ODD, ODD_ID, DIL, POR"));
    prepare(groups, "POROST_SKUP", 6);
    prepare(categories, "PREKRYV", 6);
    prepare(bareLand, "BEZLESI", 6);
    prepare(otherLand, "JINE_POZ", 6);
    prepare(storeys, "ETAZ", 7);
    prepare(species, "DREVINA", 8);
    prepare(afforestation, "DREV_ZALES", 8);
    prepare(damage, "SKODY", 9);
    compartmentNumbers.SQL().Add(QStringLiteral("select distinct ODD from POROST "));
    compartmentNumbers.SQL().Add(QStringLiteral("where (LHC_KOD=:LHC_KOD)and(LHC_KOD_ID=:LHC_KOD_ID)"));
}

namespace {

ParentKey unitKey(UnitKey key)
{
    ParentKey k;
    k.values[0] = key.kod;
    k.values[1] = key.id;
    k.depth = 2;
    return k;
}

} // namespace

bool LoadLhcHeaderFromSql(TLHC& lhc, LoaderQueries& queries, UnitKey key)
{
    db::Query& q = queries.header;
    reopen(q, unitKey(key));
    if (q.Eof())
        return false;
    ints(lhc, q, {"LHC_KOD", "LHC_KOD_ID", "ETAT_TO"});
    texts(lhc, q, {"LHP_OD", "LHP_DO", "LHC_NAZ"});
    store(lhc, "ETAT_TV", intOf(q, "ETAT_TC") - intOf(q, "ETAT_TO"));
    return true;
}

QStringList LoadCompartmentNumbersFromSql(LoaderQueries& queries, UnitKey key)
{
    db::Query& q = queries.compartmentNumbers;
    reopen(q, unitKey(key));
    QStringList list;
    for (; !q.Eof(); q.Next()) {
        const QString padded = PadLeft(textOf(q, "ODD"), 3, QLatin1Char(' '));
        if (!list.contains(padded))
            list.append(padded);
    }
    list.sort();
    return list;
}

void OpenStandsFromSql(LoaderQueries& queries, UnitKey key)
{
    reopen(queries.stands, unitKey(key));
}

void LoadCompartmentFromSql(Owned<TOddeleni>& result, LoaderQueries& queries, UnitKey key)
{
    result = Create<TOddeleni>();
    TOddeleni& odd = *result;
    db::Query& q = queries.stands;
    bool started = false;
    qint32 oddId = 0;
    while (q.Active() && !q.Eof()) {
        const qint32 rowOdd = intOf(q, "ODD");
        const qint32 rowOddId = intOf(q, "ODD_ID");
        if (started && (rowOdd != odd.ODD() || rowOddId != oddId))
            break;
        ShowStatusText(QStringLiteral("před načtením porostu "));
        if (!started) {
            odd.SetName(textOf(q, "ODD"));
            odd.SetODD(rowOdd);
            store(odd, "ODD_ID", rowOddId);
            oddId = rowOddId;
            started = true;
        }
        auto* dilec = selectOrCreate<TDilec>(odd.DilecMN(), textOf(q, "DIL"));
        dilec->SetDIL(textOf(q, "DIL"));
        auto* stand = selectOrCreate<TPorost>(dilec->PorostMN(), textOf(q, "POR"));
        ShowStatusText(QStringLiteral("načten porost ") + designation(stand));
        loadStand(*stand, queries, unitKey(key).below(q, {"ODD", "ODD_ID", "DIL", "POR"}));
        q.Next();
    }
}

} // namespace sqlsrc
