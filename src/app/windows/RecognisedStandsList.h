// The data side of the list window: the live query over TGENKL.DB and its editable fields.
#pragma once

#include "platform/db/DataSource.h"
#include "platform/db/sql/Query.h"

#include <QString>
#include <QStringList>

namespace app {

// The list window's data (TFGKDB without widgets): Query2, "Select * from TGENKL " as a live
// result over the table in DataDir, and its data source for the grid and the edits.
class RecognisedStandsList
{
public:
    RecognisedStandsList();
    RecognisedStandsList(const RecognisedStandsList&) = delete;
    RecognisedStandsList& operator=(const RecognisedStandsList&) = delete;

    const QString& DataDir() const { return m_dataDir; }
    void SetDataDir(const QString& dir) { m_dataDir = dir; }

    // Opens the live query over the table in DataDir.
    void open();
    // "&Konec": posts a pending edit, then closes the query.
    void close();

    db::Query& Query2() { return m_query2; }
    db::DataSource& DataSource2() { return m_source2; }

    // The grid's columns in order.
    static QStringList gridColumns();
    // The fields the user corrects or fills.
    static QStringList editableFields();

private:
    QString m_dataDir;
    db::Query m_query2;
    db::DataSource m_source2;
};

} // namespace app
