// The state of a selection window: its unit, the target unit and the compartment assignment.
#include "app/sources/sql/SelectionSession.h"

#include "app/sources/sql/UnitMaintenance.h"
#include "forest/base/StatusText.h"
#include "platform/Exceptions.h"
#include "platform/db/sql/Query.h"
#include "platform/ui/Services.h"

#include <utility>

namespace sqlsrc {

namespace {

// "Hotovo - Kopírování oddělění proběhlo." and its kin, by the kind of the item.
QString doneText(SelectionKind kind, bool copied)
{
    static const char* const items[] = {"", "oddělění", "porostu", "porostní skupiny", "bezlesí", "jiného pozemku"};
    return QStringLiteral("Hotovo - %1 %2 proběhlo.")
        .arg(copied ? QStringLiteral("Kopírování") : QStringLiteral("Mazání"), QString::fromUtf8(items[int(kind)]));
}

} // namespace

SelectionSession::SelectionSession(UnitSelection& selection, SelectionDialogs dialogs)
    : m_selection(selection), m_dialogs(std::move(dialogs))
{
    m_selection.setLog(&m_log);
}

SelectionSession::~SelectionSession()
{
    m_selection.setLog(nullptr);
}

bool SelectionSession::chooseTarget()
{
    endTransaction();
    if (!m_dialogs.targetKey)
        return false;
    for (;;) {
        const std::optional<UnitKey> key = m_dialogs.targetKey(m_selection.unit());
        if (!key)
            return false;
        if (!UnitMaintenance::unitExists(m_selection.database(), *key)) {
            ui::services().showMessage(QStringLiteral("Nelze zkopírovat. LHC_KOD \"%1\", LHC_KOD_ID \"%2\" neexistuje. Zadej znovu.")
                                           .arg(key->kod)
                                           .arg(key->id));
            continue;
        }
        db::Query q;
        q.SetDatabaseName(m_selection.database().DatabaseName());
        q.SQL().Add(QStringLiteral("Select LHC_NAZ from LHC"));
        q.SQL().Add(QStringLiteral("where (LHC_KOD=:KOD)and(LHC_KOD_ID=:ID)"));
        q.ParamByName(QStringLiteral("KOD")).setAsInteger(key->kod);
        q.ParamByName(QStringLiteral("ID")).setAsInteger(key->id);
        q.Open();
        q.First();
        m_targetName = q.Eof() ? QString() : q.Fields(0).AsString();
        m_target = key;
        return true;
    }
}

bool SelectionSession::ensureTarget()
{
    try {
        return m_target || chooseTarget();
    } catch (const Exception& e) {
        ui::services().showMessage(e.message().left(2000));
        return false;
    }
}

void SelectionSession::settleOddId(const SelectedRow& row)
{
    if (m_odd && *m_odd == row.odd)
        return;
    db::Query q;
    q.SetDatabaseName(m_selection.database().DatabaseName());
    q.SQL().Add(QStringLiteral("select distinct ODD_ID from POROST"));
    q.SQL().Add(QStringLiteral("where ((LHC_KOD = :KOD) and ( LHC_KOD_ID = :ID) and ( ODD = :ODD))"));
    q.SQL().Add(QStringLiteral("order by ODD_ID"));
    q.ParamByName(QStringLiteral("KOD")).setAsInteger(m_target->kod);
    q.ParamByName(QStringLiteral("ID")).setAsInteger(m_target->id);
    q.ParamByName(QStringLiteral("ODD")).setAsInteger(row.odd);
    q.Open();
    QList<int> found;
    for (q.First(); !q.Eof(); q.Next())
        found << q.Fields(0).AsInteger();
    q.Close();
    m_odd = row.odd;
    m_oddId = found.isEmpty() || !m_dialogs.targetOddId ? QString() : m_dialogs.targetOddId(row.odd, found);
}

bool SelectionSession::readyToTransfer(const SelectedRow& row)
{
    if (row.kind == SelectionKind::None) {
        ui::services().showMessage(QStringLiteral("Chyba při výběru pole"));
        return false;
    }
    if (!ensureTarget())
        return false;
    try {
        settleOddId(row);
    } catch (const Exception& e) {
        ui::services().showMessage(e.message().left(2000));
        return false;
    }
    return true;
}

bool SelectionSession::copy(const SelectedRow& row)
{
    if (!readyToTransfer(row))
        return false;
    if (!m_selection.copy(row, *m_target, m_oddId))
        return false;
    ShowStatusText(doneText(row.kind, true));
    return true;
}

bool SelectionSession::removeFrom(UnitKey unit, const SelectedRow& row, bool alsoLand)
{
    if (!m_selection.remove(row, alsoLand, unit))
        return false;
    m_deleted = true;
    offerEmptyStands(unit, row, alsoLand);
    ShowStatusText(doneText(row.kind, false));
    return true;
}

bool SelectionSession::move(const SelectedRow& row)
{
    if (!readyToTransfer(row))
        return false;
    if (!m_selection.move(row, *m_target, m_oddId))
        return false;
    m_deleted = true;
    offerEmptyStands(m_selection.unit(), row, true);
    return true;
}

void SelectionSession::offerEmptyStands(UnitKey unit, const SelectedRow& row, bool alsoLand)
{
    // With the land a compartment or stand is gone whole; nothing is left to offer.
    if (alsoLand && row.kind <= SelectionKind::Stand)
        return;
    std::vector<SelectedRow> stands;
    if (row.kind == SelectionKind::Compartment) {
        for (const SelectedRow& s : m_selection.list(SelectionKind::Stand, unit))
            if (s.odd == row.odd && s.oddId == row.oddId)
                stands.push_back(s);
    } else {
        SelectedRow s = row;
        s.kind = SelectionKind::Stand;
        stands.push_back(s);
    }
    for (const SelectedRow& s : stands) {
        if (!m_selection.standIsEmpty(s, unit))
            continue;
        const QString question = QStringLiteral("Porost  %1%2%3  neobsahuje žádnou POROST_SKUP,BEZLESI ani JINY_POZ.\nMám jej smazat ?")
                                     .arg(QString::number(s.odd), s.dil, s.por);
        if (ui::services().askBeforeDeleting(question))
            m_selection.removeStandRows(s, unit);
    }
}

void SelectionSession::endTransaction()
{
    if (m_target || m_deleted) {
        if (m_dialogs.confirmEnd && m_dialogs.confirmEnd()) {
            ui::services().showMessage(QStringLiteral("Bude provedeno definitvní zapsání změn z poslední transakce. Pokud tomu "
                                                      "chces zabránit, musíš ihned násilně přerusit aplikaci."));
            m_selection.endTransaction(true);
            ShowStatusText(QStringLiteral("provedeno definitvní zapsání změn z poslední transakce."));
        } else {
            m_selection.endTransaction(false);
            ShowStatusText(QStringLiteral("Změny z poslední transakce byly opět smazány."));
        }
    } else {
        m_selection.endTransaction(true);
    }
    m_target.reset();
    m_targetName.clear();
    m_odd.reset();
    m_oddId.clear();
    m_deleted = false;
    m_log.clear();
}

} // namespace sqlsrc
