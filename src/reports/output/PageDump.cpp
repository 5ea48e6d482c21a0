// Text dump of output pages.
#include "reports/output/PageDump.h"

#include "reports/output/ReportOutput.h"

namespace reports {

namespace {

QString shownText(const TVystPrvek& item)
{
    if (!item.ItemLines) return item.ItemText;
    QStringList lines;
    for (int k = item.FirstLine; k <= item.LastLine && k < item.ItemLines->count(); ++k)
        lines << item.ItemLines->lines[size_t(k)].Text;
    return lines.join(u'/');
}

} // namespace

QString DumpPages(const TSestVystup& output)
{
    QString out;
    for (int p = 0; p < output.PageCount(); ++p) {
        out += QStringLiteral("page %1\n").arg(p + 1);
        const TStranaPrvku& page = output.PageAt(p);
        for (int i = 0; i < page.count(); ++i) {
            const TVystPrvek& item = page.item(i);
            const QRect r = item.Rect;
            out += QStringLiteral("  k%1 %2,%3 %4x%5 L%6 lines %7-%8 |%9|\n")
                       .arg(item.Style.Kind)
                       .arg(r.left() * 6)
                       .arg(r.top() * 6)
                       .arg(r.width() * 6)
                       .arg(r.height() * 6)
                       .arg(item.Layer)
                       .arg(item.FirstLine)
                       .arg(item.LastLine)
                       .arg(shownText(item));
        }
    }
    return out;
}

} // namespace reports
