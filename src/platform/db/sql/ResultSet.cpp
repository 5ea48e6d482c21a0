// The rows of a query result held in memory.
#include "platform/db/sql/ResultSet.h"

#include "platform/Exceptions.h"

#include <limits>

namespace db::sql {

void ResultSet::clear()
{
    m_rowCount = 0;
    m_kinds.clear();
    m_cells.clear();
    m_arena.clear();
}

void ResultSet::beginRow()
{
    ++m_rowCount;
}

void ResultSet::addNull()
{
    m_kinds.push_back(Kind::Null);
    m_cells.push_back(Cell{});
}

void ResultSet::addInteger(int64_t v)
{
    Cell cell;
    cell.integer = v;
    m_kinds.push_back(Kind::Integer);
    m_cells.push_back(cell);
}

void ResultSet::addReal(double v)
{
    Cell cell;
    cell.real = v;
    m_kinds.push_back(Kind::Real);
    m_cells.push_back(cell);
}

ResultSet::Cell ResultSet::storeBytes(const char* data, int length)
{
    if (m_arena.size() + size_t(length) > std::numeric_limits<uint32_t>::max())
        throw EDatabaseError(QStringLiteral("Výsledek dotazu je příliš velký."));
    Cell cell;
    cell.span.offset = uint32_t(m_arena.size());
    cell.span.length = uint32_t(length);
    if (length > 0)
        m_arena.append(data, size_t(length));
    return cell;
}

void ResultSet::addText(const char* utf8, int length)
{
    m_cells.push_back(storeBytes(utf8, length));
    m_kinds.push_back(Kind::Text);
}

void ResultSet::addBytes(const char* data, int length)
{
    m_cells.push_back(storeBytes(data, length));
    m_kinds.push_back(Kind::Bytes);
}

void ResultSet::addVariant(const QVariant& v)
{
    const int column = int(m_kinds.size() % columns.size());
    addNull();
    setValue(m_rowCount - 1, column, v);
}

void ResultSet::store(size_t at, Kind kind, Cell cell)
{
    m_kinds[at] = kind;
    m_cells[at] = cell;
}

QVariant ResultSet::value(int row, int column) const
{
    const size_t at = index(row, column);
    const Cell& cell = m_cells[at];
    switch (m_kinds[at]) {
    case Kind::Null:
        return QVariant();
    case Kind::Integer:
        if (cell.integer >= std::numeric_limits<int>::min() && cell.integer <= std::numeric_limits<int>::max())
            return QVariant(int(cell.integer));
        return QVariant(qlonglong(cell.integer));
    case Kind::Real:
        return QVariant(cell.real);
    case Kind::Text:
        return QVariant(QString::fromUtf8(m_arena.data() + cell.span.offset, qsizetype(cell.span.length)));
    case Kind::Bytes:
        return QVariant(QByteArray(m_arena.data() + cell.span.offset, qsizetype(cell.span.length)));
    }
    return QVariant();
}

void ResultSet::setValue(int row, int column, const QVariant& v)
{
    const size_t at = index(row, column);
    if (v.isNull() || !v.isValid()) {
        store(at, Kind::Null, Cell{});
        return;
    }
    Cell cell;
    switch (v.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        cell.integer = v.toLongLong();
        store(at, Kind::Integer, cell);
        return;
    case QMetaType::Double:
    case QMetaType::Float:
        cell.real = v.toDouble();
        store(at, Kind::Real, cell);
        return;
    case QMetaType::QByteArray: {
        const QByteArray bytes = v.toByteArray();
        store(at, Kind::Bytes, storeBytes(bytes.constData(), int(bytes.size())));
        return;
    }
    default: {
        const QByteArray utf8 = v.toString().toUtf8();
        store(at, Kind::Text, storeBytes(utf8.constData(), int(utf8.size())));
        return;
    }
    }
}

void ResultSet::insertRow(int row)
{
    const size_t at = size_t(row) * columns.size();
    m_kinds.insert(m_kinds.begin() + qsizetype(at), columns.size(), Kind::Null);
    m_cells.insert(m_cells.begin() + qsizetype(at), columns.size(), Cell{});
    ++m_rowCount;
}

void ResultSet::removeRow(int row)
{
    const size_t at = size_t(row) * columns.size();
    m_kinds.erase(m_kinds.begin() + qsizetype(at), m_kinds.begin() + qsizetype(at + columns.size()));
    m_cells.erase(m_cells.begin() + qsizetype(at), m_cells.begin() + qsizetype(at + columns.size()));
    --m_rowCount;
}

} // namespace db::sql
