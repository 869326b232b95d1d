#include "platform/db/folder_names.h"

#include "platform/db/table_file.h"

#include <algorithm>
#include <ctime>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace db {

namespace {

// "a/b", "a/b/" and "a/./b" alike.
fs::path normalFolder(const fs::path& dir) {
    return (dir / "x").lexically_normal().parent_path();
}

std::uint64_t nanoseconds(const timespec& t) {
    return static_cast<std::uint64_t>(t.tv_sec) * 1000000000u +
           static_cast<std::uint64_t>(t.tv_nsec);
}

} // namespace

bool settled(const struct stat& st) {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    const std::uint64_t changed = std::max(nanoseconds(st.st_mtim), nanoseconds(st.st_ctim));
    constexpr std::uint64_t kSettled = 100000000; // 100 ms, well past a clock tick
    return nanoseconds(now) >= changed + kSettled;
}

std::vector<std::uint64_t> settledStamp(const fs::path& path) {
    struct stat st {};
    if (::stat(path.empty() ? "." : path.c_str(), &st) != 0 || !settled(st))
        return {};
    return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
            static_cast<std::uint64_t>(st.st_size), nanoseconds(st.st_mtim),
            nanoseconds(st.st_ctim)};
}

bool FolderNames::refresh() {
    std::vector<std::uint64_t> now = settledStamp(dir_);
    if (!now.empty() && now == stamp_)
        return true;
    names_.clear();
    byFolded_.clear();
    std::error_code ec;
    for (fs::directory_iterator it(dir_.empty() ? fs::path(".") : dir_, ec), end; !ec && it != end;
         it.increment(ec)) {
        names_.push_back(it->path().filename().string());
        byFolded_[foldFileName(names_.back())].push_back(names_.back());
    }
    // Kept only when the folder did not change while it was listed.
    stamp_ =
        !now.empty() && settledStamp(dir_) == now ? std::move(now) : std::vector<std::uint64_t>{};
    return !stamp_.empty();
}

const std::vector<std::string>& FolderNames::names() {
    refresh();
    return names_;
}

FolderNames::FolderNames(fs::path dir) : dir_(std::move(dir)), normal_(normalFolder(dir_)) {}

bool FolderNames::holds(const fs::path& dir) const {
    return dir.native() == dir_.native() || normalFolder(dir) == normal_;
}

fs::path findInFolder(FolderNames* folder, const fs::path& dir, const std::string& name) {
    return folder && folder->holds(dir) ? folder->resolve(name) : resolveCaseInsensitive(dir, name);
}

fs::path FolderNames::resolve(const std::string& name) {
    if (!refresh()) // changing now: asked of the folder itself
        return resolveCaseInsensitive(dir_, name);
    const auto found = byFolded_.find(foldFileName(name));
    if (found == byFolded_.end())
        return dir_ / name;
    const auto& spellings = found->second;
    const bool exact = std::find(spellings.begin(), spellings.end(), name) != spellings.end();
    return dir_ / (exact ? name : spellings.front());
}

} // namespace db
