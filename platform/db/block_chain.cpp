#include "platform/db/block_chain.h"

#include "platform/db/data_block.h"
#include "platform/db/error.h"

#include <algorithm>
#include <cstring>

namespace db {

// Lookups read through sharedBlock, whose blocks the chain keeps itself. The write path
// reads copies: an index's blocks through the pager's kept pages (few, read again and
// again), a table's past them (many, each read about once per change).
BlockChain::BlockChain(Pager& pager, int file, TableHeader& header, std::string kind)
    : pager_(pager), file_(file), header_(header), kind_(std::move(kind)),
      pages_(kind_ == "index" ? CachePages::Keep : CachePages::Pass) {}

void BlockChain::setKeySize(std::size_t size) {
    keySize_ = size;
    keysLoaded_ = false;
    reshape();
}

BlockChain::Changes BlockChain::takeChanges() {
    Changes taken = std::move(changes_);
    changes_ = Changes{false, {}};
    std::sort(taken.touched.begin(), taken.touched.end());
    taken.touched.erase(std::unique(taken.touched.begin(), taken.touched.end()),
                        taken.touched.end());
    return taken;
}

void BlockChain::touch(std::size_t index) {
    if (changes_.reshaped)
        return;
    // Many positions untaken (an owner without a block index): as good as reshaped.
    if (changes_.touched.size() >= 64)
        reshape();
    else
        changes_.touched.push_back(index);
}

void BlockChain::reshape() {
    positionsKept_ = false;
    changes_.reshaped = true;
    changes_.touched.clear();
}

std::uint32_t BlockChain::recordCount() const {
    std::uint32_t total = 0;
    for (const ChainBlock& b : chain_)
        total += b.records;
    return total;
}

void BlockChain::load() {
    assign(walkBlockChain(pager_, file_, header_));
}

void BlockChain::assign(std::vector<ChainBlock> blocks) {
    chain_ = std::move(blocks);
    fromIndex_ = false;
    checked_.clear();
    keysLoaded_ = false;
    reshape();
}

void BlockChain::assignFromIndex(ChainMap map) {
    assign(std::move(map.blocks), std::move(map.firstKeys));
    fromIndex_ = keysLoaded_;
    checked_.assign(fromIndex_ ? chain_.size() : 0, false);
    if (!fromIndex_) // no first keys to check against: walked instead
        load();
}

void BlockChain::check(std::size_t index) const {
    if (fromIndex_ && !checked_[index])
        sharedBlock(chain_[index].number);
}

// A block of a chain taken from the block index, read for the first time: its header and
// first key as the index has them, or the chain is not to be trusted.
void BlockChain::checkBlock(std::uint16_t block, std::span<const std::uint8_t> bytes) const {
    const auto& at = positions();
    if (block >= at.size() || chain_[at[block]].number != block)
        return; // not in the chain: nothing the index says
    const std::size_t index = at[block];
    if (checked_[index])
        return;
    const std::uint16_t next = index + 1 < chain_.size() ? chain_[index + 1].number : 0;
    const std::uint16_t prev = index > 0 ? chain_[index - 1].number : 0;
    if (readLe16(bytes.data()) != next || readLe16(bytes.data() + 2) != prev ||
        recordsInBlock(bytes.data(), header_.recordSize) != chain_[index].records ||
        std::memcmp(bytes.data() + kBlockHeaderSize, firstKeys_.data() + index * keySize_,
                    keySize_) != 0)
        throw ChainDisagrees();
    checked_[index] = true;
}

void BlockChain::assign(std::vector<ChainBlock> blocks, std::vector<std::uint8_t> firstKeys) {
    assign(std::move(blocks));
    if (keySize_ > 0 && firstKeys.size() == chain_.size() * keySize_) {
        firstKeys_ = std::move(firstKeys);
        keysLoaded_ = true;
    }
}

void BlockChain::clear() {
    if (pager_.size(file_) > header_.headerSize)
        pager_.truncate(file_, header_.headerSize);
    header_.fileBlocks = 0;
    header_.firstFreeBlock = 0;
    chain_.clear();
    fromIndex_ = false;
    checked_.clear();
    firstKeys_.clear();
    keysLoaded_ = true;
    reshape();
}

// --- reading -------------------------------------------------------------------

std::uint64_t BlockChain::offset(std::uint16_t block) const {
    return blockOffset(header_, block);
}

std::vector<std::uint8_t> BlockChain::readBlock(std::uint16_t block) const {
    return pager_.read(file_, offset(block), static_cast<std::size_t>(header_.blockSize()), pages_);
}

BlockCache::Block BlockChain::sharedBlock(std::uint16_t block) const {
    const std::size_t size = static_cast<std::size_t>(header_.blockSize());
    // Copied, never seen in place through a mapping of the file: another process may cut
    // the file short at any moment, and a mapped read past its end would end the program
    // (SIGBUS), where a copying read reports the short file.
    const auto read = [&](std::span<std::uint8_t> out) {
        pager_.read(file_, offset(block), out, CachePages::Pass);
    };
    if (const std::uint64_t now = pager_.changeCount(); now != keptAt_) {
        kept_.clear();
        keptAt_ = now;
    }
    BlockCache::Block bytes = kept_.get(block, size, read);
    if (fromIndex_)
        checkBlock(block, *bytes);
    return bytes;
}

std::vector<std::uint8_t> BlockChain::readRecords() const {
    std::vector<std::uint8_t> out;
    const std::size_t size = recordSize();
    for (const ChainBlock& b : chain_) {
        const std::size_t at = out.size();
        out.resize(at + b.records * size);
        pager_.read(file_, offset(b.number) + kBlockHeaderSize, {out.data() + at, b.records * size},
                    CachePages::Pass);
    }
    return out;
}

const std::vector<std::uint32_t>& BlockChain::positions() const {
    if (!positionsKept_) {
        std::uint16_t highest = 0;
        for (const ChainBlock& b : chain_)
            highest = std::max(highest, b.number);
        positions_.assign(static_cast<std::size_t>(highest) + 1, 0);
        for (std::size_t i = 0; i < chain_.size(); ++i)
            positions_[chain_[i].number] = static_cast<std::uint32_t>(i);
        positionsKept_ = true;
    }
    return positions_;
}

std::size_t BlockChain::indexOf(std::uint16_t block) const {
    const auto it = std::find_if(chain_.begin(), chain_.end(),
                                 [block](const ChainBlock& b) { return b.number == block; });
    return it == chain_.end() ? npos : static_cast<std::size_t>(it - chain_.begin());
}

void BlockChain::ensureKeys() const {
    if (keysLoaded_)
        return;
    firstKeys_.assign(chain_.size() * keySize_, 0);
    if (keySize_ > 0)
        for (std::size_t i = 0; i < chain_.size(); ++i)
            if (chain_[i].records > 0)
                pager_.read(file_, offset(chain_[i].number) + kBlockHeaderSize,
                            {firstKeys_.data() + i * keySize_, keySize_}, CachePages::Pass);
    keysLoaded_ = true;
}

std::span<const std::uint8_t> BlockChain::firstKey(std::size_t index) const {
    ensureKeys();
    return {firstKeys_.data() + index * keySize_, keySize_};
}

void BlockChain::setFirstKey(std::size_t index, std::span<const std::uint8_t> record) {
    std::memcpy(firstKeys_.data() + index * keySize_, record.data(), keySize_);
}

std::vector<IndexEntry> BlockChain::indexEntries() const {
    std::vector<IndexEntry> leaves;
    leaves.reserve(chain_.size());
    for (std::size_t i = 0; i < chain_.size(); ++i)
        leaves.push_back({firstKey(i), chain_[i].number, chain_[i].records});
    return leaves;
}

std::size_t BlockChain::blockFor(std::span<const std::uint8_t> key) const {
    std::size_t lo = 0, hi = chain_.size();
    while (lo < hi) {
        const std::size_t mid = (lo + hi) / 2;
        if (order_(firstKey(mid), key) <= 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo == 0 ? 0 : lo - 1;
}

BlockChain::Place BlockChain::locate(std::span<const std::uint8_t> key) const {
    const std::size_t index = blockFor(key);
    return locateIn(readBlock(chain_[index].number), index, key);
}

BlockChain::Place BlockChain::locate(std::span<const std::uint8_t> key,
                                     BlockCache::Block& block) const {
    const std::size_t index = blockFor(key);
    block = sharedBlock(chain_[index].number);
    return locateIn(*block, index, key);
}

// The first slot of block `index` (its bytes in `block`) whose key is not below `key`.
BlockChain::Place BlockChain::locateIn(std::span<const std::uint8_t> block, std::size_t index,
                                       std::span<const std::uint8_t> key) const {
    const std::size_t size = recordSize();
    const std::size_t count = chain_[index].records;
    const auto record = [&](std::size_t slot) {
        return std::span<const std::uint8_t>(block).subspan(kBlockHeaderSize + slot * size, size);
    };
    std::size_t lo = 0, hi = count;
    while (lo < hi) {
        const std::size_t mid = (lo + hi) / 2;
        if (order_(record(mid), key) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    return {index, lo, lo < count && order_(record(lo), key) == 0};
}

// --- blocks --------------------------------------------------------------------

void BlockChain::writeBlock(std::uint16_t block, std::span<const std::uint8_t> bytes) {
    pager_.write(file_, offset(block), bytes);
}

void BlockChain::writeRecordCount(std::uint16_t block, std::vector<std::uint8_t>& bytes,
                                  std::size_t count) {
    writeBlockHeader(bytes.data(), {readLe16(bytes.data()), readLe16(bytes.data() + 2), count,
                                    header_.recordSize});
    writeBlock(block, bytes);
}

std::uint16_t BlockChain::allocate() {
    if (const std::uint16_t n = header_.firstFreeBlock; n != 0) {
        if (n > header_.fileBlocks || indexOf(n) != npos)
            throw CorruptFileError(pager_.path(file_), "the free block list is damaged");
        header_.firstFreeBlock = readLe16(readBlock(n).data());
        return n;
    }
    if (header_.fileBlocks == 0xFFFF)
        throw DbError(pager_.path(file_), "the " + kind_ + " is full (65535 blocks)");
    return ++header_.fileBlocks;
}

void BlockChain::release(std::uint16_t block) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(header_.blockSize()), 0);
    writeBlockHeader(bytes.data(), {header_.firstFreeBlock, 0, 0, header_.recordSize});
    writeBlock(block, bytes);
    header_.firstFreeBlock = block;
}

// Makes `next` follow `prev` in the chain (either may be 0: the chain's end).
void BlockChain::link(std::uint16_t prev, std::uint16_t next) {
    std::uint8_t bytes[2];
    if (prev != 0) {
        writeLe16(bytes, next);
        pager_.write(file_, offset(prev), bytes);
    }
    if (next != 0) {
        writeLe16(bytes, prev);
        pager_.write(file_, offset(next) + 2, bytes);
    }
}

// Links a new block holding `count` records after chain position `index` (npos: as
// the first block); returns its chain position.
std::size_t BlockChain::addBlockAfter(std::size_t index, std::span<const std::uint8_t> records,
                                      std::size_t count) {
    const std::uint16_t number = allocate();
    const std::size_t at = index == npos ? 0 : index + 1;
    const std::uint16_t prev = index == npos ? 0 : chain_[index].number;
    const std::uint16_t next = at < chain_.size() ? chain_[at].number : 0;
    std::vector<std::uint8_t> block(static_cast<std::size_t>(header_.blockSize()), 0);
    writeBlockHeader(block.data(), {next, prev, count, header_.recordSize});
    std::memcpy(block.data() + kBlockHeaderSize, records.data(), count * recordSize());
    writeBlock(number, block);
    link(prev, number);
    link(number, next);
    chain_.insert(chain_.begin() + static_cast<std::ptrdiff_t>(at),
                  ChainBlock{number, static_cast<std::uint16_t>(count)});
    firstKeys_.insert(firstKeys_.begin() + static_cast<std::ptrdiff_t>(at * keySize_),
                      records.begin(), records.begin() + static_cast<std::ptrdiff_t>(keySize_));
    reshape();
    return at;
}

// Takes an emptied block out of the chain and frees it. Block 1 always stays the
// first block: when it empties, the next block's records move into it instead.
void BlockChain::unlink(std::size_t index) {
    std::size_t victim = index;
    if (chain_[index].number == 1 && index + 1 < chain_.size()) {
        victim = index + 1;
        auto moved = readBlock(chain_[victim].number);
        const std::uint16_t after = victim + 1 < chain_.size() ? chain_[victim + 1].number : 0;
        writeBlockHeader(moved.data(), {after, 0, chain_[victim].records, header_.recordSize});
        writeBlock(1, moved);
        chain_[index].records = chain_[victim].records;
        setFirstKey(index, std::span(moved).subspan(kBlockHeaderSize));
        link(1, after);
        notifyMoved(std::span(moved).subspan(kBlockHeaderSize), chain_[victim].records, 1);
    } else {
        link(index > 0 ? chain_[index - 1].number : 0,
             index + 1 < chain_.size() ? chain_[index + 1].number : 0);
    }
    release(chain_[victim].number);
    reshape();
    chain_.erase(chain_.begin() + static_cast<std::ptrdiff_t>(victim));
    firstKeys_.erase(firstKeys_.begin() + static_cast<std::ptrdiff_t>(victim * keySize_),
                     firstKeys_.begin() + static_cast<std::ptrdiff_t>((victim + 1) * keySize_));
}

void BlockChain::notifyMoved(std::span<const std::uint8_t> records, std::size_t count,
                             std::uint16_t block) {
    if (moved_)
        moved_(records.first(count * recordSize()), count, block);
}

// --- records -------------------------------------------------------------------

BlockChain::Place BlockChain::insert(std::span<const std::uint8_t> record) {
    ensureKeys();
    if (chain_.empty())
        return {addBlockAfter(npos, record, 1), 0, false};
    const std::size_t index = blockFor(record);
    auto block = readBlock(chain_[index].number);
    const Place place = locateIn(block, index, record);
    if (place.found)
        return place;
    const std::size_t count = chain_[index].records;
    if (count < perBlock()) {
        insertInto(block, place, record);
        return place;
    }
    if (index + 1 == chain_.size() && place.slot == count) // past the end: a new last block
        return {addBlockAfter(index, record, 1), 0, false};
    split(index, block);
    return insert(record);
}

void BlockChain::insertInto(std::vector<std::uint8_t>& block, const Place& place,
                            std::span<const std::uint8_t> record) {
    const std::size_t size = recordSize();
    const std::size_t count = chain_[place.index].records;
    std::uint8_t* at = block.data() + kBlockHeaderSize + place.slot * size;
    std::memmove(at + size, at, (count - place.slot) * size);
    std::memcpy(at, record.data(), size);
    writeRecordCount(chain_[place.index].number, block, count + 1);
    chain_[place.index].records = static_cast<std::uint16_t>(count + 1);
    if (place.slot == 0)
        setFirstKey(place.index, record);
    touch(place.index);
}

// The upper half of the full block at `index` (its bytes in `block`) moves to a new
// block after it.
void BlockChain::split(std::size_t index, std::vector<std::uint8_t>& block) {
    const std::size_t size = recordSize();
    const std::size_t count = chain_[index].records;
    const std::size_t keep = count / 2;
    const auto moved = std::span(block).subspan(kBlockHeaderSize + keep * size);
    addBlockAfter(index, moved, count - keep);
    notifyMoved(moved, count - keep, chain_[index + 1].number);
    std::fill(block.begin() + static_cast<std::ptrdiff_t>(kBlockHeaderSize + keep * size),
              block.end(), 0);
    writeLe16(block.data(), chain_[index + 1].number);
    writeRecordCount(chain_[index].number, block, keep);
    chain_[index].records = static_cast<std::uint16_t>(keep);
    reshape();
}

BlockChain::Place BlockChain::append(std::span<const std::uint8_t> record) {
    ensureKeys();
    if (chain_.empty() || chain_.back().records >= perBlock())
        return {addBlockAfter(chain_.empty() ? npos : chain_.size() - 1, record, 1), 0, false};
    ChainBlock& last = chain_.back();
    const std::uint64_t at = offset(last.number);
    pager_.write(file_, at + kBlockHeaderSize + last.records * recordSize(), record);
    ++last.records;
    std::uint8_t add[2];
    writeLe16(add, static_cast<std::uint16_t>((last.records - 1) * header_.recordSize));
    pager_.write(file_, at + 4, add);
    touch(chain_.size() - 1);
    return {chain_.size() - 1, static_cast<std::size_t>(last.records - 1), false};
}

void BlockChain::removeAt(std::size_t index, std::size_t slot) {
    ensureKeys();
    const std::size_t size = recordSize();
    const std::uint16_t number = chain_[index].number;
    const std::size_t count = chain_[index].records;
    auto block = readBlock(number);
    std::uint8_t* at = block.data() + kBlockHeaderSize + slot * size;
    std::memmove(at, at + size, (count - slot - 1) * size);
    std::memset(block.data() + kBlockHeaderSize + (count - 1) * size, 0, size);
    if (count > 1) {
        writeRecordCount(number, block, count - 1);
        chain_[index].records = static_cast<std::uint16_t>(count - 1);
        if (slot == 0)
            setFirstKey(index, std::span(block).subspan(kBlockHeaderSize));
        touch(index);
    } else if (chain_.size() > 1) {
        unlink(index);
    } else {
        clear();
    }
}

void BlockChain::replaceAll(std::span<const std::uint8_t> records) {
    clear();
    const std::size_t size = recordSize();
    const std::size_t count = records.size() / size;
    const std::size_t blocks = (count + perBlock() - 1) / perBlock();
    if (blocks > 0xFFFF)
        throw DbError(pager_.path(file_), "the " + kind_ + " is too large (65535 blocks)");
    std::vector<std::uint8_t> block(static_cast<std::size_t>(header_.blockSize()));
    for (std::size_t b = 0; b < blocks; ++b) {
        const std::size_t first = b * perBlock();
        const std::size_t n = std::min(perBlock(), count - first);
        const auto number = static_cast<std::uint16_t>(b + 1);
        std::fill(block.begin(), block.end(), 0);
        writeBlockHeader(block.data(), {static_cast<std::uint16_t>(b + 1 < blocks ? b + 2 : 0),
                                        static_cast<std::uint16_t>(b), n, header_.recordSize});
        std::memcpy(block.data() + kBlockHeaderSize, records.data() + first * size, n * size);
        writeBlock(number, block);
        chain_.push_back({number, static_cast<std::uint16_t>(n)});
        firstKeys_.insert(firstKeys_.end(),
                          records.begin() + static_cast<std::ptrdiff_t>(first * size),
                          records.begin() + static_cast<std::ptrdiff_t>(first * size + keySize_));
    }
    header_.fileBlocks = static_cast<std::uint16_t>(blocks);
    positionsKept_ = false;
}

void BlockChain::stampHeader() {
    header_.nextBlock = static_cast<std::uint16_t>(chain_.size());
    header_.firstBlock = chain_.empty() ? 0 : chain_.front().number;
    header_.lastBlock = chain_.empty() ? 0 : chain_.back().number;
}

} // namespace db
