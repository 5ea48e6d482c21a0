// The calculation of the list of recognised stands: tables directory, forest unit, run over all compartments.
#include "app/calculation/Calculation.h"

#include "app/calculation/ListReplacement.h"
#include "app/calculation/RecognisedStandsTable.h"
#include "app/calculation/SpeciesRowSource.h"
#include "app/sources/LesniCelek.h"
#include "forest/hierarchy/Dilec.h"
#include "forest/hierarchy/Drevina.h"
#include "forest/hierarchy/Etaz.h"
#include "forest/hierarchy/LHC.h"
#include "forest/hierarchy/Oddeleni.h"
#include "forest/hierarchy/Porost.h"
#include "forest/hierarchy/PorostniSkupina.h"
#include "platform/Exceptions.h"
#include "platform/files/Files.h"
#include "platform/ini/IniFile.h"
#include "platform/ui/Services.h"

namespace app {

namespace {

// Cuts a leading "PATH=" in any letter case; the rest keeps its case.
QString withoutPathPrefix(const QString& value)
{
    const QString trimmed = value.trimmed();
    return trimmed.startsWith(QLatin1String("PATH="), Qt::CaseInsensitive) ? trimmed.mid(5).trimmed() : trimmed;
}

// What became of the earlier list when a run did not complete.
QString keptListText(bool hadList)
{
    return hadList ? QStringLiteral("Dosavadní seznam uznaných porostů (TGENKL.DB) zůstal beze změny.")
                   : QStringLiteral("Seznam uznaných porostů (TGENKL.DB) nebyl vytvořen.");
}

QString withSeparator(const QString& dir)
{
    return dir.endsWith(QLatin1Char('/')) || dir.endsWith(QLatin1Char('\\')) ? dir : dir + QLatin1Char('/');
}

// Hides the progress on every way out of a run.
class ProgressScope
{
public:
    explicit ProgressScope(const CalculationProgress& p) : m_progress(p) {}
    ~ProgressScope()
    {
        if (m_progress.hide)
            m_progress.hide();
    }
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;

private:
    const CalculationProgress& m_progress;
};

} // namespace

Calculation::Calculation() = default;

Calculation::~Calculation()
{
    if (m_table.Active())
        m_table.Close();
}

TLesniCelek* Calculation::LesniCelek()
{
    if (!m_unit)
        m_unit = Create<TLesniCelek>();
    return m_unit.get();
}

bool Calculation::LoadForestUnit()
{
    TLesniCelek* unit = LesniCelek();
    if (!unit->source())
        unit->ChooseDataSource(QString(), false);
    if (unit->SourceKind() == SourceKinds::Undetermined) {
        ui::services().showMessage(QStringLiteral("Nebyla vybrána žádná databáze."));
        return false;
    }
    unit->LoadHeader();
    return true;
}

QString Calculation::BuildTablesDir(const QString& programDir)
{
    const QString value = IniFile(programDir + QStringLiteral("/vkm.ini"))
                              .readString(QStringLiteral("Database"), QStringLiteral("Data"), QString());
    QString dataDir = withoutPathPrefix(value);
    if (dataDir.isEmpty()) {
        ui::services().showMessage(QStringLiteral("V souboru vkm.ini chybí adresář dat (DATA); "
                                                  "výsledky se uloží do adresáře programu."));
        dataDir = programDir;
    }
    const QString tables = files::resolvePath(withSeparator(dataDir) + QStringLiteral("Tabulky"));
    if (!files::directoryExists(tables) && !files::createDir(tables))
        ui::services().showMessage(QStringLiteral("Nelze vytvořit adresář %1.").arg(tables));
    m_tablesDir = withSeparator(tables);
    return m_tablesDir;
}

QString Calculation::tablePath() const
{
    return files::resolvePath(m_tablesDir + QLatin1String(recognisedStandsFile));
}

bool Calculation::RunCalculation(const CalculationProgress& progress)
{
    m_rowsWritten = 0;
    m_compartmentCounter = 0;
    ProgressScope scope(progress);
    ListReplacement replacement(m_tablesDir);
    const bool hadList = files::fileExists(replacement.listPath());
    try {
        replacement.create(m_table);
        m_table.Open();
        if (!runCompartments(progress)) {
            replacement.discard();
            ui::services().showMessage(QStringLiteral("Nic nebylo spočteno: lesní celek nebyl načten.\n") + keptListText(hadList));
            return false;
        }
        m_table.Close();
        replacement.putInPlace();
        ui::services().processEvents();
        return true;
    } catch (const Exception& e) {
        replacement.discard();
        ui::services().messageBox(e.message() + QStringLiteral("\n\nVýpočet nebyl dokončen. ") + keptListText(hadList),
                                  QString(), ui::MsgType::Error, ui::Ok);
        return false;
    }
}

bool Calculation::runCompartments(const CalculationProgress& progress)
{
    TLesniCelek* unit = LesniCelek();
    unit->ReloadCompartments();
    if (!unit->HasUnit())
        return false;
    const int count = int(unit->CompartmentList().size());
    if (progress.show)
        progress.show(count);
    bool done = count <= 0;
    m_lhcKod = unit->LHC()->LHC_KOD();
    m_lhcNaz = unit->LHC()->LHC_NAZ();
    while (!done) {
        ++m_compartmentCounter;
        if (progress.setPosition)
            progress.setPosition(m_compartmentCounter);
        if (TOddeleni* compartment = unit->LHC()->Oddeleni())
            walkCompartment(*compartment);
        done = unit->EndOfData();
        unit->LoadNextCompartment(false);
        ui::services().processEvents();
    }
    return true;
}

void Calculation::walkCompartment(TOddeleni& compartment)
{
    TLHC& header = *LesniCelek()->LHC();
    SpeciesRowCache cache;
    for (int i = 0; i < compartment.DilecMN()->Count(); ++i) {
        TDilec* dilec = compartment.DilecAt(i);
        for (int j = 0; dilec && j < dilec->PorostMN()->Count(); ++j) {
            ui::services().processEvents();
            TPorost* porost = dilec->PorostAt(j);
            for (int k = 0; porost && k < porost->PorostniSkupinaMN()->Count(); ++k) {
                TPorostniSkupina* group = porost->PorostniSkupinaAt(k);
                for (int m = 0; group && m < group->EtazMN()->Count(); ++m) {
                    TEtaz* etaz = group->EtazAt(m);
                    for (int n = 0; etaz && n < etaz->DrevinaMN()->Count(); ++n) {
                        TDrevina* drevina = etaz->DrevinaAt(n);
                        if (!drevina)
                            continue;
                        const SpeciesLevels levels{header, compartment, *dilec, *porost, *group, *etaz, *drevina};
                        m_rowsWritten += writeSpeciesRowReported(m_table, levels, m_lhcKod, m_lhcNaz, &cache) ? 1 : 0;
                    }
                }
            }
        }
    }
}

} // namespace app
