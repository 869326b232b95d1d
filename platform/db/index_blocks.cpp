#include "platform/db/index_blocks.h"

#include "platform/db/data_block.h"
#include "platform/db/error.h"
#include "platform/db/primary_index.h"

#include <algorithm>

namespace db {

IndexBlocks::IndexBlocks(Pager& pager, int x, int y, IndexOrder order)
    : pager_(pager), x_(x), y_(y), chain_(pager, x, xHeader_, "index") {
    chain_.setOrder(std::move(order));
}

// --- state --------------------------------------------------------------------

void IndexBlocks::reload() {
    xHeader_ = readFileHeader(pager_, x_);
    yHeader_ = readFileHeader(pager_, y_);
    chain_.setKeySize(xHeader_.recordSize >= 2 ? xHeader_.recordSize - 2u : 0u);
    std::optional<ChainMap> offered = std::move(offered_);
    offered_.reset();
    std::uint64_t records = 0;
    if (offered)
        for (const ChainBlock& b : offered->blocks)
            records += b.records;
    if (offered && records == xHeader_.numRecords)
        chain_.assign(std::move(offered->blocks), std::move(offered->firstKeys));
    else if (auto map = indexedChain())
        chain_.assignFromIndex(std::move(*map));
    else
        chain_.load();
    yIndex_.forget();
    written_ = pager_.read(x_, 0, xHeader_.headerSize);
}

// The Y file's leaves, when its header is stamped for this state of the X file (the
// update count one past the X file's, as every change writes it).
std::optional<ChainMap> IndexBlocks::indexedChain() const {
    if (yHeader_.updateCount != static_cast<std::uint16_t>(xHeader_.updateCount + 1) ||
        pager_.hasChanges() || chain_.keySize() == 0)
        return std::nullopt;
    try {
        return readIndexedChain(pager_, y_, yHeader_, xHeader_, pager_.size(x_), chain_.keySize());
    } catch (const DbError&) { // the walk reports what is wrong
        return std::nullopt;
    }
}

void IndexBlocks::walk() {
    if (!chain_.walked())
        chain_.load();
}

std::optional<ChainMap> IndexBlocks::chainMap() const {
    if (written_.empty() || syncedAt_ != pager_.changeCount() || pager_.inTransaction() ||
        !chain_.walked())
        return std::nullopt;
    return ChainMap{chain_.blocks(), chain_.firstKeysRead()};
}

void IndexBlocks::adopt(TableHeader x, TableHeader y) {
    xHeader_ = std::move(x);
    yHeader_ = std::move(y);
    chain_.setKeySize(xHeader_.recordSize - 2u);
    chain_.assign({});
    yIndex_.forget();
    written_.clear();
    xHeader_.fileBlocks = 0;
    xHeader_.firstFreeBlock = 0;
    pager_.truncate(x_, 0);
    pager_.truncate(y_, 0);
}

void IndexBlocks::sync() {
    if (!written_.empty() && syncedAt_ == pager_.changeCount())
        return; // the pager changed nothing since the files last matched
    if (!written_.empty() && pager_.size(x_) >= written_.size()) {
        onDisk_.resize(written_.size());
        pager_.read(x_, 0, onDisk_);
        if (onDisk_ == written_) {
            syncedAt_ = pager_.changeCount();
            return;
        }
    }
    reload();
    syncedAt_ = pager_.changeCount();
}

std::vector<std::uint8_t> IndexBlocks::readAll() {
    walk();
    return chain_.readRecords();
}

void IndexBlocks::visitFrom(std::span<const std::uint8_t> key,
                            const std::function<bool(std::span<const std::uint8_t>)>& visit) const {
    if (chain_.empty())
        return;
    BlockCache::Block block;
    const BlockChain::Place start = chain_.locate(key, block);
    const std::size_t size = chain_.recordSize();
    const auto& blocks = chain_.blocks();
    for (std::size_t index = start.index; index < blocks.size(); ++index) {
        if (index != start.index)
            block = chain_.sharedBlock(blocks[index].number);
        for (std::size_t slot = index == start.index ? start.slot : 0; slot < blocks[index].records;
             ++slot)
            if (!visit(std::span(*block).subspan(kBlockHeaderSize + slot * size, size)))
                return;
    }
}

std::vector<std::uint8_t> IndexBlocks::readYBlocks() const {
    const std::uint64_t size = pager_.size(y_);
    const std::uint64_t want = static_cast<std::uint64_t>(yHeader_.fileBlocks) *
                               static_cast<std::uint64_t>(yHeader_.blockSize());
    if (size <= yHeader_.headerSize)
        return {};
    return pager_.read(y_, yHeader_.headerSize,
                       static_cast<std::size_t>(std::min(want, size - yHeader_.headerSize)),
                       CachePages::Pass);
}

// --- records ------------------------------------------------------------------

bool IndexBlocks::insert(std::span<const std::uint8_t> record) {
    walk();
    return !chain_.insert(record).found;
}

bool IndexBlocks::remove(std::span<const std::uint8_t> record) {
    walk();
    if (chain_.empty())
        return false;
    const BlockChain::Place place = chain_.locate(record);
    if (!place.found)
        return false;
    chain_.removeAt(place.index, place.slot);
    return true;
}

bool IndexBlocks::setHint(std::span<const std::uint8_t> record, std::uint16_t hint) {
    walk();
    if (chain_.empty())
        return false;
    const BlockChain::Place place = chain_.locate(record);
    if (!place.found)
        return false;
    std::uint8_t bytes[2];
    writeShortField(bytes, hint);
    pager_.write(x_,
                 chain_.offset(chain_.blocks()[place.index].number) + kBlockHeaderSize +
                     place.slot * recordSize() + keySize(),
                 bytes);
    return true;
}

void IndexBlocks::replaceAll(std::span<const std::uint8_t> records) {
    chain_.replaceAll(records);
}

void IndexBlocks::clear() {
    chain_.clear();
}

// --- headers and the block index -------------------------------------------------

PrimaryIndexImage IndexBlocks::yImage() const {
    return buildPrimaryIndex(chain_.indexEntries(), static_cast<int>(keySize()),
                             yHeader_.blockSize());
}

std::vector<std::uint8_t> IndexBlocks::expectedYBlocks(std::uint16_t& root, std::uint8_t& levels,
                                                       std::uint32_t& entries) {
    walk();
    auto image = yImage();
    root = image.root;
    levels = image.levels;
    entries = image.entries;
    return std::move(image.blocks);
}

void IndexBlocks::finish() {
    walk();
    xHeader_.numRecords = chain_.recordCount();
    chain_.stampHeader();
    if (!written_.empty()) // a new file keeps the count its header was made with
        ++xHeader_.updateCount;
    written_ = encodeHeader(xHeader_);
    pager_.write(x_, 0, written_);

    yIndex_.update(pager_, y_, yHeader_, chain_,
                   static_cast<std::uint16_t>(xHeader_.updateCount + 1));
    pager_.write(y_, 0, encodeHeader(yHeader_));
}

} // namespace db
