// Field types, field descriptors and header facts of Paradox tables (.DB).
#include "platform/db/paradox/ParadoxTypes.h"

namespace db::paradox {

namespace {

struct TypeInfo
{
    FieldType type;
    char16_t letter;
    int width;   // 0: chosen per field
};

constexpr TypeInfo kTypes[] = {
    {FieldType::Alpha, u'A', 0},     {FieldType::Date, u'D', 4},      {FieldType::Short, u'S', 2},
    {FieldType::Long, u'I', 4},      {FieldType::Currency, u'$', 8},  {FieldType::Number, u'N', 8},
    {FieldType::Logical, u'L', 1},   {FieldType::Memo, u'M', 0},      {FieldType::Blob, u'B', 0},
    {FieldType::FmtMemo, u'F', 0},   {FieldType::Ole, u'O', 0},       {FieldType::Graphic, u'G', 0},
    {FieldType::Time, u'T', 4},      {FieldType::Timestamp, u'@', 8}, {FieldType::AutoInc, u'+', 4},
    {FieldType::Bcd, u'#', 17},      {FieldType::Bytes, u'Y', 0},
};

const TypeInfo* infoOf(FieldType type)
{
    for (const TypeInfo& info : kTypes) {
        if (info.type == type)
            return &info;
    }
    return nullptr;
}

} // namespace

bool isKnownType(uint8_t code)
{
    return infoOf(static_cast<FieldType>(code)) != nullptr;
}

bool isBlobType(FieldType type)
{
    switch (type) {
    case FieldType::Memo:
    case FieldType::Blob:
    case FieldType::FmtMemo:
    case FieldType::Ole:
    case FieldType::Graphic:
        return true;
    default:
        return false;
    }
}

QChar typeLetter(FieldType type)
{
    const TypeInfo* info = infoOf(type);
    return info ? QChar(info->letter) : QChar(u'?');
}

std::optional<FieldType> typeFromLetter(QChar letter)
{
    const QChar upper = letter.toUpper();
    for (const TypeInfo& info : kTypes) {
        if (upper == QChar(info.letter))
            return info.type;
    }
    return std::nullopt;
}

int fixedWidth(FieldType type)
{
    const TypeInfo* info = infoOf(type);
    return info ? info->width : 0;
}

bool isValidWidth(FieldType type, int width)
{
    if (isBlobType(type))
        return width >= 10 && width <= 255;   // leader + 10-byte pointer
    if (type == FieldType::Alpha || type == FieldType::Bytes)
        return width >= 1 && width <= 255;
    const int fixed = fixedWidth(type);
    return fixed != 0 && width == fixed;
}

int layoutFields(QList<FieldDef>& fields)
{
    int offset = 0;
    for (FieldDef& field : fields) {
        field.offset = offset;
        offset += field.width;
    }
    return offset;
}

} // namespace db::paradox
