// The forest unit: its chosen data source, header and compartment-by-compartment loading.
#include "app/sources/LesniCelek.h"

#include "app/sources/SourceChoice.h"
#include "forest/base/ForestSetRoutines.h"
#include "forest/base/IniLists.h"
#include "forest/codebooks/CiselLumex.h"
#include "forest/codebooks/Ciselnik.h"
#include "forest/codebooks/CodebookSets.h"
#include "forest/hierarchy/HierarchySupport.h"
#include "forest/hierarchy/LHC.h"
#include "forest/hierarchy/Oddeleni.h"
#include "framework/core/ClassRegistry.h"
#include "platform/files/Files.h"
#include "platform/ini/IniFile.h"
#include "platform/ui/Services.h"

#include <algorithm>

namespace {

bool isParadoxKind(quint8 kind)
{
    return kind == SourceKinds::Vex97 || kind == SourceKinds::Vex98;
}

} // namespace

TClass TLesniCelek::StaticClass()
{
    using P = TLesniCelek;
    static const TClassInfo info = describeClass<P, TObecnyLesniPrvek>("TLesniCelek", [](PropertyTable<P>& t) {
        t.object<TLHC>("LHC", [](P& p) { return p.LHC(); }, [](P& p, TLHC* h) { p.SetLHC(h); })
            .longString("JakBylNacten", &P::JakBylNacten, &P::SetJakBylNacten)
            .longString("adresarObecnychDatLHP", &P::adresarObecnychDatLHP, &P::SetadresarObecnychDatLHP)
            .longString("AdresarStandardu", &P::AdresarStandardu, &P::SetAdresarStandardu)
            .longString("AdresarIshulu", &P::AdresarIshulu, nullptr, false)
            .longString("AdrStandardIniFile", &P::AdrStandardIniFile, &P::SetAdrStandardIniFile)
            .longString("AdresarTabulky_TBSepMaj", &P::AdresarTabulky_TBSepMaj, nullptr, false)
            .longString("ZdrojNazev", &P::ZdrojNazev, nullptr, false)
            .object<TTransforDleMajiteleMN>("TransforDleMajiteleMN", [](P& p) { return p.TransforDleMajiteleMN(); },
                                            nullptr, false)
            .integer("stareOddeleni", [](P& p) { return p.stareOddeleni(); }, nullptr, false)
            .longString("PHSNazev", &P::PHSNazev, nullptr, false);
        for (const char* kind : {"PP", "CPP", "CPJ", "CPB", "BZL", "JP", "OST", "LHC"}) {
            const QString k = QString::fromLatin1(kind);
            t.object<TLesniStringListElement>(QStringLiteral("SeznamStandard%1_FST").arg(k),
                                              [k](P& p) { return p.SeznamStandardFst(k); }, nullptr, false);
        }
    });
    return &info;
}

TLesniCelek::TLesniCelek() = default;
TLesniCelek::~TLesniCelek() = default;

TLHC* TLesniCelek::LHC()
{
    return forest::ensureChildSet(this, m_lhc);
}

void TLesniCelek::SetLHC(TLHC* header)
{
    m_lhc.set(header);
}

tciselnik* TLesniCelek::Ciselnik()
{
    return forest::ensureChildSet(this, m_ciselnik);
}

TOwnerEntity* TLesniCelek::ciselLumexOwnEnt()
{
    return CiselLumex();
}

TCiselLumex* TLesniCelek::CiselLumex()
{
    if (TCiselLumex* existing = m_ciselLumex.get())
        return existing;
    TCiselLumex* created = AddNew<TCiselLumex>();
    created->SetName(QStringLiteral("CiselLumex"));
    m_ciselLumex = created;
    return created;
}

TTransforDleMajiteleMN* TLesniCelek::TransforDleMajiteleMN()
{
    return forest::ensureChildSet(this, m_transfor);
}

QString TLesniCelek::AdresarIshulu() const
{
    const bool lcr = m_adrStandardIniFile.contains(QLatin1String("\\LCR.INI"));
    return m_adresarStandardu + (lcr ? QStringLiteral("\\ISHULLCR") : QStringLiteral("\\ISHUL"));
}

QString TLesniCelek::ZdrojNazev() const
{
    return m_zdrojNazev;
}

QString TLesniCelek::AdresarTabulky_TBSepMaj() const
{
    return isParadoxKind(StoredSourceKind()) ? m_zdrojNazev + QStringLiteral("/TBSepMaj.DB")
                                                                              : QString();
}

qint32 TLesniCelek::stareOddeleni()
{
    TLHC* header = m_lhc.get();
    if (!header)
        return -1;
    return header->OddeleniMN()->JmenoStarehoPrvku().trimmed().toInt();
}

namespace {

// The interchange kinds of the item lists, in slot order after the export list.
const char* const fstKinds[] = {"PP", "BZL", "CPP", "CPB", "CPJ", "JP", "OST", "LHC"};
// Kinds whose list reports an unknown source.
bool reportsUnknownSource(const QString& kind)
{
    return kind == QLatin1String("PP") || kind == QLatin1String("JP") || kind == QLatin1String("OST") ||
           kind == QLatin1String("LHC");
}

} // namespace

TLesniStringListElement* TLesniCelek::standardList(int slot, const QString& name, const std::function<QString()>& file,
                                                   const QString& section, bool report)
{
    if (TLesniStringListElement* list = m_standardLists[size_t(slot)].get())
        return list;
    if (m_standardListTried[size_t(slot)])
        return nullptr;
    m_standardListTried[size_t(slot)] = true;
    if (m_jakBylNacten != QLatin1String("Vex97-Paradox") && m_jakBylNacten != QLatin1String("Vex98-Paradox")) {
        if (report)
            ui::services().showMessage(QStringLiteral("Nevím jak byl načten lesní celek."));
        return nullptr;
    }
    Owned<TLesniStringListElement> list;
    LoadIniSectionList(list, file(), section);
    if (!list)
        return nullptr;
    list->SetName(name);
    TLesniStringListElement* added = list.release();
    Add(added);
    m_standardLists[size_t(slot)] = added;
    return added;
}

TLesniStringListElement* TLesniCelek::SeznamExportStandard()
{
    const auto file = [this] {
        const QString univExp = files::resolvePath(programDir() + QStringLiteral("/UnivExp.ini"));
        if (files::fileExists(univExp))
            return univExp;
        m_adrStandardIniFile = m_adrStandardIniFile.toUpper();
        return m_adrStandardIniFile.contains(QLatin1String("\\LCR.INI")) ? m_adrStandardIniFile
                                                                          : m_phsNazev + QStringLiteral("\\PHS.INI");
    };
    return standardList(0, QStringLiteral("SeznamExportStandard"), file,
                        QStringLiteral("PolozkyStandardu_ExportDoStandardu"), true);
}

TLesniStringListElement* TLesniCelek::SeznamStandardFst(const QString& kind)
{
    for (int i = 0; i < int(std::size(fstKinds)); ++i) {
        if (kind != QLatin1String(fstKinds[i]))
            continue;
        return standardList(i + 1, QStringLiteral("SeznamStandard%1_FST").arg(kind),
                            [this] { return m_adrStandardIniFile; },
                            QStringLiteral("PolozkyStandardu%1_FST").arg(kind), reportsUnknownSource(kind));
    }
    return nullptr;
}

QString TLesniCelek::programDir() const
{
    return m_programDir.isEmpty() ? files::programDirectory() : m_programDir;
}

void TLesniCelek::ChooseDataSource(const QString& startDir, bool writeManager)
{
    const QString iniPath = programDir() + QStringLiteral("/vkm.ini");
    QString answer = startDir;
    if (answer.isEmpty()) {
        // Without a directory used before, the dialog opens at the program's own.
        const QString start =
            IniFile(iniPath).readString(QStringLiteral("DATABASE"), QStringLiteral("DATA_OBECNE"), programDir());
        answer = m_chooser ? m_chooser(start, QStringLiteral("Obecné hledání"), QStringLiteral("*.*"), true)
                           : QString::fromLatin1(app::cancelledAnswer);
    }
    const app::DetectedSource detected = app::detectSourceKind(answer);
    if (detected.lhcKod)
        LHC()->SetPropAsInteger(QStringLiteral("LHC_KOD"), *detected.lhcKod);
    if (detected.isStandardDirectory)
        m_adresarStandardu = detected.directory;
    if (isParadoxKind(detected.kind))
        m_zdrojNazev = detected.directory;
    app::storeChoice(iniPath, detected, writeManager);
    if (detected.kind != SourceKinds::Undetermined)
        m_adresarObecnychDatLHP = detected.directory;
    const app::SourceContext context{detected.directory, programDir()};
    setSource(m_maker ? m_maker(detected.kind, context) : app::createSource(detected.kind, context));
}

void TLesniCelek::setSource(std::unique_ptr<app::Source> source)
{
    m_source = std::move(source);
    m_compartmentList.reset();
    SetSourceKind(m_source ? m_source->kind() : SourceKinds::Undetermined);
}

void TLesniCelek::LoadHeader()
{
    if (m_source)
        m_source->loadHeader(*this);
}

const QStringList& TLesniCelek::CompartmentList()
{
    if (!m_compartmentList) {
        m_compartmentList = std::make_unique<QStringList>();
        if (m_source) {
            *m_compartmentList = m_source->buildCompartmentList(*this);
            std::sort(m_compartmentList->begin(), m_compartmentList->end());
        } else {
            ui::services().showMessage(QStringLiteral("Neumím načíst seznam oddělení."));
        }
    }
    return *m_compartmentList;
}

void TLesniCelek::ReloadCompartments()
{
    m_compartmentList.reset();
    CompartmentList();
    if (m_source)
        m_source->loadFirstCompartment(*this);
    TOddeleni::ApplyOwnerTransforms(LHC()->AktualniOddeleniVzdy(), TransforDleMajiteleMN());
}

bool TLesniCelek::EndOfData() const
{
    return !m_source || m_source->endOfData();
}

void TLesniCelek::LoadNextCompartment(bool withProgressWindow)
{
    (void)withProgressWindow;   // only the interchange and record readers show one
    if (EndOfData() || !m_source->loadNextCompartment(*this))
        return;
    afterCompartmentLoaded();
}

void TLesniCelek::afterCompartmentLoaded()
{
    TOddeleni* compartment = LHC()->Oddeleni();
    TOddeleni::ApplyOwnerTransforms(compartment, TransforDleMajiteleMN());
    SelectFirstElements(compartment);
}
