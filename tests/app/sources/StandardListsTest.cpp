// Tests of the forest unit's lists of interchange-standard items.
#include "app/sources/LesniCelek.h"

#include "forest/base/IniLists.h"
#include "framework/core/Elements.h"
#include "platform/ini/IniFile.h"
#include "platform/ui/Services.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

ui::RecordingServices& recorder()
{
    return static_cast<ui::RecordingServices&>(ui::services());
}

class StandardLists : public ::testing::Test
{
protected:
    void SetUp() override
    {
        recorder().clear();
        unit = Create<TLesniCelek>();
        unit->setProgramDir(prog.path());
    }
    QTemporaryDir prog;
    QTemporaryDir phs;
    Owned<TLesniCelek> unit;
};

TEST_F(StandardLists, AnInterchangeSourceAnswersNothingAndOnlySomeListsSaySo)
{
    unit->SetJakBylNacten("");
    EXPECT_EQ(unit->SeznamStandardFst("BZL"), nullptr);
    EXPECT_TRUE(recorder().messages.empty());
    EXPECT_EQ(unit->SeznamStandardFst("PP"), nullptr);
    ASSERT_EQ(recorder().messages.size(), 1u);
    EXPECT_EQ(recorder().messages[0].text, QStringLiteral("Nevím jak byl načten lesní celek."));
    EXPECT_EQ(unit->SeznamStandardFst("PP"), nullptr);   // asked once only
    EXPECT_EQ(recorder().messages.size(), 1u);
}

TEST_F(StandardLists, TheExportListPrefersUnivExpBesideTheProgram)
{
    IniFile(phs.filePath("PHS.INI")).writeString("PolozkyStandardu_ExportDoStandardu", "A", "PHS");
    unit->SetJakBylNacten("Vex97-Paradox");
    unit->SetPHSNazev(phs.path());
    IniFile(prog.filePath("UnivExp.ini")).writeString("PolozkyStandardu_ExportDoStandardu", "1", "ODD");
    TLesniStringListElement* list = unit->SeznamExportStandard();
    ASSERT_NE(list, nullptr);
    ASSERT_NE(list->StringListElement(), nullptr);
    EXPECT_EQ(list->GetName(), "SeznamExportStandard");
    EXPECT_EQ(unit->FindElementByName("SeznamExportStandard"), list);
    EXPECT_EQ(list->StringListElement()->Count(), 1);
    EXPECT_EQ(unit->SeznamExportStandard(), list);
}

TEST_F(StandardLists, WithoutUnivExpThePhsIniIsRead)
{
    IniFile(phs.filePath("PHS.INI")).writeString("PolozkyStandardu_ExportDoStandardu", "A", "x");
    IniFile(phs.filePath("PHS.INI")).writeString("PolozkyStandardu_ExportDoStandardu", "B", "y");
    unit->SetJakBylNacten("Vex98-Paradox");
    unit->SetPHSNazev(phs.path());
    TLesniStringListElement* list = unit->SeznamExportStandard();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->StringListElement()->Count(), 2);
}

TEST_F(StandardLists, AnInterchangeKindReadsItsSectionOfTheStandardIniFile)
{
    const QString ini = prog.filePath("std.ini");
    IniFile(ini).writeString("PolozkyStandarduJP_FST", "1", "JP");
    unit->SetJakBylNacten("Vex97-Paradox");
    unit->SetAdrStandardIniFile(ini);
    TLesniStringListElement* list = unit->SeznamStandardFst("JP");
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->GetName(), "SeznamStandardJP_FST");
    ASSERT_NE(list->StringListElement(), nullptr);
    EXPECT_EQ(list->StringListElement()->Count(), 1);
    EXPECT_EQ(unit->FindElementByName("SeznamStandardJP_FST"), list);
    EXPECT_EQ(unit->SeznamStandardFst("XX"), nullptr);
    TLesniStringListElement* missing = unit->SeznamStandardFst("PP");   // no such section: reported
    ASSERT_NE(missing, nullptr);
    EXPECT_EQ(missing->StringListElement(), nullptr);
    EXPECT_EQ(recorder().messages.size(), 1u);
}

} // namespace
