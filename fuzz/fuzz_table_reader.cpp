// libFuzzer target: the input is a table file (optionally followed by a marker line and
// its .mb blob file); it is opened and every record decoded. A damaged file may only
// raise db::DbError or sys::EncodingError; anything else (a crash, another exception,
// a sanitizer report) is a finding.

#include "platform/db/error.h"
#include "platform/db/file_blocks.h"
#include "platform/db/table_file.h"
#include "platform/sys/codepage.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kBlobMarker = "\n--mb--\n";

const fs::path& workDir() {
    static const fs::path dir = [] {
        std::string pattern = (fs::temp_directory_path() / "fuzz-table-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        return fs::path(pattern);
    }();
    return dir;
}

void writeFile(const fs::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void readTable(const fs::path& db) {
    const auto table = db::TableFile::open(db, {.writable = false});
    std::size_t count = 0;
    table->scan([&](db::RecordPos pos, std::span<const std::uint8_t> raw) {
        const db::Record r = table->decode(raw);
        if (r.size() != table->fields().size())
            std::abort();
        if (count++ == 0 &&
            table->readRaw(pos) != std::vector<std::uint8_t>(raw.begin(), raw.end()))
            std::abort();
        return true;
    });
    if (count != table->recordCount())
        std::abort();
}

// Index files go through the same header and chain code without a TableFile.
void readAnyFile(const fs::path& file) {
    db::Pager pager(workDir() / "any.jnl", db::Durability::OsBuffers);
    const int id = pager.attach(file);
    const db::TableHeader h = db::readFileHeader(pager, id);
    std::vector<db::FieldDef> fields = h.fields;
    // .px, .Ynn and .YGn entries end in 6 bytes the field list leaves out.
    if (h.fileType == db::FileType::PrimaryIndex || h.fileType == db::FileType::SecondaryY ||
        h.fileType == db::FileType::SecondaryYG)
        fields.push_back({"", db::FieldType::Bytes, 6, 0});
    const db::RecordCodec codec(fields, h.codePage);
    for (const db::ChainBlock& b : db::walkBlockChain(pager, id, h)) {
        const auto bytes = pager.read(id, db::blockOffset(h, b.number) + 6,
                                      static_cast<std::size_t>(b.records) * h.recordSize);
        for (std::size_t slot = 0; slot < b.records; ++slot)
            codec.decodeAll({bytes.data() + slot * h.recordSize, h.recordSize});
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t marker = input.find(kBlobMarker);
    const fs::path db = workDir() / "FUZZ.DB";
    const fs::path mb = workDir() / "FUZZ.MB";
    writeFile(db, input.substr(0, marker));
    std::error_code ec;
    fs::remove(mb, ec);
    if (marker != std::string_view::npos)
        writeFile(mb, input.substr(marker + kBlobMarker.size()));
    try {
        readTable(db);
    } catch (const db::DbError&) {
    } catch (const sys::EncodingError&) {
    }
    try {
        readAnyFile(db);
    } catch (const db::DbError&) {
    } catch (const sys::EncodingError&) {
    }
    return 0;
}
