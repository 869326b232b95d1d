// Every input a fuzz target once failed on runs through that target again, cleanly.

#include "fuzz/fuzz_support.h"
#include "support/test_env.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

const fs::path kKept = fs::path(FARM_SOURCE_DIR) / "tests/fuzz_regressions";

TEST(FuzzRegressions, KeptInputsRunClean) {
    std::size_t inputs = 0;
    for (const fuzz::Target& target : fuzz::targets()) {
        const fs::path dir = kKept / target.name;
        if (!fs::is_directory(dir))
            continue;
        for (const auto& entry : fs::directory_iterator(dir)) {
            ++inputs;
            const std::string input = testenv::readFile(entry.path());
            try {
                target.run(input);
            } catch (const fuzz::MissingFixture& e) {
                testenv::markMissing(e.what()); // the other targets' inputs still run
                break;
            } catch (const std::exception& e) {
                ADD_FAILURE() << target.name << "/" << entry.path().filename().string() << ": "
                              << e.what();
            }
        }
    }
    EXPECT_GT(inputs, 0u) << "no input kept under " << kKept.string();
}

TEST(FuzzRegressions, EveryFolderNamesATarget) {
    for (const auto& entry : fs::directory_iterator(kKept)) {
        if (!entry.is_directory())
            continue;
        const std::string name = entry.path().filename().string();
        EXPECT_TRUE(std::any_of(fuzz::targets().begin(), fuzz::targets().end(),
                                [&](const fuzz::Target& t) { return t.name == name; }))
            << name;
    }
}

} // namespace

namespace {

// Each target writes seeds (from the fixtures and the program's own statements, filters,
// layouts and pictures), and runs clean over them.
TEST(FuzzTargets, SeedsAreWrittenAndRunClean) {
    for (const fuzz::Target& target : fuzz::targets()) {
        const fs::path dir = fs::current_path() / target.name;
        ::setenv("FUZZ_SEED_DIR", dir.c_str(), 1);
        try {
            target.seed();
        } catch (const fuzz::MissingFixture& e) {
            ::unsetenv("FUZZ_SEED_DIR");
            testenv::markMissing(e.what()); // the other targets still run
            continue;
        }
        ::unsetenv("FUZZ_SEED_DIR");
        std::size_t seeds = 0;
        for (const auto& entry : fs::directory_iterator(dir)) {
            ++seeds;
            try {
                target.run(testenv::readFile(entry.path()));
            } catch (const std::exception& e) {
                ADD_FAILURE() << target.name << " seed " << entry.path().filename().string() << ": "
                              << e.what();
            }
        }
        EXPECT_GE(seeds, 2u) << target.name;
    }
}

} // namespace
