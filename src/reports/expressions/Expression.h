// Report expressions: arithmetic, comparisons and logic over numbers and texts, built-in
// functions, sets with IN, and operand references answered by the operand host.
#pragma once

#include "reports/expressions/OperandValue.h"

#include <QString>
#include <QStringList>

#include <cstdint>

namespace reports {

// Evaluates `text` (its first 255 characters). Answers 0 and the value, or an error code
// 1..14 with `errorPos` the 0-based position of the token where it was noticed (for 5 the
// length of the text); on an error the value is cleared. An empty text gives the cleared
// value. Never raises: numeric faults, infinite and undefined results are error 6.
//
// Precedence, tighter first: functions; unary "-" and NOT; "^"; "*", "/", AND; "+", "-",
// OR; comparisons and IN. Equal precedence groups to the left. "=" and "<>" compare texts
// when both sides are texts, otherwise numbers; "<", ">", "<=", ">=" compare numbers. "+"
// adds the numbers and joins the texts, and is a text only when both sides are. Every
// other result is a number whose text is its general form. Evaluation keeps its state in
// locals, so the operand host may evaluate expressions while it answers.
uint8_t EvaluateExpression(const QString& text, TOperandValue& value, int& errorPos);

// The message of error codes 1..14, empty for any other code.
QString ExpressionErrorText(int code);
// The designer's check report: "Chyba : "<message>" na pozici <pos>" or "Výraz je v pořádku.".
QString ExpressionCheckText(int code, int errorPos);

// A number from a text that may use either separator; 0 when the text is not a plain
// number (digits, one separator, "E", a leading "-"), so "+5" and "1E-5" give 0.
double SafeStrToFloat(const QString& text);

// Clears `list` and adds the text of each comma-separated operand of `text`: a number
// literal, a 'text' literal, an operand reference (fetched from the host) or any other run
// of characters up to the next comma, blanks around it dropped.
void SplitOperandList(const QString& text, QStringList& list);

} // namespace reports
