// Local SQL speed on report-shaped data, beside SQLite running the same query shapes on
// the same rows.
//
// The data: 10,000 fields over 20 years, 200,000 operations, 400,000 material uses, 300
// materials, 20,000 plant-protection observations with their pest rows and their links
// to operations; built once per process in a temporary folder, as our tables and as an
// SQLite database file beside them.
//
// The query shapes (the statements of the reports, with fixed condition values):
// - SqlReport/materials: the field inventory's fertiliser list: four tables joined on
//   equalities, filtered by year and date range, grouped by six columns and ordered.
// - SqlReport/totals: the operations list's totals: a comma join, COUNT(DISTINCT ...)
//   and SUMs, a date literal.
// - SqlReport/list: the operations list: SELECT * of a comma join, ordered.
// - SqlReport/yield: the yield summary: a join grouped by sector, with HAVING and ORDER
//   BY, for one farming year.
// - SqlReport/inputs: the field input summary's fertiliser page: three tables joined,
//   AVG and SUM grouped by three columns, for one field (a selective condition).
// - SqlReport/observations: the diary's plant-protection observation sheet: an inner join
//   and three LEFT OUTER JOINs, SELECT * of five tables, every year, ordered by date.
//
// Each iteration runs our engine once (the benchmark's time) and then SQLite (not in the
// benchmark's time) enough times to weigh about half as much, so that both see the same
// machine load. Counters: ours_ms and sqlite_ms (mean time per run, the result rows
// materialised as records in both), ratio = ours_ms / sqlite_ms, cpu_ratio the same of the
// process's processor time (steadier on a shared machine), rows and sqlite_rows; the same
// against SQLite tuned (tuned_ms, tuned_ratio, tuned_cpu_ratio); ROWS_DIFFER = 1 when the
// two engines returned different numbers of rows and VALUES_DIFFER = 1 when their values
// differ (the sum of the numbers, a hash and the bytes of the texts, the NULLs, whatever
// the order): warnings for the reader, as nothing here asserts, nor checks timings. One
// summary line is printed at exit.
//
// SQLite side, as a DBA would set it up: native tables (TEXT, INTEGER, REAL; a date as
// ISO 'YYYY-MM-DD' text), primary keys (parcellak.Parckod, ElvMuv.Muvkod,
// felhanyag.Felhkod, Tapanyagok.Kod, Novvedmegf.Id), an index on every other join column
// and on ElvMuv.Datum, ANALYZE after loading; the file in the same temporary folder as our
// tables. Timed twice: at SQLite's defaults (no mapping, a 2 MiB page cache) and tuned as
// a user after speed sets it (PRAGMA mmap_size of 1 GiB, cache_size of 256 MiB).
//
// Our side, as the program keeps its tables: the same primary keys, and secondary
// indexes on ElvMuv.Tablakod and ElvMuv.Datum (the program's own), felhanyag.Muvkod (the
// program's), felhanyag.Tablakod, felhanyag.Anyagkod and Novvedmegf.Parc_id (as SQLite's;
// Novvedmeg2 and muv_novmegf have no key, so no index), made after loading; the tables
// stay open between runs, as the program's forms keep them.
//
// Also here: SqlBig/* (one million operations, see below) and SqlMemory/* (the peak
// memory of a report query beside the size of the tables it reads).
//
// Dialect differences (the SQLite text of a query is our text with only these changes):
// - A date literal in the month/day/year form '1/1/2005' is written '2005-01-01'.
// - A date parameter is bound as ISO text.
// - Not a change of text: SQLite sorts text by its bytes, ours in the table's collation
//   ("árpa" comes after "zab" in SQLite, before "kukorica" in ours); the rows differ in
//   order only, not in number or values.
// Everything else (INNER/LEFT OUTER JOIN, comma joins, aliases without AS, HAVING,
// COUNT(DISTINCT), table names in any letter case, a trailing semicolon) is shared.

#include "bench_tables.h"
#include "core/fresh_database.h"
#include "platform/db/session.h"
#include "platform/db/sql/sql.h"
#include "platform/sys/datetime.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <random>
#include <sqlite3.h>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <unistd.h>
#include <variant>
#include <vector>

namespace fs = std::filesystem;
using namespace db;

namespace {

constexpr int kFields = 10000;
constexpr int kOperations = 200000;
constexpr int kUses = 400000;
constexpr int kMaterials = 300;
constexpr int kObservations = 20000;

FieldDef field(const std::string& name, FieldType type, int size = 0) {
    return {name, type, storedSize(type, size), 0};
}

std::string code(const char* prefix, int n) {
    return prefix + std::to_string(n);
}

// An operation's code: six digits, as wide as the code fields (Alpha 6), so that it is
// stored whole ("100000" to "299999"); a longer code would be cut to six characters by our
// engine and not by SQLite, and the codes would no longer be unique.
std::string opCode(int n) {
    return std::to_string(100000 + n);
}

Value day(int year, int dayOfYear) {
    return Date{sys::dateTimeToParadoxDays(sys::encodeDate(year, 1, 1)) + dayOfYear};
}

std::string isoDate(Date d) {
    const sys::CalendarDate c = sys::decodeDate(sys::paradoxDaysToDateTime(d.days));
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", c.year, c.month, c.day);
    return text;
}

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// --- SQLite ----------------------------------------------------------------------------

[[noreturn]] void sqliteFailed(sqlite3* db, const std::string& what) {
    throw std::runtime_error("sql_bench: SQLite: " + what + ": " + sqlite3_errmsg(db));
}

void exec(sqlite3* db, const std::string& sql) {
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
        sqliteFailed(db, sql);
}

// A value of ours as SQLite holds it (a date as ISO text).
void bindValue(sqlite3* db, sqlite3_stmt* st, int index, const Value& value) {
    const int rc = std::visit(
        [&](const auto& v) -> int {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::string>)
                return sqlite3_bind_text(st, index, v.data(), static_cast<int>(v.size()),
                                         SQLITE_TRANSIENT);
            else if constexpr (std::is_same_v<T, std::int32_t>)
                return sqlite3_bind_int(st, index, v);
            else if constexpr (std::is_same_v<T, double>)
                return sqlite3_bind_double(st, index, v);
            else if constexpr (std::is_same_v<T, bool>)
                return sqlite3_bind_int(st, index, v ? 1 : 0);
            else if constexpr (std::is_same_v<T, Date>) {
                const std::string text = isoDate(v);
                return sqlite3_bind_text(st, index, text.data(), static_cast<int>(text.size()),
                                         SQLITE_TRANSIENT);
            } else
                return sqlite3_bind_null(st, index);
        },
        value);
    if (rc != SQLITE_OK)
        sqliteFailed(db, "bind");
}

Value columnValue(sqlite3_stmt* st, int column) {
    switch (sqlite3_column_type(st, column)) {
    case SQLITE_INTEGER: {
        const sqlite3_int64 v = sqlite3_column_int64(st, column);
        if (v >= std::numeric_limits<std::int32_t>::min() &&
            v <= std::numeric_limits<std::int32_t>::max())
            return static_cast<std::int32_t>(v);
        return static_cast<double>(v);
    }
    case SQLITE_FLOAT:
        return sqlite3_column_double(st, column);
    case SQLITE_TEXT:
        return std::string(reinterpret_cast<const char*>(sqlite3_column_text(st, column)),
                           static_cast<std::size_t>(sqlite3_column_bytes(st, column)));
    default:
        return Null{};
    }
}

// SQLite read-only on `file`: at its defaults (no mapping, a page cache of 2 MiB), or
// tuned as a user after speed sets it: the file mapped (up to 1 GiB) and a page cache of
// 256 MiB.
sqlite3* openReadOnly(const fs::path& file, bool tuned) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
        sqliteFailed(db, "open");
    if (tuned)
        exec(db, "PRAGMA mmap_size=1073741824; PRAGMA cache_size=-262144");
    return db;
}

class SqliteStatement {
public:
    SqliteStatement(sqlite3* db, const std::string& sql) : db_(db) {
        if (sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &st_, nullptr) !=
            SQLITE_OK)
            sqliteFailed(db, "prepare " + sql);
    }
    ~SqliteStatement() { sqlite3_finalize(st_); }
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    // One row in (an INSERT).
    void insert(const Record& r) {
        for (std::size_t i = 0; i < r.size(); ++i)
            bindValue(db_, st_, static_cast<int>(i) + 1, r[i]);
        if (sqlite3_step(st_) != SQLITE_DONE)
            sqliteFailed(db_, "insert");
        sqlite3_reset(st_);
    }

    // Every row out, as records (as our engine's result holds them).
    std::vector<Record> select(const std::map<std::string, Value>& params) {
        sqlite3_reset(st_);
        for (const auto& [name, value] : params)
            if (const int i = sqlite3_bind_parameter_index(st_, (":" + name).c_str()))
                bindValue(db_, st_, i, value);
        std::vector<Record> rows;
        const int columns = sqlite3_column_count(st_);
        int rc;
        while ((rc = sqlite3_step(st_)) == SQLITE_ROW) {
            Record r;
            r.reserve(static_cast<std::size_t>(columns));
            for (int c = 0; c < columns; ++c)
                r.push_back(columnValue(st_, c));
            rows.push_back(std::move(r));
        }
        if (rc != SQLITE_DONE)
            sqliteFailed(db_, "step");
        return rows;
    }

private:
    sqlite3* db_;
    sqlite3_stmt* st_ = nullptr;
};

// --- the data ---------------------------------------------------------------------------

// A row as the generator below makes it: values by field name.
using NamedRow = std::vector<std::pair<const char*, Value>>;
using RowSink = std::function<void(const char* table, const NamedRow& row)>;

// The rows of the report tables: parcellak, ElvMuv, felhanyag and Tapanyagok, in that
// order, the same on every call.
void reportRows(const RowSink& sink) {
    std::mt19937 rng(42);
    const char* sectors[] = {"őszi búza", "kukorica", "árpa", "napraforgó", "repce", "zab"};
    for (int i = 0; i < kFields; ++i)
        sink("parcellak", {{"Parckod", code("P", 10000 + i)},
                           {"Evj", 2001 + i % 20},
                           {"Agazat", std::string(sectors[rng() % 6])},
                           {"Ter", double(1000 + rng() % 100000)}});
    for (int i = 0; i < kOperations; ++i) {
        const int parcel = static_cast<int>(rng() % kFields);
        NamedRow r{{"Muvkod", opCode(i)},
                   {"Tablakod", code("P", 10000 + parcel)},
                   {"Datum", day(2000 + parcel % 20, static_cast<int>(rng() % 365))},
                   {"Muvnev", code("művelet ", static_cast<int>(rng() % 40))},
                   {"Ter", static_cast<std::int32_t>(rng() % 50000)},
                   {"Gepora", double(rng() % 100) / 10},
                   {"Keziora", double(rng() % 100) / 10},
                   {"Nha", double(rng() % 100) / 10},
                   // a yield (t/ha) on one operation in eight, the harvests; drawn from the
                   // operation's number so that the random draws above stay as they were
                   {"Hozam", i % 8 == 0 ? 2 + double(i % 61) / 10 : 0.0}};
        sink("ElvMuv", r);
    }
    for (int i = 0; i < kUses; ++i) {
        const int op = static_cast<int>(rng() % kOperations);
        sink("felhanyag", {{"Felhkod", opCode(i)},
                           {"Tablakod", code("P", 10000 + static_cast<int>(rng() % kFields))},
                           {"Muvkod", opCode(op)},
                           {"Anyagkod", code("A", 1000 + static_cast<int>(rng() % kMaterials))},
                           {"Anyagtip", std::string("000001")},
                           {"Menny", double(rng() % 1000)},
                           {"Mert", std::string("kg")}});
    }
    for (int i = 0; i < kMaterials; i += 2) // half of the materials are fertilisers
        sink("Tapanyagok", {{"Kod", code("A", 1000 + i)}, {"Nev", code("anyag ", i)}});
}

// One table written to both engines.
class Twin {
public:
    Twin(Session& s, sqlite3* lite, const std::string& name, const TableSchema& schema,
         const std::string& sqliteColumns)
        : ours_(s.create(name, schema)),
          lite_(created(lite, name, sqliteColumns),
                "INSERT INTO " + name + " VALUES (" + placeholders(schema.fields.size()) + ")") {}

    void insert(Record r) {
        lite_.insert(r);
        ours_->insert(r);
    }
    // A row given by field names, in any order (every field named).
    void insert(const NamedRow& row) {
        Record r(row.size());
        for (const auto& [name, value] : row)
            r[static_cast<std::size_t>(ours_->file().fieldIndex(name))] = value;
        insert(std::move(r));
    }

private:
    static sqlite3* created(sqlite3* lite, const std::string& name, const std::string& columns) {
        exec(lite, "CREATE TABLE " + name + " (" + columns + ")");
        return lite;
    }
    static std::string placeholders(std::size_t n) {
        std::string out;
        for (std::size_t i = 0; i < n; ++i)
            out += i ? ",?" : "?";
        return out;
    }

    std::shared_ptr<SharedTable> ours_;
    SqliteStatement lite_;
};

void build(Session& s, sqlite3* lite) {
    exec(lite, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN");
    Twin parcels(s, lite, "parcellak",
                 {{field("Parckod", FieldType::Alpha, 6), field("Evj", FieldType::Long),
                   field("Agazat", FieldType::Alpha, 30), field("Ter", FieldType::Number)},
                  1},
                 "Parckod TEXT PRIMARY KEY, Evj INTEGER, Agazat TEXT, Ter REAL");
    Twin ops(s, lite, "ElvMuv",
             {{field("Muvkod", FieldType::Alpha, 6), field("Tablakod", FieldType::Alpha, 40),
               field("Datum", FieldType::Date), field("Muvnev", FieldType::Alpha, 30),
               field("Ter", FieldType::Long), field("Gepora", FieldType::Number),
               field("Keziora", FieldType::Number), field("Nha", FieldType::Number),
               field("Hozam", FieldType::Number)},
              1,
              1250,
              "anhundc",
              4},
             "Muvkod TEXT PRIMARY KEY, Tablakod TEXT, Datum TEXT, Muvnev TEXT, Ter INTEGER, "
             "Gepora REAL, Keziora REAL, Nha REAL, Hozam REAL");
    Twin uses(s, lite, "felhanyag",
              {{field("Felhkod", FieldType::Alpha, 6), field("Tablakod", FieldType::Alpha, 40),
                field("Muvkod", FieldType::Alpha, 6), field("Anyagkod", FieldType::Alpha, 6),
                field("Anyagtip", FieldType::Alpha, 6), field("Menny", FieldType::Number),
                field("Mert", FieldType::Alpha, 4)},
               1,
               1250,
               "anhundc",
               4},
              "Felhkod TEXT PRIMARY KEY, Tablakod TEXT, Muvkod TEXT, Anyagkod TEXT, Anyagtip TEXT, "
              "Menny REAL, Mert TEXT");
    Twin mats(s, lite, "Tapanyagok",
              {{field("Kod", FieldType::Alpha, 6), field("Nev", FieldType::Alpha, 30)}, 1},
              "Kod TEXT PRIMARY KEY, Nev TEXT");
    std::map<std::string, Twin*> twins{
        {"parcellak", &parcels}, {"ElvMuv", &ops}, {"felhanyag", &uses}, {"Tapanyagok", &mats}};
    reportRows([&](const char* table, const NamedRow& row) { twins.at(table)->insert(row); });

    // Plant-protection observations: one per two fields on average, dated in the field's
    // calendar year; 80 % have one pest row, 10 % two, 10 % none; 60 % answered by one
    // operation (any operation), 10 % by two.
    std::mt19937 orng(43);
    const char* pests[] = {"levéltetű", "kukoricabogár", "lisztharmat", "repcebolha", "gyomok"};
    Twin obs(s, lite, "Novvedmegf",
             {{field("Id", FieldType::Long), field("Parc_id", FieldType::Alpha, 6),
               field("Datum", FieldType::Date), field("Novfejl", FieldType::Alpha, 30),
               field("Karfejl", FieldType::Alpha, 30), field("Mod", FieldType::Alpha, 30),
               field("Fertmert", FieldType::Alpha, 50), field("Megjegy", FieldType::Alpha, 100),
               field("Sorsz", FieldType::Long)},
              1},
             "Id INTEGER PRIMARY KEY, Parc_id TEXT, Datum TEXT, Novfejl TEXT, Karfejl TEXT, "
             "Mod TEXT, Fertmert TEXT, Megjegy TEXT, Sorsz INTEGER");
    Twin pestRows(s, lite, "Novvedmeg2",
                  {{field("Megfid", FieldType::Long), field("Karfejl", FieldType::Alpha, 30),
                    field("Karjel", FieldType::Alpha, 100)},
                   0},
                  "Megfid INTEGER, Karfejl TEXT, Karjel TEXT");
    Twin links(s, lite, "muv_novmegf",
               {{field("Muvid", FieldType::Alpha, 6), field("Megfid", FieldType::Long)}, 0},
               "Muvid TEXT, Megfid INTEGER");
    for (int i = 1; i <= kObservations; ++i) {
        const int parcel = static_cast<int>(orng() % kFields);
        obs.insert({i, code("P", 10000 + parcel),
                    day(2000 + parcel % 20, static_cast<int>(orng() % 365)),
                    code("BBCH ", static_cast<int>(orng() % 90)), std::string(pests[orng() % 5]),
                    std::string("szemrevételezés"), code("", static_cast<int>(orng() % 60)) + " %",
                    std::string("megfigyelés"), i});
        const int kind = static_cast<int>(orng() % 10);
        for (int k = 0; k < (kind < 8 ? 1 : kind < 9 ? 2 : 0); ++k)
            pestRows.insert({i, code("L", static_cast<int>(orng() % 5)), std::string("levélen")});
        const int answered = static_cast<int>(orng() % 10);
        for (int k = 0; k < (answered < 6 ? 1 : answered < 7 ? 2 : 0); ++k)
            links.insert({opCode(static_cast<int>(orng() % kOperations)), i});
    }

    exec(lite, "COMMIT");
    // The program's indexes on our side, made after loading, as SQLite's are below.
    s.open("ElvMuv")->addIndex({"ElvMuvtablaind", {"Tablakod"}});
    s.open("ElvMuv")->addIndex({"ElvMuvDatumInd", {"Datum"}});
    s.open("felhanyag")->addIndex({"felhamuvkind", {"Muvkod"}});
    s.open("felhanyag")->addIndex({"felhatablaind", {"Tablakod"}});
    s.open("felhanyag")->addIndex({"felhaanyagind", {"Anyagkod"}});
    s.open("Novvedmegf")->addIndex({"Novparcind", {"Parc_id"}});
    exec(lite, "CREATE INDEX ElvMuv_Tablakod ON ElvMuv (Tablakod);"
               "CREATE INDEX ElvMuv_Datum ON ElvMuv (Datum);"
               "CREATE INDEX felhanyag_Tablakod ON felhanyag (Tablakod);"
               "CREATE INDEX felhanyag_Muvkod ON felhanyag (Muvkod);"
               "CREATE INDEX felhanyag_Anyagkod ON felhanyag (Anyagkod);"
               "CREATE INDEX Novvedmegf_Parc_id ON Novvedmegf (Parc_id);"
               "CREATE INDEX Novvedmeg2_Megfid ON Novvedmeg2 (Megfid);"
               "CREATE INDEX muv_novmegf_Megfid ON muv_novmegf (Megfid);"
               "CREATE INDEX muv_novmegf_Muvid ON muv_novmegf (Muvid);"
               "ANALYZE");
}

// The data, built on first use in a folder removed at exit.
struct Data {
    fs::path dir;
    std::unique_ptr<Session> session;
    std::vector<std::shared_ptr<SharedTable>> held;
    sqlite3* lite = nullptr;
    sqlite3* tuned = nullptr; // the same file, SQLite tuned
    Data() {
        dir = fs::temp_directory_path() / ("farm-sql-bench-" + std::to_string(getpid()));
        fs::create_directories(dir);
        session = std::make_unique<Session>(dir);
        if (sqlite3_open((dir / "farm.sqlite").c_str(), &lite) != SQLITE_OK)
            sqliteFailed(lite, "open");
        const auto start = std::chrono::steady_clock::now();
        build(*session, lite);
        std::fprintf(stderr, "sql_bench: data built in %.1f s\n", secondsSince(start));
        // Kept open, as the program's forms keep their tables open: a query does not
        // open them again.
        for (const char* name : {"parcellak", "ElvMuv", "felhanyag", "Tapanyagok", "Novvedmegf",
                                 "Novvedmeg2", "muv_novmegf"})
            held.push_back(session->open(name));
        // Reopened read-only for the queries, at the defaults and tuned.
        sqlite3_close(lite);
        lite = openReadOnly(dir / "farm.sqlite", false);
        tuned = openReadOnly(dir / "farm.sqlite", true);
    }
    ~Data() {
        sqlite3_close(lite);
        sqlite3_close(tuned);
        held.clear();
        session.reset();
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
};

Data& data() {
    static Data d;
    return d;
}

// --- the comparison ----------------------------------------------------------------------

// A result's values summed up, whatever their order: the numbers, a hash of every text
// (a date as its ISO text, as SQLite holds it) and the bytes of the texts, the NULLs; so
// that two engines' results are compared by their values, not by their row counts alone.
struct Digest {
    double numbers = 0;
    std::uint64_t texts = 0; // the sum of each text's hash
    std::size_t textBytes = 0, nulls = 0;

    void add(const Value& v) {
        std::visit(
            [&](const auto& x) {
                using T = std::decay_t<decltype(x)>;
                if constexpr (std::is_same_v<T, std::string>)
                    addText(x);
                else if constexpr (std::is_same_v<T, Date>)
                    addText(isoDate(x));
                else if constexpr (std::is_same_v<T, bool>)
                    numbers += x ? 1 : 0;
                else if constexpr (std::is_arithmetic_v<T>)
                    numbers += static_cast<double>(x);
                else
                    ++nulls;
            },
            v);
    }
    void addText(std::string_view text) {
        std::uint64_t h = 1469598103934665603ull; // FNV-1a
        for (const char c : text)
            h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
        texts += h;
        textBytes += text.size();
    }
    bool operator==(const Digest& o) const {
        return texts == o.texts && textBytes == o.textBytes && nulls == o.nulls &&
               std::abs(numbers - o.numbers) <= 1e-9 * std::max(1.0, std::abs(numbers));
    }
};

template <class Rows>
Digest digestOf(const Rows& rows) {
    Digest d;
    for (const auto& row : rows)
        for (const Value& v : row)
            d.add(v);
    return d;
}

struct Figures {
    double oursMs = 0, sqliteMs = 0, tunedMs = 0; // tuned: SQLite with mmap and a large cache
    double oursCpuMs = 0, sqliteCpuMs = 0, tunedCpuMs = 0; // the process's processor time
    std::size_t rows = 0, sqliteRows = 0;
    bool valuesDiffer = false; // the digests of the two results differ
};

// Wall-clock and processor time since the start: on a shared machine the ratio of the
// processor times holds where other work stretches the wall-clock times.
struct Stopwatch {
    std::chrono::steady_clock::time_point wall = std::chrono::steady_clock::now();
    double cpu = cpuSeconds();
    static double cpuSeconds() {
        timespec t{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
    }
    double wallSeconds() const { return secondsSince(wall); }
    double cpuSince() const { return cpuSeconds() - cpu; }
};

void setCounters(benchmark::State& state, const Figures& f) {
    state.counters["ours_ms"] = f.oursMs;
    state.counters["sqlite_ms"] = f.sqliteMs;
    state.counters["ratio"] = f.oursMs / f.sqliteMs;
    state.counters["cpu_ratio"] = f.oursCpuMs / f.sqliteCpuMs;
    if (f.tunedMs > 0) {
        state.counters["tuned_ms"] = f.tunedMs;
        state.counters["tuned_ratio"] = f.oursMs / f.tunedMs;
        state.counters["tuned_cpu_ratio"] = f.oursCpuMs / f.tunedCpuMs;
    }
    state.counters["rows"] = static_cast<double>(f.rows);
    state.counters["sqlite_rows"] = static_cast<double>(f.sqliteRows);
    if (f.rows != f.sqliteRows)
        state.counters["ROWS_DIFFER"] = 1;
    if (f.valuesDiffer)
        state.counters["VALUES_DIFFER"] = 1;
}

// The last figures of each query, printed as one line at exit.
class Summary {
public:
    ~Summary() {
        if (figures_.empty())
            return;
        std::printf("sql_bench: ours / SQLite per run:");
        for (const auto& [name, f] : figures_) {
            const double ratio = f.oursMs / f.sqliteMs;
            std::printf(ratio < 100 ? " %s %.3g ms / %.3g ms = %.2f (processor time %.2f)"
                                    : " %s %.3g ms / %.3g ms = %.0f (processor time %.0f)",
                        name.c_str(), f.oursMs, f.sqliteMs, ratio, f.oursCpuMs / f.sqliteCpuMs);
            if (f.tunedMs > 0)
                std::printf(", tuned SQLite %.3g ms = %.2f (processor time %.2f)", f.tunedMs,
                            f.oursMs / f.tunedMs, f.oursCpuMs / f.tunedCpuMs);
            if (f.valuesDiffer)
                std::printf(" (VALUES DIFFER)");
            if (f.rows != f.sqliteRows)
                std::printf(" (ROWS DIFFER: ours %zu, SQLite %zu)", f.rows, f.sqliteRows);
            std::printf(";");
        }
        std::printf("\n");
        std::fflush(stdout);
    }
    void record(const std::string& name, const Figures& f) {
        for (auto& entry : figures_)
            if (entry.first == name) {
                entry.second = f;
                return;
            }
        figures_.emplace_back(name, f);
    }

private:
    std::vector<std::pair<std::string, Figures>> figures_;
};

Summary& summary() {
    static Summary s;
    return s;
}

struct Shape {
    const char* name;
    const char* ours;
    const char* sqlite; // null: the same text as ours
    std::map<std::string, Value> params;
};

const std::vector<Shape>& shapes();

// Our engine and SQLite over the same rows.
struct Engines {
    Session& session;
    sqlite3* lite;
    sqlite3* tuned;
};

void compareOn(benchmark::State& state, const Shape& q, Engines d);

void compare(benchmark::State& state, std::size_t shape) {
    Data& d = data();
    compareOn(state, shapes()[shape], {*d.session, d.lite, d.tuned});
}

// SQLite runs of `lite` timed into `seconds` and `cpu` (`runs` of them), `repeat` at a
// time, until they weigh about half of `ours` seconds; returns the last rows.
struct LiteRuns {
    double seconds = 0, cpu = 0;
    std::int64_t runs = 0;
    int repeat = 1;
    std::vector<Record> run(SqliteStatement& lite, const Shape& q, double ours) {
        std::vector<Record> rows;
        const Stopwatch watch;
        for (int k = 0; k < repeat; ++k) {
            rows = lite.select(q.params);
            benchmark::DoNotOptimize(rows.data());
        }
        seconds += watch.wallSeconds();
        cpu += watch.cpuSince();
        runs += repeat;
        const double mean = seconds / static_cast<double>(runs);
        repeat = static_cast<int>(std::clamp(std::floor(ours / 2 / mean), 1.0, 10000.0));
        return rows;
    }
    double ms() const { return seconds * 1e3 / static_cast<double>(runs); }
    double cpuMs() const { return cpu * 1e3 / static_cast<double>(runs); }
};

void compareOn(benchmark::State& state, const Shape& q, Engines d) {
    const sql::Statement st = sql::Statement::parse(q.ours);
    SqliteStatement lite(d.lite, q.sqlite ? q.sqlite : q.ours);
    SqliteStatement tuned(d.tuned, q.sqlite ? q.sqlite : q.ours);
    Figures f;
    double oursSeconds = 0, oursCpu = 0;
    std::int64_t oursRuns = 0;
    LiteRuns atDefaults, whenTuned;
    for (auto _ : state) {
        const Stopwatch ourWatch;
        Digest ourValues;
        double ours = 0;
        {
            const sql::ResultSet r = st.select(d.session, q.params);
            f.rows = r.rows.size();
            benchmark::DoNotOptimize(r.rows.size());
            ours = ourWatch.wallSeconds();
            oursCpu += ourWatch.cpuSince();
            state.PauseTiming();
            ourValues = digestOf(r.rows);
        }
        oursSeconds += ours;
        ++oursRuns;
        const std::vector<Record> rows = atDefaults.run(lite, q, ours);
        f.sqliteRows = rows.size();
        f.valuesDiffer = !(digestOf(rows) == ourValues);
        whenTuned.run(tuned, q, ours);
        state.ResumeTiming();
    }
    f.oursMs = oursSeconds * 1e3 / static_cast<double>(oursRuns);
    f.oursCpuMs = oursCpu * 1e3 / static_cast<double>(oursRuns);
    f.sqliteMs = atDefaults.ms();
    f.sqliteCpuMs = atDefaults.cpuMs();
    f.tunedMs = whenTuned.ms();
    f.tunedCpuMs = whenTuned.cpuMs();
    setCounters(state, f);
    summary().record(q.name, f);
}

const std::vector<Shape>& shapes() {
    static const std::vector<Shape> all = {
        {"materials",
         "SELECT parcellak.Agazat,Felhanyag.Anyagtip, Felhanyag.Anyagkod, SUM(   "
         "(Felhanyag.Menny * Elvmuv.Ter)  / 10000  ), Felhanyag.Mert, Tapanyagok.Nev, "
         "Elvmuv.Muvnev\nFROM felhanyag\n   INNER JOIN parcellak\n   ON  (parcellak.Parckod = "
         "felhanyag.Tablakod)  \n   INNER JOIN Tapanyagok\n   ON  (Tapanyagok.Kod = "
         "felhanyag.Anyagkod)  \n   INNER JOIN ElvMuv\n   ON  (ElvMuv.Muvkod = "
         "felhanyag.Muvkod)  \nWHERE (parcellak.Evj = :ev) AND (ElvMuv.Datum >= :date1) AND "
         "(ElvMuv.Datum <= :date2)\nGROUP BY parcellak.Agazat, felhanyag.Anyagtip, "
         "felhanyag.Anyagkod, Tapanyagok.Nev, felhanyag.Mert, ElvMuv.Muvnev\nORDER BY "
         "parcellak.Agazat, felhanyag.Anyagtip, Tapanyagok.Nev",
         nullptr,
         {{"ev", 2010}, {"date1", day(2009, 0)}, {"date2", day(2009, 364)}}},
        {"totals",
         "SELECT COUNT(ElvMuv.Muvkod),COUNT(DISTINCT Agazat),COUNT(DISTINCT "
         "Parckod),SUM(Gepora),SUM(Keziora),SUM(Nha) FROM parcellak,ElvMuv\nWHERE "
         "(ElvMuv.Tablakod = parcellak.Parckod) AND (Datum >= '1/1/2005')",
         "SELECT COUNT(ElvMuv.Muvkod),COUNT(DISTINCT Agazat),COUNT(DISTINCT "
         "Parckod),SUM(Gepora),SUM(Keziora),SUM(Nha) FROM parcellak,ElvMuv\nWHERE "
         "(ElvMuv.Tablakod = parcellak.Parckod) AND (Datum >= '2005-01-01')",
         {}},
        {"list",
         "SELECT * FROM parcellak,ElvMuv\nWHERE (parcellak.Parckod = Tablakod) AND Evj = "
         "2010\nORDER BY Evj,Agazat,Datum,Muvkod;",
         nullptr,
         {}},
        {"yield",
         "SELECT Parcellak.Agazat, SUM(   (Elvmuv.Hozam * Elvmuv.Ter)  / 10000  ) osz\nFROM "
         "ElvMuv\n   INNER JOIN parcellak\n   ON  ElvMuv.Tablakod = parcellak.Parckod \nWHERE  "
         "parcellak.Evj = :ev \nGROUP BY parcellak.Agazat\nHAVING  SUM(   (ElvMuv.Hozam * "
         "ElvMuv.Ter)  / 10000  ) > 0  \nORDER BY parcellak.Agazat",
         nullptr,
         {{"ev", 2010}}},
        {"inputs",
         "SELECT Tapanyagok.Nev, AVG( felhanyag.Menny ) Menny, felhanyag.Mert, "
         "felhanyag.Tablakod, SUM( ElvMuv.Ter ) Ter\nFROM felhanyag\n   INNER JOIN Tapanyagok\n  "
         " ON  (felhanyag.Anyagkod = Tapanyagok.Kod)  \n   INNER JOIN ElvMuv\n   ON  "
         "(ElvMuv.Muvkod = felhanyag.Muvkod)  \nWHERE  ElvMuv.Tablakod = :pkod\nGROUP BY "
         "Tapanyagok.Nev, felhanyag.Mert, felhanyag.Tablakod",
         nullptr,
         {{"pkod", std::string("P15009")}}},
        {"observations",
         "SELECT *\nFROM parcellak\n  INNER JOIN Novvedmegf\n  ON  (Novvedmegf.Parc_id = "
         "parcellak.Parckod)\n  LEFT OUTER JOIN Novvedmeg2\n  ON  (Novvedmegf.Id = "
         "Novvedmeg2.Megfid)\n\tLEFT OUTER JOIN muv_novmegf\n\tON Novvedmegf.Id = "
         "muv_novmegf.Megfid\n LEFT OUTER JOIN ElvMuv\n ON muv_novmegf.Muvid = "
         "ElvMuv.Muvkod\nWHERE 1 = 1  AND parcellak.Evj >= 2001 AND parcellak.Evj <= 2020\nORDER "
         "BY Novvedmegf.Datum",
         nullptr,
         {}},
    };
    return all;
}

} // namespace

BENCHMARK_CAPTURE(compare, materials, 0)
    ->Name("SqlReport/materials")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(compare, totals, 1)->Name("SqlReport/totals")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(compare, list, 2)->Name("SqlReport/list")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(compare, yield, 3)->Name("SqlReport/yield")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(compare, inputs, 4)->Name("SqlReport/inputs")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(compare, observations, 5)
    ->Name("SqlReport/observations")
    ->Unit(benchmark::kMillisecond);

// --- one million operations ----------------------------------------------------------------
// SqlBig/*: a table of 1,000,000 operations (6 fields, 66-byte records, 20 years of dates)
// on both sides, no index on either (the queries read every row): the sum of a column, a
// grouping by the operation's name (40 groups) and one year's rows by a date range.

namespace {

constexpr int kBigRows = 1000000;

struct BigData {
    fs::path dir;
    std::unique_ptr<Session> session;
    std::shared_ptr<SharedTable> table;
    sqlite3* lite = nullptr;
    sqlite3* tuned = nullptr; // the same file, SQLite tuned
    BigData() {
        dir = fs::temp_directory_path() / ("farm-sql-bench-1m-" + std::to_string(getpid()));
        fs::create_directories(dir);
        session = std::make_unique<Session>(dir);
        if (sqlite3_open((dir / "big.sqlite").c_str(), &lite) != SQLITE_OK)
            sqliteFailed(lite, "open");
        const auto start = std::chrono::steady_clock::now();
        exec(lite, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN");
        {
            SessionTransaction transaction(*session);
            Twin ops(*session, lite, "Muveletek",
                     {{field("Muvkod", FieldType::Alpha, 7), field("Tablakod", FieldType::Alpha, 6),
                       field("Datum", FieldType::Date), field("Muvnev", FieldType::Alpha, 30),
                       field("Ter", FieldType::Long), field("Gepora", FieldType::Number),
                       field("Keziora", FieldType::Number)},
                      0,
                      1250,
                      "anhundc",
                      8},
                     "Muvkod TEXT, Tablakod TEXT, Datum TEXT, Muvnev TEXT, Ter INTEGER, Gepora "
                     "REAL, Keziora REAL");
            std::mt19937 rng(44);
            for (int i = 0; i < kBigRows; ++i)
                ops.insert({std::to_string(1000000 + i),
                            code("P", 10000 + static_cast<int>(rng() % kFields)),
                            day(2000 + static_cast<int>(rng() % 20), static_cast<int>(rng() % 365)),
                            code("művelet ", static_cast<int>(rng() % 40)),
                            static_cast<std::int32_t>(rng() % 50000), double(rng() % 100) / 10,
                            double(rng() % 100) / 10});
            transaction.Commit();
        }
        exec(lite, "COMMIT; ANALYZE");
        std::fprintf(stderr, "sql_bench: 1,000,000 operations built in %.1f s\n",
                     secondsSince(start));
        table = session->open("Muveletek");
        sqlite3_close(lite);
        lite = openReadOnly(dir / "big.sqlite", false);
        tuned = openReadOnly(dir / "big.sqlite", true);
    }
    ~BigData() {
        sqlite3_close(lite);
        sqlite3_close(tuned);
        table.reset();
        session.reset();
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
};

BigData& bigData() {
    static BigData d;
    return d;
}

const std::vector<Shape>& bigShapes() {
    static const std::vector<Shape> all = {
        {"1M sum", "SELECT SUM(Gepora), SUM(Keziora) FROM Muveletek", nullptr, {}},
        {"1M group",
         "SELECT Muvnev, COUNT(*), SUM(Gepora) FROM Muveletek GROUP BY Muvnev",
         nullptr,
         {}},
        {"1M date range",
         "SELECT COUNT(*), SUM(Ter) FROM Muveletek WHERE Datum >= :date1 AND Datum <= :date2",
         nullptr,
         {{"date1", day(2009, 0)}, {"date2", day(2009, 364)}}},
    };
    return all;
}

void compareBig(benchmark::State& state, std::size_t shape) {
    BigData& d = bigData();
    compareOn(state, bigShapes()[shape], {*d.session, d.lite, d.tuned});
}

// --- memory -------------------------------------------------------------------------------
// SqlMemory/<query>: how much the process's resident memory grows at its peak while our
// engine runs the report query once (the peak reset through /proc/self/clear_refs first),
// beside the size of the data files of the tables the query reads: peak_mb, tables_mb and
// memory_ratio = peak_mb / tables_mb. Linux only; the counters read 0 elsewhere.

void memoryOf(benchmark::State& state, std::size_t shape, std::vector<std::string> tables) {
    Data& d = data();
    const Shape& q = shapes()[shape];
    const sql::Statement st = sql::Statement::parse(q.ours);
    double tableBytes = 0;
    for (const std::string& t : tables)
        tableBytes += static_cast<double>(fs::file_size(d.session->tablePath(t)));
    double peak = 0;
    for (auto _ : state) {
        benchtables::resetPeakMemory();
        const double before = benchtables::peakMemoryBytes();
        {
            const sql::ResultSet r = st.select(*d.session, q.params);
            benchmark::DoNotOptimize(r.rows.size());
        }
        const double high = benchtables::peakMemoryBytes();
        peak = std::max(peak, high > before ? high - before : 0.0);
    }
    state.counters["peak_mb"] = peak / 1e6;
    state.counters["tables_mb"] = tableBytes / 1e6;
    state.counters["memory_ratio"] = peak / tableBytes;
    std::printf("sql_bench: peak memory of %s: %.1f MB over tables of %.1f MB = %.2f\n", q.name,
                peak / 1e6, tableBytes / 1e6, peak / tableBytes);
}

} // namespace

BENCHMARK_CAPTURE(compareBig, sum, 0)->Name("SqlBig/sum")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(compareBig, group, 1)->Name("SqlBig/group_by")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(compareBig, range, 2)->Name("SqlBig/date_range")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(memoryOf, materials, 0,
                  std::vector<std::string>{"felhanyag", "parcellak", "Tapanyagok", "ElvMuv"})
    ->Name("SqlMemory/materials")
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(memoryOf, observations, 5,
                  std::vector<std::string>{"parcellak", "Novvedmegf", "Novvedmeg2", "muv_novmegf",
                                           "ElvMuv"})
    ->Name("SqlMemory/observations")
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

// --- the program's own tables ------------------------------------------------------------
// SqlReal/<query>: the report queries above (materials, totals, list, yield, inputs) on the
// tables of a fresh database of the program (its widths, keys and indexes: ElvMuv's
// records are 516 bytes, felhanyag has no index on Tablakod or Anyagkod) filled with the
// rows of reportRows; SQLite with the same columns, primary keys and indexes.
// - SqlReal/<query>: warm, the tables held open and SQLite's connection kept.
// - SqlReal/<query>_reopened: the session kept, the tables let go before each run, so the
//   query opens them (as a report's query does when no form holds its tables); SQLite
//   through a new connection each run.
// - SqlReal/<query>_cold: a new session on the folder each run (ours), a new connection
//   (SQLite): the first query of a session. The files are in the system's cache for both.
// - SqlReal/<query>_new_process: each run starts this program again three times (ours,
//   SQLite at its defaults, tuned), FARM_SQL_FIRST_QUERY naming the engine and the query;
//   the child runs that query as the first thing it does, times it from before its
//   session or connection to the rows materialised, prints the time and the rows' digest
//   and exits: nothing is warm in the process, the files are in the system's cache.
// The tables are filled once into $TMPDIR/farm-bench/sql-real-1/ and kept for later runs.
// `pin` runs: the same pinned to one core (taskset -c 0 farm_bench ...) give the figures
// of one core; the benchmark does not pin itself.

namespace {

std::string sqliteType(FieldType t) {
    switch (t) {
    case FieldType::Short:
    case FieldType::Long:
    case FieldType::AutoInc:
    case FieldType::Logical:
        return "INTEGER";
    case FieldType::Number:
    case FieldType::Currency:
    case FieldType::Bcd:
        return "REAL";
    default:
        return "TEXT";
    }
}

// An SQLite table with the columns, primary key and indexes of one of ours.
void mirror(sqlite3* lite, const SharedTable& table, const std::string& name) {
    const auto& fields = table.file().fields();
    std::string columns, key;
    for (const FieldDef& f : fields)
        columns += (columns.empty() ? "" : ", ") + f.name + " " + sqliteType(f.type);
    for (int k = 0; k < table.file().keyFields(); ++k)
        key += (k ? ", " : "") + fields[static_cast<std::size_t>(k)].name;
    exec(lite, "CREATE TABLE " + name + " (" + columns +
                   (key.empty() ? "" : ", PRIMARY KEY (" + key + ")") + ")");
}

void mirrorIndexes(sqlite3* lite, const SharedTable& table, const std::string& name) {
    const auto& fields = table.file().fields();
    int n = 0;
    for (const auto& index : table.indexes()) {
        std::string columns;
        for (const int f : index->fieldNumbers())
            columns += (columns.empty() ? "" : ", ") + fields[static_cast<std::size_t>(f)].name;
        exec(lite, "CREATE INDEX " + name + "_" + std::to_string(n++) + " ON " + name + " (" +
                       columns + ")");
    }
}

struct RealData {
    fs::path dir;
    std::unique_ptr<Session> session;
    std::vector<std::shared_ptr<SharedTable>> held;
    sqlite3* lite = nullptr;
    sqlite3* tuned = nullptr; // the same file, SQLite tuned
    static constexpr const char* kTables[] = {"parcellak", "ElvMuv", "felhanyag", "Tapanyagok"};

    // The folder of the tables, filled once and kept for later runs (and for the child
    // processes of the *_new_process runs).
    static fs::path folder() { return benchtables::cacheDir() / "sql-real-1"; }

    RealData() : dir(folder()) {
        if (!fs::exists(dir / "filled")) {
            std::error_code ec;
            fs::remove_all(dir, ec);
            fs::create_directories(dir);
            session = std::make_unique<Session>(dir);
            core::CreateFreshDatabase(*session);
            if (sqlite3_open((dir / "farm.sqlite").c_str(), &lite) != SQLITE_OK)
                sqliteFailed(lite, "open");
            const auto start = std::chrono::steady_clock::now();
            fill();
            std::fprintf(stderr, "sql_bench: the program's tables filled in %.1f s\n",
                         secondsSince(start));
            sqlite3_close(lite);
            session.reset(); // every table let go, its index files noted as checked
            std::FILE* mark = std::fopen((dir / "filled").c_str(), "w");
            if (mark)
                std::fclose(mark);
        }
        session = std::make_unique<Session>(dir);
        hold();
        lite = openLite(false);
        tuned = openLite(true);
    }
    ~RealData() {
        sqlite3_close(lite);
        sqlite3_close(tuned);
        held.clear();
        session.reset();
    }

    void fill() {
        exec(lite, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN");
        std::map<std::string, std::shared_ptr<SharedTable>> tables;
        std::map<std::string, std::unique_ptr<SqliteStatement>> inserts;
        for (const char* name : kTables) {
            auto t = session->open(name);
            mirror(lite, *t, name);
            std::string marks;
            for (std::size_t i = 0; i < t->file().fields().size(); ++i)
                marks += i ? ",?" : "?";
            inserts[name] = std::make_unique<SqliteStatement>(
                lite, "INSERT INTO " + std::string(name) + " VALUES (" + marks + ")");
            tables[name] = std::move(t);
        }
        int pending = 0;
        auto transaction = std::make_unique<SessionTransaction>(*session);
        reportRows([&](const char* name, const NamedRow& row) {
            SharedTable& t = *tables.at(name);
            Record r(t.file().fields().size());
            for (const auto& [field, value] : row)
                r[static_cast<std::size_t>(t.file().fieldIndex(field))] = value;
            t.insert(r); // an auto-increment field given its value first
            inserts.at(name)->insert(r);
            if (++pending % 5000 == 0) {
                transaction->Commit();
                transaction = std::make_unique<SessionTransaction>(*session);
            }
        });
        transaction->Commit();
        for (const char* name : kTables)
            mirrorIndexes(lite, *tables.at(name), name);
        exec(lite, "COMMIT; ANALYZE");
    }

    void hold() {
        for (const char* name : kTables)
            held.push_back(session->open(name));
    }

    sqlite3* openLite(bool tunedOne) const { return openReadOnly(dir / "farm.sqlite", tunedOne); }
};

RealData& realData() {
    static RealData d;
    return d;
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// The report queries as on the synthetic tables; in SQLite's text the columns that both
// of the program's parcellak and ElvMuv have (Agazat, Evj) are named with their table, as
// our dialect reads an unqualified one: from the first table of the FROM list.
const Shape& realShape(std::size_t shape) {
    static const std::vector<std::string> texts = [] {
        std::vector<std::string> out;
        for (const Shape& q : shapes()) {
            std::string text = q.sqlite ? q.sqlite : q.ours;
            text = replaced(text, "DISTINCT Agazat", "DISTINCT parcellak.Agazat");
            text = replaced(text, "AND Evj = 2010\nORDER BY Evj,Agazat,",
                            "AND parcellak.Evj = 2010\nORDER BY parcellak.Evj,parcellak.Agazat,");
            out.push_back(text);
        }
        return out;
    }();
    static const std::vector<std::string> names = [] {
        std::vector<std::string> out;
        for (const Shape& q : shapes())
            out.push_back(std::string("real ") + q.name);
        return out;
    }();
    static const std::vector<Shape> all = [] {
        std::vector<Shape> out = shapes();
        for (std::size_t i = 0; i < out.size(); ++i) {
            out[i].name = names[i].c_str();
            out[i].sqlite = texts[i].c_str();
        }
        return out;
    }();
    return all.at(shape);
}

void compareReal(benchmark::State& state, std::size_t shape) {
    RealData& d = realData();
    compareOn(state, realShape(shape), {*d.session, d.lite, d.tuned});
}

enum class Opening { Reopened, Cold };

// Each run opens the tables: ours in the kept session with the tables let go, or in a
// new session; SQLite through a new connection. Both times include opening.
void compareRealOpening(benchmark::State& state, std::size_t shape, Opening opening) {
    RealData& d = realData();
    const Shape& q = realShape(shape);
    const sql::Statement st = sql::Statement::parse(q.ours);
    d.held.clear();
    Figures f;
    double oursSeconds = 0, oursCpu = 0;
    double liteSeconds[2] = {0, 0}, liteCpu[2] = {0, 0}; // at the defaults, tuned
    for (auto _ : state) {
        const Stopwatch ourWatch;
        Digest ourValues;
        {
            std::unique_ptr<Session> fresh;
            if (opening == Opening::Cold)
                fresh = std::make_unique<Session>(d.dir);
            const sql::ResultSet r = st.select(fresh ? *fresh : *d.session, q.params);
            f.rows = r.rows.size();
            benchmark::DoNotOptimize(r.rows.size());
            oursSeconds += ourWatch.wallSeconds();
            oursCpu += ourWatch.cpuSince();
            state.PauseTiming();
            ourValues = digestOf(r.rows);
        }
        for (const bool tuned : {false, true}) {
            const Stopwatch liteWatch;
            std::vector<Record> rows;
            {
                sqlite3* lite = d.openLite(tuned);
                {
                    SqliteStatement statement(lite, q.sqlite ? q.sqlite : q.ours);
                    rows = statement.select(q.params);
                }
                sqlite3_close(lite);
            }
            liteSeconds[tuned] += liteWatch.wallSeconds();
            liteCpu[tuned] += liteWatch.cpuSince();
            f.sqliteRows = rows.size();
            f.valuesDiffer = f.valuesDiffer || !(digestOf(rows) == ourValues);
        }
        state.ResumeTiming();
    }
    d.hold();
    const auto runs = static_cast<double>(state.iterations());
    f.oursMs = oursSeconds * 1e3 / runs;
    f.oursCpuMs = oursCpu * 1e3 / runs;
    f.sqliteMs = liteSeconds[0] * 1e3 / runs;
    f.sqliteCpuMs = liteCpu[0] * 1e3 / runs;
    f.tunedMs = liteSeconds[1] * 1e3 / runs;
    f.tunedCpuMs = liteCpu[1] * 1e3 / runs;
    setCounters(state, f);
    summary().record(q.name + std::string(opening == Opening::Cold ? " cold" : " reopened"), f);
}

// What a child of a *_new_process run prints: its wall-clock and processor time, its
// rows and their digest.
struct FirstRun {
    double ms = 0, cpuMs = 0;
    std::size_t rows = 0;
    Digest digest;
};

const char* const kEngines[] = {"ours", "sqlite", "tuned"};

FirstRun firstQuery(const std::string& engine, std::size_t shape) {
    const Shape& q = realShape(shape);
    const fs::path dir = RealData::folder();
    FirstRun run;
    const Stopwatch watch;
    if (engine == "ours") {
        Session session(dir);
        const sql::ResultSet r = sql::Statement::parse(q.ours).select(session, q.params);
        run.ms = watch.wallSeconds() * 1e3;
        run.cpuMs = watch.cpuSince() * 1e3;
        run.rows = r.rows.size();
        run.digest = digestOf(r.rows);
        return run;
    }
    sqlite3* lite = openReadOnly(dir / "farm.sqlite", engine == "tuned");
    std::vector<Record> rows;
    {
        SqliteStatement statement(lite, q.sqlite ? q.sqlite : q.ours);
        rows = statement.select(q.params);
    }
    sqlite3_close(lite);
    run.ms = watch.wallSeconds() * 1e3;
    run.cpuMs = watch.cpuSince() * 1e3;
    run.rows = rows.size();
    run.digest = digestOf(rows);
    return run;
}

// Runs this program as a child that runs one query first; its figures.
FirstRun firstQueryInChild(const char* engine, std::size_t shape) {
    const std::string command = "FARM_SQL_FIRST_QUERY='" + std::string(engine) + " " +
                                std::to_string(shape) + "' /proc/" + std::to_string(getpid()) +
                                "/exe";
    std::FILE* child = ::popen(command.c_str(), "r");
    if (!child)
        throw std::runtime_error("sql_bench: cannot start " + command);
    FirstRun run;
    unsigned long long rows = 0, texts = 0, bytes = 0, nulls = 0;
    const int got = std::fscanf(child, "first %lf %lf %llu %la %llu %llu %llu", &run.ms, &run.cpuMs,
                                &rows, &run.digest.numbers, &texts, &bytes, &nulls);
    const int status = ::pclose(child);
    if (got != 7 || status != 0)
        throw std::runtime_error("sql_bench: no figures from " + command);
    run.rows = rows;
    run.digest.texts = texts;
    run.digest.textBytes = bytes;
    run.digest.nulls = nulls;
    return run;
}

void compareRealNewProcess(benchmark::State& state, std::size_t shape) {
    RealData& d = realData();
    d.held.clear(); // the children open the tables themselves
    const Shape& q = realShape(shape);
    FirstRun sum[3];
    Figures f;
    for (auto _ : state) {
        FirstRun runs[3];
        for (std::size_t e = 0; e < 3; ++e) {
            runs[e] = firstQueryInChild(kEngines[e], shape);
            sum[e].ms += runs[e].ms;
            sum[e].cpuMs += runs[e].cpuMs;
        }
        state.SetIterationTime(runs[0].ms / 1e3);
        f.rows = runs[0].rows;
        f.sqliteRows = runs[1].rows;
        f.valuesDiffer = f.valuesDiffer || !(runs[0].digest == runs[1].digest);
    }
    d.hold();
    const auto n = static_cast<double>(state.iterations());
    f.oursMs = sum[0].ms / n;
    f.oursCpuMs = sum[0].cpuMs / n;
    f.sqliteMs = sum[1].ms / n;
    f.sqliteCpuMs = sum[1].cpuMs / n;
    f.tunedMs = sum[2].ms / n;
    f.tunedCpuMs = sum[2].cpuMs / n;
    setCounters(state, f);
    summary().record(q.name + std::string(" new process"), f);
}

} // namespace

namespace benchtables {

int runFirstQueryChild() {
    const char* wanted = std::getenv("FARM_SQL_FIRST_QUERY");
    if (!wanted)
        return -1;
    char engine[16] = {};
    std::size_t shape = 0;
    if (std::sscanf(wanted, "%15s %zu", engine, &shape) != 2)
        return 2;
    const FirstRun run = firstQuery(engine, shape);
    std::printf("first %.17g %.17g %zu %a %llu %llu %llu\n", run.ms, run.cpuMs, run.rows,
                run.digest.numbers, static_cast<unsigned long long>(run.digest.texts),
                static_cast<unsigned long long>(run.digest.textBytes),
                static_cast<unsigned long long>(run.digest.nulls));
    return 0;
}

} // namespace benchtables

BENCHMARK_CAPTURE(compareReal, materials, 0)
    ->Name("SqlReal/materials")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(compareReal, totals, 1)->Name("SqlReal/totals")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(compareReal, list, 2)->Name("SqlReal/list")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(compareReal, yield, 3)->Name("SqlReal/yield")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(compareReal, inputs, 4)->Name("SqlReal/inputs")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(compareRealOpening, list_reopened, 2, Opening::Reopened)
    ->Name("SqlReal/list_reopened")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(compareRealOpening, yield_reopened, 3, Opening::Reopened)
    ->Name("SqlReal/yield_reopened")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(compareRealOpening, inputs_reopened, 4, Opening::Reopened)
    ->Name("SqlReal/inputs_reopened")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(compareRealOpening, list_cold, 2, Opening::Cold)
    ->Name("SqlReal/list_cold")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(compareRealOpening, yield_cold, 3, Opening::Cold)
    ->Name("SqlReal/yield_cold")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(compareRealOpening, inputs_cold, 4, Opening::Cold)
    ->Name("SqlReal/inputs_cold")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(compareRealNewProcess, list_new_process, 2)
    ->Name("SqlReal/list_new_process")
    ->UseManualTime()
    ->Iterations(15)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(compareRealNewProcess, yield_new_process, 3)
    ->Name("SqlReal/yield_new_process")
    ->UseManualTime()
    ->Iterations(15)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(compareRealNewProcess, inputs_new_process, 4)
    ->Name("SqlReal/inputs_new_process")
    ->UseManualTime()
    ->Iterations(15)
    ->Unit(benchmark::kMillisecond);
