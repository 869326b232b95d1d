// The program's start-up, from nothing to the main window on screen: the session on the
// working directory, the database check (a fresh database made when there is none), the
// main window with its first show (the land-use fix, the version test, the every-start
// column checks of Parckiegadat and legnaplo) and the long-lived forms, then one round of
// the event loop so that the window is painted.
//
// - StartUp/fresh: an empty working directory each time (the fresh database is made
//   inside the timed part, as on a first installation).
// - StartUp/bareWindow: a bare QMainWindow of the main window's size made, shown and
//   painted by the same round of the event loop, then freed outside the timed part: what
//   any Qt program pays.
// - StartUp/largeFarm: a farm of 20 years: 10,000 fields in parcellak, 190,000
//   operations in ElvMuv, 150,000 material uses in felhanyag, a plantation row per field
//   in Parckiegadat and 20,000 grazing rows in legnaplo. It is generated once (a few
//   seconds) into $TMPDIR/farm-bench/startup-farm-<generator version>/ and reused; the
//   start-up changes nothing in it.
//   Both StartUp/fresh and StartUp/largeFarm time a bare window after each start too
//   (outside their timed part) and print ours_ms, bare_ms and ratio = ours / bare.
// - StartUp/process/<fresh|largeFarm>: the figure, process against process. The
//   program (FARM_BENCH_PROGRAM, or the dolvaren built beside the benchmarks) is spawned
//   on a fresh database it has started on once, or on the large farm, and a bare Qt
//   program (bare_window: a QMainWindow of our main window's size) after it; each is
//   timed from its spawn to its first painted window and ends there. The counters give
//   the medians, ratio = ours / bare (wall-clock and processor time), and each one's
//   peak memory up to that paint.
// - ColumnQuery/<open|rows>: what the column checks do on the large farm's ElvMuv (the
//   upgrade's biggest table): open "SELECT * FROM ElvMuv" and read its field names; `rows`
//   also counts the rows, which is what opening cost when a query ran at once.
//
// The goal is a start within 1.3 times the bare Qt program's, on any farm. Nothing here
// checks timings; the figures are for reading.

#include "app/startup.h"
#include "bench_tables.h"
#include "core/Folap.h"
#include "core/Isnuminth.h"
#include "core/Settings.h"
#include "core/fresh_database.h"
#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/sys/datetime.h"
#include "platform/ui/application.h"

#include <QApplication>
#include <QEvent>
#include <QMainWindow>
#include <QProcess>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace {

using namespace benchtables;

constexpr int kYears = 20;
constexpr int kFields = 10000;
// ElvMuv's records (about 520 bytes) go three to a 2 KiB block, the block size Paradox
// gives the table: its 65,535 blocks hold at most about 196,000 operations.
constexpr int kOperationsPerField = 19;
constexpr int kMaterialUses = 150000;
constexpr int kGrazingRows = 20000;

// --- the Qt application and the services of a start-up without a user ----------------------

QApplication& QtOnce() {
    static QApplication* qt = [] {
        if (!std::getenv("QT_QPA_PLATFORM"))
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
        static int argc = 1;
        static char name[] = "farm_bench";
        static char* argv[] = {name, nullptr};
        return ui::MakeQtApplication(argc, argv).release(); // lives until the process ends
    }();
    return *qt;
}

class SilentDialogs : public ui::DialogService {
public:
    int Show(const ui::Message& message) override {
        ++shown;
        last = message.text;
        return ui::mrOk;
    }
    int shown = 0;
    std::string last;
};

class NoHelp : public ui::HelpService {
public:
    void ShowTopic(const std::string&, int) override {}
    void ShowContents(const std::string&) override {}
};

// One start of the program on `directory`, up to the main window shown and painted; the
// forms are freed afterwards, outside the timed part.
class StartUp {
public:
    explicit StartUp(const fs::path& directory) : session_(directory) {}
    ~StartUp() {
        app_.reset(); // the forms before the session
        Folap1 = nullptr;
        NumericInt = nullptr;
    }
    StartUp(const StartUp&) = delete;
    StartUp& operator=(const StartUp&) = delete;

    bool Run() {
        if (app::PrepareWorkingDatabase(session_) != 0)
            return false;
        app::CreateForms(*app_, session_);
        QCoreApplication::processEvents();
        if (Folap1)
            windowSize() = Folap1->size();
        return Folap1 && Folap1->isVisible();
    }

    // The main window's size at the last start (the bare window takes it).
    static QSize& windowSize() {
        static QSize size(1024, 768);
        return size;
    }

private:
    db::Session session_;
    SilentDialogs dialogs_;
    NoHelp help_;
    ui::EventLoopModalDriver modal_;
    std::unique_ptr<ui::TApplication> app_ =
        std::make_unique<ui::TApplication>(dialogs_, help_, modal_);
};

// --- the large farm -----------------------------------------------------------------------

// A value of the field's type made from a number (text fields get its digits).
db::Value ValueFor(const db::FieldDef& field, long number) {
    switch (field.type) {
    case db::FieldType::Alpha: {
        std::string text = std::to_string(number);
        if (static_cast<int>(text.size()) > field.size)
            text = text.substr(text.size() - static_cast<std::size_t>(field.size));
        return text;
    }
    case db::FieldType::Short:
        return static_cast<std::int32_t>(number % 30000);
    case db::FieldType::Long:
        return static_cast<std::int32_t>(number);
    case db::FieldType::Number:
    case db::FieldType::Currency:
        return static_cast<double>(number % 100000) / 10.0;
    case db::FieldType::Logical:
        return number % 2 == 0;
    case db::FieldType::Date:
        return db::Date{733000 + static_cast<std::int32_t>(number % 7300)};
    default:
        return db::Null{};
    }
}

using Given = std::map<std::string, db::Value>;

// A given value in the type of its field: numbers written as text for text fields, text
// read as a number for number fields.
db::Value Adapt(const db::FieldDef& field, const db::Value& value) {
    if (const auto* text = std::get_if<std::string>(&value); text && !db::isTextType(field.type))
        return ValueFor(field, std::stol(*text));
    if (const auto* number = std::get_if<std::int32_t>(&value))
        return ValueFor(field, *number);
    if (const auto* number = std::get_if<double>(&value);
        number && field.type == db::FieldType::Long)
        return static_cast<std::int32_t>(*number);
    return value;
}

// Inserts `rows` rows: the fields named in what `make` gives take those values, the first
// key field not given gets the row number, every other field a value of its type.
// A few thousand rows go to a transaction: a change outside one is written, journal and
// all, on its own.
void Fill(db::Session& session, const std::string& table, int rows,
          const std::function<Given(int)>& make) {
    constexpr int kRowsPerTransaction = 5000;
    auto shared = session.open(table);
    const db::TableFile& file = shared->file();
    const auto& fields = file.fields();
    std::optional<db::SessionTransaction> transaction;
    for (int row = 0; row < rows; ++row) {
        if (row % kRowsPerTransaction == 0) {
            if (transaction)
                transaction->Commit();
            transaction.emplace(session);
        }
        Given given = make(row);
        db::Record record(fields.size());
        for (std::size_t i = 0; i < fields.size(); ++i) {
            auto value = given.find(fields[i].name);
            if (value != given.end())
                record[i] = Adapt(fields[i], value->second);
            else if (fields[i].type == db::FieldType::AutoInc)
                record[i] = db::Null{};
            else
                record[i] = ValueFor(
                    fields[i], static_cast<int>(i) < file.keyFields() ? 100000 + row : row % 97);
        }
        shared->insert(record);
    }
    if (transaction)
        transaction->Commit();
}

std::string Code(int number) {
    return std::to_string(100000 + number);
}

db::Value DayIn(int year, int dayOfYear) {
    double day = sys::encodeDate(year, 1, 1) + dayOfYear;
    return db::Date{sys::dateTimeToParadoxDays(day)};
}

int YearOfField(int field) {
    return 2005 + field / (kFields / kYears);
}

void GenerateFarm(const fs::path& directory) {
    db::Session session(directory);
    core::CreateFreshDatabase(session);
    Fill(session, "parcellak", kFields, [](int field) {
        return Given{{"Parckod", Code(field)},
                     {"Evj", std::to_string(YearOfField(field))},
                     {"Parcsor", static_cast<std::int32_t>(field % (kFields / kYears) + 1)},
                     {"Ter", 10000.0 + field % 5000 * 10},
                     {"Agazat", std::string(field % 3 ? "Őszi búza" : "Kukorica")},
                     {"Aktiv", std::string(YearOfField(field) == 2005 + kYears - 1 ? "A" : "N")}};
    });
    Fill(session, "ElvMuv", kFields * kOperationsPerField, [](int op) {
        int field = op / kOperationsPerField;
        return Given{{"Muvkod", Code(op)},
                     {"Tablakod", Code(field)},
                     {"Datum", DayIn(YearOfField(field), op % kOperationsPerField * 15)}};
    });
    Fill(session, "felhanyag", kMaterialUses, [](int use) {
        int op = static_cast<int>(static_cast<long>(use) * kFields * kOperationsPerField /
                                  kMaterialUses);
        return Given{{"Felhkod", Code(use)},
                     {"Muvkod", Code(op)},
                     {"Tablakod", Code(op / kOperationsPerField)},
                     {"Anyagkod", Code(use % 40)},
                     {"Anyagtip", std::string("00000") + std::to_string(use % 3)}};
    });
    Fill(session, "Parckiegadat", kFields, [](int field) {
        return Given{{"Parckod", Code(field)}};
    });
    Fill(session, "legnaplo", kGrazingRows, [](int row) {
        return Given{{"Parckod", Code(row % kFields)}};
    });
    // Stamped as a database the program has already started on once.
    core::FixLandUseCodes(session);
    core::UpgradeDatabase(session);
}

const fs::path& LargeFarm() {
    static const fs::path farm = [] {
        // Named by the generator's version: a farm of an older generator is made again.
        fs::path folder = cacheDir() / "startup-farm-2";
        if (fs::exists(folder / "complete"))
            return folder;
        std::cerr << "farm_bench: generating the large farm in " << folder.string()
                  << " once; later runs reuse it\n";
        fs::remove_all(folder);
        fs::path work = cacheDir() / "startup-farm.partial";
        fs::remove_all(work);
        fs::create_directories(work);
        auto start = std::chrono::steady_clock::now();
        GenerateFarm(work);
        std::ofstream(work / "complete") << "generated\n";
        fs::rename(work, folder);
        std::cerr << "farm_bench: generated in " << secondsSince(start) << " s\n";
        return folder;
    }();
    return farm;
}

// --- the bare window ------------------------------------------------------------------------

// Counts the paint events of the widget it watches.
class PaintCounter : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
    int paints = 0;
};

// A bare main window of the size of ours, shown and painted; freed after the timing. -1
// when it was not painted.
double BareWindowSeconds() {
    PaintCounter counter;
    const auto start = std::chrono::steady_clock::now();
    auto window = std::make_unique<QMainWindow>();
    window->installEventFilter(&counter);
    window->resize(StartUp::windowSize());
    window->show();
    QCoreApplication::processEvents();
    const double seconds = secondsSince(start);
    if (!window->isVisible() || counter.paints == 0)
        return -1;
    window.reset();
    QCoreApplication::processEvents(); // the deferred deletes, as after our start
    return seconds;
}

// Our start-ups and the bare windows timed beside them, summed over the iterations.
struct BesideBare {
    double ours = 0;
    double bare = 0;
    int runs = 0;

    void Add(double oursSeconds, double bareSeconds) {
        ours += oursSeconds;
        bare += bareSeconds;
        ++runs;
    }
    void Report(benchmark::State& state) const {
        if (runs == 0)
            return;
        state.counters["ours_ms"] = ours / runs * 1e3;
        state.counters["bare_ms"] = bare / runs * 1e3;
        state.counters["ratio"] = bare > 0 ? ours / bare : 0;
    }
};

// One start on `folder` timed, then a bare window timed, both outside the benchmark's
// paused parts; false when the start stopped or the bare window was not painted.
bool StartBesideBare(benchmark::State& state, const fs::path& folder, BesideBare& figures) {
    const auto start = std::chrono::steady_clock::now();
    double ours = 0;
    {
        StartUp startUp(folder);
        const bool ran = startUp.Run();
        ours = secondsSince(start);
        state.PauseTiming();
        if (!ran)
            return false;
    }
    const double bare = BareWindowSeconds();
    figures.Add(ours, bare);
    return bare >= 0;
}

// --- the benchmarks -------------------------------------------------------------------------

void StartUpFresh(benchmark::State& state) {
    QtOnce();
    BesideBare figures;
    for (auto _ : state) {
        state.PauseTiming();
        auto folder = std::make_unique<TempDir>(cacheDir());
        state.ResumeTiming();
        if (!StartBesideBare(state, folder->path(), figures))
            state.SkipWithError("the start-up stopped or the bare window was not painted");
        folder.reset();
        state.ResumeTiming();
    }
    figures.Report(state);
}
BENCHMARK(StartUpFresh)->Name("StartUp/fresh")->Unit(benchmark::kMillisecond)->UseRealTime();

void StartUpLargeFarm(benchmark::State& state) {
    QtOnce();
    const fs::path& farm = LargeFarm();
    BesideBare figures;
    for (auto _ : state) {
        if (!StartBesideBare(state, farm, figures))
            state.SkipWithError("the start-up stopped or the bare window was not painted");
        state.ResumeTiming();
    }
    figures.Report(state);
}
BENCHMARK(StartUpLargeFarm)
    ->Name("StartUp/largeFarm")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void StartUpBareWindow(benchmark::State& state) {
    QtOnce();
    for (auto _ : state) {
        const double seconds = BareWindowSeconds();
        if (seconds < 0)
            state.SkipWithError("the bare window was not painted");
        state.SetIterationTime(seconds);
    }
}
BENCHMARK(StartUpBareWindow)
    ->Name("StartUp/bareWindow")
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();

// --- the program against a bare Qt program, process against process ---------------------

// The program the process benchmarks spawn: FARM_BENCH_PROGRAM, or the one built beside.
QString ProgramPath() {
    const char* chosen = std::getenv("FARM_BENCH_PROGRAM");
    return QString::fromLocal8Bit(chosen ? chosen : FARM_PROGRAM);
}

struct Painted {
    double seconds = -1; // from the spawn to the first paint; -1 when it did not paint
    QSize size;
    double peakBytes = 0;
    double processorSeconds = 0; // of all its threads, up to the paint
    std::string error;
};

// Spawns `program` in `folder` with the first-paint report asked for (app/first_paint.h)
// and waits until it ends; a process that has not painted within a minute (a message box
// waiting for an answer, say) is killed.
Painted SpawnUntilPainted(const QString& program, const QStringList& arguments,
                          const fs::path& folder) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("FARM_BENCH_PAINTED", "1");
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(QString::fromStdString(folder.string()));
    process.setProcessChannelMode(QProcess::SeparateChannels);
    const auto spawned = std::chrono::steady_clock::now();
    process.start(program, arguments);
    Painted painted;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        painted.error = program.toStdString() + " did not paint within a minute";
        return painted;
    }
    long long nanoseconds = 0;
    int width = 0;
    int height = 0;
    long peakKiB = 0;
    long long processorMicroseconds = 0;
    const QByteArray output = process.readAllStandardOutput();
    // The peak and the processor time are missing from the report of an older build.
    if (std::sscanf(output.constData(), "painted %lld %d %d %ld %lld", &nanoseconds, &width,
                    &height, &peakKiB, &processorMicroseconds) < 3) {
        painted.error = program.toStdString() +
                        " ended without painting: " + process.readAllStandardError().toStdString();
        return painted;
    }
    painted.seconds = std::chrono::duration<double>(std::chrono::nanoseconds(nanoseconds) -
                                                    spawned.time_since_epoch())
                          .count();
    painted.size = QSize(width, height);
    painted.peakBytes = static_cast<double>(peakKiB) * 1024;
    painted.processorSeconds = static_cast<double>(processorMicroseconds) / 1e6;
    return painted;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// The runs of one process, and the counters they give.
struct Runs {
    std::vector<double> seconds;
    std::vector<double> processorSeconds;
    double peakBytes = 0;

    void Add(const Painted& painted) {
        seconds.push_back(painted.seconds);
        processorSeconds.push_back(painted.processorSeconds);
        peakBytes = std::max(peakBytes, painted.peakBytes);
    }
    void Clear() { *this = Runs(); }
};

// Each iteration spawns the program on `folder`, then the bare window of the size the
// program's main window had; the iteration's time is the program's. After one untimed
// round of both (the files in the system's cache, as at any start after the first), the
// counters give the medians of the wall-clock and the processor times (steadier on a
// loaded machine), their ratios, and each process's highest peak memory up to its paint.
void ProcessBesideBare(benchmark::State& state, const fs::path& folder) {
    const QString bare = QString::fromLocal8Bit(FARM_BARE_WINDOW);
    Runs ours;
    Runs bares;
    auto round = [&] {
        const Painted program = SpawnUntilPainted(ProgramPath(), {}, folder);
        if (program.seconds < 0)
            return program.error;
        const Painted window = SpawnUntilPainted(
            bare, {QString::number(program.size.width()), QString::number(program.size.height())},
            folder);
        if (window.seconds < 0)
            return window.error;
        ours.Add(program);
        bares.Add(window);
        return std::string();
    };
    if (std::string error = round(); !error.empty()) {
        state.SkipWithError(error.c_str());
        return;
    }
    ours.Clear();
    bares.Clear();
    for (auto _ : state) {
        if (std::string error = round(); !error.empty()) {
            state.SkipWithError(error.c_str());
            return;
        }
        state.SetIterationTime(ours.seconds.back());
    }
    state.counters["ours_ms"] = Median(ours.seconds) * 1e3;
    state.counters["bare_ms"] = Median(bares.seconds) * 1e3;
    state.counters["ratio"] = Median(ours.seconds) / Median(bares.seconds);
    state.counters["ours_cpu_ms"] = Median(ours.processorSeconds) * 1e3;
    state.counters["bare_cpu_ms"] = Median(bares.processorSeconds) * 1e3;
    state.counters["cpu_ratio"] = Median(ours.processorSeconds) / Median(bares.processorSeconds);
    state.counters["ours_peak_mb"] = ours.peakBytes / 1e6;
    state.counters["bare_peak_mb"] = bares.peakBytes / 1e6;
}

// A fresh database the program has started on once (the first start, which makes it,
// says so in a message box and is timed by StartUp/fresh).
void ProcessFresh(benchmark::State& state) {
    QtOnce();
    TempDir folder(cacheDir());
    if (!StartUp(folder.path()).Run()) {
        state.SkipWithError("the first start on a fresh database stopped");
        return;
    }
    ProcessBesideBare(state, folder.path());
}
BENCHMARK(ProcessFresh)
    ->Name("StartUp/process/fresh")
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(15);

void ProcessLargeFarm(benchmark::State& state) {
    ProcessBesideBare(state, LargeFarm());
}
BENCHMARK(ProcessLargeFarm)
    ->Name("StartUp/process/largeFarm")
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(15);

void ColumnQuery(benchmark::State& state, bool readRows) {
    db::Session session(LargeFarm());
    for (auto _ : state) {
        db::TQuery query(session, "Query2");
        query.SQL().Add("SELECT *");
        query.SQL().Add("FROM ElvMuv");
        query.Open();
        std::size_t names = 0;
        for (int i = 0; i < query.FieldCount(); ++i)
            names += query.Fields(i).FieldName().size();
        benchmark::DoNotOptimize(names);
        if (readRows)
            benchmark::DoNotOptimize(query.RecordCount());
        query.Close();
    }
}
BENCHMARK_CAPTURE(ColumnQuery, open, false)
    ->Name("ColumnQuery/open")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ColumnQuery, rows, true)->Name("ColumnQuery/rows")->Unit(benchmark::kMillisecond);

} // namespace
