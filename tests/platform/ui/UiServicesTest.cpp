// The Qt services build Czech message boxes, forward status and progress and nest the busy cursor.
#include "platform/ui/QtServices.h"
#include "platform/ui/Services.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QMainWindow>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

#include <gtest/gtest.h>

// --- the Qt services, offscreen ----------------------------------------------------------

namespace {

struct BoxCase {
    const char* label;
    ui::Buttons buttons;
    ui::MsgType type;
    QStringList texts;                     // in the order offered
    const char* defaultText;               // nullptr: none
    const char* escapeText;                // nullptr: none chosen by us
    QMessageBox::Icon icon;
};

class MessageBoxTest : public ::testing::TestWithParam<BoxCase> {};

QStringList buttonTexts(const QMessageBox& box)
{
    QStringList texts;
    for (const QAbstractButton* b : box.buttons())
        texts.append(b->text());
    return texts;
}

} // namespace

TEST_P(MessageBoxTest, OffersCzechButtonsWithDefaultAndEscape)
{
    const BoxCase& c = GetParam();
    const auto box = ui::createMessageBox(QStringLiteral("Otázka"), QStringLiteral("Titulek"), c.type, c.buttons);
    QStringList texts = buttonTexts(*box);
    QStringList expected = c.texts;
    texts.sort();
    expected.sort();
    EXPECT_EQ(texts, expected);
    EXPECT_EQ(box->icon(), c.icon);
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Titulek"));
    if (c.defaultText) {
        ASSERT_NE(box->defaultButton(), nullptr);
        EXPECT_EQ(box->defaultButton()->text(), QString::fromUtf8(c.defaultText));
    }
    if (c.escapeText) {
        ASSERT_NE(box->escapeButton(), nullptr);
        EXPECT_EQ(box->escapeButton()->text(), QString::fromUtf8(c.escapeText));
    }
    // Each button answers its own modal result.
    const std::pair<const char*, ui::Answer> results[] = {
        {"Ano", ui::Answer::Yes}, {"Ne", ui::Answer::No}, {"OK", ui::Answer::Ok},
        {"Zrušit", ui::Answer::Cancel}, {"Přerušit", ui::Answer::Abort}, {"Opakovat", ui::Answer::Retry},
        {"Ignorovat", ui::Answer::Ignore}, {"Vše", ui::Answer::All},
    };
    for (const auto& [text, answer] : results)
        for (QAbstractButton* b : box->buttons())
            if (b->text() == QString::fromUtf8(text)) {
                EXPECT_EQ(ui::answerOf(*box, b), answer) << text;
            }
}

INSTANTIATE_TEST_SUITE_P(QtServices, MessageBoxTest, ::testing::Values(
    BoxCase{"YesNo", ui::YesNo, ui::MsgType::Confirmation, {"Ano", "Ne"}, "Ano", "Ne", QMessageBox::Question},
    BoxCase{"YesNoCancel", ui::YesNoCancel, ui::MsgType::Warning, {"Ano", "Ne", "Zrušit"}, "Ano", "Zrušit",
            QMessageBox::Warning},
    BoxCase{"AbortRetryIgnore", ui::AbortRetryIgnore, ui::MsgType::Error, {"Přerušit", "Opakovat", "Ignorovat"},
            "Opakovat", nullptr, QMessageBox::Critical},
    BoxCase{"NoButtonsMeansOk", 0, ui::MsgType::Custom, {"OK"}, "OK", "OK", QMessageBox::NoIcon}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(QtServices, BoxShowsPlainTextAndAnswersCancelWhenClosed)
{
    const auto box = ui::createMessageBox(QStringLiteral("Otázka <b>?</b>"), QString(), ui::MsgType::Error, ui::AbortRetryIgnore);
    EXPECT_EQ(box->text(), QStringLiteral("Otázka <b>?</b>"));
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
    EXPECT_EQ(box->windowTitle(), QGuiApplication::applicationDisplayName());
    EXPECT_EQ(ui::answerOf(*box, nullptr), ui::Answer::Cancel);
}

TEST(QtServices, ModalBoxReturnsTheButtonClicked)
{
    ui::QtServices services;
    int attempts = 0;
    QTimer clicker;
    clicker.setInterval(10);
    QObject::connect(&clicker, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(w);
            if (!box || !box->isVisible()) continue;
            // Give up after a while rather than hang the run.
            if (++attempts > 200) { box->reject(); return; }
            for (QAbstractButton* b : box->buttons())
                if (b->text() == u"Ne") b->click();
        }
    });
    clicker.start();
    EXPECT_EQ(services.messageBox(QStringLiteral("Smazat?"), QString(), ui::MsgType::Confirmation, ui::YesNoCancel),
              ui::Answer::No);
    EXPECT_FALSE(services.question(QStringLiteral("Znovu?")));
}

TEST(QtServices, StatusGoesToCallbackElseToTheMainWindow)
{
    ui::QtServices services;
    services.setStatusText(QStringLiteral("nikam"));

    auto window = std::make_unique<QMainWindow>();
    services.setMainWindow(window.get());
    services.setStatusText(QStringLiteral("Načítám oddělení 12"));
    EXPECT_EQ(window->statusBar()->currentMessage(), QStringLiteral("Načítám oddělení 12"));

    QStringList seen;
    services.setStatusCallback([&](const QString& t) { seen.append(t); });
    services.setStatusText(QStringLiteral("hotovo"));
    EXPECT_EQ(seen, QStringList{"hotovo"});
    EXPECT_EQ(window->statusBar()->currentMessage(), QStringLiteral("Načítám oddělení 12"));

    services.setStatusCallback({});
    window.reset();
    services.setStatusText(QStringLiteral("okno je pryč"));
}

TEST(QtServices, ProgressShowsOnTheBarAndMaximumZeroHidesIt)
{
    ui::QtServices services;
    QWidget parent;
    auto* bar = new QProgressBar(&parent);
    services.setProgressBar(bar);
    parent.show();

    services.setProgress(3, 10);
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->maximum(), 10);
    EXPECT_EQ(bar->value(), 3);
    services.setProgress(15, 10);
    EXPECT_EQ(bar->value(), 10);
    services.setProgress(0, 0);
    EXPECT_FALSE(bar->isVisible());

    std::vector<std::pair<int, int>> seen;
    services.setProgressCallback([&](int p, int m) { seen.emplace_back(p, m); });
    services.setProgress(1, 2);
    EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{{1, 2}}));
    EXPECT_FALSE(bar->isVisible());
}

TEST(QtServices, WaitCursorNestsAndNeverOverRestores)
{
    ASSERT_EQ(QGuiApplication::overrideCursor(), nullptr);
    {
        ui::QtServices services;
        services.setWaitCursor(true);
        services.setWaitCursor(true);
        ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        services.setWaitCursor(false);
        EXPECT_NE(QGuiApplication::overrideCursor(), nullptr);
        services.setWaitCursor(false);
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

        // A stray release must not pop a cursor someone else set.
        QGuiApplication::setOverrideCursor(Qt::CrossCursor);
        services.setWaitCursor(false);
        EXPECT_NE(QGuiApplication::overrideCursor(), nullptr);
        QGuiApplication::restoreOverrideCursor();

        services.setWaitCursor(true);
        EXPECT_EQ(services.waitDepth(), 1);
    }
    // Destroying the services gives back what they still held.
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}
