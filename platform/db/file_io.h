#pragma once
// The POSIX calls the pager needs, behind a file handle that owns its descriptor.
// Every failure throws DbError naming the file.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

namespace db::io {

class File {
public:
    File() = default;
    ~File();
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    // open(2) with `flags` (O_CREAT creates with mode 0644).
    static File open(const std::filesystem::path& path, int flags);
    // As open(), but an absent file gives nullopt instead of an error.
    static std::optional<File> openIfExists(const std::filesystem::path& path, int flags);

    bool isOpen() const { return fd_ >= 0; }
    const std::filesystem::path& path() const { return path_; }
    void close();

    std::uint64_t size() const;
    // Fills `out` from `offset`; a file that ends first is an error.
    void readExact(std::uint64_t offset, std::span<std::uint8_t> out) const;
    std::vector<std::uint8_t> readAll() const;
    void writeAll(std::uint64_t offset, std::span<const std::uint8_t> bytes) const;
    void truncate(std::uint64_t size) const;
    void sync() const;

private:
    File(int fd, std::filesystem::path path) : fd_(fd), path_(std::move(path)) {}
    int fd_ = -1;
    std::filesystem::path path_;
};

// Makes the directory's entries (created, removed files) durable.
void syncDirectory(const std::filesystem::path& dir);
// unlink(2); false when the file was already absent.
bool removeFile(const std::filesystem::path& path);
// The directory holding `path` ("." for a bare name).
std::filesystem::path directoryOf(const std::filesystem::path& path);

} // namespace db::io
