// Decoding and encoding of single field values inside a raw Paradox record.
#include "platform/db/paradox/FieldCodec.h"

#include "platform/Exceptions.h"
#include "platform/files/ByteOrder.h"
#include "platform/text/DateTime.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

namespace db::paradox {

namespace {

const unsigned char* bytesOf(const FieldDef& field, const char* record)
{
    return reinterpret_cast<const unsigned char*>(record + field.offset);
}

unsigned char* bytesOf(const FieldDef& field, char* record)
{
    return reinterpret_cast<unsigned char*>(record + field.offset);
}

// Field bytes are handled as unsigned; the byte-order helpers take plain chars.
uint32_t readBe32(const unsigned char* p) { return files::readBe32(reinterpret_cast<const char*>(p)); }
uint64_t readBe64(const unsigned char* p) { return files::readBe64(reinterpret_cast<const char*>(p)); }
void writeBe32(unsigned char* p, uint32_t v) { files::writeBe32(reinterpret_cast<char*>(p), v); }
void writeBe64(unsigned char* p, uint64_t v) { files::writeBe64(reinterpret_cast<char*>(p), v); }
uint32_t readLe32(const unsigned char* p) { return files::readLe32(reinterpret_cast<const char*>(p)); }
void writeLe32(unsigned char* p, uint32_t v) { files::writeLe32(reinterpret_cast<char*>(p), v); }

bool allZero(const unsigned char* p, int n)
{
    for (int i = 0; i < n; ++i) {
        if (p[i] != 0)
            return false;
    }
    return true;
}

[[noreturn]] void badValue(const FieldDef& field, const QString& what)
{
    throw EDatabaseError(QStringLiteral("Neplatná hodnota pole \"%1\": %2").arg(field.name, what));
}

// Doubles sort as bytes: positive values get bit 63 set, negative ones are inverted.
double doubleAt(const unsigned char* p)
{
    uint64_t bits = readBe64(p);
    bits = (bits & 0x8000000000000000ull) ? (bits & ~0x8000000000000000ull) : ~bits;
    return std::bit_cast<double>(bits);
}

void putDouble(const FieldDef& field, unsigned char* p, double v)
{
    if (!std::isfinite(v))
        badValue(field, QStringLiteral("číslo mimo rozsah"));
    if (v == 0.0)
        v = 0.0;   // -0.0 would be stored as 7F FF.., which sorts below +0.0
    uint64_t bits = std::bit_cast<uint64_t>(v);
    bits = (bits & 0x8000000000000000ull) ? ~bits : (bits | 0x8000000000000000ull);
    writeBe64(p, bits);
}

int32_t longAt(const unsigned char* p)
{
    return static_cast<int32_t>(readBe32(p) ^ 0x80000000u);
}

void putLong(const FieldDef& field, unsigned char* p, int64_t v)
{
    // INT32_MIN would be stored as zeros, which read as NULL.
    if (v <= std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max())
        badValue(field, QStringLiteral("číslo mimo rozsah"));
    writeBe32(p, static_cast<uint32_t>(static_cast<int32_t>(v)) ^ 0x80000000u);
}

constexpr double kMsPerDay = 86400000.0;

bool toDouble(const QVariant& value, double& out)
{
    // Dates and times of Qt become the run time's date-time (an invalid one is no value).
    switch (value.typeId()) {
    case QMetaType::Double:
        out = *static_cast<const double*>(value.constData());
        return true;
    case QMetaType::Int:
        out = *static_cast<const int*>(value.constData());
        return true;
    case QMetaType::QDate:
        if (!value.toDate().isValid())
            return false;
        out = txt::fromQDate(value.toDate());
        return true;
    case QMetaType::QTime:
        if (!value.toTime().isValid())
            return false;
        out = txt::fromQTime(value.toTime());
        return true;
    case QMetaType::QDateTime:
        if (!value.toDateTime().isValid())
            return false;
        out = txt::fromQDateTime(value.toDateTime());
        return true;
    default:
        break;
    }
    if (value.typeId() == QMetaType::QString) {
        QString text = value.toString().trimmed();
        text.replace(QLatin1Char(','), QLatin1Char('.'));
        bool ok = false;
        out = text.toDouble(&ok);
        return ok;
    }
    bool ok = false;
    out = value.toDouble(&ok);
    return ok;
}

double requireDouble(const FieldDef& field, const QVariant& value)
{
    double v = 0;
    if (!toDouble(value, v))
        badValue(field, QStringLiteral("'%1' není číslo").arg(value.toString()));
    return v;
}

int64_t requireInteger(const FieldDef& field, const QVariant& value)
{
    const double v = requireDouble(field, value);
    if (!std::isfinite(v) || std::fabs(v) > 9.0e15)
        badValue(field, QStringLiteral("číslo mimo rozsah"));
    return static_cast<int64_t>(std::nearbyint(v));   // default rounding mode: half to even
}

} // namespace

bool isNull(const FieldDef& field, const char* record)
{
    const unsigned char* p = bytesOf(field, record);
    switch (field.type) {
    case FieldType::Bcd:
        return (p[0] & 0x40) == 0;   // the engine writes NULL as the decimal count alone
    case FieldType::Memo:
    case FieldType::Blob:
    case FieldType::FmtMemo:
    case FieldType::Ole:
    case FieldType::Graphic:
        return decodeBlobPointer(field, record).length == 0;
    default:
        return allZero(p, field.width);
    }
}

QString decodeAlpha(const FieldDef& field, const char* record, const CodePage& cp)
{
    const char* p = record + field.offset;
    int n = 0;
    while (n < field.width && p[n] != 0)
        ++n;
    while (n > 0 && p[n - 1] == ' ')
        --n;
    return cp.decode(QByteArrayView(p, n));
}

int decodeShort(const FieldDef& field, const char* record)
{
    return static_cast<int16_t>(files::readBe16(record + field.offset) ^ 0x8000);
}

int decodeLong(const FieldDef& field, const char* record)
{
    return longAt(bytesOf(field, record));
}

double decodeDouble(const FieldDef& field, const char* record)
{
    return doubleAt(bytesOf(field, record));
}

bool decodeLogical(const FieldDef& field, const char* record)
{
    return (bytesOf(field, record)[0] & 0x7F) != 0;
}

double decodeDate(const FieldDef& field, const char* record)
{
    return double(longAt(bytesOf(field, record))) - kDayOffset;
}

double decodeTime(const FieldDef& field, const char* record)
{
    return double(longAt(bytesOf(field, record))) / kMsPerDay;
}

double decodeTimestamp(const FieldDef& field, const char* record)
{
    // The stored milliseconds run on a straight time line. Shift in whole milliseconds first:
    // both terms are exact integers in a double.
    const double linearDays = (doubleAt(bytesOf(field, record)) - double(kDayOffset) * kMsPerDay) / kMsPerDay;
    return txt::fromLinearDays(linearDays);
}

QString decodeBcdText(const FieldDef& field, const char* record)
{
    const unsigned char* p = bytesOf(field, record);
    const bool negative = (p[0] & 0x80) == 0;
    const int decimals = std::min(int(p[0] & 0x3F), 32);
    QString digits;
    digits.reserve(33);
    for (int i = 0; i < 32; ++i) {
        unsigned char byte = p[1 + i / 2];
        if (negative)
            byte = ~byte;
        const int nibble = (i % 2 == 0) ? (byte >> 4) : (byte & 0x0F);
        if (nibble > 9)
            badValue(field, QStringLiteral("poškozené číslo BCD"));
        digits.append(QChar(u'0' + nibble));
    }
    QString whole = digits.left(32 - decimals);
    while (whole.size() > 1 && whole.at(0) == u'0')
        whole.remove(0, 1);
    if (whole.isEmpty())
        whole = QStringLiteral("0");
    QString text = whole;
    if (decimals > 0)
        text += QLatin1Char('.') + digits.right(decimals);
    const bool isZero = std::all_of(digits.cbegin(), digits.cend(), [](QChar c) { return c == u'0'; });
    return (negative && !isZero) ? QLatin1Char('-') + text : text;
}

double decodeBcd(const FieldDef& field, const char* record)
{
    return decodeBcdText(field, record).toDouble();
}

QByteArray decodeBytes(const FieldDef& field, const char* record)
{
    return QByteArray(record + field.offset, field.width);
}

BlobPointer decodeBlobPointer(const FieldDef& field, const char* record)
{
    const unsigned char* p = bytesOf(field, record) + field.width - 10;
    BlobPointer ptr;
    ptr.offset = readLe32(p);
    ptr.length = readLe32(p + 4);
    ptr.modNumber = files::readLe16(reinterpret_cast<const char*>(p + 8));
    return ptr;
}

int blobLeaderLength(const FieldDef& field)
{
    return field.width - 10;
}

const char* blobLeader(const FieldDef& field, const char* record)
{
    return record + field.offset;
}

QVariant decodeValue(const FieldDef& field, const char* record, const CodePage& cp)
{
    if (isNull(field, record))
        return QVariant();
    switch (field.type) {
    case FieldType::Alpha: return decodeAlpha(field, record, cp);
    case FieldType::Short: return decodeShort(field, record);
    case FieldType::Long:
    case FieldType::AutoInc: return decodeLong(field, record);
    case FieldType::Number:
    case FieldType::Currency: return decodeDouble(field, record);
    case FieldType::Logical: return decodeLogical(field, record);
    case FieldType::Date: return decodeDate(field, record);
    case FieldType::Time: return decodeTime(field, record);
    case FieldType::Timestamp: return decodeTimestamp(field, record);
    case FieldType::Bcd: return decodeBcd(field, record);
    case FieldType::Bytes: return decodeBytes(field, record);
    default: break;
    }
    const BlobPointer ptr = decodeBlobPointer(field, record);
    if (ptr.offset == 0 && ptr.length <= uint32_t(blobLeaderLength(field)) && field.type != FieldType::Graphic)
        return QByteArray(blobLeader(field, record), int(ptr.length));
    return QVariant();
}

void setNull(const FieldDef& field, char* record)
{
    std::memset(record + field.offset, 0, size_t(field.width));
    if (field.type == FieldType::Bcd)
        record[field.offset] = char(field.decimals & 0x3F);
}

void encodeAlpha(const FieldDef& field, char* record, QStringView text, const CodePage& cp)
{
    const int length = cp.encodeInto(text, record + field.offset, field.width);
    std::memset(record + field.offset + length, 0, size_t(field.width - length));
}

void encodeShort(const FieldDef& field, char* record, int value)
{
    // -32768 would be stored as zeros, which read as NULL.
    if (value < -32767 || value > 32767)
        badValue(field, QStringLiteral("číslo mimo rozsah"));
    files::writeBe16(record + field.offset, static_cast<uint16_t>(static_cast<int16_t>(value)) ^ 0x8000u);
}

void encodeLong(const FieldDef& field, char* record, int32_t value)
{
    putLong(field, bytesOf(field, record), value);
}

void encodeDouble(const FieldDef& field, char* record, double value)
{
    putDouble(field, bytesOf(field, record), value);
}

void encodeLogical(const FieldDef& field, char* record, bool value)
{
    bytesOf(field, record)[0] = value ? 0x81 : 0x80;
}

void encodeDate(const FieldDef& field, char* record, double dateTime)
{
    if (!std::isfinite(dateTime))
        badValue(field, QStringLiteral("neplatné datum"));
    // The day is the whole part: -1.25 is 29.12.1899 6:00.
    const double day = std::trunc(dateTime) + kDayOffset;
    if (day < 1 || day > 3652059)   // 0001-01-01 .. 9999-12-31
        badValue(field, QStringLiteral("neplatné datum"));
    putLong(field, bytesOf(field, record), int64_t(day));
}

void encodeTime(const FieldDef& field, char* record, double dateTime)
{
    if (!std::isfinite(dateTime))
        badValue(field, QStringLiteral("neplatný čas"));
    const double fraction = std::fabs(dateTime - std::trunc(dateTime));
    int64_t ms = int64_t(std::llround(fraction * kMsPerDay));
    if (ms >= int64_t(kMsPerDay))
        ms = int64_t(kMsPerDay) - 1;
    putLong(field, bytesOf(field, record), ms);
}

void encodeTimestamp(const FieldDef& field, char* record, double dateTime)
{
    if (!std::isfinite(dateTime))
        badValue(field, QStringLiteral("neplatné datum"));
    const double linearDays = txt::toLinearDays(dateTime);
    if (linearDays + kDayOffset < 1 || linearDays + kDayOffset >= 3652060)
        badValue(field, QStringLiteral("neplatné datum"));
    const double ms = std::round(linearDays * kMsPerDay) + double(kDayOffset) * kMsPerDay;
    putDouble(field, bytesOf(field, record), ms);
}

void encodeBcd(const FieldDef& field, char* record, double value)
{
    if (!std::isfinite(value))
        badValue(field, QStringLiteral("číslo mimo rozsah"));
    encodeBcdText(field, record, QString::number(value, 'f', field.decimals));
}

void encodeBcdText(const FieldDef& field, char* record, QStringView text)
{
    QString t = text.trimmed().toString();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool negative = false;
    if (t.startsWith(u'-') || t.startsWith(u'+')) {
        negative = t.at(0) == u'-';
        t.remove(0, 1);
    }
    const qsizetype dot = t.indexOf(u'.');
    QString whole = dot < 0 ? t : t.left(dot);
    QString fraction = dot < 0 ? QString() : t.mid(dot + 1);
    const auto isDigits = [](const QString& s) {
        return std::all_of(s.cbegin(), s.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    };
    if ((whole.isEmpty() && fraction.isEmpty()) || !isDigits(whole) || !isDigits(fraction))
        badValue(field, QStringLiteral("'%1' není číslo").arg(text));
    const int decimals = field.decimals;
    if (fraction.size() > decimals) {
        // Round half away from zero on the decimal digits.
        const QString kept = whole + fraction.left(decimals);
        const bool up = fraction.at(decimals) >= u'5';
        QString digits = kept.isEmpty() ? QStringLiteral("0") : kept;
        if (up) {
            int i = int(digits.size()) - 1;
            while (i >= 0 && digits.at(i) == u'9')
                digits[i--] = u'0';
            if (i < 0)
                digits.prepend(u'1');
            else
                digits[i] = QChar(digits.at(i).unicode() + 1);
        }
        whole = digits.left(digits.size() - decimals);
        fraction = digits.right(decimals);
    }
    fraction = fraction.leftJustified(decimals, u'0');
    while (whole.size() > 1 && whole.at(0) == u'0')
        whole.remove(0, 1);
    const QString digits = whole + fraction;
    if (digits.size() > 32)
        badValue(field, QStringLiteral("číslo mimo rozsah"));
    const QString all = digits.rightJustified(32, u'0');
    const bool isZero = std::all_of(all.cbegin(), all.cend(), [](QChar c) { return c == u'0'; });
    negative = negative && !isZero;
    unsigned char* p = bytesOf(field, record);
    p[0] = uint8_t((negative ? 0x40 : 0xC0) | (decimals & 0x3F));
    for (int i = 0; i < 16; ++i) {
        uint8_t byte = uint8_t(((all.at(2 * i).unicode() - u'0') << 4) | (all.at(2 * i + 1).unicode() - u'0'));
        p[1 + i] = negative ? uint8_t(~byte) : byte;
    }
}

void encodeBytes(const FieldDef& field, char* record, QByteArrayView bytes)
{
    std::memset(record + field.offset, 0, size_t(field.width));
    std::memcpy(record + field.offset, bytes.data(), size_t(std::min<qsizetype>(bytes.size(), field.width)));
}

void encodeBlob(const FieldDef& field, char* record, QByteArrayView payload)
{
    std::memset(record + field.offset, 0, size_t(field.width));
    if (payload.isEmpty())
        return;
    const int leader = blobLeaderLength(field);
    std::memcpy(record + field.offset, payload.data(), size_t(std::min<qsizetype>(payload.size(), leader)));
    // A graphic keeps an 8-byte prefix in the .MB, counted in the pointer's length.
    const qsizetype length = payload.size() + (field.type == FieldType::Graphic ? 8 : 0);
    if (length > std::numeric_limits<int32_t>::max())
        badValue(field, QStringLiteral("příliš dlouhá hodnota"));
    unsigned char* p = bytesOf(field, record) + leader;
    writeLe32(p, 0);
    writeLe32(p + 4, uint32_t(length));
}

namespace {

void encodeTextValue(const FieldDef& field, char* record, const QVariant& value, const CodePage& cp)
{
    if (field.type == FieldType::Alpha) {
        if (value.typeId() == QMetaType::QString)
            encodeAlpha(field, record, *static_cast<const QString*>(value.constData()), cp);
        else
            encodeAlpha(field, record, value.toString(), cp);
        return;
    }
    if (field.type == FieldType::Bytes) {
        encodeBytes(field, record, value.toByteArray());
        return;
    }
    // Blobs: memo texts go through the code page, anything else as bytes.
    const QByteArray payload = value.typeId() == QMetaType::QString ? cp.encode(value.toString())
                                                                      : value.toByteArray();
    encodeBlob(field, record, payload);
}

} // namespace

namespace {

// The values rows are usually built from (int, double, text) without the general conversions;
// false leaves the other cases to them.
bool encodeCommonValue(const FieldDef& field, char* record, const QVariant& value, const CodePage& cp)
{
    const int type = value.typeId();
    if (type == QMetaType::QString) {
        const QString& text = *static_cast<const QString*>(value.constData());
        if (field.type != FieldType::Alpha || text.isNull())
            return false;
        encodeAlpha(field, record, text, cp);
        return true;
    }
    double number = 0;
    if (type == QMetaType::Int)
        number = *static_cast<const int*>(value.constData());
    else if (type == QMetaType::Double)
        number = *static_cast<const double*>(value.constData());
    else
        return false;
    switch (field.type) {
    case FieldType::Short:
        if (type != QMetaType::Int)
            return false;
        encodeShort(field, record, std::clamp(*static_cast<const int*>(value.constData()), -40000, 40000));
        return true;
    case FieldType::Long:
    case FieldType::AutoInc:
        if (type != QMetaType::Int)
            return false;
        putLong(field, bytesOf(field, record), *static_cast<const int*>(value.constData()));
        return true;
    case FieldType::Number:
    case FieldType::Currency: encodeDouble(field, record, number); return true;
    case FieldType::Date: encodeDate(field, record, number); return true;
    default: return false;
    }
}

} // namespace

void encodeValue(const FieldDef& field, char* record, const QVariant& value, const CodePage& cp)
{
    if (encodeCommonValue(field, record, value, cp))
        return;
    if (!value.isValid() || value.isNull()) {
        setNull(field, record);
        return;
    }
    switch (field.type) {
    case FieldType::Short: encodeShort(field, record, int(std::clamp<int64_t>(requireInteger(field, value), -40000, 40000))); return;
    case FieldType::Long:
    case FieldType::AutoInc: putLong(field, bytesOf(field, record), requireInteger(field, value)); return;
    case FieldType::Number:
    case FieldType::Currency: encodeDouble(field, record, requireDouble(field, value)); return;
    case FieldType::Logical: encodeLogical(field, record, value.toBool()); return;
    case FieldType::Date: encodeDate(field, record, requireDouble(field, value)); return;
    case FieldType::Time: encodeTime(field, record, requireDouble(field, value)); return;
    case FieldType::Timestamp: encodeTimestamp(field, record, requireDouble(field, value)); return;
    case FieldType::Bcd:
        if (value.typeId() == QMetaType::QString)
            encodeBcdText(field, record, value.toString());
        else
            encodeBcd(field, record, requireDouble(field, value));
        return;
    default: encodeTextValue(field, record, value, cp); return;
    }
}

} // namespace db::paradox
