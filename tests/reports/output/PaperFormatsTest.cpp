// Paper formats: built-in list, user formats in SESTDLL.INI, matching a page size.
#include "reports/output/PaperFormats.h"

#include "platform/files/Files.h"
#include "reports/model/PageSettings.h"
#include "platform/ini/IniFile.h"
#include "platform/text/Cp1250.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class PaperFormatsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        files::setConfigDirectory(m_dir.path());
    }
    void TearDown() override { files::setConfigDirectory(QString()); }

    void writeIni(const QString& text) const
    {
        QFile f(m_dir.path() + QStringLiteral("/SESTDLL.INI"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(Cp1250::encode(text));
    }

    QTemporaryDir m_dir;
};

TEST_F(PaperFormatsTest, BuiltInFormatsComeFirstInTheirOrder)
{
    reports::TListFormatu list;
    list.BuildPaperFormats(QStringLiteral("SESTDLL.INI"));
    ASSERT_EQ(list.count(), 18);
    EXPECT_EQ(list.FormatAt(0).Nazev, QStringLiteral("Uživat. (210 x 297 mm)"));
    EXPECT_EQ(list.FormatAt(2).Nazev, QStringLiteral("Skládaný (15 x 12\")"));
    EXPECT_EQ(list.FormatAt(8).Nazev, QStringLiteral("A4 (210 x 297 mm)"));
    EXPECT_EQ(list.FormatAt(15).Nazev, QStringLiteral("Obálka otoč.(114 x 162 mm)"));
    EXPECT_EQ(list.FormatAt(6).Sirka, 1652);
    EXPECT_EQ(list.FormatAt(17).Vyska, 896);
}

TEST_F(PaperFormatsTest, UserFormatsReadQuotedNamesAndBadNumbers)
{
    writeIni(QStringLiteral("[FormatyPapiru]\r\nPocetFormatu=4\r\nFormat1=A4 na šířku,1169,826\r\n"
                            "Format2=\"Obálka, velká\",900,1200\r\nFormat3=Moje,abc,1000\r\n"));
    reports::TListFormatu list;
    list.BuildPaperFormats(QStringLiteral("SESTDLL.INI"));
    ASSERT_EQ(list.count(), 22);
    EXPECT_EQ(list.FormatAt(18).Nazev, QStringLiteral("A4 na šířku"));
    EXPECT_EQ(list.FormatAt(18).Sirka, 1169);
    EXPECT_EQ(list.FormatAt(19).Nazev, QStringLiteral("Obálka, velká"));
    EXPECT_EQ(list.FormatAt(19).Vyska, 1200);
    EXPECT_EQ(list.FormatAt(20).Sirka, 0);
    EXPECT_EQ(list.FormatAt(20).Vyska, 1000);
    // Format4 is missing: the default name with no size, kept but never applied.
    EXPECT_EQ(list.FormatAt(21).Nazev, QStringLiteral("Uživat. (210 x 297 mm)"));
    EXPECT_EQ(list.FormatAt(21).Sirka, 0);
    reports::resetPageSettings();
    EXPECT_FALSE(list.ApplyFormat(21));
    EXPECT_EQ(reports::pageSettings().PaperFormatWidth, 826);
    EXPECT_TRUE(list.ApplyFormat(18));
    EXPECT_EQ(reports::pageSettings().PaperFormatWidth, 1169);
    reports::resetPageSettings();
}

TEST_F(PaperFormatsTest, HostileCountsAndNamesAreBounded)
{
    writeIni(QStringLiteral("[FormatyPapiru]\r\nPocetFormatu=2000000000\r\nFormat1=") + QString(300, u'x')
             + QStringLiteral(",1,2\r\n"));
    reports::TListFormatu list;
    list.BuildPaperFormats(QStringLiteral("SESTDLL.INI"));
    EXPECT_EQ(list.count(), 18 + reports::TListFormatu::maxUserFormats);
    EXPECT_EQ(list.FormatAt(18).Nazev.size(), 31);
}

TEST_F(PaperFormatsTest, SaveWritesPlainNamesAndTheCount)
{
    reports::TListFormatu list;
    list.BuildPaperFormats(QStringLiteral("SESTDLL.INI"));
    list.add({QStringLiteral("Obálka, velká"), 900, 1200});
    list.add({QStringLiteral("Druhý"), 10, 20});
    list.SaveUserFormats(QStringLiteral("SESTDLL.INI"));
    const IniFile ini(QStringLiteral("SESTDLL.INI"));
    EXPECT_EQ(ini.readInteger(QStringLiteral("FormatyPapiru"), QStringLiteral("PocetFormatu"), -1), 2);
    EXPECT_EQ(ini.readString(QStringLiteral("FormatyPapiru"), QStringLiteral("Format1"), {}),
              QStringLiteral("Obálka, velká,900,1200"));

    // Deleting every user format writes 0 and leaves the old keys unread.
    list.removeUserFormat(19);
    list.removeUserFormat(18);
    list.removeUserFormat(3);   // built-in: stays
    EXPECT_EQ(list.count(), 18);
    list.SaveUserFormats(QStringLiteral("SESTDLL.INI"));
    EXPECT_EQ(ini.readInteger(QStringLiteral("FormatyPapiru"), QStringLiteral("PocetFormatu"), -1), 0);
    reports::TListFormatu again;
    again.BuildPaperFormats(QStringLiteral("SESTDLL.INI"));
    EXPECT_EQ(again.count(), 18);
}

TEST_F(PaperFormatsTest, FindOrAddMatchesWithinOnePercent)
{
    reports::TListFormatu list;
    list.BuildPaperFormats(QStringLiteral("SESTDLL.INI"));
    EXPECT_EQ(list.FindOrAddFormat(830, 1160), 0);
    EXPECT_EQ(list.FindOrAddFormat(1169, 1652), 7);
    EXPECT_EQ(list.FindOrAddFormat(900, 900), 18);
    EXPECT_EQ(list.FormatAt(18).Nazev, QStringLiteral("uživ. formát"));
    EXPECT_EQ(list.FindOrAddFormat(900, 900), 18);
}

} // namespace
