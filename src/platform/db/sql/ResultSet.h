// The rows of a query result held in memory: one compact cell per value, texts in one arena.
#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace db::sql {

// What a result column holds, with the class library's field type numbers.
struct ResultColumn
{
    QString name;
    int dataType = 1;      // 1 string, 2 smallint, 3 integer, 5 boolean, 6 float, 7 currency, 8 BCD,
                           // 9 date, 10 time, 11 date-time, 15 blob, 16 memo, 17 graphic, 18 fmt memo, 21 bytes
    int size = 0;          // strings: characters; BCD: decimals
    int sourceField = -1;  // live results: the field of the source table, -1 for an expression
};

// Rows of a result. Values are stored as they came (integer, real, UTF-8 text, bytes or NULL)
// and turned into QVariants only when read, so fetching 100 000 rows costs one copy of the bytes.
// Invariant: cell (row, column) lies at row * columnCount() + column.
class ResultSet
{
public:
    enum class Kind : uint8_t { Null, Integer, Real, Text, Bytes };

    std::vector<ResultColumn> columns;

    int columnCount() const { return int(columns.size()); }
    int rowCount() const { return m_rowCount; }
    void clear();

    // Appending: begin a row, then one add per column in order.
    void beginRow();
    void addNull();
    void addInteger(int64_t v);
    void addReal(double v);
    void addText(const char* utf8, int length);
    void addBytes(const char* data, int length);
    void addVariant(const QVariant& v);

    Kind kind(int row, int column) const { return m_kinds[index(row, column)]; }
    // The stored value of a cell of that kind, without a QVariant: integer, real, and the UTF-8
    // text or the bytes.
    int64_t integer(int row, int column) const { return m_cells[index(row, column)].integer; }
    double real(int row, int column) const { return m_cells[index(row, column)].real; }
    std::string_view bytes(int row, int column) const
    {
        const Cell& cell = m_cells[index(row, column)];
        return std::string_view(m_arena).substr(cell.span.offset, cell.span.length);
    }
    bool isNull(int row, int column) const { return kind(row, column) == Kind::Null; }
    // QString (text), qlonglong or int (integer), double (real), QByteArray (bytes), invalid (NULL).
    QVariant value(int row, int column) const;
    void setValue(int row, int column, const QVariant& v);

    // Rows added or removed by edits of a live result.
    void insertRow(int row);   // a row of NULLs
    void removeRow(int row);

private:
    struct Cell
    {
        union {
            int64_t integer;
            double real;
            struct {
                uint32_t offset;
                uint32_t length;
            } span;
        };
    };
    size_t index(int row, int column) const { return size_t(row) * columns.size() + size_t(column); }
    void store(size_t at, Kind kind, Cell cell);
    Cell storeBytes(const char* data, int length);

    int m_rowCount = 0;
    std::vector<Kind> m_kinds;
    std::vector<Cell> m_cells;
    std::string m_arena;   // texts (UTF-8) and bytes; edits append, old bytes stay unused
};

} // namespace db::sql
