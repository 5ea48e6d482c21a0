// The progress window, the wait window and the windows behind the core's factory.
#include "reports/preview/InfoWindow.h"

#include "reports/preview/PreviewWindows.h"

#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

using namespace reports;

TEST(TFormInfo, ShowsOnTheFirstRecordAndAbortsWhilePagesGoOut)
{
    TFormInfo info;
    EXPECT_FALSE(info.isVisible());
    info.setRecord(1);
    EXPECT_TRUE(info.isVisible());
    EXPECT_EQ(info.LabelText->text(), QString::fromUtf8("Připravuji tisk položky číslo: 1"));
    info.ZobrazPolozku(25);
    EXPECT_TRUE(info.isVisible());
    EXPECT_EQ(info.LabelText->text(), QString::fromUtf8("Připravuji tisk položky číslo: 25"));

    info.ZobrazOdesilani();
    EXPECT_EQ(info.LabelText->text(), QString::fromUtf8("Odesílám data do tiskárny ..."));
    ASSERT_TRUE(info.Button1->isEnabled());
    EXPECT_FALSE(info.aborted());
    info.Button1->click();
    EXPECT_TRUE(info.aborted());
}

TEST(PreviewWindows, DesignerOpensBehindTheWaitWindow)
{
    PreviewWindows windows;
    TSestavaTyp report;
    bool logoWhileBuilding = false;
    windows.designer = [&](TSestavaTyp&, const WindowPlacement&) {
        logoWhileBuilding = logoWindow() && logoWindow()->isVisible();
        return 1;
    };
    EXPECT_EQ(windows.showDesigner(report, {}), 1);
    EXPECT_TRUE(logoWhileBuilding);
    EXPECT_EQ(logoWindow(), nullptr);

    windows.designer = [](TSestavaTyp&, const WindowPlacement&) -> int { throw std::runtime_error("x"); };
    EXPECT_THROW(windows.showDesigner(report, {}), std::runtime_error);
    EXPECT_EQ(logoWindow(), nullptr);

    auto progress = windows.createProgress(report);
    ASSERT_NE(dynamic_cast<TFormInfo*>(progress.get()), nullptr);
}

TEST(PreviewWindows, TemplateFilterInQtForm)
{
    EXPECT_EQ(FileDialogFilter(QString::fromUtf8("Předlohy tiskových sestav (*.pts)|*.PTS")),
              QString::fromUtf8("Předlohy tiskových sestav (*.pts)"));
    EXPECT_EQ(FileDialogFilter(QStringLiteral("Obrázky|*.bmp;*.jpg")), QStringLiteral("Obrázky (*.bmp *.jpg)"));
}

} // namespace
