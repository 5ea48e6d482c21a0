// Text layout: wrapping, alignment, justification, RTF formatting, fitting and drawing.
#include "reports/output/TextLayout.h"

#include "reports/support/FixedMeasurer.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace {

using namespace reports;

TextSettings settings(int alignment = 0, bool rtf = false, bool wrap = true)
{
    TextSettings s;
    s.font.Name = QStringLiteral("Arial");
    s.font.Size = 10;   // 5 hundredths a character, 15 a line
    s.alignment = alignment;
    s.rtf = rtf;
    s.wordWrap = wrap;
    return s;
}

QStringList lineTexts(const TRadky& r)
{
    QStringList out;
    for (const TRadek& l : r.lines) out << l.Text;
    return out;
}

// Room for 14 characters of 374 units in a width of 80 hundredths (5760 - 288 units).
constexpr int width = 80;

TEST(TextLayout, WrapsAtBlanksAndBreaksLongWords)
{
    const test::FixedMeasurer m;
    const TRadky r = MeasureText(m, width, QStringLiteral("alpha beta gamma delta abcdefghijklmnopqrstuv"), settings());
    EXPECT_EQ(lineTexts(r), (QStringList{QStringLiteral("alpha beta"), QStringLiteral("gamma delta"),
                                         QStringLiteral("abcdefghijklmn"), QStringLiteral("opqrstuv")}));
    EXPECT_TRUE(r.lines[0].Zalomeno);
    EXPECT_FALSE(r.lines[3].Zalomeno);
    EXPECT_EQ(r.lines[0].Sirka, 10 * 374);   // the blank it broke at belongs to no line
    EXPECT_EQ(r.lines[1].Pozice[0], 0);
    EXPECT_EQ(r.lines[0].Odsazeni, 144);
}

TEST(TextLayout, PlainTextKeepsBracesAndBackslashesAndEndsParagraphsAtLineFeeds)
{
    const test::FixedMeasurer m;
    const TRadky r = MeasureText(m, width, QStringLiteral("{\\b x}\r\n\r\nend"), settings());
    EXPECT_EQ(lineTexts(r), (QStringList{QStringLiteral("{\\b x}"), QString(), QStringLiteral("end")}));
    EXPECT_TRUE(r.lines[1].PrvniRadek);
    EXPECT_EQ(r.lines[1].Vyska, 1080);   // an empty line keeps the font's height
}

TEST(TextLayout, WithoutWordWrapTheWholeTextIsOneCutLine)
{
    const test::FixedMeasurer m;
    const TRadky r = MeasureText(m, width, QStringLiteral("first paragraph\nsecond paragraph"), settings(0, false, false));
    ASSERT_EQ(r.count(), 1);
    EXPECT_EQ(r.lines[0].Text, QStringLiteral("first paragrap"));
}

TEST(TextLayout, AlignmentOffsetsAndJustifiedStretching)
{
    const test::FixedMeasurer m;
    const TRadky right = MeasureText(m, width, QStringLiteral("abc"), settings(1));
    EXPECT_EQ(right.lines[0].Odsazeni, 5760 - 144 - 3 * 374);
    const TRadky centre = MeasureText(m, width, QStringLiteral("abc"), settings(2));
    EXPECT_EQ(centre.lines[0].Odsazeni, (5760 - 3 * 374) / 2);

    const TRadky block = MeasureText(m, width, QStringLiteral("aa bb cc dd ee ff"), settings(3));
    ASSERT_EQ(block.count(), 2);
    // The wrapped line fills the available width; the paragraph's last line is not stretched.
    EXPECT_EQ(block.lines[0].Sirka, 5760 - 288);
    const TRadek& l0 = block.lines[0];
    EXPECT_EQ(l0.Pozice[size_t(l0.Znaku - 1)] + 374, 5760 - 288);
    EXPECT_EQ(block.lines[1].Pozice[1], 374);
}

TEST(TextLayout, RtfBoldGroupsCentringAndEscapes)
{
    const test::FixedMeasurer m;
    test::RecordingCanvas canvas;
    const TRadky r = MeasureText(m, 200, QStringLiteral("{\\rtf1{\\fonttbl{\\f0\\fnil Times;}}\\qc{\\b fett} normal \\{\\'e8\\}\\par x}"),
                                 settings(0, true));
    ASSERT_EQ(r.count(), 2);
    EXPECT_EQ(r.lines[0].Text, QStringLiteral("fett normal {č}"));
    EXPECT_TRUE(r.fonts[size_t(r.lines[0].fontAt(0))].isBold());
    EXPECT_FALSE(r.fonts[size_t(r.lines[0].fontAt(5))].isBold());
    EXPECT_GT(r.lines[0].Odsazeni, 144);   // centred
    DrawLines(canvas, QRectF(0, 0, 200, 100), r, 0, 1);
    EXPECT_EQ(canvas.drawnText(), QStringLiteral("fettnormal{č}x"));
    EXPECT_TRUE(canvas.calls[0].endsWith(QLatin1String("bold")));
}

TEST(TextLayout, RtfFontTableSizesAndSkippedDestinations)
{
    const test::FixedMeasurer m;
    const TRadky r = MeasureText(
        m, 400, QStringLiteral("{\\rtf1{\\fonttbl{\\f1 Courier New;}}{\\*\\unknown hidden}{\\info{\\title t}}\\f1\\fs40 big}"),
        settings(0, true));
    ASSERT_EQ(r.count(), 1);
    EXPECT_EQ(r.lines[0].Text, QStringLiteral("big"));
    const ReportFont& f = r.fonts[size_t(r.lines[0].fontAt(0))];
    EXPECT_EQ(f.Name, QStringLiteral("Courier New"));
    EXPECT_EQ(f.Size, 20);
    EXPECT_EQ(r.lines[0].Vyska, 30 * 72);
}

TEST(TextLayout, ReaderErrorsKeepWhatWasRead)
{
    const test::FixedMeasurer m;
    EXPECT_EQ(lineTexts(MeasureText(m, 200, QStringLiteral("ab}cd"), settings(0, true))), QStringList{QStringLiteral("ab")});
    EXPECT_EQ(lineTexts(MeasureText(m, 200, QStringLiteral("ab\\'zzcd"), settings(0, true))), QStringList{QStringLiteral("ab")});
    EXPECT_EQ(readRtfText(QStringLiteral("{{x"), {}, 0).error, 3);
    EXPECT_EQ(readRtfText(QString(100, u'{'), {}, 0).error, 4);
}

TEST(TextLayout, HeightsAndFitting)
{
    const test::FixedMeasurer m;
    EXPECT_EQ(MeasureText(m, width, QString(), settings()).TotalHeight(), 0);
    const TRadky r = MeasureText(m, width, QStringLiteral("one\ntwo\nthree\nfour"), settings());
    ASSERT_EQ(r.count(), 4);
    EXPECT_EQ(r.TotalHeight(), (144 + 4 * 1080) / 72);
    int height = 0;
    int last = 0;
    EXPECT_FALSE(r.FitLines(0, 40, height, last));
    EXPECT_EQ(last, 1);
    EXPECT_EQ(height, (144 + 2160) / 72);
    EXPECT_TRUE(r.FitLines(2, 40, height, last));
    EXPECT_EQ(last, 3);
    EXPECT_FALSE(r.FitLines(0, 10, height, last));
    EXPECT_EQ(last, -1);
    EXPECT_EQ(&r.LineAt(9), &r.lines[0]);
}

// A fixed line height and character width (text-printer fonts) replace the measured ones.
TEST(TextLayout, FixedCharacterGrid)
{
    const test::FixedMeasurer m;
    TextSettings s = settings();
    s.charWidth = 10;
    s.lineHeight = 16.667;
    const TRadky r = MeasureText(m, 100, QStringLiteral("abcdefghijklmnop"), s);
    ASSERT_EQ(r.count(), 2);
    EXPECT_EQ(r.lines[0].Znaku, 9);
    EXPECT_EQ(r.lines[0].Vyska, 1200);
}

// Every line drawn from the layout puts each character of the text once, in order.
TEST(TextLayout, DrawingReplaysEveryCharacterOnce)
{
    const test::FixedMeasurer m;
    const QString text = QStringLiteral("Žluťoučký kůň úpěl ďábelské ódy a pak ještě jednou a znovu");
    test::RecordingCanvas canvas;
    const TRadky r = MeasureText(m, 60, text, settings(3));
    DrawLines(canvas, QRectF(10, 20, 60, 1000), r, 0, r.count() - 1);
    QString expected = text;
    expected.remove(u' ');
    EXPECT_EQ(canvas.drawnText(), expected);
}

TEST(TextLayout, MutatedRtfNeverCrashes)
{
    const test::FixedMeasurer m;
    const QString seed = QStringLiteral("{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red255\\green0\\blue0;}"
                                        "\\pard\\qj\\li200\\fi-100 \\cf1\\b tučně\\b0\\tab dál\\par\\bin3 abc\\'e8}");
    QRandomGenerator rng(77);
    for (int round = 0; round < 3000; ++round) {
        QString s = seed;
        for (int k = 0; k < 3; ++k) {
            const int at = rng.bounded(int(s.size()));
            switch (rng.bounded(3)) {
            case 0: s[at] = QChar(char16_t(rng.bounded(32, 127))); break;
            case 1: s.truncate(at); break;
            default: s.insert(at, QStringLiteral("{\\*\\b-99999999999\\'")); break;
            }
            if (s.isEmpty()) s = seed;
        }
        const TRadky r = MeasureText(m, 1 + rng.bounded(300), s, settings(rng.bounded(4), true, rng.bounded(2)));
        for (const TRadek& l : r.lines) ASSERT_EQ(size_t(l.Znaku), l.Pozice.size());
    }
}

} // namespace
