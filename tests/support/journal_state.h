#pragma once
// A table's journal stays between changes holding none (empty, or its marks zeroed); any
// other is a change under way or left by a crash.

#include "platform/db/journal.h"
#include "platform/db/pager.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace testenv {

inline bool journalHoldsAChange(const std::filesystem::path& journal) {
    return db::Pager::journalPresent(journal);
}

// The same for a journal file's contents.
inline bool journalBytesHoldAChange(const std::string& bytes) {
    const auto head = std::min(bytes.size(), db::kJournalMarkSize);
    return !db::holdsNoChange(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), head));
}

} // namespace testenv
