#include "platform/db/secondary_index.h"

#include "platform/db/error.h"
#include "platform/db/file_io.h"
#include "platform/db/index_blocks.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <fcntl.h>
#include <numeric>
#include <optional>
#include <stdexcept>

namespace fs = std::filesystem;

namespace db {

namespace {

constexpr std::size_t kMaxIndexFields = 16;
constexpr char kIndexDigits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";

std::string upperAscii(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

bool sameName(const std::string& a, const std::string& b) {
    return upperAscii(a) == upperAscii(b);
}

// ".XG0" .. ".XGZ" (named) or ".X01" .. ".XFF" (single field), in any letter case.
bool isIndexExtension(const std::string& extension) {
    const std::string e = upperAscii(extension);
    if (e.size() == 4 && e.compare(0, 3, ".XG") == 0)
        return std::isalnum(static_cast<unsigned char>(e[3])) != 0;
    return e.size() == 4 && e[1] == 'X' && std::isxdigit(static_cast<unsigned char>(e[2])) &&
           std::isxdigit(static_cast<unsigned char>(e[3]));
}

// The Y file's name beside an X file: the same name with X turned into Y.
std::string yNameFor(const std::string& xName) {
    std::string y = xName;
    const std::size_t dot = y.rfind('.');
    if (dot != std::string::npos && dot + 1 < y.size())
        y[dot + 1] = y[dot + 1] == 'x' ? 'y' : 'Y';
    return y;
}

std::uint16_t getShort(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(((p[0] << 8) | p[1]) ^ 0x8000);
}

// The header of a file on disk, read outside any pager (before it is attached); its
// counters are not checked against the file's size: that is verify's part.
TableHeader readHeaderOf(const fs::path& path) {
    const io::File file = io::File::open(path, O_RDONLY);
    const std::uint64_t size = file.size();
    std::vector<std::uint8_t> head(static_cast<std::size_t>(std::min<std::uint64_t>(size, 4)));
    file.readExact(0, head);
    const std::uint64_t headerSize = head.size() == 4 ? (head[2] | (head[3] << 8)) : 0;
    std::vector<std::uint8_t> bytes(
        static_cast<std::size_t>(std::min(size, std::max<std::uint64_t>(headerSize, 4))));
    file.readExact(0, bytes);
    return parseHeader(bytes, UINT64_MAX, path);
}

template <class Body>
void inTransaction(Pager& pager, Body&& body) {
    if (pager.inTransaction()) {
        body();
        return;
    }
    Transaction txn(pager);
    body();
    txn.commit();
}

// The X files beside a table, named after it, in name order.
std::vector<fs::path> indexFilesOf(const TableFile& table) {
    const fs::path dir = table.path().parent_path();
    const std::string stem = table.path().stem().string();
    std::vector<fs::path> out;
    FolderNames listed(dir);
    FolderNames& folder = table.folder() && table.folder()->holds(dir) ? *table.folder() : listed;
    std::vector<std::string> candidates;
    for (const std::string& name : folder.names()) {
        const std::size_t dot = name.rfind('.');
        if (dot != std::string::npos && isIndexExtension(name.substr(dot)) &&
            sameFileName(std::string_view(name).substr(0, dot), stem))
            candidates.push_back(name); // else another table's: the folder holds every table's
    }
    for (const std::string& name : candidates) {
        // Same stem in any letter case: the lookup by the table's stem finds this file.
        const fs::path found = folder.resolve(stem + name.substr(name.rfind('.')));
        if (found.filename() == name)
            out.push_back(dir / name);
    }
    std::sort(out.begin(), out.end());
    return out;
}

} // namespace

struct SecondaryIndex::Impl {
    // Where one key field of an index record comes from in a table record.
    struct Part {
        std::size_t from = 0; // offset in the table record
        std::size_t size = 0;
        std::size_t to = 0; // offset in the index record
        bool text = false;
        bool descending = false;
        bool ignoreCase = false;
    };

    Impl(TableFile& t, IndexDef d, std::vector<int> f, fs::path x, fs::path y, bool isNamed)
        : table(t), def(std::move(d)), fields(std::move(f)), xPath(std::move(x)),
          yPath(std::move(y)), named(isNamed), collation(t.collation()) {
        const RecordCodec& codec = table.codec();
        std::size_t to = 0;
        const auto add = [&](int field, bool indexed) {
            const FieldDef& fd = table.fields()[static_cast<std::size_t>(field)];
            const auto size = static_cast<std::size_t>(fd.size);
            parts.push_back({static_cast<std::size_t>(codec.offset(field)), size, to,
                             fd.type == FieldType::Alpha, indexed && def.descending,
                             indexed && def.caseInsensitive});
            to += size;
        };
        for (const int field : fields)
            add(field, true);
        for (int k = 0; k < table.keyFields(); ++k)
            add(k, false);
        keySize = to;
    }

    TableFile& table;
    IndexDef def;
    std::vector<int> fields;
    fs::path xPath, yPath;
    bool named = true;          // .XGn; false: a single-field .Xnn
    bool freshHeaders = false;  // the next rebuild writes headers of its own definition
    const Collation& collation; // the table's (its code page and sort order)
    std::vector<Part> parts;
    std::size_t keySize = 0;
    std::unique_ptr<IndexBlocks> blocks;
    std::size_t repairs = 0;
    int xFile = -1, yFile = -1;

    void attach(bool mayCreate) {
        Pager& pager = table.pager();
        const int x = xFile = pager.attach(xPath, mayCreate);
        const int y = yFile = pager.attach(yPath, mayCreate);
        blocks = std::make_unique<IndexBlocks>(
            pager, x, y, [this](std::span<const std::uint8_t> a, std::span<const std::uint8_t> b) {
                return compare(a, b);
            });
    }

    int compare(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b) const {
        for (const Part& p : parts)
            if (const int c = compare(p, a, b); c != 0)
                return c;
        return 0;
    }

    // One part of two index records, in index order.
    int compare(const Part& p, std::span<const std::uint8_t> a,
                std::span<const std::uint8_t> b) const {
        const auto fa = a.subspan(p.to, p.size);
        const auto fb = b.subspan(p.to, p.size);
        int c = 0;
        if (p.text)
            c = p.ignoreCase ? collation.compareIgnoringCase(fa, fb) : collation.compare(fa, fb);
        else
            c = std::memcmp(fa.data(), fb.data(), p.size);
        if (c == 0)
            return 0;
        return (c < 0) != p.descending ? -1 : 1;
    }

    std::vector<std::uint8_t> fromRaw(std::span<const std::uint8_t> raw, std::uint16_t hint) const {
        std::vector<std::uint8_t> out(keySize + 2, 0);
        for (const Part& p : parts)
            std::memcpy(out.data() + p.to, raw.data() + p.from, p.size);
        const std::uint16_t stored = hint ^ 0x8000u;
        out[keySize] = static_cast<std::uint8_t>(stored >> 8);
        out[keySize + 1] = static_cast<std::uint8_t>(stored);
        return out;
    }

    std::vector<std::uint8_t> fromValues(const Record& values, std::uint16_t hint) const {
        const RecordCodec& codec = table.codec();
        std::vector<std::uint8_t> raw(static_cast<std::size_t>(codec.recordSize()), 0);
        const auto put = [&](int field) {
            if (static_cast<std::size_t>(field) >= values.size())
                return;
            try {
                codec.encode(values[static_cast<std::size_t>(field)], field, raw);
            } catch (const std::invalid_argument& e) { // the table took it: the index cannot
                throw DbError(xPath, e.what());
            }
        };
        for (const int field : fields)
            put(field);
        for (int k = 0; k < table.keyFields(); ++k)
            put(k);
        return fromRaw(raw, hint);
    }

    // The data block that holds the record with these key values now.
    std::uint16_t hintFor(const Record& values) const {
        const auto k = static_cast<std::ptrdiff_t>(
            std::min<std::size_t>(static_cast<std::size_t>(table.keyFields()), values.size()));
        const auto pos = table.find(Record(values.begin(), values.begin() + k));
        return pos ? pos->block : 0;
    }

    // Every index record the table's rows call for, in index order, flat.
    std::vector<std::uint8_t> expected() const {
        const std::size_t size = keySize + 2;
        std::vector<std::uint8_t> flat;
        flat.reserve(table.recordCount() * size);
        table.scan([&](RecordPos pos, std::span<const std::uint8_t> raw) {
            const auto rec = fromRaw(raw, pos.block);
            flat.insert(flat.end(), rec.begin(), rec.end());
            return true;
        });
        const std::size_t n = flat.size() / size;
        std::vector<std::size_t> order(n);
        std::iota(order.begin(), order.end(), 0);
        const auto at = [&](std::size_t i) {
            return std::span<const std::uint8_t>(flat).subspan(i * size, size);
        };
        std::sort(order.begin(), order.end(),
                  [&](std::size_t a, std::size_t b) { return compare(at(a), at(b)) < 0; });
        std::vector<std::uint8_t> sorted;
        sorted.reserve(flat.size());
        for (const std::size_t i : order)
            sorted.insert(sorted.end(), flat.begin() + static_cast<std::ptrdiff_t>(i * size),
                          flat.begin() + static_cast<std::ptrdiff_t>((i + 1) * size));
        return sorted;
    }

    std::uint8_t flags() const {
        return static_cast<std::uint8_t>(kIndexFlagBase |
                                         (def.descending ? kIndexFlagDescending : 0) |
                                         (def.caseInsensitive ? kIndexFlagCaseInsensitive : 0));
    }

    TableHeader freshX() const {
        return makeSecondaryHeader(table.header(), fields, named ? def.name : std::string(),
                                   flags(), xPath.filename().string());
    }

    // The headers on disk describe the records this index makes.
    bool layoutMatches() const {
        const TableHeader fresh = freshX();
        const TableHeader& x = blocks->xHeader();
        const TableHeader& y = blocks->yHeader();
        if (x.fileType != fresh.fileType || x.fields.size() != fresh.fields.size() ||
            x.recordSize != fresh.recordSize || x.primaryKeyFields != fresh.primaryKeyFields)
            return false;
        for (std::size_t i = 0; i < x.fields.size(); ++i)
            if (x.fields[i].type != fresh.fields[i].type ||
                x.fields[i].size != fresh.fields[i].size)
                return false;
        const FileType yType = named ? FileType::SecondaryYG : FileType::SecondaryY;
        return y.fileType == yType && y.recordSize == keySize + 6 &&
               y.numFields + 1u == x.numFields && x.recordsPerBlock() >= 1 &&
               y.recordsPerBlock() >= 2;
    }

    // Writes the whole index again from the table (inside a transaction), keeping the
    // headers when they still fit.
    void rebuildNow() {
        bool keep = false;
        try {
            blocks->reload();
            keep = !freshHeaders && layoutMatches();
        } catch (const DbError&) {
        }
        freshHeaders = false;
        if (!keep) {
            TableHeader x = freshX();
            TableHeader y = makeSecondaryBlockIndexHeader(x, yPath.filename().string());
            blocks->adopt(std::move(x), std::move(y));
        }
        blocks->replaceAll(expected());
        blocks->finish();
    }

    // A change found the index disagreeing with the table: it is rebuilt from the table
    // as the change has left it so far.
    void repair() {
        ++repairs;
        rebuildNow();
    }

    // One change of the index files. When they turn out not to hold what the table says
    // (`change` finds a record missing or doubled, or a read finds a block cut off), the
    // index is rebuilt from the table as the change has left it so far.
    template <class Change>
    void apply(Change&& change, bool finishAfter = true) {
        bool done = false;
        try {
            ready();
            done = change();
        } catch (const DbError&) {
        }
        if (!done)
            repair();
        else if (finishAfter)
            blocks->finish();
    }

    // Brings the cached state back to the files (after a rolled-back change); a file
    // that no longer reads is rebuilt.
    void ready() {
        try {
            blocks->sync();
        } catch (const DbError&) {
            repair();
        }
    }

    std::string check() const;

    // Visits the index records from `key`; should a block disagree with the chain the Y
    // file told, `restart` drops what the visits gathered, the chain is walked and the
    // records are visited again.
    void visitFrom(std::span<const std::uint8_t> key,
                   const std::function<bool(std::span<const std::uint8_t>)>& visit,
                   const std::function<void()>& restart) const {
        try {
            blocks->visitFrom(key, visit);
        } catch (const ChainDisagrees&) {
            restart();
            blocks->walk();
            blocks->visitFrom(key, visit);
        }
    }
};

std::string SecondaryIndex::Impl::check() const {
    const std::string x = xPath.filename().string();
    try {
        blocks->reload();
    } catch (const DbError& e) {
        return e.what();
    }
    if (!layoutMatches())
        return x + ": its fields do not match the table's";
    // Every block a header counts is whole in its file: a change reads and writes blocks.
    const auto cutShort = [&](int file, const TableHeader& h, const std::string& name) {
        const std::uint64_t blocksEnd =
            h.headerSize + std::uint64_t{h.fileBlocks} * static_cast<std::uint64_t>(h.blockSize());
        return table.pager().size(file) < blocksEnd
                   ? name + ": the file ends before the last of its " +
                         std::to_string(h.fileBlocks) + " blocks"
                   : std::string();
    };
    if (auto problem = cutShort(xFile, blocks->xHeader(), x); !problem.empty())
        return problem;
    if (auto problem = cutShort(yFile, blocks->yHeader(), yPath.filename().string());
        !problem.empty())
        return problem;
    const TableHeader& xh = blocks->xHeader();
    if (xh.numRecords != table.recordCount())
        return x + ": holds " + std::to_string(xh.numRecords) + " index records, the table " +
               std::to_string(table.recordCount()) + " records";
    const auto actual = blocks->readAll();
    const auto wanted = expected();
    const std::size_t size = keySize + 2;
    for (std::size_t i = 0; i * size < wanted.size(); ++i) {
        const std::uint8_t* a = actual.data() + i * size;
        const std::uint8_t* w = wanted.data() + i * size;
        if (std::memcmp(a, w, keySize) != 0)
            return x + ": index record " + std::to_string(i + 1) +
                   " does not match the table's records in index order";
        if (std::memcmp(a + keySize, w + keySize, 2) != 0)
            return x + ": index record " + std::to_string(i + 1) + " points at block " +
                   std::to_string(getShort(a + keySize)) + ", its record is in block " +
                   std::to_string(getShort(w + keySize));
    }
    const std::string y = yPath.filename().string();
    std::uint16_t root = 0;
    std::uint8_t levels = 0;
    std::uint32_t entries = 0;
    const auto image = blocks->expectedYBlocks(root, levels, entries);
    const TableHeader& yh = blocks->yHeader();
    const auto blockSize = static_cast<std::size_t>(yh.blockSize());
    if (yh.numRecords != entries || yh.indexRoot != root || yh.indexLevels != levels ||
        yh.fileBlocks * blockSize != image.size())
        return y + ": the block index header does not match its index file";
    if (blocks->readYBlocks() != image)
        return y + ": the block index does not match its index file";
    return {};
}

// --- the public calls -------------------------------------------------------------

SecondaryIndex::SecondaryIndex(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

SecondaryIndex::~SecondaryIndex() {
    impl_->table.removeObserver(this);
}

const IndexDef& SecondaryIndex::definition() const {
    return impl_->def;
}
const std::vector<int>& SecondaryIndex::fieldNumbers() const {
    return impl_->fields;
}
const fs::path& SecondaryIndex::xPath() const {
    return impl_->xPath;
}
std::optional<ChainMap> SecondaryIndex::chainMap() const {
    return impl_->blocks->chainMap();
}
void SecondaryIndex::offerChainMap(ChainMap map) {
    impl_->blocks->offerChainMap(std::move(map));
}
const fs::path& SecondaryIndex::yPath() const {
    return impl_->yPath;
}

void SecondaryIndex::findHinted(std::span<const std::uint8_t> raw, HintedRecords& out) const {
    Impl& d = *impl_;
    d.blocks->sync(); // after a rolled-back change: read again (DbError when damaged)
    // Only the key fields of each record are kept (a record may be hundreds of bytes long,
    // and a join may hint tens of thousands of them).
    std::size_t keyEnd = 0;
    for (std::size_t i = d.fields.size(); i < d.parts.size(); ++i)
        keyEnd = std::max(keyEnd, d.parts[i].from + d.parts[i].size);
    if (out.size() == 0)
        out.recordSize = keyEnd;
    else if (out.recordSize != keyEnd)
        throw std::invalid_argument("hinted records of another record size");
    // The lowest index record with that value: the other fields and the key all zero.
    std::vector<std::uint8_t> only(raw.size(), 0);
    const Impl::Part& first = d.parts.front();
    std::memcpy(only.data() + first.from, raw.data() + first.from, first.size);
    const auto probe = d.fromRaw(only, 0);
    const std::size_t before = out.size();
    const auto restart = [&] {
        out.blocks.resize(before);
        out.keys.resize(before * out.recordSize);
    };
    d.visitFrom(
        probe,
        [&](std::span<const std::uint8_t> x) {
            if (d.compare(first, x, probe) != 0)
                return false;
            out.blocks.push_back(getShort(x.data() + d.keySize));
            const std::size_t at = out.keys.size();
            out.keys.resize(at + out.recordSize, 0);
            for (std::size_t i = d.fields.size(); i < d.parts.size(); ++i)
                std::memcpy(out.keys.data() + at + d.parts[i].from, x.data() + d.parts[i].to,
                            d.parts[i].size);
            return true;
        },
        restart);
}

std::string SecondaryIndex::verify() const {
    return impl_->check();
}

void SecondaryIndex::rebuild() {
    inTransaction(impl_->table.pager(), [&] { impl_->rebuildNow(); });
}

std::size_t SecondaryIndex::repairs() const {
    return impl_->repairs;
}

void SecondaryIndex::visitEqual(
    std::span<const std::uint8_t> probe, std::size_t fieldCount,
    const std::function<bool(std::span<const std::uint8_t>)>& visit) const {
    Impl& d = *impl_;
    const TableFile& table = d.table;
    fieldCount = std::min(fieldCount, d.fields.size());
    if (fieldCount == 0)
        return;
    d.ready();
    // The lowest index record with these values: the primary key's bytes all zero (NULL
    // and the empty text sort first).
    std::vector<std::uint8_t> start(static_cast<std::size_t>(table.codec().recordSize()), 0);
    for (std::size_t i = 0; i < fieldCount; ++i) {
        const Impl::Part& p = d.parts[i];
        std::memcpy(start.data() + p.from, probe.data() + p.from, p.size);
    }
    const std::vector<std::uint8_t> key = d.fromRaw(start, 0);
    // The rows' primary keys, as raw table records with the key fields filled in.
    const std::size_t recordSize = start.size();
    const std::size_t keyParts = d.fields.size();
    std::vector<std::uint8_t> keys;
    const auto samePrefix = [&](std::span<const std::uint8_t> entry) {
        for (std::size_t i = 0; i < fieldCount; ++i) {
            const Impl::Part& p = d.parts[i];
            const auto a = entry.subspan(p.to, p.size);
            const auto b = std::span<const std::uint8_t>(key).subspan(p.to, p.size);
            const int c = !p.text        ? std::memcmp(a.data(), b.data(), p.size)
                          : p.ignoreCase ? d.collation.compareIgnoringCase(a, b)
                                         : d.collation.compare(a, b);
            if (c != 0)
                return c;
        }
        return 0;
    };
    d.visitFrom(
        key,
        [&](std::span<const std::uint8_t> entry) {
            const int c = samePrefix(entry);
            if (c == 0) {
                const std::size_t at = keys.size();
                keys.resize(at + recordSize, 0);
                for (std::size_t i = keyParts; i < d.parts.size(); ++i) {
                    const Impl::Part& p = d.parts[i];
                    std::memcpy(keys.data() + at + p.from, entry.data() + p.to, p.size);
                }
            }
            // Before the values (the first block holds lower ones) or on them: go on.
            return c == 0 || (c < 0) != d.def.descending;
        },
        [&] { keys.clear(); });
    table.visitKeys(keys, visit);
}

void SecondaryIndex::recordInserted(const Record& record) {
    Impl& d = *impl_;
    d.apply([&] { return d.blocks->insert(d.fromValues(record, d.hintFor(record))); });
}

void SecondaryIndex::recordUpdated(const Record& before, const Record& after) {
    Impl& d = *impl_;
    const auto old = d.fromValues(before, 0);
    const auto fresh = d.fromValues(after, d.hintFor(after));
    // The key holds the primary key: while it stays, the record stays in its block.
    if (std::memcmp(old.data(), fresh.data(), d.keySize) == 0) {
        d.ready();
        return;
    }
    d.apply([&] { return d.blocks->remove(old) && d.blocks->insert(fresh); });
}

void SecondaryIndex::recordRemoved(const Record& record) {
    Impl& d = *impl_;
    d.apply([&] { return d.blocks->remove(d.fromValues(record, 0)); });
}

void SecondaryIndex::tableEmptied() {
    Impl& d = *impl_;
    d.apply([&] {
        d.blocks->clear();
        return true;
    });
}

void SecondaryIndex::tableRestructured() {
    rebuild();
}

void SecondaryIndex::recordsMoved(std::span<const std::uint8_t> records, std::size_t count,
                                  std::uint16_t block) {
    Impl& d = *impl_;
    const std::size_t size = static_cast<std::size_t>(d.table.codec().recordSize());
    d.apply(
        [&] {
            for (std::size_t i = 0; i < count; ++i)
                if (!d.blocks->setHint(d.fromRaw(records.subspan(i * size, size), block), block))
                    return false;
            return true;
        },
        false);
}

// --- creating and opening ------------------------------------------------------------

namespace {

// The table field indexes of a definition's fields; DbError when one cannot be indexed.
std::vector<int> resolveFields(const TableFile& table, const IndexDef& def) {
    if (def.fields.empty() || def.fields.size() > kMaxIndexFields)
        throw DbError(table.path(), "index " + def.name + ": 1 to 16 fields can be indexed");
    std::vector<int> out;
    for (const std::string& name : def.fields) {
        const int f = table.fieldIndex(name);
        if (f < 0)
            throw DbError(table.path(), "index " + def.name + ": no field " + name);
        if (isBlobType(table.fields()[static_cast<std::size_t>(f)].type))
            throw DbError(table.path(),
                          "index " + def.name + ": blob field " + name + " cannot be indexed");
        if (std::find(out.begin(), out.end(), f) != out.end())
            throw DbError(table.path(), "index " + def.name + ": field " + name + " twice");
        out.push_back(f);
    }
    return out;
}

// The definition a secondary index header records; nullopt-like empty fields when the
// header does not fit the table.
bool definitionFrom(const TableFile& table, const TableHeader& x, IndexDef& def,
                    std::vector<int>& fields) {
    const int count = static_cast<int>(x.numFields) - 1 - table.keyFields();
    if (!x.isSecondaryX() || count < 1 || x.fieldNumbers.size() < x.numFields)
        return false;
    fields.clear();
    def = IndexDef{};
    for (int i = 0; i < count; ++i) {
        const int f = static_cast<int>(x.fieldNumbers[static_cast<std::size_t>(i)]) - 1;
        if (f < 0 || f >= static_cast<int>(table.fields().size()) ||
            isBlobType(table.fields()[static_cast<std::size_t>(f)].type))
            return false;
        fields.push_back(f);
        def.fields.push_back(table.fields()[static_cast<std::size_t>(f)].name);
    }
    def.name = x.indexName.empty() ? def.fields.front() : x.indexName;
    def.descending = (x.indexFlags & kIndexFlagDescending) != 0;
    def.caseInsensitive = (x.indexFlags & kIndexFlagCaseInsensitive) != 0;
    return true;
}

} // namespace

std::unique_ptr<SecondaryIndex> SecondaryIndex::create(TableFile& table, const IndexDef& def) {
    if (!table.keyed())
        throw DbError(table.path(), "a secondary index needs a primary key; the table has none");
    if (!table.writable())
        throw DbError(table.path(), "the table is open read-only");
    if (def.name.empty())
        throw DbError(table.path(), "a secondary index needs a name");
    if (def.unique)
        throw DbError(table.path(),
                      "index " + def.name + ": unique secondary indexes are not supported");
    std::vector<int> fields = resolveFields(table, def);

    std::string used;
    for (const fs::path& x : indexFilesOf(table)) {
        const std::string ext = upperAscii(x.extension().string());
        if (ext.compare(0, 3, ".XG") == 0)
            used.push_back(ext[3]);
        bool clash = false;
        try {
            clash = sameName(readHeaderOf(x).indexName, def.name);
        } catch (const DbError&) { // a damaged index file keeps its number only
        }
        if (clash)
            throw DbError(table.path(), "an index named " + def.name + " exists");
    }
    const fs::path dir = table.path().parent_path();
    const std::string stem = table.path().stem().string();
    const char* digit =
        std::find_if(std::begin(kIndexDigits), std::end(kIndexDigits) - 1, [&](char c) {
            return used.find(c) == std::string::npos &&
                   !fs::exists(resolveCaseInsensitive(dir, stem + ".YG" + c));
        });
    if (*digit == '\0')
        throw DbError(table.path(), "the table has no free secondary index number left");
    const std::string lower = std::string(".xg") + static_cast<char>(std::tolower(*digit));
    const fs::path xPath = companionName(table.path(), lower.c_str());
    const fs::path yPath =
        companionName(table.path(), ("." + std::string("yg") + lower[3]).c_str());

    auto impl = std::make_unique<Impl>(table, def, std::move(fields), xPath, yPath, true);
    impl->attach(true);
    Impl& d = *impl;
    inTransaction(table.pager(), [&] {
        TableHeader x = d.freshX();
        TableHeader y = makeSecondaryBlockIndexHeader(x, yPath.filename().string());
        d.blocks->adopt(std::move(x), std::move(y));
        d.blocks->replaceAll(d.expected());
        d.blocks->finish();
    });
    std::unique_ptr<SecondaryIndex> index(new SecondaryIndex(std::move(impl)));
    table.addObserver(index.get());
    return index;
}

namespace {

bool sameFields(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), sameName);
}

// What an index file holds: its definition as its header records it, when it fits the
// table.
struct FoundIndex {
    fs::path xPath;
    std::optional<TableHeader> header; // none: unreadable
    std::string unreadable;            // why
    bool fits = false;
    IndexDef def;
    std::vector<int> fields;
    const IndexDef* expected = nullptr; // the definition it is made again from, if any
};

// The index files of a table whose definition is not one of `expected` (a table's own
// indexes, by name and fields) are given one of those that no file holds: the one of
// the file's number when free, else the first free one.
void assignExpected(std::vector<FoundIndex>& found, const std::vector<IndexDef>& expected) {
    std::vector<bool> taken(expected.size(), false);
    const auto holds = [&](const FoundIndex& f, std::size_t e) {
        return f.fits && sameName(f.def.name, expected[e].name) &&
               sameFields(f.def.fields, expected[e].fields);
    };
    for (const FoundIndex& f : found)
        for (std::size_t e = 0; e < expected.size(); ++e)
            if (holds(f, e))
                taken[e] = true;
    for (FoundIndex& f : found) {
        bool own = false;
        for (std::size_t e = 0; e < expected.size(); ++e)
            own = own || holds(f, e);
        if (own)
            continue;
        const std::string ext = upperAscii(f.xPath.extension().string());
        if (ext.compare(0, 3, ".XG") != 0)
            continue; // a single-field index of the original engine: not a named one
        const char* digit = std::strchr(kIndexDigits, ext[3]);
        std::size_t pick = digit ? static_cast<std::size_t>(digit - kIndexDigits) : expected.size();
        if (pick >= expected.size() || taken[pick])
            pick = static_cast<std::size_t>(std::find(taken.begin(), taken.end(), false) -
                                            taken.begin());
        if (pick >= expected.size())
            continue;
        taken[pick] = true;
        f.expected = &expected[pick];
    }
}

} // namespace

std::vector<std::unique_ptr<SecondaryIndex>>
SecondaryIndex::openAll(TableFile& table, const EngineLog& log,
                        const std::function<bool(const std::filesystem::path& xPath)>& trusted,
                        const std::vector<IndexDef>& expected) {
    std::vector<std::unique_ptr<SecondaryIndex>> out;
    const auto say = [&](const std::string& line) {
        if (log)
            log(line);
    };
    std::vector<FoundIndex> found;
    for (const fs::path& xPath : indexFilesOf(table)) {
        FoundIndex& f = found.emplace_back();
        f.xPath = xPath;
        try {
            f.header = readHeaderOf(xPath);
            f.fits = definitionFrom(table, *f.header, f.def, f.fields);
        } catch (const DbError& e) {
            f.unreadable = e.what();
        }
    }
    assignExpected(found, expected);
    for (FoundIndex& f : found) {
        const fs::path& xPath = f.xPath;
        const std::string xName = xPath.filename().string();
        const fs::path yPath = findInFolder(table.folder(), xPath.parent_path(), yNameFor(xName));
        if (f.expected) {
            if (auto index = remake(table, *f.expected, xPath, yPath, say)) {
                out.push_back(std::move(index));
                continue;
            }
        }
        if (!f.header) {
            say(f.unreadable + "; the index is not used");
            continue;
        }
        if (!f.fits) {
            say(xName + ": the index does not fit the table's fields; the index is not used");
            continue;
        }
        if (!table.writable() && !fs::exists(yPath)) {
            say(yPath.filename().string() + ": missing; the index is not used");
            continue;
        }
        const bool named = f.header->fileType == FileType::SecondaryXG ||
                           f.header->fileType == FileType::SecondaryXGInc;
        auto impl = std::make_unique<Impl>(table, f.def, std::move(f.fields), xPath, yPath, named);
        impl->attach(table.writable());
        std::unique_ptr<SecondaryIndex> index(new SecondaryIndex(std::move(impl)));
        const bool known = trusted && trusted(xPath);
        if (const std::string problem = known ? std::string() : index->verify(); !problem.empty()) {
            if (!table.writable()) {
                say(problem + "; the index is not used (the table is read-only)");
                continue;
            }
            say(problem + "; the index is rebuilt");
            index->rebuild();
        }
        table.addObserver(index.get());
        out.push_back(std::move(index));
    }
    return out;
}

// An index file holding another index than the table's own is made again, under its
// name, as the table's own index `def`; null (nothing changed) when the table is
// read-only or the definition does not fit it.
std::unique_ptr<SecondaryIndex> SecondaryIndex::remake(TableFile& table, const IndexDef& def,
                                                       const fs::path& xPath, const fs::path& yPath,
                                                       const EngineLog& say) {
    const std::string xName = xPath.filename().string();
    if (!table.writable()) {
        say(xName + ": a fájlban nem a tábla " + def.name +
            " indexe van; a program nem használja (a tábla csak olvasható)");
        return nullptr;
    }
    std::vector<int> fields;
    try {
        fields = resolveFields(table, def);
    } catch (const DbError&) {
        return nullptr; // the table lacks the fields: the file is judged by its own header
    }
    auto impl = std::make_unique<Impl>(table, def, std::move(fields), xPath, yPath, true);
    impl->freshHeaders = true;
    impl->attach(true);
    std::unique_ptr<SecondaryIndex> index(new SecondaryIndex(std::move(impl)));
    index->rebuild();
    say(xName + ": a fájlban nem a tábla " + def.name +
        " indexe volt; a program a tábla adataiból újraépítette");
    table.addObserver(index.get());
    return index;
}

} // namespace db
