// A report over rows held in memory, for record-loop tests.
#pragma once

#include "reports/engine/SestavaTyp.h"
#include "reports/support/FixedMeasurer.h"

#include <QList>
#include <QStringList>

namespace reports::test {

// Columns and rows given as text; a column of type ctMemo answers its text as memo. Steps
// like a data set: Eof only after Next past the last row.
class ListReport : public TSestavaTyp
{
public:
    QList<QStringList> rows;
    QList<int> types;   // per column; missing: ctString
    int current = 0;
    bool eof = false;
    FixedMeasurer fixedMeasurer;

    ListReport() { setMeasurer(&fixedMeasurer); }

    // Column names first, as a report takes them from its data before its template.
    void setTemplate(const QStringList& lines, const QStringList& columns = {"SKUP", "CASTKA", "C3", "C4"})
    {
        SetColumns(columns);
        SetPredloha(lines);
    }

    int StepData(int dir) override
    {
        const int last = int(rows.size()) - 1;
        eof = false;
        switch (dir) {
        case sdFirst: current = 0; break;
        case sdPrior: current = std::max(current - 1, 0); break;
        case sdNext:
            if (current >= last) eof = true;
            else ++current;
            break;
        default: current = std::max(last, 0);
        }
        return (current == 0 ? srBof : 0) | (eof || rows.isEmpty() ? srEof : 0);
    }
    bool DataIsEmpty() override { return rows.isEmpty(); }

    QString ColumnText(int index) const override
    {
        if (current >= rows.size() || index < 0 || index >= rows[current].size()) return {};
        return rows[current][index];
    }
    double ColumnValue(int index) const override { return ColumnText(index).replace(u',', u'.').toDouble(); }
    int ColumnDataType(int index) const override { return index < types.size() ? types[index] : ctString; }
    QString ColumnMemo(int index) const override { return ColumnText(index); }
};

} // namespace reports::test
