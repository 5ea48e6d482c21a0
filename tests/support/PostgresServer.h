// A throw-away PostgreSQL server in a temporary directory, for tests that need the real database.
#pragma once

#include <QDir>
#include <QProcess>
#include <QSqlDatabase>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>

#include <pwd.h>
#include <unistd.h>

#include <memory>

namespace test {

// Starts a server of the installed PostgreSQL that listens only on a socket in its own
// directory, with the trusted user "genklas"; stops it when destroyed. When anything is
// missing (the programs, the QPSQL driver, a user to run the server as root) `whyNot()` says
// what, and the tests skip.
class PostgresServer
{
public:
    // Each test binary uses its own port, so that binaries can run at once.
    explicit PostgresServer(int port = 54329) : m_port(port), m_whyNot(start()) { m_isRunning = m_whyNot.isEmpty(); }

    ~PostgresServer()
    {
        if (m_isRunning)
            run(m_pgCtl, {QStringLiteral("-D"), m_dir.filePath(QStringLiteral("data")), QStringLiteral("-m"),
                          QStringLiteral("immediate"), QStringLiteral("-w"), QStringLiteral("stop")});
    }

    PostgresServer(const PostgresServer&) = delete;
    PostgresServer& operator=(const PostgresServer&) = delete;

    bool isRunning() const { return m_isRunning; }
    const QString& whyNot() const { return m_whyNot; }
    // The socket directory (the host name for QPSQL), the port and the user.
    QString host() const { return m_dir.path(); }
    int port() const { return m_port; }
    static QString user() { return QStringLiteral("genklas"); }

private:
    // Empty when the server runs, else what is missing.
    QString start()
    {
        if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL")))
            return QStringLiteral("the QPSQL driver is not installed");
        const QStringList binDirs = QDir(QStringLiteral("/usr/lib/postgresql")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        QStringList paths;
        for (const QString& version : binDirs)
            paths << QStringLiteral("/usr/lib/postgresql/%1/bin").arg(version);
        m_initdb = QStandardPaths::findExecutable(QStringLiteral("initdb"), paths);
        m_pgCtl = QStandardPaths::findExecutable(QStringLiteral("pg_ctl"), paths);
        if (m_initdb.isEmpty() || m_pgCtl.isEmpty())
            return QStringLiteral("initdb and pg_ctl of PostgreSQL are not installed");
        if (!m_dir.isValid())
            return QStringLiteral("no temporary directory");
        // The server refuses to run as root: run it as the "postgres" user.
        if (geteuid() == 0) {
            const passwd* user = getpwnam("postgres");
            if (!user || chown(m_dir.path().toLocal8Bit().constData(), user->pw_uid, user->pw_gid) != 0)
                return QStringLiteral("running as root without a postgres user to start the server");
            m_runAs = QStringList{QStringLiteral("-u"), QStringLiteral("postgres"), QStringLiteral("--")};
        }
        const QString data = m_dir.filePath(QStringLiteral("data"));
        if (!run(m_initdb, {QStringLiteral("-D"), data, QStringLiteral("-A"), QStringLiteral("trust"), QStringLiteral("-U"),
                            QStringLiteral("genklas"), QStringLiteral("-E"), QStringLiteral("UTF8"), QStringLiteral("--locale=C"),
                            QStringLiteral("--no-sync")}))
            return QStringLiteral("initdb failed: ") + m_output;
        const QString options = QStringLiteral("-k %1 -p %2 -c listen_addresses= -F").arg(m_dir.path()).arg(port());
        if (!run(m_pgCtl, {QStringLiteral("-D"), data, QStringLiteral("-o"), options, QStringLiteral("-l"),
                           m_dir.filePath(QStringLiteral("server.log")), QStringLiteral("-w"), QStringLiteral("-t"),
                           QStringLiteral("60"), QStringLiteral("start")}))
            return QStringLiteral("the server did not start: ") + m_output;
        return QString();
    }

    bool run(const QString& program, const QStringList& arguments)
    {
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        if (m_runAs.isEmpty())
            process.start(program, arguments);
        else
            process.start(QStringLiteral("runuser"), m_runAs + QStringList{program} + arguments);
        const bool finished = process.waitForFinished(120000);
        m_output = QString::fromLocal8Bit(process.readAll()).right(2000);
        return finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    }

    QTemporaryDir m_dir;
    QString m_initdb;
    QString m_pgCtl;
    QStringList m_runAs;
    QString m_output;
    int m_port;
    QString m_whyNot;   // after the members start() uses
    bool m_isRunning = false;
};

} // namespace test
