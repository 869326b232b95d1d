// Finding the records of a keyed table by the leading fields of its key.

#include "platform/db/data_block.h"
#include "platform/db/error.h"
#include "platform/db/table_file.h"

#include <algorithm>

namespace db {

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
        const auto block = chain_->readBlock(b.number);
        for (std::size_t slot = 0; slot < b.records; ++slot) {
            const int c = compareKeys(
                std::span(block).subspan(kBlockHeaderSize + slot * size, size), raw, fields);
            if (c > 0)
                return out;
            if (c == 0)
                out.push_back({b.number, static_cast<std::uint16_t>(slot)});
        }
    }
    return out;
}

void TableFile::visitEach(
    std::vector<RecordPos> positions,
    const std::function<void(RecordPos, std::span<const std::uint8_t>)>& visit) const {
    const auto& chain = blocks();
    std::vector<std::uint32_t> order(65536, 0); // chain position of each block number
    for (std::size_t i = 0; i < chain.size(); ++i)
        order[chain[i].number] = static_cast<std::uint32_t>(i);
    const auto before = [&](const RecordPos& a, const RecordPos& b) {
        return order[a.block] != order[b.block] ? order[a.block] < order[b.block] : a.slot < b.slot;
    };
    std::sort(positions.begin(), positions.end(), before);
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    const auto size = static_cast<std::size_t>(header_.recordSize);
    std::vector<std::uint8_t> block;
    std::uint16_t loaded = 0;
    for (const RecordPos& pos : positions) {
        const BlockInfo& b = chain[order[pos.block]];
        if (b.number != pos.block || pos.slot >= b.records)
            throw DbError(dbPath_, "no record at block " + std::to_string(pos.block) + ", slot " +
                                       std::to_string(pos.slot));
        if (loaded != pos.block) {
            block = chain_->readBlock(pos.block);
            loaded = pos.block;
        }
        visit(pos, std::span(block).subspan(kBlockHeaderSize + pos.slot * size, size));
    }
}

} // namespace db
