#include "platform/db/session.h"

#include "platform/db/error.h"
#include "platform/db/group_commit.h"
#include "platform/db/journal.h"
#include "platform/db/pager.h"
#include "platform/sys/text.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace db {

// The session's open transaction: its depth of nesting, the tables that joined it (kept
// open until it ends), and whether an inner rollback has spoilt it.
class SessionTransactionState {
public:
    int depth = 0;
    bool spoilt = false;
    std::vector<std::shared_ptr<SharedTable>> tables;
};

SharedTable::SharedTable(std::unique_ptr<TableFile> file, const EngineLog& log,
                         const std::function<bool(const std::filesystem::path&)>& trusted,
                         std::weak_ptr<SessionTransactionState> transaction,
                         const std::vector<IndexDef>& ownIndexes)
    : file_(std::move(file)), transaction_(std::move(transaction)) {
    if (!file_->indexNotice().empty() && log)
        log(file_->indexNotice());
    indexes_ = SecondaryIndex::openAll(*file_, log, trusted, ownIndexes);
}

void SharedTable::joinTransaction() {
    const auto state = transaction_.lock();
    if (!state || state->depth == 0 || file_->inGroup())
        return;
    file_->joinGroup();
    state->tables.push_back(shared_from_this());
}

void SharedTable::endTransaction(bool committed) {
    file_->endGroup(committed);
    if (!committed)
        ++version_; // the data sets read the table again
}

SharedTable::~SharedTable() = default;

const SecondaryIndex* SharedTable::index(std::string_view name) const {
    for (const auto& index : indexes_)
        if (sys::equalsNoCase(index->definition().name, name))
            return index.get();
    return nullptr;
}

void SharedTable::addIndex(const IndexDef& def) {
    joinTransaction();
    indexes_.push_back(SecondaryIndex::create(*file_, def));
    ++version_;
}

RecordPos SharedTable::insert(Record& record) {
    joinTransaction();
    const RecordPos pos = file_->insert(record);
    ++version_;
    return pos;
}

RecordPos SharedTable::update(RecordPos pos, const Record& record) {
    joinTransaction();
    const RecordPos moved = file_->update(pos, record);
    ++version_;
    return moved;
}

void SharedTable::remove(RecordPos pos) {
    joinTransaction();
    file_->remove(pos);
    ++version_;
}

void SharedTable::empty() {
    joinTransaction();
    file_->empty();
    ++version_;
}

void SharedTable::addFields(const std::vector<FieldDef>& fields) {
    if (const auto state = transaction_.lock(); state && state->depth > 0)
        throw DbError(file_->path(), "a table's layout cannot change inside a save");
    file_->addFields(fields);
    ++version_;
}

// The stamps of the indexes last found agreeing with their tables, by the index's file
// name in the folder, read from the folder's check file at the first use and written
// back (whole, under a temporary name first) whenever one is added. The file ends with
// a checksum line: a file cut short or changed by hand is ignored, and every index is
// checked then.
struct Session::CheckedIndexes {
    std::filesystem::path dir;
    io::Vfs* vfs = &io::realVfs(); // the session's file layer
    bool loaded = false;
    std::map<std::string, IndexStamp> stamps;

    static constexpr const char* kMagic = "FARMIDX1";

    std::filesystem::path file() const { return dir / kIndexCheckFile; }
    // The index's name in the folder; "" for one elsewhere (not kept in the file).
    std::string nameOf(const std::filesystem::path& path) const {
        const auto relative = std::filesystem::absolute(path).lexically_normal().lexically_relative(
            std::filesystem::absolute(dir).lexically_normal());
        const std::string name = relative.string();
        return relative.has_parent_path() || name.empty() || name == "." || name == ".."
                   ? std::string()
                   : name;
    }
    std::string encode() const {
        std::ostringstream out;
        out << kMagic << '\n';
        for (const auto& [name, stamp] : stamps) {
            out << name << '\t' << stamp.yPath.filename().string();
            for (const std::uint64_t v : stamp.files)
                out << ' ' << v;
            out << '\n';
        }
        const std::string body = out.str();
        const auto crc = crc32({reinterpret_cast<const std::uint8_t*>(body.data()), body.size()});
        return body + "end " + std::to_string(crc) + "\n";
    }
    void load() {
        if (loaded)
            return;
        loaded = true;
        std::string text;
        try {
            if (const auto in = io::File::openIfExists(file(), O_RDONLY, *vfs)) {
                const std::vector<std::uint8_t> bytes = in->readAll();
                text.assign(bytes.begin(), bytes.end());
            }
        } catch (const DbError&) {
            return; // a cache: without it every index is checked
        }
        const std::size_t end = text.rfind("end ");
        if (end == std::string::npos || text.compare(0, 9, std::string(kMagic) + "\n") != 0)
            return;
        const std::string body = text.substr(0, end);
        const auto crc = crc32({reinterpret_cast<const std::uint8_t*>(body.data()), body.size()});
        if (text.substr(end) != "end " + std::to_string(crc) + "\n")
            return;
        std::istringstream lines(body.substr(9));
        std::map<std::string, IndexStamp> read;
        for (std::string line; std::getline(lines, line);) {
            const std::size_t tab = line.find('\t');
            if (tab == std::string::npos)
                return;
            std::istringstream fields(line.substr(tab + 1));
            std::string yName;
            IndexStamp stamp;
            fields >> yName;
            for (std::uint64_t v; fields >> v;)
                stamp.files.push_back(v);
            stamp.yPath = dir / yName;
            if (stamp.files.size() != 9)
                return;
            read[line.substr(0, tab)] = std::move(stamp);
        }
        stamps = std::move(read);
    }
    void save() const {
        const std::filesystem::path temporary = file().string() + ".tmp";
        const std::string text = encode();
        try {
            io::File::open(temporary, O_WRONLY | O_CREAT | O_TRUNC, *vfs)
                .writeAll(0, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
            vfs->rename(temporary, file());
        } catch (const DbError&) { // a cache: without it every index is checked again
        }
    }
    bool trusts(const std::filesystem::path& dbPath, const std::filesystem::path& xPath) {
        load();
        const auto known = stamps.find(nameOf(xPath));
        if (known == stamps.end() || known->first.empty())
            return false;
        const std::filesystem::path yPath = xPath.parent_path() / known->second.yPath.filename();
        const IndexStamp now = stampOf(dbPath, xPath, yPath);
        return !now.files.empty() && now.files == known->second.files;
    }
    void
    remember(const std::filesystem::path& dbPath,
             const std::vector<std::pair<std::filesystem::path, std::filesystem::path>>& files) {
        // A change still in its journal (a commit that could not be undone) leaves the
        // files to be restored: nothing about them is known then.
        if (Pager::journalPresent(companionPath(dbPath, ".jnl")))
            return;
        load();
        bool changed = false;
        for (const auto& [xPath, yPath] : files) {
            const std::string name = nameOf(xPath);
            IndexStamp stamp = stampOf(dbPath, xPath, yPath);
            if (name.empty() || stamp.files.empty())
                continue;
            auto& kept = stamps[name];
            if (kept.files != stamp.files || kept.yPath.filename() != stamp.yPath.filename()) {
                kept = std::move(stamp);
                changed = true;
            }
        }
        if (changed)
            save();
    }
};

namespace {

std::optional<std::uint32_t> headerChecksum(const std::filesystem::path& path);

// What shows any change of a data file, by this process or another: its settled stamp
// (identity, size and times) and a checksum of its header (record and block counts).
// Empty when the file cannot be read, or when it changed so lately that a change made
// now could leave both times as they are (they move in clock ticks).
std::vector<std::uint64_t> blockMapStamp(const std::filesystem::path& path) {
    std::vector<std::uint64_t> stamp = settledStamp(path);
    if (stamp.empty())
        return {};
    const auto header = headerChecksum(path);
    if (!header)
        return {};
    stamp.push_back(*header);
    return stamp;
}

} // namespace

// The maps of a table's data file and of its index files, by the file's path.
struct Session::KeptBlockMaps {
    struct Kept {
        std::vector<std::uint64_t> stamp;
        ChainMap map;
    };
    using Files = std::vector<std::pair<std::filesystem::path, Kept>>;
    std::map<std::filesystem::path, Kept> byPath;

    // The map of a file being let go, added to `out` when the file is settled.
    static void keep(Files& out, const std::filesystem::path& file, std::optional<ChainMap> map) {
        try {
            auto stamp = map ? blockMapStamp(file) : std::vector<std::uint64_t>{};
            if (!stamp.empty())
                out.emplace_back(file, Kept{std::move(stamp), std::move(*map)});
        } catch (const std::exception&) { // a cache: the next open walks the chain
        }
    }

    // Every map of a table being let go (before it closes its files).
    static Files of(const SharedTable& table) {
        Files out;
        keep(out, table.file().path(), table.file().blockMap());
        for (const auto& index : table.indexes())
            keep(out, index->xPath(), index->chainMap());
        return out;
    }

    // The map kept for a file just opened, when the file is as it was then.
    std::optional<ChainMap> take(const std::filesystem::path& file) {
        const auto kept = byPath.find(file);
        if (kept == byPath.end())
            return std::nullopt;
        std::optional<ChainMap> map;
        try {
            if (kept->second.stamp == blockMapStamp(file))
                map = std::move(kept->second.map);
        } catch (const std::exception&) {
        }
        byPath.erase(kept);
        return map;
    }
};

Session::Session(std::filesystem::path directory, Durability durability, io::Vfs* vfs)
    : directory_(std::move(directory)), durability_(durability), vfs_(vfs),
      transaction_(std::make_shared<SessionTransactionState>()),
      verified_(std::make_shared<CheckedIndexes>()), blockMaps_(std::make_shared<KeptBlockMaps>()),
      folder_(std::make_shared<FolderNames>(directory_)) {
    verified_->dir = directory_;
    if (vfs_)
        verified_->vfs = vfs_;
}

Session::~Session() = default;

std::filesystem::path Session::tablePath(std::string_view name) const {
    const std::filesystem::path named = withDbExtension(std::string(name));
    return findInFolder(folder_.get(), directory_ / named.parent_path(), named.filename().string());
}

std::shared_ptr<SharedTable> Session::openByName(std::string_view name) const {
    const auto found = byName_.find(name);
    return found == byName_.end() ? nullptr : found->second.lock();
}

bool Session::exists(std::string_view name) const {
    if (openByName(name))
        return true;
    std::error_code ec;
    return std::filesystem::is_regular_file(tablePath(name), ec);
}

std::shared_ptr<SharedTable> Session::open(std::string_view name) {
    if (auto shared = openByName(name))
        return shared;
    const std::filesystem::path path = tablePath(name);
    if (auto shared = open_[path].lock()) {
        byName_[std::string(name)] = shared;
        return shared;
    }
    auto file = TableFile::open(path, {.writable = true,
                                       .durability = durability_,
                                       .textCodePage = textCodePageOf(path),
                                       .folder = folder_,
                                       .vfs = vfs_});
    if (codePageNotice_ && file->codec().codePage() != file->header().codePage)
        codePageNotice_(file->path(), file->header().codePage);
    if (auto map = vfs_ ? std::nullopt : blockMaps_->take(file->path()))
        file->adoptBlockMap(std::move(*map));
    const std::filesystem::path dbPath = file->path();
    std::size_t trustedIndexes = 0;
    const auto trusted = [&](const std::filesystem::path& xPath) {
        const bool known = verified_->trusts(dbPath, xPath);
        trustedIndexes += known ? 1 : 0;
        return known;
    };
    auto* table = new SharedTable(
        std::move(file),
        [this](const std::string& line) {
            log_.push_back(line);
            if (logListener_)
                logListener_(line);
        },
        trusted, transaction_,
        indexCatalogue_ ? indexCatalogue_(dbPath.stem().string()) : std::vector<IndexDef>{});
    if (!vfs_)
        for (const auto& index : table->indexes())
            if (auto map = blockMaps_->take(index->xPath()))
                index->offerChainMap(std::move(*map));
    // When the last cursor lets the table go, its indexes agree with it: remember the
    // files as they are then, unless every index was known agreeing at the open and the
    // files have not changed since (their stamps are the ones kept).
    std::weak_ptr<CheckedIndexes> memo = verified_;
    std::weak_ptr<KeptBlockMaps> maps = vfs_ ? nullptr : blockMaps_;
    const bool allKnown = trustedIndexes == table->indexes().size();
    const std::uint64_t openedAt = table->file().pager().changeCount();
    std::shared_ptr<SharedTable> shared(
        table, [memo, maps, dbPath, allKnown, openedAt](SharedTable* closing) {
            const bool asOpened = allKnown && closing->file().pager().changeCount() == openedAt;
            std::vector<std::pair<std::filesystem::path, std::filesystem::path>> files;
            for (const auto& index : closing->indexes())
                files.emplace_back(index->xPath(), index->yPath());
            auto kept = maps.expired() ? KeptBlockMaps::Files{} : KeptBlockMaps::of(*closing);
            delete closing;
            if (auto keeper = maps.lock())
                for (auto& [keptPath, map] : kept)
                    keeper->byPath[keptPath] = std::move(map);
            if (auto verified = asOpened ? nullptr : memo.lock()) {
                try {
                    verified->remember(dbPath, files);
                } catch (const std::exception&) { // a cache: the next open checks again
                }
            }
        });
    open_[path] = shared;
    byName_[std::string(name)] = shared;
    return shared;
}

namespace {

// The header of a table or index file (its first headerSize bytes), read whole.
std::optional<std::uint32_t> headerChecksum(const std::filesystem::path& path) {
    auto file = io::File::openIfExists(path, O_RDONLY);
    if (!file)
        return std::nullopt;
    const std::uint64_t size = file->size();
    std::uint8_t fixed[4] = {};
    if (size < sizeof fixed)
        return std::nullopt;
    file->readExact(0, fixed);
    const std::uint64_t headerSize =
        std::min<std::uint64_t>(size, static_cast<std::uint64_t>(fixed[2] | (fixed[3] << 8)));
    std::vector<std::uint8_t> header(static_cast<std::size_t>(headerSize));
    file->readExact(0, header);
    return crc32(header);
}

} // namespace

Session::IndexStamp Session::stampOf(const std::filesystem::path& dbPath,
                                     const std::filesystem::path& xPath,
                                     const std::filesystem::path& yPath) {
    IndexStamp stamp;
    stamp.yPath = yPath;
    for (const auto& file : {dbPath, xPath, yPath}) {
        std::error_code error;
        const auto size = std::filesystem::file_size(file, error);
        const auto time = std::filesystem::last_write_time(file, error);
        if (error)
            return {};
        std::optional<std::uint32_t> header;
        try {
            header = headerChecksum(file);
        } catch (const std::exception&) {
        }
        if (!header)
            return {};
        stamp.files.push_back(size);
        stamp.files.push_back(static_cast<std::uint64_t>(time.time_since_epoch().count()));
        stamp.files.push_back(*header);
    }
    return stamp;
}

std::shared_ptr<const TableFile> Session::layout(std::string_view name) {
    if (auto shared = openByName(name))
        return std::shared_ptr<const TableFile>(shared, &shared->file());
    const std::filesystem::path path = tablePath(name);
    if (auto shared = open_[path].lock())
        return std::shared_ptr<const TableFile>(shared, &shared->file());
    return TableFile::open(path, {.writable = false,
                                  .durability = durability_,
                                  .layoutOnly = true,
                                  .mayRecover = true,
                                  .textCodePage = textCodePageOf(path),
                                  .folder = folder_,
                                  .vfs = vfs_});
}

std::function<int(int named)> Session::textCodePageOf(const std::filesystem::path& dbPath) const {
    if (!codePageCatalogue_)
        return nullptr;
    return [catalogue = codePageCatalogue_, table = dbPath.stem().string()](int named) {
        return catalogue(table, named);
    };
}

std::shared_ptr<SharedTable> Session::create(std::string_view name, const TableSchema& schema,
                                             const std::vector<IndexDef>& indexes) {
    const std::filesystem::path path = tablePath(name);
    TableFile::create(path, schema, {.writable = true, .durability = durability_, .vfs = vfs_});
    auto shared = open(name);
    for (const auto& def : indexes)
        shared->addIndex(def);
    return shared;
}

void Session::beginTransaction() {
    ++transaction_->depth;
}

bool Session::inTransaction() const {
    return transaction_->depth > 0;
}

void Session::commitTransaction() {
    SessionTransactionState& state = *transaction_;
    if (state.depth == 0)
        return;
    if (--state.depth > 0)
        return; // the outermost transaction commits
    endTransaction(true);
}

void Session::rollbackTransaction() noexcept {
    SessionTransactionState& state = *transaction_;
    if (state.depth == 0)
        return;
    if (--state.depth > 0)
        state.spoilt = true; // the outer one cannot commit a part of the save
    try {
        endTransaction(false);
    } catch (...) { // dropping changes reports nothing
    }
}

// Ends the tables' part in the transaction: committed all together, or every change
// dropped. An inner rollback drops the changes so far at once, so that the data sets read
// the tables as they were while the outer transaction unwinds.
void Session::endTransaction(bool commit) {
    SessionTransactionState& state = *transaction_;
    std::vector<std::shared_ptr<SharedTable>> tables = std::move(state.tables);
    state.tables.clear();
    const bool spoilt = state.spoilt;
    if (state.depth == 0)
        state.spoilt = false;
    const auto dropAll = [&] {
        for (const auto& table : tables) {
            try {
                table->endTransaction(false);
            } catch (const std::exception&) {
                // a pager that could not be restored refuses further use and says so then
            }
        }
    };
    if (!commit || spoilt) {
        dropAll();
        if (commit)
            throw DbError(directory_, "the save was undone: a part of it had failed");
        return;
    }
    std::vector<GroupMember> members;
    for (const auto& table : tables)
        members.push_back({&table->file().pager(), &table->file().lock()});
    try {
        commitGroup(members, directory_, durability_, vfs_ ? *vfs_ : io::realVfs());
    } catch (...) {
        dropAll();
        throw;
    }
    for (const auto& table : tables)
        table->endTransaction(true);
}

std::vector<std::string> Session::recoverInterruptedChanges() {
    std::vector<std::string> names = recoverFolder(directory_, vfs_ ? *vfs_ : io::realVfs());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace db
