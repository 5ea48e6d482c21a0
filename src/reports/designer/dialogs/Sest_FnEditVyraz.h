// The expression builder (TSest_FnEditVyraz), "Tvorba výrazu pro výpočet funkce".
#pragma once

#include <QDialog>
#include <QStringList>

#include <optional>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace reports::designer {

// What the builder's lists offer: the report's columns, its parameters and user functions.
struct ExpressionLists
{
    QStringList Columns;
    int ParameterCount = 0;
    QStringList Functions;
    bool ByName = false;      // tokens of columns and functions by name
};

// A list item: the marker, the number (index + 1) followed by two blanks cut to three
// characters, the name: "#1  NAZEV", "#10 NAZEV", "#100NAZEV".
QString ListItemText(QChar marker, int index, const QString& name);
// The token an item of a reference list inserts: by name the marker and the name ("#NAZEV"),
// else the marker and the number ("#12", "&3").
QString ItemToken(const QString& itemText, bool byName);

// Builds a function's expression from lists of operands, built-ins and operator buttons;
// "Kontrola" checks it with the report's expression evaluator (operands through the
// installed operand host).
class TSest_FnEditVyraz : public QDialog
{
public:
    explicit TSest_FnEditVyraz(const QString& expression, QWidget* parent = nullptr);

    void NaplnSeznamy(const ExpressionLists& lists);
    QString Vyraz() const;

    // The built expression on OK, nothing on cancel.
    static std::optional<QString> Execute(const QString& expression, const ExpressionLists& lists,
                                          QWidget* parent = nullptr);

    // Remembers the list entered or clicked and its item, and enables "Vložit".
    void remember(QListWidget* list, int index);
    // Inserts the remembered item's token at the caret (replacing the selection).
    void Vlozit();
    // Inserts an operator button's text and advances the caret by its tag.
    void OperatorClick(const QPushButton* button);
    // Checks the expression: an error is shown and the caret put at its position.
    void Kontrola();

    QListWidget* LBPolozky = nullptr;
    QListWidget* LBParametry = nullptr;
    QListWidget* LBFunkce = nullptr;
    QListWidget* LBOperatory = nullptr;
    QLineEdit* EditVyraz = nullptr;
    QPushButton* BitBtn1 = nullptr;          // "Kontrola"
    QPushButton* BitBtnVlozit = nullptr;
    QPushButton* BitBtnIn = nullptr;
    QCheckBox* CBPodle = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
    QPushButton* HelpBtn = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QListWidget* addList(const char* name);
    QWidget* buildOperators();
    void forget();
    void insertAtCaret(const QString& text, int caretAdvance);

    QListWidget* m_list = nullptr;   // the list last entered or clicked
    int m_index = -1;
};

} // namespace reports::designer
