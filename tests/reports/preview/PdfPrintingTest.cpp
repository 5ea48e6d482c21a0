// The printer entry "Soubor PDF…": the chosen pages go to the named file; a cancelled name,
// an empty range and an unwritable file write nothing and keep what was there.
#include "reports/preview/PdfPrinting.h"

#include "platform/ui/Services.h"
#include "reports/model/PageSettings.h"
#include "reports/output/ReportOutput.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using namespace reports;

class PdfPrintingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        resetPageSettings();
        ASSERT_TRUE(m_dir.isValid());
        for (int p = 0; p < 4; ++p) {
            TVystPrvek item;
            item.Style.Kind = 1;
            item.ItemText = QStringLiteral("Strana %1").arg(p + 1);
            item.Rect = QRect(100, 10, 200, 20);
            m_output.AddItem(std::move(item), p);
        }
        ui::setServices(&m_ui);
    }
    void TearDown() override
    {
        ui::setServices(nullptr);
        resetPageSettings();
    }

    ui::RecordingServices& recorder() { return m_ui; }
    QByteArray bytes(const QString& path) const
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    ui::RecordingServices m_ui;
    QTemporaryDir m_dir;
    TSestVystup m_output;
};

TEST_F(PdfPrintingTest, WritesTheRangeToTheNamedFile)
{
    const QString path = m_dir.filePath(QStringLiteral("seznam.pdf"));
    ASSERT_TRUE(PrintToPdf(m_output, 2, 3, QStringLiteral("Tisková sestava"), [&] { return path; }));
    const QByteArray pdf = bytes(path);
    EXPECT_TRUE(pdf.startsWith("%PDF-"));
    EXPECT_EQ(QString::fromLatin1(pdf).count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))), 2);
    EXPECT_TRUE(recorder().messages.empty());
}

TEST_F(PdfPrintingTest, NothingInRangeOrCancelledAsksOrWritesNothing)
{
    int asked = 0;
    const QString path = m_dir.filePath(QStringLiteral("nic.pdf"));
    EXPECT_FALSE(PrintToPdf(m_output, 5, 9999, QString(), [&] { return ++asked, path; }));
    EXPECT_EQ(asked, 0);
    EXPECT_FALSE(PrintToPdf(m_output, 1, 4, QString(), [&] { return ++asked, QString(); }));
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(recorder().messages.empty());
}

TEST_F(PdfPrintingTest, AnUnwritableFileGivesAMessageAndKeepsTheOldOne)
{
    // The temporary file beside a name this long cannot be created, so the write fails.
    const QString path = m_dir.filePath(QString(248, u'a') + QStringLiteral(".pdf"));
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("stary obsah");
    }
    EXPECT_FALSE(PrintToPdf(m_output, 1, 4, QString(), [&] { return path; }));
    ASSERT_EQ(recorder().messages.size(), 1u);
    EXPECT_TRUE(recorder().messages[0].text.contains(QStringLiteral("aaaa.pdf")));
    EXPECT_EQ(bytes(path), "stary obsah");
}

} // namespace
