// The catalogue: the application core's own tables, and every table in the order of the
// database's file inventory, followed by the tables outside it.

#include "core/catalogue.h"

#include "core/catalogue_build.h"
#include "core/inventory.h"
#include "platform/sys/text.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string_view>

namespace core {

namespace cat {

namespace {

// clang-format off

TableDef Set() {
    return {"Set", {
        Text("Azon", 20),
        Text("Set", 20),
    }, 1, {}, true,
    "Key: Azon; widths chosen: Azon 20, Set 20 (the longest key has 10 characters, the "
    "longest value 5)."};
}

TableDef Alapadatok() {
    return {"Alapadatok", {
        AutoInc("Id"),
        Text("Nev", 60),
        Text("Cegf", 10),
        Text("Cim", 60),
        Text("Telep", 60),
        Text("Tel", 20),
        Text("Unev", 30),
        Text("Ucim", 60),
        Text("Utel", 20),
        Text("Knev", 30),
        Text("Khely", 27),
        Text("Kir", 4),
        Text("Kutcah", 19),
        Text("Ktel", 20),
        Text("Ktel2", 11),
        Text("Kfax", 11),
        Text("Kfax2", 11),
        Text("Kemail", 27),
        Text("Fnev", 30),
        Text("Fcim", 60),
        Text("Ftel", 20),
        Text("Adosz", 13),
        Text("Ureg", 11),
        Text("Szamlasz", 26),
        Text("Elot", 5),
        Text("Szakirregsz", 40),
        Text("Szaktan", 100),
        Text("Szaktaneng", 30),
        Text("Szaktancim", 70),
    }, 1, {}, true,
    "Key: an added AutoInc Id, the order in which the rows were written; the farm row and the "
    "option rows (Nev = the option's name) share the table."};
}

TableDef Alapadat2() {
    return {"Alapadat2", {
        AutoInc("Id"),
        Text("Cegiranyito", 4),
        Text("Cegcim", 200),
        Text("Egy1", 200),
        Text("Egy2", 200),
    }, 1, {}, true, ""};
}

// The tables outside the inventory, in this order.
constexpr std::array<const char*, 3> kOutside = {"celprogramok", "Akgmuvag", "szlatet"};

// The tables that take rows with every operation or stock movement. With the 2 KiB
// blocks Paradox picks for their short rows a table is full at 65535 blocks (about
// 196 000 operations in ElvMuv); 16 KiB blocks hold eight times as many rows.
constexpr std::array<const char*, 12> kHighVolume = {
    "ElvMuv",     "felhanyag",  "Raktarmozgas", "Munkavegz", "Ontozes",     "muv_novmegf",
    "legnaplo",   "Tervelvmuv", "Tervfanyag",   "Tervrmozgas", "Tervmunkas", "Tervontozes",
};

// clang-format on

std::vector<TableDef> Assemble() {
    std::vector<TableDef> all = {Set(), Alapadatok(), Alapadat2()};
    for (auto part : {RegisterTables(), ResourceTables(), OperationTables()})
        std::move(part.begin(), part.end(), std::back_inserter(all));

    std::vector<TableDef> ordered;
    auto take = [&](std::string_view name) {
        auto it =
            std::find_if(all.begin(), all.end(), [&](const TableDef& t) { return t.name == name; });
        if (it == all.end())
            throw std::logic_error("catalogue: no table " + std::string(name));
        ordered.push_back(std::move(*it));
        all.erase(it);
    };
    // The database's tables in the order of its file inventory (backup order).
    for (const InventoryTable& table : Inventory())
        take(table.name);
    for (const char* name : kOutside)
        take(name);
    if (!all.empty())
        throw std::logic_error("catalogue: table " + all.front().name + " is in no list");
    for (TableDef& table : ordered)
        if (std::find_if(kHighVolume.begin(), kHighVolume.end(),
                         [&](const char* name) { return table.name == name; }) != kHighVolume.end())
            table.minBlockKiB = 16;
    return ordered;
}

} // namespace

} // namespace cat

const std::vector<TableDef>& Catalogue() {
    static const std::vector<TableDef> tables = cat::Assemble();
    return tables;
}

const TableDef* FindTable(std::string_view name) {
    if (name.size() > 3 && sys::equalsNoCase(name.substr(name.size() - 3), ".db"))
        name.remove_suffix(3);
    for (const auto& table : Catalogue())
        if (sys::equalsNoCase(table.name, name))
            return &table;
    return nullptr;
}

const std::vector<db::FieldDef>* DefinedFields(std::string_view table) {
    const TableDef* def = FindTable(table);
    return def ? &def->fields : nullptr;
}

const db::Domain& FieldDomain(std::string_view table, std::string_view field) {
    static const db::Domain none;
    if (const TableDef* def = FindTable(table))
        for (const auto& f : def->fields)
            if (sys::equalsNoCase(f.name, field))
                return f.domain;
    return none;
}

} // namespace core
