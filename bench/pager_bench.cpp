// Commits of one 2 KiB block and the header of a 1 MiB table file, without and with
// flushing to the disk.

#include "platform/db/pager.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

class TempDir {
public:
    TempDir() {
        std::string pattern = (fs::temp_directory_path() / "farm-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        path_ = pattern;
    }
    ~TempDir() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

void BM_CommitBlockAndHeader(benchmark::State& state) {
    constexpr std::size_t kFileSize = 1 << 20;
    constexpr std::size_t kBlock = 2048;
    const TempDir dir;
    const fs::path table = dir.path() / "TABLA.DB";
    std::ofstream(table, std::ios::binary) << std::string(kFileSize, 'x');
    const auto durability = state.range(0) ? db::Durability::Fsync : db::Durability::OsBuffers;
    db::Pager pager(dir.path() / "TABLA.JNL", durability);
    const int file = pager.attach(table);
    std::vector<std::uint8_t> block(kBlock, 'b');
    std::vector<std::uint8_t> header(120, 'h');
    std::uint64_t next = 1;
    for (auto _ : state) {
        pager.begin();
        pager.write(file, (next++ % (kFileSize / kBlock - 1) + 1) * kBlock, block);
        pager.write(file, 0, header);
        pager.commit();
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel(state.range(0) ? "Fsync" : "OsBuffers");
}
BENCHMARK(BM_CommitBlockAndHeader)->Arg(0)->Arg(1)->UseRealTime()->Unit(benchmark::kMicrosecond);

void BM_ReadBlock(benchmark::State& state) {
    constexpr std::size_t kFileSize = 1 << 20;
    const TempDir dir;
    const fs::path table = dir.path() / "TABLA.DB";
    std::ofstream(table, std::ios::binary) << std::string(kFileSize, 'x');
    db::Pager pager(dir.path() / "TABLA.JNL", db::Durability::OsBuffers);
    const int file = pager.attach(table);
    std::vector<std::uint8_t> block(2048);
    std::uint64_t next = 0;
    for (auto _ : state) {
        pager.read(file, (next++ % 512) * 2048, block);
        benchmark::DoNotOptimize(block.data());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ReadBlock);

} // namespace
