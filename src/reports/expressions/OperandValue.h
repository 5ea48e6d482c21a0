// The value of report expressions, operands and user functions.
#pragma once

#include <QString>

#include <cstdint>

namespace reports {

enum OperandKind : uint8_t { okEmpty = 0, okNumber = 1, okText = 2, okSet = 5 };

// Every value carries both a number and a text. A text is at most 255 characters; longer
// results are cut.
struct TOperandValue
{
    static constexpr qsizetype MaxText = 255;

    uint8_t Kind = okEmpty;  // OperandKind
    double Number = 0;
    QString Text;

    void Clear() { *this = TOperandValue{}; }
    void SetText(const QString& text) { Text = text.left(MaxText); }
    bool operator==(const TOperandValue&) const = default;
};

} // namespace reports
