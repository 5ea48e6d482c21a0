// Tests of the compartment walk: designations that repeat, species keys, proposals, failed rows.
#include "app/sources/vex/VexFixture.h"
#include "app/sources/vex/VexLoader.h"
#include "app/support/ModelDump.h"

#include "forest/hierarchy/Dilec.h"
#include "forest/hierarchy/Drevina.h"
#include "forest/hierarchy/Etaz.h"
#include "forest/hierarchy/Kategorie.h"
#include "forest/hierarchy/NonStockedLand.h"
#include "forest/hierarchy/Porost.h"
#include "forest/hierarchy/PorostniSkupina.h"

namespace vextest {
namespace {

using vex::Version;

// Column positions of the generated tables (the declared field order).
constexpr int kDrZkr = 0, kProcSous = 14, kDrVazba = 16, kDrId = 17;
constexpr int kEtazVazba = 0, kEtazName = 1, kEtazId = 2;
constexpr int kBzlNumber = 2;

class VexLoader : public VexUnitTest
{
protected:
    // A one-compartment unit whose first storey gets the given species rows (abbreviation,
    // PROC_SOUS) and the given proposal rows (kind, abbreviation).
    void storeyWith(Version version, const QList<QPair<QString, int>>& species,
                    const QList<QPair<int, QString>>& proposals = {})
    {
        samples::UnitOptions o;
        o.version = version;
        o.compartments = 1;
        o.groupsPerStand = 1;
        o.seed = 3;
        o.lhcRow = version == Version::V98 ? 1 : 0;
        makeUnit(o);
        double storeyId = 0;
        editTable(QStringLiteral("ETAZ.DB"), [&](QList<QVariantList>& rows, const db::FieldDefs&) {
            storeyId = rows[0][kEtazId].toDouble();
        });
        editTable(QStringLiteral("DREVINA.DB"), [&](QList<QVariantList>& rows, const db::FieldDefs&) {
            QVariantList model = rows[0];
            rows.erase(std::remove_if(rows.begin(), rows.end(),
                                      [&](const QVariantList& r) { return r[kDrVazba].toDouble() == storeyId; }),
                       rows.end());
            double id = 9000;
            for (const auto& [code, proc] : species) {
                QVariantList r = model;
                r[kDrZkr] = code;
                r[kProcSous] = proc;
                r[kDrVazba] = storeyId;
                r[kDrId] = ++id;
                rows.append(r);
            }
        });
        editTable(QStringLiteral("NAVRH.DB"), [&](QList<QVariantList>& rows, const db::FieldDefs& defs) {
            rows.erase(std::remove_if(rows.begin(), rows.end(),
                                      [&](const QVariantList& r) { return r[0].toDouble() == storeyId; }),
                       rows.end());
            double id = 9000;
            double volume = 10;
            for (const auto& [kind, code] : proposals) {
                QVariantList r(defs.Count());
                r[0] = storeyId;
                r[1] = ++id;
                r[2] = kind;
                r[3] = code;
                r[5] = volume++;
                r[12] = QStringLiteral("1");
                rows.append(r);
            }
        });
    }

    TEtaz* firstStorey()
    {
        EXPECT_TRUE(source().loadFirstCompartment(*unit));
        TOddeleni* odd = current();
        for (int d = 0; d < odd->DilecMN()->Count(); ++d) {
            auto* dilec = dynamic_cast<TDilec*>(odd->DilecMN()->Items(d));
            for (int p = 0; dilec && p < dilec->PorostMN()->Count(); ++p) {
                auto* stand = dynamic_cast<TPorost*>(dilec->PorostMN()->Items(p));
                if (!stand || !stand->ExistingPorostniSkupinaMN())
                    continue;
                auto* group = dynamic_cast<TPorostniSkupina*>(stand->PorostniSkupinaMN()->Items(0));
                if (group && group->EtazMN()->Count() > 0)
                    return dynamic_cast<TEtaz*>(group->EtazMN()->Items(0));
            }
        }
        return nullptr;
    }

    static QStringList speciesNames(TEtaz* storey)
    {
        QStringList names;
        for (int i = 0; i < storey->DrevinaMN()->Count(); ++i)
            names.append(storey->DrevinaMN()->Items(i)->GetPropAsString(QStringLiteral("Name")));
        return names;
    }
};

TEST_F(VexLoader, LivingThenDeadWoodGiveTwoSpecies)
{
    for (const Version v : {Version::V97, Version::V98}) {
        TearDown();
        SetUp();
        storeyWith(v, {{QStringLiteral("SM"), 0}, {QStringLiteral("SM"), 100}});
        TEtaz* storey = firstStorey();
        ASSERT_NE(storey, nullptr);
        EXPECT_EQ(speciesNames(storey), QStringList({QStringLiteral("DREV SM"), QStringLiteral("DREV SMs")}));
    }
}

TEST_F(VexLoader, DeadWoodFirstIsRenamedAndTheLivingRowTakesTheKey)
{
    storeyWith(Version::V98, {{QStringLiteral("SM"), 100}, {QStringLiteral("SM"), 0}});
    TEtaz* storey = firstStorey();
    ASSERT_NE(storey, nullptr);
    EXPECT_EQ(speciesNames(storey), QStringList({QStringLiteral("SMs DREV"), QStringLiteral("DREV SM")}));
}

TEST_F(VexLoader, ASecondLivingRowIsReportedNotMergedIntoTheFirst)
{
    for (const Version v : {Version::V97, Version::V98}) {
        TearDown();
        SetUp();
        storeyWith(v, {{QStringLiteral("BK"), 0}, {QStringLiteral("BK"), 0}});
        TEtaz* storey = firstStorey();
        ASSERT_NE(storey, nullptr);
        EXPECT_EQ(speciesNames(storey), QStringList({QStringLiteral("DREV BK")}));
        ASSERT_EQ(messageTexts().size(), 1);
        EXPECT_TRUE(messageTexts()[0].endsWith(QStringLiteral(" vyskytuje se duplicitní drevina.")));
        // The kept element holds the first row's values.
        EXPECT_EQ(storey->DrevinaMN()->Items(0)->GetPropAsInteger(QStringLiteral("RId")), 9001);
    }
}

TEST_F(VexLoader, Version98MatchesProposalsByRank)
{
    storeyWith(Version::V98, {{QStringLiteral("SM"), 0}, {QStringLiteral("SM"), 100}},
               {{11, QStringLiteral("SM")}, {11, QStringLiteral("SM")}});
    TEtaz* storey = firstStorey();
    ASSERT_NE(storey, nullptr);
    ASSERT_EQ(storey->DrevinaMN()->Count(), 2);
    EXPECT_EQ(storey->DrevinaMN()->Items(0)->GetPropAsInteger(QStringLiteral("DR_TV")), 10);
    EXPECT_EQ(storey->DrevinaMN()->Items(1)->GetPropAsInteger(QStringLiteral("DR_TV")), 11);
}

TEST_F(VexLoader, ASpeciesMissingFromRegenerationIsReportedAndZeroed)
{
    for (const Version v : {Version::V97, Version::V98}) {
        TearDown();
        SetUp();
        storeyWith(v, {{QStringLiteral("SM"), 0}, {QStringLiteral("BK"), 0}},
                   {{10, QStringLiteral("SM")}, {11, QStringLiteral("BK")}});
        TEtaz* storey = firstStorey();
        ASSERT_NE(storey, nullptr);
        TElement* sm = storey->DrevinaMN()->Items(0);
        TElement* bk = storey->DrevinaMN()->Items(1);
        EXPECT_EQ(sm->GetPropAsInteger(QStringLiteral("DR_TO")), 10);
        EXPECT_EQ(sm->GetPropAsInteger(QStringLiteral("DR_TV")), 0);
        EXPECT_EQ(bk->GetPropAsInteger(QStringLiteral("DR_TO")), 0);
        EXPECT_EQ(bk->GetPropAsInteger(QStringLiteral("DR_TV")), 11);
        ASSERT_EQ(messageTexts().size(), 1);
        EXPECT_TRUE(messageTexts()[0].endsWith(QStringLiteral("Drev: BKchybí v TO dřevina . Zruš TO a navrhni jej znovu.")))
            << messageTexts()[0].toStdString();
    }
}

TEST_F(VexLoader, ARepeatedStoreyIsReportedAndSkipped)
{
    storeyWith(Version::V97, {{QStringLiteral("SM"), 0}});
    editTable(QStringLiteral("ETAZ.DB"), [](QList<QVariantList>& rows, const db::FieldDefs&) {
        QVariantList twin = rows[0];
        twin[kEtazId] = 8000.0;
        rows.insert(1, twin);
        EXPECT_EQ(twin[kEtazName], rows[0][kEtazName]);
        EXPECT_EQ(twin[kEtazVazba], rows[0][kEtazVazba]);
    });
    ASSERT_NE(firstStorey(), nullptr);
    ASSERT_EQ(messageTexts().size(), 1);
    EXPECT_TRUE(messageTexts()[0].endsWith(QStringLiteral(" vyskytuje se duplicitní označení etáže.")));
}

TEST_F(VexLoader, BareLandNumbersRepeatWithLettersAndZeroIsReported)
{
    storeyWith(Version::V98, {{QStringLiteral("SM"), 0}});
    double standId = 0;
    editTable(QStringLiteral("POROST.DB"), [&](QList<QVariantList>& rows, const db::FieldDefs&) { standId = rows[0][2].toDouble(); });
    editTable(QStringLiteral("BEZLESI.DB"), [&](QList<QVariantList>& rows, const db::FieldDefs& defs) {
        rows.clear();
        for (const int number : {3, 3, 3, 0}) {
            QVariantList r(defs.Count());
            r[0] = standId;
            r[1] = double(700 + rows.size());
            r[kBzlNumber] = double(number);
            rows.append(r);
        }
    });
    ASSERT_TRUE(source().loadFirstCompartment(*unit));
    auto* dilec = dynamic_cast<TDilec*>(current()->DilecMN()->Items(0));
    auto* stand = dynamic_cast<TPorost*>(dilec->PorostMN()->Items(0));
    ASSERT_NE(stand->ExistingBezlesiMN(), nullptr);
    QStringList names;
    for (int i = 0; i < stand->BezlesiMN()->Count(); ++i)
        names.append(stand->BezlesiMN()->Items(i)->GetPropAsString(QStringLiteral("Name")));
    EXPECT_EQ(names, QStringList({QStringLiteral("BZL 3"), QStringLiteral("BZL 3a"), QStringLiteral("BZL 3b")}));
    ASSERT_EQ(messageTexts().size(), 1);
    EXPECT_TRUE(messageTexts()[0].endsWith(QStringLiteral(" vyskytuje se chybné označení bezlesi.")));
}

TEST_F(VexLoader, AnAfforestationRowWithoutItsGivenKindIsReported)
{
    storeyWith(Version::V97, {{QStringLiteral("SM"), 0}}, {{2, QStringLiteral("BK")}});
    editTable(QStringLiteral("NAVRH.DB"), [](QList<QVariantList>& rows, const db::FieldDefs&) {
        for (QVariantList& r : rows)
            if (r[2].toInt() == 2)
                r[12] = QVariant();
    });
    ASSERT_NE(firstStorey(), nullptr);
    ASSERT_EQ(messageTexts().size(), 1);
    EXPECT_TRUE(messageTexts()[0].startsWith(QStringLiteral("Chyba při načítání zalesnění : ")));
}

TEST_F(VexLoader, AnOddOtherLandCategoryDoesNotAbortTheLoad)
{
    storeyWith(Version::V97, {{QStringLiteral("SM"), 0}});
    double compartmentId = 0;
    editTable(QStringLiteral("ODDELENI.DB"), [&](QList<QVariantList>& rows, const db::FieldDefs&) { compartmentId = rows[0][2].toDouble(); });
    editTable(QStringLiteral("JINE_POZ.DB"), [&](QList<QVariantList>& rows, const db::FieldDefs& defs) {
        rows.clear();
        QVariantList r(defs.Count());
        r[0] = compartmentId;
        r[1] = 2.0;
        r[2] = 501.0;
        r[defs.Count() - 1] = QStringLiteral("xy");
        rows.append(r);
    });
    ASSERT_TRUE(source().loadFirstCompartment(*unit));
    EXPECT_TRUE(messageTexts().isEmpty()) << messageTexts().join(QLatin1Char('\n')).toStdString();
    auto* stand = dynamic_cast<TDilec*>(current()->DilecMN()->Items(0))->Porost();
    ASSERT_EQ(stand->JinyPozemekMN()->Count(), 1);
    TElement* land = stand->JinyPozemekMN()->Items(0);
    EXPECT_EQ(land->GetPropAsInteger(QStringLiteral("JP")), 2);
    EXPECT_EQ(TJinyPozemek::KategorieMN(static_cast<TEntity*>(land))->KategorieVcetnePrekryvu(), QStringLiteral("xy"));
}

TEST_F(VexLoader, ACompartmentWithoutSubCompartmentsGetsDashesHoldingItsOtherLand)
{
    for (const Version v : {Version::V97, Version::V98}) {
        TearDown();
        SetUp();
        storeyWith(v, {{QStringLiteral("SM"), 0}});
        double compartmentId = 0;
        editTable(QStringLiteral("ODDELENI.DB"),
                  [&](QList<QVariantList>& rows, const db::FieldDefs&) { compartmentId = rows[0][2].toDouble(); });
        editTable(QStringLiteral("DILEC.DB"), [](QList<QVariantList>& rows, const db::FieldDefs&) { rows.clear(); });
        editTable(QStringLiteral("JINE_POZ.DB"), [&](QList<QVariantList>& rows, const db::FieldDefs& defs) {
            rows.clear();
            QVariantList r(defs.Count());
            r[0] = compartmentId;
            r[1] = 4.0;
            r[2] = 77.0;
            rows.append(r);
        });
        ASSERT_TRUE(source().loadFirstCompartment(*unit));
        ASSERT_EQ(current()->DilecMN()->Count(), 1);
        auto* dilec = dynamic_cast<TDilec*>(current()->DilecMN()->Items(0));
        EXPECT_EQ(dilec->GetPropAsString(QStringLiteral("Name")), QStringLiteral("DIL -"));
        TPorost* stand = dilec->Porost();
        ASSERT_NE(stand, nullptr);
        EXPECT_EQ(stand->GetPropAsString(QStringLiteral("Name")), QStringLiteral("POR -"));
        // Version 97 hangs the compartment's other land under that stand; in version 98 other
        // land belongs to a stand row, and there is none.
        EXPECT_EQ(stand->ExistingJinyPozemekMN() ? stand->JinyPozemekMN()->Count() : 0, v == Version::V97 ? 1 : 0);
        EXPECT_TRUE(messageTexts().isEmpty());
    }
}

// A protected storey table of an older structure opens as it is; a column that the loader copies
// and the table lacks fails the load, naming the column.
TEST_F(VexLoader, AColumnMissingFromAProtectedStoreyTableFailsTheLoadNamingIt)
{
    storeyWith(Version::V98, {{QStringLiteral("SM"), 0}});
    editTable(QStringLiteral("ETAZ.DB"), [](QList<QVariantList>& rows, db::FieldDefs& defs) {
        const int dropped = defs.IndexOf(QStringLiteral("ZAKM"));
        db::FieldDefs kept;
        for (const db::FieldDef& d : defs)
            if (d.Name != QLatin1String("ZAKM"))
                kept.Add(d.Name, d.DataType, d.Size);
        defs = kept;
        for (QVariantList& r : rows)
            r.removeAt(dropped);
    });
    QFile index(dataTable(QStringLiteral("ETAZ.PX")));
    ASSERT_TRUE(index.open(QIODevice::WriteOnly));
    index.write(QByteArray(2048, '\x02'));
    index.close();
    try {
        source().loadFirstCompartment(*unit);
        ADD_FAILURE() << "the load went through";
    } catch (const Exception& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("'ZAKM'"))) << e.message().toStdString();
    }
}

// A model dump without the codebooks that the elements refer to (properties indented deeper).
QStringList withoutCodebooks(const QStringList& lines)
{
    static const QStringList references = {"Ciselnik:", "ciselLumex:", "ciselLumexOwnEnt:", "SeznamExportStandard:"};
    QStringList kept;
    qsizetype skipDeeperThan = -1;
    for (const QString& line : lines) {
        const qsizetype indent = line.size() - QStringView(line).trimmed().size();
        if (skipDeeperThan >= 0 && indent > skipDeeperThan)
            continue;
        skipDeeperThan = references.contains(line.trimmed()) ? indent : -1;
        if (skipDeeperThan < 0)
            kept.append(line);
    }
    return kept;
}

// Every property of every element of a generated unit and the messages, against the dump of a
// reference load (regenerated with GENKLAS_REGENERATE_GOLDEN).
TEST_F(VexLoader, LoadsTheReferenceModel)
{
    for (const Version v : {Version::V97, Version::V98}) {
        TearDown();
        SetUp();
        samples::UnitOptions o;
        o.version = v;
        o.compartments = 3;
        o.groupsPerStand = 3;
        o.speciesPerStorey = 5;
        o.seed = 11;
        o.lhcRow = v == Version::V98 ? 1 : 0;
        makeUnit(o);
        QStringList model;
        auto dumpCompartment = [&] {
            model << current()->GetPropAsString(QStringLiteral("Name"));
            for (int d = 0; d < current()->DilecMN()->Count(); ++d)
                model << withoutCodebooks(testapp::dumpModel(current()->DilecMN()->Items(d)));
        };
        ASSERT_TRUE(source().loadFirstCompartment(*unit));
        dumpCompartment();
        while (!source().endOfData()) {
            ASSERT_TRUE(source().loadNextCompartment(*unit));
            dumpCompartment();
        }
        model << messageTexts();
        const QByteArray dump =
            (model.join(QLatin1Char('\n')).replace(programDir, QStringLiteral("<program>")) + QLatin1Char('\n')).toUtf8();
        const QString golden = QStringLiteral(GENKLAS_GOLDEN_DIR "/app/vex/model%1.txt").arg(v == Version::V98 ? 98 : 97);
        if (qEnvironmentVariableIsSet("GENKLAS_REGENERATE_GOLDEN")) {
            QFile out(golden);
            ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
            out.write(dump);
        }
        EXPECT_EQ(dump, fileBytes(golden));
    }
}

} // namespace
} // namespace vextest
