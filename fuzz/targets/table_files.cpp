#include "fuzz/targets/table_files.h"

#include "fuzz/fuzz_support.h"

#include <map>

namespace fs = std::filesystem;

namespace fuzz {

fs::path freshTableCopy(const std::string& name, const std::vector<std::string>& fixtureFiles) {
    static std::map<std::string, std::string> bytes;
    const fs::path dir = freshDir(name);
    for (const std::string& file : fixtureFiles) {
        auto [it, added] = bytes.try_emplace(file);
        if (added)
            it->second = readFile(fixture(file));
        writeFile(dir / fs::path(file).filename(), it->second);
    }
    return dir;
}

} // namespace fuzz
