// A minimal stand-in for the pager: reads through pread, keeps the writes of a
// transaction in memory and writes them out at commit. It keeps no journal; the real
// pager replaces this file.

#include "platform/db/pager.h"

#include "platform/db/error.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace fs = std::filesystem;

namespace db {

namespace {

struct PendingWrite {
    std::uint64_t offset;
    std::vector<std::uint8_t> bytes;
};

struct AttachedFile {
    fs::path path;
    int fd = -1; // read-only descriptor; -1 while the file does not exist
    std::uint64_t diskSize = 0;
    std::optional<std::uint64_t> size; // pending size (after truncates and writes)
    std::vector<PendingWrite> writes;
    std::optional<std::uint64_t> truncatedTo; // smallest pending truncate

    AttachedFile() = default;
    AttachedFile(const AttachedFile&) = delete;
    AttachedFile& operator=(const AttachedFile&) = delete;
    AttachedFile(AttachedFile&& o) noexcept
        : path(std::move(o.path)), fd(std::exchange(o.fd, -1)), diskSize(o.diskSize), size(o.size),
          writes(std::move(o.writes)), truncatedTo(o.truncatedTo) {}
    ~AttachedFile() {
        if (fd >= 0)
            ::close(fd);
    }
    std::uint64_t currentSize() const { return size ? *size : diskSize; }
};

std::string errnoText() {
    return std::strerror(errno);
}

void openForRead(AttachedFile& f) {
    if (f.fd >= 0)
        ::close(f.fd);
    f.fd = ::open(f.path.c_str(), O_RDONLY | O_CLOEXEC);
    if (f.fd < 0)
        throw DbError(f.path, "cannot open: " + errnoText());
    struct stat st {};
    if (::fstat(f.fd, &st) != 0)
        throw DbError(f.path, "cannot read its size: " + errnoText());
    f.diskSize = static_cast<std::uint64_t>(st.st_size);
}

} // namespace

struct Pager::Impl {
    fs::path journal;
    Durability durability;
    std::vector<AttachedFile> files;
    bool inTransaction = false;

    AttachedFile& file(int id) {
        if (id < 0 || static_cast<std::size_t>(id) >= files.size())
            throw std::out_of_range("no such pager file");
        return files[static_cast<std::size_t>(id)];
    }
};

Pager::Pager(fs::path journalPath, Durability durability)
    : impl_(std::make_unique<Impl>(Impl{std::move(journalPath), durability, {}, false})) {}

Pager::~Pager() = default;

void Pager::recover(const fs::path& journalPath) {
    std::error_code ec;
    if (fs::exists(journalPath, ec))
        throw DbError(journalPath, "a journal was left by a crash; this build cannot apply it");
}

int Pager::attach(const fs::path& path, bool mayCreate) {
    AttachedFile f;
    f.path = path;
    std::error_code ec;
    if (fs::exists(path, ec))
        openForRead(f);
    else if (!mayCreate)
        throw DbError(path, "no such file");
    impl_->files.push_back(std::move(f));
    return static_cast<int>(impl_->files.size() - 1);
}

const fs::path& Pager::path(int file) const {
    return impl_->file(file).path;
}

std::uint64_t Pager::size(int file) const {
    return impl_->file(file).currentSize();
}

void Pager::read(int file, std::uint64_t offset, std::span<std::uint8_t> out) const {
    AttachedFile& f = impl_->file(file);
    const std::uint64_t size = f.currentSize();
    if (offset > size || out.size() > size - offset)
        throw DbError(f.path, "read of " + std::to_string(out.size()) + " bytes at " +
                                  std::to_string(offset) + " runs past the end of the file");
    // Disk bytes that survive the pending truncates, then the pending writes on top.
    const std::uint64_t diskLimit = std::min(f.diskSize, f.truncatedTo.value_or(f.diskSize));
    std::fill(out.begin(), out.end(), std::uint8_t{0});
    if (f.fd >= 0 && offset < diskLimit) {
        const std::size_t n =
            static_cast<std::size_t>(std::min<std::uint64_t>(out.size(), diskLimit - offset));
        std::size_t done = 0;
        while (done < n) {
            const ssize_t r =
                ::pread(f.fd, out.data() + done, n - done, static_cast<off_t>(offset + done));
            if (r < 0 && errno == EINTR)
                continue;
            if (r <= 0)
                throw DbError(f.path, "cannot read: " + (r < 0 ? errnoText() : "unexpected end"));
            done += static_cast<std::size_t>(r);
        }
    }
    for (const PendingWrite& w : f.writes) {
        const std::uint64_t begin = std::max(offset, w.offset);
        const std::uint64_t end = std::min(offset + out.size(), w.offset + w.bytes.size());
        if (begin < end)
            std::memcpy(out.data() + (begin - offset), w.bytes.data() + (begin - w.offset),
                        static_cast<std::size_t>(end - begin));
    }
}

std::vector<std::uint8_t> Pager::read(int file, std::uint64_t offset, std::size_t length) const {
    std::vector<std::uint8_t> out(length);
    read(file, offset, out);
    return out;
}

void Pager::begin() {
    if (impl_->inTransaction)
        throw std::logic_error("a transaction is already open");
    impl_->inTransaction = true;
}

bool Pager::inTransaction() const {
    return impl_->inTransaction;
}

void Pager::write(int file, std::uint64_t offset, std::span<const std::uint8_t> bytes) {
    if (!impl_->inTransaction)
        throw std::logic_error("write outside a transaction");
    AttachedFile& f = impl_->file(file);
    f.writes.push_back({offset, std::vector<std::uint8_t>(bytes.begin(), bytes.end())});
    f.size = std::max(f.currentSize(), offset + bytes.size());
}

void Pager::truncate(int file, std::uint64_t newSize) {
    if (!impl_->inTransaction)
        throw std::logic_error("truncate outside a transaction");
    AttachedFile& f = impl_->file(file);
    // Cut pending writes past the new end.
    for (PendingWrite& w : f.writes) {
        if (w.offset >= newSize)
            w.bytes.clear();
        else if (w.offset + w.bytes.size() > newSize)
            w.bytes.resize(static_cast<std::size_t>(newSize - w.offset));
    }
    f.truncatedTo = std::min(f.truncatedTo.value_or(newSize), newSize);
    f.size = newSize;
}

void Pager::commit() {
    if (!impl_->inTransaction)
        throw std::logic_error("commit outside a transaction");
    for (AttachedFile& f : impl_->files) {
        if (!f.size)
            continue;
        const int fd = ::open(f.path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0)
            throw DbError(f.path, "cannot open for writing: " + errnoText());
        bool ok = true;
        if (f.truncatedTo)
            ok = ::ftruncate(fd, static_cast<off_t>(*f.truncatedTo)) == 0;
        for (const PendingWrite& w : f.writes) {
            std::size_t done = 0;
            while (ok && done < w.bytes.size()) {
                const ssize_t r = ::pwrite(fd, w.bytes.data() + done, w.bytes.size() - done,
                                           static_cast<off_t>(w.offset + done));
                if (r < 0 && errno == EINTR)
                    continue;
                ok = r > 0;
                done += r > 0 ? static_cast<std::size_t>(r) : 0;
            }
        }
        if (ok)
            ok = ::ftruncate(fd, static_cast<off_t>(*f.size)) == 0;
        if (ok && impl_->durability == Durability::Fsync)
            ok = ::fsync(fd) == 0;
        const std::string error = ok ? "" : errnoText();
        ::close(fd);
        if (!ok)
            throw DbError(f.path, "cannot write: " + error);
        f.writes.clear();
        f.truncatedTo.reset();
        f.size.reset();
        openForRead(f);
    }
    impl_->inTransaction = false;
}

void Pager::rollback() {
    for (AttachedFile& f : impl_->files) {
        f.writes.clear();
        f.truncatedTo.reset();
        f.size.reset();
    }
    impl_->inTransaction = false;
}

Durability Pager::durability() const {
    return impl_->durability;
}

} // namespace db
