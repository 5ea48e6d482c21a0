// Tests of the shared rows of a table file: saves that never lose or overwrite data, kept bytes and formats.
#include "platform/db/Table.h"

#include "platform/Exceptions.h"
#include "platform/db/paradox/CodePage.h"
#include "platform/db/paradox/FieldCodec.h"
#include "platform/db/paradox/ParadoxFile.h"
#include "platform/db/paradox/ParadoxWriter.h"
#include "platform/db/paradox/PxlibCheck.h"
#include "platform/db/paradox/TableFiles.h"
#include "platform/ui/Services.h"
#include "support/ParadoxFixture.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstring>

using db::Table;
namespace dp = db::paradox;

namespace {

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class TableStorageTest : public ::testing::Test
{
protected:
    QString write(const QString& name, const QList<test::FixtureField>& fields, const QList<QVariantList>& rows,
                  const test::FixtureOptions& options = {})
    {
        const QString path = m_dir.filePath(name);
        test::writeParadoxTable(path, fields, rows, options);
        return path;
    }

    void open(Table& t, const QString& name, const QString& index = QString())
    {
        t.SetDatabaseName(m_dir.path());
        t.SetTableName(name);
        t.SetIndexFieldNames(index);
        t.Open();
    }

    static QStringList column(Table& t, const char* field)
    {
        QStringList values;
        for (t.First(); !t.Eof(); t.Next())
            values << t.FieldByName(QString::fromLatin1(field)).AsString();
        return values;
    }

    QTemporaryDir m_dir;
};

// Another program saves the file while our rows are pending: ours must not overwrite its data,
// and ours must not vanish either.
TEST_F(TableStorageTest, ASaveOverAnotherProgramsChangeIsRefusedAndKeepsThePendingRows)
{
    const QString path = write(QStringLiteral("ID.DB"), {{"ID", "N"}}, {{1.0}, {2.0}});
    Table t;
    open(t, QStringLiteral("ID"));
    t.Append();
    t.Fields(0).AsInteger(3);
    t.Post();
    write(QStringLiteral("ID.DB"), {{"ID", "N"}}, {{7.0}});   // the other program
    try {
        t.FlushBuffers();
        FAIL() << "overwrote the other program's save";
    } catch (const EDatabaseError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("ID.DB"))) << qPrintable(e.message());
    }
    EXPECT_EQ(dp::ParadoxFile(path).recordCount(), 1);
    EXPECT_EQ(column(t, "ID"), (QStringList{"1", "2", "3"}));
    EXPECT_THROW(t.Close(), EDatabaseError);

    // The same for a change written in place (same file, new length).
    Table u;
    const QString other = write(QStringLiteral("JINE.DB"), {{"ID", "N"}}, {{1.0}});
    open(u, QStringLiteral("JINE"));
    u.Edit();
    u.Fields(0).AsInteger(5);
    u.Post();
    QFile f(other);
    ASSERT_TRUE(f.open(QIODevice::Append));
    f.write(QByteArray(2048, '\0'));
    f.close();
    EXPECT_THROW(u.FlushBuffers(), EDatabaseError);
}

// The engine frees a blob's entry by clearing its offset and keeps the old lengths: editing
// another field of a row whose memo shares such a block saves, and every memo stays.
TEST_F(TableStorageTest, EditingBesideMemosInABlockWithFreedEntriesSaves)
{
    const QStringList memos = {QString(60, u'ř'), QString(200, u'b'), QString(90, u'c')};
    const QString path = write(QStringLiteral("POZN.DB"), {{"ID", "I"}, {"POZN", "M", 10}},
                               {{1, memos[0]}, {2, memos[1]}, {3, memos[2]}});
    const QString mbPath = m_dir.filePath(QStringLiteral("POZN.MB"));
    QByteArray mb = readFile(mbPath);
    for (int i = 0; i < 30; ++i) {   // entries of the first sub-allocated block: offset 0, 50 chunks
        const qsizetype at = 0x1000 + 12 + 5 * i;
        mb[at] = 0;
        mb[at + 1] = 50;
        mb[at + 4] = 7;
    }
    QFile f(mbPath);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(mb);
    f.close();
    {
        Table t;
        open(t, QStringLiteral("POZN"));
        t.Next();
        t.Edit();
        t.Fields(0).AsInteger(20);
        t.Post();
        t.FlushBuffers();
    }
    const dp::ParadoxFile after(path);
    test::PxlibReader px(path);
    px.attachBlobFile(mbPath);
    for (int r = 0; r < 3; ++r) {
        EXPECT_EQ(after.value(r, 0).toInt(), r == 1 ? 20 : r + 1);
        EXPECT_EQ(after.memoText(r, 1), memos[r]);
        EXPECT_EQ(px.value(r, 1).toByteArray(), dp::CodePage::forNumber(1250).encode(memos[r]));
    }
}

// While another copy of the program saves the table, ours is refused and keeps its rows; once
// that save is over (it changed nothing here), ours goes through.
TEST_F(TableStorageTest, ASaveDuringAnotherCopysSaveIsRefusedAndKeepsThePendingRows)
{
    const QString path = write(QStringLiteral("ZAMEK.DB"), {{"ID", "N"}}, {{1.0}});
    Table t;
    open(t, QStringLiteral("ZAMEK"));
    t.Append();
    t.Fields(0).AsInteger(2);
    t.Post();
    {
        const dp::TableLock otherCopy(path);
        EXPECT_THROW(t.FlushBuffers(), EDatabaseError);
        EXPECT_EQ(dp::ParadoxFile(path).recordCount(), 1);
    }
    t.FlushBuffers();
    EXPECT_EQ(dp::ParadoxFile(path).recordCount(), 2);
    EXPECT_EQ(column(t, "ID"), (QStringList{"1", "2"}));
}

// Pending rows that cannot be saved when the Table goes away are reported, not lost silently.
TEST_F(TableStorageTest, RowsLostAtDestructionAreReportedWithTableAndCount)
{
    write(QStringLiteral("ZTRATY.DB"), {{"ID", "N"}}, {{1.0}});
    auto& recorder = dynamic_cast<ui::RecordingServices&>(ui::services());
    recorder.clear();
    {
        Table t;
        open(t, QStringLiteral("ZTRATY"));
        for (const int id : {2, 3}) {
            t.Append();
            t.Fields(0).AsInteger(id);
            t.Post();
        }
        write(QStringLiteral("ZTRATY.DB"), {{"ID", "N"}}, {{9.0}});
    }
    ASSERT_EQ(recorder.messages.size(), 1u);
    const QString text = recorder.messages[0].text;
    EXPECT_TRUE(text.contains(QStringLiteral("ZTRATY.DB")) && text.contains(QStringLiteral("2 záznamů")))
        << qPrintable(text);
}

TEST_F(TableStorageTest, AutoIncrementValuesAreNeverHandedOutTwice)
{
    const QString path = write(QStringLiteral("AI.DB"), {{"N", "+"}, {"X", "A", 5}}, {{1, "a"}, {2, "b"}, {3, "c"}});
    {
        Table t;
        open(t, QStringLiteral("AI"));
        t.Last();
        t.Delete();
    }
    EXPECT_EQ(dp::ParadoxFile(path).header().autoIncMax, 3u);
    Table t;
    open(t, QStringLiteral("AI"));
    t.Append();
    t.FieldByName(QStringLiteral("X")).AsString(QStringLiteral("d"));
    t.Post();
    EXPECT_EQ(column(t, "N"), (QStringList{"1", "2", "4"}));
}

// Keyed tables belong to the engine's primary index, which is not written here.
TEST_F(TableStorageTest, KeyedTableOpensReadOnlyWithoutIndexFiles)
{
    test::FixtureOptions keyed;
    keyed.keyFields = 1;
    const QString path = write(QStringLiteral("CIS.DB"), {{"KOD", "S"}, {"NAZEV", "A", 10}}, {{1, "a"}, {2, "b"}}, keyed);
    const QByteArray before = readFile(path);
    Table t;
    open(t, QStringLiteral("CIS"));
    EXPECT_TRUE(t.isReadOnlyStorage());
    EXPECT_TRUE(t.FindKey({2}));
    EXPECT_THROW(t.Edit(), EDatabaseError);
    EXPECT_THROW(t.Append(), EDatabaseError);
    t.Close();
    EXPECT_THROW(t.EmptyTable(), EDatabaseError);
    EXPECT_EQ(readFile(path), before);
}

// A table of an older format comes back in that format: version, block size, code page, header.
// Level 3 headers have no code page (read as the configured one) and end after the field names.
TEST_F(TableStorageTest, RewritingKeepsTheFormatOfTheFile)
{
    struct Format { int versionId; int blockSizeKb; int codePage; };
    for (const Format format : {Format{9, 2, 852}, Format{4, 1, 0}}) {
        const QString path = m_dir.filePath(QStringLiteral("STARA%1.DB").arg(format.versionId));
        dp::TableContent content;
        content.fields = test::fixtureFields({{"NAZEV", "A", 10}, {"POCET", "S"}, {"POZN", "M", 10}});
        content.versionId = format.versionId;
        content.blockSizeKb = format.blockSizeKb;
        content.codePage = format.codePage;
        const dp::CodePage& cp = dp::CodePage::forNumber(format.codePage);
        for (int i = 0; i < 40; ++i) {
            QByteArray rec(content.fields.back().offset + content.fields.back().width, '\0');
            dp::encodeAlpha(content.fields[0], rec.data(), QStringLiteral("Buk %1").arg(i), cp);
            dp::encodeShort(content.fields[1], rec.data(), i);
            dp::encodeBlob(content.fields[2], rec.data(), QByteArray(i % 3 ? 5 : 200, 'm'));
            content.records += rec;
        }
        content.recordCount = 40;
        content.blobPayload = [memo = content.fields[2]](int, const char* rec, int) {
            return QByteArray(int(dp::decodeBlobPointer(memo, rec).length), 'm');
        };
        dp::writeTable(path, content);
        const QByteArray header = dp::ParadoxFile(path).headerBytes();
        ASSERT_EQ(header[0x39], format.versionId);
        {
            Table t;
            open(t, QFileInfo(path).fileName());
            t.Edit();
            t.FieldByName(QStringLiteral("POCET")).AsInteger(99);
            t.FieldByName(QStringLiteral("POZN")).AsString(QStringLiteral("dlouhá poznámka ").repeated(20));
            t.Post();
            t.Append();
            t.FieldByName(QStringLiteral("NAZEV")).AsString(QStringLiteral("Jedle"));
            t.Post();
        }
        const dp::ParadoxFile after(path);
        EXPECT_EQ(after.header().versionId, format.versionId);
        EXPECT_EQ(after.header().blockSize, format.blockSizeKb * 1024);
        EXPECT_EQ(after.header().codePage, format.codePage == 0 ? dp::defaultCodePage() : format.codePage);
        EXPECT_EQ(after.recordCount(), 41);
        EXPECT_EQ(after.memoText(0, 2), QStringLiteral("dlouhá poznámka ").repeated(20));
        // Only the counts of the header change: rows, blocks, first and last block.
        QByteArray counted = after.headerBytes();
        for (const int at : {0x06, 0x07, 0x0A, 0x0B, 0x0C, 0x0D, 0x10, 0x11, 0x3A, 0x3B})
            counted[at] = header[at];
        EXPECT_EQ(counted, header);
        test::PxlibReader px(path);
        ASSERT_TRUE(px.isOpen()) << format.versionId;
        EXPECT_EQ(px.recordCount(), 41);
        px.attachBlobFile(dp::ParadoxFile(path).blobPath());
        EXPECT_EQ(px.value(0, 2).toByteArray(), cp.encode(QStringLiteral("dlouhá poznámka ").repeated(20)));
        if (format.codePage != 0) {
            EXPECT_EQ(px.codePage(), format.codePage);
        }
    }
}

// Editing one field keeps the stored bytes of the others, even where decoding is not exact.
TEST_F(TableStorageTest, EditingOneFieldKeepsTheBytesOfTheOthers)
{
    const QString path = m_dir.filePath(QStringLiteral("BAJTY.DB"));
    dp::TableContent content;
    content.fields = test::fixtureFields(
        {{"PRAZDNY", "A", 4}, {"DOS", "A", 4}, {"CAS", "T"}, {"ZMENA", "@"}, {"OBJEM", "#", 2}, {"POCET", "S"}});
    content.codePage = 852;
    QByteArray rec(content.fields.back().offset + content.fields.back().width, '\0');
    rec[content.fields[0].offset] = ' ';                                   // empty, not NULL
    std::memcpy(rec.data() + content.fields[1].offset, "a\x7f\x1a\x1c", 4);   // DOS control bytes
    dp::encodeLong(content.fields[2], rec.data(), 90000000);               // 25 hours
    dp::encodeDouble(content.fields[3], rec.data(), 63800000000000.25);    // a quarter millisecond
    dp::encodeBcdText(content.fields[4], rec.data(), QStringLiteral("123456789012345678.25"));
    dp::encodeShort(content.fields[5], rec.data(), 1);
    content.records = rec;
    content.recordCount = 1;
    dp::writeTable(path, content);
    {
        Table t;
        open(t, QStringLiteral("BAJTY"));
        t.Edit();
        t.FieldByName(QStringLiteral("POCET")).AsInteger(2);
        t.Post();
    }
    const dp::ParadoxFile after(path);
    const int kept = content.fields[5].offset;
    EXPECT_EQ(QByteArray(after.record(0), kept).toHex(), rec.left(kept).toHex());
    EXPECT_EQ(dp::decodeShort(content.fields[5], after.record(0)), 2);
}

// Appends into an ordered table keep the order incrementally: the view and the cursor are those
// of a table ordered from scratch.
TEST_F(TableStorageTest, AppendsIntoAnOrderedTableKeepTheOrderAndTheCursor)
{
    write(QStringLiteral("PORADI.DB"), {{"ODD", "I"}, {"DIL", "A", 1}}, {{5, "a"}, {3, "b"}});
    Table t;
    open(t, QStringLiteral("PORADI"), QStringLiteral("ODD;DIL"));
    QRandomGenerator random(7);
    for (int i = 0; i < 200; ++i) {
        const int odd = int(random.bounded(20));
        const QString dil = QString(QChar(u'a' + int(random.bounded(3))));
        t.Append();
        t.Fields(0).AsInteger(odd);
        t.Fields(1).AsString(dil);
        t.Post();
        ASSERT_EQ(t.Fields(0).AsInteger(), odd);
        ASSERT_EQ(t.Fields(1).AsString(), dil);
        if (i % 50 == 0) {   // an edit moves its row too
            t.Edit();
            t.Fields(0).AsInteger(10);
            t.Post();
            ASSERT_EQ(t.Fields(0).AsInteger(), 10);
        }
    }
    const QStringList incremental = column(t, "ODD") + column(t, "DIL");
    ASSERT_TRUE(t.FindKey({10}));   // the key search sorts what the posts left unsorted
    EXPECT_EQ(t.Fields(0).AsInteger(), 10);
    t.Prior();
    EXPECT_LT(t.Fields(0).AsInteger(), 10);
    t.Refresh();
    Table fresh;
    open(fresh, QStringLiteral("PORADI"), QStringLiteral("ODD;DIL"));
    EXPECT_EQ(incremental, column(fresh, "ODD") + column(fresh, "DIL"));
    EXPECT_EQ(fresh.RecordCount(), 202);
}

// A table appended to past a few megabytes grows into a large reservation and is saved from an
// image of its own pages: every row keeps its values, in memory and in the saved file.
TEST_F(TableStorageTest, RowsAppendedPastAFewMegabytesKeepTheirValues)
{
    const QString path = write(QStringLiteral("VELKA.DB"), {{"ID", "I"}, {"TEXT", "A", 255}}, {});
    const int rows = 16000;   // 4.1 MB of records, a file of 4.4 MB
    const auto text = [](int i) { return QString::number(i * 7919).repeated(1 + i % 40).left(255); };
    Table t;
    open(t, QStringLiteral("VELKA"));
    for (int i = 0; i < rows; ++i) {
        t.Append();
        t.Fields(0).AsInteger(i);
        t.Fields(1).AsString(text(i));
        t.Post();
    }
    int i = 0;
    for (t.First(); !t.Eof(); t.Next(), ++i) {
        ASSERT_EQ(t.Fields(0).AsInteger(), i);
        ASSERT_EQ(t.Fields(1).AsString(), text(i));
    }
    EXPECT_EQ(i, rows);
    t.Close();
    const dp::ParadoxFile file(path);
    ASSERT_EQ(file.recordCount(), rows);
    for (int r = 0; r < rows; ++r) {
        ASSERT_EQ(dp::decodeLong(file.fields()[0], file.record(r)), r);
        ASSERT_EQ(dp::decodeAlpha(file.fields()[1], file.record(r), file.codePage()), text(r));
    }
}

// Every spelling of one file reaches the same shared rows.
TEST_F(TableStorageTest, NamesOfOneFileShareItsRows)
{
    write(QStringLiteral("LHC.DB"), {{"ID", "N"}}, {{1.0}});
    Table a, b;
    open(a, QStringLiteral("lhc"));
    b.SetTableName(m_dir.path() + QStringLiteral("/./LHC.db"));
    b.Open();
    a.Edit();
    a.Fields(0).AsInteger(4);
    a.Post();
    b.Refresh();
    EXPECT_EQ(b.Fields(0).AsInteger(), 4);
}

} // namespace

namespace {

// A text column read row by row gives what the row's value gives, however values repeat, grow,
// shrink, empty or differ in blanks alone, in either direction and in two columns out of step.
TEST_F(TableStorageTest, TextsOfRepeatedValuesAgreeWithTheRowValues)
{
    const QStringList texts = {QStringLiteral("Jedle"), QStringLiteral("Jedle"), QStringLiteral("Jed"),
                               QStringLiteral("Jedle  "), QString(), QStringLiteral("jedle"),
                               QStringLiteral("Žluť"), QStringLiteral("Jedle"), QStringLiteral("Žluť")};
    QList<QVariantList> rows;
    for (qsizetype i = 0; i < texts.size(); ++i) {
        const QString& b = texts[(i + 3) % texts.size()];
        rows.append({texts[i].isNull() ? QVariant() : QVariant(texts[i]), b.isNull() ? QVariant() : QVariant(b)});
    }
    write(QStringLiteral("T.DB"), {{"A", "A", 8}, {"B", "A", 8}}, rows);
    Table t;
    open(t, QStringLiteral("T"));
    auto check = [&] {
        for (int f = 0; f < 2; ++f) {
            QString expected = t.Fields(f).Value().toString();
            db::dropPaddingBlanks(expected);
            EXPECT_EQ(t.Fields(f).AsString(), expected) << "row " << t.RecNo() << " field " << f;
        }
    };
    for (t.First(); !t.Eof(); t.Next())
        check();
    for (t.Last(); !t.Bof(); t.Prior())
        check();
}

} // namespace
