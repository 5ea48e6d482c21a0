// The abstract dataset: cursor, states, fields, events, bookmarks and the links to data sources.
#pragma once

#include "platform/db/Field.h"
#include "platform/db/RowList.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace db {

class DataSource;

// The class library's dataset states (numbers as there).
enum class DataSetState : int { dsInactive = 0, dsBrowse = 1, dsEdit = 2, dsInsert = 3, dsSetKey = 4 };

// Edit and insert: the current record is being changed.
inline bool isEditing(DataSetState s) { return s == DataSetState::dsEdit || s == DataSetState::dsInsert; }

// What a dataset tells its data sources.
enum class DataEvent {
    FieldChange,     // one field of the current record changed (field given)
    RecordChange,    // the current record was rewritten as a whole (post, cancel)
    DataSetChange,   // rows or their order changed: open, close, refresh, range, link, delete, insert
    DataSetScroll,   // the cursor moved to another row
    StateChange,     // State() changed
    UpdateRecord,    // the record is about to be stored or left: controls write what they hold
};

// A position that survives reordering and filtering: it names the stored record, not the row
// number. Invalid after the record is deleted or the dataset is closed and reopened on other data.
struct Bookmark {
    int record = -1;
    bool isNull() const { return record < 0; }
};

// Identifies the rows a dataset shows: equal stamps of one dataset mean the same rows with the
// same values in the same order (see DataSet::rowsStamp).
struct RowsStamp {
    quint64 view = 0;     // unique per state of the view
    quint64 source = 0;   // the source's version of its rows
    bool operator==(const RowsStamp&) const = default;
};

// Values of the key fields that SetKey/SetRangeStart/SetRangeEnd collect (set-key state).
struct KeyBuffer {
    std::vector<QVariant> values;   // by field index; invalid wherever not assigned
    std::vector<uint8_t> assigned;  // by field index: whether assigned (bytes: reset scans them per range)
    void reset(int fieldCount);
};

// A dataset as the class library had it. Rows come from a subclass (a Paradox table, an SQL
// result) that supplies a record count, the value of one field of one record, and write-back
// hooks; the dataset keeps the cursor, the row view (which records, in which order), the record
// buffer of edit and insert, the events and the data sources attached to it.
//
// Cursor rules: First gives Bof (and Eof too on an empty set); Next on the last row leaves that
// row current and sets Eof; Prior on the first row sets Bof; Last sets Eof; any successful move
// clears both flags first. Moving while in edit or insert state posts a modified record first
// (cancels an unmodified one). Edit on an empty set inserts. RecordCount counts posted rows only.
// Close drops a pending edit (callers post first), as the class library did.
//
// Notifications to data sources are held back while controls are disabled (DisableControls
// nests); EnableControls at the outermost level sends one DataSetChange when anything was held.
// Master-detail links are data sources too, so a detail does not follow its master while the
// master's controls are disabled, as in the class library.
class DataSet
{
public:
    using NotifyEvent = std::function<void(DataSet&)>;

    DataSet();
    virtual ~DataSet();
    DataSet(const DataSet&) = delete;
    DataSet& operator=(const DataSet&) = delete;

    // Component name (used in messages of the callers).
    const QString& Name() const { return m_name; }
    void SetName(const QString& name) { m_name = name; }

    // --- opening ---------------------------------------------------------------------------
    void Open();
    void Close();
    bool Active() const { return m_state != DataSetState::dsInactive; }
    void SetActive(bool active) { active ? Open() : Close(); }
    DataSetState State() const { return m_state; }

    // --- cursor -----------------------------------------------------------------------------
    void First();
    void Last();
    void Next();
    void Prior();
    // Moves by distance rows (clamped); answers the rows actually moved (negative backwards).
    int MoveBy(int distance);
    bool Bof() const { return m_bof; }
    bool Eof() const { return m_eof; }
    int RecordCount() const;
    // No posted rows and not inserting one; true for a closed dataset too.
    bool IsEmpty() const;
    // 1-based number of the current row in the view; 0 on an empty set or while inserting.
    int RecNo() const;
    void SetRecNo(int recNo);

    // Changes whenever the rows shown could have changed: the view rebuilt (open, refresh, order,
    // range, master move), a row posted or deleted, or the source's rows changed by someone else.
    // Never repeats a value of another dataset or an earlier opening.
    RowsStamp rowsStamp() const { return RowsStamp{m_viewStamp, sourceVersion()}; }

    Bookmark GetBookmark() const;
    // Raises EDatabaseError "Záznam nebyl nalezen" when the record is not in the view.
    void GotoBookmark(const Bookmark& bookmark);
    bool BookmarkValid(const Bookmark& bookmark) const;
    void FreeBookmark(Bookmark& bookmark) { bookmark = Bookmark(); }

    void DisableControls();
    void EnableControls();
    bool ControlsDisabled() const { return m_disableCount > 0; }

    // --- editing ------------------------------------------------------------------------------
    void Edit();
    void Insert();
    void Append();
    // Writes the record buffer through the subclass; outside edit and insert it does nothing.
    void Post();
    void Cancel();
    void Delete();
    // Rereads the rows, keeping the current record when it still exists.
    void Refresh();
    // Posts a modified record, cancels an unmodified one; nothing in browse state. Both start
    // with UpdateRecord.
    void CheckBrowseMode();
    // In edit and insert state asks the controls to write their pending text into the record
    // buffer (Post does so first); raises what a control raises (a text that does not convert),
    // leaving the record unstored. Heard also while controls are disabled.
    void UpdateRecord();
    bool Modified() const { return m_modified; }
    bool CanModify() const { return Active() && !m_readOnly && sourceCanModify(); }
    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool readOnly);

    // --- fields -----------------------------------------------------------------------------
    int FieldCount() const { return int(m_fields.size()); }
    Field& Fields(int index) const;
    // Names match ignoring the case of every letter ("Währung", "ČÍSLO"); null when there is none.
    Field* FindField(const QString& name) const;
    // As FindField; raises EDatabaseError "Pole 'X' nebylo nalezeno".
    Field& FieldByName(const QString& name) const;
    QStringList fieldNames() const;
    // Changes whenever the columns are declared anew (every opening, a failed one included);
    // never repeats a value of another dataset. Equal stamps: the same Field objects at the
    // same indexes with the same names and types, so a caller may keep its fields meanwhile.
    quint64 fieldsStamp() const { return m_fieldsStamp; }
    // Definitions given before opening: what CreateTable builds and what a table must contain.
    // Opening does not change them; the open dataset's columns are Fields().
    db::FieldDefs& FieldDefs() { return m_fieldDefs; }
    const db::FieldDefs& FieldDefs() const { return m_fieldDefs; }

    // --- rows without moving the cursor (grids) ----------------------------------------------
    // Value of a field in the row at 0-based position row of the view; the record buffer for the
    // current row in edit state.
    QVariant rowValue(int row, int field) const;
    // 0-based position of the current row; -1 on an empty set.
    int currentRow() const { return m_pos; }

    // --- events (the class library's names; each gets the dataset) -----------------------------
    NotifyEvent BeforeOpen, AfterOpen, BeforeClose, AfterClose;
    NotifyEvent BeforeInsert, AfterInsert, OnNewRecord;
    NotifyEvent BeforeEdit, AfterEdit;
    NotifyEvent BeforePost, AfterPost;
    NotifyEvent BeforeCancel, AfterCancel;
    NotifyEvent BeforeDelete, AfterDelete;
    NotifyEvent BeforeScroll, AfterScroll;

protected:
    // --- what a subclass supplies -------------------------------------------------------------
    // Makes the records available and declares the columns with addField(), in order. Raise
    // EDatabaseError on failure; the dataset then stays closed.
    virtual void openSource() = 0;
    // Releases the records. It may raise (pending changes that cannot be written); the dataset
    // then stays open.
    virtual void closeSource() = 0;
    // Record ids run 0 .. sourceRecordCount() - 1 and stay stable while the dataset is open.
    virtual int sourceRecordCount() const = 0;
    // Canonical value (see Field.h) of one field of one record; invalid QVariant for NULL.
    virtual QVariant sourceValue(int record, int field) const = 0;
    // The value of a number field (integer, float, date, logical) of one record as a double, for
    // reads that need no QVariant: what sourceValue gives, converted. False when the source has
    // no such shortcut for the field (the default).
    virtual bool sourceNumber(int record, int field, double& value, bool& isNull) const;
    // The value of a fixed-width text field of one record as Field::AsString gives it (trailing
    // blanks dropped, a null QString for NULL), without a QVariant. False when the source has no
    // such shortcut for the field (the default).
    virtual bool sourceText(int record, int field, QString& text) const;
    // A deleted record keeps its id but leaves the view.
    virtual bool sourceRecordDeleted(int record) const;
    virtual bool sourceCanModify() const { return false; }
    // Stores a record buffer: record -1 inserts and answers the new record id, otherwise updates
    // that record and answers it. Raises EDatabaseError (a key violation, a read-only source).
    virtual int writeRecord(int record, const std::vector<QVariant>& values);
    virtual void removeRecord(int record);
    // Fills default values of a new record (auto-increment and the like).
    virtual void initNewRecord(std::vector<QVariant>& values);
    // Rereads the source for Refresh; the default does nothing.
    virtual void refreshSource();
    // Grows whenever the source's rows change; the default never changes.
    virtual quint64 sourceVersion() const { return 0; }
    // Appends the records to show, in order, to `rows` (given empty). The default: every record
    // that is not deleted, by id.
    virtual void buildView(std::vector<int>& rows) const;
    // Called after a record was inserted or updated, before the view is rebuilt.
    virtual void recordWritten(int record);
    // Where a written record goes in the view, so that Post need not rebuild it: the row (0 ..
    // view size) at which it is inserted into view(), which no longer holds it; `oldRow` is its
    // row before the write, -1 for an inserted record. -1 rebuilds the view (the default).
    virtual int viewRowAfterWrite(int record, int oldRow);

    // --- services for subclasses --------------------------------------------------------------
    // Subclass destructors call this: closes without events or notifications and swallows errors
    // of closeSource() (the base destructor cannot reach the subclass any more).
    void closeForDestruction() noexcept;
    // Declares the next column while openSource() runs. A field of the same name from an earlier
    // opening is kept with its settings (display format, label, OnChange), as persistent fields
    // were; fields that the new source lacks are dropped.
    void addField(const FieldDef& def);
    // Rebuilds the view (buildView) and goes to the given record, or to the first row when it
    // is not in the view (record -1: the first row). Sends DataSetChange.
    void rebuildView(int record);
    const RowList& view() const { return m_view; }
    // Record id of the current row; -1 on an empty set or while inserting.
    int currentRecord() const;
    void notify(DataEvent event, Field* field = nullptr);
    // Every attached data source hears the event now, held back or not.
    void dispatchToSources(DataEvent event, Field* field);
    // Enters set-key state writing into the given buffer (owned by the subclass).
    void enterSetKey(KeyBuffer& buffer);
    // Leaves set-key state for browse.
    void leaveSetKey();
    // Moves to a row of the view (0-based), with the scroll events, clearing Bof and Eof.
    void moveToRow(int row);
    void checkActive() const;
    // The values of the current record: the record buffer, or the stored row.
    std::vector<QVariant> currentValues() const;

    friend class DataSource;
    friend class Field;

private:
    QVariant fieldValue(int index) const;
    // fieldValue() of a number field as a double, in browse state only; false otherwise.
    bool fieldNumber(int index, double& value, bool& isNull) const;
    // As fieldNumber, for a text field (sourceText).
    bool fieldText(int index, QString& text) const;
    void setFieldValue(int index, QVariant value);
    void setState(DataSetState state);
    void startRecordBuffer(bool insert);
    void endRecordBuffer();
    void fillView();
    void renewViewStamp();
    void attachSource(DataSource* source);
    void detachSource(DataSource* source);
    void call(const NotifyEvent& event) { if (event) event(*this); }

    QString m_name;
    DataSetState m_state = DataSetState::dsInactive;
    std::vector<std::unique_ptr<Field>> m_fields;
    std::vector<std::unique_ptr<Field>> m_previousFields;   // offered to addField() while opening
    db::FieldDefs m_fieldDefs;
    RowList m_view;                   // record ids in row order
    std::vector<int> m_viewRows;      // buildView's answer, kept for its capacity
    quint64 m_viewStamp = 0;          // see rowsStamp(); renewed with every change of m_view
    quint64 m_fieldsStamp = 0;        // see fieldsStamp()
    int m_pos = -1;                   // current row in m_view; -1 when empty
    bool m_bof = true;
    bool m_eof = true;
    bool m_readOnly = false;
    bool m_modified = false;
    std::vector<QVariant> m_buffer;   // record buffer of edit and insert
    int m_editRecord = -1;            // record being edited; -1 while inserting
    int m_insertReturnRow = -1;       // row to go back to when an insert is cancelled
    KeyBuffer* m_keyBuffer = nullptr; // set-key state target (not owned)
    int m_disableCount = 0;
    bool m_heldEvents = false;
    std::vector<DataSource*> m_sources;   // attached, not owned
};

} // namespace db
