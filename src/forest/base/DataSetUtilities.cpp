// Dataset utilities: emptiness, rounding to hundredths, sequential find, counters of new IDs.
#include "forest/base/DataSetUtilities.h"

#include "platform/db/DataSource.h"
#include "platform/db/Table.h"
#include "platform/text/Case.h"
#include "platform/text/Numbers.h"
#include "platform/ui/Services.h"

#include <cmath>

namespace {

// Disables the dataset's controls for a scope.
class ControlsDisabled
{
public:
    explicit ControlsDisabled(db::DataSet& dataSet) : m_dataSet(dataSet) { m_dataSet.DisableControls(); }
    ~ControlsDisabled() { m_dataSet.EnableControls(); }
    ControlsDisabled(const ControlsDisabled&) = delete;
    ControlsDisabled& operator=(const ControlsDisabled&) = delete;

private:
    db::DataSet& m_dataSet;
};

// Goes back to a remembered row when it still exists.
void returnTo(db::DataSet& dataSet, const db::Bookmark& row)
{
    if (!row.isNull() && dataSet.BookmarkValid(row))
        dataSet.GotoBookmark(row);
}

} // namespace

bool DataSetIsEmpty(const db::DataSet* dataSet)
{
    return !dataSet || !dataSet->Active() || dataSet->RecordCount() == 0;
}

double RoundTo2(double x)
{
    return static_cast<double>(txt::roundHalfEven64(x * 100)) / 100;
}

// --- TKSekvenFind ---------------------------------------------------------------------------

db::DataSet* TKSekvenFind::searchedDataSet(db::Field** field) const
{
    if (!m_dataSource || m_dataField.isEmpty())
        return nullptr;
    db::DataSet* dataSet = m_dataSource->dataSet();
    if (!dataSet || !dataSet->Active())
        return nullptr;
    // A search by name compares every field ignoring case: the answer holds while the columns do.
    if (m_foundStamp != dataSet->fieldsStamp()) {
        m_found = dataSet->FindField(m_dataField);
        m_foundStamp = dataSet->fieldsStamp();
    }
    db::Field* found = m_found;
    if (!found)
        return nullptr;
    if (field)
        *field = found;
    return dataSet;
}

bool TKSekvenFind::Find(const QString& value, bool caseSensitive)
{
    db::Field* searched = nullptr;
    db::DataSet* dataSet = searchedDataSet(&searched);
    if (!dataSet)
        return false;
    db::Bookmark back;
    if (m_toBack)
        back = dataSet->GetBookmark();
    if (m_findStyle == FromTop)
        dataSet->First();
    else if (m_findStyle == FromNext && !dataSet->Bof())
        dataSet->Next();
    ControlsDisabled disabled(*dataSet);
    if (!m_toBack)
        back = dataSet->GetBookmark();
    // Moving through the rows keeps the dataset's fields.
    const db::Field& field = *searched;
    while (!dataSet->Eof()) {
        const QString text = field.AsString();
        if (caseSensitive ? text == value : txt::sameTextLetters(text, value)) {
            if (m_toBack)
                returnTo(*dataSet, back);
            return true;
        }
        dataSet->Next();
    }
    returnTo(*dataSet, back);
    return false;
}

int TKSekvenFind::CountMatches(const QString& value)
{
    db::DataSet* dataSet = searchedDataSet();
    if (!dataSet)
        return 0;
    const db::Bookmark back = dataSet->GetBookmark();
    dataSet->First();
    ControlsDisabled disabled(*dataSet);
    const db::Field& field = dataSet->FieldByName(m_dataField);
    int count = 0;
    while (!dataSet->Eof()) {
        if (field.AsString() == value)
            ++count;
        dataSet->Next();
    }
    returnTo(*dataSet, back);
    return count;
}

// --- counters of new IDs --------------------------------------------------------------------

void PostIfEditing(db::DataSet& dataSet)
{
    if (db::isEditing(dataSet.State()))
        dataSet.Post();
}

void AssignNextId(db::Table& counter, db::DataSet& target, const QString& tableName)
{
    if (!counter.Active())
        counter.Open();
    // The range works on the leading field of the current order.
    if (counter.IndexFieldCount() == 0 || !txt::sameTextAscii(counter.IndexFields(0).FieldName(), u"TABULKA"))
        counter.SetIndexFieldNames(QStringLiteral("TABULKA"));
    counter.SetRange({tableName}, {tableName});
    if (counter.IsEmpty()) {
        counter.Append();
        counter.FieldByName(QStringLiteral("TABULKA")).AsString(tableName);
        PostIfEditing(target);
        counter.FieldByName(QStringLiteral("ID")).AsInteger(0);
        counter.Post();
    }
    const qint32 next = txt::addChecked(counter.FieldByName(QStringLiteral("ID")).AsInteger(), 1);
    counter.Edit();
    counter.FieldByName(QStringLiteral("ID")).AsInteger(next);
    counter.Post();
    counter.FlushBuffers();

    if (target.State() != db::DataSetState::dsInsert)
        target.Edit();
    target.FieldByName(QStringLiteral("ID")).AsInteger(next);
    target.Post();
    if (auto* table = dynamic_cast<db::Table*>(&target))
        table->FlushBuffers();
    if (target.RecordCount() == 0)
        ui::services().showMessage(QStringLiteral("Po přidání ID nejsou v tabulce \"") + target.Name() +
                                   QStringLiteral(" žádné řádky."));
    else
        target.Edit();
}
