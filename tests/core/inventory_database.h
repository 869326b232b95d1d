#pragma once
// A database of every inventory table for the maintenance tests: each table has the
// index files its inventory entry lists, and the option and machine tables have the
// fields the settings form and the deletion of all data write.

#include "platform/db/session.h"

#include <filesystem>
#include <map>
#include <string>

namespace testcore {

// Creates the 68 tables in the session's folder. Every table is keyed on `Kod` (text 6)
// with text fields `Nev`, `F0`..`F2`; as many named indexes as its inventory entry has
// ".xgN" files; Alapadatok (`Nev`, `Cim`), Erogepek (`Gepkod`, `Gepnev`, `Geptip`,
// `Tul`) and Munkagepek (`Gepkod`, `Gepnev`, `Tipus`, `Tul`) in their own layouts.
// `Tablak` and `vizkivet` are spelled with ".DB", so their companions are upper case.
// With `familyFiles`, the .fam and .tv files the inventory lists are written too.
void CreateInventoryTables(db::Session& session, bool familyFiles);

// Adds `rows` rows to a table made by CreateInventoryTables (codes from `first`).
void AddRows(db::Session& session, const std::string& table, int rows, int first = 100000);
int RowCount(db::Session& session, const std::string& table);

// Every regular file of a folder (not its sub-folders): name -> contents.
std::map<std::string, std::string> Snapshot(const std::filesystem::path& folder);

// The engine's own files beside the tables, no part of the database: the empty journals
// kept between changes and the stamps of the indexes found agreeing.
bool IsEngineFile(const std::filesystem::directory_entry& entry);

} // namespace testcore
