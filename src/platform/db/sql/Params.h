// Bound parameters of a query (":name" in its SQL text): values are bound, never pasted into the text.
#pragma once

#include "platform/db/Field.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace db {

// One parameter. Its value is a QVariant: an invalid or null one binds NULL. Dates, times and
// date-times hold the run time's day number (txt::DateTime) and their DataType, so an SQL
// database gets them as dates, not as numbers.
class Param
{
public:
    explicit Param(const QString& name) : m_name(name) {}

    const QString& Name() const { return m_name; }
    const QVariant& Value() const { return m_value; }
    // ftUnknown unless a date setter gave the value.
    FieldType DataType() const { return m_dataType; }
    void setValue(const QVariant& value) { setTyped(value, FieldType::ftUnknown); }
    // True once a value (NULL included) has been given.
    bool isBound() const { return m_isBound; }
    bool IsNull() const { return m_value.isNull() || !m_value.isValid(); }
    void Clear() { setValue(QVariant()); }

    QString AsString() const { return IsNull() ? QString() : m_value.toString(); }
    void setAsString(const QString& v) { setValue(v); }
    void setAsInteger(int v) { setValue(v); }
    void setAsFloat(double v) { setValue(v); }
    void setAsBoolean(bool v) { setValue(v); }
    // The run time's dates (days since 1899-12-30, the time as the fraction).
    void setAsDate(double v) { setTyped(v, FieldType::ftDate); }
    void setAsTime(double v) { setTyped(v, FieldType::ftTime); }
    void setAsDateTime(double v) { setTyped(v, FieldType::ftDateTime); }

private:
    void setTyped(const QVariant& value, FieldType type)
    {
        m_value = value;
        m_dataType = type;
        m_isBound = true;
    }

    QString m_name;
    QVariant m_value;
    FieldType m_dataType = FieldType::ftUnknown;
    bool m_isBound = false;
};

// The parameters of a query, in order of first appearance in the SQL text.
class Params
{
public:
    int Count() const { return int(m_items.size()); }
    Param& Items(int index) { return m_items[index]; }
    const Param& Items(int index) const { return m_items[index]; }
    // The parameter of this name ignoring case; raises EDatabaseError naming it when missing.
    Param& ParamByName(const QString& name);
    const Param& ParamByName(const QString& name) const;
    // nullptr when missing.
    Param* FindParam(const QString& name);
    const Param* FindParam(const QString& name) const;
    void Clear() { m_items.clear(); }

    // Rebuilds the list for new names, keeping the values of parameters that stay.
    void reset(const QStringList& names);

private:
    QList<Param> m_items;
};

} // namespace db
