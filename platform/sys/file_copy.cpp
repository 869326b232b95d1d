#include "platform/sys/file_copy.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace sys {

namespace {

// An open descriptor, closed when it goes.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    // Closes now, so that a failed close (a delayed write error) is seen.
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

[[noreturn]] void fail(const fs::path& file) {
    throw FileCopyError(file, std::strerror(errno));
}

void writeAll(int fd, const char* data, std::size_t size, const fs::path& file) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            fail(file);
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
}

void copyContents(int in, int out, const fs::path& from, const fs::path& to) {
    std::vector<char> buffer(1 << 16);
    for (;;) {
        const ssize_t got = ::read(in, buffer.data(), buffer.size());
        if (got < 0) {
            if (errno == EINTR)
                continue;
            fail(from);
        }
        if (got == 0)
            return;
        writeAll(out, buffer.data(), static_cast<std::size_t>(got), to);
    }
}

// Writes the copy of `from` under `temporary` and forces it to disk.
void writeTemporary(const fs::path& from, const fs::path& temporary) {
    Descriptor in(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
    if (in.get() < 0)
        fail(from);
    struct stat info {};
    if (::fstat(in.get(), &info) != 0)
        fail(from);
    if (!S_ISREG(info.st_mode))
        throw FileCopyError(from, "not a regular file");
    ::unlink(temporary.c_str()); // a stale temporary of an earlier, interrupted copy
    Descriptor out(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (out.get() < 0)
        fail(temporary);
    copyContents(in.get(), out.get(), from, temporary);
    if (::fsync(out.get()) != 0 || !out.close())
        fail(temporary);
}

fs::path folderOf(const fs::path& file) {
    const fs::path folder = file.parent_path();
    return folder.empty() ? fs::path(".") : folder;
}

// Makes the renames in a folder durable; a file system that cannot sync a folder keeps
// them anyway, so a failure here is not one of the copy.
void syncFolder(const fs::path& folder) {
    Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0)
        ::fsync(dir.get());
}

// Removes a temporary copy; never something else that happens to bear its name.
void removeTemporary(const fs::path& temporary) {
    std::error_code ignored;
    if (fs::is_regular_file(fs::symlink_status(temporary, ignored)))
        fs::remove(temporary, ignored);
}

void copyToTemporary(const FileCopy& copy) {
    const fs::path temporary = temporaryCopyName(copy.to);
    try {
        writeTemporary(copy.from, temporary);
    } catch (...) {
        removeTemporary(temporary);
        throw;
    }
}

void putInPlace(const FileCopy& copy) {
    if (std::rename(temporaryCopyName(copy.to).c_str(), copy.to.c_str()) != 0)
        fail(copy.to);
}

void removeTemporaries(const std::vector<FileCopy>& files, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        removeTemporary(temporaryCopyName(files[i].to));
}

} // namespace

fs::path temporaryCopyName(const fs::path& target) {
    return target.parent_path() / (target.filename().string() + ".part");
}

namespace {

// The system's error in the user's words, for the failures of writing a user's file.
std::string problemText(int error) {
    switch (error) {
    case EACCES:
    case EPERM:
        return "nincs írási jog";
    case EROFS:
        return "csak olvasható a mappa";
    case ENOSPC:
    case EDQUOT:
        return "megtelt a lemez";
    case ENOENT:
    case ENOTDIR:
        return "nincs ilyen mappa";
    case EEXIST:
        return "már van ilyen nevű fájl";
    default:
        return std::strerror(error);
    }
}

[[noreturn]] void failInWords(const fs::path& file) {
    throw FileCopyError(file, problemText(errno));
}

} // namespace

void writeFileSafely(const fs::path& to, std::string_view bytes) {
    // A temporary name of its own beside the target, so that nothing of that name is
    // ever removed or written over.
    std::string pattern = to.string() + ".XXXXXX";
    Descriptor out(::mkstemp(pattern.data()));
    if (out.get() < 0)
        failInWords(to);
    const fs::path temporary = pattern;
    try {
        if (::fchmod(out.get(), 0644) != 0)
            failInWords(to);
        try {
            writeAll(out.get(), bytes.data(), bytes.size(), to);
        } catch (const FileCopyError&) {
            failInWords(to);
        }
        if (::fsync(out.get()) != 0 || !out.close())
            failInWords(to);
        if (std::rename(temporary.c_str(), to.c_str()) != 0)
            failInWords(to);
    } catch (...) {
        removeTemporary(temporary);
        throw;
    }
    syncFolder(folderOf(to));
}

void renameWithoutReplacing(const fs::path& from, const fs::path& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return;
    if (errno == EEXIST)
        failInWords(to);
    if (errno != EINVAL && errno != ENOSYS)
        failInWords(from);
    // A file system without the one-step rename: a hard link refuses an existing name too.
    if (::link(from.c_str(), to.c_str()) != 0)
        failInWords(to);
    if (::unlink(from.c_str()) != 0) {
        const int error = errno;
        ::unlink(to.c_str());
        throw FileCopyError(from, problemText(error));
    }
}

void copyFileSafely(const fs::path& from, const fs::path& to) {
    const FileCopy copy{from, to};
    copyToTemporary(copy);
    try {
        putInPlace(copy);
    } catch (...) {
        removeTemporaries({copy}, 1);
        throw;
    }
    syncFolder(folderOf(to));
}

std::optional<CopyFailure> copyFileSet(const std::vector<FileCopy>& files,
                                       const CopyProgress& progress) {
    for (std::size_t i = 0; i < files.size(); ++i) {
        try {
            copyToTemporary(files[i]);
        } catch (const FileCopyError& error) {
            removeTemporaries(files, i);
            return CopyFailure{i, error.what()};
        }
        if (progress)
            progress(i + 1, files.size());
    }
    std::set<fs::path> folders;
    for (std::size_t i = 0; i < files.size(); ++i) {
        try {
            putInPlace(files[i]);
        } catch (const FileCopyError& error) {
            removeTemporaries(files, files.size());
            return CopyFailure{i, error.what()};
        }
        folders.insert(folderOf(files[i].to));
    }
    for (const fs::path& folder : folders)
        syncFolder(folder);
    return std::nullopt;
}

} // namespace sys
