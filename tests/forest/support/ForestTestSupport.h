// Small forest classes and helpers shared by the tests of the forest layer.
#pragma once

#include "forest/base/ForestRegistration.h"
#include "forest/base/LesniMnozina.h"
#include "framework/core/ClassRegistry.h"
#include "framework/core/StartupRegistration.h"
#include "platform/ui/Services.h"

#include <QString>

#include <gtest/gtest.h>

namespace foresttest {

// A forest item with a number and a text, as the hierarchy's items carry.
class TTestPrvek : public TObecnyLesniPrvek
{
public:
    static TClass StaticClass()
    {
        static const TClassInfo info =
            describeClass<TTestPrvek, TObecnyLesniPrvek>("TTestPrvek", [](PropertyTable<TTestPrvek>& t) {
                t.integer("ZAST", &TTestPrvek::zast, [](TTestPrvek& p, qint32 v) { p.zast = v; })
                    .string("POPIS", &TTestPrvek::popis, [](TTestPrvek& p, const QString& v) { p.popis = v; });
            });
        return &info;
    }
    TClass ClassType() const override { return StaticClass(); }

    qint32 zast = 0;
    QString popis;
};

// A set of TTestPrvek with the prefix given (default "POR").
class TTestMN : public TLesniMnozina
{
public:
    TTestMN() { setItems(TTestPrvek::StaticClass(), QStringLiteral("POR")); }
    static TClass StaticClass()
    {
        static const TClassInfo info = describeClass<TTestMN, TLesniMnozina>("TTestMN");
        return &info;
    }
    TClass ClassType() const override { return StaticClass(); }
};

inline void registerClasses()
{
    RegisterFrameworkUnits();
    RegisterForestUnits();
    RegisterUnitClasses({TTestPrvek::StaticClass(), TTestMN::StaticClass()});
}

// The recording UI that the test main installs.
inline ui::RecordingServices& recorder()
{
    return dynamic_cast<ui::RecordingServices&>(ui::services());
}

// Registers the classes and clears the recorded UI.
class ForestFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        registerClasses();
        recorder().clear();
    }
};

} // namespace foresttest
