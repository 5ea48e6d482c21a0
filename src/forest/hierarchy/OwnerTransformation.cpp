// Ownership transformation of a compartment: stands change owner, stand groups move to a stand
// of their new owner.
#include "forest/hierarchy/Dilec.h"
#include "forest/hierarchy/Kategorie.h"
#include "forest/hierarchy/NonStockedLand.h"
#include "forest/hierarchy/Oddeleni.h"
#include "forest/hierarchy/Porost.h"
#include "forest/hierarchy/PorostniSkupina.h"

#include "platform/ui/Services.h"

using namespace forest;

namespace {

QString quoted(const QString& text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString withoutBlanks(QString text)
{
    return text.remove(QLatin1Char(' '));
}

// Empties a sub-compartment's record list whatever way its application ends.
class TransformListReset
{
public:
    explicit TransformListReset(std::vector<TElement*>& list) : m_list(list) {}
    ~TransformListReset() { m_list.clear(); }
    TransformListReset(const TransformListReset&) = delete;
    TransformListReset& operator=(const TransformListReset&) = delete;

private:
    std::vector<TElement*>& m_list;
};

} // namespace

QString FirstUnusedLetter(TEntity* set)
{
    for (char letter = 'a'; letter <= 'z'; ++letter) {
        const QString candidate(QLatin1Char{letter});
        bool used = false;
        for (int i = 0; i < set->Count() && !used; ++i) {
            TElement* item = set->Items(i);
            if (auto* dilec = dynamic_cast<TDilec*>(item))
                used = dilec->DIL() == candidate;
            else if (auto* porost = dynamic_cast<TPorost*>(item))
                used = porost->POR() == candidate;
        }
        if (!used)
            return candidate;
    }
    return {};
}

void TOddeleni::ApplyOwnerTransforms(TOddeleni* compartment, TEntity* records)
{
    if (!compartment)
        return;
    compartment->m_transformFailed = false;
    if (!records)
        return;
    int first = 0;
    int count = 0;
    FindRangeByIntProperty(records, QStringLiteral("ODD"), compartment->ODD(), first, count);
    if (count == 0)
        return;
    TDilecMN* dilce = compartment->DilecMN();
    for (int i = first; i < first + count; ++i) {
        TElement* record = records->Items(i);
        const QString dil = record->GetPropAsString(QStringLiteral("DIL"));
        TDilec* dilec = compartment->DilecJmenem(dil);
        if (!dilec) {
            ui::services().showMessage(QStringLiteral("V oddělení ") + QString::number(compartment->ODD())
                                       + QStringLiteral("neexistuje dílec ") + quoted(dil));
            compartment->m_transformFailed = true;
            // Lists handed out so far are not applied; they must not linger to a later run.
            forEachChild<TDilec>(dilce, [](TDilec* d) { d->ClearOwnerTransforms(); });
            return;
        }
        dilec->AddOwnerTransform(record);
    }
    for (int i = 0; i < dilce->Count(); ++i) {
        auto* dilec = dynamic_cast<TDilec*>(dilce->Items(i));
        if (!dilec || !dilec->HasOwnerTransforms())
            continue;
        if (!dilec->ApplyOwnerTransforms()) {
            compartment->m_transformFailed = true;
            forEachChild<TDilec>(dilce, [](TDilec* d) { d->ClearOwnerTransforms(); });
            return;
        }
    }
}

bool TDilec::ApplyOwnerTransforms()
{
    TransformListReset reset(m_transforms);
    if (m_transforms.empty())
        return true;
    for (TElement* record : m_transforms)
        if (!record->GetPropAsString(QStringLiteral("POR")).isEmpty())
            applyStandRecord(record);
    for (TElement* record : m_transforms)
        if (!record->GetPropAsString(QStringLiteral("PSK")).isEmpty() && !applyStandGroupRecord(record))
            return false;
    TPorostMN* porosty = PorostMN();
    if (porosty->Count() > 0)
        porosty->SetAktualniPrvek(porosty->Items(0));
    return true;
}

void TDilec::applyStandRecord(TElement* record)
{
    const QString por = record->GetPropAsString(QStringLiteral("POR"));
    TPorost* porost = PorostJmenem(por);
    if (!porost) {
        ui::services().showMessage(QStringLiteral("V dílci ") + CeleOznaceni() + QStringLiteral(" chybí porost")
                                   + quoted(por));
        return;
    }
    porost->SetMAJ_KOD(record->GetPropAsInteger(QStringLiteral("MAJ_KOD")));
    porost->SetMAJ_DRUH(record->GetPropAsInteger(QStringLiteral("MAJ_DRUH")));
}

TPorost* TDilec::targetStand(qint32 majKod, qint32 majDruh)
{
    TPorostMN* porosty = PorostMN();
    TPorost* target = nullptr;
    forEachChild<TPorost>(porosty, [&](TPorost* porost) {
        if (porost->MAJ_KOD() == majKod && porost->MAJ_DRUH() == majDruh)
            target = porost;
    });
    if (target)
        return target;
    const QString letter = FirstUnusedLetter(porosty);
    porosty->NovyPrvekVzdy(letter);
    target = currentAs<TPorost>(porosty);
    target->SetPOR(letter);
    target->SetMAJ_KOD(majKod);
    target->SetMAJ_DRUH(majDruh);
    return target;
}

bool TDilec::applyStandGroupRecord(TElement* record)
{
    const QString psk = record->GetPropAsString(QStringLiteral("PSK"));
    const qint32 majKod = record->GetPropAsInteger(QStringLiteral("MAJ_KOD"));
    bool unique = true;
    TPorostniSkupina* group = FindStandGroupByPsk(PorostMN(), psk, unique);
    if (!unique) {
        ui::services().showMessage(QStringLiteral(" V dilci ") + quoted(CeleOznaceni())
                                   + QStringLiteral(" je více porostních skupin ") + quoted(psk)
                                   + QStringLiteral(". Nelze provést změnu majitele č.") + QString::number(majKod));
        return false;
    }
    TPorost* target = targetStand(majKod, record->GetPropAsInteger(QStringLiteral("MAJ_DRUH")));
    if (!group) {
        ui::services().showMessage(QStringLiteral("V dílci ") + CeleOznaceni() + QStringLiteral(" není skupina: ")
                                   + quoted(psk));
        return true;
    }
    TPorost* from = group->OwnerPorost();
    if (!from || from == target)
        return true;
    TPorostniSkupinaMN* targetGroups = target->PorostniSkupinaMN();
    if (targetGroups->PocetPrvku() == 0)
        target->TakeOverStandData(*from);
    // Added to the target first, so that leaving the old set does not free the group.
    targetGroups->Add(group);
    from->PorostniSkupinaMN()->Remove(group);
    const bool isEmpty = from->PorostniSkupinaMN()->PocetPrvku() == 0
                         && (!from->ExistingJinyPozemekMN() || from->ExistingJinyPozemekMN()->PocetPrvku() == 0)
                         && (!from->ExistingBezlesiMN() || from->ExistingBezlesiMN()->PocetPrvku() == 0);
    if (isEmpty)
        PorostMN()->RemoveAndFree(from);
    return true;
}

TPorostniSkupina* TDilec::FindStandGroupByPsk(TPorostMN* stands, const QString& psk, bool& unique)
{
    unique = true;
    TPorostniSkupina* found = nullptr;
    const QString wanted = withoutBlanks(psk);
    forEachChild<TPorost>(stands, [&](TPorost* porost) {
        forEachChild<TPorostniSkupina>(porost->ExistingPorostniSkupinaMN(), [&](TPorostniSkupina* group) {
            if (withoutBlanks(group->PSK()) != wanted)
                return;
            if (found)
                unique = false;
            found = group;
        });
    });
    return found;
}
