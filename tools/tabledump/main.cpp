// tabledump: prints a table (.db), a primary index (.px) or a secondary index file the
// way the engine reads it, in the layout of the pxdump test tool: header lines, the
// field list, "#columns" and one TSV line per record.

#include "platform/db/error.h"
#include "platform/db/file_blocks.h"
#include "platform/db/table_file.h"
#include "platform/db/table_lock.h"
#include "platform/sys/codepage.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <variant>

namespace fs = std::filesystem;

namespace {

struct Options {
    std::optional<int> codePage; // -c
    bool headerOnly = false;     // -H
    std::string file;
};

// Output collected in one buffer and written in large pieces.
class Out {
public:
    ~Out() { flush(); }
    Out& operator<<(std::string_view s) {
        buf_.append(s);
        if (buf_.size() > (1 << 16))
            flush();
        return *this;
    }
    Out& operator<<(char c) {
        buf_.push_back(c);
        return *this;
    }
    Out& operator<<(long long v) { return *this << std::string_view(std::to_string(v)); }
    void flush() {
        std::fwrite(buf_.data(), 1, buf_.size(), stdout);
        buf_.clear();
    }

private:
    std::string buf_;
};

std::string hex(unsigned value, int digits) {
    char s[16];
    std::snprintf(s, sizeof s, "0x%0*x", digits, value);
    return s;
}

// Text with tab, newline, carriage return, backslash and control bytes escaped.
void putText(Out& out, std::string_view s) {
    for (const char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '\t':
            out << "\\t";
            break;
        case '\n':
            out << "\\n";
            break;
        case '\r':
            out << "\\r";
            break;
        case '\\':
            out << "\\\\";
            break;
        default:
            if (c < 0x20 || c == 0x7F) {
                char esc[8];
                std::snprintf(esc, sizeof esc, "\\x%02x", c);
                out << std::string_view(esc);
            } else {
                out << ch;
            }
        }
    }
}

// The shortest of 15, 16 or 17 significant digits that reads back as the same double.
std::string number(double v) {
    char s[40];
    for (int precision = 15; precision <= 17; ++precision) {
        std::snprintf(s, sizeof s, "%.*g", precision, v);
        if (std::strtod(s, nullptr) == v)
            break;
    }
    return s;
}

// Day 1 is 0001-01-01 in the proleptic Gregorian calendar.
std::string date(long long days) {
    long long z = days - 1 - 719162 + 719468; // days since 0000-03-01
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    const long long d = doy - (153 * mp + 2) / 5 + 1;
    const long long m = mp < 10 ? mp + 3 : mp - 9;
    const long long y = yoe + era * 400 + (m <= 2);
    char s[72]; // room for any long long year, month and day
    std::snprintf(s, sizeof s, "%04lld-%02lld-%02lld", y, m, d);
    return s;
}

std::string timeOfDay(long long ms) {
    const char* sign = ms < 0 ? "-" : "";
    ms = std::llabs(ms);
    char s[64];
    const long long h = ms / 3600000, m = ms / 60000 % 60, sec = ms / 1000 % 60, milli = ms % 1000;
    if (milli)
        std::snprintf(s, sizeof s, "%s%02lld:%02lld:%02lld.%03lld", sign, h, m, sec, milli);
    else
        std::snprintf(s, sizeof s, "%s%02lld:%02lld:%02lld", sign, h, m, sec);
    return s;
}

std::string timestamp(double ms) {
    if (!std::isfinite(ms) || std::fabs(ms) > 1e17)
        return number(ms);
    const long long total = std::llround(ms);
    const long long perDay = 86400000;
    long long days = total / perDay;
    long long rest = total % perDay;
    if (rest < 0) {
        rest += perDay;
        --days;
    }
    return date(days) + " " + timeOfDay(rest);
}

void putValue(Out& out, const db::Value& v) {
    std::visit(
        [&](const auto& x) {
            using T = std::decay_t<decltype(x)>;
            if constexpr (std::is_same_v<T, db::Null>) {
                out << "\\N";
            } else if constexpr (std::is_same_v<T, std::string>) {
                putText(out, x);
            } else if constexpr (std::is_same_v<T, std::int32_t>) {
                out << static_cast<long long>(x);
            } else if constexpr (std::is_same_v<T, double>) {
                out << std::string_view(number(x));
            } else if constexpr (std::is_same_v<T, bool>) {
                out << (x ? "true" : "false");
            } else if constexpr (std::is_same_v<T, db::Date>) {
                out << std::string_view(date(x.days));
            } else if constexpr (std::is_same_v<T, db::Time>) {
                out << std::string_view(timeOfDay(x.ms));
            } else if constexpr (std::is_same_v<T, db::Timestamp>) {
                out << std::string_view(timestamp(x.ms));
            } else if constexpr (std::is_same_v<T, db::Decimal>) {
                out << std::string_view(x.text);
            } else if constexpr (std::is_same_v<T, db::Bytes>) {
                static constexpr char digits[] = "0123456789abcdef";
                for (const std::uint8_t b : x)
                    out << digits[b >> 4] << digits[b & 15];
            }
        },
        v);
}

const char* fileTypeText(db::FileType t) {
    switch (t) {
    case db::FileType::KeyedData:
        return "indexed .DB (has primary key)";
    case db::FileType::PrimaryIndex:
        return "primary index .PX";
    case db::FileType::UnkeyedData:
        return "non-indexed .DB";
    case db::FileType::SecondaryX:
        return "non-incrementing secondary index .Xnn";
    case db::FileType::SecondaryY:
        return "secondary index .Ynn";
    case db::FileType::SecondaryXInc:
        return "incrementing secondary index .Xnn";
    case db::FileType::SecondaryXG:
        return "non-incrementing secondary index .XGn";
    case db::FileType::SecondaryYG:
        return "secondary index .YGn";
    case db::FileType::SecondaryXGInc:
        return "incrementing secondary index .XGn";
    }
    return "unknown";
}

std::uint32_t rawU32(const db::TableHeader& h, std::size_t off) {
    if (h.raw.size() < off + 4)
        return 0;
    return static_cast<std::uint32_t>(h.raw[off]) |
           (static_cast<std::uint32_t>(h.raw[off + 1]) << 8) |
           (static_cast<std::uint32_t>(h.raw[off + 2]) << 16) |
           (static_cast<std::uint32_t>(h.raw[off + 3]) << 24);
}

void putHeader(Out& out, const db::TableHeader& h, int decodeCodePage) {
    const bool extended =
        h.raw.size() >= 0x78 && h.fileVersionId >= 5 && h.fileType != db::FileType::PrimaryIndex &&
        h.fileType != db::FileType::SecondaryY && h.fileType != db::FileType::SecondaryYG;
    out << "file_type\t" << static_cast<long long>(h.fileType) << '\t' << fileTypeText(h.fileType)
        << '\n';
    out << "table_version\t" << std::string_view(h.versionText()) << '\n';
    out << "table_name\t" << std::string_view(h.tableName) << '\n';
    out << "record_size\t" << static_cast<long long>(h.recordSize) << '\n';
    out << "num_records\t" << static_cast<long long>(h.numRecords) << '\n';
    out << "header_size\t" << static_cast<long long>(h.headerSize) << '\n';
    out << "block_size\t" << static_cast<long long>(h.blockSize()) << "\t(maxTableSize "
        << static_cast<long long>(h.maxTableSize) << ")\n";
    out << "records_per_block\t" << static_cast<long long>(h.recordsPerBlock()) << '\n';
    out << "num_blocks\t" << static_cast<long long>(h.fileBlocks) << '\n';
    out << "first_block\t" << static_cast<long long>(h.firstBlock) << '\n';
    out << "last_block\t" << static_cast<long long>(h.lastBlock) << '\n';
    out << "num_fields\t" << static_cast<long long>(h.numFields) << '\n';
    out << "primary_key_fields\t" << static_cast<long long>(h.primaryKeyFields) << '\n';
    if (h.codePage)
        out << "code_page\t" << static_cast<long long>(h.codePage) << '\n';
    else
        out << "code_page\t0\t(none in header)\n";
    if (decodeCodePage == 0)
        out << "decode_charset\tHP-ROMAN8\n";
    else
        out << "decode_code_page\tCP" << static_cast<long long>(decodeCodePage) << '\n';
    if (!h.sortOrderId.empty())
        out << "sort_order_id\t" << std::string_view(h.sortOrderId)
            << "\t(language driver; sortOrder byte " << std::string_view(hex(h.sortOrder, 2))
            << ")\n";
    out << "sort_order\t" << std::string_view(hex(h.sortOrder, 2)) << '\n';
    out << "auto_inc\t" << static_cast<long long>(h.autoInc) << '\n';
    out << "write_protected\t" << static_cast<long long>(h.raw.size() > 0x38 ? h.raw[0x38] : 0)
        << '\n';
    out << "encryption\t" << std::string_view(hex(rawU32(h, extended ? 0x5C : 0x25), 8)) << '\n';
    out << "modified_flags\t" << static_cast<long long>(h.raw.size() > 0x2A ? h.raw[0x14] : 0)
        << ' ' << static_cast<long long>(h.raw.size() > 0x2A ? h.raw[0x2A] : 0) << '\n';
    if (h.fileType == db::FileType::PrimaryIndex) {
        out << "index_root\t" << static_cast<long long>(h.indexRoot) << '\n';
        out << "index_levels\t" << static_cast<long long>(h.indexLevels) << '\n';
    }
    for (std::size_t i = 0; i < h.fields.size(); ++i) {
        const db::FieldDef& f = h.fields[i];
        out << "field\t" << static_cast<long long>(i + 1) << '\t' << std::string_view(f.name)
            << '\t' << db::typeLetter(f.type) << '\t'
            << std::string_view(hex(static_cast<unsigned>(f.type), 2)) << '\t'
            << db::typeName(f.type) << '\t' << static_cast<long long>(f.size);
        if (f.type == db::FieldType::Bcd)
            out << "\tdecimals=" << static_cast<long long>(f.decimals);
        out << '\n';
    }
    out << "#columns";
    for (const auto& f : h.fields)
        out << '\t' << std::string_view(f.name);
    if (h.fileType == db::FileType::PrimaryIndex)
        out << "\t[blockNumber]\t[recordCount]\t[unknown]\t[storedInBlock]";
    out << '\n';
}

void putRecord(Out& out, const db::Record& record) {
    for (std::size_t i = 0; i < record.size(); ++i) {
        if (i)
            out << '\t';
        putValue(out, record[i]);
    }
}

fs::path companion(const fs::path& file, const char* extension) {
    return db::resolveCaseInsensitive(file.parent_path(), file.stem().string() + extension);
}

int dumpTable(Out& out, const Options& o) {
    const auto table = db::TableFile::open(o.file, {.writable = false});
    const db::TableHeader& h = table->header();
    const int cp = o.codePage.value_or(h.codePage);
    if (const fs::path mb = companion(o.file, ".mb"); fs::exists(mb))
        out << "# blob file: " << std::string_view(mb.string()) << '\n';
    out << "# tabledump view of " << std::string_view(o.file) << '\n';
    putHeader(out, h, cp);
    if (o.headerOnly)
        return 0;
    const db::RecordCodec codec(h.fields, cp);
    table->scan([&](db::RecordPos, std::span<const std::uint8_t> raw) {
        putRecord(out, codec.decodeAll(raw, table->blobs()));
        out << '\n';
        return true;
    });
    return 0;
}

// Index files: no blobs, code page from the table's .db unless the header has one.
int dumpIndex(Out& out, const Options& o) {
    db::Pager pager(fs::path(o.file).replace_extension(".jnl"), db::Durability::OsBuffers);
    const int file = pager.attach(o.file);
    const db::TableHeader h = db::readFileHeader(pager, file);
    int cp = h.codePage ? h.codePage : 1252;
    if (h.codePage == 0) {
        if (const fs::path dbPath = companion(o.file, ".db"); fs::exists(dbPath)) {
            db::Pager dbPager(fs::path(dbPath).replace_extension(".jnl"),
                              db::Durability::OsBuffers);
            cp = db::readFileHeader(dbPager, dbPager.attach(dbPath)).codePage;
            out << "# code page " << static_cast<long long>(cp) << " taken from "
                << std::string_view(dbPath.string()) << '\n';
        }
    }
    cp = o.codePage.value_or(cp);
    out << "# tabledump view of " << std::string_view(o.file) << '\n';
    putHeader(out, h, cp);
    if (o.headerOnly)
        return 0;
    const bool primary = h.fileType == db::FileType::PrimaryIndex;
    std::vector<db::FieldDef> fields = h.fields;
    // Every index entry ends in three short integers: the block it points to, the
    // records under it and one more.
    for (int i = 0; i < 3 && (primary || h.fileType == db::FileType::SecondaryY ||
                              h.fileType == db::FileType::SecondaryYG);
         ++i)
        fields.push_back({"", db::FieldType::Short, 2, 0});
    const db::RecordCodec codec(fields, cp);
    const std::size_t shown = h.fields.size() + (primary ? 3 : 0);
    for (const db::ChainBlock& b : db::walkBlockChain(pager, file, h)) {
        const auto bytes = pager.read(file, db::blockOffset(h, b.number) + 6,
                                      static_cast<std::size_t>(b.records) * h.recordSize);
        for (std::size_t slot = 0; slot < b.records; ++slot) {
            db::Record r = codec.decodeAll({bytes.data() + slot * h.recordSize, h.recordSize});
            r.resize(shown);
            putRecord(out, r);
            if (primary)
                out << '\t' << static_cast<long long>(b.number);
            out << '\n';
        }
    }
    return 0;
}

bool isDataFile(const std::string& file) {
    db::Pager pager(fs::path(file).replace_extension(".jnl"), db::Durability::OsBuffers);
    return db::readFileHeader(pager, pager.attach(file)).isData();
}

std::optional<Options> parseArgs(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "-H") {
            o.headerOnly = true;
        } else if (a == "-c" && i + 1 < argc) {
            std::string cp = argv[++i];
            if (cp.size() > 2 && (cp[0] == 'C' || cp[0] == 'c') && (cp[1] == 'P' || cp[1] == 'p'))
                cp.erase(0, 2); // "CP852" as well as "852"
            if (cp == "HP-ROMAN8" || cp == "hp-roman8" || cp == "0")
                o.codePage = 0;
            else if (const int n = std::atoi(cp.c_str()); n > 0)
                o.codePage = n;
            else
                return std::nullopt;
        } else if (!a.empty() && a[0] != '-' && o.file.empty()) {
            o.file = a;
        } else {
            return std::nullopt;
        }
    }
    if (o.file.empty())
        return std::nullopt;
    return o;
}

} // namespace

int main(int argc, char** argv) {
    const auto options = parseArgs(argc, argv);
    if (!options) {
        std::fprintf(stderr, "usage: tabledump [-H] [-c CODEPAGE|HP-ROMAN8] FILE.db|FILE.px\n");
        return 2;
    }
    Out out;
    try {
        // The table's shared lock for the whole dump: the file type is read before the
        // table is opened, and an index is read beside its table, so a commit of a
        // running program must not be seen half made by either.
        std::unique_ptr<db::TableLock> tableLock;
        std::optional<db::TableLock::Hold> shared;
        if (const fs::path dbPath = companion(options->file, ".db"); fs::exists(dbPath)) {
            tableLock = std::make_unique<db::TableLock>(dbPath);
            shared.emplace(*tableLock, db::TableLock::Side::Shared);
        }
        return isDataFile(options->file) ? dumpTable(out, *options) : dumpIndex(out, *options);
    } catch (const db::DbError& e) {
        out.flush();
        std::fprintf(stderr, "tabledump: %s\n", e.what());
    } catch (const sys::EncodingError& e) {
        out.flush();
        std::fprintf(stderr, "tabledump: %s: %s\n", options->file.c_str(), e.what());
    }
    return 1;
}
