// Mutated copies of a table and its blob file: opening and reading every value either succeeds or
// raises EDatabaseError, never anything worse (run under the sanitizers).
#include "platform/Exceptions.h"
#include "platform/db/paradox/ParadoxFile.h"
#include "support/ParadoxFixture.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <random>

using namespace db::paradox;

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void overwrite(const QString& path, const QByteArray& data)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(data);
}

// One random change: a flipped bit, a set byte, a cut or inserted bytes. Offsets favour the
// header and the block headers, where the structure lives.
void mutate(QByteArray& data, std::mt19937& random)
{
    if (data.isEmpty()) {
        data.append(char(random()));
        return;
    }
    const auto pick = [&](qsizetype limit) { return qsizetype(random() % uint32_t(std::max<qsizetype>(limit, 1))); };
    const qsizetype focus = random() % 2 ? std::min<qsizetype>(data.size(), 0x100) : data.size();
    qsizetype at = pick(focus);
    if (random() % 4 == 0) {   // a block header of a 4 KB (or 2 KB) block
        const qsizetype blockSize = random() % 2 ? 4096 : 2048;
        at = std::min(data.size() - 1, 0x800 + blockSize * pick(data.size() / blockSize + 1) + pick(6));
    }
    switch (random() % 4) {
    case 0:
        data[at] = char(data[at] ^ (1 << (random() % 8)));
        break;
    case 1:
        data[at] = char(random());
        break;
    case 2:
        data.truncate(pick(data.size()));
        break;
    default:
        data.insert(at, QByteArray(int(1 + random() % 8), char(random())));
        break;
    }
}

// Opens the table and reads every value, blobs included; answers false when anything but
// EDatabaseError was thrown.
bool openAndWalk(const QString& path)
{
    try {
        const ParadoxFile table(path);
        for (int r = 0; r < table.recordCount(); ++r) {
            for (int i = 0; i < table.fields().size(); ++i) {
                try {
                    (void)table.value(r, i);
                } catch (const EDatabaseError&) {
                }
            }
        }
    } catch (const EDatabaseError&) {
    } catch (...) {
        return false;
    }
    return true;
}

} // namespace

TEST(ParadoxFileFuzz, MutatedTablesOpenOrRaise)
{
    QTemporaryDir dir;
    const QString base = dir.filePath(QStringLiteral("ZAKLAD.DB"));
    QList<QVariantList> rows;
    for (int i = 0; i < 60; ++i) {
        const QVariant memo = i % 3 == 0 ? QVariant(QStringLiteral("poznámka %1 ").arg(i).repeated(i % 2 ? 3 : 200))
                                         : QVariant();
        rows.append({QStringLiteral("Řádek %1").arg(i), i, i / 4.0, QStringLiteral("%1.25").arg(i), memo});
    }
    test::writeParadoxTable(base, {{"Nazev", "A", 12}, {"Cislo", "I"}, {"Hodnota", "N"}, {"Objem", "#", 2}, {"Pozn", "M", 12}},
                            rows);
    const QByteArray db = readAll(base);
    const QByteArray mb = readAll(dir.filePath(QStringLiteral("ZAKLAD.MB")));
    ASSERT_FALSE(db.isEmpty());
    ASSERT_FALSE(mb.isEmpty());
    const QString path = dir.filePath(QStringLiteral("MUTANT.DB"));
    const QString blobPath = dir.filePath(QStringLiteral("MUTANT.MB"));
    std::mt19937 random(20261207);
    for (int run = 0; run < 3000; ++run) {
        QByteArray mutantDb = db;
        QByteArray mutantMb = mb;
        const int changes = 1 + int(random() % 4);
        for (int i = 0; i < changes; ++i)
            mutate(random() % 5 == 0 ? mutantMb : mutantDb, random);
        overwrite(path, mutantDb);
        overwrite(blobPath, mutantMb);
        ASSERT_TRUE(openAndWalk(path)) << "run " << run;
    }
}
