// Loading the forest model from the SQL database of forest units, level by level.
#include "app/sources/sql/SqlLoader.h"

#include "app/sources/PropertyLookup.h"
#include "app/sources/sql/SqlSchema.h"
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
#include "platform/db/sql/Database.h"

#include <algorithm>
#include <cassert>
#include <optional>
#include <string>
#include <string_view>

namespace sqlsrc {

// Where the rows of one parent lie among a level's rows: the parent's key (the row's key columns
// below the compartment, as db::Query::appendValueKey gives them) and the row's record number.
struct RowKey {
    uint32_t offset = 0;   // into OpenQuery::keys
    uint32_t length = 0;
    int record = 0;        // 1-based, in the query's order
};

// One query of the loader while it is open: its fields found by name (once per open), and for a
// child level read per compartment, its rows by their parent's key.
struct OpenQuery {
    db::Query* query = nullptr;
    int depth = 0;   // key columns of the parent, LHC_KOD first (child levels)
    std::vector<std::pair<const char*, db::Field*>> fields;
    std::string keys;              // the keys of the rows, one after another
    std::vector<RowKey> rowKeys;   // sorted by key, then by record

    db::Field& field(const char* column)
    {
        for (const auto& [name, f] : fields)
            if (name == column)
                return *f;
        db::Field& f = query->FieldByName(QLatin1String(column));
        fields.emplace_back(column, &f);
        return f;
    }
    std::string_view keyOf(const RowKey& row) const { return std::string_view(keys).substr(row.offset, row.length); }
};

struct LoaderState {
    std::vector<OpenQuery> queries;
    std::optional<std::string> held;   // the ODD and ODD_ID (as stored) the child levels were opened for

    OpenQuery& of(const db::Query& q)
    {
        const auto it = std::find_if(queries.begin(), queries.end(), [&q](const OpenQuery& o) { return o.query == &q; });
        assert(it != queries.end());
        return *it;
    }
};

namespace {

// --- writing published properties -------------------------------------------------------------

// Writes a value read from a column into the property; the property's kind decides the form.
void storeValue(TPersistent& object, const PPropInfo p, const QVariant& value)
{
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

// The forms of the columns' own types go straight into properties of their kind.
void store(TPersistent& object, const char* name, qint32 value)
{
    const PPropInfo p = app::literalProperty(object, name);
    if (p->HasWrite() && !app::writeWholeNumber(object, p, value))
        storeValue(object, p, value);
}

void store(TPersistent& object, const char* name, double value)
{
    const PPropInfo p = app::literalProperty(object, name);
    if (!p->HasWrite())
        return;
    if (p->Kind != tkFloat)
        return storeValue(object, p, value);
    PropValue v;
    v.Float = value;
    p->Write(object, v);
}

void store(TPersistent& object, const char* name, const QString& value)
{
    const PPropInfo p = app::literalProperty(object, name);
    if (!p->HasWrite())
        return;
    if (p->Kind != tkString && p->Kind != tkLString && p->Kind != tkWString)
        return storeValue(object, p, value);
    PropValue v;
    v.Text = value;
    p->Write(object, v);
}

// --- reading columns of the current row ---------------------------------------------------------

qint32 intOf(OpenQuery& q, const char* column)
{
    return q.field(column).AsInteger();
}

QString textOf(OpenQuery& q, const char* column)
{
    return q.field(column).AsString();
}

double floatOf(OpenQuery& q, const char* column)
{
    return q.field(column).AsFloat();
}

void ints(TPersistent& o, OpenQuery& q, std::initializer_list<const char*> columns)
{
    for (const char* c : columns)
        store(o, c, intOf(q, c));
}

void texts(TPersistent& o, OpenQuery& q, std::initializer_list<const char*> columns)
{
    for (const char* c : columns)
        store(o, c, textOf(q, c));
}

void floats(TPersistent& o, OpenQuery& q, std::initializer_list<const char*> columns)
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

// --- statements ---------------------------------------------------------------------------------

// The key columns of a level, outermost first; every value is bound.
const char* const kChain[] = {"LHC_KOD", "LHC_KOD_ID", "ODD", "ODD_ID", "DIL", "POR", "PSK", "ETAZ", "DR_ZKR"};

// Key columns bound by the per-compartment statements: the unit and the compartment.
constexpr int kCompartmentDepth = 4;

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

// Sets the per-compartment statement: the level's rows of one compartment, in the order of the
// level's index and then of the rows' places in the table. A per-parent query that the database
// answers through that index gives each parent's rows in just this order.
void prepareCompartment(db::Query& q, const char* table, Engine engine)
{
    prepare(q, table, kCompartmentDepth);
    const TableDef* def = findTable(QLatin1String(table));
    QStringList order = def ? def->indexColumns : QStringList();
    order << (engine == Engine::Postgres ? QStringLiteral("ctid") : QStringLiteral("rowid"));
    q.SQL().Add(QStringLiteral("order by ") + order.join(QStringLiteral(", ")));
}

// Key columns of a parent row: the unit and the compartment as values to bind, the columns below
// as the key its rows are found by.
struct ParentKey {
    QVariant values[9];   // the first kCompartmentDepth; every one when reading per parent
    std::string match;    // the values below the compartment (db::Query::appendValueKey)
    bool hasNull = false; // a value below the compartment is NULL: no row equals it
    int depth = 0;

    ParentKey below(OpenQuery& row, std::initializer_list<const char*> columns, ChildReading reading) const
    {
        ParentKey k = *this;
        for (const char* c : columns) {
            const db::Field& field = row.field(c);
            if (k.depth < kCompartmentDepth || reading == ChildReading::PerParent)
                k.values[k.depth] = field.Value();
            else if (!row.query->appendValueKey(k.match, row.query->currentRow(), field.Index()))
                k.hasNull = true;
            ++k.depth;
        }
        return k;
    }
};

void reopen(OpenQuery& q, const ParentKey& key)
{
    q.query->Close();
    q.fields.clear();
    for (int i = 0; i < key.depth; ++i)
        q.query->ParamByName(QLatin1String(kChain[i])).setValue(key.values[i]);
    q.query->Open();
    q.query->First();
}

// --- column copies ------------------------------------------------------------------------------

void copyStandColumns(TPorost& p, OpenQuery& q)
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

void copyStandGroupColumns(TPorostniSkupina& s, OpenQuery& q)
{
    s.SetPSK(textOf(q, "PSK"));
    ints(s, q, {"KVAL_P", "LES_URAD", "PRIB_VZD"});
    texts(s, q, {"SLT", "TER_TYP", "LT", "PSK_TEXT"});
    floats(s, q, {"PSK_P0", "PSK_V", "PSK_P"});
}

void copyStoreyColumns(TEtaz& e, OpenQuery& q)
{
    e.SetETAZ(textOf(q, "ETAZ"));
    texts(e, q, {"HOSP_TV", "PRO_NAL", "TV_NAL", "TO_DUVOD", "TO_NAL", "TVYB_NAL"});
    floats(e, q, {"ETAZ_PS", "ETAZ_PP", "PRO_P", "TV_P", "TO_P", "TVYB_P"});
    ints(e, q, {"VEK", "ZAKM", "HS", "OBMYTI", "OBN_DOBA", "PRO_POC", "TV_POC", "ZP_TEZ_ST", "TER_TYP_ST", "NALEH_ST"});
}

void copySpeciesColumns(TDrevina& d, OpenQuery& q)
{
    texts(d, q, {"DR_ZKR", "DR_PUVOD", "GEN_KLAS", "VYB_STR", "DR_KVAL"});
    d.SetIMISE(textOf(q, "IMISE"));
    ints(d, q, {"ZAST", "VYSKA", "TLOUSTKA", "DR_ZAS_HA", "DR_ZAS_CEL", "DR_TV", "DR_TO", "BON_R"});
    d.SetBON_A(intOf(q, "BON_A"));
    store(d, "PROC_SOUS", intOf(q, "OBJ_SOUSI"));
}

void copyAfforestationColumns(TPersistent& z, OpenQuery& q)
{
    texts(z, q, {"ZAL_DR", "ZAL_DRUH"});
    ints(z, q, {"ZAL_DR_P"});
    floats(z, q, {"ZAL_P"});
}

void copyDamageColumns(TPersistent& p, OpenQuery& q)
{
    ints(p, q, {"POSKOZ_D", "POSKOZ_R", "POSKOZ_ST"});
}

void copyBareLandColumns(TPersistent& b, OpenQuery& q)
{
    ints(b, q, {"BZL", "KVAL_P", "KU_KOD"});
    floats(b, q, {"BZL_P0", "BZL_V", "BZL_P"});
    texts(b, q, {"BZL_DRUH", "BZL_VYUZ"});
}

void copyOtherLandColumns(TPersistent& j, OpenQuery& q)
{
    ints(j, q, {"JP", "KU_KOD", "KVAL_P", "LES_URAD"});
    store(j, "MAJ_KOD_JP", intOf(q, "MAJ_KOD"));
    texts(j, q, {"DRUH_POZ", "JP_DRUH", "JP_VYUZ"});
    floats(j, q, {"JP_P0", "JP_V", "JP_P"});
}

// --- the walk -----------------------------------------------------------------------------------

// Orders a level's row keys against a parent's key.
struct KeyOrder {
    const OpenQuery& level;
    bool operator()(const RowKey& row, std::string_view key) const { return level.keyOf(row) < key; }
    bool operator()(std::string_view key, const RowKey& row) const { return key < level.keyOf(row); }
};

// The parent's rows among the compartment's rows of a level, in the query's order.
std::pair<const RowKey*, const RowKey*> rowsOfParent(const OpenQuery& level, const ParentKey& key)
{
    if (key.hasNull)
        return {nullptr, nullptr};
    const auto [from, to] = std::equal_range(level.rowKeys.begin(), level.rowKeys.end(), std::string_view(key.match),
                                             KeyOrder{level});
    return {level.rowKeys.data() + (from - level.rowKeys.begin()), level.rowKeys.data() + (to - level.rowKeys.begin())};
}

// Walks the rows of a child level under the parent: the element of each row's key, selected or
// created, with the level's query on that row.
template<class T, class Fill>
void eachRow(LoaderQueries& qs, OpenQuery& q, const ParentKey& key, TLesniMnozina* set, const char* keyColumn,
             Fill fill)
{
    if (qs.reading() == ChildReading::PerParent) {
        reopen(q, key);
        for (; !q.query->Eof(); q.query->Next())
            fill(*selectOrCreate<T>(set, textOf(q, keyColumn)));
        return;
    }
    const auto [from, to] = rowsOfParent(q, key);
    for (const RowKey* row = from; row != to; ++row) {
        q.query->SetRecNo(row->record);
        fill(*selectOrCreate<T>(set, textOf(q, keyColumn)));
    }
}

// Groups the open level's rows by the key of their parent: a row whose key holds a NULL belongs
// to no parent.
void groupRows(OpenQuery& level)
{
    level.keys.clear();
    level.rowKeys.clear();
    std::vector<int> columns;
    for (int i = kCompartmentDepth; i < level.depth; ++i)
        columns.push_back(level.field(kChain[i]).Index());
    const int count = level.query->RecordCount();
    for (int row = 0; row < count; ++row) {
        const size_t start = level.keys.size();
        const bool complete = std::all_of(columns.begin(), columns.end(),
                                          [&](int column) { return level.query->appendValueKey(level.keys, row, column); });
        if (!complete) {
            level.keys.resize(start);
            continue;
        }
        level.rowKeys.push_back({uint32_t(start), uint32_t(level.keys.size() - start), row + 1});
    }
    std::sort(level.rowKeys.begin(), level.rowKeys.end(), [&level](const RowKey& a, const RowKey& b) {
        const int order = level.keyOf(a).compare(level.keyOf(b));
        return order < 0 || (order == 0 && a.record < b.record);
    });
}

// Opens every child level for the compartment of the stand row, unless they hold it already,
// and groups each level's rows by their parent.
void holdCompartment(LoaderState& state, OpenQuery& stands, const ParentKey& standKey)
{
    std::string compartment;
    for (const char* column : {"ODD", "ODD_ID"})
        if (!stands.query->appendValueKey(compartment, stands.query->currentRow(), stands.field(column).Index()))
            compartment += '-';
    if (state.held == compartment)
        return;
    state.held.reset();
    ParentKey compartmentKey = standKey;
    compartmentKey.depth = kCompartmentDepth;
    for (OpenQuery& level : state.queries) {
        if (level.depth <= kCompartmentDepth)
            continue;
        reopen(level, compartmentKey);
        groupRows(level);
    }
    state.held = compartment;
}

// The loader's queries with what it keeps of them.
struct Levels {
    LoaderQueries& qs;
    OpenQuery& stands;
    OpenQuery& groups;
    OpenQuery& categories;
    OpenQuery& bareLand;
    OpenQuery& otherLand;
    OpenQuery& storeys;
    OpenQuery& species;
    OpenQuery& afforestation;
    OpenQuery& damage;

    explicit Levels(LoaderQueries& q)
        : qs(q), stands(of(q.stands)), groups(of(q.groups)), categories(of(q.categories)), bareLand(of(q.bareLand)),
          otherLand(of(q.otherLand)), storeys(of(q.storeys)), species(of(q.species)),
          afforestation(of(q.afforestation)), damage(of(q.damage))
    {
    }
    OpenQuery& of(db::Query& q) { return qs.state->of(q); }
};

void loadSpecies(TEtaz& storey, Levels& l, const ParentKey& storeyKey)
{
    eachRow<TDrevina>(l.qs, l.species, storeyKey, storey.DrevinaMN(), "DR_ZKR", [&](TDrevina& d) {
        copySpeciesColumns(d, l.species);
        const ParentKey speciesKey = storeyKey.below(l.species, {"DR_ZKR"}, l.qs.reading());
        eachRow<TPoskozeni>(l.qs, l.damage, speciesKey, d.PoskozeniMN(), "POSKOZ_D",
                            [&](TPoskozeni& p) { copyDamageColumns(p, l.damage); });
    });
    eachRow<TZalesneni>(l.qs, l.afforestation, storeyKey, storey.ZalesneniMN(), "ZAL_DR",
                        [&](TZalesneni& z) { copyAfforestationColumns(z, l.afforestation); });
}

void loadStoreys(TPorostniSkupina& group, Levels& l, const ParentKey& groupKey)
{
    eachRow<TEtaz>(l.qs, l.storeys, groupKey, group.EtazMN(), "ETAZ", [&](TEtaz& e) {
        ShowStatusText(QStringLiteral("pred načtením etáže ") + designation(&e));
        copyStoreyColumns(e, l.storeys);
        loadSpecies(e, l, groupKey.below(l.storeys, {"ETAZ"}, l.qs.reading()));
        ShowStatusText(QStringLiteral("načtena etáž ") + designation(&e));
    });
}

void loadStand(TPorost& stand, Levels& l, const ParentKey& standKey)
{
    copyStandColumns(stand, l.stands);
    ShowStatusText(QStringLiteral("načteny polozky porostu ") + designation(&stand));
    eachRow<TPorostniSkupina>(l.qs, l.groups, standKey, stand.PorostniSkupinaMN(), "PSK", [&](TPorostniSkupina& s) {
        ShowStatusText(QStringLiteral("Před načtením porostní skupiny ") + designation(&s));
        copyStandGroupColumns(s, l.groups);
        loadStoreys(s, l, standKey.below(l.groups, {"PSK"}, l.qs.reading()));
        ShowStatusText(QStringLiteral("načtena porostní skupina ") + designation(&s));
    });
    eachRow<TKategorie>(l.qs, l.categories, standKey, TJinyPozemek::KategorieMN(&stand), "KATEGORIE", [&](TKategorie& k) {
        ShowStatusText(QStringLiteral("Před načtením kategorie ") + designation(&k));
        texts(k, l.categories, {"KATEGORIE"});
        ShowStatusText(QStringLiteral("načtena kategorie ") + designation(&k));
    });
    eachRow<TBezlesi>(l.qs, l.bareLand, standKey, stand.BezlesiMN(), "BZL", [&](TBezlesi& b) {
        ShowStatusText(QStringLiteral("Před načtením bezlesi ") + designation(&b));
        copyBareLandColumns(b, l.bareLand);
        ShowStatusText(QStringLiteral("načteno bezlesí ") + designation(&b));
    });
    eachRow<TJinyPozemek>(l.qs, l.otherLand, standKey, stand.JinyPozemekMN(), "JP", [&](TJinyPozemek& j) {
        ShowStatusText(QStringLiteral("Před načtením jiných pozemků ") + designation(&j));
        copyOtherLandColumns(j, l.otherLand);
        ShowStatusText(QStringLiteral("načten jiný pozemek ") + designation(&j));
    });
}

ParentKey unitKey(UnitKey key)
{
    ParentKey k;
    k.values[0] = key.kod;
    k.values[1] = key.id;
    k.depth = 2;
    return k;
}

} // namespace

LoaderQueries::LoaderQueries(const QString& databaseName, ChildReading reading)
    : state(std::make_unique<LoaderState>()), m_reading(reading)
{
    for (db::Query* q : {&header, &stands, &compartmentNumbers})
        state->queries.push_back({q, 0, {}, {}, {}});
    prepare(header, "LHC", 2);
    prepare(stands, "POROST", 2);
    stands.SQL().Add(QStringLiteral("order by ODD, ODD_ID, DIL, POR"));
    compartmentNumbers.SQL().Add(QStringLiteral("select distinct ODD from POROST "));
    compartmentNumbers.SQL().Add(QStringLiteral("where (LHC_KOD=:LHC_KOD)and(LHC_KOD_ID=:LHC_KOD_ID)"));
    const db::Database* database = db::Database::find(databaseName);
    const Engine engine = database ? engineOf(*database) : Engine::Sqlite;
    const std::tuple<db::Query*, const char*, int> levels[] = {
        {&groups, "POROST_SKUP", 6}, {&categories, "PREKRYV", 6}, {&bareLand, "BEZLESI", 6},
        {&otherLand, "JINE_POZ", 6}, {&storeys, "ETAZ", 7},        {&species, "DREVINA", 8},
        {&afforestation, "DREV_ZALES", 8}, {&damage, "SKODY", 9}};
    for (const auto& [query, table, depth] : levels) {
        if (reading == ChildReading::PerParent)
            prepare(*query, table, depth);
        else
            prepareCompartment(*query, table, engine);
        state->queries.push_back({query, depth, {}, {}, {}});
    }
    for (OpenQuery& q : state->queries)
        q.query->SetDatabaseName(databaseName);
}

LoaderQueries::~LoaderQueries() = default;

bool LoadLhcHeaderFromSql(TLHC& lhc, LoaderQueries& queries, UnitKey key)
{
    OpenQuery& q = queries.state->of(queries.header);
    reopen(q, unitKey(key));
    if (q.query->Eof())
        return false;
    ints(lhc, q, {"LHC_KOD", "LHC_KOD_ID", "ETAT_TO"});
    texts(lhc, q, {"LHP_OD", "LHP_DO", "LHC_NAZ"});
    store(lhc, "ETAT_TV", intOf(q, "ETAT_TC") - intOf(q, "ETAT_TO"));
    return true;
}

QStringList LoadCompartmentNumbersFromSql(LoaderQueries& queries, UnitKey key)
{
    OpenQuery& q = queries.state->of(queries.compartmentNumbers);
    reopen(q, unitKey(key));
    QStringList list;
    for (; !q.query->Eof(); q.query->Next()) {
        const QString padded = PadLeft(textOf(q, "ODD"), 3, QLatin1Char(' '));
        if (!list.contains(padded))
            list.append(padded);
    }
    list.sort();
    return list;
}

void OpenStandsFromSql(LoaderQueries& queries, UnitKey key)
{
    queries.state->held.reset();
    reopen(queries.state->of(queries.stands), unitKey(key));
}

void LoadCompartmentFromSql(Owned<TOddeleni>& result, LoaderQueries& queries, UnitKey key)
{
    result = Create<TOddeleni>();
    TOddeleni& odd = *result;
    Levels levels(queries);
    OpenQuery& q = levels.stands;
    bool started = false;
    qint32 oddId = 0;
    while (q.query->Active() && !q.query->Eof()) {
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
        const ParentKey standKey = unitKey(key).below(q, {"ODD", "ODD_ID", "DIL", "POR"}, queries.reading());
        if (queries.reading() == ChildReading::PerCompartment)
            holdCompartment(*queries.state, q, standKey);
        loadStand(*stand, levels, standKey);
        q.query->Next();
    }
}

} // namespace sqlsrc
