// Page choice, colour names and file names for the designer's object toolbar.
#include "reports/designer/form/ElementProperties.h"

#include "reports/model/ReportElement.h"
#include "reports/model/ReportTables.h"

namespace reports::designer {

ObjectPage objectPageOf(int kind, bool rtf)
{
    switch (kind) {
    case ekColumn: return rtf ? opRtf : opTexty;
    case ekLine: return opCary;
    case ekRectangle:
    case ekRoundRect:
    case ekEllipse: return opRamy;
    case ekPicture: return opObraz;
    case ekDetail: return opPrazdny;
    default: return opTexty;
    }
}

QStringList colorNames()
{
    // In the order of ColorIndexTable (0x00BBGGRR).
    static constexpr std::array<const char*, 16> names = {
        "černá", "tmavě červená", "tmavě zelená", "olivová", "tmavě modrá", "fialová",
        "modrozelená", "šedá", "stříbrná", "červená", "zelená", "žlutá",
        "modrá", "purpurová", "azurová", "bílá"};
    static_assert(names.size() == ColorIndexTable.size());
    QStringList list;
    for (const char* name : names) list << QString::fromUtf8(name);
    return list;
}

QString fileNameOnly(const QString& path)
{
    const qsizetype cut = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    return path.mid(cut + 1);
}

} // namespace reports::designer
