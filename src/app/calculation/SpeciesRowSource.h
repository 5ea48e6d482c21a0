// The values of one species row read from the forest model, and the reported write of that row.
#pragma once

#include "app/calculation/RecognisedStandsTable.h"

class TLHC;
class TOddeleni;
class TDilec;
class TPorost;
class TPorostniSkupina;
class TEtaz;
class TDrevina;

namespace app {

// One species with the elements above it, as the walk of a compartment reaches it.
struct SpeciesLevels {
    TLHC& header;
    TOddeleni& compartment;
    TDilec& dilec;
    TPorost& porost;
    TPorostniSkupina& group;
    TEtaz& etaz;
    TDrevina& drevina;
};

// The codebook and owner names that every species row of a stand or stand group repeats, kept
// per element while one compartment is walked (its elements stay where they are meanwhile; a
// cache outlives no compartment). Only answers that were read without an error are kept.
class SpeciesRowCache
{
public:
    const QString& lhpTax(TLHC& header);
    const QString& lhpZTax(TLHC& header);
    const QString& majNaz(TPorost& porost);
    const QString& lesOblNazev(TPorost& porost);
    const QString& lesUradNazev(TPorostniSkupina& group);

private:
    // One text of the last element asked about.
    template<class Element>
    struct Entry {
        const Element* element = nullptr;
        QString text;
    };
    template<class Element, class Read>
    static const QString& cached(Entry<Element>& entry, Element& element, Read read);

    Entry<TLHC> m_lhpTax, m_lhpZTax;
    Entry<TPorost> m_majNaz, m_lesOblNazev;
    Entry<TPorostniSkupina> m_lesUradNazev;
};

// The row's values as the elements' accessors answer them; the unit's code and name are the
// ones taken when the run started. With a cache, the repeated names come from it.
SpeciesRowInput speciesRowInput(const SpeciesLevels& levels, qint32 lhcKod, const QString& lhcNaz,
                                SpeciesRowCache* cache = nullptr);
// Writes the row of the species (when its class is recognised). A failure of this row is
// reported with the species' designation, the row is dropped and false answered; the caller
// goes on with the next species.
bool writeSpeciesRowReported(db::Table& table, const SpeciesLevels& levels, qint32 lhcKod, const QString& lhcNaz,
                             SpeciesRowCache* cache = nullptr);

} // namespace app
