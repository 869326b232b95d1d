#pragma once
// The file layer under the pager, behind one small interface (as SQLite's VFS): open,
// read, write, sync, truncate, rename, remove and directory sync. The program uses the
// real one (POSIX calls); tests put one under it that can fail any call or cut the
// power. Every failure throws DbError naming the file.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace db::io {

// Files are read by copying (pread), never through a mapping: another process may cut a
// table file short at any moment, and a mapped read past the new end ends the program
// (SIGBUS), where a copying read returns short and is reported.

// An open file of a Vfs.
class FileHandle {
public:
    virtual ~FileHandle() = default;
    virtual std::uint64_t size() const = 0;
    // Reads up to out.size() bytes at `offset`; fewer only at the end of the file.
    virtual std::size_t readAt(std::uint64_t offset, std::span<std::uint8_t> out) const = 0;
    virtual void writeAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) = 0;
    virtual void truncate(std::uint64_t size) = 0;
    // Forces the file's content to the disk.
    virtual void sync() = 0;
    // Starts writing the file's changed content to the disk without waiting for it, so
    // that the syncs of several files that follow wait for their writes together. It
    // promises nothing: only sync() makes the content durable.
    virtual void startWriteback() {}
    // A second handle on the same open file that another thread may read while this one
    // is in use and after it is closed; null when the layer has none (the tests' layers).
    virtual std::unique_ptr<FileHandle> reader() const { return nullptr; }
};

class Vfs {
public:
    virtual ~Vfs() = default;
    // open(2) flags (O_RDONLY, O_RDWR, O_WRONLY, O_CREAT, O_EXCL, O_DIRECTORY); O_CREAT
    // creates with mode 0644. Null when the file is absent and not created.
    virtual std::unique_ptr<FileHandle> open(const std::filesystem::path& path, int flags) = 0;
    // False when the file was already absent.
    virtual bool remove(const std::filesystem::path& path) = 0;
    virtual void rename(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
    // Makes the directory's entries (created, removed, renamed files) durable.
    virtual void syncDirectory(const std::filesystem::path& dir) = 0;
};

// The operating system's files.
Vfs& realVfs();

// A file of a Vfs with the reads the pager needs; owns its handle.
class File {
public:
    File() = default;
    File(File&&) noexcept = default;
    File& operator=(File&&) noexcept = default;
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    static File open(const std::filesystem::path& path, int flags, Vfs& vfs = realVfs());
    // As open(), but an absent file gives nullopt instead of an error.
    static std::optional<File> openIfExists(const std::filesystem::path& path, int flags,
                                            Vfs& vfs = realVfs());

    bool isOpen() const { return handle_ != nullptr; }
    const std::filesystem::path& path() const { return path_; }
    void close() { handle_.reset(); }

    std::uint64_t size() const { return handle_->size(); }
    // Fills `out` from `offset`; a file that ends first is an error.
    void readExact(std::uint64_t offset, std::span<std::uint8_t> out) const;
    std::vector<std::uint8_t> readAll() const;
    void writeAll(std::uint64_t offset, std::span<const std::uint8_t> bytes) const {
        handle_->writeAt(offset, bytes);
    }
    void truncate(std::uint64_t size) const { handle_->truncate(size); }
    void sync() const { handle_->sync(); }
    void startWriteback() const { handle_->startWriteback(); }
    std::unique_ptr<FileHandle> reader() const { return handle_ ? handle_->reader() : nullptr; }

private:
    File(std::unique_ptr<FileHandle> handle, std::filesystem::path path)
        : handle_(std::move(handle)), path_(std::move(path)) {}
    std::unique_ptr<FileHandle> handle_;
    std::filesystem::path path_;
};

void syncDirectory(const std::filesystem::path& dir, Vfs& vfs = realVfs());
// False when the file was already absent.
bool removeFile(const std::filesystem::path& path, Vfs& vfs = realVfs());
// The directory holding `path` ("." for a bare name).
std::filesystem::path directoryOf(const std::filesystem::path& path);

} // namespace db::io
