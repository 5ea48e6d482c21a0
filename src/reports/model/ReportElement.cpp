// One element of a report section: its printed value, picture and pen.
#include "reports/model/ReportElement.h"

#include "reports/expressions/Expression.h"
#include "reports/model/ReportModel.h"

#include "platform/Exceptions.h"
#include "platform/files/Files.h"
#include "platform/text/Format.h"
#include "platform/text/Numbers.h"

#include <cmath>
#include <limits>

namespace reports {

TVoReportElement::TVoReportElement(ReportModel* report)
    : Report(report)
    , Stamp(txt::now())
{
}

QString TVoReportElement::ValueText()
{
    switch (Kind) {
    case ekText:
        return Text;
    case ekColumn: {
        const QString text = Value.Text;
        const int type = Report->ColumnDataType(Reference);
        if (type == ctMemo)
            SetMemoText(Report->ColumnMemo(Reference));
        else if (type == ctBlob || type == ctGraphic || type == ctTypedBinary)
            SetPictureFromField(Report->ColumnPicture(Reference));
        return text;
    }
    case ekLabel:
        return Report->ColumnLabel(Reference);
    case ekParameter:
        return Reference >= 0 && Reference < Report->Parametry.size() ? Report->Parametry[Reference] : QString();
    case ekVariable:
        return variableText();
    case ekFunction: {
        const TRadekFunkce* f = Report->Funkce.FunctionAt(Reference);
        return f ? f->ValueText() : QString();
    }
    default:
        return {};
    }
}

QString TVoReportElement::variableText() const
{
    try {
        if (Reference == varPrintDate)
            return Text.isEmpty() ? txt::dateToStr(Stamp) : txt::formatDateTime(Text, Stamp);
        if (Reference == varPrintTime)
            return Text.isEmpty() ? txt::timeToStr(Stamp) : txt::formatDateTime(Text, Stamp);
    } catch (const Exception&) {
        return {};
    }
    const double n = Value.Number;
    const int64_t counter = std::isfinite(n) && std::fabs(n) < 9e18 ? int64_t(std::nearbyint(n)) : 0;
    return Text.isEmpty() ? txt::intToStr(counter) : txt::format(Text, {counter});
}

void TVoReportElement::SetPictureFile(const QString& text)
{
    QStringList candidates;
    SplitOperandList(text, candidates);
    Picture = QImage();
    PictureFile = candidates.isEmpty() ? QString() : candidates.front();
    const QString directory = files::extractFilePath(Report->GetFileName());
    for (const QString& name : candidates) {
        if (name.isEmpty())
            continue;
        QImage picture;
        if (Report->NactiObraz(name, picture)) {
            Picture = picture;
            PictureFile = name;
            return;
        }
        if (!directory.isEmpty() && Report->NactiObraz(directory + name, picture)) {
            Picture = picture;
            PictureFile = directory + name;
            return;
        }
    }
}

void TVoReportElement::SetPictureFromField(const QImage& picture)
{
    Picture = picture;
    PictureFile.clear();
}

void TVoReportElement::SetMemoText(const QString& text)
{
    MemoText = text;
    HasMemo = true;
}

void TVoReportElement::SetPenWidth(int width)
{
    PenWidth = width;
    if (width > 1)
        PenStyle = 0;
}

void TVoReportElement::SetPenStyle(int style)
{
    if (PenWidth == 1)
        PenStyle = style;
}

} // namespace reports
