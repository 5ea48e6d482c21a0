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

QString CodeNameCache::lookup(db::Table* table, const QString& keyField, const QString& code,
                              const QString& resultField, bool caseSensitive)
{
    if (!table)
        return {};
    table->Open();
    // Lookups that never move the cursor and scan nothing need no cache.
    const db::Field* key = table->FindField(keyField);
    if (code.isEmpty() || !key || key->IsBlob())
        return LookupCodeName(table, keyField, code, resultField, caseSensitive);
    if (table != m_table || table->rowsStamp() != m_stamp) {
        m_answers.clear();
        m_table = table;
    }
    Question question{keyField, resultField, code, caseSensitive};
    if (const auto it = m_answers.constFind(question); it != m_answers.constEnd()) {
        replayCursor(*table, *it);
        return it->text;
    }
    const QString text = LookupCodeName(table, keyField, code, resultField, caseSensitive);
    // The lookup moves the cursor, which renews no stamp: the rows are the same.
    m_stamp = table->rowsStamp();
    m_answers.insert(std::move(question), Answer{text, table->currentRow(), table->Bof()});
    return text;
}

// The lookup goes to the first row and steps to the found one; a miss returns to the first row
// by its bookmark, which clears Bof (an empty table stays at Bof and Eof).
void CodeNameCache::replayCursor(db::Table& table, const Answer& answer) const
{
    table.First();
    if (answer.row > 0)
        table.MoveBy(answer.row);
    else if (answer.row == 0 && !answer.isBof)
        table.GotoBookmark(table.GetBookmark());
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
