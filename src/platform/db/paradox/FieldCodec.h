// Decoding and encoding of single field values inside a raw Paradox record.
//
// Every function takes the field descriptor and a pointer to the START OF THE RECORD
// (the field's bytes are at record + field.offset). Decoders never allocate for
// fixed-width types; NULL is detected per type as the file format defines it:
// all-zero bytes for every type except BCD, where the engine writes the decimal
// count alone (byte 0 without 0x80, the rest zero).
//
// Dates and times are the run time's date-time: days since 1899-12-30 with the time
// of day as the fraction (txt::DateTime).
#pragma once

#include "platform/db/paradox/CodePage.h"
#include "platform/db/paradox/ParadoxTypes.h"

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <cstdint>

namespace db::paradox {

// Paradox day number of 1899-12-30 (Paradox day 1 = 0001-01-01).
constexpr int kDayOffset = 693594;

// True when the field holds NULL.
bool isNull(const FieldDef& field, const char* record);

// --- decoders: undefined when the field is NULL (check isNull first) --------------
QString decodeAlpha(const FieldDef& field, const char* record, const CodePage& cp);   // trailing blanks and NULs cut
int decodeShort(const FieldDef& field, const char* record);
int decodeLong(const FieldDef& field, const char* record);                            // Long and AutoInc
double decodeDouble(const FieldDef& field, const char* record);                       // Number, Currency
bool decodeLogical(const FieldDef& field, const char* record);
double decodeDate(const FieldDef& field, const char* record);                         // whole days
double decodeTime(const FieldDef& field, const char* record);                         // fraction of a day
double decodeTimestamp(const FieldDef& field, const char* record);
QString decodeBcdText(const FieldDef& field, const char* record);                     // exact, '.' separator, `decimals` digits
double decodeBcd(const FieldDef& field, const char* record);
QByteArray decodeBytes(const FieldDef& field, const char* record);                    // `width` raw bytes

// The value as a QVariant: QString (Alpha), int (Short, Long, AutoInc), double (Number,
// Currency, Date, Time, Timestamp, BCD), bool (Logical), QByteArray (Bytes). NULL gives an
// invalid QVariant. Blob fields give their leader-only value when it fits in the record,
// otherwise an invalid QVariant: read blobs through ParadoxFile::blob().
QVariant decodeValue(const FieldDef& field, const char* record, const CodePage& cp);

// --- blob pointers: the last 10 bytes of a blob field ------------------------------
struct BlobPointer
{
    uint32_t offset = 0;     // low byte: slot index (0xFF = a whole type-2 block)
    uint32_t length = 0;     // payload length in bytes
    uint16_t modNumber = 0;
};
BlobPointer decodeBlobPointer(const FieldDef& field, const char* record);
// Length of the leader (width - 10) and a pointer to its bytes.
int blobLeaderLength(const FieldDef& field);
const char* blobLeader(const FieldDef& field, const char* record);

// --- encoders: write the value into the record; setNull zeroes the field (BCD: the
// decimal count alone). Out-of-range values raise EDatabaseError. -------------------
void setNull(const FieldDef& field, char* record);
void encodeAlpha(const FieldDef& field, char* record, QStringView text, const CodePage& cp);  // cut to width; "" = NULL
void encodeShort(const FieldDef& field, char* record, int value);        // -32767..32767
void encodeLong(const FieldDef& field, char* record, int32_t value);     // Long, AutoInc; INT32_MIN raises
void encodeDouble(const FieldDef& field, char* record, double value);    // -0.0 stored as 0.0; NaN/inf raise
void encodeLogical(const FieldDef& field, char* record, bool value);
void encodeDate(const FieldDef& field, char* record, double dateTime);   // fraction dropped
void encodeTime(const FieldDef& field, char* record, double dateTime);   // day part dropped, ms rounded
void encodeTimestamp(const FieldDef& field, char* record, double dateTime);
void encodeBcd(const FieldDef& field, char* record, double value);       // rounded to `decimals`
void encodeBcdText(const FieldDef& field, char* record, QStringView text);  // "-12.5"; '.' or ','; half away from zero
void encodeBytes(const FieldDef& field, char* record, QByteArrayView bytes);  // cut/zero-padded to width
// Blob fields: the leader gets the first bytes of `payload`, the pointer offset 0,
// the length and mod 0 (the writer assigns the .MB place). An empty payload is NULL.
// For Graphic, `payload` is the image without the 8-byte prefix.
void encodeBlob(const FieldDef& field, char* record, QByteArrayView payload);

// The inverse of decodeValue(): an invalid or null QVariant sets NULL. Texts convert to
// numbers with '.' or ','; a text that is no number raises EDatabaseError. Date, Time and
// Timestamp also take QDate, QTime and QDateTime. Blob fields take QByteArray (a QString
// is encoded in `cp`).
void encodeValue(const FieldDef& field, char* record, const QVariant& value, const CodePage& cp);

} // namespace db::paradox
