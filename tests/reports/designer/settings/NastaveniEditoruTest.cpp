// Editor settings in SESTDLL.INI: defaults, conversions, the keys written, the other
// sections kept byte for byte, and a failed write that leaves the old file.
#include "reports/designer/settings/NastaveniEditoru.h"

#include "platform/Exceptions.h"
#include "platform/files/Files.h"
#include "platform/text/Cp1250.h"
#include "support/FailingFileOps.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using namespace reports::designer;

const QByteArray paperSection = "[FormatyPapiru]\r\nPocetFormatu=1\r\nFormat1=\"M\xe1j, form\xe1t\" ,  700,900 \r\n";

class EditorSettingsFile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        files::setConfigDirectory(m_dir.path());
    }
    void TearDown() override { files::setConfigDirectory(QString()); }

    QString path() const { return m_dir.filePath(QStringLiteral("SESTDLL.INI")); }
    void put(const QByteArray& bytes) const
    {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray bytes() const
    {
        QFile f(path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;
};

TEST_F(EditorSettingsFile, MissingOrDamagedFileGivesTheDefaultsAndStaysAsItWas)
{
    const NastaveniEditoru defaults;
    EXPECT_EQ(ReadEditorSettings(), defaults);
    EXPECT_FALSE(QFile::exists(path()));

    const QByteArray garbage("\x00\xff[Oddily\r\nImplVyskaFontu=dvanact\n=\n[EditorSestav]\nRastrX\n", 58);
    put(garbage);
    EXPECT_EQ(ReadEditorSettings(), defaults);
    EXPECT_EQ(bytes(), garbage);
}

TEST_F(EditorSettingsFile, FontSizeAndNameAreMendedAndTheZoomStartsAtStepSix)
{
    const QString longName = QStringLiteral("Písmo s velmi dlouhým názvem pro zkoušku");
    put("[Oddily]\r\nImplVyskaFontu=-13\r\nImplNazevFontu=" + Cp1250::encode(longName) + "\r\n"
        "[EditorSestav]\r\nImplMeritko=9\r\nRastrX=4\r\nMazaniVice=0\r\n");
    NastaveniEditoru s = ReadEditorSettings();
    EXPECT_EQ(s.ImplVyskaFontu, 9);
    EXPECT_EQ(s.ImplNazevFontu, longName.left(32));
    EXPECT_EQ(s.RastrX, 4);
    EXPECT_FALSE(s.MazaniVice);
    EXPECT_EQ(s.ImplMeritko, 6);
    EXPECT_FLOAT_EQ(s.ZoomX, 1.0f);
    EXPECT_FLOAT_EQ(s.ZoomY, 1.0f);

    put("[Oddily]\r\nImplVyskaFontu=5\r\n");
    EXPECT_EQ(ReadEditorSettings().ImplVyskaFontu, 8);
    put("[Oddily]\r\nImplVyskaFontu=-2147483648\r\n");
    EXPECT_GT(ReadEditorSettings().ImplVyskaFontu, 8);

    s.setZoomStep(2);
    EXPECT_FLOAT_EQ(s.ZoomX, 0.5f);
    s.setZoomStep(11);
    EXPECT_EQ(s.ImplMeritko, 6);
}

TEST_F(EditorSettingsFile, WritesEveryKeyButTheZoomAndKeepsTheOtherSections)
{
    put(paperSection + "[EditorSestav]\r\nImplMeritko=3\r\n");
    NastaveniEditoru s;
    s.RastrX = 12;
    s.MazaniJedne = true;
    s.ImplNazevFontu = QStringLiteral("Times New Roman CE s příliš dlouhým jménem");
    s.ImplSkriptFontu = 238;
    s.ImplMeritko = 9;
    WriteEditorSettings(s);

    const QByteArray after = bytes();
    EXPECT_TRUE(after.startsWith(paperSection));
    EXPECT_TRUE(after.contains("ImplMeritko=3\r\n"));
    EXPECT_TRUE(after.contains("RastrX=12\r\n"));
    EXPECT_TRUE(after.contains("MazaniJedne=1\r\n"));
    EXPECT_TRUE(after.contains("ImplSkriptFontu=238\r\n"));
    const QStringList editorKeys = {"RastrX", "RastrY", "RastrZobrazovat", "RastrZarovnavat", "MazaniJedne",
                                    "MazaniVice", "PocetUndo", "UndoSave", "VybSezna", "SledPodle"};
    const QStringList elementKeys = {"ImplSirka", "ImplVyska", "ImplZarovnani", "ImplBarvaFontu", "ImplVyskaFontu",
                                     "ImplNazevFontu", "ImplStylFontu", "ImplSkriptFontu"};
    for (const QString& key : editorKeys + elementKeys)
        EXPECT_TRUE(after.contains("\r\n" + key.toLatin1() + "=")) << key.toStdString();

    const NastaveniEditoru back = ReadEditorSettings();
    EXPECT_EQ(back.ImplNazevFontu, s.ImplNazevFontu.left(32));
    s.ImplNazevFontu.truncate(32);
    s.setZoomStep(6);
    EXPECT_EQ(back, s);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("SESTDLL.INI")});
}

TEST_F(EditorSettingsFile, FailedWriteLeavesTheOldFile)
{
    const QByteArray old = paperSection + "[Oddily]\r\nImplSirka=150\r\n";
    NastaveniEditoru s;
    s.ImplSirka = 300;
    for (int step : {1, 2}) {
        put(old);
        test::FailingFileOps failing(step, true);
        files::ScopedFileOps scope(failing);
        EXPECT_THROW(WriteEditorSettings(s), EFileError) << step;
        EXPECT_EQ(bytes(), old) << step;
        EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("SESTDLL.INI")}) << step;
    }
}

} // namespace
