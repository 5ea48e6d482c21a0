// The designer's object toolbar: the property pages of the active element, its text box, the
// position and size boxes with the stacking buttons, and the cursor coordinates.
#pragma once

#include "reports/designer/form/ElementProperties.h"

#include <QComboBox>
#include <QWidget>

#include <array>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QStackedWidget;
class QToolButton;

namespace reports {
class TSestButton;
}

namespace reports::designer {

// The size boxes, in the order of EditX, EditY, EditW, EditH.
enum SizeBox : int { sbX = 0, sbY, sbW, sbH };

// The picture box: asks its owner for the list just before it drops down.
class PictureFileBox : public QComboBox
{
public:
    explicit PictureFileBox(QWidget* parent = nullptr) : QComboBox(parent) {}
    std::function<void()> beforePopup;
    void showPopup() override;
};

// A passive view of one element's properties. It shows what it is given and reports each
// user change as a signal with the new value; it changes no element itself. Setting values
// from code emits nothing.
class ObjectToolbar : public QWidget
{
    Q_OBJECT

public:
    explicit ObjectToolbar(QWidget* parent = nullptr);

    // Fills every control of the element's page and shows that page.
    void showProperties(const ElementProperties& element);
    // Enables or disables the size boxes and stacking buttons; disabling shows "Prazdny" and
    // leaves the text box empty and read-only.
    void enableControls(bool enabled);
    void setStackingEnabled(bool enabled);
    // The position or size during a drag, in the size boxes.
    void showPosition(int left, int top);
    void showSize(int width, int height);
    // The four size boxes get back the values last shown (after a typed value was refused).
    void restoreSizeBoxes();
    // The cursor position on the paper; -1 leaves a box empty.
    void showCoordinates(int x, int y);
    // The items of the picture box (the report's pictures), keeping the text shown.
    void setPictureFiles(const QStringList& files);
    ObjectPage currentPage() const;
    // Emits textCommitted when the text box holds an uncommitted edit; call it before the
    // active element changes without the box losing focus (filling the box drops the edit).
    void commitPendingText();

    QStackedWidget* NotebookObjektu = nullptr;
    QLineEdit* EditText = nullptr;
    QWidget* PanelRozmeru = nullptr;
    QLineEdit* EditX = nullptr;
    QLineEdit* EditY = nullptr;
    QLineEdit* EditW = nullptr;
    QLineEdit* EditH = nullptr;
    TSestButton* SBPrenesP = nullptr;
    TSestButton* SBPrenesZ = nullptr;
    QLabel* PanelSouradnicX = nullptr;
    QLabel* PanelSouradnicY = nullptr;
    // "Texty"
    std::array<QToolButton*, 4> SBCarT{};
    QComboBox* CBZarovnani = nullptr;
    QToolButton* SBPismo = nullptr;
    // "RTF"
    std::array<QToolButton*, 4> SBCarR{};
    QCheckBox* CbZarBlok = nullptr;
    QCheckBox* CbPromVys = nullptr;
    // "Cary" and "Ramy" share the line flags; the seventh (ellipse) only on "Cary".
    QWidget* PanelCar = nullptr;
    std::array<QToolButton*, 7> SBCar{};
    QComboBox* CBBarvaCary = nullptr;
    QComboBox* CBStylCary = nullptr;
    QSpinBox* SBSirkaCary = nullptr;
    QComboBox* CBRamBarvaOkr = nullptr;
    QSpinBox* SERamSirOkr = nullptr;
    QComboBox* CBRamBarvaVypl = nullptr;
    QComboBox* CBRamStyl = nullptr;
    // "Obraz"
    PictureFileBox* CBObrazFile = nullptr;
    QCheckBox* CBObrStretch = nullptr;
    QCheckBox* CBObrPomer = nullptr;

signals:
    // Enter in a size box: the text as typed (the controller checks it).
    void sizeTyped(int box, const QString& text);
    void frontRequested();
    void backRequested();
    // Every user edit of the text box, then once on Enter or when the box loses focus after
    // an edit.
    void textEdited(const QString& text);
    void textCommitted(const QString& text);
    void alignmentChanged(int alignment);
    void textFrameLineToggled(int side, bool on);   // SBCarT: 0 left .. 3 bottom
    void rtfFrameLineToggled(int side, bool on);    // SBCarR
    void lineFlagToggled(int flag, bool on);        // SBCar: 0 left .. 6 ellipse
    void penColorChanged(int colorIndex);
    void penStyleChanged(int style);
    void penWidthChanged(int width);
    void framePenColorChanged(int colorIndex);
    void framePenWidthChanged(int width);
    void fillColorChanged(int colorIndex);
    void fillStyleChanged(int style);
    void justifyToggled(bool on);
    void variableHeightToggled(bool on);
    void stretchToggled(bool on);
    void keepAspectToggled(bool on);
    void pictureFileChosen(const QString& name);
    // The picture box is about to drop down; answer with setPictureFiles.
    void pictureListRequested();
    void fontDialogRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* addPage(const char* name);
    void buildTexts(QWidget* page);
    void buildRtf(QWidget* page);
    void buildLines(QWidget* page);
    void buildFrames(QWidget* page);
    void buildPicture(QWidget* page);
    void buildSizePanel();
    void showPage(ObjectPage page);
    void fillSizeBoxes();

    std::array<int, 4> m_shown{};    // the values last shown in EditX..EditH
    bool m_hasShown = false;
    bool m_textPending = false;      // the text box was edited since it was filled or committed
};

} // namespace reports::designer
