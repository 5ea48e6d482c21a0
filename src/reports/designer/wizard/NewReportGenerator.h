// The new-report wizard's generator: a whole starting template from the chosen columns.
#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace reports::designer {

// One data column of the report as the generator needs it.
struct WizardColumn {
    QString name;
    QString label;
    int width = 0;        // display width in characters
    int alignment = 0;    // the column's alignment; the top bit is dropped
};

// The editor defaults new elements take.
struct WizardDefaults {
    int ImplVyska = 20;                 // row height
    QString ImplNazevFontu;             // font of the column lines
    int ImplVyskaFontu = 10;            // font size
    int ImplBarvaFontu = 0;             // colour index
    int ImplStylFontu = 0;              // style bits
};

// What the wizard's dialog chose, plus the page it lays out on.
struct WizardChoice {
    QStringList selected;               // column names, in the order of the dialog's list
    bool isRowStyle = false;            // one field per row, else columns side by side
    bool hasLabels = true;              // "Popisy položek"
    bool labelsAsText = false;          // "Popisy textem"
    bool isByName = false;              // "Pol. podle názvu"
    int PW = 0;                         // printable width, hundredths of an inch
    int PH = 0;                         // printable height
};

// Appends the title, date, labels, field lines, separators and page number to `lines` and
// inserts the five section settings (I,3) at its start. Selected names the column list does
// not know are skipped.
void generateNewReport(QStringList& lines, const std::vector<WizardColumn>& columns,
                       const WizardChoice& choice, const WizardDefaults& defaults);

} // namespace reports::designer
