// Helpers shared by the forest hierarchy classes: rounding, child sets, owners and codebook texts.
#include "forest/hierarchy/HierarchySupport.h"

#include "forest/codebooks/CiselLumex.h"
#include "forest/codebooks/Ciselnik.h"
#include "forest/codebooks/CodeLookup.h"
#include "framework/core/ClassRegistry.h"
#include "platform/text/Case.h"

namespace forest {

TCiselLumex* codebookRoot(TObecnyLesniPrvek* element)
{
    return element ? asClass<TCiselLumex>(element->ciselLumexOwnEnt()) : nullptr;
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
    TCiselLumex* root = codebookRoot(element);
    if (!root)
        return {};
    const QString code = QString::number(majKod);
    TEntity* owners = root->MajetkyMN();
    if (hasItems(owners))
        return itemValueByKey(owners, QStringLiteral("MAJ_KOD_C"), code, QStringLiteral("MAJ_NAZ_C"));
    return codebookText(element, QStringLiteral("tb_Majetky"), QStringLiteral("MAJ_KOD"), code,
                        QStringLiteral("MAJ_NAZ"));
}

} // namespace forest

namespace forest {

db::Table* codebookTable(TObecnyLesniPrvek* element, const QString& table)
{
    Codebook codebook{};
    tciselnik* container = element ? element->Ciselnik() : nullptr;
    return container && codebookByName(table, codebook) ? container->Table(codebook) : nullptr;
}

QString codebookText(TObecnyLesniPrvek* element, const QString& table, const QString& keyField, const QString& code,
                     const QString& resultField)
{
    Codebook codebook{};
    tciselnik* container = element ? element->Ciselnik() : nullptr;
    if (!container || !codebookByName(table, codebook))
        return {};
    return container->CodeName(codebook, keyField, code, resultField);
}

} // namespace forest
