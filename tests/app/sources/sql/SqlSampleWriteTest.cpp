// The sample SQL database's writer: failures at any step, and other writers at the same time.
#include "platform/Exceptions.h"
#include "platform/db/sql/Aliases.h"
#include "platform/files/Files.h"
#include "support/FailingFileOps.h"
#include "tools/samples/SampleData.h"
#include "tools/sql/SqlSample.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A plain connection to a database file, closed and removed with it.
class Connection
{
public:
    explicit Connection(const QString& path)
    {
        QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name());
        d.setDatabaseName(path);
        d.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=0"));
        d.open();
    }
    ~Connection()
    {
        QSqlDatabase::database(name(), false).close();
        QSqlDatabase::removeDatabase(name());
    }
    // Runs a statement; its error text, empty when it succeeded.
    QString exec(const QString& statement)
    {
        QSqlQuery q(QSqlDatabase::database(name()));
        return q.exec(statement) ? QString() : q.lastError().text() + QStringLiteral(" ");
    }
    // The first column of every row of a query.
    QStringList column(const QString& statement)
    {
        QSqlQuery q(QSqlDatabase::database(name()));
        QStringList values;
        if (!q.exec(statement))
            values << QStringLiteral("chyba: ") + q.lastError().text();
        while (q.next())
            values << q.value(0).toString();
        return values;
    }

private:
    static QString name() { return QStringLiteral("TEST_JINY_ZAPISOVATEL"); }
};

class SqlSampleWrite : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        programDir = m_dir.path();
        files::setProgramDirectory(programDir);
        samples::writeSampleInstallation(QStringLiteral(GENKLAS_GOLDEN_DIR "/../../data"), programDir);
        vexData = programDir + QStringLiteral("/vzorky/vex97/DATA");
        entries = QDir(programDir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        path = programDir + QStringLiteral("/LHP.sqlite");
    }
    void TearDown() override { db::Aliases::setProgramDirectory(QString()); }

    QByteArray bytes() const
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // The units of the database in place and its integrity check.
    QStringList content()
    {
        Connection c(path);
        return c.column(QStringLiteral("SELECT LHC_KOD || '-' || LHC_KOD_ID FROM LHC ORDER BY LHC_KOD, LHC_KOD_ID"))
               + c.column(QStringLiteral("PRAGMA integrity_check"));
    }
    // What the program directory holds besides the installation (the database included).
    QStringList added() const
    {
        QStringList now = QDir(programDir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        for (const QString& e : entries)
            now.removeAll(e);
        return now;
    }

    QString programDir;
    QString vexData;
    QString path;
    QStringList entries;

private:
    QTemporaryDir m_dir;
};

TEST_F(SqlSampleWrite, AFailureAtAnyStepLeavesTheDatabaseInPlaceAsItWas)
{
    const QStringList steps = {QStringLiteral("locked"), QStringLiteral("schema"), QStringLiteral("unit 1"),
                               QStringLiteral("unit 2"), QStringLiteral("commit"), QStringLiteral("closed")};
    for (const bool existed : {false, true}) {
        if (existed) {
            ASSERT_NO_THROW(sqlsample::writeSqlSample(vexData, programDir));
        }
        const QByteArray before = bytes();
        const QStringList addedBefore = added();
        for (const QString& failing : steps) {
            EXPECT_THROW(sqlsample::writeSqlSample(vexData, programDir,
                                                   [&](const QString& step) {
                                                       if (step == failing)
                                                           throw EDatabaseError(QStringLiteral("vložená chyba"));
                                                   }),
                         EDatabaseError)
                << failing.toStdString();
            EXPECT_EQ(bytes(), before) << failing.toStdString();
            EXPECT_EQ(added(), addedBefore) << failing.toStdString();
        }
        if (existed) {
            // The renaming itself fails.
            test::FailingFileOps failingOps(1, false);
            files::ScopedFileOps scoped(failingOps);
            EXPECT_THROW(sqlsample::writeSqlSample(vexData, programDir), EFileError);
            EXPECT_EQ(bytes(), before);
            EXPECT_EQ(added(), addedBefore);
        }
    }
    EXPECT_EQ(added(), QStringList{QStringLiteral("LHP.sqlite")});
    const QStringList written = content();
    ASSERT_EQ(written.size(), 3);
    EXPECT_EQ(written[0], QStringLiteral("2-0"));
    EXPECT_EQ(written[2], QStringLiteral("ok"));
}

TEST_F(SqlSampleWrite, ADatabaseOpenElsewhereIsNotReplaced)
{
    sqlsample::writeSqlSample(vexData, programDir);
    {
        // Another program works in it as the program does (write-ahead log), its row not yet checkpointed.
        Connection other(path);
        ASSERT_EQ(other.exec(QStringLiteral("PRAGMA journal_mode=WAL")), QString());
        ASSERT_EQ(other.exec(QStringLiteral("INSERT INTO LHC (LHC_KOD, LHC_KOD_ID) VALUES (77, 0)")), QString());
        EXPECT_THROW(sqlsample::writeSqlSample(vexData, programDir), EDatabaseError);
        EXPECT_EQ(other.exec(QStringLiteral("INSERT INTO LHC (LHC_KOD, LHC_KOD_ID) VALUES (78, 0)")), QString());
    }
    const QStringList kept = content();
    EXPECT_TRUE(kept.contains(QStringLiteral("77-0")));
    EXPECT_TRUE(kept.contains(QStringLiteral("78-0")));
    EXPECT_EQ(kept.last(), QStringLiteral("ok"));
}

TEST_F(SqlSampleWrite, AnotherWriterMeanwhileIsNeitherOverwrittenNorLetIn)
{
    // No database yet: one that another program creates meanwhile stays.
    EXPECT_THROW(sqlsample::writeSqlSample(vexData, programDir,
                                           [&](const QString& step) {
                                               if (step == QLatin1String("closed")) {
                                                   Connection other(path);
                                                   other.exec(QStringLiteral("CREATE TABLE LHC (LHC_KOD INTEGER, LHC_KOD_ID INTEGER)"));
                                                   other.exec(QStringLiteral("INSERT INTO LHC VALUES (55, 0)"));
                                               }
                                           }),
                 EDatabaseError);
    EXPECT_EQ(content(), (QStringList{QStringLiteral("55-0"), QStringLiteral("ok")}));
    QFile::remove(path);

    // An existing database: from the first step on nobody else writes it, a second sample writer included.
    sqlsample::writeSqlSample(vexData, programDir);
    QString otherWrite;
    bool secondWriterRefused = false;
    sqlsample::writeSqlSample(vexData, programDir, [&](const QString& step) {
        if (step != QLatin1String("closed"))
            return;
        {
            Connection other(path);
            otherWrite = other.exec(QStringLiteral("INSERT INTO LHC (LHC_KOD, LHC_KOD_ID) VALUES (77, 0)"));
        }
        try {
            sqlsample::writeSqlSample(vexData, programDir);
        } catch (const EDatabaseError&) {
            secondWriterRefused = true;
        }
    });
    EXPECT_FALSE(otherWrite.isEmpty());
    EXPECT_TRUE(secondWriterRefused);
    const QStringList written = content();
    EXPECT_FALSE(written.contains(QStringLiteral("77-0")));
    ASSERT_EQ(written.size(), 3);
    EXPECT_EQ(written[2], QStringLiteral("ok"));
    EXPECT_EQ(added(), QStringList{QStringLiteral("LHP.sqlite")});
}

} // namespace
