// Copying rows of a query into a table of a unit under another key, values bound.
#include "app/sources/sql/RowCopy.h"

#include "forest/base/StatusText.h"
#include "platform/Exceptions.h"
#include "platform/db/sql/Database.h"
#include "platform/db/sql/Query.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>

namespace sqlsrc {

bool isPlainIdentifier(const QString& name)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]{0,63}$"));
    return plain.match(name).hasMatch();
}

namespace {

void run(QSqlQuery& q, const QString& statement)
{
    if (!q.exec(statement))
        throw EDatabaseError(q.lastError().text());
}

QString copiedRows(const QString& table, int count)
{
    return QStringLiteral("V tabulce %1 zkopírováno řádků: %2").arg(table).arg(count);
}

} // namespace

int CopyQueryRows(db::Query& source, const QString& table, db::Database& target, UnitKey key, const QString& oddId,
                  RowRetry retry, QStringList* log)
{
    if (!isPlainIdentifier(table))
        throw EDatabaseError(QStringLiteral("Neplatný název tabulky \"%1\".").arg(table.left(64)));
    if (!target.InTransaction())
        throw EDatabaseError(QStringLiteral("Kopírování běží jen v transakci."));
    // A whole unit's copy logs its progress; a selection's logs only the rows refused.
    const bool logsProgress = log && retry == RowRetry::None;
    if (logsProgress)
        *log << QStringLiteral("V tabulce %1 začínám kopírovat.").arg(table);
    ShowStatusText(QStringLiteral("otvirám tabulku ") + table);
    if (!source.Active())
        source.Open();
    const QStringList columns = source.fieldNames();
    QStringList marks;
    for (const QString& c : columns) {
        if (!isPlainIdentifier(c))
            throw EDatabaseError(QStringLiteral("Neplatný název sloupce \"%1\" v tabulce %2.").arg(c.left(64), table));
        marks << QStringLiteral("?");
    }
    const QString statement = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                  .arg(table, columns.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
    QSqlQuery insert(target.sqlDatabase());
    QSqlQuery savepoint(target.sqlDatabase());
    if (!insert.prepare(statement))
        throw EDatabaseError(QStringLiteral("Chyba SQL: %1\n%2").arg(insert.lastError().text(), statement));
    const int kodAt = columns.indexOf(QRegularExpression(QStringLiteral("^LHC_KOD$"), QRegularExpression::CaseInsensitiveOption));
    const int idAt = columns.indexOf(QRegularExpression(QStringLiteral("^LHC_KOD_ID$"), QRegularExpression::CaseInsensitiveOption));
    const int oddIdAt = columns.indexOf(QRegularExpression(QStringLiteral("^ODD_ID$"), QRegularExpression::CaseInsensitiveOption));
    if (kodAt < 0 || idAt < 0)
        throw EDatabaseError(QStringLiteral("Tabulka %1 nemá klíč LHC.").arg(table));

    auto attempt = [&](const QString& rowOddId) {
        for (int c = 0; c < columns.size(); ++c) {
            QVariant value = source.Fields(c).Value();
            if (c == kodAt)
                value = key.kod;
            else if (c == idAt)
                value = key.id;
            else if (c == oddIdAt && !rowOddId.trimmed().isEmpty())
                value = rowOddId.trimmed().toInt();
            insert.bindValue(c, value);
        }
        run(savepoint, QStringLiteral("SAVEPOINT radek"));
        if (insert.exec()) {
            run(savepoint, QStringLiteral("RELEASE SAVEPOINT radek"));
            return QString();
        }
        const QString error = insert.lastError().text();
        run(savepoint, QStringLiteral("ROLLBACK TO SAVEPOINT radek"));
        run(savepoint, QStringLiteral("RELEASE SAVEPOINT radek"));
        return error.isEmpty() ? QStringLiteral("?") : error;
    };

    int count = 0;
    for (source.First(); !source.Eof(); source.Next()) {
        ++count;
        QString error = attempt(oddId);
        if (!error.isEmpty() && retry == RowRetry::OddIdMinusOne && oddId.trimmed() != QLatin1String("-1")
            && oddIdAt >= 0) {
            if (log)
                *log << QStringLiteral("Nelze provést '%1': %2").arg(statement, error)
                     << QStringLiteral("Zkusím to nahrát s ODD_ID=-1");
            error = attempt(QStringLiteral("-1"));
        }
        if (!error.isEmpty())
            throw EDatabaseError(QStringLiteral("Řádek %1 tabulky %2 nelze zapsat: %3").arg(count).arg(table, error));
        if (count % 100 == 0) {
            ShowStatusText(QStringLiteral("Kopiruju tabulku %1 %2").arg(table).arg(count));
            if (logsProgress)
                *log << copiedRows(table, count);
        }
    }
    if (logsProgress && (count == 0 || count % 100 != 0))
        *log << copiedRows(table, count);
    ShowStatusText(QStringLiteral("zavírám tabulku ") + table);
    source.Close();
    if (log)
        *log << QStringLiteral("V tabulce %1 jsem všechno zkopíroval.").arg(table);
    return count;
}

} // namespace sqlsrc
