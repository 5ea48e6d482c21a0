// Tests of the template format: reading lines into the model and writing them back.
#include "reports/model/ReportModel.h"

#include "reports/model/PageSettings.h"
#include "reports/model/TemplateFile.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace reports;

namespace {

class TemplateFormatTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        resetPageSettings();
        report.SetColumns({QStringLiteral("ODD"), QStringLiteral("DIL"), QStringLiteral("POR"),
                           QStringLiteral("PLOCHA")});
    }
    void TearDown() override { resetPageSettings(); }

    void read(const QStringList& lines) { report.SetPredloha(lines); }
    TVoReportElement& element(int section, int i = 0) { return report.Sections.SectionAt(section).ElementAt(i); }

    ReportModel report;
};

QByteArray readGolden(const QString& name)
{
    QFile file(QStringLiteral(GENKLAS_GOLDEN_DIR "/reports/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST_F(TemplateFormatTest, EveryElementKindWritesBackByteForByte)
{
    const QByteArray golden = readGolden(QStringLiteral("every_element.pts"));
    ASSERT_FALSE(golden.isEmpty());
    read(TemplateLinesFromBytes(golden));
    const QByteArray written = TemplateBytes(report.WriteTemplate());
    if (qEnvironmentVariableIsSet("GENKLAS_REGENERATE_GOLDEN")) {
        QFile out(QStringLiteral(GENKLAS_GOLDEN_DIR "/reports/every_element.pts"));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(written);
    }
    EXPECT_EQ(QString::fromLatin1(written), QString::fromLatin1(golden));

    // what the model holds from it
    EXPECT_EQ(report.Popis, QStringLiteral("Seznam porostů \"A\" a \"B\""));
    ASSERT_EQ(report.Groups.Count(), 2);
    EXPECT_EQ(report.Sections.Count(), 9);
    EXPECT_EQ(report.Funkce.Count(), 2);
    EXPECT_EQ(report.Funkce.FunctionAt(1)->Popis, QStringLiteral("Text s \"uvozovkami\", čárkou"));
    EXPECT_EQ(element(siReportStart).Text, QStringLiteral("Žluťoučký kůň úpěl ďábelské ódy"));
    const TVoReportElement& byName = report.Groups.GroupAt(0)->StartSection->ElementAt(1);
    EXPECT_EQ(byName.Kind, ekColumn);
    EXPECT_EQ(byName.RefName, QStringLiteral("ODD"));
    EXPECT_EQ(byName.Font.Color, 0xFF0000u);
    EXPECT_TRUE(report.PagingFlags[pfNoHeadOnFirst]);
    EXPECT_TRUE(report.PagingFlags[pfBreakBeforeEnd]);
    EXPECT_EQ(report.Sections.SectionAt(siPageFoot).Height, 25);
    // the line element got the solid style from its width
    EXPECT_EQ(element(siBody, 4).PenWidth, 2);
    EXPECT_EQ(element(siBody, 4).PenStyle, 0);
}

TEST_F(TemplateFormatTest, TextElementWithQuoteCharsetAndAlignment)
{
    read({QStringLiteral("T,1,0,10,20,100,20,Arial,10,0,1,2,0,238,\"a \"\"b\"\" c\",0")});
    const TVoReportElement& e = element(siBody);
    EXPECT_EQ(e.Kind, ekText);
    EXPECT_EQ(e.Alignment, 2);
    EXPECT_TRUE(e.Font.isBold());
    EXPECT_EQ(e.Font.Color, 0u);
    EXPECT_EQ(e.Font.Charset, 238);
    EXPECT_EQ(e.Font.Name, QStringLiteral("Arial"));
    EXPECT_EQ(e.Text, QStringLiteral("a \"b\" c"));
    EXPECT_EQ(e.Left, 10);
    EXPECT_EQ(e.Top, 20);
}

TEST_F(TemplateFormatTest, ShortLineTakesDefaultsAndWritesAllFields)
{
    read({QStringLiteral("T,2,ODD,0,0,100,20")});
    const TVoReportElement& e = element(siBody);
    EXPECT_EQ(e.Kind, ekColumn);
    EXPECT_EQ(e.Reference, 0);
    EXPECT_EQ(e.RefName, QStringLiteral("ODD"));
    EXPECT_EQ(e.FormatElementLine(QStringLiteral("T")),
              QStringLiteral("T,2,ODD,0,0,100,20,MS Sans Serif,8,0,0,0,0,1,\"\",0"));

    read({QStringLiteral("T,2,por,0,0,100,20"), QStringLiteral("T,3,NENI,0,0,1,1"), QStringLiteral("T,2,9,0,0,1,1")});
    EXPECT_EQ(element(siBody, 0).Reference, 2);   // names ignore letter case
    EXPECT_EQ(element(siBody, 1).Reference, 0);   // unknown name
    EXPECT_EQ(element(siBody, 1).RefName, QStringLiteral("NENI"));
    EXPECT_EQ(element(siBody, 2).Reference, 0);   // outside the columns
}

TEST_F(TemplateFormatTest, PageSettingsOnlyFromAnI2Record)
{
    pageSettings().LeftMargin = 11;
    read({QStringLiteral("I,0,\"x\"")});
    EXPECT_EQ(pageSettings().LeftMargin, 11);
    EXPECT_EQ(report.Version, (std::array<int, 3>{4, 0, 0}));

    read({QStringLiteral("I,2,1,1000,1400,10,20,30,40,3,15,99")});
    EXPECT_EQ(pageSettings().Orientation, 1);
    EXPECT_EQ(pageSettings().PaperFormatWidth, 1000);
    EXPECT_EQ(pageSettings().PaperFormatHeight, 1400);
    EXPECT_EQ(pageSettings().BottomMargin, 40);
    EXPECT_EQ(report.Columns, 3);
    EXPECT_EQ(report.ColumnGap, 15);

    // version 0 templates carry no paper size
    resetPageSettings();
    read({QStringLiteral("I,1,0,0,0"), QStringLiteral("I,2,0,10,20,30,40,2,5")});
    EXPECT_EQ(pageSettings().PaperFormatWidth, 826);
    EXPECT_EQ(pageSettings().LeftMargin, 10);
    EXPECT_EQ(pageSettings().BottomMargin, 40);
    EXPECT_EQ(report.Columns, 2);
}

TEST_F(TemplateFormatTest, DetailVariantKeepsItsParentsPage)
{
    ReportModel variant;
    variant.SetParentReport(&report);
    read({QStringLiteral("I,2,0,826,1169,50,50,70,70"), QStringLiteral("D0,I,2,1,100,100,1,2,3,4,2,0"),
          QStringLiteral("D0,H,1,0,0,0,10,10"), QStringLiteral("D0,T,1,0,0,0,10,10")});
    EXPECT_EQ(pageSettings().LeftMargin, 50);
    EXPECT_EQ(variant.Columns, 2);
    EXPECT_EQ(variant.Sections.SectionAt(siPageHead).ElementCount(), 0);
    EXPECT_EQ(variant.Sections.SectionAt(siBody).ElementCount(), 1);
    EXPECT_EQ(variant.Predloha.size(), 3);
}

TEST_F(TemplateFormatTest, CharacterRaster)
{
    read({QStringLiteral("I,6,1,0,0,2,2")});
    EXPECT_TRUE(report.Raster.On);
    EXPECT_FLOAT_EQ(report.Raster.LineHeight, 33.333f);
    EXPECT_FLOAT_EQ(report.Raster.CharWidth, 6.0f);
    EXPECT_EQ(report.Raster.CellWidth, 6);
    EXPECT_EQ(report.Raster.CellHeight, 33);

    read({QStringLiteral("I,6,2,0,5")});
    EXPECT_FALSE(report.Raster.On);
    EXPECT_EQ(report.Raster.CellWidth, 8);
    EXPECT_EQ(report.Raster.CellHeight, 5);
    EXPECT_EQ(report.Raster.CharWidth, 0);
    EXPECT_EQ(report.Raster.Pitch, 1);
}

TEST_F(TemplateFormatTest, SectionRecordsOutsideTheFixedFiveAreIgnored)
{
    read({QStringLiteral("I,3,7,1,50"), QStringLiteral("I,3,-1,1,50"), QStringLiteral("I,2,0,826,1169,1,1,1,1,4,9"),
          QStringLiteral("I,3,2,1,60,1")});
    EXPECT_EQ(report.Sections.Count(), 5);
    const TOddilSestavy& body = report.Sections.SectionAt(siBody);
    EXPECT_TRUE(body.Printed);
    EXPECT_EQ(body.Height, 60);
    EXPECT_EQ(body.Columns, 4);
    EXPECT_EQ(body.ColumnGap, 9);
    EXPECT_TRUE(report.PagingFlags[pfPagePerRecord]);
}

TEST_F(TemplateFormatTest, GroupElementsComeFromTheirTags)
{
    read({QStringLiteral("I,4,0,1,1,20,1,20,0"), QStringLiteral("I,4,1,2,1,20,1,20,1"),
          QStringLiteral("S0,1,0,0,0,1,1"), QStringLiteral("U0,1,0,0,0,1,1"), QStringLiteral("U0,1,0,0,0,1,1"),
          QStringLiteral("S1,1,0,0,0,1,1"), QStringLiteral("U1,1,0,0,0,1,1"), QStringLiteral("S2,1,0,0,0,1,1"),
          QStringLiteral("S01,1,0,0,0,1,1"), QStringLiteral("s0,1,0,0,0,1,1")});
    ASSERT_EQ(report.Groups.Count(), 2);
    EXPECT_EQ(report.Groups.GroupAt(0)->StartSection->ElementCount(), 1);
    EXPECT_EQ(report.Groups.GroupAt(0)->EndSection->ElementCount(), 2);
    EXPECT_EQ(report.Groups.GroupAt(1)->StartSection->ElementCount(), 1);
    EXPECT_EQ(report.Groups.GroupAt(1)->EndSection->ElementCount(), 1);
    EXPECT_TRUE(report.Groups.GroupAt(1)->NewPage);
    EXPECT_EQ(report.Groups.GroupAt(1)->Column, 2);
    // lines of no known kind are written back as they were read
    const QStringList written = report.WriteTemplate();
    EXPECT_TRUE(written.contains(QStringLiteral("S2,1,0,0,0,1,1")));
    EXPECT_TRUE(written.contains(QStringLiteral("S01,1,0,0,0,1,1")));
    EXPECT_TRUE(written.contains(QStringLiteral("s0,1,0,0,0,1,1")));
}

TEST_F(TemplateFormatTest, OldVariableNumbersMoveUp)
{
    read({QStringLiteral("I,1,1,0,0"), QStringLiteral("Z,5,4,0,0,1,1"), QStringLiteral("Z,5,3,0,0,1,1")});
    EXPECT_EQ(element(siReportStart, 0).Reference, 5);
    EXPECT_EQ(element(siReportStart, 1).Reference, 3);
    read({QStringLiteral("I,1,1,0,3"), QStringLiteral("Z,5,4,0,0,1,1")});
    EXPECT_EQ(element(siReportStart).Reference, 4);
}

TEST_F(TemplateFormatTest, FieldsAndLengthsAreBounded)
{
    const QString longText = QString(300, QLatin1Char('x'));
    read({QStringLiteral("T,1,0,0,0,1,1,") + QString(40, QLatin1Char('f')) + QStringLiteral(",-13,99,255,255,3,238,\"")
          + longText + QStringLiteral("\",0"),
          QStringLiteral("T,7,0,0,0,1,1,,-5,3,4,0,0,0"), QStringLiteral("I,0,\"") + longText + QLatin1Char('"')});
    const TVoReportElement& text = element(siBody, 0);
    EXPECT_EQ(text.Font.Name.size(), 32);
    EXPECT_EQ(text.Font.Size, 9);                 // -13 hundredths of an inch
    EXPECT_EQ(text.Font.Color, 0u);               // colour index outside the table
    EXPECT_EQ(text.Font.Style, 15);
    EXPECT_EQ(text.TextFlags, 248);               // bit 128 kept
    EXPECT_EQ(text.Text.size(), 255);
    const TVoReportElement& line = element(siBody, 1);
    EXPECT_EQ(line.PenWidth, 1);
    EXPECT_EQ(line.PenStyle, 4);
    EXPECT_EQ(report.Popis.size(), 64);
}

TEST_F(TemplateFormatTest, FontAndFunctionNamesWithCommasStayInTheirField)
{
    read({QStringLiteral("T,1,0,0,0,1,1,\"Ar,ial\",10,0,0,0,0,238,\"t\",0"),
          QStringLiteral("F,0,\"a,b\",\"\",0,\"0\",0,\"1\",0,15,2,2")});
    const QStringList written = report.WriteTemplate();
    report.SetPredloha(written);
    EXPECT_EQ(element(siBody).Font.Name, QStringLiteral("Ar,ial"));
    EXPECT_EQ(element(siBody).Text, QStringLiteral("t"));
    EXPECT_EQ(report.Funkce.FunctionAt(0)->Name, QStringLiteral("a,b"));
    EXPECT_EQ(report.Funkce.FunctionAt(0)->Vyraz, QStringLiteral("1"));
}

TEST_F(TemplateFormatTest, LinesSplitAtEveryLineEnd)
{
    const QByteArray bytes("a\r\nb\nc\rd\r\n\r\n\xe8");
    EXPECT_EQ(TemplateLinesFromBytes(bytes),
              (QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d"),
                           QString(), QStringLiteral("č")}));
    EXPECT_EQ(TemplateBytes({QStringLiteral("č"), QString()}), QByteArray("\xe8\r\n\r\n"));
    EXPECT_TRUE(TemplateLinesFromBytes(QByteArray()).isEmpty());
}

// What the reader takes is what makes a file a template.
TEST_F(TemplateFormatTest, KnownLinesAreTheKindsTheReaderTakes)
{
    for (const char* line : {"I,0,\"a\"", "Ix", "F,0,Soucet", "T", "Z,1,0", "P,5,3", "S12,1,0", "U0,2", "D3,T,1"})
        EXPECT_TRUE(IsTemplateLine(QString::fromLatin1(line))) << line;
    for (const char* line : {"", "I", "F", "X,1", "t,1", "TT,1", "S,1", "Sx,1", "S-1,1", "D,1"})
        EXPECT_FALSE(IsTemplateLine(QString::fromLatin1(line))) << line;
    EXPECT_TRUE(IsTemplateText(QByteArray()));
    EXPECT_TRUE(IsTemplateText("nadpis\r\nT,1,0\r\n"));
    EXPECT_FALSE(IsTemplateText("nadpis\r\n\r\n"));
    EXPECT_FALSE(IsTemplateText(QByteArray("T,1,0\r\n\0", 8)));
}
