// One picture loader for reports and drawing devices: the file's extension picks the decoder.
#pragma once

#include <QImage>
#include <QString>

namespace paint {

// Largest picture accepted, in pixels (a bound against hostile headers).
constexpr qint64 maxPicturePixels = 64LL * 1024 * 1024;
constexpr int maxPictureSide = 32768;

// Loads a picture by the extension of its name: ".jpg"/".jpeg" through libjpeg, ".gif" through
// giflib (first frame), ".wmf"/".emf" give an empty picture (no metafile renderer here), other
// extensions through Qt's readers. A missing, unreadable or oversized file gives an empty
// picture; nothing is reported. `path` is a stored path (resolved by platform/files).
QImage loadPicture(const QString& path);

// The decoders, on bytes in memory; an empty image on any fault.
QImage decodeJpeg(const QByteArray& bytes);
QImage decodeGif(const QByteArray& bytes);

} // namespace paint
