// Template text at the file boundary: windows-1250 bytes with CR LF line ends.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringList>

namespace reports {

// Lines of a template file; a line ends at CR LF, LF or CR, and a last line end adds no
// empty line.
QStringList TemplateLinesFromBytes(QByteArrayView bytes);
// The file's bytes: every line in windows-1250 followed by CR LF.
QByteArray TemplateBytes(const QStringList& lines);

// A line of a kind the template reader takes: a settings or function record (I or F), an
// element of a fixed section (Z H T K P), of a group (S or U and a position) or a line of a
// detail variant (D and an index).
bool IsTemplateLine(const QString& line);
// The bytes can be a template: no NUL byte, and empty or holding a line of a known kind.
bool IsTemplateText(QByteArrayView bytes);

} // namespace reports
