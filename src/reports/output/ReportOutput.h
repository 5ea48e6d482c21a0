// The laid-out pages of a run (TSestVystup): kept, trimmed, rendered, printed, written.
#pragma once

#include "reports/output/CodePages.h"
#include "reports/output/OutputPage.h"

#include <QImage>
#include <QPicture>

#include <functional>
#include <memory>
#include <vector>

class QPainter;

namespace reports {

class Printer;
class TZnakovePole;

// The pages of one run, owned by the report. Positions are hundredths of an inch relative to
// the printable area. The layout state of the record loop lives here too.
class TSestVystup
{
public:
    TSestVystup();
    ~TSestVystup();
    TSestVystup(const TSestVystup&) = delete;
    TSestVystup& operator=(const TSestVystup&) = delete;

    // No pages; page size from the page settings; layout state back to its start. The old
    // pages are set aside, not freed: freeing a long report's items takes longer than laying
    // out a page, so a new run frees them between its steps (ReleaseCleared).
    void Clear();
    // Frees up to `pages` of the pages set aside by Clear() (all when negative); answers
    // whether some remain.
    bool ReleaseCleared(int pages = -1);
    // Creates empty pages up to the index, then adds the item to that page and answers the
    // stored item. An index beyond maxPages is refused (null): a run never needs that many.
    TVystPrvek* AddItem(TVystPrvek item, int pageIndex);
    void DeletePage(int index);
    int PageCount() const { return int(m_pages.size()); }
    const TStranaPrvku& PageAt(int index) const { return *m_pages.at(size_t(index)); }
    TStranaPrvku& PageAt(int index) { return *m_pages.at(size_t(index)); }

    // First page := first; last := min(last, page count); pages after it are deleted.
    void SetRange(int first, int last, int copies);
    int firstPage() const { return m_firstPage; }
    int lastPage() const { return m_lastPage; }
    int copies() const { return m_copies; }

    // Makes a page current and renders it into the page picture (1/600 inch); an index
    // outside the pages does nothing.
    void SelectPage(int index);
    int currentPage() const { return m_currentPage; }
    const QPicture& pagePicture() const { return m_picture; }
    // Stretches the current page's picture into a rectangle of a painter (the preview).
    void DrawPage(QPainter& painter, const QRectF& target) const;
    // Draws one page's items on a canvas whose origin is the printable area's corner.
    void DrawItems(int index, class Canvas& canvas) const;

    // A background picture, printed under every page only when given and `print` is set.
    void SetBackground(const QImage& picture, bool print);
    void setPictureLoader(PictureLoader loader) { m_loader = std::move(loader); }
    // Line spacing code of character output (-1: none given).
    void setLineSpacing(int code) { m_lineSpacing = code; }
    int lineSpacing() const { return m_lineSpacing; }
    // Stops rendering between items.
    void setStopDrawing(bool stop) { m_stopDrawing = stop; }

    // The progress window's abort button, polled between pages and items.
    using AbortFlag = std::function<bool()>;

    // Prints pages first..last (clipped to the pages) in `copies` copies on a graphic
    // printer, full-page coordinates. `abort` is polled before each page. False when the
    // job was aborted or refused; an empty range opens no job and answers true.
    bool PrintGraphic(Printer& printer, int first, int last, const AbortFlag& abort, const QString& title, int copies);
    // The same pages as character lines sent as one raw job, each page up to its last text
    // and closed by a form feed.
    bool PrintCharacter(Printer& printer, int first, int last, const AbortFlag& abort, const QString& title, int copies,
                        TSestLanguage language);
    // The pages written to a file (any path), every row of each page, no form feed. Raises
    // EFileError when it cannot be written.
    bool WriteCharacter(const QString& destination, int first, int last, const AbortFlag& abort, int copies,
                        TSestLanguage language);
    // Where character pages go: a file takes every row of a page, a printer the rows up to
    // the page's last text and a form feed.
    enum class CharacterTarget { File, Printer };
    // The character bytes of pages first..last in `copies` copies; empty when aborted.
    QByteArray CharacterBytes(int first, int last, const AbortFlag& abort, int copies, TSestLanguage language,
                              CharacterTarget target = CharacterTarget::File);
    // Puts the text items of a page into a character grid.
    void FillCharacterPage(int index, TZnakovePole& grid) const;

    // Largest page count a run may create.
    static constexpr int maxPages = 100000;

    // Layout state of the record loop (hundredths of an inch, pages from 0).
    int Y = 0;
    int X = 0;
    int CurrentColumn = 1;
    int PageIndex = 0;
    int PageOffset = 0;
    int PageHeight = 0;
    int PageWidth = 0;

private:
    // Puts the laid-out lines of a text item into the grid.
    static void fillLines(const TVystPrvek& item, const QRect& at, TZnakovePole& grid);
    // Pages first..last clipped to what exists; empty (first > last) when none.
    std::pair<int, int> clip(int first, int last) const;

    std::vector<std::unique_ptr<TStranaPrvku>> m_pages;
    std::vector<std::unique_ptr<TStranaPrvku>> m_cleared;
    QPicture m_picture;
    QImage m_background;
    bool m_printBackground = false;
    PictureLoader m_loader;
    int m_currentPage = -1;
    int m_firstPage = 1;
    int m_lastPage = 9999;
    int m_copies = 1;
    int m_lineSpacing = -1;
    bool m_stopDrawing = false;
};

} // namespace reports
