// A calculation into a temporary tables directory over units built by the source double.
#pragma once

#include "app/calculation/Calculation.h"
#include "app/sources/LesniCelek.h"
#include "app/support/RecordedRun.h"
#include "app/support/UnitSourceDouble.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <utility>

namespace testapp {

class CalculationFixture : public ::testing::Test
{
protected:
    // `species`: those of every compartment the double builds.
    explicit CalculationFixture(QList<SpeciesSpec> species) : m_species(std::move(species)) {}

    void SetUp() override
    {
        recorder().clear();
        calc.setTablesDir(dir.path() + QLatin1Char('/'));
    }
    // A double of the compartments as the unit's source, its header loaded.
    UnitSourceDouble* install(QList<qint32> compartments)
    {
        auto source = std::make_unique<UnitSourceDouble>(std::move(compartments), m_species);
        UnitSourceDouble* raw = source.get();
        calc.LesniCelek()->setSource(std::move(source));
        calc.LesniCelek()->LoadHeader();
        return raw;
    }

    QTemporaryDir dir;
    app::Calculation calc;

private:
    QList<SpeciesSpec> m_species;
};

} // namespace testapp
