// The data side of the list window: the live query over TGENKL.DB and its editable fields.
#include "app/windows/RecognisedStandsList.h"

#include "platform/db/Field.h"

namespace app {

namespace {

// What the report receives of the list's fields: text widths and the numbers' format.
void applyReportFieldSettings(db::DataSet& query)
{
    const auto width = [&query](const char* name, int size) {
        if (db::Field* f = query.FindField(QLatin1String(name)))
            f->SetDisplayWidth(size);
    };
    for (const char* name : {"LHC_NAZEV", "Okr_Nazev", "LHP_TAX", "LHP_Z_TAX", "MAJ_NAZ", "NAJEMCE"})
        width(name, 30);
    for (const char* name : {"LES_OBL", "L_OBL_Naz", "DIL", "POR", "Fenotyp"})
        width(name, 1);
    for (const char* name : {"DR_ZKR", "ETAZ"})
        width(name, 3);
    for (const char* name : {"PSK", "Stary_Kod"})
        width(name, 15);
    width("Novy_kod", 22);
    for (const char* name : {"PSK_P", "ETAZ_PP", "Plocha", "TO_PROC"})
        if (db::Field* f = query.FindField(QLatin1String(name)))
            f->SetDisplayFormat(QStringLiteral("0.00"));
}

} // namespace

RecognisedStandsList::RecognisedStandsList()
{
    m_query2.SQL().Add(QStringLiteral("Select * from TGENKL "));
    m_query2.SetRequestLive(true);
    m_source2.SetDataSet(&m_query2);

    m_query1.SQL().Add(QStringLiteral("Select * from TGENKL "));
    m_query1.SQL().Add(QStringLiteral("order by LHC_KOD, OKRES, LES_OBL, NAJEMCE, "));
    m_query1.SQL().Add(QStringLiteral("ODD, DIL, POR, PSK, ETAZ"));
    m_source1.SetDataSet(&m_query1);
    m_sestava1.SetDataSource(&m_source1);
    m_sestava1.SetReportName(QStringLiteral("sevran.pts"));
    m_sestava1.SetReportDir(QStringLiteral(".\\"));
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
    postPendingEdit();
    m_query2.Close();
}

void RecognisedStandsList::postPendingEdit()
{
    if (m_query2.Active()
        && (m_query2.State() == db::DataSetState::dsEdit || m_query2.State() == db::DataSetState::dsInsert))
        m_query2.Post();
}

void RecognisedStandsList::openReportQuery()
{
    if (m_query1.Active())
        m_query1.Close();
    m_query1.SetDatabaseName(m_dataDir);
    m_query1.Open();
    applyReportFieldSettings(m_query1);
}

int RecognisedStandsList::PrintReport()
{
    postPendingEdit();
    openReportQuery();
    struct CloseAfter {
        db::Query& query;
        ~CloseAfter() { query.Close(); }
    } closeAfter{m_query1};
    reports::WindowPlacement maximised;
    maximised.windowState = 2;
    return m_sestava1.PreviewEx(maximised, 83);
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
