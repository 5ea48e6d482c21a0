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

// An item as "text@layer".
QString label(const TVystPrvek& i)
{
    return i.ItemText + u'@' + QString::number(i.Layer);
}

// Adds the items in the order given.
void addAll(TStranaPrvku& page, std::initializer_list<TVystPrvek> items)
{
    for (const TVystPrvek& i : items) page.AddItem(i);
}

QStringList order(const TStranaPrvku& page)
{
    QStringList out;
    for (int i = 0; i < page.count(); ++i) out << label(page.item(i));
    return out;
}

TEST(OutputPage, GraphicsLieUnderTextsAndEqualsKeepTemplateOrder)
{
    TStranaPrvku page;
    // A section places its elements from the last to the first.
    addAll(page, {item(1, QStringLiteral("t2")), item(8, QStringLiteral("r2")), item(1, QStringLiteral("t1")),
                  item(8, QStringLiteral("r1")), item(1, QStringLiteral("rtf"), 8), item(7, QStringLiteral("line"))});
    EXPECT_EQ(order(page), (QStringList{QStringLiteral("line@2"), QStringLiteral("r1@2"), QStringLiteral("r2@2"),
                                        QStringLiteral("t1@1"), QStringLiteral("t2@1"), QStringLiteral("rtf@3")}));
}

// The rule the page keeps: a new item goes in front of the first item that compares equal
// or greater, taking its layer when equal and a new layer otherwise.
QStringList insertedByRule(const std::vector<TVystPrvek>& added)
{
    std::vector<TVystPrvek> page;
    int layers = 0;
    for (TVystPrvek i : added) {
        auto it = page.begin();
        while (it != page.end() && TStranaPrvku::CompareItems(it->Style, i.Style) < 0) ++it;
        const bool equal = it != page.end() && TStranaPrvku::CompareItems(it->Style, i.Style) == 0;
        i.Layer = equal ? it->Layer : ++layers;
        page.insert(it, i);
    }
    QStringList out;
    for (const TVystPrvek& i : page) out << label(i);
    return out;
}

TEST(OutputPage, UnknownKindsKeepTheirPlaceAroundGraphicsAndTexts)
{
    TStranaPrvku page;
    addAll(page, {item(1, QStringLiteral("t2")), item(0, QStringLiteral("zero")), item(13, QStringLiteral("k13")),
                  item(7, QStringLiteral("line")), item(-4, QStringLiteral("minus")), item(14, QStringLiteral("k14")),
                  item(2, QStringLiteral("t1")), item(3, QStringLiteral("wrap"), 16), item(13, QStringLiteral("k13b")),
                  item(11, QStringLiteral("picture"))});
    EXPECT_EQ(order(page), (QStringList{QStringLiteral("k14@6"), QStringLiteral("k13b@3"), QStringLiteral("k13@3"),
                                        QStringLiteral("picture@4"), QStringLiteral("line@4"), QStringLiteral("t1@1"),
                                        QStringLiteral("t2@1"), QStringLiteral("wrap@7"), QStringLiteral("zero@2"),
                                        QStringLiteral("minus@5")}));
}

TEST(OutputPage, LargePagesKeepTheOrderOfTheRule)
{
    // Mostly body texts of two flag sets, some graphics, a few odd kinds and flags, with reads
    // of the page between additions as a preview drawing a page still being laid out does.
    std::vector<TVystPrvek> added;
    TStranaPrvku page;
    quint32 seed = 12345;
    const auto next = [&seed](quint32 n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % n;
    };
    const int kinds[] = {1, 2, 2, 2, 3, 5, 6, 7, 8, 11, 0, 12, 16, -2};
    const int flags[] = {0, 0, 0, 16, 16, 64, 8 | 16, -1, 2147483647};
    for (int n = 0; n < 3000; ++n) {
        added.push_back(item(kinds[next(std::size(kinds))], QString::number(n), flags[next(std::size(flags))]));
        page.AddItem(added.back());
        if (n % 1000 == 999) EXPECT_EQ(order(page), insertedByRule(added)) << n;
    }
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
