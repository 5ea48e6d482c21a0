// Test entry point: a QApplication on the offscreen platform, a recording UI, fixed settings.
#include "platform/text/Numbers.h"
#include "platform/ui/Services.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // Offscreen unless a test runs itself again on a display it started.
    const QByteArray platform = qgetenv("GENKLAS_TEST_PLATFORM");
    qputenv("QT_QPA_PLATFORM", platform.isEmpty() ? QByteArray("offscreen") : platform);
    QApplication app(argc, argv);
    txt::setDecimalSeparator(QLatin1Char(','));
    ui::RecordingServices recorder;
    ui::setServices(&recorder);
    ::testing::InitGoogleTest(&argc, argv);
    const int rc = RUN_ALL_TESTS();
    ui::setServices(nullptr);
    return rc;
}
