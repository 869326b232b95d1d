#include "platform/db/field.h"

namespace db {

namespace {

struct TypeInfo {
    FieldType type;
    char letter;
    const char* name;
    int fixedSize; // 0: declared by the field
};

constexpr TypeInfo kTypes[] = {
    {FieldType::Alpha, 'A', "Alpha", 0},       {FieldType::Date, 'D', "Date", 4},
    {FieldType::Short, 'S', "Short", 2},       {FieldType::Long, 'I', "Long", 4},
    {FieldType::Currency, '$', "Currency", 8}, {FieldType::Number, 'N', "Number", 8},
    {FieldType::Logical, 'L', "Logical", 1},   {FieldType::Memo, 'M', "MemoBLOb", 0},
    {FieldType::Blob, 'B', "BLOb", 0},         {FieldType::FmtMemo, 'F', "FmtMemoBLOb", 0},
    {FieldType::Ole, 'O', "OLE", 0},           {FieldType::Graphic, 'G', "Graphic", 0},
    {FieldType::Time, 'T', "Time", 4},         {FieldType::Timestamp, '@', "Timestamp", 8},
    {FieldType::AutoInc, '+', "AutoInc", 4},   {FieldType::Bcd, '#', "BCD", 17},
    {FieldType::Bytes, 'Y', "Bytes", 0},
};

const TypeInfo* find(FieldType type) {
    for (const auto& t : kTypes)
        if (t.type == type)
            return &t;
    return nullptr;
}

} // namespace

char typeLetter(FieldType type) {
    const auto* t = find(type);
    return t ? t->letter : '?';
}

const char* typeName(FieldType type) {
    const auto* t = find(type);
    return t ? t->name : "Unknown";
}

std::optional<FieldType> typeFromLetter(char letter) {
    for (const auto& t : kTypes)
        if (t.letter == letter)
            return t.type;
    return std::nullopt;
}

std::optional<FieldType> typeFromCode(std::uint8_t code) {
    const auto* t = find(static_cast<FieldType>(code));
    return t ? std::optional<FieldType>(t->type) : std::nullopt;
}

bool isBlobType(FieldType type) {
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

bool isTextType(FieldType type) {
    return type == FieldType::Alpha || type == FieldType::Memo || type == FieldType::FmtMemo;
}

int storedSize(FieldType type, int declaredSize) {
    const auto* t = find(type);
    return t && t->fixedSize ? t->fixedSize : declaredSize;
}

} // namespace db
