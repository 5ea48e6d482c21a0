// A long scripted report, a fake printer system and windows for the preview tests.
#pragma once

#include "platform/ui/Services.h"
#include "reports/engine/ReportRun.h"
#include "reports/model/PageSettings.h"
#include "reports/preview/FormSestP.h"
#include "reports/preview/PrintDialog.h"
#include "reports/preview/ReportPanels.h"
#include "reports/support/FakePrinter.h"
#include "reports/support/ListReport.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace reports::test {

// Notes the record a run began on and goes back to it when stopped.
class PreviewReport : public ListReport
{
public:
    int saved = -1;
    int restored = 0;
    void SaveDataPosition() override { saved = current; }
    void RestoreDataPosition() override
    {
        current = saved;
        ++restored;
    }
};

class FlagProgress : public RunProgress
{
public:
    explicit FlagProgress(const bool& flag) : m_flag(flag) {}
    void setRecord(int) override {}
    bool aborted() const override { return m_flag; }

private:
    const bool& m_flag;
};

// Progress windows whose "Přerušit" is one flag of the test.
class FlagWindows : public ReportWindows
{
public:
    bool abort = false;
    int showPreview(TSestavaTyp&, ReportRun*, const WindowPlacement&, int) override { return 0; }
    int showDesigner(TSestavaTyp&, const WindowPlacement&) override { return 0; }
    std::unique_ptr<RunProgress> createProgress(TSestavaTyp&) override { return std::make_unique<FlagProgress>(abort); }
    QString chooseTemplateFile(const QString&) override { return {}; }
};

// Clicks the preview's "Tisk sestavy"; in the print dialog it opens, `choose` sets the dialog
// up, then "Tisk" is clicked.
inline void printThroughDialog(TFormSestP& form, std::function<void(TSestPrintDlg&)> choose)
{
    QTimer::singleShot(0, [choose] {
        auto* dialog = dynamic_cast<TSestPrintDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        choose(*dialog);
        dialog->BtnPrint->click();
    });
    form.SBPrevTisk->click();
}

// 10 000 records, 13 bodies a page: 770 pages, each foot "str. n" and the page count.
class PreviewFixture : public ::testing::Test
{
protected:
    static constexpr int records = 10000;
    static constexpr int pages = 770;

    void SetUp() override
    {
        resetPageSettings();
        ui::setServices(&m_ui);
        setReportWindows(&m_windows);
        m_laser = &m_printers.add(QStringLiteral("laser"));
        m_needle = &m_printers.add(QStringLiteral("jehlicka"));
        m_needle->textOnly = true;
        setPrinterSystem(&m_printers);
        for (int i = 0; i < records; ++i) m_report.rows << QStringList{QString::number(i + 1)};
        const auto text = [](const QString& tag, int kind, int ref, int left, int width, const QString& value) {
            return QStringLiteral("%1,%2,%3,%4,0,%5,17,Arial,10,0,0,0,0,238,\"%6\",0")
                .arg(tag).arg(kind).arg(ref).arg(left).arg(width).arg(value);
        };
        m_report.setTemplate({QStringLiteral("I,2,0,826,440,50,50,70,70,1,0"), QStringLiteral("I,3,2,1,20,0"),
                              QStringLiteral("I,3,4,1,30,0"), text(QStringLiteral("T"), 2, 0, 0, 100, QString()),
                              text(QStringLiteral("P"), 5, 3, 0, 300, QStringLiteral("str. %d")),
                              text(QStringLiteral("P"), 5, 4, 400, 50, QString())});
    }
    void TearDown() override
    {
        setPrinterSystem(nullptr);
        setReportWindows(nullptr);
        ui::setServices(nullptr);
        resetPageSettings();
    }
    // A fake clock: every reading is one millisecond later.
    ReportRun::Clock clock()
    {
        return [this] { return m_now++; };
    }
    // The run begun as the component's preview begins it.
    std::unique_ptr<ReportRun> startRun()
    {
        auto run = m_report.StartRun();
        run->runToPage(m_report.StartPage);
        return run;
    }

    ui::RecordingServices m_ui;
    FlagWindows m_windows;
    FakePrinterSystem m_printers;
    FakePrinter* m_laser = nullptr;
    FakePrinter* m_needle = nullptr;
    PreviewReport m_report;
    std::int64_t m_now = 0;
};

} // namespace reports::test
