#include "support/test_env.h"

#include "fuzz/fuzz_support.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace testenv {

fs::path sharedDir() {
    return fuzz::sharedDir();
}

namespace {

fs::path toolPath(const std::string& name) {
    return sharedDir() / "tools" / name;
}

std::string missingTool(const std::string& name) {
    std::error_code ec;
    if (fs::is_regular_file(toolPath(name), ec))
        return "";
    const std::string role = name == "pxdump" ? "independent reader" : "independent writer";
    return "no " + role + " " + name + ": " + toolPath(name).string() + " is missing" +
           fuzz::sharedWhere();
}

bool sharedRequired() {
    const char* env = std::getenv("FARM_REQUIRE_SHARED");
    return env && *env && std::string(env) != "0";
}

} // namespace

fs::path fixture(const std::string& relative) {
    try {
        return fuzz::fixture(relative);
    } catch (const fuzz::MissingFixture& e) {
        stopMissing(e.what());
    }
}

fs::path tool(const std::string& name) {
    if (const std::string missing = missingTool(name); !missing.empty())
        stopMissing(missing);
    return toolPath(name);
}

std::string missingOracle() {
    return missingTool("pxdump");
}

void markMissing(const std::string& what) {
    if (!::testing::UnitTest::GetInstance()->current_test_info())
        throw std::runtime_error(what);
    if (sharedRequired()) {
        ADD_FAILURE() << what << "; FARM_REQUIRE_SHARED=1 makes that a failure";
        throw ::testing::AssertionException(::testing::TestPartResult(
            ::testing::TestPartResult::kFatalFailure, __FILE__, __LINE__, what.c_str()));
    }
    if (!::testing::Test::IsSkipped())
        [&] { GTEST_SKIP() << what; }();
}

void stopMissing(const std::string& what) {
    markMissing(what);
    // gtest takes this exception as a result already recorded: the test ends as skipped.
    throw ::testing::AssertionException(::testing::TestPartResult(
        ::testing::TestPartResult::kSkip, __FILE__, __LINE__, what.c_str()));
}

fs::path tabledump() {
    return FARM_TABLEDUMP;
}

fs::path copyFixture(const std::string& relative) {
    const fs::path source = fixture(relative);
    const std::string stem = source.stem().string();
    fs::path copied;
    for (const auto& entry : fs::directory_iterator(source.parent_path())) {
        if (entry.path().stem().string() != stem || entry.path().extension() == ".expected")
            continue;
        const fs::path target = fs::current_path() / entry.path().filename();
        fs::copy_file(entry.path(), target, fs::copy_options::overwrite_existing);
        fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
        if (entry.path().filename() == source.filename())
            copied = target;
    }
    if (copied.empty())
        throw std::runtime_error("no fixture " + source.string());
    return copied;
}

CommandResult run(const std::string& command) {
    CommandResult result;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        throw std::runtime_error("cannot run " + command);
    std::array<char, 65536> buffer{};
    std::size_t n = 0;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        result.out.append(buffer.data(), n);
    const int status = ::pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

} // namespace testenv
