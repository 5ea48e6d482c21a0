// Tests of the text forms and conversions of dataset fields.
#include "platform/db/MemoryDataSet.h"

#include "platform/Exceptions.h"

#include <gtest/gtest.h>

#include <limits>

#include <QDate>
#include <QDateTime>

#include <cmath>

using db::FieldType;
using test::MemoryDataSet;

namespace {

// A one-field, one-row dataset holding `value`.
struct OneValue {
    OneValue(FieldType type, int size, const QVariant& value)
        : ds({db::FieldDef{QStringLiteral("F"), type, size}}, {{value}})
    {
        ds.Open();
    }
    db::Field& field() { return ds.Fields(0); }
    MemoryDataSet ds;
};

struct TextCase {
    const char* name; FieldType type; int size; QVariant value;
    const char* displayFormat; const char* asString; const char* displayText;
};

class FieldText : public ::testing::TestWithParam<TextCase> {};

TEST_P(FieldText, AsStringAndDisplayText)
{
    const TextCase& c = GetParam();
    OneValue v(c.type, c.size, c.value);
    v.field().SetDisplayFormat(QString::fromUtf8(c.displayFormat));
    EXPECT_EQ(v.field().AsString(), QString::fromUtf8(c.asString));
    EXPECT_EQ(v.field().DisplayText(), QString::fromUtf8(c.displayText));
    EXPECT_EQ(v.field().IsNull(), !c.value.isValid());
}

INSTANTIATE_TEST_SUITE_P(
    Field, FieldText,
    ::testing::Values(
        TextCase{"FloatGeneralForm", FieldType::ftFloat, 0, QVariant(0.1 + 0.2), "", "0,3", "0,3"},
        TextCase{"FloatWithFormat", FieldType::ftFloat, 0, QVariant(2.0), "0.00", "2", "2,00"},
        TextCase{"FloatFormatRoundsHalfUp", FieldType::ftFloat, 0, QVariant(0.125), "0.00", "0,125", "0,13"},
        TextCase{"NullFloat", FieldType::ftFloat, 0, QVariant(), "0.00", "", ""},
        TextCase{"StringWithoutTrailingBlanks", FieldType::ftString, 8, QVariant(QStringLiteral(" SM  ")), "",
                 " SM", " SM"},
        TextCase{"DateFormatted", FieldType::ftDate, 0, QVariant(45000.0), "yyyy-mm-dd", "15.3.2023", "2023-03-15"},
        TextCase{"Currency", FieldType::ftCurrency, 0, QVariant(1234.5), "", "1234,5", "1 234,50 Kč"},
        TextCase{"MemoShowsItsKind", FieldType::ftMemo, 1, QVariant(QStringLiteral("text")), "", "text", "(MEMO)"},
        TextCase{"EmptyMemo", FieldType::ftMemo, 1, QVariant(), "", "", "(memo)"},
        TextCase{"DateTimeBefore1899", FieldType::ftDateTime, 0, QVariant(-1.25), "d.m.yyyy hh:nn", "29.12.1899 6:00:00",
                 "29.12.1899 06:00"},
        // A stored day number outside years 1..9999 shows as the number it is.
        TextCase{"DateAfterYear9999", FieldType::ftDate, 0, QVariant(3e6), "yyyy-mm-dd", "3000000", "3000000"},
        TextCase{"DateBeforeYear1", FieldType::ftDateTime, 0, QVariant(-693594.5), "", "-693594,5", "-693594,5"},
        TextCase{"TimeNotANumber", FieldType::ftTime, 0, QVariant(std::nan("")), "", "NAN", "NAN"}),
    [](const auto& info) { return std::string(info.param.name); });

// expected: when no error
struct IntegerCase { const char* name; FieldType type; QVariant value; int expected; enum { None, Convert, Range, Database } error; };

class FieldAsInteger : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(FieldAsInteger, ConvertsOrRaises)
{
    const IntegerCase& c = GetParam();
    OneValue v(c.type, 10, c.value);
    switch (c.error) {
    case IntegerCase::None: EXPECT_EQ(v.field().AsInteger(), c.expected); break;
    case IntegerCase::Convert: EXPECT_THROW(v.field().AsInteger(), EConvertError); break;
    case IntegerCase::Range: EXPECT_THROW(v.field().AsInteger(), ERangeError); break;
    case IntegerCase::Database: EXPECT_THROW(v.field().AsInteger(), EDatabaseError); break;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Field, FieldAsInteger,
    ::testing::Values(
        IntegerCase{"FloatHalfToEvenDown", FieldType::ftFloat, QVariant(2.5), 2, IntegerCase::None},
        IntegerCase{"NullNumberIsZero", FieldType::ftFloat, QVariant(), 0, IntegerCase::None},
        IntegerCase{"FloatBeyond32Bits", FieldType::ftFloat, QVariant(3e9), 0, IntegerCase::Range},
        IntegerCase{"NonNumericText", FieldType::ftString, QVariant(QStringLiteral("1a")), 0, IntegerCase::Convert},
        IntegerCase{"EmptyText", FieldType::ftString, QVariant(), 0, IntegerCase::Convert},
        IntegerCase{"BooleanIsNoInteger", FieldType::ftBoolean, QVariant(true), 0, IntegerCase::Database}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Field, AsFloatOfNullIsZeroAndOfTextConverts)
{
    EXPECT_EQ(OneValue(FieldType::ftFloat, 0, QVariant()).field().AsFloat(), 0.0);
    EXPECT_EQ(OneValue(FieldType::ftString, 5, QStringLiteral("1,5")).field().AsFloat(), 1.5);
    EXPECT_THROW(OneValue(FieldType::ftString, 5, QStringLiteral("x")).field().AsFloat(), EConvertError);
}

TEST(Field, SettersConvertTextAndCheckTheRange)
{
    OneValue v(FieldType::ftSmallint, 0, QVariant(1));
    v.ds.Edit();
    v.field().AsString(QStringLiteral(" 12 "));
    EXPECT_EQ(v.field().AsInteger(), 12);
    v.field().AsString(QString());
    EXPECT_TRUE(v.field().IsNull());
    EXPECT_THROW(v.field().AsString(QStringLiteral("abc")), EConvertError);
    EXPECT_THROW(v.field().AsInteger(40000), EDatabaseError);
    v.field().AsFloat(6.5);
    EXPECT_EQ(v.field().AsInteger(), 6);
    // A string is cut to the field size.
    OneValue s(FieldType::ftString, 3, QVariant());
    s.ds.Edit();
    s.field().AsString(QStringLiteral("ABCDE"));
    EXPECT_EQ(s.field().AsString(), QStringLiteral("ABC"));
}

// Text typed into a number or date field that does not convert is reported in Czech, naming it.
TEST(Field, ConversionErrorsAreCzechAndNameTheText)
{
    const struct {
        FieldType type;
        const char* text;
        const char* message;
    } cases[] = {
        {FieldType::ftInteger, "abc", "'abc' není platné celé číslo."},
        {FieldType::ftSmallint, "1 2", "'1 2' není platné celé číslo."},
        {FieldType::ftFloat, "7,5x", "'7,5x' není platné desetinné číslo."},
        {FieldType::ftCurrency, "sto", "'sto' není platné desetinné číslo."},
        {FieldType::ftDate, "32.1.2024", "'32.1.2024' není platné datum."},
        {FieldType::ftTime, "25:00", "'25:00' není platný čas."},
        {FieldType::ftDateTime, "včera", "'včera' není platné datum a čas."},
    };
    for (const auto& c : cases) {
        OneValue v(c.type, 0, QVariant());
        v.ds.Edit();
        try {
            v.field().AsString(QString::fromUtf8(c.text));
            ADD_FAILURE() << c.text << " was taken";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.message(), QString::fromUtf8(c.message));
        }
    }
}

// Numbers set into number fields are stored as the field's own kind of value.
TEST(Field, NumberSettersStoreTheFieldsKindOfValue)
{
    OneValue f(FieldType::ftFloat, 0, QVariant(0.0));
    f.ds.Edit();
    f.field().AsInteger(-7);
    EXPECT_EQ(f.field().Value(), QVariant(-7.0));
    f.field().AsFloat(2.25);
    EXPECT_EQ(f.field().Value(), QVariant(2.25));
    OneValue i(FieldType::ftInteger, 0, QVariant(0));
    i.ds.Edit();
    i.field().AsInteger(std::numeric_limits<int32_t>::min());
    EXPECT_EQ(i.field().Value(), QVariant(std::numeric_limits<int32_t>::min()));
    OneValue w(FieldType::ftWord, 0, QVariant(0));
    w.ds.Edit();
    EXPECT_THROW(w.field().AsInteger(-1), EDatabaseError);
    w.field().AsInteger(65535);
    EXPECT_EQ(w.field().Value(), QVariant(65535));
}

// Texts typed into date fields are read by the one date-time reader of the run time.
TEST(Field, DateTextsReadBeforeAndAfter1899)
{
    OneValue v(FieldType::ftDateTime, 0, QVariant(0.0));
    v.ds.Edit();
    v.field().AsString(QStringLiteral("29.12.1899 6:00"));
    EXPECT_EQ(v.field().AsFloat(), -1.25);
    EXPECT_EQ(v.field().Value().toDouble(), -1.25);
    v.field().AsString(QStringLiteral("1.1.1900 12:30:15.250"));
    EXPECT_EQ(v.field().AsString(), QStringLiteral("1.1.1900 12:30:15"));
    EXPECT_EQ(v.field().AsDateTime(), 2 + (45015250.0 / 86400000));
    EXPECT_THROW(v.field().AsString(QStringLiteral("1.1.1900 25:00")), EConvertError);

    OneValue t(FieldType::ftTime, 0, QVariant());
    t.ds.Edit();
    t.field().AsString(QStringLiteral("6:30:15.5"));
    EXPECT_EQ(t.field().AsString(), QStringLiteral("6:30:15"));
    OneValue s(FieldType::ftString, 20, QStringLiteral("29.12.1899 18:00"));
    EXPECT_EQ(s.field().AsDateTime(), -1.75);
}

TEST(Field, CanonicalValuesOfForeignTypes)
{
    EXPECT_EQ(db::canonicalValue(FieldType::ftDate, QDate(1899, 12, 31)).toDouble(), 1.0);
    EXPECT_EQ(db::canonicalValue(FieldType::ftDateTime, QDateTime(QDate(1899, 12, 29), QTime(6, 0))).toDouble(), -1.25);
    EXPECT_EQ(db::canonicalValue(FieldType::ftDate, QStringLiteral("2024-02-29")).toDouble(), 45351);
    EXPECT_EQ(db::canonicalValue(FieldType::ftInteger, qlonglong(5)).typeId(), QMetaType::Int);
    EXPECT_THROW(db::canonicalValue(FieldType::ftInteger, qlonglong(1) << 40), ERangeError);
    EXPECT_FALSE(db::canonicalValue(FieldType::ftString, QVariant()).isValid());
}

} // namespace
