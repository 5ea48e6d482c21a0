// The scan for stand-group texts holding an apostrophe, as conditions ready for a selection.
#include "app/sources/sql/ApostropheScan.h"

#include "forest/base/StatusText.h"
#include "platform/db/sql/Database.h"
#include "platform/db/sql/Query.h"

namespace sqlsrc {

namespace {

constexpr int kFirstBlock = 1000;
constexpr int kLastBlock = 10000;   // units in blocks of 100, the last one included

QString literal(const QString& text)
{
    QString doubled = text;
    doubled.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + doubled + QLatin1Char('\'');
}

} // namespace

QStringList ApostropheConditions(db::Database& database)
{
    const int from = kFirstBlock * 100;
    const int to = (kLastBlock + 1) * 100;
    ShowStatusText(QStringLiteral("LHC %1-%2").arg(from).arg(to));
    db::Query q;
    q.SetDatabaseName(database.DatabaseName());
    q.SQL().Add(QStringLiteral("select LHC_KOD,LHC_KOD_ID,ODD,DIL,POR,PSK,PSK_P,PSK_TEXT from POROST_SKUP"));
    q.SQL().Add(QStringLiteral("where LHC_KOD_ID=0 and LHC_KOD>=:OD and LHC_KOD<:DO"));
    q.SQL().Add(QStringLiteral("order by LHC_KOD,ODD,DIL,POR,PSK"));
    q.ParamByName(QStringLiteral("OD")).setAsInteger(from);
    q.ParamByName(QStringLiteral("DO")).setAsInteger(to);
    q.Open();
    QStringList lines;
    for (q.First(); !q.Eof(); q.Next()) {
        if (!q.FieldByName(QStringLiteral("PSK_TEXT")).AsString().contains(QLatin1Char('\'')))
            continue;
        lines << QStringLiteral("or( LHC_KOD=%1 and ODD=%2 and DIL=%3 and POR=%4 and PSK=%5 )")
                     .arg(q.FieldByName(QStringLiteral("LHC_KOD")).AsInteger())
                     .arg(q.FieldByName(QStringLiteral("ODD")).AsInteger())
                     .arg(literal(q.FieldByName(QStringLiteral("DIL")).AsString()),
                          literal(q.FieldByName(QStringLiteral("POR")).AsString()),
                          literal(q.FieldByName(QStringLiteral("PSK")).AsString()));
    }
    q.Close();
    return lines;
}

} // namespace sqlsrc
