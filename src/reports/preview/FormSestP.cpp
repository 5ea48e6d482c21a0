// The print preview window.
#include "reports/preview/FormSestP.h"

#include "platform/ui/Services.h"
#include "reports/engine/SestavaTyp.h"
#include "reports/model/ReportTables.h"
#include "reports/preview/ReportPanels.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

namespace reports {

namespace {

TSestButton* makeButton(QWidget* parent, QLayout* layout, const QString& text, const QString& hint)
{
    auto* button = new TSestButton(parent);
    button->setText(text);
    button->setToolTip(hint);
    layout->addWidget(button);
    return button;
}

} // namespace

TFormSestP::TFormSestP(TSestavaTyp& report, ReportRun* run, QWidget* parent, ReportRun::Clock clock)
    : QDialog(parent), m_report(report), m_session(std::make_unique<PreviewSession>(report, run, 6, std::move(clock)))
{
    setWindowTitle(QStringLiteral("Prohlížení sestavy před tiskem"));
    setWindowFlags(Qt::Dialog | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    ScrollBox = new QScrollArea(this);
    ScrollBox->setBackgroundRole(QPalette::Dark);
    ScrollBox->setAlignment(Qt::AlignCenter);
    ScrollBox->horizontalScrollBar()->setSingleStep(16);
    ScrollBox->verticalScrollBar()->setSingleStep(16);
    Preview = new TPanelCanvasSest;
    Preview->OnPaint = [this](QPainter& painter) {
        if (m_session->navigation().current() < 0) return;
        const QImage& page = m_session->pageImage(Preview->devicePixelRatioF(), Preview->visibleRegion().boundingRect());
        painter.drawImage(page.offset(), page);
    };
    ScrollBox->setWidget(Preview);
    buildButtons();
    buildChooser();
    buildKeys();
    m_slicer = new QTimer(this);
    m_slicer->setInterval(0);
    connect(m_slicer, &QTimer::timeout, this, &TFormSestP::runSlice);
    if (m_session->isRunning()) {
        keepProgressReachable();
        m_slicer->start();
    }
    NastavMeritko(6);
}

TFormSestP::~TFormSestP()
{
    m_session->close();
}

void TFormSestP::buildButtons()
{
    auto* main = new QHBoxLayout(this);
    auto* tools = new QVBoxLayout;
    main->addLayout(tools);
    main->addWidget(ScrollBox, 1);
    SBPrevKonec = makeButton(this, tools, QStringLiteral("Konec"), QStringLiteral("Ukončení"));
    SBPrevEdit = makeButton(this, tools, QStringLiteral("Oprava"), QStringLiteral("Oprava předlohy"));
    SBPrevTisk = makeButton(this, tools, QStringLiteral("Tisk"), QStringLiteral("Tisk sestavy"));
    connect(SBPrevKonec, &QToolButton::clicked, this, [this] { done(1); });
    connect(SBPrevEdit, &QToolButton::clicked, this, [this] { done(2); });
    connect(SBPrevTisk, &QToolButton::clicked, this, &TFormSestP::SBPrevTiskClick);

    auto* zoom = new QButtonGroup(this);
    for (int step = 0; step < int(ZoomSteps.size()); ++step) {
        auto* button = makeButton(this, tools, QString::number(std::lround(ZoomSteps[size_t(step)] * 100)),
                                  QStringLiteral("Zobrazení v měřítku [%]"));
        button->setCommand(step);
        button->setCheckable(true);
        zoom->addButton(button);
        zoomButtons.push_back(button);
        connect(button, &QToolButton::clicked, this, [this, button] { SBPrClick(button->command()); });
    }
    buildPageColumn(tools);
    tools->addStretch(1);
}

void TFormSestP::buildPageColumn(QLayout* tools)
{
    PanelTlacitekPreviewStrany = new QWidget(this);
    tools->addWidget(PanelTlacitekPreviewStrany);
    auto* column = new QVBoxLayout(PanelTlacitekPreviewStrany);
    column->setContentsMargins(0, 0, 0, 0);
    QWidget* panel = PanelTlacitekPreviewStrany;
    SBPrevPgFi = makeButton(panel, column, QStringLiteral("|<"), QStringLiteral("První stránka"));
    SBPrevPgUp = makeButton(panel, column, QStringLiteral("<"), QStringLiteral("Předchozí stránka"));
    PanelPrevCisloStrany = new QLabel(panel);
    PanelPrevPocetStran = new QLabel(panel);
    column->addWidget(PanelPrevCisloStrany);
    column->addWidget(PanelPrevPocetStran);
    SBPrevPgDn = makeButton(panel, column, QStringLiteral(">"), QStringLiteral("Další stránka"));
    SBPrevPgLa = makeButton(panel, column, QStringLiteral(">|"), QStringLiteral("Poslední stránka"));
    const PageNavigation& nav = m_session->navigation();
    connect(SBPrevPgFi, &QToolButton::clicked, this, [this, &nav] { ZobrazStranu(nav.first()); });
    connect(SBPrevPgUp, &QToolButton::clicked, this, [this, &nav] { ZobrazStranu(nav.prior()); });
    connect(SBPrevPgDn, &QToolButton::clicked, this, [this, &nav] { ZobrazStranu(nav.next()); });
    connect(SBPrevPgLa, &QToolButton::clicked, this, [this, &nav] { ZobrazStranu(nav.last()); });

    PopupMenuStrany = new QMenu(this);
    PopupMenuStrany->addAction(QStringLiteral("Zobrazit stránku ..."), this, &TFormSestP::Zobrazitstranu1Click);
    PopupMenuStrany->addSeparator();
    const std::pair<QString, TSestButton*> items[] = {{QStringLiteral("První stránka"), SBPrevPgFi},
                                                       {QStringLiteral("Předchozí stránka"), SBPrevPgUp},
                                                       {QStringLiteral("Následující stránka"), SBPrevPgDn},
                                                       {QStringLiteral("Poslední stránka"), SBPrevPgLa}};
    for (const auto& [text, button] : items) PopupMenuStrany->addAction(text, button, &QToolButton::click);
    // A right click anywhere in the column: a disabled button would swallow it, so the window
    // takes it from the column and each of its controls.
    panel->installEventFilter(this);
    for (QWidget* child : panel->findChildren<QWidget*>()) child->installEventFilter(this);
}

bool TFormSestP::eventFilter(QObject* watched, QEvent* event)
{
    // Installed on the page column only.
    if (event->type() != QEvent::ContextMenu) return QDialog::eventFilter(watched, event);
    PopupMenuStrany->popup(static_cast<QContextMenuEvent*>(event)->globalPos());
    return true;
}

void TFormSestP::buildChooser()
{
    PlovouciPanelSestavyStrany = new TPlovouciPanelSestavy(this);
    PlovouciPanelSestavyStrany->setCaption(QStringLiteral("Výběr stránky"));
    auto* cancel = new QToolButton(PlovouciPanelSestavyStrany);
    PlovouciPanelSestavyStrany->setCancelButton(cancel);
    auto* layout = new QVBoxLayout(PlovouciPanelSestavyStrany);
    layout->setContentsMargins(6, PlovouciPanelSestavyStrany->captionHeight() + 4, 6, 6);
    layout->addWidget(new QLabel(QStringLiteral("Stránka číslo:"), PlovouciPanelSestavyStrany));
    EditS = new QLineEdit(QStringLiteral("1"), PlovouciPanelSestavyStrany);
    layout->addWidget(EditS);
    BitBtnS = new QPushButton(QStringLiteral("Zobrazit"), PlovouciPanelSestavyStrany);
    auto* storno = new QPushButton(QStringLiteral("Storno"), PlovouciPanelSestavyStrany);
    layout->addWidget(BitBtnS);
    layout->addWidget(storno);
    PlovouciPanelSestavyStrany->adjustSize();
    PlovouciPanelSestavyStrany->hide();
    connect(BitBtnS, &QPushButton::clicked, this, &TFormSestP::BitBtnSClick);
    connect(EditS, &QLineEdit::returnPressed, this, &TFormSestP::BitBtnSClick);
    connect(storno, &QPushButton::clicked, cancel, &QToolButton::click);
}

void TFormSestP::buildKeys()
{
    // A focused scroll area or button would take these keys for its own (the scroll area pages
    // its view, a button moves the focus); as the window's shortcuts they reach it from any
    // child. An edit keeps its arrows.
    const QKeyCombination keys[] = {Qt::Key_PageUp, Qt::Key_PageDown, Qt::CTRL | Qt::Key_PageUp,
                                    Qt::CTRL | Qt::Key_PageDown, Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down};
    for (const QKeyCombination key : keys) {
        auto* shortcut = new QShortcut(QKeySequence(key), this);
        connect(shortcut, &QShortcut::activated, this,
                [this, key] { ui::guardEvent([&] { FormKeyDown(key.key(), key.keyboardModifiers()); }); });
    }
}

void TFormSestP::NastavMeritko(int step)
{
    if (step < 0 || step >= int(zoomButtons.size())) return;
    zoomButtons[size_t(step)]->setChecked(true);
    SBPrClick(step);
}

void TFormSestP::SBPrClick(int step)
{
    const PreviewGeometry before = m_session->geometry();
    const QPoint scroll(ScrollBox->horizontalScrollBar()->value(), ScrollBox->verticalScrollBar()->value());
    m_session->setZoomStep(step);
    const PreviewGeometry after = m_session->geometry();
    Preview->resize(after.panelSize());
    const QPoint kept = after.keepCentre(before, ScrollBox->viewport()->size(), scroll);
    ScrollBox->horizontalScrollBar()->setValue(kept.x());
    ScrollBox->verticalScrollBar()->setValue(kept.y());
    AktualizujTlacitka();
    Preview->update();
}

void TFormSestP::ZobrazStranu(std::optional<int> page)
{
    if (!page || !m_session->navigation().setCurrent(*page)) return;
    Preview->update();
    AktualizujTlacitka();
}

void TFormSestP::AktualizujTlacitka()
{
    const PageNavigation& nav = m_session->navigation();
    SBPrevPgFi->setEnabled(nav.canGoBack());
    SBPrevPgUp->setEnabled(nav.canGoBack());
    SBPrevPgDn->setEnabled(nav.canGoForward());
    SBPrevPgLa->setEnabled(nav.canGoForward());
    const QList<QAction*> actions = PopupMenuStrany->actions();
    for (int i = 0; i < 4 && i + 2 < actions.size(); ++i)
        actions[i + 2]->setEnabled(i < 2 ? nav.canGoBack() : nav.canGoForward());
    PanelPrevCisloStrany->setText(nav.currentText());
    PanelPrevPocetStran->setText(m_session->countText());
    SBPrevTisk->setEnabled(m_session->canPrint());
}

void TFormSestP::runSlice()
{
    const int shown = m_session->navigation().current();
    const bool ended = m_session->runSlice();
    if (ended) m_slicer->stop();
    // A finished run has filled in the page counts of the page shown.
    if (ended || m_session->navigation().current() != shown) Preview->update();
    AktualizujTlacitka();
}

void TFormSestP::keepProgressReachable()
{
    // The run's "Informace" window stays usable beside this modal one as its child window.
    auto* window = m_session->run() ? dynamic_cast<QWidget*>(m_session->run()->progress()) : nullptr;
    if (!window) return;
    const bool visible = window->isVisible();
    window->setParent(this, window->windowFlags());
    if (visible) window->show();
}

void TFormSestP::SBPrevTiskClick()
{
    if (!m_session->canPrint()) return;
    TPrintDialogTyp settings = m_session->printSettings();
    if (settings.Execute(this) != TPrintDialogTyp::Print) return;
    if (!m_session->pdfName) m_session->pdfName = [this] { return AskPdfFileName(this); };
    m_printStatus = m_session->print(settings);
}

void TFormSestP::Zobrazitstranu1Click()
{
    EditS->setText(QString::number(m_report.StartPage));
    PlovouciPanelSestavyStrany->show();
    PlovouciPanelSestavyStrany->raise();
    EditS->setFocus();
}

void TFormSestP::BitBtnSClick()
{
    ZobrazStranu(m_session->navigation().chosen(EditS->text()));
    if (PlovouciPanelSestavyStrany->cancelButton()) PlovouciPanelSestavyStrany->cancelButton()->click();
}

bool TFormSestP::FormKeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    const PageNavigation& nav = m_session->navigation();
    const bool ctrl = modifiers & Qt::ControlModifier;
    QScrollBar* h = ScrollBox->horizontalScrollBar();
    QScrollBar* v = ScrollBox->verticalScrollBar();
    switch (key) {
    case Qt::Key_PageUp: ZobrazStranu(ctrl ? nav.first() : nav.prior()); return true;
    case Qt::Key_PageDown: ZobrazStranu(ctrl ? nav.last() : nav.next()); return true;
    case Qt::Key_Left: h->setValue(h->value() - h->singleStep()); return true;
    case Qt::Key_Right: h->setValue(h->value() + h->singleStep()); return true;
    case Qt::Key_Up: v->setValue(v->value() - v->singleStep()); return true;
    case Qt::Key_Down: v->setValue(v->value() + v->singleStep()); return true;
    default: return false;
    }
}

void TFormSestP::keyPressEvent(QKeyEvent* event)
{
    // Esc goes to reject(), as the dialog has it. A key whose work failed is taken: its error
    // is shown and the window goes on.
    bool handled = true;
    ui::guardEvent([&] { handled = FormKeyDown(event->key(), event->modifiers()); });
    if (!handled) QDialog::keyPressEvent(event);
}

void TFormSestP::closeEvent(QCloseEvent* event)
{
    m_session->close();
    QDialog::closeEvent(event);
}

void TFormSestP::reject()
{
    done(SBPrevEdit->isEnabled() ? 2 : 1);
}

void TFormSestP::done(int result)
{
    m_slicer->stop();
    m_session->close();
    QDialog::done(result);
}

int ShowReportPreview(TSestavaTyp& report, ReportRun* run, const WindowPlacement& placement, int zoomStep,
                      bool editEnabled, ReportRun::Clock clock)
{
    TFormSestP form(report, run, nullptr, std::move(clock));
    if (!placement.bounds.isEmpty()) form.setGeometry(placement.bounds);
    if (placement.windowState == 2) form.setWindowState(Qt::WindowMaximized);
    form.NastavMeritko(zoomStep);
    form.SBPrevEdit->setEnabled(editEnabled);
    return form.exec();
}

} // namespace reports
