#pragma once
// Shorthands for writing the catalogue as tables: one call per field or index.
// Used only by the catalogue's own source files.

#include "core/catalogue.h"

#include <string>
#include <vector>

namespace core::cat {

inline db::FieldDef Field(std::string name, db::FieldType type, int size, int decimals = 0) {
    return {std::move(name), type, db::storedSize(type, size), decimals};
}
inline db::FieldDef Text(std::string name, int width) {
    return Field(std::move(name), db::FieldType::Alpha, width);
}
inline db::FieldDef Short(std::string name) {
    return Field(std::move(name), db::FieldType::Short, 0);
}
inline db::FieldDef Long(std::string name) {
    return Field(std::move(name), db::FieldType::Long, 0);
}
inline db::FieldDef AutoInc(std::string name) {
    return Field(std::move(name), db::FieldType::AutoInc, 0);
}
inline db::FieldDef Number(std::string name) {
    return Field(std::move(name), db::FieldType::Number, 0);
}
inline db::FieldDef Logical(std::string name) {
    return Field(std::move(name), db::FieldType::Logical, 0);
}
inline db::FieldDef Date(std::string name) {
    return Field(std::move(name), db::FieldType::Date, 0);
}
// NUMERIC(10,4) of the local SQL: a packed decimal with four digits after the point.
inline db::FieldDef Numeric4(std::string name) {
    return Field(std::move(name), db::FieldType::Bcd, 0, 4);
}

inline db::IndexDef Index(std::string name, std::vector<std::string> fields,
                          bool caseInsensitive = false) {
    db::IndexDef def;
    def.name = std::move(name);
    def.fields = std::move(fields);
    def.caseInsensitive = caseInsensitive;
    return def;
}

// The same layout, keys and indexes under another name: the planned twins.
inline TableDef Twin(const TableDef& original, std::string name, std::string note) {
    TableDef twin = original;
    twin.name = std::move(name);
    twin.note = std::move(note);
    return twin;
}

// The tables of each subsystem, in no particular order; Catalogue() puts them in the
// inventory's order.
std::vector<TableDef> CoreTables();
std::vector<TableDef> RegisterTables();
std::vector<TableDef> ResourceTables();
std::vector<TableDef> OperationTables();

} // namespace core::cat
