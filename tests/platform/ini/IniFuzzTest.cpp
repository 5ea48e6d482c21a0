// Fuzz test of the INI reader and writer: mutated files never crash, and a write changes only its key.
#include "platform/ini/IniFile.h"

#include "platform/Exceptions.h"
#include "support/Mutator.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const std::vector<QByteArray> seeds = {
    "; komentar\r\n[EditorSestav]\r\nRaster = 5\r\n\x8A\xED\xF8ka=120\r\nPopis=\"Lesn\xED\"\r\n\r\n[Odd\xEDly]\r\nPocet=3\r\n",
    "[A]\nK=1\nK=2\n[a]\nL=3\n[B]\n=x\nbez rovnitka\n[C",
    "[DATABASE]\rDATA=PATH=C:\\DATA\rMANAGER=NE\r",
    "",
};

// Every section's values as the reader sees them.
std::vector<QStringList> allValues(const IniFile& ini, const QStringList& sections)
{
    std::vector<QStringList> values;
    for (const QString& s : sections)
        values.push_back(ini.readSectionValues(s));
    return values;
}

TEST(IniFuzz, MutatedFilesReadAndWriteConsistently)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("fuzz.ini"));
    test::Mutator mutator(8101);
    const QByteArray alphabet = QByteArrayLiteral("[]=;\r\n \t\"'aAkK\xC8\xE8\x8A\x9A");
    for (int round = 0; round < 3000; ++round) {
        SCOPED_TRACE(round);
        const QByteArray bytes = mutator.mutate(seeds, alphabet);
        {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(bytes);
        }
        IniFile ini(path);
        const QStringList sections = ini.readSections();
        const std::vector<QStringList> before = allValues(ini, sections);
        for (const QString& s : sections) {
            EXPECT_TRUE(ini.sectionExists(s));
            for (const QString& key : ini.readSection(s)) {
                EXPECT_TRUE(ini.valueExists(s, key));
                ini.readInteger(s, key, 0);
            }
        }

        // Every sixth file takes a write (each save syncs the disk): the key reads back, and no
        // other section changes.
        if (round % 6 != 0)
            continue;
        const QString section = sections.isEmpty() ? QStringLiteral("Nova") : sections.at(int(mutator.below(size_t(sections.size()))));
        const QString key = round % 12 == 0 ? QStringLiteral("K") : QStringLiteral("nov\u00FD\rkl\u00ED\u010D");
        ini.writeString(section, key, QStringLiteral("hodnota %1").arg(round));
        EXPECT_EQ(ini.readString(section, key, QString()), QStringLiteral("hodnota %1").arg(round));
        const std::vector<QStringList> after = allValues(ini, sections);
        for (size_t i = 0; i < before.size(); ++i) {
            if (sections.at(int(i)).compare(section, Qt::CaseInsensitive) != 0) {
                EXPECT_EQ(after[i], before[i]) << sections.at(int(i)).toStdString();
            }
        }
        ini.eraseSection(section);
        EXPECT_FALSE(ini.sectionExists(section));
    }
}

} // namespace
