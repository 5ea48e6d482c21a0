// Small element classes shared by the tests of the element tree, registry, properties and paths.
#pragma once

#include "framework/core/ClassRegistry.h"
#include "framework/core/Elements.h"
#include "platform/ui/Services.h"

#include <QString>

#include <gtest/gtest.h>

// The class boilerplate of a test element without published properties of its own.
#define LUMEX_TEST_CLASS(Self, Base)                                                 \
    static TClass StaticClass()                                                      \
    {                                                                                \
        static const TClassInfo info = describeClass<Self, Base>(QStringLiteral(#Self)); \
        return &info;                                                                \
    }                                                                                \
    TClass ClassType() const override { return StaticClass(); }

namespace lumextest {

// Counts the destructions of instances of the probe classes.
inline int& destroyedCount()
{
    static int count = 0;
    return count;
}

// A plain element (no owner list) that reports its destruction.
class TPlainProbe : public TElement
{
public:
    ~TPlainProbe() override { ++destroyedCount(); }
    LUMEX_TEST_CLASS(TPlainProbe, TElement)
};

// An owner-aware element that reports its destruction.
class TOwnedProbe : public TOwnerElement
{
public:
    ~TOwnedProbe() override { ++destroyedCount(); }
    LUMEX_TEST_CLASS(TOwnedProbe, TOwnerElement)
};

// An element with one property of every kind the framework handles.
class TPropProbe : public TOwnerElement
{
public:
    static TClass StaticClass()
    {
        static const TClassInfo info = describeClass<TPropProbe, TOwnerElement>("TPropProbe", [](PropertyTable<TPropProbe>& t) {
            t.integer("Cislo", &TPropProbe::cislo, [](TPropProbe& p, qint32 v) { p.cislo = v; })
                .byte("Bajt", &TPropProbe::bajt, [](TPropProbe& p, quint8 v) { p.bajt = v; })
                .boolean("Priznak", &TPropProbe::priznak, [](TPropProbe& p, bool v) { p.priznak = v; })
                .enumeration("Barva", "TBarva", {"clRed", "clGreen", "clBlue"}, &TPropProbe::barva,
                             [](TPropProbe& p, int v) { p.barva = v; })
                .set("Styl", "TStyly", &TPropProbe::styl, [](TPropProbe& p, qint32 v) { p.styl = v; })
                .character("Znak", &TPropProbe::znak, [](TPropProbe& p, QChar v) { p.znak = v; })
                .floating("Plocha", "Double", &TPropProbe::plocha, [](TPropProbe& p, double v) { p.plocha = v; })
                .string("Popis", &TPropProbe::popis, [](TPropProbe& p, const QString& v) { p.popis = v; })
                .longString("Soubor", &TPropProbe::soubor, [](TPropProbe& p, const QString& v) { p.soubor = v; })
                .object<TElement>("Odkaz", [](TPropProbe& p) { return p.odkaz.get(); },
                                  [](TPropProbe& p, TElement* v) { p.odkaz = v; })
                .int64("Velke", &TPropProbe::velke, [](TPropProbe& p, qint64 v) { p.velke = v; })
                .variant("Cokoli", &TPropProbe::cokoli, [](TPropProbe& p, const QVariant& v) { p.cokoli = v; })
                .method("OnZmena", "TNotifyEvent", &TPropProbe::onZmena,
                        [](TPropProbe& p, TMethodRef v) { p.onZmena = v; })
                .integer("Pouze", [](TPropProbe& p) { return p.cislo * 2; }, nullptr)
                .string("Docasny", &TPropProbe::docasny, [](TPropProbe& p, const QString& v) { p.docasny = v; }, false)
                .string("Podminene", &TPropProbe::podminene,
                        [](TPropProbe& p, const QString& v) { p.podminene = v; },
                        [](TPropProbe& p) { return !p.podminene.isEmpty(); })
                .object<TEntity>("Kontejner", [](TPropProbe& p) { return p.kontejner.get(); },
                                 [](TPropProbe& p, TEntity* v) { p.kontejner = v; });
        });
        return &info;
    }
    TClass ClassType() const override { return StaticClass(); }

    qint32 cislo = 0;
    quint8 bajt = 0;
    bool priznak = false;
    int barva = 0;
    qint32 styl = 0;
    QChar znak = QLatin1Char('a');
    double plocha = 0.0;
    QString popis;
    QString soubor;
    WeakRef<TElement> odkaz;
    qint64 velke = 0;
    QVariant cokoli;
    TMethodRef onZmena;
    QString docasny;
    QString podminene;
    WeakRef<TEntity> kontejner;
};

// The framework's own classes and the probes, registered once per test binary.
inline void registerTestClasses()
{
    static bool done = false;
    RegisterElementsUnit();
    if (done)
        return;
    done = true;
    RegisterLumexClass(TPlainProbe::StaticClass());
    RegisterLumexClass(TOwnedProbe::StaticClass());
    RegisterLumexClass(TPropProbe::StaticClass());
}

// The recording UI that the test main installs.
inline ui::RecordingServices& recorder()
{
    return dynamic_cast<ui::RecordingServices&>(ui::services());
}

// Registers the test classes, resets the destruction count and the recorded UI.
class ElementsFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        registerTestClasses();
        destroyedCount() = 0;
        recorder().clear();
    }
};

} // namespace lumextest
