#include "support/sqlite_mirror.h"

#include <limits>
#include <sqlite3.h>
#include <type_traits>
#include <variant>

namespace testsql {

namespace {

std::string quoteName(const std::string& name) {
    std::string out = "\"";
    for (char c : name) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + '"';
}

// The declared type in SQLite; its name also tells a reader (and sqlite3_column_decltype)
// what the field was.
const char* sqliteType(db::FieldType type) {
    using db::FieldType;
    switch (type) {
    case FieldType::Alpha:
    case FieldType::Memo:
    case FieldType::FmtMemo:
        return "TEXT";
    case FieldType::Short:
    case FieldType::Long:
    case FieldType::AutoInc:
        return "INTEGER";
    case FieldType::Number:
    case FieldType::Currency:
    case FieldType::Bcd:
        return "REAL";
    case FieldType::Date:
        return "DATE";
    case FieldType::Logical:
        return "LOGICAL";
    case FieldType::Time:
        return "TIME";
    case FieldType::Timestamp:
        return "TIMESTAMP";
    default:
        return "BLOB";
    }
}

class StatementHandle {
public:
    StatementHandle(sqlite3* db, const std::string& sql) {
        if (sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &stmt_, nullptr) !=
            SQLITE_OK)
            throw SqliteError(std::string("SQLite cannot prepare: ") + sqlite3_errmsg(db) + "\n  " +
                              sql);
    }
    ~StatementHandle() { sqlite3_finalize(stmt_); }
    StatementHandle(const StatementHandle&) = delete;
    StatementHandle& operator=(const StatementHandle&) = delete;
    sqlite3_stmt* get() const { return stmt_; }

private:
    sqlite3_stmt* stmt_ = nullptr;
};

void bind(sqlite3* db, sqlite3_stmt* stmt, int index, const db::Value& value) {
    const int rc = std::visit(
        [&](const auto& v) -> int {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, db::Null>)
                return sqlite3_bind_null(stmt, index);
            else if constexpr (std::is_same_v<T, std::string>)
                return sqlite3_bind_text(stmt, index, v.data(), static_cast<int>(v.size()),
                                         SQLITE_TRANSIENT);
            else if constexpr (std::is_same_v<T, std::int32_t>)
                return sqlite3_bind_int(stmt, index, v);
            else if constexpr (std::is_same_v<T, double>)
                return sqlite3_bind_double(stmt, index, v);
            else if constexpr (std::is_same_v<T, bool>)
                return sqlite3_bind_int(stmt, index, v ? 1 : 0);
            else if constexpr (std::is_same_v<T, db::Date>)
                return sqlite3_bind_int(stmt, index, v.days);
            else if constexpr (std::is_same_v<T, db::Time>)
                return sqlite3_bind_int(stmt, index, v.ms);
            else if constexpr (std::is_same_v<T, db::Timestamp>)
                return sqlite3_bind_double(stmt, index, v.ms);
            else if constexpr (std::is_same_v<T, db::Decimal>)
                return sqlite3_bind_double(stmt, index, std::stod(v.text));
            else
                return sqlite3_bind_blob(stmt, index, v.data(), static_cast<int>(v.size()),
                                         SQLITE_TRANSIENT);
        },
        value);
    if (rc != SQLITE_OK)
        throw SqliteError(std::string("SQLite cannot bind a value: ") + sqlite3_errmsg(db));
}

db::Value columnValue(sqlite3_stmt* stmt, int column) {
    switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_NULL:
        return db::Null{};
    case SQLITE_INTEGER: {
        const sqlite3_int64 v = sqlite3_column_int64(stmt, column);
        if (v >= std::numeric_limits<std::int32_t>::min() &&
            v <= std::numeric_limits<std::int32_t>::max())
            return static_cast<std::int32_t>(v);
        return static_cast<double>(v);
    }
    case SQLITE_FLOAT:
        return sqlite3_column_double(stmt, column);
    case SQLITE_TEXT: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
        return std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(stmt, column)));
    }
    default: {
        const auto* data = static_cast<const std::uint8_t*>(sqlite3_column_blob(stmt, column));
        const auto size = static_cast<std::size_t>(sqlite3_column_bytes(stmt, column));
        return db::Bytes(data, data + size);
    }
    }
}

} // namespace

SqliteMirror::SqliteMirror() {
    if (sqlite3_open(":memory:", &db_) != SQLITE_OK) {
        const std::string message = db_ ? sqlite3_errmsg(db_) : "out of memory";
        sqlite3_close(db_);
        throw SqliteError("SQLite cannot open an in-memory database: " + message);
    }
}

SqliteMirror::~SqliteMirror() {
    sqlite3_close(db_);
}

void SqliteMirror::exec(const std::string& sql) {
    char* error = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string message = error ? error : "unknown error";
        sqlite3_free(error);
        throw SqliteError("SQLite: " + message + "\n  " + sql);
    }
}

void SqliteMirror::createTable(const std::string& name, const db::TableSchema& schema) {
    std::string sql = "CREATE TABLE " + quoteName(name) + " (";
    for (std::size_t i = 0; i < schema.fields.size(); ++i) {
        if (i)
            sql += ", ";
        sql += quoteName(schema.fields[i].name) + " " + sqliteType(schema.fields[i].type);
    }
    if (schema.keyFields > 0) {
        sql += ", PRIMARY KEY (";
        for (int i = 0; i < schema.keyFields; ++i) {
            if (i)
                sql += ", ";
            sql += quoteName(schema.fields[static_cast<std::size_t>(i)].name);
        }
        sql += ")";
    }
    sql += ")";
    exec(sql);
    tables_[name] = Table{schema.fields};
}

void SqliteMirror::insert(const std::string& name, const db::Record& record) {
    const auto it = tables_.find(name);
    if (it == tables_.end())
        throw SqliteError("SQLite mirror: no table " + name);
    if (record.size() != it->second.fields.size())
        throw SqliteError("SQLite mirror: a record of the wrong width for " + name);
    std::string sql = "INSERT INTO " + quoteName(name) + " VALUES (";
    for (std::size_t i = 0; i < record.size(); ++i)
        sql += i ? ", ?" : "?";
    sql += ")";
    StatementHandle stmt(db_, sql);
    for (std::size_t i = 0; i < record.size(); ++i)
        bind(db_, stmt.get(), static_cast<int>(i) + 1, record[i]);
    if (sqlite3_step(stmt.get()) != SQLITE_DONE)
        throw SqliteError(std::string("SQLite cannot insert: ") + sqlite3_errmsg(db_) + "\n  " +
                          sql);
}

SqliteResult SqliteMirror::query(const std::string& sql,
                                 const std::map<std::string, db::Value>& params) {
    StatementHandle stmt(db_, sql);
    const int count = sqlite3_bind_parameter_count(stmt.get());
    for (int i = 1; i <= count; ++i) {
        const char* name = sqlite3_bind_parameter_name(stmt.get(), i);
        if (!name || name[0] != ':')
            throw SqliteError("SQLite mirror: only :Name parameters are supported\n  " + sql);
        const auto it = params.find(name + 1);
        if (it == params.end())
            throw SqliteError(std::string("SQLite mirror: no value for parameter ") + name +
                              "\n  " + sql);
        bind(db_, stmt.get(), i, it->second);
    }
    SqliteResult result;
    result.columns = sqlite3_column_count(stmt.get());
    for (;;) {
        const int rc = sqlite3_step(stmt.get());
        if (rc == SQLITE_DONE)
            break;
        if (rc != SQLITE_ROW)
            throw SqliteError(std::string("SQLite cannot run: ") + sqlite3_errmsg(db_) + "\n  " +
                              sql);
        db::Record row;
        row.reserve(static_cast<std::size_t>(result.columns));
        for (int c = 0; c < result.columns; ++c)
            row.push_back(columnValue(stmt.get(), c));
        result.rows.push_back(std::move(row));
    }
    return result;
}

void MirroredTables::create(const std::string& name, const db::TableSchema& schema) {
    tables_[name] = session_.create(name, schema);
    sqlite_.createTable(name, schema);
}

void MirroredTables::insert(const std::string& name, db::Record record) {
    const auto it = tables_.find(name);
    if (it == tables_.end())
        throw SqliteError("mirrored tables: no table " + name);
    it->second->insert(record);
    sqlite_.insert(name, record);
}

} // namespace testsql
