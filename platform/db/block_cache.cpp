#include "platform/db/block_cache.h"

#include <algorithm>

namespace db {

BlockCache::Block BlockCache::get(std::uint16_t number, std::size_t size, const Read& read) {
    if (number < where_.size() && where_[number] != 0) {
        Slot& s = slots_[where_[number] - 1];
        if (live(s) && s.number == number) {
            s.referenced = true;
            return {s.bytes, *s.bytes};
        }
    }
    const std::size_t most = std::max<std::size_t>(8, kBudget / std::max<std::size_t>(size, 1));
    std::size_t slot;
    if (slots_.size() < most) {
        slot = slots_.size();
        slots_.emplace_back();
    } else {
        slot = victim();
    }
    Slot& s = slots_[slot];
    if (live(s)) {
        where_[s.number] = 0;
        --kept_;
    }
    s.generation = 0;
    // A reader still holding the old block keeps it; the slot takes a new buffer then.
    if (!s.bytes || s.bytes.use_count() > 1)
        s.bytes = std::make_shared<std::vector<std::uint8_t>>(size);
    else
        s.bytes->resize(size);
    read(*s.bytes); // a failed read leaves the slot empty
    s.number = number;
    s.generation = generation_;
    s.referenced = true;
    if (number >= where_.size())
        where_.resize(static_cast<std::size_t>(number) + 1, 0);
    where_[number] = static_cast<std::uint32_t>(slot + 1);
    ++kept_;
    return {s.bytes, *s.bytes};
}

void BlockCache::clear() noexcept {
    if (kept_ == 0)
        return;
    kept_ = 0;
    ++generation_;
}

std::size_t BlockCache::victim() {
    for (;;) {
        Slot& s = slots_[hand_];
        const std::size_t slot = hand_;
        hand_ = (hand_ + 1) % slots_.size();
        if (!live(s) || !s.referenced)
            return slot;
        s.referenced = false;
    }
}

} // namespace db
