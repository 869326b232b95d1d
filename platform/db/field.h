#pragma once
// Field types of Paradox tables, with the type codes stored in the file header.

#include "domain.h"

#include <cstdint>
#include <optional>
#include <string>

namespace db {

enum class FieldType : std::uint8_t {
    Alpha = 0x01,     // A: text, 1..255 bytes
    Date = 0x02,      // D: days since 1 January of year 1 (day 1)
    Short = 0x03,     // S: 16-bit integer
    Long = 0x04,      // I: 32-bit integer
    Currency = 0x05,  // $: double
    Number = 0x06,    // N: double
    Logical = 0x09,   // L: boolean
    Memo = 0x0C,      // M: text blob, leading part in the record
    Blob = 0x0D,      // B: binary blob
    FmtMemo = 0x0E,   // F: formatted memo blob
    Ole = 0x0F,       // O: OLE blob
    Graphic = 0x10,   // G: picture blob
    Time = 0x14,      // T: milliseconds since midnight
    Timestamp = 0x15, // @: milliseconds since 1 January of year 1, as a double
    AutoInc = 0x16,   // +: 32-bit counter given at insert
    Bcd = 0x17,       // #: packed decimal, 17 bytes, `decimals` after the point
    Bytes = 0x18,     // Y: fixed-size raw bytes
};

struct FieldDef {
    std::string name; // UTF-8
    FieldType type = FieldType::Alpha;
    int size = 0;       // bytes in the record, as the header stores it
    int decimals = 0;   // BCD only: digits after the point (0..32)
    Domain domain = {}; // what a user may enter: the catalogue's, not stored in the file
    bool operator==(const FieldDef& o) const {
        return name == o.name && type == o.type && size == o.size && decimals == o.decimals;
    }
};

// The letter used in table specs and dumps: A D S I $ N L M B F O G T @ + # Y.
char typeLetter(FieldType type);
std::optional<FieldType> typeFromLetter(char letter);
std::optional<FieldType> typeFromCode(std::uint8_t code);
const char* typeName(FieldType type); // "Alpha", "Date", ... as pxdump prints them

bool isBlobType(FieldType type); // M B F O G
bool isTextType(FieldType type); // A M F

// The record size of a field of this type; for A, Y and the blob types `size`
// as declared (blobs: leader bytes plus 10), for the others the fixed size.
int storedSize(FieldType type, int declaredSize);

} // namespace db
