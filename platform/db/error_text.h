#pragma once
// An error of the table files said to the user in Hungarian: which file, and what is
// wrong with it in words a user can act on, followed by the engine's own detail.

#include "platform/db/error.h"

#include <exception>
#include <optional>
#include <string>

namespace db {

// "Adatbázis hiba a(z) Tablak.db fájlban: a fájl sérült." and the detail on a second line;
// a problem already worded in Hungarian as "Tablak.db: <problem>.".
std::string hungarianText(const DbError& error);

// The Hungarian reason alone ("a fájl sérült"), without the file and the detail.
std::string hungarianReason(const DbError& error);

// The error of the table files that `error` is or carries nested (a data set's error
// wraps the one of its file) as the user is told of it, or none.
struct FileErrorText {
    std::string file;    // "Tablak.db"
    std::string reason;  // hungarianReason
    std::string problem; // the engine's own words
    std::string text;    // hungarianText
};
std::optional<FileErrorText> describeFileError(const std::exception& error);
// The Hungarian text of the error of the table files that `error` is or carries nested
// (a data set's error wraps the one of its file); none for any other error.
std::optional<std::string> hungarianTextOf(const std::exception& error);

} // namespace db
