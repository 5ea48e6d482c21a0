// Byte layouts of the two model stream formats, "LMX0" (model stream) and "TPF0" (element stream).
#pragma once

#include <QByteArray>
#include <QString>

// Both formats are built of the tagged values of Filer.h (integers in the shortest tag, floats as
// 80-bit extended, strings in windows-1250).
//
// Model stream "LMX0":
//   offset | content
//   -------+-----------------------------------------------------------------
//        0 | "LMX0", 4 raw bytes (no tag)
//        4 | string "cau"          06 03 63 61 75
//        9 | string "cau"          06 03 63 61 75
//       14 | string comment        06 0A "No comment" when none is set
//       26 | begin of list         01
//       27 | items: class entries and element records, in writing order
//      end | end of list           00
//
// Class entry (just before the first record of its class):
//   integer -1, class name, class number (0, 1, 2 ... in entry order),
//   begin of list, { property name, type kind } for every published property, end of list.
//
// Element record (children before their parent, the root last):
//   class number, element index (0, 1, 2 ... in the order records begin),
//   begin of list, { property index, value } for the stored, readable, writable properties
//   whose value is not their kind's zero that is also the class's default, end of list,
//   integer 0 without children, else integer 1, begin of list, child indexes, end of list.
//
// A reference value is an element index. It may point forward (an element of the tree written
// later); the reader resolves those after the last record. An element outside the tree is written
// in place: integer -2, begin of list, its subtree's class entries and records, end of list.
// Char values are written as their windows-1250 code; a reader also takes a one-character string.
//
// Element stream "TPF0":
//   "TPF0" (4 raw bytes), begin of list, each element's WriteTo (children before their parent;
//   it begins with the class name and ID), end of list. Entities list their children by ID, which
//   is the element's position in the stream.
namespace lmx {

inline const QByteArray modelSignature = QByteArrayLiteral("LMX0");
inline const QByteArray elementSignature = QByteArrayLiteral("TPF0");
inline const QString headerWord = QStringLiteral("cau");
inline const QString defaultComment = QStringLiteral("No comment");
// Default file of the element-stream tools.
inline const QString defaultFileName = QStringLiteral("LUMEX.LMX");

// Integers of the model stream with a meaning of their own.
constexpr qint32 classEntryMark = -1;   // item head: a class entry follows
constexpr qint32 nilReference = -1;
constexpr qint32 inPlaceReference = -2;

} // namespace lmx
