// The template designer's window.
#include "reports/designer/form/DesignerWindow.h"

#include "platform/ui/Services.h"
#include "reports/model/ReportTables.h"
#include "reports/preview/ReportPanels.h"

#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <cmath>

namespace reports::designer {

namespace {

constexpr int initialZoomStep = 6;
constexpr int scrollIncrement = 16;

struct ButtonText {
    const char* name;
    const char* caption;   // shown when the icon theme has no icon
    const char* hint;
    const char* icon;      // freedesktop icon name
};

TSestButton* toolBarButton(QWidget* parent, const ButtonText& text)
{
    auto* button = new TSestButton(parent);
    button->setObjectName(QString::fromLatin1(text.name));
    button->setText(QString::fromUtf8(text.caption));
    button->setToolTip(QString::fromUtf8(text.hint));
    button->setIcon(QIcon::fromTheme(QString::fromLatin1(text.icon)));
    parent->layout()->addWidget(button);
    return button;
}

// The direction of an arrow key; (0, 0) for any other key.
QPoint arrowDirection(int key)
{
    switch (key) {
    case Qt::Key_Left: return {-1, 0};
    case Qt::Key_Right: return {1, 0};
    case Qt::Key_Up: return {0, -1};
    case Qt::Key_Down: return {0, 1};
    default: return {};
    }
}

} // namespace

DesignerWindow::DesignerWindow(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormSestE"));
    setWindowTitle(QStringLiteral("Oprava předlohy tiskové sestavy"));
    setWindowFlags(Qt::Window | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    buildToolBar();
    m_tools = new ElementToolPanel(this);
    m_objects = new ObjectToolbar(this);
    ScrollBox = new QScrollArea(this);
    ScrollBox->setObjectName(QStringLiteral("ScrollBox"));
    ScrollBox->setBackgroundRole(QPalette::Dark);
    ScrollBox->horizontalScrollBar()->setSingleStep(scrollIncrement);
    ScrollBox->verticalScrollBar()->setSingleStep(scrollIncrement);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(1);
    column->addWidget(PanelTool);
    column->addWidget(m_tools);
    column->addWidget(m_objects);
    column->addWidget(ScrollBox, 1);
    buildMenu();
    enableElementControls(false);
    for (QWidget* control : std::initializer_list<QWidget*>{SBUndo1, SBRedo1}) control->setEnabled(false);
    PmUndo->setEnabled(false);
    PmRedo->setEnabled(false);
    setPasteState(false, false);
    // Keys reach the window before the control that has the focus (the form's key preview).
    qApp->installEventFilter(this);
}

DesignerWindow::~DesignerWindow()
{
    qApp->removeEventFilter(this);
}

void DesignerWindow::buildToolBar()
{
    PanelTool = new QWidget(this);
    PanelTool->setObjectName(QStringLiteral("PanelTool"));
    auto* row = new QHBoxLayout(PanelTool);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(1);
    const auto make = [this](const ButtonText& text) { return toolBarButton(PanelTool, text); };
    SBNova1 = make({"SBNova1", "Nová", "Nová předloha", "document-new"});
    SBUloz1 = make({"SBUloz1", "Uložit", "Uložit předlohu", "document-save"});
    SBPreview1 = make({"SBPreview1", "Ukázka", "Ukázka před tiskem", "document-print-preview"});
    SBTisk1 = make({"SBTisk1", "Tisk", "Tisknout sestavu", "document-print"});
    row->addSpacing(6);
    SBMazat = make({"SBMazat", "Vymazat", "Vymazat prvek", "edit-delete"});
    SBCut = make({"SBCut", "Vyjmout", "Vystřihnout", "edit-cut"});
    SBCopy = make({"SBCopy", "Kopie", "Kopírovat", "edit-copy"});
    SBPaste = make({"SBPaste", "Vložit", "Vložit", "edit-paste"});
    SBUndo1 = make({"SBUndo1", "Zpět", "Zrušit", "edit-undo"});
    SBRedo1 = make({"SBRedo1", "Znovu", "Zpět", "edit-redo"});
    SBKonfPrv = make({"SBKonfPrv", "Prvek", "Nastavit prvek", "document-properties"});
    row->addSpacing(6);
    SBSestNast1 = make({"SBSestNast1", "Předloha", "Nastavit předlohu", "document-page-setup"});
    SBKonfig1 = make({"SBKonfig1", "Prostředí", "Nastavit prostředí", "preferences-system"});
    SBKonec1 = make({"SBKonec1", "Konec", "Ukončit opravu předlohy", "application-exit"});
    SBPaste->setCheckable(true);

    CBMeritka1 = new QComboBox(PanelTool);
    CBMeritka1->setObjectName(QStringLiteral("CBMeritka1"));
    for (const float factor : ZoomSteps) CBMeritka1->addItem(QStringLiteral("%1 %").arg(std::lround(factor * 100)));
    CBMeritka1->setCurrentIndex(initialZoomStep);
    row->addSpacing(6);
    row->addWidget(CBMeritka1);
    row->addSpacing(6);
    BtnF1 = make({"BtnF1", "|<", "První záznam", "go-first"});
    BtnP1 = make({"BtnP1", "<", "Předchozí záznam", "go-previous"});
    BtnN1 = make({"BtnN1", ">", "Další záznam", "go-next"});
    BtnL1 = make({"BtnL1", ">|", "Poslední záznam", "go-last"});
    row->addStretch(1);

    const std::pair<TSestButton*, void (DesignerWindow::*)()> actions[] = {
        {SBNova1, &DesignerWindow::newRequested},        {SBUloz1, &DesignerWindow::saveRequested},
        {SBPreview1, &DesignerWindow::previewRequested}, {SBTisk1, &DesignerWindow::printRequested},
        {SBMazat, &DesignerWindow::deleteRequested},     {SBCut, &DesignerWindow::cutRequested},
        {SBCopy, &DesignerWindow::copyRequested},        {SBPaste, &DesignerWindow::pasteRequested},
        {SBUndo1, &DesignerWindow::undoRequested},       {SBRedo1, &DesignerWindow::redoRequested},
        {SBKonfPrv, &DesignerWindow::elementDialogRequested},
        {SBSestNast1, &DesignerWindow::settingsRequested},
        {SBKonfig1, &DesignerWindow::editorSettingsRequested}, {SBKonec1, &DesignerWindow::closeRequested},
    };
    for (const auto& [button, signal] : actions) connect(button, &QToolButton::clicked, this, signal);
    int command = 1;
    for (TSestButton* button : {BtnF1, BtnP1, BtnN1, BtnL1}) {
        button->setCommand(command++);
        connect(button, &QToolButton::clicked, this, [this, button] { emit dataStepRequested(button->command() - 1); });
    }
    connect(CBMeritka1, &QComboBox::activated, this, &DesignerWindow::zoomStepChosen);
}

void DesignerWindow::buildMenu()
{
    PopupMenuFunkci = new QMenu(this);
    PopupMenuFunkci->setObjectName(QStringLiteral("PopupMenuFunkci"));
    const auto add = [this](QMenu* menu, const QString& text, void (DesignerWindow::*signal)()) {
        return menu->addAction(text, this, signal);
    };
    add(PopupMenuFunkci, QStringLiteral("Nová předloha"), &DesignerWindow::newRequested);
    add(PopupMenuFunkci, QStringLiteral("Uložit předlohu"), &DesignerWindow::saveRequested);
    add(PopupMenuFunkci, QStringLiteral("Uložit předlohu jako..."), &DesignerWindow::saveAsRequested);
    QMenu* edits = PopupMenuFunkci->addMenu(QStringLiteral("Úpravy"));
    PmMazat = add(edits, QStringLiteral("Výmaz prvku"), &DesignerWindow::deleteRequested);
    PmUndo = add(edits, QStringLiteral("Zrušit změny"), &DesignerWindow::undoRequested);
    PmRedo = add(edits, QStringLiteral("Znovu změny"), &DesignerWindow::redoRequested);
    VyrovnatVse = add(edits, QStringLiteral("Vyrovnat vše do rastru"), &DesignerWindow::snapAllRequested);
    VyrovnatVybrane = add(edits, QStringLiteral("Vyrovnat vybrané"), &DesignerWindow::snapSelectedRequested);
    add(PopupMenuFunkci, QStringLiteral("Náhled sestavy"), &DesignerWindow::previewRequested);
    add(PopupMenuFunkci, QStringLiteral("Tisk sestavy"), &DesignerWindow::printRequested);
    add(PopupMenuFunkci, QStringLiteral("Nastavení předlohy..."), &DesignerWindow::settingsRequested);
    add(PopupMenuFunkci, QStringLiteral("Nastavení prostředí..."), &DesignerWindow::editorSettingsRequested);
    add(PopupMenuFunkci, QStringLiteral("Konec oprav"), &DesignerWindow::closeRequested);
    for (auto [action, name] : {std::pair{PmMazat, "PmMazat"}, {PmUndo, "PmUndo"}, {PmRedo, "PmRedo"},
                                {VyrovnatVse, "VyrovnatVse"}, {VyrovnatVybrane, "VyrovnatVybrane"}})
        action->setObjectName(QString::fromLatin1(name));
}

void DesignerWindow::setPaper(QWidget* paper)
{
    ScrollBox->setWidget(paper);
    m_paper = paper;
}

void DesignerWindow::updateCaption(const QString& description, const QString& templateFile)
{
    setWindowTitle(QStringLiteral("Oprava předlohy tiskové sestavy - %1 (%2)").arg(description, templateFile));
}

void DesignerWindow::setZoomStep(int step)
{
    const QSignalBlocker quiet(CBMeritka1);
    CBMeritka1->setCurrentIndex(step);
}

int DesignerWindow::zoomStep() const
{
    return CBMeritka1->currentIndex();
}

void DesignerWindow::setDataFlags(int flags)
{
    const bool atFirst = flags & 1;
    const bool atLast = flags & 2;
    BtnF1->setEnabled(!atFirst);
    BtnP1->setEnabled(!atFirst);
    BtnN1->setEnabled(!atLast);
    BtnL1->setEnabled(!atLast);
}

void DesignerWindow::setPrintEnabled(bool enabled)
{
    SBTisk1->setEnabled(enabled);
}

void DesignerWindow::showElementProperties(const ElementProperties& element)
{
    m_objects->showProperties(element);
    enableElementControls(true);
}

void DesignerWindow::enableElementControls(bool enabled)
{
    m_objects->enableControls(enabled);
    for (QWidget* control : std::initializer_list<QWidget*>{SBMazat, SBKonfPrv, SBCut, SBCopy})
        control->setEnabled(enabled);
    PmMazat->setEnabled(enabled);
    VyrovnatVybrane->setEnabled(enabled);
}

void DesignerWindow::setUndoState(bool canUndo, const QString& undoHint, bool canRedo, const QString& redoHint)
{
    SBUndo1->setEnabled(canUndo);
    PmUndo->setEnabled(canUndo);
    SBUndo1->setToolTip(undoHint);
    SBRedo1->setEnabled(canRedo);
    PmRedo->setEnabled(canRedo);
    SBRedo1->setToolTip(redoHint);
}

void DesignerWindow::setPasteState(bool enabled, bool pasteMode)
{
    SBPaste->setEnabled(enabled);
    SBPaste->setChecked(pasteMode);
}

void DesignerWindow::closeWindow(int result)
{
    m_mayClose = true;
    done(result);
    m_mayClose = false;
}

void DesignerWindow::reject()
{
    if (m_mayClose)
        QDialog::reject();
    else
        emit closeRequested();
}

void DesignerWindow::contextMenuEvent(QContextMenuEvent* event)
{
    PopupMenuFunkci->popup(event->globalPos());
}

bool DesignerWindow::paperHasFocus() const
{
    // The window's focus child, also while the window is not the active one.
    const QWidget* focus = focusWidget();
    return m_paper && focus && (focus == m_paper || m_paper->isAncestorOf(focus));
}

bool DesignerWindow::windowKey(const QKeyEvent& key)
{
    if (key.key() == Qt::Key_Escape) {
        emit closeRequested();
        return true;
    }
    return key.key() == Qt::Key_F1;   // there is no help file
}

bool DesignerWindow::paperKey(const QKeyEvent& key)
{
    const Qt::KeyboardModifiers held =
        key.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    const bool shiftOrCtrl = held & (Qt::ShiftModifier | Qt::ControlModifier);
    const auto fire = [this](void (DesignerWindow::*signal)()) {
        emit(this->*signal)();
        return true;
    };
    switch (key.key()) {
    case Qt::Key_Delete: return fire(held & Qt::ShiftModifier ? &DesignerWindow::cutRequested : &DesignerWindow::deleteRequested);
    case Qt::Key_C: return shiftOrCtrl && fire(&DesignerWindow::copyRequested);
    case Qt::Key_V: return shiftOrCtrl && fire(&DesignerWindow::pasteRequested);
    case Qt::Key_X: return shiftOrCtrl && fire(&DesignerWindow::cutRequested);
    case Qt::Key_Insert:
        if (held == Qt::ControlModifier) return fire(&DesignerWindow::copyRequested);
        return held == Qt::ShiftModifier && fire(&DesignerWindow::pasteRequested);
    case Qt::Key_Z:
        if (held == Qt::ControlModifier) return fire(&DesignerWindow::undoRequested);
        return held == (Qt::ControlModifier | Qt::ShiftModifier) && fire(&DesignerWindow::redoRequested);
    case Qt::Key_Backspace:
        if (held == Qt::AltModifier) return fire(&DesignerWindow::undoRequested);
        return held == (Qt::AltModifier | Qt::ShiftModifier) && fire(&DesignerWindow::redoRequested);
    default: break;
    }
    const QPoint direction = arrowDirection(key.key());
    if (direction.isNull()) return false;
    if (held == (Qt::ControlModifier | Qt::ShiftModifier)) emit keyMove(direction.x(), direction.y(), false, true);
    else if (held == Qt::ControlModifier) emit keyMove(direction.x(), direction.y(), false, false);
    else if (held == Qt::ShiftModifier) emit keyMove(direction.x(), direction.y(), true, false);
    else return false;
    return true;
}

bool DesignerWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
    const auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this) return false;
    const auto& key = static_cast<const QKeyEvent&>(*event);
    bool handled = true;   // a key whose edit failed is not passed on
    ui::guardEvent([&] { handled = windowKey(key) || (paperHasFocus() && paperKey(key)); });
    return handled;
}

} // namespace reports::designer
