#pragma once
// Layout of a .px primary index: one entry per data block (the key of the block's
// first record, the block number, its record count), packed into index blocks, with
// upper levels over them until one root block remains. Entries store the key fields
// as in the data record, then three Short fields: block number, record count (the sum
// below, for upper levels) and 0.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace db {

struct IndexEntry {
    std::span<const std::uint8_t> key;
    std::uint16_t block = 0;
    std::uint32_t records = 0;
};

struct PrimaryIndexImage {
    std::vector<std::uint8_t> blocks; // blockCount * blockSize bytes, block 1 first
    std::uint16_t blockCount = 0;
    std::uint16_t root = 0;
    std::uint8_t levels = 0;
    std::uint32_t entries = 0; // index records over all levels

    // How the blocks were laid out, to change entries in place (not stored in the file).
    int keySize = 0;
    int blockSize = 0;
    std::size_t perBlock = 0;                     // entries per index block
    std::vector<std::uint16_t> firstBlockOfLevel; // root level first
    std::vector<std::vector<std::uint32_t>> sums; // per level: records under each entry
    std::size_t leafCount() const { return sums.empty() ? 0 : sums.back().size(); }
};

// A leaf entry's new value at a chain position.
struct LeafChange {
    std::size_t position = 0;
    IndexEntry entry;
};

// Builds the index blocks for `leaves` (in key order). The root is block 1, then the
// levels below it in order, the leaves last; all blocks are chained in block order.
PrimaryIndexImage buildPrimaryIndex(const std::vector<IndexEntry>& leaves, int keySize,
                                    int blockSize);

// Brings an image built for as many leaves as it still has up to date with new values of
// some of them (their keys and record counts; their data blocks stay where they were):
// the entries above them follow. The image is then the one buildPrimaryIndex would
// build. Returns the numbers of the index blocks that changed, ascending.
std::vector<std::uint16_t> updatePrimaryIndex(PrimaryIndexImage& image,
                                              std::span<const LeafChange> changes);

} // namespace db
