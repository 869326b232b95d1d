#pragma once
// File copies that never leave a target half written: each copy is written beside its
// target under a temporary name and forced to disk, and only then renamed over the
// target, so the target is always either its old complete version or the new one.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace sys {

// A copy that failed; what() reads "<file>: <problem>" naming the file at fault.
class FileCopyError : public std::runtime_error {
public:
    FileCopyError(const std::filesystem::path& file, const std::string& problem)
        : std::runtime_error(file.filename().string() + ": " + problem), file_(file),
          problem_(problem) {}
    const std::filesystem::path& file() const { return file_; }
    const std::string& problem() const { return problem_; }

private:
    std::filesystem::path file_;
    std::string problem_;
};

// The temporary a copy to `target` is written under: "<target>.part", in its folder.
std::filesystem::path temporaryCopyName(const std::filesystem::path& target);

// Copies `from` over `to` through its temporary name. On failure `to` is as before, the
// temporary is removed and FileCopyError names the file at fault.
void copyFileSafely(const std::filesystem::path& from, const std::filesystem::path& to);

struct FileCopy {
    std::filesystem::path from;
    std::filesystem::path to;
};

// Called after each file of a set is copied: how many of how many.
using CopyProgress = std::function<void(std::size_t done, std::size_t total)>;

struct CopyFailure {
    std::size_t index = 0; // the copy of the set that failed
    std::string problem;
};

// Copies a set of files as one: every file is first copied to its temporary name, and
// only when all copies are complete are they renamed over their targets. When a copy
// fails no target is touched, the temporaries are removed and the failure says which
// copy failed and why. (A rename failing, which only a broken file system does, stops
// there: the targets before it are already replaced.)
std::optional<CopyFailure> copyFileSet(const std::vector<FileCopy>& files,
                                       const CopyProgress& progress = {});

// Writes `bytes` as the whole content of `to` through its temporary name: on failure
// `to` is as before, the temporary is removed and FileCopyError names the file at fault.
void writeFileSafely(const std::filesystem::path& to, std::string_view bytes);

// Renames `from` to `to` only when nothing bears the name `to` yet (the check and the
// rename are one step of the file system); otherwise, or when the rename fails,
// FileCopyError names the file at fault and `from` keeps its name.
void renameWithoutReplacing(const std::filesystem::path& from, const std::filesystem::path& to);

} // namespace sys
