// The designer's logic: every user intent becomes one document edit or one report call, and
// every change is shown at once.
#include "reports/designer/controller/DesignerController.h"

#include "reports/engine/ReportRun.h"
#include "reports/engine/ReportWindows.h"
#include "reports/engine/SestavaTyp.h"
#include "reports/model/ReportModel.h"
#include "reports/model/ReportTables.h"
#include "reports/model/ReportTexts.h"
#include "reports/designer/surface/SurfaceGeometry.h"

#include "platform/files/Files.h"
#include "platform/ui/Services.h"

#include <algorithm>
#include <cmath>

namespace reports::designer {
namespace {

constexpr int maxParameterRequest = 2000;   // each request class spans 2000 indexes
const QString confirmCaption = QStringLiteral("Potvrzení");

// The tool tabs "Položky" and "Popisy", where the element chooser may show.
constexpr int columnsTab = 0;
constexpr int labelsTab = 1;
bool showsColumns(int tab) { return tab == columnsTab || tab == labelsTab; }

bool isTextual(int kind) { return kind >= ekText && kind <= ekFunction; }
bool isShape(int kind) { return kind >= ekRectangle && kind <= ekEllipse; }

// A parameter read as a number: either decimal separator; 0 when empty or not a number.
double parameterNumber(const QString& text)
{
    QString t = text.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = t.toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0.0;
}

bool ask(int textId, ui::Buttons buttons, ui::Answer& answer)
{
    answer = ui::services().messageBox(reportText(textId), confirmCaption, ui::MsgType::Confirmation, buttons);
    return answer == ui::Answer::Yes;
}

bool askYes(int textId)
{
    ui::Answer answer;
    return ask(textId, ui::YesNo, answer);
}

// Designers with a variant designer open, by the report they edit.
std::map<const ReportModel*, DesignerController*>& owners()
{
    static std::map<const ReportModel*, DesignerController*> map;
    return map;
}

QString bandCaption(int band)
{
    static const std::array<QString, 5> fixed = {
        QStringLiteral("Začátek sestavy"), QStringLiteral("Hlava stránky"), QStringLiteral("Tělo sestavy"),
        QStringLiteral("Konec sestavy"), QStringLiteral("Pata stránky")};
    if (band < biFirstGroup)
        return fixed[std::size_t(band)];
    const int group = groupOfBand(band);
    return reportText(band == groupStartBand(group) ? 65135 : 65104) + QLatin1Char(' ') + QString::number(group + 1);
}

} // namespace

DesignerController::DesignerController(DesignerReport& report, DesignerView& view, DesignerDialogs& dialogs,
                                       const NastaveniEditoru& settings)
    : m_report(report), m_view(view), m_dialogs(dialogs), m_settings(settings),
      m_document(std::make_unique<TemplateDocument>(report.Model())),
      m_owner(OwnerOf(report.Model().ParentReport()))
{
    m_document->SetUndoDepth(m_settings.PocetUndo);
    SetOperandHost(this);
}

DesignerController::~DesignerController()
{
    ReleaseOperandHost(this);
}

// --- opening and the template --------------------------------------------------------------

bool DesignerController::OpenReport()
{
    m_view.setZoomStep(m_zoomStep);
    StepData(-1);
    LoadReportTemplate();
    m_document->SetUndoDepth(m_settings.PocetUndo);
    showUndoState();
    if (m_report.Predloha().isEmpty() && CreateNewTemplate() == 2)
        return false;
    return true;
}

void DesignerController::LoadReportTemplate()
{
    m_document->Load(m_report.Predloha());
    syncFunctions();
    refresh();
}

void DesignerController::DisablePrint()
{
    m_view.setPrintEnabled(false);
}

void DesignerController::SetBackground(const QImage& picture, bool print)
{
    m_background = picture;
    m_printBackground = print;
    buildSurface();
}

// --- showing -------------------------------------------------------------------------------

void DesignerController::refresh()
{
    syncFunctions();
    buildSurface();
    showProperties();
    showUndoState();
    showToolPages();
    showPasteState();
    const QString popis = m_document->Settings().Popis;
    m_view.setCaption(popis.isEmpty() ? m_report.Popis() : popis, m_report.FileName());
}

void DesignerController::buildSurface()
{
    const TemplateDocument& doc = *m_document;
    const DocumentState& state = doc.State();
    const TemplateSettings& s = doc.Settings();
    SurfaceView view;
    view.paperWidth = doc.PaperWidth();
    view.zoom = ZoomSteps[std::size_t(m_zoomStep)];
    view.raster = {float(doc.RasterStepX()), float(doc.RasterStepY()), m_settings.RastrZobrazovat,
                   m_settings.RastrZarovnavat};
    view.background = m_background;
    const PageSettings& page = s.Page;
    const int paperHeight = page.Orientation == 1 ? page.PaperFormatWidth : page.PaperFormatHeight;
    // the bands' places on the background, summed in 64 bits over up to 515 bands
    long long offset = -(long long)page.TopMargin;
    long long previousHeight = 0;
    bool first = true;
    std::vector<int> offsets(std::size_t(state.BandCount()), 0);
    for (const int band : stackingOrder(state.BandCount())) {
        if (!first)
            offset -= previousHeight;
        first = false;
        offsets[std::size_t(band)] = ReportRun::bounded(offset);
        previousHeight = doc.BandHeight(band);
    }
    if (state.BandCount() > biPageFoot)
        offsets[biPageFoot] = ReportRun::bounded((long long)doc.BandHeight(biPageFoot) + page.BottomMargin - paperHeight);
    const std::set<ElementId>& selected = doc.SelectedIds();
    LiveColumns live;
    for (int b = 0; b < state.BandCount(); ++b) {
        SurfaceBand band;
        band.index = b;
        band.caption = bandCaption(b);
        band.height = doc.BandHeight(b);
        if (b < biFirstGroup) {
            band.visible = s.Sections[std::size_t(b)].Printed;
        } else {
            const GroupSettings& g = s.Groups[std::size_t(groupOfBand(b))];
            band.visible = b == groupStartBand(groupOfBand(b)) ? g.StartPrinted : g.EndPrinted;
        }
        if (b == biBody) {
            band.columns = std::max(s.Columns, 1);
            band.columnGap = s.ColumnGap;
        }
        band.backgroundOffset = QPoint(0, offsets[std::size_t(b)]);
        if (b >= biFirstGroup) {
            const int column = s.Groups[std::size_t(groupOfBand(b))].Column;
            if (column >= 0 && column < m_report.ColumnCount())
                band.label = m_report.ColumnText(column);
        }
        for (const DocumentElement& e : state.Band(b))
            band.elements.push_back({e.Id, shownElement(e, live), displayText(e.Id, *e.Element),
                                     e.Id == doc.ActiveId(), selected.contains(e.Id)});
        view.bands.push_back(std::move(band));
    }
    m_surface = view;
    m_view.showSurface(m_surface);
    // the copies the old view named go only once the new view is shown
    m_liveColumns = std::move(live);
}

// A memo or picture column shows the current record's memo or picture: a copy of the
// element holds it, taken anew when the element changes and after every data step.
const TVoReportElement* DesignerController::shownElement(const DocumentElement& e, LiveColumns& live) const
{
    const TVoReportElement& element = *e.Element;
    if (element.Kind != ekColumn || element.Reference < 0 || element.Reference >= m_report.ColumnCount())
        return &element;
    const int type = m_report.ColumnDataType(element.Reference);
    if (type != ctMemo && type != ctGraphic)
        return &element;
    const auto kept = m_liveColumns.find(e.Id);
    if (kept != m_liveColumns.end() && kept->second.source == e.Element && kept->second.record == m_record)
        return live.insert(*kept).first->second.shown.get();
    auto copy = std::make_shared<TVoReportElement>(element);
    if (type == ctMemo)
        copy->SetMemoText(m_report.ColumnMemo(element.Reference));
    else
        copy->SetPictureFromField(m_report.ColumnPicture(element.Reference));
    live[e.Id] = {e.Element, copy, m_record};
    return copy.get();
}

// What a text kind shows: its text, or the value of the current record.
QString DesignerController::displayText(ElementId id, const TVoReportElement& e) const
{
    switch (e.Kind) {
    case ekText: return e.Text;
    case ekColumn:
        return e.Reference >= 0 && e.Reference < m_report.ColumnCount()
            ? m_report.ColumnText(e.Reference).left(TOperandValue::MaxText) : QString();
    case ekLabel:
        return e.Reference >= 0 && e.Reference < m_report.ColumnCount() ? m_report.ColumnLabel(e.Reference) : QString();
    case ekParameter: {
        const QStringList parameters = m_report.Parameters();
        return e.Reference >= 0 && e.Reference < parameters.size() ? parameters[e.Reference] : QString();
    }
    case ekVariable: {
        TVoReportElement copy(e);
        const auto counter = m_counters.find(id);
        if (counter != m_counters.end())
            copy.Value.Number += double(counter->second);
        return copy.ValueText();
    }
    case ekFunction: {
        const TRadekFunkce* f = m_functions.FunctionAt(e.Reference);
        return f ? f->ValueText() : QString();
    }
    default: return {};
    }
}

void DesignerController::showProperties()
{
    const TVoReportElement* e = m_document->State().Element(m_document->ActiveId());
    if (!e) {
        m_view.enableElementControls(false);
        return;
    }
    ElementProperties p;
    p.kind = e->Kind;
    p.rect = QRect(e->Left, e->Top, e->Width, e->Height);
    p.alignment = e->Alignment;
    for (std::size_t i = 0; i < p.lines.size(); ++i)
        p.lines[i] = (e->Lines >> i) & 1;
    p.penColorIndex = ColorIndex(e->PenColor);
    p.penStyle = e->PenStyle;
    p.penWidth = e->PenWidth;
    p.brushColorIndex = ColorIndex(e->BrushColor);
    p.brushStyle = e->BrushStyle;
    p.pictureFile = e->PictureFile.isEmpty() ? e->Text : e->PictureFile;
    p.stretch = e->Stretch();
    p.keepAspect = e->KeepAspect();
    p.rtf = e->Kind == ekColumn && e->RtfText();
    p.justify = e->Justify();
    p.variableHeight = e->VariableHeight();
    const int reference = e->Reference;
    switch (e->Kind) {
    case ekColumn:
        p.text = reportText(65120) + QLatin1Char(' ') + m_report.ColumnName(reference);
        p.textEditable = false;
        break;
    case ekLabel:
        p.text = reportText(65124) + QLatin1Char(' ') + m_report.ColumnName(reference);
        p.textEditable = false;
        break;
    case ekParameter:
        p.text = reportText(65125) + QLatin1Char(' ') + QString::number(reference + 1);
        p.textEditable = false;
        break;
    case ekFunction: {
        const auto& functions = m_document->Functions();
        p.text = reportText(65127) + QLatin1Char(' ')
            + (reference >= 0 && reference < int(functions.size()) ? functions[std::size_t(reference)].Name : QString());
        p.textEditable = false;
        break;
    }
    default: p.text = e->Text; break;
    }
    m_view.showElementProperties(p);
    m_view.setStackingEnabled(!m_document->SelectedIds().contains(m_document->ActiveId()));
}

void DesignerController::showUndoState()
{
    const TListVariant& v = m_document->Variants();
    m_view.setUndoState(v.CanUndo(), v.UndoHint(), v.CanRedo(), v.RedoHint());
}

void DesignerController::showToolPages()
{
    ToolPages pages;
    for (int i = 0; i < m_report.ColumnCount(); ++i)
        pages.Columns << m_report.ColumnName(i);
    pages.ParameterCount = int(m_report.Parameters().size());
    pages.GroupCount = int(m_document->Settings().Groups.size());
    for (const FunctionSettings& f : m_document->Functions())
        pages.Functions << f.Name;
    pages.DetailCount = m_report.DetailCount();
    if (pages == m_toolPages && m_toolPagesShown)
        return;
    m_toolPages = pages;
    m_toolPagesShown = true;
    m_view.setToolPages(pages);
    if (functionOfTool() >= int(pages.Functions.size()))
        ChooseArrow();
}

void DesignerController::showPasteState()
{
    m_view.setPasteState(!m_document->Store().Lines.isEmpty(), m_pasteMode);
}

// The live functions follow the document's list; a function whose settings stayed keeps its
// value, a new one starts from its initial value.
void DesignerController::syncFunctions()
{
    const auto& current = m_document->State().Functions;
    if (current == m_functionsOf)
        return;
    TListFunkci next;
    for (std::size_t i = 0; i < current->size(); ++i) {
        auto f = std::make_unique<TRadekFunkce>();
        f->SetValues((*current)[i]);
        const TRadekFunkce* old = m_functions.FunctionAt(int(i));
        if (old && old->GetValues() == (*current)[i]) {
            f->Hodnota = old->Hodnota;
            f->Pocet = old->Pocet;
            f->Suma = old->Suma;
            f->SumaCtvercu = old->SumaCtvercu;
            f->NulovatPriste = old->NulovatPriste;
        } else {
            f->RequestReset(-1);
            f->Reset();
        }
        next.Add(std::move(f));
    }
    m_functions = std::move(next);
    m_functionsOf = current;
}

// --- file ------------------------------------------------------------------------------------

// A variant's designer saves through its owner, which has told the user of any failure.
bool DesignerController::Save()
{
    m_report.SetPredloha(m_document->Write());
    if (m_owner) {
        int answer = 5;
        m_owner->Dispatch(scSave, 0, answer);
        return finishSave(answer == 0 ? SaveResult::Saved : SaveResult::FailedReported);
    }
    return finishSave(m_report.Save());
}

bool DesignerController::SaveAs()
{
    m_report.SetPredloha(m_document->Write());
    const bool saved = finishSave(m_report.SaveAs());
    refresh();
    return saved;
}

bool DesignerController::finishSave(SaveResult result)
{
    if (result == SaveResult::Failed)
        ui::services().messageBox(reportText(65078), QString(), ui::MsgType::Error, ui::Ok);
    if (result != SaveResult::Saved)
        return false;
    m_document->SetModified(false);
    if (!m_settings.UndoSave)
        m_document->KeepCurrentOnly();
    showUndoState();
    return true;
}

DesignerController* DesignerController::OwnerOf(const ReportModel* parent)
{
    const auto owner = parent ? owners().find(parent) : owners().end();
    return owner == owners().end() ? nullptr : owner->second;
}

void DesignerController::EditDetail(int variant)
{
    if (variant < 0 || variant >= m_report.DetailCount())
        return;
    const ReportModel* model = &m_report.Model();
    DesignerController* const previous = OwnerOf(model);
    owners()[model] = this;
    m_editedDetail = variant;
    m_report.EditDetail(variant, m_view.placement());
    m_editedDetail = -1;
    if (previous)
        owners()[model] = previous;
    else
        owners().erase(model);
    // the variant's edit leaves the operand host to its report
    SetOperandHost(this);
    takeDetail(variant);
    refresh();
}

void DesignerController::takeDetail(int variant)
{
    m_document->ReplaceDetailLines(variant, m_report.DetailPredloha(variant));
}

void DesignerController::NewTemplate()
{
    if (m_document->State().ElementCount() > 0 && !askYes(65102))
        return;
    CreateNewTemplate();
}

int DesignerController::CreateNewTemplate()
{
    ChooseArrow();
    m_document->Load({});
    m_counters.clear();
    refresh();
    QStringList names;
    for (int i = 0; i < m_report.ColumnCount(); ++i)
        names << m_report.ColumnName(i);
    const WizardOutcome outcome = m_dialogs.wizard(names, m_settings.SledPodle, [this] { ShowSettingsDialog(1); });
    if (outcome.ModalResult == 1) {
        WizardChoice choice = outcome.Choice;
        const PageSettings& page = m_document->Settings().Page;
        const int paperHeight = page.Orientation == 1 ? page.PaperFormatWidth : page.PaperFormatHeight;
        choice.PW = m_document->PaperWidth();
        choice.PH = std::max(paperHeight - page.TopMargin - page.BottomMargin, 0);
        std::vector<WizardColumn> columns;
        for (int i = 0; i < m_report.ColumnCount(); ++i)
            columns.push_back({m_report.ColumnName(i), m_report.ColumnLabel(i), m_report.ColumnDisplayWidth(i),
                               m_report.ColumnAlignment(i)});
        const WizardDefaults defaults{m_settings.ImplVyska, m_settings.ImplNazevFontu, m_settings.ImplVyskaFontu,
                                      m_settings.ImplBarvaFontu, m_settings.ImplStylFontu};
        QStringList lines;
        generateNewReport(lines, columns, choice, defaults);
        // the page and raster chosen meanwhile stay; the generator gives the bands
        QStringList records;
        WriteSettingsLines(m_document->Settings(), records);
        for (const QString& record : std::as_const(records)) {
            if (!record.startsWith(QLatin1String("I,3,")) && !record.startsWith(QLatin1String("I,4,")))
                lines << record;
        }
        m_document->Load(lines);
        m_document->SetModified(true);
    }
    refresh();
    return outcome.ModalResult;
}

bool DesignerController::CloseQuery()
{
    if (!m_document->IsModified()) {
        m_editResult = 0;
        return true;
    }
    ui::Answer answer;
    ask(65072, ui::YesNoCancel, answer);
    if (answer == ui::Answer::No) {
        m_editResult = 3;
        return true;
    }
    if (answer != ui::Answer::Yes || !Save())
        return false;
    m_editResult = 0;
    return true;
}

void DesignerController::RequestClose()
{
    if (CloseQuery())
        m_view.closeWindow(m_editResult == 0 ? 1 : 2);
}

// --- undo ------------------------------------------------------------------------------------

void DesignerController::Undo()
{
    if (m_document->Undo())
        refresh();
}

void DesignerController::Redo()
{
    if (m_document->Redo())
        refresh();
}

// --- tools -----------------------------------------------------------------------------------

int DesignerController::functionOfTool() const
{
    return m_tool >= tcFunction && m_tool < tcDetail ? m_tool - tcFunction : -1;
}

void DesignerController::ChooseTool(int command)
{
    m_document->DeselectAll();
    m_tool = command;
    endPasteMode();
    m_view.setActiveTool(command);
    m_view.setPaperCursor(true);
    int item = -1;
    if (command >= tcColumn && command < tcLabel)
        item = command - tcColumn;
    else if (command >= tcLabel && command < tcParameter)
        item = command - tcLabel;
    m_view.setChooser(m_settings.VybSezna && showsColumns(m_tab), item);
    const int f = functionOfTool();
    m_view.setFunctionButtons(f >= 0, f >= 0 && f == int(m_document->Functions().size()) - 1);
    buildSurface();
    showProperties();
}

void DesignerController::ChooseArrow()
{
    m_tool = tcArrow;
    m_view.setActiveTool(tcArrow);
    m_view.setPaperCursor(m_pasteMode);
    m_view.setFunctionButtons(false, false);
    m_view.setChooser(m_settings.VybSezna && showsColumns(m_tab), -1);
}

void DesignerController::ChooseTab(int tab)
{
    m_tab = tab;
    ChooseArrow();
}

void DesignerController::ChooseColumn(int item)
{
    if (item >= 0 && item < m_report.ColumnCount())
        ChooseTool((m_tab == labelsTab ? tcLabel : tcColumn) + item);
}

// --- editing -----------------------------------------------------------------------------------

InsertDefaults DesignerController::insertDefaults() const
{
    InsertDefaults d;
    d.Width = m_settings.ImplSirka;
    d.Height = m_settings.ImplVyska;
    d.Alignment = m_settings.ImplZarovnani;
    d.FontName = m_settings.ImplNazevFontu;
    d.FontSize = m_settings.ImplVyskaFontu;
    d.FontColor = m_settings.ImplBarvaFontu;
    d.FontStyle = m_settings.ImplStylFontu;
    d.FontScript = m_settings.ImplSkriptFontu;
    d.FollowByName = m_settings.SledPodle;
    return d;
}

void DesignerController::InsertElement(int band, int x, int y)
{
    if (m_pasteMode) {
        PasteAt(band, x, y);
        return;
    }
    // without a tool a click only clears the selection
    if (m_tool == tcArrow) {
        DeselectAll();
        return;
    }
    ColumnInfo column;
    const ToolElement tool = toolElement(m_tool);
    if ((tool.kind == ekColumn || tool.kind == ekLabel) && tool.reference < m_report.ColumnCount()) {
        column.DisplayWidth = m_report.ColumnDisplayWidth(tool.reference);
        column.Alignment = m_report.ColumnAlignment(tool.reference);
    }
    m_document->InsertFromTool(band, x, y, m_tool, insertDefaults(), column);
    ChooseArrow();
    refresh();
}

void DesignerController::PasteAt(int band, int x, int y)
{
    m_document->Paste(band, x, y);
    endPasteMode();
    refresh();
}

void DesignerController::SetActiveElement(ElementId id)
{
    m_document->SetActive(id);
    buildSurface();
    showProperties();
}

void DesignerController::DeselectAll()
{
    m_document->DeselectAll();
    buildSurface();
    showProperties();
}

void DesignerController::DeleteSelected()
{
    const ElementId active = m_document->ActiveId();
    if (active == NoElement)
        return;
    const bool several = m_document->SelectedIds().contains(active);
    if (several ? m_settings.MazaniVice : m_settings.MazaniJedne) {
        if (!askYes(several ? 65101 : 65100))
            return;
    }
    m_document->DeleteSelection();
    refresh();
}

void DesignerController::Copy()
{
    if (m_document->Copy())
        showPasteState();
}

void DesignerController::Cut()
{
    if (m_document->Cut())
        refresh();
}

void DesignerController::Paste()
{
    if (!m_pasteMode && m_document->Store().Lines.isEmpty())
        return;
    const bool on = !m_pasteMode;
    ChooseArrow();
    m_document->DeselectAll();
    m_pasteMode = on;
    m_view.setPaperCursor(on);
    buildSurface();
    showProperties();
    showPasteState();
}

void DesignerController::endPasteMode()
{
    if (!m_pasteMode)
        return;
    m_pasteMode = false;
    m_view.setPaperCursor(m_tool != tcArrow);
    showPasteState();
}

void DesignerController::BringToFront()
{
    if (m_document->Restack(true))
        refresh();
}

void DesignerController::SendToBack()
{
    if (m_document->Restack(false))
        refresh();
}

void DesignerController::SizeTyped(int box, const QString& text)
{
    const TVoReportElement* active = m_document->State().Element(m_document->ActiveId());
    if (!active)
        return;
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok) {
        m_view.restoreSizeBoxes();
        return;
    }
    static constexpr std::array<GeometryField, 4> fields = {GeometryField::Left, GeometryField::Top,
                                                            GeometryField::Width, GeometryField::Height};
    if (box < 0 || box >= int(fields.size()))
        return;
    const std::array<int, 4> now = {active->Left, active->Top, active->Width, active->Height};
    const bool several = m_document->SelectedIds().contains(m_document->ActiveId());
    if (!several && now[std::size_t(box)] == value)
        return;
    m_document->SetGeometry(fields[std::size_t(box)], value, QStringLiteral("size") + QString::number(box));
    refresh();
}

QString DesignerController::typingKey() const
{
    return QStringLiteral("typing") + QString::number(m_typingSerial);
}

void DesignerController::TextEdited(const QString& text)
{
    // the box keeps its edit: only the paper and the undo buttons follow
    if (m_document->SetText(text, typingKey())) {
        buildSurface();
        showUndoState();
    }
}

void DesignerController::TextCommitted(const QString& text)
{
    m_document->SetText(text, typingKey());
    ++m_typingSerial;
    refresh();
}

void DesignerController::setProperty(PropertyScope scope, ElementProperty property, int value)
{
    if (m_document->SetProperty(scope, property, value, QStringLiteral("property") + QString::number(int(property))))
        refresh();
}

void DesignerController::SetAlignment(int alignment)
{
    setProperty(PropertyScope::Text, ElementProperty::Alignment, alignment);
}

void DesignerController::SetTextFrameLine(int side, bool on)
{
    if (side >= 0 && side < 4 && m_document->SetLines(PropertyScope::Text, 1 << side, on))
        refresh();
}

void DesignerController::SetRtfFrameLine(int side, bool on)
{
    if (side >= 0 && side < 4 && m_document->SetLines(PropertyScope::Active, 1 << side, on))
        refresh();
}

void DesignerController::SetLineFlag(int flag, bool on)
{
    const TVoReportElement* active = m_document->State().Element(m_document->ActiveId());
    if (!active || flag < 0 || flag > 6)
        return;
    const PropertyScope scope = isShape(active->Kind) ? PropertyScope::Shape : PropertyScope::Line;
    if (m_document->SetLines(scope, 1 << flag, on))
        refresh();
}

void DesignerController::SetPenColor(int colorIndex) { setProperty(PropertyScope::Line, ElementProperty::PenColor, colorIndex); }
void DesignerController::SetPenStyle(int style) { setProperty(PropertyScope::Line, ElementProperty::PenStyle, style); }
void DesignerController::SetPenWidth(int width) { setProperty(PropertyScope::Line, ElementProperty::PenWidth, width); }
void DesignerController::SetFramePenColor(int colorIndex) { setProperty(PropertyScope::Shape, ElementProperty::PenColor, colorIndex); }
void DesignerController::SetFramePenWidth(int width) { setProperty(PropertyScope::Shape, ElementProperty::PenWidth, width); }
void DesignerController::SetFillColor(int colorIndex) { setProperty(PropertyScope::Shape, ElementProperty::FillColor, colorIndex); }
void DesignerController::SetFillStyle(int style) { setProperty(PropertyScope::Shape, ElementProperty::FillStyle, style); }

void DesignerController::SetJustify(bool on)
{
    if (m_document->SetTextFlags(tfJustify, on))
        refresh();
}

void DesignerController::SetVariableHeight(bool on)
{
    if (m_document->SetTextFlags(tfVariableHeight, on))
        refresh();
}

void DesignerController::SetStretch(bool on)
{
    if (m_document->SetLines(PropertyScope::Active, lnRisingOrStretch, on))
        refresh();
}

void DesignerController::SetKeepAspect(bool on)
{
    if (m_document->SetLines(PropertyScope::Active, lnFallingOrAspect, on))
        refresh();
}

void DesignerController::SetPictureFile(const QString& name)
{
    if (m_document->SetPictureFile(files::extractFilePath(m_report.FileName()) + name))
        refresh();
}

void DesignerController::RequestPictureList()
{
    m_view.setPictureFiles(m_report.PictureFiles());
}

void DesignerController::KeyMove(int dx, int dy, bool resize, bool rasterStep)
{
    dx = std::clamp(dx, -1, 1);
    dy = std::clamp(dy, -1, 1);
    bool changed = false;
    if (resize)
        changed = m_document->ResizeByKeyboard(dx, dy);
    else if (rasterStep)
        changed = m_document->MoveByKeyboard(dx * m_document->RasterStepX(), dy * m_document->RasterStepY());
    else
        changed = m_document->MoveByKeyboard(dx, dy);
    if (changed)
        refresh();
}

void DesignerController::SnapAll()
{
    if (m_document->SnapToRaster(false))
        refresh();
}

void DesignerController::SnapSelected()
{
    if (m_document->SnapToRaster(true))
        refresh();
}

void DesignerController::SetZoomStep(int step)
{
    step = std::clamp(step, 0, int(ZoomSteps.size()) - 1);
    if (step == m_zoomStep)
        return;
    m_zoomStep = step;
    m_view.setZoomStep(step);
    buildSurface();
}

// --- dialogs -----------------------------------------------------------------------------------

ReportSettingsData DesignerController::settingsData() const
{
    const TemplateSettings& s = m_document->Settings();
    ReportSettingsData d;
    const QString file = m_report.FileName();
    d.reportName = files::extractFileName(file);
    d.reportDir = files::extractFilePath(file);
    const ReportRunValues run = m_report.RunValues();
    d.copies = run.Copies;
    d.startPage = run.StartPage;
    d.endPage = run.EndPage;
    d.maxRecords = run.MaxRecords;
    d.description = s.Popis;
    d.orientation = s.Page.Orientation;
    d.paperWidth = s.Page.PaperFormatWidth;
    d.paperHeight = s.Page.PaperFormatHeight;
    d.leftMargin = s.Page.LeftMargin;
    d.rightMargin = s.Page.RightMargin;
    d.topMargin = s.Page.TopMargin;
    d.bottomMargin = s.Page.BottomMargin;
    d.columns = s.Columns;
    d.columnGap = s.ColumnGap;
    d.isCharacterRaster = s.Raster.On;
    d.rasterX = s.Raster.CellWidth;
    d.rasterY = s.Raster.CellHeight;
    d.lineSpacingCode = s.Raster.LineSpacing;
    d.pitchCode = s.Raster.Pitch;
    d.skipsPageHeadAndFoot = m_report.SkipsHeadFoot();
    for (std::size_t i = 0; i < d.bands.size(); ++i)
        d.bands[i] = {s.Sections[i].Printed, s.Sections[i].Height};
    d.isBodyOnNewPage = s.PagingFlags[pfPagePerRecord];
    d.isBreakAfterStart = s.PagingFlags[pfBreakAfterStart];
    d.isBreakBeforeEnd = s.PagingFlags[pfBreakBeforeEnd];
    d.isNoHeadOnFirstPage = s.PagingFlags[pfNoHeadOnFirst];
    for (int i = 0; i < m_report.ColumnCount(); ++i)
        d.columnReferences << ListItemText(QLatin1Char('#'), i, m_report.ColumnName(i));
    for (const GroupSettings& g : s.Groups)
        d.groups.push_back({g.Number, g.Column, g.StartPrinted, g.StartHeight, g.EndPrinted, g.EndHeight, g.NewPage});
    return d;
}

// The dialog works on its own copy: only "&Konec" reaches the document, as one step.
void DesignerController::ShowSettingsDialog(int tab, int group)
{
    const std::optional<ReportSettingsData> r = m_dialogs.settings(settingsData(), tab, group);
    if (!r)
        return;
    SettingsChange change;
    TemplateSettings& s = change.Settings;
    s = m_document->Settings();
    s.Popis = r->description.left(TemplateSettings::MaxDescription);
    s.Page.Orientation = r->orientation;
    s.Page.PaperFormatWidth = r->paperWidth;
    s.Page.PaperFormatHeight = r->paperHeight;
    s.Page.LeftMargin = r->leftMargin;
    s.Page.RightMargin = r->rightMargin;
    s.Page.TopMargin = r->topMargin;
    s.Page.BottomMargin = r->bottomMargin;
    s.Columns = std::max(r->columns, 1);
    s.ColumnGap = std::max(r->columnGap, 0);
    // the raster record's reader gives the steps of a character raster
    ReadSettingsLine(QStringLiteral("I,6,%1,%2,%3,%4,%5")
                         .arg(r->isCharacterRaster ? 1 : 0)
                         .arg(r->rasterX)
                         .arg(r->rasterY)
                         .arg(r->lineSpacingCode)
                         .arg(r->pitchCode),
                     s, true);
    for (std::size_t i = 0; i < s.Sections.size(); ++i)
        s.Sections[i] = {r->bands[i].isVisible, r->bands[i].height};
    s.PagingFlags[pfPagePerRecord] = r->isBodyOnNewPage;
    s.PagingFlags[pfBreakAfterStart] = r->isBreakAfterStart;
    s.PagingFlags[pfBreakBeforeEnd] = r->isBreakBeforeEnd;
    s.PagingFlags[pfNoHeadOnFirst] = r->isNoHeadOnFirstPage;
    // groups are added and removed at the end of the list only: a position keeps its bands
    const int oldGroups = int(s.Groups.size());
    s.Groups.clear();
    for (std::size_t i = 0; i < r->groups.size(); ++i) {
        const GroupSettingsData& g = r->groups[i];
        s.Groups.push_back({g.index, g.item, g.isStartShown, g.startHeight, g.isEndShown, g.endHeight, g.isNewPage});
        change.GroupSources.push_back(int(i) < oldGroups ? int(i) : -1);
    }
    m_document->ApplySettings(change);
    refresh();
}

void DesignerController::EditGroupSettings(int band)
{
    if (band >= biFirstGroup)
        ShowSettingsDialog(4, groupOfBand(band));
    else
        ShowSettingsDialog(3);
}

ExpressionLists DesignerController::expressionLists() const
{
    ExpressionLists lists;
    for (int i = 0; i < m_report.ColumnCount(); ++i)
        lists.Columns << m_report.ColumnName(i);
    lists.ParameterCount = int(m_report.Parameters().size());
    for (const FunctionSettings& f : m_document->Functions())
        lists.Functions << f.Name;
    lists.ByName = m_settings.SledPodle;
    return lists;
}

ElementDialogData DesignerController::elementData(const TVoReportElement& e) const
{
    ElementDialogData d;
    d.Kind = e.Kind;
    d.Reference = e.Reference;
    d.ByName = !e.RefName.isEmpty();
    d.Font = e.Font;
    d.Alignment = e.Alignment;
    d.Left = e.Left;
    d.Top = e.Top;
    d.Width = e.Width;
    d.Height = e.Height;
    d.Roztec = e.LineHeight;
    d.Ramecek = {e.LeftLine(), e.TopLine(), e.RightLine(), e.BottomLine()};
    d.WordWrap = e.WordWrap();
    d.Justify = e.Justify();
    d.VariableHeight = e.VariableHeight();
    d.Rtf = e.RtfText();
    d.Stretch = e.Stretch();
    d.KeepAspect = e.KeepAspect();
    d.Text = e.Text;
    for (int i = 0; i < m_report.ColumnCount(); ++i) {
        d.Columns << m_report.ColumnName(i);
        d.ColumnTypes.push_back(m_report.ColumnDataType(i));
    }
    d.ParameterCount = int(m_report.Parameters().size());
    d.GroupCount = int(m_document->Settings().Groups.size());
    d.SledPodle = m_settings.SledPodle;
    d.Functions = m_document->Functions();
    return d;
}

void DesignerController::EditElement()
{
    const ElementId id = m_document->ActiveId();
    const TVoReportElement* e = m_document->State().Element(id);
    if (e && e->Kind == ekDetail) {
        EditDetail(e->Reference);
        return;
    }
    if (!e || !isTextual(e->Kind))
        return;
    if (m_document->SelectedIds().contains(id)) {
        FontDialog();
        return;
    }
    const ElementDialogData data = elementData(*e);
    if (!TDlgKonfPrvku::IsValid(data))
        return;
    const std::optional<ElementDialogData> r = m_dialogs.element(data);
    if (!r)
        return;
    // functions changed through "Funkce ..." come with the element, as one step
    const std::vector<FunctionSettings>& functions =
        r->Functions.size() == m_document->Functions().size() ? r->Functions : m_document->Functions();
    ReportModel& model = m_report.Model();
    m_document->EditElement(id, chElementSettings, functions, [&](TVoReportElement& x) {
        x.Font = r->Font;
        x.Alignment = r->Alignment & 3;
        if (x.Kind != ekParameter && r->Reference != x.Reference) {
            x.Reference = r->Reference;
            if (x.Kind == ekColumn)
                model.ColumnValueRecord(x.Reference, x.Value);
        }
        if (x.Kind == ekColumn || x.Kind == ekLabel)
            x.RefName = r->ByName ? m_report.ColumnName(x.Reference).left(TVoReportElement::MaxName) : QString();
        else if (x.Kind == ekFunction)
            x.RefName = r->ByName && x.Reference >= 0 && x.Reference < int(functions.size())
                ? functions[std::size_t(x.Reference)].Name.left(TVoReportElement::MaxName) : QString();
        if (x.Kind == ekColumn) {
            const int type = m_report.ColumnDataType(x.Reference);
            if (TDlgKonfPrvku::PageOfColumnType(type) == TDlgKonfPrvku::pgDbGraphic) {
                x.Lines = (x.Lines & ~(lnRisingOrStretch | lnFallingOrAspect)) | (r->Stretch ? lnRisingOrStretch : 0)
                    | (r->KeepAspect ? lnFallingOrAspect : 0);
            } else {
                const auto flag = [&x](int bit, bool on) { x.TextFlags = on ? (x.TextFlags | bit) : (x.TextFlags & ~bit); };
                flag(tfWordWrap, r->WordWrap);
                flag(tfJustify, r->Justify);
                flag(tfVariableHeight, r->VariableHeight);
                flag(tfRtf, r->Rtf && TDlgKonfPrvku::PageOfColumnType(type) == TDlgKonfPrvku::pgDbMemo);
            }
        }
        for (std::size_t i = 0; i < r->Ramecek.size(); ++i)
            x.Lines = r->Ramecek[i] ? (x.Lines | (1 << i)) : (x.Lines & ~(1 << i));
        x.Left = std::max(r->Left, 0);
        x.Top = std::max(r->Top, 0);
        x.Width = std::max(r->Width, minElementSide);
        x.Height = std::max(r->Height, minElementSide);
        x.LineHeight = r->Roztec;
    });
    m_document->DeselectAll();
    m_document->SetActive(id);
    refresh();
}

void DesignerController::FontDialog()
{
    const TVoReportElement* e = m_document->State().Element(m_document->ActiveId());
    if (!e)
        return;
    if (const std::optional<ReportFont> font = m_dialogs.font(e->Font); font && m_document->SetFont(*font))
        refresh();
}

// Change 9 is recorded only when the dialog closes with OK.
void DesignerController::EditFunction()
{
    const int f = functionOfTool();
    if (f < 0 || f >= int(m_document->Functions().size()))
        return;
    const std::optional<FunctionSettings> r = m_dialogs.function(m_document->Functions()[std::size_t(f)],
                                                                 expressionLists(),
                                                                 int(m_document->Settings().Groups.size()));
    ChooseArrow();
    if (r)
        m_document->EditFunction(f, *r);
    refresh();
}

void DesignerController::AddFunction()
{
    ChooseArrow();
    const std::optional<FunctionSettings> r = m_dialogs.function(FunctionSettings{}, expressionLists(),
                                                                 int(m_document->Settings().Groups.size()));
    if (r && m_document->AddFunction(*r))
        refresh();
}

void DesignerController::DeleteFunction()
{
    const int f = functionOfTool();
    if (f < 0 || f != int(m_document->Functions().size()) - 1 || !askYes(65103))
        return;
    ChooseArrow();
    m_document->DeleteLastFunction();
    refresh();
}

void DesignerController::EditorSettingsDialog()
{
    if (const std::optional<NastaveniEditoru> r = m_dialogs.editorSettings(m_settings)) {
        const int zoom = m_settings.ImplMeritko;
        m_settings = *r;
        m_settings.ImplMeritko = zoom;
        m_view.setChooser(m_settings.VybSezna && showsColumns(m_tab), -1);
    }
    m_document->SetUndoDepth(m_settings.PocetUndo);
    refresh();
}

// --- surface commands ----------------------------------------------------------------------

void DesignerController::Dispatch(int command, int argument, int& result)
{
    const auto id = ElementId(std::max(argument, 0));
    switch (command) {
    case scShowPosition: showPosition(argument, result); break;
    case scShowSize: showSize(argument, result); break;
    case scPressArrow: pressArrow(); break;
    case scSelectOnly: selectOnly(id); break;
    case scActiveElement: result = int(m_document->ActiveId()); break;
    case scRemoveFromSelection: removeFromSelection(id); break;
    case scAddToSelection: addToSelection(id); break;
    case scMoveSelected: {
        std::vector<ElementRect> rects;
        for (const ElementId other : m_document->SelectedIds()) {
            const TVoReportElement* e = m_document->State().Element(other);
            if (other == m_document->ActiveId() || !e)
                continue;
            const QRect r = followDrag(QRect(e->Left, e->Top, e->Width, e->Height), QPoint(argument, result));
            rects.push_back({other, r.left(), r.top(), r.width(), r.height()});
        }
        if (m_document->MoveElements(rects))
            refresh();
        break;
    }
    case scBandDoubleClick: bandDoubleClicked(argument); break;
    case scElementDoubleClick: elementDoubleClicked(id); break;
    case scShowCoordinates: showCoordinates(argument, result); break;
    case scBandHeight: bandHeightChanged(argument, result); break;
    case scActiveTool: result = activeTool(); break;
    case scSelectedCount:
        result = m_document->ActiveId() == NoElement
            ? 0 : std::max<int>(1, int(m_document->SelectedIds().size()));
        break;
    case scSave:
        // a variant's designer saves: its template first becomes the variant's D lines
        if (m_editedDetail >= 0)
            takeDetail(m_editedDetail);
        result = Save() ? 0 : 5;
        break;
    default:
        if (command >= scBandClick && command <= scLastBandClick)
            bandClicked(command - scBandClick, argument, result);
        // every edit records its own step: command 10 and unknown commands change nothing
        break;
    }
}

void DesignerController::showPosition(int left, int top) { m_view.showPosition(left, top); }
void DesignerController::showSize(int width, int height) { m_view.showSize(width, height); }
void DesignerController::pressArrow() { ChooseArrow(); }
void DesignerController::selectOnly(ElementId id) { SetActiveElement(id); }

void DesignerController::removeFromSelection(ElementId id)
{
    m_document->RemoveFromSelection(id);
    buildSurface();
    m_view.enableElementControls(false);
}

void DesignerController::addToSelection(ElementId id)
{
    m_document->AddToSelection(id);
    buildSurface();
    showProperties();
    m_view.setStackingEnabled(false);
}

// The others of a multi-drag move by the delta the dragged element got, none below 0.
void DesignerController::elementsDragged(const std::vector<ElementMove>& moves)
{
    if (moves.empty())
        return;
    const DocumentState& state = m_document->State();
    const TVoReportElement* dragged = state.Element(moves.front().id);
    if (!dragged)
        return;
    QRect first = moves.front().rect;
    first.moveTo(std::max(first.left(), 0), std::max(first.top(), 0));
    const QPoint delta = first.topLeft() - QPoint(dragged->Left, dragged->Top);
    std::vector<ElementRect> rects{{moves.front().id, first.left(), first.top(), first.width(), first.height()}};
    for (std::size_t i = 1; i < moves.size(); ++i) {
        const TVoReportElement* e = state.Element(moves[i].id);
        if (!e)
            continue;
        const QRect r = followDrag(QRect(e->Left, e->Top, e->Width, e->Height), delta);
        rects.push_back({moves[i].id, r.left(), r.top(), r.width(), r.height()});
    }
    m_document->MoveElements(rects);
    refresh();
}

void DesignerController::bandDoubleClicked(int band) { EditGroupSettings(band); }

void DesignerController::elementDoubleClicked(ElementId id)
{
    if (m_document->ActiveId() != id)
        SetActiveElement(id);
    EditElement();
}

void DesignerController::showCoordinates(int x, int y) { m_view.showCoordinates(x, y); }

void DesignerController::bandHeightChanged(int band, int height)
{
    if (m_document->SetBandHeight(band, std::max(height, minBandHeight)))
        refresh();
}

int DesignerController::activeTool() const
{
    return m_pasteMode ? -1 : m_tool;
}

void DesignerController::bandClicked(int band, int x, int y) { InsertElement(band, x, y); }

// --- operand requests ------------------------------------------------------------------------

void DesignerController::MessageValueRequest(OperandMessage& message)
{
    try {
        const int code = message.WParam;
        if (code == OperandMessage::NoRequest) {
            message.Result = -1;
        } else if (code == OperandMessage::ColumnIndex) {
            message.Result = -1;
            for (int i = 0; message.Name && i < m_report.ColumnCount(); ++i) {
                if (m_report.ColumnName(i).compare(*message.Name, Qt::CaseInsensitive) == 0) {
                    message.Result = i;
                    break;
                }
            }
        } else if (code == OperandMessage::FunctionIndex) {
            message.Result = -1;
            const auto& functions = m_document->Functions();
            for (std::size_t i = 0; message.Name && i < functions.size(); ++i) {
                if (functions[i].Name.compare(*message.Name, Qt::CaseInsensitive) == 0) {
                    message.Result = int(i);
                    break;
                }
            }
        } else if (message.Value && code >= OperandMessage::Parameter && code < OperandMessage::Parameter + maxParameterRequest) {
            const int i = code - OperandMessage::Parameter;
            const QStringList parameters = m_report.Parameters();
            if (i < parameters.size()) {
                message.Value->Number = parameterNumber(parameters[i]);
                message.Value->SetText(parameters[i]);
            }
        } else if (message.Value && code >= OperandMessage::Column && code < OperandMessage::Column + maxParameterRequest) {
            const int i = code - OperandMessage::Column;
            if (i < m_report.ColumnCount()) {
                message.Value->Number = m_report.ColumnValue(i);
                message.Value->SetText(m_report.ColumnText(i));
            }
        } else if (message.Value && code >= OperandMessage::Function && code < OperandMessage::Function + maxParameterRequest) {
            syncFunctions();
            if (const TRadekFunkce* f = m_functions.FunctionAt(code - OperandMessage::Function))
                *message.Value = f->Hodnota;
        }
    } catch (...) {
        if (message.Value) {
            message.Value->Number = 0;
            message.Value->Text.clear();
        }
    }
}

// --- data and output ---------------------------------------------------------------------------

// Without a step (-1) the data go to the first record, unless the report prints only its
// current one. The row counters count every step, whatever its direction.
void DesignerController::StepData(int step)
{
    int flags = 0;
    if (step >= sdFirst && step <= sdLast)
        flags = m_report.StepData(step);
    else if (!m_report.PrintsCurrentRecordOnly())
        flags = m_report.StepData(sdFirst);
    m_view.setDataFlags(flags);
    refreshValues();
}

void DesignerController::refreshValues()
{
    const DocumentState& state = m_document->State();
    for (int b = 0; b < state.BandCount(); ++b) {
        for (const DocumentElement& e : state.Band(b)) {
            const int reference = e.Element->Reference;
            if (e.Element->Kind == ekVariable
                && (reference == varRecordNumber || (reference >= 5 && (reference - 5) % 2 == 0)))
                ++m_counters[e.Id];
        }
    }
    syncFunctions();
    m_functions.CalculateAll();
    ++m_record;
    buildSurface();
}

// The report's own template comes back after the run, whatever the run did; the data stay
// where the run left them.
void DesignerController::Preview()
{
    const QStringList kept = m_report.Predloha();
    m_report.SetPredloha(m_document->Write());
    const int percent = int(std::lround(100.0 * ZoomSteps[std::size_t(m_zoomStep)]));
    const int result = m_report.Preview(m_view.placement(), percent);
    m_report.SetPredloha(kept);
    m_view.setDataFlags(m_report.DataFlags());
    if (result == 1)
        RequestClose();
}

void DesignerController::Print()
{
    const QStringList kept = m_report.Predloha();
    m_report.SetPredloha(m_document->Write());
    m_report.Print();
    m_report.SetPredloha(kept);
}

} // namespace reports::designer
