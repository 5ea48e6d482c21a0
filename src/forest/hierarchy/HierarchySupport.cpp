// Helpers shared by the forest hierarchy classes: rounding, child sets, owners and codebook texts.
#include "forest/hierarchy/HierarchySupport.h"

#include "framework/core/ClassRegistry.h"
#include "platform/text/Case.h"

namespace forest {

TEntity* codebookRootSet(TObecnyLesniPrvek* element, const QString& className, int index)
{
    TOwnerEntity* root = element ? element->ciselLumexOwnEnt() : nullptr;
    const TClass cls = FindLumexClass(className);
    if (!root || !cls)
        return nullptr;
    int seen = 0;
    for (int i = 0; i < root->Count(); ++i) {
        TElement* child = root->Items(i);
        if (child && child->InheritsFrom(cls) && seen++ == index)
            return dynamic_cast<TEntity*>(child);
    }
    return nullptr;
}

QString itemValueByKey(TEntity* set, const QString& keyProperty, const QString& key, const QString& resultProperty)
{
    QString result;
    if (!set)
        return result;
    const QString wanted = txt::upperAscii(txt::trim(key));
    for (int i = 0; i < set->Count(); ++i) {
        TElement* item = set->Items(i);
        if (item && item->HasProperty(keyProperty)
            && txt::upperAscii(txt::trim(item->GetPropAsString(keyProperty))) == wanted)
            result = item->GetPropAsString(resultProperty);
    }
    return result;
}

QString ownerName(TObecnyLesniPrvek* element, qint32 majKod)
{
    if (!element || !element->ciselLumexOwnEnt())
        return {};
    const QString code = QString::number(majKod);
    TEntity* owners = codebookRootSet(element, QStringLiteral("TmajetkyMN"));
    if (hasItems(owners))
        return itemValueByKey(owners, QStringLiteral("MAJ_KOD_C"), code, QStringLiteral("MAJ_NAZ_C"));
    return codebookText(element, QStringLiteral("tb_Majetky"), QStringLiteral("MAJ_KOD"), code,
                        QStringLiteral("MAJ_NAZ"));
}

} // namespace forest

namespace forest {

QString codebookText(TObecnyLesniPrvek* element, const QString& table, const QString& keyField, const QString& code,
                     const QString& resultField)
{
    (void)table; (void)keyField; (void)code; (void)resultField;
    if (!element || !element->Ciselnik())
        return {};
    return {};   // TEMPORARY until the codebook container lands
}

db::Table* codebookTable(TObecnyLesniPrvek* element, const QString& table)
{
    (void)table;
    if (!element || !element->Ciselnik())
        return nullptr;
    return nullptr;   // TEMPORARY until the codebook container lands
}

} // namespace forest
