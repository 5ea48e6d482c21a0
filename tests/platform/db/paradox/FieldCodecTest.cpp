// Field encodings against the byte patterns of tables the original engine wrote.
#include "platform/Exceptions.h"
#include "platform/db/paradox/FieldCodec.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QTime>

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

using namespace db::paradox;

namespace {

FieldDef fieldOf(FieldType type, int width, int decimals = 0)
{
    FieldDef f;
    f.name = QStringLiteral("Pole");
    f.type = type;
    f.width = width;
    f.decimals = decimals;
    f.offset = 3;   // not at the record start, to catch offset slips
    return f;
}

QByteArray fieldBytes(const FieldDef& f, const QByteArray& record)
{
    return record.mid(f.offset, f.width).toHex(' ').toUpper();
}

double dateOf(int y, int m, int d)
{
    return double(QDate(y, m, d).toJulianDay() - QDate(1899, 12, 30).toJulianDay());
}

struct Pattern { const char* name; FieldType type; int width; int decimals; QVariant value; const char* bytes; };

class KnownBytes : public ::testing::TestWithParam<Pattern> {};

} // namespace

TEST_P(KnownBytes, EncodesAndDecodes)
{
    const Pattern& p = GetParam();
    const FieldDef f = fieldOf(p.type, p.width, p.decimals);
    QByteArray record(f.offset + f.width + 2, '\x5A');
    encodeValue(f, record.data(), p.value, CodePage::forNumber(1250));
    EXPECT_EQ(fieldBytes(f, record), QByteArray(p.bytes));
    EXPECT_EQ(record.left(f.offset), QByteArray(f.offset, '\x5A'));   // neighbours untouched
    EXPECT_EQ(record.right(2), QByteArray(2, '\x5A'));
    const QVariant back = decodeValue(f, record.constData(), CodePage::forNumber(1250));
    if (!p.value.isValid())
        EXPECT_FALSE(back.isValid());
    else if (p.type == FieldType::Bcd)
        EXPECT_EQ(back.toDouble(), p.value.toString().toDouble());
    else
        EXPECT_EQ(back, p.value);
}

INSTANTIATE_TEST_SUITE_P(
    Engine, KnownBytes,
    ::testing::Values(
        Pattern{"Short40", FieldType::Short, 2, 0, 40, "80 28"},
        Pattern{"ShortMinus40", FieldType::Short, 2, 0, -40, "7F D8"},
        Pattern{"ShortNull", FieldType::Short, 2, 0, QVariant(), "00 00"},
        Pattern{"Long40", FieldType::Long, 4, 0, 40, "80 00 00 28"},
        Pattern{"LongMinus40", FieldType::Long, 4, 0, -40, "7F FF FF D8"},
        Pattern{"LongNull", FieldType::Long, 4, 0, QVariant(), "00 00 00 00"},
        Pattern{"AutoInc1", FieldType::AutoInc, 4, 0, 1, "80 00 00 01"},
        Pattern{"NumberZero", FieldType::Number, 8, 0, 0.0, "80 00 00 00 00 00 00 00"},
        Pattern{"Number40", FieldType::Number, 8, 0, 40.0, "C0 44 00 00 00 00 00 00"},
        Pattern{"NumberMinus40", FieldType::Number, 8, 0, -40.0, "3F BB FF FF FF FF FF FF"},
        Pattern{"Currency1p5", FieldType::Currency, 8, 0, 1.5, "BF F8 00 00 00 00 00 00"},
        Pattern{"NumberNull", FieldType::Number, 8, 0, QVariant(), "00 00 00 00 00 00 00 00"},
        Pattern{"LogicalFalse", FieldType::Logical, 1, 0, false, "80"},
        Pattern{"LogicalTrue", FieldType::Logical, 1, 0, true, "81"},
        Pattern{"LogicalNull", FieldType::Logical, 1, 0, QVariant(), "00"},
        Pattern{"Date1999", FieldType::Date, 4, 0, dateOf(1999, 9, 9), "80 0B 23 96"},
        Pattern{"TimeMidnight", FieldType::Time, 4, 0, 0.0, "80 00 00 00"},
        Pattern{"Time111111", FieldType::Time, 4, 0, 40271000 / 86400000.0, "82 66 7C 98"},
        Pattern{"Timestamp1970At11", FieldType::Timestamp, 8, 0, dateOf(1970, 1, 1) + 11 / 24.0,
                "C2 CC 41 8C D7 B9 C0 00"},
        Pattern{"Bcd40", FieldType::Bcd, 17, 6, QStringLiteral("40"),
                "C6 00 00 00 00 00 00 00 00 00 00 00 00 40 00 00 00"},
        Pattern{"BcdMinus40", FieldType::Bcd, 17, 6, QStringLiteral("-40"),
                "46 FF FF FF FF FF FF FF FF FF FF FF FF BF FF FF FF"},
        Pattern{"BcdFraction", FieldType::Bcd, 17, 6, QStringLiteral("13.123457"),
                "C6 00 00 00 00 00 00 00 00 00 00 00 00 13 12 34 57"},
        Pattern{"BcdNull", FieldType::Bcd, 17, 6, QVariant(),
                "06 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"},
        Pattern{"AlphaFull", FieldType::Alpha, 5, 0, QStringLiteral("Žluť"), "8E 6C 75 9D 00"},
        Pattern{"AlphaNull", FieldType::Alpha, 3, 0, QVariant(), "00 00 00"},
        Pattern{"BytesShort", FieldType::Bytes, 3, 0, QByteArray("\x01\x02\x03", 3), "01 02 03"}),
    [](const ::testing::TestParamInfo<Pattern>& info) { return std::string(info.param.name); });

TEST(FieldCodec, QtDatesAndTimesAreAccepted)
{
    const CodePage& cp = CodePage::forNumber(1250);
    QByteArray record(16, '\0');
    const FieldDef date = fieldOf(FieldType::Date, 4);
    encodeValue(date, record.data(), QDate(1999, 9, 9), cp);
    EXPECT_EQ(fieldBytes(date, record), QByteArray("80 0B 23 96"));
    const FieldDef time = fieldOf(FieldType::Time, 4);
    encodeValue(time, record.data(), QTime(11, 11, 11), cp);
    EXPECT_EQ(fieldBytes(time, record), QByteArray("82 66 7C 98"));
    const FieldDef stamp = fieldOf(FieldType::Timestamp, 8);
    encodeValue(stamp, record.data(), QDateTime(QDate(1970, 1, 1), QTime(11, 0)), cp);
    EXPECT_EQ(fieldBytes(stamp, record), QByteArray("C2 CC 41 8C D7 B9 C0 00"));
}

// Before 30.12.1899 the day is the whole part and the time the fraction's absolute value;
// stored timestamps count straight on, so -1.25 (29.12.1899 6:00) lies 0.75 days before 0.
TEST(FieldCodec, DateTimesBeforeTheEpochDayKeepDayAndTime)
{
    const CodePage& cp = CodePage::forNumber(1250);
    QByteArray record(16, '\0');
    const FieldDef date = fieldOf(FieldType::Date, 4);
    encodeValue(date, record.data(), -1.25, cp);
    EXPECT_EQ(decodeDate(date, record.constData()), -1.0);
    encodeValue(date, record.data(), QDate(1899, 12, 29), cp);
    EXPECT_EQ(decodeDate(date, record.constData()), -1.0);

    const FieldDef stamp = fieldOf(FieldType::Timestamp, 8);
    const double storedMs = (kDayOffset - 0.75) * 86400000.0;
    encodeValue(stamp, record.data(), -1.25, cp);
    EXPECT_EQ(decodeDouble(stamp, record.constData()), storedMs);
    EXPECT_EQ(decodeTimestamp(stamp, record.constData()), -1.25);
    std::fill(record.begin(), record.end(), '\0');
    encodeValue(stamp, record.data(), QDateTime(QDate(1899, 12, 29), QTime(6, 0)), cp);
    EXPECT_EQ(decodeDouble(stamp, record.constData()), storedMs);
    encodeDouble(stamp, record.data(), (kDayOffset - 1.25) * 86400000.0);   // 28.12.1899 18:00
    EXPECT_EQ(decodeTimestamp(stamp, record.constData()), -2.75);
    encodeValue(stamp, record.data(), -693593.5, cp);   // 1.1.0001 12:00, the first day
    EXPECT_EQ(decodeTimestamp(stamp, record.constData()), -693593.5);
    EXPECT_THROW(encodeValue(stamp, record.data(), -693594.5, cp), EDatabaseError);
}

TEST(FieldCodec, NegativeZeroIsStoredAsZero)
{
    const FieldDef f = fieldOf(FieldType::Number, 8);
    QByteArray record(16, '\0');
    encodeDouble(f, record.data(), -0.0);
    EXPECT_EQ(fieldBytes(f, record), QByteArray("80 00 00 00 00 00 00 00"));
    EXPECT_FALSE(std::signbit(decodeDouble(f, record.constData())));
}

TEST(FieldCodec, ValuesThatWouldReadAsNullAreRefused)
{
    QByteArray record(32, '\0');
    EXPECT_THROW(encodeShort(fieldOf(FieldType::Short, 2), record.data(), -32768), EDatabaseError);
    EXPECT_THROW(encodeLong(fieldOf(FieldType::Long, 4), record.data(), INT_MIN), EDatabaseError);
    EXPECT_THROW(encodeDouble(fieldOf(FieldType::Number, 8), record.data(), NAN), EDatabaseError);
    EXPECT_THROW(encodeDate(fieldOf(FieldType::Date, 4), record.data(), -kDayOffset - 1.0), EDatabaseError);
    EXPECT_THROW(encodeValue(fieldOf(FieldType::Long, 4), record.data(), QStringLiteral("abc"),
                             CodePage::forNumber(1250)),
                 EDatabaseError);
    EXPECT_EQ(record, QByteArray(32, '\0'));
}

TEST(FieldCodec, BcdRoundsAndKeepsIntegerDigits)
{
    const FieldDef f = fieldOf(FieldType::Bcd, 17, 2);
    QByteArray record(24, '\0');
    const struct { const char* in; const char* out; } cases[] = {
        {"100", "100.00"}, {"-40", "-40.00"}, {"1,005", "1.01"}, {"-0.004", "0.00"},
        {"99.995", "100.00"}, {"0.5", "0.50"}, {"12345678901234567890123456789.99", "12345678901234567890123456789.99"},
    };
    for (const auto& c : cases) {
        encodeBcdText(f, record.data(), QString::fromLatin1(c.in));
        EXPECT_EQ(decodeBcdText(f, record.constData()), QString::fromLatin1(c.out)) << c.in;
    }
    EXPECT_THROW(encodeBcdText(f, record.data(), u"1234567890123456789012345678901.5"), EDatabaseError);
    EXPECT_THROW(encodeBcdText(f, record.data(), u"1.2.3"), EDatabaseError);
    encodeBcd(f, record.data(), -2.5);
    EXPECT_EQ(decodeBcd(f, record.constData()), -2.5);
}

TEST(FieldCodec, AlphaIsCutToWidthAndTrimmed)
{
    const FieldDef f = fieldOf(FieldType::Alpha, 4);
    QByteArray record(8, '\0');
    const CodePage& cp = CodePage::forNumber(1250);
    encodeAlpha(f, record.data(), u"Řešení", cp);
    EXPECT_EQ(decodeAlpha(f, record.constData(), cp), QStringLiteral("Řeše"));
    encodeAlpha(f, record.data(), u"ab  ", cp);
    EXPECT_EQ(decodeAlpha(f, record.constData(), cp), QStringLiteral("ab"));
    encodeAlpha(f, record.data(), u"", cp);
    EXPECT_TRUE(isNull(f, record.constData()));
}

TEST(FieldCodec, BlobLeaderAndPointer)
{
    const FieldDef f = fieldOf(FieldType::Memo, 15);
    QByteArray record(20, '\0');
    encodeBlob(f, record.data(), "abc");
    EXPECT_EQ(decodeValue(f, record.constData(), CodePage::forNumber(1250)), QVariant(QByteArray("abc")));
    encodeBlob(f, record.data(), QByteArray(100, 'x'));
    const BlobPointer ptr = decodeBlobPointer(f, record.constData());
    EXPECT_EQ(ptr.length, 100u);
    EXPECT_EQ(QByteArray(blobLeader(f, record.constData()), blobLeaderLength(f)), QByteArray(5, 'x'));
    EXPECT_FALSE(decodeValue(f, record.constData(), CodePage::forNumber(1250)).isValid());   // needs the .MB
    encodeBlob(f, record.data(), QByteArray());
    EXPECT_TRUE(isNull(f, record.constData()));
}

TEST(CodePages, DecodeTheTablePages)
{
    EXPECT_EQ(CodePage::forNumber(1250).decode("\x8E\x9D\xE8"), QStringLiteral("Žťč"));
    EXPECT_EQ(CodePage::forNumber(852).decode("\xA6\x9C"), QStringLiteral("Žť"));
    EXPECT_EQ(CodePage::forNumber(866).decode("\x80"), QStringLiteral("А"));
    EXPECT_EQ(CodePage::forNumber(0).number(), 1250);
    EXPECT_EQ(CodePage::forNumber(852).encode(u"Žť€"), QByteArray("\xA6\x9C?"));
}

// A value stored again unchanged must keep its bytes: DOS pages show control bytes as graphic
// characters (0x1A, 0x1C and 0x7F trade places), and encode has to undo exactly that.
TEST(CodePages, EncodeIsTheExactInverseOfDecode)
{
    QByteArray all(256, '\0');
    for (int b = 0; b < 256; ++b)
        all[b] = char(b);
    for (const int number : {1250, 1252, 852, 850, 437, 866}) {
        const CodePage& cp = CodePage::forNumber(number);
        EXPECT_EQ(cp.encode(cp.decode(all)).toHex(), all.toHex()) << number;
    }
}

// Every character, amid ASCII runs read four at a time, becomes the lowest byte that decodes to
// it, or '?' when none does.
TEST(CodePages, EveryCharacterEncodesAmidAsciiRuns)
{
    for (const int number : {1250, 1252, 852, 850, 437, 866}) {
        const CodePage& cp = CodePage::forNumber(number);
        QHash<char16_t, char> lowestByte;
        for (int b = 255; b >= 0; --b)
            lowestByte.insert(cp.decode(QByteArray(1, char(b))).at(0).unicode(), char(b));
        const QString ascii = QStringLiteral("Lesy ab");
        const QByteArray asciiBytes = cp.encode(ascii);
        for (int c = 0; c < 0x3000; ++c) {
            const char16_t ch = char16_t(c);
            if (QChar::isSurrogate(ch))
                continue;
            const char expected = lowestByte.value(ch, '?');
            const QString text = ascii + QChar(ch) + ascii;
            const QByteArray bytes = cp.encode(text);
            ASSERT_EQ(bytes, asciiBytes + expected + asciiBytes) << number << " U+" << std::hex << c;
        }
    }
}

// Ints, doubles and texts, which most rows are built from, give the bytes of the general
// conversions of the same values (long long, float, UTF-8 bytes), errors included.
TEST(FieldCodec, CommonValuesGiveTheBytesOfTheGeneralConversions)
{
    const CodePage& cp = CodePage::forNumber(1250);
    const FieldType numberTypes[] = {FieldType::Short, FieldType::Long, FieldType::AutoInc, FieldType::Number,
                                     FieldType::Currency, FieldType::Date, FieldType::Time, FieldType::Timestamp,
                                     FieldType::Logical, FieldType::Bcd};
    const auto bytesOf = [&](const FieldDef& f, const QVariant& v) {
        QByteArray record(24, '\x5A');
        try {
            encodeValue(f, record.data(), v, cp);
        } catch (const EDatabaseError& e) {
            return QByteArray("error: ") + e.message().toUtf8();
        }
        return record;
    };
    for (const FieldType type : numberTypes) {
        const FieldDef f = fieldOf(type, type == FieldType::Bcd ? 17 : fixedWidth(type), 2);
        for (const int i : {0, 1, -1, 40, -40, 719163, -693594, -693595, 32767, -32767, 40000, INT_MAX, INT_MIN + 1, INT_MIN})
            EXPECT_EQ(bytesOf(f, i), bytesOf(f, qlonglong(i))) << int(type) << " " << i;
        for (const float d : {0.0f, -0.0f, 1.5f, -1.5f, 0.25f, -40.75f, 36525.5f, -1.25f, 1.0e30f})
            EXPECT_EQ(bytesOf(f, double(d)), bytesOf(f, d)) << int(type) << " " << d;
        EXPECT_EQ(bytesOf(f, std::nan("")), bytesOf(f, std::nanf(""))) << int(type);
    }
    const FieldDef alpha = fieldOf(FieldType::Alpha, 6);
    for (const QString& text : {QStringLiteral("Žluťoučký kůň"), QStringLiteral("LHC 12"), QStringLiteral("a"),
                                QStringLiteral(""), QString(), QStringLiteral("€ – „x“")})
        EXPECT_EQ(bytesOf(alpha, text), bytesOf(alpha, text.toUtf8())) << text.toStdString();
    EXPECT_EQ(bytesOf(alpha, QString()), bytesOf(alpha, QVariant()));
}
