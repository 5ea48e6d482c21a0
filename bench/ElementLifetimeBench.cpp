// Timings of creating, holding, releasing and freeing framework elements, against plain heap objects.
#include "framework/core/Elements.h"
#include "framework/expressions/Operators.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// The baseline: n small heap objects made and freed one after another.
void BM_PlainHeapObjects(benchmark::State& state)
{
    for (auto _ : state)
        for (int64_t i = 0; i < state.range(0); ++i) {
            auto object = std::make_unique<std::string>(40, 'x');
            benchmark::DoNotOptimize(object.get());
        }
    state.SetComplexityN(state.range(0));
}

// n separate create-and-free cycles of an element that is referred to weakly (it gets a handle).
void BM_SeparateCycles(benchmark::State& state)
{
    for (auto _ : state)
        for (int64_t i = 0; i < state.range(0); ++i) {
            Owned<TOwnerElement> element = Create<TOwnerElement>();
            const WeakRef<TOwnerElement> ref(element.get());
            benchmark::DoNotOptimize(ref.get());
        }
    state.SetComplexityN(state.range(0));
}

// n separate create-and-free cycles of a property reading expression node.
void BM_SeparateOperatorCycles(benchmark::State& state)
{
    for (auto _ : state)
        for (int64_t i = 0; i < state.range(0); ++i) {
            Owned<TReadPropOperator> node = Create<TReadPropOperator>();
            benchmark::DoNotOptimize(node.get());
        }
    state.SetComplexityN(state.range(0));
}

// An entity with n owner-aware children, then freed with them.
void BM_EntityOfChildren(benchmark::State& state)
{
    for (auto _ : state) {
        Owned<TEntity> entity = Create<TEntity>();
        for (int64_t i = 0; i < state.range(0); ++i)
            entity->AddNew<TOwnerElement>();
        benchmark::DoNotOptimize(entity->Count());
    }
    state.SetComplexityN(state.range(0));
}

// One element shared by n entities (as an expression tree shares its variable list), the
// entities freed in the order they took it, then in the reverse order.
void sharedElement(benchmark::State& state, bool reverse)
{
    for (auto _ : state) {
        std::vector<Owned<TEntity>> holders;
        holders.reserve(static_cast<size_t>(state.range(0)));
        auto* shared = Create<TOwnerElement>().release();
        for (int64_t i = 0; i < state.range(0); ++i) {
            holders.push_back(Create<TEntity>());
            holders.back()->Add(shared);
        }
        if (reverse)
            while (!holders.empty())
                holders.pop_back();
        else
            holders.clear();
        benchmark::DoNotOptimize(holders.size());
    }
    state.SetComplexityN(state.range(0));
}

void BM_SharedElementInOrder(benchmark::State& state)
{
    sharedElement(state, false);
}
void BM_SharedElementReversed(benchmark::State& state)
{
    sharedElement(state, true);
}

// A balanced tree of n nodes (n >= 1), built from property reads and a binary operator.
TOperator* operatorTree(int64_t n)
{
    if (n == 1)
        return Create<TReadPropOperator>().release();
    TOperator* node = Create<TAndOperator>().release();
    const int64_t left = (n - 1) / 2;
    node->SetOperand1(left > 0 ? operatorTree(left) : nullptr);
    node->SetOperand2(n - 1 - left > 0 ? operatorTree(n - 1 - left) : nullptr);
    return node;
}

// n nodes sharing one variable list, then freed.
void BM_OperatorTree(benchmark::State& state)
{
    for (auto _ : state) {
        Owned<TOperator> root(operatorTree(state.range(0)));
        root->SetVariables(Create<TShortList>().release());
        benchmark::DoNotOptimize(root.get());
    }
    state.SetComplexityN(state.range(0));
}

} // namespace

BENCHMARK(BM_PlainHeapObjects)->RangeMultiplier(10)->Range(1000, 100000)->Complexity()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SeparateCycles)->RangeMultiplier(10)->Range(1000, 100000)->Complexity()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SeparateOperatorCycles)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Complexity()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EntityOfChildren)->RangeMultiplier(10)->Range(1000, 100000)->Complexity()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SharedElementInOrder)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Complexity()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SharedElementReversed)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Complexity()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OperatorTree)->RangeMultiplier(10)->Range(1000, 100000)->Complexity()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
