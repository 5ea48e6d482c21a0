// The progress window of a report run or print and the designer's wait window.
#include "reports/preview/InfoWindow.h"

#include <QApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

namespace reports {

namespace {

void centreOnScreen(QWidget& window)
{
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = window.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window.move(frame.topLeft());
    }
}

// The one wait window; it has no owner and SkryjLogo frees it (the designer's opening hides
// it on every path, before the application ends).
std::unique_ptr<QFrame>& logo()
{
    static std::unique_ptr<QFrame> window;
    return window;
}

} // namespace

TFormInfo::TFormInfo(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setWindowTitle(QStringLiteral("Informace"));
    setFixedSize(275, 104);
    LabelText = new QLabel(this);
    LabelText->setGeometry(8, 16, 259, 32);
    LabelText->setAlignment(Qt::AlignCenter);
    Button1 = new QPushButton(QStringLiteral("Přerušit"), this);
    Button1->setGeometry(100, 64, 75, 25);
    connect(Button1, &QPushButton::clicked, this, [this] { Preruseno = true; });
}

void TFormInfo::showText(const QString& text)
{
    LabelText->setText(text);
    if (!isVisible()) {
        centreOnScreen(*this);
        show();
    }
    repaint();
}

void TFormInfo::ZobrazPolozku(int number)
{
    showText(QStringLiteral("Připravuji tisk položky číslo: ") + QString::number(number));
}

void TFormInfo::ZobrazOdesilani()
{
    showText(QStringLiteral("Odesílám data do tiskárny ..."));
}

void ZobrazLogo()
{
    if (logo()) return;
    logo() = std::make_unique<QFrame>(nullptr, Qt::FramelessWindowHint | Qt::Tool);
    QFrame* window = logo().get();
    window->setFrameStyle(QFrame::Panel | QFrame::Raised);
    window->setFixedSize(250, 96);
    auto* image = new QLabel(window);
    image->setPixmap(window->style()->standardIcon(QStyle::SP_FileDialogDetailedView).pixmap(48, 48));
    image->setGeometry(12, 24, 48, 48);
    auto* first = new QLabel(QStringLiteral("Čekejte prosím,"), window);
    first->setGeometry(72, 28, 170, 18);
    auto* second = new QLabel(QStringLiteral("připravuji editační modul..."), window);
    second->setGeometry(72, 50, 170, 18);
    centreOnScreen(*window);
    window->show();
    window->repaint();
}

void SkryjLogo()
{
    logo().reset();
}

QWidget* logoWindow()
{
    return logo().get();
}

} // namespace reports
