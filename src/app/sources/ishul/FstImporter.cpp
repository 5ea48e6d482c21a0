// Applies the current record of an interchange data reader to the forest model.
#include "app/sources/ishul/FstImporter.h"

#include "app/sources/ishul/FstDataReader.h"
#include "app/sources/ishul/PropertyWriter.h"
#include "forest/base/CodePages.h"
#include "forest/base/TextUtilities.h"
#include "forest/hierarchy/Dilec.h"
#include "forest/hierarchy/Drevina.h"
#include "forest/hierarchy/Etaz.h"
#include "forest/hierarchy/HierarchySupport.h"
#include "forest/hierarchy/Kategorie.h"
#include "forest/hierarchy/LHC.h"
#include "forest/hierarchy/NonStockedLand.h"
#include "forest/hierarchy/Oddeleni.h"
#include "forest/hierarchy/Porost.h"
#include "forest/hierarchy/PorostniSkupina.h"
#include "forest/hierarchy/Poskozeni.h"
#include "forest/hierarchy/Zalesneni.h"
#include "framework/core/ClassRegistry.h"
#include "framework/core/TextRoutines.h"
#include "framework/values/TypedValues.h"
#include "platform/Exceptions.h"
#include "platform/text/Numbers.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace {

enum class Pass : quint8 { Position, Data };
enum class Target : quint8 { Header, Stand, Group, Storey, Species, OtherLand, BareLand, KindStand, KindGroup, None };
enum class Conv : quint8 { V, I, D, F, RD };
enum class Special : quint8 {
    None, Key, LhcKod, PorText, Kategorie, OrgUroven, PskText, EtazText, Mzd, DruhPoz, KeepComputed,
    ZalDr, ZalDruh, ZalP, ZalDrP, PoskozD, PoskozR,
};

} // namespace

struct TImportStandardPP_FST::Rule {
    const char* column;
    Pass pass;
    Target target;
    Conv conv;
    const char* property;   // nullptr: the column's name
    Special special;
};

namespace {

using R = TImportStandardPP_FST::Rule;
constexpr Pass P = Pass::Position;
constexpr Pass Dt = Pass::Data;

// Every column the importer knows, with its pass, target, conversion and property.
const R rules[] = {
    {"LHC_KOD", P, Target::Header, Conv::D, nullptr, Special::LhcKod},
    {"LHC_NAZ", P, Target::Header, Conv::RD, nullptr, Special::None},
    {"LHP_OD", P, Target::Header, Conv::V, nullptr, Special::None},
    {"LHP_DO", P, Target::Header, Conv::V, nullptr, Special::None},
    {"LHP_TAX", P, Target::Header, Conv::V, nullptr, Special::None},
    {"LHP_Z_OD", P, Target::Header, Conv::V, nullptr, Special::None},
    {"LHP_Z_DO", P, Target::Header, Conv::V, nullptr, Special::None},
    {"LHP_Z_TAX", P, Target::Header, Conv::V, nullptr, Special::None},
    {"LHP_LIC", P, Target::Header, Conv::V, nullptr, Special::None},
    {"LHP_Z_LIC", P, Target::Header, Conv::V, nullptr, Special::None},
    {"ETAT_TO", P, Target::Header, Conv::D, nullptr, Special::None},
    {"ETAT_TV", P, Target::Header, Conv::D, nullptr, Special::None},
    {"ETAT_TVYB", P, Target::Header, Conv::D, nullptr, Special::None},
    {"TEZ_PROC", P, Target::Header, Conv::I, nullptr, Special::None},
    {"NOR_PAS", P, Target::Header, Conv::I, nullptr, Special::None},
    {"LHC_PN_PRO", P, Target::Header, Conv::I, nullptr, Special::None},
    {"LHC_IND", P, Target::Header, Conv::I, nullptr, Special::None},
    {"LHC_MAX", P, Target::Header, Conv::I, nullptr, Special::None},
    {"MVYCH_DO40", P, Target::Header, Conv::F, nullptr, Special::None},
    {"ODD", P, Target::None, Conv::I, nullptr, Special::Key},
    {"DIL", P, Target::None, Conv::V, nullptr, Special::Key},
    {"POR", P, Target::None, Conv::V, nullptr, Special::Key},
    {"PSK", P, Target::None, Conv::V, nullptr, Special::Key},
    {"ETAZ", P, Target::None, Conv::V, nullptr, Special::Key},
    {"DR_ZKR", P, Target::None, Conv::V, nullptr, Special::Key},
    {"JP", P, Target::None, Conv::I, nullptr, Special::Key},
    {"BZL", P, Target::None, Conv::I, nullptr, Special::Key},

    {"SDR_POR", Dt, Target::Stand, Conv::V, nullptr, Special::None},
    {"PAS_OHR", Dt, Target::Stand, Conv::V, nullptr, Special::None},
    {"ZVL_STATUT", Dt, Target::Stand, Conv::V, nullptr, Special::None},
    {"OLH", Dt, Target::Stand, Conv::V, "OLH_98", Special::None},
    {"KAT_SPEC", Dt, Target::Stand, Conv::I, nullptr, Special::None},
    {"LES_OBL", Dt, Target::Stand, Conv::V, nullptr, Special::None},
    {"POR_TEXT", Dt, Target::Stand, Conv::RD, nullptr, Special::PorText},
    {"KATEGORIE", Dt, Target::Stand, Conv::V, nullptr, Special::Kategorie},
    {"ORG_UROVEN", Dt, Target::Stand, Conv::V, nullptr, Special::OrgUroven},

    {"PSK_P0", Dt, Target::Group, Conv::F, nullptr, Special::None},
    {"PSK_P", Dt, Target::Group, Conv::F, nullptr, Special::None},
    {"PSK_V", Dt, Target::Group, Conv::F, nullptr, Special::None},
    {"SLT", Dt, Target::Group, Conv::V, nullptr, Special::None},
    {"LT", Dt, Target::Group, Conv::V, nullptr, Special::None},
    {"TER_TYP", Dt, Target::Group, Conv::V, nullptr, Special::None},
    {"DAN", Dt, Target::Group, Conv::V, nullptr, Special::None},
    {"PRIB_VZD", Dt, Target::Group, Conv::I, nullptr, Special::None},
    {"HOSP_ZP", Dt, Target::Group, Conv::I, nullptr, Special::None},
    {"PSK_TEXT", Dt, Target::Group, Conv::RD, nullptr, Special::PskText},
    {"ETAZ_TEXT", Dt, Target::Group, Conv::RD, nullptr, Special::EtazText},

    {"MAJ_KOD", Dt, Target::KindStand, Conv::I, nullptr, Special::None},
    {"MAJ_DRUH", Dt, Target::KindStand, Conv::I, nullptr, Special::None},
    {"KVAL_P", Dt, Target::KindGroup, Conv::I, nullptr, Special::None},
    {"KAT_PAR_KOD", Dt, Target::KindGroup, Conv::I, nullptr, Special::None},
    {"KU_KOD", Dt, Target::KindGroup, Conv::I, nullptr, Special::None},
    {"LES_URAD", Dt, Target::KindGroup, Conv::I, nullptr, Special::None},

    {"ETAZ_PS", Dt, Target::Storey, Conv::F, nullptr, Special::None},
    {"ETAZ_PP", Dt, Target::Storey, Conv::F, nullptr, Special::None},
    {"PRO_P", Dt, Target::Storey, Conv::F, nullptr, Special::None},
    {"TV_P", Dt, Target::Storey, Conv::F, nullptr, Special::None},
    {"TO_P", Dt, Target::Storey, Conv::F, nullptr, Special::None},
    {"TVYB_P", Dt, Target::Storey, Conv::F, nullptr, Special::None},
    {"HS", Dt, Target::Storey, Conv::I, nullptr, Special::None},
    {"OBMYTI", Dt, Target::Storey, Conv::I, nullptr, Special::None},
    {"OBN_DOBA", Dt, Target::Storey, Conv::I, nullptr, Special::None},
    {"POC_OBNOVY", Dt, Target::Storey, Conv::I, nullptr, Special::None},
    {"VEK", Dt, Target::Storey, Conv::I, nullptr, Special::None},
    {"ZAKM", Dt, Target::Storey, Conv::I, nullptr, Special::None},
    {"M_Z_ZASOBY", Dt, Target::Storey, Conv::I, nullptr, Special::None},
    {"M_TEZ_PROC", Dt, Target::Storey, Conv::I, nullptr, Special::KeepComputed},
    {"PRO_POC", Dt, Target::Storey, Conv::I, nullptr, Special::None},
    {"TV_POC", Dt, Target::Storey, Conv::I, nullptr, Special::None},
    {"ODVOZ_TEZ", Dt, Target::Storey, Conv::V, nullptr, Special::None},
    {"HOSP_TV", Dt, Target::Storey, Conv::V, nullptr, Special::None},
    {"PRO_NAL", Dt, Target::Storey, Conv::V, nullptr, Special::None},
    {"TV_NAL", Dt, Target::Storey, Conv::V, nullptr, Special::None},
    {"TO_NAL", Dt, Target::Storey, Conv::V, nullptr, Special::None},
    {"TO_DUVOD", Dt, Target::Storey, Conv::V, nullptr, Special::None},
    {"TO_ZPUSOB", Dt, Target::Storey, Conv::V, nullptr, Special::None},
    {"TVYB_NAL", Dt, Target::Storey, Conv::V, nullptr, Special::None},
    {"MZD", Dt, Target::Storey, Conv::V, "MZDs", Special::Mzd},

    {"DR_PUVOD", Dt, Target::Species, Conv::V, nullptr, Special::None},
    {"GEN_KLAS", Dt, Target::Species, Conv::V, nullptr, Special::None},
    {"VYB_STR", Dt, Target::Species, Conv::V, nullptr, Special::None},
    {"DR_KVAL", Dt, Target::Species, Conv::V, nullptr, Special::None},
    {"ZAST", Dt, Target::Species, Conv::I, nullptr, Special::None},
    {"VYSKA", Dt, Target::Species, Conv::I, nullptr, Special::None},
    {"TLOUSTKA", Dt, Target::Species, Conv::I, nullptr, Special::None},
    {"BON_R", Dt, Target::Species, Conv::I, nullptr, Special::None},
    {"PROC_SOUS", Dt, Target::Species, Conv::I, nullptr, Special::None},
    {"DR_ZAS_HA", Dt, Target::Species, Conv::I, nullptr, Special::None},
    {"DR_ZAS_CEL", Dt, Target::Species, Conv::I, nullptr, Special::None},
    {"DR_TV", Dt, Target::Species, Conv::I, nullptr, Special::None},
    {"DR_TO", Dt, Target::Species, Conv::I, nullptr, Special::None},
    {"DR_TVYB", Dt, Target::Species, Conv::I, nullptr, Special::None},
    {"BON_A", Dt, Target::Species, Conv::I, nullptr, Special::None},
    {"IMISE", Dt, Target::Species, Conv::V, nullptr, Special::None},

    {"JP_PUPFL", Dt, Target::OtherLand, Conv::V, nullptr, Special::None},
    {"JP_P0", Dt, Target::OtherLand, Conv::F, nullptr, Special::None},
    {"JP_P", Dt, Target::OtherLand, Conv::F, nullptr, Special::None},
    {"JP_V", Dt, Target::OtherLand, Conv::F, nullptr, Special::None},
    {"DRUH_POZ", Dt, Target::OtherLand, Conv::V, nullptr, Special::DruhPoz},
    {"JP_VYUZ", Dt, Target::OtherLand, Conv::RD, nullptr, Special::None},
    {"JP_DRUH", Dt, Target::OtherLand, Conv::RD, nullptr, Special::None},

    {"BZL_P0", Dt, Target::BareLand, Conv::F, nullptr, Special::None},
    {"BZL_P", Dt, Target::BareLand, Conv::F, nullptr, Special::None},
    {"BZL_V", Dt, Target::BareLand, Conv::F, nullptr, Special::None},
    {"BZL_VYUZ", Dt, Target::BareLand, Conv::RD, nullptr, Special::None},
    {"BZL_DRUH", Dt, Target::BareLand, Conv::RD, nullptr, Special::None},

    {"ZAL_DR", Dt, Target::Storey, Conv::V, nullptr, Special::ZalDr},
    {"ZAL_DRUH", Dt, Target::Storey, Conv::V, nullptr, Special::ZalDruh},
    {"ZAL_P", Dt, Target::Storey, Conv::V, nullptr, Special::ZalP},
    {"ZAL_DR_P", Dt, Target::Storey, Conv::V, nullptr, Special::ZalDrP},
    {"POSKOZ_D", Dt, Target::Storey, Conv::V, nullptr, Special::PoskozD},
    {"POSKOZ_R", Dt, Target::Storey, Conv::V, nullptr, Special::PoskozR},
};

// The key columns in the order of the rule table, from ODD on; the first five select the levels.
constexpr int KeyCount = 8;
enum Key : int { KeyOdd, KeyDil, KeyPor, KeyPsk, KeyEtaz, KeySpecies, KeyOtherLand, KeyBareLand };

int keyIndex(const R& rule)
{
    static const R* const first = [] {
        const R* odd = std::find_if(std::begin(rules), std::end(rules),
                                    [](const R& r) { return std::strcmp(r.column, "ODD") == 0; });
        const char* const names[KeyCount] = {"ODD", "DIL", "POR", "PSK", "ETAZ", "DR_ZKR", "JP", "BZL"};
        for (int i = 0; i < KeyCount; ++i)
            Q_ASSERT(std::strcmp(odd[i].column, names[i]) == 0 && odd[i].special == Special::Key);
        return odd;
    }();
    const std::ptrdiff_t i = &rule - first;
    return i >= 0 && i < KeyCount ? static_cast<int>(i) : -1;
}

// Conversion I: blanks removed ("0" when none is left), then a whole number; raises
// EConvertError otherwise.
// Up to nine decimal digits and nothing else (most values): the number needs no blanks removed
// and cannot overflow.
bool isPlainDigits(QStringView v)
{
    if (v.isEmpty() || v.size() > 9)
        return false;
    return std::all_of(v.begin(), v.end(), [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
}

qint32 convI(const QString& v)
{
    if (isPlainDigits(v)) {
        qint32 number = 0;
        for (const QChar c : v)
            number = number * 10 + (c.unicode() - '0');
        return number;
    }
    return txt::strToInt(RemoveSpacesOrZero(v));
}

bool convertsI(const QString& v)
{
    if (v.isEmpty() || isPlainDigits(v))
        return true;
    qint32 ignored = 0;
    return txt::tryStrToInt(RemoveSpacesOrZero(v), ignored);
}

// The level of the header's chain a target is at (0 the header, 3 the storey); -1 for the
// species and land elements, which are new with each record.
int levelOf(Target target)
{
    switch (target) {
    case Target::Header:
        return 0;
    case Target::Stand:
        return 1;
    case Target::Group:
        return 2;
    case Target::Storey:
        return 3;
    default:
        return -1;
    }
}

template<class T>
T* as(TElement* element)
{
    return forest::asClass<T>(element);
}

} // namespace

TClass TImportStandardPP_FST::StaticClass()
{
    using Q = TImportStandardPP_FST;
    static const TClassInfo info = describeClass<Q, TRecursor>("TImportStandardPP_FST", [](PropertyTable<Q>& t) {
        t.string("PUVOD_DAT_PP", &Q::PUVOD_DAT_PP, &Q::SetPUVOD_DAT_PP)
            .string("Oddelovac", &Q::Oddelovac, &Q::SetOddelovac)
            .string("JmenoTextFile", &Q::JmenoTextFile, &Q::SetJmenoTextFile)
            .boolean("Nastavuj", &Q::Nastavuj, &Q::SetNastavuj)
            .boolean("NevytvaretNoveOddeleni", &Q::NevytvaretNoveOddeleni, &Q::SetNevytvaretNoveOddeleni);
    });
    return &info;
}

TImportStandardPP_FST::TImportStandardPP_FST() = default;
TImportStandardPP_FST::~TImportStandardPP_FST() = default;

void TImportStandardPP_FST::SetJmenoTextFile(const QString& name)
{
    m_jmenoTextFile = name;
    const QString upper = name.toUpper();
    m_fileKind = upper == QLatin1String("PP.FST") || upper == QLatin1String("PSK.FST") ? 1
        : upper == QLatin1String("BZL.FST")                                          ? 2
        : upper == QLatin1String("JP.FST")                                           ? 3
                                                                                      : 0;
    m_mappedCarrier = nullptr;   // the kind-dependent columns map anew
}

void TImportStandardPP_FST::Prepare()
{
    // Within a run the stand, group and storey stay those resolved before while their keys do.
    for (int t = 0; t < TargetSlots; ++t) {
        const int level = levelOf(static_cast<Target>(t));
        m_resolved[t] = m_resolved[t] && level > 0 && m_inRun && m_repeatsAllowed && m_resolvedStamp[t] == m_stamp[level];
    }
    m_hasSpecies = -1;
    m_chainKnown = 0;
    auto* reader = dynamic_cast<TPrenasecZeStandarduData*>(Input());
    if (reader)
        mapColumns(reader->NosicHlavicka());
}

// Each column element of the carrier gets its rule once; the kind-dependent ones resolve here.
void TImportStandardPP_FST::mapColumns(TElement* carrier)
{
    auto* list = dynamic_cast<TStringListElement*>(carrier);
    if (!list || (carrier == m_mappedCarrier && list->Count() == m_mappedCount))
        return;
    m_columns.clear();
    m_currentColumn = nullptr;
    static const QHash<QString, const Rule*> byName = [] {
        QHash<QString, const Rule*> out;
        for (const Rule& rule : rules)
            out.insert(QString::fromLatin1(rule.column), &rule);
        return out;
    }();
    for (int i = 0; i < list->Count(); ++i) {
        TElement* item = list->Items(i);
        if (!dynamic_cast<TStringElement*>(item))
            continue;
        const QString name = list->UpperNameAt(i);
        const Rule* rule = byName.value(name);   // unknown columns: no rule
        Column column;
        column.rule = rule;
        column.name = name;
        column.property.name = rule ? propertyOf(*rule) : QString();
        m_columns.insert(item, column);
    }
    // The columns each pass applies, in the carrier's order (the hash is complete: its values stay put).
    for (auto& pass : m_passColumns)
        pass.clear();
    for (int i = 0; i < list->Count(); ++i) {
        const auto it = m_columns.find(list->Items(i));
        if (it != m_columns.end() && it->rule)
            m_passColumns[it->rule->pass == Pass::Position ? 0 : 1].push_back(PassColumn{i, list->Items(i), &*it});
    }
    // Repeated writes are skipped only when the level keys come in their order, each once, and
    // no other column writes the property a column writes at its level.
    int lastKey = -1;
    m_repeatsAllowed = true;
    QHash<QPair<int, QString>, int> writers;
    for (const PassColumn& c : m_passColumns[0]) {
        const int key = keyIndex(*c.column->rule);
        if (key >= 0 && key <= KeyEtaz) {
            m_repeatsAllowed = m_repeatsAllowed && key > lastKey;
            lastKey = key;
        }
    }
    for (auto it = m_columns.begin(); it != m_columns.end(); ++it) {
        it->level = it->rule ? repeatLevel(*it->rule) : -1;
        if (it->rule)
            ++writers[{it->level, it->property.name}];
    }
    for (auto it = m_columns.begin(); it != m_columns.end(); ++it)
        if (it->level >= 0 && writers.value({it->level, it->property.name}) > 1)
            it->level = -1;
    // The whole-number columns in the hash's own order, the order InvalidColumn looks at them in
    // (those of the owner's kind only where the file has a kind).
    m_wholeNumberColumns.clear();
    for (auto it = m_columns.begin(); it != m_columns.end(); ++it)
        if (it->rule && it->rule->conv == Conv::I)
            if (m_fileKind != 0 || (it->rule->target != Target::KindStand && it->rule->target != Target::KindGroup))
                m_wholeNumberColumns.push_back({it.key(), &*it, it->rule->target == Target::Species,
                                                it->rule->special == Special::KeepComputed});
    m_mappedCarrier = carrier;
    m_mappedCount = list->Count();
}

// The property a rule writes: the column's own name in the position pass; in the data pass the
// rule's property, with the suffix of the bare-land or other-land file where the kind decides.
QString TImportStandardPP_FST::propertyOf(const Rule& rule) const
{
    if (rule.pass == Pass::Position)
        return QString::fromLatin1(rule.column);
    QString name = QString::fromLatin1(rule.property ? rule.property : rule.column);
    if (rule.target == Target::KindStand || rule.target == Target::KindGroup) {
        if (m_fileKind == 2)
            name += QStringLiteral("_BZL");
        else if (m_fileKind == 3)
            name += QStringLiteral("_JP");
    }
    return name;
}

int TImportStandardPP_FST::repeatLevel(const Rule& rule) const
{
    // The code of the unit also writes the origin of the data, which stays for the run; the
    // categories, organisation levels and urgency give the same model when written again.
    switch (rule.special) {
    case Special::None:
    case Special::KeepComputed:
    case Special::LhcKod:
    case Special::Kategorie:
    case Special::OrgUroven:
    case Special::Mzd:
        break;
    default:
        return -1;
    }
    switch (rule.target) {
    case Target::KindStand:
        return m_fileKind == 1 ? 1 : -1;
    case Target::KindGroup:
        return m_fileKind == 1 ? 2 : -1;
    default:
        return levelOf(rule.target);
    }
}

void TImportStandardPP_FST::BeginRun()
{
    m_inRun = true;
    std::fill(std::begin(m_keyKnown), std::end(m_keyKnown), false);
    keyChanged(0);
}

void TImportStandardPP_FST::EndRun()
{
    m_inRun = false;
}

void TImportStandardPP_FST::keyChanged(int level)
{
    for (int l = std::max(level, 0); l < Levels; ++l)
        m_stamp[l] = m_nextStamp++;
    m_keyChangedInRecord = true;
}

// NovyNeboAktualniPrvek; a key selected by the record before is its current element still, and
// selecting that again only remembers its key as the old one (true: it was).
bool TImportStandardPP_FST::selectKey(TLesniMnozina* set, const QString& v, bool reselect)
{
    if (reselect && set->AktualniPrvek()) {
        set->SetAktualniPrvek(set->AktualniPrvek());
        return true;
    }
    set->NovyNeboAktualniPrvek(v);
    return false;
}

// The same text object (held since the last write, so never reused for another text), the same
// element, and no key of the level changed since.
bool TImportStandardPP_FST::isRepeat(const Column& column, const QString& v, const TElement* target) const
{
    return m_inRun && m_repeatsAllowed && column.level >= 0 && column.writtenTo == target
        && column.writtenStamp == m_stamp[column.level] && column.holds(v);
}

void TImportStandardPP_FST::remember(Column& column, const QString& v, const TElement* target)
{
    if (column.level < 0)
        return;
    // The text held already needs no second hold.
    if (!column.holds(v))
        column.written = v;
    column.writtenTo = target;
    column.writtenStamp = m_stamp[column.level];
}

const QString& TImportStandardPP_FST::CurrentColumn() const
{
    static const QString none;
    return m_currentColumn ? *m_currentColumn : none;
}

void TImportStandardPP_FST::Action(TElement* element)
{
    const auto it = m_columns.find(element);
    if (it != m_columns.end())
        applyColumn(*it, element);
}

void TImportStandardPP_FST::applyColumn(Column& column, TElement* element)
{
    if (!column.rule || !m_header)
        return;
    const Rule& rule = *column.rule;
    if ((rule.pass == Pass::Position) != m_nastavuj)
        return;
    m_currentColumn = &column.name;
    // The column's own text: nothing the passes do changes a column element.
    const QString& v = static_cast<const TStringElement*>(element)->StringValue();
    if (m_nastavuj)
        applyPosition(column, v);
    else
        applyData(column, v);
}

// The walk of Execute over a reader: the reader holds its carrier alone and the carrier's
// columns are leaves, so the walk is the columns of the pass in order. Anything else (another
// child, a changed carrier) takes the general walk.
void TImportStandardPP_FST::applyPass(TPrenasecZeStandarduData* reader)
{
    TStringListElement* carrier = reader->NosicHlavicka();
    if (reader->Count() != 1 || reader->Items(0) != carrier || NotInside())
        return Execute();
    Prepare();
    if (carrier != m_mappedCarrier)
        return Execute();
    const std::vector<PassColumn>& columns = m_passColumns[m_nastavuj ? 0 : 1];
    for (const PassColumn& c : columns)
        if (carrier->Items(c.index) != c.element)
            return Execute();
    if (!m_inRun || !m_repeatsAllowed || !m_header) {
        for (const PassColumn& c : columns)
            applyColumn(*c.column, c.element);
        return;
    }
    for (const PassColumn& c : columns) {
        // A repeated write (isRepeat) is passed over here: a level's element resolved in this
        // pass is the one its stamp was taken with, the header is the position pass's target.
        const Column& column = *c.column;
        if (column.level >= 0 && column.writtenStamp == m_stamp[column.level]) {
            const TElement* target = m_nastavuj ? m_header : m_resolved[column.level] ? m_targets[column.level] : nullptr;
            if (target && isRepeat(column, static_cast<const TStringElement*>(c.element)->StringValue(), target))
                continue;
        }
        applyColumn(*c.column, c.element);
    }
}

void TImportStandardPP_FST::Recurse(TElement* element)
{
    if (!m_columns.contains(element))
        TRecursor::Recurse(element);
}

// Each level from the one above it, as the header's chain of current elements gives it.
TElement* TImportStandardPP_FST::cached(int target)
{
    if (target < 0 || target >= TargetSlots)
        return nullptr;
    if (!m_resolved[target]) {
        TElement* element = nullptr;
        switch (static_cast<Target>(target)) {
        case Target::Header:
            element = m_header;
            break;
        case Target::Stand:
            element = m_header->AktualniPorostVzdy();
            break;
        case Target::Group:
            element = forest::alwaysAs<TPorostniSkupina>(static_cast<TPorost*>(cached(int(Target::Stand)))->PorostniSkupinaMN());
            break;
        case Target::Storey:
            element = forest::alwaysAs<TEtaz>(static_cast<TPorostniSkupina*>(cached(int(Target::Group)))->EtazMN());
            break;
        case Target::Species:
            element = forest::alwaysAs<TDrevina>(storey()->DrevinaMN());
            break;
        case Target::OtherLand:
            element = forest::alwaysAs<TJinyPozemek>(static_cast<TPorost*>(cached(int(Target::Stand)))->JinyPozemekMN());
            break;
        case Target::BareLand:
            element = forest::alwaysAs<TBezlesi>(static_cast<TPorost*>(cached(int(Target::Stand)))->BezlesiMN());
            break;
        default:
            break;
        }
        m_targets[target] = element;
        m_resolved[target] = true;
        const int level = levelOf(static_cast<Target>(target));
        m_resolvedStamp[target] = level >= 0 ? m_stamp[level] : 0;
    }
    return m_targets[target];
}

TElement* TImportStandardPP_FST::targetOf(const Rule& rule)
{
    switch (rule.target) {
    case Target::KindStand:
    case Target::KindGroup:
        if (m_fileKind == 1)
            return cached(static_cast<int>(rule.target == Target::KindStand ? Target::Stand : Target::Group));
        if (m_fileKind == 2)
            return cached(static_cast<int>(Target::BareLand));
        if (m_fileKind == 3)
            return cached(static_cast<int>(Target::OtherLand));
        return nullptr;
    case Target::None:
        return nullptr;
    default:
        return cached(static_cast<int>(rule.target));
    }
}

void TImportStandardPP_FST::applyPosition(Column& column, const QString& v)
{
    const Rule& rule = *column.rule;
    if (rule.special == Special::Key)
        return applyKey(rule, v);
    if (isRepeat(column, v, m_header))
        return;
    m_chainKnown = 0;   // a header write may select other elements
    PreparedProperty& name = column.property;
    switch (rule.conv) {
    case Conv::D:
        writeInt(m_header, name, DigitsToInt(RemoveSpacesOrZero(v)));
        break;
    case Conv::I:
        writeInt(m_header, name, convI(v));
        break;
    case Conv::F:
        writeFloat(m_header, name, TextToFloatDef(RemoveSpacesOrZero(v)));
        break;
    case Conv::RD:
        writeText(m_header, name, RemoveDiacritics(v));
        break;
    case Conv::V:
        writeText(m_header, name, v);
        break;
    }
    if (rule.special == Special::LhcKod)
        writeText(m_header, QStringLiteral("PUVOD_DAT"), m_puvodDat);
    remember(column, v, m_header);
}

void TImportStandardPP_FST::applyKey(const Rule& rule, const QString& v)
{
    // The key properties, found once per class.
    static PreparedProperty dilProperty{QStringLiteral("DIL")};
    static PreparedProperty porProperty{QStringLiteral("POR")};
    static PreparedProperty pskProperty{QStringLiteral("PSK")};
    static PreparedProperty jpProperty{QStringLiteral("JP")};
    static PreparedProperty bzlProperty{QStringLiteral("BZL")};
    static PreparedProperty etazProperty{QStringLiteral("ETAZ")};
    static PreparedProperty speciesProperty{QStringLiteral("DR_ZKR")};
    const int key = keyIndex(rule);
    // A changed key may select other elements at its level and below.
    static constexpr int levelOfKey[KeyEtaz + 1] = {1, 1, 1, 2, 3};
    // A key as in the record before, under keys as in it, names the element selected then.
    bool same = false;
    if (key >= 0 && key <= KeyEtaz) {
        same = m_keyKnown[key] && m_keyValues[key] == v && !m_keyChangedInRecord;
        if (!same) {
            m_keyValues[key] = v;
            m_keyKnown[key] = true;
            keyChanged(levelOfKey[key]);
        }
    }
    const bool reselect = same && m_inRun && m_repeatsAllowed;
    // The other-land file names missing stands and sub-compartments "-" after their keys.
    const bool keepName = reselect && !(m_fileKind == 3 && key <= KeyPor);
    // This key may select another element at its depth of the chain: deeper ones are found anew.
    m_chainKnown = std::min(m_chainKnown, key);
    if (key == KeyOdd) {
        TOddeleniMN* compartments = m_header->OddeleniMN();
        if (!m_nevytvaretNoveOddeleni && compartments->JmenoAktualnihoPrvku() != v)
            compartments->NovyPrvek(v);
        if (TOddeleni* compartment = m_header->Oddeleni())
            compartment->SetODD(convI(v));
        return;
    }
    auto* compartment = static_cast<TOddeleni*>(chainAt(0));
    if (!compartment)
        return keyChanged(1);
    if (key == KeyDil) {
        if (!selectKey(compartment->DilecMN(), v, reselect) || !keepName)
            writeText(compartment->Dilec(), dilProperty, v);
        return;
    }
    auto* sub = static_cast<TDilec*>(chainAt(1));
    if (!sub)
        return keyChanged(1);
    if (key == KeyPor) {
        if (!selectKey(sub->PorostMN(), v, reselect) || !keepName)
            writeText(sub->Porost(), porProperty, v);
        return;
    }
    auto* stand = static_cast<TPorost*>(chainAt(2));
    if (!stand)
        return keyChanged(1);
    if (key == KeyPsk) {
        if (!selectKey(stand->PorostniSkupinaMN(), v, reselect) || !keepName)
            writeText(stand->PorostniSkupina(), pskProperty, v);
    } else if (key == KeyOtherLand) {
        if (stand->POR().isEmpty())
            stand->SetPOR(QStringLiteral("-"));
        if (TDilec* owner = stand->OwnerDilec(); owner && owner->DIL().isEmpty())
            owner->SetDIL(QStringLiteral("-"));
        const qint32 number = convI(v);
        stand->JinyPozemekMN()->NovyPrvekVzdy(v);
        writeInt(stand->JinyPozemek(), jpProperty, number);
    } else if (key == KeyBareLand) {
        const qint32 number = convI(v);
        stand->BezlesiMN()->NovyPrvekVzdy(v);
        writeInt(stand->Bezlesi(), bzlProperty, number);
    } else {
        auto* group = static_cast<TPorostniSkupina*>(chainAt(3));
        if (!group)
            return keyChanged(2);
        if (key == KeyEtaz) {
            if (!selectKey(group->EtazMN(), v, reselect) || !keepName)
                writeText(group->Etaz(), etazProperty, v);
        } else if (key == KeySpecies) {
            if (v.isEmpty()) {
                m_header->AktualniEtazVzdy()->DrevinaMN()->SetAktualniPrvek(nullptr);
                return;
            }
            auto* storey = as<TEtaz>(group->EtazMN()->AktualniPrvekVzdy());
            if (!storey)
                return;
            storey->DrevinaMN()->NovyPrvekVzdy(v);
            writeText(storey->Drevina(), speciesProperty, v);
        }
    }
}

// The current compartment, sub-compartment, stand and group by depth; each is found from the one
// above it once per position pass while no key at its depth or above is applied.
TElement* TImportStandardPP_FST::chainAt(int depth)
{
    if (depth < m_chainKnown)
        return m_chain[depth];
    TElement* element = nullptr;
    switch (depth) {
    case 0:
        element = as<TOddeleni>(m_header->OddeleniMN()->AktualniPrvekVzdy());
        break;
    case 1:
        element = as<TDilec>(static_cast<TOddeleni*>(m_chain[0])->DilecMN()->AktualniPrvekVzdy());
        break;
    case 2:
        element = as<TPorost>(static_cast<TDilec*>(m_chain[1])->PorostMN()->AktualniPrvekVzdy());
        break;
    default:
        element = as<TPorostniSkupina>(static_cast<TPorost*>(m_chain[2])->PorostniSkupinaMN()->AktualniPrvekVzdy());
        break;
    }
    if (element && depth == m_chainKnown)
        m_chain[m_chainKnown++] = element;
    return element;
}

TEtaz* TImportStandardPP_FST::storey()
{
    return static_cast<TEtaz*>(cached(static_cast<int>(Target::Storey)));
}

// The data pass changes no current element: whether the storey has a current species is asked
// once per pass.
bool TImportStandardPP_FST::hasSpecies()
{
    if (m_hasSpecies < 0)
        m_hasSpecies = storey()->Drevina() ? 1 : 0;
    return m_hasSpecies == 1;
}

void TImportStandardPP_FST::applyData(Column& column, const QString& v)
{
    const Rule& rule = *column.rule;
    if (rule.special != Special::None && rule.special != Special::KeepComputed) {
        TElement* target = column.level >= 0 ? targetOf(rule) : nullptr;
        if (target && isRepeat(column, v, target))
            return;
        applySpecial(rule, v);
        if (target)
            remember(column, v, target);
        return;
    }
    if (rule.target == Target::Species && !hasSpecies())
        return;
    if (rule.special == Special::KeepComputed && v.trimmed().isEmpty())
        return;   // an empty value keeps the computed property, as an absent column does
    TElement* target = targetOf(rule);
    if (!target || isRepeat(column, v, target))
        return;
    PreparedProperty& name = column.property;
    switch (rule.conv) {
    case Conv::I:
        writeInt(target, name, convI(v));
        break;
    case Conv::D:
        writeInt(target, name, DigitsToInt(RemoveSpacesOrZero(v)));
        break;
    case Conv::F:
        writeFloat(target, name, TextToFloatDef(RemoveSpacesOrZero(v)));
        break;
    case Conv::RD:
        writeText(target, name, RemoveDiacritics(v));
        break;
    case Conv::V:
        writeText(target, name, v);
        break;
    }
    remember(column, v, target);
}

void TImportStandardPP_FST::applySpecial(const Rule& rule, const QString& v)
{
    switch (rule.special) {
    case Special::PorText: {
        TStrings* lines = static_cast<TPorost*>(cached(static_cast<int>(Target::Stand)))->POR_TEXT();
        if (lines && lines->Lines.isEmpty())
            lines->Lines.append(RemoveDiacritics(v));
        return;
    }
    case Special::Kategorie:
    case Special::OrgUroven: {
        TPorost* stand = static_cast<TPorost*>(cached(static_cast<int>(Target::Stand)));
        const bool kategorie = rule.special == Special::Kategorie;
        TLesniMnozina* set = kategorie ? static_cast<TLesniMnozina*>(TJinyPozemek::KategorieMN(stand))
                                       : TJinyPozemek::Org_UrovenMN(stand);
        set->SetNamesFromList(v, m_oddelovac);
        set->SetPropertyFromList(kategorie ? QStringLiteral("KATEGORIE") : QStringLiteral("ORG_UROVEN"), v, m_oddelovac);
        return;
    }
    case Special::PskText:
        writeText(static_cast<TPorostniSkupina*>(cached(static_cast<int>(Target::Group))), QStringLiteral("PSK_TEXT"), RemoveDiacritics(v));
        return;
    case Special::EtazText: {
        TPorostniSkupina* group = static_cast<TPorostniSkupina*>(cached(static_cast<int>(Target::Group)));
        writeText(group, QStringLiteral("PSK_TEXT"),
                  group->GetPropAsString(QStringLiteral("PSK_TEXT")) + QStringLiteral(" ETÁŽ: ") + RemoveDiacritics(v));
        return;
    }
    case Special::Mzd:
        writeText(storey(), QStringLiteral("MZDs"), RemoveSpaces(v));
        return;
    case Special::DruhPoz:
        if (m_fileKind == 3)
            writeText(cached(static_cast<int>(Target::OtherLand)), QStringLiteral("DRUH_POZ"), v);
        return;
    case Special::ZalDr:
    case Special::ZalDruh:
    case Special::ZalP:
    case Special::ZalDrP:
        return applyAfforestation(rule, v);
    case Special::PoskozD:
    case Special::PoskozR:
        return applyDamage(rule, v);
    default:
        return;
    }
}

void TImportStandardPP_FST::applyAfforestation(const Rule& rule, const QString& v)
{
    TZalesneniMN* set = storey()->ZalesneniMN();
    switch (rule.special) {
    case Special::ZalDr:
        if (v.isEmpty())
            return;
        set->SetNamesFromList(v, m_oddelovac);
        set->SetPropertyFromList(QStringLiteral("ZAL_DR"), v, m_oddelovac);
        if (set->PocetPrvku() > 0) {
            auto* first = as<TZalesneni>(set->Items(0));
            const QString kind = first ? first->GetPropAsString(QStringLiteral("ZAL_DRUH")) : QString();
            set->SetPropertyOfAll(QStringLiteral("ZAL_DRUH"),
                                  kind.trimmed().isEmpty() ? set->GetPropAsString(QStringLiteral("ZAL_DRUH_nahr")) : kind);
        }
        return;
    case Special::ZalDruh:
        if (v.isEmpty())
            return;
        if (set->PocetPrvku() > 0)
            set->SetPropertyFromList(QStringLiteral("ZAL_DRUH"), v, m_oddelovac);
        else
            set->SetPropAsString(QStringLiteral("ZAL_DRUH_nahr"), v);
        return;
    case Special::ZalP: {
        const double area = TextToFloatDef(RemoveSpacesOrZero(v));
        if (area > 0.001)
            set->SetPropertyFromList(QStringLiteral("ZAL_P"), v, m_oddelovac);
        if (!v.isEmpty() && !v.contains(m_oddelovac) && set->PocetPrvku() > 1)
            set->SetPlochaZalesneni(area);
        return;
    }
    case Special::ZalDrP: {
        const QString shares = RemoveSpacesOrZero(v);
        if (shares != QLatin1String("0")) {
            set->SetPropertyFromList(QStringLiteral("ZAL_DR_P"), shares, m_oddelovac);
            set->SetPlochaZalesneni(set->PlochaZalesneni());
        }
        return;
    }
    default:
        return;
    }
}

void TImportStandardPP_FST::applyDamage(const Rule& rule, const QString& v)
{
    TEtaz* etaz = storey();
    if (v.isEmpty() || !etaz->Drevina())
        return;
    auto* species = as<TDrevina>(etaz->DrevinaMN()->AktualniPrvekVzdy());
    if (!species)
        return;
    TPoskozeniMN* set = species->PoskozeniMN();
    if (rule.special == Special::PoskozD) {
        set->SetNamesFromList(v, m_oddelovac);
        set->SetPropertyFromList(QStringLiteral("POSKOZ_D"), v, m_oddelovac);
    } else {
        set->SetPropertyFromList(QStringLiteral("POSKOZ_R10"), v, m_oddelovac);
    }
}

void TImportStandardPP_FST::ApplyRecord(TPrenasecZeStandarduData* reader, bool positionOnly)
{
    SetInput(reader);
    SetNastavuj(true);
    m_keyChangedInRecord = false;
    try {
        applyPass(reader);
    } catch (...) {
        // A record stopped part-way selected only some of its keys: the next one selects anew.
        std::fill(std::begin(m_keyKnown), std::end(m_keyKnown), false);
        keyChanged(0);
        throw;
    }
    if (positionOnly)
        return;
    SetNastavuj(false);
    applyPass(reader);
}

QString TImportStandardPP_FST::InvalidColumn(TPrenasecZeStandarduData* reader)
{
    TStringListElement* carrier = reader->NosicHlavicka();
    mapColumns(carrier);
    const int speciesKey = reader->KnownColumnPosition(TPrenasecZeStandarduData::kcDR_ZKR);
    const bool noSpecies = speciesKey >= 0 && carrier->ValueAt(speciesKey).isEmpty();
    for (const WholeNumberColumn& c : m_wholeNumberColumns) {
        if (c.species && noSpecies)
            continue;
        const QString& v = static_cast<const TStringElement*>(c.element)->StringValue();
        // The very text the column last wrote has converted.
        if (c.column->holds(v))
            continue;
        if (c.keepComputed && v.trimmed().isEmpty())
            continue;
        if (!convertsI(v))
            return c.column->name;
    }
    return QString();
}
