// A Qt table model over any dataset: display formats, labels as headers, edits through the dataset.
#pragma once

#include "platform/db/DataSource.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <memory>
#include <vector>

namespace db {

// Shows the rows of a dataset (not owned) in a grid. Columns are the dataset's visible fields, or
// the fields named by setColumns(); headers are the fields' DisplayLabel; cells show DisplayText
// (DisplayFormat applied) and edit AsString. An edit moves the dataset to the row, puts it into
// edit state, assigns the text and posts; a failing edit shows the error through ui::services()
// and cancels. The model follows the dataset through a data source of its own.
class DataSetModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit DataSetModel(QObject* parent = nullptr);
    ~DataSetModel() override;

    void setDataSet(DataSet* dataSet);
    DataSet* dataSet() const;
    // Field names of the columns in order; empty: every visible field.
    void setColumns(const QStringList& fieldNames);
    // A read-only model refuses every edit; read-only fields refuse theirs.
    void setReadOnly(bool readOnly);
    bool isReadOnly() const { return m_readOnly; }
    void setColumnReadOnly(const QString& fieldName, bool readOnly);
    // The field of a column; null outside.
    Field* fieldOfColumn(int column) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

signals:
    // The dataset's current row changed (0-based; -1 when empty).
    void currentRowChanged(int row);

private:
    class Link;
    void rebuildColumns();
    void onDataEvent(DataEvent event, Field* field);

    DataSource m_source;
    std::unique_ptr<Link> m_link;
    QStringList m_columnNames;
    QStringList m_readOnlyColumns;
    std::vector<Field*> m_columns;
    bool m_readOnly = false;
    bool m_destroying = false;
    int m_rowCount = 0;
};

} // namespace db
