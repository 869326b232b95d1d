#include "bench_tables.h"

#include "platform/sys/datetime.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <malloc.h>
#include <numeric>
#include <random>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace benchtables {

// --- places and tools ------------------------------------------------------------

fs::path sharedDir() {
    if (const char* env = std::getenv("FARM_SHARED_DIR"); env && *env)
        return env;
    return FARM_SHARED_DIR;
}

fs::path tool(const std::string& name) {
    return sharedDir() / "tools" / name;
}

fs::path tabledump() {
    return FARM_TABLEDUMP;
}

fs::path cacheDir() {
    return fs::temp_directory_path() / "farm-bench";
}

std::string quoted(const fs::path& p) {
    return "'" + p.string() + "'";
}

void runOrThrow(const std::string& command) {
    const int status = std::system(command.c_str());
    if (status == -1 || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("failed: " + command);
}

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

namespace {

std::uint64_t statusKiB(const char* key) {
    std::FILE* f = std::fopen("/proc/self/status", "r");
    if (!f)
        return 0;
    char line[256];
    std::uint64_t value = 0;
    const std::size_t length = std::strlen(key);
    while (std::fgets(line, sizeof line, f))
        if (std::strncmp(line, key, length) == 0)
            value = std::strtoull(line + length, nullptr, 10);
    std::fclose(f);
    return value;
}

} // namespace

void resetPeakMemory() {
    malloc_trim(0);
    if (std::FILE* f = std::fopen("/proc/self/clear_refs", "w")) {
        std::fputs("5", f);
        std::fclose(f);
    }
}

double peakMemoryBytes() {
    return static_cast<double>(statusKiB("VmHWM:")) * 1024;
}

double timedCommand(const std::string& command) {
    const auto start = std::chrono::steady_clock::now();
    runOrThrow(command);
    return secondsSince(start);
}

TempDir::TempDir(const fs::path& parent) {
    fs::create_directories(parent);
    std::string pattern = (parent / "run-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a folder in " + parent.string());
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

// --- the rows ----------------------------------------------------------------------

Row rowFor(int key) {
    static constexpr const char* kCrops[] = {
        "napraforgó", "gyep",  "szőlő",        "kukorica",  "repce",
        "lucerna",    "almás", "tavaszi árpa", "őszi búza", "árvíztűrő tükörfúrógép"};
    const auto mixed = static_cast<std::uint32_t>(key) * 2654435761u;
    Row r;
    r.key = key;
    r.year = 2000 + key % 25;
    r.sequence = key % 1000;
    r.area = static_cast<double>(mixed % 1000000) / 10.0;
    r.crop = kCrops[mixed % std::size(kCrops)];
    r.active = (mixed >> 8) % 2 ? "A" : "N";
    r.month = 1 + key % 12;
    r.day = 1 + key % 28;
    return r;
}

std::string keyText(int key) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%06d", key);
    return buffer;
}

namespace {

std::string tsvLine(const Row& r) {
    char buffer[160];
    std::snprintf(buffer, sizeof buffer, "%06d\t%d\t%d\t%.1f\t%s\t%s\t%04d-%02d-%02d\n", r.key,
                  r.year, r.sequence, r.area, r.crop, r.active, r.year, r.month, r.day);
    return buffer;
}

} // namespace

db::Record recordOf(const Row& r) {
    const auto days = sys::dateTimeToParadoxDays(sys::encodeDate(r.year, r.month, r.day));
    return {keyText(r.key),        r.year,        r.sequence, r.area, std::string(r.crop),
            std::string(r.active), db::Date{days}};
}

db::TableSchema fieldTableSchema() {
    using db::FieldType;
    return {{{"Parckod", FieldType::Alpha, 6, 0},
             {"Evj", FieldType::Long, 4, 0},
             {"Parcsor", FieldType::Long, 4, 0},
             {"Ter", FieldType::Number, 8, 0},
             {"Agazat", FieldType::Alpha, 30, 0},
             {"Aktiv", FieldType::Alpha, 1, 0},
             {"Datum", FieldType::Date, 4, 0}},
            1};
}

// --- the cached tables -------------------------------------------------------------

namespace {

void writeSpec(const fs::path& spec, const std::string& table, int rows, int keyStep) {
    std::ofstream out(spec, std::ios::binary);
    out << "table " << table << "\ncodepage 1250\nlangdriver anhundc\n"
        << "blocksize 4\nkeys 1\n"; // 4 KiB: a million rows take 14,085 blocks
    for (const auto& f : fieldTableSchema().fields)
        out << "field " << db::typeLetter(f.type)
            << (f.type == db::FieldType::Alpha ? std::to_string(f.size) : "") << ' ' << f.name
            << '\n';
    out << "data\n";
    for (int i = 0; i < rows; ++i) // in key order
        out << tsvLine(rowFor(i * keyStep));
    if (!out.flush())
        throw std::runtime_error("cannot write " + spec.string());
}

// NAME.DB and NAME.px in the cache folder with `rows` records keyed 0, step, 2*step, ...,
// written by pxmake unless already there (pxmake needs about 1.5 minutes for a million
// rows, so the first run takes that much longer).
fs::path pxmakeTable(const std::string& name, int rows, int keyStep) {
    const fs::path db = cacheDir() / (name + ".DB");
    const fs::path px = cacheDir() / (name + ".px");
    if (fs::exists(db) && fs::exists(px))
        return db;
    if (!fs::is_regular_file(tool("pxmake")))
        throw std::runtime_error("no independent writer pxmake: " + tool("pxmake").string() +
                                 " is missing (the shared folder beside the checkout, or "
                                 "FARM_SHARED_DIR)");
    std::cerr << "farm_bench: writing " << db.string() << " (" << rows
              << " rows) with pxmake, once; later runs reuse it\n";
    const TempDir work(cacheDir());
    const fs::path spec = work.path() / (name + ".spec");
    writeSpec(spec, name + ".DB", rows, keyStep);
    runOrThrow(quoted(tool("pxmake")) + " " + quoted(spec) + " " +
               quoted(work.path() / (name + ".DB")) + " > /dev/null");
    fs::rename(work.path() / (name + ".px"), px); // the .DB last: it marks a whole table
    fs::rename(work.path() / (name + ".DB"), db);
    return db;
}

void buildEngineTable(const fs::path& db) {
    const auto start = std::chrono::steady_clock::now();
    auto table = db::TableFile::create(db, fieldTableSchema());
    std::vector<int> keys(kChangeRows);
    std::iota(keys.begin(), keys.end(), 0);
    std::shuffle(keys.begin(), keys.end(), std::mt19937(7));
    for (const int k : keys) {
        auto record = recordOf(rowFor(2 * k));
        table->insert(record);
    }
    const double seconds = secondsSince(start);
    std::cerr << "farm_bench: our engine built " << db.string() << " with " << kChangeRows
              << " inserts in " << seconds << " s (" << kChangeRows / seconds << " inserts/s)\n";
}

// Not kept between runs: it is only as recent as the engine.
class EngineTable {
public:
    EngineTable() : dir_(cacheDir()), path_(dir_.path() / "ENGINE100K.DB") {
        buildEngineTable(path_);
    }
    const fs::path& path() const { return path_; }

private:
    TempDir dir_;
    fs::path path_;
};

} // namespace

const fs::path& scanTable() {
    static const fs::path path = pxmakeTable("SCAN1M", kScanRows, 1);
    return path;
}

const fs::path& changeTable() {
    static const fs::path path = pxmakeTable("CHANGE100K", kChangeRows, 2);
    return path;
}

const fs::path& engineTable() {
    static const EngineTable table;
    return table.path();
}

fs::path copyTable(const fs::path& db, const fs::path& dir) {
    for (const auto& entry : fs::directory_iterator(db.parent_path()))
        if (entry.is_regular_file() && entry.path().stem() == db.stem())
            fs::copy_file(entry.path(), dir / entry.path().filename());
    return dir / db.filename();
}

} // namespace benchtables
