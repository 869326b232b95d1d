#include "support/test_env.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace testenv {

fs::path sharedDir() {
    if (const char* env = std::getenv("FARM_SHARED_DIR"); env && *env)
        return env;
    return FARM_SHARED_DIR;
}

fs::path fixture(const std::string& relative) {
    return sharedDir() / "fixtures/paradox" / relative;
}

fs::path tool(const std::string& name) {
    return sharedDir() / "tools" / name;
}

std::string missingOracle() {
    std::error_code ec;
    if (fs::is_regular_file(tool("pxdump"), ec))
        return "";
    return "the oracle tools are missing: no " + tool("pxdump").string() +
           " (the shared folder beside the checkout; set FARM_SHARED_DIR to another one)";
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
