#include "fuzz/fuzz_support.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace fuzz {

void finding(const std::string& what) {
    throw Finding(what);
}

const fs::path& workDir() {
    static const fs::path dir = [] {
        std::string pattern = (fs::temp_directory_path() / "farm-fuzz-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        std::atexit([] {
            std::error_code ignored;
            fs::remove_all(workDir(), ignored);
        });
        return fs::path(pattern);
    }();
    return dir;
}

fs::path freshDir(const std::string& name) {
    const fs::path dir = workDir() / name;
    std::error_code ignored;
    fs::remove_all(dir, ignored);
    fs::create_directories(dir);
    return dir;
}

void writeFile(const fs::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string_view> splitInput(std::string_view input, std::string_view marker,
                                         std::size_t parts) {
    std::vector<std::string_view> out;
    while (out.size() + 1 < parts) {
        const std::size_t at = input.find(marker);
        if (at == std::string_view::npos)
            break;
        out.push_back(input.substr(0, at));
        input.remove_prefix(at + marker.size());
    }
    out.push_back(input);
    return out;
}

fs::path sharedDir() {
    if (const char* env = std::getenv("FARM_SHARED_DIR"); env && *env)
        return env;
    return FARM_SHARED_DIR;
}

std::string sharedWhere() {
    return " (the shared folder beside the checkout, or FARM_SHARED_DIR)";
}

fs::path sourceDir() {
    return FARM_SOURCE_DIR;
}

fs::path fixture(const std::string& relative) {
    const fs::path root = sharedDir() / "fixtures/paradox";
    const fs::path path = root / relative;
    std::error_code ec;
    if (fs::exists(path, ec))
        return path;
    if (!fs::is_directory(root, ec))
        throw MissingFixture("no fixture tables: the folder " + root.string() + " is missing" +
                             sharedWhere());
    throw MissingFixture("the fixture " + path.string() + " is missing");
}

void writeSeed(const std::string& name, std::string_view bytes) {
    const char* dir = std::getenv("FUZZ_SEED_DIR");
    if (!dir || !*dir)
        return;
    fs::create_directories(dir);
    std::string file;
    for (const char c : name)
        file += std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-' ? c : '_';
    writeFile(fs::path(dir) / ("seed-" + file), bytes);
}

} // namespace fuzz
