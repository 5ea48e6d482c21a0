// The selection window of one forest unit ("Výběry"): lists, copy, move and delete of its items.
#pragma once

#include "app/sources/sql/LhcDatabase.h"
#include "app/sources/sql/SelectionSession.h"

#include <QPointer>
#include <QWidget>

#include <memory>
#include <vector>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace app {

// TFDtbVyb: a thin window over the unit's selection; the work is SelectionSession's.
class TFDtbVyb : public QWidget
{
public:
    // Takes the open selection of `unit`; dialogs default to the program's own.
    TFDtbVyb(std::unique_ptr<sqlsrc::UnitSelection> selection, const sqlsrc::UnitRow& unit,
             std::optional<sqlsrc::SelectionDialogs> dialogs = std::nullopt, QWidget* parent = nullptr);
    ~TFDtbVyb() override;

    // The check window of the owner's target unit ("Kontrola"), listing it through the owner's
    // connection so that the uncommitted copies show; nil while none is open.
    TFDtbVyb* CheckWindow() const { return m_check; }

    // Lists the items of a kind, staying on the same row number where it can.
    void showList(sqlsrc::SelectionKind kind);
    sqlsrc::SelectionKind kind() const { return m_kind; }
    // The current row of the list; a row of kind None when there is none.
    sqlsrc::SelectedRow currentItem() const;

    void ButCopyClick();
    void ButMoveClick();
    void ButDeleteClick(bool alsoLand);
    void ButDestinLHCClick();
    void ButTransClick();

    QTableWidget* DBVyber() const { return m_grid; }
    QLabel* LLHC_KODcopy() const { return m_targetKod; }
    QLabel* LLHC_NAZcopy() const { return m_targetName; }
    QLabel* LODD_ID() const { return m_oddId; }
    QLabel* LMazano() const { return m_deleted; }
    QPlainTextEdit* RichEdit1() const { return m_log; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // A check window: lists `unit` through the owner's selection; its deletes run in the owner's
    // transaction.
    TFDtbVyb(TFDtbVyb& owner, const sqlsrc::UnitRow& unit);
    void build(const sqlsrc::UnitRow& unit, const QString& caption);
    void closeCheckWindow();
    template<class F>
    void guarded(F work);
    // Disables (or enables again) the buttons and the list while an operation runs.
    void setBusy(bool busy);
    void showState();

    std::unique_ptr<sqlsrc::UnitSelection> m_owned;
    sqlsrc::UnitSelection* m_selection;
    sqlsrc::UnitKey m_unit;
    std::unique_ptr<sqlsrc::SelectionSession> m_session;   // nil in a check window
    QPointer<TFDtbVyb> m_check;
    TFDtbVyb* m_owner = nullptr;   // in a check window: the window that opened it (its parent)
    sqlsrc::SelectionKind m_kind = sqlsrc::SelectionKind::None;
    std::vector<sqlsrc::SelectedRow> m_rows;
    QTableWidget* m_grid;
    QLabel* m_targetKod;
    QLabel* m_targetId;
    QLabel* m_targetName;
    QLabel* m_odd;
    QLabel* m_oddId;
    QLabel* m_deleted;
    QPlainTextEdit* m_log;
    QList<QPushButton*> m_buttons;
};

// Opens the selection window of a unit through the login's alias and parameters (modeless);
// nil after the message when the unit is open already.
TFDtbVyb* OpenSelectionWindow(const db::Database& login, const sqlsrc::UnitRow& unit, QWidget* parent = nullptr);

} // namespace app
