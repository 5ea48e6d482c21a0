// Tests of the interchange data-file reader: header, records, ends, faults, hostile files.
#include "app/sources/ishul/FstDataReader.h"

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

class FstDataReaderTest : public ::testing::Test
{
protected:
    void SetUp() override { recorder().clear(); }

    QString write(const QByteArray& bytes, const QString& name = QStringLiteral("PP.FST"))
    {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        return path;
    }

    // A file of the columns and records (lines joined by CR LF).
    static QByteArray fst(const QList<QByteArray>& columns, const QList<QByteArray>& records, int announced = -1)
    {
        QByteArray out = "|\r\n/\r\n" + QByteArray::number(columns.size()) + "\r\n";
        for (const QByteArray& c : columns)
            out += c + "\r\n";
        out += QByteArray::number(announced < 0 ? records.size() : announced) + "\r\n";
        for (const QByteArray& r : records)
            out += r + "\r\n";
        return out;
    }

    static QStringList values(TPrenasecZeStandarduData& r)
    {
        QStringList out;
        for (int i = 0; i < r.PocetHodnotHlavicky(); ++i)
            out << r.NosicHlavicka()->ValueAt(i);
        return out;
    }

    // Every record until the end, as lists of values.
    static QList<QStringList> readAll(TPrenasecZeStandarduData& r)
    {
        QList<QStringList> out;
        for (int guard = 0; guard < 100000; ++guard) {
            r.ReadRecord();
            if (r.Konec())
                break;
            out << values(r);
        }
        return out;
    }

    QTemporaryDir m_dir;
};

TEST_F(FstDataReaderTest, HeaderTakesSeparatorsAndCountsFromTheirLines)
{
    QByteArray bytes = "|xyz\r\n/\r\n  12 x\r\n";
    for (int i = 0; i < 12; ++i)
        bytes += "C" + QByteArray::number(i) + "\r\n";
    bytes += "1 234\r\n";
    auto r = TPrenasecZeStandarduData::CreateOn(write(bytes));
    EXPECT_EQ(r->OddelovacPropert(), "|");
    EXPECT_EQ(r->OddelovacMeziNasobnymiHodnotami(), "/");
    EXPECT_EQ(r->PocetHodnotHlavicky(), 12);
    EXPECT_EQ(r->PocetDatovychRadku(), 1234);
    EXPECT_EQ(r->CisloNactenehoRadku(), 0);
    EXPECT_FALSE(r->Konec());
}

TEST_F(FstDataReaderTest, NamesAreUpperCasedUntrimmedAndFoundAsKnownColumns)
{
    auto r = TPrenasecZeStandarduData::CreateOn(write(fst({"Odd", "dil ", "x"}, {"1|a|b"})));
    EXPECT_EQ(r->NosicHlavicka()->NameAt(0), "ODD");
    EXPECT_EQ(r->KnownColumnPosition(TPrenasecZeStandarduData::kcODD), 0);
    EXPECT_EQ(r->KnownColumnPosition(TPrenasecZeStandarduData::kcDIL), -1);   // "DIL " is not DIL
    EXPECT_EQ(TPrenasecZeStandarduData::knownColumnNames()[117], std::string("MVYCH_DO40"));
    EXPECT_EQ(TPrenasecZeStandarduData::knownColumnNames()[62], std::string("DR_ZKR"));
}

TEST_F(FstDataReaderTest, ValuesAreSplitWithoutTrimmingOrQuoting)
{
    auto r = TPrenasecZeStandarduData::CreateOn(write(fst({"A", "B", "C", "D", "E"}, {"1|A|||b", " 5 |\"q\"|x|y|z"})));
    const auto rows = readAll(*r);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0], QStringList({"1", "A", "", "", "b"}));
    EXPECT_EQ(rows[1], QStringList({" 5 ", "\"q\"", "x", "y", "z"}));
}

TEST_F(FstDataReaderTest, Windows1250TextIsDecoded)
{
    auto r = TPrenasecZeStandarduData::CreateOn(write(fst({"A"}, {"\x9e\xe1\xe8"})));
    r->ReadRecord();
    EXPECT_EQ(r->NosicHlavicka()->ValueAt(0), QString::fromUtf8("žáč"));
}

TEST_F(FstDataReaderTest, MissingFileIsEmptyAndSilent)
{
    auto r = TPrenasecZeStandarduData::CreateOn(m_dir.filePath("NONE.FST"));
    EXPECT_TRUE(r->Konec());
    EXPECT_EQ(r->CisloOddeleni(), 32000);
    EXPECT_EQ(r->PocetHodnotHlavicky(), 0);
    EXPECT_EQ(r->PocetDatovychRadku(), -1);
    r->ReadRecord();
    EXPECT_TRUE(recorder().messages.empty());
}

TEST_F(FstDataReaderTest, CompartmentNumberDropsBlanks)
{
    auto r = TPrenasecZeStandarduData::CreateOn(write(fst({"ODD"}, {"  12", "12 ", "1 2", "x", ""})));
    QList<qint32> numbers;
    for (int i = 0; i < 5; ++i) {
        r->ReadRecord();
        numbers << r->CisloOddeleni();
    }
    EXPECT_EQ(numbers, QList<qint32>({12, 12, 12, 0, 0}));
    auto noOdd = TPrenasecZeStandarduData::CreateOn(write(fst({"A"}, {"5"}), "B.FST"));
    noOdd->ReadRecord();
    EXPECT_EQ(noOdd->CisloOddeleni(), 0);
}

TEST_F(FstDataReaderTest, AReadAfterTheLastRecordKeepsItsValues)
{
    auto r = TPrenasecZeStandarduData::CreateOn(write(fst({"A"}, {"1", "2", "3"})));
    for (int i = 0; i < 3; ++i)
        r->ReadRecord();
    EXPECT_FALSE(r->Konec());
    r->ReadRecord();
    EXPECT_TRUE(r->Konec());
    EXPECT_EQ(r->NosicHlavicka()->ValueAt(0), "3");
    r->ReadRecord();
    EXPECT_TRUE(r->Konec());
    EXPECT_TRUE(recorder().messages.empty());
}

TEST_F(FstDataReaderTest, SeekingToARecordOffsetReadsItAgain)
{
    auto r = TPrenasecZeStandarduData::CreateOn(write(fst({"ODD", "V"}, {"1|a", "2|b", "3|c"})));
    r->ReadRecord();
    r->ReadRecord();
    const qint64 offset = r->SeekRadku();
    const int line = r->RecordLine();
    r->ReadRecord();
    r->SeekTo(offset, line, 1);
    r->ReadRecord();
    EXPECT_EQ(values(*r), QStringList({"2", "b"}));
    EXPECT_EQ(r->CisloNactenehoRadku(), 2);
    r->SeekToEnd();
    r->ReadRecord();
    EXPECT_TRUE(r->Konec());
    EXPECT_TRUE(recorder().messages.empty());
}

TEST_F(FstDataReaderTest, EveryLineEndEndsALine)
{
    const QByteArray bytes = "|\n/\r3\r\nA\nB\rC\r\n2\n1|2|3\r4|5|6\n";
    auto r = TPrenasecZeStandarduData::CreateOn(write(bytes));
    const auto rows = readAll(*r);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0], QStringList({"1", "2", "3"}));
    EXPECT_EQ(rows[1], QStringList({"4", "5", "6"}));
    EXPECT_TRUE(recorder().messages.empty());
}

TEST_F(FstDataReaderTest, FastPassReadsOnlyTheCompartmentAndSkipsTheRest)
{
    auto r = TPrenasecZeStandarduData::CreateOn(write(fst({"DIL", "ODD", "X"}, {"a|7|x", "b|8|y|surplus"})));
    r->SetcistJenPoODD(true);
    r->ReadRecord();
    EXPECT_EQ(r->CisloOddeleni(), 7);
    EXPECT_EQ(r->NosicHlavicka()->ValueAt(0), "");
    r->ReadRecord();
    EXPECT_EQ(r->CisloOddeleni(), 8);
    r->ReadRecord();
    EXPECT_TRUE(r->Konec());
    EXPECT_TRUE(recorder().messages.empty());
}

TEST_F(FstDataReaderTest, BadHeadersAreReportedAndReadNothing)
{
    const QList<QByteArray> headers = {
        "\r\n/\r\n1\r\nA\r\n1\r\nx\r\n",   // empty separator line
        "|\r\n\r\n1\r\nA\r\n1\r\nx\r\n",   // empty multiple-value separator
        "|\r\n/\r\n0\r\n1\r\nx\r\n",       // N 0
        "|\r\n/\r\nabc\r\nA\r\n1\r\nx\r\n",   // no digits
        "|\r\n/\r\n2\r\nA\r\n\r\n1\r\nx|y\r\n",   // empty name
        "|\r\n/\r\n2\r\nA\r\n",             // ends inside
        "|\r\n/\r\n1\r\nA\r\nnone\r\nx\r\n",   // record count without digits
        "|\r\n/\r\n99999\r\nA\r\n",         // too many columns
        "",                                 // an empty file ends before its header
    };
    for (int i = 0; i < headers.size(); ++i) {
        recorder().clear();
        auto r = TPrenasecZeStandarduData::CreateOn(write(headers[i], QStringLiteral("H%1.FST").arg(i)));
        r->ReadRecord();
        EXPECT_TRUE(r->Konec()) << i;
        ASSERT_EQ(recorder().messages.size(), 1u) << i;
        EXPECT_TRUE(recorder().messages[0].text.contains(QStringLiteral("H%1.FST").arg(i))) << i;
        EXPECT_TRUE(recorder().messages[0].text.contains(QStringLiteral("chybná hlavička"))) << i;
    }
}

TEST_F(FstDataReaderTest, LinesWithOtherValueCountsAreSkippedAndReportedOnce)
{
    auto r = TPrenasecZeStandarduData::CreateOn(write(fst({"A", "B"}, {"1|2", "3", "4|5|6", "7|8"})));
    const auto rows = readAll(*r);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0], QStringList({"1", "2"}));
    EXPECT_EQ(rows[1], QStringList({"7", "8"}));   // never read across a line end
    ASSERT_EQ(recorder().messages.size(), 1u);
    EXPECT_EQ(recorder().messages[0].text,
              FileFaults::message(FileFault::WrongValueCount, "PP.FST", 8, 2, "2"));
}

TEST_F(FstDataReaderTest, OverLongValuesAreCutAndTheRestOfTheFieldDropped)
{
    const QByteArray longValue(2500, 'x');
    auto r = TPrenasecZeStandarduData::CreateOn(write(fst({"A", "B"}, {longValue + "|b", "c|d"})));
    const auto rows = readAll(*r);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0][0].size(), 2000);
    EXPECT_EQ(rows[0][1], "b");
    EXPECT_EQ(rows[1], QStringList({"c", "d"}));
    ASSERT_EQ(recorder().messages.size(), 1u);
    EXPECT_TRUE(recorder().messages[0].text.contains("2000"));
}

TEST_F(FstDataReaderTest, TheFileEndEndsTheDataAndShortFilesAreReported)
{
    auto r = TPrenasecZeStandarduData::CreateOn(write(fst({"A", "B"}, {"1|2"}, 5)));
    const auto rows = readAll(*r);
    EXPECT_EQ(rows.size(), 1);
    ASSERT_EQ(recorder().messages.size(), 1u);
    EXPECT_EQ(recorder().messages[0].text, FileFaults::message(FileFault::FewerRecords, "PP.FST", 8, 1, "5"));
}

TEST_F(FstDataReaderTest, LinesBeyondTheAnnouncedRecordsAreReported)
{
    auto r = TPrenasecZeStandarduData::CreateOn(write(fst({"A"}, {"1", "2", "3"}, 2)));
    EXPECT_EQ(readAll(*r).size(), 2);
    ASSERT_EQ(recorder().messages.size(), 1u);
    EXPECT_EQ(recorder().messages[0].text, FileFaults::message(FileFault::ExtraLines, "PP.FST", 8, 1, "2"));

    recorder().clear();
    auto blanks = TPrenasecZeStandarduData::CreateOn(write(fst({"A", "B"}, {"1|2"}) + "\r\n  \r\n\n", "Q.FST"));
    EXPECT_EQ(readAll(*blanks).size(), 1);
    EXPECT_TRUE(recorder().messages.empty());
}

TEST_F(FstDataReaderTest, RecordsAcrossTheBufferEdgeReadWhole)
{
    QList<QByteArray> records;
    for (int i = 0; i < 3000; ++i)
        records << QByteArray::number(i) + "|" + QByteArray(i % 37, 'v');
    auto r = TPrenasecZeStandarduData::CreateOn(write(fst({"ODD", "V"}, records)));
    const auto rows = readAll(*r);
    ASSERT_EQ(rows.size(), 3000);
    for (int i = 0; i < 3000; ++i)
        ASSERT_EQ(rows[i], QStringList({QString::number(i), QString(i % 37, 'v')})) << i;
    EXPECT_TRUE(recorder().messages.empty());
}

// A value is decoded again only when it differs from the one its column holds: repeated
// values, values differing in one letter outside ASCII, and a column its owner overwrote
// between reads all show the record's own text.
TEST_F(FstDataReaderTest, EveryRecordShowsItsOwnValuesWhetherRepeatedOrNot)
{
    const QByteArray cz1 = QByteArray("\xC8\x61\x9A", 3);   // "Čaš"
    const QByteArray cz2 = QByteArray("\xC8\x61\x9E", 3);   // "Čaž"
    auto r = TPrenasecZeStandarduData::CreateOn(
        write(fst({"A", "B", "C"}, {cz1 + "|x|", cz1 + "|x|", cz2 + "|xy|1", "|x|1", cz2 + "|x|1"})));
    const QString s1 = QStringLiteral("Čaš");
    const QString s2 = QStringLiteral("Čaž");
    r->ReadRecord();
    EXPECT_EQ(values(*r), QStringList({s1, "x", ""}));
    r->NosicHlavicka()->SetValueAt(1, QStringLiteral("changed"));
    r->ReadRecord();
    EXPECT_EQ(values(*r), QStringList({s1, "x", ""}));
    r->ReadRecord();
    EXPECT_EQ(values(*r), QStringList({s2, "xy", "1"}));
    r->ReadRecord();
    EXPECT_EQ(values(*r), QStringList({"", "x", "1"}));
    r->ReadRecord();
    EXPECT_EQ(values(*r), QStringList({s2, "x", "1"}));
    EXPECT_EQ(r->CtenyStr(), "1");
}

// A value runs in pieces where it crosses the buffer edge: the cut still falls at the limit.
TEST_F(FstDataReaderTest, AnOverLongValueAcrossTheBufferEdgeIsCutAtTheLimit)
{
    const QByteArray head = fst({"A", "B"}, {}, 2);
    const int before = TPrenasecZeStandarduData::BufferSize - int(head.size()) - 1500;
    QByteArray bytes = head + QByteArray(before, 'p') + "|q\r\n" + QByteArray(2600, 'y') + "|z\r\n";
    auto r = TPrenasecZeStandarduData::CreateOn(write(bytes));
    const auto rows = readAll(*r);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0], QStringList({QString(qMin(before, 2000), 'p'), "q"}));
    EXPECT_EQ(rows[1], QStringList({QString(2000, 'y'), "z"}));
}

TEST_F(FstDataReaderTest, AFileOfExactlyOneBufferEndsAtItsEnd)
{
    QByteArray bytes = fst({"A"}, {}, 1);
    const int room = TPrenasecZeStandarduData::BufferSize - int(bytes.size()) - 2;
    bytes += QByteArray(room, 'z') + "\r\n";
    ASSERT_EQ(bytes.size(), TPrenasecZeStandarduData::BufferSize);
    auto r = TPrenasecZeStandarduData::CreateOn(write(bytes));
    r->ReadRecord();
    ASSERT_FALSE(r->Konec());
    EXPECT_EQ(r->NosicHlavicka()->ValueAt(0).size(), qMin(room, 2000));
    r->ReadRecord();
    EXPECT_TRUE(r->Konec());
}

// A writer may omit the final line end: a last line with all the header's values is a record
// (its last value as far as the file goes); one with values missing is reported and not used.
TEST_F(FstDataReaderTest, ALastLineWithoutItsLineEndIsUsedWhenItHasEveryValue)
{
    const QByteArray whole = fst({"MAJ_KOD", "MAJ_NAZ"}, {"15|Obec", "16|Lesni druzstvo obce"});
    struct Case {
        int chop;
        QString lastName;   // empty: the last record is skipped
    };
    // Chopped: the line end; part of the last value; all of it; the separator too.
    for (const Case& c : {Case{2, "Lesni druzstvo obce"}, Case{6, "Lesni druzstvo "}, Case{21, ""}, Case{22, QString()}}) {
        recorder().clear();
        auto r = TPrenasecZeStandarduData::CreateOn(write(whole.chopped(c.chop), QStringLiteral("Maj.FST")));
        const QList<QStringList> rows = readAll(*r);
        r->ReportFaults();
        if (c.lastName.isNull()) {
            EXPECT_EQ(rows, QList<QStringList>({{"15", "Obec"}})) << c.chop;
            ASSERT_EQ(recorder().messages.size(), 1u) << c.chop;
            EXPECT_EQ(recorder().messages[0].text,
                      QStringLiteral("Soubor \"Maj.FST\", řádek 8: soubor končí uprostřed záznamu, záznam vynechán."));
        } else {
            EXPECT_EQ(rows, QList<QStringList>({{"15", "Obec"}, {"16", c.lastName}})) << c.chop;
            EXPECT_TRUE(recorder().messages.empty()) << c.chop;
        }
    }
    // A lone CR ends a line: that record is whole.
    recorder().clear();
    auto r = TPrenasecZeStandarduData::CreateOn(write(whole.chopped(1), QStringLiteral("Maj.FST")));
    EXPECT_EQ(readAll(*r).size(), 2);
    r->ReportFaults();
    EXPECT_TRUE(recorder().messages.empty());
}

// The compartment index pass skips the values after ODD, yet it still tells a whole last line
// without its line end from a cut one, as the reading pass does.
TEST_F(FstDataReaderTest, TheFastPassFindsTheCompartmentOfAWholeLastLineWithoutItsLineEnd)
{
    const QByteArray whole = fst({"DIL", "ODD", "X"}, {"a|7|x", "b|8|yy"});
    for (const int chop : {2, 3, 5}) {
        recorder().clear();
        auto r = TPrenasecZeStandarduData::CreateOn(write(whole.chopped(chop), QStringLiteral("PP.FST")));
        r->SetcistJenPoODD(true);
        QList<int> compartments;
        for (r->ReadRecord(); !r->Konec(); r->ReadRecord())
            compartments << r->CisloOddeleni();
        EXPECT_EQ(compartments, chop == 5 ? QList<int>({7}) : QList<int>({7, 8})) << chop;
        EXPECT_TRUE(recorder().messages.empty()) << chop;
    }
}

// Every record read is the whole file's record of that number, and a loss is reported,
// wherever the file is cut.
TEST_F(FstDataReaderTest, ACutAtEveryByteLosesNothingSilently)
{
    const QList<QByteArray> records = {"1|a|x", "1|b|y", "2|c|z", "3|d|ww"};
    const QByteArray whole = fst({"ODD", "DIL", "V"}, records);
    const int headerSize = int(fst({"ODD", "DIL", "V"}, {}, 4).size());
    auto reference = TPrenasecZeStandarduData::CreateOn(write(whole, QStringLiteral("W.FST")));
    const QList<QStringList> wholeRows = readAll(*reference);
    ASSERT_EQ(wholeRows.size(), records.size());
    for (int cut = 0; cut <= whole.size(); ++cut) {
        recorder().clear();
        auto r = TPrenasecZeStandarduData::CreateOn(write(whole.left(cut), QStringLiteral("C.FST")));
        const QList<QStringList> rows = readAll(*r);
        const int read = int(rows.size());
        // A last line without its line end is used when it has every value; its last value is
        // then what the file holds of it.
        const bool open = cut > 0 && whole[cut - 1] != '\n' && whole[cut - 1] != '\r';
        for (int i = 0; i < read && i < wholeRows.size(); ++i) {
            if (open && i == read - 1) {
                EXPECT_EQ(rows[i].mid(0, 2), wholeRows[i].mid(0, 2)) << "cut " << cut;
                EXPECT_TRUE(wholeRows[i][2].startsWith(rows[i][2])) << "cut " << cut;
            } else {
                EXPECT_EQ(rows[i], wholeRows[i]) << "cut " << cut << " record " << i;
            }
        }
        r->ReportFaults();
        const int skipped = r->faults().count(FileFault::WrongValueCount) + r->faults().count(FileFault::CutRecord);
        // Records present in the cut file: lines begun after the header.
        int present = 0;
        if (cut > headerSize) {
            const QByteArray body = whole.mid(headerSize, cut - headerSize);
            present = int(body.count('\n')) + (body.endsWith('\n') || body.endsWith('\r') || body.isEmpty() ? 0 : 1);
            if (body.endsWith('\r'))
                present = int(body.count('\n')) + 1;
        }
        EXPECT_EQ(read + skipped, present) << "cut " << cut;
        EXPECT_TRUE(r->Konec());
        if (read < records.size()) {
            EXPECT_FALSE(recorder().messages.empty()) << "cut " << cut;
        }
    }
}

TEST_F(FstDataReaderTest, MutatedFilesNeverCrashOrHang)
{
    QList<QByteArray> records;
    for (int i = 0; i < 40; ++i)
        records << QByteArray::number(i / 5) + "|" + QByteArray(1, char('a' + i % 3)) + "|" + QByteArray(i % 7, 'v');
    const std::vector<QByteArray> seeds = {fst({"ODD", "DIL", "V"}, records), fst({"Odd"}, {"1", "2"})};
    test::Mutator mutator(1313);
    for (int i = 0; i < 1000; ++i) {
        recorder().clear();
        auto r = TPrenasecZeStandarduData::CreateOn(write(mutator.mutate(seeds, "|/\r\n0123456789abODD "), "M.FST"));
        if (i % 2)
            r->SetcistJenPoODD(true);
        int reads = 0;
        while (!r->Konec() && reads < 100000) {
            r->ReadRecord();
            (void)r->CisloOddeleni();
            ++reads;
        }
        ASSERT_LT(reads, 100000) << i;
    }
}

} // namespace
