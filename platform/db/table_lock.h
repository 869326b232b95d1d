#pragma once
// The commit lock of a table: an advisory lock on its data file. A commit (and the
// rolling back of a journal left by a crash) holds the exclusive side; a reader holds
// the shared side while it reads, so that it never sees a commit half done and never
// rolls back a journal under a live writer. A table open for writing holds the writer's
// side for as long as it is open (a lock of its own on the data file, which neither the
// readers nor the commits meet), so that two processes never change one table each from
// its own view of it.
//
// The operating system's lock belongs to one descriptor, so the holders within this
// process share one descriptor per data file and count their holds: they never wait
// for each other (the program's sessions are cooperative), only for other processes.

#include <chrono>
#include <filesystem>
#include <memory>

namespace db {

class TableLock {
public:
    enum class Side { Shared, Exclusive, Writer };

    explicit TableLock(const std::filesystem::path& dbPath);
    ~TableLock();
    TableLock(const TableLock&) = delete;
    TableLock& operator=(const TableLock&) = delete;

    // Waits for the side while another process holds a conflicting one; after
    // waitLimit() throws DbError naming the table as busy.
    void acquire(Side side);
    void release(Side side);

    const std::filesystem::path& path() const { return path_; }

    // How long a holder waits for another process: a few seconds, as commits are short.
    static std::chrono::milliseconds waitLimit();
    static void setWaitLimit(std::chrono::milliseconds limit); // tests

    // Holds a side for a scope.
    class Hold {
    public:
        Hold(TableLock& lock, Side side) : lock_(&lock), side_(side) { lock.acquire(side); }
        Hold(TableLock* lock, Side side) : lock_(lock), side_(side) {
            if (lock_)
                lock_->acquire(side);
        }
        ~Hold() { reset(); }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;
        void reset() {
            if (lock_)
                lock_->release(side_);
            lock_ = nullptr;
        }

    private:
        TableLock* lock_;
        Side side_;
    };

    struct Entry;

private:
    void acquireWriter();
    std::filesystem::path path_;
    std::shared_ptr<Entry> entry_;
};

} // namespace db
