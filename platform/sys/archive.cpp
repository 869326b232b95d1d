#include "platform/sys/archive.h"

#include "platform/sys/file_copy.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <unistd.h>
#include <zip.h>

namespace fs = std::filesystem;

namespace sys {

namespace {

struct ArchiveCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
using OpenArchive = std::unique_ptr<zip_t, ArchiveCloser>;

std::string ErrorOf(zip_t* archive) {
    return zip_strerror(archive);
}

std::string ErrorOf(int code) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    std::string text = zip_error_strerror(&error);
    zip_error_fini(&error);
    return text;
}

OpenArchive Open(const fs::path& path, int flags) {
    int code = 0;
    zip_t* archive = zip_open(path.c_str(), flags, &code);
    if (!archive)
        throw ArchiveError(path, ErrorOf(code));
    return OpenArchive(archive);
}

std::vector<fs::path> FilesIn(const fs::path& folder, const fs::path& archive) {
    std::error_code error;
    if (!fs::is_directory(folder, error))
        throw ArchiveError(archive, "no folder " + folder.string());
    std::vector<fs::path> files;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        if (it->is_regular_file())
            files.push_back(it->path());
    if (error)
        throw ArchiveError(archive, folder.string() + ": " + error.message());
    std::sort(files.begin(), files.end());
    return files;
}

void AddFile(zip_t* archive, const fs::path& file, const std::string& entry,
             const fs::path& archivePath) {
    zip_source_t* source = zip_source_file(archive, file.c_str(), 0, -1);
    if (!source)
        throw ArchiveError(archivePath, file.filename().string() + ": " + ErrorOf(archive));
    if (zip_file_add(archive, entry.c_str(), source, ZIP_FL_ENC_UTF_8) < 0) {
        zip_source_free(source);
        throw ArchiveError(archivePath, file.filename().string() + ": " + ErrorOf(archive));
    }
}

void ReportProgress(zip_t*, double done, void* state) {
    (*static_cast<const ArchiveProgress*>(state))(done);
}

// Forces the finished archive to disk before it takes the final name.
void SyncFile(const fs::path& file, const fs::path& archive) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw ArchiveError(archive, std::strerror(errno));
    const bool synced = ::fsync(fd) == 0;
    const int error = errno;
    ::close(fd);
    if (!synced)
        throw ArchiveError(archive, std::strerror(error));
}

void WriteArchive(const fs::path& temporary, const fs::path& archive,
                  const std::vector<fs::path>& files, const std::string& entryFolder,
                  const ArchiveProgress& progress) {
    OpenArchive zip = Open(temporary, ZIP_CREATE | ZIP_TRUNCATE);
    if (zip_dir_add(zip.get(), entryFolder.c_str(), ZIP_FL_ENC_UTF_8) < 0)
        throw ArchiveError(archive, ErrorOf(zip.get()));
    for (const fs::path& file : files)
        AddFile(zip.get(), file, entryFolder + "/" + file.filename().string(), archive);
    if (progress)
        zip_register_progress_callback_with_state(zip.get(), 0.01, ReportProgress, nullptr,
                                                  const_cast<ArchiveProgress*>(&progress));
    if (zip_close(zip.get()) != 0)
        throw ArchiveError(archive, ErrorOf(zip.get()));
    zip.release(); // closed
    SyncFile(temporary, archive);
}

} // namespace

void zipFolder(const fs::path& archive, const fs::path& folder, const std::string& entryFolder,
               const ArchiveProgress& progress) {
    const std::vector<fs::path> files = FilesIn(folder, archive);
    const fs::path temporary = temporaryCopyName(archive);
    std::error_code ignored;
    fs::remove(temporary, ignored);
    try {
        WriteArchive(temporary, archive, files, entryFolder, progress);
    } catch (...) {
        fs::remove(temporary, ignored);
        throw;
    }
    fs::rename(temporary, archive, ignored);
    if (ignored) {
        fs::remove(temporary, ignored);
        throw ArchiveError(archive, ignored.message());
    }
}

std::vector<std::string> zipEntries(const fs::path& archive) {
    OpenArchive zip = Open(archive, ZIP_RDONLY | ZIP_CHECKCONS);
    std::vector<std::string> names;
    const zip_int64_t count = zip_get_num_entries(zip.get(), 0);
    for (zip_int64_t i = 0; i < count; ++i)
        names.emplace_back(zip_get_name(zip.get(), static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW));
    return names;
}

std::string zipEntryContents(const fs::path& archive, const std::string& entry) {
    OpenArchive zip = Open(archive, ZIP_RDONLY);
    zip_file_t* file = zip_fopen(zip.get(), entry.c_str(), 0);
    if (!file)
        throw ArchiveError(archive, entry + ": " + ErrorOf(zip.get()));
    std::string contents;
    char buffer[1 << 14];
    zip_int64_t got = 0;
    while ((got = zip_fread(file, buffer, sizeof buffer)) > 0)
        contents.append(buffer, static_cast<std::size_t>(got));
    zip_fclose(file);
    if (got < 0)
        throw ArchiveError(archive, entry + ": " + ErrorOf(zip.get()));
    return contents;
}

} // namespace sys
