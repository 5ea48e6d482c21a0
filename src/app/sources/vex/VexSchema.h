// Tables and declared fields of the sibling inventory program's database, versions 97 and 98.
#pragma once

#include "platform/db/Field.h"

#include <QString>

#include <vector>

namespace vex {

enum class Version { V97, V98 };

// The three directories of the database.
enum class Directory { Data, Phs, Codebooks };

// One table of the database: the component name the data module gives it, its file, the
// directory it lives in and the fields the module declares (a table lacking one of them does not
// open). Fields are written "NAME T" joined by ",": N float, S int16, I int32, An text of n.
struct TableLayout {
    const char* component;
    const char* file;
    Directory directory;
    const char* declared;
};

// The declared fields as definitions.
db::FieldDefs parseFields(const char* fieldList);

// The stand tables of a version, in the order the module opens them.
const std::vector<TableLayout>& standTables(Version version);
// The codebook and PHS tables of a version, in the order the module opens them.
const std::vector<TableLayout>& codebookTables(Version version);
// The layout of a component (stand, PHS or codebook table); raises EDatabaseError when unknown.
const TableLayout& layoutOf(Version version, const QString& component);

// The version-specific name of the kind column of bare land, other land and other areas.
QString bareLandKindField(Version version);
QString otherLandKindField(Version version);

} // namespace vex
