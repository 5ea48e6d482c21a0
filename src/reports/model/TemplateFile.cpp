// Template text at the file boundary.
#include "reports/model/TemplateFile.h"

#include "platform/text/Cp1250.h"

#include <algorithm>

namespace reports {

QStringList TemplateLinesFromBytes(QByteArrayView bytes)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n')
            continue;
        lines.append(Cp1250::decode(bytes.sliced(start, i - start)));
        if (c == '\r' && i + 1 < n && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(Cp1250::decode(bytes.sliced(start)));
    return lines;
}

QByteArray TemplateBytes(const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += Cp1250::encode(line);
        bytes += "\r\n";
    }
    return bytes;
}

bool IsTemplateText(QByteArrayView bytes)
{
    if (bytes.contains('\0'))
        return false;
    const QStringList lines = TemplateLinesFromBytes(bytes);
    return bytes.isEmpty() || std::any_of(lines.begin(), lines.end(), IsTemplateLine);
}

} // namespace reports
