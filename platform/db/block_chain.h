#pragma once
// A chain of blocks of fixed-size records in one file, read and written through the
// pager: the layout of a keyed data file and of a secondary index's records. Records
// stay in order within a block and across the chain (by the owner's record order); the
// key of every block's first record is cached. A full block is split in halves, or a
// new last block is added for a record past the end; an emptied block is freed onto the
// free list (block 1 stays the first block by taking over the next block's records).
// The header belongs to the owner: the chain keeps the block counters in it.

#include "platform/db/block_cache.h"
#include "platform/db/file_blocks.h"
#include "platform/db/header.h"
#include "platform/db/pager.h"
#include "platform/db/primary_index.h"

#include <cstdint>
#include <exception>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace db {

// Orders two records by their keys: negative, zero or positive.
using RecordOrder =
    std::function<int(std::span<const std::uint8_t>, std::span<const std::uint8_t>)>;

// `count` records (their bytes in `records`) that moved unchanged into block `block`.
using RecordsMoved = std::function<void(std::span<const std::uint8_t> records, std::size_t count,
                                        std::uint16_t block)>;

// A chain's blocks with the first key of each (flat; empty when not read), as a later
// open of the same file, unchanged, may take them instead of walking the chain again.
struct ChainMap {
    std::vector<ChainBlock> blocks;
    std::vector<std::uint8_t> firstKeys;
};

// A block a lookup read does not agree with the chain its block index told
// (BlockChain::assignFromIndex): the owner walks the chain and looks again.
struct ChainDisagrees : std::exception {
    const char* what() const noexcept override { return "the block index disagrees"; }
};

class BlockChain {
public:
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    // Where a record is, or where it would go.
    struct Place {
        std::size_t index = 0; // chain position of the block
        std::size_t slot = 0;  // record index within the block
        bool found = false;    // a record with the same key is there
    };

    // `header` is the owner's and outlives the chain; `kind` names the file in errors
    // ("table", "index"). Nothing is read until load().
    BlockChain(Pager& pager, int file, TableHeader& header, std::string kind);
    BlockChain(const BlockChain&) = delete;
    BlockChain& operator=(const BlockChain&) = delete;

    void setOrder(RecordOrder order) { order_ = std::move(order); }
    void setMovedHook(RecordsMoved moved) { moved_ = std::move(moved); }
    // The bytes at the start of a record that make its key; the cached keys are read
    // again when next needed.
    void setKeySize(std::size_t size);
    std::size_t keySize() const { return keySize_; }

    const std::vector<ChainBlock>& blocks() const { return chain_; }
    bool empty() const { return chain_.empty(); }
    std::size_t recordSize() const { return static_cast<std::size_t>(header_.recordSize); }
    std::uint32_t recordCount() const;

    // Walks the chain in the file from the header (the header read by the owner).
    void load();
    // Takes `blocks` as the chain the file now holds (written by the owner).
    void assign(std::vector<ChainBlock> blocks);
    // As assign, with the first key of every block (flat, as firstKeysRead gives them;
    // empty: read when needed).
    void assign(std::vector<ChainBlock> blocks, std::vector<std::uint8_t> firstKeys);
    // The first keys read so far (empty when they are not).
    std::vector<std::uint8_t> firstKeysRead() const {
        return keysLoaded_ ? firstKeys_ : std::vector<std::uint8_t>{};
    }
    // Takes the chain as the file's block index tells it (readIndexedChain), before any
    // block is read: each block is checked when a lookup first reads it (sharedBlock,
    // check), and one whose links, record count or first key are not the index's throws
    // ChainDisagrees. Only lookups may use such a chain; load() walks it.
    void assignFromIndex(ChainMap map);
    // False for a chain taken from the block index.
    bool walked() const { return !fromIndex_; }
    // Reads block `index` of a chain taken from the block index, to check it.
    void check(std::size_t index) const;
    // No blocks: the file cut back to its header, the free list gone.
    void clear();

    // --- reading ---------------------------------------------------------------
    std::uint64_t offset(std::uint16_t block) const;
    std::vector<std::uint8_t> readBlock(std::uint16_t block) const;
    // The same bytes, shared with the blocks the chain keeps for its next lookups: no
    // read when kept (the pager's own page cache is passed by).
    BlockCache::Block sharedBlock(std::uint16_t block) const;
    // Every record in chain order, flat.
    std::vector<std::uint8_t> readRecords() const;
    // The chain position of block `block`; npos when it is not in the chain.
    std::size_t indexOf(std::uint16_t block) const;
    // The chain position of every block number up to the highest in the chain (0 for a
    // number not in it), kept until the chain next changes.
    const std::vector<std::uint32_t>& positions() const;
    std::span<const std::uint8_t> firstKey(std::size_t index) const;
    // The first key, number and record count of every block, for the block index.
    std::vector<IndexEntry> indexEntries() const;
    // The last block whose first key is not above `key`; the first block otherwise.
    std::size_t blockFor(std::span<const std::uint8_t> key) const;
    // Where `key` is or would go (the chain must not be empty).
    Place locate(std::span<const std::uint8_t> key) const;
    // As locate, leaving the bytes of the block it names in `block` (for a caller that
    // goes on reading the records from there).
    Place locate(std::span<const std::uint8_t> key, BlockCache::Block& block) const;

    // --- writing ---------------------------------------------------------------
    // Places `record` in key order; returns where it landed, or found and nothing
    // changed when a record with its key is there.
    Place insert(std::span<const std::uint8_t> record);
    // Places `record` after the last one (a new last block when that one is full).
    Place append(std::span<const std::uint8_t> record);
    // Takes the record at `slot` of chain position `index` out.
    void removeAt(std::size_t index, std::size_t slot);
    // The whole content replaced with `records` (flat, in order), blocks 1..n packed full.
    void replaceAll(std::span<const std::uint8_t> records);
    // The header's first, last and block count from the chain.
    void stampHeader();

    // What changed since the last call (for the block index over the chain): the chain
    // positions whose first key or record count changed, or reshaped when blocks were
    // added, freed or moved (or the chain was read anew), which may change every one.
    struct Changes {
        bool reshaped = true;
        std::vector<std::size_t> touched; // ascending, no repeats
    };
    Changes takeChanges();

private:
    std::size_t perBlock() const { return static_cast<std::size_t>(header_.recordsPerBlock()); }
    void writeBlock(std::uint16_t block, std::span<const std::uint8_t> bytes);
    void writeRecordCount(std::uint16_t block, std::vector<std::uint8_t>& bytes, std::size_t count);
    void ensureKeys() const;
    void checkBlock(std::uint16_t block, std::span<const std::uint8_t> bytes) const;
    void setFirstKey(std::size_t index, std::span<const std::uint8_t> record);
    Place locateIn(std::span<const std::uint8_t> block, std::size_t index,
                   std::span<const std::uint8_t> key) const;
    void insertInto(std::vector<std::uint8_t>& block, const Place& place,
                    std::span<const std::uint8_t> record);
    void split(std::size_t index, std::vector<std::uint8_t>& block);
    std::uint16_t allocate();
    void release(std::uint16_t block);
    void link(std::uint16_t prev, std::uint16_t next);
    std::size_t addBlockAfter(std::size_t index, std::span<const std::uint8_t> records,
                              std::size_t count);
    void unlink(std::size_t index);
    void notifyMoved(std::span<const std::uint8_t> records, std::size_t count, std::uint16_t block);
    void touch(std::size_t index);
    void reshape();

    Pager& pager_;
    int file_;
    TableHeader& header_;
    std::string kind_;
    CachePages pages_; // whether the pager keeps this chain's blocks
    RecordOrder order_;
    RecordsMoved moved_;
    std::vector<ChainBlock> chain_;
    bool fromIndex_ = false;            // chain_ is the block index's, unchecked
    mutable std::vector<bool> checked_; // its positions read and found agreeing
    std::size_t keySize_ = 0;
    mutable bool keysLoaded_ = false;
    mutable bool positionsKept_ = false;
    mutable std::vector<std::uint32_t> positions_;
    mutable std::vector<std::uint8_t> firstKeys_; // first key of each chain block, flat
    mutable BlockCache kept_;                     // the blocks lookups read
    mutable std::uint64_t keptAt_ = 0;            // the pager's change count they were read at
    Changes changes_;
};

} // namespace db
