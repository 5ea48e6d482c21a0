// Message boxes with Czech buttons, status and progress forwarding, busy cursor.
#include "platform/ui/QtServices.h"

#include "platform/ui/YesNoDialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>

#include <algorithm>

namespace ui {
namespace {

struct ButtonInfo {
    Button button;
    QMessageBox::StandardButton standard;
    Answer answer;
    const char16_t* text;
};

// In the order the buttons are offered.
constexpr ButtonInfo buttonTable[] = {
    {Yes, QMessageBox::Yes, Answer::Yes, u"Ano"},
    {No, QMessageBox::No, Answer::No, u"Ne"},
    {Ok, QMessageBox::Ok, Answer::Ok, u"OK"},
    {Cancel, QMessageBox::Cancel, Answer::Cancel, u"Zrušit"},
    {Abort, QMessageBox::Abort, Answer::Abort, u"Přerušit"},
    {Retry, QMessageBox::Retry, Answer::Retry, u"Opakovat"},
    {Ignore, QMessageBox::Ignore, Answer::Ignore, u"Ignorovat"},
    {All, QMessageBox::YesToAll, Answer::All, u"Vše"},
};
static_assert(std::size(buttonTable) == 8);

QMessageBox::Icon iconOf(MsgType type)
{
    switch (type) {
    case MsgType::Warning: return QMessageBox::Warning;
    case MsgType::Error: return QMessageBox::Critical;
    case MsgType::Information: return QMessageBox::Information;
    case MsgType::Confirmation: return QMessageBox::Question;
    case MsgType::Custom: return QMessageBox::NoIcon;
    }
    return QMessageBox::NoIcon;
}

// The first of `candidates` that the box offers, nullptr when none.
QAbstractButton* firstOffered(const QMessageBox& box, std::initializer_list<QMessageBox::StandardButton> candidates)
{
    for (const QMessageBox::StandardButton standard : candidates)
        if (QAbstractButton* b = box.button(standard)) return b;
    return nullptr;
}

} // namespace

std::unique_ptr<QMessageBox> createMessageBox(const QString& text, const QString& caption, MsgType type,
                                              Buttons buttons, QWidget* parent)
{
    auto box = std::make_unique<QMessageBox>(parent);
    box->setIcon(iconOf(type));
    box->setTextFormat(Qt::PlainText);
    box->setText(text);
    box->setWindowTitle(caption.isEmpty() ? QGuiApplication::applicationDisplayName() : caption);
    if ((buttons & 0xFFu) == 0) buttons = Ok;
    for (const ButtonInfo& info : buttonTable)
        if (buttons & info.button) box->addButton(info.standard)->setText(QString::fromUtf16(info.text));

    if (QAbstractButton* b = firstOffered(*box, {QMessageBox::Ok, QMessageBox::Yes, QMessageBox::Retry}))
        box->setDefaultButton(qobject_cast<QPushButton*>(b));
    if (QAbstractButton* b = firstOffered(*box, {QMessageBox::Cancel, QMessageBox::No, QMessageBox::Ok}))
        box->setEscapeButton(b);
    return box;
}

Answer answerOf(const QMessageBox& box, const QAbstractButton* clicked)
{
    if (!clicked) return Answer::Cancel;
    const QMessageBox::StandardButton standard = box.standardButton(const_cast<QAbstractButton*>(clicked));
    for (const ButtonInfo& info : buttonTable)
        if (info.standard == standard) return info.answer;
    return Answer::Cancel;
}

QtServices::~QtServices()
{
    if (!QGuiApplication::instance()) return;
    for (; m_waitDepth > 0; --m_waitDepth)
        QGuiApplication::restoreOverrideCursor();
}

void QtServices::setDialogParent(QWidget* parent)
{
    m_dialogParent = parent;
}

void QtServices::setMainWindow(QMainWindow* window)
{
    m_mainWindow = window;
}

void QtServices::setProgressBar(QProgressBar* bar)
{
    m_progressBar = bar;
}

QWidget* QtServices::dialogParent() const
{
    if (m_dialogParent) return m_dialogParent;
    if (m_mainWindow) return m_mainWindow;
    return QApplication::activeWindow();
}

Answer QtServices::messageBox(const QString& text, const QString& caption, MsgType type, Buttons buttons)
{
    const std::unique_ptr<QMessageBox> box = createMessageBox(text, caption, type, buttons, dialogParent());
    box->exec();
    return answerOf(*box, box->clickedButton());
}

bool QtServices::askYesNo(const QString& question)
{
    YesNoDialog dialog(question, dialogParent());
    return dialog.exec() == YesNoDialog::ResultYes;
}

bool QtServices::askBeforeDeleting(const QString& question)
{
    YesNoDialog dialog(question, dialogParent(), YesNoDialog::Focus::No);
    return dialog.exec() == YesNoDialog::ResultYes;
}

void QtServices::setStatusText(const QString& text)
{
    if (m_statusCallback) {
        m_statusCallback(text);
        return;
    }
    if (m_mainWindow) m_mainWindow->statusBar()->showMessage(text);
}

void QtServices::setProgress(int position, int maximum)
{
    if (m_progressCallback) {
        m_progressCallback(position, maximum);
        return;
    }
    if (!m_progressBar) return;
    if (maximum <= 0) {
        m_progressBar->reset();
        m_progressBar->hide();
        return;
    }
    m_progressBar->setRange(0, maximum);
    m_progressBar->setValue(std::clamp(position, 0, maximum));
    m_progressBar->show();
}

void QtServices::processEvents()
{
    if (QCoreApplication::instance()) QCoreApplication::processEvents();
}

void QtServices::beep()
{
    QApplication::beep();
}

void QtServices::setWaitCursor(bool on)
{
    if (on) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        ++m_waitDepth;
    } else if (m_waitDepth > 0) {
        QGuiApplication::restoreOverrideCursor();
        --m_waitDepth;
    }
}

} // namespace ui
