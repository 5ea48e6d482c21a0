// What the main window does at its first showing and on "Výpočet", without widgets.
#pragma once

#include "app/calculation/Calculation.h"

#include <QString>

#include <optional>

namespace app {

// The main window's logic (TFGenKl): the source choice and tables directory at the first
// showing, the state of "Výpis a úpravy", and a calculation guarded against re-entry.
class MainWindowLogic
{
public:
    explicit MainWindowLogic(Calculation& calculation) : m_calculation(calculation) {}

    // The first showing: the source choice and header, then the tables directory. False when
    // the program is to end (nothing chosen, or the choice failed; the message has been shown).
    bool FormShow(const QString& programDir);
    // "Výpočet": asks before an existing table is overwritten ("No" leaves it as it was), then
    // runs. True when a run completed and the list is to be shown. Refused while a run is going.
    bool BitBtn1Click(const CalculationProgress& progress);

    // "Výpis a úpravy" is enabled while TGENKL.DB exists (and after every completed run).
    bool isListEnabled() const { return m_listEnabled; }
    // True during a calculation: the buttons that start work are disabled meanwhile.
    bool isBusy() const { return m_busy; }
    const QString& TablesDir() const { return m_calculation.TablesDir(); }

private:
    // The overwrite question, naming the listed unit when it is not the one computed.
    QString questionBeforeOverwrite();

    Calculation& m_calculation;
    bool m_listEnabled = false;
    bool m_busy = false;
};

// The unit whose list an existing TGENKL.DB holds (the fields of its first row).
struct ListedUnit {
    qint32 lhcKod = 0;
    QString lhcNazev;
};
// The unit of the table's first row; none when the table has no row, lacks the fields or
// cannot be read.
std::optional<ListedUnit> listedUnit(const QString& tablePath);

// The question before a new calculation overwrites the earlier result.
QString overwriteQuestion();
// The same question naming the unit whose list would be replaced, when another unit is computed.
QString overwriteQuestion(const ListedUnit& listed, qint32 computedLhcKod);

} // namespace app
