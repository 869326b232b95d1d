#pragma once
// Seeds taken from the program's own sources: the first text literal on every line of the
// C++ files under a folder of the sources that holds `marker` (e.g. the filters the
// forms set, the statements they run).

#include <string>
#include <vector>

namespace fuzz {

std::vector<std::string> literalsAfter(const std::string& marker,
                                       const std::vector<std::string>& folders);

} // namespace fuzz
