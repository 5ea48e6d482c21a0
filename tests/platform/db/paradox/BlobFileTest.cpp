// Sub-allocated blocks of a .MB as other programs leave them: free entries with stale lengths,
// entries no row addresses, damaged entries of single rows.
#include "platform/db/paradox/BlobFile.h"

#include "platform/Exceptions.h"
#include "platform/db/paradox/ParadoxFile.h"
#include "platform/db/paradox/PxlibCheck.h"
#include "support/ParadoxFixture.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace db::paradox;

namespace {

// Rows 0 and 1 take three 16-byte chunks each: 0x150..0x180 and 0x180..0x1B0 of the first block.
const QStringList kMemos = {QString(40, u'a'), QString(40, u'ž'), QString(100, u'c'), QString(300, u'd')};

class BlobFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QList<QVariantList> rows;
        for (int i = 0; i < kMemos.size(); ++i)
            rows.append({i + 1, kMemos[i]});
        test::writeParadoxTable(m_path, {{"ID", "I"}, {"Pozn", "M", 10}}, rows);
        QFile mb(m_mbPath);
        ASSERT_TRUE(mb.open(QIODevice::ReadOnly));
        m_mb = mb.readAll();
    }

    // Where the entry a row addresses lies in the .MB.
    qsizetype entryOf(int row) const
    {
        const ParadoxFile table(m_path);
        const uint32_t offset = decodeBlobPointer(table.fields()[1], table.record(row)).offset;
        return qsizetype(offset & ~0xFFu) + 12 + 5 * qsizetype(offset & 0xFF);
    }
    // An entry of the first sub-allocated block (the one after the header unit).
    static qsizetype entry(int index) { return 0x1000 + 12 + 5 * index; }
    void setEntry(qsizetype at, int start, int chunks, int mod, int last)
    {
        m_mb[at] = char(start / 16);
        m_mb[at + 1] = char(chunks);
        m_mb[at + 2] = char(mod);
        m_mb[at + 3] = 0;
        m_mb[at + 4] = char(last);
    }
    void saveBlobFile()
    {
        QFile mb(m_mbPath);
        ASSERT_TRUE(mb.open(QIODevice::WriteOnly | QIODevice::Truncate));
        mb.write(m_mb);
    }
    // Each row's memo as our engine reads it, or "chyba" when it raises.
    QStringList readOurs() const
    {
        const ParadoxFile table(m_path);
        QStringList memos;
        for (int r = 0; r < table.recordCount(); ++r) {
            try {
                memos.append(table.memoText(r, 1));
            } catch (const EDatabaseError& e) {
                memos.append(QStringLiteral("chyba: ") + e.message());
            }
        }
        return memos;
    }
    QStringList readPxlib() const
    {
        test::PxlibReader px(m_path);
        px.attachBlobFile(m_mbPath);
        QStringList memos;
        for (int r = 0; r < px.recordCount(); ++r)
            memos.append(CodePage::forNumber(1250).decode(px.value(r, 1).toByteArray()));
        return memos;
    }

    QTemporaryDir m_dir;
    const QString m_path = m_dir.filePath(QStringLiteral("POZN.DB"));
    const QString m_mbPath = m_dir.filePath(QStringLiteral("POZN.MB"));
    QByteArray m_mb;
};

} // namespace

TEST_F(BlobFileTest, FreeEntriesWithStaleLengthsAndEntriesNoRowAddressesAreIgnored)
{
    // Freed as the engine frees: offset and mod number 0, the old lengths kept.
    for (int i = 0; i < 20; ++i)
        setEntry(entry(i), 0, 40, 0, 9);
    // A deleted row's blob whose chunks a later one took.
    setEntry(entry(25), 0x160, 4, 1, 16);
    // Shapes no data can have: past the block's end, a last chunk of 0 or 17 bytes.
    setEntry(entry(26), 0xF80, 20, 1, 5);
    setEntry(entry(27), 0x150, 8, 1, 0);
    setEntry(entry(28), 0x150, 8, 1, 17);
    saveBlobFile();
    EXPECT_EQ(readOurs(), kMemos);
    EXPECT_EQ(readPxlib(), kMemos);
}

// An entry a row addresses but no data can have fails that row only.
TEST_F(BlobFileTest, ADamagedEntryFailsOnlyItsOwnRow)
{
    setEntry(entryOf(2), 0, 40, 0, 4);   // freed while the row still points to it
    setEntry(entryOf(3), 0x150, 19, 1, 17);
    saveBlobFile();
    const QStringList read = readOurs();
    ASSERT_EQ(read.size(), 4);
    EXPECT_EQ(read.mid(0, 2), kMemos.mid(0, 2));
    EXPECT_TRUE(read[2].startsWith(QStringLiteral("chyba: "))) << qPrintable(read[2]);
    EXPECT_TRUE(read[3].startsWith(QStringLiteral("chyba: "))) << qPrintable(read[3]);
}

// Two rows whose data share bytes: neither is read (the second entry moved from 0x180 to 0x170).
TEST_F(BlobFileTest, AddressedEntriesThatOverlapStillFail)
{
    setEntry(entryOf(1), 0x170, 3, 1, 8);
    saveBlobFile();
    const QStringList read = readOurs();
    ASSERT_EQ(read.size(), 4);
    for (int row : {0, 1})
        EXPECT_TRUE(read[row].contains(QStringLiteral("překrývají"))) << qPrintable(read[row]);
    EXPECT_EQ(read.mid(2), kMemos.mid(2));
}
