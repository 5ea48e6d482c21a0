// The scan for stand-group texts holding an apostrophe, as conditions ready for a selection.
#pragma once

#include <QStringList>

namespace db {
class Database;
}

namespace sqlsrc {

// One line "or( LHC_KOD=.. and ODD=.. and DIL='..' and POR='..' and PSK='..' )" per stand group
// of units 100000 to 1000099 (LHC_KOD_ID 0) whose PSK_TEXT holds an apostrophe, by unit and keys.
// Apostrophes inside the keys are doubled so that every line stays a valid condition.
QStringList ApostropheConditions(db::Database& database);

} // namespace sqlsrc
