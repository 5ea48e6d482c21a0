// The state of a selection window: its unit, the target unit and the compartment assignment.
#pragma once

#include "app/sources/sql/UnitSelection.h"

#include <QList>

#include <functional>
#include <optional>

namespace sqlsrc {

// The window's questions, answered by its dialogs (or a test).
struct SelectionDialogs {
    // The key dialog prefilled with a key; nullopt when cancelled.
    std::function<std::optional<UnitKey>(UnitKey prefill)> targetKey;
    // The ODD_ID dialog for a compartment number found under these ODD_IDs in the target;
    // answers the ODD_ID left in it (empty: each row keeps its own).
    std::function<QString(int odd, const QList<int>& found)> targetOddId;
    // The end-of-transaction dialog: true commits, false rolls back.
    std::function<bool()> confirmEnd;
};

// Everything the selection window does besides showing: within one transaction the target unit
// and the ODD_ID settled per compartment number are remembered, so further copies go to the same
// place without asking; a delete leaves the offer to delete stands left empty.
class SelectionSession
{
public:
    SelectionSession(UnitSelection& selection, SelectionDialogs dialogs);
    ~SelectionSession();
    SelectionSession(const SelectionSession&) = delete;
    SelectionSession& operator=(const SelectionSession&) = delete;

    // The copies' log of the current transaction.
    const QStringList& log() const { return m_log; }

    std::optional<UnitKey> target() const { return m_target; }
    QString targetName() const { return m_targetName; }
    std::optional<int> settledOdd() const { return m_odd; }
    QString settledOddId() const { return m_oddId; }
    bool deleted() const { return m_deleted; }

    // Ends the transaction, then asks for an existing target unit until one is given or cancelled.
    bool chooseTarget();
    // Copies the row into the target (chosen first when none is); false when nothing was copied.
    bool copy(const SelectedRow& row);
    // Deletes the row, then offers to delete the stands it left without groups and land.
    bool remove(const SelectedRow& row, bool alsoLand) { return removeFrom(m_selection.unit(), row, alsoLand); }
    // The same in another unit (the target as the check window shows it), in this transaction.
    bool removeFrom(UnitKey unit, const SelectedRow& row, bool alsoLand);
    // Copies, then deletes only after the copy succeeded, with the offer of remove.
    bool move(const SelectedRow& row);
    // Commits or rolls back (asking when a target was chosen or something deleted) and forgets the target.
    void endTransaction();

private:
    bool ensureTarget();
    void settleOddId(const SelectedRow& row);
    // The checks before a copy or move: a selected row, a target unit, its ODD_ID settled.
    bool readyToTransfer(const SelectedRow& row);
    void offerEmptyStands(UnitKey unit, const SelectedRow& row, bool alsoLand);

    UnitSelection& m_selection;
    SelectionDialogs m_dialogs;
    std::optional<UnitKey> m_target;
    QString m_targetName;
    std::optional<int> m_odd;
    QString m_oddId;
    bool m_deleted = false;
    QStringList m_log;
};

} // namespace sqlsrc
