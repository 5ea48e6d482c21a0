// Tests of interpretation scripts: class nodes by inheritance, instance leaves, passes, errors.
#include "graphics/interpret/InterpretScript.h"

#include "graphics/interpret/BasicInterpreters.h"
#include "graphics/support/GraphicsTestSupport.h"

#include <gtest/gtest.h>

namespace {

// A named list interpreter, so answers can be told apart.
TInterpret* named(const QString& name)
{
    auto* i = Create<TTextListInterpret>().release();
    i->SetName(name);
    return i;
}

void addClass(TInterpretScript& s, const QString& cls, const QString& interpret)
{
    s.SetNewClassName(cls);
    ASSERT_EQ(s.Error(), 0) << cls.toStdString();
    s.SetActualInterpret(named(interpret));
}

QString answerFor(TInterpretScript& s, TElement* e)
{
    TInterpret* i = s.InterpretFor(e);
    return i ? i->GetName() : QStringLiteral("nil");
}

TEST(InterpretScript, MostSpecificClassNodeWinsInEitherOrderOfAdding)
{
    gtest_support::registerAll();
    for (const bool areaFirst : {false, true}) {
        auto s = Create<TInterpretScript>();
        if (areaFirst) {
            addClass(*s, "TAreaElement", "area");
            addClass(*s, "TSpaceEntity", "space");
        } else {
            addClass(*s, "TSpaceEntity", "space");
            addClass(*s, "TAreaElement", "area");
        }
        auto area = Create<TAreaElement>();
        auto point = Create<TPointElement>();
        auto plain = Create<TRectEntity>();
        EXPECT_EQ(answerFor(*s, area.get()), "area") << areaFirst;
        EXPECT_EQ(answerFor(*s, point.get()), "space") << areaFirst;
        EXPECT_EQ(answerFor(*s, plain.get()), "nil") << areaFirst;
        // The area node sits inside the space-entity node.
        EXPECT_EQ(s->Instances()->Count(), 1);
    }
}

TEST(InterpretScript, InstanceLeafOverridesItsClassNodeForThatElementOnly)
{
    gtest_support::registerAll();
    auto s = Create<TInterpretScript>();
    auto special = Create<TAreaElement>();
    auto other = Create<TAreaElement>();
    // Leaf first, class node later (the leaf moves into it), and the other way round.
    s->SetNewElement(special.get());
    s->SetActualInterpret(named("special"));
    addClass(*s, "TAreaElement", "area");
    EXPECT_EQ(answerFor(*s, special.get()), "special");
    EXPECT_EQ(answerFor(*s, other.get()), "area");

    auto s2 = Create<TInterpretScript>();
    addClass(*s2, "TAreaElement", "area");
    s2->SetNewElement(special.get());
    s2->SetActualInterpret(named("special"));
    EXPECT_EQ(answerFor(*s2, special.get()), "special");
    EXPECT_EQ(answerFor(*s2, other.get()), "area");
    s2->SetFindElement(special.get());
    EXPECT_EQ(s2->Error(), 0);
    EXPECT_EQ(s2->ActualInterpretName(), "special");
}

TEST(InterpretScript, PassesAndTheirErrors)
{
    auto s = Create<TInterpretScript>();
    s->SetPassesCount(2);
    EXPECT_EQ(s->PassesCount(), 2);
    s->SetPass(1);
    EXPECT_EQ(s->Error(), 0);
    s->SetPass(5);
    EXPECT_EQ(s->Error(), ScriptError::PassOutOfRange);
    EXPECT_EQ(s->Pass(), 0);
    EXPECT_EQ(s->Instances()->GetName(), "Pass 1");
}

TEST(InterpretScript, ShrinkingAwayTheCurrentPassFallsBackToPassZero)
{
    gtest_support::registerAll();
    auto s = Create<TInterpretScript>();
    s->SetPassesCount(3);
    s->SetPass(2);
    addClass(*s, "TAreaElement", "area");
    s->SetPassesCount(1);
    EXPECT_EQ(s->PassesCount(), 1);
    EXPECT_EQ(s->Pass(), 0);
    EXPECT_EQ(s->ActualItem(), s.get());
    EXPECT_EQ(s->Instances()->GetName(), "Pass 1");
    auto area = Create<TAreaElement>();
    EXPECT_EQ(answerFor(*s, area.get()), "nil");
}

TEST(InterpretScript, ActualItemQueriesReportThroughError)
{
    gtest_support::registerAll();
    auto s = Create<TInterpretScript>();
    EXPECT_EQ(s->ActualClassName(), "TElement");
    EXPECT_EQ(s->Error(), ScriptError::WrongItem);
    auto e = Create<TPointElement>();
    s->SetNewElement(e.get());
    EXPECT_EQ(s->ActualClassName(), "NIL");
    EXPECT_EQ(s->Error(), 0);
    EXPECT_EQ(s->ActualElement(), e.get());
    s->SetNewElement(nullptr);
    EXPECT_EQ(s->Error(), ScriptError::NilElement);
    s->SetNewClassName("TNoSuchClass");
    EXPECT_EQ(s->Error(), ScriptError::ClassNotRegistered);
    s->SetFindInterpretName("nobody");
    EXPECT_EQ(s->Error(), ScriptError::NotFound);
    EXPECT_EQ(s->ActualItem(), s.get());
    s->SetFindElement(e.get());
    EXPECT_EQ(s->ActualInterpretName(), "");
    EXPECT_EQ(s->Error(), ScriptError::NoInterpret);
    s->SetActualInterpretName("TTextListInterpret");
    EXPECT_EQ(s->Error(), 0);
    s->SetFindInterpretName("ttextlistinterpret");
    EXPECT_EQ(s->ActualElement(), e.get());
    s->SetDeleteActualItem(0);
    EXPECT_EQ(s->ActualItem(), s.get());
    s->SetFindElement(e.get());
    EXPECT_EQ(s->Error(), ScriptError::NotFound);
}

TEST(InterpretScript, ChangingTheClassOfANodeReordersTheTree)
{
    gtest_support::registerAll();
    auto s = Create<TInterpretScript>();
    addClass(*s, "TSpaceEntity", "space");
    addClass(*s, "TPointElement", "was point");
    s->SetActualClassName("TAreaElement");
    EXPECT_EQ(s->Error(), 0);
    auto area = Create<TAreaElement>();
    auto point = Create<TPointElement>();
    EXPECT_EQ(answerFor(*s, area.get()), "was point");
    EXPECT_EQ(answerFor(*s, point.get()), "space");
    s->SetActualClassName("TNoSuchClass");
    EXPECT_EQ(s->Error(), ScriptError::ClassNotRegistered);
}

} // namespace
