// Fields of a dataset: type numbers, field definitions and the field object with its text forms.
#include "platform/db/Field.h"

#include "platform/db/DataSet.h"
#include "platform/Exceptions.h"
#include "platform/text/Case.h"
#include "platform/text/Cp1250.h"
#include "platform/text/DateTime.h"
#include "platform/text/Numbers.h"

#include <QDateTime>

#include <cmath>
#include <limits>

namespace db {

namespace {

constexpr int64_t kInt32Min = std::numeric_limits<int32_t>::min();
constexpr int64_t kInt32Max = std::numeric_limits<int32_t>::max();

struct TypeInfo {
    FieldType type;
    const char* name;
};

// The class library's type names, indexed by the type number.
constexpr TypeInfo kTypeNames[] = {
    {FieldType::ftUnknown, "Unknown"},     {FieldType::ftString, "String"},
    {FieldType::ftSmallint, "SmallInt"},   {FieldType::ftInteger, "Integer"},
    {FieldType::ftWord, "Word"},           {FieldType::ftBoolean, "Boolean"},
    {FieldType::ftFloat, "Float"},         {FieldType::ftCurrency, "Currency"},
    {FieldType::ftBCD, "BCD"},             {FieldType::ftDate, "Date"},
    {FieldType::ftTime, "Time"},           {FieldType::ftDateTime, "DateTime"},
    {FieldType::ftBytes, "Bytes"},         {FieldType::ftVarBytes, "VarBytes"},
    {FieldType::ftAutoInc, "AutoInc"},     {FieldType::ftBlob, "Blob"},
    {FieldType::ftMemo, "Memo"},           {FieldType::ftGraphic, "Graphic"},
    {FieldType::ftFmtMemo, "FmtMemo"},     {FieldType::ftParadoxOle, "ParadoxOle"},
    {FieldType::ftDBaseOle, "DBaseOle"},   {FieldType::ftTypedBinary, "TypedBinary"},
};
static_assert(std::size(kTypeNames) == 22);
static_assert(kTypeNames[21].type == FieldType::ftTypedBinary);

QString rangeText(int64_t v) { return QString::number(v); }

// A text given for a date field: the Czech forms, or the ISO forms of SQL databases.
double textToDateTime(const QString& text)
{
    double value = 0;
    if (txt::tryIsoToDateTime(txt::trim(text), value))
        return value;
    return txt::strToDateTime(text);
}

// The text of a stored date-time; one outside years 1..9999 (a damaged or foreign value)
// shows as its day number rather than raising.
QString dateText(QStringView format, double value)
{
    return txt::isValidDateTime(value) ? txt::formatDateTime(format, value) : txt::floatToStr(value);
}

int32_t toInt32(int64_t v)
{
    if (v < kInt32Min || v > kInt32Max)
        throw ERangeError(QStringLiteral("Hodnota %1 je mimo rozsah").arg(v));
    return int32_t(v);
}

bool textToBool(const QString& s)
{
    const QString t = txt::trim(s);
    return !t.isEmpty() && QStringLiteral("TtYy1").contains(t.at(0));
}

} // namespace

QString fieldTypeName(FieldType type)
{
    const int n = int(type);
    return (n >= 0 && n < int(std::size(kTypeNames))) ? QString::fromLatin1(kTypeNames[n].name)
                                                      : QStringLiteral("Unknown");
}

bool isBlobType(FieldType type)
{
    switch (type) {
    case FieldType::ftBlob: case FieldType::ftMemo: case FieldType::ftGraphic:
    case FieldType::ftFmtMemo: case FieldType::ftParadoxOle: case FieldType::ftDBaseOle:
    case FieldType::ftTypedBinary:
        return true;
    default:
        return false;
    }
}

QVariant canonicalValue(FieldType type, const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return QVariant();
    const int meta = value.typeId();
    const bool isText = meta == QMetaType::QString;
    if (isTextType(type)) {
        if (meta == QMetaType::QByteArray)
            return Cp1250::decode(value.toByteArray());
        return value.toString();
    }
    if (meta == QMetaType::Int && isIntegerType(type))
        return value;   // the common case, without the generic conversion
    if (isIntegerType(type)) {
        if (isText)
            return txt::strToInt(value.toString());
        if (meta == QMetaType::Double || meta == QMetaType::Float)
            return txt::roundHalfEven(value.toDouble());
        if (meta == QMetaType::Bool)
            return value.toBool() ? 1 : 0;
        return toInt32(value.toLongLong());
    }
    if (type == FieldType::ftBoolean)
        return isText ? textToBool(value.toString()) : value.toBool();
    if (isFloatType(type)) {
        if (isText) {
            double d = 0;
            if (!txt::tryTextToFloat(txt::trim(value.toString()), d))
                return txt::strToFloat(value.toString());
            return d;
        }
        if (meta == QMetaType::Int)
            return double(*static_cast<const int*>(value.constData()));
        return value.toDouble();
    }
    if (isDateType(type)) {
        switch (meta) {
        case QMetaType::QDate: return txt::fromQDate(value.toDate());
        case QMetaType::QTime: return txt::fromQTime(value.toTime());
        case QMetaType::QDateTime: return txt::fromQDateTime(value.toDateTime());
        case QMetaType::QString: return textToDateTime(value.toString());
        default: return value.toDouble();
        }
    }
    if (meta == QMetaType::QString)
        return Cp1250::encode(value.toString());
    return value.toByteArray();
}

// --- FieldDefs ----------------------------------------------------------------------------

void FieldDefs::Add(const QString& name, FieldType type, int size, bool required)
{
    m_defs.push_back(FieldDef{name, type, size, required});
}

int FieldDefs::IndexOf(const QString& name) const
{
    for (size_t i = 0; i < m_defs.size(); ++i) {
        if (txt::sameTextLetters(m_defs[i].Name, name))
            return int(i);
    }
    return -1;
}

// --- Field ----------------------------------------------------------------------------------

Field::Field(DataSet& dataSet, int index, FieldDef def)
    : m_dataSet(dataSet), m_index(index), m_def(std::move(def))
{
    switch (m_def.DataType) {
    case FieldType::ftSmallint: m_min = -32768; m_max = 32767; break;
    case FieldType::ftWord: m_min = 0; m_max = 65535; break;
    default: m_min = kInt32Min; m_max = kInt32Max; break;
    }
}

int Field::DataSize() const
{
    switch (m_def.DataType) {
    case FieldType::ftString: return m_def.Size + 1;
    case FieldType::ftSmallint: case FieldType::ftWord: case FieldType::ftBoolean: return 2;
    case FieldType::ftInteger: case FieldType::ftAutoInc: case FieldType::ftDate:
    case FieldType::ftTime: return 4;
    case FieldType::ftFloat: case FieldType::ftCurrency: case FieldType::ftDateTime: return 8;
    case FieldType::ftBCD: return 34;
    case FieldType::ftBytes: case FieldType::ftVarBytes: return m_def.Size;
    default: return 0;
    }
}

int Field::DisplayWidth() const
{
    if (m_displayWidth >= 0)
        return m_displayWidth;
    if (m_def.DataType == FieldType::ftString)
        return m_def.Size;
    if (m_def.DataType == FieldType::ftBoolean)
        return 5;
    return 10;
}

Align Field::Alignment() const
{
    if (m_alignment >= 0)
        return Align(m_alignment);
    const FieldType t = m_def.DataType;
    return (isIntegerType(t) || isFloatType(t)) ? Align::taRightJustify : Align::taLeftJustify;
}

QVariant Field::Value() const
{
    return m_dataSet.fieldValue(m_index);
}

void Field::accessError(const QString& typeName) const
{
    throw EDatabaseError(QStringLiteral("Pole '%1' nelze použít jako typ %2").arg(m_def.Name, typeName));
}

void dropPaddingBlanks(QString& text)
{
    qsizetype n = text.size();
    while (n > 0 && text.at(n - 1) == QLatin1Char(' '))
        --n;
    text.truncate(n);
}

QString Field::asStringOf(const QVariant& value) const
{
    if (!value.isValid())
        return QString();
    const FieldType t = m_def.DataType;
    if (t == FieldType::ftString) {   // fixed-width text: trailing blanks are padding
        QString s = value.toString();
        dropPaddingBlanks(s);
        return s;
    }
    if (isTextType(t))
        return value.toString();
    if (isIntegerType(t))
        return QString::number(value.toInt());
    if (isFloatType(t))
        return txt::floatToStr(value.toDouble());
    switch (t) {
    case FieldType::ftBoolean: return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case FieldType::ftDate: return dateText(u"ddddd", value.toDouble());
    case FieldType::ftTime: return dateText(u"tt", value.toDouble());
    case FieldType::ftDateTime: return dateText(u"c", value.toDouble());
    default: return Cp1250::decode(value.toByteArray());
    }
}

QString Field::displayTextOf(const QVariant& value) const
{
    const FieldType t = m_def.DataType;
    if (isBlobType(t)) {
        const QString name = t == FieldType::ftMemo ? QStringLiteral("Memo") : fieldTypeName(t);
        const bool hasData = value.isValid() && !(value.typeId() == QMetaType::QString
                                                      ? value.toString().isEmpty()
                                                      : value.toByteArray().isEmpty());
        return QLatin1Char('(') + (hasData ? name.toUpper() : name.toLower()) + QLatin1Char(')');
    }
    if (!value.isValid())
        return QString();
    if (isIntegerType(t) || isFloatType(t)) {
        if (!m_displayFormat.isEmpty())
            return txt::formatFloat(m_displayFormat, value.toDouble());
        if (t == FieldType::ftCurrency)
            return txt::formatFloat(u"#,##0.00", value.toDouble()) + QStringLiteral(" Kč");
    }
    if (isDateType(t) && !m_displayFormat.isEmpty())
        return dateText(m_displayFormat, value.toDouble());
    return asStringOf(value);
}

// Numbers of a browsed row come from the source as doubles where it can give them so: the same
// answers as through Value(), without a QVariant per read.
int32_t Field::AsInteger() const
{
    const FieldType t = m_def.DataType;
    double number = 0;
    bool isNull = true;
    if ((isIntegerType(t) || isFloatType(t)) && m_dataSet.fieldNumber(m_index, number, isNull)) {
        if (isNull)
            return 0;
        return isIntegerType(t) ? int32_t(number) : txt::roundHalfEven(number);
    }
    return asIntegerOf(Value());
}

double Field::AsFloat() const
{
    const FieldType t = m_def.DataType;
    double number = 0;
    bool isNull = true;
    if ((isIntegerType(t) || isFloatType(t) || isDateType(t)) && m_dataSet.fieldNumber(m_index, number, isNull))
        return isNull ? 0.0 : number;
    return asFloatOf(Value());
}

bool Field::numberValue(double& value, bool& isNull) const
{
    const FieldType t = m_def.DataType;
    return (isIntegerType(t) || isFloatType(t)) && m_dataSet.fieldNumber(m_index, value, isNull);
}

int32_t Field::asIntegerOf(const QVariant& value) const
{
    const FieldType t = m_def.DataType;
    if (t == FieldType::ftString)
        return txt::strToInt(value.toString());
    if (isIntegerType(t))
        return value.isValid() ? value.toInt() : 0;
    if (isFloatType(t))
        return value.isValid() ? txt::roundHalfEven(value.toDouble()) : 0;
    accessError(QStringLiteral("Integer"));
}

double Field::asFloatOf(const QVariant& value) const
{
    const FieldType t = m_def.DataType;
    if (t == FieldType::ftString)
        return txt::strToFloat(value.toString());
    if (isIntegerType(t) || isFloatType(t) || isDateType(t))
        return value.isValid() ? value.toDouble() : 0.0;
    accessError(QStringLiteral("Float"));
}

bool Field::AsBoolean() const
{
    const QVariant v = Value();
    switch (m_def.DataType) {
    case FieldType::ftBoolean: return v.isValid() && v.toBool();
    case FieldType::ftString: return textToBool(v.toString());
    default: accessError(QStringLiteral("Boolean"));
    }
}

double Field::AsDateTime() const
{
    const QVariant v = Value();
    if (isDateType(m_def.DataType))
        return v.isValid() ? v.toDouble() : 0.0;
    if (m_def.DataType == FieldType::ftString)
        return txt::strToDateTime(v.toString());
    accessError(QStringLiteral("DateTime"));
}

QByteArray Field::AsBytes() const
{
    const QVariant v = Value();
    if (!v.isValid())
        return QByteArray();
    if (isTextType(m_def.DataType))
        return Cp1250::encode(v.toString());
    if (isBlobType(m_def.DataType) || m_def.DataType == FieldType::ftBytes
        || m_def.DataType == FieldType::ftVarBytes)
        return v.toByteArray();
    return Cp1250::encode(asStringOf(v));
}

QVariant Field::valueFromText(const QString& text) const
{
    const FieldType t = m_def.DataType;
    if (t == FieldType::ftString) {
        if (text.isEmpty())
            return QVariant();
        return m_def.Size > 0 ? text.left(m_def.Size) : text;
    }
    if (isTextType(t))
        return text.isEmpty() ? QVariant() : QVariant(text);
    const QString trimmed = txt::trim(text);
    if (trimmed.isEmpty())
        return QVariant();
    if (isIntegerType(t))
        return txt::strToInt(trimmed);
    if (isFloatType(t))
        return txt::strToFloat(trimmed);
    switch (t) {
    case FieldType::ftBoolean: {
        const QString upper = txt::upperLetters(txt::trim(text));
        if (QStringLiteral("TRUE").startsWith(upper))
            return true;
        if (QStringLiteral("FALSE").startsWith(upper))
            return false;
        throw EDatabaseError(
            QStringLiteral("'%1' není platná logická hodnota pole '%2'").arg(text, m_def.Name));
    }
    case FieldType::ftDate: return txt::strToDate(text);
    case FieldType::ftTime: return txt::strToTime(text);
    case FieldType::ftDateTime: return txt::strToDateTime(text);
    default: return Cp1250::encode(text);
    }
}

QVariant Field::checked(QVariant value) const
{
    if (value.isValid() && isIntegerType(m_def.DataType))
        checkRange(value.toLongLong());
    return value;
}

void Field::checkRange(int64_t v) const
{
    if (v < m_min || v > m_max)
        throw EDatabaseError(QStringLiteral("%1 není platná hodnota pole '%2'. Povolený rozsah je %3 až %4")
                                 .arg(rangeText(v), m_def.Name, rangeText(m_min), rangeText(m_max)));
}

void Field::Value(const QVariant& value)
{
    m_dataSet.setFieldValue(m_index, checked(canonicalValue(m_def.DataType, value)));
}

QString Field::AsString() const
{
    // A browsed row's text or integer comes from the source without a QVariant where it can give it so.
    QString text;
    if (m_def.DataType == FieldType::ftString && m_dataSet.fieldText(m_index, text))
        return text;
    double number = 0;
    bool isNull = true;
    if (isIntegerType(m_def.DataType) && m_dataSet.fieldNumber(m_index, number, isNull))
        return isNull ? QString() : QString::number(int32_t(number));
    return asStringOf(Value());
}

void Field::AsString(const QString& value)
{
    if (m_def.DataType == FieldType::ftString) {   // the text is the value: no conversion to check
        m_dataSet.setFieldValue(m_index, valueFromText(value));
        return;
    }
    m_dataSet.setFieldValue(m_index, checked(valueFromText(value)));
}

void Field::AsInteger(int32_t value)
{
    // The canonical value of an integer is itself in an integer field, its double in a float one.
    const FieldType t = m_def.DataType;
    if (isIntegerType(t)) {
        checkRange(value);
        m_dataSet.setFieldValue(m_index, QVariant(value));
    } else if (isFloatType(t)) {
        m_dataSet.setFieldValue(m_index, QVariant(double(value)));
    } else if (t == FieldType::ftString) {
        AsString(QString::number(value));
    } else {
        accessError(QStringLiteral("Integer"));
    }
}

void Field::AsFloat(double value)
{
    const FieldType t = m_def.DataType;
    if (isFloatType(t))
        m_dataSet.setFieldValue(m_index, QVariant(value));   // canonical as it is
    else if (isIntegerType(t) || isDateType(t))
        m_dataSet.setFieldValue(m_index, checked(canonicalValue(t, value)));
    else if (t == FieldType::ftString)
        AsString(txt::floatToStr(value));
    else
        accessError(QStringLiteral("Float"));
}

void Field::AsBoolean(bool value)
{
    if (m_def.DataType == FieldType::ftBoolean)
        m_dataSet.setFieldValue(m_index, value);
    else if (m_def.DataType == FieldType::ftString)
        AsString(value ? QStringLiteral("T") : QStringLiteral("F"));
    else
        accessError(QStringLiteral("Boolean"));
}

void Field::AsDateTime(double value)
{
    if (isDateType(m_def.DataType))
        m_dataSet.setFieldValue(m_index, value);
    else if (m_def.DataType == FieldType::ftString)
        AsString(txt::dateTimeToStr(value));
    else
        accessError(QStringLiteral("DateTime"));
}

void Field::AsBytes(const QByteArray& value)
{
    m_dataSet.setFieldValue(m_index, value.isEmpty() ? QVariant() : canonicalValue(m_def.DataType, value));
}

void Field::Clear()
{
    m_dataSet.setFieldValue(m_index, QVariant());
}

} // namespace db
