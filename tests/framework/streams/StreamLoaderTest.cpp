// Tests of the steps of the model-stream loader and saver that descendants override.
#include "framework/streams/StreamLoader.h"
#include "framework/streams/StreamSaver.h"

#include "framework/core/StartupRegistration.h"
#include "framework/values/TypedValues.h"
#include "platform/ui/Services.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Records the steps of a load; the model is read as usual.
class TStepLoader : public TLoad
{
public:
    using TLoad::TLoad;

    void BeginLoading() override
    {
        auto& ui = dynamic_cast<ui::RecordingServices&>(ui::services());
        const int before = ui.processEventsCount;
        TLoad::BeginLoading();
        eventsAtBegin = ui.processEventsCount - before;
        steps << "BeginLoading";
    }
    void CreateTables() override { steps << "CreateTables"; TLoad::CreateTables(); }
    void AfterHeader() override { steps << "AfterHeader"; }
    void BeginClassEntry(const QString& name) override
    {
        steps << "class " + name;
        TLoad::BeginClassEntry(name);
    }
    void AddStoredProperty(const QString& name, qint32 kind) override
    {
        ++storedProperties;
        TLoad::AddStoredProperty(name, kind);
    }
    Owned<TElement> BeginElement(qint32 classNumber) override
    {
        steps << QStringLiteral("element %1").arg(classNumber);
        return TLoad::BeginElement(classNumber);
    }
    void ApplyValue(TElement* element, PPropInfo prop, const PropValue& value) override
    {
        steps << "value " + prop->Name;
        TLoad::ApplyValue(element, prop, value);
    }
    void AddStoredChild(TElement* element, qint32 index) override
    {
        steps << QStringLiteral("child %1").arg(index);
        TLoad::AddStoredChild(element, index);
    }
    void FreeTables() override { steps << "FreeTables"; TLoad::FreeTables(); }
    void EndLoading() override { steps << "EndLoading"; TLoad::EndLoading(); }

    QStringList steps;
    int storedProperties = 0;
    int eventsAtBegin = 0;
};

// Records the classes the saver registers, in walk order.
class TStepSaver : public TSave
{
public:
    using TSave::TSave;
    int RegisterElementClass(TElement* element) override
    {
        classes << element->ClassName();
        return TSave::RegisterElementClass(element);
    }
    QStringList classes;
};

TEST(StreamSteps, OverriddenStepsRunInTheirOrder)
{
    RegisterFrameworkUnits();
    QTemporaryDir dir;
    const QString file = QDir(dir.path()).filePath("steps.lmx");
    auto root = Create<TOwnerEntity>();
    root->SetName("Les");
    root->Add(TStringElement::CreateValue("smrk").release());

    auto saver = Create<TStepSaver>(file);
    saver->SetInput(root.get());
    saver->Execute();
    EXPECT_EQ(saver->classes, QStringList({"TStringElement", "TOwnerEntity"}));

    auto loader = Create<TStepLoader>(file);
    loader->Execute();
    EXPECT_EQ(loader->steps, QStringList({"BeginLoading", "CreateTables", "AfterHeader", "class TStringElement",
                                          "element 0", "value Value", "class TOwnerEntity", "element 1", "value Name",
                                          "child 0", "FreeTables", "EndLoading"}));
    EXPECT_GT(loader->storedProperties, 0);
    // The progress start lets pending events run, and so does the beginning of the load.
    EXPECT_EQ(loader->eventsAtBegin, 2);
    Owned<TElement> loaded(loader->Output());
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->GetName(), "Les");
}

} // namespace
