#pragma once
// The blocks of one chain that lookups read, kept between reads as shared buffers: a
// lookup that comes back to a block (the next statement of a report, a join that meets
// the same block again) neither reads nor copies it, and a block read for the first time
// costs its one read, into the buffer of the block it pushes out when no reader holds
// that any more. The owner drops every block whenever its pager has changed anything, so
// a kept block is always what the pager would read.

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <unordered_map>
#include <vector>

namespace db {

class BlockCache {
public:
    using Block = std::shared_ptr<const std::vector<std::uint8_t>>;
    using Read = std::function<void(std::span<std::uint8_t>)>;

    static constexpr std::size_t kBudget = 2 << 20; // bytes of blocks kept at most

    // Block `number` (`size` bytes), kept or read into a buffer with `read`. A block
    // stays valid for whoever holds it, whatever the cache does later.
    Block get(std::uint16_t number, std::size_t size, const Read& read);
    // Forgets every block; the buffers stay for the next reads.
    void clear() noexcept;
    std::size_t blocks() const { return where_.size(); }

private:
    struct Slot {
        std::shared_ptr<std::vector<std::uint8_t>> bytes;
        std::uint64_t generation = 0; // holds block `number` while it is the cache's
        std::uint16_t number = 0;
        bool referenced = false;
    };
    bool live(const Slot& s) const { return s.generation == generation_; }
    std::size_t victim(); // a slot to reuse (second chance)

    std::unordered_map<std::uint16_t, std::size_t> where_; // block number -> slot
    std::vector<Slot> slots_;
    std::size_t hand_ = 0;
    std::uint64_t generation_ = 1;
};

} // namespace db
