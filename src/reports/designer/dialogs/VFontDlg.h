// The font dialog (TVFontDlg) and the font controls it shares with the element dialog.
#pragma once

#include "reports/model/ReportFont.h"

#include <QDialog>
#include <QGroupBox>
#include <QWidget>

#include <optional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace reports::designer {

// Font name, size, colour, script and style boxes with a sample; `Pismo()` is the font the
// controls describe. The list offers the installed families and the text printer's three
// "Roman" fonts; a name that is not installed is offered as written and kept.
class FontChooser : public QWidget
{
public:
    explicit FontChooser(QWidget* parent = nullptr);

    // Fills the controls from the font and runs the preview.
    void setFont(const ReportFont& font);
    const ReportFont& Pismo() const { return m_pismo; }

    // Takes the controls into Pismo and shows it in the sample; a text-printer font is shown
    // in its fixed-pitch face at its fixed size, which Pismo and the size box then take.
    void CBPismaChange();

    QComboBox* CBPisma = nullptr;     // "Typ písma:"
    QComboBox* CBVyska = nullptr;     // "Velikost:"
    QComboBox* CBBarva = nullptr;     // "Barva:", the 16 table colours
    QComboBox* CbSkript = nullptr;    // "Skript:", the 8 table character sets
    QCheckBox* CBBold = nullptr;
    QCheckBox* CBItalic = nullptr;
    QCheckBox* CbUnderline = nullptr;
    QCheckBox* CBStrikeout = nullptr;
    QLabel* LabelUkazkaF = nullptr;

private:
    void fillLists();
    void selectName(const QString& name);

    ReportFont m_pismo;
    // A character set outside the table is kept while the script box is not changed.
    int m_readScriptIndex = -1;
    int m_readCharset = 1;
};

// "Volba typu písma": a font for the editor settings or the selected elements.
class TVFontDlg : public QDialog
{
public:
    explicit TVFontDlg(const ReportFont& font, QWidget* parent = nullptr);

    // The chosen font (valid after OK).
    const ReportFont& Pismo() const { return Chooser->Pismo(); }

    // The font on OK, nothing on cancel.
    static std::optional<ReportFont> Execute(const ReportFont& font, QWidget* parent = nullptr);

    FontChooser* Chooser = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
    QPushButton* HelpBtn = nullptr;   // hidden: there is no help file
};

// A titled group of radio buttons whose choice is an item index, -1 for none.
class RadioGroup : public QGroupBox
{
public:
    RadioGroup(const char* name, const QString& title, const QStringList& items, QWidget* parent = nullptr);
    int itemIndex() const;
    void setItemIndex(int index);
    QButtonGroup* buttons() const { return m_buttons; }

private:
    QButtonGroup* m_buttons;
};

// The sample text of the font dialogs.
inline const QString FontSampleText = QStringLiteral("ÁBČĎábčď");

// A dialog's button with its object name; OK and cancel close the dialog with 1 and 2.
QPushButton* dialogButton(QWidget* parent, const char* name, const QString& text);
// A hidden help button: the designer has no help file.
QPushButton* hiddenHelpButton(QWidget* parent);
// A QFont showing the report font on a widget (colour excepted).
QFont sampleFont(const ReportFont& font, const QWidget& widget);
// Gives the label the font and its colour.
void showSampleFont(QLabel& label, const ReportFont& font);

} // namespace reports::designer
