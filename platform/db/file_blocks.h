#pragma once
// The block structure shared by .db, .px and secondary index files: reading a header
// through the pager and walking the chain of blocks with every check a damaged file needs.

#include "platform/db/header.h"
#include "platform/db/pager.h"
#include "platform/db/primary_index.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

namespace db {

struct ChainBlock {
    std::uint16_t number = 0;
    std::uint16_t records = 0;
};

// Reads and parses the header of an attached file; CorruptFileError names the file.
TableHeader readFileHeader(const Pager& pager, int file);

// How much of a table's file a pass over its blocks (a walk that reads the records, a
// scan) reads at once: the blocks of a chain mostly follow each other in the file.
constexpr std::uint64_t kBlockReadAhead = 256 * 1024;

// Where block `block` (1-based) starts.
std::uint64_t blockOffset(const TableHeader& h, std::uint16_t block);

// The blocks from firstBlock on, following the next pointers. Throws CorruptFileError
// naming the file on a loop, a block past the end, more records in a block than fit,
// a record count that does not add up to the header's.
std::vector<ChainBlock> walkBlockChain(const Pager& pager, int file, const TableHeader& h);

// The records of a block met on the walk: `count` records of the header's size.
using ChainRecords =
    std::function<bool(const ChainBlock& block, std::span<const std::uint8_t> records)>;
// As walkBlockChain, reading each block whole on the way (one read a block) and handing
// its records to `visit`, in chain order. Stops without the chain when `visit` returns
// false; the checks of a block come before its records are handed out.
std::optional<std::vector<ChainBlock>> walkAndReadBlockChain(const Pager& pager, int file,
                                                             const TableHeader& h,
                                                             const ChainRecords& visit);

// Brings the block index file `file` (header `h`) to `image`: writes the blocks that
// differ from `written` (the blocks the file holds), cuts the file after the last block
// and sets the counters of `h` (its update count to `updateCount`); the caller writes
// the header.
void writeIndexImage(Pager& pager, int file, TableHeader& h, const PrimaryIndexImage& image,
                     std::span<const std::uint8_t> written, std::uint16_t updateCount);

} // namespace db
