// What the app tests look at after a run: the recorded messages, a file's bytes, and the list as
// a user has corrected it.
#pragma once

#include "platform/db/Table.h"
#include "platform/ui/Services.h"

#include <QByteArray>
#include <QFile>
#include <QString>

namespace testapp {

// The recording services the test binary runs with.
inline ui::RecordingServices& recorder()
{
    return static_cast<ui::RecordingServices&>(ui::services());
}

// The bytes of a file, empty when it cannot be read.
inline QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The user's correction of a computed list: "Lesy obce" as the tenant of its first row.
inline void correctFirstTenant(const QString& listPath)
{
    db::Table list;
    list.SetTableName(listPath);
    list.Open();
    list.First();
    list.Edit();
    list.FieldByName(QStringLiteral("NAJEMCE")).AsString(QStringLiteral("Lesy obce"));
    list.Post();
    list.Close();
}

} // namespace testapp
