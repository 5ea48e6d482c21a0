// Tests of user functions: resets, aggregates, display texts and the function list.
#include "reports/expressions/UserFunctions.h"

#include "reports/expressions/FloatText.h"

#include "FakeOperandHost.h"

#include "platform/text/Numbers.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace reports;
using reports::test::FakeOperandHost;

namespace {

// Runs a function over the numbers of column 1, one record each.
TRadekFunkce aggregate(int zpracovani, std::initializer_list<double> values)
{
    FakeOperandHost host;
    TRadekFunkce f;
    FunctionSettings s;
    s.Name = QStringLiteral("F");
    s.Vyraz = QStringLiteral("#1");
    s.Zpracovani = zpracovani;
    f.SetValues(s);
    f.RequestReset(-1);
    for (const double v : values) {
        host.columnValues = {test::number(v, txt::floatToStr(v))};
        f.Calculate();
    }
    return f;
}

} // namespace

TEST(UserFunctions, Aggregates)
{
    EXPECT_EQ(aggregate(TRadekFunkce::Minimum, {5, 3, 7}).Hodnota.Number, 3);
    EXPECT_EQ(aggregate(TRadekFunkce::Maximum, {5, 3, 7}).Hodnota.Number, 7);
    EXPECT_DOUBLE_EQ(aggregate(TRadekFunkce::Deviation, {2, 4}).Hodnota.Number, std::sqrt(2.0));
    EXPECT_EQ(aggregate(TRadekFunkce::Count, {9, 9, 9}).Hodnota.Number, 3);
    EXPECT_EQ(aggregate(TRadekFunkce::Sum, {1.5, 2, 3}).Hodnota.Number, 6.5);
    EXPECT_EQ(aggregate(TRadekFunkce::Average, {1, 2, 6}).Hodnota.Number, 3);
    EXPECT_DOUBLE_EQ(aggregate(TRadekFunkce::RelativeDeviation, {2, 4}).Hodnota.Number, std::sqrt(2.0) / 3);
    // the last record's whole value
    const TRadekFunkce none = aggregate(TRadekFunkce::None, {1, 8});
    EXPECT_EQ(none.Hodnota.Number, 8);
    EXPECT_EQ(none.Hodnota.Text, QStringLiteral("8"));
}

TEST(UserFunctions, DeviationOfEqualValuesIsZero)
{
    // 0.1 squared and summed leaves a tiny negative variance in floating point
    const TRadekFunkce f = aggregate(TRadekFunkce::Deviation, {0.1, 0.1, 0.1});
    EXPECT_EQ(f.Hodnota.Number, 0);
    EXPECT_FALSE(std::isnan(aggregate(TRadekFunkce::RelativeDeviation, {0.1, 0.1, 0.1}).Hodnota.Number));
}

TEST(UserFunctions, DeviationNeedsTwoRecordsAndRelativeANonZeroSum)
{
    EXPECT_EQ(aggregate(TRadekFunkce::Deviation, {4}).Hodnota, TOperandValue{});
    EXPECT_EQ(aggregate(TRadekFunkce::RelativeDeviation, {-1, 1}).Hodnota, TOperandValue{});
}

TEST(UserFunctions, ResetOnlyWhenRequestedForItsScope)
{
    txt::setDecimalSeparator(QLatin1Char(','));
    FakeOperandHost host;
    host.columnValues = {test::number(2, QStringLiteral("2"))};
    TRadekFunkce f;
    f.SetValues({QStringLiteral("S"), {}, QStringLiteral("#1"), 0, QStringLiteral("10,5"), 1,
                 TRadekFunkce::Sum, 15, 2, 2});
    f.RequestReset(-1);
    f.Calculate();
    EXPECT_EQ(f.Hodnota.Number, 2);            // the sum starts at zero
    EXPECT_EQ(f.Hodnota.Text, QStringLiteral("10,5"));   // the text keeps the initial value
    f.RequestReset(0);                          // another scope
    f.Calculate();
    EXPECT_EQ(f.Hodnota.Number, 4);
    f.RequestReset(1);
    EXPECT_TRUE(f.NulovatPriste);
    f.Reset();
    EXPECT_EQ(f.Hodnota.Number, 10.5);
    EXPECT_EQ(f.Pocet, 0);

    f.PocatecniHodnota = QStringLiteral("abc");
    f.RequestReset(-1);
    f.Reset();
    EXPECT_EQ(f.Hodnota, TOperandValue{});
}

TEST(UserFunctions, SettingsAndDisplayText)
{
    txt::setDecimalSeparator(QLatin1Char(','));
    TRadekFunkce f;
    EXPECT_EQ(f.Name, QStringLiteral("Funkce"));
    EXPECT_EQ(f.Popis, QStringLiteral("Funkce"));
    EXPECT_EQ(f.PocatecniHodnota, QStringLiteral("0"));
    FunctionSettings s;
    s.Typ = 0;
    s.Format = 9;
    f.SetValues(s);
    EXPECT_EQ(f.Format, 2);
    EXPECT_EQ(f.Hodnota.Kind, okNumber);
    f.Hodnota.Number = 1234.567;
    EXPECT_EQ(f.ValueText(), QStringLiteral("1234,57"));
    f.Format = 3;
    txt::setThousandSeparator(QLatin1Char(' '));
    EXPECT_EQ(f.ValueText(), QStringLiteral("1 234,57"));
    s.Typ = 1;
    f.SetValues(s);
    f.Hodnota.Text = QStringLiteral("abc");
    EXPECT_EQ(f.ValueText(), QStringLiteral("abc"));
    EXPECT_EQ(f.Hodnota.Kind, okText);
    s.Typ = 3;
    f.SetValues(s);
    EXPECT_EQ(f.ValueText(), QString());
    EXPECT_EQ(f.Hodnota.Kind, okEmpty);
}

TEST(UserFunctions, FloatFormats)
{
    txt::setDecimalSeparator(QLatin1Char(','));
    txt::setThousandSeparator(QLatin1Char(' '));
    EXPECT_EQ(FloatToStrF(1234.5, FloatFormat::Exponent, 4, 2), QStringLiteral("1,235E+03"));
    EXPECT_EQ(FloatToStrF(0.00012, FloatFormat::Exponent, 2, 0), QStringLiteral("1,2E-4"));
    EXPECT_EQ(FloatToStrF(1234.5, FloatFormat::General, 15, 0), QStringLiteral("1234,5"));
    EXPECT_EQ(FloatToStrF(1e20, FloatFormat::General, 15, 3), QStringLiteral("1E020"));
    EXPECT_EQ(FloatToStrF(-0.001, FloatFormat::Fixed, 15, 2), QStringLiteral("0,00"));
    EXPECT_EQ(FloatToStrF(2.5, FloatFormat::Fixed, 15, 0), QStringLiteral("3"));
    EXPECT_EQ(FloatToStrF(1e20, FloatFormat::Fixed, 15, 2), QStringLiteral("1E20"));
    EXPECT_EQ(FloatToStrF(-1234567.891, FloatFormat::Number, 15, 1), QStringLiteral("-1 234 567,9"));
    EXPECT_EQ(FloatToStrF(1234.5, FloatFormat::Currency, 15, 2), QStringLiteral("1 234,50 Kč"));
    EXPECT_EQ(FloatToStrF(NAN, FloatFormat::Fixed, 15, 2), QStringLiteral("NAN"));
    EXPECT_EQ(FloatToStrF(1.0, FloatFormat::Fixed, -3, 99).size(), 20);   // clamped: "1," and 18 zeros
}

TEST(UserFunctions, ListFindsByNameAndLabelsReferences)
{
    TListFunkci list;
    for (const char* name : {"Pocet", "Soucet"}) {
        auto f = std::make_unique<TRadekFunkce>();
        f->Name = QString::fromLatin1(name);
        list.Add(std::move(f));
    }
    EXPECT_EQ(list.IndexOfName(QStringLiteral("SOUCET")), 1);
    EXPECT_EQ(list.IndexOfName(QStringLiteral("x")), -1);
    EXPECT_EQ(list.ReferenceText(0), QStringLiteral("#1  Pocet"));
    EXPECT_EQ(list.FunctionAt(2), nullptr);
    EXPECT_EQ(list.FunctionAt(-1), nullptr);
    list.DeleteLast();
    EXPECT_EQ(list.Count(), 1);
    list.ClearAll();
    EXPECT_EQ(list.Count(), 0);
    list.DeleteLast();
}

TEST(UserFunctions, CalculateAllSeesEarlierNewAndLaterOldValues)
{
    FakeOperandHost host;
    host.functionNames = {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")};
    TListFunkci list;
    const auto add = [&](const char* name, const char* expr) {
        auto f = std::make_unique<TRadekFunkce>();
        f->SetValues({QString::fromLatin1(name), {}, QString::fromLatin1(expr), 0, QStringLiteral("0"),
                      0, TRadekFunkce::None, 15, 2, 2});
        list.Add(std::move(f));
    };
    add("A", "@C + 1");
    add("B", "@A * 10");
    add("C", "@B");
    // the host answers function values from the list
    struct ListHost : OperandRequestHandler {
        TListFunkci* list = nullptr;
        void MessageValueRequest(OperandMessage& m) override
        {
            if (m.WParam == OperandMessage::FunctionIndex)
                m.Result = list->IndexOfName(*m.Name);
            else if (m.WParam >= OperandMessage::Function && list->FunctionAt(m.WParam - OperandMessage::Function))
                *m.Value = list->FunctionAt(m.WParam - OperandMessage::Function)->Hodnota;
        }
    } listHost;
    listHost.list = &list;
    SetOperandHost(&listHost);
    list.RequestReset(-1);
    list.CalculateAll();
    EXPECT_EQ(list.FunctionAt(0)->Hodnota.Number, 1);    // C was 0
    EXPECT_EQ(list.FunctionAt(1)->Hodnota.Number, 10);
    EXPECT_EQ(list.FunctionAt(2)->Hodnota.Number, 10);
    list.CalculateAll();
    EXPECT_EQ(list.FunctionAt(0)->Hodnota.Number, 11);
    SetOperandHost(&host);
}
