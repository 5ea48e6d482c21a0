// What local SQL needs of db::Table: flushing posted rows of open tables and the directory lookup.
#pragma once

#include <QString>

namespace db::sql {

// Writes the posted rows of any open db::Table on that .DB file, so SQL sees them.
void flushOpenTables(const QString& path);

} // namespace db::sql
