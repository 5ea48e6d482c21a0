// The class library's mask edit and its field-bound edit and combo box, over Qt's controls.
#pragma once

#include "platform/db/DataSource.h"

#include <QComboBox>
#include <QLineEdit>
#include <QString>

#include <memory>

namespace ui {

class LineEditLink;

// A line edit whose EditMask is Qt's input mask (TMaskEdit).
class MaskEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit MaskEdit(QWidget* parent = nullptr);
    QString EditMask() const { return inputMask(); }
    void SetEditMask(const QString& mask) { setInputMask(mask); }
};

// The binding of a data-aware control: DataSource and DataField, linked once both are set.
// Neither the data source nor the edit is owned.
class FieldBinding
{
public:
    explicit FieldBinding(QLineEdit& edit);
    ~FieldBinding();
    FieldBinding(const FieldBinding&) = delete;
    FieldBinding& operator=(const FieldBinding&) = delete;

    db::DataSource* DataSource() const { return m_source; }
    void SetDataSource(db::DataSource* source);
    const QString& DataField() const { return m_field; }
    void SetDataField(const QString& field);
    // The link to the field; null until both are set.
    LineEditLink* link() const { return m_link.get(); }

private:
    void rebind();

    QLineEdit& m_edit;
    db::DataSource* m_source = nullptr;
    QString m_field;
    std::unique_ptr<LineEditLink> m_link;
};

// A line edit that shows and edits one field of a data source (TDBEdit).
class DBEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit DBEdit(QWidget* parent = nullptr);
    ~DBEdit() override;

    FieldBinding& binding() { return m_binding; }
    db::DataSource* DataSource() const { return m_binding.DataSource(); }
    void SetDataSource(db::DataSource* source) { m_binding.SetDataSource(source); }
    const QString& DataField() const { return m_binding.DataField(); }
    void SetDataField(const QString& field) { m_binding.SetDataField(field); }

private:
    FieldBinding m_binding;
};

// An editable combo box that shows and edits one field of a data source (TDBComboBox): the
// text is typed or chosen from the items and written to the field as a DBEdit's is.
class DBComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit DBComboBox(QWidget* parent = nullptr);
    ~DBComboBox() override;

    FieldBinding& binding() { return *m_binding; }
    db::DataSource* DataSource() const { return m_binding->DataSource(); }
    void SetDataSource(db::DataSource* source) { m_binding->SetDataSource(source); }
    const QString& DataField() const { return m_binding->DataField(); }
    void SetDataField(const QString& field) { m_binding->SetDataField(field); }

private:
    std::unique_ptr<FieldBinding> m_binding;   // over the line edit of the combo box
};

} // namespace ui
