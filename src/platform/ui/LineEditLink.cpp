// Binds a QLineEdit to one field of a data source through db::FieldEditLink.
#include "platform/ui/LineEditLink.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace ui {

LineEditLink::LineEditLink(QLineEdit* edit, db::DataSource* source, const QString& fieldName)
    : QObject(edit), m_edit(edit)
{
    db::FieldEditView& view = *this;
    m_link = std::make_unique<db::FieldEditLink>(view, source, fieldName);
    connect(edit, &QLineEdit::textEdited, this, [this] { m_link->textEdited(); });
    connect(edit, &QLineEdit::returnPressed, this, [this] { m_link->commit(); });
    // The line edit of a combo box hands the focus and the keys to the combo box, which passes
    // them on past any filter: they are watched where they arrive.
    m_watched = edit->focusProxy() ? edit->focusProxy() : edit;
    m_watched->installEventFilter(this);
}

LineEditLink::~LineEditLink()
{
    // Usually run while the line edit itself is being destroyed: it must not be touched.
    m_edit.clear();
    m_link.reset();
}

QString LineEditLink::text() const { return m_edit ? m_edit->text() : QString(); }

void LineEditLink::setText(const QString& text)
{
    if (m_edit)
        m_edit->setText(text);
}

void LineEditLink::setReadOnly(bool readOnly)
{
    if (m_edit)
        m_edit->setReadOnly(readOnly);
}

bool LineEditLink::hasFocus() const { return m_edit && m_edit->hasFocus(); }

bool LineEditLink::eventFilter(QObject* watched, QEvent* event)
{
    if (m_edit && watched == m_watched) {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            m_link->cancel();
            return true;
        }
        if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)
            m_link->focusChanged(event->type() == QEvent::FocusIn);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace ui
