#pragma once
// The names of one folder's files, listed once and kept while the folder stays as it was:
// opening a table looks for its .px, .mb, .jnl and index files in any letter case, and
// listing a folder of a few hundred files for each of them costs more than the open.
// The folder's times move with every file made, removed or renamed in it, and are
// looked at on every use; a listing taken in the clock tick of a change is not kept.

#include <cstdint>
#include <filesystem>
#include <string>
#include <unordered_map>
#include <vector>

struct stat;

namespace db {

// Whether a file (or folder) last changed long enough ago that a change made now would
// move its modification or status-change time: those move in clock ticks, so a stamp
// taken in the tick of a change could stay the same across the next one.
bool settled(const struct stat& st);

// What shows a change of a file or folder, by this process or another: its identity,
// size, and modification and status-change times. Empty when it cannot be looked at or
// has not settled.
std::vector<std::uint64_t> settledStamp(const std::filesystem::path& path);

class FolderNames {
public:
    explicit FolderNames(std::filesystem::path dir);

    const std::filesystem::path& dir() const { return dir_; }
    // Whether `dir` names this folder ("a/b" and "a/b/" do).
    bool holds(const std::filesystem::path& dir) const;
    // Every name in the folder, as spelled on disk.
    const std::vector<std::string>& names();
    // The file `name` spelled as on disk in any letter case; dir/name when there is none
    // (as resolveCaseInsensitive).
    std::filesystem::path resolve(const std::string& name);

private:
    bool refresh(); // lists the folder unless the kept listing is current; whether it is now

    std::filesystem::path dir_;
    std::filesystem::path normal_; // dir_ as holds compares it
    std::vector<std::string> names_;
    // Folded name (foldFileName) -> the names folding to it, in listing order.
    std::unordered_map<std::string, std::vector<std::string>> byFolded_;
    std::vector<std::uint64_t> stamp_; // of the listing kept; empty: none
};

// `name` in `dir` as resolveCaseInsensitive finds it, through `folder` when it holds `dir`.
std::filesystem::path findInFolder(FolderNames* folder, const std::filesystem::path& dir,
                                   const std::string& name);

} // namespace db
