// The template side of a report: model changes, data questions and operand requests.
#include "reports/model/ReportModel.h"

#include "reports/model/ReportTexts.h"

#include "platform/text/Case.h"
#include "platform/text/Numbers.h"

namespace reports {

ReportModel::ReportModel() = default;

ReportModel::~ReportModel()
{
    ReleaseOperandHost(this);
    if (m_parent)
        m_parent->Details.Remove(this);
    for (int i = 0; i < Details.Count(); ++i)
        Details.VariantAt(i)->m_parent = nullptr;
}

void ReportModel::SetPredloha(const QStringList& text)
{
    ClearTemplate();
    Predloha = text;
    ReadTemplate();
}

void ReportModel::ClearTemplate()
{
    Sections.ClearAllElements();
    for (int i = Groups.Count() - 1; i >= 0; --i)
        RemoveGroup(i);
    Predloha.clear();
}

TPolSkup& ReportModel::AddGroup(int number, int column, bool newPage, int endHeight, bool endPrinted,
                                int startHeight, bool startPrinted)
{
    auto group = std::make_unique<TPolSkup>();
    group->Number = number;
    group->Column = column;
    group->NewPage = newPage;
    const int startIndex = number >= 0 && number < MaxGroups ? 2 * number + 5 : 5;
    group->StartSection = &Sections.Append(startIndex);
    group->StartSection->Height = startHeight;
    group->StartSection->Printed = startPrinted;
    group->EndSection = &Sections.Append(startIndex + 1);
    group->EndSection->Height = endHeight;
    group->EndSection->Printed = endPrinted;
    return Groups.Append(std::move(group));
}

void ReportModel::RemoveGroup(int position)
{
    const std::unique_ptr<TPolSkup> group = Groups.Take(position);
    if (!group)
        return;
    Sections.Remove(group->EndSection);
    Sections.Remove(group->StartSection);
}

TVoReportElement& ReportModel::AddElementFromLine(TOddilSestavy& section, const QString& line)
{
    auto element = std::make_unique<TVoReportElement>(this);
    element->LoadFromLine(line);
    return section.AddElement(std::move(element));
}

void ReportModel::SetParentReport(ReportModel* parent)
{
    if (parent == m_parent)
        return;
    for (const ReportModel* p = parent; p; p = p->m_parent) {
        if (p == this)   // a report cannot be a variant of itself or of its own variant
            return;
    }
    if (m_parent)
        m_parent->Details.Remove(this);
    m_parent = parent;
    if (m_parent)
        m_parent->Details.Add(this);
}

// --- data questions --------------------------------------------------------------------------

int ReportModel::ColumnCount() const
{
    return int(ColumnNames.size());
}

int ReportModel::ColumnIndex(const QString& name) const
{
    for (int i = 0; i < ColumnNames.size(); ++i) {
        if (txt::sameTextAscii(ColumnNames[i], name))
            return i;
    }
    return -1;
}

QString ReportModel::ColumnName(int index) const
{
    return index >= 0 && index < ColumnNames.size() ? ColumnNames[index] : QString::number(index);
}

QString ReportModel::ColumnLabel(int index) const
{
    return index >= 0 && index < ColumnLabels.size() ? ColumnLabels[index] : QString();
}

QString ReportModel::ColumnText(int index) const
{
    if (index >= 0 && index < ColumnValues.size())
        return ColumnValues[index];
    return reportText(text_id::Polozka) + QStringLiteral(" ?");
}

double ReportModel::ColumnValue(int index) const
{
    return index >= 0 && index < ColumnValues.size() ? txt::textToFloatDef(ColumnValues[index], 0) : 0;
}

int ReportModel::ColumnDataType(int) const
{
    return ctUnknown;
}

QString ReportModel::ColumnMemo(int) const
{
    return {};
}

QImage ReportModel::ColumnPicture(int) const
{
    return {};
}

void ReportModel::ColumnValueRecord(int index, TOperandValue& value) const
{
    value.Clear();
    value.SetText(ColumnText(index));
    value.Number = ColumnValue(index);
}

void ReportModel::SetColumns(const QStringList& names)
{
    ColumnNames = names;
    ColumnValues.clear();
    for (int i = 0; i < names.size(); ++i)
        ColumnValues.append(reportText(text_id::Polozka) + QLatin1Char(' ') + QString::number(i + 1));
}

bool ReportModel::NactiObraz(const QString& name, QImage& picture)
{
    return m_parent ? m_parent->NactiObraz(name, picture) : false;
}

QString ReportModel::GetFileName() const
{
    return {};
}

// --- operand requests --------------------------------------------------------------------------

namespace {

uint8_t kindOfColumnType(int type)
{
    switch (type) {
    case ctString: return okText;
    case ctSmallint: case ctInteger: case ctWord: case ctFloat: case ctCurrency: return okNumber;
    default: return okEmpty;
    }
}

} // namespace

void ReportModel::MessageValueRequest(OperandMessage& m)
{
    const int code = m.WParam;
    try {
        if (code == OperandMessage::NoRequest) {
            m.Result = -1;
        } else if (code == OperandMessage::ColumnIndex || code == OperandMessage::FunctionIndex) {
            if (!m.Name)
                m.Result = -1;
            else
                m.Result = code == OperandMessage::ColumnIndex ? ColumnIndex(*m.Name) : Funkce.IndexOfName(*m.Name);
        } else if (!m.Value || code < OperandMessage::Parameter || code >= 8000) {
            return;
        } else if (code < OperandMessage::Column) {
            const int i = code - OperandMessage::Parameter;
            if (i < Parametry.size()) {
                m.Value->Number = txt::textToFloatDef(Parametry[i], 0);
                m.Value->SetText(Parametry[i]);
                m.Value->Kind = okText;
            }
        } else if (code < OperandMessage::Function) {
            const int i = code - OperandMessage::Column;
            m.Value->Number = ColumnValue(i);
            m.Value->SetText(ColumnText(i));
            m.Value->Kind = kindOfColumnType(ColumnDataType(i));
        } else if (const TRadekFunkce* f = Funkce.FunctionAt(code - OperandMessage::Function)) {
            *m.Value = f->Hodnota;
        }
    } catch (...) {
        if (m.Value)
            m.Value->Clear();
    }
}

} // namespace reports
