// Copies a whole interchange file into a forest set: codebooks and owners.
#include "app/sources/ishul/FstCodebookTransfer.h"

#include "app/sources/ishul/FstCodebookReader.h"
#include "app/sources/ishul/FstDataReader.h"
#include "forest/base/CodePages.h"
#include "forest/base/LesniMnozina.h"
#include "framework/values/TypedValues.h"

namespace {

template<class Reader>
void transfer(Reader& reader, TLesniMnozina* target, const QString& suffix)
{
    if (!target)
        return;
    TStringListElement* carrier = reader.NosicHlavicka();
    while (!reader.Konec()) {
        reader.ReadRecord();
        if (reader.Konec())
            break;
        target->NovyPrvekVzdy(QString::number(reader.CisloNactenehoRadku()));
        TElement* item = target->AktualniPrvek();
        if (!item)
            continue;
        for (int i = 0; i < carrier->Count(); ++i) {
            const QString name = carrier->NameAt(i) + suffix;
            if (item->HasProperty(name))
                item->SetPropAsString(name, RemoveDiacritics(carrier->ValueAt(i)));
        }
    }
}

} // namespace

void LoadFstCodebookIntoSet(const QString& fileName, TLesniMnozina* target, FaultLog* log)
{
    Owned<TPrenasecZeStandarduCiselnik> reader = TPrenasecZeStandarduCiselnik::CreateOn(fileName, log);
    transfer(*reader, target, QString());
}

void LoadFstDataIntoSet(const QString& fileName, TLesniMnozina* target, FaultLog* log)
{
    Owned<TPrenasecZeStandarduData> reader = TPrenasecZeStandarduData::CreateOn(fileName, log);
    transfer(*reader, target, QStringLiteral("_C"));
}
