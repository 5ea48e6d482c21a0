// Binds a QLineEdit to one field of a data source: shows it, edits and posts it through the dataset.
#include "platform/db/FieldEditLink.h"

#include "platform/Exceptions.h"
#include "platform/ui/Services.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace db {

class FieldEditLink::Link : public DataLink
{
public:
    explicit Link(FieldEditLink& owner) : m_owner(owner) {}

protected:
    void dataEvent(DataEvent event, Field*) override
    {
        // The dataset moved or was rewritten under the edit: the typed text is dropped.
        if (event == DataEvent::DataSetChange || event == DataEvent::DataSetScroll)
            m_owner.m_editing = false;
        if (!m_owner.m_editing)
            m_owner.refresh();
    }

private:
    FieldEditLink& m_owner;
};

FieldEditLink::FieldEditLink(QLineEdit* edit, DataSource* source, const QString& fieldName)
    : QObject(edit), m_edit(edit), m_fieldName(fieldName), m_link(std::make_unique<Link>(*this))
{
    connect(edit, &QLineEdit::textEdited, this, &FieldEditLink::onTextEdited);
    connect(edit, &QLineEdit::returnPressed, this, [this] { commit(); });
    edit->installEventFilter(this);
    m_link->setDataSource(source);
}

FieldEditLink::~FieldEditLink()
{
    // Usually run while the line edit itself is being destroyed: it must not be touched.
    m_edit.clear();
    m_link->setDataSource(nullptr);
}

Field* FieldEditLink::field() const
{
    DataSet* ds = m_link->dataSet();
    return ds && ds->Active() ? ds->FindField(m_fieldName) : nullptr;
}

void FieldEditLink::refresh()
{
    if (!m_edit)
        return;
    m_updating = true;
    Field* f = field();
    m_edit->setText(f ? (m_edit->hasFocus() ? f->AsString() : f->DisplayText()) : QString());
    m_edit->setReadOnly(!f || f->ReadOnly() || !f->dataSet().CanModify());
    m_updating = false;
}

void FieldEditLink::onTextEdited()
{
    if (m_updating)
        return;
    Field* f = field();
    if (!f)
        return;
    try {
        m_editing = true;   // before Edit(), whose notification would otherwise reset the text
        f->dataSet().Edit();
    } catch (const Exception& e) {
        ui::services().messageBox(e.message(), QString(), ui::MsgType::Error, ui::Ok);
        m_editing = false;
        refresh();
    }
}

bool FieldEditLink::commit()
{
    if (!m_editing)
        return true;
    Field* f = field();
    m_editing = false;
    if (!f || !m_edit)
        return false;
    DataSet& ds = f->dataSet();
    try {
        ds.Edit();
        f->AsString(m_edit->text());
        ds.Post();
    } catch (const Exception& e) {
        ds.Cancel();
        ui::services().messageBox(e.message(), QString(), ui::MsgType::Error, ui::Ok);
        refresh();
        return false;
    }
    refresh();
    return true;
}

void FieldEditLink::cancel()
{
    m_editing = false;
    if (Field* f = field())
        f->dataSet().Cancel();
    refresh();
}

bool FieldEditLink::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_edit) {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            cancel();
            return true;
        }
        if (event->type() == QEvent::FocusOut)
            commit();
        if ((event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) && !m_editing) {
            // Edit text while focused, display text otherwise (after the focus change).
            const bool focused = event->type() == QEvent::FocusIn;
            if (Field* f = field(); f && m_edit) {
                m_updating = true;
                m_edit->setText(focused ? f->AsString() : f->DisplayText());
                m_updating = false;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace db
