// The list window of recognised stands: grid, navigator and the four editable fields.
#pragma once

#include "app/windows/RecognisedStandsList.h"

#include <QDialog>

#include <vector>

class QLineEdit;
class QPushButton;
class QTableView;

namespace db {
class DataSetModel;
}

namespace app {

// TFGKDB: shows TGENKL.DB in a read-only grid and lets the user correct NAJEMCE, Stary_Kod,
// Fenotyp and LVS of the current row. Created hidden at start and shown modally for every list.
class TFGKDB : public QDialog
{
    Q_OBJECT

public:
    explicit TFGKDB(QWidget* parent = nullptr);
    ~TFGKDB() override;

    const QString& DataDir() const { return m_list.DataDir(); }
    void SetDataDir(const QString& dir) { m_list.SetDataDir(dir); }
    // Opens the query and shows the window modally (tests may ask for a modeless show).
    void ShowList(bool modal = true);
    // "&Konec": a pending edit is posted, the query closed, the window closed.
    void BitBtn2Click();

    RecognisedStandsList& list() { return m_list; }
    QTableView* DBGrid1() const { return m_grid; }
    QPushButton* BitBtn2() const { return m_close; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* buildSidePanel();
    // Writes what the user typed into an editable field and has not yet committed.
    void commitTypedEdits();
    QWidget* buildNavigator();

    RecognisedStandsList m_list;
    db::DataSetModel* m_model;
    QTableView* m_grid;
    QPushButton* m_close;
    // The editable fields' edits (children of the side panel).
    std::vector<QLineEdit*> m_editableEdits;
};

} // namespace app
