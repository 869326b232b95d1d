#include "platform/db/page_cache.h"

#include <algorithm>
#include <cstring>

namespace db {

void PageCache::read(const io::File& file, std::uint64_t fileSize, std::uint64_t offset,
                     std::span<std::uint8_t> out) {
    if (out.empty())
        return;
    if (out.size() > kLargestCachedRead) {
        file.readExact(offset, out);
        return;
    }
    const std::uint64_t end = offset + out.size();
    for (std::uint64_t at = offset; at < end;) {
        const std::uint64_t page = at / kPageSize;
        const std::uint64_t pageStart = page * kPageSize;
        const std::size_t slot = slotOf(file, fileSize, page);
        const std::uint64_t to = std::min<std::uint64_t>(end, pageStart + slots_[slot].length);
        if (to <= at) // the file is shorter than the caller said
            throw std::out_of_range("PageCache: read past the end of the file");
        std::memcpy(out.data() + (at - offset), bytes(slot) + (at - pageStart), to - at);
        at = to;
    }
}

void PageCache::clear() noexcept {
    where_.clear();
    slots_.clear();
    std::vector<std::uint8_t>().swap(storage_);
    hand_ = 0;
}

std::size_t PageCache::slotOf(const io::File& file, std::uint64_t fileSize, std::uint64_t page) {
    if (const auto found = where_.find(page); found != where_.end()) {
        slots_[found->second].referenced = true;
        return found->second;
    }
    const std::uint64_t start = page * kPageSize;
    const auto length = static_cast<std::uint32_t>(
        std::min<std::uint64_t>(kPageSize, fileSize > start ? fileSize - start : 0));
    std::size_t slot;
    if (slots_.size() < kMaxPages) {
        slot = slots_.size();
        slots_.push_back({});
        storage_.resize(slots_.size() * kPageSize);
    } else {
        slot = victim();
        where_.erase(slots_[slot].page);
    }
    // Loaded before it is named: a failed read leaves no half-filled page behind.
    slots_[slot] = Slot{};
    try {
        file.readExact(start, {bytes(slot), length});
    } catch (...) {
        if (slot + 1 == slots_.size()) {
            slots_.pop_back();
            storage_.resize(slots_.size() * kPageSize);
        } else {
            slots_[slot].length = 0;
            slots_[slot].page = UINT64_MAX; // an empty slot, never found
        }
        throw;
    }
    slots_[slot] = Slot{page, length, true};
    where_.emplace(page, slot);
    return slot;
}

std::size_t PageCache::victim() {
    for (;;) {
        Slot& s = slots_[hand_];
        const std::size_t slot = hand_;
        hand_ = (hand_ + 1) % slots_.size();
        if (!s.referenced)
            return slot;
        s.referenced = false;
    }
}

} // namespace db
