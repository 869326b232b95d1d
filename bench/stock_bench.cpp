// The stock ledger of a large farm: 500 materials (200 fertilisers, 150 pesticides, 150
// seed varieties of 20 species) and 100,000 ledger rows over four years, in a fresh
// database built once per process.
//
// - Stock/on_date: StockOnDate of one material on a day in the middle of the ledger, as
//   the stock movements form and the material-use dialog ask it, beside SQLite summing
//   the same rows through an index on the material code (a table of the same rows in
//   the same folder): ours_ms, sqlite_ms per look-up and ratio = ours / theirs. The
//   program's ledger has no index on the material code, so ours scans the ledger.
// - Stock/on_date_indexed: the same, our ledger given a secondary index on the
//   material code (a copy of its files in a folder of their own), which StockOnDate
//   then reads.
// - Stock/list: the stock list form's three lists (fertilisers, pesticides, seeds)
//   computed for a day ("|||||") and read to their last rows; `rows` = lines listed.
// - Stock/list_joined_sql: for comparison, the same lists as three local SQL statements
//   that join the ledger to the masters and sum per group.
//
// Nothing here checks timings; the figures are for reading.

#include "bench_tables.h"
#include "core/fresh_database.h"
#include "forms_database.h"
#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/ui/application.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/form.h"
#include "resources/Keszlisth.h"
#include "resources/stock.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <memory>
#include <random>
#include <sqlite3.h>
#include <stdexcept>

namespace {

using namespace benchtables;

constexpr int kFertilisers = 200;
constexpr int kPesticides = 150;
constexpr int kSeeds = 150;
constexpr int kSpecies = 20;
constexpr int kMovements = 100000;

void AddMaterials(db::Session& session, const std::string& table, const std::string& codeField,
                  int first, int count, const std::string& unit) {
    db::TTable rows(session);
    rows.SetTableName(table);
    rows.Open();
    for (int n = 0; n < count; ++n) {
        rows.Append();
        rows.FieldByName(codeField).SetAsString(std::to_string(first + n));
        rows.FieldByName("Nev").SetAsString("Anyag " + std::to_string(first + n));
        rows.FieldByName("Mert").SetAsString(unit);
        if (table == "Vetomagok")
            rows.FieldByName("Magfaj").SetAsString(std::to_string(n % kSpecies + 1));
        rows.Post();
    }
}

struct Ledger : FormsDatabase {
    Ledger() {
        AddMaterials(*session, "Tapanyagok", "Kod", 100000, kFertilisers, "kg");
        AddMaterials(*session, "Novenyvedok", "Kod", 200000, kPesticides, "l");
        AddMaterials(*session, "Vetomagok", "Magkod", 300000, kSeeds, "kg");
        db::TTable species(*session);
        species.SetTableName("Magfajtak");
        species.Open();
        for (int n = 1; n <= kSpecies; ++n) {
            species.Append();
            species.FieldByName("Fajkod").SetAsString(std::to_string(n));
            species.FieldByName("Faj").SetAsString("Faj " + std::to_string(n));
            species.Post();
        }
        std::mt19937 random(7);
        std::vector<std::string> codes;
        for (int n = 0; n < kFertilisers; ++n)
            codes.push_back(std::to_string(100000 + n));
        for (int n = 0; n < kPesticides; ++n)
            codes.push_back(std::to_string(200000 + n));
        for (int n = 0; n < kSeeds; ++n)
            codes.push_back(std::to_string(300000 + n));
        db::TTable ledger(*session);
        ledger.SetTableName("Raktarmozgas");
        ledger.Open();
        const sys::DateTime start = sys::encodeDate(2006, 1, 1);
        db::SessionTransaction transaction(*session);
        for (int n = 0; n < kMovements; ++n) {
            ledger.Append();
            ledger.FieldByName("Anyagkod").SetAsString(codes[random() % codes.size()]);
            ledger.FieldByName("Datum").SetAsDateTime(start + static_cast<int>(random() % 1460));
            ledger.FieldByName("Menny").SetAsFloat(static_cast<int>(random() % 2000) - 900);
            ledger.Post();
        }
        transaction.Commit();
        ledger.Close();
    }
};

Ledger& TheLedger() {
    static Ledger ledger;
    return ledger;
}

void Exec(sqlite3* lite, const char* sql) {
    char* error = nullptr;
    if (sqlite3_exec(lite, sql, nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string what = error ? error : "?";
        sqlite3_free(error);
        throw std::runtime_error(std::string("SQLite: ") + sql + ": " + what);
    }
}

// The ledger's rows in SQLite (dates as Paradox day numbers, no date as NULL), with an
// index on the material code, and the sum StockOnDate makes as one prepared statement.
struct LiteLedger {
    sqlite3* lite = nullptr;
    sqlite3_stmt* sum = nullptr;

    explicit LiteLedger(db::Session& session) {
        if (sqlite3_open((session.directory() / "ledger.sqlite").c_str(), &lite) != SQLITE_OK)
            throw std::runtime_error("SQLite: cannot open the ledger");
        Exec(lite, "CREATE TABLE raktar (Mozgkod INTEGER PRIMARY KEY, Anyagkod TEXT, Datum "
                   "INTEGER, Menny REAL)");
        Exec(lite, "CREATE INDEX anyagind ON raktar (Anyagkod)");
        Exec(lite, "BEGIN");
        sqlite3_stmt* insert = nullptr;
        sqlite3_prepare_v2(lite, "INSERT INTO raktar VALUES (?,?,?,?)", -1, &insert, nullptr);
        db::TTable rows(session);
        rows.SetTableName("Raktarmozgas");
        rows.Open();
        for (rows.First(); !rows.Eof(); rows.Next()) {
            sqlite3_bind_int(insert, 1, rows.FieldByName("Mozgkod").AsInteger());
            const std::string code = rows.FieldByName("Anyagkod").AsString();
            sqlite3_bind_text(insert, 2, code.c_str(), -1, SQLITE_TRANSIENT);
            if (rows.FieldByName("Datum").IsNull())
                sqlite3_bind_null(insert, 3);
            else
                sqlite3_bind_int(
                    insert, 3, sys::dateTimeToParadoxDays(rows.FieldByName("Datum").AsDateTime()));
            sqlite3_bind_double(insert, 4, rows.FieldByName("Menny").AsFloat());
            sqlite3_step(insert);
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        Exec(lite, "COMMIT");
        sqlite3_prepare_v2(lite,
                           "SELECT TOTAL(Menny) FROM raktar WHERE Anyagkod = ? AND Datum <= ?", -1,
                           &sum, nullptr);
    }
    ~LiteLedger() {
        sqlite3_finalize(sum);
        sqlite3_close(lite);
    }
    LiteLedger(const LiteLedger&) = delete;
    LiteLedger& operator=(const LiteLedger&) = delete;

    double stock(const std::string& code, sys::DateTime day) {
        sqlite3_bind_text(sum, 1, code.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(sum, 2, sys::dateTimeToParadoxDays(day));
        const double total = sqlite3_step(sum) == SQLITE_ROW ? sqlite3_column_double(sum, 0) : 0;
        sqlite3_reset(sum);
        return total;
    }
};

// A copy of the ledger's files in a folder of their own, given an index on the
// material code.
struct IndexedLedger {
    TempDir dir{fs::temp_directory_path()};
    std::unique_ptr<db::Session> session;

    explicit IndexedLedger(const fs::path& from) {
        for (const auto& entry : fs::directory_iterator(from))
            if (db::sameFileName(entry.path().stem().string(), "Raktarmozgas"))
                fs::copy_file(entry.path(), dir.path() / entry.path().filename());
        session = std::make_unique<db::Session>(dir.path());
        session->open("Raktarmozgas")->addIndex({"RaktarAnyagkodInd", {"Anyagkod"}});
    }
};

const sys::DateTime kDay = sys::encodeDate(2008, 1, 1);

// Every fertiliser's stock on kDay, ours and SQLite's in turn; per look-up.
void CompareOnDate(benchmark::State& state, db::Session& session) {
    try {
        static LiteLedger lite(*TheLedger().session);
        // Kept open, as the stock forms keep it while they ask.
        const auto ledger = session.open("Raktarmozgas");
        double ours = 0, theirs = 0;
        int lookups = 0;
        for (auto _ : state) {
            for (int n = 0; n < kFertilisers; ++n) {
                const std::string code = std::to_string(100000 + n);
                auto start = std::chrono::steady_clock::now();
                const double a = res::StockOnDate(session, code, kDay);
                ours += secondsSince(start);
                start = std::chrono::steady_clock::now();
                const double b = lite.stock(code, kDay);
                theirs += secondsSince(start);
                if (a != b) {
                    state.SkipWithError("the two stocks differ");
                    return;
                }
                ++lookups;
            }
        }
        state.counters["ours_ms"] = ours * 1e3 / lookups;
        state.counters["sqlite_ms"] = theirs * 1e3 / lookups;
        state.counters["ratio"] = ours / theirs;
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
    }
}

void Stock_on_date(benchmark::State& state) {
    CompareOnDate(state, *TheLedger().session);
}
BENCHMARK(Stock_on_date)
    ->Name("Stock/on_date")
    ->Iterations(5)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

void Stock_on_date_indexed(benchmark::State& state) {
    static IndexedLedger indexed(TheLedger().dir.path());
    CompareOnDate(state, *indexed.session);
}
BENCHMARK(Stock_on_date_indexed)
    ->Name("Stock/on_date_indexed")
    ->Iterations(5)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// The stock list's three lists as the form computes them ("|||||" on a day).
void Stock_list(benchmark::State& state) {
    Ledger& ledger = TheLedger();
    ui::OwnedForm<TKeszlist> form(Keszlist, *ledger.session);
    form->DateTimePicker1->SetDate(kDay);
    int rows = 0;
    for (auto _ : state) {
        form->Button4->click();
        rows = 0;
        for (db::TQuery* query : {&form->Query2, &form->Query3, &form->Query4})
            for (query->First(); !query->Eof(); query->Next())
                rows += query->FieldByName("Kossz").IsNull() ? 0 : 1;
    }
    state.counters["rows"] = rows;
}
BENCHMARK(Stock_list)->Unit(benchmark::kMillisecond);

// For comparison: the three lists as one local SQL statement each, the stock joined and
// summed per group by the SQL engine (ledger rows x masters).
void Stock_list_joined_sql(benchmark::State& state) {
    db::Session& session = *TheLedger().session;
    const char* const statements[][9] = {
        {"SELECT Tapanyagok.Nev, Tapanyagok.Mert, SUM( Raktarmozgas.Menny ) Ossz",
         "FROM Tapanyagok", "   INNER JOIN Raktarmozgas",
         "   ON  (Raktarmozgas.Anyagkod = Tapanyagok.Kod)  ", "WHERE Raktarmozgas.Datum <= :dat",
         "GROUP BY Tapanyagok.Nev, Tapanyagok.Mert", "ORDER BY Tapanyagok.Nev", nullptr},
        {"SELECT Novenyvedok.Nev, Novenyvedok.Mert,Novenyvedok.Szertip,Novenyvedok.Hata, SUM( "
         "Raktarmozgas.Menny ) Ossz",
         "FROM Novenyvedok", "   INNER JOIN Raktarmozgas",
         "   ON  (Raktarmozgas.Anyagkod = Novenyvedok.Kod)  ", "WHERE Raktarmozgas.Datum <= :dat",
         "GROUP BY Novenyvedok.Nev, Novenyvedok.Mert,Novenyvedok.Szertip,Novenyvedok.Hata",
         "ORDER BY Novenyvedok.Nev", nullptr},
        {"SELECT Vetomagok.Nev, Vetomagok.Mert, SUM( Raktarmozgas.Menny ) Ossz, Faj",
         "FROM Vetomagok", "   INNER JOIN Raktarmozgas",
         "   ON  (Raktarmozgas.Anyagkod = Vetomagok.Magkod) ", "   INNER JOIN Magfajtak",
         "   ON  (Magfajtak.Fajkod = Vetomagok.Magfaj)", "WHERE (Raktarmozgas.Datum <= :dat)",
         "GROUP BY Vetomagok.Nev, Vetomagok.Mert, Faj", "ORDER BY Vetomagok.Nev"},
    };
    int rows = 0;
    for (auto _ : state) {
        rows = 0;
        for (const auto& lines : statements) {
            db::TQuery query(session);
            for (const char* line : lines)
                if (line)
                    query.SQL().Add(line);
            query.ParamByName("dat").SetAsDate(kDay);
            query.Open();
            for (query.First(); !query.Eof(); query.Next())
                ++rows;
        }
    }
    state.counters["rows"] = rows;
}
BENCHMARK(Stock_list_joined_sql)->Unit(benchmark::kMillisecond);

} // namespace
