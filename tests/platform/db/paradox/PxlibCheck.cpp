// pxlib as an independent reader of the tables our writer produces.
#include "platform/db/paradox/PxlibCheck.h"

#include "platform/db/paradox/PxlibTable.h"

#include <QFile>
#include <QStringDecoder>

#include <climits>
#include <memory>

extern "C" {
#include <paradox.h>
}

namespace test {

namespace {

void quietHandler(pxdoc_t*, int, const char*, void*) {}

bool isStringType(int type)
{
    switch (type) {
    case pxfAlpha: case pxfBCD: case pxfBytes: case pxfMemoBLOb: case pxfBLOb:
    case pxfFmtMemoBLOb: case pxfOLE: case pxfGraphic:
        return true;
    default:
        return false;
    }
}

} // namespace

PxlibReader::PxlibReader(const QString& path)
{
    m_file = std::fopen(QFile::encodeName(path).constData(), "rb");
    if (!m_file)
        return;
    m_doc = PX_new2(quietHandler, nullptr, nullptr, nullptr);
    if (PX_open_fp(m_doc, m_file) < 0) {
        PX_delete(m_doc);
        m_doc = nullptr;
    }
}

PxlibReader::~PxlibReader()
{
    if (m_doc) {
        PX_close(m_doc);
        PX_delete(m_doc);
    }
    if (m_file)
        std::fclose(m_file);
}

int PxlibReader::recordCount() const { return PX_get_num_records(m_doc); }
int PxlibReader::fieldCount() const { return PX_get_num_fields(m_doc); }
QByteArray PxlibReader::fieldName(int field) const { return QByteArray(PX_get_field(m_doc, field)->px_fname); }
int PxlibReader::fieldType(int field) const { return PX_get_field(m_doc, field)->px_ftype; }
int PxlibReader::codePage() const { return m_doc->px_head->px_doscodepage; }

void PxlibReader::attachBlobFile(const QString& path)
{
    FILE* wrapped = db::paradox::openBlobFileForPxlib(path, 1);
    if (!wrapped)
        return;
    PX_set_blob_fp(m_doc, wrapped);   // fails on the size trick, yet attaches the file
    if (m_doc->px_blob && m_doc->px_blob->mb_stream)
        m_doc->px_blob->mb_stream->close = 1;
    else
        std::fclose(wrapped);
}

QVariant PxlibReader::value(int row, int field) const
{
    pxval_t** values = PX_retrieve_record(m_doc, row);
    if (!values)
        return QVariant(QStringLiteral("<no record>"));
    const pxval_t* v = values[field];
    QVariant result;
    if (!v->isnull) {
        switch (v->type) {
        case pxfAlpha:
        {
            const QByteArray bytes(v->value.str.val, qsizetype(qstrnlen(v->value.str.val, size_t(v->value.str.len))));
            QStringDecoder decoder("windows-1250");
            result = QString(decoder.decode(bytes));
        }
            break;
        case pxfBCD:
            result = QString::fromLatin1(v->value.str.val);
            break;
        case pxfShort: case pxfLong: case pxfAutoInc: case pxfLogical: case pxfDate: case pxfTime:
            if (v->value.lval != INT_MIN)   // pxlib reports 4-byte NULLs as INT32_MIN
                result = qlonglong(v->value.lval);
            break;
        case pxfNumber: case pxfCurrency: case pxfTimestamp:
            result = v->value.dval;
            break;
        default:
            if (v->value.str.val)
                result = QByteArray(v->value.str.val, v->value.str.len);
            break;
        }
    }
    const int n = PX_get_num_fields(m_doc);
    for (int i = 0; i < n; ++i) {
        if (isStringType(values[i]->type) && values[i]->value.str.val)
            m_doc->free(m_doc, values[i]->value.str.val);
        m_doc->free(m_doc, values[i]);
    }
    m_doc->free(m_doc, values);
    return result;
}

} // namespace test
