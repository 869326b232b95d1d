#include "platform/db/file_blocks.h"

#include "platform/db/bytes.h"
#include "platform/db/error.h"
#include "platform/db/read_ahead.h"

#include <algorithm>
#include <array>
#include <string>

namespace db {

namespace {

constexpr std::uint64_t kFixedHeader = 0x58;
constexpr std::uint64_t kBlockHead = 6; // next, previous, offset of the last record

} // namespace

TableHeader readFileHeader(const Pager& pager, int file) {
    const std::uint64_t size = pager.size(file);
    const auto head = pager.read(file, 0, static_cast<std::size_t>(std::min(size, kFixedHeader)));
    std::uint64_t headerSize = head.size() >= 4 ? bytes::getU16(head.data() + 2) : 0;
    headerSize = std::clamp(headerSize, static_cast<std::uint64_t>(head.size()), size);
    const auto bytes = pager.read(file, 0, static_cast<std::size_t>(headerSize));
    return parseHeader(bytes, size, pager.path(file));
}

std::uint64_t blockOffset(const TableHeader& h, std::uint16_t block) {
    return h.headerSize + (block - 1ull) * static_cast<std::uint64_t>(h.blockSize());
}

namespace {

// The walk of both: with `visit`, each block is read whole and its records handed out.
std::optional<std::vector<ChainBlock>> walk(const Pager& pager, int file, const TableHeader& h,
                                            const ChainRecords* visit) {
    const auto fail = [&](const std::string& problem) {
        throw CorruptFileError(pager.path(file), problem);
    };
    const std::uint64_t size = pager.size(file);
    const std::uint64_t blockSize = static_cast<std::uint64_t>(h.blockSize());
    const std::uint64_t physical =
        size > h.headerSize ? (size - h.headerSize + blockSize - 1) / blockSize : 0;
    const std::uint64_t limit = std::min<std::uint64_t>(h.fileBlocks, physical);

    std::vector<ChainBlock> chain;
    std::vector<bool> visited(static_cast<std::size_t>(limit) + 1, false);
    std::vector<std::uint8_t> block;
    std::vector<std::uint8_t> window; // the file's bytes from `windowStart` on
    std::uint64_t windowStart = 0;
    std::optional<ReadAhead> ahead;
    if (visit)
        ahead.emplace(pager, file, size >= kReadAheadFrom);
    std::uint64_t total = 0;
    for (std::uint16_t b = h.firstBlock; b != 0;) {
        if (b > limit)
            fail("the block chain leads to block " + std::to_string(b) + ", past the last block " +
                 std::to_string(limit));
        if (visited[b])
            fail("the block chain loops back to block " + std::to_string(b));
        visited[b] = true;
        const std::uint64_t offset = blockOffset(h, b);
        if (offset + kBlockHead > size)
            fail("block " + std::to_string(b) + " is cut off by the end of the file");
        const std::uint64_t length = visit ? std::min(blockSize, size - offset) : kBlockHead;
        if (visit && (offset < windowStart || offset + length > windowStart + window.size())) {
            // The window from this block on, and the one after it read ahead: the chain
            // mostly runs on in the file.
            const auto windowAt = [&](std::uint64_t from) {
                return std::min(kBlockReadAhead / blockSize * blockSize, size - from);
            };
            windowStart = offset;
            const std::uint64_t windowLength = std::max(length, windowAt(offset));
            const std::uint64_t next = offset + windowLength;
            ahead->read(offset, static_cast<std::size_t>(windowLength), window, next,
                        next < size ? static_cast<std::size_t>(windowAt(next)) : 0);
        }
        std::span<const std::uint8_t> here; // the block's bytes read
        if (visit) {
            here = std::span<const std::uint8_t>(window).subspan(
                static_cast<std::size_t>(offset - windowStart), static_cast<std::size_t>(length));
        } else {
            block.resize(static_cast<std::size_t>(length));
            pager.read(file, offset, block, CachePages::Pass);
            here = block;
        }
        const auto lastRecord = static_cast<std::int16_t>(bytes::getU16(&here[4]));
        std::uint64_t records = 0;
        if (lastRecord >= 0) {
            if (lastRecord % h.recordSize != 0)
                fail("block " + std::to_string(b) + " has a last record offset " +
                     std::to_string(lastRecord) + " that is not a whole number of records");
            records = static_cast<std::uint64_t>(lastRecord / h.recordSize) + 1;
        }
        if (records > static_cast<std::uint64_t>(h.recordsPerBlock()))
            fail("block " + std::to_string(b) + " claims " + std::to_string(records) +
                 " records, at most " + std::to_string(h.recordsPerBlock()) + " fit");
        if (offset + kBlockHead + records * h.recordSize > size)
            fail("the records of block " + std::to_string(b) + " run past the end of the file");
        chain.push_back({b, static_cast<std::uint16_t>(records)});
        total += records;
        if (visit && !(*visit)(chain.back(), here.subspan(kBlockHead, static_cast<std::size_t>(
                                                                          records * h.recordSize))))
            return std::nullopt;
        b = bytes::getU16(&here[0]);
    }
    if (total != h.numRecords)
        fail("the blocks hold " + std::to_string(total) + " records, the header counts " +
             std::to_string(h.numRecords));
    return chain;
}

} // namespace

std::vector<ChainBlock> walkBlockChain(const Pager& pager, int file, const TableHeader& h) {
    return *walk(pager, file, h, nullptr);
}

std::optional<std::vector<ChainBlock>> walkAndReadBlockChain(const Pager& pager, int file,
                                                             const TableHeader& h,
                                                             const ChainRecords& visit) {
    return walk(pager, file, h, &visit);
}

void writeIndexImage(Pager& pager, int file, TableHeader& h, const PrimaryIndexImage& image,
                     std::span<const std::uint8_t> written, std::uint16_t updateCount) {
    const auto blockSize = static_cast<std::size_t>(h.blockSize());
    for (std::size_t b = 0; b < image.blockCount; ++b) { // only the blocks that changed
        const auto fresh = std::span(image.blocks).subspan(b * blockSize, blockSize);
        if (written.size() >= (b + 1) * blockSize &&
            std::equal(fresh.begin(), fresh.end(),
                       written.begin() + static_cast<std::ptrdiff_t>(b * blockSize)))
            continue;
        pager.write(file, h.headerSize + b * blockSize, fresh);
    }
    const std::uint64_t end = h.headerSize + image.blockCount * blockSize;
    if (pager.size(file) > end)
        pager.truncate(file, end);
    h.numRecords = image.entries;
    h.nextBlock = h.fileBlocks = h.lastBlock = image.blockCount;
    h.firstBlock = image.blockCount ? 1 : 0;
    h.indexRoot = image.root;
    h.indexLevels = image.levels;
    h.updateCount = updateCount;
}

} // namespace db
