#pragma once
// Layout of a .px primary index: one entry per data block (the key of the block's
// first record, the block number, its record count), packed into index blocks, with
// upper levels over them until one root block remains. Entries store the key fields
// as in the data record, then three Short fields: block number, record count (the sum
// below, for upper levels) and 0.

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
};

// Builds the index blocks for `leaves` (in key order). The root is block 1, then the
// levels below it in order, the leaves last; all blocks are chained in block order.
PrimaryIndexImage buildPrimaryIndex(const std::vector<IndexEntry>& leaves, int keySize,
                                    int blockSize);

} // namespace db
