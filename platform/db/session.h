#pragma once
// The database of a working directory as this process sees it: one open table file per
// table, shared by every cursor on it, so that each cursor sees the others' writes.
//
// Transactions. Outside a transaction every post or delete is a change of its own table
// alone, on disk (atomically) when it returns. A session transaction (SessionTransaction
// below) groups every change made through the session while it is open:
//   - a table joins at its first change; a transaction begun inside another joins the
//     outer one, and only the outermost commit writes;
//   - until the commit the changes stay in memory, seen by every data set of the
//     session, and the files do not change (FlushBuffers has nothing to do);
//   - a change that fails (a key violation, say) is dropped alone, the transaction
//     goes on;
//   - the commit writes every table's changes all together or not at all, through a
//     super-journal naming the tables' journals (the protocol is in group_commit.h): a
//     crash or a power cut at any instant leaves every table as before or every table
//     as after, and with Durability::Fsync a commit that returned is on the disk;
//   - a rollback (the transaction ended without Commit, or an inner one did) drops the
//     changes of every table: every data set reads the tables as they were. After an
//     inner rollback the outer transaction is spoilt: its Commit drops the rest too and
//     throws DbError.
// The next start of the program rolls back a save interrupted by a crash
// (recoverInterruptedChanges) and names its tables.

#include "index_def.h"
#include "secondary_index.h"
#include "table_file.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace db {

// One table open in the session: its file, its secondary indexes, and a version that
// grows with every change, by which cursors notice writes made through others.
class SessionTransactionState;

class SharedTable : public std::enable_shared_from_this<SharedTable> {
public:
    // `trusted`: as SecondaryIndex::openAll takes it. `transaction`: the session's
    // transaction, which the table joins at its first change while one is open.
    SharedTable(std::unique_ptr<TableFile> file, const EngineLog& log,
                const std::function<bool(const std::filesystem::path&)>& trusted = {},
                std::weak_ptr<SessionTransactionState> transaction = {},
                const std::vector<IndexDef>& ownIndexes = {});
    ~SharedTable();
    SharedTable(const SharedTable&) = delete;
    SharedTable& operator=(const SharedTable&) = delete;

    TableFile& file() { return *file_; }
    const TableFile& file() const { return *file_; }
    std::uint64_t version() const { return version_; }

    // The named secondary index (names compare ignoring case), or null.
    const SecondaryIndex* index(std::string_view name) const;
    const std::vector<std::unique_ptr<SecondaryIndex>>& indexes() const { return indexes_; }
    // Creates a named index over the table's rows.
    void addIndex(const IndexDef& def);

    RecordPos insert(Record& record);
    RecordPos update(RecordPos pos, const Record& record);
    void remove(RecordPos pos);
    void empty();
    void addFields(const std::vector<FieldDef>& fields);

    // The end of the session transaction this table joined: its changes committed, or
    // dropped (the data sets then read the table as it was).
    void endTransaction(bool committed);

private:
    void joinTransaction();

    std::unique_ptr<TableFile> file_; // declared first: the indexes observe it
    std::vector<std::unique_ptr<SecondaryIndex>> indexes_;
    std::uint64_t version_ = 1;
    std::weak_ptr<SessionTransactionState> transaction_;
};

class Session {
public:
    // `vfs`: the file layer of every table of the session (null: the real one).
    explicit Session(std::filesystem::path directory = ".",
                     Durability durability = Durability::OsBuffers, io::Vfs* vfs = nullptr);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    const std::filesystem::path& directory() const { return directory_; }
    Durability durability() const { return durability_; }

    // The data file a table name means: "Tablak", "tablak.DB" and "Tablak.db" all name
    // the file on disk spelled in any letter case.
    std::filesystem::path tablePath(std::string_view name) const;
    bool exists(std::string_view name) const;

    // The shared table of that name, opened on first use and kept while held.
    std::shared_ptr<SharedTable> open(std::string_view name);
    // The table's layout (fields, code page, sort order): the open table when it is open,
    // else its header alone, read without a block of its records or its indexes.
    std::shared_ptr<const TableFile> layout(std::string_view name);
    // Creates a table (with its named indexes) and returns it open.
    std::shared_ptr<SharedTable> create(std::string_view name, const TableSchema& schema,
                                        const std::vector<IndexDef>& indexes = {});

    // A transaction of the session (see the top of this file and SessionTransaction
    // below). Nested begins join the outermost one; only its commit writes. Commit
    // throws DbError (with every change dropped) when the save could not be written.
    void beginTransaction();
    void commitTransaction();
    void rollbackTransaction() noexcept;
    bool inTransaction() const;

    // Rolls back every change in the folder that a crash interrupted (a save over
    // several tables, or one table's change); the names of the tables restored, in
    // file-name order. Run once at the start of the program, before any table opens.
    std::vector<std::string> recoverInterruptedChanges();

    // The engine's log: what it repaired on its own (an index rebuilt), one line each.
    const std::vector<std::string>& log() const { return log_; }
    // Called with every line as it is logged (the program tells the user).
    void setLogListener(EngineLog listener) { logListener_ = std::move(listener); }
    // The named indexes a table of the database has (by its name, "Tablak"): an index file
    // found holding another index is made again as one of them (see SecondaryIndex).
    using IndexCatalogue = std::function<std::vector<IndexDef>(const std::string& table)>;
    void setIndexCatalogue(IndexCatalogue catalogue) { indexCatalogue_ = std::move(catalogue); }
    // The fields of a table (by its name, "ElvMuv") as the program defines them, with the
    // domains of those a user types into; null for a table it does not know. Every cursor on
    // the table checks the values posted into it by their domains (domain.h).
    using DomainCatalogue = std::function<const std::vector<FieldDef>*(std::string_view table)>;
    void setDomainCatalogue(DomainCatalogue catalogue) { domainCatalogue_ = std::move(catalogue); }
    const std::vector<FieldDef>* definedFields(std::string_view table) const {
        return domainCatalogue_ ? domainCatalogue_(table) : nullptr;
    }
    // The code page a table of the database is read and written in, by its name ("Tablak")
    // and the code page its header names; 0: the header's. Where it is another, the
    // table's file is left as it is, and `notice` is told the table's data file and the
    // code page its header names each time the table is opened.
    using CodePageCatalogue = std::function<int(const std::string& table, int named)>;
    using CodePageNotice = std::function<void(const std::filesystem::path& file, int named)>;
    void setCodePageCatalogue(CodePageCatalogue catalogue, CodePageNotice notice) {
        codePageCatalogue_ = std::move(catalogue);
        codePageNotice_ = std::move(notice);
    }

    // What the check of an index is known by: for the table's data file and the index's
    // two files, the size, the modification time and a checksum of the header (which
    // holds the file's change counters and its record and block counts).
    struct IndexStamp {
        std::filesystem::path yPath;
        std::vector<std::uint64_t> files; // size, time, header checksum, per file
        bool operator==(const IndexStamp&) const = default;
    };
    // The file of the folder that keeps the stamps of the indexes found agreeing.
    static constexpr const char* kIndexCheckFile = "indexes.checked";
    // Empty files list when a file cannot be read.
    static IndexStamp stampOf(const std::filesystem::path& dbPath,
                              const std::filesystem::path& xPath,
                              const std::filesystem::path& yPath);

private:
    std::filesystem::path directory_;
    Durability durability_;
    std::map<std::filesystem::path, std::weak_ptr<SharedTable>> open_;
    // The open tables by the names callers gave them, so that a statement or a cursor
    // naming an open table again does not look the name up in the folder; an entry
    // counts only while its table is open.
    std::map<std::string, std::weak_ptr<SharedTable>, std::less<>> byName_;
    std::shared_ptr<SharedTable> openByName(std::string_view name) const;
    std::vector<std::string> log_;
    EngineLog logListener_;
    IndexCatalogue indexCatalogue_;
    DomainCatalogue domainCatalogue_;
    CodePageCatalogue codePageCatalogue_;
    CodePageNotice codePageNotice_;
    std::function<int(int named)> textCodePageOf(const std::filesystem::path& dbPath) const;
    io::Vfs* vfs_ = nullptr;
    std::shared_ptr<SessionTransactionState> transaction_;
    void endTransaction(bool commit);
    // Checking an index against its table reads every row (about a second for 200 000
    // operations), so an index is checked when its table is first opened and again only
    // when its files or its table's changed since this program last let the table go
    // with the index agreeing (the program's own changes keep an index exact; a change by
    // anything else, or files put back from an archive, show in the headers). The stamps
    // are kept in a file of the folder (kIndexCheckFile), so that the next session does
    // not check again what this one left agreeing.
    struct CheckedIndexes;
    std::shared_ptr<CheckedIndexes> verified_;
    // The block maps of the tables the session let go (TableFile::blockMap), each with
    // the stamp of its data file then; the next open of a table whose file still has that
    // stamp takes its map instead of walking the chain of blocks again.
    struct KeptBlockMaps;
    std::shared_ptr<KeptBlockMaps> blockMaps_;
    // The folder's names, listed again only when it changes (tables' companion and index
    // files are looked for in any letter case at every open).
    std::shared_ptr<FolderNames> folder_;
};

// One save across several tables: every table written through the session while it
// lives joins it; it commits when Commit is called and rolls back when it ends without.
//
//     db::SessionTransaction transaction(session);
//     ... posts and deletes on any data sets of the session ...
//     transaction.Commit();
class SessionTransaction {
public:
    explicit SessionTransaction(Session& session) : session_(session) {
        session_.beginTransaction();
    }
    ~SessionTransaction() {
        if (!done_)
            session_.rollbackTransaction();
    }
    SessionTransaction(const SessionTransaction&) = delete;
    SessionTransaction& operator=(const SessionTransaction&) = delete;
    void Commit() {
        done_ = true;
        session_.commitTransaction();
    }

private:
    Session& session_;
    bool done_ = false;
};

} // namespace db
