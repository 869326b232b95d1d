// The read side of TableFile: opening, the block chain, scanning and decoding.

#include "platform/db/table_file.h"

#include "platform/db/error.h"
#include "platform/db/file_blocks.h"
#include "platform/db/group_commit.h"
#include "platform/db/read_ahead.h"
#include "platform/db/text_codec.h"
#include "platform/sys/codepage.h"

#include <algorithm>
#include <dirent.h>
#include <memory>
#include <system_error>

namespace fs = std::filesystem;

namespace db {

namespace {

constexpr std::uint64_t kBlockHead = 6;
// The largest table a scan reads from the blocks the chain keeps (a master list a
// statement joins); a larger one would only push out what lookups keep.
constexpr std::size_t kKeptScan = 512 << 10;

// The code page the text is read in: the caller's, else the one the header names.
int TextCodePage(const std::function<int(int)>& caller, int named) {
    const int chosen = caller ? caller(named) : 0;
    return chosen != 0 ? chosen : named;
}

// Lower case for ASCII and the Latin-1 and Latin Extended-A letters (all of Hungarian),
// for names compared regardless of letter case.
std::string foldCase(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            out.push_back(static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c));
            continue;
        }
        if ((c == 0xC3 || c == 0xC4 || c == 0xC5) && i + 1 < s.size()) {
            char32_t cp = ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(s[i + 1]) & 0x3Fu);
            if (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7)
                cp += 0x20;
            else if (cp >= 0x100 && cp <= 0x17F && cp != 0x130 && cp != 0x138 && cp != 0x149 &&
                     cp != 0x178 && cp != 0x17F) {
                // Pairs start at an even code point, except 0x139..0x148 and 0x179..0x17E.
                const bool oddPairs = (cp >= 0x139 && cp <= 0x148) || (cp >= 0x179 && cp <= 0x17E);
                if (oddPairs ? (cp % 2 == 1) : (cp % 2 == 0))
                    cp += 1;
            }
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
            ++i;
            continue;
        }
        out.push_back(static_cast<char>(c));
    }
    return out;
}

// foldCase(a) == foldCase(b), without building either when both are ASCII.
bool sameFolded(std::string_view a, std::string_view b) {
    const auto ascii = [](std::string_view s) {
        return std::all_of(s.begin(), s.end(), [](char c) { return (c & 0x80) == 0; });
    };
    if (!ascii(a) || !ascii(b))
        return foldCase(a) == foldCase(b);
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

bool hasExtension(const fs::path& p, const char* ext) {
    return foldCase(p.extension().string()) == ext;
}

// ".PX" next to "TABLE.DB", ".px" next to "table.db".
std::string companionExtension(const fs::path& db, const char* lower) {
    const std::string ext = db.extension().string();
    const bool upper = ext.size() > 1 && ext[1] >= 'A' && ext[1] <= 'Z';
    std::string out = lower;
    if (upper)
        std::transform(out.begin(), out.end(), out.begin(),
                       [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; });
    return out;
}

} // namespace

fs::path resolveCaseInsensitive(const fs::path& dir, const std::string& name) {
    const fs::path exact = dir / name;
    std::error_code ec;
    if (fs::exists(exact, ec))
        return exact;
    // Every miss (a memo or journal file a table does not have) reads the whole folder, a
    // few hundred names: they are compared where they lie, none copied but the match.
    const std::unique_ptr<DIR, int (*)(DIR*)> listing(::opendir(dir.empty() ? "." : dir.c_str()),
                                                      ::closedir);
    if (!listing)
        return exact;
    while (const dirent* entry = ::readdir(listing.get())) {
        const std::string_view candidate(entry->d_name);
        if (candidate != "." && candidate != ".." && sameFolded(candidate, name))
            return dir / std::string(candidate);
    }
    return exact;
}

std::string foldFileName(std::string_view name) {
    return foldCase(name);
}

bool sameFileName(std::string_view a, std::string_view b) {
    return sameFolded(a, b);
}

fs::path withDbExtension(const fs::path& name) {
    fs::path out = name;
    if (!hasExtension(name.filename(), ".db"))
        out += ".db";
    return out;
}

fs::path companionName(const fs::path& db, const char* lowerExtension) {
    return db.parent_path() / (db.stem().string() + companionExtension(db, lowerExtension));
}

fs::path companionPath(const fs::path& db, const char* lowerExtension, FolderNames* folder) {
    const fs::path name = companionName(db, lowerExtension);
    return findInFolder(folder, name.parent_path(), name.filename().string());
}

std::unique_ptr<TableFile> TableFile::open(const fs::path& dbPath, OpenOptions options) {
    std::unique_ptr<TableFile> t(new TableFile);
    const fs::path named = withDbExtension(dbPath);
    const fs::path dir = named.parent_path();
    t->folder_ = options.folder;
    FolderNames* folder = t->folder_.get();
    t->dbPath_ = findInFolder(folder, dir, named.filename().string());
    std::error_code ec;
    if (!fs::is_regular_file(t->dbPath_, ec))
        throw DbError(t->dbPath_, "no such table");
    t->pxPath_ = companionPath(t->dbPath_, ".px", folder);
    t->mbPath_ = companionPath(t->dbPath_, ".mb", folder);
    const fs::path journal = companionPath(t->dbPath_, ".jnl", folder);
    t->lock_ = std::make_unique<TableLock>(t->dbPath_);
    using Side = TableLock::Side;
    // A writer reads the table under its writer's side, so no other process's change
    // can come between its view of the table and its own changes.
    const bool writer = options.writable && !options.layoutOnly;
    if (writer)
        t->writeHold_ = std::make_unique<TableLock::Hold>(*t->lock_, Side::Writer);
    auto shared = std::make_unique<TableLock::Hold>(*t->lock_, Side::Shared);
    // Under the shared side no commit is running: a journal there was left by a crash.
    // A writer clears even one cut short (its next commit needs the name).
    if (writer ? Pager::journalPresent(journal) : Pager::needsRecovery(journal)) {
        if (!writer && !options.mayRecover)
            throw DbError(t->dbPath_, "a change interrupted by a crash waits to be undone; "
                                      "open the table for writing first");
        shared.reset();
        {
            TableLock::Hold exclusive(*t->lock_, Side::Exclusive);
            recoverTableJournal(journal, options.vfs ? *options.vfs : io::realVfs());
        }
        shared = std::make_unique<TableLock::Hold>(*t->lock_, Side::Shared);
    }
    t->pager_ = std::make_unique<Pager>(journal, options.durability, options.vfs);
    t->pager_->setCommitLock(t->lock_.get());
    t->load(options);
    if (!t->writable_ && !t->layoutOnly_)
        t->readHold_ = std::move(shared);
    return t;
}

TableFile::~TableFile() = default;

void TableFile::load(OpenOptions options) {
    layoutOnly_ = options.layoutOnly;
    writable_ = options.writable && !layoutOnly_;
    dbFile_ = pager_->attach(dbPath_);
    header_ = readFileHeader(*pager_, dbFile_);
    if (!header_.isData())
        throw CorruptFileError(dbPath_, "not a table data file (file type " +
                                            std::to_string(static_cast<int>(header_.fileType)) +
                                            ")");
    codec_ = std::make_unique<RecordCodec>(header_.fields,
                                           TextCodePage(options.textCodePage, header_.codePage));
    if (layoutOnly_)
        return;
    checkCodePage();
    attachChain();

    std::error_code ec;
    if (keyed() && (writable_ || fs::exists(pxPath_, ec)))
        pxFile_ = pager_->attach(pxPath_, true);
    const bool hasBlobs = std::any_of(header_.fields.begin(), header_.fields.end(),
                                      [](const FieldDef& f) { return isBlobType(f.type); });
    if (hasBlobs)
        attachBlobFile();
    resetKeySize(); // the chain is walked at its first use
    if (pxFile_ >= 0)
        checkPrimaryIndex();
}

// Text fields in a code page the system cannot convert would fail on every read: the
// table is refused on opening, with its name.
void TableFile::checkCodePage() const {
    if (std::none_of(header_.fields.begin(), header_.fields.end(),
                     [](const FieldDef& f) { return isTextType(f.type); }))
        return;
    try {
        codec_->text().decode(std::span<const std::uint8_t>{});
    } catch (const sys::EncodingError& e) {
        throw CorruptFileError(dbPath_, e.what());
    }
}

void TableFile::attachBlobFile() {
    if (blobs_)
        return;
    if (mbFile_ < 0)
        mbFile_ = pager_->attach(mbPath_, true);
    blobs_ = std::make_unique<BlobFile>(*pager_, mbFile_);
}

void TableFile::attachChain() {
    chain_ = std::make_unique<BlockChain>(*pager_, dbFile_, header_, "table");
    chain_->setOrder([this](std::span<const std::uint8_t> a, std::span<const std::uint8_t> b) {
        return compareKeys(a, b, keyFields());
    });
    chain_->setMovedHook([this](std::span<const std::uint8_t> records, std::size_t count,
                                std::uint16_t block) { notifyMoved(records, count, block); });
}

void TableFile::loadChain() {
    chain_->load();
    chainLoaded_ = true;
    resetKeySize();
}

void TableFile::ensureChain() const {
    if (chainLoaded_ && chain_->walked())
        return;
    chain_->load();
    chainLoaded_ = true;
}

void TableFile::ensureLookupChain() const {
    if (chainLoaded_)
        return;
    if (auto map = indexedChain()) {
        chain_->assignFromIndex(std::move(*map));
        chainLoaded_ = true;
        return;
    }
    ensureChain();
}

// The .px's leaves, when its header was found fitting and is stamped for this state of
// the table (the update count one past the table's, as every change writes it).
std::optional<ChainMap> TableFile::indexedChain() const {
    if (!keyed() || pxFile_ < 0 || !indexNotice_.empty() ||
        pxHeader_.fileType != FileType::PrimaryIndex ||
        pxHeader_.updateCount != static_cast<std::uint16_t>(header_.updateCount + 1) ||
        pxHeader_.indexStamp != header_.changeCount1 || pager_->hasChanges())
        return std::nullopt;
    try {
        return readIndexedChain(*pager_, pxFile_, pxHeader_, header_, pager_->size(dbFile_),
                                chain_->keySize());
    } catch (const DbError&) { // the table's own walk reports what is wrong
        return std::nullopt;
    }
}

void TableFile::resetKeySize() {
    const int k = keyFields();
    chain_->setKeySize(static_cast<std::size_t>(
        k < static_cast<int>(fields().size()) ? codec_->offset(k) : codec_->recordSize()));
}

std::optional<TableFile::BlockMap> TableFile::blockMap() const {
    if (!chainLoaded_ || !chain_->walked() || layoutOnly_ || grouped_ || pager_->inTransaction())
        return std::nullopt;
    return BlockMap{chain_->blocks(), chain_->firstKeysRead()};
}

void TableFile::adoptBlockMap(BlockMap map) {
    if (layoutOnly_ || chainLoaded_)
        return;
    std::uint64_t records = 0;
    for (const ChainBlock& b : map.blocks)
        records += b.records;
    if (records != header_.numRecords)
        return;
    chain_->assign(std::move(map.blocks), std::move(map.firstKeys));
    chainLoaded_ = true;
}

std::uint64_t TableFile::blockOffset(std::uint16_t block) const {
    return db::blockOffset(header_, block);
}

const std::vector<TableFile::BlockInfo>& TableFile::blocks() const {
    if (!chain_ || layoutOnly_)
        throw DbError(dbPath_, "the table was opened for its layout only");
    ensureChain();
    return chain_->blocks();
}

int TableFile::fieldIndex(const std::string& name) const {
    for (std::size_t i = 0; i < header_.fields.size(); ++i)
        if (sameFolded(header_.fields[i].name, name))
            return static_cast<int>(i);
    return -1;
}

void TableFile::scanBlocks(const ChainRecords& visit) const {
    if (!(chainLoaded_ && chain_->walked()) && !layoutOnly_) { // walked and read together
        auto chain = walkAndReadBlockChain(*pager_, dbFile_, header_, visit);
        if (chain && !(chainLoaded_ && chain_->walked())) {
            chain_->assign(std::move(*chain));
            chainLoaded_ = true;
        }
        return;
    }
    const std::size_t recordSize = header_.recordSize;
    const auto& chain = blocks();
    // A small table (a master list a statement scans to join) is read from the blocks the
    // chain keeps, so that the next statement reads it from memory; a large one goes
    // straight to the file, as keeping it would only push out what lookups keep.
    if (chain.size() * static_cast<std::size_t>(header_.blockSize()) <= kKeptScan) {
        for (const BlockInfo& b : chain) {
            const auto block = chain_->sharedBlock(b.number);
            if (!visit(b, std::span(*block).subspan(kBlockHead, b.records * recordSize)))
                return;
        }
        return;
    }
    // Blocks that follow each other in the file (most of a table's chain) are read
    // together, up to kBlockReadAhead at once: one call in place of one per block. In a
    // large table the next window is read ahead while the visitor works through this one.
    const std::size_t blockSize = static_cast<std::size_t>(header_.blockSize());
    const std::size_t perWindow = std::max<std::size_t>(1, kBlockReadAhead / blockSize);
    const auto windowEnd = [&](std::size_t first) {
        std::size_t end = first + 1;
        while (end < chain.size() && end - first < perWindow &&
               chain[end].number == chain[end - 1].number + 1)
            ++end;
        return end;
    };
    // The last block of a window only up to its last record: the file may end there.
    const auto windowLength = [&](std::size_t first, std::size_t end) {
        return (end - 1 - first) * blockSize + kBlockHead + chain[end - 1].records * recordSize;
    };
    ReadAhead ahead(*pager_, dbFile_, chain.size() * blockSize >= kReadAheadFrom);
    std::vector<std::uint8_t> window;
    for (std::size_t first = 0; first < chain.size();) {
        // Found again after each window: the visitor may have changed the chain.
        const std::size_t end = windowEnd(first);
        const std::size_t nextEnd = end < chain.size() ? windowEnd(end) : end;
        ahead.read(blockOffset(chain[first].number), windowLength(first, end), window,
                   end < chain.size() ? blockOffset(chain[end].number) : 0,
                   end < chain.size() ? windowLength(end, nextEnd) : 0);
        for (std::size_t i = first; i < end; ++i) {
            const auto records = std::span<const std::uint8_t>(window).subspan(
                (i - first) * blockSize + kBlockHead, chain[i].records * recordSize);
            if (!visit(chain[i], records))
                return;
        }
        first = end;
    }
}

std::vector<std::uint8_t> TableFile::readRaw(RecordPos pos) const {
    return lookUp([&] {
        const std::size_t index = chain_->indexOf(pos.block);
        if (index == BlockChain::npos || pos.slot >= chain_->blocks()[index].records) {
            if (!chain_->walked())
                throw ChainDisagrees(); // the walk tells whether it is there
            throw DbError(dbPath_, "no record at block " + std::to_string(pos.block) + ", slot " +
                                       std::to_string(pos.slot));
        }
        chain_->check(index);
        return pager_->read(dbFile_,
                            blockOffset(pos.block) + kBlockHead + pos.slot * header_.recordSize,
                            header_.recordSize);
    });
}

Record TableFile::read(RecordPos pos) const {
    return decode(readRaw(pos));
}

Record TableFile::decode(std::span<const std::uint8_t> raw) const {
    return codec_->decodeAll(raw, blobs_.get());
}

std::vector<Record> TableFile::readAll() const {
    std::vector<Record> out;
    out.reserve(header_.numRecords);
    scan([&](RecordPos, std::span<const std::uint8_t> raw) {
        out.push_back(decode(raw));
        return true;
    });
    return out;
}

void TableFile::joinGroup() {
    if (!writable_)
        throw DbError(dbPath_, "the table is open read-only");
    grouped_ = true;
}

void TableFile::endGroup(bool committed) {
    grouped_ = false;
    if (pager_->inTransaction())
        pager_->rollback();
    if (!committed)
        reloadState();
}

void TableFile::addObserver(TableObserver* observer) {
    observers_.push_back(observer);
}

void TableFile::removeObserver(TableObserver* observer) {
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

} // namespace db
