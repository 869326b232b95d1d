# Top-level commands: deps, build, test, bench, fuzz, run.
BUILD      ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS       ?= $(shell nproc)
FUZZ_SECONDS ?= 600
CRASH_SECONDS ?= 120

# Debian packages the build, the tests and the benchmarks need (SQLite: tests and
# benchmarks only, never the program).
PACKAGES = build-essential cmake ninja-build pkg-config \
           zlib1g-dev libgtest-dev libgmock-dev libbenchmark-dev libsqlite3-dev \
           qt6-base-dev libjpeg62-turbo-dev libzip-dev fonts-dejavu-core fonts-dejavu-extra \
           xvfb xauth poppler-utils qt6-translations-l10n

# The fuzzer needs clang and its sanitizer runtime as well.
FUZZ_PACKAGES = clang libclang-rt-14-dev

# ccache, when the machine has it, keeps rebuilds of several checkouts short.
LAUNCHER = $(if $(shell command -v ccache),-DCMAKE_CXX_COMPILER_LAUNCHER=ccache,)

SUDO = $(if $(filter 0,$(shell id -u)),,sudo)

.PHONY: all deps configure build test release-build bench fuzz crash-long clean format run

all: build

deps:
	@missing=""; \
	for p in $(PACKAGES) $(EXTRA_PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq --no-install-recommends $$missing; \
	fi

configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(LAUNCHER)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# Starts the program on the database in data/ (a fresh one is made there on the first run).
run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	  echo "No graphical display: run it as  xvfb-run -a make run  (or from a desktop session)."; \
	  exit 1; \
	fi
	mkdir -p data
	cd data && $(abspath $(BUILD))/app/dolvaren

# Tests needing the shared folder (../shared, or FARM_SHARED_DIR) skip without it, unless
# FARM_REQUIRE_SHARED=1 (CI) makes that a failure; the skipped tests and why come last.
test: build
	@cd $(BUILD) && status=0 && \
	  { QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) || status=$$?; } && \
	  awk -f $(abspath tests/skip_summary.awk) Testing/Temporary/LastTest.log && exit $$status

# The program, its libraries and tools compiled in Release (no tests, no benchmarks), in a
# build folder of its own, so that the optimised configuration keeps compiling.
release-build: deps
	cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DFARM_TESTS=OFF \
	  -DFARM_BENCH=OFF $(LAUNCHER)
	cmake --build build-release -j $(JOBS)

# The benchmarks time the optimised program, as the farmer runs it: a Release build folder
# of their own, whatever BUILD_TYPE the tests use.
BENCH_BUILD ?= build-bench

bench: deps
	cmake -S . -B $(BENCH_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DFARM_TESTS=OFF $(LAUNCHER)
	cmake --build $(BENCH_BUILD) -j $(JOBS) --target farm_bench
	$(BENCH_BUILD)/bench/farm_bench $(BENCH_ARGS)

# Builds every fuzz target (clang's libFuzzer) and runs them all, FUZZ_JOBS at a time
# (the machine's cores by default), each for FUZZ_SECONDS; failing inputs are left in
# fuzz/crashes/<target>/ (keep them in tests/fuzz_regressions/<target>/).
FUZZ_TARGETS = table_reader primary_index secondary_index blob_file filter sql layout \
               picture numbers_dates journal
FUZZ_JOBS ?= $(JOBS)

fuzz:
	$(MAKE) deps EXTRA_PACKAGES="$(FUZZ_PACKAGES)"
	cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DFARM_FUZZ=ON \
	  -DFARM_WERROR=OFF $(LAUNCHER)
	cmake --build build-fuzz -j $(JOBS) --target fuzz_all
	printf '%s\n' $(FUZZ_TARGETS) | \
	  xargs -P $(FUZZ_JOBS) -I{} fuzz/run_target.sh build-fuzz {} $(FUZZ_SECONDS)

# The crash-consistency tests, each random-kill run lasting CRASH_SECONDS instead of the
# short CI run (the step-by-step runs are the same as in make test).
crash-long: build
	cd $(BUILD) && FARM_CRASH_SECONDS=$(CRASH_SECONDS) ./tests/farm_tests --gtest_filter='*Crash*'

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) build-fuzz build-release
