// The paper-format dialog: read-only mode and the values it gives back.
#include "reports/designer/dialogs/DlgFormatPapiru.h"

#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

using namespace reports;
using namespace reports::designer;

TEST(DlgFormatPapiru, TakesTypedValuesAndKeepsNonNumbers)
{
    const TFormatPapiru format{QStringLiteral("A4 na šířku"), 1169, 826};
    TDlgFormatPapiru readOnly(format, false);
    EXPECT_EQ(readOnly.windowTitle(), QStringLiteral("Formát papíru"));
    EXPECT_FALSE(readOnly.EditNazev->isEnabled());
    EXPECT_FALSE(readOnly.EditVyska->isEnabled());

    TDlgFormatPapiru dialog(format, true);
    EXPECT_EQ(dialog.EditSirka->text(), QStringLiteral("1169"));
    dialog.EditNazev->setText(QString(40, u'ž'));
    dialog.EditSirka->setText(QStringLiteral("12a"));
    dialog.EditVyska->setText(QStringLiteral("900"));
    const TFormatPapiru r = dialog.format();
    EXPECT_EQ(r.Nazev, QString(31, u'ž'));
    EXPECT_EQ(r.Sirka, 1169);
    EXPECT_EQ(r.Vyska, 900);
    dialog.CancelBtn->click();
    EXPECT_EQ(dialog.result(), 2);
}

} // namespace
