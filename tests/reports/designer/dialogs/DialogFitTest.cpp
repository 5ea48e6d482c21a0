// Every dialog of the designer at the default font: each widget lies inside its parent, no two
// neighbours overlap, and no caption is cut, on every page the dialog can show.
#include "reports/designer/dialogs/DlgFormatPapiru.h"
#include "reports/designer/dialogs/DlgKonfPrvku.h"
#include "reports/designer/dialogs/FunkceDlg.h"
#include "reports/designer/dialogs/SestDlg.h"
#include "reports/designer/dialogs/SestKonfigDlg.h"
#include "reports/designer/dialogs/Sest_FnEditVyraz.h"
#include "reports/designer/dialogs/VFontDlg.h"
#include "reports/designer/wizard/DlgNovaSestava.h"

#include "platform/files/Files.h"

#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

using namespace reports;
using namespace reports::designer;

QString nameOf(const QWidget& w)
{
    QString text;
    if (const auto* label = qobject_cast<const QLabel*>(&w)) text = label->text();
    else if (const auto* button = qobject_cast<const QAbstractButton*>(&w)) text = button->text();
    else if (const auto* box = qobject_cast<const QGroupBox*>(&w)) text = box->title();
    return QString::fromLatin1(w.metaObject()->className()) + u' ' + w.objectName() + QStringLiteral(" \"") + text + u'"';
}

// Widgets drawn whole: they place their inner widgets themselves.
bool isWhole(const QWidget& w)
{
    return qobject_cast<const QAbstractSpinBox*>(&w) || qobject_cast<const QComboBox*>(&w)
           || qobject_cast<const QAbstractScrollArea*>(&w) || qobject_cast<const QTabBar*>(&w)
           || qobject_cast<const QLineEdit*>(&w) || qobject_cast<const QAbstractButton*>(&w)
           || qobject_cast<const QLabel*>(&w);
}

int textWidth(const QWidget& w, QString text)
{
    text.remove(u'&');
    return w.fontMetrics().horizontalAdvance(text);
}

// A caption narrower or lower than its text needs.
bool isCut(const QWidget& w)
{
    if (const auto* label = qobject_cast<const QLabel*>(&w)) {
        if (label->text().isEmpty()) return false;
        if (label->wordWrap()) return label->height() < label->heightForWidth(label->width());
        const QSize needed = label->minimumSizeHint();
        return label->width() < needed.width() || label->height() < needed.height();
    }
    if (qobject_cast<const QCheckBox*>(&w) || qobject_cast<const QRadioButton*>(&w))
        return w.width() < w.sizeHint().width() || w.height() < w.sizeHint().height();
    if (const auto* button = qobject_cast<const QAbstractButton*>(&w))
        return !button->text().isEmpty() && button->width() < textWidth(w, button->text()) + 6;
    if (const auto* box = qobject_cast<const QGroupBox*>(&w))
        return box->width() < textWidth(w, box->title()) + 16;
    return false;
}

void collectFaults(const QWidget& parent, QStringList& faults)
{
    std::vector<const QWidget*> shown;
    for (const QWidget* child : parent.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->isWindow() || child->isHidden()) continue;
        if (!parent.rect().contains(child->geometry()))
            faults << nameOf(*child) + QStringLiteral(" lies outside ") + nameOf(parent);
        if (isCut(*child)) faults << nameOf(*child) + QStringLiteral(" is cut");
        for (const QWidget* other : shown)
            if (other->geometry().intersects(child->geometry()))
                faults << nameOf(*child) + QStringLiteral(" overlaps ") + nameOf(*other);
        shown.push_back(child);
        if (!isWhole(*child)) collectFaults(*child, faults);
    }
}

// The faults of every page: each stacked page is shown in turn, with the pages that hold it.
QStringList faultsOnEveryPage(QDialog& dialog)
{
    dialog.show();
    QStringList faults;
    const auto check = [&] {
        QCoreApplication::sendPostedEvents();
        QStringList found;
        collectFaults(dialog, found);
        for (const QString& f : found)
            if (!faults.contains(f)) faults << f;
    };
    check();
    for (QStackedWidget* stack : dialog.findChildren<QStackedWidget*>()) {
        for (int i = 0; i < stack->count(); ++i) {
            QWidget* shown = stack->widget(i);
            for (QWidget* w = shown; w && w != &dialog; w = w->parentWidget())
                if (auto* holder = qobject_cast<QStackedWidget*>(w->parentWidget())) holder->setCurrentWidget(w);
            check();
        }
    }
    dialog.hide();
    return faults;
}

struct DialogCase {
    const char* name;
    std::function<std::unique_ptr<QDialog>()> make;
};

void PrintTo(const DialogCase& c, std::ostream* os) { *os << c.name; }

ElementDialogData columnElement()
{
    ElementDialogData d;
    d.Kind = 2;
    d.Columns = {QStringLiteral("ODD"), QStringLiteral("POZNAMKA")};
    d.ColumnTypes = {5, 16};
    d.Font.Name = QStringLiteral("Arial CE");
    d.Font.Size = 10;
    d.Width = 200;
    d.Height = 20;
    return d;
}

ReportSettingsData settingsWithGroups()
{
    ReportSettingsData d;
    d.reportName = QStringLiteral("sevran.pts");
    d.reportDir = QStringLiteral("/home/lesy/sestavy/");
    d.endPage = 9999;
    d.maxRecords = 1000000;
    d.orientation = 1;
    d.columnReferences = {QStringLiteral("#1  ODD"), QStringLiteral("#2  DIL")};
    d.groups.resize(2);
    return d;
}

class DialogFitTest : public ::testing::TestWithParam<DialogCase>
{
protected:
    static void SetUpTestSuite()
    {
        s_dir = std::make_unique<QTemporaryDir>();
        files::setConfigDirectory(s_dir->path());
    }
    static void TearDownTestSuite()
    {
        files::setConfigDirectory(QString());
        s_dir.reset();
    }
    static std::unique_ptr<QTemporaryDir> s_dir;
};

std::unique_ptr<QTemporaryDir> DialogFitTest::s_dir;
TListFormatu g_formats;

TEST_P(DialogFitTest, NothingIsClippedOnAnyPage)
{
    const std::unique_ptr<QDialog> dialog = GetParam().make();
    const QStringList faults = faultsOnEveryPage(*dialog);
    EXPECT_TRUE(faults.isEmpty()) << faults.join(u'\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Designer, DialogFitTest,
    ::testing::Values(
        DialogCase{"SestDlg",
                   [] {
                       return std::make_unique<TSestDlg>(settingsWithGroups(), g_formats, ReportSettingsFile);
                   }},
        DialogCase{"DlgFormatPapiru",
                   [] {
                       return std::make_unique<TDlgFormatPapiru>(
                           TFormatPapiru{QStringLiteral("Obálka otoč.(162 x 228 mm)"), 637, 896}, true);
                   }},
        DialogCase{"DlgNovaSestava",
                   [] {
                       return std::make_unique<TDlgNovaSestava>(QStringList{QStringLiteral("ODD")}, false,
                                                                std::function<void()>());
                   }},
        DialogCase{"DlgKonfPrvku", [] { return std::make_unique<TDlgKonfPrvku>(columnElement()); }},
        DialogCase{"FunkceDlg", [] { return std::make_unique<TFunkceDlg>(ExpressionLists{}); }},
        DialogCase{"SestKonfigDlg",
                   [] { return std::make_unique<TSestKonfigDlg>(NastaveniEditoru{}, ReportSettingsFile); }},
        DialogCase{"Sest_FnEditVyraz", [] { return std::make_unique<TSest_FnEditVyraz>(QStringLiteral("#1+1")); }},
        DialogCase{"VFontDlg", [] { return std::make_unique<TVFontDlg>(ReportFont{}); }}),
    [](const ::testing::TestParamInfo<DialogCase>& info) { return std::string(info.param.name); });

} // namespace
