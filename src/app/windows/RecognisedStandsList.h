// The data side of the list window: the live query over TGENKL.DB and its editable fields.
#pragma once

#include "platform/db/DataSource.h"
#include "platform/db/sql/Query.h"
#include "reports/component/Sestava.h"

#include <QString>
#include <QStringList>

namespace app {

// The list window's data (TFGKDB without widgets): Query2, "Select * from TGENKL " as a live
// result over the table in DataDir, and its data source for the grid and the edits; Query1, the
// same rows in print order, which feeds the report Sestava1 (template sevran.pts).
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
    // Posts a pending edit of Query2, so the report sees it.
    void postPendingEdit();

    // Opens Query1 over the table in DataDir with the fields as the report receives them.
    void openReportQuery();
    // "Sestava": posts a pending edit, opens Query1, previews it maximised at 83 % and closes
    // Query1 again; answers the preview's status.
    int PrintReport();

    db::Query& Query2() { return m_query2; }
    db::DataSource& DataSource2() { return m_source2; }
    db::Query& Query1() { return m_query1; }
    reports::TSestava& Sestava1() { return m_sestava1; }

    // The grid's columns in order.
    static QStringList gridColumns();
    // The fields the user corrects or fills.
    static QStringList editableFields();

private:
    QString m_dataDir;
    db::Query m_query2;
    db::DataSource m_source2;
    db::Query m_query1;
    db::DataSource m_source1;
    reports::TSestava m_sestava1;
};

} // namespace app
