// Fuzz test of the expression evaluator: mutated and random expressions never crash and
// answer a code of the table, a finite number and a bounded text.
#include "reports/expressions/Expression.h"

#include "FakeOperandHost.h"
#include "reports/Mutator.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace reports;

TEST(ExpressionFuzz, NeverRaisesAndKeepsValuesBounded)
{
    test::FakeOperandHost host;
    host.columnNames = {QStringLiteral("ODD"), QStringLiteral("NAZEV")};
    host.functionNames = {QStringLiteral("Soucet")};
    host.columnValues = {test::number(12, QStringLiteral("12")), test::text(QString(255, QLatin1Char('x')))};
    const QByteArray seeds[] = {
        "IIF(#1 > 10, UPPER(#NAZEV) + 'ž', FORMAT(@Soucet / 3, '0.00'))",
        "SUBSTR(ALLTRIM('  abc '), -1E30, 1E30) + LEFT(#2, 300) + RIGHT(#2, 300)",
        "((2^3^2 - -1) * (1 AND NOT 0)) IN [1, 'a', #1, x] OR ASIN(0.5) <> ACOTG(2)",
        "MAX(MIN(EXP(700), 1E99), TAN(1)) * COTG(1) + LOG(10) + SGN(-2) + INT(2.7) + ABS(-1)",
    };
    test::Mutator mutator(4125);
    const auto check = [](const QString& text) {
        TOperandValue v;
        int pos = -1;
        const uint8_t code = EvaluateExpression(text, v, pos);
        ASSERT_LE(code, 13) << text.toStdString();
        ASSERT_GE(pos, 0);
        ASSERT_LE(pos, 255);
        ASSERT_TRUE(std::isfinite(v.Number)) << text.toStdString();
        ASSERT_LE(v.Text.size(), 255);
        if (code != 0) {
            ASSERT_EQ(v, TOperandValue{});
        }
    };
    for (int round = 0; round < 4000; ++round) {
        const QByteArray& seed = seeds[round % std::size(seeds)];
        check(QString::fromUtf8(mutator.mutate(seed)));
    }
    // random token soup
    const char* tokens[] = {"(", ")", ",", "+", "-", "*", "/", "^", "=", "<>", "<=", "IN", "AND", "NOT",
                            "OR", "1", "0", "1E99", "'a'", "[1,2]", "#1", "@1", "&1", "ABS", "IIF", " "};
    for (int round = 0; round < 3000; ++round) {
        QString text;
        const unsigned n = 1 + mutator.next(40);
        for (unsigned i = 0; i < n; ++i)
            text += QLatin1String(tokens[mutator.next(std::size(tokens))]);
        check(text);
    }
}
