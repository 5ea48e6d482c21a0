// The modal yes/no question window.
#include "platform/ui/YesNoDialog.h"

#include <QFrame>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

namespace ui {
namespace {

QPushButton* makeButton(QDialog* dialog, const QString& caption, QStyle::StandardPixmap glyph, const QRect& geometry,
                        int result)
{
    auto* button = new QPushButton(dialog->style()->standardIcon(glyph), caption, dialog);
    button->setGeometry(geometry);
    QObject::connect(button, &QPushButton::clicked, dialog, [dialog, result] { dialog->done(result); });
    return button;
}

} // namespace

YesNoDialog::YesNoDialog(const QString& question, QWidget* parent, Focus focus)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setWindowTitle(QStringLiteral("Dialog"));
    setFixedSize(310, 175);

    auto* bevel = new QFrame(this);
    bevel->setFrameShape(QFrame::Box);
    bevel->setFrameShadow(QFrame::Sunken);
    bevel->setGeometry(8, 8, 297, 111);

    m_memo = new QPlainTextEdit(question, this);
    m_memo->setGeometry(16, 24, 281, 81);
    m_memo->setReadOnly(true);
    QPalette memoPalette = m_memo->palette();
    memoPalette.setColor(QPalette::Base, memoPalette.color(QPalette::Button));
    m_memo->setPalette(memoPalette);
    QFont memoFont = m_memo->font();
    memoFont.setPixelSize(13);
    memoFont.setBold(true);
    m_memo->setFont(memoFont);

    m_yes = makeButton(this, QStringLiteral("&Ano"), QStyle::SP_DialogYesButton, QRect(75, 127, 75, 44), ResultYes);
    m_no = makeButton(this, QStringLiteral("&Ne"), QStyle::SP_DialogNoButton, QRect(168, 127, 75, 44), ResultNo);
    QPushButton* focused = focus == Focus::No ? m_no : m_yes;
    focused->setDefault(true);
    focused->setFocus();
}

void YesNoDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

} // namespace ui
