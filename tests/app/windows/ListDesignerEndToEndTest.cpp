// The list's template edited end to end: the designer opened by the list report's edit over the
// computed sample list, an element dragged on the paper and saved, then the list run and
// printed to "Soubor PDF…" with the element moved.
#include "app/support/PdfText.h"
#include "app/support/SampleListFixture.h"
#include "app/windows/RecognisedStandsList.h"
#include "platform/files/Files.h"
#include "platform/ui/Services.h"
#include "reports/designer/InstallDesigner.h"
#include "reports/designer/form/DesignerScript.h"
#include "reports/designer/surface/Papir.h"
#include "reports/engine/ReportRun.h"
#include "reports/preview/PdfPrinting.h"
#include "reports/preview/PreviewWindows.h"
#include "reports/preview/ReportPanels.h"
#include "reports/print/QtPrinter.h"

#include <QFile>
#include <QMouseEvent>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using namespace reports;
using namespace reports::designer;

const QString title = QStringLiteral("Seznam uznaných porostů");

QByteArray bytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void mouse(QWidget& paper, QEvent::Type type, QPoint p)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(p), paper.mapToGlobal(QPointF(p)), button, held, {});
    QApplication::sendEvent(&paper, &event);
}

// The rectangles of page 1's items, by text (the title once).
std::map<QString, QRect> firstPageItems(TSestava& report)
{
    std::map<QString, QRect> items;
    if (report.Output.PageCount() == 0) return items;
    const TStranaPrvku& page = report.Output.PageAt(0);
    for (int i = 0; i < page.count(); ++i)
        items.emplace(page.item(i).ItemText + QStringLiteral("@%1").arg(i), page.item(i).Rect);
    return items;
}

QRect titleRect(const std::map<QString, QRect>& items)
{
    for (const auto& [key, rect] : items)
        if (key.startsWith(title + u'@')) return rect;
    return {};
}

class ListDesignerEndToEnd : public testapp::SampleListTest
{
protected:
    void SetUp() override
    {
        SampleListTest::SetUp();
        if (HasFatalFailure())
            return;
        m_list.SetDataDir(m_dataDir);
        installDesigner(*m_windows);
    }

    // "Sestava" of the list, its preview taking page 1's items once the run is done.
    std::map<QString, QRect> previewList()
    {
        std::map<QString, QRect> items;
        m_windows->preview = [&](TSestavaTyp& report, ReportRun* run, const WindowPlacement&, int) {
            if (run) {
                EXPECT_EQ(run->run(), 0);
            }
            items = firstPageItems(dynamic_cast<TSestava&>(report));
            m_pages = report.Output.PageCount();
            return 1;
        };
        EXPECT_EQ(m_list.PrintReport(), 1);
        return items;
    }

    app::RecognisedStandsList m_list;
    int m_pages = 0;
};

TEST_F(ListDesignerEndToEnd, ADraggedAndSavedTitleMovesInTheListAndItsPdf)
{
    const QByteArray original = bytes(m_template);
    const std::map<QString, QRect> before = previewList();
    const QRect titleBefore = titleRect(before);
    ASSERT_FALSE(titleBefore.isNull());

    int shown = 0;
    int movedLeft = -1;
    const int status = test::runDesigner(
        [&] {
            m_list.openReportQuery();
            return m_list.Sestava1().EditEx({});
        },
        [&](TFormSestE& form) {
            const DocumentState& state = form.controller().Document().State();
            ElementId id = NoElement;
            for (const DocumentElement& e : state.Band(biPageHead))
                if (e.Element->Text == title) id = e.Id;
            ASSERT_NE(id, NoElement);
            const QPoint from = form.paper().elementRect(id).center();
            mouse(form.paper(), QEvent::MouseButtonPress, from);
            mouse(form.paper(), QEvent::MouseMove, from + QPoint(20, 0));
            mouse(form.paper(), QEvent::MouseMove, from + QPoint(40, 0));
            mouse(form.paper(), QEvent::MouseButtonRelease, from + QPoint(40, 0));
            movedLeft = form.controller().Document().State().Element(id)->Left;
            form.SBUloz1->click();
            form.controller().RequestClose();
        },
        shown);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(m_recorder.messages.empty()) << m_recorder.messages[0].text.toStdString();
    ASSERT_GT(movedLeft, 0);

    // The file differs in the title's line only, and the backup holds the old file.
    EXPECT_EQ(bytes(files::changeFileExt(m_template, u".BAK")), original);
    const QList<QByteArray> oldLines = original.split('\n');
    const QList<QByteArray> newLines = bytes(m_template).split('\n');
    ASSERT_EQ(newLines.size(), oldLines.size());
    QStringList changed;
    for (qsizetype i = 0; i < oldLines.size(); ++i)
        if (oldLines[i] != newLines[i]) changed << QString::fromLatin1(newLines[i]);
    ASSERT_EQ(changed.size(), 1) << changed.join(u'\n').toStdString();
    EXPECT_TRUE(changed[0].startsWith(QStringLiteral("H,1,0,%1,0,500,22,").arg(movedLeft))) << changed[0].toStdString();

    // The list shows the title moved right and every other item where it was.
    std::map<QString, QRect> after = previewList();
    const QRect titleAfter = titleRect(after);
    EXPECT_GT(titleAfter.left(), titleBefore.left());
    EXPECT_EQ(titleAfter.top(), titleBefore.top());
    EXPECT_EQ(titleAfter.size(), titleBefore.size());
    std::map<QString, QRect> othersBefore = before;
    std::erase_if(othersBefore, [](const auto& item) { return item.first.startsWith(title + u'@'); });
    std::erase_if(after, [](const auto& item) { return item.first.startsWith(title + u'@'); });
    EXPECT_EQ(after, othersBefore);

    // "Soubor PDF…" prints the moved list.
    const QString pdf = m_program.filePath(QStringLiteral("seznam.pdf"));
    const TSestVystup& output = m_list.Sestava1().Output;
    ASSERT_EQ(output.PageCount(), m_pages);
    ASSERT_TRUE(PrintToPdf(output, 1, m_pages, title, [&] { return pdf; }));
    const QString printed = testapp::pdfText(pdf);
    EXPECT_TRUE(printed.contains(title)) << printed.left(500).toStdString();
    EXPECT_EQ(printed.count(u'\f'), m_pages);
}

} // namespace
