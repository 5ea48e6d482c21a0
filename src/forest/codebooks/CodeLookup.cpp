// Names of codes from codebook tables, and stand-category codes as integers.
#include "forest/codebooks/CodeLookup.h"

#include "forest/base/DataSetUtilities.h"
#include "platform/db/DataSource.h"
#include "platform/db/Table.h"
#include "platform/text/Numbers.h"

QString LookupCodeName(db::Table* table, const QString& keyField, const QString& code, const QString& resultField,
                       bool caseSensitive)
{
    if (!table)
        return {};
    table->Open();
    // A null code reads as the empty text: an empty code would find it.
    if (code.isEmpty())
        return code;
    if (const db::Field* key = table->FindField(keyField); key && key->IsBlob())
        return code;
    db::DataSource source(table);
    TKSekvenFind finder;
    finder.SetFindStyle(FromTop);
    finder.SetToBack(false);
    finder.SetDataSource(&source);
    finder.SetDataField(keyField);
    if (!finder.Find(code, caseSensitive))
        return code;
    return table->FieldByName(resultField).AsString();
}

int CategoryCodeToInt(const QString& code)
{
    int value = txt::mulChecked(txt::strToInt(code.left(2)), 10);
    if (code.size() == 3) {
        const char16_t third = code.at(2).unicode();
        if (third >= u'a' && third <= u'z')
            value += third - u'a' + 1;
        else if (third >= u'A' && third <= u'Z')
            value += third - u'A' + 1;
    }
    return value;
}
