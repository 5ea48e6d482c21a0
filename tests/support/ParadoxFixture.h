// Test fixtures: Paradox tables written from a field list and rows of values.
#pragma once

#include "platform/db/paradox/ParadoxTypes.h"

#include <QList>
#include <QString>
#include <QVariant>

namespace test {

// One field of a fixture table. `type` is the engine's letter ("A", "N", "$", "S", "I",
// "+", "L", "D", "T", "@", "#", "Y", "M", "F", "B", "O", "G"). `size`: Alpha and Bytes
// width, BCD decimal count, blob leader bytes (0 = 10); ignored for the other types.
struct FixtureField
{
    QString name;
    QString type;
    int size = 0;
};

struct FixtureOptions
{
    int keyFields = 0;    // the first N fields form the key; rows must come in key order
    QString password;     // non-empty: written encrypted through pxlib (blobs must fit the leader)
    int codePage = 1250;
};

// The descriptors of `fields` with widths and offsets set.
QList<db::paradox::FieldDef> fixtureFields(const QList<FixtureField>& fields);

// Writes `rows` (one QVariant per field, see db::paradox::encodeValue) as the table
// `path` (.DB, with a .MB when it has blob fields). Raises EDatabaseError.
void writeParadoxTable(const QString& path, const QList<FixtureField>& fields,
                       const QList<QVariantList>& rows, const FixtureOptions& options = {});

} // namespace test
