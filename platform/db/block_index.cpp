#include "platform/db/block_index.h"

#include "platform/db/data_block.h"
#include "platform/db/file_blocks.h"

#include <algorithm>

namespace db {

namespace {

// The index blocks the file holds now, as far as they go (at most `length` bytes).
std::vector<std::uint8_t> blocksOnFile(const Pager& pager, int file, const TableHeader& h,
                                       std::size_t length) {
    const std::uint64_t size = pager.size(file);
    if (size <= h.headerSize)
        return {};
    const auto blockSize = static_cast<std::uint64_t>(h.blockSize());
    std::uint64_t available = (size - h.headerSize) / blockSize * blockSize;
    available = std::min<std::uint64_t>(available, length);
    return pager.read(file, h.headerSize, static_cast<std::size_t>(available), CachePages::Pass);
}

// The entries of index block `number` of the `available` read into `blocks`; none when
// the number is out of range or the block's count does not fit.
std::optional<std::span<const std::uint8_t>> indexEntries(std::span<const std::uint8_t> blocks,
                                                          std::size_t number, std::size_t available,
                                                          const TableHeader& ih) {
    if (number == 0 || number > available)
        return std::nullopt;
    const auto blockSize = static_cast<std::size_t>(ih.blockSize());
    const std::uint8_t* block = blocks.data() + (number - 1) * blockSize;
    const std::size_t count = recordsInBlock(block, ih.recordSize);
    if (count > static_cast<std::size_t>(ih.recordsPerBlock()))
        return std::nullopt;
    return std::span(block + kBlockHeaderSize, count * ih.recordSize);
}

} // namespace

std::optional<ChainMap> readIndexedChain(const Pager& pager, int index, const TableHeader& ih,
                                         const TableHeader& h, std::uint64_t size,
                                         std::size_t keySize) {
    if (ih.recordSize != keySize + 6 || ih.indexLevels == 0 || h.numRecords == 0 ||
        h.recordsPerBlock() < 1)
        return std::nullopt;
    const std::uint64_t indexSize = pager.size(index);
    const auto blockSize = static_cast<std::uint64_t>(ih.blockSize());
    const std::size_t available = static_cast<std::size_t>(std::min<std::uint64_t>(
        ih.fileBlocks, indexSize > ih.headerSize ? (indexSize - ih.headerSize) / blockSize : 0));
    const std::vector<std::uint8_t> blocks = pager.read(
        index, ih.headerSize, available * static_cast<std::size_t>(blockSize), CachePages::Pass);
    // Down from the root, level by level: every index block reached once.
    std::vector<bool> reached(available + 1, false);
    std::vector<std::uint16_t> level{ih.indexRoot};
    ChainMap map;
    map.blocks.reserve(h.fileBlocks); // no more leaves than the indexed file has blocks
    map.firstKeys.reserve(std::size_t{h.fileBlocks} * keySize);
    for (std::uint8_t depth = 1; depth <= ih.indexLevels; ++depth) {
        std::vector<std::uint16_t> below;
        for (const std::uint16_t number : level) {
            const auto entries = indexEntries(blocks, number, available, ih);
            if (!entries || reached[number])
                return std::nullopt;
            reached[number] = true;
            for (std::size_t at = 0; at < entries->size(); at += ih.recordSize) {
                const std::uint8_t* entry = entries->data() + at;
                const std::uint16_t child = readShortField(entry + keySize);
                if (depth < ih.indexLevels) {
                    below.push_back(child);
                    continue;
                }
                if (map.blocks.size() == h.fileBlocks)
                    return std::nullopt; // more leaves than blocks
                map.blocks.push_back({child, readShortField(entry + keySize + 2)});
                map.firstKeys.insert(map.firstKeys.end(), entry, entry + keySize);
            }
        }
        level = std::move(below);
    }
    // The leaves against the indexed file: blocks it holds, each once, with a count that
    // fits and counts that add up to its header's.
    std::vector<bool> named(static_cast<std::size_t>(h.fileBlocks) + 1, false);
    std::uint64_t records = 0;
    for (const ChainBlock& b : map.blocks) {
        const std::uint64_t end = blockOffset(h, b.number) + kBlockHeaderSize +
                                  static_cast<std::uint64_t>(b.records) * h.recordSize;
        if (b.number == 0 || b.number > h.fileBlocks || named[b.number] || b.records == 0 ||
            b.records > h.recordsPerBlock() || end > size)
            return std::nullopt;
        named[b.number] = true;
        records += b.records;
    }
    if (map.blocks.empty() || records != h.numRecords ||
        map.blocks.front().number != h.firstBlock || map.blocks.back().number != h.lastBlock)
        return std::nullopt;
    return map;
}

// The image still describes the chain's blocks and the header its layout.
bool BlockIndex::fits(const TableHeader& h, const BlockChain& chain) const {
    return image_ && image_->leafCount() == chain.blocks().size() &&
           image_->keySize == static_cast<int>(chain.keySize()) &&
           image_->blockSize == h.blockSize() && h.fileBlocks == image_->blockCount &&
           h.indexRoot == image_->root && h.indexLevels == image_->levels &&
           h.numRecords == image_->entries;
}

void BlockIndex::update(Pager& pager, int file, TableHeader& h, BlockChain& chain,
                        std::uint16_t updateCount) {
    const BlockChain::Changes changes = chain.takeChanges();
    if (!changes.reshaped && fits(h, chain)) {
        std::vector<LeafChange> leaves;
        leaves.reserve(changes.touched.size());
        for (const std::size_t i : changes.touched)
            leaves.push_back(
                {i, {chain.firstKey(i), chain.blocks()[i].number, chain.blocks()[i].records}});
        const auto blockSize = static_cast<std::size_t>(h.blockSize());
        for (const std::uint16_t block : updatePrimaryIndex(*image_, leaves))
            pager.write(file, h.headerSize + (block - 1u) * static_cast<std::uint64_t>(blockSize),
                        std::span(image_->blocks).subspan((block - 1u) * blockSize, blockSize));
        h.updateCount = updateCount;
        return;
    }
    PrimaryIndexImage image =
        buildPrimaryIndex(chain.indexEntries(), static_cast<int>(chain.keySize()), h.blockSize());
    const std::vector<std::uint8_t> onFile =
        image_ ? std::move(image_->blocks) : blocksOnFile(pager, file, h, image.blocks.size());
    image_.reset();
    writeIndexImage(pager, file, h, image, onFile, updateCount);
    image_ = std::move(image);
}

} // namespace db
