#include "platform/db/table_lock.h"

#include "platform/db/error.h"
#include "platform/sys/file_lock.h"

#include <cerrno>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <optional>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace fs = std::filesystem;

namespace db {

struct TableLock::Entry {
    sys::FileLock file;
    int shared = 0;
    int exclusive = 0;
    int writers = 0;
    int writerFd = -1; // holds the writer's lock; -1 when none (or none could be taken)
    explicit Entry(const fs::path& path) : file(path) {}
    ~Entry() { dropWriter(); }
    Entry(const Entry&) = delete;
    Entry& operator=(const Entry&) = delete;
    void dropWriter() {
        if (writerFd >= 0)
            ::close(writerFd); // closing the descriptor drops its lock
        writerFd = -1;
    }
};

namespace {

using FileId = std::pair<dev_t, ino_t>;

// The process's descriptors, one per data file (by device and inode, so that every
// spelling of a name meets the same one), kept while a TableLock uses them.
struct Registry {
    std::mutex mutex;
    std::map<FileId, std::weak_ptr<TableLock::Entry>> entries;
    std::chrono::milliseconds waitLimit{5000};
};

Registry& registry() {
    static Registry instance;
    return instance;
}

// The writer's lock: a lock of the descriptor's own (not the process's, so that no other
// descriptor of the file closing drops it) on one byte far past any table's end. Locks of
// this kind and flock(2) never meet, so the readers' and the commits' sides go on as
// before.
constexpr off_t kWriterByte = off_t(1) << 62;

bool tryWriterLock(int fd) {
    struct flock range {};
    range.l_type = F_WRLCK;
    range.l_whence = SEEK_SET;
    range.l_start = kWriterByte;
    range.l_len = 1;
    while (::fcntl(fd, F_OFD_SETLK, &range) != 0) {
        if (errno == EAGAIN || errno == EACCES)
            return false;
        if (errno != EINTR)
            return true; // a file system without such locks: as before, unguarded
    }
    return true;
}

[[noreturn]] void busy(const fs::path& path) {
    throw DbError(path, "a táblát egy másik program használja; próbálja újra később");
}

} // namespace

TableLock::TableLock(const fs::path& dbPath) : path_(dbPath) {
    struct stat st {};
    if (::stat(dbPath.c_str(), &st) != 0)
        throw DbError(dbPath, std::string("cannot lock: ") + std::system_category().message(errno));
    Registry& r = registry();
    const std::lock_guard guard(r.mutex);
    auto& slot = r.entries[{st.st_dev, st.st_ino}];
    entry_ = slot.lock();
    if (!entry_) {
        try {
            entry_ = std::make_shared<Entry>(dbPath);
        } catch (const std::system_error& e) {
            throw DbError(dbPath, std::string("cannot lock: ") + e.what());
        }
        slot = entry_;
    }
}

TableLock::~TableLock() = default;

std::chrono::milliseconds TableLock::waitLimit() {
    const std::lock_guard guard(registry().mutex);
    return registry().waitLimit;
}

void TableLock::setWaitLimit(std::chrono::milliseconds limit) {
    const std::lock_guard guard(registry().mutex);
    registry().waitLimit = limit;
}

void TableLock::acquire(Side side) {
    Entry& e = *entry_;
    if (side == Side::Writer) {
        acquireWriter();
        return;
    }
    const bool held = side == Side::Shared ? e.shared + e.exclusive > 0 : e.exclusive > 0;
    if (!held) {
        const auto mode =
            side == Side::Shared ? sys::FileLock::Mode::Shared : sys::FileLock::Mode::Exclusive;
        if (!e.file.lock(mode, waitLimit())) {
            if (e.shared > 0) // a failed conversion may have let the shared side go
                e.file.lock(sys::FileLock::Mode::Shared, waitLimit());
            busy(path_);
        }
    }
    ++(side == Side::Shared ? e.shared : e.exclusive);
}

// A file that cannot be opened for writing takes no writer's lock: nothing can change it.
void TableLock::acquireWriter() {
    Entry& e = *entry_;
    if (e.writers == 0) {
        int fd = -1;
        do
            fd = ::open(path_.c_str(), O_RDWR | O_CLOEXEC);
        while (fd < 0 && errno == EINTR);
        if (fd >= 0 && !sys::retryFor(waitLimit(), [&] { return tryWriterLock(fd); })) {
            ::close(fd);
            busy(path_);
        }
        e.writerFd = fd;
    }
    ++e.writers;
}

void TableLock::release(Side side) {
    Entry& e = *entry_;
    if (side == Side::Writer) {
        if (e.writers > 0 && --e.writers == 0)
            e.dropWriter();
        return;
    }
    int& count = side == Side::Shared ? e.shared : e.exclusive;
    if (count == 0)
        return;
    --count;
    if (e.exclusive > 0)
        return;
    if (e.shared > 0) {
        if (side == Side::Exclusive) // back to the readers' side
            e.file.lock(sys::FileLock::Mode::Shared, std::chrono::hours(1));
        return;
    }
    e.file.unlock();
}

} // namespace db
