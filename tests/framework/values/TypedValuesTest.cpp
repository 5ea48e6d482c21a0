// Tests of the typed value elements: the conversion matrix, duplicates, string lists and property lists.
#include "framework/core/ClassRegistry.h"
#include "framework/values/TypedValues.h"

#include "platform/text/Cp1250.h"
#include "platform/text/Numbers.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace {

using Maker = std::function<Owned<TTypeElement>()>;

template<class T, class V>
Maker make(V value)
{
    return [value] { return Owned<TTypeElement>(T::CreateValue(value).release()); };
}

// --- getters ---------------------------------------------------------------------------------

struct GetRow {
    const char* name;
    Maker element;
    bool asBoolean;
    int asByte;
    int asInteger;
    int charCode;   // windows-1250 code of GetAsChar
    const char* asString;
    double asFloat;
};

class ValueGetters : public ::testing::TestWithParam<GetRow>
{
};

TEST_P(ValueGetters, ConvertToEveryRepresentation)
{
    const GetRow& r = GetParam();
    const Owned<TTypeElement> e = r.element();
    EXPECT_EQ(e->GetAsBoolean(), r.asBoolean);
    EXPECT_EQ(e->GetAsByte(), r.asByte);
    EXPECT_EQ(e->GetAsInteger(), r.asInteger);
    EXPECT_EQ(charOrdinal(e->GetAsChar()), r.charCode);
    EXPECT_EQ(e->GetAsString(), QString::fromUtf8(r.asString));
    EXPECT_DOUBLE_EQ(e->GetAsFloat(), r.asFloat);
    if (e->Typ() != TType::_Integer) {   // an integer reads as the object of that handle
        EXPECT_EQ(e->GetAsPointer(), nullptr);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Matrix, ValueGetters,
    ::testing::Values(
        GetRow{"BooleanTrue", make<TBooleanElement>(true), true, 1, 0, 0, "true", 0},
        GetRow{"CharCzech", make<TCharElement>(QChar(0x10D)), false, 0xE8, 0xE8, 0xE8, "č", 0},
        GetRow{"Byte200", make<TByteElement>(quint8(200)), true, 200, 200, 200, "200", 200},
        GetRow{"Float12_5", make<TFloatElement>(12.5), false, 0, 12, 0, " 1.25000000000000E+0001", 12.5},
        GetRow{"FloatBeyond32BitsReadsIntegerZero", make<TFloatElement>(3e10), false, 0, 0, 0,
               " 3.00000000000000E+0010", 3e10},
        GetRow{"FloatNegative", make<TFloatElement>(-7.9), false, 0, -7, 0, "-7.90000000000000E+0000", -7.9},
        GetRow{"StringZeroComma", make<TStringElement>(QStringLiteral("0,0")), false, 0, 0, 0, "0,0", 0},
        GetRow{"StringAno", make<TStringElement>(QStringLiteral("ano")), true, 0, 0, 0, "ano", 0},
        GetRow{"StringFloat", make<TStringElement>(QStringLiteral("2.5")), true, 0, 0, 0, "2.5", 2.5},
        GetRow{"StringWhole", make<TStringElement>(QStringLiteral("42")), true, 0, 42, 0, "42", 42},
        GetRow{"Integer300", make<TIntegerElement>(300), true, 0, 300, 0, "300", 300},
        GetRow{"IntegerNegative", make<TIntegerElement>(-3), true, 0, -3, 0, "-3", -3}),
    [](const auto& info) { return std::string(info.param.name); });

// --- setters ---------------------------------------------------------------------------------

struct SetRow {
    const char* name;
    Maker element;
    std::function<void(TTypeElement&)> set;
    const char* result;   // GetAsString afterwards
};

class ValueSetters : public ::testing::TestWithParam<SetRow>
{
};

TEST_P(ValueSetters, ConvertOrKeepTheValue)
{
    const SetRow& r = GetParam();
    const Owned<TTypeElement> e = r.element();
    r.set(*e);
    EXPECT_EQ(e->GetAsString(), QString::fromUtf8(r.result));
}

// Setter calls with their arguments.
const auto setText = [](const char* v) { return [v](TTypeElement& e) { e.SetAsString(QString::fromUtf8(v)); }; };
const auto setInteger = [](qint32 v) { return [v](TTypeElement& e) { e.SetAsInteger(v); }; };
const auto setFloat = [](double v) { return [v](TTypeElement& e) { e.SetAsFloat(v); }; };
const auto setByte = [](quint8 v) { return [v](TTypeElement& e) { e.SetAsByte(v); }; };
const auto setBoolean = [](bool v) { return [v](TTypeElement& e) { e.SetAsBoolean(v); }; };
const auto setChar = [](QChar v) { return [v](TTypeElement& e) { e.SetAsChar(v); }; };

INSTANTIATE_TEST_SUITE_P(
    Matrix, ValueSetters,
    ::testing::Values(
        SetRow{"BooleanFromLowerTrue", make<TBooleanElement>(false), setText("true"), "true"},
        SetRow{"BooleanFromCapitalTrueKeeps", make<TBooleanElement>(false), setText("True"), "false"},
        SetRow{"BooleanFromByte", make<TBooleanElement>(false), setByte(5), "true"},
        SetRow{"CharFromInteger300Keeps", make<TCharElement>(QChar('x')), setInteger(300), "x"},
        SetRow{"CharFromInteger", make<TCharElement>(QChar('x')), setInteger(0x8A), "Š"},
        SetRow{"CharFromText", make<TCharElement>(QChar('x')), setText("Žluť"), "Ž"},
        SetRow{"CharFromEmptyTextKeeps", make<TCharElement>(QChar('x')), setText(""), "x"},
        SetRow{"ByteFromText300", make<TByteElement>(quint8(1)), setText("300"), "44"},
        SetRow{"ByteFromNegativeText", make<TByteElement>(quint8(1)), setText("-1"), "255"},
        SetRow{"ByteFromBadTextKeeps", make<TByteElement>(quint8(1)), setText("abc"), "1"},
        SetRow{"ByteFromFloatTruncates", make<TByteElement>(quint8(1)), setFloat(255.9), "255"},
        SetRow{"ByteFromFloat256Keeps", make<TByteElement>(quint8(1)), setFloat(256.0), "1"},
        SetRow{"ByteFromChar", make<TByteElement>(quint8(1)), setChar(QChar(0x10D)), "232"},
        SetRow{"FloatFromPointText", make<TFloatElement>(0.0), setText("12.5"), " 1.25000000000000E+0001"},
        SetRow{"FloatFromCommaTextKeeps", make<TFloatElement>(1.0), setText("12,5"), " 1.00000000000000E+0000"},
        SetRow{"FloatIgnoresBoolean", make<TFloatElement>(1.0), setBoolean(true), " 1.00000000000000E+0000"},
        SetRow{"StringFromFloat", make<TStringElement>(QString()), setFloat(2.5), "2,5"},
        SetRow{"StringFromBoolean", make<TStringElement>(QString()), setBoolean(false), "FALSE"},
        SetRow{"IntegerFromBadTextKeeps", make<TIntegerElement>(1), setText("12abc"), "1"},
        SetRow{"IntegerFromTextAfterBlanks", make<TIntegerElement>(1), setText("  12"), "12"},
        SetRow{"IntegerFromTextWithTrailingBlankKeeps", make<TIntegerElement>(1), setText("12 "), "1"},
        SetRow{"IntegerFromTextBeyond32BitsKeeps", make<TIntegerElement>(1), setText("4294967296"), "1"},
        SetRow{"IntegerFromFloatTruncates", make<TIntegerElement>(1), setFloat(-2.7), "-2"},
        SetRow{"IntegerFromHugeFloatKeeps", make<TIntegerElement>(1), setFloat(3e10), "1"},
        SetRow{"PointerFromLeadingNumber", make<TPointerElement>(nullptr), setText("12abc"), "12"}),
    [](const auto& info) { return std::string(info.param.name); });

// --- single behaviours ----------------------------------------------------------------------

TEST(TypedValues, DuplicateKeepsClassValueAndName)
{
    const Owned<TBooleanElement> unnamed = TBooleanElement::CreateValue(true);
    const Owned<TTypeElement> copy = unnamed->Duplicate();
    EXPECT_EQ(copy->ClassType(), TBooleanElement::StaticClass());
    EXPECT_TRUE(copy->GetAsBoolean());
    EXPECT_EQ(copy->GetName(), "TBooleanElement");
    EXPECT_TRUE(copy->IsNameStored());
    const Owned<TPathElement> path = Create<TPathElement>();
    path->SetName("Cesta");
    EXPECT_EQ(path->Duplicate()->GetName(), "Cesta");
}

TEST(TypedValues, PointersAreHandlesThatDieWithTheirObject)
{
    Owned<TElement> target = Create<TNameElement>();
    const Owned<TIntegerElement> number = TIntegerElement::CreateValue(0);
    const Owned<TPointerElement> pointer = TPointerElement::CreateValue(target.get());
    number->SetAsPointer(target.get());
    EXPECT_EQ(number->GetAsPointer(), target.get());
    EXPECT_EQ(pointer->GetAsPointer(), target.get());
    EXPECT_EQ(pointer->GetAsInteger(), number->GetAsInteger());
    target.reset();
    EXPECT_EQ(number->GetAsPointer(), nullptr);
    EXPECT_EQ(pointer->GetAsPointer(), nullptr);
    number->SetAsInteger(123456);   // never a handle given out
    EXPECT_EQ(number->GetAsPointer(), nullptr);
}

struct NameIsValueRow {
    const char* name;
    const char* text;
    const char* resultName;
    const char* resultValue;
};

class NameIsValue : public ::testing::TestWithParam<NameIsValueRow>
{
};

TEST_P(NameIsValue, SplitsIntoNameAndValue)
{
    const NameIsValueRow& r = GetParam();
    const Owned<TStringElement> e = TStringElement::CreateNamed("Stare", "stara");
    e->SetPropAsString("NameIsValue", QString::fromUtf8(r.text));
    EXPECT_EQ(e->GetName(), QString::fromUtf8(r.resultName));
    EXPECT_EQ(e->GetAsString(), QString::fromUtf8(r.resultValue));
    EXPECT_EQ(e->GetPropAsString("NameIsValue"),
              QString::fromUtf8(r.resultName) + "=" + QString::fromUtf8(r.resultValue));
}

INSTANTIATE_TEST_SUITE_P(Cases, NameIsValue,
                         ::testing::Values(NameIsValueRow{"Both", " Plocha = 2,5 ", "Plocha", "2,5"},
                                           NameIsValueRow{"ValueOnly", "hodnota", "Stare", "hodnota"},
                                           NameIsValueRow{"NothingAfter", "hodnota=", "Stare", "hodnota"},
                                           NameIsValueRow{"Empty", "", "Stare", "stara"}),
                         [](const auto& info) { return std::string(info.param.name); });

// --- string lists -----------------------------------------------------------------------------

TEST(StringList, LoadsAndSavesNameValueFilesInWindows1250)
{
    QTemporaryDir dir;
    const QString in = dir.filePath("vstup.txt");
    {
        QFile f(in);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(Cp1250::encode(QStringLiteral("A=1\r\nB\r\n\r\nDřevina = Smrk ztepilý\r\n")));
    }
    auto list = Create<TStringListElement>();
    list->SetPropAsString("LoadFromFile", in);
    ASSERT_EQ(list->Count(), 3);
    EXPECT_EQ(list->NameAt(1), "B");
    EXPECT_EQ(list->ValueByName("DŘEVINA"), "");   // names compare with ASCII letters only
    EXPECT_EQ(list->ValueByName("dřevina"), "Smrk ztepilý");
    EXPECT_EQ(list->IntegerByName("a"), 1);
    EXPECT_EQ(list->IntegerByName("chybi"), 0);

    const QString out = dir.filePath("vystup.txt");
    list->SaveToFile(out);
    QFile f(out);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), Cp1250::encode(QStringLiteral("A=1\r\nB=\r\nDřevina=Smrk ztepilý\r\n")));
}

TEST(StringList, MissingFileLoadsNothingAndUnwritableFileRaises)
{
    auto list = Create<TStringListElement>();
    list->LoadFromFile("/nonexistent/dir/x.txt");
    EXPECT_EQ(list->Count(), 0);
    list->NextValue("v");
    EXPECT_THROW(list->SaveToFile("/nonexistent/dir/x.txt"), EFileError);
}

TEST(StringList, ItemsAnswerAsProperties)
{
    auto list = Create<TStringListElement>();
    list->SetPropAsString("Porost", "1a");   // no such property, no such item: added
    list->SetPropAsString("porost", "2b");
    EXPECT_EQ(list->Count(), 1);
    EXPECT_EQ(list->GetPropAsString("Porost"), "2b");
    // A published property wins over an item of the same name.
    list->SetPropAsString("NextValue", "x");
    EXPECT_EQ(list->Count(), 2);
    EXPECT_EQ(list->GetPropAsString("Count"), "2");
}

TEST(StringList, LinesThroughThePublishedStringList)
{
    auto lines = Create<TStrings>();
    lines->Lines = QStringList({"jmeno", "", "a=b", "=c", "d="});
    auto list = Create<TStringListElement>();
    list->SetPropAsInteger("NextStringList", ObjectHandle(lines.get()));
    ASSERT_EQ(list->Count(), 4);
    EXPECT_EQ(list->ValueAt(1), "b");
    EXPECT_EQ(list->NameAt(2), "TStringElement");   // "=c" changes nothing of a new item
    list->NextNameIsValue("bez rovnitka");
    EXPECT_EQ(list->Count(), 4);
}

TEST(PropertyList, FillsValuesAndNegates)
{
    auto source = Create<TStringListElement>();
    source->AddNameValue("Plocha", "2.5");
    source->AddNameValue("Zasoba", "-7");
    auto list = Create<TPropertyList>();
    for (const char* name : {"Plocha", "-Plocha", "-Zasoba", "-Chybi"})
        list->NextName(name);
    list->SetPropAsString("Delimiter", ";");
    list->SetElement(source.get());
    EXPECT_EQ(list->ValueAt(0), "2.5");
    EXPECT_EQ(list->ValueAt(1), "-2.5");
    EXPECT_EQ(list->ValueAt(2), "7");
    // The original raised a range error on a negated empty text.
    EXPECT_EQ(list->ValueAt(3), "");
    EXPECT_EQ(list->GetPropAsString("Catenation"), "2.5;-2.5;7;");
}

} // namespace
