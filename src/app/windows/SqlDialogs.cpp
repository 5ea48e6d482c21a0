// Small dialogs of the SQL database of forest units: unit key, ODD_ID choice, end of transaction.
#include "app/windows/SqlDialogs.h"

#include "platform/ui/Services.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace app {

namespace {

const QString kBadInput = QStringLiteral("Zadání není v pořádku.");

std::optional<qint32> integerOf(const QString& text)
{
    bool ok = false;
    const qint32 value = text.trimmed().toInt(&ok);
    return ok ? std::optional<qint32>(value) : std::nullopt;
}

QLineEdit* keyEdit(QWidget* parent, const char* name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setFrame(false);
    edit->setMaxLength(11);
    QFont font = edit->font();
    font.setBold(true);
    edit->setFont(font);
    return edit;
}

} // namespace

std::optional<sqlsrc::UnitKey> parseUnitKey(const QString& kod, const QString& id)
{
    const auto k = integerOf(kod);
    const auto i = integerOf(id);
    if (!k || !i)
        return std::nullopt;
    return sqlsrc::UnitKey{*k, *i};
}

std::optional<QString> parseOddId(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return QString();
    if (const auto value = integerOf(trimmed))
        return QString::number(*value);
    return std::nullopt;
}

TFVybLHCID::TFVybLHCID(QWidget* parent)
    : QDialog(parent), m_kod(keyEdit(this, "ELHC_KOD")), m_id(keyEdit(this, "ELHC_KOD_ID")),
      m_ok(new QPushButton(QStringLiteral("OK"), this)), m_cancel(new QPushButton(QStringLiteral("Storno"), this))
{
    setWindowTitle(QStringLiteral("Zadej LHC"));
    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("LHC_KOD :"), m_kod);
    form->addRow(QStringLiteral("LHC_KOD_ID :"), m_id);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    form->addRow(buttons);
    connect(m_ok, &QPushButton::clicked, this, &TFVybLHCID::ButOKClick);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TFVybLHCID::showEvent(QShowEvent* event)
{
    m_confirmed = false;
    QDialog::showEvent(event);
}

void TFVybLHCID::setKey(sqlsrc::UnitKey key)
{
    m_kod->setText(QString::number(key.kod));
    m_id->setText(QString::number(key.id));
}

std::optional<sqlsrc::UnitKey> TFVybLHCID::key() const
{
    return m_confirmed ? parseUnitKey(m_kod->text(), m_id->text()) : std::nullopt;
}

void TFVybLHCID::ButOKClick()
{
    m_kod->setText(m_kod->text().trimmed());
    m_id->setText(m_id->text().trimmed());
    if (!parseUnitKey(m_kod->text(), m_id->text())) {
        ui::services().showMessage(kBadInput);
        return;
    }
    m_confirmed = true;
    accept();
}

TFUkonTrans::TFUkonTrans(QWidget* parent)
    : QDialog(parent), m_ok(new QPushButton(QStringLiteral("ANO - provést definitivně změny"), this)),
      m_cancel(new QPushButton(QStringLiteral("NE - žádná ze změn nebude provedena"), this))
{
    setWindowTitle(QStringLiteral("Ukončení transakce"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_ok);
    layout->addWidget(m_cancel);
    connect(m_ok, &QPushButton::clicked, this, [this] {
        m_confirmed = true;
        accept();
    });
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TFUkonTrans::showEvent(QShowEvent* event)
{
    m_confirmed = false;
    QDialog::showEvent(event);
}

TFVyODDID::TFVyODDID(int odd, const QList<int>& found, QWidget* parent)
    : QDialog(parent), m_odd(new QLabel(QString::number(odd), this)), m_grid(new QTableWidget(int(found.size()), 1, this)),
      m_edit(new QLineEdit(this))
{
    setWindowTitle(QStringLiteral("Výběr ODD_ID"));
    QFont bold = m_odd->font();
    bold.setBold(true);
    m_odd->setFont(bold);
    m_grid->setHorizontalHeaderLabels({QStringLiteral("ODD_ID")});
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int r = 0; r < found.size(); ++r)
        m_grid->setItem(r, 0, new QTableWidgetItem(QString::number(found[r])));
    m_edit->setObjectName(QStringLiteral("EODD_IDNove"));
    m_edit->setMaxLength(11);
    m_edit->setText(found.isEmpty() ? QString() : QString::number(found.first()));
    auto* layout = new QVBoxLayout(this);
    auto* head = new QHBoxLayout;
    head->addWidget(new QLabel(QStringLiteral("Byla nalezena oddělění :"), this));
    head->addWidget(m_odd);
    head->addWidget(new QLabel(QStringLiteral("s níže uvedenými  ID:"), this));
    layout->addLayout(head);
    layout->addWidget(m_grid);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Nové nahrávat s ODD_ID:"), m_edit);
    layout->addLayout(form);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    layout->addWidget(ok);
    connect(ok, &QPushButton::clicked, this, &TFVyODDID::Button1Click);
}

void TFVyODDID::Button1Click()
{
    const std::optional<QString> value = parseOddId(m_edit->text());
    if (!value) {
        ui::services().showMessage(kBadInput);
        return;
    }
    m_accepted = *value;
    accept();
}

} // namespace app
