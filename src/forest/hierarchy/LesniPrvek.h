// The common base of the forest hierarchy's elements: link numbers and stock sums of the subtree.
#pragma once

#include "forest/base/LesniMnozina.h"

// A forest element of the unit's hierarchy (TLesniPrvek): its record and link numbers, and the
// stocks and fellings of its whole subtree summed from the storeys.
class TLesniPrvek : public TObecnyLesniPrvek
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    qint32 RId() const { return m_rid; }
    void SetRId(qint32 v) { m_rid = v; }
    qint32 Vazba() const { return m_vazba; }
    void SetVazba(qint32 v) { m_vazba = v; }

    // A storey property summed over the subtree, rounded.
    qint32 SubtreeSum(const QString& storeyProperty);

private:
    qint32 m_rid = 0;
    qint32 m_vazba = 0;
    qint32 m_kontrolaP0110 = 0;
};
