// The wizard's dialog: list moves, enablement, reordering, its answers and the empty choice.
#include "reports/designer/wizard/DlgNovaSestava.h"

#include "platform/ui/Services.h"

#include <QApplication>
#include <QCheckBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

namespace {

using namespace reports::designer;

QStringList texts(const QListWidget* list)
{
    QStringList result;
    for (int i = 0; i < list->count(); ++i) result << list->item(i)->text();
    return result;
}

void selectRows(QListWidget* list, std::initializer_list<int> rows)
{
    list->clearSelection();
    for (const int r : rows) list->item(r)->setSelected(true);
}

void mouse(QWidget* viewport, QEvent::Type type, QPoint at)
{
    QMouseEvent event(type, QPointF(at), viewport->mapToGlobal(QPointF(at)), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &event);
}

class DlgNovaSestavaTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_previous = &ui::services();
        ui::setServices(&m_ui);
    }
    void TearDown() override { ui::setServices(m_previous); }

    ui::RecordingServices m_ui;
    ui::Services* m_previous = nullptr;
    int m_paperCalls = 0;
    TDlgNovaSestava m_dialog{{"a", "b", "c", "d", "e"}, true, [this] { ++m_paperCalls; }};
};

TEST_F(DlgNovaSestavaTest, MovesSeveralItemsInReverseAndReselectsTheSource)
{
    EXPECT_TRUE(m_dialog.IncludeBtn->isEnabled());
    EXPECT_FALSE(m_dialog.ExcludeBtn->isEnabled());
    EXPECT_FALSE(m_dialog.ExAllBtn->isEnabled());
    EXPECT_TRUE(m_dialog.CBPopisyPolozek->isChecked());
    EXPECT_TRUE(m_dialog.CBSledovatPodle->isChecked());

    selectRows(m_dialog.SrcList, {1, 3});
    m_dialog.IncludeBtn->click();
    EXPECT_EQ(texts(m_dialog.DstList), QStringList({"d", "b"}));
    EXPECT_EQ(texts(m_dialog.SrcList), QStringList({"a", "c", "e"}));
    EXPECT_EQ(m_dialog.SrcList->currentRow(), 1);
    EXPECT_TRUE(m_dialog.ExcludeBtn->isEnabled());

    // The last items: the first selected index is clamped to the new last item.
    selectRows(m_dialog.SrcList, {2});
    m_dialog.IncludeBtn->click();
    EXPECT_EQ(m_dialog.SrcList->currentRow(), 1);

    selectRows(m_dialog.DstList, {0, 2});
    m_dialog.ExcludeBtn->click();
    EXPECT_EQ(texts(m_dialog.SrcList), QStringList({"a", "c", "e", "d"}));
    EXPECT_EQ(texts(m_dialog.DstList), QStringList({"b"}));
}

TEST_F(DlgNovaSestavaTest, MovesAllAndEnablesByContent)
{
    m_dialog.IncAllBtn->click();
    EXPECT_EQ(texts(m_dialog.DstList), QStringList({"a", "b", "c", "d", "e"}));
    EXPECT_FALSE(m_dialog.IncludeBtn->isEnabled());
    EXPECT_FALSE(m_dialog.IncAllBtn->isEnabled());
    EXPECT_TRUE(m_dialog.ExAllBtn->isEnabled());
    m_dialog.ExAllBtn->click();
    EXPECT_EQ(m_dialog.SrcList->count(), 5);
    EXPECT_FALSE(m_dialog.ExcludeBtn->isEnabled());
    // Nothing selected: ">" moves nothing and selects the first item.
    m_dialog.SrcList->clearSelection();
    m_dialog.IncludeBtn->click();
    EXPECT_EQ(m_dialog.DstList->count(), 0);
    EXPECT_EQ(m_dialog.SrcList->currentRow(), 0);
}

TEST_F(DlgNovaSestavaTest, DraggingInTheTargetReorders)
{
    m_dialog.IncAllBtn->click();
    m_dialog.show();
    QListWidget* dst = m_dialog.DstList;
    mouse(dst->viewport(), QEvent::MouseButtonPress, dst->visualItemRect(dst->item(0)).center());
    mouse(dst->viewport(), QEvent::MouseButtonRelease, dst->visualItemRect(dst->item(3)).center());
    EXPECT_EQ(texts(dst), QStringList({"b", "c", "d", "a", "e"}));
    // A release below the items moves nothing.
    mouse(dst->viewport(), QEvent::MouseButtonPress, dst->visualItemRect(dst->item(1)).center());
    mouse(dst->viewport(), QEvent::MouseButtonRelease, QPoint(5, dst->viewport()->height() - 2));
    EXPECT_EQ(texts(dst), QStringList({"b", "c", "d", "a", "e"}));
}

TEST_F(DlgNovaSestavaTest, AnswersAndTheEmptyChoice)
{
    m_dialog.show();
    m_dialog.OKBtn->click();
    ASSERT_EQ(m_ui.messages.size(), 1u);
    EXPECT_EQ(m_ui.messages[0].text, QStringLiteral("Nebyly vybrány žádné položky. Návrh nemůže být proveden!"));
    EXPECT_TRUE(m_dialog.isVisible());

    m_dialog.BitBtn1->click();
    EXPECT_EQ(m_paperCalls, 1);

    selectRows(m_dialog.SrcList, {4});
    m_dialog.IncludeBtn->click();
    m_dialog.SBRadek->setChecked(true);
    m_dialog.CBPopisyTextem->setChecked(true);
    m_dialog.OKBtn->click();
    EXPECT_EQ(m_dialog.result(), 1);
    const WizardChoice c = m_dialog.choice();
    EXPECT_EQ(c.selected, QStringList({"e"}));
    EXPECT_TRUE(c.isRowStyle && c.labelsAsText && c.isByName && c.hasLabels);

    m_dialog.show();
    m_dialog.RucneBtn->click();
    EXPECT_EQ(m_dialog.result(), 7);
}

} // namespace
