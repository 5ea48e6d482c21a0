// A throw-away CUPS scheduler on a socket in a temporary directory, for tests of the print queues.
#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>

#include <sys/prctl.h>

#include <csignal>

namespace test {

// Starts `cupsd -f` of the installed CUPS with its own configuration, spool, cache and log in a
// temporary directory, listening only on `socket()`; stops it when destroyed (and the kernel
// kills it should the test binary die). A client sees this scheduler when `environment()` is its
// environment from the start: libcups reads CUPS_SERVER once. When anything is missing
// `whyNot()` says what, and the tests skip.
//
// Queues print through the backend "tofile", which appends each job to `outputPath(queue)`:
// CUPS hands a raw job to a file: device through no process at all, so such a queue would
// receive nothing. The backend may run as root only when nobody else can write it (mode 0700).
class CupsServer
{
public:
    CupsServer() : m_whyNot(start()) { m_isRunning = m_whyNot.isEmpty(); }

    ~CupsServer()
    {
        if (m_cupsd.state() == QProcess::NotRunning) return;
        m_cupsd.terminate();
        if (!m_cupsd.waitForFinished(10000)) {
            m_cupsd.kill();
            m_cupsd.waitForFinished(5000);
        }
    }

    CupsServer(const CupsServer&) = delete;
    CupsServer& operator=(const CupsServer&) = delete;

    bool isRunning() const { return m_isRunning; }
    const QString& whyNot() const { return m_whyNot; }
    QString directory() const { return m_dir.path(); }
    QString socket() const { return m_dir.filePath(QStringLiteral("cups.sock")); }
    QString outputPath(const QString& queue) const { return m_dir.filePath(queue + QStringLiteral(".out")); }
    // What the last administration command printed.
    const QString& output() const { return m_output; }

    // The environment of a client of this scheduler (no user options, no default from outside).
    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("CUPS_SERVER"), socket());
        env.insert(QStringLiteral("HOME"), m_dir.path());
        env.remove(QStringLiteral("LPDEST"));
        env.remove(QStringLiteral("PRINTER"));
        return env;
    }

    // Runs this test binary again as a client of the scheduler with only the test `filter`, with
    // `dirKey` set to directory(); true when it ended normally with code 0 and passed one test.
    bool runClient(const QString& filter, const QString& dirKey, QString& output) const
    {
        QProcess client;
        QProcessEnvironment env = environment();
        env.insert(dirKey, directory());
        client.setProcessEnvironment(env);
        client.setProcessChannelMode(QProcess::MergedChannels);
        client.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=") + filter});
        const bool finished = client.waitForFinished(240000);
        output = QString::fromLocal8Bit(client.readAll());
        return finished && client.exitStatus() == QProcess::NormalExit && client.exitCode() == 0
            && output.contains(QLatin1String("[  PASSED  ] 1 test"));
    }

    // The file a queue writes, once it holds `size` bytes or 30 s are up.
    static QByteArray waitForOutput(const QString& path, qsizetype size)
    {
        QElapsedTimer clock;
        clock.start();
        QByteArray bytes;
        while (clock.elapsed() < 30000) {
            QFile file(path);
            if (file.open(QIODevice::ReadOnly)) bytes = file.readAll();
            if (bytes.size() >= size) break;
            QThread::msleep(50);
        }
        return bytes;
    }

    // A queue without driver ("-m raw"), or with the PPD file given.
    bool addQueue(const QString& name, const QString& info, const QString& location, const QString& ppd = {})
    {
        QStringList model{QStringLiteral("-m"), QStringLiteral("raw")};
        if (!ppd.isEmpty()) model = QStringList{QStringLiteral("-P"), ppd};
        return admin(QStringLiteral("lpadmin"), QStringList{QStringLiteral("-p"), name, QStringLiteral("-E"), QStringLiteral("-v"),
                                                           QStringLiteral("tofile:") + outputPath(name), QStringLiteral("-D"),
                                                           info, QStringLiteral("-L"), location}
                                                    + model);
    }
    bool setDefault(const QString& name) { return admin(QStringLiteral("lpadmin"), {QStringLiteral("-d"), name}); }
    bool reject(const QString& name) { return admin(QStringLiteral("cupsreject"), {name}); }

private:
    // Empty when the scheduler runs, else what is missing.
    QString start()
    {
        const QStringList sbin{QStringLiteral("/usr/sbin"), QStringLiteral("/usr/local/sbin")};
        const QString cupsd = QStandardPaths::findExecutable(QStringLiteral("cupsd"), sbin);
        if (cupsd.isEmpty()) return QStringLiteral("cupsd is not installed (package cups-daemon)");
        for (const QString& tool : {QStringLiteral("lpadmin"), QStringLiteral("cupsreject"), QStringLiteral("lpstat"), QStringLiteral("lp")}) {
            m_tools[tool] = QStandardPaths::findExecutable(tool);
            if (m_tools[tool].isEmpty()) m_tools[tool] = QStandardPaths::findExecutable(tool, sbin);
            if (m_tools[tool].isEmpty()) return tool + QStringLiteral(" is not installed (package cups-client)");
        }
        QString daemon;   // cups-exec starts every filter and backend
        for (const QString& lib : {QStringLiteral("/usr/lib/cups"), QStringLiteral("/usr/libexec/cups")})
            if (QFile::exists(lib + QStringLiteral("/daemon/cups-exec"))) daemon = lib + QStringLiteral("/daemon");
        if (daemon.isEmpty()) return QStringLiteral("cups-exec of the CUPS scheduler is not installed");
        if (!m_dir.isValid()) return QStringLiteral("no temporary directory");
        const QDir dir(m_dir.path());
        for (const char* sub : {"spool/tmp", "cache", "state", "log", "bin/backend"})
            if (!dir.mkpath(QString::fromLatin1(sub))) return QStringLiteral("cannot create the server's directories");
        if (!QFile::link(daemon, dir.filePath(QStringLiteral("bin/daemon"))) || !writeConfiguration())
            return QStringLiteral("cannot write the server's configuration");

        m_cupsd.setProcessChannelMode(QProcess::MergedChannels);
        m_cupsd.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGKILL); });
        m_cupsd.start(cupsd, {QStringLiteral("-f"), QStringLiteral("-c"), dir.filePath(QStringLiteral("cupsd.conf")),
                              QStringLiteral("-s"), dir.filePath(QStringLiteral("cups-files.conf"))});
        if (!m_cupsd.waitForStarted(10000)) return QStringLiteral("cupsd did not start");
        for (int i = 0; i < 200; ++i) {
            if (admin(QStringLiteral("lpstat"), {QStringLiteral("-r")}) && m_output.contains(QLatin1String("is running")))
                return {};
            if (m_cupsd.state() == QProcess::NotRunning) break;
            QThread::msleep(50);
        }
        return QStringLiteral("cupsd did not come up: ") + QString::fromLocal8Bit(m_cupsd.readAll())
            + readTail(dir.filePath(QStringLiteral("log/error_log")));
    }

    bool writeConfiguration() const
    {
        const QDir dir(m_dir.path());
        const QString conf = QStringLiteral(
            "Listen %1\nLogLevel info\nBrowsing No\nBrowseLocalProtocols none\nWebInterface No\n"
            "DefaultAuthType None\n<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
            "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n").arg(socket());
        const QString files = QStringLiteral(
            "ServerRoot %1\nServerBin %1/bin\nCacheDir %1/cache\nStateDir %1/state\nRequestRoot %1/spool\n"
            "TempDir %1/spool/tmp\nErrorLog %1/log/error_log\nAccessLog %1/log/access_log\n"
            "PageLog %1/log/page_log\nPrintcap %1/printcap\n").arg(m_dir.path());
        const QString backend = QStringLiteral(
            "#!/bin/sh\n# Appends a job to the file of the device URI; no arguments: no devices to list.\n"
            "[ $# -eq 0 ] && exit 0\nout=${DEVICE_URI#*:}\n"
            "if [ $# -ge 6 ]; then cat \"$6\" >> \"$out\"; else cat >> \"$out\"; fi\n");
        const QString backendPath = dir.filePath(QStringLiteral("bin/backend/tofile"));
        return write(dir.filePath(QStringLiteral("cupsd.conf")), conf) && write(dir.filePath(QStringLiteral("cups-files.conf")), files)
            && write(backendPath, backend)
            && QFile::setPermissions(backendPath, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    static bool write(const QString& path, const QString& text)
    {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) == text.toUtf8().size();
    }

    static QString readTail(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(file.readAll().right(2000)) : QString();
    }

    bool admin(const QString& tool, const QStringList& arguments)
    {
        QProcess process;
        process.setProcessEnvironment(environment());
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(m_tools.value(tool), arguments);
        const bool finished = process.waitForFinished(30000);
        m_output = QString::fromLocal8Bit(process.readAll()).right(2000);
        return finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    }

    QTemporaryDir m_dir;
    QProcess m_cupsd;
    QHash<QString, QString> m_tools;
    QString m_output;
    QString m_whyNot;   // after the members start() uses
    bool m_isRunning = false;
};

} // namespace test
