#pragma once
// The block index file over a chain of blocks (a table's .px, a secondary index's Y
// file), laid out as buildPrimaryIndex lays it out and kept up to date by each change:
// a change that only added or took records in blocks already there rewrites the
// entries of those blocks and the entries above them; one that added, freed or moved
// blocks lays the index out anew and writes the blocks that differ.

#include "platform/db/block_chain.h"
#include "platform/db/header.h"
#include "platform/db/pager.h"
#include "platform/db/primary_index.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace db {

// The chain of the file a block index describes, as the index's leaves tell it: the blocks
// in key order with their record counts and first keys (`keySize` bytes each), from one
// read of the index file `index` (header `ih`) and none of the indexed file (header `h`,
// `size` bytes). None when the index does not add up: a tree that does not lead down to
// its leaves once each, or leaves whose blocks, counts, first and last block are not the
// ones the indexed file's header and size allow.
std::optional<ChainMap> readIndexedChain(const Pager& pager, int index, const TableHeader& ih,
                                         const TableHeader& h, std::uint64_t size,
                                         std::size_t keySize);

class BlockIndex {
public:
    // The next update lays the index out whole and compares it with the file's blocks.
    void forget() { image_.reset(); }

    // Brings the file `file` (header `h`) to the index of `chain`, inside the pager's
    // transaction, and sets the counters of `h` (its update count to `updateCount`);
    // the caller writes the header.
    void update(Pager& pager, int file, TableHeader& h, BlockChain& chain,
                std::uint16_t updateCount);

private:
    bool fits(const TableHeader& h, const BlockChain& chain) const;

    std::optional<PrimaryIndexImage> image_; // the blocks as last written
};

} // namespace db
