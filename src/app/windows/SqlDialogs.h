// Small dialogs of the SQL database of forest units: unit key, ODD_ID choice, end of transaction.
#pragma once

#include "app/sources/sql/SqlLoader.h"

#include <QDialog>

#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace app {

// The key typed into two edits, trimmed; nullopt unless both are integers.
std::optional<sqlsrc::UnitKey> parseUnitKey(const QString& kod, const QString& id);
// An ODD_ID typed by the user: empty (each row keeps its own) or an integer; nullopt otherwise.
std::optional<QString> parseOddId(const QString& text);

// TFVybLHCID ("Zadej LHC"): a unit key; OK accepts only two integers.
class TFVybLHCID : public QDialog
{
    Q_OBJECT

public:
    explicit TFVybLHCID(QWidget* parent = nullptr);

    bool Confirmed() const { return m_confirmed; }
    std::optional<sqlsrc::UnitKey> key() const;
    void setKey(sqlsrc::UnitKey key);
    void ButOKClick();

    QLineEdit* ELHC_KOD() const { return m_kod; }
    QLineEdit* ELHC_KOD_ID() const { return m_id; }
    QPushButton* ButOK() const { return m_ok; }
    QPushButton* ButStorno() const { return m_cancel; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* m_kod;
    QLineEdit* m_id;
    QPushButton* m_ok;
    QPushButton* m_cancel;
    bool m_confirmed = false;
};

// TFUkonTrans ("Ukončení transakce"): commit (ANO) or roll back; closing by the frame refuses.
class TFUkonTrans : public QDialog
{
    Q_OBJECT

public:
    explicit TFUkonTrans(QWidget* parent = nullptr);

    bool Confirmed() const { return m_confirmed; }
    QPushButton* ButOK() const { return m_ok; }
    QPushButton* ButStorno() const { return m_cancel; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QPushButton* m_ok;
    QPushButton* m_cancel;
    bool m_confirmed = false;
};

// TFVyODDID ("Výběr ODD_ID"): the ODD_IDs found for a compartment number and the one to use.
class TFVyODDID : public QDialog
{
    Q_OBJECT

public:
    TFVyODDID(int odd, const QList<int>& found, QWidget* parent = nullptr);

    // Closes when the edit holds an integer or nothing; else says so and stays.
    void Button1Click();
    // The ODD_ID accepted (empty: each row keeps its own).
    QString oddId() const { return m_accepted; }

    QLineEdit* EODD_IDNove() const { return m_edit; }
    QTableWidget* DBGrid1() const { return m_grid; }
    QLabel* LODD() const { return m_odd; }

private:
    QLabel* m_odd;
    QTableWidget* m_grid;
    QLineEdit* m_edit;
    QString m_accepted;
};

} // namespace app
