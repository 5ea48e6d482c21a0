// Qt's own dialogs speak Czech once the translations are installed.
#include "platform/ui/Translations.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QPushButton>

#include <gtest/gtest.h>

TEST(Translations, StandardDialogButtonsReadInCzech)
{
    ASSERT_TRUE(ui::installQtTranslations(*QCoreApplication::instance()));
    QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Save);
    EXPECT_EQ(box.button(QDialogButtonBox::Cancel)->text(), QString::fromUtf8("Zrušit"));
    EXPECT_EQ(box.button(QDialogButtonBox::Save)->text(), QString::fromUtf8("Uložit"));

    // The file chooser of "Soubor PDF…" is Qt's own widget dialog.
    QFileDialog chooser(nullptr, QString(), QString(), QStringLiteral("PDF (*.pdf)"));
    chooser.setOption(QFileDialog::DontUseNativeDialog);
    chooser.setAcceptMode(QFileDialog::AcceptSave);
    const auto* buttons = chooser.findChild<QDialogButtonBox*>();
    ASSERT_NE(buttons, nullptr);
    EXPECT_EQ(buttons->button(QDialogButtonBox::Cancel)->text().remove(QLatin1Char('&')), QString::fromUtf8("Zrušit"));
    EXPECT_EQ(buttons->button(QDialogButtonBox::Save)->text().remove(QLatin1Char('&')), QString::fromUtf8("Uložit"));
}
