#pragma once
// What the fuzz targets share: a scratch folder, files written from the input, the
// shared fixtures and the program's sources as seeds, and how a target reports a
// finding. The same target functions run in the fuzzers and, over the inputs kept in
// tests/fuzz_regressions, in the test suite.

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace fuzz {

// An input broke a rule the target checks (besides crashes and sanitizer reports).
class Finding : public std::logic_error {
public:
    using std::logic_error::logic_error;
};
[[noreturn]] void finding(const std::string& what);

// A scratch folder of this process, made on first use and removed at exit.
const std::filesystem::path& workDir();
// An empty folder under workDir for one input.
std::filesystem::path freshDir(const std::string& name);

void writeFile(const std::filesystem::path& path, std::string_view bytes);
std::string readFile(const std::filesystem::path& path);

// The input cut at each occurrence of `marker`: parts.size() is at most `parts`.
std::vector<std::string_view> splitInput(std::string_view input, std::string_view marker,
                                         std::size_t parts);

std::filesystem::path sharedDir(); // fixtures, oracle tools
std::filesystem::path sourceDir(); // the program's sources

// Where the shared folder is looked for, as messages about something missing there say it.
std::string sharedWhere();

// A fixture the target needs is not in the shared folder.
class MissingFixture : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
// A file or folder under fixtures/paradox; throws MissingFixture when it is not there.
std::filesystem::path fixture(const std::string& relative);

// Seeds: written by a target's seed function into FUZZ_SEED_DIR when that is set.
void writeSeed(const std::string& name, std::string_view bytes);

// A target: the name its fuzzer and regression folder carry, the check of one input,
// and the seed writer.
struct Target {
    const char* name;
    void (*run)(std::string_view input);
    void (*seed)();
};
const std::vector<Target>& targets();

} // namespace fuzz
