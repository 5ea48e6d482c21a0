// Tests of the tagged value encoding and of the elements' own stream data.
#include "framework/support/ElementsTestSupport.h"

#include "framework/streams/Filer.h"
#include "platform/Exceptions.h"

#include <QBuffer>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

using namespace lumextest;

namespace {

QByteArray written(const std::function<void(TWriter&)>& write)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    TWriter writer(buffer);
    write(writer);
    return bytes;
}

struct IntegerCase {
    const char* label;
    qint32 value;
    QByteArray bytes;
};

class FilerIntegerTest : public ::testing::TestWithParam<IntegerCase>
{
};

TEST_P(FilerIntegerTest, TakesTheShortestTagAndReadsBack)
{
    const IntegerCase& c = GetParam();
    QByteArray bytes = written([&](TWriter& w) { w.WriteInteger(c.value); });
    EXPECT_EQ(bytes.toHex(), c.bytes.toHex());
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    TReader reader(buffer);
    EXPECT_EQ(reader.ReadInteger(), c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Tags, FilerIntegerTest,
    ::testing::Values(IntegerCase{"Int8Low", -128, QByteArray::fromHex("0280")},
                      IntegerCase{"Int8High", 127, QByteArray::fromHex("027f")},
                      IntegerCase{"Int16Low", -129, QByteArray::fromHex("037fff")},
                      IntegerCase{"Int16High", 32767, QByteArray::fromHex("03ff7f")},
                      IntegerCase{"Int32", 32768, QByteArray::fromHex("0400800000")},
                      IntegerCase{"Int32Min", std::numeric_limits<qint32>::min(), QByteArray::fromHex("0400000080")}),
    [](const ::testing::TestParamInfo<IntegerCase>& info) { return std::string(info.param.label); });

TEST(Filer, ExtendedFloatBytes)
{
    EXPECT_EQ(written([](TWriter& w) { w.WriteFloat(12.5); }).toHex(), QByteArray("0500000000000000c80240"));
    EXPECT_EQ(written([](TWriter& w) { w.WriteFloat(-1.0); }).toHex(), QByteArray("050000000000000080ffbf"));
    EXPECT_EQ(written([](TWriter& w) { w.WriteFloat(0.0); }).toHex(), QByteArray("0500000000000000000000"));
}

TEST(Filer, ExtendedFloatsRoundTrip)
{
    for (const double v : {0.0, 1.0, -2.5, 1e300, -1e-300, 4.9e-324, 123456.789, 1.0 / 3.0}) {
        unsigned char bytes[10];
        doubleToExtended(v, bytes);
        EXPECT_EQ(extendedToDouble(bytes), v) << v;
    }
    unsigned char bytes[10];
    doubleToExtended(std::numeric_limits<double>::infinity(), bytes);
    EXPECT_TRUE(std::isinf(extendedToDouble(bytes)));
    doubleToExtended(std::nan(""), bytes);
    EXPECT_TRUE(std::isnan(extendedToDouble(bytes)));
}

TEST(Filer, StringsInWindows1250WithShortAndLongTags)
{
    EXPECT_EQ(written([](TWriter& w) { w.WriteString(QStringLiteral("Dub")); }).toHex(), QByteArray("0603447562"));
    EXPECT_EQ(written([](TWriter& w) { w.WriteString(QStringLiteral("č")); }).toHex(), QByteArray("0601e8"));
    const QString longText(300, QLatin1Char('x'));
    QByteArray bytes = written([&](TWriter& w) {
        w.WriteString(longText);
        w.WriteString(QStringLiteral("Žluťoučký"));
    });
    EXPECT_EQ(bytes.left(5).toHex(), QByteArray("0c2c010000"));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    TReader reader(buffer);
    EXPECT_EQ(reader.ReadString(), longText);
    EXPECT_EQ(reader.ReadString(), QStringLiteral("Žluťoučký"));
}

TEST(Filer, WrongOrMissingValuesRaise)
{
    QByteArray bytes = QByteArray::fromHex("0603");
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    TReader reader(buffer);
    EXPECT_THROW(reader.ReadInteger(), EBadStream);   // a string tag
    EXPECT_THROW(reader.ReadString(), EBadStream);    // cut off
    EXPECT_THROW(reader.EndOfList(), EBadStream);     // nothing left
}

// A buffer that remembers the largest read asked of it.
class MeasuredBuffer : public QBuffer
{
public:
    using QBuffer::QBuffer;
    qint64 largestRead = 0;

protected:
    qint64 readData(char* data, qint64 size) override
    {
        largestRead = std::max(largestRead, size);
        return QBuffer::readData(data, size);
    }
};

// A length from a damaged file is checked against the bytes left before anything is allocated.
TEST(Filer, LengthBeyondTheStreamFailsBeforeReading)
{
    for (const char* hex : {"0cffffff7f616263", "0c00000080", "0c0a000000616263"}) {
        QByteArray bytes = QByteArray::fromHex(hex);
        MeasuredBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
        TReader reader(buffer);
        EXPECT_THROW(reader.ReadString(), EBadStream) << hex;
        EXPECT_LE(buffer.largestRead, 4) << hex;
    }
    QByteArray bytes = QByteArray::fromHex("0102");
    MeasuredBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    TReader reader(buffer);
    EXPECT_THROW(reader.ReadRaw(qint64(1) << 40), EBadStream);
    EXPECT_EQ(buffer.largestRead, 0);
    EXPECT_EQ(reader.ReadRaw(2), QByteArray::fromHex("0102"));
}

TEST(Filer, EntityWritesItsChildNumbersAndReadsThemThroughTheLoader)
{
    registerTestClasses();
    auto entity = Create<TNameEntity>();
    entity->SetName(QStringLiteral("Les"));
    entity->SetID(2);
    auto* a = entity->AddNew<TOwnerElement>();
    a->SetName(QStringLiteral("A"));
    a->SetID(0);
    auto* b = entity->AddNew<TElement>();
    b->SetID(1);

    QByteArray bytes = written([&](TWriter& w) {
        a->WriteTo(w);
        b->WriteTo(w);
        entity->WriteTo(w);
    });
    EXPECT_EQ(bytes.toHex(), QByteArray("060d544f776e6572456c656d656e74"   // "TOwnerElement"
                                        "0200" "060141"                     // ID 0, name "A"
                                        "060854456c656d656e74" "0201"       // "TElement", ID 1
                                        "060b544e616d65456e74697479" "0202" // "TNameEntity", ID 2
                                        "01" "0200" "0201" "00"             // children 0, 1
                                        "06034c6573"));                     // name "Les"

    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    TReader reader(buffer);
    auto loaded = Create<TQuickEntity>();
    for (const TClass cls : {TOwnerElement::StaticClass(), TElement::StaticClass(), TNameEntity::StaticClass()}) {
        EXPECT_EQ(reader.ReadString(), cls->ClassName());
        auto* element = static_cast<TElement*>(cls->CreateInstance());
        element->ReadFrom(reader, loaded.get());
        loaded->Add(element);
    }
    auto* copy = dynamic_cast<TNameEntity*>(loaded->Items(2));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetName(), QStringLiteral("Les"));
    ASSERT_EQ(copy->Count(), 2);
    EXPECT_EQ(copy->Items(0)->GetName(), QStringLiteral("A"));
    EXPECT_EQ(copy->Items(1), loaded->Items(1));
    // The loader's table lets go; the entity keeps its children.
    Owned<TElement> root(copy);
    loaded->ForgetAll();
    root.reset();
}

} // namespace
