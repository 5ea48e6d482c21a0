#include "reports/designer/DesignerTypes.h"

#include "reports/model/ReportElement.h"
#include "reports/model/ReportTexts.h"

#include <array>

namespace reports::designer {

namespace {

// Kinds inserted by the ranges of 2000 codes from 2000 on.
constexpr std::array<int, 6> rangeKinds = {ekColumn, ekLabel, ekParameter, ekVariable, ekFunction, ekDetail};
constexpr std::array<int, 6> graphicKinds = {ekText, ekLine, ekRectangle, ekRoundRect, ekEllipse, ekPicture};

} // namespace

QChar sectionLetter(int band)
{
    static const QString letters = QStringLiteral("ZHTKPSU");
    if (band >= 0 && band < letters.size()) return letters.at(band);
    return band % 2 ? u'S' : u'U';
}

ToolElement toolElement(int toolCode)
{
    if (toolCode >= tcText && toolCode <= tcPicture) return {graphicKinds[size_t(toolCode - 1)], 0};
    if (toolCode >= tcColumn && toolCode < tcEnd) {
        const int range = toolCode / 2000 - 1;
        return {rangeKinds[size_t(range)], toolCode - (range + 1) * 2000};
    }
    return {};
}

int toolCodeOf(int kind, int reference)
{
    if (kind == ekText) return tcText + reference;
    if (kind == ekLine) return tcLines + reference;
    for (size_t i = 2; i < graphicKinds.size(); ++i)
        if (graphicKinds[i] == kind) return int(i) + 1;
    for (size_t i = 0; i < rangeKinds.size(); ++i)
        if (rangeKinds[i] == kind) return (int(i) + 1) * 2000 + reference;
    return tcArrow;
}

QString kindName(int kind)
{
    // Texts 65123..65133 in the order column, label, parameter, variable, function, text,
    // lines, rectangle, rounded rectangle, ellipse, picture.
    static constexpr std::array<int, 11> kinds = {ekColumn, ekLabel, ekParameter, ekVariable, ekFunction,
                                                  ekText, ekLine, ekRectangle, ekRoundRect, ekEllipse, ekPicture};
    for (size_t i = 0; i < kinds.size(); ++i)
        if (kinds[i] == kind) return reportText(65123 + int(i));
    return reportText(65134);
}

} // namespace reports::designer
