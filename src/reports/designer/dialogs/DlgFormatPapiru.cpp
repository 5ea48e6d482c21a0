// The paper-format dialog.
#include "reports/designer/dialogs/DlgFormatPapiru.h"

#include "platform/text/Numbers.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace reports::designer {

namespace {

QLineEdit* edit(QWidget* parent, const QString& name, const QString& caption, const QString& text, int top,
                bool isEditable)
{
    auto* e = new QLineEdit(text, parent);
    e->setObjectName(name);
    e->setGeometry(120, top, 190, 22);
    e->setEnabled(isEditable);
    auto* l = new QLabel(caption, parent);
    l->setGeometry(10, top + 3, 108, 16);
    l->setBuddy(e);
    return e;
}

} // namespace

TDlgFormatPapiru::TDlgFormatPapiru(const TFormatPapiru& format, bool isEditable, QWidget* parent)
    : QDialog(parent), m_format(format)
{
    setObjectName(QStringLiteral("DlgFormatPapiru"));
    setWindowTitle(QStringLiteral("Formát papíru"));
    setFixedSize(320, 130);
    EditNazev = edit(this, QStringLiteral("EditNazev"), QStringLiteral("Název formátu:"), format.Nazev, 10,
                     isEditable);
    EditNazev->setMaxLength(TListFormatu::maxNameLength);
    EditSirka = edit(this, QStringLiteral("EditSirka"), QStringLiteral("Šířka papíru:"),
                     QString::number(format.Sirka), 38, isEditable);
    EditVyska = edit(this, QStringLiteral("EditVyska"), QStringLiteral("Výška papíru:"),
                     QString::number(format.Vyska), 66, isEditable);
    OKBtn = new QPushButton(QStringLiteral("Konec"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setGeometry(130, 98, 85, 25);
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("Zpět"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    CancelBtn->setGeometry(225, 98, 85, 25);
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
