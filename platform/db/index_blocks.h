#pragma once
// The index records of a secondary index file (.Xnn/.XGn) kept in key order in a chain
// of blocks, laid out like a keyed data file: records sorted within and across blocks,
// a full block split in halves, an emptied block freed (block 1 stays the first), free
// blocks listed from the header. The Y file over it is rewritten after every change
// (only the blocks that differ). Every write goes through the table's pager.

#include "platform/db/block_chain.h"
#include "platform/db/block_index.h"
#include "platform/db/header.h"
#include "platform/db/pager.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

namespace db {

// Orders two index records by their key bytes (everything but the trailing hint).
using IndexOrder = RecordOrder;

class IndexBlocks {
public:
    // `x` and `y` are attached to `pager`; nothing is read until reload() or adopt().
    IndexBlocks(Pager& pager, int x, int y, IndexOrder order);
    IndexBlocks(const IndexBlocks&) = delete;
    IndexBlocks& operator=(const IndexBlocks&) = delete;

    const TableHeader& xHeader() const { return xHeader_; }
    const TableHeader& yHeader() const { return yHeader_; }
    std::size_t keySize() const { return chain_.keySize(); }
    std::size_t recordSize() const { return xHeader_.recordSize; }

    // Reads headers and the chain again when the files no longer hold what this object
    // last wrote (a rolled-back transaction); throws CorruptFileError on a damaged file.
    void sync();
    // Reads both headers and the chain of index blocks from the files: the chain as the Y
    // file tells it when its header is stamped for the X file's state (no block of the X
    // file read; lookups check each block they read against it, see visitFrom), walked
    // otherwise.
    void reload();
    // Walks the chain when it was taken from the Y file (as every change does first, and a
    // lookup that met a block the Y file does not describe).
    void walk();
    // The chain as the files hold it (none before it is first read, or while a change is
    // pending), for a later open of the files unchanged.
    std::optional<ChainMap> chainMap() const;
    // The map of an earlier open of these files, which the caller knows unchanged since:
    // taken by the next reload in place of walking the chain (when the header's record
    // count agrees).
    void offerChainMap(ChainMap map) { offered_ = std::move(map); }
    // Starts over with new headers and no records (replaceAll and finish follow).
    void adopt(TableHeader x, TableHeader y);

    // Every index record in order, flat (the chain walked first).
    std::vector<std::uint8_t> readAll();
    // The index records in order from the first one not below `key`, until `visit`
    // returns false. On a chain taken from the Y file, a block that disagrees with it
    // throws ChainDisagrees before any of its records is visited: the caller drops what
    // it was given, walks and visits again.
    void visitFrom(std::span<const std::uint8_t> key,
                   const std::function<bool(std::span<const std::uint8_t>)>& visit) const;
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

    // The block index image the Y file should hold for the current chain (walked first).
    std::vector<std::uint8_t> expectedYBlocks(std::uint16_t& root, std::uint8_t& levels,
                                              std::uint32_t& entries);

private:
    PrimaryIndexImage yImage() const;
    std::optional<ChainMap> indexedChain() const;

    Pager& pager_;
    int x_, y_;
    TableHeader xHeader_, yHeader_;
    BlockChain chain_;                           // the X file's record blocks, counted in xHeader_
    BlockIndex yIndex_;                          // the Y blocks as last written
    std::vector<std::uint8_t> written_;          // the X header bytes as last written
    std::vector<std::uint8_t> onDisk_;           // the X header as sync last read it
    std::uint64_t syncedAt_ = ~std::uint64_t{0}; // the pager's change count then
    std::optional<ChainMap> offered_;
};

} // namespace db
