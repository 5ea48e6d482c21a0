// The object toolbar: the page and values shown per kind, the picture options, the typed
// size boxes and the text box's commit on Enter or focus loss.
#include "reports/designer/form/ObjectToolbar.h"

#include "reports/model/ReportElement.h"
#include "reports/preview/ReportPanels.h"

#include <QApplication>
#include <QCheckBox>
#include <QFocusEvent>
#include <QLabel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QSpinBox>
#include <QStackedWidget>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

using namespace reports;
using namespace reports::designer;

ElementProperties element(int kind, bool rtf = false)
{
    ElementProperties e;
    e.kind = kind;
    e.rtf = rtf;
    e.rect = QRect(10, 20, 300, 40);
    return e;
}

TEST(ObjectToolbar, ShowsThePageOfEachKind)
{
    ObjectToolbar bar;
    const std::tuple<int, bool, const char*> cases[] = {
        {ekText, false, "Texty"},     {ekColumn, false, "Texty"},  {ekColumn, true, "RTF"},
        {ekLabel, true, "Texty"},     {ekFunction, false, "Texty"}, {ekLine, false, "Cary"},
        {ekRectangle, false, "Ramy"}, {ekRoundRect, false, "Ramy"}, {ekEllipse, false, "Ramy"},
        {ekPicture, false, "Obraz"},  {ekDetail, false, "Prazdny"},
    };
    for (const auto& [kind, rtf, page] : cases) {
        bar.showProperties(element(kind, rtf));
        EXPECT_EQ(bar.NotebookObjektu->currentWidget()->objectName(), QString::fromLatin1(page)) << kind;
        EXPECT_TRUE(bar.EditX->isEnabled());
    }
    bar.enableControls(false);
    EXPECT_EQ(bar.currentPage(), opPrazdny);
    EXPECT_FALSE(bar.EditH->isEnabled() || bar.SBPrenesZ->isEnabled());
    EXPECT_TRUE(bar.EditText->isReadOnly());
}

TEST(ObjectToolbar, FillsTheControlsOfLinesFramesAndPictures)
{
    ObjectToolbar bar;
    ElementProperties lines = element(ekLine);
    lines.lines = {true, false, false, true, false, false, true};
    lines.penColorIndex = 9;
    lines.penStyle = 2;
    lines.penWidth = 5;
    bar.showProperties(lines);
    EXPECT_EQ(bar.CBBarvaCary->currentIndex(), 9);
    EXPECT_EQ(bar.CBStylCary->currentText(), QStringLiteral("tečkovaná"));
    EXPECT_EQ(bar.SBSirkaCary->value(), 5);
    EXPECT_TRUE(bar.SBCar[0]->isChecked() && bar.SBCar[3]->isChecked() && bar.SBCar[6]->isChecked());
    EXPECT_FALSE(bar.SBCar[1]->isChecked());
    EXPECT_EQ(bar.SBCar[6]->objectName(), QStringLiteral("SbCar7"));
    EXPECT_TRUE(bar.SBCar[0]->isVisibleTo(bar.NotebookObjektu->currentWidget()));

    ElementProperties frame = element(ekRectangle);
    frame.brushColorIndex = 15;
    frame.brushStyle = 6;
    frame.penWidth = 0;
    bar.showProperties(frame);
    EXPECT_EQ(bar.CBRamBarvaVypl->currentText(), QStringLiteral("bílá"));
    EXPECT_EQ(bar.CBRamStyl->currentText(), QStringLiteral("svis/vod"));
    EXPECT_EQ(bar.SERamSirOkr->value(), 0);
    EXPECT_TRUE(bar.SBCar[5]->isVisibleTo(bar.NotebookObjektu->currentWidget()));
    EXPECT_FALSE(bar.SBCar[6]->isVisibleTo(bar.NotebookObjektu->currentWidget()));
    EXPECT_EQ(bar.CBRamStyl->view()->sizeHintForRow(0), 40);

    ElementProperties picture = element(ekPicture);
    picture.pictureFile = QStringLiteral("C:\\SESTAVY\\ZNAK.BMP");
    bar.showProperties(picture);
    EXPECT_EQ(bar.CBObrazFile->currentText(), QStringLiteral("ZNAK.BMP"));
    EXPECT_TRUE(bar.CBObrPomer->isHidden());
    std::vector<bool> stretched;
    QObject::connect(&bar, &ObjectToolbar::stretchToggled, [&](bool on) { stretched.push_back(on); });
    bar.CBObrStretch->click();
    EXPECT_EQ(stretched, std::vector<bool>{true});
    EXPECT_FALSE(bar.CBObrPomer->isHidden());
    picture.stretch = false;
    bar.showProperties(picture);
    EXPECT_TRUE(bar.CBObrPomer->isHidden());
    EXPECT_EQ(stretched.size(), 1u);

    QObject::connect(&bar, &ObjectToolbar::pictureListRequested,
                     [&] { bar.setPictureFiles({QStringLiteral("A.BMP"), QStringLiteral("B.JPG")}); });
    bar.CBObrazFile->showPopup();
    bar.CBObrazFile->hidePopup();
    EXPECT_EQ(bar.CBObrazFile->count(), 2);
    EXPECT_EQ(bar.CBObrazFile->currentText(), QStringLiteral("ZNAK.BMP"));
}

TEST(ObjectToolbar, SizeBoxesSendTheTypedTextAndCanBeRestored)
{
    ObjectToolbar bar;
    std::vector<std::pair<int, QString>> typed;
    QObject::connect(&bar, &ObjectToolbar::sizeTyped, [&](int box, const QString& text) { typed.emplace_back(box, text); });
    bar.showProperties(element(ekText));
    bar.showSize(120, 35);
    bar.EditY->setText(QStringLiteral("1x"));
    emit bar.EditY->returnPressed();
    bar.EditH->setText(QStringLiteral("999"));
    emit bar.EditH->returnPressed();
    EXPECT_EQ(typed, (std::vector<std::pair<int, QString>>{{sbY, QStringLiteral("1x")}, {sbH, QStringLiteral("999")}}));
    bar.restoreSizeBoxes();
    EXPECT_EQ(bar.EditY->text(), QStringLiteral("20"));
    EXPECT_EQ(bar.EditW->text(), QStringLiteral("120"));
    EXPECT_EQ(bar.EditH->text(), QStringLiteral("35"));
    bar.showCoordinates(-1, 77);
    EXPECT_EQ(bar.PanelSouradnicX->text(), QString());
    EXPECT_EQ(bar.PanelSouradnicY->text(), QStringLiteral("77"));
}

TEST(ObjectToolbar, TextIsCommittedOnEnterOrFocusLossAfterAnEdit)
{
    ObjectToolbar bar;
    QStringList edited;
    QStringList committed;
    QObject::connect(&bar, &ObjectToolbar::textEdited, [&](const QString& text) { edited << text; });
    QObject::connect(&bar, &ObjectToolbar::textCommitted, [&](const QString& text) { committed << text; });
    ElementProperties label = element(ekLabel);
    label.text = QStringLiteral("Popis položky NAZEV");
    label.textEditable = false;
    bar.showProperties(label);
    EXPECT_TRUE(bar.EditText->isReadOnly());

    ElementProperties text = element(ekText);
    text.text = QStringLiteral("Sestava");
    bar.showProperties(text);
    EXPECT_FALSE(bar.EditText->isReadOnly());
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(bar.EditText, &out);
    EXPECT_TRUE(committed.isEmpty());

    const auto key = [&](int code, const QString& typed = {}) {
        QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier, typed);
        QApplication::sendEvent(bar.EditText, &press);
    };
    key(Qt::Key_End);
    key(Qt::Key_Space, QStringLiteral(" "));
    key(Qt::Key_1, QStringLiteral("1"));
    QApplication::sendEvent(bar.EditText, &out);
    QApplication::sendEvent(bar.EditText, &out);
    key(Qt::Key_2, QStringLiteral("2"));
    key(Qt::Key_Return);
    key(Qt::Key_Return);
    EXPECT_EQ(edited, (QStringList{QStringLiteral("Sestava "), QStringLiteral("Sestava 1"), QStringLiteral("Sestava 12")}));
    EXPECT_EQ(committed, (QStringList{QStringLiteral("Sestava 1"), QStringLiteral("Sestava 12")}));
}

} // namespace
