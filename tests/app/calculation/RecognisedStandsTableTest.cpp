// Tests of the table of recognised stands and its row rules.
#include "app/calculation/RecognisedStandsTable.h"

#include "platform/db/Field.h"
#include "platform/db/Table.h"
#include "platform/db/paradox/PxlibCheck.h"
#include "platform/text/Cp1250.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using namespace app;

TEST(RowRules, OnlyUpperCaseAAndBAreRecognised)
{
    EXPECT_TRUE(isRecognisedClass("A"));
    EXPECT_TRUE(isRecognisedClass("B"));
    for (const char* other : {"C", "D", "", "a", "b", "A ", "AB"})
        EXPECT_FALSE(isRecognisedClass(QString::fromLatin1(other))) << other;
}

TEST(RowRules, NamesKeepTheTextAfterTheFirstDash)
{
    EXPECT_EQ(textAfterFirstDash("5a - Brdy"), " Brdy");
    EXPECT_EQ(textAfterFirstDash("Brdy"), "Brdy");
    EXPECT_EQ(textAfterFirstDash("a-b-c"), "b-c");
    EXPECT_EQ(textAfterFirstDash("-"), "");
}

TEST(RowRules, NewCodeHasNoBlanks)
{
    EXPECT_EQ(novyKod(12, "A", "1", " 1a"), "12A11a");
    EXPECT_EQ(novyKod(5, " ", "0", " 2 b"), "502b");
    EXPECT_EQ(novyKod(-2147483647 - 1, "", "", "x"), "-2147483648x");
    EXPECT_EQ(novyKod(0, "B", " ", ""), "0B");
}

TEST(RowRules, VegetationZoneIsTheLeadingDigitOfTheForestType)
{
    EXPECT_EQ(lvsFromForestType("5K"), 5);
    EXPECT_EQ(lvsFromForestType("K5"), 0);
    EXPECT_EQ(lvsFromForestType(""), 0);
    EXPECT_EQ(lvsFromForestType("0X"), 0);
    EXPECT_EQ(lvsFromForestType("9"), 9);
}

TEST(RowRules, ModelThinningHoldsAtEqualityExactly)
{
    // 3 * 10 / 100 would not be exact in binary floating point: 0.3 per cent of 10.
    EXPECT_TRUE(isModelThinning(3, 10, 30));
    EXPECT_FALSE(isModelThinning(4, 10, 30));
    EXPECT_TRUE(isModelThinning(7, 70, 10));
    EXPECT_FALSE(isModelThinning(8, 70, 10));
    EXPECT_TRUE(isModelThinning(0, 500, 0));
    EXPECT_TRUE(isModelThinning(-1, 500, 0));
    EXPECT_FALSE(isModelThinning(1, 500, 0));
    // No overflow at the extremes of the stored integers.
    EXPECT_TRUE(isModelThinning(2147483647, 2147483647, 100));
}

TEST(RowRules, SpeciesAreaIsTheShareOfTheStoreyArea)
{
    EXPECT_DOUBLE_EQ(speciesArea(30, 2.5), 0.75);
    EXPECT_DOUBLE_EQ(speciesArea(0, 2.5), 0.0);
    EXPECT_DOUBLE_EQ(speciesArea(100, 1.37), 1.37);
}

SpeciesRowInput sampleInput()
{
    SpeciesRowInput in;
    in.lhcKod = 812000;
    in.lhcNaz = QStringLiteral("Žďárský les");
    in.lhpTax = QStringLiteral("Ing. Říha");
    in.lhpZTax = QStringLiteral("Bc. Šťastná");
    in.odd = 12;
    in.dil = "A";
    in.por = "1";
    in.majNaz = QStringLiteral("Obec Třešť");
    in.lesObl = " 5a";
    in.lesOblNazev = QStringLiteral("5a - Českomoravská vrchovina");
    in.psk = " 1a";
    in.pskP = 3.25;
    in.lesUrad = 3707;
    in.lesUradNazev = QStringLiteral("3707 - Jihlava ");
    in.lt = "5K";
    in.etaz = " 1 ";
    in.etazPp = 2.5;
    in.vek = 85;
    in.hs = 25;
    in.mTezProc = 30;
    in.obmyti = 110;
    in.obnDoba = 30;
    in.genKlas = "A";
    in.drZkr = "SM";
    in.zast = 30;
    in.drZasCel = 10;
    in.drTo = 3;
    return in;
}

class TableFile : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString tablesDir() const { return dir.path() + QLatin1Char('/'); }
    QString path() const { return dir.filePath(QStringLiteral("TGENKL.DB")); }
};

TEST_F(TableFile, HasThe31FieldsInOrderAndNoRowsAfterCreation)
{
    db::Table table;
    recreateRecognisedStandsTable(table, tablesDir());
    table.Open();
    ASSERT_EQ(table.FieldCount(), 31);
    EXPECT_EQ(table.Fields(0).FieldName(), "LHC_KOD");
    EXPECT_EQ(table.Fields(15).FieldName(), "Novy_kod");
    EXPECT_EQ(table.Fields(15).Size(), 22);
    EXPECT_EQ(table.Fields(28).DataType(), db::FieldType::ftBoolean);
    EXPECT_EQ(table.Fields(30).FieldName(), "OBN_DOBA");
    EXPECT_TRUE(table.IsEmpty());
}

TEST_F(TableFile, RecreationReplacesAnEarlierTable)
{
    db::Table table;
    recreateRecognisedStandsTable(table, tablesDir());
    table.Open();
    ASSERT_TRUE(writeSpeciesRow(table, sampleInput()));
    recreateRecognisedStandsTable(table, tablesDir());
    EXPECT_FALSE(table.Active());
    table.Open();
    EXPECT_TRUE(table.IsEmpty());
}

// A value the file cannot take (a corrupt area) raises; the caller decides what to do.
TEST_F(TableFile, AnUnstorableValueRaises)
{
    db::Table table;
    recreateRecognisedStandsTable(table, tablesDir());
    table.Open();
    SpeciesRowInput in = sampleInput();
    in.etazPp = std::numeric_limits<double>::quiet_NaN();
    EXPECT_ANY_THROW(writeSpeciesRow(table, in));
}

TEST_F(TableFile, AClassOtherThanAOrBWritesNothing)
{
    db::Table table;
    recreateRecognisedStandsTable(table, tablesDir());
    table.Open();
    SpeciesRowInput in = sampleInput();
    for (const char* cls : {"C", "D", "", "a"}) {
        in.genKlas = QString::fromLatin1(cls);
        EXPECT_FALSE(writeSpeciesRow(table, in));
    }
    EXPECT_EQ(table.RecordCount(), 0);
}

// Every value as pxlib reads it back, next to what our engine reads (which, like the original
// engine, drops the trailing blanks of a text).
TEST_F(TableFile, ARowReadsBackThroughOurEngineAndPxlib)
{
    {
        db::Table table;
        recreateRecognisedStandsTable(table, tablesDir());
        table.Open();
        SpeciesRowInput in = sampleInput();
        ASSERT_TRUE(writeSpeciesRow(table, in));
        in.genKlas = "B";
        in.drTo = 4;
        in.lhcNaz = QString(100, QLatin1Char('x'));   // cut to 80
        in.psk = QStringLiteral("0123456789abcdefgh");  // cut to 15; the new code keeps it whole
        ASSERT_TRUE(writeSpeciesRow(table, in));
        table.Close();
    }
    const QList<QVariantList> expected = {
        {812000, QStringLiteral("Žďárský les"), 3707, QStringLiteral("Jihlava"), QStringLiteral("Ing. Říha"),
         QStringLiteral("Bc. Šťastná"), QStringLiteral("Obec Třešť"), QVariant(), 12, "A", "1", " 5a",
         QStringLiteral(" Českomoravská vrchovina"), " 1a", " 1", "12A11a", QVariant(), "A", "SM", 85, 3.25, 2.5,
         0.75, 5, 25, 10.0, 3.0, 30.0, true, 110, 30},
        {812000, QString(80, QLatin1Char('x')), 3707, QStringLiteral("Jihlava"), QStringLiteral("Ing. Říha"),
         QStringLiteral("Bc. Šťastná"), QStringLiteral("Obec Třešť"), QVariant(), 12, "A", "1", " 5a",
         QStringLiteral(" Českomoravská vrchovina"), "0123456789abcde", " 1", "12A10123456789abcdefgh", QVariant(), "B",
         "SM", 85, 3.25, 2.5, 0.75, 5, 25, 10.0, 4.0, 30.0, false, 110, 30},
    };
    db::Table ours;
    ours.SetTableName(path());
    ours.Open();
    ASSERT_EQ(ours.RecordCount(), 2);
    test::PxlibReader px(path());
    ASSERT_TRUE(px.isOpen());
    ASSERT_EQ(px.recordCount(), 2);
    ASSERT_EQ(px.fieldCount(), 31);
    EXPECT_EQ(px.codePage(), 1250);
    for (int row = 0; row < 2; ++row) {
        ours.SetRecNo(row + 1);
        for (int f = 0; f < 31; ++f) {
            const QVariant want = expected[row][f];
            const QVariant mine = ours.Fields(f).Value();
            QVariant theirs = px.value(row, f);
            SCOPED_TRACE(QStringLiteral("row %1 field %2").arg(row).arg(ours.Fields(f).FieldName()).toStdString());
            if (want.typeId() == QMetaType::Bool)
                theirs = QVariant(theirs.isValid() ? theirs.toInt() != 0 : false);
            EXPECT_EQ(mine.isValid(), want.isValid());
            EXPECT_EQ(theirs.isValid(), want.isValid());
            if (!want.isValid())
                continue;
            EXPECT_EQ(mine.toString(), want.toString());
            QString theirText = theirs.toString();
            while (theirText.endsWith(QLatin1Char(' ')))
                theirText.chop(1);
            EXPECT_EQ(theirText, want.toString());
        }
    }
}

// A table of the same fields in another order (or another letter case) gets each value into
// the field of its name, exactly as a table of the created layout does.
TEST_F(TableFile, ValuesGoToTheFieldOfTheirNameInAnyLayout)
{
    db::Table own;
    recreateRecognisedStandsTable(own, tablesDir());
    db::Table reordered;
    reordered.SetTableName(dir.filePath(QStringLiteral("OTHER.DB")));
    for (int i = own.FieldDefs().Count() - 1; i >= 0; --i) {
        const db::FieldDef& f = own.FieldDefs().Items(i);
        reordered.FieldDefs().Add(i == 8 ? f.Name.toLower() : f.Name, f.DataType, f.Size);
    }
    reordered.CreateTable();
    own.Open();
    reordered.Open();
    ASSERT_TRUE(writeSpeciesRow(own, sampleInput()));
    ASSERT_TRUE(writeSpeciesRow(reordered, sampleInput()));
    ASSERT_EQ(reordered.RecordCount(), 1);
    for (int f = 0; f < own.FieldCount(); ++f) {
        const QString name = own.Fields(f).FieldName();
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(reordered.FieldByName(name).Value(), own.Fields(f).Value());
    }
    EXPECT_EQ(reordered.Fields(reordered.FieldCount() - 1).FieldName(), "LHC_KOD");
    EXPECT_EQ(reordered.FieldByName(QStringLiteral("odd")).AsInteger(), 12);
}

} // namespace
