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

} // namespace reports
