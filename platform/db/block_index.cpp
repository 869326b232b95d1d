#include "platform/db/block_index.h"

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

} // namespace

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
