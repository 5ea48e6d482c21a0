// Damaged tables and blob files: every case raises EDatabaseError naming the file, or
// (where the damage is harmless) opens and reads without fault. Run under ASan.
#include "platform/Exceptions.h"
#include "platform/db/paradox/ParadoxFile.h"
#include "support/ParadoxFixture.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using namespace db::paradox;

namespace {

constexpr int kRows = 300;   // 42-byte records, 97 per 4 KB block: 4 blocks

QList<QVariantList> baseRows()
{
    QList<QVariantList> rows;
    for (int i = 0; i < kRows; ++i) {
        QVariant memo;
        if (i % 10 == 0)
            memo = QStringLiteral("Poznámka číslo %1. ").arg(i).repeated(i == 50 ? 400 : 3);
        else if (i % 10 == 1)
            memo = QStringLiteral("krátká");
        rows.append({QStringLiteral("Řádek %1").arg(i), i * 7, i / 3.0, memo});
    }
    return rows;
}

const QList<test::FixtureField> kFields = {
    {QStringLiteral("Nazev"), QStringLiteral("A"), 10},
    {QStringLiteral("Cislo"), QStringLiteral("I")},
    {QStringLiteral("Hodnota"), QStringLiteral("N")},
    {QStringLiteral("Pozn"), QStringLiteral("M"), 10},
};

enum class Expect { Error, ErrorUnlessUnchanged, NoCrash };

struct Damage
{
    std::string name;
    std::function<void(QByteArray& db, QByteArray& mb)> apply;
    Expect expect;
};

void put(QByteArray& d, qsizetype at, int bytes, uint32_t v)
{
    for (int i = 0; i < bytes; ++i)
        d[at + i] = char((v >> (8 * i)) & 0xFF);
}

constexpr qsizetype kHeader = 0x800;
constexpr qsizetype kBlock = 4096;
qsizetype blockAt(int k) { return kHeader + (k - 1) * kBlock; }

std::vector<Damage> truncations()
{
    std::vector<Damage> cases;
    const qsizetype full = kHeader + 4 * kBlock;
    std::vector<qsizetype> sizes = {0, 1, 0x20, 0x77, 0x78, 0x100};
    for (qsizetype boundary = kHeader; boundary <= full; boundary += kBlock) {
        for (const qsizetype delta : {-7, -6, -1, 0, 1, 6})
            sizes.push_back(boundary + delta);
    }
    for (const qsizetype size : sizes) {
        if (size == full)
            continue;
        cases.push_back({"Truncated_" + std::to_string(size),
                         [size](QByteArray& db, QByteArray&) {
                             if (size <= db.size()) db.truncate(size); else db.append(QByteArray(size - db.size(), '\0'));
                         },
                         Expect::Error});
    }
    return cases;
}

std::vector<Damage> headerExtremes()
{
    struct Field { const char* name; qsizetype at; int bytes; Expect expect; };
    const Field fields[] = {
        {"RecordSize", 0x00, 2, Expect::ErrorUnlessUnchanged},
        {"HeaderSize", 0x02, 2, Expect::ErrorUnlessUnchanged},
        {"FileType", 0x04, 1, Expect::NoCrash},
        {"BlockSize", 0x05, 1, Expect::ErrorUnlessUnchanged},
        {"RecordCount", 0x06, 4, Expect::ErrorUnlessUnchanged},
        {"BlocksUsed", 0x0A, 2, Expect::ErrorUnlessUnchanged},
        {"BlocksInFile", 0x0C, 2, Expect::ErrorUnlessUnchanged},
        {"FirstBlock", 0x0E, 2, Expect::ErrorUnlessUnchanged},
        {"LastBlock", 0x10, 2, Expect::ErrorUnlessUnchanged},
        {"FieldCount", 0x21, 2, Expect::ErrorUnlessUnchanged},
        {"KeyFields", 0x23, 2, Expect::NoCrash},
        {"Crypt3", 0x25, 4, Expect::NoCrash},
        {"SortOrder", 0x29, 1, Expect::NoCrash},
        {"Version", 0x39, 1, Expect::NoCrash},
        {"AutoInc", 0x49, 4, Expect::NoCrash},
        {"Crypt4", 0x5C, 4, Expect::NoCrash},
        {"CodePage", 0x6A, 2, Expect::NoCrash},
        {"FieldType1", 0x78, 1, Expect::ErrorUnlessUnchanged},
        {"FieldWidth1", 0x79, 1, Expect::ErrorUnlessUnchanged},
        {"FieldWidth4", 0x7F, 1, Expect::ErrorUnlessUnchanged},
    };
    std::vector<Damage> cases;
    for (const Field& f : fields) {
        const uint32_t max = f.bytes == 4 ? 0xFFFFFFFFu : (1u << (8 * f.bytes)) - 1;
        for (const uint32_t value : {0u, 1u, max / 2, max / 2 + 1, max}) {
            const Expect expect = f.expect;
            cases.push_back({std::string(f.name) + "_" + std::to_string(value),
                             [f, value](QByteArray& db, QByteArray&) { put(db, f.at, f.bytes, value); }, expect});
        }
    }
    return cases;
}

std::vector<Damage> chainDamage()
{
    std::vector<Damage> cases;
    const auto next = [](int block, uint32_t to) {
        return [block, to](QByteArray& db, QByteArray&) { put(db, blockAt(block), 2, to); };
    };
    cases.push_back({"LoopBackToFirst", next(4, 1), Expect::Error});
    cases.push_back({"LoopToItself", next(2, 2), Expect::Error});
    cases.push_back({"ChainEndsEarly", next(2, 0), Expect::Error});
    cases.push_back({"NextPastFile", next(3, 5), Expect::Error});
    cases.push_back({"NextMax", next(1, 0xFFFF), Expect::Error});
    cases.push_back({"PrevWrong", [](QByteArray& db, QByteArray&) { put(db, blockAt(3) + 2, 2, 1); }, Expect::Error});
    cases.push_back({"SwapOrder", [](QByteArray& db, QByteArray&) {
                         put(db, blockAt(1), 2, 3); put(db, blockAt(3) + 2, 2, 1);
                     }, Expect::Error});
    for (const int add : {1, -1, -43, 41, 4090, 0x7FFF, -0x8000, 97 * 42}) {
        cases.push_back({"AddDataSize_" + std::to_string(add < 0 ? 100000 - add : add),
                         [add](QByteArray& db, QByteArray&) { put(db, blockAt(2) + 4, 2, uint32_t(uint16_t(add))); },
                         Expect::Error});
    }
    return cases;
}

// Blob damage: the table opens; reading the damaged memo raises EDatabaseError naming the .MB.
std::vector<Damage> blobDamage()
{
    // Row 0's memo (field 4, pointer at +32 of the record) sits in a sub-allocated block,
    // row 50's in a type-2 block.
    const auto pointerAt = [](int row) { return blockAt(1) + 6 + qsizetype(row) * 42 + 32; };
    std::vector<Damage> cases;
    cases.push_back({"BlobPastEnd", [=](QByteArray& db, QByteArray&) { put(db, pointerAt(0), 4, 0x7FFFFF01); }, Expect::Error});
    cases.push_back({"BlobOffsetZero", [=](QByteArray& db, QByteArray&) { put(db, pointerAt(0), 4, 0); }, Expect::Error});
    cases.push_back({"BlobInHeaderBlock", [=](QByteArray& db, QByteArray&) { put(db, pointerAt(0), 4, 0x0000003F); }, Expect::Error});
    cases.push_back({"BlobLengthMismatch", [=](QByteArray& db, QByteArray&) { put(db, pointerAt(0) + 4, 4, 5000); }, Expect::Error});
    cases.push_back({"BigBlobLengthMismatch", [=](QByteArray& db, QByteArray&) { put(db, pointerAt(50) + 4, 4, 17); }, Expect::Error});
    cases.push_back({"BlobHugeLength", [=](QByteArray& db, QByteArray&) { put(db, pointerAt(50) + 4, 4, 0xFFFFFFFF); }, Expect::Error});
    cases.push_back({"BlobWrongSlot", [=](QByteArray& db, QByteArray&) { put(db, pointerAt(0), 1, 0x05); }, Expect::Error});
    cases.push_back({"BlobBlockWrongType", [](QByteArray&, QByteArray& mb) { mb[4096] = 4; }, Expect::Error});
    cases.push_back({"BlobFileTruncated", [](QByteArray&, QByteArray& mb) { mb.truncate(4096 + 100); }, Expect::Error});
    cases.push_back({"BlobFileEmpty", [](QByteArray&, QByteArray& mb) { mb.clear(); }, Expect::Error});
    cases.push_back({"BlobEntriesOverlap", [](QByteArray&, QByteArray& mb) {
                         mb[4096 + 12 + 5 * 62] = mb[4096 + 12 + 5 * 63];   // the second blob starts in the first
                     }, Expect::Error});
    cases.push_back({"BlobEntryCorrupt", [](QByteArray&, QByteArray& mb) {
                         for (int i = 0; i < 64 * 5; ++i) mb[4096 + 12 + i] = char(0xFF);
                     }, Expect::Error});
    return cases;
}

class CorruptTable : public ::testing::TestWithParam<Damage>
{
protected:
    static void SetUpTestSuite()
    {
        s_dir = std::make_unique<QTemporaryDir>();
        const QString path = s_dir->filePath(QStringLiteral("BASE.DB"));
        test::writeParadoxTable(path, kFields, baseRows());
        QFile db(path), mb(s_dir->filePath(QStringLiteral("BASE.MB")));
        ASSERT_TRUE(db.open(QIODevice::ReadOnly) && mb.open(QIODevice::ReadOnly));
        s_db = db.readAll();
        s_mb = mb.readAll();
    }
    static void TearDownTestSuite() { s_dir.reset(); }

    // Writes the damaged copy; answers the path of its .DB.
    QString damagedCopy(QByteArray& db, QByteArray& mb) const
    {
        db = s_db;
        mb = s_mb;
        GetParam().apply(db, mb);
        const QString name = QString::fromStdString(GetParam().name);
        const QString path = s_dir->filePath(name + QStringLiteral(".DB"));
        QFile f(path), m(s_dir->filePath(name + QStringLiteral(".MB")));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly) && m.open(QIODevice::WriteOnly));
        f.write(db);
        m.write(mb);
        return path;
    }

    static inline std::unique_ptr<QTemporaryDir> s_dir;
    static inline QByteArray s_db;
    static inline QByteArray s_mb;
};

// Reads every value and blob; answers the first error's message, empty when none.
QString readEverything(const QString& path)
{
    try {
        const ParadoxFile table(path);
        for (int r = 0; r < table.recordCount(); ++r) {
            for (int i = 0; i < table.fields().size(); ++i)
                (void)table.value(r, i);
        }
    } catch (const EDatabaseError& e) {
        return e.message();
    }
    return QString();
}

} // namespace

TEST_P(CorruptTable, RaisesOrReadsCleanly)
{
    QByteArray db, mb;
    const QString path = damagedCopy(db, mb);
    const QString error = readEverything(path);
    const QString name = QString::fromStdString(GetParam().name);
    switch (GetParam().expect) {
    case Expect::Error:
        ASSERT_FALSE(error.isEmpty());
        EXPECT_TRUE(error.contains(name + QStringLiteral(".DB")) || error.contains(name + QStringLiteral(".MB")))
            << qPrintable(error);
        break;
    case Expect::ErrorUnlessUnchanged:
        if (db != s_db)
            EXPECT_FALSE(error.isEmpty());
        else
            EXPECT_TRUE(error.isEmpty()) << qPrintable(error);
        break;
    case Expect::NoCrash:
        break;
    }
}

TEST(CorruptTableBase, TheUndamagedCopyReads)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("OK.DB"));
    test::writeParadoxTable(path, kFields, baseRows());
    const ParadoxFile table(path);
    EXPECT_EQ(table.header().blocksInFile, 4);
    EXPECT_EQ(table.recordCount(), kRows);
    EXPECT_TRUE(readEverything(path).isEmpty());
    EXPECT_EQ(table.memoText(50, 3), baseRows()[50][3].toString());
}

TEST(CorruptTableBase, MissingTableNamesTheFile)
{
    try {
        ParadoxFile table(QStringLiteral("/nonexistent/NIC.DB"));
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("NIC.DB")));
    }
}

namespace {

std::string caseName(const ::testing::TestParamInfo<Damage>& info)
{
    return info.param.name;
}

} // namespace

namespace {

// An unkeyed table that declares key fields: a save would re-sort the rows and write it as keyed.
std::vector<Damage> keyCountDamage()
{
    return {{"UnkeyedWithKeyFields", [](QByteArray& db, QByteArray&) { put(db, 0x23, 2, 1); }, Expect::Error}};
}

} // namespace

INSTANTIATE_TEST_SUITE_P(KeyCount, CorruptTable, ::testing::ValuesIn(keyCountDamage()), caseName);
INSTANTIATE_TEST_SUITE_P(Truncation, CorruptTable, ::testing::ValuesIn(truncations()), caseName);
INSTANTIATE_TEST_SUITE_P(Header, CorruptTable, ::testing::ValuesIn(headerExtremes()), caseName);
INSTANTIATE_TEST_SUITE_P(Chain, CorruptTable, ::testing::ValuesIn(chainDamage()), caseName);
INSTANTIATE_TEST_SUITE_P(Blob, CorruptTable, ::testing::ValuesIn(blobDamage()), caseName);
