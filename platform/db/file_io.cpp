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

class PosixFile final : public FileHandle {
public:
    PosixFile(int fd, fs::path path, bool directory)
        : fd_(fd), path_(std::move(path)), directory_(directory) {}
    ~PosixFile() override {
        ::close(fd_); // nothing to report: the data went out through write/fsync
    }
    PosixFile(const PosixFile&) = delete;
    PosixFile& operator=(const PosixFile&) = delete;

    std::uint64_t size() const override {
        struct stat st {};
        if (::fstat(fd_, &st) != 0)
            fail(path_, "cannot stat", errno);
        return static_cast<std::uint64_t>(st.st_size);
    }

    std::size_t readAt(std::uint64_t offset, std::span<std::uint8_t> out) const override {
        std::size_t done = 0;
        while (done < out.size()) {
            const ssize_t n =
                ::pread(fd_, out.data() + done, out.size() - done, toOffset(path_, offset + done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                fail(path_, "read failed", errno);
            if (n == 0)
                break;
            done += static_cast<std::size_t>(n);
        }
        return done;
    }

    void writeAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) override {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::pwrite(fd_, bytes.data() + done, bytes.size() - done,
                                       toOffset(path_, offset + done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                fail(path_, "write failed", errno);
            done += static_cast<std::size_t>(n);
        }
    }

    void truncate(std::uint64_t size) override {
        int rc = 0;
        do
            rc = ::ftruncate(fd_, toOffset(path_, size));
        while (rc != 0 && errno == EINTR);
        if (rc != 0)
            fail(path_, "cannot set size", errno);
    }

    // A file's data and what reading it back needs (its size) go to the disk, not its
    // times (fdatasync spares the file system's journal a commit for an overwrite in
    // place); a folder's entries need fsync.
    void sync() override {
        if ((directory_ ? ::fsync(fd_) : ::fdatasync(fd_)) != 0)
            fail(path_, "cannot flush to disk", errno);
    }

    // Errors are left to the sync that follows: this one does not wait for the writes.
    void startWriteback() override {
        if (!directory_)
            (void)::sync_file_range(fd_, 0, 0, SYNC_FILE_RANGE_WRITE);
    }

    // A duplicate of the descriptor: its reads (pread, no shared position) are the
    // file's own, whatever this handle does later.
    std::unique_ptr<FileHandle> reader() const override {
        const int fd = ::fcntl(fd_, F_DUPFD_CLOEXEC, 0);
        if (fd < 0)
            return nullptr; // out of descriptors: the caller reads without
        return std::make_unique<PosixFile>(fd, path_, directory_);
    }

private:
    int fd_;
    fs::path path_;
    bool directory_;
};

class PosixVfs final : public Vfs {
public:
    std::unique_ptr<FileHandle> open(const fs::path& path, int flags) override {
        int fd = -1;
        do
            fd = ::open(path.c_str(), flags | O_CLOEXEC, 0644);
        while (fd < 0 && errno == EINTR);
        if (fd >= 0)
            return std::make_unique<PosixFile>(fd, path, (flags & O_DIRECTORY) != 0);
        if (errno == ENOENT && !(flags & O_CREAT))
            return nullptr;
        fail(path, "cannot open", errno);
    }

    bool remove(const fs::path& path) override {
        if (::unlink(path.c_str()) == 0)
            return true;
        if (errno == ENOENT)
            return false;
        fail(path, "cannot delete", errno);
    }

    void rename(const fs::path& from, const fs::path& to) override {
        if (::rename(from.c_str(), to.c_str()) != 0)
            fail(from, "cannot rename to " + to.filename().string(), errno);
    }

    void syncDirectory(const fs::path& dir) override {
        const auto folder = open(dir, O_RDONLY | O_DIRECTORY);
        if (!folder)
            fail(dir, "cannot open", ENOENT);
        folder->sync();
    }
};

} // namespace

Vfs& realVfs() {
    static PosixVfs vfs;
    return vfs;
}

File File::open(const fs::path& path, int flags, Vfs& vfs) {
    auto file = openIfExists(path, flags, vfs);
    if (!file)
        fail(path, "cannot open", ENOENT);
    return std::move(*file);
}

std::optional<File> File::openIfExists(const fs::path& path, int flags, Vfs& vfs) {
    auto handle = vfs.open(path, flags);
    if (!handle)
        return std::nullopt;
    return File(std::move(handle), path);
}

void File::readExact(std::uint64_t offset, std::span<std::uint8_t> out) const {
    if (handle_->readAt(offset, out) != out.size())
        throw DbError(path_, "file ends before offset " + std::to_string(offset + out.size()));
}

std::vector<std::uint8_t> File::readAll() const {
    std::vector<std::uint8_t> bytes(size());
    readExact(0, bytes);
    return bytes;
}

void syncDirectory(const fs::path& dir, Vfs& vfs) {
    vfs.syncDirectory(dir);
}

bool removeFile(const fs::path& path, Vfs& vfs) {
    return vfs.remove(path);
}

fs::path directoryOf(const fs::path& path) {
    return path.has_parent_path() ? path.parent_path() : fs::path(".");
}

} // namespace db::io
