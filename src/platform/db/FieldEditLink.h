// The logic of an edit control bound to one field of a data source, apart from any widget.
#pragma once

#include "platform/db/DataSource.h"

#include <QString>

#include <memory>

namespace db {

// What the edit control's widget offers the link (ui::LineEditLink implements it over a
// QLineEdit; tests over a plain string).
class FieldEditView
{
public:
    virtual ~FieldEditView() = default;
    virtual QString text() const = 0;
    virtual void setText(const QString& text) = 0;
    virtual void setReadOnly(bool readOnly) = 0;
    virtual bool hasFocus() const = 0;
};

// Shows one field in a view and edits it through the dataset. The view shows the field's
// DisplayText while not focused and its AsString while focused. Typing puts the dataset into
// edit state; commit (Enter, leaving the control) writes the text into the record with
// AsString, and the dataset's UpdateRecord (before a post or a move) does so too, so a text
// still being typed is never lost; storing the record is the dataset's Post. A text that does
// not convert stops the post or move and stays in the view for correction; on commit it is
// reported and the view shows the field's value again. Cancel (Escape) cancels the record and shows the stored value again; the dataset
// cancelling, moving or being rewritten drops the typed text. The view is read-only when the
// field or the dataset cannot be modified, and while the dataset holds no row (unlike the class
// library's edit, typing never inserts a row). Neither the view nor the data source is owned;
// the view must outlive the link.
class FieldEditLink
{
public:
    FieldEditLink(FieldEditView& view, DataSource* source, const QString& fieldName);
    ~FieldEditLink();
    FieldEditLink(const FieldEditLink&) = delete;
    FieldEditLink& operator=(const FieldEditLink&) = delete;

    const QString& fieldName() const { return m_fieldName; }
    // The bound field of the open dataset, or null.
    Field* field() const;

    // The user changed the text.
    void textEdited();
    // Writes the view's text into the record (not stored); a failure is reported, the text
    // dropped, and false.
    bool commit();
    // Writes a pending text into the record; raises EConvertError and keeps the text pending
    // when it does not convert. The dataset must be in edit or insert state.
    void updateRecord();
    // Cancels the dataset's edit and shows the stored value.
    void cancel();
    // The view gained or lost the focus (after the change): leaving commits, and the view
    // switches between the edit text and the display text.
    void focusChanged(bool hasFocus);
    // Shows the field's current value.
    void refresh();

private:
    class Link;
    void show(bool focused);

    FieldEditView& m_view;
    QString m_fieldName;
    std::unique_ptr<Link> m_link;
    bool m_isEditing = false;    // the user changed the text since the last refresh
    bool m_isUpdating = false;   // the link itself is setting the text
};

} // namespace db
