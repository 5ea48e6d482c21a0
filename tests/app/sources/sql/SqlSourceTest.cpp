// Tests of the SQL source: schema, login, unit choice and the loader, on SQLite and PostgreSQL.
#include "app/sources/sql/SqlFixture.h"

#include "app/sources/LesniCelek.h"
#include "app/sources/Source.h"
#include "forest/hierarchy/Dilec.h"
#include "forest/hierarchy/Drevina.h"
#include "forest/hierarchy/Etaz.h"
#include "forest/hierarchy/Kategorie.h"
#include "forest/hierarchy/LHC.h"
#include "forest/hierarchy/NonStockedLand.h"
#include "forest/hierarchy/Oddeleni.h"
#include "forest/hierarchy/Porost.h"
#include "forest/hierarchy/PorostniSkupina.h"
#include "forest/hierarchy/Poskozeni.h"
#include "forest/hierarchy/Zalesneni.h"
#include "platform/db/sql/Database.h"
#include "platform/ui/Services.h"

#include <QSqlDatabase>
#include <QSqlQuery>

namespace {

using testsql::Row;
using testsql::SqlDatabaseTest;

ui::RecordingServices& recorder()
{
    return static_cast<ui::RecordingServices&>(ui::services());
}

template<class T>
T* item(TEntity* set, int index)
{
    return set && index < set->Count() ? dynamic_cast<T*>(set->Items(index)) : nullptr;
}

QString prop(TElement* e, const char* name)
{
    return e ? e->GetPropAsString(QString::fromLatin1(name)) : QStringLiteral("<nil>");
}

class SqlSourceTest : public SqlDatabaseTest
{
protected:
    void unitRow(int kod, int id, const QString& name, int etatTc = 0, int etatTo = 0)
    {
        insert("LHC", {{"LHC_KOD", kod}, {"LHC_KOD_ID", id}, {"LHC_NAZ", name}, {"LHP_OD", QStringLiteral("2020-01-01")},
                       {"LHP_DO", QStringLiteral("2029-12-31")}, {"ETAT_TC", etatTc}, {"ETAT_TO", etatTo}});
    }
    Row standKey(int kod, int odd, int oddId, const QString& dil, const QString& por)
    {
        return {{"LHC_KOD", kod}, {"LHC_KOD_ID", 0}, {"ODD", odd}, {"ODD_ID", oddId}, {"DIL", dil}, {"POR", por}};
    }
    void stand(int kod, int odd, int oddId, const QString& dil, const QString& por, Row more = {})
    {
        Row r = standKey(kod, odd, oddId, dil, por);
        r.insert(r.end(), more.begin(), more.end());
        insert("POROST", r);
    }
    void child(const char* table, Row key, Row more)
    {
        key.insert(key.end(), more.begin(), more.end());
        insert(table, key);
    }

    // A source started on unit (kod, 0): list built, first compartment loaded.
    std::unique_ptr<app::Source> start(Owned<TLesniCelek>& unit, int kod, QStringList* list = nullptr)
    {
        unit = Create<TLesniCelek>();
        auto source = app::createSource(5, {dataDir(), dataDir()});
        chosen = sqlsrc::UnitKey{kod, 0};
        const QStringList l = source->buildCompartmentList(*unit);
        if (list)
            *list = l;
        source->loadFirstCompartment(*unit);
        return source;
    }
};

TEST_P(SqlSourceTest, SchemaIsCreatedOnceAndAPartialDatabaseIsLeftAlone)
{
    // The fixture created the tables; a second check changes nothing.
    db::Database again(QStringLiteral("AGAIN"));
    again.SetAliasName(QStringLiteral("LHP"));
    again.Params() << QStringLiteral("USER NAME=") + login().user;
    again.Open();
    EXPECT_EQ(sqlsrc::ensureSchema(again), QString());
    exec(QStringLiteral("DROP TABLE SKODY"));
    const QString problem = sqlsrc::ensureSchema(again);
    EXPECT_TRUE(problem.contains(QStringLiteral("SKODY"))) << problem.toStdString();
    EXPECT_FALSE(again.sqlDatabase().tables().contains(QStringLiteral("SKODY"), Qt::CaseInsensitive));

    // The source refuses it with that message and reads nothing.
    Owned<TLesniCelek> unit;
    auto source = start(unit, 1);
    EXPECT_TRUE(source->endOfData());
    ASSERT_FALSE(recorder().messages.empty());
    EXPECT_EQ(recorder().messages.front().text, problem);
}

TEST_P(SqlSourceTest, HeaderListAndCompartmentsOfAUnit)
{
    unitRow(7, 0, QStringLiteral("Lesy '7'"), 500, 300);
    unitRow(8, 0, QStringLiteral("Jiný"));
    // Rows out of order and a compartment number under two ODD_IDs.
    stand(7, 12, 2, QStringLiteral("a"), QStringLiteral("1"));
    stand(7, 5, 1, QStringLiteral("b"), QStringLiteral("2"), {{"POR_TEXT", QStringLiteral("O'Brien")}});
    stand(8, 5, 1, QStringLiteral("a"), QStringLiteral("1"));
    stand(7, 12, 1, QStringLiteral("a"), QStringLiteral("1"));
    stand(7, 5, 1, QStringLiteral("a"), QStringLiteral("1"));
    stand(7, 100, 1, QStringLiteral("a"), QStringLiteral("1"));

    Owned<TLesniCelek> unit;
    QStringList list;
    auto source = start(unit, 7, &list);
    EXPECT_EQ(list, (QStringList{QStringLiteral("  5"), QStringLiteral(" 12"), QStringLiteral("100")}));
    TLHC* lhc = unit->LHC();
    EXPECT_EQ(prop(lhc, "LHC_NAZ"), QStringLiteral("Lesy '7'"));
    EXPECT_EQ(prop(lhc, "LHP_OD"), QStringLiteral("2020-01-01"));
    EXPECT_EQ(lhc->GetPropAsInteger(QStringLiteral("ETAT_TV")), 200);

    QStringList seen;
    for (;;) {
        TOddeleni* odd = lhc->Oddeleni();
        ASSERT_NE(odd, nullptr);
        QStringList stands;
        for (int d = 0; d < odd->DilecMN()->Count(); ++d) {
            auto* dilec = item<TDilec>(odd->DilecMN(), d);
            for (int p = 0; p < dilec->PorostMN()->Count(); ++p)
                stands << dilec->DIL() + QLatin1Char('/') + prop(item<TPorost>(dilec->PorostMN(), p), "POR");
        }
        seen << QStringLiteral("%1:%2 %3").arg(odd->ODD()).arg(prop(odd, "ODD_ID"), stands.join(QLatin1Char(',')));
        if (source->endOfData())
            break;
        ASSERT_TRUE(source->loadNextCompartment(*unit));
    }
    EXPECT_EQ(seen, (QStringList{QStringLiteral("5:1 a/1,b/2"), QStringLiteral("12:1 a/1"), QStringLiteral("12:2 a/1"),
                                 QStringLiteral("100:1 a/1")}));
    EXPECT_FALSE(source->loadNextCompartment(*unit));

    // A restart shows the list again and begins at the first compartment.
    source->buildCompartmentList(*unit);
    ASSERT_TRUE(source->loadFirstCompartment(*unit));
    EXPECT_EQ(lhc->Oddeleni()->ODD(), 5);
    EXPECT_EQ(loginCalls, 1);   // one login per run
}

TEST_P(SqlSourceTest, EveryLevelIsLoadedByTheStoredKeysOfItsParents)
{
    unitRow(3, 0, QStringLiteral("Úplný"));
    const Row s = standKey(3, 1, 1, QStringLiteral("a"), QStringLiteral("1'x"));
    stand(3, 1, 1, QStringLiteral("a"), QStringLiteral("1'x"),
          {{"OR_UR1_KOD", 4}, {"OR_UR2_KOD", 4}, {"OR_UR3_KOD", 0}, {"LES_OBL", QStringLiteral("33")},
           {"POR_TEXT", QStringLiteral("pozn.")}});
    // A stand-group key as stored that the model writes differently.
    const QString storedPsk = QStringLiteral("1");
    TPorostniSkupina probe;
    probe.SetPSK(storedPsk);
    ASSERT_NE(probe.PSK(), storedPsk);
    Row g = s;
    g.emplace_back("PSK", storedPsk);
    child("POROST_SKUP", s, {{"PSK", storedPsk}, {"PSK_TEXT", QStringLiteral("it's")}, {"PSK_P", 1.25}});
    child("PREKRYV", s, {{"KATEGORIE", QStringLiteral("10a")}});
    child("BEZLESI", s, {{"BZL", 2}, {"BZL_P", 0.5}});
    child("JINE_POZ", s, {{"JP", 3}, {"MAJ_KOD", 17}});
    Row e = g;
    e.emplace_back("ETAZ", QStringLiteral("1"));
    child("ETAZ", g, {{"ETAZ", QStringLiteral("1")}, {"VEK", 45}, {"ETAZ_PS", 0.8}});
    child("DREVINA", e, {{"DR_ZKR", QStringLiteral("SM")}, {"ZAST", 60}, {"DR_TO", 10}});
    child("DREVINA", e, {{"DR_ZKR", QStringLiteral("SM")}, {"ZAST", 70}, {"OBJ_SOUSI", 3}});
    child("DREV_ZALES", e, {{"ZAL_DR", QStringLiteral("BK")}, {"ZAL_P", 0.3}});
    Row sp = e;
    sp.emplace_back("DR_ZKR", QStringLiteral("SM"));
    child("SKODY", sp, {{"POSKOZ_D", 1}, {"POSKOZ_R", 2}});
    child("SKODY", sp, {{"POSKOZ_D", 5}, {"POSKOZ_R", 1}});
    // Rows of another unit with the same keys stay out.
    Row other = s;
    other[0].second = 4;
    child("PREKRYV", other, {{"KATEGORIE", QStringLiteral("99")}});

    Owned<TLesniCelek> unit;
    auto source = start(unit, 3);
    TOddeleni* odd = unit->LHC()->Oddeleni();
    ASSERT_NE(odd, nullptr);
    auto* stand = item<TPorost>(item<TDilec>(odd->DilecMN(), 0)->PorostMN(), 0);
    ASSERT_NE(stand, nullptr);
    EXPECT_EQ(prop(stand, "POR"), QStringLiteral("1'x"));
    EXPECT_EQ(stand->POR_TEXT()->Lines, QStringList{QStringLiteral("pozn.")});
    TOrg_UrovenMN* levels = TJinyPozemek::Org_UrovenMN(stand);
    ASSERT_EQ(levels->Count(), 3);   // repeated and zero codes included
    EXPECT_EQ(item<TOrg_Uroven>(levels, 1)->ORG_UROVEN(), 4);
    EXPECT_EQ(item<TOrg_Uroven>(levels, 2)->ORG_UROVEN(), 0);
    EXPECT_EQ(TJinyPozemek::KategorieMN(stand)->Count(), 1);
    EXPECT_EQ(prop(item<TKategorie>(TJinyPozemek::KategorieMN(stand), 0), "KATEGORIE"), QStringLiteral("10a"));
    EXPECT_EQ(stand->BezlesiMN()->Count(), 1);
    ASSERT_EQ(stand->JinyPozemekMN()->Count(), 1);
    EXPECT_EQ(prop(item<TJinyPozemek>(stand->JinyPozemekMN(), 0), "MAJ_KOD_JP"), QStringLiteral("17"));

    auto* group = item<TPorostniSkupina>(stand->PorostniSkupinaMN(), 0);
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(prop(group, "PSK_TEXT"), QStringLiteral("it's"));
    EXPECT_EQ(group->GetPropAsString(QStringLiteral("PSK_P")).replace(QLatin1Char(','), QLatin1Char('.')), QStringLiteral("1.25"));
    auto* storey = item<TEtaz>(group->EtazMN(), 0);
    ASSERT_NE(storey, nullptr) << "storeys of PSK stored as \"" << storedPsk.toStdString() << "\", model \""
                               << probe.PSK().toStdString() << "\"";
    EXPECT_EQ(storey->GetPropAsInteger(QStringLiteral("VEK")), 45);
    // Two rows of one species: one element with the second row's values and both damage rows.
    ASSERT_EQ(storey->DrevinaMN()->Count(), 1);
    auto* species = item<TDrevina>(storey->DrevinaMN(), 0);
    EXPECT_EQ(species->GetPropAsInteger(QStringLiteral("ZAST")), 70);
    EXPECT_EQ(species->GetPropAsInteger(QStringLiteral("PROC_SOUS")), 3);
    EXPECT_EQ(species->PoskozeniMN()->Count(), 2);
    EXPECT_EQ(storey->ZalesneniMN()->Count(), 1);
}

TEST_P(SqlSourceTest, CancelledLoginOrListOrEmptyUnitGiveNothing)
{
    unitRow(1, 0, QStringLiteral("Prázdný"));
    Owned<TLesniCelek> unit = Create<TLesniCelek>();
    auto source = app::createSource(5, {dataDir(), dataDir()});
    cancelLogin = true;
    chosen = sqlsrc::UnitKey{1, 0};
    EXPECT_TRUE(source->buildCompartmentList(*unit).isEmpty());
    EXPECT_FALSE(source->loadFirstCompartment(*unit));
    EXPECT_TRUE(source->endOfData());
    ASSERT_EQ(recorder().messages.size(), 1u);
    EXPECT_EQ(recorder().messages[0].text, QStringLiteral("Databáze LHC nebude otevřena."));

    cancelLogin = false;
    chosen.reset();
    EXPECT_TRUE(source->buildCompartmentList(*unit).isEmpty());
    EXPECT_FALSE(source->loadFirstCompartment(*unit));

    chosen = sqlsrc::UnitKey{1, 0};
    EXPECT_TRUE(source->buildCompartmentList(*unit).isEmpty());
    EXPECT_FALSE(source->loadFirstCompartment(*unit));
    EXPECT_TRUE(source->endOfData());
}

TEST_P(SqlSourceTest, AFailedLoginIsReportedAndAskedAgain)
{
    if (GetParam() != sqlsrc::Engine::Postgres)
        GTEST_SKIP() << "SQLite accepts every user";
    int calls = 0;
    sqlsrc::loginDialog() = [&](const QString&, const QString&) -> std::optional<sqlsrc::LoginAnswer> {
        if (++calls == 1)
            return sqlsrc::LoginAnswer{QStringLiteral("LHP"), QStringLiteral("nikdo"), QStringLiteral("tajne")};
        if (calls == 2)
            return login();
        return std::nullopt;
    };
    db::Database database(QStringLiteral("LOGIN_TEST"));
    EXPECT_TRUE(sqlsrc::LoginLhpDatabase(database, sqlsrc::loginDialog()));
    EXPECT_EQ(calls, 2);
    ASSERT_GE(recorder().messages.size(), 2u);
    EXPECT_EQ(recorder().messages[1].text, QStringLiteral("Databázi nelze připojit. Zkuste to znovu."));
    for (const auto& m : recorder().messages)
        EXPECT_FALSE(m.text.contains(QStringLiteral("tajne")));
}

INSTANTIATE_TEST_SUITE_P(Engines, SqlSourceTest, ::testing::Values(sqlsrc::Engine::Sqlite, sqlsrc::Engine::Postgres),
                         testsql::engineName);

} // namespace
