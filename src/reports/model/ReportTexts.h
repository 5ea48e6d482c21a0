// The report generator's string table: its own Czech texts by identifier (65024-65151).
#pragma once

#include <QString>

namespace reports {

// The text of a string-table entry, empty for an identifier the table does not hold.
// Texts with placeholders ("%s", "%d") are formatted by the caller.
QString reportText(int id);

// Identifiers other code names; the rest are quoted by number where used.
namespace text_id {
inline constexpr int Funkce = 65127;         // default name of a user function
inline constexpr int Polozka = 65120;        // placeholder of a column value
inline constexpr int Skupina = 65121;        // group name in the group list
inline constexpr int FirstExpressionError = 65104;   // + error code 1..14
inline constexpr int ExpressionErrorAt = 65119;
inline constexpr int ExpressionOk = 65088;
} // namespace text_id

} // namespace reports
