#pragma once
// A table's journal stays between changes, empty; one that holds bytes is a change under
// way or left by a crash.

#include <filesystem>

namespace testenv {

inline bool journalHoldsAChange(const std::filesystem::path& journal) {
    std::error_code error;
    const auto size = std::filesystem::file_size(journal, error);
    return !error && size > 0;
}

} // namespace testenv
