#include "platform/db/file_io.h"

#include "platform/db/error.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace db::io {

namespace {

[[noreturn]] void fail(const fs::path& path, const std::string& what, int err) {
    throw DbError(path, what + ": " + std::strerror(err));
}

off_t toOffset(const fs::path& path, std::uint64_t offset) {
    if (offset > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max()))
        throw DbError(path, "offset " + std::to_string(offset) + " out of range");
    return static_cast<off_t>(offset);
}

} // namespace

File::~File() {
    close();
}

File::File(File&& other) noexcept : fd_(other.fd_), path_(std::move(other.path_)) {
    other.fd_ = -1;
}

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        close();
        fd_ = other.fd_;
        path_ = std::move(other.path_);
        other.fd_ = -1;
    }
    return *this;
}

File File::open(const fs::path& path, int flags) {
    auto file = openIfExists(path, flags);
    if (!file)
        fail(path, "cannot open", ENOENT);
    return std::move(*file);
}

std::optional<File> File::openIfExists(const fs::path& path, int flags) {
    int fd = -1;
    do
        fd = ::open(path.c_str(), flags | O_CLOEXEC, 0644);
    while (fd < 0 && errno == EINTR);
    if (fd >= 0)
        return File(fd, path);
    if (errno == ENOENT)
        return std::nullopt;
    fail(path, "cannot open", errno);
}

void File::close() {
    if (fd_ >= 0)
        ::close(fd_); // nothing to report: the data went out through write/fsync
    fd_ = -1;
}

std::uint64_t File::size() const {
    struct stat st {};
    if (::fstat(fd_, &st) != 0)
        fail(path_, "cannot stat", errno);
    return static_cast<std::uint64_t>(st.st_size);
}

void File::readExact(std::uint64_t offset, std::span<std::uint8_t> out) const {
    std::size_t done = 0;
    while (done < out.size()) {
        const ssize_t n =
            ::pread(fd_, out.data() + done, out.size() - done, toOffset(path_, offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            fail(path_, "read failed", errno);
        if (n == 0)
            throw DbError(path_, "file ends before offset " + std::to_string(offset + out.size()));
        done += static_cast<std::size_t>(n);
    }
}

std::vector<std::uint8_t> File::readAll() const {
    std::vector<std::uint8_t> bytes(size());
    readExact(0, bytes);
    return bytes;
}

void File::writeAll(std::uint64_t offset, std::span<const std::uint8_t> bytes) const {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::pwrite(fd_, bytes.data() + done, bytes.size() - done, toOffset(path_, offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            fail(path_, "write failed", errno);
        done += static_cast<std::size_t>(n);
    }
}

void File::truncate(std::uint64_t size) const {
    int rc = 0;
    do
        rc = ::ftruncate(fd_, toOffset(path_, size));
    while (rc != 0 && errno == EINTR);
    if (rc != 0)
        fail(path_, "cannot set size", errno);
}

void File::sync() const {
    if (::fsync(fd_) != 0)
        fail(path_, "cannot flush to disk", errno);
}

void syncDirectory(const fs::path& dir) {
    File folder = File::open(dir, O_RDONLY | O_DIRECTORY);
    folder.sync();
}

bool removeFile(const fs::path& path) {
    if (::unlink(path.c_str()) == 0)
        return true;
    if (errno == ENOENT)
        return false;
    fail(path, "cannot delete", errno);
}

fs::path directoryOf(const fs::path& path) {
    return path.has_parent_path() ? path.parent_path() : fs::path(".");
}

} // namespace db::io
