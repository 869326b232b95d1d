#pragma once
// An error of the table files said to the user in Hungarian: which file, and what is
// wrong with it in words a user can act on. The engine's own detail stays in the error.

#include "platform/db/error.h"

#include <exception>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace db {

// "Adatbázis hiba a(z) Tablak.db fájlban: a fájl sérült."; a problem already worded in
// Hungarian as "Tablak.db: <problem>.". The engine's own (English) words are not shown.
std::string hungarianText(const DbError& error);

// What the engine's problems mean to the user: a problem holding `words` reads `text`.
struct ProblemMeaning {
    std::string_view words;
    std::string_view text;
};
std::span<const ProblemMeaning> problemMeanings();

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
