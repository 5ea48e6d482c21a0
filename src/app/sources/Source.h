// The interface every kind of forest-unit data source implements.
#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class TLesniCelek;

namespace app {

// Where a source reads from: the directory the user chose and the program's directory (its
// "ciselnik" subdirectory holds the codebooks every source uses).
struct SourceContext {
    QString directory;
    QString programDir;
};

// One kind of data source of a forest unit (old LHP records, the sibling program's Paradox
// databases, interchange files, the SQL database). The forest unit holds one source, chosen by
// its kind byte, and drives it: header once after the choice, then for every calculation the
// compartment list, the first compartment and the following ones until the end of the data.
// A loaded compartment is added to the header's compartment set (keep-only-one mode), which
// makes it the header's current compartment; the forest unit then applies the owner
// transformation and selects the first elements below it. Errors of the files raise
// Exception (EDatabaseError and kin); a failed row is reported through ui::services() and
// skipped by the source itself.
class Source
{
public:
    virtual ~Source() = default;

    // The kind byte (0 to 5) this source answers for the forest unit.
    virtual quint8 kind() const = 0;
    // Reads the unit's header into unit.LHC() and sets the unit's source key (JakBylNacten),
    // standard directory and codebook tables as the kind requires.
    virtual void loadHeader(TLesniCelek& unit) = 0;
    // The compartment numbers, each padded on the left with blanks to 3 characters, sorted.
    virtual QStringList buildCompartmentList(TLesniCelek& unit) = 0;
    // Starts again from the beginning and loads the first compartment; false when there is none.
    virtual bool loadFirstCompartment(TLesniCelek& unit) = 0;
    // True when there is no compartment after the current one.
    virtual bool endOfData() const = 0;
    // Loads the compartment after the current one; false (and nothing loaded) at the end.
    virtual bool loadNextCompartment(TLesniCelek& unit) = 0;
    // False when the last start read no unit: the user cancelled a login or a choice, or the
    // source could not be opened (the reason has been shown). A unit read without any
    // compartment is still a unit.
    virtual bool hasUnit() const { return true; }
};

// The source of a kind byte; a kind this program cannot read yet gives a source that says so
// (in Czech) when its header is loaded and has no compartments. Nil for kind 7 and unknown bytes.
std::unique_ptr<Source> createSource(quint8 kind, const SourceContext& context);

} // namespace app
