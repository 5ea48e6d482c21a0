// The print preview window (TFormSestP): one page of the output at a zoom step, paging,
// printing, and the run laid out in slices from its event loop.
#pragma once

#include "reports/engine/ReportWindows.h"
#include "reports/preview/PreviewSession.h"

#include <QDialog>

#include <memory>

class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QScrollArea;
class QTimer;

namespace reports {

class TPanelCanvasSest;
class TPlovouciPanelSestavy;
class TSestButton;

// Modal results: 1 "Ukončení", 2 "Oprava předlohy" (its button enabled by the designer only).
class TFormSestP : public QDialog
{
public:
    // `clock` times the slices in which the window lays out the rest of `run`.
    TFormSestP(TSestavaTyp& report, ReportRun* run, QWidget* parent = nullptr,
               ReportRun::Clock clock = ReportRun::steadyClockMs);
    ~TFormSestP() override;

    // Clicks the zoom button of a step (0..10) and sets it down.
    void NastavMeritko(int step);
    PreviewSession& session() { return *m_session; }
    // The status of the last print from the window (-1 none yet).
    int lastPrintStatus() const { return m_printStatus; }

    TSestButton* SBPrevKonec = nullptr;
    TSestButton* SBPrevEdit = nullptr;
    TSestButton* SBPrevTisk = nullptr;
    TSestButton* SBPrevPgFi = nullptr;
    TSestButton* SBPrevPgUp = nullptr;
    TSestButton* SBPrevPgDn = nullptr;
    TSestButton* SBPrevPgLa = nullptr;
    QWidget* PanelTlacitekPreviewStrany = nullptr;   // the page column, with PopupMenuStrany
    QLabel* PanelPrevCisloStrany = nullptr;
    QLabel* PanelPrevPocetStran = nullptr;
    QScrollArea* ScrollBox = nullptr;
    TPanelCanvasSest* Preview = nullptr;
    QMenu* PopupMenuStrany = nullptr;
    TPlovouciPanelSestavy* PlovouciPanelSestavyStrany = nullptr;
    QLineEdit* EditS = nullptr;
    QPushButton* BitBtnS = nullptr;
    std::vector<TSestButton*> zoomButtons;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    void done(int result) override;

private:
    void buildButtons();
    void buildPageColumn(QLayout* tools);
    void buildChooser();
    void buildKeys();
    // The window's keys (paging, scrolling the page); false for any other key.
    bool FormKeyDown(int key, Qt::KeyboardModifiers modifiers);
    void SBPrClick(int step);
    void ZobrazStranu(std::optional<int> page);
    void AktualizujTlacitka();
    void SBPrevTiskClick();
    void Zobrazitstranu1Click();
    void BitBtnSClick();
    void runSlice();
    void keepProgressReachable();

    TSestavaTyp& m_report;
    std::unique_ptr<PreviewSession> m_session;
    QTimer* m_slicer = nullptr;
    int m_printStatus = -1;
};

// Shows the preview of a report modally; `run` (may be null) is a run still laying out pages
// in slices timed by `clock`. Answers the modal result: 1 "Ukončení", 2 "Oprava předlohy", 0
// closed otherwise.
int ShowReportPreview(TSestavaTyp& report, ReportRun* run, const WindowPlacement& placement, int zoomStep,
                      bool editEnabled, ReportRun::Clock clock = ReportRun::steadyClockMs);

} // namespace reports
