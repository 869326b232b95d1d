#include "core/index_files.h"

#include "core/catalogue.h"
#include "core/inventory.h"
#include "platform/db/session.h"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace core {

namespace {

bool IsIndexExtension(std::string_view extension) {
    return extension == ".px" || extension.starts_with(".xg") || extension.starts_with(".yg");
}

bool IsFile(const fs::path& path) {
    std::error_code ignored;
    return fs::is_regular_file(path, ignored);
}

std::vector<std::string> MissingOf(const fs::path& folder, const InventoryTable& table) {
    std::vector<std::string> missing;
    for (std::string_view extension : table.extensions) {
        const std::string name = std::string(table.name) + std::string(extension);
        if (IsIndexExtension(extension) && !IsFile(FindDatabaseFile(folder, name)))
            missing.push_back(name);
    }
    return missing;
}

bool Contains(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// The secondary index numbers ('0' ...) with a file missing; the other file of such a
// pair is removed, so that the index is made whole again under its number.
std::vector<char> BreakHalfPairs(const fs::path& folder, const InventoryTable& table,
                                 const std::vector<std::string>& missing) {
    std::vector<char> numbers;
    for (std::string_view extension : table.extensions) {
        if (!extension.starts_with(".xg"))
            continue;
        const char number = extension.back();
        const std::string stem(table.name);
        const std::string x = stem + ".xg" + number, y = stem + ".yg" + number;
        if (!Contains(missing, x) && !Contains(missing, y))
            continue;
        numbers.push_back(number);
        std::error_code ignored;
        fs::remove(FindDatabaseFile(folder, x), ignored);
        fs::remove(FindDatabaseFile(folder, y), ignored);
    }
    return numbers;
}

// Rebuilds one table's missing index files; the files named missing (the other half of a
// pair included).
void RebuildTable(db::Session& session, const InventoryTable& table,
                  const std::vector<std::string>& missing) {
    const fs::path folder = session.directory();
    const std::vector<char> numbers = BreakHalfPairs(folder, table, missing);
    const std::shared_ptr<db::SharedTable> open = session.open(table.name);
    if (Contains(missing, std::string(table.name) + ".px"))
        open->file().rewritePrimaryIndex();
    const TableDef* def = FindTable(table.name);
    if (!def)
        return;
    // The lost indexes are the catalogue's indexes the table no longer has, one for each
    // number freed, made in catalogue order (which gives them their numbers again).
    std::size_t toMake = numbers.size();
    for (const db::IndexDef& index : def->indexes) {
        if (toMake == 0)
            break;
        if (open->index(index.name))
            continue;
        open->addIndex(index);
        --toMake;
    }
}

} // namespace

std::vector<std::string> MissingIndexFiles(db::Session& session) {
    std::vector<std::string> missing;
    for (const InventoryTable& table : Inventory())
        for (std::string& name : MissingOf(session.directory(), table))
            missing.push_back(std::move(name));
    return missing;
}

std::vector<std::string> RebuildMissingIndexFiles(db::Session& session,
                                                  const RebuildProgress& progress) {
    struct Work {
        const InventoryTable* table;
        std::vector<std::string> missing;
    };
    std::vector<Work> work;
    for (const InventoryTable& table : Inventory()) {
        // Only a table whose data file is there: a missing one is refused elsewhere.
        if (!session.exists(table.name))
            continue;
        if (auto missing = MissingOf(session.directory(), table); !missing.empty())
            work.push_back({&table, std::move(missing)});
    }
    std::vector<std::string> rebuilt;
    for (std::size_t i = 0; i < work.size(); ++i) {
        RebuildTable(session, *work[i].table, work[i].missing);
        rebuilt.insert(rebuilt.end(), work[i].missing.begin(), work[i].missing.end());
        if (progress)
            progress(i + 1, work.size());
    }
    return rebuilt;
}

std::string RebuiltIndexMessage(const std::vector<std::string>& files) {
    std::string names;
    for (const std::string& file : files)
        names += (names.empty() ? "" : ", ") + file;
    return "Hiányzó index fájlok készültek újra a táblák adataiból: " + names +
           ".\nAz adatok nem változtak.";
}

} // namespace core
