#pragma once
// Test helper: an in-memory SQLite database that holds the same rows as tables of our
// own engine, so that a query can be run on both and the answers compared.
//
// Values cross into SQLite as: text as TEXT (UTF-8), whole numbers as INTEGER, N and $
// as REAL, a date as its INTEGER day number (day 1 is 0001-01-01, the same numbers as
// db::Date, so dates compare and sort alike), a logical as INTEGER 0 or 1, a time as
// its milliseconds, a timestamp as REAL milliseconds, a BCD as REAL, bytes as a BLOB.
// SQLite is for the tests only, never for the program.

#include "platform/db/session.h"
#include "platform/db/table_file.h"
#include "platform/db/value.h"

#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

struct sqlite3;

namespace testsql {

class SqliteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What SQLite answered: values as read back (INTEGER as int32 when it fits, else
// double; REAL as double; TEXT as string; BLOB as Bytes; NULL as Null).
struct SqliteResult {
    int columns = 0;
    std::vector<db::Record> rows;
};

class SqliteMirror {
public:
    SqliteMirror(); // a fresh in-memory database
    ~SqliteMirror();
    SqliteMirror(const SqliteMirror&) = delete;
    SqliteMirror& operator=(const SqliteMirror&) = delete;

    sqlite3* handle() { return db_; }

    // Runs statements that return nothing; throws SqliteError.
    void exec(const std::string& sql);

    // A table of the same name and fields (the key as PRIMARY KEY).
    void createTable(const std::string& name, const db::TableSchema& schema);
    void insert(const std::string& name, const db::Record& record);

    // Runs a query; parameters by name without the colon (":Name" in the text).
    SqliteResult query(const std::string& sql, const std::map<std::string, db::Value>& params = {});

private:
    struct Table {
        std::vector<db::FieldDef> fields;
    };
    sqlite3* db_ = nullptr;
    std::map<std::string, Table> tables_;
};

// Our engine's tables in a session and their SQLite twins, written together.
class MirroredTables {
public:
    MirroredTables(db::Session& session, SqliteMirror& sqlite)
        : session_(session), sqlite_(sqlite) {}

    void create(const std::string& name, const db::TableSchema& schema);
    // Inserts into both (an AutoInc value given by our table is copied to SQLite).
    void insert(const std::string& name, db::Record record);

private:
    db::Session& session_;
    SqliteMirror& sqlite_;
    std::map<std::string, std::shared_ptr<db::SharedTable>> tables_;
};

} // namespace testsql
