// The abstract dataset: cursor, states, fields, events, bookmarks and the links to data sources.
#include "platform/db/DataSet.h"

#include "platform/db/DataSource.h"
#include "platform/Exceptions.h"
#include "platform/text/Case.h"
#include "platform/ui/Services.h"

#include <QVarLengthArray>

#include <algorithm>
#include <atomic>

namespace db {

namespace {

// Closing in a destructor may fail to write pending changes (a table's rows are written at
// close); nobody can catch that there, so the user is told instead of losing them silently.
void reportLostChanges(const QString& reason) noexcept
{
    try {
        ui::services().messageBox(reason, QString(), ui::MsgType::Error, ui::Ok);
    } catch (...) {
        // The message box itself failed: nothing is left to tell.
    }
}

// Stamps of views and field layouts: one counter, so no value repeats anywhere.
quint64 newStamp()
{
    static std::atomic<quint64> lastStamp{0};
    return ++lastStamp;
}

} // namespace

void KeyBuffer::reset(int fieldCount)
{
    // Only assigned fields hold a value: clearing those alone keeps a range set per storey cheap.
    if (values.size() != size_t(fieldCount) || assigned.size() != size_t(fieldCount)) {
        values.assign(size_t(fieldCount), QVariant());
        assigned.assign(size_t(fieldCount), 0);
        return;
    }
    for (size_t i = 0; i < assigned.size(); ++i) {
        if (assigned[i] != 0) {
            values[i] = QVariant();
            assigned[i] = 0;
        }
    }
}

DataSet::DataSet() = default;

DataSet::~DataSet()
{
    const std::vector<DataSource*> sources = m_sources;
    for (DataSource* source : sources)
        source->dataSetDestroyed();
}

void DataSet::closeForDestruction() noexcept
{
    if (!Active())
        return;
    m_disableCount = 1;   // nobody is told any more
    m_buffer.clear();
    m_keyBuffer = nullptr;
    try {
        closeSource();
    } catch (const Exception& e) {
        reportLostChanges(e.message());
    } catch (...) {
        reportLostChanges(QString());
    }
    m_view.clear();
    m_pos = -1;
    m_state = DataSetState::dsInactive;
}

// --- opening ---------------------------------------------------------------------------------

void DataSet::Open()
{
    if (Active())
        return;
    call(BeforeOpen);
    std::vector<std::unique_ptr<Field>> previous = std::move(m_fields);
    m_fields.clear();
    // Earlier fields are offered to addField() for reuse through m_fields' old contents.
    m_previousFields = std::move(previous);
    m_fieldsStamp = newStamp();
    try {
        openSource();
    } catch (...) {
        m_fieldsStamp = newStamp();
        m_fields.clear();
        for (auto& f : m_previousFields)
            if (f)
                m_fields.push_back(std::move(f));
        m_previousFields.clear();
        throw;
    }
    m_previousFields.clear();
    m_state = DataSetState::dsBrowse;
    fillView();
    m_pos = m_view.empty() ? -1 : 0;
    m_bof = true;
    m_eof = m_view.empty();
    m_modified = false;
    notify(DataEvent::StateChange);
    notify(DataEvent::DataSetChange);
    call(AfterOpen);
}

void DataSet::addField(const FieldDef& def)
{
    const int index = int(m_fields.size());
    for (auto& old : m_previousFields) {
        if (old && txt::sameTextLetters(old->FieldName(), def.Name)) {
            old->m_index = index;
            old->m_def = def;
            m_fields.push_back(std::move(old));
            return;
        }
    }
    m_fields.push_back(std::make_unique<Field>(*this, index, def));
}

void DataSet::Close()
{
    if (!Active())
        return;
    call(BeforeClose);
    // Pending edits are dropped, as in the class library (callers post before closing).
    m_buffer.clear();
    m_modified = false;
    m_editRecord = -1;
    m_keyBuffer = nullptr;
    if (m_state != DataSetState::dsBrowse)
        m_state = DataSetState::dsBrowse;
    closeSource();
    m_view.clear();
    m_pos = -1;
    m_bof = m_eof = true;
    m_state = DataSetState::dsInactive;
    notify(DataEvent::StateChange);
    notify(DataEvent::DataSetChange);
    call(AfterClose);
}

void DataSet::checkActive() const
{
    if (!Active())
        throw EDatabaseError(QStringLiteral("Nelze provést tuto operaci na zavřené datové množině"));
}

void DataSet::setState(DataSetState state)
{
    if (m_state == state)
        return;
    m_state = state;
    notify(DataEvent::StateChange);
}

// --- cursor --------------------------------------------------------------------------------

void DataSet::First()
{
    checkActive();
    CheckBrowseMode();
    call(BeforeScroll);
    m_pos = m_view.empty() ? -1 : 0;
    m_bof = true;
    m_eof = m_view.empty();
    notify(DataEvent::DataSetScroll);
    call(AfterScroll);
}

void DataSet::Last()
{
    checkActive();
    CheckBrowseMode();
    call(BeforeScroll);
    m_pos = int(m_view.size()) - 1;
    m_bof = m_view.empty();
    m_eof = true;
    notify(DataEvent::DataSetScroll);
    call(AfterScroll);
}

void DataSet::Next()
{
    MoveBy(1);
}

void DataSet::Prior()
{
    MoveBy(-1);
}

int DataSet::MoveBy(int distance)
{
    checkActive();
    CheckBrowseMode();
    if (distance == 0 || (distance > 0 && m_eof) || (distance < 0 && m_bof))
        return 0;
    call(BeforeScroll);
    m_bof = m_eof = false;
    const int count = int(m_view.size());
    int target = m_pos + distance;
    if (target >= count) {
        target = count - 1;
        m_eof = true;
    }
    if (target < 0) {
        target = count > 0 ? 0 : -1;
        m_bof = true;
        if (count == 0)
            m_eof = true;
    }
    const int moved = target - m_pos;
    m_pos = target;
    if (moved != 0)
        notify(DataEvent::DataSetScroll);
    call(AfterScroll);
    return moved;
}

void DataSet::moveToRow(int row)
{
    checkActive();
    CheckBrowseMode();
    call(BeforeScroll);
    m_pos = std::clamp(row, m_view.empty() ? -1 : 0, int(m_view.size()) - 1);
    m_bof = m_view.empty();
    m_eof = m_view.empty();
    notify(DataEvent::DataSetScroll);
    call(AfterScroll);
}

int DataSet::RecordCount() const
{
    checkActive();
    return int(m_view.size());
}

bool DataSet::IsEmpty() const
{
    return m_view.empty() && m_state != DataSetState::dsInsert;
}

int DataSet::RecNo() const
{
    if (!Active() || m_state == DataSetState::dsInsert || m_pos < 0)
        return 0;
    return m_pos + 1;
}

void DataSet::SetRecNo(int recNo)
{
    checkActive();
    if (m_view.empty())
        return;
    moveToRow(std::clamp(recNo, 1, int(m_view.size())) - 1);
}

int DataSet::currentRecord() const
{
    if (!Active() || m_state == DataSetState::dsInsert || m_pos < 0)
        return -1;
    return m_view[size_t(m_pos)];
}

Bookmark DataSet::GetBookmark() const
{
    return Bookmark{currentRecord()};
}

bool DataSet::BookmarkValid(const Bookmark& bookmark) const
{
    return Active() && !bookmark.isNull()
        && m_view.indexOf(bookmark.record) >= 0;
}

void DataSet::GotoBookmark(const Bookmark& bookmark)
{
    checkActive();
    CheckBrowseMode();
    const int row = bookmark.isNull() ? -1 : m_view.indexOf(bookmark.record);
    if (row < 0)
        throw EDatabaseError(QStringLiteral("Záznam nebyl nalezen"));
    call(BeforeScroll);
    m_pos = row;
    m_bof = m_eof = false;
    notify(DataEvent::DataSetScroll);
    call(AfterScroll);
}

void DataSet::DisableControls()
{
    ++m_disableCount;
}

void DataSet::EnableControls()
{
    if (m_disableCount == 0)
        return;
    if (--m_disableCount == 0 && m_heldEvents) {
        m_heldEvents = false;
        notify(DataEvent::DataSetChange);
    }
}

void DataSet::notify(DataEvent event, Field* field)
{
    if (m_disableCount > 0) {
        m_heldEvents = true;
        return;
    }
    dispatchToSources(event, field);
}

void DataSet::dispatchToSources(DataEvent event, Field* field)
{
    if (m_sources.empty())
        return;
    // A source may detach another while it handles the event: each is checked before its turn.
    const QVarLengthArray<DataSource*, 8> sources(m_sources.begin(), m_sources.end());
    for (DataSource* source : sources) {
        if (std::find(m_sources.begin(), m_sources.end(), source) != m_sources.end())
            source->dispatch(event, field);
    }
}

void DataSet::attachSource(DataSource* source)
{
    if (std::find(m_sources.begin(), m_sources.end(), source) == m_sources.end())
        m_sources.push_back(source);
}

void DataSet::detachSource(DataSource* source)
{
    m_sources.erase(std::remove(m_sources.begin(), m_sources.end(), source), m_sources.end());
}

// --- editing ---------------------------------------------------------------------------------

void DataSet::SetReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
}

void DataSet::startRecordBuffer(bool insert)
{
    if (insert) {
        m_buffer.clear();
        m_buffer.resize(m_fields.size());
        initNewRecord(m_buffer);
        m_editRecord = -1;
        m_insertReturnRow = m_pos;
    } else {
        m_buffer = currentValues();
        m_editRecord = currentRecord();
    }
    m_modified = false;
}

void DataSet::endRecordBuffer()
{
    m_buffer.clear();
    m_modified = false;
    m_editRecord = -1;
}

void DataSet::Edit()
{
    checkActive();
    if (isEditing(m_state))
        return;
    if (m_state == DataSetState::dsSetKey)
        leaveSetKey();
    if (m_view.empty()) {
        Insert();
        return;
    }
    if (!CanModify())
        throw EDatabaseError(QStringLiteral("Nelze upravovat datovou množinu jen pro čtení"));
    call(BeforeEdit);
    startRecordBuffer(false);
    setState(DataSetState::dsEdit);
    notify(DataEvent::RecordChange);
    call(AfterEdit);
}

void DataSet::Insert()
{
    checkActive();
    CheckBrowseMode();
    if (!CanModify())
        throw EDatabaseError(QStringLiteral("Nelze upravovat datovou množinu jen pro čtení"));
    call(BeforeInsert);
    startRecordBuffer(true);
    setState(DataSetState::dsInsert);
    call(OnNewRecord);
    notify(DataEvent::RecordChange);
    call(AfterInsert);
}

void DataSet::Append()
{
    Insert();
}

void DataSet::Post()
{
    checkActive();
    if (m_state == DataSetState::dsSetKey) {
        leaveSetKey();
        return;
    }
    if (!isEditing(m_state))
        return;
    UpdateRecord();
    call(BeforePost);
    if (!isEditing(m_state))   // the handler posted or cancelled the record itself
        return;
    const bool inserted = m_state == DataSetState::dsInsert;
    const int record = writeRecord(m_editRecord, m_buffer);
    const int oldRow = !inserted && m_pos >= 0 && m_view[size_t(m_pos)] == record ? m_pos : -1;
    endRecordBuffer();
    recordWritten(record);
    m_state = DataSetState::dsBrowse;
    notify(DataEvent::StateChange);
    renewViewStamp();
    if (oldRow >= 0)
        m_view.erase(size_t(oldRow));
    const int row = inserted || oldRow >= 0 ? viewRowAfterWrite(record, oldRow) : -1;
    if (row >= 0 && row <= int(m_view.size())) {
        m_view.insert(size_t(row), record);
        m_pos = row;
        m_bof = m_eof = false;
        notify(DataEvent::DataSetChange);
    } else {
        rebuildView(record);
    }
    call(AfterPost);
}

void DataSet::Cancel()
{
    if (m_state == DataSetState::dsSetKey) {
        leaveSetKey();
        return;
    }
    if (!isEditing(m_state))
        return;
    call(BeforeCancel);
    const bool wasInsert = m_state == DataSetState::dsInsert;
    endRecordBuffer();
    if (wasInsert)
        m_pos = std::min(m_insertReturnRow, int(m_view.size()) - 1);
    setState(DataSetState::dsBrowse);
    notify(DataEvent::RecordChange);
    call(AfterCancel);
}

void DataSet::Delete()
{
    checkActive();
    if (m_state == DataSetState::dsInsert) {
        Cancel();
        return;
    }
    if (m_view.empty())
        throw EDatabaseError(QStringLiteral("Nelze provést tuto operaci na prázdné datové množině"));
    if (!CanModify())
        throw EDatabaseError(QStringLiteral("Nelze upravovat datovou množinu jen pro čtení"));
    call(BeforeDelete);
    if (m_view.empty() || m_pos < 0)
        return;
    const int record = m_view[size_t(m_pos)];
    removeRecord(record);
    endRecordBuffer();
    m_view.erase(size_t(m_pos));
    renewViewStamp();
    m_pos = std::min(m_pos, int(m_view.size()) - 1);
    m_bof = m_view.empty();
    m_eof = m_view.empty();
    setState(DataSetState::dsBrowse);
    notify(DataEvent::DataSetChange);
    call(AfterDelete);
}

void DataSet::Refresh()
{
    checkActive();
    CheckBrowseMode();
    const int record = currentRecord();
    refreshSource();
    rebuildView(record);
}

void DataSet::CheckBrowseMode()
{
    if (m_state == DataSetState::dsSetKey)
        leaveSetKey();
    else if (isEditing(m_state)) {
        UpdateRecord();
        m_modified ? Post() : Cancel();
    }
}

void DataSet::UpdateRecord()
{
    if (isEditing(m_state))
        dispatchToSources(DataEvent::UpdateRecord, nullptr);
}

void DataSet::renewViewStamp()
{
    m_viewStamp = newStamp();
}

void DataSet::fillView()
{
    m_viewRows.clear();
    buildView(m_viewRows);
    m_view = m_viewRows;
    renewViewStamp();
}

void DataSet::rebuildView(int record)
{
    fillView();
    const int row = record < 0 ? -1 : m_view.indexOf(record);
    if (row >= 0) {
        m_pos = row;
        m_bof = m_eof = false;
    } else {
        m_pos = m_view.empty() ? -1 : 0;
        m_bof = true;
        m_eof = m_view.empty();
    }
    notify(DataEvent::DataSetChange);
}

void DataSet::enterSetKey(KeyBuffer& buffer)
{
    checkActive();
    CheckBrowseMode();
    if (int(buffer.values.size()) != FieldCount())
        buffer.reset(FieldCount());
    m_keyBuffer = &buffer;
    setState(DataSetState::dsSetKey);
}

void DataSet::leaveSetKey()
{
    m_keyBuffer = nullptr;
    if (m_state == DataSetState::dsSetKey)
        setState(DataSetState::dsBrowse);
}

// --- fields ---------------------------------------------------------------------------------

Field& DataSet::Fields(int index) const
{
    if (index < 0 || index >= FieldCount())
        throw EListError(QStringLiteral("Index seznamu je mimo meze (%1)").arg(index));
    return *m_fields[size_t(index)];
}

Field* DataSet::FindField(const QString& name) const
{
    for (const auto& f : m_fields) {
        if (txt::sameTextLetters(f->FieldName(), name))
            return f.get();
    }
    return nullptr;
}

Field& DataSet::FieldByName(const QString& name) const
{
    Field* f = FindField(name);
    if (!f)
        throw EDatabaseError(QStringLiteral("Pole '%1' nebylo nalezeno").arg(name));
    return *f;
}

QStringList DataSet::fieldNames() const
{
    QStringList names;
    for (const auto& f : m_fields)
        names.append(f->FieldName());
    return names;
}

QVariant DataSet::fieldValue(int index) const
{
    if (m_state == DataSetState::dsSetKey && m_keyBuffer)
        return m_keyBuffer->values[size_t(index)];
    if (isEditing(m_state))
        return m_buffer[size_t(index)];
    if (!Active() || m_pos < 0)
        return QVariant();
    return sourceValue(m_view[size_t(m_pos)], index);
}

bool DataSet::fieldNumber(int index, double& value, bool& isNull) const
{
    if (m_state != DataSetState::dsBrowse)
        return false;
    if (m_pos < 0) {
        value = 0;
        isNull = true;
        return true;
    }
    return sourceNumber(m_view[size_t(m_pos)], index, value, isNull);
}

bool DataSet::fieldText(int index, QString& text) const
{
    if (m_state != DataSetState::dsBrowse)
        return false;
    if (m_pos < 0) {
        text = QString();
        return true;
    }
    return sourceText(m_view[size_t(m_pos)], index, text);
}

void DataSet::setFieldValue(int index, QVariant value)
{
    Field& field = *m_fields[size_t(index)];
    if (m_state == DataSetState::dsSetKey && m_keyBuffer) {
        m_keyBuffer->values[size_t(index)] = std::move(value);
        m_keyBuffer->assigned[size_t(index)] = 1;
        return;
    }
    if (!isEditing(m_state))
        throw EDatabaseError(QStringLiteral("Datová množina není v režimu editace ani vkládání"));
    if (field.ReadOnly())
        throw EDatabaseError(QStringLiteral("Pole '%1' nelze upravovat").arg(field.FieldName()));
    m_buffer[size_t(index)].swap(value);   // the old value goes with the argument
    m_modified = true;
    if (field.OnChange)
        field.OnChange(field);
    notify(DataEvent::FieldChange, &field);
}

QVariant DataSet::rowValue(int row, int field) const
{
    if (!Active() || row < 0 || row >= int(m_view.size()) || field < 0 || field >= FieldCount())
        return QVariant();
    if (m_state == DataSetState::dsEdit && row == m_pos)
        return m_buffer[size_t(field)];
    return sourceValue(m_view[size_t(row)], field);
}

std::vector<QVariant> DataSet::currentValues() const
{
    std::vector<QVariant> values(m_fields.size());
    if (isEditing(m_state))
        return m_buffer;
    if (Active() && m_pos >= 0) {
        for (size_t i = 0; i < values.size(); ++i)
            values[i] = sourceValue(m_view[size_t(m_pos)], int(i));
    }
    return values;
}

// --- default hooks ---------------------------------------------------------------------------

bool DataSet::sourceNumber(int, int, double&, bool&) const
{
    return false;
}

bool DataSet::sourceText(int, int, QString&) const
{
    return false;
}

bool DataSet::sourceRecordDeleted(int) const
{
    return false;
}

int DataSet::writeRecord(int, const std::vector<QVariant>&)
{
    throw EDatabaseError(QStringLiteral("Nelze upravovat datovou množinu jen pro čtení"));
}

void DataSet::removeRecord(int)
{
    throw EDatabaseError(QStringLiteral("Nelze upravovat datovou množinu jen pro čtení"));
}

void DataSet::initNewRecord(std::vector<QVariant>&) {}

void DataSet::refreshSource() {}

void DataSet::recordWritten(int) {}

int DataSet::viewRowAfterWrite(int, int)
{
    return -1;
}

void DataSet::buildView(std::vector<int>& rows) const
{
    const int count = sourceRecordCount();
    rows.reserve(size_t(count));
    for (int r = 0; r < count; ++r) {
        if (!sourceRecordDeleted(r))
            rows.push_back(r);
    }
}

} // namespace db
