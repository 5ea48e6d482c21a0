// Fields of a dataset: type numbers, field definitions and the field object with its text forms.
#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <cstdint>
#include <functional>
#include <vector>

namespace db {

class DataSet;

// The class library's field-type numbers; callers and reports use the numbers as they stand.
enum class FieldType : int {
    ftUnknown = 0,
    ftString = 1,
    ftSmallint = 2,
    ftInteger = 3,
    ftWord = 4,
    ftBoolean = 5,
    ftFloat = 6,
    ftCurrency = 7,
    ftBCD = 8,
    ftDate = 9,
    ftTime = 10,
    ftDateTime = 11,
    ftBytes = 12,
    ftVarBytes = 13,
    ftAutoInc = 14,
    ftBlob = 15,
    ftMemo = 16,
    ftGraphic = 17,
    ftFmtMemo = 18,
    ftParadoxOle = 19,
    ftDBaseOle = 20,
    ftTypedBinary = 21,
};

// The class library's name of a type ("String", "Integer", "Float", ...).
QString fieldTypeName(FieldType type);
bool isBlobType(FieldType type);      // blob, memo, graphic, formatted memo, OLE, typed binary
// string, memo, formatted memo
inline bool isTextType(FieldType type)
{
    return type == FieldType::ftString || type == FieldType::ftMemo || type == FieldType::ftFmtMemo;
}
// smallint, integer, word, autoinc
inline bool isIntegerType(FieldType type)
{
    return type == FieldType::ftSmallint || type == FieldType::ftInteger || type == FieldType::ftWord
        || type == FieldType::ftAutoInc;
}
// float, currency, BCD
inline bool isFloatType(FieldType type)
{
    return type == FieldType::ftFloat || type == FieldType::ftCurrency || type == FieldType::ftBCD;
}
// date, time, date-time
inline bool isDateType(FieldType type)
{
    return type == FieldType::ftDate || type == FieldType::ftTime || type == FieldType::ftDateTime;
}

// Values travel as QVariant in one canonical form per type; an invalid QVariant is NULL:
//   string, memo, formatted memo   QString
//   smallint, integer, word, autoinc   int
//   boolean   bool
//   float, currency, BCD   double
//   date, time, date-time   double: days since 1899-12-30, time as the fraction (txt::DateTime)
//   blob, graphic, bytes, typed binary, OLE   QByteArray
// Converts any QVariant (QDate, QDateTime, qint64, text ...) into that form; raises EConvertError
// when it cannot. Sources that fetch foreign values (SQL results) pass them through this.
QVariant canonicalValue(FieldType type, const QVariant& value);
// Cuts the blanks that pad a fixed-width text (ftString) at its end.
void dropPaddingBlanks(QString& text);

// Text-alignment of a field in grids and reports (the class library's TAlignment).
enum class Align : int { taLeftJustify = 0, taRightJustify = 1, taCenter = 2 };

// One field definition: what CreateTable builds and what a table declares before it is opened.
// Size is the character count of a string, the byte width of bytes and the leader of a blob,
// the decimal count of a BCD field; 0 for the fixed-size types.
struct FieldDef {
    QString Name;
    FieldType DataType = FieldType::ftUnknown;
    int Size = 0;
    bool Required = false;
};

// Ordered list of field definitions; names are matched ignoring the case of every letter.
class FieldDefs
{
public:
    void Add(const QString& name, FieldType type, int size = 0, bool required = false);
    void Clear() { m_defs.clear(); }
    int Count() const { return int(m_defs.size()); }
    const FieldDef& Items(int index) const { return m_defs.at(size_t(index)); }
    const FieldDef& operator[](int index) const { return Items(index); }
    // -1 when there is no definition of that name.
    int IndexOf(const QString& name) const;
    auto begin() const { return m_defs.begin(); }
    auto end() const { return m_defs.end(); }

private:
    std::vector<FieldDef> m_defs;
};

// One column of a dataset. The dataset creates and owns its fields; a field keeps its settings
// over Close and Open as long as the reopened source still has a column of that name. Reads and writes go through the dataset's current record:
// in browse state the stored row, in edit and insert state the record buffer, in set-key state the
// key buffer. Setting a value outside those states raises EDatabaseError.
//
// Text forms follow the class library: AsString gives integers in decimal, floats in the general
// 15-digit form with the global separator, strings as stored (no trailing blanks), dates as
// "d.m.yyyy", NULL as ""; DisplayText applies DisplayFormat ("0.00") to numbers and dates.
// Neither raises on a stored value: a date outside years 1..9999 shows as its day number.
// Texts given for date fields are read by txt::strToDateTime (and the ISO forms of SQL).
class Field
{
public:
    Field(DataSet& dataSet, int index, FieldDef def);
    Field(const Field&) = delete;
    Field& operator=(const Field&) = delete;

    DataSet& dataSet() const { return m_dataSet; }
    const QString& FieldName() const { return m_def.Name; }
    FieldType DataType() const { return m_def.DataType; }
    int Size() const { return m_def.Size; }
    // Bytes the value takes in a record buffer of the class library (string: Size + 1, float: 8 ...).
    int DataSize() const;
    int Index() const { return m_index; }          // 0-based position in the dataset's fields
    int FieldNo() const { return m_index + 1; }    // 1-based
    bool IsBlob() const { return isBlobType(m_def.DataType); }

    // Display properties. DisplayLabel defaults to the field name, DisplayWidth to the type's width.
    QString DisplayLabel() const { return m_displayLabel.isEmpty() ? m_def.Name : m_displayLabel; }
    void SetDisplayLabel(const QString& label) { m_displayLabel = label; }
    QString DisplayName() const { return DisplayLabel(); }
    int DisplayWidth() const;
    void SetDisplayWidth(int width) { m_displayWidth = width; }
    const QString& DisplayFormat() const { return m_displayFormat; }
    void SetDisplayFormat(const QString& format) { m_displayFormat = format; }
    Align Alignment() const;
    void SetAlignment(Align alignment) { m_alignment = int(alignment); }
    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool readOnly) { m_readOnly = readOnly; }
    bool Visible() const { return m_visible; }
    void SetVisible(bool visible) { m_visible = visible; }

    // Value of the current record.
    QVariant Value() const;
    bool IsNull() const { return !Value().isValid(); }
    QString AsString() const;
    QString DisplayText() const { return displayTextOf(Value()); }
    QString Text() const { return AsString(); }    // the edit text
    // Integers as they are; a float rounded half to even (ERangeError beyond 32 bits); a text as a
    // decimal integer (EConvertError otherwise, the empty text included); NULL numbers read 0.
    int32_t AsInteger() const;
    // NULL reads 0; a text is converted (EConvertError).
    double AsFloat() const;
    // The value of an integer or float field as Value() holds it, as a double (isNull for NULL),
    // without a QVariant; false when the dataset cannot give it so.
    bool numberValue(double& value, bool& isNull) const;
    bool AsBoolean() const;
    double AsDateTime() const;
    // Blob bytes; a memo's text in the table code page (windows-1250); other types their text.
    QByteArray AsBytes() const;

    // Setters (edit, insert or set-key state). An empty text clears a non-string field.
    void Value(const QVariant& value);
    void AsString(const QString& value);
    void AsInteger(int32_t value);
    void AsFloat(double value);
    void AsBoolean(bool value);
    void AsDateTime(double value);
    void AsBytes(const QByteArray& value);
    void Clear();

    // Text forms of any value of this field's type (used by grids to format rows without moving
    // the cursor).
    QString asStringOf(const QVariant& value) const;
    QString displayTextOf(const QVariant& value) const;
    int32_t asIntegerOf(const QVariant& value) const;
    double asFloatOf(const QVariant& value) const;
    // The canonical value of a text typed for this field (the inverse of AsString); "" is NULL.
    QVariant valueFromText(const QString& text) const;

    // Smallest and largest value an integer field accepts (set by the dataset when its storage
    // cannot hold the type's full range); a value outside raises EDatabaseError.
    void setIntegerRange(int64_t minimum, int64_t maximum) { m_min = minimum; m_max = maximum; }

    // Called after the value changed through a setter (the class library's OnChange).
    std::function<void(Field&)> OnChange;

private:
    friend class DataSet;
    [[noreturn]] void accessError(const QString& typeName) const;
    QVariant checked(QVariant value) const;
    // Raises EDatabaseError when an integer lies outside the field's range.
    void checkRange(int64_t value) const;

    DataSet& m_dataSet;
    int m_index;
    FieldDef m_def;
    QString m_displayLabel;
    QString m_displayFormat;
    int m_displayWidth = -1;   // -1: the type's default
    int m_alignment = -1;      // -1: the type's default
    bool m_readOnly = false;
    bool m_visible = true;
    int64_t m_min;
    int64_t m_max;
};

} // namespace db
