// Binds a QLineEdit to one field of a data source: shows it, edits and posts it through the dataset.
#pragma once

#include "platform/db/DataSource.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>

class QLineEdit;

namespace db {

// The line edit shows the field's DisplayText while not being edited. Typing puts the dataset into
// edit state; Enter or leaving the edit assigns the text (AsString) and posts; Escape cancels and
// shows the stored value again. The edit is read-only when the field or the dataset cannot be
// modified. Errors of the assignment or the post go to ui::services() and leave the edit state.
// The link is a child of the line edit (deleted with it) and does not own the data source.
class FieldEditLink : public QObject
{
    Q_OBJECT

public:
    FieldEditLink(QLineEdit* edit, DataSource* source, const QString& fieldName);
    ~FieldEditLink() override;

    const QString& fieldName() const { return m_fieldName; }
    // The bound field of the open dataset, or null.
    Field* field() const;
    // Assigns the edit's text to the field and posts (what Enter does); false when it failed.
    bool commit();
    // Cancels the dataset's edit and shows the stored value (what Escape does).
    void cancel();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class Link;
    void refresh();
    void onTextEdited();

    QPointer<QLineEdit> m_edit;
    QString m_fieldName;
    std::unique_ptr<Link> m_link;
    bool m_editing = false;    // the user changed the text since the last refresh
    bool m_updating = false;   // refresh() is setting the text
};

} // namespace db
