// The forest-unit source over the sibling inventory database, versions 97 and 98.
#pragma once

#include "app/sources/Source.h"
#include "app/sources/vex/Ovr.h"

#include <memory>

class TLHC;
class tciselnik;

namespace vex {

// Kinds 1 (version 97) and 2 (version 98). The data module is created on the first header load
// and kept; a module that cannot open the database says so once (naming the table) and the
// source then has no compartments. The compartment table's current row is the next compartment.
class VexSource : public app::Source
{
public:
    VexSource(Version version, app::SourceContext context);
    ~VexSource() override;

    quint8 kind() const override;
    void loadHeader(TLesniCelek& unit) override;
    QStringList buildCompartmentList(TLesniCelek& unit) override;
    bool loadFirstCompartment(TLesniCelek& unit) override;
    bool endOfData() const override;
    bool loadNextCompartment(TLesniCelek& unit) override;
    bool hasUnit() const override { return m_ready; }

    // The module, nil before the first header load or after it failed.
    TOvr* ovr() const { return m_ready ? m_ovr.get() : nullptr; }
    // The source key written to the unit ("Vex97-Paradox", "Vex98-Paradox").
    QString sourceKey() const;

private:
    bool ensureOvr(TLesniCelek& unit);
    void loadCompartment(TLesniCelek& unit);

    Version m_version;
    app::SourceContext m_context;
    std::unique_ptr<TOvr> m_ovr;
    bool m_ready = false;
    bool m_tried = false;
};

// The unit's header element and codebook container (created and added on first use).
TLHC* unitHeader(TLesniCelek& unit);
tciselnik* unitCodebooks(TLesniCelek& unit);

// What the data module asks of the user: the program's dialogs unless replaced (tests answer themselves).
DirectoryChooser& directoryChooser();
CodebookFiller& codebookFiller();

std::unique_ptr<app::Source> createVexSource(quint8 kind, const app::SourceContext& context);

} // namespace vex
