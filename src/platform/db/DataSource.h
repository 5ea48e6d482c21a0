// The link between a dataset and what shows or follows it (grids, edits, detail tables).
#pragma once

#include "platform/db/DataSet.h"

#include <functional>
#include <vector>

namespace db {

class DataSource;

// Something that follows a data source: a grid model, a field-bound edit, a detail table.
// A link unregisters itself on destruction; the data source tells its links when it goes away.
class DataLink
{
public:
    DataLink() = default;
    DataLink(const DataLink&) = delete;
    DataLink& operator=(const DataLink&) = delete;
    virtual ~DataLink();

    // Follows this data source (nullptr: none). Not owned.
    void setDataSource(DataSource* source);
    DataSource* dataSource() const { return m_source; }
    // The data source's dataset, or null.
    DataSet* dataSet() const;

protected:
    // An event of the dataset behind the data source (also DataSetChange when the data source
    // is given another dataset).
    virtual void dataEvent(DataEvent event, Field* field) = 0;

private:
    friend class DataSource;
    DataSource* m_source = nullptr;
};

// The class library's data source: names one dataset (not owned) and passes its events on to
// OnDataChange, OnStateChange and the links. A dataset that is destroyed detaches itself.
class DataSource
{
public:
    DataSource() = default;
    explicit DataSource(DataSet* dataSet);
    ~DataSource();
    DataSource(const DataSource&) = delete;
    DataSource& operator=(const DataSource&) = delete;

    DataSet* dataSet() const { return m_dataSet; }
    void SetDataSet(DataSet* dataSet);
    // A disabled data source passes nothing on (and its links see an inactive dataset).
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled);
    DataSetState State() const;

    // Field: the changed field, or null when the whole record or the row changed. Not called
    // for UpdateRecord, which only the links hear.
    std::function<void(DataSource&, Field*)> OnDataChange;
    std::function<void(DataSource&)> OnStateChange;

private:
    friend class DataSet;
    friend class DataLink;
    void dispatch(DataEvent event, Field* field);
    // Each attached link hears the event, in attach order (no callbacks).
    void notifyLinks(DataEvent event, Field* field);
    void dataSetDestroyed();
    void addLink(DataLink* link);
    void removeLink(DataLink* link);

    DataSet* m_dataSet = nullptr;
    bool m_enabled = true;
    std::vector<DataLink*> m_links;   // not owned
};

} // namespace db
