// Output pages: range, rendering, graphic printing and character output.
#include "reports/output/ReportOutput.h"

#include "platform/Exceptions.h"
#include "platform/files/Files.h"
#include "platform/ui/Services.h"
#include "reports/model/PageSettings.h"
#include "reports/output/Canvas.h"
#include "reports/output/CharacterPage.h"
#include "reports/output/PageGeometry.h"
#include "reports/output/Printer.h"

#include <QPainter>
#include <QSaveFile>

#include <algorithm>
#include <iterator>

namespace reports {

namespace {

// Page pictures are drawn in 1/600 inch.
constexpr double pictureScale = 6.0;

} // namespace

TSestVystup::TSestVystup()
{
    Clear();
}

TSestVystup::~TSestVystup() = default;

void TSestVystup::Clear()
{
    std::move(m_pages.begin(), m_pages.end(), std::back_inserter(m_cleared));
    m_pages.clear();
    m_picture = QPicture();
    m_currentPage = -1;
    PageWidth = PrintableWidth();
    PageHeight = PrintableHeight();
    Y = X = PageIndex = PageOffset = 0;
    CurrentColumn = 1;
}

bool TSestVystup::ReleaseCleared(int pages)
{
    const size_t n = pages < 0 ? m_cleared.size() : std::min(m_cleared.size(), size_t(pages));
    m_cleared.resize(m_cleared.size() - n);
    return !m_cleared.empty();
}

TVystPrvek* TSestVystup::AddItem(TVystPrvek item, int pageIndex)
{
    if (pageIndex < 0 || pageIndex >= maxPages) return nullptr;
    while (PageCount() <= pageIndex) m_pages.push_back(std::make_unique<TStranaPrvku>());
    return &m_pages[size_t(pageIndex)]->AddItem(std::move(item));
}

void TSestVystup::DeletePage(int index)
{
    if (index >= 0 && index < PageCount()) m_pages.erase(m_pages.begin() + index);
}

void TSestVystup::SetRange(int first, int last, int copies)
{
    m_firstPage = first;
    m_lastPage = std::min(last, PageCount());
    while (PageCount() > std::max(m_lastPage, 0)) m_pages.pop_back();
    m_currentPage = first - 1;
    m_copies = copies;
}

void TSestVystup::DrawItems(int index, Canvas& canvas) const
{
    if (index < 0 || index >= PageCount()) return;
    const TStranaPrvku& page = PageAt(index);
    for (int i = 0; i < page.count() && !m_stopDrawing; ++i) page.item(i).Draw(canvas, m_loader);
}

void TSestVystup::SelectPage(int index)
{
    if (index < 0 || index >= PageCount()) return;
    m_currentPage = index;
    m_picture = QPicture();
    QPainter painter(&m_picture);
    PainterCanvas canvas(painter, QPointF(0, 0), pictureScale, pictureScale);
    DrawItems(index, canvas);
    painter.end();
    m_picture.setBoundingRect(QRect(0, 0, int(PageWidth * pictureScale), int(PageHeight * pictureScale)));
}

void TSestVystup::DrawPage(QPainter& painter, const QRectF& target) const
{
    const QRect bounds = m_picture.boundingRect();
    if (bounds.isEmpty()) return;
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / bounds.width(), target.height() / bounds.height());
    painter.drawPicture(0, 0, m_picture);
    painter.restore();
}

void TSestVystup::SetBackground(const QImage& picture, bool print)
{
    m_background = picture;
    m_printBackground = print;
}

std::pair<int, int> TSestVystup::clip(int first, int last) const
{
    return {std::max(first, 1), std::min(last, PageCount())};
}

bool TSestVystup::PrintGraphic(Printer& printer, int first, int last, const AbortFlag& abort, const QString& title, int copies)
{
    const auto [from, to] = clip(first, last);
    if (from > to) return true;
    printer.setOrientation(pageSettings().Orientation);
    const PageSettings& page = pageSettings();
    const double sx = printer.pixelsPerInchX() / 100.0;
    const double sy = printer.pixelsPerInchY() / 100.0;
    const QPointF origin(page.LeftMargin * sx, page.TopMargin * sy);
    bool aborted = false;
    for (int copy = 0; copy < std::max(copies, 1); ++copy) {
        if (!printer.beginDocument(title)) return false;
        for (int p = from; p <= to; ++p) {
            if (p > from) printer.newPage();
            ui::services().processEvents();
            aborted = abort && abort();
            if (aborted) break;
            PainterCanvas canvas(printer.painter(), origin, sx, sy);
            if (m_printBackground && !m_background.isNull())
                canvas.drawImage(QRectF(-page.LeftMargin, -page.TopMargin, PaperWidth(), PaperHeight()), m_background);
            printer.painter().setClipRect(QRectF(origin, QSizeF(PageWidth * sx, PageHeight * sy)));
            DrawItems(p - 1, canvas);
            printer.painter().setClipping(false);
        }
        if (aborted) {
            printer.abortDocument();
            return false;
        }
        printer.endDocument();
        if (printer.isAborted()) return false;
    }
    return true;
}

void TSestVystup::FillCharacterPage(int index, TZnakovePole& grid) const
{
    const PageSettings& settings = pageSettings();
    const TStranaPrvku& page = PageAt(index);
    for (int i = 0; i < page.count(); ++i) {
        const TVystPrvek& item = page.item(i);
        if (!item.Style.isText() || (item.Style.Kind == 2 && item.HasPicture)) continue;
        const QRect at = item.Rect.translated(settings.LeftMargin, settings.TopMargin);
        const int style = item.Style.Font.Style & (FontBold | FontItalic | FontUnderline);
        const int align = item.Style.Alignment;
        if (!item.ItemLines) {
            grid.VlozText(at, item.ItemText, align, style, item.Style.Font.Size, 0);
            continue;
        }
        fillLines(item, at, grid);
    }
}

void TSestVystup::fillLines(const TVystPrvek& item, const QRect& at, TZnakovePole& grid)
{
    // Each line on the row of its laid-out position, below the previous line's row and
    // above the rows of what lies below the item; its characters with control characters
    // as blanks.
    const int firstRow = grid.rowOf(at.top());
    const int belowRow = grid.rowOf(double(at.top()) + at.height());
    const int style = item.Style.Font.Style & (FontBold | FontItalic | FontUnderline);
    long long offset = 0;   // layout units from the item's top
    int previous = firstRow - 1;
    for (int k = item.FirstLine; k <= item.LastLine && k < item.ItemLines->count(); ++k) {
        const TRadek& line = item.ItemLines->lines[size_t(k)];
        const int row = std::max(grid.rowOf(at.top() + double(offset) / layoutUnitsPerHundredth), previous + 1);
        if (row >= belowRow && row > firstRow) return;
        offset += line.Vyska;
        previous = row;
        QString text = line.Text;
        for (QChar& c : text)
            if (c.unicode() < 32) c = u' ';
        grid.VlozText(at, text, item.Style.Alignment, style, item.Style.Font.Size, row - firstRow);
    }
}

QByteArray TSestVystup::CharacterBytes(int first, int last, const AbortFlag& abort, int copies, TSestLanguage language,
                                       CharacterTarget target)
{
    const auto [from, to] = clip(first, last);
    QByteArray out;
    TZnakovePole grid;
    grid.Priprav(PaperHeight(), m_lineSpacing);
    for (int copy = 0; copy < std::max(copies, 1) && from <= to; ++copy)
        for (int p = from; p <= to; ++p) {
            ui::services().processEvents();
            if (abort && abort()) return {};
            grid.VymazTexty();
            FillCharacterPage(p - 1, grid);
            out += target == CharacterTarget::Printer ? grid.printerPage(language) : grid.ZapisStranu(language);
        }
    return out;
}

bool TSestVystup::PrintCharacter(Printer& printer, int first, int last, const AbortFlag& abort, const QString& title, int copies,
                                 TSestLanguage language)
{
    const QByteArray bytes = CharacterBytes(first, last, abort, copies, language, CharacterTarget::Printer);
    if (abort && abort()) return false;
    if (bytes.isEmpty()) return true;
    return printer.sendRaw(title, bytes);
}

bool TSestVystup::WriteCharacter(const QString& destination, int first, int last, const AbortFlag& abort, int copies,
                                 TSestLanguage language)
{
    const QByteArray bytes = CharacterBytes(first, last, abort, copies, language);
    if (abort && abort()) return false;
    const QString path = files::resolvePath(destination);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw EFileError(QStringLiteral("Nelze zapsat soubor \"%1\"").arg(destination));
    return true;
}

} // namespace reports
