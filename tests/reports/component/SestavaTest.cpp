// The report component: file names, template loading and saving, checks, data-set care,
// printing and the flows of its operations.
#include "reports/component/Sestava.h"

#include "platform/db/MemoryDataSet.h"
#include "platform/files/Files.h"
#include "platform/ui/Services.h"
#include "reports/engine/ReportRun.h"
#include "reports/expressions/OperandHost.h"
#include "reports/model/PageSettings.h"
#include "reports/model/TemplateFile.h"
#include "reports/output/Printer.h"
#include "reports/support/FakePrinter.h"
#include "reports/support/FixedMeasurer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using namespace reports;

// Windows that record what was opened.
class FakeWindows : public ReportWindows
{
public:
    QStringList opened;
    int previewResult = 0;
    int pagesSeen = -1;
    int showPreview(TSestavaTyp& report, ReportRun* run, const WindowPlacement&, int zoomStep) override
    {
        while (run && !run->runSlice(1000)) {}
        opened << QStringLiteral("preview %1").arg(zoomStep);
        pagesSeen = report.Output.PageCount();
        return previewResult;
    }
    int showDesigner(TSestavaTyp&, const WindowPlacement&) override
    {
        opened << QStringLiteral("designer");
        return 2;
    }
    std::unique_ptr<RunProgress> createProgress(TSestavaTyp&) override { return nullptr; }
    QString chooseTemplateFile(const QString&) override { return {}; }
};

class SestavaTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        resetPageSettings();
        files::setProgramDirectory(m_dir.path());
        m_ui.clear();
        ui::setServices(&m_ui);
        setReportWindows(&m_windows);
        m_report.setMeasurer(&m_measurer);
        m_report.SetReportName(QStringLiteral("seznam"));
        m_source.SetDataSet(&m_data);
        m_report.SetDataSource(&m_source);
        m_report.OnError = [this](TSestava&, int status) {
            m_errors << status;
            return true;
        };
        m_report.AfterPreview = [this](TSestava&) { m_events << QStringLiteral("after preview"); };
    }
    void TearDown() override
    {
        setReportWindows(nullptr);
        setPrinterSystem(nullptr);
        ui::setServices(nullptr);
        files::setProgramDirectory(QString());
        resetPageSettings();
    }

    QString path(const QString& name) const { return m_dir.path() + u'/' + name; }
    void writeTemplate(const QStringList& lines) const
    {
        QFile f(path(QStringLiteral("seznam.pts")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(TemplateBytes(lines));
    }
    static QStringList bodyTemplate()
    {
        return {QStringLiteral("I,3,2,1,20,0"), QStringLiteral("T,2,NAME,0,0,200,17,Arial,10,0,0,0,0,238,\"\",0")};
    }

    QTemporaryDir m_dir;
    ui::RecordingServices m_ui;
    FakeWindows m_windows;
    reports::test::FixedMeasurer m_measurer;
    ::test::MemoryDataSet m_data{::test::numberedDefs(), ::test::numberedRows(5)};
    db::DataSource m_source;
    TSestava m_report;
    QList<int> m_errors;
    QStringList m_events;
};

TEST_F(SestavaTest, FileNamePropertiesFollowTheirRules)
{
    m_report.SetReportName(QStringLiteral("a.txt"));
    EXPECT_EQ(m_report.ReportName(), QStringLiteral("a.pts"));
    m_report.SetReportAlias(QStringLiteral("LHP"));
    m_report.SetReportDir(QStringLiteral("C:\\Sestavy"));
    EXPECT_EQ(m_report.ReportDir(), QStringLiteral("C:\\Sestavy\\"));
    EXPECT_TRUE(m_report.ReportAlias().isEmpty());
    // At run time the program's directory, whatever ReportDir says.
    EXPECT_EQ(m_report.ResolveFileName(), m_dir.path() + QStringLiteral("/a.pts"));
    m_report.ReportDirIgnore = false;
    EXPECT_EQ(m_report.ResolveFileName(), QStringLiteral("C:\\Sestavy\\a.pts"));
}

TEST_F(SestavaTest, PreviewRunsOnTheDataAndRestoresItsPosition)
{
    writeTemplate(bodyTemplate());
    m_data.Open();
    m_data.MoveBy(2);
    EXPECT_EQ(m_report.PreviewEx({}, 83), 0);
    EXPECT_EQ(m_windows.opened, QStringList{QStringLiteral("preview 5")});
    EXPECT_EQ(m_report.RecordsPrinted, 5);
    EXPECT_EQ(m_data.RecNo(), 3);
    EXPECT_FALSE(m_data.ControlsDisabled());
    EXPECT_TRUE(m_errors.isEmpty());
    EXPECT_EQ(m_report.ColumnName(1), QStringLiteral("NAME"));
}

TEST_F(SestavaTest, AClosedDataSetAsksAndNoGivesStatus6)
{
    writeTemplate(bodyTemplate());
    m_ui.script({ui::Answer::No});
    EXPECT_EQ(m_report.PreviewEx({}, 100), 6);
    ASSERT_EQ(m_ui.messages.size(), 1u);
    EXPECT_EQ(m_ui.messages[0].text, QStringLiteral("Připojená tabulka není aktivní. Zkusit otevřít?"));
    EXPECT_EQ(m_errors, QList<int>{6});
    EXPECT_EQ(m_events, QStringList{QStringLiteral("after preview")});
    EXPECT_TRUE(m_windows.opened.isEmpty());

    // Yes opens it, and it is closed again afterwards.
    m_ui.script({ui::Answer::Yes});
    EXPECT_EQ(m_report.PreviewEx({}, 100), 0);
    EXPECT_FALSE(m_data.Active());
}

TEST_F(SestavaTest, AMissingTemplateIsCreatedEmptyOnYes)
{
    m_data.Open();
    m_ui.script({ui::Answer::Yes});
    EXPECT_EQ(m_report.PreviewEx({}, 100), 0);
    EXPECT_TRUE(m_ui.messages[0].text.startsWith(QStringLiteral("Nebyl nalezen soubor s předlohou tiskové sestavy \"")));
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("seznam.pts"))));
    EXPECT_EQ(m_windows.pagesSeen, 0);
}

// A file that cannot be read, or is not a template, opens nothing, is never offered for
// creation and stays as it was; an empty file is an empty template.
TEST_F(SestavaTest, AnUnreadableOrForeignTemplateGivesItsMessageAndStatus6)
{
    const QString file = path(QStringLiteral("seznam.pts"));
    const QString unreadable = QStringLiteral("Soubor s předlohou \"%1\" nelze přečíst.").arg(file);
    const QString foreign = QStringLiteral("Soubor \"%1\" není předloha tiskové sestavy.").arg(file);
    const struct {
        const char* name;
        QByteArray bytes;   // null: a directory stands in the file's place
        QString message;
    } cases[] = {
        {"NUL byte", TemplateBytes(bodyTemplate()) + QByteArray("T,1,0,0,0\0", 10), foreign},
        {"no line of a known kind", "Seznam porostů\r\nODD;DIL;POR\r\n", foreign},
        {"too large", QByteArray(16 * 1024 * 1024 + 1, ' '), foreign},
        {"directory", QByteArray(), unreadable},
        {"empty", QByteArray(""), QString()},
    };
    m_data.Open();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_ui.clear();
        m_errors.clear();
        m_windows.opened.clear();
        QFile::remove(file);
        if (c.bytes.isNull()) {
            ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("seznam.pts")));
        } else {
            QFile f(file);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(c.bytes);
        }
        const int status = m_report.PreviewEx({}, 83);
        QFile f(file);
        EXPECT_EQ(c.bytes.isNull() || (f.open(QIODevice::ReadOnly) && f.readAll() == c.bytes), true);
        if (c.message.isEmpty()) {
            EXPECT_EQ(status, 0);
            EXPECT_TRUE(m_ui.messages.empty());
            EXPECT_EQ(m_windows.opened.size(), 1);
            continue;
        }
        EXPECT_EQ(status, 6);
        ASSERT_EQ(m_ui.messages.size(), 1u);
        EXPECT_EQ(m_ui.messages[0].text, c.message);
        EXPECT_TRUE(m_windows.opened.isEmpty());
        EXPECT_TRUE(m_errors.contains(6));
        if (c.bytes.isNull()) QDir(m_dir.path()).rmdir(QStringLiteral("seznam.pts"));
    }
}

TEST_F(SestavaTest, StepDataAnswersTheEdgesOfTheData)
{
    m_data.Open();
    EXPECT_EQ(m_report.StepData(sdLast), srEof);
    EXPECT_EQ(m_report.StepData(sdNext), srEof);
    EXPECT_EQ(m_report.StepData(sdFirst), srBof);
    EXPECT_EQ(m_report.StepData(sdNext), 0);
    QList<int> asked;
    m_report.OnStepData = [&](TSestavaD&, int dir) {
        asked << dir;
        return srEof;
    };
    EXPECT_EQ(m_report.StepData(sdPrior), srEof);
    EXPECT_EQ(asked, QList<int>{sdPrior});
    EXPECT_FALSE(m_report.DataIsEmpty());
}

TEST_F(SestavaTest, EditWithoutOkAnswers3)
{
    writeTemplate(bodyTemplate());
    m_data.Open();
    EXPECT_EQ(m_report.EditEx({}), 3);
    EXPECT_EQ(m_windows.opened, QStringList{QStringLiteral("designer")});
    EXPECT_EQ(m_errors, QList<int>{3});
    EXPECT_EQ(OperandHost(), &m_report);
}

TEST_F(SestavaTest, PrintingChoosesGraphicOrCharacterByThePrinter)
{
    writeTemplate(bodyTemplate() << QStringLiteral("I,6,1,8,8,2,1"));
    m_data.Open();
    reports::test::FakePrinterSystem printers;
    EXPECT_EQ(m_report.Print(), 2);
    EXPECT_EQ(m_ui.messages.back().text, QStringLiteral("Není vybrána žádná předvolená tiskárna."));
    setPrinterSystem(&printers);
    reports::test::FakePrinter& laser = printers.add(QStringLiteral("laser"));
    reports::test::FakePrinter& text = printers.add(QStringLiteral("jehlička"));
    text.textOnly = true;
    m_report.Popis = QStringLiteral("Seznam");
    EXPECT_EQ(m_report.PrintOn(0), 0);
    EXPECT_EQ(laser.events.first(), QStringLiteral("begin Seznam"));
    EXPECT_EQ(m_report.PrintOn(1), 0);
    // Character mode at the raster's spacing (three lines per inch): of the page's
    // 1169 * 3 / 100 rows those up to its last text, then a form feed.
    ASSERT_TRUE(text.rawBytes.endsWith("\r\n\f"));
    EXPECT_EQ(text.rawBytes.count('\f'), 1);
    const QList<QByteArray> rows = text.rawBytes.chopped(3).split('\n');
    EXPECT_FALSE(rows.last().trimmed().isEmpty());
    EXPECT_LT(rows.size(), 35);
    EXPECT_TRUE(text.rawBytes.contains("\xF8\xE1" "dek 1"));
}

// A queue that refuses the job (graphic or raw) is no printed report: a message names it.
TEST_F(SestavaTest, ARefusedJobGivesAMessageAnd6)
{
    writeTemplate(bodyTemplate());
    m_data.Open();
    reports::test::FakePrinterSystem printers;
    setPrinterSystem(&printers);
    printers.add(QStringLiteral("laser")).refuseJob = true;
    reports::test::FakePrinter& text = printers.add(QStringLiteral("jehlička"));
    text.textOnly = true;
    text.refuseJob = true;
    for (int index : {0, 1}) {
        m_ui.clear();
        EXPECT_EQ(m_report.PrintOn(index), 6) << index;
        ASSERT_EQ(m_ui.messages.size(), 1u) << index;
        EXPECT_TRUE(m_ui.messages[0].text.contains(printers.printerNames()[index])) << index;
        EXPECT_EQ(m_ui.messages[0].type, ui::MsgType::Error);
    }
    EXPECT_EQ(m_errors, (QList<int>{6, 6}));
}

// A stepped run stopped with Escape puts the data set back on its record.
TEST_F(SestavaTest, AStoppedRunRestoresTheDataPosition)
{
    m_data.Open();
    m_data.MoveBy(1);
    m_report.ColumnsFromData();
    m_report.SetPredloha(bodyTemplate());
    const std::unique_ptr<ReportRun> run = m_report.StartRun();
    ASSERT_TRUE(run->step());
    ASSERT_TRUE(run->step());
    EXPECT_NE(m_data.RecNo(), 2);
    EXPECT_EQ(run->stop(), 3);
    EXPECT_EQ(m_data.RecNo(), 2);
    EXPECT_TRUE(run->isFinished());
    EXPECT_EQ(m_report.RecordsPrinted, 2);
}

TEST_F(SestavaTest, CharacterPagesGoToAFile)
{
    writeTemplate(bodyTemplate());
    m_data.Open();
    m_report.ExportLanguage = TSestLanguage::slCP852;
    EXPECT_EQ(m_report.PrintCharacterPages(path(QStringLiteral("out.txt"))), 0);
    QFile f(path(QStringLiteral("out.txt")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    // "ř" of "řádek" in code page 852.
    EXPECT_TRUE(f.readAll().contains("\xFD\xA0" "dek 5"));
}

TEST_F(SestavaTest, SavingKeepsABackupAndAFailureKeepsTheOldFile)
{
    writeTemplate({QStringLiteral("I,0,\"stará\"")});
    m_report.Predloha = QStringList{QStringLiteral("I,0,\"nová\"")};
    ASSERT_TRUE(m_report.UlozPredlohu());
    QFile current(path(QStringLiteral("seznam.pts")));
    ASSERT_TRUE(current.open(QIODevice::ReadOnly));
    EXPECT_EQ(current.readAll(), TemplateBytes({QStringLiteral("I,0,\"nová\"")}));
    current.close();
    QFile backup(path(QStringLiteral("seznam.BAK")));
    ASSERT_TRUE(backup.open(QIODevice::ReadOnly));
    EXPECT_EQ(backup.readAll(), TemplateBytes({QStringLiteral("I,0,\"stará\"")}));
    backup.close();

    // The backup cannot be written (a directory stands in its place): nothing changes.
    QFile::remove(path(QStringLiteral("seznam.BAK")));
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("seznam.BAK")));
    m_report.Predloha = QStringList{QStringLiteral("I,0,\"třetí\"")};
    EXPECT_FALSE(m_report.UlozPredlohu());
    EXPECT_EQ(m_ui.messages.back().text, QStringLiteral("Soubor s předlohou se nepodařilo uložit."));
    EXPECT_EQ(m_errors, QList<int>{6});
    ASSERT_TRUE(current.open(QIODevice::ReadOnly));
    EXPECT_EQ(current.readAll(), TemplateBytes({QStringLiteral("I,0,\"nová\"")}));
    current.close();

    // The directory of the template is missing: the save fails before anything is written.
    m_report.ReportDirIgnore = false;
    m_report.SetReportDir(m_dir.path() + QStringLiteral("/chybi"));
    EXPECT_FALSE(m_report.UlozPredlohu());
}

TEST_F(SestavaTest, TwoReportsSavingTheSameFileLeaveOneWholeTemplate)
{
    TSestava other;
    other.SetReportName(QStringLiteral("seznam"));
    const QStringList first{QStringLiteral("I,0,\"první\""), QString(200, u'x')};
    const QStringList second{QStringLiteral("I,0,\"druhý\"")};
    m_report.Predloha = first;
    other.Predloha = second;
    ASSERT_TRUE(m_report.UlozPredlohu());
    ASSERT_TRUE(other.UlozPredlohu());
    QFile f(path(QStringLiteral("seznam.pts")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), TemplateBytes(second));
    QFile b(path(QStringLiteral("seznam.BAK")));
    ASSERT_TRUE(b.open(QIODevice::ReadOnly));
    EXPECT_EQ(b.readAll(), TemplateBytes(first));
}

TEST_F(SestavaTest, PictureListHoldsTheGraphicFilesBesideTheTemplate)
{
    for (const char* name : {"logo.GIF", "mapa.jpg", "text.txt", "znak.bmp"}) {
        QFile f(path(QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    QStringList list = m_report.NactiSeznamObrazu();
    list.sort(Qt::CaseInsensitive);
    EXPECT_EQ(list, (QStringList{QStringLiteral("logo.GIF"), QStringLiteral("mapa.jpg"), QStringLiteral("znak.bmp")}));
    m_report.OnNactiSeznamObrazu = [](TSestava&, QStringList& items) { items << QStringLiteral("jiný.gif"); };
    EXPECT_EQ(m_report.NactiSeznamObrazu(), QStringList{QStringLiteral("jiný.gif")});
}

TEST_F(SestavaTest, ADestroyedReportLeavesNoOperandHost)
{
    {
        TSestava report;
        SetOperandHost(&report);
    }
    EXPECT_EQ(OperandHost(), nullptr);
}

} // namespace
