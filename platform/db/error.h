#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

namespace db {

// Any failure of the table files: I/O, a damaged or foreign file, a bad request.
// what() reads "<file>: <problem>" so that the user sees which file is at fault.
class DbError : public std::runtime_error {
public:
    DbError(const std::filesystem::path& file, const std::string& problem)
        : std::runtime_error(file.filename().string() + ": " + problem), file_(file),
          problem_(problem) {}

    const std::filesystem::path& file() const { return file_; }
    const std::string& problem() const { return problem_; }

private:
    std::filesystem::path file_;
    std::string problem_;
};

// A file whose bytes do not make a valid table, index or blob file.
class CorruptFileError : public DbError {
public:
    using DbError::DbError;
};

// A key that the table already holds (insert or update on a keyed table).
class KeyViolation : public DbError {
public:
    using DbError::DbError;
};

} // namespace db
