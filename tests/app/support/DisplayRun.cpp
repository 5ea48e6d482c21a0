// Runs one test of this binary again on the xcb platform of a virtual X server.
#include "app/support/DisplayRun.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

namespace testapp {

void expectPassesOnDisplay(const QString& test)
{
    if (!qEnvironmentVariableIsEmpty("GENKLAS_TEST_PLATFORM")) GTEST_SKIP() << "already on a test display";
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (xvfb.isEmpty()) GTEST_SKIP() << "Xvfb is not installed: the run on a real X display is skipped";
    QProcess server;
    // Xvfb takes the first free display number itself and writes it to its output.
    server.start(xvfb, {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-nolisten"),
                        QStringLiteral("tcp"), QStringLiteral("-screen"), QStringLiteral("0"),
                        QStringLiteral("1600x1000x24")});
    struct Stop {
        QProcess& p;
        ~Stop()
        {
            p.terminate();
            if (!p.waitForFinished(5000)) {
                p.kill();
                p.waitForFinished(5000);
            }
        }
    } stop{server};
    ASSERT_TRUE(server.waitForStarted(10000));
    QByteArray display;
    QElapsedTimer clock;
    clock.start();
    while (!display.endsWith('\n') && clock.elapsed() < 20000 && server.state() == QProcess::Running) {
        server.waitForReadyRead(500);
        display += server.readAllStandardOutput();
    }
    ASSERT_TRUE(display.endsWith('\n')) << "Xvfb gave no display: " << server.readAllStandardError().toStdString();

    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), QLatin1Char(':') + QString::fromLatin1(display.trimmed()));
    env.insert(QStringLiteral("GENKLAS_TEST_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=") + test});
    const bool ended = child.waitForFinished(240000);
    if (!ended) {
        child.kill();
        child.waitForFinished(5000);
    }
    const QString output = QString::fromLocal8Bit(child.readAll());
    ASSERT_TRUE(ended) << "the run on the display did not end:\n" << output.toStdString();
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("[  PASSED  ] 1 test"))) << output.toStdString();
}

} // namespace testapp
