#pragma once
// Zip archives of a folder, written with libzip.

#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace sys {

// An archive that could not be written; what() reads "<archive>: <problem>".
class ArchiveError : public std::runtime_error {
public:
    ArchiveError(const std::filesystem::path& archive, const std::string& problem)
        : std::runtime_error(archive.filename().string() + ": " + problem), archive_(archive),
          problem_(problem) {}
    const std::filesystem::path& archive() const { return archive_; }
    const std::string& problem() const { return problem_; }

private:
    std::filesystem::path archive_;
    std::string problem_;
};

// Called while the archive is written, with the part done (0 to 1).
using ArchiveProgress = std::function<void(double done)>;

// Writes `archive` holding the folder entry "<entryFolder>/" and every regular file of
// `folder` as "<entryFolder>/<file name>", in name order, compressed: what an archiver
// given "<entryFolder> <entryFolder>/*.*" stores. The archive is written under a
// temporary name and renamed when complete, so an old archive of that name is replaced
// only by a complete one. Throws ArchiveError naming the archive; a missing folder is one.
void zipFolder(const std::filesystem::path& archive, const std::filesystem::path& folder,
               const std::string& entryFolder, const ArchiveProgress& progress = {});

// The entry names of a zip archive, in archive order. Throws ArchiveError.
std::vector<std::string> zipEntries(const std::filesystem::path& archive);
// The contents of one entry. Throws ArchiveError when there is none of that name.
std::string zipEntryContents(const std::filesystem::path& archive, const std::string& entry);

} // namespace sys
