#include "platform/db/sql/result_rows.h"

#include "platform/db/sql/kept_records.h"

#include <limits>
#include <stdexcept>
#include <type_traits>
#include <utility>

namespace db::sql {

namespace {

template <class T, std::size_t I = 0>
constexpr std::uint8_t kindOf() {
    if constexpr (std::is_same_v<std::variant_alternative_t<I, Value>, T>)
        return static_cast<std::uint8_t>(I);
    else
        return kindOf<T, I + 1>();
}

constexpr std::uint8_t kNone = 0;
constexpr std::uint8_t kText = kindOf<std::string>();
constexpr std::uint8_t kWhole = kindOf<std::int32_t>();
constexpr std::uint8_t kReal = kindOf<double>();
constexpr std::uint8_t kFlag = kindOf<bool>();
constexpr std::uint8_t kDate = kindOf<Date>();
constexpr std::uint8_t kTime = kindOf<Time>();
constexpr std::uint8_t kStamp = kindOf<Timestamp>();
constexpr std::uint8_t kDecimal = kindOf<Decimal>();
constexpr std::uint8_t kBytes = kindOf<Bytes>();
constexpr std::uint8_t kMixed = 255;
constexpr std::uint8_t kRecords = 254;

bool inWholes(std::uint8_t kind) {
    return kind == kWhole || kind == kFlag || kind == kDate || kind == kTime;
}
bool inReals(std::uint8_t kind) {
    return kind == kReal || kind == kStamp;
}
bool inBytes(std::uint8_t kind) {
    return kind == kText || kind == kDecimal || kind == kBytes;
}

} // namespace

// --- one column ---------------------------------------------------------------------------

std::string_view ResultRows::Column::bytesOf(std::size_t row) const {
    const std::uint32_t start = row ? ends[row - 1] : 0;
    return {bytes.data() + start, ends[row] - start};
}

Value ResultRows::Column::value(std::size_t row) const {
    if (isNull(row))
        return Null{};
    switch (kind) {
    case kText:
        return std::string(bytesOf(row));
    case kWhole:
        return wholes[row];
    case kFlag:
        return wholes[row] != 0;
    case kDate:
        return Date{wholes[row]};
    case kTime:
        return Time{wholes[row]};
    case kReal:
        return reals[row];
    case kStamp:
        return Timestamp{reals[row]};
    case kDecimal:
        return Decimal{std::string(bytesOf(row))};
    case kBytes: {
        const std::string_view b = bytesOf(row);
        return Bytes(b.begin(), b.end());
    }
    default:
        return values[row];
    }
}

void ResultRows::Column::addNull() {
    if (count % 64 == 0)
        nulls.push_back(0);
    nulls.back() |= std::uint64_t{1} << (count % 64);
    if (inWholes(kind))
        wholes.push_back(0);
    else if (inReals(kind))
        reals.push_back(0);
    else if (inBytes(kind))
        ends.push_back(count ? ends.back() : 0);
    else if (kind == kMixed)
        values.emplace_back();
    ++count;
}

// The first value that is not NULL sets the column's kind; the rows before are NULL.
void ResultRows::Column::startKind(std::uint8_t k) {
    kind = k;
    if (inWholes(k))
        wholes.assign(count, 0);
    else if (inReals(k))
        reals.assign(count, 0);
    else if (inBytes(k))
        ends.assign(count, 0);
    else
        values.assign(count, Null{});
}

void ResultRows::Column::makeMixed() {
    std::vector<Value> all;
    all.reserve(count + 1);
    for (std::size_t row = 0; row < count; ++row)
        all.push_back(value(row));
    *this = {kMixed, count, std::move(nulls), {}, {}, {}, {}, std::move(all)};
}

void ResultRows::Column::addBytes(std::uint8_t k, std::string_view data) {
    if (kind == kNone)
        startKind(k);
    if (kind == k && bytes.size() + data.size() > std::numeric_limits<std::uint32_t>::max())
        makeMixed(); // past what the ends can number
    if (kind != k) {
        if (kind != kMixed)
            makeMixed();
        add(k == kText      ? Value(std::string(data))
            : k == kDecimal ? Value(Decimal{std::string(data)})
                            : Value(Bytes(data.begin(), data.end())));
        return;
    }
    if (count % 64 == 0)
        nulls.push_back(0);
    bytes.append(data);
    ends.push_back(static_cast<std::uint32_t>(bytes.size()));
    ++count;
}

void ResultRows::Column::add(const Value& v) {
    const auto k = static_cast<std::uint8_t>(v.index());
    if (k == kNone) {
        addNull();
        return;
    }
    if (kind != kMixed) {
        if (const auto* s = std::get_if<std::string>(&v))
            return addBytes(k, *s);
        if (const auto* d = std::get_if<Decimal>(&v))
            return addBytes(k, d->text);
        if (const auto* b = std::get_if<Bytes>(&v))
            return addBytes(k, {reinterpret_cast<const char*>(b->data()), b->size()});
        if (kind == kNone)
            startKind(k);
        else if (kind != k)
            makeMixed();
    }
    if (count % 64 == 0)
        nulls.push_back(0);
    switch (kind) {
    case kWhole:
        wholes.push_back(std::get<std::int32_t>(v));
        break;
    case kFlag:
        wholes.push_back(std::get<bool>(v) ? 1 : 0);
        break;
    case kDate:
        wholes.push_back(std::get<Date>(v).days);
        break;
    case kTime:
        wholes.push_back(std::get<Time>(v).ms);
        break;
    case kReal:
        reals.push_back(std::get<double>(v));
        break;
    case kStamp:
        reals.push_back(std::get<Timestamp>(v).ms);
        break;
    default:
        values.push_back(v);
        break;
    }
    ++count;
}

ResultRows::Column ResultRows::Column::gathered(const std::vector<std::uint32_t>& order) const {
    if (kind == kRecords)
        return *this; // its values follow the rows' record numbers
    Column g;
    g.kind = kind;
    g.count = order.size();
    g.nulls.assign((order.size() + 63) / 64, 0);
    for (std::size_t row = 0; row < order.size(); ++row)
        if (isNull(order[row]))
            g.nulls[row / 64] |= std::uint64_t{1} << (row % 64);
    if (inWholes(kind)) {
        g.wholes.reserve(order.size());
        for (const std::uint32_t from : order)
            g.wholes.push_back(wholes[from]);
    } else if (inReals(kind)) {
        g.reals.reserve(order.size());
        for (const std::uint32_t from : order)
            g.reals.push_back(reals[from]);
    } else if (inBytes(kind)) {
        g.ends.reserve(order.size());
        std::size_t total = 0;
        for (const std::uint32_t from : order)
            total += bytesOf(from).size();
        g.bytes.reserve(total);
        for (const std::uint32_t from : order) {
            g.bytes.append(bytesOf(from));
            g.ends.push_back(static_cast<std::uint32_t>(g.bytes.size()));
        }
    } else if (kind == kMixed) {
        g.values.reserve(order.size());
        for (const std::uint32_t from : order)
            g.values.push_back(values[from]);
    }
    return g;
}

// --- the rows -------------------------------------------------------------------------------

ResultRows::ResultRows(std::size_t width) : columns_(width) {}

Value ResultRows::fromRecord(std::size_t row, const Column& c) const {
    const std::uint32_t record = recordOf(row, c);
    if (record == kNoRecord)
        return Null{};
    if (!kept_)
        throw std::logic_error("a column's records read before they were given");
    return kept_->at(c.source).value(record, c.field);
}

Value ResultRows::value(std::size_t row, std::size_t column) const {
    const Column& c = columns_[column];
    return c.kind == kRecords ? fromRecord(row, c) : c.value(row);
}

bool ResultRows::isNull(std::size_t row, std::size_t column) const {
    const Column& c = columns_[column];
    return c.kind == kRecords ? db::isNull(fromRecord(row, c)) : c.isNull(row);
}

bool ResultRows::isBlank(std::size_t row, std::size_t column) const {
    const Column& c = columns_[column];
    if (c.kind == kRecords) {
        const Value v = fromRecord(row, c);
        const auto* s = std::get_if<std::string>(&v);
        return db::isNull(v) || (s && s->empty());
    }
    if (c.isNull(row))
        return true;
    if (c.kind == kText)
        return c.bytesOf(row).empty();
    if (c.kind == kMixed)
        if (const auto* s = std::get_if<std::string>(&c.values[row]))
            return s->empty();
    return false;
}

std::optional<double> ResultRows::number(std::size_t row, std::size_t column) const {
    const Column& c = columns_[column];
    if (c.kind == kRecords) {
        const Value v = fromRecord(row, c);
        const auto k = static_cast<std::uint8_t>(v.index());
        if (k == kWhole)
            return std::get<std::int32_t>(v);
        if (k == kDate)
            return std::get<Date>(v).days;
        if (k == kTime)
            return std::get<Time>(v).ms;
        if (k == kReal)
            return std::get<double>(v);
        if (k == kStamp)
            return std::get<Timestamp>(v).ms;
        return std::nullopt;
    }
    if (c.isNull(row) || c.kind == kFlag)
        return std::nullopt;
    if (inWholes(c.kind))
        return c.wholes[row];
    if (inReals(c.kind))
        return c.reals[row];
    return std::nullopt;
}

std::optional<std::string_view> ResultRows::text(std::size_t row, std::size_t column) const {
    const Column& c = columns_[column];
    if (c.kind == kRecords || c.isNull(row))
        return std::nullopt;
    if (c.kind == kText)
        return c.bytesOf(row);
    if (c.kind == kMixed)
        if (const auto* s = std::get_if<std::string>(&c.values[row]))
            return *s;
    return std::nullopt;
}

Record ResultRows::operator[](std::size_t row) const {
    Record r;
    r.reserve(columns_.size());
    for (std::size_t column = 0; column < columns_.size(); ++column)
        r.push_back(value(row, column));
    return r;
}

Record ResultRows::at(std::size_t row) const {
    if (row >= size())
        throw std::out_of_range("result row " + std::to_string(row) + " of " +
                                std::to_string(size()));
    return (*this)[row];
}

void ResultRows::readFromRecords(std::size_t column, std::size_t source, int field) {
    if (rows_ != 0 || column_ != 0 || field < 0)
        throw std::logic_error("a column read from records declared with rows in");
    Column& c = columns_.at(column);
    c = Column{};
    c.kind = kRecords;
    fromRecords_ = true;
    c.source = source;
    c.field = field;
}

bool ResultRows::readsRecords(std::size_t column) const {
    return columns_[column].kind == kRecords;
}

void ResultRows::setRecords(std::shared_ptr<const std::vector<KeptRecords>> sources) {
    for (const Column& c : columns_)
        if (c.kind == kRecords && (!sources || c.source >= sources->size()))
            throw std::logic_error("a column's records not given");
    kept_ = std::move(sources);
}

void ResultRows::addRecords(std::span<const std::uint32_t> records) {
    if (column_ != 0)
        throw std::logic_error("record numbers given in the middle of a row");
    if (records_.empty()) {
        for (const Column& c : columns_)
            if (c.kind == kRecords && c.source >= records.size())
                throw std::logic_error("a row without the record of a column");
        sources_ = records.size();
    } else if (records.size() != sources_) {
        throw std::logic_error("rows giving different numbers of records");
    }
    records_.insert(records_.end(), records.begin(), records.end());
    endRow();
}

// Past the columns that read from records; at the end of the columns the row is whole.
void ResultRows::endRow() {
    while (column_ < columns_.size() && columns_[column_].kind == kRecords)
        ++column_;
    if (column_ == columns_.size()) {
        column_ = 0;
        ++rows_;
    }
}

ResultRows::Column& ResultRows::next() {
    if (columns_.empty())
        throw std::logic_error("a value added to rows without columns");
    if (column_ == 0 && fromRecords_ &&
        (sources_ == 0 || records_.size() != (rows_ + 1) * sources_))
        throw std::logic_error("a row's values before its record numbers");
    Column& c = columns_[column_++]; // endRow left it past the columns read from records
    endRow();
    return c;
}

void ResultRows::append(const Value& v) {
    next().add(v);
}

void ResultRows::appendText(std::string_view text) {
    Column& c = next();
    if (c.kind == kMixed)
        c.add(std::string(text));
    else
        c.addBytes(kText, text);
}

void ResultRows::appendNull() {
    next().addNull();
}

void ResultRows::push_back(const Record& row) {
    if (columns_.empty() && rows_ == 0)
        columns_.resize(row.size());
    if (row.size() != columns_.size() || column_ != 0)
        throw std::invalid_argument("a result row of " + std::to_string(row.size()) +
                                    " values in rows of " + std::to_string(columns_.size()));
    for (const Value& v : row)
        append(v);
}

void ResultRows::reserve(std::size_t rows) {
    for (Column& c : columns_)
        c.nulls.reserve((rows + 63) / 64);
}

void ResultRows::clear() {
    for (Column& c : columns_)
        if (c.kind != kRecords)
            c = Column{};
    rows_ = 0;
    column_ = 0;
    records_.clear();
}

void ResultRows::arrange(const std::vector<std::uint32_t>& order) {
    if (column_ != 0)
        throw std::logic_error("rows arranged in the middle of a row");
    for (Column& c : columns_)
        c = c.gathered(order);
    if (sources_ != 0) {
        std::vector<std::uint32_t> records;
        records.reserve(order.size() * sources_);
        for (const std::uint32_t from : order)
            records.insert(records.end(),
                           records_.begin() + static_cast<std::ptrdiff_t>(from * sources_),
                           records_.begin() + static_cast<std::ptrdiff_t>((from + 1) * sources_));
        records_ = std::move(records);
    }
    rows_ = order.size();
}

ResultRows::operator std::vector<Record>() const {
    return {begin(), end()};
}

bool operator==(const ResultRows& a, const ResultRows& b) {
    if (a.size() != b.size() || a.width() != b.width())
        return a.empty() && b.empty();
    for (std::size_t row = 0; row < a.size(); ++row)
        for (std::size_t column = 0; column < a.width(); ++column)
            if (a.value(row, column) != b.value(row, column))
                return false;
    return true;
}

bool operator==(const ResultRows& a, const std::vector<Record>& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t row = 0; row < b.size(); ++row)
        if (a[row] != b[row])
            return false;
    return true;
}

} // namespace db::sql
