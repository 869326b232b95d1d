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
#include <vector>

namespace db {

class BlockCache {
public:
    // The bytes of one block, readable while held: a buffer of the cache's.
    class Block {
    public:
        Block() = default;
        Block(std::shared_ptr<const void> owner, std::span<const std::uint8_t> bytes)
            : owner_(std::move(owner)), bytes_(bytes) {}
        std::span<const std::uint8_t> operator*() const { return bytes_; }
        explicit operator bool() const { return owner_ != nullptr; }
        void reset() noexcept { *this = Block(); }

    private:
        std::shared_ptr<const void> owner_;
        std::span<const std::uint8_t> bytes_;
    };
    using Read = std::function<void(std::span<std::uint8_t>)>;

    // Bytes of blocks kept at most: the blocks a lookup meets in a ledger of some
    // 100 000 rows, so that asking again for the next material reads them from memory.
    static constexpr std::size_t kBudget = 8 << 20;

    // Block `number` (`size` bytes), kept or read into a buffer with `read`. A block
    // stays valid for whoever holds it, whatever the cache does later.
    Block get(std::uint16_t number, std::size_t size, const Read& read);
    // Forgets every block; the buffers stay for the next reads.
    void clear() noexcept;
    std::size_t blocks() const { return kept_; }

private:
    struct Slot {
        std::shared_ptr<std::vector<std::uint8_t>> bytes;
        std::uint64_t generation = 0; // holds block `number` while it is the cache's
        std::uint16_t number = 0;
        bool referenced = false;
    };
    bool live(const Slot& s) const { return s.generation == generation_; }
    std::size_t victim(); // a slot to reuse (second chance)

    // Block number -> its slot + 1 (0: none); an entry counts while that slot is live and
    // holds that block, so that clear() need not touch it.
    std::vector<std::uint32_t> where_;
    std::size_t kept_ = 0; // live slots
    std::vector<Slot> slots_;
    std::size_t hand_ = 0;
    std::uint64_t generation_ = 1;
};

} // namespace db
