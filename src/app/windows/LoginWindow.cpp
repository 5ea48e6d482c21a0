// The login window of the SQL database of forest units.
#include "app/windows/LoginWindow.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace app {

namespace {

QLineEdit* boldEdit(QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setFrame(false);
    QFont font = edit->font();
    font.setBold(true);
    edit->setFont(font);
    edit->setMaxLength(250);
    return edit;
}

} // namespace

TFVybBase::TFVybBase(QWidget* parent)
    : QDialog(parent), m_user(boldEdit(this)), m_password(boldEdit(this)), m_alias(boldEdit(this)),
      m_ok(new QPushButton(QStringLiteral("OK"), this)), m_cancel(new QPushButton(QStringLiteral("Storno"), this))
{
    setWindowTitle(QStringLiteral("Vyběr database LHP :"));
    m_user->setObjectName(QStringLiteral("EUserName"));
    m_password->setObjectName(QStringLiteral("EPassword"));
    m_alias->setObjectName(QStringLiteral("EAlias"));
    m_password->setEchoMode(QLineEdit::Password);
    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("USER NAME :"), m_user);
    form->addRow(QStringLiteral("PASSWORD :"), m_password);
    form->addRow(QStringLiteral("ALIAS :"), m_alias);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    form->addRow(buttons);
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &TFVybBase::ButOKClick);
    connect(m_cancel, &QPushButton::clicked, this, &TFVybBase::ButStornoClick);
}

void TFVybBase::showEvent(QShowEvent* event)
{
    m_confirmed = false;
    QDialog::showEvent(event);
}

void TFVybBase::ButOKClick()
{
    m_confirmed = true;
    accept();
}

void TFVybBase::ButStornoClick()
{
    m_confirmed = false;
    reject();
}

} // namespace app

namespace sqlsrc {

std::optional<LoginAnswer> ShowLoginWindow(const QString& alias, const QString& user)
{
    app::TFVybBase window;
    window.EUserName()->setText(user);
    window.EAlias()->setText(alias);
    window.exec();
    if (!window.Confirmed())
        return std::nullopt;
    return LoginAnswer{window.EAlias()->text().trimmed(), window.EUserName()->text(), window.EPassword()->text()};
}

} // namespace sqlsrc
