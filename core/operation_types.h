#pragma once
// The starter list of operation types a fresh database ships in Normalhektar.db, and the
// reference text "normalhektar.txt" beside it. No published normal-hectare factor is
// known for these types, so each is stored as a type given without a factor (Nha 0, no
// unit); the farmer enters the official factors as new types.

#include <filesystem>
#include <string>
#include <vector>

namespace db {
class Session;
}

namespace core {

struct StarterOperationType {
    const char* name;
    int category; // Muvid: 0 Talajelőkészítés ... 5 Egyéb
    int extra;    // Extra: 0 none, 3 the yield
};
const std::vector<StarterOperationType>& StarterOperationTypes();

// Appends the starter list to Normalhektar.db, codes from "100000".
void InsertStarterOperationTypes(db::Session& session);

// The text of "normalhektar.txt": the starter types by category and where the factors
// come from.
std::string NormalHectareText();
// Writes "normalhektar.txt" into the directory when it is missing.
void WriteNormalHectareText(const std::filesystem::path& directory);

} // namespace core
