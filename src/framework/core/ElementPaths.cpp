// Path queries over the element tree: dotted steps through object properties and child searches.
#include "framework/core/ClassRegistry.h"
#include "framework/core/Elements.h"
#include "framework/core/TextRoutines.h"
#include "platform/Exceptions.h"
#include "platform/text/Case.h"

namespace {

enum class PathMode { Value, Element, List };

QString expecting(QChar c)
{
    return QStringLiteral("očekávám \"") + c + QLatin1Char('"');
}

[[noreturn]] void syntaxError(int position, QChar expected)
{
    throw Exception(QStringLiteral("Chyba syntaxe. .. na pozici ") + QString::number(position) + QLatin1Char(' ') +
                    expecting(expected));
}

QString propertyText(TPersistent* object, const QString& name)
{
    if (auto* element = dynamic_cast<TElement*>(object))
        return element->GetPropAsString(name);
    return GetPropByName(object, name);
}

// One walk along a path. Positions count from 1; a token runs from `pos` to its delimiter.
class PathWalk
{
public:
    PathWalk(TElement* start, const QString& path, PathMode mode) : m_path(path), m_mode(mode), m_current(start) {}

    QString value;
    TPersistent* reached = nullptr;
    QStringList lines;

    void run()
    {
        for (;;) {
            if (!m_current)
                throw Exception(QStringLiteral("Chyba ... nenalezl jsem objekt ") + m_lastArgument);
            QString token;
            const QChar delimiter = next(token);
            if (delimiter.isNull()) {
                finish(token);
                return;
            }
            if (delimiter == QLatin1Char('(')) {
                if (search(token))
                    return;
            } else if (delimiter == QLatin1Char('.')) {
                if (m_mode == PathMode::List && txt::sameTextAscii(token, QStringLiteral("ELEMENT"))) {
                    elementStep();
                    return;
                }
                m_current = GetObjectPropByName(m_current, token);
            }
            // A closing parenthesis outside a search is ignored.
        }
    }

private:
    // Reads the next token; m_delimiterAt is the delimiter's position (one past the end without one).
    QChar next(QString& token)
    {
        int after = 0;
        QChar delimiter;
        NextToken(m_path, CharSet("()."), m_pos, token, after, delimiter);
        m_delimiterAt = delimiter.isNull() ? static_cast<int>(m_path.size()) + 1 : after - 1;
        m_pos = after;
        return delimiter;
    }

    void finish(const QString& token)
    {
        switch (m_mode) {
        case PathMode::Value:
            value = propertyText(m_current, token);
            break;
        case PathMode::List:
            lines.append(propertyText(m_current, token));
            break;
        case PathMode::Element:
            reached = GetObjectPropByName(m_current, token);
            break;
        }
    }

    // A search step; true when the walk ended with it.
    bool search(const QString& word)
    {
        auto* entity = dynamic_cast<TEntity*>(m_current);
        if (!entity)
            throw Exception(QStringLiteral("Objekt na pozici ") + QString::number(m_delimiterAt - 1) +
                            QStringLiteral(" není Entita ... nelze prohledávat"));
        QString argument;
        const QChar closing = next(argument);
        m_lastArgument = argument;
        TElement* found = nullptr;
        if (txt::sameTextAscii(word, QStringLiteral("FINDELEMENTBYNAME")))
            found = entity->FindElementByName(argument);
        else if (txt::sameTextAscii(word, QStringLiteral("FINDELEMENTBYCLASS")))
            found = entity->FindElementByClass(GetLumexClass(argument));
        if (closing != QLatin1Char(')'))
            syntaxError(m_delimiterAt, QLatin1Char(')'));
        const int closingAt = m_delimiterAt;
        QString ignored;
        const QChar after = next(ignored);
        m_current = found;
        if (after.isNull() && m_mode == PathMode::Element) {
            reached = found;
            return true;
        }
        if (after != QLatin1Char('.'))
            syntaxError(closingAt, QLatin1Char('.'));
        return false;
    }

    void elementStep()
    {
        auto* entity = dynamic_cast<TEntity*>(m_current);
        if (!entity) {
            if (dynamic_cast<TElement*>(m_current))
                throw Exception(QStringLiteral("Poslední objekt není Entita - nelze vytvořit seznam !"));
            throw Exception(QStringLiteral("Poslední objekt není ani Element, natož Entita !"));
        }
        QString name;
        const QChar delimiter = next(name);
        if (!delimiter.isNull())
            throw Exception(QStringLiteral("Chybné zakončení příkazu: ") + delimiter);
        for (int i = 0; i < entity->Count(); ++i)
            if (TElement* child = entity->Items(i))
                lines.append(child->GetPropAsString(name));
    }

    const QString& m_path;
    PathMode m_mode;
    TPersistent* m_current;
    int m_pos = 1;
    int m_delimiterAt = 0;
    QString m_lastArgument;
};

} // namespace

QString TElement::GetValueByPath(const QString& path)
{
    PathWalk walk(this, path, PathMode::Value);
    walk.run();
    return walk.value;
}

QStringList TElement::FillListByPath(const QString& path)
{
    PathWalk walk(this, path, PathMode::List);
    walk.run();
    return walk.lines;
}

TPersistent* TElement::GetElementByPath(const QString& path)
{
    PathWalk walk(this, path, PathMode::Element);
    walk.run();
    return walk.reached;
}
