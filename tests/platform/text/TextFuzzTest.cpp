// Fuzz tests of number reading, FormatFloat and Format patterns and date formats and readers.
#include "platform/Exceptions.h"
#include "platform/text/DateTime.h"
#include "platform/text/Format.h"
#include "platform/text/Numbers.h"
#include "support/Mutator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

namespace {

// The separators are the program defaults (TestMain), as every test leaves them.
constexpr int rounds = 3000;

const double values[] = {0.0, -0.0, 1.0, -2.5, 0.125, 1234567.891, 1e18, 9.99999999999999e17, 1e-300,
                         std::numeric_limits<double>::max(), -std::numeric_limits<double>::max(),
                         std::numeric_limits<double>::denorm_min(), 45351.75, -1.25};

// Longest text a pattern of `n` characters may give for any value: its own text plus digits.
qsizetype patternBound(qsizetype n) { return 8 * n + 400; }

TEST(TextFuzz, NumberTextReadsBackOrRaises)
{
    const std::vector<QString> seeds = {QStringLiteral("1,5"), QStringLiteral(" -12,75e-3 "), QStringLiteral("$7FFFFFFF"),
                                        QStringLiteral("1,79769313486232E308"), QStringLiteral("0x1F"),
                                        QStringLiteral("4,94065645841247E-324"), QStringLiteral("1.234,5")};
    const QString alphabet = QStringLiteral("0123456789,.eE+-$xX \u00A0");
    test::Mutator mutator(8102);
    for (int round = 0; round < rounds; ++round) {
        const QString text = mutator.mutateText(seeds, alphabet);
        SCOPED_TRACE(text.toStdString());
        double value = 0;
        if (txt::tryStrToFloat(text, value)) {
            ASSERT_TRUE(std::isfinite(value));
            // The general form of what was read reads back to the same general form.
            const QString general = txt::floatToStr(value);
            EXPECT_EQ(txt::floatToStr(txt::strToFloat(general)), general);
        } else {
            EXPECT_THROW(txt::strToFloat(text), EConvertError);
        }
        double tolerant = 0;
        if (txt::tryTextToFloat(text, tolerant)) {
            EXPECT_TRUE(std::isfinite(tolerant));
        }
        int32_t integer = 0;
        if (!txt::tryStrToInt(text, integer)) {
            EXPECT_THROW(txt::strToInt(text), EConvertError);
        }
        txt::pascalVal(text, value);
        txt::pascalVal(text, integer);
    }
}

// Any finite double, from random bit patterns: its general form reads back to 15 digits.
TEST(TextFuzz, GeneralFormOfAnyFiniteValueReadsBack)
{
    std::mt19937_64 bits(8106);
    for (int round = 0; round < rounds; ++round) {
        const uint64_t pattern = bits();
        double v = 0;
        std::memcpy(&v, &pattern, sizeof v);
        if (!std::isfinite(v))
            continue;
        const QString text = txt::floatToStr(v);
        SCOPED_TRACE(text.toStdString());
        double back = 0;
        ASSERT_TRUE(txt::tryStrToFloat(text, back));
        EXPECT_EQ(txt::floatToStr(back), text);
    }
}

TEST(TextFuzz, FormatFloatPatternsStayInBounds)
{
    const std::vector<QString> seeds = {QStringLiteral("#,##0.00"), QStringLiteral("0.##E+00"), QStringLiteral("0.0;(0.0);nula"),
                                        QStringLiteral("0.0' ha'"), QStringLiteral("000000000000000000000000000000E+0##"),
                                        QStringLiteral("#.#\"x;y\"0E-0")};
    const QString alphabet = QStringLiteral("0#.,;Ee+-'\" x");
    test::Mutator mutator(8103);
    for (int round = 0; round < rounds; ++round) {
        const QString pattern = mutator.mutateText(seeds, alphabet);
        SCOPED_TRACE(pattern.toStdString());
        for (const double v : values) {
            const QString text = txt::formatFloat(pattern, v);
            EXPECT_LE(text.size(), patternBound(pattern.size()));
            EXPECT_FALSE(text.contains(QChar(0)));
        }
    }
}

TEST(TextFuzz, FormatDirectivesNeverMisbehave)
{
    const std::vector<QString> seeds = {QStringLiteral("%5d|%-8.3f|%s"), QStringLiteral("%1:s %0:*.*e %%"),
                                        QStringLiteral("%x %u %n %m %p %g"), QStringLiteral("Chyba : \"%s\" na pozici %d")};
    const QString alphabet = QStringLiteral("%0123456789:-.*dusxfgenmp ");
    test::Mutator mutator(8104);
    for (int round = 0; round < rounds; ++round) {
        const QString fmt = mutator.mutateText(seeds, alphabet);
        SCOPED_TRACE(fmt.toStdString());
        const QString text = txt::format(fmt, {int64_t(-42), 3.14159, QStringLiteral("text"), int64_t(99999)});
        // Widths are capped, so the text stays bounded by the directives it holds.
        EXPECT_LE(text.size(), 200100 * (fmt.count(QLatin1Char('%')) + 1) + fmt.size());
    }
}

TEST(TextFuzz, DateFormatsAndReaders)
{
    const std::vector<QString> formats = {QStringLiteral("dd.mm.yyyy hh:nn:ss.zzz"), QStringLiteral("c"),
                                          QStringLiteral("dddd d. mmmm yy 'v' h:mm am/pm"), QStringLiteral("ddddd tt ampm a/p")};
    const std::vector<QString> texts = {QStringLiteral("29.2.2024"), QStringLiteral("1.1.0001 0:00"),
                                        QStringLiteral(" 31.12.9999 23:59:59.999 "), QStringLiteral("6:00"), QStringLiteral("29.12.1899 6:00")};
    test::Mutator mutator(8105);
    for (int round = 0; round < rounds; ++round) {
        const QString fmt = mutator.mutateText(formats, QStringLiteral("dmyhnszct/:'\"ap ."));
        SCOPED_TRACE(fmt.toStdString());
        for (const double v : values) {
            try {
                EXPECT_LE(txt::formatDateTime(fmt, v).size(), 40 * fmt.size() + 100);
            } catch (const EConvertError&) {
                // A value outside years 1..9999.
            }
        }
        const QString text = mutator.mutateText(texts, QStringLiteral("0123456789.: "));
        SCOPED_TRACE(text.toStdString());
        txt::DateTime dt = 0;
        if (txt::tryStrToDateTime(text, dt)) {
            // What was read shows and reads back as itself.
            const QString shown = txt::formatDateTime(u"d.m.yyyy h:nn:ss.zzz", dt);
            txt::DateTime again = 0;
            ASSERT_TRUE(txt::tryStrToDateTime(shown, again)) << shown.toStdString();
            EXPECT_EQ(txt::formatDateTime(u"d.m.yyyy h:nn:ss.zzz", again), shown);
        } else {
            EXPECT_THROW(txt::strToDateTime(text), EConvertError);
        }
    }
}

} // namespace
