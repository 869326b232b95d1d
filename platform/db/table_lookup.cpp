// Finding the records of a keyed table by the leading fields of its key.

#include "platform/db/data_block.h"
#include "platform/db/error.h"
#include "platform/db/table_file.h"

#include <algorithm>
#include <numeric>

namespace db {

const Collation& TableFile::collation() const {
    ensureKeyState();
    return *collation_;
}

std::vector<RecordPos> TableFile::findAll(std::span<const std::uint8_t> raw, int fields) const {
    std::vector<RecordPos> out;
    if (!keyed() || fields < 1)
        return out;
    fields = std::min(fields, keyFields());
    ensureKeyState();
    const auto& chain = blocks();
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
    const auto& chain = blocks();
    const ChainOrder order(chain_->positions());
    const auto inChain = [&](std::uint16_t block) {
        return !chain.empty() && chain[order[block]].number == block;
    };
    // The records in the chain order of their hinted blocks.
    std::vector<std::uint32_t> byBlock(records.size());
    std::iota(byBlock.begin(), byBlock.end(), 0u);
    std::sort(byBlock.begin(), byBlock.end(), [&](std::uint32_t a, std::uint32_t b) {
        return order[records.blocks[a]] < order[records.blocks[b]];
    });
    const auto size = static_cast<std::size_t>(header_.recordSize);
    std::vector<std::pair<std::uint16_t, BlockCache::Block>> read; // in chain order
    std::vector<RecordPos> positions;
    for (const std::uint32_t i : byBlock) {
        const std::uint16_t hint = records.blocks[i];
        const auto key = records.key(i);
        std::optional<RecordPos> pos;
        if (inChain(hint)) {
            if (read.empty() || read.back().first != hint)
                read.emplace_back(hint, chain_->sharedBlock(hint));
            const auto& block = *read.back().second;
            const auto at = [&](std::size_t slot) {
                return std::span(block).subspan(kBlockHeaderSize + slot * size, size);
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
            if (lo < count && compareKeys(at(lo), key, keyFields()) == 0)
                pos = RecordPos{hint, static_cast<std::uint16_t>(lo)};
        }
        if (!pos)
            pos = findRaw(key); // the hint is out of date
        if (pos)
            positions.push_back(*pos);
    }
    std::sort(positions.begin(), positions.end(), [&](const RecordPos& a, const RecordPos& b) {
        return order[a.block] != order[b.block] ? order[a.block] < order[b.block] : a.slot < b.slot;
    });
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    BlockCache::Block other; // a block found again by its key, not among those read
    std::uint16_t otherNumber = 0;
    for (const RecordPos& pos : positions) {
        const auto cached = std::lower_bound(
            read.begin(), read.end(), pos.block,
            [&](const auto& b, std::uint16_t n) { return order[b.first] < order[n]; });
        const std::vector<std::uint8_t>* block = nullptr;
        if (cached != read.end() && cached->first == pos.block) {
            block = cached->second.get();
        } else {
            if (!other || otherNumber != pos.block) {
                other = chain_->sharedBlock(pos.block);
                otherNumber = pos.block;
            }
            block = other.get();
        }
        visit(pos, std::span(*block).subspan(kBlockHeaderSize + pos.slot * size, size));
    }
}

void TableFile::visitEach(
    std::vector<RecordPos> positions,
    const std::function<void(RecordPos, std::span<const std::uint8_t>)>& visit) const {
    const auto& chain = blocks();
    const ChainOrder order(chain_->positions());
    const auto before = [&](const RecordPos& a, const RecordPos& b) {
        return order[a.block] != order[b.block] ? order[a.block] < order[b.block] : a.slot < b.slot;
    };
    std::sort(positions.begin(), positions.end(), before);
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    const auto size = static_cast<std::size_t>(header_.recordSize);
    BlockCache::Block block;
    std::uint16_t loaded = 0;
    for (const RecordPos& pos : positions) {
        if (chain.empty() || chain[order[pos.block]].number != pos.block ||
            pos.slot >= chain[order[pos.block]].records)
            throw DbError(dbPath_, "no record at block " + std::to_string(pos.block) + ", slot " +
                                       std::to_string(pos.slot));
        if (loaded != pos.block) {
            block = chain_->sharedBlock(pos.block);
            loaded = pos.block;
        }
        visit(pos, std::span(*block).subspan(kBlockHeaderSize + pos.slot * size, size));
    }
}

} // namespace db
