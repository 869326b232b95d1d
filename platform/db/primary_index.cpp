#include "platform/db/primary_index.h"

#include "platform/db/data_block.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace db {

namespace {

struct Level {
    std::vector<IndexEntry> entries;
};

} // namespace

PrimaryIndexImage buildPrimaryIndex(const std::vector<IndexEntry>& leaves, int keySize,
                                    int blockSize) {
    PrimaryIndexImage image;
    if (leaves.empty())
        return image;
    const int entrySize = keySize + 6;
    const auto perBlock = static_cast<std::size_t>((blockSize - kBlockHeaderSize) / entrySize);
    if (perBlock < 2)
        throw std::invalid_argument("index key too long for its block");

    // Levels bottom-up: each entry of a level above covers one block of the level below.
    std::vector<std::vector<IndexEntry>> levels{leaves};
    while (levels.back().size() > perBlock) {
        const auto& below = levels.back();
        std::vector<IndexEntry> above;
        for (std::size_t i = 0; i < below.size(); i += perBlock) {
            IndexEntry e{below[i].key, 0, 0};
            for (std::size_t j = i; j < std::min(below.size(), i + perBlock); ++j)
                e.records += below[j].records;
            above.push_back(e);
        }
        levels.push_back(std::move(above));
    }
    std::reverse(levels.begin(), levels.end()); // root first

    // Number the blocks top-down and point each upper entry at its child block.
    std::vector<std::uint16_t> firstBlockOfLevel;
    std::size_t next = 1;
    for (const auto& level : levels) {
        firstBlockOfLevel.push_back(static_cast<std::uint16_t>(next));
        next += (level.size() + perBlock - 1) / perBlock;
    }
    const std::size_t blockCount = next - 1;
    if (blockCount > 0xFFFF)
        throw std::length_error("primary index too large");
    for (std::size_t l = 0; l + 1 < levels.size(); ++l)
        for (std::size_t i = 0; i < levels[l].size(); ++i)
            levels[l][i].block = static_cast<std::uint16_t>(firstBlockOfLevel[l + 1] + i);

    image.blocks.assign(blockCount * static_cast<std::size_t>(blockSize), 0);
    image.blockCount = static_cast<std::uint16_t>(blockCount);
    image.root = 1;
    image.levels = static_cast<std::uint8_t>(levels.size());
    for (std::size_t l = 0; l < levels.size(); ++l) {
        const auto& level = levels[l];
        for (std::size_t i = 0; i < level.size(); i += perBlock) {
            const std::size_t number = firstBlockOfLevel[l] + i / perBlock;
            std::uint8_t* block =
                image.blocks.data() + (number - 1) * static_cast<std::size_t>(blockSize);
            const std::size_t count = std::min(perBlock, level.size() - i);
            writeBlockHeader(block,
                             {static_cast<std::uint16_t>(number < blockCount ? number + 1 : 0),
                              static_cast<std::uint16_t>(number - 1), count, entrySize});
            for (std::size_t j = 0; j < count; ++j) {
                const IndexEntry& e = level[i + j];
                std::uint8_t* out =
                    block + kBlockHeaderSize + j * static_cast<std::size_t>(entrySize);
                std::memcpy(out, e.key.data(), static_cast<std::size_t>(keySize));
                writeShortField(out + keySize, e.block);
                writeShortField(out + keySize + 2, static_cast<std::uint16_t>(
                                                       std::min<std::uint32_t>(e.records, 0x7FFF)));
                writeShortField(out + keySize + 4, 0);
            }
            image.entries += static_cast<std::uint32_t>(count);
        }
    }
    return image;
}

} // namespace db
