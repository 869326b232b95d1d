#pragma once
// The files of one table (.db, .px, .mb, secondary indexes) read and changed through
// one pager. Every change between begin() and commit() reaches the files atomically:
// the original bytes of each region about to be overwritten, and each file's original
// size, go to a rollback journal first; the journal is emptied when the files hold the
// new bytes (the file stays for the next commit). A crash at any instant leaves either
// the journal (the next open restores the files from it, or keeps the change when the
// files hold all of it) or an empty or no journal (the change is complete or never
// started).
//
// The flushes of a commit with Durability::Fsync, each one the protocol needs:
// 1. the journal, before any file is touched: a power cut while the files are overwritten
//    must find the original bytes on the disk. It is written whole and flushed once: its
//    checksum tells one cut short by the power (no file was touched yet) from a whole one;
// 2. every changed file (a post of a keyed table: its .db and its .px, whose header counts
//    every change; a blob file or secondary index when they change), before the commit
//    returns and before the journal is emptied: a returned save must be on the disk, and
//    an emptied journal on the disk while new bytes are still only in the system's cache
//    would leave a half-changed table with nothing to undo it. The writes of all the
//    files are started together before the first sync waits, so that their syncs wait
//    about once.
// The emptied journal is not flushed: the disk may keep the whole journal of a commit
// that returned, but that journal also says what the change leaves in each file (its size
// and a checksum of the bytes it wrote, journal.h), and recovery finding the files
// holding all of it deletes the journal and keeps the change. The next commit's journal
// takes the emptying to the disk, and so does the end of the pager (a journal left on the
// disk once the tables are closed is one of an interrupted change).
// So a single-row post flushes three times and waits twice (the journal; the .db and the
// .px). A file's flush is fdatasync (its times are not needed to read it back); the
// folder is flushed only when a file is made.

#include "file_io.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace db {

class TableLock;

enum class Durability {
    OsBuffers, // a committed change is in the operating system's hands (survives a crash
               // of the process, not of the machine)
    Fsync,     // journal and files are forced to the disk at every commit (the folder
               // when a file is made)
};

// What a read does with the committed pages it fetches: a lookup keeps them for the next
// reads of the same blocks; a pass over every block (a scan, the chain's walk) leaves
// them, so that it neither pays for keeping a whole table nor pushes a lookup's pages out.
enum class CachePages { Keep, Pass };

class Pager {
public:
    // journalPath: the journal of this set of files, e.g. "dir/Tablak.jnl". `vfs`: the
    // file layer (null: the real one).
    Pager(std::filesystem::path journalPath, Durability durability, io::Vfs* vfs = nullptr);
    ~Pager(); // an open transaction is rolled back; the emptied journal is flushed
    Pager(const Pager&) = delete;
    Pager& operator=(const Pager&) = delete;

    // Restores the files named in a journal left by a crash, then deletes it. A journal
    // whose files hold the whole change (its commit returned, or the crash came after the
    // last file's write) is deleted, the files flushed first and the change kept. An
    // incomplete journal (the crash came before any file was touched) is just deleted;
    // an empty one (kept between commits) is left as it is. Journals of earlier versions,
    // which do not say what the change leaves, always restore their files.
    // Throws DbError naming the journal when it cannot be applied. Returns whether
    // files were restored. It does not look at the journal's group (see group_commit.h).
    static bool recover(const std::filesystem::path& journalPath, io::Vfs* vfs = nullptr);
    // Flushes an emptied journal: before a table's files are replaced by other means (a
    // restore from a backup), so that a power cut cannot bring the journal of the last
    // change back to be applied to the new files.
    static void settle(const std::filesystem::path& journalPath, io::Vfs* vfs = nullptr);
    // Whether a journal holds anything (complete or cut short); an empty one does not.
    static bool journalPresent(const std::filesystem::path& journalPath);
    // Whether the files need the journal's original bytes back: it is complete, and the
    // super-journal it names (if any) is still there.
    static bool needsRecovery(const std::filesystem::path& journalPath);
    // For a complete journal: the name of its group's super-journal ("" for a change of
    // this table alone); nullopt for an absent or incomplete journal.
    static std::optional<std::string> superJournalOf(const std::filesystem::path& journalPath,
                                                     io::Vfs* vfs = nullptr);

    // The lock whose exclusive side every commit holds while it changes the disk.
    void setCommitLock(TableLock* lock);

    // Adds a file to the set; returns its id. With mayCreate a missing file counts as
    // empty and is created by the first commit that writes to it (a rollback removes
    // it again). Files open read-only until the first write.
    int attach(const std::filesystem::path& path, bool mayCreate = false);
    const std::filesystem::path& path(int file) const;

    // Reads as the current transaction sees the file: disk content overlaid with the
    // pending writes. Throws DbError when the range runs past the end of the file.
    void read(int file, std::uint64_t offset, std::span<std::uint8_t> out,
              CachePages pages = CachePages::Keep) const;
    std::vector<std::uint8_t> read(int file, std::uint64_t offset, std::size_t length,
                                   CachePages pages = CachePages::Keep) const;
    std::uint64_t size(int file) const;

    void begin();
    bool inTransaction() const;
    void write(int file, std::uint64_t offset, std::span<const std::uint8_t> bytes);
    void truncate(int file, std::uint64_t newSize);
    // Ends the transaction. On an I/O error it throws DbError naming the file at fault,
    // with the files and this pager's view as before the transaction; when even the
    // files cannot be restored, the journal stays for the next open and the pager
    // throws on every further use.
    void commit();
    void rollback();

    // A change inside the transaction that may fail alone: from beginSavepoint on, the
    // pager keeps what each write and truncation overwrites, so that rollbackToSavepoint
    // can drop the changes made since (the transaction goes on without them);
    // releaseSavepoint keeps them and forgets the record. One savepoint at a time; its
    // record holds only the bytes the change itself overwrote.
    void beginSavepoint();
    void rollbackToSavepoint();
    void releaseSavepoint();
    // Whether the transaction has changed anything.
    bool hasChanges() const;
    // A number that grows with every write, truncation and end of a transaction (made or
    // dropped) and with every savepoint rolled back: while it stays the same, every file
    // reads as before.
    std::uint64_t changeCount() const;
    // A handle on `file` that another thread may read while this pager goes on (a scan's
    // read-ahead). Its bytes are those read() gives while changeCount() stays as it was
    // when the handle was asked for. Null inside a transaction (read() shows its pending
    // writes), for a file not on the disk, and when the file layer lends no handle.
    std::unique_ptr<io::FileHandle> readerForAnotherThread(int file) const;

    // A commit as one member of a group (group_commit.h): the journal naming the group's
    // super-journal, then the new bytes, then (after the super-journal is gone) the end.
    // On a failure before the end, abandonGroupCommit ends the transaction with the
    // changes dropped (the caller restores the files from the journals); with a reason,
    // the pager refuses every further use (the files could not be restored).
    void prepareGroupCommit(const std::string& superJournal);
    void applyGroupCommit();
    void finishGroupCommit() noexcept;
    void abandonGroupCommit(const std::string& brokenReason = {}) noexcept;

    const std::filesystem::path& journalPath() const;

    Durability durability() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Commits on scope exit only through commit(); otherwise rolls back.
class Transaction {
public:
    explicit Transaction(Pager& pager) : pager_(pager) { pager_.begin(); }
    ~Transaction() {
        if (pager_.inTransaction())
            pager_.rollback();
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit() { pager_.commit(); }

private:
    Pager& pager_;
};

} // namespace db
