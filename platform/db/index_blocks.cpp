#include "platform/db/index_blocks.h"

#include "platform/db/data_block.h"
#include "platform/db/error.h"
#include "platform/db/primary_index.h"

#include <algorithm>
#include <cstring>

namespace db {

namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// A Short field value: big-endian with the sign bit flipped.
void putShort(std::uint8_t* out, std::uint16_t value) {
    const std::uint16_t stored = value ^ 0x8000u;
    out[0] = static_cast<std::uint8_t>(stored >> 8);
    out[1] = static_cast<std::uint8_t>(stored);
}

} // namespace

IndexBlocks::IndexBlocks(Pager& pager, int x, int y, IndexOrder order)
    : pager_(pager), x_(x), y_(y), order_(std::move(order)) {}

// --- state --------------------------------------------------------------------

void IndexBlocks::reload() {
    xHeader_ = readFileHeader(pager_, x_);
    yHeader_ = readFileHeader(pager_, y_);
    keySize_ = xHeader_.recordSize >= 2 ? xHeader_.recordSize - 2u : 0u;
    chain_ = walkBlockChain(pager_, x_, xHeader_);
    firstKeys_.assign(chain_.size() * keySize_, 0);
    for (std::size_t i = 0; i < chain_.size(); ++i)
        if (chain_[i].records > 0)
            pager_.read(x_, xOffset(chain_[i].number) + kBlockHeaderSize,
                        {firstKeys_.data() + i * keySize_, keySize_});
    yImage_.clear();
    written_ = pager_.read(x_, 0, xHeader_.headerSize);
}

void IndexBlocks::adopt(TableHeader x, TableHeader y) {
    xHeader_ = std::move(x);
    yHeader_ = std::move(y);
    keySize_ = xHeader_.recordSize - 2u;
    chain_.clear();
    firstKeys_.clear();
    yImage_.clear();
    written_.clear();
    xHeader_.fileBlocks = 0;
    xHeader_.firstFreeBlock = 0;
    pager_.truncate(x_, 0);
    pager_.truncate(y_, 0);
}

void IndexBlocks::sync() {
    if (written_.empty() || pager_.size(x_) < written_.size() ||
        pager_.read(x_, 0, written_.size()) != written_)
        reload();
}

std::vector<std::uint8_t> IndexBlocks::readAll() const {
    std::vector<std::uint8_t> out;
    const std::size_t size = recordSize();
    for (const ChainBlock& b : chain_) {
        const std::size_t at = out.size();
        out.resize(at + b.records * size);
        pager_.read(x_, xOffset(b.number) + kBlockHeaderSize, {out.data() + at, b.records * size});
    }
    return out;
}

std::vector<std::uint8_t> IndexBlocks::readYBlocks() const {
    const std::uint64_t size = pager_.size(y_);
    const std::uint64_t want = static_cast<std::uint64_t>(yHeader_.fileBlocks) *
                               static_cast<std::uint64_t>(yHeader_.blockSize());
    if (size <= yHeader_.headerSize)
        return {};
    return pager_.read(y_, yHeader_.headerSize,
                       static_cast<std::size_t>(std::min(want, size - yHeader_.headerSize)));
}

// --- blocks -------------------------------------------------------------------

std::uint64_t IndexBlocks::xOffset(std::uint16_t block) const {
    return blockOffset(xHeader_, block);
}

std::vector<std::uint8_t> IndexBlocks::readBlock(std::uint16_t block) const {
    return pager_.read(x_, xOffset(block), static_cast<std::size_t>(xHeader_.blockSize()));
}

void IndexBlocks::writeBlock(std::uint16_t block, std::span<const std::uint8_t> bytes) {
    pager_.write(x_, xOffset(block), bytes);
}

std::span<const std::uint8_t> IndexBlocks::firstKey(std::size_t index) const {
    return {firstKeys_.data() + index * keySize_, keySize_};
}

void IndexBlocks::setFirstKey(std::size_t index, std::span<const std::uint8_t> record) {
    std::memcpy(firstKeys_.data() + index * keySize_, record.data(), keySize_);
}

std::size_t IndexBlocks::blockFor(std::span<const std::uint8_t> key) const {
    // The last block whose first key is not above `key`; the first block otherwise.
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

std::size_t IndexBlocks::slotFor(const std::vector<std::uint8_t>& block, std::size_t count,
                                 std::span<const std::uint8_t> key, bool& found) const {
    const std::size_t size = recordSize();
    const auto record = [&](std::size_t slot) {
        return std::span<const std::uint8_t>(block).subspan(kBlockHeaderSize + slot * size, size);
    };
    std::size_t lo = 0, hi = count; // the first slot whose key is not below `key`
    while (lo < hi) {
        const std::size_t mid = (lo + hi) / 2;
        if (order_(record(mid), key) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    found = lo < count && order_(record(lo), key) == 0;
    return lo;
}

std::uint16_t IndexBlocks::allocate() {
    if (const std::uint16_t n = xHeader_.firstFreeBlock; n != 0) {
        if (n > xHeader_.fileBlocks ||
            std::any_of(chain_.begin(), chain_.end(),
                        [n](const ChainBlock& b) { return b.number == n; }))
            throw CorruptFileError(pager_.path(x_), "the free block list is damaged");
        xHeader_.firstFreeBlock = readLe16(readBlock(n).data());
        return n;
    }
    if (xHeader_.fileBlocks == 0xFFFF)
        throw DbError(pager_.path(x_), "the index is full (65535 blocks)");
    return ++xHeader_.fileBlocks;
}

void IndexBlocks::release(std::uint16_t block) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(xHeader_.blockSize()), 0);
    writeBlockHeader(bytes.data(), {xHeader_.firstFreeBlock, 0, 0, xHeader_.recordSize});
    writeBlock(block, bytes);
    xHeader_.firstFreeBlock = block;
}

void IndexBlocks::link(std::uint16_t prev, std::uint16_t next) {
    std::uint8_t bytes[2];
    if (prev != 0) {
        writeLe16(bytes, next);
        pager_.write(x_, xOffset(prev), bytes);
    }
    if (next != 0) {
        writeLe16(bytes, prev);
        pager_.write(x_, xOffset(next) + 2, bytes);
    }
}

void IndexBlocks::writeRecordCount(std::uint16_t block, std::vector<std::uint8_t>& bytes,
                                   std::size_t count) {
    writeBlockHeader(bytes.data(), {readLe16(bytes.data()), readLe16(bytes.data() + 2), count,
                                    xHeader_.recordSize});
    writeBlock(block, bytes);
}

std::size_t IndexBlocks::addBlockAfter(std::size_t index, std::span<const std::uint8_t> records,
                                       std::size_t count) {
    const std::uint16_t number = allocate();
    const std::size_t at = index == kNone ? 0 : index + 1;
    const std::uint16_t prev = index == kNone ? 0 : chain_[index].number;
    const std::uint16_t next = at < chain_.size() ? chain_[at].number : 0;
    std::vector<std::uint8_t> block(static_cast<std::size_t>(xHeader_.blockSize()), 0);
    writeBlockHeader(block.data(), {next, prev, count, xHeader_.recordSize});
    std::memcpy(block.data() + kBlockHeaderSize, records.data(), count * recordSize());
    writeBlock(number, block);
    link(prev, number);
    link(number, next);
    chain_.insert(chain_.begin() + static_cast<std::ptrdiff_t>(at),
                  ChainBlock{number, static_cast<std::uint16_t>(count)});
    firstKeys_.insert(firstKeys_.begin() + static_cast<std::ptrdiff_t>(at * keySize_),
                      records.begin(), records.begin() + static_cast<std::ptrdiff_t>(keySize_));
    return at;
}

// Takes an emptied block out of the chain; block 1 stays the first block by taking
// over the records of the block after it.
void IndexBlocks::unlink(std::size_t index) {
    std::size_t victim = index;
    if (chain_[index].number == 1 && index + 1 < chain_.size()) {
        victim = index + 1;
        auto moved = readBlock(chain_[victim].number);
        const std::uint16_t after = victim + 1 < chain_.size() ? chain_[victim + 1].number : 0;
        writeBlockHeader(moved.data(), {after, 0, chain_[victim].records, xHeader_.recordSize});
        writeBlock(1, moved);
        chain_[index].records = chain_[victim].records;
        setFirstKey(index, std::span(moved).subspan(kBlockHeaderSize));
        link(1, after);
    } else {
        link(index > 0 ? chain_[index - 1].number : 0,
             index + 1 < chain_.size() ? chain_[index + 1].number : 0);
    }
    release(chain_[victim].number);
    chain_.erase(chain_.begin() + static_cast<std::ptrdiff_t>(victim));
    firstKeys_.erase(firstKeys_.begin() + static_cast<std::ptrdiff_t>(victim * keySize_),
                     firstKeys_.begin() + static_cast<std::ptrdiff_t>((victim + 1) * keySize_));
}

// --- records ------------------------------------------------------------------

bool IndexBlocks::insert(std::span<const std::uint8_t> record) {
    if (chain_.empty()) {
        addBlockAfter(kNone, record, 1);
        return true;
    }
    const std::size_t size = recordSize();
    const std::size_t index = blockFor(record);
    const std::uint16_t number = chain_[index].number;
    const std::size_t count = chain_[index].records;
    auto block = readBlock(number);
    bool found = false;
    const std::size_t slot = slotFor(block, count, record, found);
    if (found)
        return false;
    if (count < static_cast<std::size_t>(xHeader_.recordsPerBlock())) {
        std::uint8_t* at = block.data() + kBlockHeaderSize + slot * size;
        std::memmove(at + size, at, (count - slot) * size);
        std::memcpy(at, record.data(), size);
        writeRecordCount(number, block, count + 1);
        chain_[index].records = static_cast<std::uint16_t>(count + 1);
        if (slot == 0)
            setFirstKey(index, record);
        return true;
    }
    if (index + 1 == chain_.size() && slot == count) { // past the end: a new last block
        addBlockAfter(index, record, 1);
        return true;
    }
    // Split: the upper half moves to a new block after this one.
    const std::size_t keep = count / 2;
    addBlockAfter(index, std::span(block).subspan(kBlockHeaderSize + keep * size), count - keep);
    std::fill(block.begin() + static_cast<std::ptrdiff_t>(kBlockHeaderSize + keep * size),
              block.end(), 0);
    writeLe16(block.data(), chain_[index + 1].number);
    writeRecordCount(number, block, keep);
    chain_[index].records = static_cast<std::uint16_t>(keep);
    return insert(record);
}

bool IndexBlocks::remove(std::span<const std::uint8_t> record) {
    if (chain_.empty())
        return false;
    const std::size_t size = recordSize();
    const std::size_t index = blockFor(record);
    const std::uint16_t number = chain_[index].number;
    const std::size_t count = chain_[index].records;
    auto block = readBlock(number);
    bool found = false;
    const std::size_t slot = slotFor(block, count, record, found);
    if (!found)
        return false;
    std::uint8_t* at = block.data() + kBlockHeaderSize + slot * size;
    std::memmove(at, at + size, (count - slot - 1) * size);
    std::memset(block.data() + kBlockHeaderSize + (count - 1) * size, 0, size);
    if (count > 1) {
        writeRecordCount(number, block, count - 1);
        chain_[index].records = static_cast<std::uint16_t>(count - 1);
        if (slot == 0)
            setFirstKey(index, std::span(block).subspan(kBlockHeaderSize));
    } else if (chain_.size() > 1) {
        unlink(index);
    } else {
        clear();
    }
    return true;
}

bool IndexBlocks::setHint(std::span<const std::uint8_t> record, std::uint16_t hint) {
    if (chain_.empty())
        return false;
    const std::size_t index = blockFor(record);
    const auto block = readBlock(chain_[index].number);
    bool found = false;
    const std::size_t slot = slotFor(block, chain_[index].records, record, found);
    if (!found)
        return false;
    std::uint8_t bytes[2];
    putShort(bytes, hint);
    pager_.write(x_,
                 xOffset(chain_[index].number) + kBlockHeaderSize + slot * recordSize() + keySize_,
                 bytes);
    return true;
}

void IndexBlocks::replaceAll(std::span<const std::uint8_t> records) {
    clear();
    const std::size_t size = recordSize();
    const std::size_t count = records.size() / size;
    const auto perBlock = static_cast<std::size_t>(xHeader_.recordsPerBlock());
    const std::size_t blocks = (count + perBlock - 1) / perBlock;
    if (blocks > 0xFFFF)
        throw DbError(pager_.path(x_), "the index is too large (65535 blocks)");
    std::vector<std::uint8_t> block(static_cast<std::size_t>(xHeader_.blockSize()));
    for (std::size_t b = 0; b < blocks; ++b) {
        const std::size_t first = b * perBlock;
        const std::size_t n = std::min(perBlock, count - first);
        const auto number = static_cast<std::uint16_t>(b + 1);
        std::fill(block.begin(), block.end(), 0);
        writeBlockHeader(block.data(), {static_cast<std::uint16_t>(b + 1 < blocks ? b + 2 : 0),
                                        static_cast<std::uint16_t>(b), n, xHeader_.recordSize});
        std::memcpy(block.data() + kBlockHeaderSize, records.data() + first * size, n * size);
        writeBlock(number, block);
        chain_.push_back({number, static_cast<std::uint16_t>(n)});
        firstKeys_.insert(firstKeys_.end(),
                          records.begin() + static_cast<std::ptrdiff_t>(first * size),
                          records.begin() + static_cast<std::ptrdiff_t>(first * size + keySize_));
    }
    xHeader_.fileBlocks = static_cast<std::uint16_t>(blocks);
}

void IndexBlocks::clear() {
    if (pager_.size(x_) > xHeader_.headerSize)
        pager_.truncate(x_, xHeader_.headerSize);
    xHeader_.fileBlocks = 0;
    xHeader_.firstFreeBlock = 0;
    chain_.clear();
    firstKeys_.clear();
}

// --- headers and the block index -------------------------------------------------

std::vector<std::uint8_t> IndexBlocks::expectedYBlocks(std::uint16_t& root, std::uint8_t& levels,
                                                       std::uint32_t& entries) const {
    std::vector<IndexEntry> leaves;
    leaves.reserve(chain_.size());
    for (std::size_t i = 0; i < chain_.size(); ++i)
        leaves.push_back({firstKey(i), chain_[i].number, chain_[i].records});
    auto image = buildPrimaryIndex(leaves, static_cast<int>(keySize_), yHeader_.blockSize());
    root = image.root;
    levels = image.levels;
    entries = image.entries;
    return std::move(image.blocks);
}

void IndexBlocks::finish() {
    std::uint32_t total = 0;
    for (const ChainBlock& b : chain_)
        total += b.records;
    xHeader_.numRecords = total;
    xHeader_.nextBlock = static_cast<std::uint16_t>(chain_.size());
    xHeader_.firstBlock = chain_.empty() ? 0 : chain_.front().number;
    xHeader_.lastBlock = chain_.empty() ? 0 : chain_.back().number;
    if (!written_.empty()) // a new file keeps the count its header was made with
        ++xHeader_.updateCount;
    written_ = encodeHeader(xHeader_);
    pager_.write(x_, 0, written_);

    std::uint16_t root = 0;
    std::uint8_t levels = 0;
    std::uint32_t entries = 0;
    auto image = expectedYBlocks(root, levels, entries);
    const auto blockSize = static_cast<std::size_t>(yHeader_.blockSize());
    const std::size_t blockCount = image.size() / blockSize;
    for (std::size_t b = 0; b < blockCount; ++b) { // only the blocks that changed
        const auto fresh = std::span(image).subspan(b * blockSize, blockSize);
        if (yImage_.size() >= (b + 1) * blockSize &&
            std::equal(fresh.begin(), fresh.end(),
                       yImage_.begin() + static_cast<std::ptrdiff_t>(b * blockSize)))
            continue;
        pager_.write(y_, yHeader_.headerSize + b * blockSize, fresh);
    }
    const std::uint64_t end = yHeader_.headerSize + blockCount * blockSize;
    if (pager_.size(y_) > end)
        pager_.truncate(y_, end);
    yImage_ = std::move(image);
    yHeader_.numRecords = entries;
    yHeader_.nextBlock = yHeader_.fileBlocks = yHeader_.lastBlock =
        static_cast<std::uint16_t>(blockCount);
    yHeader_.firstBlock = blockCount ? 1 : 0;
    yHeader_.indexRoot = root;
    yHeader_.indexLevels = levels;
    yHeader_.updateCount = static_cast<std::uint16_t>(xHeader_.updateCount + 1);
    pager_.write(y_, 0, encodeHeader(yHeader_));
}

} // namespace db
