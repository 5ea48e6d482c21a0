// A small scanner over SQL text: tokens, parameter names and ALTER TABLE ... ADD.
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace db::sql {

// One token of SQL text. String literals ('...'), quoted identifiers ("...", [...]) and comments
// are single tokens, so nothing inside them is mistaken for a keyword or a parameter.
struct SqlToken
{
    enum class Kind { Word, Number, String, QuotedName, Parameter, Symbol };
    Kind kind = Kind::Symbol;
    QString text;        // Word/Number/Symbol: as written; String/QuotedName: the unquoted content;
                         // Parameter: the name without ':'
    qsizetype position = 0;
    qsizetype length = 0;
};

// The tokens of `sql`; comments and blanks are dropped.
QList<SqlToken> tokenize(QStringView sql);

// The name as a quoted identifier ("a ""b""").
QString quoteName(const QString& name);

// Names of the ":name" parameters in order of first appearance (each once; case as first written).
QStringList parameterNames(QStringView sql);

// ALTER TABLE <table> ADD [COLUMN] <field> CHAR(n) | INTEGER
struct AlterTableAdd
{
    enum class Type { Char, Integer };
    QString table;     // a name or a path (quoted in the statement)
    QString field;
    Type type = Type::Char;
    int size = 0;      // characters of a CHAR field
};

// The statement when it is an ALTER TABLE; nullopt for any other statement. An ALTER TABLE of
// another form raises EDatabaseError (this engine alters only by adding one such field).
std::optional<AlterTableAdd> parseAlterTableAdd(QStringView sql);

} // namespace db::sql
