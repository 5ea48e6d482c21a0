// The list of forest units of the SQL database ("Seznam LHC").
#pragma once

#include "app/sources/sql/LhcDatabase.h"

#include <QDialog>

#include <functional>

class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace app {

// TFU_DTB_LES: the units of the connected database; the current row on closing is the chosen unit.
class TFU_DTB_LES : public QDialog
{
    Q_OBJECT

public:
    explicit TFU_DTB_LES(QString databaseName, QWidget* parent = nullptr);

    // Rereads the list, staying on the unit of `key` (or the first after it) when given.
    void OpenLhcList(std::optional<sqlsrc::UnitKey> key = std::nullopt);
    // The unit of the current row; nullopt when the list is empty.
    std::optional<sqlsrc::UnitKey> currentUnit() const;
    QTableWidget* GU_LHC() const { return m_grid; }
    const QString& databaseName() const { return m_databaseName; }

    // "Zrus LHC": after "Ano", the current unit is deleted in one transaction.
    void Button5Click();
    // "Přečísluj  LHC ": asks for a new key until it is free or the question is cancelled.
    void Button3Click();
    // "Kopíruj LHC": logs into a target database, asks for a free key there and copies, showing
    // the copy's log in RichEdit1.
    void ButCopyLHCClick();
    // "LHC výběry": the selection window of the current unit (nil when the list is empty or
    // the unit is already open in one).
    class TFDtbVyb* ButVyberyClick();
    // "VybČárka": shows the conditions of the stand groups whose texts hold an apostrophe in
    // place of the list; a second click shows the list again.
    void ButCarkaClick();
    // The log pane: the copy's log, or the scan's conditions while the scan replaces the list.
    QPlainTextEdit* RichEdit1() const { return m_log; }

    // Asks for a unit key starting from the given one (the key dialog unless replaced).
    std::function<std::optional<sqlsrc::UnitKey>(sqlsrc::UnitKey)> askKey;

    QPushButton* ZrusLhc() const { return m_delete; }
    QPushButton* Preciskuj() const { return m_renumber; }
    QPushButton* KopirujLhc() const { return m_copy; }

private:
    // Runs an operation with the buttons and the list disabled, so that nothing re-enters it.
    template<class F>
    void guarded(F work);
    std::optional<sqlsrc::UnitRow> currentRow() const;
    void showLog(const QStringList& lines);

    QString m_databaseName;
    QTableWidget* m_grid;
    QPushButton* m_delete;
    QPushButton* m_show;
    QPushButton* m_copy;
    QPushButton* m_renumber;
    QPushButton* m_selections;
    QPushButton* m_carka;
    QPlainTextEdit* m_log;
    std::vector<sqlsrc::UnitRow> m_rows;
};

} // namespace app

namespace sqlsrc {

// Shows the list modally over the connected database and answers its current row when it was
// chosen (OK, Enter, a double-click); nullopt when the list was closed otherwise.
std::optional<UnitKey> ChooseUnitInList(const QString& databaseName);

} // namespace sqlsrc
