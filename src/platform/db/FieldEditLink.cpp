// The logic of an edit control bound to one field: shows, edits and posts through the dataset.
#include "platform/db/FieldEditLink.h"

#include "platform/Exceptions.h"
#include "platform/ui/Services.h"

namespace db {

class FieldEditLink::Link : public DataLink
{
public:
    explicit Link(FieldEditLink& owner) : m_owner(owner) {}

protected:
    void dataEvent(DataEvent event, Field*) override
    {
        if (event == DataEvent::UpdateRecord) {
            m_owner.updateRecord();
            return;
        }
        // The dataset moved, was rewritten or left its edit under the edit: the typed text is
        // dropped.
        if (event == DataEvent::DataSetChange || event == DataEvent::DataSetScroll
            || (event == DataEvent::RecordChange && !(dataSet() && isEditing(dataSet()->State()))))
            m_owner.m_isEditing = false;
        if (!m_owner.m_isEditing)
            m_owner.refresh();
    }

private:
    FieldEditLink& m_owner;
};

FieldEditLink::FieldEditLink(FieldEditView& view, DataSource* source, const QString& fieldName)
    : m_view(view), m_fieldName(fieldName), m_link(std::make_unique<Link>(*this))
{
    m_link->setDataSource(source);
    refresh();
}

FieldEditLink::~FieldEditLink()
{
    m_link->setDataSource(nullptr);
}

Field* FieldEditLink::field() const
{
    DataSet* ds = m_link->dataSet();
    return ds && ds->Active() ? ds->FindField(m_fieldName) : nullptr;
}

void FieldEditLink::show(bool focused)
{
    const Field* f = field();
    m_isUpdating = true;
    m_view.setText(f ? (focused ? f->AsString() : f->DisplayText()) : QString());
    m_isUpdating = false;
}

void FieldEditLink::refresh()
{
    show(m_view.hasFocus());
    const Field* f = field();
    // On an empty dataset an edit would insert a row holding only this field.
    m_view.setReadOnly(!f || f->ReadOnly() || !f->dataSet().CanModify() || f->dataSet().IsEmpty());
}

void FieldEditLink::textEdited()
{
    Field* f = field();
    if (m_isUpdating || !f)
        return;
    try {
        m_isEditing = true;   // before Edit(), whose notification would otherwise reset the text
        f->dataSet().Edit();
    } catch (const Exception& e) {
        ui::services().messageBox(e.message(), QString(), ui::MsgType::Error, ui::Ok);
        m_isEditing = false;
        refresh();
    }
}

bool FieldEditLink::commit()
{
    if (!m_isEditing)
        return true;
    Field* f = field();
    if (!f) {
        m_isEditing = false;
        return false;
    }
    try {
        f->dataSet().Edit();
        updateRecord();
    } catch (const Exception& e) {
        // The field keeps its value; the rest of the record stays as edited.
        m_isEditing = false;
        ui::services().messageBox(e.message(), QString(), ui::MsgType::Error, ui::Ok);
        refresh();
        return false;
    }
    return true;
}

void FieldEditLink::updateRecord()
{
    Field* f = field();
    if (!m_isEditing || !f)
        return;
    // Cleared first: the assignment's notification then shows the value as written.
    m_isEditing = false;
    try {
        f->AsString(m_view.text());
    } catch (...) {
        m_isEditing = true;
        throw;
    }
}

void FieldEditLink::cancel()
{
    m_isEditing = false;
    if (Field* f = field())
        f->dataSet().Cancel();
    refresh();
}

void FieldEditLink::focusChanged(bool hasFocus)
{
    if (!hasFocus)
        commit();
    if (!m_isEditing)
        show(hasFocus);
}

} // namespace db
