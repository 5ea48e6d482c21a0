// Interchange files written by the tests: data files from columns and records.
#pragma once

#include "forest/base/ForestRegistration.h"
#include "forest/hierarchy/HierarchyRegistration.h"
#include "framework/core/StartupRegistration.h"
#include "platform/text/Cp1250.h"
#include "platform/ui/Services.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

namespace fsttest {

inline ui::RecordingServices& recorder()
{
    return static_cast<ui::RecordingServices&>(ui::services());
}

inline void registerClasses()
{
    RegisterFrameworkUnits();
    RegisterForestUnits();
    RegisterE_LesOddUnit();
}

// A data file: separators "|" and "/", the columns, the records (CR LF lines, windows-1250).
inline QByteArray dataFile(const QStringList& columns, const QList<QStringList>& records)
{
    QString out = QStringLiteral("|\r\n/\r\n%1\r\n").arg(columns.size());
    for (const QString& c : columns)
        out += c + QStringLiteral("\r\n");
    out += QString::number(records.size()) + QStringLiteral("\r\n");
    for (const QStringList& r : records)
        out += r.join(QLatin1Char('|')) + QStringLiteral("\r\n");
    return Cp1250::encode(out);
}

inline void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(bytes);
}

} // namespace fsttest
