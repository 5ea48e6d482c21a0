// The forest-unit source over the sibling inventory database, versions 97 and 98.
#include "app/sources/vex/VexSource.h"

#include "app/sources/LesniCelek.h"
#include "app/sources/vex/DirectorySearch.h"
#include "app/sources/vex/VexLoader.h"
#include "forest/base/StatusText.h"
#include "forest/base/TextUtilities.h"
#include "forest/codebooks/Ciselnik.h"
#include "forest/hierarchy/LHC.h"
#include "forest/hierarchy/Oddeleni.h"
#include "platform/Exceptions.h"
#include "platform/ui/Services.h"

namespace vex {

DirectoryChooser& directoryChooser()
{
    static DirectoryChooser chooser = SelectDbFile;
    return chooser;
}

CodebookFiller& codebookFiller()
{
    static CodebookFiller filler = ShowTableWindow;
    return filler;
}

TLHC* unitHeader(TLesniCelek& unit)
{
    return unit.LHC();
}

tciselnik* unitCodebooks(TLesniCelek& unit)
{
    return unit.Ciselnik();
}

std::unique_ptr<app::Source> createVexSource(quint8 kind, const app::SourceContext& context)
{
    return std::make_unique<VexSource>(kind == SourceKinds::Vex98 ? Version::V98 : Version::V97, context);
}

VexSource::VexSource(Version version, app::SourceContext context)
    : m_version(version), m_context(std::move(context))
{
}

VexSource::~VexSource() = default;

quint8 VexSource::kind() const
{
    return m_version == Version::V98 ? SourceKinds::Vex98 : SourceKinds::Vex97;
}

QString VexSource::sourceKey() const
{
    return m_version == Version::V98 ? QStringLiteral("Vex98-Paradox") : QStringLiteral("Vex97-Paradox");
}

// Creates and opens the module once; a failure is told once and leaves the source empty.
bool VexSource::ensureOvr(TLesniCelek& unit)
{
    if (m_tried)
        return m_ready;
    m_tried = true;
    unit.SetJakBylNacten(sourceKey());
    OvrOptions options;
    options.programDir = m_context.programDir;
    options.skipDirectoryDialog = m_version == Version::V98;
    options.chooseDirectory = directoryChooser();
    options.fillCodebook = codebookFiller();
    m_ovr = std::make_unique<TOvr>(m_version, options);
    try {
        m_ovr->FormCreate();
    } catch (const Exception& e) {
        ui::services().showMessage(e.message());
        return false;
    }
    m_ready = !m_ovr->Cancelled();
    return m_ready;
}

void VexSource::loadHeader(TLesniCelek& unit)
{
    if (!ensureOvr(unit))
        return;
    TLHC* header = unitHeader(unit);
    if (m_version == Version::V98)
        LoadLhcHeader98(*header, *m_ovr);
    else
        LoadLhcHeader97(*header, *m_ovr);
    AssignOvrTables(*unitCodebooks(unit), *m_ovr);
    unit.SetJakBylNacten(sourceKey());
    unit.SetAdresarStandardu(TOvr::directoryOf(m_ovr->DB_zrPath()));
    header->SetPropAsBoolean(QStringLiteral("VerzeProPark"), m_version == Version::V98 && m_ovr->NarodniPark());
}

QStringList VexSource::buildCompartmentList(TLesniCelek& unit)
{
    if (!ensureOvr(unit))
        return {};
    db::Table& t = m_ovr->TB_ODD();
    const QString caption = m_version == Version::V98 ? QStringLiteral("Načítám  seznam oddělení z vexu98")
                                                      : QStringLiteral("Načítám  seznam oddělení z vexu97");
    ui::services().setStatusText(caption);
    const int total = t.RecordCount();
    QStringList list;
    int count = 0;
    for (t.First(); !t.Eof(); t.Next()) {
        list.append(PadLeft(t.FieldByName(QStringLiteral("ODD")).AsString(), 3, QLatin1Char(' ')));
        if (++count % 10 == 0)
            ui::services().setProgress(count, total);
    }
    list.sort();
    return list;
}

// Loads the compartment of the current row and hands it to the header. When the load fails, the
// compartment table still moves on, so that the next call reads the next compartment.
void VexSource::loadCompartment(TLesniCelek& unit)
{
    db::Table& compartments = m_ovr->TB_ODD();
    const int row = compartments.RecNo();
    Owned<TOddeleni> compartment;
    try {
        NactiOddeleni_db(compartment, *m_ovr);
    } catch (const Exception&) {
        if (compartments.RecNo() == row && !compartments.Eof())
            compartments.Next();
        throw;
    }
    if (m_version == Version::V97)
        compartments.Next();
    const QString status = m_version == Version::V98 ? QStringLiteral("Z vexu 98 načteno oddělení ")
                                                     : QStringLiteral("Z vexu 97 načteno oddělení ");
    ShowStatusText(status + QString::number(compartment->ODD()));
    unitHeader(unit)->OddeleniMN()->Add(compartment.release());
}

bool VexSource::loadFirstCompartment(TLesniCelek& unit)
{
    loadHeader(unit);
    if (!m_ready)
        return false;
    db::Table& compartments = m_ovr->TB_ODD();
    compartments.First();
    if (compartments.IsEmpty())
        return false;
    loadCompartment(unit);
    return true;
}

bool VexSource::endOfData() const
{
    return !m_ready || m_ovr->TB_ODD().Eof() || m_ovr->TB_ODD().IsEmpty();
}

bool VexSource::loadNextCompartment(TLesniCelek& unit)
{
    if (endOfData())
        return false;
    loadCompartment(unit);
    return true;
}

} // namespace vex
