// Tests of the directory-search window and the yes/no window.
#include "app/sources/vex/DirectorySearch.h"
#include "app/sources/vex/Ovr.h"
#include "platform/files/Files.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using vex::DirectorySearch;

class DirectorySearchTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        QDir(dir.path()).mkdir(QStringLiteral("Data"));
        for (const char* name : {"LHC.DB", "poznamky.txt", "oddeleni.db"}) {
            QFile f(dir.path() + QLatin1Char('/') + QString::fromLatin1(name));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        }
    }
    QTemporaryDir dir;
};

TEST_F(DirectorySearchTest, StartsAtAnExistingDirectoryElseAtTheProgramDirectory)
{
    const QString program = dir.path() + QStringLiteral("/Data");
    files::setProgramDirectory(program);
    EXPECT_EQ(DirectorySearch(dir.path(), {}, QStringLiteral("*.DB"), false).directory(), dir.path());
    for (const QString& start : {dir.path() + QStringLiteral("/missing"), QStringLiteral("ALIAS"), QString()})
        EXPECT_EQ(DirectorySearch(start, {}, QStringLiteral("*.DB"), false).directory(), program) << start.toStdString();
    EXPECT_EQ(DirectorySearch(QStringLiteral("C:\\"), {}, QStringLiteral("*.DB"), false).directory(), QStringLiteral("/"));
    files::setProgramDirectory(QString());
    EXPECT_EQ(DirectorySearch::drives(), QStringList({QStringLiteral("/"), QDir::homePath()}));
}

TEST_F(DirectorySearchTest, ListsSubdirectoriesAndTheFilesOfTheMask)
{
    DirectorySearch search(dir.path(), {}, QStringLiteral("*.DB"), false);
    EXPECT_EQ(search.subdirectories(), QStringList({QStringLiteral(".."), QStringLiteral("Data")}));
    EXPECT_EQ(search.files(), QStringList({QStringLiteral("LHC.DB"), QStringLiteral("oddeleni.db")}));
    search.setDirectory(dir.path() + QStringLiteral("/data"));
    EXPECT_EQ(search.directory(), dir.path() + QStringLiteral("/Data"));
    EXPECT_TRUE(search.files().isEmpty());
    search.enter(QStringLiteral(".."));
    EXPECT_EQ(search.directory(), dir.path());
}

TEST_F(DirectorySearchTest, HiddenEntriesAreNotListed)
{
    QDir(dir.path()).mkdir(QStringLiteral(".cache"));
    QDir(dir.path()).mkdir(QStringLiteral(".git.DB"));
    QFile hidden(dir.path() + QStringLiteral("/.LHC.DB"));
    ASSERT_TRUE(hidden.open(QIODevice::WriteOnly));
    DirectorySearch search(dir.path(), {}, QStringLiteral("*.DB"), false);
    EXPECT_EQ(search.subdirectories(), QStringList({QStringLiteral(".."), QStringLiteral("Data")}));
    EXPECT_EQ(search.files(), QStringList({QStringLiteral("LHC.DB"), QStringLiteral("oddeleni.db")}));
}

TEST_F(DirectorySearchTest, AnswersByTheButtonThatClosedIt)
{
    DirectorySearch search(dir.path(), {}, QStringLiteral("*.*"), true);
    search.activate();
    EXPECT_EQ(search.result(), vex::kNothingChosen);   // the close box
    search.choose();
    EXPECT_EQ(search.result(), dir.path());
    search.activate();
    search.chooseAlias();
    EXPECT_EQ(search.result(), QStringLiteral("ALIAS"));
    search.activate();
    search.leave();
    EXPECT_EQ(search.result(), vex::kNothingChosen);
    DirectorySearch hidden(dir.path(), {}, QStringLiteral("*.*"), false);
    hidden.chooseAlias();
    EXPECT_EQ(hidden.result(), dir.path());   // without the button only a directory or nothing
}

TEST_F(DirectorySearchTest, TheWindowEntersADirectoryAndChoosesIt)
{
    DirectorySearch search(dir.path(), QStringLiteral("Vyhledej adresář dat vexu97."), QStringLiteral("*.DB"), false);
    vex::TS_VyhlSoub1 window(search);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Vyhledej adresář dat vexu97."));
    EXPECT_FALSE(window.ButAlias->isVisibleTo(&window));
    EXPECT_EQ(window.FileListBox1->count(), 2);
    QTimer::singleShot(0, &window, [&] {
        const auto items = window.DirectoryListBox1->findItems(QStringLiteral("Data"), Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1);
        emit window.DirectoryListBox1->itemActivated(items[0]);
        window.OKBtn->click();
    });
    window.exec();
    EXPECT_EQ(search.result(), dir.path() + QStringLiteral("/Data"));
}

// Enter in the directory list opens the highlighted directory; only "Vybrat" chooses, and it
// takes the directory shown above the lists.
TEST_F(DirectorySearchTest, EnterInTheDirectoryListOpensTheHighlightedDirectory)
{
    QDir(dir.path()).mkpath(QStringLiteral("Data/vex98"));
    DirectorySearch search(dir.path(), QStringLiteral("Obecné hledání"), QStringLiteral("*.*"), true);
    vex::TS_VyhlSoub1 window(search);
    bool stillOpenAfterEnter = false;
    QString shownBeforeChoice;
    QTimer::singleShot(0, &window, [&] {
        window.DirectoryListBox1->setFocus();
        const auto items = window.DirectoryListBox1->findItems(QStringLiteral("Data"), Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1);
        window.DirectoryListBox1->setCurrentItem(items[0]);
        QTest::keyClick(window.DirectoryListBox1, Qt::Key_Return);
        stillOpenAfterEnter = window.isVisible();
        window.DirectoryListBox1->setCurrentRow(1);   // "vex98" after ".."
        QTest::keyClick(window.DirectoryListBox1, Qt::Key_Enter);
        shownBeforeChoice = window.DirectoryLabel->text();
        window.OKBtn->click();
    });
    window.exec();
    EXPECT_TRUE(stillOpenAfterEnter);
    EXPECT_EQ(shownBeforeChoice, dir.path() + QStringLiteral("/Data/vex98"));
    EXPECT_EQ(search.result(), shownBeforeChoice);
}

TEST(YesNoWindow, OnlyAnoAnswersYes)
{
    vex::TdotazF1 window;
    QTimer::singleShot(0, &window, [&] { window.OKBtn->click(); });
    window.exec();
    EXPECT_TRUE(window.Confirmed());
    QTimer::singleShot(0, &window, [&] { window.close(); });
    window.exec();
    EXPECT_FALSE(window.Confirmed());
}

TEST(YesNoWindow, OpensWithNeFocusedSoThatEnterAnswersNo)
{
    vex::TdotazF1 window;
    QWidget* focused = nullptr;
    QTimer::singleShot(0, &window, [&] {
        focused = window.focusWidget();
        QTest::keyClick(focused ? focused : &window, Qt::Key_Return);
    });
    window.exec();
    EXPECT_EQ(focused, window.CancelBtn);
    EXPECT_FALSE(window.Confirmed());
}

} // namespace
