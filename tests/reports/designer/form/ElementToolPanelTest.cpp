// The element tool panel: buttons made per column, parameter, group, function and detail;
// pressing tools; tabs, chooser and the sliding panel's width.
#include "reports/designer/form/ElementToolPanel.h"

#include "reports/designer/DesignerTypes.h"
#include "reports/preview/ReportPanels.h"

#include <QComboBox>
#include <QStackedWidget>
#include <QTabBar>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

using namespace reports;
using namespace reports::designer;

// Column names P0..P<count-1>.
QStringList numberedNames(int count)
{
    QStringList names;
    for (int i = 0; i < count; ++i) names << QStringLiteral("P%1").arg(i);
    return names;
}

struct Expected {
    int command;
    const char* hint;
    const char* caption;
    int left;
    int width;
    int page;
};

TEST(ElementToolPanel, MakesOneButtonPerColumnParameterGroupFunctionAndDetail)
{
    ElementToolPanel panel;
    panel.setColumns({QStringLiteral("CISLO"), QStringLiteral("NAZEV"), QStringLiteral("PLOCHA")});
    panel.setParameterCount(2);
    panel.setGroupCount(2);
    panel.setFunctions({QStringLiteral("SOUCET")});
    panel.setDetailCount(2);
    const Expected expected[] = {
        {2000, "Položka CISLO", "1", 0, 13, tPolozky},          {2002, "Položka PLOCHA", "3", 24, 13, tPolozky},
        {4001, "Popis položky NAZEV", "2", 12, 13, tPopisy},    {6001, "Parametr 2", "2", 12, 13, tParametry},
        {8001, "Čas tisku", "Č", 24, 25, tPromenne},            {8005, "Číslo řádku ve skupině 1", "ř1", 120, 25, tPromenne},
        {8006, "Pořadové číslo skupiny 1", "s1", 144, 25, tPromenne},
        {8007, "Číslo řádku ve skupině 2", "ř2", 168, 25, tPromenne},
        {8008, "Pořadové číslo skupiny 2", "s2", 192, 25, tPromenne},
        {10000, "Funkce SOUCET", "1", 36, 13, tFunkce},         {12001, "Detail 2", "2", 24, 25, tDetaily},
        {5, "Elipsa", "Elipsa", 96, 25, tGraficke},
    };
    for (const Expected& e : expected) {
        const TSestButton* tool = panel.toolButton(e.command);
        ASSERT_NE(tool, nullptr) << e.command;
        EXPECT_EQ(tool->toolTip(), QString::fromUtf8(e.hint)) << e.command;
        EXPECT_EQ(tool->text(), QString::fromUtf8(e.caption)) << e.command;
        EXPECT_EQ(tool->geometry(), QRect(e.left, 1, e.width, 22)) << e.command;
        EXPECT_EQ(tool->parentWidget(), panel.NotebookPrvku->widget(e.page)) << e.command;
    }
    for (const int absent : {2003, 4003, 6002, 8009, 10001, 12002}) EXPECT_EQ(panel.toolButton(absent), nullptr) << absent;
    EXPECT_EQ(panel.TabSetPrvku->count(), 7);
    EXPECT_EQ(panel.TabSetPrvku->tabText(tDetaily), QStringLiteral("Detaily"));
    EXPECT_EQ(panel.CBVyberPrvku->count(), 3);
    EXPECT_EQ(panel.toolHint(4002), QStringLiteral("Popis položky PLOCHA"));

    // Rebuilding replaces the buttons; a renamed function keeps its button.
    panel.setColumns({QStringLiteral("CISLO")});
    panel.setGroupCount(1);
    panel.setDetailCount(0);
    panel.setFunctionName(0, QStringLiteral("PRUMER"));
    EXPECT_EQ(panel.toolButton(2001), nullptr);
    EXPECT_EQ(panel.toolButton(8007), nullptr);
    EXPECT_NE(panel.toolButton(8004), nullptr);
    EXPECT_EQ(panel.TabSetPrvku->count(), 6);
    EXPECT_EQ(panel.toolHint(10000), QStringLiteral("Funkce PRUMER"));
}

TEST(ElementToolPanel, PressesTheClickedToolAndReportsEveryChoice)
{
    ElementToolPanel panel;
    panel.setColumns({QStringLiteral("CISLO"), QStringLiteral("NAZEV")});
    std::vector<int> tools;
    std::vector<int> tabs;
    std::vector<int> items;
    int arrows = 0;
    QObject::connect(&panel, &ElementToolPanel::toolChosen, [&](int command) { tools.push_back(command); });
    QObject::connect(&panel, &ElementToolPanel::tabChanged, [&](int tab) { tabs.push_back(tab); });
    QObject::connect(&panel, &ElementToolPanel::chooserItemChosen, [&](int item) { items.push_back(item); });
    QObject::connect(&panel, &ElementToolPanel::arrowChosen, [&] { ++arrows; });
    EXPECT_TRUE(panel.SipkaButton1->isChecked());

    panel.toolButton(2001)->click();
    panel.toolButton(3)->click();
    EXPECT_EQ(tools, (std::vector<int>{2001, 3}));
    EXPECT_EQ(panel.pressedTool(), 3);
    EXPECT_FALSE(panel.toolButton(2001)->isChecked());
    EXPECT_FALSE(panel.SipkaButton1->isChecked());
    panel.SipkaButton1->click();
    EXPECT_EQ(arrows, 1);
    EXPECT_EQ(panel.pressedTool(), 0);
    EXPECT_TRUE(panel.SipkaButton1->isChecked());

    panel.setCurrentTab(tPopisy);
    EXPECT_EQ(tabs, std::vector<int>{tPopisy});
    EXPECT_EQ(panel.NotebookPrvku->currentIndex(), tPopisy);
    emit panel.CBVyberPrvku->activated(1);
    EXPECT_EQ(items, std::vector<int>{1});
    panel.setChooserItem(7);
    EXPECT_EQ(panel.CBVyberPrvku->currentIndex(), -1);

    panel.setFunctionButtons(true, false);
    EXPECT_TRUE(panel.SBFnEdit->isEnabled());
    EXPECT_TRUE(panel.SBFnDelete->isHidden());
}

TEST(ElementToolPanel, SlidingPanelReachesTheRightmostButtonOfThePage)
{
    ElementToolPanel panel;
    panel.resize(300, 60);
    panel.show();
    panel.setColumns(numberedNames(40));
    panel.setFunctions({QStringLiteral("A")});
    EXPECT_EQ(panel.PanelPrvkuPosuvny->width(), panel.toolButton(tcColumn + 39)->geometry().right() + 1);
    EXPECT_GT(panel.PanelPrvkuPosuvny->width(), 300);
    EXPECT_TRUE(panel.SBPrvkyVlevo->isEnabled() || panel.SBPrvkyVpravo->isEnabled());
    panel.setCurrentTab(tFunkce);
    // The function tool after the edit, insert and delete buttons.
    EXPECT_EQ(panel.PanelPrvkuPosuvny->width(), 36 + 13);
    EXPECT_TRUE(panel.SBPrvkyVlevo->isHidden() && panel.SBPrvkyVpravo->isHidden());
}

TEST(ElementToolPanel, EveryNumberedToolShowsItsOwnCaption)
{
    ElementToolPanel panel;
    panel.resize(300, 60);
    panel.show();
    const QStringList names = numberedNames(31);
    panel.setColumns(names);
    panel.setParameterCount(31);
    panel.setFunctions(names);
    for (const int first : {tcColumn, tcLabel, tcParameter, tcFunction}) {
        for (int i = 0; i < 31; ++i) {
            const TSestButton* tool = panel.toolButton(first + i);
            ASSERT_NE(tool, nullptr) << first + i;
            EXPECT_GE(tool->width(), tool->fontMetrics().horizontalAdvance(tool->text()) + 6) << first + i;
            if (i > 0)   // neighbours share at most their border
                EXPECT_GE(tool->x(), panel.toolButton(first + i - 1)->geometry().right()) << first + i;
        }
    }
    // the first tools keep their narrow place
    EXPECT_EQ(panel.toolButton(tcFunction)->x(), 36);
    EXPECT_EQ(panel.toolButton(tcColumn)->x(), 0);
}

} // namespace
