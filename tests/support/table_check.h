#pragma once
// Structural checks of a table as written by the engine: the oracle reader agrees with
// our reader, its raw walk finds no problem, and the .px matches the data blocks.

#include "platform/db/table_file.h"

#include <filesystem>
#include <string>

namespace testenv {

// Runs both dumps and returns "" when they agree and pxdump -r reports nothing, or a
// description of the first difference. Without the oracle it returns "" and marks the
// test skipped (testenv::markMissing).
std::string compareWithOracle(const std::filesystem::path& db);

// Walks the .px from its root and checks every level against the data block chain:
// first keys, block numbers, record counts. Returns "" or the first problem.
std::string checkPrimaryIndex(const db::TableFile& table);

} // namespace testenv
