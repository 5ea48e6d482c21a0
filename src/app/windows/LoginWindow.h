// The login window of the SQL database of forest units.
#pragma once

#include "app/sources/sql/LhcDatabase.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace app {

// TFVybBase: user name, password and alias of the database. The password is echoed as dots.
class TFVybBase : public QDialog
{
    Q_OBJECT

public:
    explicit TFVybBase(QWidget* parent = nullptr);

    bool Confirmed() const { return m_confirmed; }
    void ButOKClick();
    void ButStornoClick();

    QLineEdit* EUserName() const { return m_user; }
    QLineEdit* EPassword() const { return m_password; }
    QLineEdit* EAlias() const { return m_alias; }
    QPushButton* ButOK() const { return m_ok; }
    QPushButton* ButStorno() const { return m_cancel; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* m_user;
    QLineEdit* m_password;
    QLineEdit* m_alias;
    QPushButton* m_ok;
    QPushButton* m_cancel;
    bool m_confirmed = false;
};

} // namespace app

namespace sqlsrc {

// Shows TFVybBase with the alias and user filled in and the password empty; nullopt when cancelled.
std::optional<LoginAnswer> ShowLoginWindow(const QString& alias, const QString& user);

} // namespace sqlsrc
