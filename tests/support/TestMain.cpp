// Test entry point: a QApplication on the offscreen platform, a recording UI, fixed settings.
#include "platform/text/Numbers.h"
#include "platform/ui/Services.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    txt::setDecimalSeparator(QLatin1Char(','));
    ui::RecordingServices recorder;
    ui::setServices(&recorder);
    ::testing::InitGoogleTest(&argc, argv);
    const int rc = RUN_ALL_TESTS();
    ui::setServices(nullptr);
    return rc;
}
