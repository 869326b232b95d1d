#pragma once
// The fixture tables the file targets write into: copied afresh for every input.

#include <filesystem>
#include <string>
#include <vector>

namespace fuzz {

// Copies the fixture files (under fixtures/paradox, e.g. "real/db/CUSTOMER.DB") into a
// fresh folder `name` under the scratch folder, writable; returns the folder. The bytes
// are read from the fixtures once.
std::filesystem::path freshTableCopy(const std::string& name,
                                     const std::vector<std::string>& fixtureFiles);

} // namespace fuzz
