#pragma once
// The index files of the database checked at start-up: every primary (.px) and secondary
// (.xgN/.ygN) index file of the inventory must be there, or the backup fails on it later.
// Index files are derived data, so a missing one is rebuilt from its table; the data
// file is read, never rewritten.

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace db {
class Session;
}

namespace core {

// Called after each table whose index files were rebuilt: how many of how many.
using RebuildProgress = std::function<void(std::size_t done, std::size_t total)>;

// The inventory's index files missing from the working directory ("Tablak.xg1").
std::vector<std::string> MissingIndexFiles(db::Session& session);

// Rebuilds the missing index files from their tables and returns their names (empty when
// none was missing). A secondary index whose pair lost one file is rebuilt whole. Must
// run before the tables are opened. DbError when a table cannot be read.
std::vector<std::string> RebuildMissingIndexFiles(db::Session& session,
                                                  const RebuildProgress& progress = {});

// What the user is told once about the files rebuilt.
std::string RebuiltIndexMessage(const std::vector<std::string>& files);

} // namespace core
