// Local SQL speed on report-shaped data: 10,000 fields over 20 years, 200,000 operations,
// 400,000 material uses and 300 materials, built once per process in a temporary folder.
//
// - SqlReport/materials: four tables joined on equalities, filtered by year and date
//   range, grouped by six columns and ordered (the shape of the field inventory).
// - SqlReport/totals: two tables in a comma join, COUNT(DISTINCT ...) and SUMs.
// - SqlReport/list: SELECT * of a comma join, ordered by five columns.
//
// Nothing here checks timings; the figures are for reading.

#include "platform/db/session.h"
#include "platform/db/sql/sql.h"
#include "platform/sys/datetime.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace db;

namespace {

constexpr int kFields = 10000;
constexpr int kOperations = 200000;
constexpr int kUses = 400000;
constexpr int kMaterials = 300;

FieldDef field(const std::string& name, FieldType type, int size = 0) {
    return {name, type, storedSize(type, size), 0};
}

std::string code(const char* prefix, int n) {
    return prefix + std::to_string(n);
}

Value day(int year, int dayOfYear) {
    return Date{sys::dateTimeToParadoxDays(sys::encodeDate(year, 1, 1)) + dayOfYear};
}

void build(Session& s) {
    std::mt19937 rng(42);
    const char* sectors[] = {"őszi búza", "kukorica", "árpa", "napraforgó", "repce", "zab"};
    auto parcels = s.create(
        "parcellak", {{field("Parckod", FieldType::Alpha, 6), field("Evj", FieldType::Long),
                       field("Agazat", FieldType::Alpha, 30), field("Ter", FieldType::Number)},
                      1});
    for (int i = 0; i < kFields; ++i) {
        Record r{code("P", 10000 + i), 2001 + i % 20, std::string(sectors[rng() % 6]),
                 double(1000 + rng() % 100000)};
        parcels->insert(r);
    }
    auto ops = s.create(
        "ElvMuv", {{field("Muvkod", FieldType::Alpha, 6), field("Tablakod", FieldType::Alpha, 40),
                    field("Datum", FieldType::Date), field("Muvnev", FieldType::Alpha, 30),
                    field("Ter", FieldType::Long), field("Gepora", FieldType::Number),
                    field("Keziora", FieldType::Number), field("Nha", FieldType::Number)},
                   0});
    for (int i = 0; i < kOperations; ++i) {
        const int parcel = static_cast<int>(rng() % kFields);
        Record r{code("M", 100000 + i),
                 code("P", 10000 + parcel),
                 day(2000 + parcel % 20, static_cast<int>(rng() % 365)),
                 code("művelet ", static_cast<int>(rng() % 40)),
                 static_cast<std::int32_t>(rng() % 50000),
                 double(rng() % 100) / 10,
                 double(rng() % 100) / 10,
                 double(rng() % 100) / 10};
        ops->insert(r);
    }
    auto uses =
        s.create("felhanyag",
                 {{field("Tablakod", FieldType::Alpha, 40), field("Muvkod", FieldType::Alpha, 6),
                   field("Anyagkod", FieldType::Alpha, 6), field("Anyagtip", FieldType::Alpha, 6),
                   field("Menny", FieldType::Number), field("Mert", FieldType::Alpha, 4)},
                  0});
    for (int i = 0; i < kUses; ++i) {
        const int op = static_cast<int>(rng() % kOperations);
        Record r{code("P", 10000 + static_cast<int>(rng() % kFields)),
                 code("M", 100000 + op),
                 code("A", 1000 + static_cast<int>(rng() % kMaterials)),
                 std::string("000001"),
                 double(rng() % 1000),
                 std::string("kg")};
        uses->insert(r);
    }
    auto mats = s.create(
        "Tapanyagok", {{field("Kod", FieldType::Alpha, 6), field("Nev", FieldType::Alpha, 30)}, 1});
    for (int i = 0; i < kMaterials; i += 2) { // half of the materials are fertilisers
        Record r{code("A", 1000 + i), code("anyag ", i)};
        mats->insert(r);
    }
}

// The data, built on first use in a folder removed at exit.
struct Data {
    fs::path dir;
    std::unique_ptr<Session> session;
    Data() {
        dir = fs::temp_directory_path() / ("farm-sql-bench-" + std::to_string(getpid()));
        fs::create_directories(dir);
        session = std::make_unique<Session>(dir);
        build(*session);
    }
    ~Data() {
        session.reset();
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
};

Data& data() {
    static Data d;
    return d;
}

void runQuery(benchmark::State& state, const char* sql, std::map<std::string, Value> params) {
    Session& s = *data().session;
    const sql::Statement st = sql::Statement::parse(sql);
    std::size_t rows = 0;
    for (auto _ : state) {
        const sql::ResultSet r = st.select(s, params);
        rows = r.rows.size();
        benchmark::DoNotOptimize(r.rows.data());
    }
    state.counters["rows"] = static_cast<double>(rows);
}

void materials(benchmark::State& state) {
    runQuery(state,
             "SELECT parcellak.Agazat,Felhanyag.Anyagtip, Felhanyag.Anyagkod, SUM(   "
             "(Felhanyag.Menny * Elvmuv.Ter)  / 10000  ), Felhanyag.Mert, Tapanyagok.Nev, "
             "Elvmuv.Muvnev\nFROM felhanyag\n   INNER JOIN parcellak\n   ON  (parcellak.Parckod = "
             "felhanyag.Tablakod)  \n   INNER JOIN Tapanyagok\n   ON  (Tapanyagok.Kod = "
             "felhanyag.Anyagkod)  \n   INNER JOIN ElvMuv\n   ON  (ElvMuv.Muvkod = "
             "felhanyag.Muvkod)  \nWHERE (parcellak.Evj = :ev) AND (ElvMuv.Datum >= :date1) AND "
             "(ElvMuv.Datum <= :date2)\nGROUP BY parcellak.Agazat, felhanyag.Anyagtip, "
             "felhanyag.Anyagkod, Tapanyagok.Nev, felhanyag.Mert, ElvMuv.Muvnev\nORDER BY "
             "parcellak.Agazat, felhanyag.Anyagtip, Tapanyagok.Nev",
             {{"ev", 2010}, {"date1", day(2009, 0)}, {"date2", day(2009, 364)}});
}

void totals(benchmark::State& state) {
    runQuery(state,
             "SELECT COUNT(ElvMuv.Muvkod),COUNT(DISTINCT Agazat),COUNT(DISTINCT "
             "Parckod),SUM(Gepora),SUM(Keziora),SUM(Nha) FROM parcellak,ElvMuv\nWHERE "
             "(ElvMuv.Tablakod = parcellak.Parckod) AND (Datum >= '1/1/2005')",
             {});
}

void list(benchmark::State& state) {
    runQuery(state,
             "SELECT * FROM parcellak,ElvMuv\nWHERE (parcellak.Parckod = Tablakod) AND Evj = "
             "2010\nORDER BY Evj,Agazat,Datum,Muvkod;",
             {});
}

} // namespace

BENCHMARK(materials)->Name("SqlReport/materials")->Unit(benchmark::kMillisecond);
BENCHMARK(totals)->Name("SqlReport/totals")->Unit(benchmark::kMillisecond);
BENCHMARK(list)->Name("SqlReport/list")->Unit(benchmark::kMillisecond);
