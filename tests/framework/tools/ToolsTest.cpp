// Tests of tools and technologies: parameters, chaining, selection, building from models, messages.
#include "framework/core/ClassRegistry.h"
#include "framework/core/StartupRegistration.h"
#include "framework/tools/Tools.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Outputs a new string element: its input's text followed by Suffix. The results live in Results.
class TSuffixTool : public TTool
{
public:
    static TClass StaticClass()
    {
        static const TClassInfo info = describeClass<TSuffixTool, TTool>("TSuffixTool", [](PropertyTable<TSuffixTool>& t) {
            t.string("Suffix", [](TSuffixTool& s) { return s.suffix; },
                     [](TSuffixTool& s, const QString& v) { s.suffix = v; });
        });
        return &info;
    }
    TClass ClassType() const override { return StaticClass(); }

    void Execute() override
    {
        TTool::Execute();
        ++runs;
        auto* in = dynamic_cast<TTypeElement*>(Input());
        TStringElement* out = TStringElement::CreateValue((in ? in->GetAsString() : QString()) + suffix).release();
        results()->Add(out);
        SetOutput(out);
    }
    static TQuickEntity* results()
    {
        static TQuickEntity* holder = Create<TQuickEntity>().release();
        return holder;
    }

    QString suffix;
    int runs = 0;
};

// What a delivered message carried (the message itself is freed after delivery).
struct Seen {
    qint32 code;
    QString className;
    TElement* sender;
    TElement* receiver;
    QString text;
    qint32 min = 0, max = 0, progress = 0;
};

class Tools : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        RegisterFrameworkUnits();
        RegisterUnitClasses({TSuffixTool::StaticClass()});
    }
    void SetUp() override
    {
        // Records every message and delivers it to its receiver, as a world would.
        SetFrameworkMessageHandler([this](TLumexMessage& msg, bool& handled) {
            Seen s{msg.Message(), msg.ClassName(), msg.Sender(), msg.Receiver(), QString()};
            if (auto* text = dynamic_cast<TLumexTextMessage*>(&msg))
                s.text = text->Text();
            if (auto* progress = dynamic_cast<TProgressMessage*>(&msg)) {
                s.min = progress->MinProgress();
                s.max = progress->MaxProgress();
                s.progress = progress->Progress();
                s.text = progress->ProcessName();
            }
            seen.push_back(s);
            if (TElement* receiver = msg.Receiver())
                receiver->HandleMessage(msg, handled);
        });
    }
    void TearDown() override
    {
        DispatchFrameworkMessages();
        SetFrameworkMessageHandler({});
        TSuffixTool::results()->Clear();
    }
    QStringList texts()
    {
        DispatchFrameworkMessages();
        QStringList out;
        for (const Seen& s : seen)
            if (s.code == LumexCode::Info)
                out << s.text;
        return out;
    }
    static TSuffixTool* suffixTool(const char* suffix)
    {
        TSuffixTool* tool = Create<TSuffixTool>().release();
        tool->suffix = suffix;
        return tool;
    }

    std::vector<Seen> seen;
};

TEST_F(Tools, SeqTechnologyChainsOutputs)
{
    auto tech = Create<TSeqTechnology>();
    TSuffixTool* tools[] = {suffixTool("a"), suffixTool("b"), suffixTool("c")};
    for (TSuffixTool* t : tools)
        tech->AddTool(t);
    auto start = TStringElement::CreateValue("x");
    tech->SetInput(start.get());
    tech->Execute();

    auto* out = dynamic_cast<TStringElement*>(tech->Output());
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(out->GetAsString(), "xabc");
    for (TSuffixTool* t : tools)
        EXPECT_EQ(t->GetParameters(), tech->GetParameters());   // shared
    EXPECT_EQ(tech->GetParameters()->OwnersCount(), 4);
    tech->Execute();   // the parameters are not handed over again
    EXPECT_EQ(tech->GetParameters()->OwnersCount(), 4);
    EXPECT_EQ(dynamic_cast<TStringElement*>(tech->Output())->GetAsString(), "xabcabc");

    // New parameters for the technology leave the shared ones to the tools.
    const WeakRef<TParameters> shared = tech->GetParameters();
    tech->SetParameters(Create<TParameters>().release());
    ASSERT_FALSE(shared.isDangling());
    EXPECT_EQ(tools[0]->GetParameters(), shared.get());
}

TEST_F(Tools, ActiveIndexOutsideTheToolsIsNone)
{
    auto tech = Create<TSeqTechnology>();
    TSuffixTool* second = nullptr;
    for (const char* suffix : {"a", "b"})
        second = dynamic_cast<TSuffixTool*>(tech->AddTool(suffixTool(suffix)));
    tech->SetActiveIndex(1);
    EXPECT_EQ(tech->ActiveTool(), second);
    for (const int index : {-5, 2, 3}) {
        tech->SetActiveIndex(index);
        EXPECT_EQ(tech->ActiveIndex(), -1) << index;
        EXPECT_EQ(tech->ActiveTool(), nullptr) << index;
    }
}

TEST_F(Tools, SelectTechnologyFallsBackToElseTool)
{
    auto tech = Create<TSelectTechnology>();
    tech->AddTool(suffixTool("0"));
    tech->AddTool(suffixTool("1"));
    auto start = TStringElement::CreateValue("x");
    tech->SetInput(start.get());

    tech->SetSelIndex(1);
    tech->Execute();
    EXPECT_EQ(dynamic_cast<TTypeElement*>(tech->Output())->GetAsString(), "x1");
    EXPECT_FALSE(tech->IsExecuted());

    tech->SetPropAsInteger("SelIndex", 5);
    TElement* before = tech->Output();
    tech->Execute();   // no ElseTool: nothing
    EXPECT_EQ(tech->Output(), before);

    TSuffixTool* otherwise = suffixTool("E");
    tech->SetElseTool(otherwise);
    tech->SetElseTool(otherwise);
    EXPECT_EQ(tech->IndexOf(otherwise), tech->LastIndex());
    EXPECT_EQ(otherwise->OwnersCount(), 1);
    tech->Execute();
    EXPECT_EQ(dynamic_cast<TTypeElement*>(tech->Output())->GetAsString(), "xE");
}

// Replacing an aliased parameter is the alias list's (see the element tests).
TEST_F(Tools, ParametersByAliasOrName)
{
    auto tool = Create<TTool>();
    TStringElement* first = TStringElement::CreateNamed("vlastni", "1").release();
    tool->SetParameter("Alias", first);
    EXPECT_EQ(tool->GetParameter("ALIAS"), first);
    EXPECT_EQ(tool->GetParameter("vlastni"), first);
    tool->SetPropAsInteger("NextParameter", ObjectHandle(TStringElement::CreateNamed("Jmeno", "3").release()));
    EXPECT_EQ(dynamic_cast<TTypeElement*>(tool->GetParameter("jmeno"))->GetAsString(), "3");
}

TEST_F(Tools, TechnologyBuiltFromModelChainsItsTools)
{
    auto models = Create<TOwnerEntity>();   // a model is shared by its holder and the tool built from it
    auto* model = models->AddNew<TToolModel>();
    model->SetName("Retez");
    model->SetElementClassName("TSeqTechnology");
    for (const char* suffix : {"-1", "-2"}) {
        model->NewToolName(QStringLiteral("Krok%1").arg(suffix));
        auto* sub = dynamic_cast<TToolModel*>(model->ModelTools()->Items(model->ModelTools()->LastIndex()));
        sub->SetElementClassName("SuffixTool");   // resolved only with the T prefix: unknown
        if (QString(suffix) == "-2")
            sub->SetElementClassName("TSuffixTool");
        sub->NewPropertyName("Suffix");
        dynamic_cast<TPropertyModel*>(sub->ModelProperties()->Items(0))->SetValue(suffix);
    }
    auto top = Create<TSeqTechnology>();
    TTool* built = top->NewToolByModel(model);
    ASSERT_NE(built, nullptr);
    EXPECT_EQ(model->OwnersCount(), 2);
    auto* tech = dynamic_cast<TSeqTechnology*>(built);
    ASSERT_NE(tech, nullptr);
    ASSERT_EQ(tech->ToolCount(), 1);
    EXPECT_EQ(texts(), QStringList({"Unknown class: SuffixTool"}));
    auto start = TStringElement::CreateValue("v");
    top->SetInput(start.get());
    top->Execute();
    EXPECT_EQ(dynamic_cast<TTypeElement*>(top->Output())->GetAsString(), "v-2");

    // A model of a class that is no tool builds nothing.
    model->SetElementClassName("TEntity");
    EXPECT_EQ(top->NewToolByModel(model), nullptr);
    EXPECT_EQ(top->NewToolByModel(nullptr), nullptr);
    EXPECT_EQ(texts(), QStringList({"Unknown class: SuffixTool", "Class: TEntity is not a Tool"}));
    EXPECT_EQ(top->ToolCount(), 1);
}

TEST_F(Tools, DynamicTechnologyStoresItsModelAndDropsItsTools)
{
    auto model = Create<TToolModel>();
    model->SetDynamicTool(true);
    model->NewToolName("Krok");
    auto* sub = dynamic_cast<TToolModel*>(model->ModelTools()->Items(0));
    sub->SetElementClassName("TSuffixTool");
    sub->NewPropertyName("Suffix");

    auto tech = Create<TSeqTechnology>();
    tech->SetName("Dyn");
    tech->SetSelfModel(model.release());
    tech->ApplyModel();
    EXPECT_EQ(tech->ToolCount(), 0);   // a dynamic tool builds its tools itself

    tech->CreateToolsFromModel();
    ASSERT_EQ(tech->ToolCount(), 1);
    dynamic_cast<TSuffixTool*>(tech->ToolAt(0))->suffix = "!";
    tech->DestroyDynamic();
    EXPECT_EQ(tech->ToolCount(), 0);
    EXPECT_EQ(dynamic_cast<TPropertyModel*>(sub->ModelProperties()->Items(0))->Value(), "!");
    EXPECT_EQ(texts(), QStringList({"Dyn: DestroyDynamic"}));
}

TEST_F(Tools, ReleasedToolIsFreedByItsTechnology)
{
    auto tech = Create<TSeqTechnology>();
    TSuffixTool* tool = suffixTool("a");
    tech->AddTool(tool);
    WeakRef<TTool> ref = tool;
    tool->Execute();
    // Code 2 asks the tool to release itself; it asks its owner (code 1), the technology frees it.
    tool->PostMessage(LumexCode::Release, tool, nullptr);
    DispatchFrameworkMessages();
    EXPECT_TRUE(ref.isDangling());
    EXPECT_EQ(tech->ToolCount(), 0);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].code, LumexCode::ReleaseRequest);
}

TEST_F(Tools, ProgressReportsArePosted)
{
    auto tool = Create<TTool>();
    tool->StepProgress(1);   // not started: nothing
    tool->StartProgress("Výpočet", 0, 10);
    tool->StepProgress(5);
    tool->ProgressText("polovina");
    tool->EndProgress();
    tool->StepProgress(6);
    tool->EndProgress();
    QStringList got;
    for (const Seen& s : seen)
        got << QStringLiteral("%1 %2 %3 %4-%5:%6").arg(s.code).arg(s.className, s.text).arg(s.min).arg(s.max).arg(s.progress);
    EXPECT_EQ(got, QStringList({QStringLiteral("%1 TProgressMessage Výpočet 0-10:0").arg(LumexCode::ProgressStart),
                                QStringLiteral("%1 TProgressMessage  0-0:5").arg(LumexCode::ProgressStep),
                                QStringLiteral("%1 TLumexTextMessage polovina 0-0:0").arg(LumexCode::ProgressText),
                                QStringLiteral("%1 TLumexMessage  0-0:0").arg(LumexCode::ProgressEnd)}));
    EXPECT_EQ(seen[0].sender, tool.get());
    EXPECT_EQ(seen[0].receiver, nullptr);
}

TEST_F(Tools, ToolFreedDuringProgressEndsIt)
{
    auto tool = Create<TTool>();
    tool->StartProgress("x", 0, 1);
    tool.reset();
    DispatchFrameworkMessages();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].code, LumexCode::ProgressEnd);
    EXPECT_EQ(seen[1].sender, nullptr);   // the sender is gone by then
}

} // namespace
