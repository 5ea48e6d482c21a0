// windows-1250 codec: the single-byte code page of every table, INI file and template.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace Cp1250 {

// Bytes to text; every byte maps to one character (undefined bytes keep their value as U+00xx).
QString decode(QByteArrayView bytes);
// Text to bytes; characters without a windows-1250 code become "?". One byte per character.
QByteArray encode(QStringView text);
// The windows-1250 byte of one character, or '?' when it has none.
char encodeChar(QChar c);
QChar decodeChar(unsigned char byte);

} // namespace Cp1250
