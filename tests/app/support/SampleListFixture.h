// Tests over the computed sample list: the sample program directory with the list's template,
// recorded services, and the report windows on the Qt printers.
#pragma once

#include "app/support/SampleList.h"
#include "platform/files/Files.h"
#include "platform/ui/Services.h"
#include "reports/preview/PreviewWindows.h"
#include "reports/print/QtPrinter.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace testapp {

class SampleListTest : public ::testing::Test
{
protected:
    // A derived SetUp goes on only when !HasFatalFailure().
    void SetUp() override
    {
        ASSERT_TRUE(m_program.isValid());
        m_previousServices = &ui::services();
        ui::setServices(&m_recorder);
        const QString table = computeSampleList(m_program.path());
        ASSERT_FALSE(table.isEmpty());
        m_recorder.clear();
        files::setProgramDirectory(m_program.path());
        m_template = m_program.filePath(QStringLiteral("sevran.pts"));
        ASSERT_TRUE(QFile::copy(QStringLiteral(GENKLAS_GOLDEN_DIR "/../../data/sevran.pts"), m_template));
        m_dataDir = files::extractFilePath(table);
        m_windows = reports::installReportWindows(m_printers);
    }
    void TearDown() override
    {
        m_windows.reset();
        files::setProgramDirectory(QString());
        ui::setServices(m_previousServices);
    }

    QTemporaryDir m_program;
    QString m_template;   // sevran.pts beside the program
    QString m_dataDir;    // the directory of the computed TGENKL.DB
    ui::RecordingServices m_recorder;
    ui::Services* m_previousServices = nullptr;
    reports::QtPrinterSystem m_printers;
    std::unique_ptr<reports::PreviewWindows> m_windows;
};

} // namespace testapp
