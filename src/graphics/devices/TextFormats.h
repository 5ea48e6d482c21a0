// Plain text and RTF as the text window saves and opens them (windows-1250, CRLF line ends).
#pragma once

#include <QByteArray>
#include <QString>

// Lines joined with CRLF, windows-1250 ("?" for characters it lacks).
QByteArray EncodePlainText(const QString& text);
// windows-1250 bytes; CRLF and lone CR become "\n".
QString DecodePlainText(const QByteArray& bytes);

// An RTF document in one font: \ansicpg1250, bytes above 127 as \'hh, characters beyond
// windows-1250 as \uN with "?" as fallback, one \par per line end.
QByteArray EncodeRtf(const QString& text, const QString& fontName);
// The text of an RTF document: control words stripped, \par and \line as line ends, \'hh
// decoded as windows-1250, \uN as the character (its fallback skipped), destinations
// ({\*...}, font and colour tables, pictures, info) left out. Bad nesting, a document
// nested deeper than 64 groups or longer than 64 MB raises EConvertError with the offset.
QString DecodeRtf(const QByteArray& rtf);

// Whether the bytes begin like an RTF document ("{\rtf").
bool LooksLikeRtf(const QByteArray& bytes);
