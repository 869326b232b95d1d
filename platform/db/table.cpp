#include "platform/db/table.h"

#include "platform/db/error.h"
#include "platform/db/field_value.h"
#include "platform/db/key_table.h"
#include "platform/sys/text.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <utility>

namespace db {

namespace {

// A master's value in the type of the detail field bound to it.
std::optional<Value> convertForDetail(const Value& value, const FieldDef& from,
                                      const FieldDef& to) {
    if (isNull(value))
        return value;
    if (from.type == to.type)
        return value;
    try {
        return valueFromString(valueAsString(value, from), to);
    } catch (const std::exception&) {
        return std::nullopt; // no detail row can match
    }
}

} // namespace

// Follows the master data set: a scroll or a change there narrows this table anew.
class TTable::MasterLink : public DataSetObserver {
public:
    explicit MasterLink(TTable& detail) : detail_(detail) {}
    void dataSetEvent(TDataSet&, DataEvent event) override {
        if (event == DataEvent::Destroying) {
            detail_.master_ = nullptr;
            detail_.masterSource_ = nullptr;
            return;
        }
        if (event == DataEvent::Scrolled || event == DataEvent::RowsChanged ||
            event == DataEvent::Opened || event == DataEvent::Closing)
            detail_.masterChanged();
    }
    bool followsDisabled() const override { return true; }

private:
    TTable& detail_;
};

TTable::TTable(Session& session, std::string name) : TDataSet(std::move(name)), session_(session) {}

TTable::~TTable() {
    if (master_ && masterLink_)
        master_->removeObserver(masterLink_.get());
    if (Active()) {
        try {
            Cancel();
        } catch (...) {
        }
        closeSource();
    }
}

// --- settings ------------------------------------------------------------------------

void TTable::SetTableName(std::string name) {
    if (Active())
        throw error("a tábla neve csak zárt táblán változtatható");
    tableName_ = std::move(name);
}

bool TTable::Exists() const {
    return session_.exists(tableName_);
}

void TTable::SetIndexName(std::string name) {
    indexName_ = std::move(name);
    indexFieldNames_.clear();
    reorder();
}

void TTable::SetIndexFieldNames(std::string names) {
    indexFieldNames_ = std::move(names);
    indexName_.clear();
    reorder();
}

void TTable::reorder() {
    if (!Active())
        return;
    checkBrowseMode();
    resolveOrder();
    resolveRange();
    Refresh();
}

void TTable::SetMasterSource(TDataSource* source) {
    if (master_ && masterLink_)
        master_->removeObserver(masterLink_.get());
    masterSource_ = source;
    master_ = source ? source->DataSet() : nullptr;
    if (!masterLink_)
        masterLink_ = std::make_unique<MasterLink>(*this);
    if (master_)
        master_->addObserver(masterLink_.get());
    masterChanged();
}

void TTable::SetMasterFields(std::string fields) {
    masterFields_ = std::move(fields);
    masterChanged();
}

void TTable::masterChanged() {
    if (!Active() || State() != DataSetState::Browse)
        return;
    resolveRange();
    Refresh();
    First();
}

// --- opening ----------------------------------------------------------------------------

std::vector<FieldDef> TTable::openSource() {
    if (tableName_.empty())
        throw error("nincs megadva a tábla neve");
    try {
        shared_ = session_.open(tableName_);
    } catch (const DbError& e) {
        std::throw_with_nested(error(e.what()));
    }
    const TableFile& file = shared_->file();
    identitySize_ = file.keyed() && file.keyFields() < static_cast<int>(file.fields().size())
                        ? static_cast<std::size_t>(file.codec().offset(file.keyFields()))
                        : static_cast<std::size_t>(file.codec().recordSize());
    try {
        resolveOrder();
        resolveRange();
    } catch (...) {
        shared_.reset();
        throw;
    }
    std::vector<FieldDef> fields = file.fields();
    if (const std::vector<FieldDef>* defined = session_.definedFields(tableName_))
        for (FieldDef& field : fields) {
            auto same = std::find_if(defined->begin(), defined->end(), [&](const FieldDef& d) {
                return sys::equalsNoCase(d.name, field.name);
            });
            if (same != defined->end())
                field.domain = same->domain;
        }
    return fields;
}

void TTable::closeSource() {
    rows_.clear();
    rows_.shrink_to_fit();
    data_.clear();
    data_.shrink_to_fit();
    order_.clear();
    rangeActive_ = false;
    shared_.reset();
}

void TTable::resolveOrder() {
    const TableFile& file = shared_->file();
    order_.clear();
    const auto fieldNo = [&](const std::string& name) {
        const int n = file.fieldIndex(name);
        if (n < 0)
            throw error("nincs '" + name + "' nevű mező");
        return n;
    };
    if (!indexName_.empty()) {
        const SecondaryIndex* index = shared_->index(indexName_);
        if (!index)
            throw error("nincs '" + indexName_ + "' nevű index");
        const IndexDef& def = index->definition();
        for (const int n : index->fieldNumbers())
            order_.push_back({n, def.caseInsensitive, def.descending});
    } else if (!indexFieldNames_.empty()) {
        for (const auto& name : splitFieldList(indexFieldNames_))
            order_.push_back({fieldNo(name), false, false});
    } else {
        for (int k = 0; k < file.keyFields(); ++k)
            order_.push_back({k, false, false});
    }
}

void TTable::resolveRange() {
    rangeActive_ = false;
    rangeFields_.clear();
    TDataSet* master = master_;
    const auto masterNames = splitFieldList(masterFields_);
    if (!master || masterNames.empty() || !shared_)
        return;
    const TableFile& file = shared_->file();
    // The detail's order fields take the master's values in turn; with fewer order
    // fields than master fields, the detail's fields of the same names do.
    const bool byOrder = order_.size() >= masterNames.size();
    for (std::size_t i = 0; i < masterNames.size(); ++i) {
        const int field = byOrder ? order_[i].field : file.fieldIndex(masterNames[i]);
        if (field < 0)
            throw error("nincs '" + masterNames[i] + "' nevű mező");
        rangeFields_.push_back(field);
    }
    rangeActive_ = true;
    rangeKey_.clear();
    if (!master->Active() || master->IsEmpty())
        return; // an empty master: no detail rows
    Record values(file.fields().size());
    for (std::size_t i = 0; i < rangeFields_.size(); ++i) {
        const TField& from = master->FieldByName(masterNames[i]);
        const auto value = convertForDetail(
            from.AsValue(), from.Def(), file.fields()[static_cast<std::size_t>(rangeFields_[i])]);
        if (!value)
            return;
        values[static_cast<std::size_t>(rangeFields_[i])] = *value;
    }
    rangeKey_.assign(static_cast<std::size_t>(file.codec().recordSize()), 0);
    for (const int field : rangeFields_)
        file.codec().encode(values[static_cast<std::size_t>(field)], field, rangeKey_);
}

// --- the view ---------------------------------------------------------------------------------

Value TTable::viewValue(std::size_t row, int field) const {
    const TableFile& file = shared_->file();
    return file.codec().decode(rawOf(rows_[row]), field, file.blobs());
}

std::vector<std::uint8_t> TTable::viewIdentity(std::size_t row) const {
    const auto raw = rawOf(rows_[row]);
    return {raw.begin(), raw.begin() + static_cast<std::ptrdiff_t>(identitySize_)};
}

int TTable::compareRows(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b,
                        std::size_t orderFields) const {
    const TableFile& file = shared_->file();
    for (std::size_t i = 0; i < orderFields && i < order_.size(); ++i) {
        const OrderField& o = order_[i];
        const int c = file.compareField(a, b, o.field, o.caseInsensitive);
        if (c != 0)
            return o.descending ? -c : c;
    }
    return 0;
}

bool TTable::inRange(std::span<const std::uint8_t> raw) const {
    if (!rangeActive_)
        return true;
    if (rangeKey_.empty())
        return false;
    const TableFile& file = shared_->file();
    return std::all_of(rangeFields_.begin(), rangeFields_.end(),
                       [&](int field) { return file.compareField(raw, rangeKey_, field) == 0; });
}

bool TTable::inView(std::span<const std::uint8_t> raw) {
    if (!inRange(raw))
        return false;
    if (!filterActive())
        return true;
    const TableFile& file = shared_->file();
    return acceptRow([&](int field) { return file.codec().decode(raw, field, file.blobs()); });
}

// Where a row goes in the view: after every row that does not sort above it; rows of
// equal order stay in file order (a new row comes last among them).
std::size_t TTable::placeFor(std::span<const std::uint8_t> raw) const {
    const TableFile& file = shared_->file();
    const auto below = [&](const Row& row) {
        const int c = compareRows(rawOf(row), raw, order_.size());
        if (c != 0)
            return c < 0;
        return !file.keyed() || file.compareKeys(rawOf(row), raw, file.keyFields()) <= 0;
    };
    return static_cast<std::size_t>(std::partition_point(rows_.begin(), rows_.end(), below) -
                                    rows_.begin());
}

std::size_t TTable::rebuildView(const std::vector<std::uint8_t>& keep, std::size_t hint) {
    const TableFile& file = shared_->file();
    rows_.clear();
    data_.clear();
    recordSize_ = static_cast<std::size_t>(file.codec().recordSize());
    seen_ = shared_->version();
    // A view of every record, or of those a filter keeps, gets room for every record at
    // once: growing by doubling would copy it again and again, each time into memory the
    // system has to map afresh, and memory only becomes resident as rows are written into
    // it. (A detail view keeps a few rows of many, view after view: it grows.)
    if (!rangeActive_) {
        rows_.reserve(file.recordCount());
        data_.reserve(file.recordCount() * recordSize_);
    }
    file.scan([&](RecordPos pos, std::span<const std::uint8_t> raw) {
        if (inView(raw)) {
            rows_.push_back({data_.size(), pos});
            data_.insert(data_.end(), raw.begin(), raw.end());
        }
        return true;
    });
    sortView();
    if (rows_.empty())
        return 0;
    if (!keep.empty()) {
        for (std::size_t i = 0; i < rows_.size(); ++i)
            if (std::equal(keep.begin(), keep.end(), rawOf(rows_[i]).begin()))
                return i;
    }
    return std::min(hint, rows_.size() - 1);
}

// Puts the view, read in file order, into the current order; rows of equal order keep
// their file order. Each row's sort key is made once, so that the sort compares bytes.
void TTable::sortView() {
    const TableFile& file = shared_->file();
    const bool fileOrder = std::all_of(order_.begin(), order_.end(), [&](const OrderField& o) {
        return file.keyed() && o.field < file.keyFields() && !o.caseInsensitive && !o.descending &&
               o.field == static_cast<int>(&o - order_.data());
    });
    if (fileOrder)
        return;
    const bool descending =
        std::any_of(order_.begin(), order_.end(), [](const OrderField& o) { return o.descending; });
    if (descending) {
        std::stable_sort(rows_.begin(), rows_.end(), [&](const Row& a, const Row& b) {
            return compareRows(rawOf(a), rawOf(b), order_.size()) < 0;
        });
        return;
    }
    // Rows of one order share one value (a material code, a date): the rows are grouped
    // by the bytes of their order fields, each group's sort key is made once, and the
    // groups are sorted; the rows are then dealt out by their group's rank in file
    // order, so that no two rows are compared. Groups whose keys are equal (letters
    // that differ in case only, under a case-insensitive order) share one rank.
    const RecordCodec& codec = file.codec();
    KeyTable<std::uint32_t> groupOf;
    std::vector<std::size_t> firstRow; // of each group
    std::vector<std::uint32_t> rowGroup(rows_.size());
    std::string bytes;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const auto raw = rawOf(rows_[i]);
        bytes.clear();
        for (const OrderField& o : order_) {
            const auto* from = raw.data() + codec.offset(o.field);
            bytes.append(
                reinterpret_cast<const char*>(from),
                static_cast<std::size_t>(codec.offset(o.field + 1) - codec.offset(o.field)));
        }
        const auto [group, added] =
            groupOf.try_emplace(bytes, static_cast<std::uint32_t>(firstRow.size()));
        if (added)
            firstRow.push_back(i);
        rowGroup[i] = group->second;
    }
    std::vector<std::string> keys(firstRow.size());
    for (std::size_t g = 0; g < keys.size(); ++g)
        for (const OrderField& o : order_)
            file.appendSortKey(rawOf(rows_[firstRow[g]]), o.field, o.caseInsensitive, keys[g]);
    std::vector<std::uint32_t> byKey(keys.size());
    for (std::uint32_t g = 0; g < byKey.size(); ++g)
        byKey[g] = g;
    std::sort(byKey.begin(), byKey.end(),
              [&](std::uint32_t a, std::uint32_t b) { return keys[a] < keys[b]; });
    std::vector<std::uint32_t> rank(keys.size());
    std::uint32_t ranks = 0;
    for (std::size_t k = 0; k < byKey.size(); ++k) {
        if (k > 0 && keys[byKey[k]] != keys[byKey[k - 1]])
            ++ranks;
        rank[byKey[k]] = ranks;
    }
    // Where the rows of each rank start in the sorted view.
    std::vector<std::size_t> next(keys.empty() ? 0 : ranks + 1, 0);
    for (const std::uint32_t g : rowGroup)
        ++next[rank[g]];
    std::size_t place = 0;
    for (std::size_t& n : next)
        place += std::exchange(n, place);
    std::vector<Row> sorted(rows_.size());
    for (std::size_t i = 0; i < rows_.size(); ++i)
        sorted[next[rank[rowGroup[i]]]++] = rows_[i];
    rows_ = std::move(sorted);
}

std::size_t TTable::synchronize(std::size_t current) {
    if (!shared_ || shared_->version() == seen_)
        return current;
    const auto keep = current < rows_.size() ? viewIdentity(current) : std::vector<std::uint8_t>{};
    return rebuildView(keep, current);
}

// --- writing ----------------------------------------------------------------------------------

RecordPos TTable::locate(const Row& row) const {
    const TableFile& file = shared_->file();
    if (file.keyed()) {
        if (auto pos = file.findRaw(rawOf(row)))
            return *pos;
        throw error("a sort időközben törölték");
    }
    try {
        const auto raw = rawOf(row);
        const auto there = file.readRaw(row.pos);
        if (std::equal(there.begin(), there.end(), raw.begin(), raw.end()))
            return row.pos;
    } catch (const DbError&) {
    }
    std::optional<RecordPos> found;
    const auto wanted = rawOf(row);
    file.scan([&](RecordPos pos, std::span<const std::uint8_t> raw) {
        if (std::equal(raw.begin(), raw.end(), wanted.begin(), wanted.end()))
            found = pos;
        return !found;
    });
    if (!found)
        throw error("a sort időközben törölték");
    return *found;
}

// Applies this cursor's own change to its view: the row at `removed` (npos: none) left,
// the raw row `added` (null: none) arrived. Falls back to a rebuild when other cursors
// wrote in between. Returns the cursor's new place.
std::size_t TTable::applyChange(std::size_t removed, const std::vector<std::uint8_t>* added,
                                RecordPos pos, std::size_t current) {
    constexpr auto none = static_cast<std::size_t>(-1);
    if (shared_->version() != seen_ + 1) {
        const auto keep =
            added ? std::vector<std::uint8_t>(
                        added->begin(), added->begin() + static_cast<std::ptrdiff_t>(identitySize_))
                  : std::vector<std::uint8_t>{};
        const std::size_t place = rebuildView(keep, current);
        if (!added || rows_.empty() ||
            !std::equal(keep.begin(), keep.end(), rawOf(rows_[place]).begin()))
            return std::min(current, rows_.empty() ? 0 : rows_.size() - 1);
        return place;
    }
    seen_ = shared_->version();
    if (removed != none)
        rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(removed));
    if (added && inView(*added)) {
        const std::size_t at = placeFor(*added);
        rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(at), Row{data_.size(), pos});
        data_.insert(data_.end(), added->begin(), added->end());
        return at;
    }
    // The row left the view: the cursor stands on the next row, or the last one.
    const std::size_t next = removed != none ? removed : current;
    return rows_.empty() ? 0 : std::min(next, rows_.size() - 1);
}

std::size_t TTable::writeRow(const Record& buffer, bool inserting, std::size_t current,
                             Record& written) {
    written = buffer;
    RecordPos pos;
    try {
        pos =
            inserting ? shared_->insert(written) : shared_->update(locate(rows_[current]), written);
    } catch (const DbError& e) {
        std::throw_with_nested(error(e.what()));
    }
    const auto raw = shared_->file().readRaw(pos);
    constexpr auto none = static_cast<std::size_t>(-1);
    return applyChange(inserting ? none : current, &raw, pos, current);
}

std::size_t TTable::deleteRow(std::size_t current) {
    try {
        shared_->remove(locate(rows_[current]));
    } catch (const DbError& e) {
        std::throw_with_nested(error(e.what()));
    }
    return applyChange(current, nullptr, {}, current);
}

// A new row of a detail table starts with its master's values in the bound fields.
void TTable::initNewRecord(Record& buffer) {
    if (!rangeActive_ || rangeKey_.empty())
        return;
    const TableFile& file = shared_->file();
    for (const int field : rangeFields_)
        buffer[static_cast<std::size_t>(field)] = file.codec().decode(rangeKey_, field);
}

// --- finding by key ---------------------------------------------------------------------------

std::vector<std::uint8_t> TTable::encodeKey(const std::vector<Value>& values) const {
    const TableFile& file = shared_->file();
    std::vector<std::uint8_t> key(static_cast<std::size_t>(file.codec().recordSize()), 0);
    for (std::size_t i = 0; i < values.size(); ++i) {
        const int field = order_[i].field;
        const FieldDef& def = file.fields()[static_cast<std::size_t>(field)];
        Value v = values[i];
        if (const auto* text = std::get_if<std::string>(&v); text && !isTextType(def.type))
            v = valueFromString(*text, def);
        else if (const auto* n = std::get_if<std::int32_t>(&v); n && def.type != FieldType::Short &&
                                                                def.type != FieldType::Long &&
                                                                def.type != FieldType::AutoInc)
            v = valueFromInteger(*n, def);
        file.codec().encode(v, field, key);
    }
    return key;
}

// The first row of the view whose first `fields` order fields equal the key's; npos when
// there is none.
std::size_t TTable::findFirst(const std::vector<std::uint8_t>& key, std::size_t fields) const {
    const auto it = std::partition_point(rows_.begin(), rows_.end(), [&](const Row& row) {
        return compareRows(rawOf(row), key, fields) < 0;
    });
    if (it == rows_.end() || compareRows(rawOf(*it), key, fields) != 0)
        return static_cast<std::size_t>(-1);
    return static_cast<std::size_t>(it - rows_.begin());
}

bool TTable::FindKey(const std::vector<Value>& values) {
    if (!Active())
        throw error("a tábla nincs megnyitva");
    Cancel();
    synchronize(current());
    if (values.empty() || values.size() > order_.size())
        throw error("a keresett kulcs nem illik az aktuális indexhez");
    const std::size_t row = findFirst(encodeKey(values), values.size());
    if (row == static_cast<std::size_t>(-1))
        return false;
    gotoRow(row);
    return true;
}

void TTable::SetKey() {
    if (order_.empty())
        throw error("a táblának nincs aktuális indexe");
    beginSetKey();
}

bool TTable::GotoKey() {
    Record buffer = takeKeyBuffer();
    std::vector<Value> values;
    for (const OrderField& o : order_) {
        const Value& v = buffer.at(static_cast<std::size_t>(o.field));
        if (isNull(v))
            break;
        values.push_back(v);
    }
    if (values.empty())
        return false;
    return FindKey(values);
}

void TTable::EmptyTable() {
    auto shared = shared_ ? shared_ : session_.open(tableName_);
    try {
        shared->empty();
    } catch (const DbError& e) {
        std::throw_with_nested(error(e.what()));
    }
    if (Active())
        Refresh();
}

} // namespace db
