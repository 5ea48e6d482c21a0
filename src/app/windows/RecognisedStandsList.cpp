// The data side of the list window: the live query over TGENKL.DB and its editable fields.
#include "app/windows/RecognisedStandsList.h"

namespace app {

RecognisedStandsList::RecognisedStandsList()
{
    m_query2.SQL().Add(QStringLiteral("Select * from TGENKL "));
    m_query2.SetRequestLive(true);
    m_source2.SetDataSet(&m_query2);
}

void RecognisedStandsList::open()
{
    if (m_query2.Active())
        m_query2.Close();
    m_query2.SetDatabaseName(m_dataDir);
    m_query2.Open();
}

void RecognisedStandsList::close()
{
    if (!m_query2.Active())
        return;
    if (m_query2.State() == db::DataSetState::dsEdit || m_query2.State() == db::DataSetState::dsInsert)
        m_query2.Post();
    m_query2.Close();
}

QStringList RecognisedStandsList::gridColumns()
{
    return {"ODD",     "DIL",   "POR",     "PSK", "ETAZ", "Stary_Kod",  "Fenotyp", "DR_ZKR",  "VEK",      "PSK_P",
            "ETAZ_PP", "Plocha", "LVS",    "HS",  "DR_ZAS_CEL", "DR_TO", "TO_PROC", "OBMYTI", "OBN_DOBA"};
}

QStringList RecognisedStandsList::editableFields()
{
    return {"NAJEMCE", "Stary_Kod", "Fenotyp", "LVS"};
}

} // namespace app
