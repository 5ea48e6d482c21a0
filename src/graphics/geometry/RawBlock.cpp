// Raw little-endian blocks of the element streams: fixed-size records without tags.
#include "graphics/geometry/RawBlock.h"

#include "framework/streams/Filer.h"
#include "platform/Exceptions.h"

#include <QIODevice>
#include <QtEndian>

#include <cstring>

void RawBlockWriter::int32(qint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    m_bytes.append(b, 4);
}

void RawBlockWriter::float64(double v)
{
    quint64 bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    char b[8];
    qToLittleEndian(bits, b);
    m_bytes.append(b, 8);
}

void RawBlockWriter::rect(const PixelRect& r)
{
    int32(r.Left);
    int32(r.Top);
    int32(r.Right);
    int32(r.Bottom);
}

RawBlockReader::RawBlockReader(TReader& reader, int size, const QString& what)
{
    const qint64 offset = reader.device().pos();
    try {
        m_bytes = reader.ReadRaw(size);
    } catch (const Exception&) {
        m_bytes.clear();
    }
    if (m_bytes.size() != size)
        throw EBadStream(QStringLiteral("Stream read error: %1 block at offset %2 is short").arg(what).arg(offset));
}

qint32 RawBlockReader::int32()
{
    const qint32 v = qFromLittleEndian<qint32>(m_bytes.constData() + m_pos);
    m_pos += 4;
    return v;
}

double RawBlockReader::float64()
{
    const quint64 bits = qFromLittleEndian<quint64>(m_bytes.constData() + m_pos);
    m_pos += 8;
    double v = 0.0;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

PixelRect RawBlockReader::rect()
{
    PixelRect r;
    r.Left = int32();
    r.Top = int32();
    r.Right = int32();
    r.Bottom = int32();
    return r;
}
