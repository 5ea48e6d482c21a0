// Encrypted tables written by pxlib with a password, read by our engine without one.
#include "platform/Exceptions.h"
#include "platform/db/paradox/ParadoxFile.h"
#include "platform/db/paradox/PxlibTable.h"
#include "support/ParadoxFixture.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>

extern "C" {
// libpx's block scrambling, exported but not declared in paradox.h.
void px_encrypt_db_block(unsigned char* src, unsigned char* dst, long encryption, long size, long blockno);
void px_decrypt_db_block(unsigned char* src, unsigned char* dst, long encryption, long size, long blockno);
void px_encrypt_mb_block(unsigned char* src, unsigned char* dst, long encryption, long size);
}

using namespace db::paradox;

namespace {

const QList<test::FixtureField> kFields = {
    {QStringLiteral("Kód"), QStringLiteral("A"), 12}, {QStringLiteral("Počet"), QStringLiteral("S")},
    {QStringLiteral("Plocha"), QStringLiteral("N")},  {QStringLiteral("Datum"), QStringLiteral("D")},
    {QStringLiteral("Objem"), QStringLiteral("#"), 2}, {QStringLiteral("Pozn"), QStringLiteral("M"), 20},
};

QList<QVariantList> rowsOf(int count)
{
    QList<QVariantList> rows;
    for (int i = 0; i < count; ++i) {
        rows.append({QStringLiteral("Jedle %1").arg(i), i % 300, i * 0.25, double(36000 + i),
                     QString::number(i) + QStringLiteral(".50"),
                     i % 2 ? QVariant(QStringLiteral("čtvrť %1").arg(i)) : QVariant()});
    }
    return rows;
}

} // namespace

TEST(EncryptedTable, IsReadWithoutPassword)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("TAJNA.DB"));
    const QList<QVariantList> rows = rowsOf(250);
    test::writeParadoxTable(path, kFields, rows, {0, QStringLiteral("heslo"), 1250});

    QFile raw(path);
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    EXPECT_FALSE(raw.readAll().contains("Jedle 1"));   // the data blocks are scrambled

    const ParadoxFile table(path);
    EXPECT_TRUE(table.header().isEncrypted);
    ASSERT_EQ(table.recordCount(), rows.size());
    EXPECT_EQ(table.fields()[0].name, QStringLiteral("Kód"));
    for (int r = 0; r < rows.size(); ++r) {
        EXPECT_EQ(table.value(r, 0).toString(), rows[r][0].toString());
        EXPECT_EQ(table.value(r, 1).toInt(), rows[r][1].toInt());
        EXPECT_EQ(table.value(r, 2).toDouble(), rows[r][2].toDouble());
        EXPECT_EQ(table.value(r, 3).toDouble(), rows[r][3].toDouble());
        EXPECT_EQ(table.value(r, 4).toDouble(), rows[r][4].toString().toDouble());
        EXPECT_EQ(table.memoText(r, 5), rows[r][5].toString());
    }
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void overwrite(const QString& path, const QByteArray& data)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(data);
}

void expectDamaged(const QString& path, const QString& reason)
{
    try {
        const ParadoxFile table(path);
        ADD_FAILURE() << "opened a damaged table";
    } catch (const EDatabaseError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("TAJNA.DB"))) << qPrintable(e.message());
        EXPECT_TRUE(e.message().contains(reason)) << qPrintable(e.message());
    }
}

TEST(EncryptedTable, ScrambledBlocksRaise)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("TAJNA.DB"));
    test::writeParadoxTable(path, kFields, rowsOf(400), {0, QStringLiteral("heslo"), 1250});
    QByteArray data = readAll(path);
    const qsizetype headerSize = uint8_t(data[2]) | (uint8_t(data[3]) << 8);
    for (qsizetype i = headerSize; i < data.size(); i += 7)
        data[i] = char(data[i] ^ 0x5A);
    overwrite(path, data);
    expectDamaged(path, QString());
}

// pxlib walks the chain of an encrypted table without a cycle check and never returns.
TEST(EncryptedTable, LoopingChainRaisesInsteadOfHanging)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("TAJNA.DB"));
    test::writeParadoxTable(path, kFields, rowsOf(400), {0, QStringLiteral("heslo"), 1250});
    QByteArray data = readAll(path);
    const ParadoxFile intact(path);
    const HeaderInfo& h = intact.header();
    ASSERT_GE(h.blocksInFile, 2);
    auto* blockTwo = reinterpret_cast<unsigned char*>(data.data()) + h.headerSize + h.blockSize;
    px_decrypt_db_block(blockTwo, blockTwo, long(h.encryptionKey), h.blockSize, 2);
    blockTwo[0] = 1;   // next of block 2 -> block 1
    blockTwo[1] = 0;
    px_encrypt_db_block(blockTwo, blockTwo, long(h.encryptionKey), h.blockSize, 2);
    overwrite(path, data);
    expectDamaged(path, QStringLiteral("zacyklený"));
}

// pxlib reads a blob that runs past the end of a truncated .MB with an uninitialised tail.
TEST(EncryptedTable, BlobPastTheEndOfTheBlobFileRaises)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("TAJNA.DB"));
    test::writeParadoxTable(path, kFields, rowsOf(3), {0, QStringLiteral("heslo"), 1250});
    const QList<test::FixtureField> memo = {{QStringLiteral("Pozn"), QStringLiteral("M"), 20}};
    test::writeParadoxTable(dir.filePath(QStringLiteral("JINA.DB")), memo, {{QByteArray(5000, 'm')}});
    QByteArray blobs = readAll(dir.filePath(QStringLiteral("JINA.MB")));
    QByteArray data = readAll(path);
    const ParadoxFile plain(path);
    const HeaderInfo h = plain.header();
    const FieldDef& pozn = plain.fields()[5];
    auto* block = reinterpret_cast<unsigned char*>(data.data()) + h.headerSize;
    px_decrypt_db_block(block, block, long(h.encryptionKey), h.blockSize, 1);
    // Row 2's memo points at JINA's: the type-2 block at 4096, 5000 bytes.
    const unsigned char pointer[8] = {0xFF, 0x10, 0, 0, 0x88, 0x13, 0, 0};
    std::memcpy(block + 6 + h.recordSize + pozn.offset + pozn.width - 10, pointer, sizeof pointer);
    px_encrypt_db_block(block, block, long(h.encryptionKey), h.blockSize, 1);
    overwrite(path, data);
    auto* blobBlocks = reinterpret_cast<unsigned char*>(blobs.data()) + 4096;
    px_encrypt_mb_block(blobBlocks, blobBlocks, long(h.encryptionKey), blobs.size() - 4096);

    overwrite(dir.filePath(QStringLiteral("TAJNA.MB")), blobs);
    EXPECT_EQ(ParadoxFile(path).blob(1, 5), QByteArray(5000, 'm'));
    overwrite(dir.filePath(QStringLiteral("TAJNA.MB")), blobs.left(4096 + 4096));
    const ParadoxFile table(path);
    try {
        table.blob(1, 5);
        ADD_FAILURE() << "read a blob past the end of the file";
    } catch (const EDatabaseError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("TAJNA.MB"))) << qPrintable(e.message());
    }
}

// A sub-allocated blob lies somewhere in its 4 KB unit, whose entries are scrambled: a unit cut
// short by a truncated .MB is damage, not a blob with an uninitialised tail.
TEST(EncryptedTable, SubAllocatedBlobInATruncatedBlobFileRaises)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("TAJNA.DB"));
    test::writeParadoxTable(path, kFields, rowsOf(3), {0, QStringLiteral("heslo"), 1250});
    const QList<test::FixtureField> memo = {{QStringLiteral("Pozn"), QStringLiteral("M"), 20}};
    test::writeParadoxTable(dir.filePath(QStringLiteral("JINA.DB")), memo, {{QByteArray(300, 'm')}});
    QByteArray blobs = readAll(dir.filePath(QStringLiteral("JINA.MB")));
    QByteArray data = readAll(path);
    const ParadoxFile plain(path);
    const HeaderInfo h = plain.header();
    const FieldDef& pozn = plain.fields()[5];
    auto* block = reinterpret_cast<unsigned char*>(data.data()) + h.headerSize;
    px_decrypt_db_block(block, block, long(h.encryptionKey), h.blockSize, 1);
    // Row 2's memo points at JINA's: slot 63 of the sub-allocated block at 4096, 300 bytes.
    const unsigned char pointer[8] = {0x3F, 0x10, 0, 0, 0x2C, 0x01, 0, 0};
    std::memcpy(block + 6 + h.recordSize + pozn.offset + pozn.width - 10, pointer, sizeof pointer);
    px_encrypt_db_block(block, block, long(h.encryptionKey), h.blockSize, 1);
    overwrite(path, data);
    auto* blobBlocks = reinterpret_cast<unsigned char*>(blobs.data()) + 4096;
    px_encrypt_mb_block(blobBlocks, blobBlocks, long(h.encryptionKey), blobs.size() - 4096);

    // The blob's 300 bytes start 336 bytes into the unit: these cuts leave its head only.
    for (const int cut : {500, 635}) {
        overwrite(dir.filePath(QStringLiteral("TAJNA.MB")), blobs.left(4096 + cut));
        const ParadoxFile table(path);
        try {
            (void)table.blob(1, 5);
            ADD_FAILURE() << "read a blob cut at " << cut;
        } catch (const EDatabaseError& e) {
            EXPECT_TRUE(e.message().contains(QStringLiteral("TAJNA.MB"))) << qPrintable(e.message());
        }
    }
}

// Blobs of encrypted tables are read through pxlib; the same path must read the blob
// files of whole 4 KB units that the original engine (and our writer) produce.
TEST(EncryptedTable, PxlibBlobPathReadsEngineStyleBlobFiles)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("BLOBY.DB"));
    const QList<test::FixtureField> fields = {{QStringLiteral("Pozn"), QStringLiteral("M"), 10}};
    const QList<QVariantList> rows = {{QByteArray(300, 'm')}, {QByteArray(9000, 'M')}, {QByteArray("kratka")}};
    test::writeParadoxTable(path, fields, rows);
    const ParadoxFile table(path);
    PxlibTable px(path);
    for (int r = 0; r < 2; ++r)
        EXPECT_EQ(px.readBlob(table.blobPath(), table.fields()[0], table.record(r)), rows[r][0].toByteArray());
}
