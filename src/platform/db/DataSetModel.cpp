// A Qt table model over any dataset: display formats, labels as headers, edits through the dataset.
#include "platform/db/DataSetModel.h"

#include "platform/Exceptions.h"
#include "platform/text/Case.h"
#include "platform/ui/Services.h"

namespace db {

class DataSetModel::Link : public DataLink
{
public:
    explicit Link(DataSetModel& model) : m_model(model) {}

protected:
    void dataEvent(DataEvent event, Field* field) override { m_model.onDataEvent(event, field); }

private:
    DataSetModel& m_model;
};

DataSetModel::DataSetModel(QObject* parent)
    : QAbstractTableModel(parent), m_link(std::make_unique<Link>(*this))
{
    m_link->setDataSource(&m_source);
}

DataSetModel::~DataSetModel()
{
    m_destroying = true;
    m_link->setDataSource(nullptr);
}

void DataSetModel::setDataSet(DataSet* dataSet)
{
    m_source.SetDataSet(dataSet);
}

DataSet* DataSetModel::dataSet() const
{
    return m_source.dataSet();
}

void DataSetModel::setColumns(const QStringList& fieldNames)
{
    m_columnNames = fieldNames;
    onDataEvent(DataEvent::DataSetChange, nullptr);
}

void DataSetModel::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    if (m_rowCount > 0 && !m_columns.empty())
        emit dataChanged(index(0, 0), index(m_rowCount - 1, int(m_columns.size()) - 1));
}

void DataSetModel::setColumnReadOnly(const QString& fieldName, bool readOnly)
{
    m_readOnlyColumns.removeIf([&](const QString& n) { return txt::sameTextLetters(n, fieldName); });
    if (readOnly)
        m_readOnlyColumns.append(fieldName);
}

Field* DataSetModel::fieldOfColumn(int column) const
{
    return column >= 0 && column < int(m_columns.size()) ? m_columns[size_t(column)] : nullptr;
}

void DataSetModel::rebuildColumns()
{
    m_columns.clear();
    DataSet* ds = dataSet();
    m_rowCount = ds && ds->Active() ? ds->RecordCount() : 0;
    if (!ds)
        return;
    if (m_columnNames.isEmpty()) {
        for (int i = 0; i < ds->FieldCount(); ++i) {
            if (ds->Fields(i).Visible())
                m_columns.push_back(&ds->Fields(i));
        }
        return;
    }
    for (const QString& name : m_columnNames) {
        if (Field* f = ds->FindField(name))
            m_columns.push_back(f);
    }
}

void DataSetModel::onDataEvent(DataEvent event, Field* field)
{
    if (m_destroying)
        return;
    DataSet* ds = dataSet();
    switch (event) {
    case DataEvent::DataSetChange:
        beginResetModel();
        rebuildColumns();
        endResetModel();
        emit currentRowChanged(ds && ds->Active() ? ds->currentRow() : -1);
        break;
    case DataEvent::DataSetScroll:
        emit currentRowChanged(ds ? ds->currentRow() : -1);
        break;
    case DataEvent::FieldChange:
    case DataEvent::RecordChange: {
        const int row = ds ? ds->currentRow() : -1;
        if (row >= 0 && row < m_rowCount && !m_columns.empty())
            emit dataChanged(index(row, 0), index(row, int(m_columns.size()) - 1));
        break;
    }
    case DataEvent::StateChange:
    case DataEvent::UpdateRecord:
        break;
    }
    Q_UNUSED(field);
}

int DataSetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rowCount;
}

int DataSetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant DataSetModel::data(const QModelIndex& index, int role) const
{
    Field* f = fieldOfColumn(index.column());
    DataSet* ds = dataSet();
    if (!f || !ds || index.row() < 0 || index.row() >= m_rowCount)
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
        return f->displayTextOf(ds->rowValue(index.row(), f->Index()));
    case Qt::EditRole:
        return f->asStringOf(ds->rowValue(index.row(), f->Index()));
    case Qt::TextAlignmentRole:
        switch (f->Alignment()) {
        case Align::taRightJustify: return int(Qt::AlignRight | Qt::AlignVCenter);
        case Align::taCenter: return int(Qt::AlignCenter);
        case Align::taLeftJustify: return int(Qt::AlignLeft | Qt::AlignVCenter);
        }
        return QVariant();
    default:
        return QVariant();
    }
}

QVariant DataSetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Vertical)
        return section + 1;
    const Field* f = fieldOfColumn(section);
    return f ? QVariant(f->DisplayLabel()) : QVariant();
}

Qt::ItemFlags DataSetModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    const Field* f = fieldOfColumn(index.column());
    const DataSet* ds = dataSet();
    const bool editable = f && ds && !m_readOnly && !f->ReadOnly() && ds->CanModify()
        && std::none_of(m_readOnlyColumns.begin(), m_readOnlyColumns.end(),
                        [&](const QString& n) { return txt::sameTextLetters(n, f->FieldName()); });
    if (editable)
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool DataSetModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    DataSet* ds = dataSet();
    const QString fieldName = fieldOfColumn(index.column())->FieldName();
    try {
        if (ds->currentRow() != index.row())
            ds->SetRecNo(index.row() + 1);
        ds->Edit();
        ds->FieldByName(fieldName).AsString(value.toString());
        ds->Post();
        return true;
    } catch (const Exception& e) {
        ds->Cancel();
        ui::services().messageBox(e.message(), QString(), ui::MsgType::Error, ui::Ok);
        return false;
    }
}

} // namespace db
