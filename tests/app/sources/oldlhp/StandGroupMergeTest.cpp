// Tests of the merge pass of stand groups listed together in a P0110.DBF table.
#include "app/sources/oldlhp/StandGroupMerge.h"

#include "forest/base/ForestRegistration.h"
#include "forest/hierarchy/Dilec.h"
#include "forest/hierarchy/Etaz.h"
#include "forest/hierarchy/HierarchyRegistration.h"
#include "forest/hierarchy/LHC.h"
#include "forest/hierarchy/Oddeleni.h"
#include "forest/hierarchy/Porost.h"
#include "forest/hierarchy/PorostniSkupina.h"
#include "framework/core/StartupRegistration.h"
#include "platform/ui/Services.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <shapefil.h>

namespace {

ui::RecordingServices& recorder()
{
    return static_cast<ui::RecordingServices&>(ui::services());
}

class StandGroupMergeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RegisterFrameworkUnits();
        RegisterForestUnits();
        RegisterE_LesOddUnit();
        recorder().clear();
        header = Create<TLHC>();
        header->OddeleniMN()->NovyPrvek("1");
        odd = header->Oddeleni();
        odd->SetODD(1);
        odd->DilecMN()->NovyPrvek("A");
        odd->Dilec()->SetDIL("A");
        odd->Dilec()->PorostMN()->NovyPrvek("a");
        stand = odd->Dilec()->Porost();
        stand->SetPOR("a");
        group("1", 1.0, 8);
        group("2", 3.0, 10);
        group("3", 2.0, 5);
    }

    void group(const QString& designation, double area, qint32 zakm)
    {
        stand->PorostniSkupinaMN()->NovyPrvek(designation);
        TPorostniSkupina* g = stand->PorostniSkupina();
        g->SetPSK(designation);
        g->EtazMN()->NovyPrvek(designation);
        g->Etaz()->SetETAZ(designation);
        g->Etaz()->SetETAZ_PP(area);
        g->Etaz()->SetZAKM(zakm);
    }

    QString writeTable(const QList<std::tuple<int, const char*, const char*>>& rows)
    {
        const QString path = m_dir.filePath("P0110.DBF");
        DBFHandle h = DBFCreate(QFile::encodeName(path).constData());
        DBFAddField(h, "ODDELENI", FTInteger, 4, 0);
        DBFAddField(h, "POROST", FTString, 1, 0);
        DBFAddField(h, "SKUPINA", FTString, 20, 0);
        int i = 0;
        for (const auto& [o, d, s] : rows) {
            DBFWriteIntegerAttribute(h, i, 0, o);
            DBFWriteStringAttribute(h, i, 1, d);
            DBFWriteStringAttribute(h, i, 2, s);
            ++i;
        }
        DBFClose(h);
        return path;
    }

    Owned<TLHC> header;
    TOddeleni* odd = nullptr;
    TPorost* stand = nullptr;
    QTemporaryDir m_dir;
};

TEST_F(StandGroupMergeTest, GroupsListedTogetherBecomeOneWithSharedAreas)
{
    LoadStandGroupsFromDbf(writeTable({{1, "A", "1/2"}, {2, "A", "1/3"}, {1, "B", "1/3"}}), odd);
    ASSERT_EQ(stand->PorostniSkupinaMN()->PocetPrvku(), 2);
    auto* merged = dynamic_cast<TPorostniSkupina*>(stand->PorostniSkupinaMN()->Items(0));
    EXPECT_EQ(merged->EtazMN()->PocetPrvku(), 2);
    EXPECT_EQ(merged->GetPropAsString("PSK_P"), "4");
    EXPECT_EQ(merged->GetPropAsString("PSK_V"), "4");
    EXPECT_EQ(dynamic_cast<TEtaz*>(merged->EtazMN()->Items(0))->GetPropAsInteger("ZAKM"), 2);   // 8 x 1/4
    EXPECT_EQ(dynamic_cast<TEtaz*>(merged->EtazMN()->Items(1))->GetPropAsInteger("ZAKM"), 8);   // 10 x 3/4, half to even
    EXPECT_TRUE(merged->GetName().startsWith("SKUP ")) << merged->GetName().toStdString();
    EXPECT_TRUE(recorder().messages.empty());
}

TEST_F(StandGroupMergeTest, ATextWithoutSlashOrAMissingTableMergesNothing)
{
    MergeStandGroups(odd->Dilec(), "1");
    EXPECT_EQ(stand->PorostniSkupinaMN()->PocetPrvku(), 3);
    LoadStandGroupsFromDbf(m_dir.filePath("none.DBF"), odd);
    EXPECT_EQ(stand->PorostniSkupinaMN()->PocetPrvku(), 3);
    EXPECT_EQ(recorder().messages.size(), 1u);
}

TEST_F(StandGroupMergeTest, AGroupOfNoAreaKeepsItsStocking)
{
    TPorostniSkupina* g = stand->PorostniSkupina();
    g->Etaz()->SetETAZ_PP(0.0);
    RecomputeGroupAreas(g);
    EXPECT_EQ(g->Etaz()->GetPropAsInteger("ZAKM"), 5);
    EXPECT_EQ(g->GetPropAsString("PSK_P"), "0");
}

} // namespace
