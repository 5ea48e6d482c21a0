// The template box (masks, descriptions, selection, the report's name) and the printer box.
#include "reports/preview/ReportComboBoxes.h"

#include "platform/files/Files.h"
#include "reports/component/Sestava.h"
#include "reports/model/TemplateFile.h"
#include "reports/support/FakePrinter.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using namespace reports;

void writeTemplate(const QString& path, const QStringList& lines, qint64 padding = 0)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    if (padding > 0) file.write(TemplateBytes({QString(int(padding), u'x')}));
    file.write(TemplateBytes(lines));
}

TEST(TemplateList, MaskAlwaysEndsInPts)
{
    TemplateList list;
    list.setReportMask(QStringLiteral("sestava"));
    EXPECT_EQ(list.reportMask(), "sestava.pts");
    list.setReportMask(QStringLiteral("*.txt"));
    EXPECT_EQ(list.reportMask(), "*.pts");
    list.setReportMask(QStringLiteral("*"));
    EXPECT_EQ(list.reportMask(), "*.pts");
    list.setReportDir(QStringLiteral("C:\\Sestavy"));
    EXPECT_EQ(list.reportDir(), "C:\\Sestavy\\");
}

class TemplateBoxTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        const QString d = m_dir.path() + u'/';
        writeTemplate(d + "Sestava.PTS", {"V,4,0,0", "I,0,\"Seznam porostů\"", "I,1,\"jiný\""});
        writeTemplate(d + "bez.pts", {"V,4,0,0", "I,1,\"není nula\""});
        // The settings line lies past the first 64 KiB.
        writeTemplate(d + "dlouha.pts", {"I,0,\"pozdě\""}, 70000);
        ASSERT_TRUE(QFile::link(d + "nikde.pts", d + "ztracena.pts"));
        writeTemplate(d + "jiny.txt", {"I,0,\"text\""});
        m_box.templates().reportDirIgnore = false;
        m_box.templates().setReportDir(m_dir.path());
        m_box.templates().setReportMask(QStringLiteral("*"));
    }

    QStringList shown() const
    {
        QStringList items;
        for (int i = 0; i < m_box.count(); ++i) items << m_box.itemText(i);
        return items;
    }

    QTemporaryDir m_dir;
    TComboBoxPredloha m_box;
};

TEST_F(TemplateBoxTest, ListsDescriptionsElseFileNames)
{
    m_box.VyberSoubor(QString());
    EXPECT_EQ(shown(), (QStringList{"bez.pts", "dlouha.pts", QString::fromUtf8("Seznam porostů"), "ztracena.pts"}));
    EXPECT_EQ(m_box.currentIndex(), -1);
    EXPECT_EQ(m_box.VybranySoubor(), "");
}

TEST_F(TemplateBoxTest, SelectionIgnoresCaseAndNamesTheReportsTemplate)
{
    TSestava report;
    m_box.Report = &report;
    m_box.VyberSoubor(QStringLiteral("SESTAVA.PTS"));
    EXPECT_EQ(m_box.VybranySoubor(), "sestava.pts");
    EXPECT_EQ(report.ReportName(), "sestava.pts");
    m_box.VyberSoubor(QStringLiteral("chybi.pts"));
    EXPECT_EQ(m_box.currentIndex(), -1);
}

TEST_F(TemplateBoxTest, AnEventFillsTheListInsteadOfTheScan)
{
    m_box.templates().OnNactiSeznam = [](TemplateList& list) { list.add({"a.pts", "Áčko"}); };
    m_box.VyberSoubor(QStringLiteral("A.pts"));
    EXPECT_EQ(shown(), QStringList{QString::fromUtf8("Áčko")});
    EXPECT_EQ(m_box.VybranySoubor(), "a.pts");
}

class PrinterBoxTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_system.add(QStringLiteral("laser"));
        m_system.add(QStringLiteral("jehlicka"));
    }
    test::FakePrinterSystem m_system;
};

TEST_F(PrinterBoxTest, QueuesThenThePdfFileAndOnlyQueuesByIndex)
{
    TComboBoxPrinter box(nullptr, &m_system);
    ASSERT_EQ(box.count(), 3);
    EXPECT_EQ(box.itemText(2), QString::fromUtf8("Soubor PDF…"));
    box.NastavTiskarnu(1);
    EXPECT_EQ(box.IndexTiskarny(), 1);
    box.NastavTiskarnu(-1);
    EXPECT_EQ(box.currentIndex(), -1);
    EXPECT_EQ(box.IndexTiskarny(), -1);
    box.NastavTiskarnu(2);   // the queue count: nothing, not the PDF entry
    EXPECT_EQ(box.currentIndex(), -1);
    box.NastavPdf();
    EXPECT_TRUE(box.isPdfSelected());
    EXPECT_EQ(box.IndexTiskarny(), -1);
}

TEST_F(PrinterBoxTest, ReloadKeepsTheNameShown)
{
    TComboBoxPrinter box(nullptr, &m_system);
    box.NastavTiskarnu(1);
    m_system.printers.erase(m_system.printers.begin());
    box.showPopup();
    box.hidePopup();
    EXPECT_EQ(box.currentText(), "jehlicka");
    EXPECT_EQ(box.IndexTiskarny(), 0);
}

} // namespace
