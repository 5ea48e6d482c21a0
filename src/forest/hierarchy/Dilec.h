// Sub-compartments (DIL) and their set.
#pragma once

#include "forest/hierarchy/AreaElements.h"

#include <vector>

class TPorostMN;
class TPorost;
class TOddeleni;
class TPorostniSkupina;

// A sub-compartment: one character as a rule, holds the stands.
class TDilec : public TLesniSlozenyPrvek
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    const QString& DIL() const { return m_dil; }
    void SetDIL(const QString& dil) { m_dil = dil; }
    QString CeleOznaceni();
    // Appends CeleOznaceni to the text (the owners' designations built into one text).
    void appendCeleOznaceni(QString& text);

    TPorostMN* PorostMN();
    TPorost* Porost();
    TPorost* PorostAt(int index);
    TOddeleni* OwnerOddeleni();
    // The stand of a key, the selection of the set left as it was.
    TPorost* PorostJmenem(const QString& key);

    // Ownership transformation: the records handed over by the compartment, then applied.
    // False when a stand group was ambiguous. The list is emptied on every path.
    void AddOwnerTransform(TElement* record) { m_transforms.push_back(record); }
    bool HasOwnerTransforms() const { return !m_transforms.empty(); }
    void ClearOwnerTransforms() { m_transforms.clear(); }
    bool ApplyOwnerTransforms();
    // Over all stand groups of all stands of the set: the last whose PSK without blanks equals
    // psk without blanks; unique is false when more than one matches.
    static TPorostniSkupina* FindStandGroupByPsk(TPorostMN* stands, const QString& psk, bool& unique);

private:
    void applyStandRecord(TElement* record);
    bool applyStandGroupRecord(TElement* record);
    TPorost* targetStand(qint32 majKod, qint32 majDruh);

    QString m_dil;
    forest::ChildSlot<TPorostMN> m_porostMN;
    // Records of the running application; the forest unit's list owns them.
    std::vector<TElement*> m_transforms;
};

// The sub-compartment set of a compartment, prefix "DIL".
class TDilecMN : public TLesniMnozina
{
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
    TDilecMN();
};

// The first lower-case letter from "a" on that no element of the set uses as its DIL or POR.
QString FirstUnusedLetter(TEntity* set);
