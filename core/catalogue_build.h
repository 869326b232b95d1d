#pragma once
// Shorthands for writing the catalogue as tables: one call per field or index.
// Used only by the catalogue's own source files.

#include "core/catalogue.h"

#include <optional>
#include <string>
#include <vector>

namespace core::cat {

inline db::FieldDef Field(std::string name, db::FieldType type, int size, int decimals = 0,
                          db::Domain domain = {}) {
    return {std::move(name), type, db::storedSize(type, size), decimals, std::move(domain)};
}
inline db::FieldDef Text(std::string name, int width, db::Domain domain = {}) {
    return Field(std::move(name), db::FieldType::Alpha, width, 0, std::move(domain));
}
inline db::FieldDef Short(std::string name, db::Domain domain = {}) {
    return Field(std::move(name), db::FieldType::Short, 0, 0, std::move(domain));
}
inline db::FieldDef Long(std::string name, db::Domain domain = {}) {
    return Field(std::move(name), db::FieldType::Long, 0, 0, std::move(domain));
}
inline db::FieldDef AutoInc(std::string name) {
    return Field(std::move(name), db::FieldType::AutoInc, 0);
}
inline db::FieldDef Number(std::string name, db::Domain domain = {}) {
    return Field(std::move(name), db::FieldType::Number, 0, 0, std::move(domain));
}
inline db::FieldDef Logical(std::string name) {
    return Field(std::move(name), db::FieldType::Logical, 0);
}
inline db::FieldDef Date(std::string name, db::Domain domain = {}) {
    return Field(std::move(name), db::FieldType::Date, 0, 0, std::move(domain));
}
// NUMERIC(10,4) of the local SQL: a packed decimal with four digits after the point.
inline db::FieldDef Numeric4(std::string name, db::Domain domain = {}) {
    return Field(std::move(name), db::FieldType::Bcd, 0, 4, std::move(domain));
}

// The domains of the fields a user types into (domain.h), by what the value means: the
// label is the caption of the box the farmer types it into.
using Sign = db::Domain::Sign;
inline db::Domain Numbers(std::string label, Sign sign, std::optional<double> max = {},
                          int decimals = -1) {
    db::Domain domain;
    domain.label = std::move(label);
    domain.sign = sign;
    domain.max = max;
    domain.decimals = decimals;
    return domain;
}
// A whole number.
inline db::Domain Whole(std::string label, Sign sign, std::optional<double> max = {}) {
    db::Domain domain = Numbers(std::move(label), sign, max);
    domain.whole = true;
    return domain;
}
inline db::Domain Between(std::string label, double min, double max, int decimals = -1) {
    db::Domain domain = Numbers(std::move(label), Sign::Any, max, decimals);
    domain.min = min;
    return domain;
}
// A year, 1900 to 2100.
inline db::Domain Year(std::string label) {
    db::Domain domain = Between(std::move(label), 1900, 2100);
    domain.whole = true;
    return domain;
}
// An hour (to 23) or a minute (to 59) of a clock, a whole number.
inline db::Domain Clock(std::string label, double last) {
    db::Domain domain = Between(std::move(label), 0, last);
    domain.whole = true;
    return domain;
}
// A day of a year from 1900 to 2100; `start`: a field of the row it may not precede.
inline db::Domain Day(std::string label, std::string start = {}, std::string startLabel = {}) {
    db::Domain domain = Between(std::move(label), 1900, 2100);
    domain.date = true;
    domain.notBefore = std::move(start);
    domain.notBeforeLabel = std::move(startLabel);
    return domain;
}
// A text of at most `letters` letters, fewer than its field holds.
inline db::Domain Letters(std::string label, int letters) {
    db::Domain domain;
    domain.label = std::move(label);
    domain.letters = letters;
    return domain;
}
// What another table's row bounds the value by, which the save checks.
inline db::Domain BoundBy(db::Domain domain, std::string bound) {
    domain.boundBy = std::move(bound);
    return domain;
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
