// The designed template below the designer's widgets: its current state, every edit as one
// method that yields the next state, the selection, the element store and the undo list.
#pragma once

#include "reports/designer/document/DocumentState.h"
#include "reports/designer/document/ListVariant.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <set>
#include <vector>

namespace reports {
class ReportModel;
}

namespace reports::designer {

// Change codes of the undo list; each edit records one.
enum ChangeCode : int {
    chInsert = 1, chFont = 2, chDelete = 3, chSettings = 4, chBandHeight = 5, chText = 6, chMove = 7,
    chAlignment = 8, chFunctionEdit = 9, chFunctionAdd = 10, chFunctionDelete = 11, chCut = 12,
    chPaste = 13, chElementSettings = 14, chDetail = 15,
};
// The caption of a change ("vložení prvku", ...); empty for 0 and codes above 15.
QString changeCaption(int code);

// The editor settings a new element takes (Impl... and SledPodle of the editor settings).
struct InsertDefaults
{
    int Width = 100;
    int Height = 20;
    int Alignment = 0;
    QString FontName = QStringLiteral("Arial CE");
    int FontSize = 10;
    int FontColor = 0;            // index into the colour table
    int FontStyle = 0;
    int FontScript = 238;         // charset number, kept as read
    bool FollowByName = false;    // columns and functions referenced by name
};

// What a column tool needs of its data column.
struct ColumnInfo
{
    int DisplayWidth = 10;        // characters
    int Alignment = 0;            // the field's alignment code; bit 128 is dropped
};

// Final place and size of one element (a drag's release, typed or keyboard values).
struct ElementRect
{
    ElementId Id = NoElement;
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
};

enum class GeometryField { Left, Top, Width, Height };

// Which elements a property handler acts on: the active one alone, or in a multi-selection
// every selected element of the scope's kinds.
enum class PropertyScope {
    Line,       // kind 7
    Text,       // kinds 1 to 6
    Shape,      // kinds 8 to 10
    Active,     // the active element only
};

enum class ElementProperty { PenColor, PenStyle, PenWidth, FillColor, FillStyle, Alignment };

// The settings dialog's result: the settings records' values (description, page, columns,
// bands, paging flags, raster, groups). GroupSources[i] is the position in the document of
// the group Settings.Groups[i] was, -1 for a new group; a group left out loses its bands.
struct SettingsChange
{
    TemplateSettings Settings;
    std::vector<int> GroupSources;
};

// Elements copied for pasting: their lines under the tag "X", the left and top of the element
// that was active, and the line of that element (-1 when none).
struct ElementStore
{
    QStringList Lines;
    int AnchorLeft = 0;
    int AnchorTop = 0;
    int AnchorIndex = -1;
};

// Owns its states and undo list; the report (columns, pictures, whether head and foot are
// skipped) is not owned and outlives the document. Ids are never changed or reused; undo and
// redo bring back states holding the same ids. Zoom, selection, tool and store are not undone.
// Edits on ids the state does not hold change nothing and record nothing.
class TemplateDocument
{
public:
    explicit TemplateDocument(ReportModel& report);
    TemplateDocument(const TemplateDocument&) = delete;
    TemplateDocument& operator=(const TemplateDocument&) = delete;

    // --- transfer ---------------------------------------------------------------------------
    // Reads a whole template as the new entry 0 of an undo list that keeps only it.
    void Load(const QStringList& lines);
    // The whole template of the current state, as the report's writer writes it.
    QStringList Write() const;
    QStringList Write(const DocumentState& state) const;

    const DocumentState& State() const { return m_variants.Current(); }
    const TemplateSettings& Settings() const { return *State().Settings; }
    const std::vector<FunctionSettings>& Functions() const { return *State().Functions; }
    // Printable width of the state's page: the right limit of elements.
    int PaperWidth() const;
    // Height of a band from the settings (a group band from its group).
    int BandHeight(int band) const;
    // The raster steps that snapping and keyboard moves use.
    double RasterStepX() const;
    double RasterStepY() const;
    bool IsModified() const { return m_modified; }
    void SetModified(bool modified) { m_modified = modified; }

    // --- undo ---------------------------------------------------------------------------------
    const TListVariant& Variants() const { return m_variants; }
    void SetUndoDepth(int depth) { m_variants.SetDepth(depth); }
    void KeepCurrentOnly() { m_variants.KeepCurrentOnly(); }
    // A step back or forward rebuilds the surface from text: nothing stays selected.
    bool Undo();
    bool Redo();

    // --- selection ----------------------------------------------------------------------------
    ElementId ActiveId() const { return m_active; }
    // The multi-selection; holds the active element too while two or more are selected.
    const std::set<ElementId>& SelectedIds() const { return m_selected; }
    // Clears a multi-selection that the element is not part of.
    void SetActive(ElementId id);
    void AddToSelection(ElementId id);
    void RemoveFromSelection(ElementId id);
    void DeselectAll();

    // --- edits: each records one step and answers whether anything changed -----------------
    // A new element from a tool at x, y in a band; it becomes active. NoElement for the arrow
    // or a code of no kind.
    ElementId InsertFromTool(int band, int x, int y, int toolCode, const InsertDefaults& defaults,
                             const ColumnInfo& column = {});
    // The active element, or every selected one while it is part of a multi-selection.
    bool DeleteSelection();
    bool DeleteElements(const std::vector<ElementId>& ids);
    // Final rectangles of a drag, a resize or a keyboard step.
    bool MoveElements(const std::vector<ElementRect>& rects, const QString& mergeKey = {});
    // A typed value on the active element, or on every selected one; held to the keyboard's
    // limits (inside the band, at least 3 wide and high).
    bool SetGeometry(GeometryField field, int value, const QString& mergeKey = {});
    // Moves (dx, dy) or resizes (dw, dh) the active and selected elements within their bands.
    bool MoveByKeyboard(double dx, double dy, const QString& mergeKey = {});
    bool ResizeByKeyboard(int dw, int dh, const QString& mergeKey = {});
    // Every element, or the selected ones (the active one alone without a multi-selection).
    bool SnapToRaster(bool selectedOnly);
    bool SetProperty(PropertyScope scope, ElementProperty property, int value, const QString& mergeKey = {});
    // Sets or clears line bits (frame sides, diagonals, picture options).
    bool SetLines(PropertyScope scope, int bits, bool on);
    // Sets or clears text flags (justify, variable height, word wrap, RTF) of the active element.
    bool SetTextFlags(int bits, bool on);
    bool SetText(const QString& text, const QString& mergeKey = {});
    // The font of the active element, or of every selected textual element.
    bool SetFont(const ReportFont& font);
    // A picture element's file list.
    bool SetPictureFile(const QString& files);
    // To the front or the back of its band.
    bool Restack(bool toFront);
    bool SetBandHeight(int band, int height, const QString& mergeKey = {});
    bool AddGroup(const GroupSettings& group);
    bool RemoveGroup(int position);
    bool ApplySettings(const SettingsChange& change);
    bool AddFunction(const FunctionSettings& function);
    // Renaming follows the elements bound to the function by name.
    bool EditFunction(int index, const FunctionSettings& function);
    bool DeleteLastFunction();
    // Edits one element's values under a change code (the element dialog's OK).
    bool EditElement(ElementId id, int code, const std::function<void(TVoReportElement&)>& edit);
    // The same with the user functions as the dialog left them, in one step; renames follow
    // the elements bound by name. A list of another length is not taken.
    bool EditElement(ElementId id, int code, const std::vector<FunctionSettings>& functions,
                     const std::function<void(TVoReportElement&)>& edit);
    // A detail variant edited in its own designer: its D lines become the variant's template
    // lines, where its first D line stood (at the end when it had none).
    bool ReplaceDetailLines(int variant, const QStringList& lines);

    // --- store ----------------------------------------------------------------------------------
    const ElementStore& Store() const { return m_store; }
    // The active and selected elements of the active element's band; false without one.
    bool Copy();
    bool Cut();
    // The store at x, y of a band, displaced so that no element lies left of or above 0;
    // answers the new ids.
    std::vector<ElementId> Paste(int band, int x, int y);

private:
    // Edits a copy of an element, given its id and band.
    using ElementEdit = std::function<void(TVoReportElement&, ElementId, int)>;

    std::shared_ptr<TVoReportElement> elementFromLine(const QString& line, const DocumentState& state) const;
    ElementLineContext lineContext(const DocumentState& state) const;
    bool modifyElements(const std::vector<ElementId>& ids, int code, const QString& mergeKey,
                        const ElementEdit& edit);
    // Edits the elements in `next`; answers the ids whose lines changed.
    static std::vector<ElementId> editElements(DocumentState& next, const std::vector<ElementId>& ids,
                                               const ElementEdit& edit);
    // Elements bound by name to a function of `before` follow its name in next.Functions.
    static void renameBoundElements(DocumentState& next, const std::vector<FunctionSettings>& before);
    std::vector<ElementId> targets(PropertyScope scope) const;
    std::vector<ElementId> activeAndSelected() const;
    void record(int code, DocumentState next, const QString& mergeKey, const std::vector<ElementId>& ids);
    void pruneSelection();
    DocumentState withSettings(const TemplateSettings& settings) const;

    ReportModel& m_report;
    TListVariant m_variants;
    ElementId m_lastId = NoElement;
    ElementId m_active = NoElement;
    std::set<ElementId> m_selected;
    ElementStore m_store;
    bool m_modified = false;
};

} // namespace reports::designer
