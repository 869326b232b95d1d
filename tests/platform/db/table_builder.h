#pragma once
// Test helper: writes a whole table file (header and data blocks) from records, through
// the header and record encoders, so that the oracle tool can read back what they wrote.

#include "platform/db/blob_file.h"
#include "platform/db/header.h"
#include "platform/db/pager.h"
#include "platform/db/record_codec.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

namespace testdb {

// Writes `records` into `path` (and the blobs into `mbPath` when given), packing each
// block full; returns the header as written.
inline db::TableHeader writeTable(const std::filesystem::path& path, db::TableHeader h,
                                  const std::vector<db::Record>& records,
                                  const std::filesystem::path& mbPath = {}) {
    std::unique_ptr<db::Pager> pager;
    std::unique_ptr<db::BlobFile> blobs;
    if (!mbPath.empty()) {
        pager = std::make_unique<db::Pager>(mbPath.parent_path() / "builder.jnl",
                                            db::Durability::OsBuffers);
        blobs = std::make_unique<db::BlobFile>(*pager, pager->attach(mbPath, true));
        pager->begin();
    }
    const db::RecordCodec codec(h.fields, h.codePage);
    const std::size_t perBlock = static_cast<std::size_t>(h.recordsPerBlock());
    const std::size_t blocks = (records.size() + perBlock - 1) / perBlock;
    std::vector<std::uint8_t> data(blocks * static_cast<std::size_t>(h.blockSize()), 0);
    for (std::size_t b = 0; b < blocks; ++b) {
        std::uint8_t* block = data.data() + b * static_cast<std::size_t>(h.blockSize());
        const std::size_t first = b * perBlock;
        const std::size_t count = std::min(perBlock, records.size() - first);
        const auto next = static_cast<std::uint16_t>(b + 1 < blocks ? b + 2 : 0);
        const auto prev = static_cast<std::uint16_t>(b);
        const auto last = static_cast<std::uint16_t>((count - 1) * h.recordSize);
        block[0] = static_cast<std::uint8_t>(next);
        block[1] = static_cast<std::uint8_t>(next >> 8);
        block[2] = static_cast<std::uint8_t>(prev);
        block[3] = static_cast<std::uint8_t>(prev >> 8);
        block[4] = static_cast<std::uint8_t>(last);
        block[5] = static_cast<std::uint8_t>(last >> 8);
        for (std::size_t i = 0; i < count; ++i) {
            std::span<std::uint8_t> record(block + 6 + i * h.recordSize, h.recordSize);
            for (std::size_t f = 0; f < h.fields.size(); ++f)
                codec.encode(records[first + i][f], static_cast<int>(f), record, blobs.get());
        }
    }
    if (pager)
        pager->commit();
    h.numRecords = static_cast<std::uint32_t>(records.size());
    h.fileBlocks = h.nextBlock = h.lastBlock = static_cast<std::uint16_t>(blocks);
    h.firstBlock = blocks ? 1 : 0;
    const std::vector<std::uint8_t> header = db::encodeHeader(h);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(header.data()),
              static_cast<std::streamsize>(header.size()));
    out.write(reinterpret_cast<const char*>(data.data()),
              static_cast<std::streamsize>(data.size()));
    return h;
}

} // namespace testdb
