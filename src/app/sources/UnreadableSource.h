// A source kind the program cannot read yet: it says so and yields nothing.
#pragma once

#include "app/sources/Source.h"

namespace app {

// The text shown when a source of a kind without a reader is chosen.
QString unreadableSourceMessage();

// Stands in for a kind whose reader is not part of the program: loading the header shows
// unreadableSourceMessage() once; there are no compartments.
class UnreadableSource : public Source
{
public:
    explicit UnreadableSource(quint8 kind) : m_kind(kind) {}

    quint8 kind() const override { return m_kind; }
    void loadHeader(TLesniCelek& unit) override;
    QStringList buildCompartmentList(TLesniCelek&) override { return {}; }
    bool loadFirstCompartment(TLesniCelek&) override { return false; }
    bool endOfData() const override { return true; }
    bool loadNextCompartment(TLesniCelek&) override { return false; }

private:
    quint8 m_kind;
    bool m_told = false;
};

} // namespace app
