#include "platform/db/table_lock.h"

#include "platform/db/error.h"
#include "platform/sys/file_lock.h"

#include <map>
#include <mutex>
#include <optional>
#include <sys/stat.h>
#include <system_error>
#include <utility>

namespace fs = std::filesystem;

namespace db {

struct TableLock::Entry {
    sys::FileLock file;
    int shared = 0;
    int exclusive = 0;
    explicit Entry(const fs::path& path) : file(path) {}
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
    const bool held = side == Side::Shared ? e.shared + e.exclusive > 0 : e.exclusive > 0;
    if (!held) {
        const auto mode =
            side == Side::Shared ? sys::FileLock::Mode::Shared : sys::FileLock::Mode::Exclusive;
        if (!e.file.lock(mode, waitLimit())) {
            if (e.shared > 0) // a failed conversion may have let the shared side go
                e.file.lock(sys::FileLock::Mode::Shared, waitLimit());
            throw DbError(path_, "the table is busy: another program is saving into it");
        }
    }
    ++(side == Side::Shared ? e.shared : e.exclusive);
}

void TableLock::release(Side side) {
    Entry& e = *entry_;
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
