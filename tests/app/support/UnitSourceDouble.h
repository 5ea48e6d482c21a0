// A source double that builds a small forest unit in code, one compartment at a time.
#pragma once

#include "app/sources/Source.h"

#include <QList>
#include <QString>

#include <functional>
#include <memory>

namespace testapp {

// One species of the double's units.
struct SpeciesSpec {
    QString drZkr;
    QString genKlas;
    qint32 zast = 0;
    qint32 drZasCel = 0;
    qint32 drTo = 0;
};

// Compartments numbered as given; each has sub-compartment "A", stand "1", group "1a",
// storey "1" (85 years, 2.5 ha) with the species given, and a second storey "2" without any.
class UnitSourceDouble : public app::Source
{
public:
    UnitSourceDouble(QList<qint32> compartments, QList<SpeciesSpec> species, quint8 kind = 1);

    quint8 kind() const override { return m_kind; }
    void loadHeader(TLesniCelek& unit) override;
    QStringList buildCompartmentList(TLesniCelek& unit) override;
    bool loadFirstCompartment(TLesniCelek& unit) override;
    bool endOfData() const override;
    bool loadNextCompartment(TLesniCelek& unit) override;
    bool hasUnit() const override { return readsUnit; }

    // Raised (as EDatabaseError) when compartment index `failAt` is loaded; -1 never.
    int failAt = -1;
    // Like the version-97 and 98 tables at their end: a further load reads the last row again.
    bool reloadsLastAtEnd = false;
    // The storey area of compartment index `corruptAreaAt` is not a number; -1 none.
    int corruptAreaAt = -1;
    int loads = 0;
    // False: the source reads no unit, as after a cancelled login.
    bool readsUnit = true;
    // Called at every load of a compartment.
    std::function<void()> onLoad;
    int headerLoads = 0;

private:
    void build(TLesniCelek& unit, int index);

    QList<qint32> m_compartments;
    QList<SpeciesSpec> m_species;
    quint8 m_kind;
    int m_current = -1;
};

} // namespace testapp
