// Timings of the condition parser on long generated conditions, against one plain pass over the same text.
#include "framework/expressions/ConditionParser.h"
#include "framework/expressions/ConditionSyntax.h"

#include <QString>

#include <benchmark/benchmark.h>

namespace {

// A flat selection: "PLOCHA = 0 OR VEK < 1 AND ..." up to about `length` characters.
QString flatCondition(int length)
{
    static const char* const pieces[] = {"PLOCHA = %1", "VEK < %1", "NOT (DRUH = 'SM%1')", "ZASOBA * 2 > %1.5",
                                         "ROUND(BON) = %1 MOD 3"};
    QString text = QStringLiteral("VEK > 0");
    for (int i = 0; text.size() < length; ++i)
        text += QString::fromLatin1(i % 3 == 0 ? " AND " : " OR ") + QString::fromLatin1(pieces[i % 5]).arg(i);
    return text;
}

// Groups nested a few levels deep, repeated: "((A = 1 OR (B < 2 AND -C > 3)) AND ...".
QString nestedCondition(int length)
{
    QString text = QStringLiteral("X = 1");
    for (int i = 0; text.size() < length; ++i)
        text += QStringLiteral(" OR ((A%1 = 1 OR (B < -2 AND NOT (-C > SIN(%1)))) AND 'x' < D)").arg(i);
    return text;
}

// The baseline: one plain pass that looks at every character.
void plainPass(benchmark::State& state, const QString& text)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(text.count(QLatin1Char('(')));
    state.SetComplexityN(text.size());
}

void scanOnly(benchmark::State& state, const QString& text)
{
    for (auto _ : state) {
        const Syntax::ConditionTokens tokens(text);
        benchmark::DoNotOptimize(tokens.count());
    }
    state.SetComplexityN(text.size());
}

// Parse and free the tree.
void parse(benchmark::State& state, const QString& text)
{
    auto creator = Create<TExpressionCreator>();
    for (auto _ : state) {
        Owned<TOperator> tree = creator->ParseExpression(text);
        benchmark::DoNotOptimize(tree.get());
    }
    state.SetComplexityN(text.size());
}

void BM_FlatPlainPass(benchmark::State& state)
{
    plainPass(state, flatCondition(static_cast<int>(state.range(0))));
}
void BM_FlatScan(benchmark::State& state)
{
    scanOnly(state, flatCondition(static_cast<int>(state.range(0))));
}
void BM_FlatParse(benchmark::State& state)
{
    parse(state, flatCondition(static_cast<int>(state.range(0))));
}
void BM_NestedParse(benchmark::State& state)
{
    parse(state, nestedCondition(static_cast<int>(state.range(0))));
}

// A selector's condition: TCondCreator builds it (the variable list shared by every node), one
// evaluation, then the tree is freed.
void BM_ConditionLifetime(benchmark::State& state)
{
    const QString text = flatCondition(static_cast<int>(state.range(0)));
    auto current = Create<TQuickEntity>();
    auto creator = Create<TCondCreator>();
    creator->SetCommand(text);
    for (auto _ : state) {
        creator->Execute();
        Owned<TCondition> condition(dynamic_cast<TCondition*>(creator->Output()));
        condition->SetVariable(0, current.get());
        benchmark::DoNotOptimize(condition->EvaluateBoolean());
    }
    state.SetComplexityN(text.size());
}

// NOT over NOT up to the nesting limit: each operand is the rest of the text.
void BM_NotChainParse(benchmark::State& state)
{
    parse(state, QStringLiteral("NOT ").repeated(static_cast<int>(state.range(0))) + QStringLiteral("a"));
}

} // namespace

BENCHMARK(BM_FlatPlainPass)->RangeMultiplier(10)->Range(1000, 100000)->Complexity();
BENCHMARK(BM_FlatScan)->RangeMultiplier(10)->Range(1000, 100000)->Complexity();
BENCHMARK(BM_FlatParse)->RangeMultiplier(10)->Range(1000, 100000)->Complexity()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NestedParse)->RangeMultiplier(10)->Range(1000, 100000)->Complexity()->Unit(benchmark::kMillisecond);

BENCHMARK(BM_ConditionLifetime)->RangeMultiplier(10)->Range(1000, 100000)->Complexity()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NotChainParse)->Arg(25)->Arg(250)->Complexity();

BENCHMARK_MAIN();
