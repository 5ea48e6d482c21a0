// Drawing order of page items and the drawing of each kind.
#include "reports/output/OutputPage.h"

#include "reports/support/FixedMeasurer.h"

#include <gtest/gtest.h>

namespace {

using namespace reports;

TVystPrvek item(int kind, const QString& text, int flags = 0)
{
    TVystPrvek i;
    i.Style.Kind = kind;
    i.Style.TextFlags = flags;
    i.ItemText = text;
    i.Rect = QRect(10, 20, 100, 40);
    return i;
}

QStringList order(const TStranaPrvku& page)
{
    QStringList out;
    for (int i = 0; i < page.count(); ++i) out << page.item(i).ItemText + u'@' + QString::number(page.item(i).Layer);
    return out;
}

TEST(OutputPage, GraphicsLieUnderTextsAndEqualsKeepTemplateOrder)
{
    TStranaPrvku page;
    // A section places its elements from the last to the first.
    page.AddItem(item(1, QStringLiteral("t2")));
    page.AddItem(item(8, QStringLiteral("r2")));
    page.AddItem(item(1, QStringLiteral("t1")));
    page.AddItem(item(8, QStringLiteral("r1")));
    page.AddItem(item(1, QStringLiteral("rtf"), 8));
    page.AddItem(item(7, QStringLiteral("line")));
    EXPECT_EQ(order(page), (QStringList{QStringLiteral("line@2"), QStringLiteral("r1@2"), QStringLiteral("r2@2"),
                                        QStringLiteral("t1@1"), QStringLiteral("t2@1"), QStringLiteral("rtf@3")}));
}

TEST(OutputItem, LinesAndShapesUseTheirPensAndBrushes)
{
    test::RecordingCanvas canvas;
    canvas.sx = canvas.sy = 6;
    TVystPrvek line = item(7, {});
    line.Style.PenWidth = 3;
    line.Style.PenStyle = 2;   // ignored by the output: width above 1 draws solid in the model
    line.Style.Lines = 1 | 16;
    line.Draw(canvas, {});
    // (3 - 1) * 6 + 1 = 13 pixels, drawn half a pen inwards.
    ASSERT_EQ(canvas.calls.size(), 2);
    EXPECT_EQ(canvas.calls[0], QStringLiteral("line 11.0833,21.0833-11.0833,58.9167 w13 s2"));
    EXPECT_TRUE(canvas.calls[1].startsWith(QLatin1String("line 11.0833,58.9167-108.917,21.0833")));

    canvas.calls.clear();
    TVystPrvek round = item(9, {});
    round.Style.PenWidth = 0;
    round.Style.BrushStyle = 7;
    round.Draw(canvas, {});
    ASSERT_EQ(canvas.calls.size(), 1);
    EXPECT_TRUE(canvas.calls[0].startsWith(QLatin1String("shape1 ")));
    EXPECT_TRUE(canvas.calls[0].contains(QLatin1String("s5 b7 c19.9")));
}

TEST(OutputItem, TextsDrawTheirLinesAndFrame)
{
    const test::FixedMeasurer m;
    TextSettings s;
    s.font.Size = 10;
    auto lines = std::make_shared<TRadky>(MeasureText(m, 100, QStringLiteral("one\ntwo\nthree"), s));
    TVystPrvek text = item(1, QStringLiteral("one\ntwo\nthree"));
    text.ItemLines = lines;
    text.FirstLine = 1;
    text.LastLine = 2;
    text.Style.Frame = 2 | 8;
    test::RecordingCanvas canvas;
    text.Draw(canvas, {});
    EXPECT_EQ(canvas.drawnText(), QStringLiteral("twothree"));
    EXPECT_EQ(canvas.calls.filter(QStringLiteral("line ")).size(), 2);
    // The first line drawn sits at the top of the item: baseline at 15 - 3 below it.
    EXPECT_EQ(canvas.calls[0], QStringLiteral("text 12.00,32.00 t MS Sans Serif"));
}

TEST(OutputItem, PicturesComeFromTheItemOrTheLoader)
{
    test::RecordingCanvas canvas;
    TVystPrvek picture = item(11, {});
    picture.ItemPictureName = QStringLiteral("logo.gif");
    picture.Style.Lines = 16 | 32 | 1;
    QStringList asked;
    picture.Draw(canvas, [&](const QString& name) {
        asked << name;
        QImage image(200, 100, QImage::Format_RGB32);
        return image;
    });
    EXPECT_EQ(asked, QStringList{QStringLiteral("logo.gif")});
    ASSERT_EQ(canvas.calls.size(), 2);
    // Stretched keeping its aspect ratio into 100 x 40: 80 x 40 at the left.
    EXPECT_EQ(canvas.calls[0], QStringLiteral("image 10,20 80x40 of 200x100"));
    EXPECT_TRUE(canvas.calls[1].startsWith(QLatin1String("line 10,20-10,60")));
}

} // namespace
