#include "platform/db/data_block.h"
#include "platform/db/primary_index.h"

#include <gtest/gtest.h>
#include <vector>

using namespace db;

namespace {

std::uint16_t shortAt(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(((p[0] << 8) | p[1]) ^ 0x8000);
}

} // namespace

// Small blocks force three levels: the root over upper blocks over leaves, each upper
// entry carrying its child's first key and the records below it.
TEST(PrimaryIndexLayout, ThreeLevelsPointAtTheirChildren) {
    constexpr int kKeySize = 100, kBlockSize = 1024; // 9 entries a block
    std::vector<std::vector<std::uint8_t>> keys;
    std::vector<IndexEntry> leaves;
    for (int i = 0; i < 100; ++i)
        keys.push_back(std::vector<std::uint8_t>(kKeySize, static_cast<std::uint8_t>(i + 1)));
    for (int i = 0; i < 100; ++i)
        leaves.push_back({keys[static_cast<std::size_t>(i)], static_cast<std::uint16_t>(i + 1),
                          static_cast<std::uint32_t>(10 + i)});
    const auto image = buildPrimaryIndex(leaves, kKeySize, kBlockSize);
    ASSERT_EQ(image.levels, 3);
    EXPECT_EQ(image.root, 1);
    EXPECT_EQ(image.blockCount, 1 + 2 + 12); // 100 leaves, 12 leaf blocks, 2 upper blocks
    EXPECT_EQ(image.entries, 100u + 12u + 2u);

    const auto block = [&](std::uint16_t n) { return image.blocks.data() + (n - 1) * kBlockSize; };
    const auto entry = [&](std::uint16_t n, std::size_t i) {
        return block(n) + kBlockHeaderSize + i * (kKeySize + 6);
    };
    // Walk root -> upper -> leaves and collect the leaves in order.
    std::vector<int> seen;
    for (std::size_t r = 0; r < recordsInBlock(block(1), kKeySize + 6); ++r) {
        const std::uint16_t upper = shortAt(entry(1, r) + kKeySize);
        std::uint32_t sum = 0;
        for (std::size_t u = 0; u < recordsInBlock(block(upper), kKeySize + 6); ++u) {
            const std::uint16_t leaf = shortAt(entry(upper, u) + kKeySize);
            EXPECT_EQ(entry(leaf, 0)[0], entry(upper, u)[0]); // first key of the child
            for (std::size_t l = 0; l < recordsInBlock(block(leaf), kKeySize + 6); ++l) {
                seen.push_back(shortAt(entry(leaf, l) + kKeySize));
                sum += shortAt(entry(leaf, l) + kKeySize + 2);
            }
        }
        EXPECT_EQ(shortAt(entry(1, r) + kKeySize + 2), sum);
    }
    std::vector<int> expected(100);
    for (int i = 0; i < 100; ++i)
        expected[static_cast<std::size_t>(i)] = i + 1;
    EXPECT_EQ(seen, expected);
    // Every block is chained to the next in block order.
    for (std::uint16_t n = 1; n <= image.blockCount; ++n)
        EXPECT_EQ(readLe16(block(n)), n < image.blockCount ? n + 1 : 0);
}
