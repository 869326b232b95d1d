#include "platform/db/session.h"

#include "platform/db/error.h"
#include "platform/sys/text.h"

namespace db {

SharedTable::SharedTable(std::unique_ptr<TableFile> file, const EngineLog& log,
                         const std::function<bool(const std::filesystem::path&)>& trusted)
    : file_(std::move(file)) {
    if (!file_->indexNotice().empty() && log)
        log(file_->indexNotice());
    indexes_ = SecondaryIndex::openAll(*file_, log, trusted);
}

SharedTable::~SharedTable() = default;

const SecondaryIndex* SharedTable::index(std::string_view name) const {
    for (const auto& index : indexes_)
        if (sys::equalsNoCase(index->definition().name, name))
            return index.get();
    return nullptr;
}

void SharedTable::addIndex(const IndexDef& def) {
    indexes_.push_back(SecondaryIndex::create(*file_, def));
    ++version_;
}

RecordPos SharedTable::insert(Record& record) {
    const RecordPos pos = file_->insert(record);
    ++version_;
    return pos;
}

RecordPos SharedTable::update(RecordPos pos, const Record& record) {
    const RecordPos moved = file_->update(pos, record);
    ++version_;
    return moved;
}

void SharedTable::remove(RecordPos pos) {
    file_->remove(pos);
    ++version_;
}

void SharedTable::empty() {
    file_->empty();
    ++version_;
}

void SharedTable::addFields(const std::vector<FieldDef>& fields) {
    file_->addFields(fields);
    ++version_;
}

Session::Session(std::filesystem::path directory, Durability durability)
    : directory_(std::move(directory)), durability_(durability),
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
    auto file = TableFile::open(path, {true, durability_});
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
        trusted);
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
    return TableFile::open(
        path,
        {.writable = false, .durability = durability_, .layoutOnly = true, .mayRecover = true});
}

std::shared_ptr<SharedTable> Session::create(std::string_view name, const TableSchema& schema,
                                             const std::vector<IndexDef>& indexes) {
    const std::filesystem::path path = tablePath(name);
    TableFile::create(path, schema, {true, durability_});
    auto shared = open(name);
    for (const auto& def : indexes)
        shared->addIndex(def);
    return shared;
}

// Interim: the transaction counts its nesting only; every change is still atomic per
// table as it is posted.
void Session::beginTransaction() {
    ++transactionDepth_;
}

void Session::commitTransaction() {
    if (transactionDepth_ > 0)
        --transactionDepth_;
}

void Session::rollbackTransaction() {
    if (transactionDepth_ > 0)
        --transactionDepth_;
}

} // namespace db
