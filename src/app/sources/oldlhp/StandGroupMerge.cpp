// The merge pass over a loaded compartment: stand groups listed together in a P0110.DBF table.
#include "app/sources/oldlhp/StandGroupMerge.h"

#include "app/sources/ishul/PropertyWriter.h"
#include "forest/base/Designations.h"
#include "forest/hierarchy/Dilec.h"
#include "forest/hierarchy/Etaz.h"
#include "forest/hierarchy/Oddeleni.h"
#include "forest/hierarchy/Porost.h"
#include "forest/hierarchy/PorostniSkupina.h"
#include "platform/files/Files.h"
#include "platform/text/Cp1250.h"
#include "platform/text/Numbers.h"
#include "platform/ui/Services.h"

#include <QFile>

#include <shapefil.h>

#include <algorithm>
#include <memory>

namespace {

double floatOf(TElement* e, const QString& name)
{
    double v = 0.0;
    txt::tryTextToFloat(e->GetPropAsString(name), v);
    return v;
}

template<class T>
QList<T*> items(TEntity* set)
{
    QList<T*> out;
    for (int i = 0; set && i < set->Count(); ++i)
        if (auto* item = dynamic_cast<T*>(set->Items(i)))
            out << item;
    return out;
}

struct Row {
    int compartment;
    QString dil;
    QString group;
};

} // namespace

void RecomputeGroupAreas(TPorostniSkupina* group)
{
    const QList<TEtaz*> storeys = items<TEtaz>(group->EtazMN());
    double area = 0.0;
    for (TEtaz* s : storeys)
        area += floatOf(s, QStringLiteral("ETAZ_PP"));
    writeFloat(group, QStringLiteral("PSK_P"), area);
    for (TEtaz* s : storeys) {
        if (area != 0.0)
            writeInt(s, QStringLiteral("ZAKM"),
                     txt::roundHalfEven(s->GetPropAsInteger(QStringLiteral("ZAKM")) * floatOf(s, QStringLiteral("ETAZ_PP")) / area));
        writeFloat(s, QStringLiteral("ETAZ_PS"), area);
    }
    writeFloat(group, QStringLiteral("PSK_P0"), area);
    writeFloat(group, QStringLiteral("PSK_V"), area);
}

void MergeStandGroups(TDilec* dil, const QString& source)
{
    QString text = source;
    for (TPorost* stand : items<TPorost>(dil->PorostMN())) {
        if (!text.contains(QLatin1Char('/')))
            continue;
        TLesniMnozina* groups = stand->PorostniSkupinaMN();
        groups->SetJmenoAktualnihoPrvku(NormalizeDesignationBlankZero(text.section(QLatin1Char('/'), 0, 0)));
        auto* target = dynamic_cast<TPorostniSkupina*>(groups->AktualniPrvek());
        if (!target)
            continue;
        while (text.contains(QLatin1Char('/'))) {
            text = text.mid(text.indexOf(QLatin1Char('/')) + 1);
            const QString part = NormalizeDesignationBlankZero(text.section(QLatin1Char('/'), 0, 0));
            groups->SetJmenoAktualnihoPrvku(part);
            auto* merged = dynamic_cast<TPorostniSkupina*>(groups->AktualniPrvek());
            if (merged && merged != target) {
                const QList<TEtaz*> storeys = items<TEtaz>(merged->EtazMN());
                for (auto it = storeys.crbegin(); it != storeys.crend(); ++it)
                    target->EtazMN()->Add(*it);
                groups->RemoveAndFree(merged);
            }
            groups->SetAktualniPrvek(target);
            target->SetPSK(target->PSKzEtazi());
            target->SetName(QStringLiteral("SKUP ") + target->PSKzEtazi());
            RecomputeGroupAreas(target);
        }
    }
}

void LoadStandGroupsFromDbf(const QString& fileName, TOddeleni* compartment)
{
    const QString path = files::resolvePath(fileName);
    DBFHandle raw = DBFOpen(QFile::encodeName(path).constData(), "rb");
    if (!raw) {
        ui::services().showMessage(QStringLiteral("Nelze číst tabulku \"%1\"").arg(fileName));
        return;
    }
    const std::unique_ptr<std::remove_pointer_t<DBFHandle>, void (*)(DBFHandle)> handle(raw, DBFClose);
    const int oddField = DBFGetFieldIndex(raw, "ODDELENI");
    const int dilField = DBFGetFieldIndex(raw, "POROST");
    const int groupField = DBFGetFieldIndex(raw, "SKUPINA");
    if (oddField < 0 || dilField < 0 || groupField < 0) {
        ui::services().showMessage(QStringLiteral("Nelze číst tabulku \"%1\"").arg(fileName));
        return;
    }
    QList<Row> rows;
    for (int i = 0; i < DBFGetRecordCount(raw); ++i) {
        if (DBFIsRecordDeleted(raw, i))
            continue;
        rows.append({DBFReadIntegerAttribute(raw, i, oddField), Cp1250::decode(DBFReadStringAttribute(raw, i, dilField)),
                     Cp1250::decode(DBFReadStringAttribute(raw, i, groupField))});
    }
    std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) { return a.group < b.group; });
    for (TDilec* dil : items<TDilec>(compartment->DilecMN()))
        for (const Row& row : rows)
            if (row.compartment == compartment->ODD() && row.dil == dil->DIL())
                MergeStandGroups(dil, row.group);
}
