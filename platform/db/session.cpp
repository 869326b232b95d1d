#include "platform/db/session.h"

#include "platform/db/error.h"
#include "platform/db/group_commit.h"
#include "platform/sys/text.h"

#include <algorithm>

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
                         std::weak_ptr<SessionTransactionState> transaction)
    : file_(std::move(file)), transaction_(std::move(transaction)) {
    if (!file_->indexNotice().empty() && log)
        log(file_->indexNotice());
    indexes_ = SecondaryIndex::openAll(*file_, log, trusted);
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

Session::Session(std::filesystem::path directory, Durability durability, io::Vfs* vfs)
    : directory_(std::move(directory)), durability_(durability), vfs_(vfs),
      transaction_(std::make_shared<SessionTransactionState>()),
      verified_(std::make_shared<std::map<std::filesystem::path, IndexStamp>>()) {}

Session::~Session() = default;

std::filesystem::path Session::tablePath(std::string_view name) const {
    const std::filesystem::path named = withDbExtension(std::string(name));
    return resolveCaseInsensitive(directory_ / named.parent_path(), named.filename().string());
}

bool Session::exists(std::string_view name) const {
    std::error_code ec;
    return std::filesystem::is_regular_file(tablePath(name), ec);
}

std::shared_ptr<SharedTable> Session::open(std::string_view name) {
    const std::filesystem::path path = tablePath(name);
    if (auto shared = open_[path].lock())
        return shared;
    auto file = TableFile::open(path, {.writable = true, .durability = durability_, .vfs = vfs_});
    const std::filesystem::path dbPath = file->path();
    const auto trusted = [&](const std::filesystem::path& xPath) {
        const auto known = verified_->find(xPath);
        return known != verified_->end() && !known->second.files.empty() &&
               known->second == stampOf(dbPath, xPath, known->second.yPath);
    };
    auto* table = new SharedTable(
        std::move(file),
        [this](const std::string& line) {
            log_.push_back(line);
            if (logListener_)
                logListener_(line);
        },
        trusted, transaction_);
    // When the last cursor lets the table go, its indexes agree with it: remember the
    // files as they are then.
    std::weak_ptr<std::map<std::filesystem::path, IndexStamp>> memo = verified_;
    std::shared_ptr<SharedTable> shared(table, [memo, dbPath](SharedTable* closing) {
        std::vector<std::pair<std::filesystem::path, std::filesystem::path>> files;
        for (const auto& index : closing->indexes())
            files.emplace_back(index->xPath(), index->yPath());
        delete closing;
        if (auto verified = memo.lock())
            for (const auto& [xPath, yPath] : files)
                (*verified)[xPath] = stampOf(dbPath, xPath, yPath);
    });
    open_[path] = shared;
    return shared;
}

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
        stamp.files.emplace_back(size, time);
    }
    return stamp;
}

std::shared_ptr<const TableFile> Session::layout(std::string_view name) {
    const std::filesystem::path path = tablePath(name);
    if (auto shared = open_[path].lock())
        return std::shared_ptr<const TableFile>(shared, &shared->file());
    return TableFile::open(path, {.writable = false,
                                  .durability = durability_,
                                  .layoutOnly = true,
                                  .mayRecover = true,
                                  .vfs = vfs_});
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
