// The main window: "Výpočet", "Výpis a úpravy" and "&Konec".
#pragma once

#include "app/windows/MainWindowLogic.h"

#include <QWidget>

#include <memory>

class QPushButton;

namespace app {

class TFRData;
class TFGKDB;

// TFGenKl, the program's main window. The calculation form and the list window are created
// with it (hidden) and live as long as it.
class TFGenKl : public QWidget
{
    Q_OBJECT

public:
    explicit TFGenKl(const QString& programDir, QWidget* parent = nullptr);
    ~TFGenKl() override;

    // The first showing's work (source choice, tables directory); false when the program is to
    // end. Called once, before the window is shown.
    bool FormShow();
    void BitBtn1Click();
    void BitBtn3Click();

    TFRData* calculationForm() const { return m_rdata; }
    TFGKDB* listWindow() const { return m_list; }
    QPushButton* BitBtn1() const { return m_calc; }
    QPushButton* BitBtn3() const { return m_show; }
    QPushButton* BitBtn2() const { return m_close; }
    // Modeless list windows (for tests that drive the window from outside).
    void setModalList(bool modal) { m_modalList = modal; }

private:
    void refreshButtons();

    QString m_programDir;
    TFRData* m_rdata;
    TFGKDB* m_list;
    std::unique_ptr<MainWindowLogic> m_logic;
    QPushButton* m_calc;
    QPushButton* m_show;
    QPushButton* m_close;
    bool m_modalList = true;
};

} // namespace app
