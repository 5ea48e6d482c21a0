// What the main window does at its first showing and on "Výpočet", without widgets.
#include "app/windows/MainWindowLogic.h"

#include "app/sources/LesniCelek.h"
#include "forest/hierarchy/LHC.h"
#include "platform/Exceptions.h"
#include "platform/db/Table.h"
#include "platform/files/Files.h"
#include "platform/ui/Services.h"

namespace app {

QString overwriteQuestion()
{
    return QStringLiteral("Pro tato data již byl proveden výpočet.\r\rMá se výsledek přepsat novým výpočtem \r"
                          "a zrušit tímto programem provedené\rdodatečné opravy ?");
}

QString overwriteQuestion(const ListedUnit& listed, qint32 computedLhcKod)
{
    return QStringLiteral("Pro tato data již byl proveden výpočet.\r\rUložený seznam je pro LHC %1 %2, "
                          "nyní se počítá LHC %3.\r\rMá se výsledek přepsat novým výpočtem \r"
                          "a zrušit tímto programem provedené\rdodatečné opravy ?")
        .arg(listed.lhcKod)
        .arg(listed.lhcNazev.trimmed())
        .arg(computedLhcKod);
}

std::optional<ListedUnit> listedUnit(const QString& tablePath)
{
    try {
        db::Table table;
        table.SetTableName(tablePath);
        table.SetReadOnly(true);
        table.Open();
        table.First();
        const db::Field* kod = table.FindField(QStringLiteral("LHC_KOD"));
        const db::Field* nazev = table.FindField(QStringLiteral("LHC_NAZEV"));
        if (table.Eof() || !kod || !nazev)
            return std::nullopt;
        return ListedUnit{kod->AsInteger(), nazev->AsString()};
    } catch (const Exception&) {
        return std::nullopt;   // a damaged table still gets the plain question
    }
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
        ui::services().messageBox(questionBeforeOverwrite(), QString(), ui::MsgType::Confirmation, ui::YesNo) !=
            ui::Answer::Yes)
        return false;
    m_busy = true;
    const bool completed = m_calculation.RunCalculation(progress);
    m_busy = false;
    if (completed)
        m_listEnabled = true;
    return completed;
}

QString MainWindowLogic::questionBeforeOverwrite()
{
    // Sources other than the Paradox ones write into the last Paradox unit's directory, so the
    // table there may hold another unit's list with the user's corrections.
    const qint32 computed = m_calculation.LesniCelek()->LHC()->LHC_KOD();
    const std::optional<ListedUnit> listed = listedUnit(m_calculation.tablePath());
    return listed && listed->lhcKod != computed ? overwriteQuestion(*listed, computed) : overwriteQuestion();
}

} // namespace app
