// The table reader: the input is a table file, optionally followed by a marker line and
// its .mb blob file; it is opened and every record decoded, and any file (index files as
// well) is walked through the same header and block chain code. A damaged file may
// only raise db::DbError or sys::EncodingError.

#include "fuzz/fuzz_support.h"
#include "fuzz/targets/targets.h"
#include "platform/db/error.h"
#include "platform/db/file_blocks.h"
#include "platform/db/table_file.h"
#include "platform/sys/codepage.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace fuzz {

namespace {

constexpr std::string_view kBlobMarker = "\n--mb--\n";

void readTable(const fs::path& db) {
    const auto table = db::TableFile::open(db, {.writable = false});
    std::size_t count = 0;
    table->scan([&](db::RecordPos pos, std::span<const std::uint8_t> raw) {
        const db::Record r = table->decode(raw);
        if (r.size() != table->fields().size())
            finding("a record decodes to the wrong number of values");
        if (count++ == 0 &&
            table->readRaw(pos) != std::vector<std::uint8_t>(raw.begin(), raw.end()))
            finding("readRaw differs from the scan");
        return true;
    });
    if (count != table->recordCount())
        finding("the scan found another number of records than the header counts");
}

// Index files go through the same header and chain code without a TableFile.
void readAnyFile(const fs::path& dir, const fs::path& file) {
    db::Pager pager(dir / "any.jnl", db::Durability::OsBuffers);
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

void runTableReader(std::string_view input) {
    const fs::path dir = freshDir("table");
    const auto parts = splitInput(input, kBlobMarker, 2);
    writeFile(dir / "FUZZ.DB", parts[0]);
    if (parts.size() == 2)
        writeFile(dir / "FUZZ.MB", parts[1]);
    try {
        readTable(dir / "FUZZ.DB");
    } catch (const db::DbError&) {
    } catch (const sys::EncodingError&) {
    }
    try {
        readAnyFile(dir, dir / "FUZZ.DB");
    } catch (const db::DbError&) {
    } catch (const sys::EncodingError&) {
    }
}

void seedTableReader() {
    for (const auto& entry : fs::recursive_directory_iterator(fixture(""))) {
        const fs::path& p = entry.path();
        if (!entry.is_regular_file() || p.extension() == ".expected" || p.extension() == ".md" ||
            entry.file_size() > 256 * 1024)
            continue;
        std::string bytes = readFile(p);
        // A table with blobs gets its .mb after the marker.
        for (const char* mb : {".mb", ".MB"}) {
            fs::path blobs = p;
            blobs.replace_extension(mb);
            const std::string ext = p.extension().string();
            if ((ext == ".db" || ext == ".DB") && fs::exists(blobs))
                bytes += std::string(kBlobMarker) + readFile(blobs);
        }
        writeSeed("table-" + p.filename().string(), bytes);
    }
}

} // namespace fuzz
