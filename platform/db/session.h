#pragma once
// The database of a working directory as this process sees it: one open table file per
// table, shared by every cursor on it, so that each cursor sees the others' writes.

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
class SharedTable {
public:
    // `trusted`: as SecondaryIndex::openAll takes it.
    SharedTable(std::unique_ptr<TableFile> file, const EngineLog& log,
                const std::function<bool(const std::filesystem::path&)>& trusted = {});
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

private:
    std::unique_ptr<TableFile> file_; // declared first: the indexes observe it
    std::vector<std::unique_ptr<SecondaryIndex>> indexes_;
    std::uint64_t version_ = 1;
};

class Session {
public:
    explicit Session(std::filesystem::path directory = ".",
                     Durability durability = Durability::OsBuffers);
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

    // A transaction of the session (see SessionTransaction below). Nested begins join the
    // outermost one; only its commit writes.
    void beginTransaction();
    void commitTransaction();
    void rollbackTransaction();
    bool inTransaction() const { return transactionDepth_ > 0; }

    // The engine's log: what it repaired on its own (an index rebuilt), one line each.
    const std::vector<std::string>& log() const { return log_; }
    // Called with every line as it is logged (the program tells the user).
    void setLogListener(EngineLog listener) { logListener_ = std::move(listener); }

    // The size and modification time of a table's data file and of one index's two
    // files, when the index was last known to agree with the table.
    struct IndexStamp {
        std::filesystem::path yPath;
        std::vector<std::pair<std::uintmax_t, std::filesystem::file_time_type>> files;
        bool operator==(const IndexStamp&) const = default;
    };
    // Empty files list when a file cannot be read.
    static IndexStamp stampOf(const std::filesystem::path& dbPath,
                              const std::filesystem::path& xPath,
                              const std::filesystem::path& yPath);

private:
    std::filesystem::path directory_;
    Durability durability_;
    std::map<std::filesystem::path, std::weak_ptr<SharedTable>> open_;
    std::vector<std::string> log_;
    EngineLog logListener_;
    int transactionDepth_ = 0;
    // Checking an index against its table reads every row (about a second for 200 000
    // operations), so an index is checked when its table is first opened and again only
    // when its files changed since this session last had the table open (the session's
    // own changes keep the index exact; a change by anything else is checked).
    std::shared_ptr<std::map<std::filesystem::path, IndexStamp>> verified_;
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
