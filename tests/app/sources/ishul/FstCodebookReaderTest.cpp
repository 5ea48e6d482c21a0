// Tests of the interchange codebook reader: its own header, line lengths, hostile files.
#include "app/sources/ishul/FstCodebookReader.h"

#include "framework/values/TypedValues.h"
#include "platform/ui/Services.h"
#include "support/Mutator.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

ui::RecordingServices& recorder()
{
    return static_cast<ui::RecordingServices&>(ui::services());
}

class FstCodebookReaderTest : public ::testing::Test
{
protected:
    void SetUp() override { recorder().clear(); }

    QString write(const QByteArray& bytes, const QString& name = QStringLiteral("Cis_051.FST"))
    {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        return path;
    }

    static QByteArray codebook(const QList<QByteArray>& records, int announced = -1)
    {
        QByteArray out = "Hospodářské soubory\r\n2\r\nKod\r\nPopis\r\n;\r\n";
        out += QByteArray::number(announced < 0 ? records.size() : announced) + "\r\n";
        for (const QByteArray& r : records)
            out += r + "\r\n";
        return out;
    }

    static QList<QStringList> readAll(TPrenasecZeStandarduCiselnik& r)
    {
        QList<QStringList> out;
        for (int guard = 0; guard < 100000; ++guard) {
            r.ReadRecord();
            if (r.Konec())
                break;
            QStringList row;
            for (int i = 0; i < r.PocetHodnotHlavicky(); ++i)
                row << r.NosicHlavicka()->ValueAt(i);
            out << row;
        }
        return out;
    }

    QTemporaryDir m_dir;
};

TEST_F(FstCodebookReaderTest, HeaderGivesNameColumnsAndSeparator)
{
    auto r = TPrenasecZeStandarduCiselnik::CreateOn(write(codebook({"1;jedna", "2;dva"})));
    EXPECT_EQ(r->PocetHodnotHlavicky(), 2);
    EXPECT_EQ(r->NosicHlavicka()->NameAt(0), "KOD");
    EXPECT_EQ(r->NosicHlavicka()->NameAt(1), "POPIS");
    EXPECT_EQ(r->OddelovacPropert(), ";");
    EXPECT_EQ(r->PocetDatovychRadku(), 2);
    EXPECT_EQ(readAll(*r), QList<QStringList>({{"1", "jedna"}, {"2", "dva"}}));
    EXPECT_TRUE(recorder().messages.empty());
}

TEST_F(FstCodebookReaderTest, WrongLineLengthsAreReportedOnceAndStillRead)
{
    auto r = TPrenasecZeStandarduCiselnik::CreateOn(write(codebook({"1;a;navic", "2", "3;c"})));
    EXPECT_EQ(readAll(*r), QList<QStringList>({{"1", "a"}, {"2", ""}, {"3", "c"}}));
    r.reset();
    ASSERT_EQ(recorder().messages.size(), 1u);
    EXPECT_EQ(recorder().messages[0].text,
              FileFaults::message(FileFault::CodebookLineLength, "Cis_051.FST", 7, 2, "a"));
}

TEST_F(FstCodebookReaderTest, ANonNumericCountOrAnEmptyFileLeavesTheCodebookEmpty)
{
    for (const QByteArray& bytes : {QByteArray("N\r\ndva\r\nKOD\r\n;\r\n1\r\nx\r\n"),
                                    QByteArray("N\r\n1\r\nKOD\r\n;\r\nx1\r\nx\r\n"),
                                    QByteArray("N\r\n1\r\nKOD\r\n\r\n1\r\nx\r\n"),
                                    QByteArray("N\r\n1\r\n"), QByteArray()}) {
        recorder().clear();
        auto r = TPrenasecZeStandarduCiselnik::CreateOn(write(bytes));
        EXPECT_TRUE(readAll(*r).isEmpty());
        EXPECT_EQ(recorder().messages.size(), 1u) << bytes.constData();
    }
}

TEST_F(FstCodebookReaderTest, TheFileEndEndsTheRecords)
{
    auto r = TPrenasecZeStandarduCiselnik::CreateOn(write(codebook({"1;a"}, 3)));
    EXPECT_EQ(readAll(*r).size(), 1);
    EXPECT_EQ(recorder().messages.size(), 1u);
    auto missing = TPrenasecZeStandarduCiselnik::CreateOn(m_dir.filePath("none.FST"));
    EXPECT_TRUE(missing->Konec());
}

// Every record read is the whole file's record, and a loss is reported, wherever the file is cut.
TEST_F(FstCodebookReaderTest, ACutAtEveryByteLosesNothingSilently)
{
    const QByteArray whole = codebook({"1;a", "2;b", "3;cc"});
    const QList<QStringList> wholeRows = {{"1", "a"}, {"2", "b"}, {"3", "cc"}};
    for (int cut = 0; cut <= whole.size(); ++cut) {
        recorder().clear();
        auto r = TPrenasecZeStandarduCiselnik::CreateOn(write(whole.left(cut)));
        const auto rows = readAll(*r);
        r.reset();
        ASSERT_LE(rows.size(), wholeRows.size()) << cut;
        // A last line without its line end is used when it has every value: its last value is
        // what the file holds of it.
        const bool open = cut > 0 && whole[cut - 1] != '\n' && whole[cut - 1] != '\r';
        for (qsizetype i = 0; i < rows.size(); ++i) {
            if (open && i == rows.size() - 1) {
                EXPECT_EQ(rows[i][0], wholeRows[i][0]) << cut;
                EXPECT_TRUE(wholeRows[i][1].startsWith(rows[i][1])) << cut;
            } else {
                EXPECT_EQ(rows[i], wholeRows[i]) << cut;
            }
        }
        if (rows.size() < wholeRows.size()) {
            EXPECT_FALSE(recorder().messages.empty()) << cut;
        }
    }
}

TEST_F(FstCodebookReaderTest, ALastLineWithoutItsLineEndIsUsedWhenItHasEveryValue)
{
    QByteArray bytes = codebook({"1;a", "2;bb"});
    bytes.chop(2);
    auto r = TPrenasecZeStandarduCiselnik::CreateOn(write(bytes));
    EXPECT_EQ(readAll(*r), QList<QStringList>({{"1", "a"}, {"2", "bb"}}));
    r.reset();
    EXPECT_TRUE(recorder().messages.empty());

    bytes.chop(3);   // "2": the description is missing
    r = TPrenasecZeStandarduCiselnik::CreateOn(write(bytes));
    EXPECT_EQ(readAll(*r), QList<QStringList>({{"1", "a"}}));
    r.reset();
    ASSERT_EQ(recorder().messages.size(), 1u);
    EXPECT_EQ(recorder().messages[0].text, FileFaults::message(FileFault::CutRecord, "Cis_051.FST", 8, 1, QString()));
}

TEST_F(FstCodebookReaderTest, MutatedFilesNeverCrashOrHang)
{
    const std::vector<QByteArray> seeds = {codebook({"1;a", "2;b", "3;c"})};
    test::Mutator mutator(51);
    for (int i = 0; i < 1000; ++i) {
        recorder().clear();
        auto r = TPrenasecZeStandarduCiselnik::CreateOn(write(mutator.mutate(seeds, ";\r\n0123abc")));
        EXPECT_LE(readAll(*r).size(), 100);
    }
}

} // namespace
