// The calculation of the list of recognised stands: tables directory, forest unit, run over all compartments.
#pragma once

#include "platform/db/Table.h"
#include "framework/core/Properties.h"

#include <QString>

#include <functional>

class TLesniCelek;
class TOddeleni;

namespace app {

// Where the calculation shows its progress (the form "Čtení dat" with its bar).
struct CalculationProgress {
    std::function<void(int maximum)> show;
    std::function<void(int position)> setPosition;
    std::function<void()> hide;
};

// The logic of the calculation form (TFRData): owns the forest unit, knows the tables
// directory and runs one calculation into TGENKL.DB. Widget-free; the form gives progress.
class Calculation
{
public:
    Calculation();
    ~Calculation();
    Calculation(const Calculation&) = delete;
    Calculation& operator=(const Calculation&) = delete;

    // The forest unit, created on first need (its directory chooser and program directory are
    // set by whoever creates this object, through forestUnit()).
    TLesniCelek* LesniCelek();
    // Creates the unit and lets it choose its source when there is none yet; loads the header.
    // False when no source was chosen (the message has been shown; the program should end).
    bool LoadForestUnit();

    // The tables directory from vkm.ini in programDir (section Database, key Data, a leading
    // "PATH=" cut ignoring case) + "Tabulky", created when missing; ends with a separator.
    // An empty value is reported and the program directory taken instead; a directory that
    // cannot be created is reported.
    QString BuildTablesDir(const QString& programDir);
    const QString& TablesDir() const { return m_tablesDir; }
    void setTablesDir(const QString& dir) { m_tablesDir = dir; }
    // Full path of TGENKL.DB in the tables directory.
    QString tablePath() const;

    // One complete calculation. The new list is built beside TGENKL.DB and replaces it only
    // when the run completes. A row that fails is reported and skipped. A source that read no
    // unit (a cancelled login or choice, a database that does not open) and any other error
    // leave the old list and its corrections as they were, and say that nothing was computed.
    // True when the run completed.
    bool RunCalculation(const CalculationProgress& progress);
    // Compartments begun in the current run.
    int CompartmentCounter() const { return m_compartmentCounter; }
    // Rows written by the last run.
    int rowsWritten() const { return m_rowsWritten; }

private:
    // False when the source read no unit; nothing was written then.
    bool runCompartments(const CalculationProgress& progress);
    void walkCompartment(TOddeleni& compartment);

    Owned<TLesniCelek> m_unit;
    db::Table m_table;
    QString m_tablesDir;
    int m_compartmentCounter = 0;
    int m_rowsWritten = 0;
    qint32 m_lhcKod = 0;
    QString m_lhcNaz;
};

} // namespace app
