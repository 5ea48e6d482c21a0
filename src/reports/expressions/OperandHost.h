// Where expressions get the values of their operand references: the report that runs, or
// the designer while it checks an expression.
#pragma once

#include "reports/expressions/OperandValue.h"

#include <QString>

namespace reports {

// A request of the evaluator. Codes: 2 index of a column by name, 3 index of a user
// function by name (Result := 0-based index or -1); 2000 + i parameter i, 4000 + i column i,
// 6000 + i user function i (Value filled; it arrives cleared). Other codes answer nothing.
struct OperandMessage
{
    static constexpr int NoRequest = 1;
    static constexpr int ColumnIndex = 2;
    static constexpr int FunctionIndex = 3;
    static constexpr int Parameter = 2000;
    static constexpr int Column = 4000;
    static constexpr int Function = 6000;

    int WParam = 0;
    const QString* Name = nullptr;      // codes 2 and 3
    TOperandValue* Value = nullptr;     // codes 2000 and above
    int Result = 0;
};

// Answers operand requests synchronously, without evaluating expressions itself.
class OperandRequestHandler
{
public:
    virtual ~OperandRequestHandler() = default;
    virtual void MessageValueRequest(OperandMessage& message) = 0;
};

// The one object that answers; none at start. Not owned.
OperandRequestHandler* OperandHost();
void SetOperandHost(OperandRequestHandler* host);
// Clears the host when it is `host` (a handler going away calls it).
void ReleaseOperandHost(const OperandRequestHandler* host);

} // namespace reports
