// Files of one Paradox table: case-insensitive companions and index files.
#pragma once

#include <QString>
#include <QStringList>

namespace db::paradox {

// The file in the directory of `dbPath` with the same base name and extension `ext`
// (e.g. "MB"), matched ignoring case; empty when there is none.
QString companionFile(const QString& dbPath, const QString& ext);
// Index files of the table (.PX, .Xnn, .Ynn, .XGn, .YGn of the same base name, any case).
QStringList indexFiles(const QString& dbPath);
bool hasIndexFiles(const QString& dbPath);

} // namespace db::paradox
