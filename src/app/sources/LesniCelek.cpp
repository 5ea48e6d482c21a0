// The forest unit: its chosen data source, header and compartment-by-compartment loading.
#include "app/sources/LesniCelek.h"

#include "app/sources/SourceChoice.h"
#include "forest/base/ForestSetRoutines.h"
#include "forest/codebooks/CiselLumex.h"
#include "forest/codebooks/Ciselnik.h"
#include "forest/codebooks/CodebookSets.h"
#include "forest/hierarchy/LHC.h"
#include "forest/hierarchy/Oddeleni.h"
#include "framework/core/ClassRegistry.h"
#include "platform/files/Files.h"
#include "platform/ini/IniFile.h"
#include "platform/ui/Services.h"

#include <algorithm>

namespace {

template<class T>
T* childOnFirstUse(TEntity* parent, WeakRef<T>& slot)
{
    if (T* existing = slot.get())
        return existing;
    T* created = parent->AddNew<T>();
    slot = created;
    return created;
}

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
            .integer("stareOddeleni", [](P& p) { return p.stareOddeleni(); }, nullptr, false);
    });
    return &info;
}

TLesniCelek::TLesniCelek() = default;
TLesniCelek::~TLesniCelek() = default;

TLHC* TLesniCelek::LHC()
{
    return childOnFirstUse(this, m_lhc);
}

void TLesniCelek::SetLHC(TLHC* header)
{
    m_lhc = header;
}

tciselnik* TLesniCelek::Ciselnik()
{
    return childOnFirstUse(this, m_ciselnik);
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
    return childOnFirstUse(this, m_transfor);
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

QString TLesniCelek::programDir() const
{
    return m_programDir.isEmpty() ? files::programDirectory() : m_programDir;
}

void TLesniCelek::ChooseDataSource(const QString& startDir, bool writeManager)
{
    const QString iniPath = programDir() + QStringLiteral("/vkm.ini");
    QString answer = startDir;
    if (answer.isEmpty()) {
        const QString start = IniFile(iniPath).readString(QStringLiteral("DATABASE"), QStringLiteral("DATA_OBECNE"),
                                                          QStringLiteral("C:"));
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
