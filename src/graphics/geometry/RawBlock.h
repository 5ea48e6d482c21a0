// Raw little-endian blocks of the element streams: fixed-size records without tags.
#pragma once

#include "graphics/geometry/LineClipping.h"

#include <QByteArray>
#include <QString>

class TReader;

class RawBlockWriter
{
public:
    void int32(qint32 v);
    void float64(double v);
    void rect(const PixelRect& r);
    const QByteArray& bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

// Reads the whole block at construction; a short stream raises EBadStream naming the block and
// the stream offset where it began.
class RawBlockReader
{
public:
    RawBlockReader(TReader& reader, int size, const QString& what);
    qint32 int32();
    double float64();
    PixelRect rect();

private:
    QByteArray m_bytes;
    int m_pos = 0;
};
