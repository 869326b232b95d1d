#include "platform/db/primary_index.h"

#include "platform/db/data_block.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace db {

namespace {

void writeCount(std::uint8_t* entry, std::uint32_t records, int keySize) {
    writeShortField(entry + keySize + 2,
                    static_cast<std::uint16_t>(std::min<std::uint32_t>(records, 0x7FFF)));
}

void writeEntry(std::uint8_t* out, std::span<const std::uint8_t> key, std::uint16_t block,
                std::uint32_t records, int keySize) {
    std::memcpy(out, key.data(), static_cast<std::size_t>(keySize));
    writeShortField(out + keySize, block);
    writeCount(out, records, keySize);
    writeShortField(out + keySize + 4, 0);
}

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

    image.keySize = keySize;
    image.blockSize = blockSize;
    image.perBlock = perBlock;
    image.firstBlockOfLevel = firstBlockOfLevel;
    for (const auto& level : levels) {
        image.sums.emplace_back();
        image.sums.back().reserve(level.size());
        for (const IndexEntry& e : level)
            image.sums.back().push_back(e.records);
    }
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
                writeEntry(out, e.key, e.block, e.records, keySize);
            }
            image.entries += static_cast<std::uint32_t>(count);
        }
    }
    return image;
}

// An entry's place: level `level` (root first), entry `e` of the level.
namespace {

std::uint16_t blockOfEntry(const PrimaryIndexImage& image, std::size_t level, std::size_t e) {
    return static_cast<std::uint16_t>(image.firstBlockOfLevel[level] + e / image.perBlock);
}

std::uint8_t* entryAt(PrimaryIndexImage& image, std::size_t level, std::size_t e) {
    const auto blockSize = static_cast<std::size_t>(image.blockSize);
    const auto entrySize = static_cast<std::size_t>(image.keySize + 6);
    return image.blocks.data() + (blockOfEntry(image, level, e) - 1u) * blockSize +
           kBlockHeaderSize + (e % image.perBlock) * entrySize;
}

} // namespace

std::vector<std::uint16_t> updatePrimaryIndex(PrimaryIndexImage& image,
                                              std::span<const LeafChange> changes) {
    std::vector<std::uint16_t> changed;
    if (image.sums.empty())
        return changed;
    const std::size_t leaf = image.sums.size() - 1;
    const auto keySize = static_cast<std::size_t>(image.keySize);
    const auto entrySize = keySize + 6;
    std::vector<std::uint8_t> before(entrySize);
    // Sets one entry's count, and its key and block when given; notes its index block when
    // it changed.
    const auto set = [&](std::size_t level, std::size_t e, const std::uint8_t* key,
                         std::uint32_t records, std::uint16_t block = 0) {
        std::uint8_t* out = entryAt(image, level, e);
        std::memcpy(before.data(), out, entrySize);
        if (key)
            std::memcpy(out, key, keySize);
        if (block != 0)
            writeShortField(out + keySize, block);
        image.sums[level][e] = records;
        writeCount(out, records, image.keySize);
        if (std::memcmp(before.data(), out, entrySize) != 0)
            changed.push_back(blockOfEntry(image, level, e));
    };
    for (const LeafChange& c : changes) {
        if (c.position >= image.leafCount() || c.entry.key.size() < keySize)
            throw std::out_of_range("primary index: no leaf " + std::to_string(c.position));
        std::size_t e = c.position;
        const std::uint8_t* key = c.entry.key.data();
        const std::int64_t delta = static_cast<std::int64_t>(c.entry.records) - image.sums[leaf][e];
        set(leaf, e, key, c.entry.records, c.entry.block);
        // Upwards: a count changes every entry above; a key only the entries whose
        // first child it is.
        for (std::size_t level = leaf; level > 0; --level) {
            const bool first = e % image.perBlock == 0;
            key = first ? key : nullptr;
            e /= image.perBlock;
            if (!key && delta == 0)
                break;
            set(level - 1, e, key, static_cast<std::uint32_t>(image.sums[level - 1][e] + delta));
        }
    }
    std::sort(changed.begin(), changed.end());
    changed.erase(std::unique(changed.begin(), changed.end()), changed.end());
    return changed;
}

} // namespace db
