// Finding the records of a keyed table by the leading fields of its key.

#include "platform/db/data_block.h"
#include "platform/db/error.h"
#include "platform/db/table_file.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace db {

const Collation& TableFile::collation() const {
    ensureKeyState();
    return *collation_;
}

std::vector<RecordPos> TableFile::findAll(std::span<const std::uint8_t> raw, int fields) const {
    if (!keyed() || fields < 1)
        return {};
    fields = std::min(fields, keyFields());
    ensureKeyState();
    return lookUp([&] { return findAllIn(raw, fields); });
}

std::vector<RecordPos> TableFile::findAllIn(std::span<const std::uint8_t> raw, int fields) const {
    std::vector<RecordPos> out;
    const auto& chain = chain_->blocks();
    // The block before the first block whose first key is not below the key holds the
    // first such record when any does; the records follow in chain order.
    std::size_t lo = 0, hi = chain.size();
    while (lo < hi) {
        const std::size_t mid = (lo + hi) / 2;
        if (compareKeys(chain_->firstKey(mid), raw, fields) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    const auto size = static_cast<std::size_t>(header_.recordSize);
    for (std::size_t index = lo == 0 ? 0 : lo - 1; index < chain.size(); ++index) {
        const BlockInfo& b = chain[index];
        const auto block = chain_->sharedBlock(b.number);
        for (std::size_t slot = 0; slot < b.records; ++slot) {
            const int c = compareKeys(
                std::span(*block).subspan(kBlockHeaderSize + slot * size, size), raw, fields);
            if (c > 0)
                return out;
            if (c == 0)
                out.push_back({b.number, static_cast<std::uint16_t>(slot)});
        }
    }
    return out;
}

namespace {

// Blocks between two wanted ones that a run of reads takes along (one read of a few more
// bytes costs less than a read more).
constexpr std::uint16_t kRunGap = 3;

// A block of a chain taken from the .px, read past the blocks the chain keeps (which check
// what they read): its links, record count and first key as the .px has them, or the
// chain is not to be trusted.
void checkAgainstIndex(const BlockChain& chain, std::size_t index, const std::uint8_t* block,
                       int recordSize) {
    const auto& blocks = chain.blocks();
    const std::uint16_t next = index + 1 < blocks.size() ? blocks[index + 1].number : 0;
    const std::uint16_t prev = index > 0 ? blocks[index - 1].number : 0;
    const auto key = chain.firstKey(index);
    if (readLe16(block) != next || readLe16(block + 2) != prev ||
        recordsInBlock(block, recordSize) != blocks[index].records ||
        std::memcmp(block + kBlockHeaderSize, key.data(), key.size()) != 0)
        throw ChainDisagrees();
}

// The chain position of a block number by the chain's table of them: 0 for a number
// past the highest, which callers tell from the first block by its number.
class ChainOrder {
public:
    explicit ChainOrder(const std::vector<std::uint32_t>& positions) : positions_(positions) {}
    std::uint32_t operator[](std::uint16_t block) const {
        return block < positions_.size() ? positions_[block] : 0;
    }

private:
    const std::vector<std::uint32_t>& positions_;
};

} // namespace

void TableFile::visitHinted(const HintedRecords& records, const RecordVisit& visit) const {
    lookUp([&] { visitHintedIn(records, visit); });
}

// Every block is read and checked before the first visit. Records hinted at few blocks
// read them through the blocks the chain keeps; hinted at more than the chain keeps (a
// join picking a large part of a table), the blocks are read in runs of neighbours in the
// file into one buffer, a few blocks between them read along rather than asked for apart.
void TableFile::visitHintedIn(const HintedRecords& records, const RecordVisit& visit) const {
    const auto& chain = chain_->blocks();
    const ChainOrder order(chain_->positions());
    const auto inChain = [&](std::uint16_t block) {
        return !chain.empty() && chain[order[block]].number == block;
    };
    // The records in file order of their hinted blocks.
    std::vector<std::uint32_t> byBlock(records.size());
    std::iota(byBlock.begin(), byBlock.end(), 0u);
    std::sort(byBlock.begin(), byBlock.end(), [&](std::uint32_t a, std::uint32_t b) {
        return records.blocks[a] < records.blocks[b];
    });
    std::vector<std::uint16_t> wanted; // the hinted blocks of the chain, ascending
    for (const std::uint32_t i : byBlock)
        if (const std::uint16_t b = records.blocks[i];
            inChain(b) && (wanted.empty() || wanted.back() != b))
            wanted.push_back(b);
    const auto size = static_cast<std::size_t>(header_.recordSize);
    const auto blockSize = static_cast<std::size_t>(header_.blockSize());
    const bool inRuns = wanted.size() * blockSize > BlockCache::kBudget / 2;
    std::vector<std::uint8_t> run;
    std::uint32_t runFirst = 0, runEnd = 0; // the blocks `run` holds
    std::size_t next = 0;                   // the first of `wanted` not read yet
    BlockCache::Block block;
    std::uint16_t loaded = 0;
    // The bytes of block `hint` of the chain, read with the run it starts when read in runs.
    const auto bytesOf = [&](std::uint16_t hint) -> std::span<const std::uint8_t> {
        if (!inRuns) {
            if (!block || loaded != hint) {
                block = chain_->sharedBlock(hint);
                loaded = hint;
            }
            return *block;
        }
        if (hint < runFirst || hint >= runEnd) {
            while (wanted[next] != hint)
                ++next;
            std::size_t last = next; // the last wanted block of the run
            while (last + 1 < wanted.size() && wanted[last + 1] - wanted[last] <= kRunGap &&
                   (wanted[last + 1] - hint + 1u) * blockSize <= kBlockReadAhead)
                ++last;
            runFirst = hint;
            runEnd = wanted[last] + 1u;
            // The last block only up to its last record: the file may end there.
            const std::size_t length = (runEnd - 1u - runFirst) * blockSize + kBlockHeaderSize +
                                       chain[order[wanted[last]]].records * size;
            run.resize(length);
            pager_->read(dbFile_, blockOffset(static_cast<std::uint16_t>(runFirst)), run,
                         CachePages::Pass);
            for (std::size_t w = next; w <= last; ++w) {
                const std::size_t at = (wanted[w] - runFirst) * blockSize;
                if (!chain_->walked())
                    checkAgainstIndex(*chain_, order[wanted[w]], run.data() + at,
                                      header_.recordSize);
            }
        }
        const std::size_t at = (hint - runFirst) * blockSize;
        return std::span<const std::uint8_t>(run).subspan(at, std::min(blockSize, run.size() - at));
    };
    // A record found in its hinted block is copied out of it (a block is read once and
    // let go, however many blocks the records are spread over); one found by its key is
    // read again below.
    constexpr std::size_t kNotCopied = static_cast<std::size_t>(-1);
    struct Found {
        RecordPos pos;
        std::size_t copy = kNotCopied; // its index among the copies
    };
    std::vector<Found> found;
    found.reserve(records.size());
    std::vector<std::uint8_t> copies;
    copies.reserve(records.size() * size);
    for (const std::uint32_t i : byBlock) {
        const std::uint16_t hint = records.blocks[i];
        const auto key = records.key(i);
        if (inChain(hint)) {
            const auto bytes = bytesOf(hint);
            const auto at = [&](std::size_t slot) {
                return bytes.subspan(kBlockHeaderSize + slot * size, size);
            };
            const std::size_t count = chain[order[hint]].records;
            std::size_t lo = 0, hi = count;
            while (lo < hi) {
                const std::size_t mid = (lo + hi) / 2;
                if (compareKeys(at(mid), key, keyFields()) < 0)
                    lo = mid + 1;
                else
                    hi = mid;
            }
            if (lo < count && compareKeys(at(lo), key, keyFields()) == 0) {
                found.push_back(
                    {RecordPos{hint, static_cast<std::uint16_t>(lo)}, copies.size() / size});
                const auto record = at(lo);
                copies.insert(copies.end(), record.begin(), record.end());
                continue;
            }
        }
        if (const auto pos = findPrefix(key, keyFields())) // the hint is out of date
            found.push_back({*pos});
    }
    block.reset();
    run = {};
    std::stable_sort(found.begin(), found.end(), [&](const Found& a, const Found& b) {
        return order[a.pos.block] != order[b.pos.block] ? order[a.pos.block] < order[b.pos.block]
                                                        : a.pos.slot < b.pos.slot;
    });
    found.erase(std::unique(found.begin(), found.end(),
                            [](const Found& a, const Found& b) { return a.pos == b.pos; }),
                found.end());
    for (const Found& f : found) {
        if (f.copy != kNotCopied) {
            visit(f.pos, std::span(copies).subspan(f.copy * size, size));
            continue;
        }
        if (!block || loaded != f.pos.block) {
            block = chain_->sharedBlock(f.pos.block);
            loaded = f.pos.block;
        }
        visit(f.pos, std::span(*block).subspan(kBlockHeaderSize + f.pos.slot * size, size));
    }
}

void TableFile::visitEach(
    std::vector<RecordPos> positions,
    const std::function<void(RecordPos, std::span<const std::uint8_t>)>& visit) const {
    lookUp([&] { visitEachIn(positions, visit); });
}

void TableFile::visitEachIn(std::vector<RecordPos>& positions, const RecordVisit& visit) const {
    const auto& chain = chain_->blocks();
    const ChainOrder order(chain_->positions());
    const auto before = [&](const RecordPos& a, const RecordPos& b) {
        return order[a.block] != order[b.block] ? order[a.block] < order[b.block] : a.slot < b.slot;
    };
    std::sort(positions.begin(), positions.end(), before);
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    const auto size = static_cast<std::size_t>(header_.recordSize);
    for (const RecordPos& pos : positions) {
        if (chain.empty() || chain[order[pos.block]].number != pos.block ||
            pos.slot >= chain[order[pos.block]].records) {
            if (!chain_->walked())
                throw ChainDisagrees(); // the walk tells whether it is there
            throw DbError(dbPath_, "no record at block " + std::to_string(pos.block) + ", slot " +
                                       std::to_string(pos.slot));
        }
        chain_->check(order[pos.block]); // before the first visit
    }
    BlockCache::Block block;
    std::uint16_t loaded = 0;
    for (const RecordPos& pos : positions) {
        if (loaded != pos.block) {
            block = chain_->sharedBlock(pos.block);
            loaded = pos.block;
        }
        visit(pos, std::span(*block).subspan(kBlockHeaderSize + pos.slot * size, size));
    }
}

} // namespace db
