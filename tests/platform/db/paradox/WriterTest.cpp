// Writing whole tables: layout, blob storage, refusals and failure safety.
#include "platform/Exceptions.h"
#include "platform/db/paradox/ParadoxFile.h"
#include "platform/db/paradox/ParadoxWriter.h"
#include "platform/db/paradox/PxlibCheck.h"
#include "support/ParadoxFixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace db::paradox;

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

const QList<test::FixtureField> kSmall = {
    {QStringLiteral("ID"), QStringLiteral("I")}, {QStringLiteral("Text"), QStringLiteral("A"), 30}};

} // namespace

TEST(Writer, EmptyTableReadsBackEverywhere)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("PRAZDNA.DB"));
    test::writeParadoxTable(path, kSmall, {});
    const ParadoxFile table(path);
    EXPECT_EQ(table.recordCount(), 0);
    EXPECT_EQ(table.header().blocksInFile, 0);
    EXPECT_EQ(fileBytes(path).size(), 0x800);
    test::PxlibReader px(path);
    ASSERT_TRUE(px.isOpen());
    EXPECT_EQ(px.recordCount(), 0);
    EXPECT_EQ(px.fieldCount(), 2);
}

TEST(Writer, BlocksArePackedChainedAndZeroed)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("BLOKY.DB"));
    QList<QVariantList> rows;
    for (int i = 0; i < 250; ++i)
        rows.append({i + 1, QStringLiteral("řádek %1").arg(i)});
    test::writeParadoxTable(path, kSmall, rows);
    const QByteArray data = fileBytes(path);
    const int perBlock = (4096 - 6) / 34;   // 120
    ASSERT_EQ(data.size(), 0x800 + 3 * 4096);
    const auto u16 = [&](qsizetype at) { return uint8_t(data[at]) | (uint8_t(data[at + 1]) << 8); };
    EXPECT_EQ(u16(0x0E), 1);
    EXPECT_EQ(u16(0x10), 3);
    EXPECT_EQ(uint8_t(data[0x39]), 12);
    EXPECT_EQ(u16(0x6A), 1250);
    for (int b = 0; b < 3; ++b) {
        const qsizetype at = 0x800 + b * 4096;
        const int count = std::min(perBlock, 250 - b * perBlock);
        EXPECT_EQ(u16(at), b < 2 ? b + 2 : 0);
        EXPECT_EQ(u16(at + 2), b);
        EXPECT_EQ(int16_t(u16(at + 4)), (count - 1) * 34);
        const QByteArray tail = data.mid(at + 6 + count * 34, 4096 - 6 - count * 34);
        EXPECT_EQ(tail, QByteArray(tail.size(), '\0'));
    }
    const ParadoxFile table(path);
    EXPECT_EQ(table.value(249, 1).toString(), QStringLiteral("řádek 249"));
}

TEST(Writer, BlobsUseEveryStorageKind)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("BLOBY.DB"));
    const QList<test::FixtureField> fields = {{QStringLiteral("Pozn"), QStringLiteral("M"), 20},
                                              {QStringLiteral("Obr"), QStringLiteral("G"), 10}};
    QList<QVariantList> rows;
    for (int i = 0; i < 200; ++i)   // 200 sub-allocated memos fill several type-3 blocks
        rows.append({QByteArray(20 + i * 7 % 700, char('a' + i % 26)), QVariant()});
    rows.append({QByteArray(5, 'l'), QByteArray("BM") + QByteArray(10, 's')});                       // leader only; small graphic
    rows.append({QByteArray(100000, 'L'), QByteArray("BM") + QByteArray(50000, 'g')});              // type 2
    test::writeParadoxTable(path, fields, rows);
    const QByteArray mb = fileBytes(dir.filePath(QStringLiteral("BLOBY.MB")));
    ASSERT_EQ(mb.size() % 4096, 0);
    int type2 = 0, type3 = 0;
    for (qsizetype at = 4096; at < mb.size();) {
        const int units = uint8_t(mb[at + 1]) | (uint8_t(mb[at + 2]) << 8);
        ASSERT_GT(units, 0);
        (mb[at] == 2 ? type2 : type3) += 1;
        ASSERT_TRUE(mb[at] == 2 || mb[at] == 3);
        at += qsizetype(units) * 4096;
    }
    EXPECT_EQ(type2, 3);   // the big memo and both graphics
    EXPECT_GT(type3, 2);

    const ParadoxFile table(path);
    test::PxlibReader px(path);
    px.attachBlobFile(dir.filePath(QStringLiteral("BLOBY.MB")));
    for (int r = 0; r < rows.size(); ++r) {
        for (int f = 0; f < 2; ++f) {
            EXPECT_EQ(table.blob(r, f), rows[r][f].toByteArray()) << r;
            EXPECT_EQ(px.value(r, f).toByteArray(), rows[r][f].toByteArray()) << r;
        }
    }
    const BlobPointer leaderOnly = decodeBlobPointer(table.fields()[0], table.record(200));
    EXPECT_EQ(leaderOnly.offset, 0u);
}

TEST(Writer, RewritingCarriesBlobsFromTheOldFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("PREPIS.DB"));
    const QList<test::FixtureField> fields = {{QStringLiteral("ID"), QStringLiteral("I")},
                                              {QStringLiteral("Pozn"), QStringLiteral("M"), 10}};
    test::writeParadoxTable(path, fields, {{1, QString(QStringLiteral("dlouhá poznámka ").repeated(50))}, {2, QVariant()}});
    std::unique_ptr<ParadoxFile> old = std::make_unique<ParadoxFile>(path);
    TableContent content;
    content.fields = old->fields();
    content.records = old->records().left(old->recordSize());   // keep the first row only
    content.recordCount = 1;
    content.blobPayload = [&](int field, const char* record, int) { return old->blob(field, record); };
    writeTable(path, content);
    old.reset();
    const ParadoxFile table(path);
    ASSERT_EQ(table.recordCount(), 1);
    EXPECT_EQ(table.memoText(0, 1), QStringLiteral("dlouhá poznámka ").repeated(50));
}

TEST(Writer, RefusesTablesWithIndexFiles)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("IDX.DB"));
    test::writeParadoxTable(path, kSmall, {{1, QStringLiteral("původní")}});
    const QByteArray before = fileBytes(path);
    QFile index(dir.filePath(QStringLiteral("idx.x02")));
    ASSERT_TRUE(index.open(QIODevice::WriteOnly));
    index.close();
    EXPECT_THROW(test::writeParadoxTable(path, kSmall, {{2, QStringLiteral("nový")}}), EDatabaseError);
    EXPECT_EQ(fileBytes(path), before);
}

TEST(Writer, RefusesBadFieldLists)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("SPATNE.DB"));
    const QList<QList<test::FixtureField>> bad = {
        {},
        {{QStringLiteral("A"), QStringLiteral("A"), 10}, {QStringLiteral("a"), QStringLiteral("I")}},
        {{QStringLiteral("Dlouhy_nazev_pole_pres_25_znaku"), QStringLiteral("I")}},
        {{QStringLiteral("Text"), QStringLiteral("A"), 0}},
        {{QStringLiteral("Text"), QStringLiteral("A"), 256}},
    };
    for (const auto& fields : bad)
        EXPECT_THROW(test::writeParadoxTable(path, fields, {}), EDatabaseError);
    EXPECT_FALSE(QFile::exists(path));
}

TEST(Writer, FailureLeavesTheOldTable)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("STARA.DB"));
    test::writeParadoxTable(path, kSmall, {{1, QStringLiteral("původní")}});
    const QByteArray before = fileBytes(path);
    // The blob file cannot be created (a directory holds its name): nothing may change.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("STARA.MB")));
    const QList<test::FixtureField> withMemo = {{QStringLiteral("ID"), QStringLiteral("I")},
                                                {QStringLiteral("Pozn"), QStringLiteral("M"), 10}};
    EXPECT_THROW(test::writeParadoxTable(path, withMemo, {{2, QString(300, u'x')}}), EDatabaseError);
    EXPECT_EQ(fileBytes(path), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("STARA.DB")});
}

