#pragma once
// Tables of the application core for the tests, made with the layouts the forms use:
// the settings, the farm's basic data, and an older database that lacks the columns of
// version 3.05 (a few rows in each table).

#include "platform/db/session.h"

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace coretest {

db::FieldDef Text(const std::string& name, int size);
db::FieldDef Field(const std::string& name, db::FieldType type);

void MakeSet(db::Session& session);
void MakeAlapadatok(db::Session& session);
void MakeAlapadat2(db::Session& session);
void MakeTablak(db::Session& session);
void MakeFelhanyag(db::Session& session);

// Every table the upgrade and the start checks touch, in an older layout, with rows.
void MakeOldDatabase(db::Session& session);
// The tables MakeOldDatabase makes.
std::vector<std::string> OldDatabaseTables();

// The field names of a table, in file order.
std::vector<std::string> FieldNames(db::Session& session, const std::string& table);
// Every row of a table, each as its fields' texts joined by '|'.
std::vector<std::string> Rows(db::Session& session, const std::string& table);
// The bytes of every file in the working directory, by name.
std::map<std::string, std::string> FileBytes(const std::filesystem::path& dir = ".");

} // namespace coretest
