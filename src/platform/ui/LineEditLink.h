// Binds a QLineEdit to one field of a data source through db::FieldEditLink.
#pragma once

#include "platform/db/FieldEditLink.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>

class QLineEdit;

namespace ui {

// The widget side of a field-bound edit: forwards typing, Enter, Escape and focus changes of
// the line edit to its db::FieldEditLink and shows what that says. The link is a child of the
// line edit (deleted with it) and does not own the data source.
class LineEditLink : public QObject, private db::FieldEditView
{
    Q_OBJECT

public:
    LineEditLink(QLineEdit* edit, db::DataSource* source, const QString& fieldName);
    ~LineEditLink() override;

    db::FieldEditLink& link() { return *m_link; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString text() const override;
    void setText(const QString& text) override;
    void setReadOnly(bool readOnly) override;
    bool hasFocus() const override;

    QPointer<QLineEdit> m_edit;
    QPointer<QWidget> m_watched;   // the line edit, or the control it hands its focus to
    std::unique_ptr<db::FieldEditLink> m_link;
};

} // namespace ui
