// The blocks a chain keeps for its lookups: a kept block is handed out again without a
// read, a block still held by a reader keeps its bytes however many blocks come after
// it, a failed read keeps nothing, and a cleared cache reads every block again.

#include "platform/db/block_cache.h"

#include <gtest/gtest.h>
#include <stdexcept>

using db::BlockCache;

namespace {

constexpr std::size_t kSize = 4096;

// Fills a block with its number and counts the reads.
struct Reader {
    int reads = 0;
    BlockCache::Block get(BlockCache& cache, std::uint16_t number) {
        return cache.get(number, kSize, [&](std::span<std::uint8_t> out) {
            ++reads;
            std::fill(out.begin(), out.end(), static_cast<std::uint8_t>(number));
        });
    }
};

} // namespace

TEST(BlockCache, KeptBlocksAreSharedHeldOnesSurviveEvictionAndAFailedReadKeepsNothing) {
    BlockCache cache;
    Reader reader;
    const auto first = reader.get(cache, 1);
    EXPECT_EQ((*reader.get(cache, 1)).data(), (*first).data()); // the same buffer, no read
    EXPECT_EQ(reader.reads, 1);

    // Many more blocks than the cache keeps: block 1 is pushed out, but its holder
    // still sees its bytes, and the blocks that replaced it read as themselves.
    const int many = static_cast<int>(3 * BlockCache::kBudget / kSize);
    for (int n = 2; n < 2 + many; ++n)
        ASSERT_EQ((*reader.get(cache, static_cast<std::uint16_t>(n)))[0],
                  static_cast<std::uint8_t>(n));
    EXPECT_LE(cache.blocks(), BlockCache::kBudget / kSize);
    EXPECT_EQ((*first)[kSize - 1], 1);
    const int reads = reader.reads;
    EXPECT_EQ((*reader.get(cache, 1))[0], 1);
    EXPECT_EQ(reader.reads, reads + 1);

    EXPECT_THROW(
        cache.get(7, kSize, [](std::span<std::uint8_t>) { throw std::runtime_error("io"); }),
        std::runtime_error);
    EXPECT_EQ((*reader.get(cache, 7))[0], 7);
    EXPECT_EQ(reader.reads, reads + 2);

    cache.clear();
    EXPECT_EQ(cache.blocks(), 0u);
    EXPECT_EQ((*reader.get(cache, 7))[0], 7);
    EXPECT_EQ(reader.reads, reads + 3);
}
