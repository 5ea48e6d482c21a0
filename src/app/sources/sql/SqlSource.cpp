// The forest-unit source over the SQL database of forest units.
#include "app/sources/sql/SqlSource.h"

#include "app/sources/LesniCelek.h"
#include "app/windows/LhcListWindow.h"
#include "app/windows/LoginWindow.h"
#include "forest/base/ObecnyLesniPrvek.h"
#include "forest/base/StatusText.h"
#include "forest/hierarchy/LHC.h"
#include "forest/hierarchy/Oddeleni.h"
#include "platform/Exceptions.h"
#include "platform/ui/Services.h"

namespace sqlsrc {

LoginDialog& loginDialog()
{
    static LoginDialog dialog = ShowLoginWindow;
    return dialog;
}

UnitChooser& unitChooser()
{
    static UnitChooser chooser = ChooseUnitInList;
    return chooser;
}

SqlSource::SqlSource(app::SourceContext context)
    : m_context(std::move(context)), m_database(databaseName())
{
}

SqlSource::~SqlSource()
{
    m_queries.reset();
    m_database.Close();
}

QString SqlSource::databaseName()
{
    return QStringLiteral("LHP_ORAC");
}

quint8 SqlSource::kind() const
{
    return SourceKinds::SqlDatabase;
}

void SqlSource::loadHeader(TLesniCelek&)
{
    // The unit is chosen, and its header read, at every restart.
}

bool SqlSource::connect()
{
    if (m_database.Connected())
        return true;
    setUpAliases(m_context.programDir);
    if (!LoginLhpDatabase(m_database, loginDialog())) {
        ui::services().showMessage(QStringLiteral("Databáze LHC nebude otevřena."));
        return false;
    }
    m_queries = std::make_unique<LoaderQueries>(databaseName());
    return true;
}

QStringList SqlSource::buildCompartmentList(TLesniCelek& unit)
{
    m_key.reset();
    if (m_queries)
        m_queries->stands.Close();
    if (!connect())
        return {};
    const std::optional<UnitKey> key = unitChooser()(databaseName());
    if (!key)
        return {};
    ShowStatusText(QStringLiteral("Před nastavením vazeb"));
    if (!LoadLhcHeaderFromSql(*unit.LHC(), *m_queries, *key)) {
        ui::services().showMessage(QStringLiteral("LHC_KOD %1 ID %2 v databázi není.").arg(key->kod).arg(key->id));
        return {};
    }
    ShowStatusText(QStringLiteral("Z IDC načteny polozky LHC "));
    m_key = key;
    return LoadCompartmentNumbersFromSql(*m_queries, *key);
}

bool SqlSource::loadFirstCompartment(TLesniCelek& unit)
{
    if (!m_key)
        return false;
    OpenStandsFromSql(*m_queries, *m_key);
    if (m_queries->stands.Eof())
        return false;
    loadCompartment(unit);
    return true;
}

bool SqlSource::endOfData() const
{
    return !m_key || !m_queries || !m_queries->stands.Active() || m_queries->stands.Eof();
}

bool SqlSource::loadNextCompartment(TLesniCelek& unit)
{
    if (endOfData())
        return false;
    loadCompartment(unit);
    return true;
}

void SqlSource::loadCompartment(TLesniCelek& unit)
{
    Owned<TOddeleni> compartment;
    LoadCompartmentFromSql(compartment, *m_queries, *m_key);
    ShowStatusText(QStringLiteral("Z vexu 98 načteno oddělení ") + QString::number(compartment->ODD()));
    unit.LHC()->OddeleniMN()->Add(compartment.release());
}

std::unique_ptr<app::Source> createSqlSource(const app::SourceContext& context)
{
    return std::make_unique<SqlSource>(context);
}

} // namespace sqlsrc
