// A small scanner over SQL text: tokens, parameter names and ALTER TABLE ... ADD.
#include "platform/db/sql/SqlText.h"

#include "platform/Exceptions.h"

namespace db::sql {

namespace {

bool isWordStart(QChar c) { return c.isLetter() || c == QLatin1Char('_'); }
bool isWordChar(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$'); }

// Index just past a literal or quoted name opened at `from` by `close`; doubled closers stay inside.
qsizetype skipQuoted(QStringView sql, qsizetype from, QChar close, QString& content)
{
    qsizetype i = from + 1;
    while (i < sql.size()) {
        if (sql[i] == close) {
            if (close != QLatin1Char(']') && i + 1 < sql.size() && sql[i + 1] == close) {
                content += close;
                i += 2;
                continue;
            }
            return i + 1;
        }
        content += sql[i++];
    }
    throw EDatabaseError(QStringLiteral("Neukončený řetězec v SQL příkazu: %1").arg(sql.mid(from).toString()));
}

qsizetype skipComment(QStringView sql, qsizetype i)
{
    if (sql[i] == QLatin1Char('-') && i + 1 < sql.size() && sql[i + 1] == QLatin1Char('-')) {
        const qsizetype end = sql.indexOf(QLatin1Char('\n'), i);
        return end < 0 ? sql.size() : end + 1;
    }
    if (sql[i] == QLatin1Char('/') && i + 1 < sql.size() && sql[i + 1] == QLatin1Char('*')) {
        const qsizetype end = sql.indexOf(QLatin1String("*/"), i + 2);
        return end < 0 ? sql.size() : end + 2;
    }
    return i;
}

SqlToken quotedToken(QStringView sql, qsizetype& i)
{
    SqlToken token;
    token.position = i;
    const QChar open = sql[i];
    token.kind = open == QLatin1Char('\'') ? SqlToken::Kind::String : SqlToken::Kind::QuotedName;
    const QChar close = open == QLatin1Char('[') ? QLatin1Char(']') : open;
    i = skipQuoted(sql, i, close, token.text);
    token.length = i - token.position;
    return token;
}

SqlToken runToken(QStringView sql, qsizetype& i, SqlToken::Kind kind, bool (*part)(QChar))
{
    SqlToken token;
    token.kind = kind;
    token.position = i;
    while (i < sql.size() && part(sql[i]))
        ++i;
    token.text = sql.mid(token.position, i - token.position).toString();
    token.length = i - token.position;
    return token;
}

} // namespace

QString quoteName(const QString& name)
{
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QList<SqlToken> tokenize(QStringView sql)
{
    QList<SqlToken> tokens;
    qsizetype i = 0;
    while (i < sql.size()) {
        const QChar c = sql[i];
        if (c.isSpace()) {
            ++i;
            continue;
        }
        if (const qsizetype after = skipComment(sql, i); after != i) {
            i = after;
            continue;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('[')) {
            tokens.append(quotedToken(sql, i));
        } else if (isWordStart(c)) {
            tokens.append(runToken(sql, i, SqlToken::Kind::Word, isWordChar));
        } else if (c.isDigit()) {
            tokens.append(runToken(sql, i, SqlToken::Kind::Number,
                                   [](QChar d) { return d.isDigit() || d == QLatin1Char('.'); }));
        } else if (c == QLatin1Char(':') && i + 1 < sql.size() && isWordStart(sql[i + 1])) {
            ++i;
            SqlToken token = runToken(sql, i, SqlToken::Kind::Parameter, isWordChar);
            --token.position;
            ++token.length;
            tokens.append(token);
        } else {
            tokens.append(SqlToken{SqlToken::Kind::Symbol, QString(c), i, 1});
            ++i;
        }
    }
    return tokens;
}

QStringList parameterNames(QStringView sql)
{
    QStringList names;
    for (const SqlToken& token : tokenize(sql)) {
        if (token.kind == SqlToken::Kind::Parameter && !names.contains(token.text, Qt::CaseInsensitive))
            names.append(token.text);
    }
    return names;
}

namespace {

bool isWord(const QList<SqlToken>& t, qsizetype i, const char* word)
{
    return i < t.size() && t[i].kind == SqlToken::Kind::Word
        && t[i].text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

bool isSymbol(const QList<SqlToken>& t, qsizetype i, char symbol)
{
    return i < t.size() && t[i].kind == SqlToken::Kind::Symbol && t[i].text == QLatin1Char(symbol);
}

bool isName(const QList<SqlToken>& t, qsizetype i)
{
    return i < t.size()
        && (t[i].kind == SqlToken::Kind::Word || t[i].kind == SqlToken::Kind::String
            || t[i].kind == SqlToken::Kind::QuotedName);
}

[[noreturn]] void unsupported(QStringView sql)
{
    throw EDatabaseError(QStringLiteral("Nepodporovaný příkaz ALTER TABLE: %1").arg(sql.toString().simplified()));
}

} // namespace

std::optional<AlterTableAdd> parseAlterTableAdd(QStringView sql)
{
    const QList<SqlToken> t = tokenize(sql);
    if (!isWord(t, 0, "ALTER"))
        return std::nullopt;
    if (!isWord(t, 1, "TABLE") || !isName(t, 2) || !isWord(t, 3, "ADD"))
        unsupported(sql);
    qsizetype i = 4;
    if (isWord(t, i, "COLUMN"))
        ++i;
    if (!isName(t, i))
        unsupported(sql);
    AlterTableAdd alter;
    alter.table = t[2].text;
    alter.field = t[i].text;
    ++i;
    if (isWord(t, i, "INTEGER") || isWord(t, i, "INT")) {
        alter.type = AlterTableAdd::Type::Integer;
        ++i;
    } else if ((isWord(t, i, "CHAR") || isWord(t, i, "CHARACTER")) && isSymbol(t, i + 1, '(')
               && i + 2 < t.size() && t[i + 2].kind == SqlToken::Kind::Number && isSymbol(t, i + 3, ')')) {
        alter.type = AlterTableAdd::Type::Char;
        bool ok = false;
        alter.size = t[i + 2].text.toInt(&ok);
        if (!ok || alter.size < 1 || alter.size > 255)
            throw EDatabaseError(QStringLiteral("Neplatná délka pole %1: %2").arg(alter.field, t[i + 2].text));
        i += 4;
    } else {
        unsupported(sql);
    }
    if (isSymbol(t, i, ';'))
        ++i;
    if (i != t.size())
        unsupported(sql);
    return alter;
}

} // namespace db::sql
