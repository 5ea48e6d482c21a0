// The source of each kind byte.
#include "app/sources/Source.h"
#include "app/sources/ishul/IsHulSource.h"
#include "app/sources/oldlhp/OldLhpSource.h"
#include "app/sources/sql/SqlSource.h"
#include "app/sources/vex/VexSource.h"

#include "forest/base/ObecnyLesniPrvek.h"

namespace app {

std::unique_ptr<Source> createSource(quint8 kind, const SourceContext& context)
{
    switch (kind) {
    case SourceKinds::Vex97:
    case SourceKinds::Vex98:
        return vex::createVexSource(kind, context);
    case SourceKinds::IsHul97:
    case SourceKinds::IsHul98:
        return ishul::createIsHulSource(kind, context);
    case SourceKinds::OldLhpRecords:
        return oldlhp::createOldLhpSource(context);
    case SourceKinds::SqlDatabase:
        return sqlsrc::createSqlSource(context);
    default:
        return nullptr;
    }
}

} // namespace app
