// The text of a PDF file as the system's pdftotext lays it out; pages end with a form feed.
#pragma once

#include <QProcess>
#include <QString>

namespace testapp {

// Empty when pdftotext does not finish within 30 s.
inline QString pdfText(const QString& path)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace testapp
