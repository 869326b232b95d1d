#pragma once
// The catalogue of the program's tables: every table of the database with its fields,
// types and widths (the column set of database version "3.05"), its primary key and its
// named secondary indexes, as the forms that write each table use it. A fresh working
// directory gets an empty database made from it (fresh_database.h).

#include "platform/db/field.h"
#include "platform/db/index_def.h"

#include <string>
#include <string_view>
#include <vector>

namespace core {

struct TableDef {
    std::string name;                  // as the database's file inventory spells it: "Tablak"
    std::vector<db::FieldDef> fields;  // in file order; the key fields first
    int keyFields = 0;                 // primary key on the first keyFields fields
    std::vector<db::IndexDef> indexes; // named secondary indexes, in file order (.XG0 ...)
    bool inInventory = true;           // false: outside the database's file inventory (the
                                       // read-only lists and the diesel invoice items)
    std::string note;                  // why a width, key or layout was chosen where open
    int minBlockKiB = 0;               // larger blocks for the tables that grow without bound
};

// Every table, inventory tables in inventory order, then those outside the inventory.
const std::vector<TableDef>& Catalogue();
// The table of that name (letter case ignored, ".db" allowed), or null.
const TableDef* FindTable(std::string_view name);
// The domain of a field of a table (domain.h): what a user may type into it. A field
// without one, or one the catalogue does not know, has the empty domain.
const db::Domain& FieldDomain(std::string_view table, std::string_view field);
// The catalogue's fields of a table, or null: what a session checks posted values by.
const std::vector<db::FieldDef>* DefinedFields(std::string_view table);

} // namespace core
