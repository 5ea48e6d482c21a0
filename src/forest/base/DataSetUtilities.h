// Dataset utilities: emptiness, rounding to hundredths, sequential find, counters of new IDs.
#pragma once

#include <QString>

namespace db {
class DataSet;
class Field;
class DataSource;
class Table;
} // namespace db

// True when the dataset is closed (or nil), or open without rows.
bool DataSetIsEmpty(const db::DataSet* dataSet);
// x rounded to hundredths, halves to even (0.125 gives 0.12).
double RoundTo2(double x);

// Where a sequential search starts.
enum TFindStyle { FromCurrent = 0, FromTop = 1, FromNext = 2 };

// Finds a value in one field of the dataset behind a data source by walking its rows, for
// tables without an index on that field (TKSekvenFind). The data source is not owned.
class TKSekvenFind
{
public:
    db::DataSource* DataSource() const { return m_dataSource; }
    void SetDataSource(db::DataSource* source) { m_dataSource = source; }
    const QString& DataField() const { return m_dataField; }
    void SetDataField(const QString& field)
    {
        m_dataField = field;
        m_foundStamp = 0;
    }
    TFindStyle FindStyle() const { return m_findStyle; }
    void SetFindStyle(TFindStyle style) { m_findStyle = style; }
    // Go back to the row current before the search, also when the value is found.
    bool ToBack() const { return m_toBack; }
    void SetToBack(bool on) { m_toBack = on; }

    // Walks from the start row (per FindStyle) to the first row whose field text equals value
    // (both upper-cased, accented letters included, unless caseSensitive). Found: true, on that
    // row (or back on the old row with ToBack). Not found: false, back on the start row.
    // False at once without data source, dataset, field name or field.
    bool Find(const QString& value, bool caseSensitive);
    // Rows whose field text equals value exactly; the current row does not change.
    int CountMatches(const QString& value);

private:
    // The dataset to search, nil when there is none to search; field, when given, gets its field.
    db::DataSet* searchedDataSet(db::Field** field = nullptr) const;

    db::DataSource* m_dataSource = nullptr;
    QString m_dataField;
    TFindStyle m_findStyle = FromCurrent;
    bool m_toBack = false;
    // The field last found by name, valid while its dataset's fieldsStamp is this one (0: none).
    mutable db::Field* m_found = nullptr;
    mutable quint64 m_foundStamp = 0;
};

// Posts the dataset when it is in edit or insert state.
void PostIfEditing(db::DataSet& dataSet);

// Gives the target's current row the next free ID of tableName from the counter table ID.DB
// (TABULKA A8, ID number): the counter row is created at 0 when missing, advanced by one and
// written at once, then the target's ID is set, posted and written. A target left without rows
// shows "Po přidání ID nejsou v tabulce "<name> žádné řádky."; otherwise it is put into edit
// state again. Errors of the data layer (a read-only table) reach the caller.
void AssignNextId(db::Table& counter, db::DataSet& target, const QString& tableName);
