// The link between a dataset and what shows or follows it (grids, edits, detail tables).
#include "platform/db/DataSource.h"

#include <QVarLengthArray>

#include <algorithm>

namespace db {

DataLink::~DataLink()
{
    if (m_source)
        m_source->removeLink(this);
}

void DataLink::setDataSource(DataSource* source)
{
    if (m_source == source)
        return;
    if (m_source)
        m_source->removeLink(this);
    m_source = source;
    if (m_source)
        m_source->addLink(this);
    dataEvent(DataEvent::DataSetChange, nullptr);
}

DataSet* DataLink::dataSet() const
{
    return m_source && m_source->Enabled() ? m_source->dataSet() : nullptr;
}

DataSource::DataSource(DataSet* dataSet)
{
    SetDataSet(dataSet);
}

DataSource::~DataSource()
{
    if (m_dataSet)
        m_dataSet->detachSource(this);
    m_dataSet = nullptr;
    // Every link hears that the source is gone; none is attached any more while it does.
    const QVarLengthArray<DataLink*, 8> links(m_links.begin(), m_links.end());
    m_links.clear();
    for (DataLink* link : links) {
        link->m_source = nullptr;
        link->dataEvent(DataEvent::DataSetChange, nullptr);
    }
}

void DataSource::SetDataSet(DataSet* dataSet)
{
    if (m_dataSet == dataSet)
        return;
    if (m_dataSet)
        m_dataSet->detachSource(this);
    m_dataSet = dataSet;
    if (m_dataSet)
        m_dataSet->attachSource(this);
    dispatch(DataEvent::DataSetChange, nullptr);
}

void DataSource::SetEnabled(bool enabled)
{
    if (m_enabled == enabled)
        return;
    m_enabled = enabled;
    // The links see the dataset appear or go away.
    notifyLinks(DataEvent::DataSetChange, nullptr);
}

DataSetState DataSource::State() const
{
    return m_dataSet ? m_dataSet->State() : DataSetState::dsInactive;
}

void DataSource::notifyLinks(DataEvent event, Field* field)
{
    // A link may detach another while it handles the event: each is checked before its turn.
    const QVarLengthArray<DataLink*, 8> links(m_links.begin(), m_links.end());
    for (DataLink* link : links) {
        if (std::find(m_links.begin(), m_links.end(), link) != m_links.end())
            link->dataEvent(event, field);
    }
}

void DataSource::dispatch(DataEvent event, Field* field)
{
    if (!m_enabled)
        return;
    notifyLinks(event, field);
    if (event == DataEvent::UpdateRecord)
        return;
    if (event == DataEvent::StateChange) {
        if (OnStateChange)
            OnStateChange(*this);
    } else if (OnDataChange) {
        OnDataChange(*this, event == DataEvent::FieldChange ? field : nullptr);
    }
}

void DataSource::dataSetDestroyed()
{
    m_dataSet = nullptr;
    dispatch(DataEvent::DataSetChange, nullptr);
}

void DataSource::addLink(DataLink* link)
{
    if (std::find(m_links.begin(), m_links.end(), link) == m_links.end())
        m_links.push_back(link);
}

void DataSource::removeLink(DataLink* link)
{
    m_links.erase(std::remove(m_links.begin(), m_links.end(), link), m_links.end());
}

} // namespace db
