// Tests of the old LHP record reader: fields, stand texts, tables, names, hostile files.
#include "app/sources/oldlhp/UnivStareLHP.h"

#include "forest/base/TextUtilities.h"
#include "platform/text/Cp1250.h"
#include "platform/ui/Services.h"
#include "support/Mutator.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <shapefil.h>

namespace {

ui::RecordingServices& recorder()
{
    return static_cast<ui::RecordingServices&>(ui::services());
}

// Field n of the numbered record: the last digits of n that fit, padded with zeros.
QByteArray ownNumber(int n)
{
    const int width = TUnivStareLHP::fieldWidth(n);
    return QByteArray::number(n).right(width).rightJustified(width, '0');
}

// A 160-character record whose fields hold their own numbers.
QByteArray numberedRecord()
{
    QByteArray out;
    for (int n = 1; n <= TUnivStareLHP::FieldCount; ++n)
        out += ownNumber(n);
    return out;
}

// A record of compartment odd, sub-compartment dil (other fields blank).
QByteArray record(int odd, char dil, const QByteArray& species = "SM ")
{
    QByteArray out(TUnivStareLHP::RecordLength, ' ');
    out.replace(13, 3, QByteArray::number(odd).rightJustified(3, ' '));
    out[16] = dil;
    out.replace(56, 3, species);
    return out;
}

QByteArray tlhRecord(const QList<QByteArray>& texts, int lengthByte = -1)
{
    QByteArray out;
    for (int i = 0; i < TUnivStareLHP::TlhStrings; ++i) {
        const QByteArray t = i < texts.size() ? texts[i] : QByteArray();
        out += char(lengthByte >= 0 ? lengthByte : t.size());
        out += t.leftJustified(TUnivStareLHP::TlhStringLength, ' ', true);
    }
    return out;
}

class UnivStareLHPTest : public ::testing::Test
{
protected:
    void SetUp() override { recorder().clear(); }

    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(name);
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        return path;
    }

    // A table of the fields D1..D65 at their widths, one row per record cut into its fields.
    static void writeTable(const QString& path, const QList<QByteArray>& records)
    {
        DBFHandle h = DBFCreate(QFile::encodeName(path).constData());
        ASSERT_NE(h, nullptr);
        for (int n = 1; n <= TUnivStareLHP::FieldCount; ++n)
            DBFAddField(h, QByteArray("D" + QByteArray::number(n)).constData(), FTString, TUnivStareLHP::fieldWidth(n), 0);
        for (int row = 0; row < records.size(); ++row)
            for (int n = 1; n <= TUnivStareLHP::FieldCount; ++n)
                DBFWriteStringAttribute(h, row, n - 1,
                                        records[row].mid(TUnivStareLHP::fieldStart(n) - 1, TUnivStareLHP::fieldWidth(n)).constData());
        DBFClose(h);
    }

    std::unique_ptr<TUnivStareLHP> open(const QString& path)
    {
        auto r = std::make_unique<TUnivStareLHP>();
        r->SetFileName(path);
        r->Open();
        return r;
    }

    QTemporaryDir m_dir;
};

TEST_F(UnivStareLHPTest, FieldsTileTheRecord)
{
    auto r = open(write("7.01V", numberedRecord() + "\r\n"));
    ASSERT_FALSE(r->Eof());
    for (int n = 1; n <= TUnivStareLHP::FieldCount; ++n)
        EXPECT_EQ(r->D(n), QString::fromLatin1(ownNumber(n))) << n;
    EXPECT_EQ(TUnivStareLHP::fieldStart(7), 14);
    EXPECT_EQ(TUnivStareLHP::fieldStart(8), 17);
    EXPECT_EQ(TUnivStareLHP::fieldStart(65), 160);
    // Published as properties too.
    EXPECT_EQ(r->GetPropAsString("D23"), r->D(23));
}

// A field's number is the number of its digits, as DigitsToInt reads the field's text: blanks
// and letters skipped, 0 beyond 32 bits and for a field the short record lacks.
TEST_F(UnivStareLHPTest, FieldNumbersAreTheDigitsOfTheFieldText)
{
    QByteArray line = numberedRecord();
    line.replace(13, 3, " 4x");                               // field 7: a blank and a letter
    line.replace(TUnivStareLHP::fieldStart(10) - 1, 3, "000");
    auto r = open(write("7.01V", line + "\r\n" + QByteArray("     1     12") + "\r\n"));
    for (int n = 0; n <= TUnivStareLHP::FieldCount + 1; ++n)
        EXPECT_EQ(r->Number(n), DigitsToInt(r->D(n))) << n;
    EXPECT_EQ(r->Number(7), 4);
    EXPECT_EQ(r->Number(10), 0);
    r->Next();
    for (int n = 1; n <= TUnivStareLHP::FieldCount; ++n)
        EXPECT_EQ(r->Number(n), DigitsToInt(r->D(n))) << n;
    EXPECT_EQ(r->Number(6), 12);
    EXPECT_EQ(r->Number(40), 0);
}

// Fields are the columns of the decoded line: a field past a short line is null, one starting
// at its end empty; FieldIs answers as comparing D(n).
TEST_F(UnivStareLHPTest, FieldsAndTheirComparisonsFollowTheDecodedLine)
{
    QByteArray full = numberedRecord();
    full.replace(56, 3, "\xc8\x8a\xe8");   // D23 "ČŠč"
    full[16] = '\xf8';                       // D8 "ř"
    const QByteArray shortLine = full.left(TUnivStareLHP::fieldStart(9) - 1);
    auto r = open(write("7.01V", full + "\r\n" + shortLine + "\r\n\r\nx\r\n"));
    for (const QByteArray& line : {full, shortLine, QByteArray()}) {
        const QString decoded = Cp1250::decode(line);
        for (int n = 0; n <= TUnivStareLHP::FieldCount + 1; ++n) {
            const QString expected = n < 1 || n > TUnivStareLHP::FieldCount
                ? QString()
                : decoded.mid(TUnivStareLHP::fieldStart(n) - 1, TUnivStareLHP::fieldWidth(n));
            EXPECT_EQ(r->D(n), expected) << n;
            EXPECT_EQ(r->D(n).isNull(), expected.isNull()) << n;
            EXPECT_TRUE(r->FieldIs(n, expected)) << n;
            EXPECT_FALSE(r->FieldIs(n, expected + QLatin1Char('x'))) << n;
            if (!expected.isEmpty())
                EXPECT_FALSE(r->FieldIs(n, QStringLiteral("Ś") + expected.mid(1))) << n;
        }
        r->Next();
    }
    EXPECT_EQ(r->D(1), "x");
    EXPECT_TRUE(r->D(2).isNull());
    EXPECT_EQ(r->D(23), QString());
}

TEST_F(UnivStareLHPTest, ShortLinesGiveShortFieldsAndEveryLineEndCounts)
{
    auto r = open(write("7.01V", "     1     12\r" + record(5, 'a') + "\n" + record(6, 'b') + "\r\n"));
    EXPECT_EQ(r->D(7), "");
    EXPECT_EQ(r->D(6), "12");
    r->Next();
    EXPECT_EQ(r->D(7), "  5");
    r->Next();
    EXPECT_EQ(r->D(8), "b");
    r->Next();
    EXPECT_TRUE(r->Eof());
    EXPECT_EQ(r->D(8), "b");   // the last record stays current
    r->First();
    EXPECT_FALSE(r->Eof());
    EXPECT_EQ(r->D(6), "12");
}

TEST_F(UnivStareLHPTest, OneStandTextRecordPerRunOfASubCompartment)
{
    write("701.tlh", tlhRecord({"", "prvni"}) + tlhRecord({"", "druhy"}) + tlhRecord({"", "treti"})
                         + tlhRecord({"", "ctvrty"}) + tlhRecord({"", "paty"}));
    auto r = open(write("7.01V", record(1, 'a') + "\r\n" + record(1, 'a') + "\r\n" + record(1, 'b') + "\r\n"
                                     + record(1, 'a') + "\r\n" + record(1, '\xe8') + "\r\n" + record(1, '\xe8')
                                     + "\r\n" + record(2, '\xe8') + "\r\n"));
    ASSERT_TRUE(r->HasTlh());
    EXPECT_EQ(r->TlhString(2), "prvni");
    r->Next();
    EXPECT_EQ(r->TlhString(2), "prvni");
    r->Next();
    EXPECT_EQ(r->TlhString(2), "druhy");
    r->Next();
    EXPECT_EQ(r->TlhString(2), "treti");
    r->Next();   // the letter "č"
    EXPECT_EQ(r->TlhString(2), "ctvrty");
    r->Next();
    EXPECT_EQ(r->TlhString(2), "ctvrty");
    r->Next();
    EXPECT_EQ(r->TlhString(2), "paty");
    EXPECT_TRUE(recorder().messages.empty());
}

TEST_F(UnivStareLHPTest, DamagedStandTextsAreReadTolerantly)
{
    write("701.tlh", tlhRecord({"", "x"}, 200));
    auto r = open(write("7.01V", "short\r\n" + record(1, 'a') + "\r\n" + record(2, 'a') + "\r\n"));
    EXPECT_EQ(r->TlhString(2), "");   // a line without D8 reads no stand text
    r->Next();
    EXPECT_EQ(r->TlhString(2).size(), TUnivStareLHP::TlhStringLength);
    r->Next();
    EXPECT_EQ(r->TlhString(2), "");   // the companion has no second record
    r->ReportFaults();
    EXPECT_EQ(r->faults().count(FileFault::LongTlhString), 1);   // records, not strings
    EXPECT_EQ(r->faults().count(FileFault::ShortTlh), 1);
    ASSERT_EQ(recorder().messages.size(), 2u);
    EXPECT_EQ(recorder().messages[0].text, FileFaults::message(FileFault::ShortTlh, "701.tlh", 2, 1, QString()));
    EXPECT_EQ(recorder().messages[1].text, FileFaults::message(FileFault::LongTlhString, "701.tlh", 1, 1, QString()));
}

TEST_F(UnivStareLHPTest, NamesAreTheFilesOwn)
{
    write("data.DBF.d/701.TLH", tlhRecord({"", "text"}));
    auto r = open(write("data.DBF.d/7.01V", record(1, 'a') + "\r\n"));
    EXPECT_FALSE(r->IsTable());
    EXPECT_TRUE(r->HasTlh());
    EXPECT_EQ(r->TlhString(2), "text");
    EXPECT_EQ(r->D(8), "a");
}

TEST_F(UnivStareLHPTest, MissingFilesAreReportedAndEndTheSource)
{
    auto r = open(m_dir.filePath("9.01V"));
    EXPECT_TRUE(r->Eof());
    ASSERT_EQ(recorder().messages.size(), 1u);
    EXPECT_EQ(recorder().messages[0].text,
              QStringLiteral("Nemohu otevřít soubor LHP160 \"%1\"").arg(m_dir.filePath("9.01V")));
}

TEST_F(UnivStareLHPTest, ATableAnswersTheSameFields)
{
    const QString path = m_dir.filePath("old.dbf");
    const QByteArray rec = numberedRecord();
    QByteArray second = rec;
    second.replace(TUnivStareLHP::fieldStart(7) - 1, 3, "  9");
    ASSERT_NO_FATAL_FAILURE(writeTable(path, {rec, second}));

    auto r = open(path);
    ASSERT_TRUE(r->IsTable());
    auto text = open(write("7.01V", rec + "\r\n"));
    for (int n = 1; n <= TUnivStareLHP::FieldCount; ++n)
        EXPECT_EQ(r->D(n).trimmed(), text->D(n).trimmed()) << n;
    r->Next();
    EXPECT_EQ(r->D(7).trimmed(), "9");
    r->Next();
    EXPECT_TRUE(r->Eof());
    r->First();
    EXPECT_FALSE(r->Eof());
}

// A table's field text keeps its leading blanks, so a record read from the table and the same
// record read from the record file give the same texts up to trailing blanks.
TEST_F(UnivStareLHPTest, ATableFieldKeepsItsLeadingBlanks)
{
    const QString path = m_dir.filePath("P0110.DBF");
    QByteArray rec = record(7, 'a', " M ");
    rec.replace(TUnivStareLHP::fieldStart(20) - 1, 3, " 1 ");
    ASSERT_NO_FATAL_FAILURE(writeTable(path, {rec}));

    auto table = open(path);
    auto text = open(write("7.01V", rec + "\r\n"));
    const auto withoutTrailingBlanks = [](QString s) {
        while (s.endsWith(QLatin1Char(' ')))
            s.chop(1);
        return s;
    };
    for (int n = 1; n <= TUnivStareLHP::FieldCount; ++n)
        EXPECT_EQ(table->D(n), withoutTrailingBlanks(text->D(n))) << n;
    EXPECT_EQ(table->D(20), " 1");
    EXPECT_EQ(table->D(7), "  7");   // the compartment, right-aligned
}

TEST_F(UnivStareLHPTest, MutatedFilesNeverCrashOrHang)
{
    const std::vector<QByteArray> seeds = {record(1, 'a') + "\r\n" + record(1, 'b') + "\r\n" + record(2, 'a') + "\r\n"};
    const std::vector<QByteArray> tlhSeeds = {tlhRecord({"", "a"}) + tlhRecord({"", "b"})};
    test::Mutator mutator(160);
    for (int i = 0; i < 500; ++i) {
        recorder().clear();
        write("701.tlh", mutator.mutate(tlhSeeds));
        auto r = open(write("7.01V", mutator.mutate(seeds, " \r\n0123ab")));
        int steps = 0;
        while (!r->Eof() && steps < 1000) {
            for (int n = 1; n <= TUnivStareLHP::FieldCount; ++n)
                (void)r->D(n);
            (void)r->TlhString(2);
            r->Next();
            ++steps;
        }
        ASSERT_LT(steps, 1000);
    }
}

} // namespace
