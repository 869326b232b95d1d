#pragma once
// Paths and helpers shared by the tests. Every test runs in a fresh temporary working
// directory of its own (see main.cpp).

#include <filesystem>
#include <string>
#include <vector>

namespace testenv {

// The shared folder (fixtures, oracle tools); FARM_SHARED_DIR in the environment wins.
std::filesystem::path sharedDir();
// A fixture under shared/fixtures/paradox, e.g. "generated/TESZT.DB"; when it is not
// there, the running test ends as stopMissing says.
std::filesystem::path fixture(const std::string& relative);
// An oracle tool under shared/tools ("pxdump", "pxmake"); when it is not there, the
// running test ends as stopMissing says.
std::filesystem::path tool(const std::string& name);
// "" when the oracle tools are in the shared folder, else which one is missing and how to
// name another folder.
std::string missingOracle();

// Something of the shared folder the running test needs is missing (`what` names it).
// Under FARM_REQUIRE_SHARED=1 (CI) that is a failure and the test ends; elsewhere the test
// is marked skipped with `what` as its reason and goes on with the checks that need none.
void markMissing(const std::string& what);
// The same, but the test ends here either way.
[[noreturn]] void stopMissing(const std::string& what);
// The project's own dump tool.
std::filesystem::path tabledump();

// Copies a fixture (and its companion files of the same stem) into the working directory,
// writable; returns the copied .db path.
std::filesystem::path copyFixture(const std::string& relative);

struct CommandResult {
    int exitCode = -1;
    std::string out; // standard output
};
// Runs a shell command; standard error goes to the test's log.
CommandResult run(const std::string& command);

std::string readFile(const std::filesystem::path& path);
std::vector<std::string> splitLines(const std::string& text);

} // namespace testenv
