#pragma once
// What the benchmarks share: field tables shaped like NAGY.DB (57-byte records: Alpha 6
// key, Long, Long, Number, Alpha 30 with Hungarian text, Alpha 1, Date) written by the
// oracle tool pxmake once and kept in $TMPDIR/farm-bench/ for later runs, one built by
// our engine once per process, temporary folders and copies of tables.

#include "platform/db/table_file.h"

#include <chrono>
#include <filesystem>
#include <string>

namespace benchtables {

namespace fs = std::filesystem;

constexpr int kScanRows = 1000000;  // scanTable()
constexpr int kChangeRows = 100000; // changeTable() and engineTable()

// --- places and tools ------------------------------------------------------------

fs::path sharedDir(); // $FARM_SHARED_DIR, or the one the build was configured with
fs::path tool(const std::string& name); // a tool of the shared folder (pxmake, pxdump)
fs::path tabledump();                   // our text dump tool
fs::path cacheDir();                    // $TMPDIR/farm-bench
std::string quoted(const fs::path& p);  // for a shell command

// The child side of the SQL benchmarks' first query of a new process: with
// FARM_SQL_FIRST_QUERY set, runs that query, prints its figures and returns the exit
// status; -1 otherwise (sql_bench.cpp).
int runFirstQueryChild();

// Runs a shell command; throws when it does not exit with 0.
void runOrThrow(const std::string& command);
// Runs a shell command; its wall-clock time in seconds.
double timedCommand(const std::string& command);

double secondsSince(std::chrono::steady_clock::time_point start);

// The process's peak resident memory: started again from what is resident now, and
// read, in bytes (Linux; 0 elsewhere).
void resetPeakMemory();
double peakMemoryBytes();

// A temporary folder made in `parent`, removed with everything in it.
class TempDir {
public:
    explicit TempDir(const fs::path& parent);
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

// --- the rows ----------------------------------------------------------------------

// One row of the field table; row n has the key "%06d" of n.
struct Row {
    int key = 0;
    int year = 2000;          // Evj: 2000 + key % 25
    int sequence = 0;         // Parcsor
    double area = 0;          // Ter: one decimal
    const char* crop = "";    // Agazat: one of ten crops, some with accented letters
    const char* active = "A"; // Aktiv: "A" or "N", about half each
    int month = 1;
    int day = 1;
};

Row rowFor(int key);
std::string keyText(int key); // "%06d"
db::Record recordOf(const Row& r);
db::TableSchema fieldTableSchema(); // keyed on Parckod

// --- the tables ----------------------------------------------------------------------

// 1,000,000 rows keyed 0..999999 in 4 KiB blocks, written by pxmake (cached).
const fs::path& scanTable();
// 100,000 rows with the even keys 0..199998 (the odd ones free for inserts), written by
// pxmake (cached).
const fs::path& changeTable();
// The rows of changeTable() put in by our engine in random order, one insert each, so
// that its blocks are split the way a table grown by the program is; built once per
// process (12-20 s), its build time printed.
const fs::path& engineTable();

// Copies a table's files (.DB, its indexes, however spelled) into `dir`; returns the
// copy of the .DB.
fs::path copyTable(const fs::path& db, const fs::path& dir);

} // namespace benchtables
