// Tests of the element selectors: what each variant collects over a small tree, levels, accumulation, errors.
#include "ConditionTestSupport.h"

#include "framework/core/ClassRegistry.h"
#include "framework/expressions/ConditionSyntax.h"
#include "framework/expressions/Selectors.h"

#include <gtest/gtest.h>

using condtest::TTestStand;

namespace {

// The tree, every stand with its Plocha; P is a plain entity (not owner-aware, no Plocha):
//   R 1
//   +- A 10
//   |  +- A1 10
//   |  +- A2 3
//   +- P
//   |  +- P1 30
//   +- B 5
//      +- B1 20
// R itself is held by a world container, so it has an owner as well.
class Selectors : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RegisterT_selectUnit();
        root = stand(world.get(), "R", 1);
        TTestStand* a = stand(root, "A", 10);
        stand(a, "A1", 10);
        stand(a, "A2", 3);
        auto* plain = root->AddNew<TEntity>();
        stand(plain, "P1", 30);
        TTestStand* b = stand(root, "B", 5);
        stand(b, "B1", 20);
    }

    void TearDown() override
    {
        for (TElement* result : results)
            FreeObject(result);
    }

    static TTestStand* stand(TEntity* parent, const char* name, qint32 plocha)
    {
        auto* s = parent->AddNew<TTestStand>();
        s->SetName(QString::fromLatin1(name));
        s->plocha = plocha;
        return s;
    }

    // Runs the selector over input and answers the names of what its Output holds.
    QStringList run(TSelector& selector, const QString& condition, TElement* input)
    {
        selector.SetCondition(condition);
        selector.SetInput(input);
        selector.Execute();
        return namesOf(selector);
    }

    QStringList namesOf(TSelector& selector)
    {
        QStringList names;
        auto* result = dynamic_cast<TEntity*>(selector.Output());
        if (!result)
            return names;
        if (!results.contains(result))
            results.append(result);   // the caller owns the result container
        for (int i = 0; i < result->Count(); ++i)
            names << result->Items(i)->GetName();
        return names;
    }

    Owned<TOwnerEntity> world = Create<TOwnerEntity>();
    TTestStand* root = nullptr;
    QList<TElement*> results;
};

QStringList names(std::initializer_list<const char*> list)
{
    QStringList out;
    for (const char* n : list)
        out << QString::fromLatin1(n);
    return out;
}

TEST_F(Selectors, AllSelectorCollectsEveryOwnerAwareMatch)
{
    auto selector = Create<TAllSelector>();
    EXPECT_EQ(run(*selector, QStringLiteral("Plocha > 9"), root), names({"A", "A1", "P1", "B1"}));
    // The matches stay in their containers; the result is one more owner.
    EXPECT_EQ(dynamic_cast<TOwnerEntity&>(*selector->Output()).Items(0)->OwnersCount(), 2);
}

// All skips plain entities but searches them; First takes the topmost match of each branch;
// AbsFirst takes one match.
TEST_F(Selectors, VariantsOverTheTree)
{
    const struct {
        const char* selector;
        const char* condition;
        QStringList expected;
    } cases[] = {{"AllSelector", "ANCESTOR(TEntity)", names({"R", "A", "A1", "A2", "P1", "B", "B1"})},
                 {"FirstSelector", "Plocha > 9", names({"A", "P1", "B1"})},
                 {"AbsFirstSelector", "Plocha > 9", names({"A"})},
                 {"AbsFirstSelector", "Plocha > 15", names({"P1"})}};
    for (const auto& c : cases) {
        const Owned<TElement> element = CreateElementByName(QString::fromLatin1(c.selector));
        auto* selector = dynamic_cast<TSelector*>(element.get());
        ASSERT_TRUE(selector) << c.selector;
        EXPECT_EQ(run(*selector, QString::fromLatin1(c.condition), root), c.expected) << c.selector;
    }
}

struct LevelCase {
    const char* name;
    qint32 maxlevel;
    const char* expected;
};

class LevelSelector : public Selectors, public ::testing::WithParamInterface<LevelCase>
{
};

TEST_P(LevelSelector, TestsDownToMaxlevel)
{
    auto selector = Create<TLevelSelector>();
    selector->SetPropAsInteger(QStringLiteral("Maxlevel"), GetParam().maxlevel);
    EXPECT_EQ(run(*selector, QStringLiteral("Plocha > 0"), root).join(QLatin1Char(' ')),
              QString::fromLatin1(GetParam().expected));
    EXPECT_EQ(selector->Level(), 1);
}

INSTANTIATE_TEST_SUITE_P(Levels, LevelSelector,
                         ::testing::Values(LevelCase{"Zero", 0, "R"}, LevelCase{"One", 1, "R"},
                                           LevelCase{"Two", 2, "R A B"},
                                           LevelCase{"Three", 3, "R A A1 A2 P1 B B1"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Selectors, ResultAccumulatesOverRuns)
{
    auto selector = Create<TAllSelector>();
    run(*selector, QStringLiteral("Plocha > 15"), root);
    EXPECT_EQ(run(*selector, QStringLiteral("Plocha > 15"), root), names({"P1", "B1", "P1", "B1"}));
    EXPECT_EQ(dynamic_cast<TEntity*>(selector->Output())->Items(0)->OwnersCount(), 3);
    // The condition is parsed anew at each run; the previous tree is released.
    EXPECT_EQ(run(*selector, QStringLiteral("Plocha = 3"), root), names({"P1", "B1", "P1", "B1", "A2"}));
    EXPECT_EQ(selector->GetParameters()->Count(), 1);
}

TEST_F(Selectors, InputWithoutOwner)
{
    auto loose = Create<TTestStand>();
    loose->SetName(QStringLiteral("L"));
    for (const char* name : {"FirstSelector", "AbsFirstSelector", "LevelSelector"}) {
        const Owned<TElement> element = CreateElementByName(QString::fromLatin1(name));
        EXPECT_TRUE(run(dynamic_cast<TSelector&>(*element), QStringLiteral("Plocha = 0"), loose.get()).isEmpty()) << name;
    }

    // TAllSelector takes it, and the result container becomes its only owner.
    auto all = Create<TAllSelector>();
    TTestStand* held = loose.release();
    const WeakRef<TTestStand> watch(held);
    EXPECT_EQ(run(*all, QStringLiteral("Plocha = 0"), held), names({"L"}));
    TElement* result = all->Output();
    results.removeAll(result);
    FreeObject(result);
    EXPECT_TRUE(watch.isDangling());
}

TEST_F(Selectors, ClassAndExistsPropConditions)
{
    auto selector = Create<TAllSelector>();
    EXPECT_EQ(run(*selector, QStringLiteral("CLASS(ttestStand) AND NOT (Plocha > 4)"), root), names({"R", "A2"}));
    auto other = Create<TFirstSelector>();
    EXPECT_EQ(run(*other, QStringLiteral("EXISTSPROP(Plocha)"), root), names({"R"}));
}

// --- failures ----------------------------------------------------------------------------------

TEST_F(Selectors, BlankConditionExpectsAnIdentifier)
{
    auto selector = Create<TAllSelector>();
    selector->SetCondition(QStringLiteral("   "));
    selector->SetInput(root);
    try {
        selector->Execute();
        FAIL() << "no error";
    } catch (const SyntaxExcept& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Ocekavam indentifikator"));
        EXPECT_EQ(e.Position(), 1);
    }
    EXPECT_TRUE(namesOf(*selector).isEmpty());
    EXPECT_EQ(selector->ConditionTree(), nullptr);
}

TEST_F(Selectors, WithoutInputNothingHappens)
{
    auto selector = Create<TAllSelector>();
    selector->SetCondition(QStringLiteral("="));
    EXPECT_NO_THROW(selector->Execute());
    EXPECT_EQ(selector->Output(), nullptr);
}

TEST_F(Selectors, EvaluationErrorEndsTheWalkKeepingTheSelection)
{
    auto selector = Create<TAllSelector>();
    EXPECT_THROW(run(*selector, QStringLiteral("100 / (Plocha - 3) > 0"), root), EZeroDivide);
    EXPECT_EQ(namesOf(*selector), names({"A", "A1"}));
}

TEST_F(Selectors, MissingPropertyIsNoMatchAndNoError)
{
    auto selector = Create<TAllSelector>();
    EXPECT_TRUE(run(*selector, QStringLiteral("Vyska > 1"), root).isEmpty());
}

} // namespace
