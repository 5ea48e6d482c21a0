// Tests of the universal interpreter: passes, layers and scale limits, stopping, tiles, clipping.
#include "graphics/interpret/UniversalInterpret.h"

#include "framework/core/Messages.h"
#include "framework/elements/Timers.h"
#include "graphics/devices/TextDevices.h"
#include "graphics/devices/TextWindow.h"
#include "graphics/devices/TileDevice.h"
#include "graphics/interpret/BasicInterpreters.h"
#include "graphics/interpret/InterpretLayers.h"
#include "graphics/interpret/InterpretScript.h"
#include "platform/ui/Services.h"
#include "graphics/support/GraphicsTestSupport.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace {

using gtest_support::registerAll;

// A device that records what reaches it, on a 100 x 100 page at 1000 pixels per metre.
class RecordingDevice : public TDevice
{
public:
    void AfterConstruction() override
    {
        TDevice::AfterConstruction();
        Page()->SetPageRect({0, 0, 100, 100});
        Page()->SetClipRect({0, 0, 100, 100});
        Page()->SetResolution(1000, 1000);
        Projection()->Recalc(0, 0, Page(), 1000);
    }
    void WriteLn(const QString& s) override { log << QStringLiteral("list ") + s; }
    void LineTo(double, double) override { ++lines; }
    void BeginOutput() override { log << QStringLiteral("begin"); }
    void EndOutput() override { log << QStringLiteral("end"); }
    QStringList log;
    int lines = 0;
};

// Services whose event processing runs a hook (the user pressing a button meanwhile).
class HookedServices : public ui::RecordingServices
{
public:
    void processEvents() override
    {
        ++processEventsCount;
        if (hook)
            hook();
    }
    std::function<void()> hook;
};

class ServicesScope
{
public:
    explicit ServicesScope(ui::Services& s) : m_saved(&ui::services()) { ui::setServices(&s); }
    ~ServicesScope() { ui::setServices(m_saved); }

private:
    ui::Services* m_saved;
};

// A tick clock that moves one millisecond on every read, so an interval-0 timer rings at every
// element however fast the walk runs; the system clock comes back on leaving.
class SteppingClock
{
public:
    SteppingClock()
    {
        SetTickClock([this] { return ++m_now; });
    }
    ~SteppingClock() { SetTickClock({}); }
    SteppingClock(const SteppingClock&) = delete;
    SteppingClock& operator=(const SteppingClock&) = delete;

private:
    qint64 m_now = 0;
};

TPointElement* addPoint(TEntity* parent, const QString& name)
{
    auto* p = parent->AddNew<TPointElement>();
    p->SetName(name);
    AddAndExtend(p, Create<T2DCoordinate>(1, 1).release());
    return p;
}

TInterpretScript* listingScript(TUniversalInterpret& u, const QString& cls = QStringLiteral("TPointElement"))
{
    auto* s = Create<TInterpretScript>().release();
    u.SetScript(s);
    s->SetNewClassName(cls);
    s->SetActualInterpretName("TTextListInterpret");
    return s;
}

Owned<TUniversalInterpret> universalOn(TDevice* device)
{
    auto u = Create<TUniversalInterpret>();
    u->BindDevice(device);
    u->Timer()->SetInterval(0);
    return u;
}

int listed(const RecordingDevice& d)
{
    return static_cast<int>(d.log.filter(QStringLiteral("list ")).size());
}

TEST(UniversalInterpret, LayerScaleLimitsAreExclusiveAndSkippedLayersAreNotEntered)
{
    registerAll();
    struct Case {
        double min, max, scale;
        bool drawn;
    };
    for (const Case c : {Case{1000, 0, 1000, false}, Case{1000, 0, 1001, true}, Case{0, 10000, 10000, false},
                         Case{0, 10000, 9999, true}}) {
        auto device = Create<RecordingDevice>();
        device->Projection()->SetScale(c.scale);
        auto model = Create<TInterpretContainer>();
        auto* layer = model->AddNew<TInterpretLayer>();
        layer->SetMinScaleNumber(c.min);
        layer->SetMaxScaleNumber(c.max);
        addPoint(layer, "p");
        auto u = universalOn(device.get());
        listingScript(*u);
        u->SetInput(model.get());
        u->Execute();
        // The script lists points; a skipped layer is not entered, so nothing is listed.
        EXPECT_EQ(listed(*device), c.drawn ? 1 : 0) << c.min << " " << c.max << " " << c.scale;
    }
}

TEST(UniversalInterpret, SwitchedOffLayerIsNeitherTestedNorEntered)
{
    registerAll();
    auto device = Create<RecordingDevice>();
    auto model = Create<TInterpretContainer>();
    auto* layer = model->AddNew<TInterpretLayer>();
    layer->SetSwitchedOff(true);
    layer->SetLayerClassName("TPointElement");
    layer->SetInterpretName("TSpaceEntityInterpret");
    addPoint(layer, "p");
    auto u = universalOn(device.get());
    listingScript(*u);
    u->SetInput(model.get());
    u->Execute();
    EXPECT_EQ(listed(*device), 0);
    EXPECT_EQ(device->lines, 0);
}

TEST(UniversalInterpret, NestedLayersRestoreTheOuterInterpreter)
{
    registerAll();
    auto device = Create<RecordingDevice>();
    auto model = Create<TInterpretContainer>();
    auto* outer = model->AddNew<TInterpretLayer>();
    outer->SetLayerClassName("TPointElement");
    outer->SetInterpretName("TTextListInterpret");
    addPoint(outer, "p1");
    auto* inner = outer->AddNew<TInterpretLayer>();
    inner->SetLayerClassName("TPointElement");
    inner->SetInterpretName("TSpaceEntityInterpret");
    addPoint(inner, "p2");
    addPoint(outer, "p3");
    auto u = universalOn(device.get());
    u->SetInput(model.get());
    u->Execute();
    EXPECT_EQ(device->log.filter("list "), QStringList({"list TPointElement: p1 (SpaceID -1)",
                                                        "list TPointElement: p3 (SpaceID -1)"}));
    EXPECT_EQ(device->lines, 2);   // p2's cross, drawn by the inner layer's interpreter
    EXPECT_FALSE(u->InterpretByLayer());
}

TEST(UniversalInterpret, EachPassWalksTheModelWithItsOwnTable)
{
    registerAll();
    auto device = Create<RecordingDevice>();
    auto model = Create<TInterpretContainer>();
    addPoint(model.get(), "p");
    model->AddNew<TTextElement>()->SetName("t");
    auto u = universalOn(device.get());
    auto* s = Create<TInterpretScript>().release();
    u->SetScript(s);
    s->SetPassesCount(2);
    s->SetPass(0);
    s->SetNewClassName("TPointElement");
    s->SetActualInterpretName("TTextListInterpret");
    s->SetPass(1);
    s->SetNewClassName("TTextElement");
    s->SetActualInterpretName("TTextListInterpret");
    u->SetInput(model.get());
    u->Execute();
    EXPECT_EQ(device->log.filter("list "), QStringList({"list TPointElement: p (SpaceID -1)",
                                                        "list TTextElement: t (SpaceID -1)"}));
}

TEST(UniversalInterpret, StopFromTheTextWindowEndsTheRunWhichRunsAgainAndLetsTheWindowClose)
{
    registerAll();
    auto device = Create<TMemoFormDevice>();
    auto model = Create<TInterpretContainer>();
    for (int i = 0; i < 50; ++i)
        addPoint(model.get(), QString::number(i));
    auto u = universalOn(device.get());
    listingScript(*u);
    u->SetInput(model.get());
    HookedServices services;
    ServicesScope scope(services);
    SteppingClock clock;
    // The user presses "Přerušit" once the fifth point is listed.
    const auto listedPoints = [&] { return device->Form()->Text().count("TPointElement"); };
    services.hook = [&] {
        if (listedPoints() == 5 && !device->Form()->Text().contains("Přerušeno"))
            device->Form()->AbortExecute();
    };
    auto msg = TLumexMessage::CreateMessage(InterpretCode::InterpretElement, nullptr, u.get(), nullptr);
    bool handled = false;
    try {
        u->HandleMessage(*msg, handled);
        FAIL() << "no break";
    } catch (const EBreakInterpret& e) {
        EXPECT_EQ(e.message(), "Konec intepretace");
    }
    EXPECT_FALSE(u->IsRunning());
    EXPECT_FALSE(u->StopRequested());
    EXPECT_EQ(u->Input(), model.get());
    EXPECT_FALSE(device->Form()->Running());
    EXPECT_TRUE(device->Form()->Text().contains("***** Přerušeno uživatelem !!!!!! *****"));
    // The press takes effect before the next element.
    const int before = listedPoints();
    EXPECT_EQ(before, 5);

    services.hook = nullptr;
    handled = false;
    u->HandleMessage(*msg, handled);
    EXPECT_EQ(device->Form()->Text().count("TPointElement"), before + 50);
    QPointer<TStdtxtForm> form = device->Form();
    services.script({ui::Answer::No});   // do not save the listing
    EXPECT_TRUE(form->close());
}

TEST(UniversalInterpret, ClippedRunCutsAHugeRectangleToThePageAndSkipsAnEmptyOne)
{
    registerAll();
    auto device = Create<RecordingDevice>();
    auto u = universalOn(device.get());
    listingScript(*u, "TRectEntity");
    auto model = Create<TRectEntity>();
    u->SetInput(model.get());
    auto empty = Create<TRectEntity>();
    auto msg = TLumexMessage::CreateMessage(InterpretCode::InterpretClipped, nullptr, u.get(), empty.get());
    bool handled = false;
    u->HandleMessage(*msg, handled);
    EXPECT_TRUE(device->log.isEmpty());

    auto huge = Create<TRectEntity>();
    huge->SetMinX(-1e12);
    huge->SetMinY(-1e12);
    huge->SetMaxX(1e12);
    huge->SetMaxY(1e12);
    msg->SetData(huge.get());
    u->HandleMessage(*msg, handled);
    EXPECT_EQ(device->log, QStringList({"begin", "list TRectEntity: TRectEntity", "end"}));
    EXPECT_FALSE(device->Page()->ClipOn());
    EXPECT_EQ(device->Page()->ClipRect(), device->Page()->PageRect());
}

TEST(UniversalInterpret, ClippedRunOnTheTextDevicesLists)
{
    registerAll();
    QTemporaryDir dir;
    auto file = Create<TTextFileDevice>();
    file->SetFileName(dir.filePath("list.txt"));
    auto window = Create<TMemoFormDevice>();
    auto model = Create<TRectEntity>();
    model->SetMinX(0);
    model->SetMinY(0);
    model->SetMaxX(5);
    model->SetMaxY(5);
    for (TDevice* device : std::initializer_list<TDevice*>{file.get(), window.get()}) {
        auto u = universalOn(device);
        listingScript(*u, "TRectEntity");
        u->SetInput(model.get());
        auto msg = TLumexMessage::CreateMessage(InterpretCode::InterpretClipped, nullptr, u.get(), model.get());
        bool handled = false;
        u->HandleMessage(*msg, handled);
        EXPECT_FALSE(device->Page()->ClipOn());
    }
    QFile written(dir.filePath("list.txt"));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), "TRectEntity: TRectEntity\r\n");
    EXPECT_TRUE(window->Form()->Text().contains("TRectEntity: TRectEntity"));
    HookedServices services;
    ServicesScope scope(services);
    services.script({ui::Answer::No});   // do not save the listing
    EXPECT_TRUE(window->Form()->close());
}

// Abandons the run on the first element it is given.
class BreakingInterpret : public TInterpret
{
public:
    bool DescendTest(TElement*) override { return false; }
    void Action(TElement*) override { throw EBreakInterpret(QStringLiteral("Konec intepretace")); }
};

// A universal interpreter whose script abandons the run at the first rectangle entity.
Owned<TUniversalInterpret> breakingOn(TDevice* device)
{
    auto u = universalOn(device);
    auto* s = Create<TInterpretScript>().release();
    u->SetScript(s);
    s->SetNewClassName("TRectEntity");
    s->SetActualInterpret(Create<BreakingInterpret>().release());
    return u;
}

TEST(UniversalInterpret, AnAbandonedClippedRunRestoresClipDeviceAndRunningState)
{
    registerAll();
    auto device = Create<RecordingDevice>();
    auto u = breakingOn(device.get());
    auto model = Create<TRectEntity>();
    model->SetMinX(0);
    model->SetMinY(0);
    model->SetMaxX(1);
    model->SetMaxY(1);
    u->SetInput(model.get());
    auto msg = TLumexMessage::CreateMessage(InterpretCode::InterpretClipped, nullptr, u.get(), model.get());
    bool handled = false;
    EXPECT_THROW(u->HandleMessage(*msg, handled), EBreakInterpret);
    EXPECT_FALSE(device->Page()->ClipOn());
    EXPECT_EQ(device->Page()->ClipRect(), device->Page()->PageRect());
    EXPECT_EQ(device->log.back(), "end");
    EXPECT_FALSE(u->IsRunning());
    EXPECT_EQ(u->Device(), device.get());
    // Without a device nothing is drawn and nothing fails.
    auto bare = Create<TUniversalInterpret>();
    bare->SetInput(model.get());
    bare->HandleMessage(*msg, handled);
    bare->Execute();
}

TEST(UniversalInterpret, AnAbandonedTiledRunEndsItsProgressAndFreesItsStrip)
{
    registerAll();
    QList<qint32> progress;
    SetFrameworkMessageHandler([&progress](TLumexMessage& m, bool& handled) {
        if (m.Message() == LumexCode::ProgressStart || m.Message() == LumexCode::ProgressEnd)
            progress << m.Message();
        handled = true;
    });
    auto device = gtest_support::imageDevice(200, 400, 500, 10, 10);
    auto u = breakingOn(device.get());
    auto model = Create<TRectEntity>();
    u->SetTile(true);
    u->SetInput(model.get());
    EXPECT_THROW(u->Execute(), EBreakInterpret);
    DispatchFrameworkMessages();
    SetFrameworkMessageHandler({});
    EXPECT_EQ(progress, QList<qint32>({LumexCode::ProgressStart, LumexCode::ProgressEnd}));
    EXPECT_TRUE(u->TileDevice()->Finished());
    EXPECT_EQ(u->TileDevice()->Bitmap(), nullptr);
    EXPECT_EQ(u->Device(), device.get());
    EXPECT_FALSE(u->IsRunning());
}

// Draws the same areas directly and in strips onto a 200-pixel-wide page of the given height.
struct TileRun {
    QImage direct;
    QImage tiled;
    QStringList progress;
};

TileRun drawBothWays(int height)
{
    registerAll();
    auto model = Create<TInterpretContainer>();
    for (int i = 0; i < 12; ++i) {
        const double x = i * 3.0, y = i * 7.0 - 20;
        model->Add(gtest_support::ring({{x, y}, {x + 25, y + 3}, {x + 10, y + 30}}).release());
    }
    TileRun run;
    QStringList* progress = &run.progress;
    SetFrameworkMessageHandler([progress](TLumexMessage& m, bool& handled) {
        if (auto* t = dynamic_cast<TLumexTextMessage*>(&m); t && m.Message() == LumexCode::ProgressText)
            *progress << t->Text();
        handled = true;
    });
    for (const bool tile : {false, true}) {
        auto device = gtest_support::imageDevice(200, height, 500, 10, 10);
        auto u = universalOn(device.get());
        auto* s = Create<TInterpretScript>().release();
        u->SetScript(s);
        s->SetNewClassName("TAreaElement");
        s->SetActualInterpretName("TSpaceEntityInterpret");
        u->SetTile(tile);
        u->SetInput(model.get());
        u->Execute();
        DispatchFrameworkMessages();
        EXPECT_EQ(u->Device(), device.get());
        device->Flush();
        (tile ? run.tiled : run.direct) = device->Bitmap() ? device->Bitmap()->copy() : QImage();
    }
    SetFrameworkMessageHandler({});
    return run;
}

TEST(UniversalInterpret, TilesDrawWhatDirectDrawingDoes)
{
    for (const int height : {1000, 999, 900, 3}) {
        const TileRun run = drawBothWays(height);
        if (qEnvironmentVariableIsSet("GRAPHICS_DUMP")) {
            run.direct.save(QStringLiteral("/tmp/direct%1.png").arg(height));
            run.tiled.save(QStringLiteral("/tmp/tiled%1.png").arg(height));
        }
        // Qt's rasterizer steps each edge from the first row it draws, so a strip that starts
        // inside a figure may round one edge pixel the other way; nothing more may differ.
        EXPECT_LE(gtest_support::differingPixels(run.direct, run.tiled), 2) << height << " "
            << gtest_support::imageDifference(run.direct, run.tiled).toStdString();
        if (height > 3) {
            EXPECT_GT(gtest_support::countPixels(run.direct, qRgb(0, 0, 0)), 100) << height;
        }
    }
    const TileRun run = drawBothWays(1000);
    ASSERT_GE(run.progress.size(), 2);
    EXPECT_EQ(run.progress[0], "Inicializace....");
    EXPECT_EQ(run.progress[1], "Interpretace 1. dlaždice z 8");
}

} // namespace
