// The benchmarks' main. FARM_BENCH_ONE_CORE=1 pins the process (and every thread it
// starts) to one core before any benchmark runs, so that each figure can be read pinned
// as well as free; the context line "one_core" says which. The print benchmarks' twins on
// an X display (X/...) come after all the others (on_display.h). A child started by the
// SQL benchmarks to run one query first (FARM_SQL_FIRST_QUERY) does only that.

#include "bench_tables.h"
#include "on_display.h"

#include <benchmark/benchmark.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sched.h>
#include <string>

namespace {

// Pins the process to the first core it may run on; the core's number, or -1.
int PinToOneCore() {
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    if (sched_getaffinity(0, sizeof allowed, &allowed) != 0)
        return -1;
    for (int core = 0; core < CPU_SETSIZE; ++core) {
        if (!CPU_ISSET(core, &allowed))
            continue;
        cpu_set_t one;
        CPU_ZERO(&one);
        CPU_SET(core, &one);
        return sched_setaffinity(0, sizeof one, &one) == 0 ? core : -1;
    }
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    if (const int child = benchtables::runFirstQueryChild(); child >= 0)
        return child;
    const char* wanted = std::getenv("FARM_BENCH_ONE_CORE");
    std::string pinned = "no";
    if (wanted && std::strcmp(wanted, "1") == 0) {
        const int core = PinToOneCore();
        if (core < 0) {
            std::fprintf(stderr, "farm_bench: cannot pin to one core: %s\n", std::strerror(errno));
            return 1;
        }
        pinned = "core " + std::to_string(core);
    }
    benchmark::AddCustomContext("one_core", pinned);
    benchmark::Initialize(&argc, argv);
    benchtables::AddDisplayTwins(); // the prints once more on an X display, last
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
