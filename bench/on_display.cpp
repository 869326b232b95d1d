#include "on_display.h"

#include "bench_tables.h"
#include "platform/ui/form.h"

#include <QApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <benchmark/benchmark.h>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <optional>
#include <regex>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace benchtables {

namespace {

std::vector<std::string>& twins() {
    static std::vector<std::string> names;
    return names;
}

// Xvfb on a free display number (it writes the number it took to a pipe), for a scope.
class Xvfb {
public:
    Xvfb() {
        int fds[2];
        if (pipe(fds) != 0)
            return;
        pid_ = fork();
        if (pid_ == 0) {
            close(fds[0]);
            const int quiet = open("/dev/null", O_WRONLY);
            dup2(quiet, STDOUT_FILENO);
            dup2(quiet, STDERR_FILENO);
            const std::string fd = std::to_string(fds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24",
                   "-nolisten", "tcp", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        std::string number;
        char c = 0;
        while (pid_ > 0 && read(fds[0], &c, 1) == 1 && c != '\n')
            number += c;
        close(fds[0]);
        if (!number.empty())
            display_ = ":" + number;
    }
    ~Xvfb() {
        if (pid_ <= 0)
            return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    Xvfb(const Xvfb&) = delete;
    Xvfb& operator=(const Xvfb&) = delete;

    // ":N", or empty when it did not start.
    const std::string& display() const { return display_; }

private:
    pid_t pid_ = -1;
    std::string display_;
};

using Figures = std::map<std::string, double>;

struct DisplayRun {
    std::string display; // where it ran, or empty
    std::string error;   // why it did not
    std::map<std::string, Figures> byName;
};

// The twin's name of a benchmark run ("Lists/muvlist_all/iterations:1" belongs to
// "Lists/muvlist_all").
std::optional<std::string> twinOf(const std::string& runName) {
    for (const std::string& name : twins())
        if (runName == name || runName.rfind(name + "/", 0) == 0)
            return name;
    return std::nullopt;
}

void readFigures(const QString& file, DisplayRun& run) {
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) {
        run.error = "the run on the display wrote no results";
        return;
    }
    const QJsonArray benchmarks = QJsonDocument::fromJson(in.readAll())["benchmarks"].toArray();
    for (const QJsonValue& entry : benchmarks) {
        const QJsonObject result = entry.toObject();
        const auto name = twinOf(result["name"].toString().toStdString());
        if (!name)
            continue;
        Figures& figures = run.byName[*name];
        for (auto it = result.begin(); it != result.end(); ++it)
            if (it.value().isDouble())
                figures[it.key().toStdString()] = it.value().toDouble();
        if (result.contains("error_message"))
            run.error = result["error_message"].toString().toStdString();
    }
}

// Every twin's benchmark, run once in a child on a display.
DisplayRun runOnDisplay() {
    DisplayRun run;
    std::optional<Xvfb> xvfb;
    const char* display = std::getenv("DISPLAY");
    if (display && *display) {
        run.display = display;
    } else {
        xvfb.emplace();
        run.display = xvfb->display();
        if (run.display.empty()) {
            run.error = "Xvfb did not start (apt-get install xvfb)";
            return run;
        }
    }
    std::string filter;
    for (const std::string& name : twins())
        filter += (filter.empty() ? "" : "|") + name;
    const TempDir results(fs::temp_directory_path());
    const QString out = QString::fromStdString((results.path() / "display.json").string());
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DISPLAY", QString::fromStdString(run.display));
    environment.insert("QT_QPA_PLATFORM", "xcb");
    environment.insert("FARM_BENCH_PREVIEW", "1");
    child.setProcessEnvironment(environment);
    child.setStandardOutputFile(QProcess::nullDevice());
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    std::fprintf(stderr, "printing on the display %s...\n", run.display.c_str());
    child.start("/proc/self/exe",
                {QString::fromStdString("--benchmark_filter=^(" + filter + ")(/|$)"),
                 "--benchmark_out=" + out, "--benchmark_out_format=json"});
    if (!child.waitForFinished(-1) || child.exitCode() != 0) {
        run.error = "the run on the display failed";
        return run;
    }
    readFigures(out, run);
    return run;
}

const DisplayRun& displayRun() {
    static const DisplayRun run = runOnDisplay();
    return run;
}

void Twin(benchmark::State& state, const std::string& name) {
    const DisplayRun& run = displayRun();
    const auto found = run.byName.find(name);
    if (found == run.byName.end()) {
        state.SkipWithError(
            (run.error.empty() ? "no figures from the display" : run.error).c_str());
        for (auto _ : state) {
        }
        return;
    }
    const Figures& figures = found->second;
    const auto figure = [&](const char* key) {
        const auto it = figures.find(key);
        return it == figures.end() ? 0.0 : it->second;
    };
    for (auto _ : state)
        state.SetIterationTime(figure("whole_ms") / 1000);
    for (const char* key : {"pages", "peak_mb", "first_page_ms", "whole_ms", "press1_first_page_ms",
                            "press1_whole_ms", "later_first_page_ms", "later_whole_ms"})
        if (figures.count(key))
            state.counters[key] = figure(key);
    state.SetLabel("on " + run.display);
}

// Whether the run's --benchmark_filter selects the benchmark of that name.
bool selected(const std::string& name) {
    const std::string filter = benchmark::GetBenchmarkFilter();
    if (filter.empty() || filter == "all")
        return true;
    const bool negative = filter.front() == '-';
    const std::regex pattern(negative ? filter.substr(1) : filter, std::regex::extended);
    return std::regex_search(name, pattern) != negative;
}

} // namespace

bool OnDisplay() {
    const char* preview = std::getenv("FARM_BENCH_PREVIEW");
    return preview && std::strcmp(preview, "1") == 0;
}

void ShowOnDisplay(ui::TForm& form) {
    if (!OnDisplay())
        return;
    form.Show();
    // Until the window is mapped and painted.
    for (int round = 0; round < 20; ++round) {
        QApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

bool RegisterOnDisplay(std::initializer_list<const char*> names) {
    twins().insert(twins().end(), names.begin(), names.end());
    return true;
}

void AddDisplayTwins() {
    if (OnDisplay())
        return;
    // Only the twins this run's filter selects go to the display.
    std::erase_if(twins(), [](const std::string& name) { return !selected("X/" + name); });
    for (const std::string& name : twins())
        benchmark::RegisterBenchmark(("X/" + name).c_str(),
                                     [name](benchmark::State& state) { Twin(state, name); })
            ->Unit(benchmark::kMillisecond)
            ->UseManualTime()
            ->Iterations(1);
}

} // namespace benchtables
