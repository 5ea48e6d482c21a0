// Tables in the older layouts (level 3.5 and 4 headers, 2 KB blocks, free blocks, stale
// bytes after the last record) built byte by byte, read by our reader and by pxlib.
#include "platform/db/paradox/ParadoxFile.h"
#include "platform/db/paradox/PxlibCheck.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace db::paradox;

namespace {

// versionId: 4 = 3.5, 9 = 4.x, 12 = 7; codePage: written at 0x6A from level 4 on
struct Layout { const char* name; int versionId; int blockKb; int codePage; };

void put(QByteArray& d, qsizetype at, int bytes, uint32_t v)
{
    for (int i = 0; i < bytes; ++i)
        d[at + i] = char((v >> (8 * i)) & 0xFF);
}

// Fields: Alpha 12 "Dřevina" and Short "Věk"; record size 14. Rows go into the chain
// 1 -> 3 -> 2 (block 4 is free), each block one record short of full, tails filled
// with junk as real files have them.
QByteArray buildTable(const Layout& l, int rows, int& perBlock)
{
    const int rs = 14, bs = l.blockKb * 1024;
    perBlock = (bs - 6) / rs - 1;
    const int n = 2;
    const qsizetype base = l.versionId >= 5 ? 0x78 : 0x58;
    QByteArray h(0x800, '\0');
    put(h, 0x00, 2, rs);
    put(h, 0x02, 2, 0x800);
    h[0x04] = 2;
    h[0x05] = char(l.blockKb);
    put(h, 0x06, 4, uint32_t(rows));
    put(h, 0x0A, 2, 3);
    put(h, 0x0C, 2, 4);
    put(h, 0x0E, 2, 1);
    put(h, 0x10, 2, 2);
    put(h, 0x21, 2, n);
    put(h, 0x25, 4, l.versionId >= 5 ? 0xFF00FF00u : 0);
    h[0x39] = char(l.versionId);
    put(h, 0x4D, 2, 4);   // first free block
    if (l.versionId >= 5)
        put(h, 0x6A, 2, uint32_t(l.codePage));
    h[base] = 0x01;
    h[base + 1] = 12;
    h[base + 2] = 0x03;
    h[base + 3] = 2;
    qsizetype at = base + 6 * n + 4 + (l.versionId >= 12 ? 261 : 79);
    // "Dřevina" and "Věk" in windows-1250 / cp852.
    const QByteArray names = l.codePage == 852 ? QByteArray("D\xFD" "evina\0V\xD8k\0", 12)
                                               : QByteArray("D\xF8" "evina\0V\xECk\0", 12);
    h.replace(at, names.size(), names);
    QByteArray file = h + QByteArray(4 * bs, 'J');   // junk everywhere, overwritten below
    const int chain[] = {1, 3, 2};
    int row = 0;
    for (int k = 0; k < 3; ++k) {
        const qsizetype b = 0x800 + qsizetype(chain[k] - 1) * bs;
        const int count = std::min(perBlock, rows - row);
        put(file, b, 2, k < 2 ? uint32_t(chain[k + 1]) : 0);
        put(file, b + 2, 2, k > 0 ? uint32_t(chain[k - 1]) : 0);
        put(file, b + 4, 2, uint32_t(uint16_t((count - 1) * rs)));
        for (int i = 0; i < count; ++i, ++row) {
            const qsizetype r = b + 6 + qsizetype(i) * rs;
            const QByteArray text = QByteArray("Buk ") + QByteArray::number(row);
            file.replace(r, 12, text.leftJustified(12, '\0'));
            put(file, r + 12, 1, uint32_t(0x80 | ((row >> 8) & 0x7F)));
            put(file, r + 13, 1, uint32_t(row & 0xFF));
        }
    }
    const qsizetype freeBlock = 0x800 + 3 * qsizetype(bs);
    put(file, freeBlock, 2, 0);
    put(file, freeBlock + 2, 2, 0);
    put(file, freeBlock + 4, 2, uint32_t(uint16_t(-rs)));
    return file;
}

class LegacyLayout : public ::testing::TestWithParam<Layout>
{
};

} // namespace

TEST_P(LegacyLayout, ReadsInChainOrder)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("STARY.DB"));
    const Layout& l = GetParam();
    int perBlock = (l.blockKb * 1024 - 6) / 14 - 1;
    const int total = 2 * perBlock + 5;
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(buildTable(l, total, perBlock));
    f.close();

    const ParadoxFile table(path);
    EXPECT_EQ(table.header().versionId, l.versionId);
    EXPECT_EQ(table.header().blockSize, l.blockKb * 1024);
    EXPECT_EQ(table.fields()[0].name, QStringLiteral("Dřevina"));
    EXPECT_EQ(table.fields()[1].name, QStringLiteral("Věk"));
    ASSERT_EQ(table.recordCount(), total);
    for (int r = 0; r < total; ++r) {
        EXPECT_EQ(table.value(r, 0).toString(), QStringLiteral("Buk %1").arg(r));
        EXPECT_EQ(table.value(r, 1).toInt(), r);
    }
    test::PxlibReader px(path);
    ASSERT_TRUE(px.isOpen());
    ASSERT_EQ(px.recordCount(), total);
    for (int r = 0; r < total; r += 7)
        EXPECT_EQ(px.value(r, 1).toInt(), r);
}

INSTANTIATE_TEST_SUITE_P(Levels, LegacyLayout,
                         ::testing::Values(Layout{"Level35_2K", 4, 2, 0}, Layout{"Level4_2K", 9, 2, 1250},
                                           Layout{"Level4_Cp852", 9, 2, 852}, Layout{"Level7_1K", 12, 1, 1250},
                                           Layout{"Level7_4K", 12, 4, 1250}),
                         [](const auto& info) { return std::string(info.param.name); });
