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
// cache outlives no compartment). An owner or office name is also kept per code: another
// element with the same code and the same codebooks gets the same name without a look-up.
// Only answers that were read without an error are kept.
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
    // What a codebook name depends on besides its element: the code and the codebooks asked.
    struct CodeKey {
        const void* root = nullptr;
        const void* codebooks = nullptr;
        qint32 code = 0;
        bool operator==(const CodeKey&) const = default;
    };
    // The name of the last element asked about, and of the code it had.
    template<class Element>
    struct CodeEntry : Entry<Element> {
        CodeKey key;
        bool isKeyed = false;
    };
    template<class Element, class Read>
    static const QString& cached(Entry<Element>& entry, Element& element, Read read);
    template<class Element, class Key, class Read>
    static const QString& cachedByCode(CodeEntry<Element>& entry, Element& element, Key key, Read read);

    Entry<TLHC> m_lhpTax, m_lhpZTax;
    Entry<TPorost> m_lesOblNazev;
    CodeEntry<TPorost> m_majNaz;
    CodeEntry<TPorostniSkupina> m_lesUradNazev;
};

// Writes the row of the species (when its class is recognised). A failure of this row is
// reported with the species' designation, the row is dropped and false answered; the caller
// goes on with the next species.
bool writeSpeciesRowReported(db::Table& table, const SpeciesLevels& levels, qint32 lhcKod, const QString& lhcNaz,
                             SpeciesRowCache* cache = nullptr);

} // namespace app
