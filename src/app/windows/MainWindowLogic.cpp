// What the main window does at its first showing and on "Výpočet", without widgets.
#include "app/windows/MainWindowLogic.h"

#include "platform/Exceptions.h"
#include "platform/files/Files.h"
#include "platform/ui/Services.h"

namespace app {

QString overwriteQuestion()
{
    return QStringLiteral("Pro tato data již byl proveden výpočet.\r\rMá se výsledek přepsat novým výpočtem \r"
                          "a zrušit tímto programem provedené\rdodatečné opravy ?");
}

bool MainWindowLogic::FormShow(const QString& programDir)
{
    bool chosen = false;
    try {
        chosen = m_calculation.LoadForestUnit();
    } catch (const Exception& e) {
        ui::services().messageBox(e.message(), QString(), ui::MsgType::Error, ui::Ok);
    }
    m_calculation.BuildTablesDir(programDir);
    m_listEnabled = files::fileExists(m_calculation.tablePath());
    return chosen;
}

bool MainWindowLogic::BitBtn1Click(const CalculationProgress& progress)
{
    if (m_busy)
        return false;
    if (files::fileExists(m_calculation.tablePath()) &&
        ui::services().messageBox(overwriteQuestion(), QString(), ui::MsgType::Confirmation, ui::YesNo) !=
            ui::Answer::Yes)
        return false;
    m_busy = true;
    const bool completed = m_calculation.RunCalculation(progress);
    m_busy = false;
    if (completed)
        m_listEnabled = true;
    return completed;
}

} // namespace app
