// Test fixtures: Paradox tables written from a field list and rows of values.
#include "support/ParadoxFixture.h"

#include "platform/Exceptions.h"
#include "platform/db/paradox/CodePage.h"
#include "platform/db/paradox/FieldCodec.h"
#include "platform/db/paradox/ParadoxWriter.h"

#include <QFile>
#include <QHash>

#include <cstdlib>
#include <cstring>
#include <utility>

extern "C" {
#include <paradox.h>
}

namespace test {

namespace dp = db::paradox;

namespace {

dp::FieldDef descriptorOf(const FixtureField& f)
{
    const auto type = f.type.isEmpty() ? std::nullopt : dp::typeFromLetter(f.type.at(0));
    if (!type)
        throw EDatabaseError(QStringLiteral("Neznámý typ pole \"%1\"").arg(f.type));
    dp::FieldDef d;
    d.name = f.name;
    d.type = *type;
    if (dp::isBlobType(d.type))
        d.width = (f.size > 0 ? f.size : 10) + 10;
    else if (d.type == dp::FieldType::Alpha || d.type == dp::FieldType::Bytes)
        d.width = f.size;
    else
        d.width = dp::fixedWidth(d.type);
    d.decimals = d.type == dp::FieldType::Bcd ? f.size : 0;
    return d;
}

struct Encoded
{
    QByteArray records;
    QHash<qsizetype, QByteArray> blobs;   // key: row * 256 + field
};

Encoded encodeRows(const QList<dp::FieldDef>& defs, int recordSize, const QList<QVariantList>& rows,
                   const dp::CodePage& cp)
{
    Encoded e;
    e.records = QByteArray(qsizetype(rows.size()) * recordSize, '\0');
    for (int r = 0; r < rows.size(); ++r) {
        char* rec = e.records.data() + qsizetype(r) * recordSize;
        for (int i = 0; i < defs.size(); ++i) {
            const QVariant v = i < rows[r].size() ? rows[r][i] : QVariant();
            dp::encodeValue(defs[i], rec, v, cp);
            if (dp::isBlobType(defs[i].type) && v.isValid() && !v.isNull()) {
                e.blobs.insert(qsizetype(r) * 256 + i,
                               v.typeId() == QMetaType::QString ? cp.encode(v.toString()) : v.toByteArray());
            }
        }
    }
    return e;
}

// pxlib writes the rows itself so that it encrypts them. Its blob writer gives broken
// pointers, so blobs must fit their leader.
void writeEncrypted(const QString& path, const QList<dp::FieldDef>& defs, int keyFields, const QString& password,
                    const Encoded& encoded, int recordSize, int codePage)
{
    const QByteArray& records = encoded.records;
    for (auto it = encoded.blobs.cbegin(); it != encoded.blobs.cend(); ++it) {
        if (it.value().size() > dp::blobLeaderLength(defs[int(it.key() % 256)]))
            throw EDatabaseError(QStringLiteral("Zašifrovaná tabulka: blob se nevejde do pole"));
    }
    pxdoc_t* px = PX_new2(nullptr, nullptr, nullptr, nullptr);
    const int n = int(defs.size());
    auto* f = static_cast<pxfield_t*>(std::calloc(size_t(n), sizeof(pxfield_t)));   // PX_delete frees it
    const dp::CodePage& cp = dp::CodePage::forNumber(codePage);
    for (int i = 0; i < n; ++i) {
        f[i].px_fname = PX_strdup(px, cp.encode(defs[i].name).constData());
        f[i].px_ftype = char(defs[i].type);
        f[i].px_flen = defs[i].width;
        f[i].px_fdc = defs[i].decimals;
    }
    QFile::remove(path);
    if (PX_create_file(px, f, n, QFile::encodeName(path).constData(), pxfFileTypNonIndexDB) < 0) {
        PX_delete(px);
        throw EDatabaseError(QStringLiteral("pxlib nevytvořil %1").arg(path));
    }
    PX_set_value(px, "codepage", float(codePage));
    if (keyFields > 0)
        PX_set_value(px, "numprimkeys", float(keyFields));
    PX_set_parameter(px, "password", password.toLatin1().constData());
    QByteArray buffer(recordSize, '\0');
    for (qsizetype at = 0; at < records.size(); at += recordSize) {
        std::memcpy(buffer.data(), records.constData() + at, size_t(recordSize));
        PX_put_record(px, buffer.data());
    }
    PX_close(px);
    PX_delete(px);
}

} // namespace

QList<dp::FieldDef> fixtureFields(const QList<FixtureField>& fields)
{
    QList<dp::FieldDef> defs;
    for (const FixtureField& f : fields)
        defs.append(descriptorOf(f));
    dp::layoutFields(defs);
    return defs;
}

void writeParadoxTable(const QString& path, const QList<FixtureField>& fields, const QList<QVariantList>& rows,
                       const FixtureOptions& options)
{
    dp::TableContent content;
    content.fields = fixtureFields(fields);
    const int recordSize = dp::layoutFields(content.fields);
    content.keyFieldCount = options.keyFields;
    content.codePage = options.codePage;
    Encoded encoded = encodeRows(content.fields, recordSize, rows, dp::CodePage::forNumber(options.codePage));
    if (!options.password.isEmpty()) {
        writeEncrypted(path, content.fields, options.keyFields, options.password, encoded, recordSize,
                       options.codePage);
        return;
    }
    content.records = std::move(encoded.records);
    content.recordCount = int(rows.size());
    const QHash<qsizetype, QByteArray> blobs = std::move(encoded.blobs);
    content.blobPayload = [blobs](int field, const char*, int row) {
        return blobs.value(qsizetype(row) * 256 + field);
    };
    dp::writeTable(path, content);
}

} // namespace test
