// Names of codes from codebook tables, and stand-category codes as integers.
#pragma once

#include "platform/db/DataSet.h"

#include <QHash>
#include <QString>

namespace db {
class Table;
}

// The text of resultField in the first row whose keyField equals code (letter case ignored
// unless caseSensitive; codes compare as the column's text, so a numeric 5 matches "5" and not
// "05"). The code itself when no row has it; empty for a nil table. Rows whose code is null never
// match, nor does a code column of a blob type. The table is opened when closed and is left on
// the found row. A result field the table lacks raises EDatabaseError.
QString LookupCodeName(db::Table* table, const QString& keyField, const QString& code, const QString& resultField,
                       bool caseSensitive);

// LookupCodeName with its answers kept per code for as long as the table shows the same rows:
// another table, a reopening, a write through any holder of the file or a reread of a file
// changed on disk drops them (db::DataSet::rowsStamp). An answer taken from the cache leaves the
// cursor where the lookup itself would. No cache file is written.
class CodeNameCache
{
public:
    QString lookup(db::Table* table, const QString& keyField, const QString& code, const QString& resultField,
                   bool caseSensitive);

private:
    struct Question {
        QString keyField;
        QString resultField;
        QString code;
        bool caseSensitive;
        bool operator==(const Question&) const = default;
    };
    friend size_t qHash(const Question& q, size_t seed)
    {
        return qHashMulti(seed, q.keyField, q.resultField, q.code, q.caseSensitive);
    }
    // The answer and where the lookup left the cursor.
    struct Answer {
        QString text;
        int row;
        bool isBof;
    };
    void replayCursor(db::Table& table, const Answer& answer) const;

    const db::Table* m_table = nullptr;
    db::RowsStamp m_stamp;
    QHash<Question, Answer> m_answers;
};

// A stand-category code as an integer: its first two characters times 10, plus, for a code of
// three characters whose third is a letter, that letter's place in the alphabet (32a gives 321,
// 32B 322, 10 100, 321 320). First characters that are no number raise EConvertError.
int CategoryCodeToInt(const QString& code);
