#pragma once
// The index records of a secondary index file (.Xnn/.XGn) kept in key order in a chain
// of blocks, laid out like a keyed data file: records sorted within and across blocks,
// a full block split in halves, an emptied block freed (block 1 stays the first), free
// blocks listed from the header. The Y file over it is rewritten after every change
// (only the blocks that differ). Every write goes through the table's pager.

#include "platform/db/file_blocks.h"
#include "platform/db/header.h"
#include "platform/db/pager.h"

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace db {

// Orders two index records by their key bytes (everything but the trailing hint).
using IndexOrder = std::function<int(std::span<const std::uint8_t>, std::span<const std::uint8_t>)>;

class IndexBlocks {
public:
    // `x` and `y` are attached to `pager`; nothing is read until reload() or adopt().
    IndexBlocks(Pager& pager, int x, int y, IndexOrder order);

    const TableHeader& xHeader() const { return xHeader_; }
    const TableHeader& yHeader() const { return yHeader_; }
    std::size_t keySize() const { return keySize_; }
    std::size_t recordSize() const { return xHeader_.recordSize; }

    // Reads headers and the chain again when the files no longer hold what this object
    // last wrote (a rolled-back transaction); throws CorruptFileError on a damaged file.
    void sync();
    // Reads both headers and the chain of index blocks from the files.
    void reload();
    // Starts over with new headers and no records (replaceAll and finish follow).
    void adopt(TableHeader x, TableHeader y);

    // Every index record in order, flat.
    std::vector<std::uint8_t> readAll() const;
    // The Y blocks the Y header counts, as the file holds them (shorter when cut off).
    std::vector<std::uint8_t> readYBlocks() const;

    // Each returns false when the index does not hold what it should (a duplicate to
    // insert, a record to remove or re-point that is missing): the caller rebuilds.
    bool insert(std::span<const std::uint8_t> record);
    bool remove(std::span<const std::uint8_t> record);
    bool setHint(std::span<const std::uint8_t> record, std::uint16_t hint);

    // Replaces the whole content with `records` (sorted, flat), blocks packed full.
    void replaceAll(std::span<const std::uint8_t> records);
    void clear();

    // Writes the X header and the block index; once at the end of every change.
    void finish();

    // The block index image the Y file should hold for the current chain.
    std::vector<std::uint8_t> expectedYBlocks(std::uint16_t& root, std::uint8_t& levels,
                                              std::uint32_t& entries) const;

private:
    std::uint64_t xOffset(std::uint16_t block) const;
    std::vector<std::uint8_t> readBlock(std::uint16_t block) const;
    void writeBlock(std::uint16_t block, std::span<const std::uint8_t> bytes);
    std::span<const std::uint8_t> firstKey(std::size_t index) const;
    void setFirstKey(std::size_t index, std::span<const std::uint8_t> record);
    std::size_t blockFor(std::span<const std::uint8_t> key) const;
    // The slot of `key` in block `index` (or where it would go) and whether it is there.
    std::size_t slotFor(const std::vector<std::uint8_t>& block, std::size_t count,
                        std::span<const std::uint8_t> key, bool& found) const;
    std::uint16_t allocate();
    void release(std::uint16_t block);
    void link(std::uint16_t prev, std::uint16_t next);
    std::size_t addBlockAfter(std::size_t index, std::span<const std::uint8_t> records,
                              std::size_t count);
    void unlink(std::size_t index);
    void writeRecordCount(std::uint16_t block, std::vector<std::uint8_t>& bytes, std::size_t count);

    Pager& pager_;
    int x_, y_;
    IndexOrder order_;
    TableHeader xHeader_, yHeader_;
    std::size_t keySize_ = 0;
    std::vector<ChainBlock> chain_;
    std::vector<std::uint8_t> firstKeys_;
    std::vector<std::uint8_t> yImage_;  // the Y blocks as last written
    std::vector<std::uint8_t> written_; // the X header bytes as last written
};

} // namespace db
