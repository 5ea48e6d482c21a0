// What local SQL needs of db::Table: flushing posted rows of open tables.
#include "platform/db/sql/TableHooks.h"

#include "platform/db/Table.h"

namespace db::sql {

void flushOpenTables(const QString& path)
{
    Table::flushPending(path);
}

} // namespace db::sql
