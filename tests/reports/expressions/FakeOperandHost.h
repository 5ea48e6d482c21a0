// An operand host for tests: columns, parameters and functions from lists, requests recorded.
#pragma once

#include "reports/expressions/OperandHost.h"

#include <QStringList>

#include <vector>

namespace reports::test {

class FakeOperandHost : public OperandRequestHandler
{
public:
    FakeOperandHost() { SetOperandHost(this); }
    ~FakeOperandHost() override { ReleaseOperandHost(this); }

    void MessageValueRequest(OperandMessage& m) override
    {
        requests.push_back(m.WParam);
        if (m.WParam == OperandMessage::ColumnIndex || m.WParam == OperandMessage::FunctionIndex) {
            const QStringList& names = m.WParam == OperandMessage::ColumnIndex ? columnNames : functionNames;
            m.Result = -1;
            for (int i = 0; i < names.size(); ++i) {
                if (names[i].compare(*m.Name, Qt::CaseInsensitive) == 0) {
                    m.Result = i;
                    break;
                }
            }
            return;
        }
        if (m.WParam >= OperandMessage::Column && m.WParam < OperandMessage::Function) {
            const int i = m.WParam - OperandMessage::Column;
            if (i < int(columnValues.size()))
                *m.Value = columnValues[std::size_t(i)];
        }
    }

    QStringList columnNames;
    QStringList functionNames;
    std::vector<TOperandValue> columnValues;
    std::vector<int> requests;
};

inline TOperandValue number(double v, const QString& text)
{
    TOperandValue r;
    r.Kind = okNumber;
    r.Number = v;
    r.Text = text;
    return r;
}

inline TOperandValue text(const QString& t, double v = 0)
{
    TOperandValue r;
    r.Kind = okText;
    r.Number = v;
    r.Text = t;
    return r;
}

} // namespace reports::test
