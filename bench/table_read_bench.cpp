// Reading a large table: a million field-table rows decoded straight from the blocks.

#include "platform/db/header.h"
#include "platform/db/record_codec.h"
#include "platform/db/table_file.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// A table shaped like NAGY.DB with `rows` records, written once per process.
fs::path bigTable(std::uint32_t rows) {
    const fs::path path =
        fs::temp_directory_path() / ("farm-bench-" + std::to_string(::getpid())) / "NAGY.DB";
    if (fs::exists(path))
        return path;
    fs::create_directories(path.parent_path());
    struct RemoveAtExit {
        fs::path dir;
        ~RemoveAtExit() {
            std::error_code ignored;
            fs::remove_all(dir, ignored);
        }
    };
    static const RemoveAtExit cleanup{path.parent_path()};
    using db::FieldType;
    auto h = db::makeDataHeader("NAGY.DB",
                                {{"Parckod", FieldType::Alpha, 6, 0},
                                 {"Evj", FieldType::Long, 4, 0},
                                 {"Parcsor", FieldType::Long, 4, 0},
                                 {"Ter", FieldType::Number, 8, 0},
                                 {"Agazat", FieldType::Alpha, 30, 0},
                                 {"Aktiv", FieldType::Alpha, 1, 0},
                                 {"Datum", FieldType::Date, 4, 0}},
                                0, 1250, "anhundc");
    const db::RecordCodec codec(h.fields, 1250);
    const int perBlock = h.recordsPerBlock();
    const auto blocks = static_cast<std::uint16_t>((rows + perBlock - 1) / perBlock);
    std::vector<std::uint8_t> data(static_cast<std::size_t>(blocks) * h.blockSize(), 0);
    for (std::uint32_t i = 0; i < rows; ++i) {
        const std::size_t b = i / perBlock, slot = i % perBlock;
        std::uint8_t* block = data.data() + b * h.blockSize();
        std::span<std::uint8_t> rec(block + 6 + slot * h.recordSize, h.recordSize);
        const db::Record r = {std::to_string(100000 + i % 900000),
                              2000 + static_cast<int>(i % 25),
                              static_cast<std::int32_t>(i),
                              1000.5 + i,
                              std::string(i % 2 ? "őszi búza" : "napraforgó"),
                              std::string("A"),
                              db::Date{730000 + static_cast<std::int32_t>(i % 9000)}};
        for (int f = 0; f < 7; ++f)
            codec.encode(r[static_cast<std::size_t>(f)], f, rec);
        const auto next = static_cast<std::uint16_t>(b + 1 < blocks ? b + 2 : 0);
        const std::uint16_t last = static_cast<std::uint16_t>(slot * h.recordSize);
        block[0] = static_cast<std::uint8_t>(next);
        block[1] = static_cast<std::uint8_t>(next >> 8);
        block[2] = static_cast<std::uint8_t>(b);
        block[3] = static_cast<std::uint8_t>(b >> 8);
        block[4] = static_cast<std::uint8_t>(last);
        block[5] = static_cast<std::uint8_t>(last >> 8);
    }
    h.numRecords = rows;
    h.fileBlocks = h.nextBlock = h.lastBlock = blocks;
    h.firstBlock = 1;
    const auto header = db::encodeHeader(h);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(header.data()),
              static_cast<std::streamsize>(header.size()));
    out.write(reinterpret_cast<const char*>(data.data()),
              static_cast<std::streamsize>(data.size()));
    return path;
}

void BM_ReadAllMillionRows(benchmark::State& state) {
    // 65535 blocks of 2 KiB hold at most 2.3 million 57-byte rows.
    const fs::path path = bigTable(1000000);
    for (auto _ : state) {
        const auto t = db::TableFile::open(path, {.writable = false});
        std::size_t n = 0;
        t->scan([&](db::RecordPos, std::span<const std::uint8_t> raw) {
            benchmark::DoNotOptimize(t->decode(raw));
            ++n;
            return true;
        });
        state.counters["rows"] = static_cast<double>(n);
    }
}
BENCHMARK(BM_ReadAllMillionRows)->Unit(benchmark::kMillisecond);

} // namespace
