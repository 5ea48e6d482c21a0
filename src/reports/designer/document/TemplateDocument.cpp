// The designed template: transfer, undo, selection and the edits, each yielding a new state.
#include "reports/designer/document/TemplateDocument.h"

#include "reports/engine/ReportRun.h"
#include "reports/model/ReportModel.h"
#include "reports/model/ReportTables.h"
#include "reports/model/ReportTexts.h"
#include "reports/model/TemplateFields.h"

#include "platform/text/Case.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace reports::designer {
namespace {

constexpr int minimumSize = 3;       // keyboard moves keep elements at least this wide and high
constexpr int maxFunctions = tcDetail - tcFunction;
const QString storeTag = QStringLiteral("X");

bool isTextual(int kind) { return kind >= ekText && kind <= ekFunction; }
bool isShape(int kind) { return kind >= ekRectangle && kind <= ekEllipse; }

bool inScope(int kind, PropertyScope scope)
{
    switch (scope) {
    case PropertyScope::Line: return kind == ekLine;
    case PropertyScope::Text: return isTextual(kind);
    case PropertyScope::Shape: return isShape(kind);
    case PropertyScope::Active: return true;
    }
    return false;
}

// Keyboard limits: a position inside [0, extent - size], as the surface's moves keep it;
// an element larger than its band stays at 0.
int limitPosition(int position, int size, int extent)
{
    position = std::max(position, 0);
    return (long long)position + size > extent ? ReportRun::bounded(std::max<long long>((long long)extent - size, 0)) : position;
}

int limitSize(int position, int size, int extent)
{
    size = std::max(size, minimumSize);
    return (long long)position + size > extent ? ReportRun::bounded((long long)extent - position) : size;
}

// Positions, sizes and heights of a hostile template are held within the bounds a run holds
// them to, so that the designer's sums of them stay within int.
void boundGeometry(TVoReportElement& e)
{
    for (int* value : {&e.Left, &e.Top, &e.Width, &e.Height})
        *value = ReportRun::bounded(*value);
}

void boundSettings(TemplateSettings& s)
{
    PageSettings& page = s.Page;
    for (int* value : {&page.PaperFormatWidth, &page.PaperFormatHeight, &page.LeftMargin, &page.RightMargin,
                       &page.TopMargin, &page.BottomMargin, &s.ColumnGap})
        *value = ReportRun::bounded(*value);
    for (SectionSettings& section : s.Sections)
        section.Height = ReportRun::bounded(section.Height);
    for (GroupSettings& group : s.Groups) {
        group.StartHeight = ReportRun::bounded(group.StartHeight);
        group.EndHeight = ReportRun::bounded(group.EndHeight);
    }
}

int roundToInt(double value)
{
    return int(std::clamp(std::nearbyint(value), -1e9, 1e9));
}

std::shared_ptr<const BandElements> emptyBand()
{
    return std::make_shared<const BandElements>();
}

} // namespace

QString changeCaption(int code)
{
    if (code >= chInsert && code <= chMove)
        return reportText(65080 + code);
    if (code >= chAlignment && code <= chDetail)
        return reportText(65048 + code);
    return {};
}

TemplateDocument::TemplateDocument(ReportModel& report)
    : m_report(report)
{
    Load({});
}

// --- transfer ------------------------------------------------------------------------------

void TemplateDocument::Load(const QStringList& lines)
{
    const bool skipsHeadFoot = m_report.IsDetailVariant();
    TemplateSettings settings = m_report.CurrentSettings();
    settings.Groups.clear();
    settings.Version = {4, 0, 0};
    auto functions = std::make_shared<std::vector<FunctionSettings>>();
    for (const QString& line : lines) {
        if (IsRecordLine(line, QLatin1Char('I')))
            ReadSettingsLine(line, settings, !skipsHeadFoot);
        else if (IsRecordLine(line, QLatin1Char('F')))
            functions->push_back(ReadFunctionLine(line));
    }
    boundSettings(settings);
    DocumentState state;
    state.Settings = std::make_shared<const TemplateSettings>(settings);
    state.Functions = std::move(functions);
    const int groups = int(settings.Groups.size());
    std::vector<BandElements> bands(std::size_t(groupStartBand(groups)));
    auto kept = std::make_shared<QStringList>();
    for (const QString& line : lines) {
        const int band = BandOfTag(LineTag(line), groups, skipsHeadFoot);
        if (band >= 0)
            bands[std::size_t(band)].push_back({++m_lastId, elementFromLine(line, state)});
        else if (IsKeptLine(line, groups, skipsHeadFoot))
            kept->append(line);
    }
    for (BandElements& band : bands)
        state.Bands.push_back(std::make_shared<const BandElements>(std::move(band)));
    state.KeptLines = std::move(kept);
    m_variants.KeepCurrentOnly();
    m_variants.ReplaceCurrent(std::move(state));
    DeselectAll();
    m_modified = false;
}

QStringList TemplateDocument::Write() const
{
    return Write(State());
}

QStringList TemplateDocument::Write(const DocumentState& state) const
{
    QStringList out;
    WriteSettingsLines(*state.Settings, out);
    for (std::size_t i = 0; i < state.Functions->size(); ++i)
        out << FunctionLine(int(i), (*state.Functions)[i]);
    for (int band = 0; band < state.BandCount(); ++band) {
        const QString tag = BandTag(band);
        for (const DocumentElement& e : state.Band(band)) {
            const QString line = e.Element->FormatElementLine(tag);
            if (!line.isEmpty())
                out << line;
        }
    }
    out << *state.KeptLines;
    return out;
}

ElementLineContext TemplateDocument::lineContext(const DocumentState& state) const
{
    return {state.Settings->Version, [functions = state.Functions](const QString& name) {
                for (std::size_t i = 0; i < functions->size(); ++i) {
                    if (txt::sameTextAscii((*functions)[i].Name, name))
                        return int(i);
                }
                return -1;
            }};
}

std::shared_ptr<TVoReportElement> TemplateDocument::elementFromLine(const QString& line,
                                                                    const DocumentState& state) const
{
    auto element = std::make_shared<TVoReportElement>(&m_report);
    element->LoadFromLine(line, lineContext(state));
    boundGeometry(*element);
    if (element->Kind == ekColumn)
        m_report.ColumnValueRecord(element->Reference, element->Value);
    return element;
}

int TemplateDocument::PaperWidth() const
{
    const PageSettings& page = Settings().Page;
    const int64_t paper = page.Orientation == 1 ? page.PaperFormatHeight : page.PaperFormatWidth;
    return int(std::clamp<int64_t>(paper - page.LeftMargin - page.RightMargin, 0, ReportRun::maxCoordinate));
}

int TemplateDocument::BandHeight(int band) const
{
    const TemplateSettings& s = Settings();
    if (band >= 0 && band < biFirstGroup)
        return s.Sections[std::size_t(band)].Height;
    const int group = groupOfBand(band);
    if (group < 0 || group >= int(s.Groups.size()))
        return 0;
    const GroupSettings& g = s.Groups[std::size_t(group)];
    return band == groupStartBand(group) ? g.StartHeight : g.EndHeight;
}

// With the character raster on, the steps of its pitch and line spacing; else the cell size.
double TemplateDocument::RasterStepX() const
{
    const CharacterRaster& r = Settings().Raster;
    if (!r.On)
        return r.CellWidth;
    return r.Pitch == 1 ? 8.333333 : (r.Pitch == 2 ? 5.882353 : 10.0);
}

double TemplateDocument::RasterStepY() const
{
    const CharacterRaster& r = Settings().Raster;
    if (!r.On)
        return r.CellHeight;
    return r.LineSpacing == 1 ? 25.0 : (r.LineSpacing == 2 ? 33.333332 : 16.666666);
}

// --- undo ----------------------------------------------------------------------------------

bool TemplateDocument::Undo()
{
    if (!m_variants.StepBack())
        return false;
    m_modified = true;
    DeselectAll();
    return true;
}

bool TemplateDocument::Redo()
{
    if (!m_variants.StepForward())
        return false;
    m_modified = true;
    DeselectAll();
    return true;
}

// A merge key joins the change code, the caller's key and the elements changed, so that only
// repeated changes of one box on the same elements merge into one step.
void TemplateDocument::record(int code, DocumentState next, const QString& mergeKey,
                              const std::vector<ElementId>& ids)
{
    QString key;
    if (!mergeKey.isEmpty()) {
        std::vector<ElementId> sorted = ids;
        std::sort(sorted.begin(), sorted.end());
        key = QString::number(code) + QLatin1Char('|') + mergeKey;
        for (const ElementId id : sorted)
            key += QLatin1Char(',') + QString::number(id);
    }
    if (key.isEmpty() || !m_variants.Merge(key, next))
        m_variants.Push(changeCaption(code), std::move(next), key);
    m_modified = true;
    pruneSelection();
}

// --- selection -----------------------------------------------------------------------------

void TemplateDocument::pruneSelection()
{
    const DocumentState& state = State();
    if (m_active != NoElement && !state.Find(m_active).isValid())
        m_active = NoElement;
    std::erase_if(m_selected, [&state](ElementId id) { return !state.Find(id).isValid(); });
    if (m_selected.size() < 2)
        m_selected.clear();
}

void TemplateDocument::SetActive(ElementId id)
{
    if (id == m_active)
        return;
    if (m_selected.size() >= 2 && !m_selected.contains(id))
        m_selected.clear();
    m_active = State().Find(id).isValid() ? id : NoElement;
}

void TemplateDocument::AddToSelection(ElementId id)
{
    if (id == m_active || !State().Find(id).isValid())
        return;
    if (m_active == NoElement) {
        m_active = id;
        return;
    }
    m_selected.insert(m_active);
    m_selected.insert(id);
}

void TemplateDocument::RemoveFromSelection(ElementId id)
{
    if (id != m_active && !m_selected.contains(id))
        return;
    if (id == m_active)
        m_active = NoElement;
    m_selected.erase(id);
    if (m_active == NoElement && !m_selected.empty())
        m_active = *m_selected.begin();
    if (m_selected.size() < 2)
        m_selected.clear();
}

void TemplateDocument::DeselectAll()
{
    m_active = NoElement;
    m_selected.clear();
}

std::vector<ElementId> TemplateDocument::activeAndSelected() const
{
    if (m_active == NoElement)
        return {};
    if (m_selected.contains(m_active))
        return {m_selected.begin(), m_selected.end()};
    return {m_active};
}

std::vector<ElementId> TemplateDocument::targets(PropertyScope scope) const
{
    std::vector<ElementId> ids = scope == PropertyScope::Active ? std::vector<ElementId>{} : activeAndSelected();
    if (scope == PropertyScope::Active && m_active != NoElement)
        ids.push_back(m_active);
    std::erase_if(ids, [this, scope](ElementId id) {
        const TVoReportElement* e = State().Element(id);
        return !e || !inScope(e->Kind, scope);
    });
    return ids;
}

// --- element edits -------------------------------------------------------------------------

// Copies each element of the ids, edits the copy and keeps it when its line changed; only the
// bands holding a changed element are copied, the others stay shared with the old state.
std::vector<ElementId> TemplateDocument::editElements(DocumentState& next, const std::vector<ElementId>& ids,
                                                      const ElementEdit& edit)
{
    const std::set<ElementId> wanted(ids.begin(), ids.end());
    std::vector<ElementId> changed;
    for (int b = 0; b < next.BandCount(); ++b) {
        std::shared_ptr<BandElements> copy;
        const BandElements& band = next.Band(b);
        for (std::size_t i = 0; i < band.size(); ++i) {
            if (!wanted.contains(band[i].Id))
                continue;
            auto element = std::make_shared<TVoReportElement>(*band[i].Element);
            edit(*element, band[i].Id, b);
            if (element->FormatElementLine(storeTag) == band[i].Element->FormatElementLine(storeTag))
                continue;
            if (!copy)
                copy = std::make_shared<BandElements>(band);
            changed.push_back(band[i].Id);
            (*copy)[i].Element = std::move(element);
        }
        if (copy)
            next.Bands[std::size_t(b)] = std::move(copy);
    }
    return changed;
}

bool TemplateDocument::modifyElements(const std::vector<ElementId>& ids, int code, const QString& mergeKey,
                                      const ElementEdit& edit)
{
    DocumentState next = State();
    if (editElements(next, ids, edit).empty())
        return false;
    record(code, std::move(next), mergeKey, ids);
    return true;
}

ElementId TemplateDocument::InsertFromTool(int band, int x, int y, int toolCode, const InsertDefaults& d,
                                           const ColumnInfo& column)
{
    const ToolElement tool = toolElement(toolCode);
    if (tool.kind == 0 || band < 0 || band >= State().BandCount())
        return NoElement;
    const int k = tool.kind;
    int width = d.Width;
    int alignment = d.Alignment;
    if (k == ekColumn || k == ekLabel) {
        const int64_t wide = int64_t(column.DisplayWidth) * 3 * d.FontSize / 4;
        width = int(std::max<int64_t>(std::min<int64_t>(wide, PaperWidth() / 2), minimumSize));
        alignment = column.Alignment & ~128;
    } else if (k == ekDetail) {
        width = PaperWidth();
        x = 0;
        alignment = 0;
    }
    QString reference = QString::number(tool.reference);
    if (d.FollowByName && (k == ekColumn || k == ekLabel))
        reference = m_report.ColumnName(tool.reference);
    else if (d.FollowByName && k == ekFunction && tool.reference < int(Functions().size()))
        reference = Functions()[std::size_t(tool.reference)].Name;
    int size = d.FontSize, style = d.FontStyle, script = d.FontScript, value = 0;
    if (k >= ekLine && k <= ekEllipse) {
        size = 1;      // the pen width
        value = 15;    // white brush
        style = 0;
        script = 0;
    }
    if (k == ekPicture)
        alignment = 0;
    // inside the band's area, clear of the caption strip below it
    x = limitPosition(x, width, PaperWidth());
    y = limitPosition(y, d.Height, BandHeight(band));
    const QString line = QString(sectionLetter(band)) + QLatin1Char(',') + QString::number(k) + QLatin1Char(',')
        + BareField(reference) + QLatin1Char(',') + JoinInts({x, y, width, d.Height}) + QLatin1Char(',')
        + BareField(d.FontName) + QLatin1Char(',') + JoinInts({size, d.FontColor, style, alignment, value, script});
    DocumentState next = State();
    auto elements = std::make_shared<BandElements>(next.Band(band));
    const ElementId id = ++m_lastId;
    elements->push_back({id, elementFromLine(line, next)});
    next.Bands[std::size_t(band)] = std::move(elements);
    DeselectAll();
    record(chInsert, std::move(next), {}, {id});
    m_active = id;
    return id;
}

bool TemplateDocument::DeleteSelection()
{
    return DeleteElements(activeAndSelected());
}

bool TemplateDocument::DeleteElements(const std::vector<ElementId>& ids)
{
    const std::set<ElementId> doomed(ids.begin(), ids.end());
    DocumentState next = State();
    bool changed = false;
    for (int b = 0; b < next.BandCount(); ++b) {
        const BandElements& band = next.Band(b);
        if (std::none_of(band.begin(), band.end(), [&doomed](const DocumentElement& e) { return doomed.contains(e.Id); }))
            continue;
        auto kept = std::make_shared<BandElements>();
        std::copy_if(band.begin(), band.end(), std::back_inserter(*kept),
                     [&doomed](const DocumentElement& e) { return !doomed.contains(e.Id); });
        next.Bands[std::size_t(b)] = std::move(kept);
        changed = true;
    }
    if (!changed)
        return false;
    DeselectAll();
    record(chDelete, std::move(next), {}, ids);
    return true;
}

bool TemplateDocument::MoveElements(const std::vector<ElementRect>& rects, const QString& mergeKey)
{
    std::vector<ElementId> ids;
    for (const ElementRect& r : rects)
        ids.push_back(r.Id);
    return modifyElements(ids, chMove, mergeKey, [&rects](TVoReportElement& e, ElementId id, int) {
        const auto r = std::find_if(rects.begin(), rects.end(), [id](const ElementRect& x) { return x.Id == id; });
        e.Left = r->Left;
        e.Top = r->Top;
        e.Width = r->Width;
        e.Height = r->Height;
        boundGeometry(e);
    });
}

bool TemplateDocument::SetGeometry(GeometryField field, int value, const QString& mergeKey)
{
    const int paper = PaperWidth();
    return modifyElements(activeAndSelected(), chMove, mergeKey,
                          [this, field, value, paper](TVoReportElement& e, ElementId, int band) {
        const int height = BandHeight(band);
        switch (field) {
        case GeometryField::Left: e.Left = limitPosition(value, e.Width, paper); break;
        case GeometryField::Top: e.Top = limitPosition(value, e.Height, height); break;
        case GeometryField::Width: e.Width = limitSize(e.Left, value, paper); break;
        case GeometryField::Height: e.Height = limitSize(e.Top, value, height); break;
        }
    });
}

bool TemplateDocument::MoveByKeyboard(double dx, double dy, const QString& mergeKey)
{
    const int paper = PaperWidth();
    return modifyElements(activeAndSelected(), chMove, mergeKey,
                          [this, dx, dy, paper](TVoReportElement& e, ElementId, int band) {
        e.Left = limitPosition(roundToInt(float(e.Left) + float(dx)), e.Width, paper);
        e.Top = limitPosition(roundToInt(float(e.Top) + float(dy)), e.Height, BandHeight(band));
    });
}

bool TemplateDocument::ResizeByKeyboard(int dw, int dh, const QString& mergeKey)
{
    const int paper = PaperWidth();
    return modifyElements(activeAndSelected(), chMove, mergeKey,
                          [this, dw, dh, paper](TVoReportElement& e, ElementId, int band) {
        e.Width = limitSize(e.Left, int(std::clamp<int64_t>(int64_t(e.Width) + dw, -1e9, 1e9)), paper);
        e.Height = limitSize(e.Top, int(std::clamp<int64_t>(int64_t(e.Height) + dh, -1e9, 1e9)), BandHeight(band));
    });
}

bool TemplateDocument::SnapToRaster(bool selectedOnly)
{
    const double sx = RasterStepX();
    const double sy = RasterStepY();
    const std::vector<ElementId> ids = selectedOnly ? activeAndSelected() : State().Ids();
    return modifyElements(ids, chMove, {}, [sx, sy](TVoReportElement& e, ElementId, int) {
        const int left = RoundToRaster(e.Left, sx);
        const int top = RoundToRaster(e.Top, sy);
        e.Width = RoundToRaster(double(e.Left) + e.Width, sx) - left;
        e.Height = RoundToRaster(double(e.Top) + e.Height, sy) - top;
        e.Left = left;
        e.Top = top;
    });
}

bool TemplateDocument::SetProperty(PropertyScope scope, ElementProperty property, int value, const QString& mergeKey)
{
    const int code = property == ElementProperty::Alignment ? chAlignment : chElementSettings;
    return modifyElements(targets(scope), code, mergeKey, [property, value](TVoReportElement& e, ElementId, int) {
        switch (property) {
        case ElementProperty::PenColor: e.PenColor = ColorByIndex(value); break;
        case ElementProperty::PenStyle: e.SetPenStyle(value); break;
        case ElementProperty::PenWidth: e.SetPenWidth(value); break;
        case ElementProperty::FillColor: e.BrushColor = ColorByIndex(value); break;
        case ElementProperty::FillStyle: e.BrushStyle = value; break;
        case ElementProperty::Alignment: e.Alignment = value & 3; break;
        }
    });
}

bool TemplateDocument::SetLines(PropertyScope scope, int bits, bool on)
{
    return modifyElements(targets(scope), chElementSettings, {}, [bits, on](TVoReportElement& e, ElementId, int) {
        e.Lines = on ? (e.Lines | bits) : (e.Lines & ~bits);
    });
}

bool TemplateDocument::SetTextFlags(int bits, bool on)
{
    return modifyElements(targets(PropertyScope::Active), chElementSettings, {},
                          [bits, on](TVoReportElement& e, ElementId, int) {
        e.TextFlags = on ? (e.TextFlags | (bits & ~7)) : (e.TextFlags & ~bits);
    });
}

bool TemplateDocument::SetText(const QString& text, const QString& mergeKey)
{
    const TVoReportElement* active = State().Element(m_active);
    if (!active || active->Kind == ekColumn || active->Kind == ekLabel || active->Kind == ekParameter
        || active->Kind == ekFunction)
        return false;
    return modifyElements({m_active}, chText, mergeKey, [&text](TVoReportElement& e, ElementId, int) {
        e.Text = text.left(TVoReportElement::MaxText);
        if (e.Kind == ekPicture)
            e.SetPictureFile(e.Text);
    });
}

bool TemplateDocument::SetFont(const ReportFont& font)
{
    return modifyElements(targets(PropertyScope::Text), chFont, {},
                          [&font](TVoReportElement& e, ElementId, int) { e.Font = font; });
}

bool TemplateDocument::SetPictureFile(const QString& files)
{
    const TVoReportElement* active = State().Element(m_active);
    if (!active || active->Kind != ekPicture)
        return false;
    return modifyElements({m_active}, chElementSettings, {}, [&files](TVoReportElement& e, ElementId, int) {
        e.Text = files.left(TVoReportElement::MaxText);
        e.SetPictureFile(e.Text);
    });
}

bool TemplateDocument::Restack(bool toFront)
{
    const ElementPlace place = State().Find(m_active);
    if (!place.isValid())
        return false;
    const BandElements& band = State().Band(place.Band);
    const std::size_t target = toFront ? band.size() - 1 : 0;
    if (std::size_t(place.Position) == target)
        return false;
    auto elements = std::make_shared<BandElements>(band);
    const auto from = elements->begin() + place.Position;
    if (toFront)
        std::rotate(from, from + 1, elements->end());
    else
        std::rotate(elements->begin(), from, from + 1);
    DocumentState next = State();
    next.Bands[std::size_t(place.Band)] = std::move(elements);
    record(chElementSettings, std::move(next), {}, {m_active});
    return true;
}

// --- bands, groups, settings and functions -------------------------------------------------

DocumentState TemplateDocument::withSettings(const TemplateSettings& settings) const
{
    DocumentState next = State();
    TemplateSettings bounded = settings;
    boundSettings(bounded);
    next.Settings = std::make_shared<const TemplateSettings>(std::move(bounded));
    return next;
}

bool TemplateDocument::SetBandHeight(int band, int height, const QString& mergeKey)
{
    if (band < 0 || band >= State().BandCount() || BandHeight(band) == height)
        return false;
    TemplateSettings s = Settings();
    if (band < biFirstGroup) {
        s.Sections[std::size_t(band)].Height = height;
    } else {
        GroupSettings& g = s.Groups[std::size_t(groupOfBand(band))];
        (band == groupStartBand(groupOfBand(band)) ? g.StartHeight : g.EndHeight) = height;
    }
    record(chBandHeight, withSettings(s), mergeKey.isEmpty() ? QString() : mergeKey + QString::number(band), {});
    return true;
}

bool TemplateDocument::AddGroup(const GroupSettings& group)
{
    if (Settings().Groups.size() >= std::size_t(TemplateSettings::MaxGroups))
        return false;
    TemplateSettings s = Settings();
    s.Groups.push_back(group);
    DocumentState next = withSettings(s);
    next.Bands.push_back(emptyBand());
    next.Bands.push_back(emptyBand());
    record(chSettings, std::move(next), {}, {});
    return true;
}

bool TemplateDocument::RemoveGroup(int position)
{
    if (position < 0 || position >= int(Settings().Groups.size()))
        return false;
    TemplateSettings s = Settings();
    s.Groups.erase(s.Groups.begin() + position);
    DocumentState next = withSettings(s);
    const auto start = next.Bands.begin() + groupStartBand(position);
    next.Bands.erase(start, start + 2);
    record(chSettings, std::move(next), {}, {});
    return true;
}

// The group bands follow their groups to their new positions; a source used twice or out of
// range gives empty bands, so no element is ever held twice.
bool TemplateDocument::ApplySettings(const SettingsChange& change)
{
    TemplateSettings s = change.Settings;
    s.Version = Settings().Version;
    s.DesignerSetting = Settings().DesignerSetting;
    if (s.Groups.size() > std::size_t(TemplateSettings::MaxGroups))
        s.Groups.resize(std::size_t(TemplateSettings::MaxGroups));
    DocumentState next = withSettings(s);
    next.Bands.resize(biFirstGroup);
    std::set<int> used;
    const int oldGroups = int(Settings().Groups.size());
    for (std::size_t i = 0; i < s.Groups.size(); ++i) {
        const int source = i < change.GroupSources.size() ? change.GroupSources[i] : -1;
        const bool reuse = source >= 0 && source < oldGroups && used.insert(source).second;
        next.Bands.push_back(reuse ? State().Bands[std::size_t(groupStartBand(source))] : emptyBand());
        next.Bands.push_back(reuse ? State().Bands[std::size_t(groupEndBand(source))] : emptyBand());
    }
    if (s == Settings() && next.Bands == State().Bands)
        return false;
    record(chSettings, std::move(next), {}, {});
    return true;
}

bool TemplateDocument::AddFunction(const FunctionSettings& function)
{
    if (int(Functions().size()) >= maxFunctions)
        return false;
    auto functions = std::make_shared<std::vector<FunctionSettings>>(Functions());
    functions->push_back(function);
    DocumentState next = State();
    next.Functions = std::move(functions);
    record(chFunctionAdd, std::move(next), {}, {});
    return true;
}

// Each element's name is looked up among the functions as they were, so that two names
// swapped in one change do not both land on one.
void TemplateDocument::renameBoundElements(DocumentState& next, const std::vector<FunctionSettings>& before)
{
    const std::vector<FunctionSettings>& after = *next.Functions;
    for (int b = 0; b < next.BandCount(); ++b) {
        std::shared_ptr<BandElements> copy;
        for (std::size_t i = 0; i < next.Band(b).size(); ++i) {
            const TVoReportElement& e = *next.Band(b)[i].Element;
            if (e.Kind != ekFunction || e.RefName.isEmpty())
                continue;
            const auto old = std::find_if(before.begin(), before.end(), [&e](const FunctionSettings& f) {
                return txt::sameTextAscii(e.RefName, f.Name);
            });
            const std::size_t index = std::size_t(old - before.begin());
            if (old == before.end() || index >= after.size() || old->Name == after[index].Name
                || e.RefName == after[index].Name)
                continue;
            if (!copy)
                copy = std::make_shared<BandElements>(next.Band(b));
            auto renamed = std::make_shared<TVoReportElement>(e);
            renamed->RefName = after[index].Name.left(TVoReportElement::MaxName);
            (*copy)[i].Element = std::move(renamed);
        }
        if (copy)
            next.Bands[std::size_t(b)] = std::move(copy);
    }
}

bool TemplateDocument::EditFunction(int index, const FunctionSettings& function)
{
    if (index < 0 || index >= int(Functions().size()) || Functions()[std::size_t(index)] == function)
        return false;
    auto functions = std::make_shared<std::vector<FunctionSettings>>(Functions());
    (*functions)[std::size_t(index)] = function;
    DocumentState next = State();
    next.Functions = std::move(functions);
    renameBoundElements(next, Functions());
    record(chFunctionEdit, std::move(next), {}, {});
    return true;
}

bool TemplateDocument::DeleteLastFunction()
{
    if (Functions().empty())
        return false;
    auto functions = std::make_shared<std::vector<FunctionSettings>>(Functions());
    functions->pop_back();
    DocumentState next = State();
    next.Functions = std::move(functions);
    record(chFunctionDelete, std::move(next), {}, {});
    return true;
}

bool TemplateDocument::EditElement(ElementId id, int code, const std::function<void(TVoReportElement&)>& edit)
{
    return modifyElements({id}, code, {}, [&edit](TVoReportElement& e, ElementId, int) { edit(e); });
}

bool TemplateDocument::EditElement(ElementId id, int code, const std::vector<FunctionSettings>& functions,
                                   const std::function<void(TVoReportElement&)>& edit)
{
    DocumentState next = State();
    const bool takesFunctions = functions.size() == Functions().size() && functions != Functions();
    if (takesFunctions) {
        next.Functions = std::make_shared<const std::vector<FunctionSettings>>(functions);
        renameBoundElements(next, Functions());
    }
    const bool edited = !editElements(next, {id}, [&edit](TVoReportElement& e, ElementId, int) { edit(e); }).empty();
    if (!edited && !takesFunctions)
        return false;
    record(code, std::move(next), {}, {id});
    return true;
}

bool TemplateDocument::ReplaceDetailLines(int variant, const QStringList& lines)
{
    if (variant < 0)
        return false;
    const QString tag = QLatin1Char('D') + QString::number(variant);
    auto kept = std::make_shared<QStringList>();
    qsizetype at = -1;
    for (const QString& line : *State().KeptLines) {
        if (LineTag(line) != tag)
            kept->append(line);
        else if (at < 0)
            at = kept->size();
    }
    if (at < 0)
        at = kept->size();
    for (const QString& line : lines)
        kept->insert(at++, tag + QLatin1Char(',') + line);
    if (*kept == *State().KeptLines)
        return false;
    DocumentState next = State();
    next.KeptLines = std::move(kept);
    record(chDetail, std::move(next), {}, {});
    return true;
}

// --- store ---------------------------------------------------------------------------------

bool TemplateDocument::Copy()
{
    const ElementPlace place = State().Find(m_active);
    if (!place.isValid())
        return false;
    const TVoReportElement& active = *State().Element(m_active);
    m_store = {{}, active.Left, active.Top, -1};
    for (const DocumentElement& e : State().Band(place.Band)) {
        if (e.Id != m_active && !m_selected.contains(e.Id))
            continue;
        const QString line = e.Element->FormatElementLine(storeTag);
        if (line.isEmpty())
            continue;
        if (e.Id == m_active)
            m_store.AnchorIndex = int(m_store.Lines.size());
        m_store.Lines << line;
    }
    return true;
}

bool TemplateDocument::Cut()
{
    const ElementPlace place = State().Find(m_active);
    if (!Copy())
        return false;
    std::vector<ElementId> ids;
    for (const DocumentElement& e : State().Band(place.Band)) {
        if (e.Id == m_active || m_selected.contains(e.Id))
            ids.push_back(e.Id);
    }
    DocumentState next = State();
    auto kept = std::make_shared<BandElements>();
    std::copy_if(next.Band(place.Band).begin(), next.Band(place.Band).end(), std::back_inserter(*kept),
                 [&ids](const DocumentElement& e) { return std::find(ids.begin(), ids.end(), e.Id) == ids.end(); });
    next.Bands[std::size_t(place.Band)] = std::move(kept);
    DeselectAll();
    record(chCut, std::move(next), {}, ids);
    return true;
}

std::vector<ElementId> TemplateDocument::Paste(int band, int x, int y)
{
    if (m_store.Lines.isEmpty() || band < 0 || band >= State().BandCount())
        return {};
    DocumentState next = State();
    std::vector<std::shared_ptr<TVoReportElement>> made;
    int minLeft = std::numeric_limits<int>::max(), minTop = std::numeric_limits<int>::max();
    int64_t maxRight = 0, maxBottom = 0;
    for (const QString& line : std::as_const(m_store.Lines)) {
        made.push_back(elementFromLine(line, next));
        const TVoReportElement& e = *made.back();
        minLeft = std::min(minLeft, e.Left);
        minTop = std::min(minTop, e.Top);
        maxRight = std::max(maxRight, int64_t(e.Left) + e.Width);
        maxBottom = std::max(maxBottom, int64_t(e.Top) + e.Height);
    }
    // The block inside the band's area, clear of its caption strip; a block larger than the
    // area keeps no element left of or above the band's corner.
    const auto shift = [](int64_t wanted, int64_t least, int64_t most) {
        return ReportRun::bounded(std::max(std::min(wanted, most), least));
    };
    const int dx = shift(int64_t(x) - m_store.AnchorLeft, -int64_t(minLeft), PaperWidth() - maxRight);
    const int dy = shift(int64_t(y) - m_store.AnchorTop, -int64_t(minTop), BandHeight(band) - maxBottom);
    auto elements = std::make_shared<BandElements>(next.Band(band));
    std::vector<ElementId> ids;
    for (const auto& e : made) {
        e->Left = int(std::clamp<int64_t>(int64_t(e->Left) + dx, 0, ReportRun::maxCoordinate));
        e->Top = int(std::clamp<int64_t>(int64_t(e->Top) + dy, 0, ReportRun::maxCoordinate));
        ids.push_back(++m_lastId);
        elements->push_back({ids.back(), e});
    }
    next.Bands[std::size_t(band)] = std::move(elements);
    DeselectAll();
    record(chPaste, std::move(next), {}, ids);
    if (ids.size() > 1)
        m_selected.insert(ids.begin(), ids.end());
    if (m_store.AnchorIndex >= 0 && m_store.AnchorIndex < int(ids.size()))
        m_active = ids[std::size_t(m_store.AnchorIndex)];
    return ids;
}

} // namespace reports::designer
