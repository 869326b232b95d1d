#include "platform/db/page_cache.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace db {

void PageCache::read(const io::File& file, std::uint64_t fileSize, std::uint64_t offset,
                     std::span<std::uint8_t> out) {
    if (out.empty())
        return;
    if (out.size() > kLargestCachedRead) {
        file.readExact(offset, out);
        return;
    }
    const Range wanted{offset, offset + out.size(), out.data()};
    const std::uint64_t last = (wanted.end - 1) / kPageSize;
    for (std::uint64_t page = offset / kPageSize; page <= last;) {
        if (const auto found = where_.find(page); found != where_.end()) {
            Slot& s = slots_[found->second];
            s.referenced = true;
            copyOut(page, s.length, bytes(found->second), wanted);
            ++page;
            continue;
        }
        // The pages missing from here on, read in one go.
        std::uint64_t stop = page + 1;
        while (stop <= last && !where_.contains(stop))
            ++stop;
        if (readBefore(page, stop))
            load(file, fileSize, page, stop, wanted);
        else
            readPart(file, page, stop, wanted);
        page = stop;
    }
}

// A page is kept from the second read that needs it on: a pass that reads each block once
// (a table opened for one lookup) costs no more than reading the file, and the pages
// read again (an index's upper blocks, the blocks a repeated statement reads) stay.
bool PageCache::readBefore(std::uint64_t first, std::uint64_t stop) const {
    for (std::uint64_t page = first; page < stop; ++page)
        if (!seen_.contains(page))
            return false;
    return true;
}

void PageCache::readPart(const io::File& file, std::uint64_t first, std::uint64_t stop,
                         const Range& wanted) {
    const std::uint64_t begin = std::max(first * kPageSize, wanted.begin);
    const std::uint64_t end = std::min(stop * kPageSize, wanted.end);
    file.readExact(begin,
                   {wanted.out + (begin - wanted.begin), static_cast<std::size_t>(end - begin)});
    for (std::uint64_t page = first; page < stop; ++page) {
        if (seen_.size() >= kMaxSeen)
            seen_.clear();
        seen_.insert(page);
    }
}

void PageCache::clear() noexcept {
    where_.clear();
    slots_.clear();
    std::vector<std::uint8_t>().swap(storage_);
    hand_ = 0;
}

void PageCache::copyOut(std::uint64_t page, std::size_t length, const std::uint8_t* from,
                        const Range& wanted) {
    const std::uint64_t start = page * kPageSize;
    const std::uint64_t begin = std::max(start, wanted.begin);
    const std::uint64_t end = std::min(start + length, wanted.end);
    if (end <= begin) // the file is shorter than the caller said
        throw std::out_of_range("PageCache: read past the end of the file");
    std::memcpy(wanted.out + (begin - wanted.begin), from + (begin - start), end - begin);
}

void PageCache::load(const io::File& file, std::uint64_t fileSize, std::uint64_t first,
                     std::uint64_t stop, const Range& wanted) {
    const std::uint64_t start = first * kPageSize;
    if (start >= fileSize)
        throw std::out_of_range("PageCache: read past the end of the file");
    const std::uint64_t end = std::min(stop * kPageSize, fileSize);
    if (std::min(stop * kPageSize, wanted.end) > end)
        throw std::out_of_range("PageCache: read past the end of the file");
    loaded_.resize(static_cast<std::size_t>(end - start));
    file.readExact(start, loaded_);
    for (std::uint64_t page = first; page < stop && page * kPageSize < end; ++page) {
        const std::uint64_t at = page * kPageSize - start;
        const auto length =
            static_cast<std::size_t>(std::min<std::uint64_t>(kPageSize, end - start - at));
        const std::uint8_t* from = loaded_.data() + at;
        keep(page, length, from);
        copyOut(page, length, from, wanted);
    }
}

void PageCache::keep(std::uint64_t page, std::size_t length, const std::uint8_t* from) {
    std::size_t slot;
    if (slots_.size() < kMaxPages) {
        slot = slots_.size();
        slots_.push_back({});
        storage_.resize(slots_.size() * kPageSize);
    } else {
        slot = victim();
        where_.erase(slots_[slot].page);
    }
    std::memcpy(bytes(slot), from, length);
    slots_[slot] = Slot{page, static_cast<std::uint32_t>(length), true};
    where_.emplace(page, slot);
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
