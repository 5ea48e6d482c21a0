// The paper-format dialog.
#include "reports/designer/dialogs/DlgFormatPapiru.h"

#include "platform/text/Numbers.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace reports::designer {

namespace {

QLineEdit* edit(QFormLayout* form, const QString& name, const QString& caption, const QString& text, bool isEditable)
{
    auto* e = new QLineEdit(text, form->parentWidget());
    e->setObjectName(name);
    e->setEnabled(isEditable);
    e->setMinimumWidth(190);
    form->addRow(caption, e);   // the caption's label has the edit as its buddy
    return e;
}

} // namespace

TDlgFormatPapiru::TDlgFormatPapiru(const TFormatPapiru& format, bool isEditable, QWidget* parent)
    : QDialog(parent), m_format(format)
{
    setObjectName(QStringLiteral("DlgFormatPapiru"));
    setWindowTitle(QStringLiteral("Formát papíru"));
    auto* column = new QVBoxLayout(this);
    column->setSizeConstraint(QLayout::SetFixedSize);
    auto* form = new QFormLayout;
    column->addLayout(form);
    EditNazev = edit(form, QStringLiteral("EditNazev"), QStringLiteral("Název formátu:"), format.Nazev, isEditable);
    EditNazev->setMaxLength(TListFormatu::maxNameLength);
    EditSirka = edit(form, QStringLiteral("EditSirka"), QStringLiteral("Šířka papíru:"), QString::number(format.Sirka),
                     isEditable);
    EditVyska = edit(form, QStringLiteral("EditVyska"), QStringLiteral("Výška papíru:"), QString::number(format.Vyska),
                     isEditable);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    OKBtn = new QPushButton(QStringLiteral("Konec"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("Zpět"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    column->addLayout(buttons);
    connect(OKBtn, &QPushButton::clicked, this, [this] { done(1); });
    connect(CancelBtn, &QPushButton::clicked, this, [this] { done(2); });
}

TFormatPapiru TDlgFormatPapiru::format() const
{
    TFormatPapiru f = m_format;
    f.Nazev = EditNazev->text().left(TListFormatu::maxNameLength);
    f.Sirka = txt::strToIntDef(EditSirka->text(), m_format.Sirka);
    f.Vyska = txt::strToIntDef(EditVyska->text(), m_format.Vyska);
    return f;
}

int EditPaperFormat(TFormatPapiru& format, bool isEditable, QWidget* parent)
{
    TDlgFormatPapiru dialog(format, isEditable, parent);
    const int answer = dialog.exec();
    if (answer == 1) format = dialog.format();
    return answer;
}

} // namespace reports::designer
