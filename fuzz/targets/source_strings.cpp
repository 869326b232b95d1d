#include "fuzz/targets/source_strings.h"

#include "fuzz/fuzz_support.h"

#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;

namespace fuzz {

namespace {

// The text of the C++ string literal starting at `open` (a double quote), escapes read.
std::string literalAt(const std::string& line, std::size_t open) {
    std::string out;
    for (std::size_t i = open + 1; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"')
            return out;
        if (c == '\\' && i + 1 < line.size()) {
            const char e = line[++i];
            out += e == 'n' ? '\n' : e == 't' ? '\t' : e;
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

std::vector<std::string> literalsAfter(const std::string& marker,
                                       const std::vector<std::string>& folders) {
    std::vector<std::string> out;
    for (const std::string& folder : folders) {
        std::error_code ec;
        for (fs::recursive_directory_iterator it(sourceDir() / folder, ec), end; !ec && it != end;
             it.increment(ec)) {
            if (it->path().extension() != ".cpp")
                continue;
            std::istringstream lines(readFile(it->path()));
            for (std::string line; std::getline(lines, line);) {
                const std::size_t at = line.find(marker);
                if (at == std::string::npos)
                    continue;
                const std::size_t open = line.find('"', at + marker.size());
                if (open != std::string::npos)
                    out.push_back(literalAt(line, open));
            }
        }
    }
    return out;
}

} // namespace fuzz
