// The designer opened by a report's edit: what the edit answers after each way of closing, and
// a template that cannot be read opening no designer.
#include "reports/designer/form/FormSestE.h"

#include "platform/db/DataSource.h"
#include "platform/db/MemoryDataSet.h"
#include "platform/ui/Services.h"
#include "reports/component/Sestava.h"
#include "reports/designer/InstallDesigner.h"
#include "reports/designer/form/DesignerScript.h"
#include "reports/model/ReportElement.h"
#include "reports/preview/PreviewWindows.h"

#include <QFile>
#include <QTemporaryDir>

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

} // namespace
