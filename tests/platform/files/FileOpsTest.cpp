// The file operations of a save: a gathered write gives the file its pieces in order.
#include "platform/files/FileOps.h"

#include "platform/Exceptions.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

namespace {

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(FileOps, PiecesAreWrittenInOrderOverMoreThanOneBatch)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("T.DB"));
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(1 << 20, 'x'));   // longer than what replaces it
    old.close();

    // Far more pieces than one gathered write takes, empty ones and long ones among them.
    std::vector<QByteArray> storage;
    QByteArray whole;
    for (int i = 0; i < 3000; ++i) {
        const int length = i % 7 == 0 ? 0 : i % 13 == 0 ? 5000 : (i * 37) % 101;
        QByteArray piece(length, Qt::Uninitialized);
        for (int b = 0; b < length; ++b)
            piece[b] = char((i * 31 + b) & 0xFF);
        whole += piece;
        storage.push_back(piece);
    }
    std::vector<QByteArrayView> pieces(storage.begin(), storage.end());
    files::fileOps().writeFile(path, pieces);
    EXPECT_EQ(readFile(path), whole);

    files::fileOps().writeFile(path, std::span<const QByteArrayView>());
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(readFile(path), QByteArray());
}

TEST(FileOps, AFileThatCannotBeCreatedIsNamed)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("missing/T.DB"));
    try {
        files::fileOps().writeFile(path, QByteArrayView("abc"));
        FAIL() << "no error";
    } catch (const EFileError& e) {
        EXPECT_TRUE(e.message().contains(path)) << e.message().toStdString();
    }
}

} // namespace
