// The designer opened by a report's edit: what the edit answers after each way of closing, and
// a template that cannot be read opening no designer.
#include "reports/designer/form/FormSestE.h"

#include "platform/db/DataSource.h"
#include "platform/db/MemoryDataSet.h"
#include "platform/files/Files.h"
#include "platform/text/Cp1250.h"
#include "platform/ui/Services.h"
#include "reports/component/Sestava.h"
#include "reports/designer/InstallDesigner.h"
#include "reports/designer/dialogs/DlgFormatPapiru.h"
#include "reports/designer/dialogs/ModalDialog.h"
#include "reports/designer/dialogs/SestDlg.h"
#include "reports/designer/form/DesignerScript.h"
#include "reports/model/ReportElement.h"
#include "reports/designer/wizard/DlgNovaSestava.h"
#include "reports/expressions/OperandHost.h"
#include "reports/preview/FormSestP.h"
#include "reports/preview/InfoWindow.h"
#include "reports/preview/PreviewWindows.h"
#include "reports/preview/ReportPanels.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QTemporaryDir>
#include <QKeyEvent>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace reports;
using namespace reports::designer;

namespace {

class FormSestETest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_previous = &ui::services();
        ui::setServices(&m_ui);
        setReportWindows(&m_windows);
        installDesigner(m_windows);
        m_windows.preview = &ShowPreviewWindow;
        m_source.SetDataSet(&m_data);
        m_report.SetDataSource(&m_source);
        m_report.ReportDirIgnore = false;
        m_report.SetReportDir(m_dir.path());
        m_report.SetReportName(QStringLiteral("sevran.pts"));
    }
    void TearDown() override
    {
        setReportWindows(nullptr);
        ui::setServices(m_previous);
    }

    std::string messages() const
    {
        QStringList texts;
        for (const auto& m : m_ui.messages) texts << m.text;
        return texts.join(u'|').toStdString();
    }
    QString path(const char* name) const { return m_dir.filePath(QLatin1String(name)); }
    QByteArray bytes(const char* name) const
    {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void writeTemplate(const QByteArray& text) const
    {
        QFile f(path("sevran.pts"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    static QByteArray sample()
    {
        QFile f(QStringLiteral(GENKLAS_GOLDEN_DIR "/../../data/sevran.pts"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    int edit(const std::function<void(TFormSestE&)>& script)
    {
        if (!m_data.Active()) m_data.Open();
        return test::runDesigner([this] { return m_report.EditEx({}); }, script, m_designersShown);
    }

    // Moves the first element of the body 16 units right.
    static void moveFirst(TFormSestE& form)
    {
        const DocumentState& state = form.controller().Document().State();
        const DocumentElement& first = state.Band(biBody).front();
        const TVoReportElement& e = *first.Element;
        form.controller().elementsDragged({{first.Id, QRect(e.Left + 16, e.Top, e.Width, e.Height)}});
    }

    QTemporaryDir m_dir;
    // SESTDLL.INI lies in the test's directory from before the report is made.
    struct ConfigDirectory {
        explicit ConfigDirectory(const QTemporaryDir& dir) { files::setConfigDirectory(dir.path()); }
        ~ConfigDirectory() { files::setConfigDirectory(QString()); }
    } m_config{m_dir};
    ui::RecordingServices m_ui;
    ui::Services* m_previous = nullptr;
    PreviewWindows m_windows;
    ::test::MemoryDataSet m_data{::test::numberedDefs(), ::test::numberedRows(3)};
    db::DataSource m_source;
    TSestava m_report;
    int m_designersShown = 0;
};

TEST_F(FormSestETest, EditAnswersZeroAfterANormalCloseAndThreeAfterDiscarding)
{
    const QByteArray original = sample();
    ASSERT_FALSE(original.isEmpty());
    writeTemplate(original);

    EXPECT_EQ(edit([](TFormSestE& form) { form.controller().RequestClose(); }), 0);
    EXPECT_TRUE(m_ui.messages.empty()) << messages();

    m_ui.script({ui::Answer::No});   // "save the changes?" no
    EXPECT_EQ(edit([](TFormSestE& form) {
                  moveFirst(form);
                  form.controller().RequestClose();
              }),
              3);
    EXPECT_EQ(m_designersShown, 2);
    ASSERT_EQ(m_ui.messages.size(), 1u) << messages();
    EXPECT_EQ(bytes("sevran.pts"), original);
    EXPECT_FALSE(QFile::exists(path("sevran.BAK")));
}

TEST_F(FormSestETest, ATemplateThatCannotBeReadOpensNoDesignerAndWritesNothing)
{
    const QByteArray notATemplate("\x89PNG\r\n\x1a\n not a template at all");
    writeTemplate(notATemplate);
    EXPECT_EQ(edit([](TFormSestE& form) { form.closeWindow(1); }), 6);
    EXPECT_EQ(m_designersShown, 0);
    ASSERT_EQ(m_ui.messages.size(), 1u) << messages();
    EXPECT_TRUE(m_ui.messages[0].text.contains(QStringLiteral("není předloha"))) << m_ui.messages[0].text.toStdString();
    EXPECT_EQ(bytes("sevran.pts"), notATemplate);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("sevran.pts")});
}

// Acts once on the modal window of type W once it is up and `ready`, from its own event loop.
template <typename W>
void whenModal(const std::function<void(W&)>& act, const std::function<bool(W&)>& ready = [](W&) { return true; })
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, act, ready] {
        auto* window = dynamic_cast<W*>(QApplication::activeModalWidget());
        if (!window || !ready(*window)) return;
        poll->deleteLater();
        poll->stop();
        act(*window);
    });
    poll->start(10);
}

// Acts on the preview window once it is up and its run has ended.
void whenPreviewShown(const std::function<void(TFormSestP&)>& act)
{
    whenModal<TFormSestP>(act, [](TFormSestP& preview) { return !preview.session().isRunning(); });
}

TEST_F(FormSestETest, TheDesignersPreviewLeadsBackToItAndItsEndClosesTheDesigner)
{
    writeTemplate(sample());
    bool isEditEnabled = false;
    bool isBackInDesigner = false;
    std::array<bool, 4> stepping{};
    std::pair<bool, bool> left;   // Bof and Eof of the data after the first preview
    EXPECT_EQ(edit([&](TFormSestE& form) {
                  ASSERT_FALSE(form.BtnF1->isEnabled());   // opened on the first record
                  ASSERT_TRUE(form.BtnL1->isEnabled());
                  whenPreviewShown([&](TFormSestP& preview) {
                      isEditEnabled = preview.SBPrevEdit->isEnabled();
                      QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                      QApplication::sendEvent(QApplication::focusWidget() ? QApplication::focusWidget() : &preview,
                                              &escape);
                  });
                  form.controller().Preview();
                  isBackInDesigner = QApplication::activeModalWidget() == &form && form.isVisible();
                  stepping = {form.BtnF1->isEnabled(), form.BtnP1->isEnabled(), form.BtnN1->isEnabled(),
                              form.BtnL1->isEnabled()};
                  left = {m_data.Bof(), m_data.Eof()};
                  whenPreviewShown([](TFormSestP& preview) { preview.SBPrevKonec->click(); });
                  form.controller().Preview();
              }),
              0);
    EXPECT_TRUE(isEditEnabled);
    EXPECT_TRUE(isBackInDesigner);
    // The run walked the data away from the first record; the buttons show where it left them.
    ASSERT_FALSE(left.first);
    EXPECT_EQ(stepping, (std::array{true, true, !left.second, !left.second}));
    EXPECT_TRUE(m_ui.messages.empty()) << messages();
}

TEST_F(FormSestETest, EndingTheDesignersPreviewAsksAboutAChangedTemplate)
{
    const QByteArray original = sample();
    writeTemplate(original);
    m_ui.script({ui::Answer::Cancel, ui::Answer::No});
    bool isStillOpen = false;
    EXPECT_EQ(edit([&](TFormSestE& form) {
                  moveFirst(form);
                  whenPreviewShown([](TFormSestP& preview) { preview.SBPrevKonec->click(); });
                  form.controller().Preview();   // "Uložit?" Storno: the designer stays
                  isStillOpen = form.isVisible();
                  whenPreviewShown([](TFormSestP& preview) { preview.SBPrevKonec->click(); });
                  form.controller().Preview();   // Ne: closed without saving
              }),
              3);
    EXPECT_TRUE(isStillOpen);
    EXPECT_EQ(m_ui.messages.size(), 2u) << messages();
    EXPECT_EQ(bytes("sevran.pts"), original);
}

TEST_F(FormSestETest, EditModalOpensTheDesignerOverItsOwnerWithoutTheWaitWindow)
{
    writeTemplate(sample());
    ASSERT_TRUE(m_report.NactiPredlohu(false));
    m_data.Open();
    QWidget owner;
    QWidget* parent = nullptr;
    bool isMaximised = false;
    bool isLogoUp = true;
    const auto modal = [&](const std::function<void(TFormSestE&)>& script) {
        return test::runDesigner([&] { return m_report.EditModal(&owner); }, script, m_designersShown);
    };
    EXPECT_EQ(modal([&](TFormSestE& form) {
                  parent = form.parentWidget();
                  isMaximised = form.windowState().testFlag(Qt::WindowMaximized);
                  isLogoUp = logoWindow() != nullptr;
                  form.controller().RequestClose();
              }),
              0);
    EXPECT_EQ(parent, &owner);
    EXPECT_TRUE(isMaximised);
    EXPECT_FALSE(isLogoUp);

    m_ui.script({ui::Answer::No});   // "save the changes?" no
    EXPECT_EQ(modal([](TFormSestE& form) {
                  moveFirst(form);
                  form.controller().RequestClose();
              }),
              3);
    EXPECT_EQ(m_designersShown, 2);
    EXPECT_EQ(OperandHost(), &m_report);

    // An empty template goes to the wizard; cancelling it opens no designer.
    m_report.SetPredloha({});
    whenModal<TDlgNovaSestava>([](TDlgNovaSestava& wizard) { wizard.done(2); });
    EXPECT_EQ(modal([](TFormSestE& form) { form.closeWindow(1); }), 6);
    EXPECT_EQ(m_designersShown, 2);
}

TEST_F(FormSestETest, PaperFormatsOfTheSettingsDialogKeepTheUsersFormatsInTheFile)
{
    writeTemplate(sample());
    const QByteArray userFormat = "[FormatyPapiru]\r\nPocetFormatu=1\r\nFormat1=Muj format,500,600\r\n";
    {
        QFile ini(path("SESTDLL.INI"));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write(userFormat);
    }
    TSestava report;   // reads the formats when it is made
    report.SetDataSource(&m_source);
    report.ReportDirIgnore = false;
    report.SetReportDir(m_dir.path());
    report.SetReportName(QStringLiteral("sevran.pts"));
    m_data.Open();

    QStringList offered;
    QString editCaption;
    bool isDeleteEnabled = true;
    const int status = test::runDesigner(
        [&] { return report.EditEx({}); },
        [&](TFormSestE& form) {
            ::test::whenShown<TSestDlg>([&](TSestDlg& d) {
                d.TabSet->setCurrentIndex(1);
                for (int i = 0; i < d.CBFormaty->count(); ++i) offered << d.CBFormaty->itemText(i);
                editCaption = d.ButtonEditFormat->text();
                isDeleteEnabled = d.ButtonDeleteFormat->isEnabled();
                ::test::whenShown<TDlgFormatPapiru>([](TDlgFormatPapiru& f) { f.OKBtn->click(); });
                d.ButtonInsertFormat->click();   // "Přidej" with the selected size
                d.OKBtn->click();
            });
            form.controller().ShowSettingsDialog();
            form.controller().RequestClose();
        },
        m_designersShown);
    EXPECT_EQ(status, 0);   // the template itself is as it was

    ASSERT_EQ(offered.size(), 19) << offered.join(u'|').toStdString();
    EXPECT_EQ(offered[8], QStringLiteral("A4 (210 x 297 mm)"));
    EXPECT_EQ(offered[18], QStringLiteral("Muj format"));
    EXPECT_EQ(editCaption, QStringLiteral("Ukaž"));   // the template's A4 is a built-in size
    EXPECT_FALSE(isDeleteEnabled);
    EXPECT_EQ(bytes("SESTDLL.INI"),
              Cp1250::encode(QStringLiteral("[FormatyPapiru]\r\nPocetFormatu=2\r\nFormat1=Muj format,500,600\r\n"
                                            "Format2=uživ. formát,826,1169\r\n")));
}

} // namespace
