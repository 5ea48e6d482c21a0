// Tests of the model streams: "LMX0" and "TPF0" bytes, round trips, damaged and foreign streams.
#include "framework/streams/StreamLoader.h"
#include "framework/streams/StreamSaver.h"

#include "framework/core/ClassRegistry.h"
#include "framework/core/Messages.h"
#include "framework/elements/PlaneGraphics.h"
#include "framework/streams/Filer.h"
#include "framework/streams/StreamFormats.h"
#include "framework/values/TypedValues.h"
#include "platform/ui/Services.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <set>

namespace {

// --- probe classes -------------------------------------------------------------------------------

// One value of each encoding the golden file pins.
class TValueProbe : public TElement
{
public:
    static TClass StaticClass()
    {
        using P = TValueProbe;
        static const TClassInfo info = describeClass<P, TElement>("TValueProbe", [](PropertyTable<P>& t) {
            t.integer("A", [](P& p) { return p.a; }, [](P& p, qint32 v) { p.a = v; })
                .integer("B", [](P& p) { return p.b; }, [](P& p, qint32 v) { p.b = v; })
                .integer("C", [](P& p) { return p.c; }, [](P& p, qint32 v) { p.c = v; })
                .integer("D", [](P& p) { return p.d; }, [](P& p, qint32 v) { p.d = v; })
                .integer("E", [](P& p) { return p.e; }, [](P& p, qint32 v) { p.e = v; })
                .string("Kratky", [](P& p) { return p.kratky; }, [](P& p, const QString& v) { p.kratky = v; })
                .longString("Dlouhy", [](P& p) { return p.dlouhy; }, [](P& p, const QString& v) { p.dlouhy = v; })
                .floating("Plocha", "Double", [](P& p) { return p.plocha; }, [](P& p, double v) { p.plocha = v; })
                .character("Znak", [](P& p) { return p.znak; }, [](P& p, QChar v) { p.znak = v; });
        });
        return &info;
    }
    TClass ClassType() const override { return StaticClass(); }

    qint32 a = 0, b = 0, c = 0, d = 0, e = 0;
    QString kratky;
    QString dlouhy;
    double plocha = 0.0;
    QChar znak = QLatin1Char(' ');
};

// A named, owner-aware container with references, defaults other than zero and properties the
// streams must leave alone.
class TStreamProbe : public TOwnerEntity
{
public:
    static TClass StaticClass()
    {
        using P = TStreamProbe;
        static const TClassInfo info = describeClass<P, TOwnerEntity>("TStreamProbe", [](PropertyTable<P>& t) {
            t.integer("Cislo", [](P& p) { return p.cislo; }, [](P& p, qint32 v) { p.cislo = v; })
                .integer("Mnozstvi", [](P& p) { return p.mnozstvi; }, [](P& p, qint32 v) { p.mnozstvi = v; })
                .floating("Plocha", "Double", [](P& p) { return p.plocha; }, [](P& p, double v) { p.plocha = v; })
                .floating("Vychozi", "Double", [](P& p) { return p.vychozi; }, [](P& p, double v) { p.vychozi = v; })
                .string("Popis", [](P& p) { return p.popis; }, [](P& p, const QString& v) { p.popis = v; })
                .character("Znak", [](P& p) { return p.znak; }, [](P& p, QChar v) { p.znak = v; })
                .boolean("Priznak", [](P& p) { return p.priznak; }, [](P& p, bool v) { p.priznak = v; })
                .object<TElement>("Odkaz", [](P& p) { return p.odkaz.get(); }, [](P& p, TElement* v) { p.odkaz = v; })
                .object<TElement>("Dalsi", [](P& p) { return p.dalsi.get(); }, [](P& p, TElement* v) { p.dalsi = v; })
                .integer("Pouze", [](P& p) { return p.cislo + 1; }, nullptr)
                .integer("Docasny", [](P& p) { return p.docasny; }, [](P& p, qint32 v) { p.docasny = v; }, false);
        });
        return &info;
    }
    TClass ClassType() const override { return StaticClass(); }

    TStreamProbe() { live.insert(this); }
    ~TStreamProbe() override { live.erase(this); }
    static inline std::set<TStreamProbe*> live;   // probes not yet freed

    qint32 cislo = 0;
    qint32 mnozstvi = 3;
    double plocha = 0.0;
    double vychozi = 7.5;
    QString popis;
    QChar znak = QLatin1Char('a');
    bool priznak = false;
    WeakRef<TElement> odkaz;
    WeakRef<TElement> dalsi;
    qint32 docasny = 0;
};

void registerStreamClasses()
{
    RegisterElementsUnit();
    RegisterE_typeUnit();
    RegisterG_elemsUnit();
    RegisterT_saverUnit();
    RegisterT_loaderUnit();
    static bool done = false;
    if (done)
        return;
    done = true;
    RegisterLumexClass(TValueProbe::StaticClass());
    RegisterLumexClass(TStreamProbe::StaticClass());
}

ui::RecordingServices& recorder()
{
    return dynamic_cast<ui::RecordingServices&>(ui::services());
}

TStreamProbe* probe(TEntity* parent, const QString& name)
{
    auto* p = parent->AddNew<TStreamProbe>();
    p->SetName(name);
    return p;
}

TStreamProbe* child(TElement* parent, int index)
{
    auto* entity = dynamic_cast<TEntity*>(parent);
    return entity ? dynamic_cast<TStreamProbe*>(entity->Items(index)) : nullptr;
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Compares with tests/golden/streams/<name>; GENKLAS_REGENERATE_GOLDEN=1 rewrites the file.
void expectGolden(const QString& name, const QByteArray& bytes)
{
    const QString path = QStringLiteral(GENKLAS_GOLDEN_DIR "/streams/") + name;
    if (qEnvironmentVariableIsSet("GENKLAS_REGENERATE_GOLDEN")) {
        QDir().mkpath(QStringLiteral(GENKLAS_GOLDEN_DIR "/streams"));
        writeFile(path, bytes);
    }
    const QByteArray golden = readFile(path);
    ASSERT_FALSE(golden.isEmpty()) << "missing golden file " << path.toStdString();
    EXPECT_EQ(bytes.toHex(' ').toStdString(), golden.toHex(' ').toStdString());
}

class Streams : public ::testing::Test
{
protected:
    void SetUp() override
    {
        registerStreamClasses();
        ASSERT_TRUE(m_dir.isValid());
        recorder().clear();
    }

    QString path(const QString& name) const { return m_dir.filePath(name); }

    QByteArray save(TElement* root, const QString& name = QStringLiteral("model.lmx"))
    {
        auto saver = Create<TSave>(path(name));
        saver->SetInput(root);
        saver->Execute();
        return readFile(path(name));
    }

    // The loaded root; the test owns it.
    Owned<TElement> load(const QString& name = QStringLiteral("model.lmx"))
    {
        auto loader = Create<TLoad>(path(name));
        loader->Execute();
        return Owned<TElement>(loader->Output());
    }

    Owned<TElement> roundTrip(TElement* root)
    {
        save(root);
        return load();
    }

    QTemporaryDir m_dir;
};

// A model stream written value by value.
class LmxBuilder
{
public:
    LmxBuilder() : m_buffer(&m_bytes), m_writer(m_buffer)
    {
        m_buffer.open(QIODevice::WriteOnly);
        m_writer.WriteRaw(lmx::modelSignature);
        for (const char* s : {"cau", "cau", "No comment"})
            m_writer.WriteString(QString::fromLatin1(s));
        m_writer.WriteListBegin();
    }
    TWriter& w() { return m_writer; }
    void classEntry(const QString& name, qint32 number, const std::vector<std::pair<QString, qint32>>& props)
    {
        m_writer.WriteInteger(-1);
        m_writer.WriteString(name);
        m_writer.WriteInteger(number);
        m_writer.WriteListBegin();
        for (const auto& [prop, kind] : props) {
            m_writer.WriteString(prop);
            m_writer.WriteInteger(kind);
        }
        m_writer.WriteListEnd();
    }
    // Record head and the opening of its property list.
    void beginRecord(qint32 classNumber, qint32 index)
    {
        m_writer.WriteInteger(classNumber);
        m_writer.WriteInteger(index);
        m_writer.WriteListBegin();
    }
    // Closes the property list and writes the children.
    void endRecord(const std::vector<qint32>& children = {})
    {
        m_writer.WriteListEnd();
        m_writer.WriteInteger(children.empty() ? 0 : 1);
        if (children.empty())
            return;
        m_writer.WriteListBegin();
        for (const qint32 c : children)
            m_writer.WriteInteger(c);
        m_writer.WriteListEnd();
    }
    QByteArray finish()
    {
        m_writer.WriteListEnd();
        return m_bytes;
    }

private:
    QByteArray m_bytes;
    QBuffer m_buffer;
    TWriter m_writer;
};

// The stored property list of TStreamProbe as the saver writes it.
std::vector<std::pair<QString, qint32>> probeProperties()
{
    std::vector<std::pair<QString, qint32>> props;
    for (const PPropInfo p : TStreamProbe::StaticClass()->Props())
        props.emplace_back(p->Name, p->Kind);
    return props;
}

qint32 probeIndex(const char* name)
{
    const auto& props = TStreamProbe::StaticClass()->Props();
    for (size_t i = 0; i < props.size(); ++i)
        if (props[i]->Name == QLatin1String(name))
            return static_cast<qint32>(i);
    return -1;
}

// --- byte layout ---------------------------------------------------------------------------------

TEST_F(Streams, LmxValuesMatchGoldenBytes)
{
    auto root = Create<TValueProbe>();
    root->a = -129;
    root->b = -128;
    root->c = 127;
    root->d = 128;
    root->e = 32768;
    root->kratky = QString(254, QLatin1Char('x')) + QStringLiteral("ž");
    root->dlouhy = QString(256, QLatin1Char('y'));
    root->plocha = 2.5;
    root->znak = QStringLiteral("č").at(0);
    const QByteArray bytes = save(root.get());
    expectGolden(QStringLiteral("lmx_values.lmx"), bytes);

    // Header: raw signature, "cau" twice, the comment, begin of list.
    EXPECT_EQ(bytes.left(27), QByteArray("LMX0\x06\x03" "cau\x06\x03" "cau\x06\x0aNo comment\x01", 27));
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    buffer.seek(27);
    TReader reader(buffer);
    // Class entry: -1, name, number 0, every published property with its kind.
    EXPECT_EQ(reader.ReadInteger(), -1);
    EXPECT_EQ(reader.ReadString(), "TValueProbe");
    EXPECT_EQ(reader.ReadInteger(), 0);
    reader.ReadListBegin();
    for (const PPropInfo p : TValueProbe::StaticClass()->Props()) {
        EXPECT_EQ(reader.ReadString(), p->Name);
        EXPECT_EQ(reader.ReadInteger(), p->Kind);
    }
    reader.ReadListEnd();
    // Record: class 0, index 0, then the values in property order with the shortest tags.
    EXPECT_EQ(reader.ReadInteger(), 0);
    EXPECT_EQ(reader.ReadInteger(), 0);
    reader.ReadListBegin();
    const int first = IndexOfProp(root.get(), "A");
    const std::vector<std::pair<qint32, ValueTag>> integers = {
        {-129, ValueTag::Int16}, {-128, ValueTag::Int8}, {127, ValueTag::Int8}, {128, ValueTag::Int16},
        {32768, ValueTag::Int32}};
    for (size_t i = 0; i < integers.size(); ++i) {
        EXPECT_EQ(reader.ReadInteger(), first + static_cast<int>(i));
        EXPECT_EQ(reader.NextValue(), integers[i].second) << integers[i].first;
        EXPECT_EQ(reader.ReadInteger(), integers[i].first);
    }
    reader.ReadInteger();
    EXPECT_EQ(reader.NextValue(), ValueTag::String);
    EXPECT_EQ(reader.ReadString(), root->kratky);
    reader.ReadInteger();
    EXPECT_EQ(reader.NextValue(), ValueTag::LString);
    EXPECT_EQ(reader.ReadString(), root->dlouhy);
    reader.ReadInteger();
    EXPECT_EQ(reader.ReadRaw(11), QByteArray("\x05\0\0\0\0\0\0\0\xa0\0\x40", 11));   // 2.5 as 80-bit extended
    reader.ReadInteger();
    EXPECT_EQ(reader.ReadInteger(), 0xE8);   // "č" in windows-1250
    reader.ReadListEnd();
    EXPECT_EQ(reader.ReadInteger(), 0);   // no children
    reader.ReadListEnd();
    EXPECT_TRUE(buffer.atEnd());
}

// Post-order records, a shared child listed by both parents, a backward, a forward and an
// out-of-tree reference.
TEST_F(Streams, LmxTreeMatchesGoldenBytes)
{
    auto root = Create<TStreamProbe>();
    root->SetName(QStringLiteral("koren"));
    TStreamProbe* a = probe(root.get(), "a");
    TStreamProbe* b = probe(root.get(), "b");
    TStreamProbe* shared = probe(a, "spolecny");
    b->Add(shared);
    auto outside = Create<TStreamProbe>();
    outside->SetName(QStringLiteral("venku"));
    outside->cislo = 9;
    a->odkaz = b;             // forward
    b->odkaz = shared;        // backward
    shared->odkaz = outside.get();   // in place
    expectGolden(QStringLiteral("lmx_tree.lmx"), save(root.get()));
    EXPECT_EQ(shared->ID(), 0);
    EXPECT_EQ(outside->ID(), -1);
    EXPECT_EQ(root->ID(), 4);

    const Owned<TElement> loaded = load();
    TStreamProbe* a2 = child(loaded.get(), 0);
    TStreamProbe* b2 = child(loaded.get(), 1);
    ASSERT_TRUE(a2 && b2);
    TStreamProbe* shared2 = child(a2, 0);
    EXPECT_EQ(shared2, child(b2, 0));
    EXPECT_EQ(shared2->OwnersCount(), 2);
    EXPECT_EQ(a2->odkaz.get(), b2);
    EXPECT_EQ(b2->odkaz.get(), shared2);
    const Owned<TElement> copy(shared2->odkaz.get());
    ASSERT_TRUE(copy);
    EXPECT_EQ(dynamic_cast<TStreamProbe&>(*copy).cislo, 9);
}

TEST_F(Streams, ElementWithZeroValuesWritesOnlyItsChar)
{
    auto root = Create<TValueProbe>();
    const QByteArray bytes = save(root.get());
    // The record ends the file: class 0, index 0, the char (always written), no children.
    const char znak = static_cast<char>(IndexOfProp(root.get(), "Znak"));
    const QByteArray tail = QByteArray("\x02\x00\x02\x00\x01\x02", 6) + znak + QByteArray("\x02\x20\x00\x02\x00\x00", 6);
    EXPECT_TRUE(bytes.endsWith(tail)) << bytes.toHex(' ').toStdString();
}

// --- round trips ---------------------------------------------------------------------------------

TEST_F(Streams, RoundTripKeepsValuesAndNonDefaultZerosAndSkipsUnsaved)
{
    auto root = Create<TStreamProbe>();
    root->SetName(QStringLiteral("Porost Č1"));
    root->cislo = -70000;
    root->popis = QStringLiteral("smrk ztepilý");
    root->znak = QStringLiteral("ř").at(0);
    root->priznak = true;
    root->docasny = 5;
    root->mnozstvi = 0;     // zero where the default is not: written
    root->vychozi = 0.0;
    const Owned<TElement> loaded = roundTrip(root.get());
    auto* copy = dynamic_cast<TStreamProbe*>(loaded.get());
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->GetName(), root->GetName());
    EXPECT_EQ(copy->cislo, -70000);
    EXPECT_EQ(copy->popis, root->popis);
    EXPECT_EQ(copy->znak, root->znak);
    EXPECT_TRUE(copy->priznak);
    EXPECT_EQ(copy->docasny, 0);   // not stored
    EXPECT_EQ(copy->mnozstvi, 0);
    EXPECT_EQ(copy->vychozi, 0.0);
}

TEST_F(Streams, OutOfTreeElementIsWrittenInPlaceAndStaleIdsAreIgnored)
{
    auto root = Create<TStreamProbe>();
    root->SetName(QStringLiteral("koren"));
    TStreamProbe* x = probe(root.get(), "x");
    TStreamProbe* y = probe(root.get(), "y");
    auto outside = Create<TStreamProbe>();
    outside->SetName(QStringLiteral("venku"));
    outside->cislo = 42;
    TStreamProbe* inner = probe(outside.get(), "uvnitr");
    inner->odkaz = outside.get();   // back to the element being written in place
    outside->dalsi = root.get();    // forward into the tree
    x->odkaz = outside.get();
    y->odkaz = outside.get();
    x->dalsi = y;
    root->odkaz = outside.get();    // the root's record is no longer the last table entry
    // IDs left by other walks: the original writer took them for indexes.
    x->SetID(1);
    y->SetID(0);
    outside->SetID(7);
    root->SetID(32000);
    save(root.get());
    EXPECT_EQ(outside->ID(), -1);
    EXPECT_EQ(inner->ID(), -1);
    EXPECT_EQ(x->ID(), 0);

    const Owned<TElement> loaded = load();
    TStreamProbe* x2 = child(loaded.get(), 0);
    TStreamProbe* y2 = child(loaded.get(), 1);
    ASSERT_TRUE(x2 && y2);
    EXPECT_EQ(x2->dalsi.get(), y2);
    const Owned<TStreamProbe> copyX(dynamic_cast<TStreamProbe*>(x2->odkaz.get()));
    const Owned<TStreamProbe> copyY(dynamic_cast<TStreamProbe*>(y2->odkaz.get()));
    const Owned<TStreamProbe> copyRoot(dynamic_cast<TStreamProbe*>(dynamic_cast<TStreamProbe*>(loaded.get())->odkaz.get()));
    for (TStreamProbe* copy : {copyX.get(), copyY.get(), copyRoot.get()}) {
        ASSERT_TRUE(copy);
        EXPECT_EQ(copy->GetName(), "venku");
        EXPECT_EQ(copy->cislo, 42);
        EXPECT_EQ(copy->dalsi.get(), loaded.get());
        ASSERT_EQ(copy->Count(), 1);
        EXPECT_EQ(child(copy, 0)->odkaz.get(), copy);
        EXPECT_EQ(copy->OwnersCount(), 0);
    }
    EXPECT_NE(copyX.get(), copyY.get());
    EXPECT_NE(child(copyX.get(), 0), child(copyY.get(), 0));
}

TEST_F(Streams, StringListElementRoundTrip)
{
    auto list = Create<TStringListElement>();
    list->AddNameValue(QStringLiteral("Dřevina"), QStringLiteral("SM"));
    list->NextValue(QStringLiteral("bez jména"));
    const Owned<TElement> loaded = roundTrip(list.get());
    auto* copy = dynamic_cast<TStringListElement*>(loaded.get());
    ASSERT_TRUE(copy);
    ASSERT_EQ(copy->Count(), 2);
    EXPECT_EQ(copy->ValueAt(0), "SM");
    EXPECT_EQ(copy->NameAt(1), list->NameAt(1));
}

// --- streams of other layouts and damaged streams ------------------------------------------------

// One stored property that the live class cannot take, followed by one it can: the first is
// stepped over by its stored kind and the second still arrives.
struct ForeignValue {
    const char* label;
    QString name;
    qint32 kind;
    std::function<void(TWriter&)> write;
};

class ForeignProperty : public Streams, public ::testing::WithParamInterface<ForeignValue>
{
};

TEST_P(ForeignProperty, IsSkippedAndTheRestLoads)
{
    const ForeignValue& value = GetParam();
    LmxBuilder lmx;
    lmx.classEntry("TStreamProbe", 0, {{value.name, value.kind}, {"Popis", tkLString}, {"Cislo", tkInteger}});
    lmx.beginRecord(0, 0);
    lmx.w().WriteInteger(0);
    value.write(lmx.w());
    lmx.w().WriteInteger(1);
    lmx.w().WriteString(QStringLiteral("dál"));
    lmx.w().WriteInteger(2);
    lmx.w().WriteInteger(77);
    lmx.endRecord();
    writeFile(path("model.lmx"), lmx.finish());
    const Owned<TElement> loaded = load();
    auto* copy = dynamic_cast<TStreamProbe*>(loaded.get());
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->popis, QStringLiteral("dál"));   // LString stored, String live: matched
    EXPECT_EQ(copy->cislo, 77);                      // found by name at another position
    EXPECT_EQ(copy->plocha, 0.0);
}

// An element in place under a property nobody takes; the loader frees it (the leak checker
// watches).
void writeInPlaceProbe(TWriter& w)
{
    w.WriteInteger(-2);
    w.WriteListBegin();
    w.WriteInteger(-1);
    w.WriteString(QStringLiteral("TValueProbe"));
    w.WriteInteger(1);
    w.WriteListBegin();
    w.WriteListEnd();
    w.WriteInteger(1);
    w.WriteInteger(1);
    w.WriteListBegin();
    w.WriteListEnd();
    w.WriteInteger(0);
    w.WriteListEnd();
}

INSTANTIATE_TEST_SUITE_P(
    Streams, ForeignProperty,
    ::testing::Values(
        ForeignValue{"RenamedInteger", "StareCislo", tkInteger, [](TWriter& w) { w.WriteInteger(100000); }},
        ForeignValue{"RenamedReferenceInPlace", "StaryOdkaz", tkClass, writeInPlaceProbe},
        ForeignValue{"UnknownKind", "Udalost", tkMethod, [](TWriter& w) { w.WriteString("x"); }},
        ForeignValue{"KindChanged", "Plocha", tkInteger, [](TWriter& w) { w.WriteInteger(12); }},
        ForeignValue{"WrongTagForKind", "Plocha", tkFloat, [](TWriter& w) { w.WriteString("12"); }},
        ForeignValue{"CharCodeOutOfRange", "Znak", tkChar, [](TWriter& w) { w.WriteInteger(300); }}),
    [](const ::testing::TestParamInfo<ForeignValue>& info) { return std::string(info.param.label); });

TEST_F(Streams, CharIsReadAsCodeOrOneCharacterString)
{
    LmxBuilder lmx;
    lmx.classEntry("TStreamProbe", 0, probeProperties());
    lmx.beginRecord(0, 0);
    lmx.w().WriteInteger(probeIndex("Znak"));
    lmx.w().WriteString(QStringLiteral("ž"));
    lmx.endRecord();
    lmx.beginRecord(0, 1);
    lmx.w().WriteInteger(probeIndex("Znak"));
    lmx.w().WriteInteger(0x9E);   // "ž"
    lmx.endRecord({0});
    writeFile(path("model.lmx"), lmx.finish());
    const Owned<TElement> loaded = load();
    ASSERT_TRUE(child(loaded.get(), 0));
    EXPECT_EQ(dynamic_cast<TStreamProbe*>(loaded.get())->znak, QStringLiteral("ž").at(0));
    EXPECT_EQ(child(loaded.get(), 0)->znak, QStringLiteral("ž").at(0));
}

TEST_F(Streams, UnregisteredClassKeepsItsPlace)
{
    LmxBuilder lmx;
    lmx.classEntry("TNeznamyElement", 0, {{"X", tkFloat}, {"Ref", tkClass}, {"Jmeno", tkString}});
    lmx.beginRecord(0, 0);   // its in-place element takes index 1
    lmx.w().WriteInteger(0);
    lmx.w().WriteFloat(3.25);
    lmx.w().WriteInteger(1);
    lmx.w().WriteInteger(-2);
    lmx.w().WriteListBegin();
    lmx.classEntry("TStreamProbe", 1, probeProperties());
    lmx.beginRecord(1, 1);
    lmx.endRecord();
    lmx.w().WriteListEnd();
    lmx.w().WriteInteger(2);
    lmx.w().WriteString("neznamy");
    lmx.endRecord();
    lmx.beginRecord(1, 2);
    lmx.w().WriteInteger(probeIndex("Cislo"));
    lmx.w().WriteInteger(5);
    lmx.endRecord();
    lmx.beginRecord(0, 3);   // an unknown parent: its child 4 is left without a holder
    lmx.endRecord({4});
    lmx.beginRecord(1, 4);
    lmx.endRecord();
    // The records above are written before their parents; this one adopts child 2 and refers
    // to the placeholder 0 and to 2.
    lmx.beginRecord(1, 5);
    lmx.w().WriteInteger(probeIndex("Odkaz"));
    lmx.w().WriteInteger(0);
    lmx.w().WriteInteger(probeIndex("Dalsi"));
    lmx.w().WriteInteger(2);
    lmx.endRecord({0, 2, 3});
    writeFile(path("model.lmx"), lmx.finish());
    const Owned<TElement> loaded = load();
    auto* root = dynamic_cast<TStreamProbe*>(loaded.get());
    ASSERT_TRUE(root);
    ASSERT_EQ(root->Count(), 1);
    EXPECT_EQ(child(root, 0)->cislo, 5);
    EXPECT_EQ(root->odkaz.get(), nullptr);
    EXPECT_EQ(root->dalsi.get(), child(root, 0));
}

TEST_F(Streams, BrokenRecordIsSkippedAndReadingGoesOn)
{
    LmxBuilder lmx;
    lmx.classEntry("TStreamProbe", 0, probeProperties());
    lmx.beginRecord(7, 0);   // no class 7: the record breaks on its first value
    lmx.beginRecord(0, 0);
    lmx.w().WriteInteger(probeIndex("Cislo"));
    lmx.w().WriteInteger(11);
    lmx.endRecord();
    writeFile(path("model.lmx"), lmx.finish());
    const Owned<TElement> loaded = load();
    EXPECT_EQ(dynamic_cast<TStreamProbe&>(*loaded).cislo, 11);
}

// A damaged stream that numbers two records alike: the element that lost its place is freed.
TEST_F(Streams, RecordReusingAnIndexFreesTheElementItReplaces)
{
    LmxBuilder lmx;
    lmx.classEntry("TStreamProbe", 0, probeProperties());
    lmx.beginRecord(0, 0);
    lmx.w().WriteInteger(probeIndex("Cislo"));
    lmx.w().WriteInteger(1);
    lmx.endRecord();
    lmx.beginRecord(0, 0);
    lmx.w().WriteInteger(probeIndex("Cislo"));
    lmx.w().WriteInteger(2);
    lmx.endRecord();
    writeFile(path("model.lmx"), lmx.finish());
    const int before = static_cast<int>(TStreamProbe::live.size());
    const Owned<TElement> loaded = load();
    EXPECT_EQ(dynamic_cast<TStreamProbe&>(*loaded).cislo, 2);
    EXPECT_EQ(static_cast<int>(TStreamProbe::live.size()), before + 1);
}

void freeUnheldProbes();

// A damaged stream whose child lists form a cycle, or list a child twice: the loader leaves out
// each child that is already an ancestor or a child of the entity, so the loaded tree frees cleanly.
struct ChildLists {
    const char* label;
    std::vector<std::vector<qint32>> children;   // of records 0, 1, ... in stream order
    const char* tree;                            // the root and its descendants as Cislo values
};

class DamagedChildLists : public Streams, public ::testing::WithParamInterface<ChildLists>
{
};

// "n(children)" by Cislo, depth first.
QString describeTree(TElement* element)
{
    auto* probe = dynamic_cast<TStreamProbe*>(element);
    QString text = QString::number(probe->cislo);
    QStringList children;
    for (int i = 0; i < probe->Count(); ++i)
        children << describeTree(probe->Items(i));
    return children.isEmpty() ? text : text + QLatin1Char('(') + children.join(QLatin1Char(',')) + QLatin1Char(')');
}

TEST_P(DamagedChildLists, LeaveOutTheChildThatWouldRepeat)
{
    const size_t probesBefore = TStreamProbe::live.size();
    LmxBuilder lmx;
    lmx.classEntry("TStreamProbe", 0, probeProperties());
    const auto& records = GetParam().children;
    for (size_t i = 0; i < records.size(); ++i) {
        lmx.beginRecord(0, static_cast<qint32>(i));
        lmx.w().WriteInteger(probeIndex("Cislo"));
        lmx.w().WriteInteger(static_cast<qint32>(i) + 1);
        lmx.endRecord(records[i]);
    }
    writeFile(path("model.lmx"), lmx.finish());
    Owned<TElement> loaded = load();
    EXPECT_EQ(describeTree(loaded.get()), QLatin1String(GetParam().tree));
    loaded.reset();
    EXPECT_EQ(TStreamProbe::live.size(), probesBefore);
}

INSTANTIATE_TEST_SUITE_P(
    Streams, DamagedChildLists,
    ::testing::Values(ChildLists{"ListsItself", {{0}}, "1"},
                      ChildLists{"TwoListEachOther", {{1}, {0}}, "2(1)"},
                      ChildLists{"ListsItsGrandparent", {{2}, {0}, {1}}, "3(2(1))"},
                      ChildLists{"SixInACircle", {{5}, {0}, {1}, {2}, {3}, {4}}, "6(5(4(3(2(1)))))"},
                      ChildLists{"ListsAChildTwice", {{}, {0, 0}}, "2(1)"},
                      ChildLists{"SharedGrandchildStaysShared", {{}, {0}, {1, 0}, {2}}, "4(3(2(1),1))"}),
    [](const ::testing::TestParamInfo<ChildLists>& info) { return std::string(info.param.label); });

// The smallest such streams: a plain entity listing itself (55 bytes), two listing each other.
TEST_F(Streams, SmallestCyclicStreamsLoadAndFree)
{
    for (const std::vector<std::vector<qint32>>& records : {std::vector<std::vector<qint32>>{{0}}, {{1}, {0}}}) {
        LmxBuilder lmx;
        lmx.classEntry("TEntity", 0, {});
        for (size_t i = 0; i < records.size(); ++i) {
            lmx.beginRecord(0, static_cast<qint32>(i));
            lmx.endRecord(records[i]);
        }
        const QByteArray bytes = lmx.finish();
        writeFile(path(QString::number(bytes.size())), bytes);
        const Owned<TElement> loaded = load(QString::number(bytes.size()));
        EXPECT_EQ(dynamic_cast<TEntity&>(*loaded).Count(), static_cast<int>(records.size()) - 1);
    }
}

// An element written in place that lists the record referring to it: the record may not list it
// back.
TEST_F(Streams, InPlaceElementListingItsReferrerIsNotListedBack)
{
    const size_t probesBefore = TStreamProbe::live.size();
    LmxBuilder lmx;
    lmx.classEntry("TStreamProbe", 0, probeProperties());
    lmx.beginRecord(0, 0);
    lmx.w().WriteInteger(probeIndex("Odkaz"));
    lmx.w().WriteInteger(lmx::inPlaceReference);
    lmx.w().WriteListBegin();
    lmx.beginRecord(0, 1);
    lmx.endRecord({0});
    lmx.w().WriteListEnd();
    lmx.endRecord({1});
    writeFile(path("model.lmx"), lmx.finish());
    Owned<TElement> loaded = load();
    auto& root = dynamic_cast<TStreamProbe&>(*loaded);
    EXPECT_EQ(root.Count(), 0);
    EXPECT_EQ(child(root.odkaz.get(), 0), &root);
    loaded.reset();
    freeUnheldProbes();
    EXPECT_EQ(TStreamProbe::live.size(), probesBefore);
}

// A property without read access is never saved: a damaged stream's value for it is not set
// (NextElement would make the root its own child).
TEST_F(Streams, WriteOnlyPropertiesAreNotSet)
{
    LmxBuilder lmx;
    lmx.classEntry("TStreamProbe", 0, probeProperties());
    lmx.beginRecord(0, 0);
    lmx.w().WriteInteger(probeIndex("NextElement"));
    lmx.w().WriteInteger(0);
    lmx.w().WriteInteger(probeIndex("Cislo"));
    lmx.w().WriteInteger(2);
    lmx.endRecord();
    writeFile(path("model.lmx"), lmx.finish());
    const Owned<TElement> loaded = load();
    EXPECT_EQ(dynamic_cast<TStreamProbe&>(*loaded).cislo, 2);
    EXPECT_EQ(dynamic_cast<TStreamProbe&>(*loaded).Count(), 0);
}

struct BadFile {
    const char* label;
    QByteArray (*bytes)();   // nil: no file at all
    QString fileName;
    QString message;    // %1 is the file name
    bool badName;
};

class BadModelFile : public Streams, public ::testing::WithParamInterface<BadFile>
{
};

QByteArray emptyModel()
{
    LmxBuilder lmx;
    return lmx.finish();
}

// A stream cut off inside its root record, after a complete child.
QByteArray truncatedModel()
{
    LmxBuilder lmx;
    lmx.classEntry("TStreamProbe", 0, probeProperties());
    lmx.beginRecord(0, 0);
    lmx.endRecord();
    lmx.beginRecord(0, 1);
    return lmx.finish().chopped(1);
}

// The 13-byte file whose header string claims 2 GB.
QByteArray hugeStringModel()
{
    return QByteArray("LMX0\x0c\xff\xff\xff\x7f" "cau", 12) + QByteArray(1, 'x');
}

// A value of a property the class no longer has, 100 000 lists deep: stepped over, it nests.
QByteArray deepSkippedValue()
{
    LmxBuilder lmx;
    std::vector<std::pair<QString, qint32>> props = probeProperties();
    props.emplace_back(QStringLiteral("Zruseny"), tkInteger);
    lmx.classEntry("TStreamProbe", 0, props);
    lmx.beginRecord(0, 0);
    lmx.w().WriteInteger(static_cast<qint32>(props.size()) - 1);
    QByteArray bytes = lmx.finish();
    bytes.chop(1);
    return bytes + QByteArray(100000, '\x01') + QByteArray(100000, '\0');
}

// Elements written in place inside elements written in place, 20 000 deep.
QByteArray deepInPlaceElements()
{
    LmxBuilder lmx;
    lmx.classEntry("TStreamProbe", 0, probeProperties());
    for (int i = 0; i < 20000; ++i) {
        lmx.beginRecord(0, i);
        lmx.w().WriteInteger(probeIndex("Odkaz"));
        lmx.w().WriteInteger(lmx::inPlaceReference);
        lmx.w().WriteListBegin();
    }
    return lmx.finish();
}

TEST_P(BadModelFile, Raises)
{
    const size_t probesBefore = TStreamProbe::live.size();
    const BadFile& bad = GetParam();
    const QString name = bad.fileName.isEmpty() ? QString() : path(bad.fileName);
    if (bad.bytes)
        writeFile(name, bad.bytes());
    auto loader = Create<TLoad>(name);
    try {
        loader->Execute();
        FAIL() << "no exception";
    } catch (const EBadStreamName& e) {
        EXPECT_TRUE(bad.badName);
        EXPECT_EQ(e.message(), bad.message);
    } catch (const EBadStream& e) {
        EXPECT_FALSE(bad.badName);
        if (!bad.message.isEmpty()) {
            EXPECT_EQ(e.message(), bad.message.arg(name));
        }
    }
    EXPECT_EQ(loader->Output(), nullptr);
    EXPECT_EQ(TStreamProbe::live.size(), probesBefore);
}

INSTANTIATE_TEST_SUITE_P(
    Streams, BadModelFile,
    ::testing::Values(
        BadFile{"EmptyName", nullptr, QString(), QStringLiteral("Chybné jméno souboru :  !"), true},
        BadFile{"MissingFile", nullptr, "chybi.lmx", QStringLiteral("Soubor %1 neexistuje!"), false},
        BadFile{"UnknownSignature", [] { return QByteArray("ABCD\x01\x00", 6); }, "cizi.lmx",
                QStringLiteral("%1 ... neznámý typ souboru"), false},
        BadFile{"EmptyModel", emptyModel, "prazdny.lmx", QStringLiteral("Soubor %1 neobsahuje žádný element!"), false},
        BadFile{"SingleEndByte", [] { return QByteArray(1, '\0'); }, "nula.lmx", QString(), false},
        BadFile{"TruncatedRoot", truncatedModel, "useknuty.lmx", QString(), false},
        BadFile{"HugeStringLength", hugeStringModel, "dlouhy.lmx", QString(), false},
        BadFile{"DeeplyNestedSkippedValue", deepSkippedValue, "hluboky.lmx",
                QStringLiteral("Soubor %1 je poškozen: příliš hluboké vnoření"), false},
        BadFile{"DeeplyNestedInPlaceElements", deepInPlaceElements, "vnoreny.lmx",
                QStringLiteral("Soubor %1 je poškozen: příliš hluboké vnoření"), false}),
    [](const ::testing::TestParamInfo<BadFile>& info) { return std::string(info.param.label); });

TEST_F(Streams, SaveWithoutInputLeavesTheFileAlone)
{
    writeFile(path("model.lmx"), "stary obsah");
    auto saver = Create<TSave>(path("model.lmx"));
    saver->Execute();
    EXPECT_EQ(readFile(path("model.lmx")), "stary obsah");
}

TEST_F(Streams, OnlySavesOfMoreThan500ElementsReportProgress)
{
    std::vector<qint32> codes;
    SetFrameworkMessageHandler([&codes](TLumexMessage& msg, bool&) { codes.push_back(msg.Message()); });
    for (const int count : {500, 501}) {
        auto root = Create<TStreamProbe>();
        for (int i = 0; i < count; ++i)
            root->AddNew<TValueProbe>();
        codes.clear();
        save(root.get());
        DispatchFrameworkMessages();
        const bool started = std::find(codes.begin(), codes.end(), LumexCode::ProgressStart) != codes.end();
        const bool ended = std::find(codes.begin(), codes.end(), LumexCode::ProgressEnd) != codes.end();
        EXPECT_EQ(started, count > 500) << count;
        EXPECT_EQ(ended, count > 500) << count;
    }
    SetFrameworkMessageHandler({});
}

// --- element stream "TPF0" -----------------------------------------------------------------------

// A drawing: a frame holding a point, a 3D point, a rectangle and a text.
Owned<TRectEntity> drawing()
{
    auto frame = Create<TRectEntity>();
    frame->SetName(QStringLiteral("výkres"));
    frame->SetMinX(0);
    frame->SetMinY(-10);
    frame->SetMaxX(100);
    frame->SetMaxY(50);
    frame->AddNew<T2DCoordinate>(1.5, -2.0);
    auto* point = frame->AddNew<T3DCoordinate>();
    point->SetX(3);
    point->SetY(4);
    point->SetZ(512.25);
    point->SetCS(2);
    auto* box = frame->AddNew<TDrawRectangle>();
    box->SetMinX(10);
    box->SetMinY(20);
    box->SetWidth(30);
    box->SetHeight(40);
    auto* text = frame->AddNew<TText>();
    text->SetText(QStringLiteral("Smrk ztepilý"));
    text->SetOrientation(45);
    text->SetMinX(5);
    text->SetMinY(6);
    text->SetHeight(2.5);
    box->Add(text);   // shared by the frame and the rectangle
    return frame;
}

void saveTpf(TElement* root, const QString& path)
{
    auto saver = Create<TSaver>();
    saver->SetName(path);
    saver->SetInput(root);
    saver->Execute();
}

Owned<TElement> loadTpf(const QString& path)
{
    auto loader = Create<TLoader>();
    loader->SetName(path);
    loader->Execute();
    return Owned<TElement>(loader->Output());
}

void expectDrawing(TElement* loaded)
{
    auto* frame = dynamic_cast<TRectEntity*>(loaded);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->GetName(), "výkres");
    EXPECT_EQ(frame->MinY(), -10.0);
    EXPECT_EQ(frame->MaxX(), 100.0);
    ASSERT_EQ(frame->Count(), 4);
    auto* point = dynamic_cast<T2DCoordinate*>(frame->Items(0));
    ASSERT_TRUE(point);
    EXPECT_EQ(point->GetX(), 1.5);
    EXPECT_EQ(point->GetY(), -2.0);
    auto* point3 = dynamic_cast<T3DCoordinate*>(frame->Items(1));
    ASSERT_TRUE(point3);
    EXPECT_EQ(point3->GetZ(), 512.25);
    EXPECT_EQ(point3->CS(), 2);
    auto* box = dynamic_cast<TDrawRectangle*>(frame->Items(2));
    ASSERT_TRUE(box);
    EXPECT_EQ(box->MaxX(), 40.0);
    EXPECT_EQ(box->MaxY(), 60.0);
    auto* text = dynamic_cast<TText*>(frame->Items(3));
    ASSERT_TRUE(text);
    EXPECT_EQ(text->Text(), "Smrk ztepilý");
    EXPECT_EQ(text->Orientation(), 45.0);
    EXPECT_EQ(text->Height(), 2.5);
    ASSERT_EQ(box->Count(), 1);
    EXPECT_EQ(box->Items(0), text);
}

TEST_F(Streams, TpfGraphicsMatchGoldenAndLoadBack)
{
    auto frame = drawing();
    saveTpf(frame.get(), path("kresba.tpf"));
    const QByteArray bytes = readFile(path("kresba.tpf"));
    EXPECT_TRUE(bytes.startsWith("TPF0\x01"));
    expectGolden(QStringLiteral("tpf_graphics.tpf"), bytes);
    expectDrawing(loadTpf(path("kresba.tpf")).get());
    EXPECT_TRUE(recorder().messages.empty());
}

// Marks of an earlier walk: the original writer skipped every element whose ID lay above the mark
// it was given. A TPF file handed to TLoad is read by TLoader.
TEST_F(Streams, TpfSaverMarksTheTreeItselfAndTLoadReadsIt)
{
    auto frame = drawing();
    frame->ResetMarks();
    frame->Items(0)->SetID(5);
    frame->Items(2)->SetID(0);
    saveTpf(frame.get(), path("model.lmx"));
    expectDrawing(load().get());
}

// An element stream: signature, list, what body writes, end of list.
QByteArray tpfBytes(void (*body)(TWriter&))
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    TWriter w(buffer);
    w.WriteRaw(lmx::elementSignature);
    w.WriteListBegin();
    body(w);
    w.WriteListEnd();
    return bytes;
}

// A record of an unregistered class after a good one.
void unknownClassRecord(TWriter& w)
{
    auto first = Create<TNameElement>();
    first->SetName(QStringLiteral("prvni"));
    first->SetID(0);
    first->WriteTo(w);
    w.WriteString(QStringLiteral("TNeznamy"));
    w.WriteInteger(1);
}

// A container listing child 0 and a child 9 never read.
void missingChildRecord(TWriter& w)
{
    auto leaf = Create<TOwnerElement>();
    leaf->SetID(0);
    leaf->WriteTo(w);
    w.WriteString(QStringLiteral("TOwnerEntity"));
    w.WriteInteger(1);
    w.WriteListBegin();
    w.WriteInteger(0);
    w.WriteInteger(9);
    w.WriteListEnd();
    w.WriteString(QString());
}

struct BadTpf {
    const char* label;
    void (*body)(TWriter&);
    QString message;
};

class BadElementStream : public Streams, public ::testing::WithParamInterface<BadTpf>
{
};

TEST_P(BadElementStream, ShowsErrorAndLeavesNoOutput)
{
    writeFile(path("kresba.tpf"), tpfBytes(GetParam().body));
    EXPECT_EQ(loadTpf(path("kresba.tpf")), nullptr);
    ASSERT_EQ(recorder().messages.size(), 1u);
    EXPECT_EQ(recorder().messages[0].text, GetParam().message);
    EXPECT_EQ(recorder().messages[0].type, ui::MsgType::Error);
    EXPECT_EQ(recorder().waitDepth, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Streams, BadElementStream,
    ::testing::Values(BadTpf{"UnregisteredClass", unknownClassRecord, QStringLiteral("Neregistrovaný element: TNeznamy")},
                      BadTpf{"MissingChild", missingChildRecord, QStringLiteral("Chyba při čtení elementu: TOwnerEntity")}),
    [](const ::testing::TestParamInfo<BadTpf>& info) { return std::string(info.param.label); });

// Top-level elements that the root does not hold are freed, as after a model stream.
TEST_F(Streams, TpfLoaderFreesWhatTheRootDoesNotHold)
{
    writeFile(path("kresba.tpf"), tpfBytes([](TWriter& w) {
        auto orphan = Create<TStreamProbe>();
        orphan->SetID(0);
        orphan->WriteTo(w);
        auto kept = Create<TStreamProbe>();
        kept->SetID(1);
        kept->WriteTo(w);
        auto root = Create<TStreamProbe>();
        root->SetID(2);
        root->Add(kept.get());
        root->WriteTo(w);
    }));
    const size_t before = TStreamProbe::live.size();
    Owned<TElement> loaded = loadTpf(path("kresba.tpf"));
    ASSERT_TRUE(loaded);
    EXPECT_EQ(TStreamProbe::live.size(), before + 2);
    loaded.reset();
    EXPECT_EQ(TStreamProbe::live.size(), before);
}

TEST_F(Streams, TpfLoaderWithoutNameRaises)
{
    auto loader = Create<TLoader>();
    loader->SetName(QString());
    try {
        loader->Execute();
        FAIL() << "no exception";
    } catch (const EBadStreamName& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Chybné jméno streamu :  !"));
    }
}

// --- damaged streams ----------------------------------------------------------------------------

// One deterministic damage of a stream: a flipped bit, a cut, inserted or repeated bytes, or a
// value that claims a length or opens lists.
QByteArray mutated(const QByteArray& golden, std::mt19937& random)
{
    QByteArray bytes = golden;
    const auto at = [&](qsizetype size) { return static_cast<qsizetype>(random() % static_cast<quint32>(size + 1)); };
    const int edits = 1 + static_cast<int>(random() % 3);
    for (int e = 0; e < edits && !bytes.isEmpty(); ++e) {
        switch (random() % 6) {
        case 0:
            bytes[at(bytes.size() - 1)] ^= static_cast<char>(1 << (random() % 8));
            break;
        case 1:
            bytes.truncate(at(bytes.size()));
            break;
        case 2:
            bytes.insert(at(bytes.size()), static_cast<char>(random() % 16));
            break;
        case 3: {
            const qsizetype from = at(bytes.size() - 1);
            bytes.insert(at(bytes.size()), bytes.mid(from, 1 + static_cast<qsizetype>(random() % 40)));
            break;
        }
        case 4:
            bytes.insert(at(bytes.size()), QByteArray::fromHex(random() % 2 ? "0cffffff7f" : "02fe01"));
            break;
        default:
            bytes.insert(at(bytes.size()), QByteArray(static_cast<qsizetype>(random() % 400), '\x01'));
            break;
        }
    }
    return bytes;
}

// Elements written in place belong to nobody once loaded; after each damaged load the test frees
// every probe that nothing holds.
void freeUnheldProbes()
{
    std::vector<WeakRef<TStreamProbe>> probes(TStreamProbe::live.begin(), TStreamProbe::live.end());
    for (const WeakRef<TStreamProbe>& probe : probes)
        if (TStreamProbe* p = probe.get(); p && p->HolderCount() == 0 && !p->IsHeldByOwned())
            FreeObject(p);
}

// Thousands of damaged copies of the golden streams load or raise a stream error: no crash, no
// sanitizer report, no other exception, nothing left behind.
TEST_F(Streams, DamagedGoldenStreamsLoadOrRaise)
{
    std::mt19937 random(20261207);
    const size_t probesBefore = TStreamProbe::live.size();
    int loaded = 0;
    int raised = 0;
    for (const char* name : {"lmx_tree.lmx", "lmx_values.lmx", "tpf_graphics.tpf"}) {
        const QByteArray golden = readFile(QStringLiteral(GENKLAS_GOLDEN_DIR "/streams/") + QLatin1String(name));
        ASSERT_FALSE(golden.isEmpty()) << name;
        for (int i = 0; i < 1000; ++i) {
            writeFile(path(QStringLiteral("poskozeny")), mutated(golden, random));
            try {
                const Owned<TElement> root = load(QStringLiteral("poskozeny"));
                loaded += root ? 1 : 0;
            } catch (const EBadStream&) {
                ++raised;
            }
            freeUnheldProbes();
            recorder().clear();
            QFile::remove(path(QStringLiteral("poskozeny")));   // rewriting a file in place flushes it
        }
    }
    EXPECT_GT(loaded, 100);
    EXPECT_GT(raised, 100);
    EXPECT_EQ(TStreamProbe::live.size(), probesBefore);
}

} // namespace
