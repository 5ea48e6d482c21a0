// Tests of the detection of a chosen directory's kind of data and of what the choice stores.
#include "app/sources/SourceChoice.h"

#include "app/sources/LesniCelek.h"
#include "forest/hierarchy/LHC.h"
#include "platform/ini/IniFile.h"
#include "platform/ui/Services.h"
#include "support/ParadoxFixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using app::detectSourceKind;

ui::RecordingServices& recorder()
{
    return static_cast<ui::RecordingServices&>(ui::services());
}

void touch(const QString& path, const QByteArray& content = {})
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
}

// An interchange data header naming the given columns.
QByteArray fstHeader(const QStringList& columns)
{
    QByteArray h = "|\r\n,\r\n" + QByteArray::number(columns.size()) + "\r\n";
    for (const QString& c : columns)
        h += c.toLatin1() + "\r\n";
    return h + "0\r\n";
}

void writeUnitTable(const QString& dir, bool version98)
{
    QList<test::FixtureField> fields = {{"LHC_KOD", "A", 6}, {"LHC_NAZ", "A", 40}};
    QList<QVariantList> rows = {{QStringLiteral("812-01"), QStringLiteral("Les")}};
    if (version98) {
        fields.append(test::FixtureField{"LHC_PN_PRO", "I"});
        rows[0].append(0);
    }
    test::writeParadoxTable(dir + "/LHC.DB", fields, rows);
    touch(dir + "/OST_POZ.DB");
}

class Detection : public ::testing::Test
{
protected:
    void SetUp() override { recorder().clear(); }
    QTemporaryDir tmp;
    QString d() const { return tmp.path(); }
};

TEST_F(Detection, AliasCancelAndEmptyDirectories)
{
    EXPECT_EQ(detectSourceKind("ALIAS").kind, 5);
    EXPECT_EQ(detectSourceKind("  ALIAS ").kind, 5);
    EXPECT_EQ(detectSourceKind("alias").kind, 7);
    EXPECT_EQ(detectSourceKind("NicSeNavybralo").kind, 7);
    EXPECT_EQ(detectSourceKind("").kind, 7);
    EXPECT_EQ(detectSourceKind(d()).kind, 7);
}

TEST_F(Detection, OldRecordFilesGiveTheFirstUnitNumberAndReportOthers)
{
    touch(d() + "/812.01V");
    touch(d() + "/812.02v");
    touch(d() + "/913.01V");
    touch(d() + "/abc.01V");   // not a number: ignored
    const app::DetectedSource found = detectSourceKind(d());
    EXPECT_EQ(found.kind, 0);
    ASSERT_TRUE(found.lhcKod.has_value());
    EXPECT_EQ(*found.lhcKod, 812);
    ASSERT_EQ(recorder().messages.size(), 1u);
    EXPECT_EQ(recorder().messages[0].text,
              QStringLiteral("V adresáři %1jsou data lhc č.812 i lhc č.913. Načítám pouze lhc č.812 .").arg(d()));
}

TEST_F(Detection, InterchangeFilesByTheStandColumnOfTheOtherLandFile)
{
    touch(d() + "/PP.FST");
    touch(d() + "/JP.FST", fstHeader({"LHC_KOD", "ODD"}));
    EXPECT_EQ(detectSourceKind(d()).kind, 3);
    touch(d() + "/JP.FST", fstHeader({"LHC_KOD", "ODD", "por"}));
    const app::DetectedSource found = detectSourceKind(d());
    EXPECT_EQ(found.kind, 4);
    EXPECT_TRUE(found.isStandardDirectory);
    touch(d() + "/JP.FST", "|\r\n,\r\n99999999999\r\nPOR\r\n");   // a count beyond 32 bits is 0
    EXPECT_EQ(detectSourceKind(d()).kind, 3);
}

TEST_F(Detection, ParadoxVersionByTheNationalParkField)
{
    writeUnitTable(d(), false);
    app::DetectedSource found = detectSourceKind(d() + "\\");
    EXPECT_EQ(found.kind, 1);
    EXPECT_EQ(found.directory, d());
    ASSERT_TRUE(found.lhcKod.has_value());
    EXPECT_EQ(*found.lhcKod, 81201);
    writeUnitTable(d(), true);
    EXPECT_EQ(detectSourceKind(d()).kind, 2);
}

TEST_F(Detection, LaterTestsWinOverEarlierOnes)
{
    touch(d() + "/812.01V");
    touch(d() + "/PP.FST");
    EXPECT_EQ(detectSourceKind(d()).kind, 3);
    writeUnitTable(d(), true);
    EXPECT_EQ(detectSourceKind(d()).kind, 2);
}

TEST_F(Detection, ADamagedUnitTableRaisesToTheCaller)
{
    touch(d() + "/OST_POZ.DB");
    touch(d() + "/LHC.DB", "not a table");
    EXPECT_ANY_THROW(detectSourceKind(d()));
}

class ChoiceStore : public ::testing::Test
{
protected:
    void SetUp() override { recorder().clear(); }
    QString read(const char* key) const
    {
        return IniFile(ini()).readString("DATABASE", QString::fromLatin1(key), "<none>");
    }
    QString ini() const { return prog.filePath("vkm.ini"); }
    QTemporaryDir prog;
    QTemporaryDir data;
};

TEST_F(ChoiceStore, ParadoxKindsRewriteTheDataDirectoryWithoutTheTrailingSeparator)
{
    writeUnitTable(data.path(), false);
    app::storeChoice(ini(), detectSourceKind(data.path() + "\\"), false);
    EXPECT_EQ(read("DATA"), "PATH=" + data.path());
    EXPECT_EQ(read("DATA_OBECNE"), data.path());
    EXPECT_EQ(read("MANAGER"), "<none>");
    app::storeChoice(ini(), detectSourceKind(data.path()), true);
    EXPECT_EQ(read("MANAGER"), "NE");
}

TEST_F(ChoiceStore, OtherKindsKeepTheDataDirectory)
{
    IniFile(ini()).writeString("DATABASE", "DATA", "PATH=/old");
    touch(data.path() + "/PP.FST");
    app::storeChoice(ini(), detectSourceKind(data.path()), false);
    EXPECT_EQ(read("DATA"), "PATH=/old");
    EXPECT_EQ(read("DATA_OBECNE"), data.path());
}

// "ALIAS" names no directory: the next start opens the dialog where the user last looked.
TEST_F(ChoiceStore, TheAliasKeepsTheLastDirectoryForTheNextStart)
{
    touch(data.path() + "/PP.FST");
    QStringList starts;
    for (const char* answer : {"", "ALIAS", "ALIAS"}) {
        Owned<TLesniCelek> unit = Create<TLesniCelek>();
        unit->setProgramDir(prog.path());
        unit->setSourceMaker([](quint8, const app::SourceContext&) { return nullptr; });
        unit->setDirectoryChooser([&](const QString& start, const QString&, const QString&, bool) {
            starts << start;
            return *answer ? QString::fromLatin1(answer) : data.path();
        });
        unit->ChooseDataSource(QString(), false);
    }
    EXPECT_EQ(starts, QStringList({prog.path(), data.path(), data.path()}));
    EXPECT_EQ(read("DATA_OBECNE"), data.path());
}

TEST_F(ChoiceStore, ACancelledChoiceStoresNothingAndTheUnitStaysUnchosen)
{
    Owned<TLesniCelek> unit = Create<TLesniCelek>();
    unit->setProgramDir(prog.path());
    IniFile(ini()).writeString("DATABASE", "DATA_OBECNE", data.path());
    const QByteArray before = [&] {
        QFile f(ini());
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    QString startSeen;
    unit->setDirectoryChooser([&](const QString& start, const QString&, const QString&, bool) {
        startSeen = start;
        return QStringLiteral("NicSeNavybralo");
    });
    unit->ChooseDataSource(QString(), false);
    EXPECT_EQ(startSeen, data.path());
    EXPECT_EQ(unit->SourceKind(), 7);
    EXPECT_EQ(unit->source(), nullptr);
    QFile f(ini());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
}

TEST_F(ChoiceStore, AChosenUnitKnowsItsKindNumberAndDirectory)
{
    writeUnitTable(data.path(), true);
    Owned<TLesniCelek> unit = Create<TLesniCelek>();
    unit->setProgramDir(prog.path());
    unit->setDirectoryChooser([&](const QString&, const QString&, const QString&, bool) { return data.path() + "\\ "; });
    unit->ChooseDataSource(QString(), false);
    EXPECT_EQ(unit->SourceKind(), 2);
    EXPECT_EQ(unit->LHC()->LHC_KOD(), 81201);
    EXPECT_EQ(unit->adresarObecnychDatLHP(), data.path());
    EXPECT_EQ(unit->ZdrojNazev(), data.path());
    EXPECT_EQ(unit->AdresarTabulky_TBSepMaj(), data.path() + "/TBSepMaj.DB");
}

} // namespace

#include "support/Mutator.h"

namespace {

// Mutated interchange headers: the detection reads a bounded header and never fails.
TEST(DetectionFuzz, MutatedInterchangeHeadersGiveKind3Or4)
{
    QTemporaryDir tmp;
    touch(tmp.path() + "/PP.FST");
    const std::vector<QByteArray> seeds = {fstHeader({"LHC_KOD", "ODD", "POR"}), fstHeader({"ODD"}),
                                           QByteArray("|\r\n,\r\n2\r\nPOR\r\nDIL\r\n1\r\n1|2\r\n")};
    test::Mutator mutator(12);
    for (int i = 0; i < 1000; ++i) {
        touch(tmp.path() + "/JP.FST", mutator.mutate(seeds, "|,\r\nPORpor0123456789"));
        const quint8 kind = detectSourceKind(tmp.path()).kind;
        ASSERT_TRUE(kind == 3 || kind == 4) << "iteration " << i;
    }
}

} // namespace
