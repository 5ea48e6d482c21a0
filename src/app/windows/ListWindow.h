// The list window of recognised stands: grid, navigator and the four editable fields.
#pragma once

#include "app/windows/RecognisedStandsList.h"

#include <QDialog>
#include <QSize>

#include <functional>
#include <vector>

class QHBoxLayout;
class QModelIndex;
class QLineEdit;
class QPushButton;
class QTableView;

namespace db {
class DataSet;
class DataSetModel;
}

namespace app {

// What the list window shows side by side, in pixels.
struct ListWindowExtent {
    int grid = 0;        // the grid with every column, its row header, frame and scroll bar
    int sidePanel = 0;   // the side panel with its fields as wide as their texts
    int frame = 0;       // the window's margins and the spacing between grid and panel
    int height = 0;      // the height the window would like
};

// The size the list window opens at: every column beside the side panel when that fits the
// available screen area, else maximised.
struct ListWindowGeometry {
    QSize size;
    bool maximised = false;
};
ListWindowGeometry listWindowGeometry(const ListWindowExtent& extent, const QSize& available);

// The widest value of a field over the rows of an open dataset, as `measure` gives text widths
// (0 without the field or rows). Each distinct value is measured once.
int widestValue(const db::DataSet& dataSet, const QString& fieldName,
                const std::function<int(const QString&)>& measure);

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
    // "Sestava": the record with the text typed into a field is stored, then the list is
    // previewed in print order.
    void BitBtn1Click();
    // "&Konec": the record with the text typed into a field is stored, the query closed, the
    // window closed; a record that cannot be stored is reported and the window stays.
    void BitBtn2Click();

    RecognisedStandsList& list() { return m_list; }
    QTableView* DBGrid1() const { return m_grid; }
    QPushButton* BitBtn1() const { return m_report; }
    QPushButton* BitBtn2() const { return m_close; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* buildSidePanel();
    // The user chose a row in the grid: the dataset moves there.
    void gridRowChosen(const QModelIndex& index);
    // The grid's current row is the dataset's, in view.
    void showCurrentRow();
    QWidget* buildNavigator();
    // Side fields as wide as their longest value, then the window at a size that shows every
    // column (or maximised).
    void fitToContents();

    RecognisedStandsList m_list;
    db::DataSetModel* m_model;
    QTableView* m_grid;
    QPushButton* m_report;
    QPushButton* m_close;
    QWidget* m_sidePanel = nullptr;
    QHBoxLayout* m_body = nullptr;
    // Every field-bound edit of the side panel.
    std::vector<QLineEdit*> m_sideEdits;
};

} // namespace app
