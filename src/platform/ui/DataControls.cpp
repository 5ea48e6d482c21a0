// The class library's mask edit and its field-bound edit and combo box, over Qt's controls.
#include "platform/ui/DataControls.h"

#include "platform/ui/LineEditLink.h"

namespace ui {

MaskEdit::MaskEdit(QWidget* parent) : QLineEdit(parent) {}

FieldBinding::FieldBinding(QLineEdit& edit) : m_edit(edit) {}

FieldBinding::~FieldBinding() = default;

void FieldBinding::SetDataSource(db::DataSource* source)
{
    m_source = source;
    rebind();
}

void FieldBinding::SetDataField(const QString& field)
{
    m_field = field;
    rebind();
}

void FieldBinding::rebind()
{
    m_link.reset();
    if (!m_source || m_field.isEmpty())
        return;
    m_link = std::make_unique<LineEditLink>(&m_edit, m_source, m_field);
    m_link->setParent(nullptr);   // owned here, so a new binding replaces it at once
}

DBEdit::DBEdit(QWidget* parent) : QLineEdit(parent), m_binding(*this) {}

DBEdit::~DBEdit() = default;

DBComboBox::DBComboBox(QWidget* parent) : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    m_binding = std::make_unique<FieldBinding>(*lineEdit());
    // An item chosen from the list is typed text as far as the field is concerned.
    connect(this, &QComboBox::activated, this, [this] {
        if (LineEditLink* link = m_binding->link())
            link->link().textEdited();
    });
}

DBComboBox::~DBComboBox() = default;

} // namespace ui
