#pragma once
// The rows of a SELECT's result, kept compactly: column by column in typed arrays (the
// texts, decimals and bytes of a column in one buffer with the end of each value), NULLs
// as bits, each value decoded when it is read. No heap object is made per value. A
// column whose values are not all of one kind keeps them as values.
//
// A column that is a table's field may instead read it from that table's records, kept
// as the run read them: each row then holds, per table, the number of its record there,
// and the field is decoded from the record when the value is read. A wide SELECT * thus
// costs a copy of the records it joins, not a decode of every field of every row.

#include "platform/db/field.h" // before value.h: its Bytes type is named in FieldType too
#include "platform/db/value.h"

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace db::sql {

class KeptRecords; // kept_records.h

class ResultRows {
public:
    using value_type = Record;

    ResultRows() = default;
    explicit ResultRows(std::size_t width);

    std::size_t width() const { return columns_.size(); }
    std::size_t size() const { return rows_; }
    bool empty() const { return size() == 0; }

    // Row `row` of column `column`.
    Value value(std::size_t row, std::size_t column) const;
    bool isNull(std::size_t row, std::size_t column) const;
    // NULL or an empty text.
    bool isBlank(std::size_t row, std::size_t column) const;
    // A whole number, number, date, time or timestamp as a number, where the column holds
    // values of one of these kinds alone (so that two of its numbers compare as the
    // values do); nullopt for NULL and any other.
    std::optional<double> number(std::size_t row, std::size_t column) const;
    // A text value as it is kept (valid until the rows change); nullopt for any other,
    // and for a column read from records (see value).
    std::optional<std::string_view> text(std::size_t row, std::size_t column) const;

    Record operator[](std::size_t row) const;
    Record at(std::size_t row) const; // std::out_of_range past the end
    Record front() const { return (*this)[0]; }
    Record back() const { return (*this)[size() - 1]; }

    // Column `column` reads field `field` of the records of source `source` (before any
    // row goes in; a field stored in the record, not in a blob file). Each row then
    // gives its record numbers with addRecords, and its values skip that column.
    void readFromRecords(std::size_t column, std::size_t source, int field);
    bool readsRecords(std::size_t column) const;
    // The records of the sources, once the rows are in; a row reads NULL in the columns
    // of a source where its record number is kNoRecord.
    void setRecords(std::shared_ptr<const std::vector<KeptRecords>> sources);
    static constexpr std::uint32_t kNoRecord = 0xFFFFFFFF;

    // Values go in row after row, a row's values in column order; a row of rows that
    // read from records gives their numbers (one per source) before its values.
    void addRecords(std::span<const std::uint32_t> records);
    void append(const Value& v);
    void appendText(std::string_view text);
    void appendNull();
    void push_back(const Record& row); // a whole row (its width is the rows' width)
    void reserve(std::size_t rows);
    // No rows; the width stays.
    void clear();
    // Keeps the rows `order` numbers, in that order (ORDER BY and DISTINCT sort and choose
    // row numbers, then move each column's values once, so that rows are read in the
    // order they are kept).
    void arrange(const std::vector<std::uint32_t>& order);

    class const_iterator {
    public:
        using iterator_category = std::input_iterator_tag;
        using value_type = Record;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = Record;

        const_iterator() = default;
        const_iterator(const ResultRows* rows, std::size_t row) : rows_(rows), row_(row) {}
        Record operator*() const { return (*rows_)[row_]; }
        const_iterator& operator++() {
            ++row_;
            return *this;
        }
        const_iterator operator++(int) {
            const_iterator before = *this;
            ++row_;
            return before;
        }
        bool operator==(const const_iterator& o) const { return row_ == o.row_; }

    private:
        const ResultRows* rows_ = nullptr;
        std::size_t row_ = 0;
    };
    using iterator = const_iterator;
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

    operator std::vector<Record>()
        const; // NOLINT(google-explicit-constructor): results read as records

    friend bool operator==(const ResultRows& a, const ResultRows& b);
    friend bool operator==(const ResultRows& a, const std::vector<Record>& b);

private:
    struct Column {
        std::uint8_t kind = 0; // the Value alternative of its values; 0 none yet, kMixed,
                               // kRecords: field `field` of the records of `source`
        std::size_t count = 0;
        std::vector<std::uint64_t> nulls; // one bit per row
        std::vector<std::int32_t> wholes; // int32, bool, Date, Time
        std::vector<double> reals;        // double, Timestamp
        std::vector<std::uint32_t> ends;  // text, Decimal, Bytes: where each row's ends
        std::string bytes;
        std::vector<Value> values; // kMixed
        std::size_t source = 0;
        int field = -1;

        Value value(std::size_t row) const;
        bool isNull(std::size_t row) const { return nulls[row / 64] >> (row % 64) & 1; }
        std::string_view bytesOf(std::size_t row) const;
        void addNull();
        void startKind(std::uint8_t kind);
        void makeMixed();
        void addBytes(std::uint8_t kind, std::string_view data);
        void add(const Value& v);
        Column gathered(const std::vector<std::uint32_t>& order) const;
    };

    Column& next();
    void endRow();
    std::uint32_t recordOf(std::size_t row, const Column& c) const {
        return records_[row * sources_ + c.source];
    }
    // The value of a column read from records.
    Value fromRecord(std::size_t row, const Column& c) const;

    std::vector<Column> columns_;
    std::size_t rows_ = 0;     // complete rows added
    std::size_t column_ = 0;   // the column the next value goes to
    bool fromRecords_ = false; // some column reads from records
    std::size_t sources_ = 0;
    std::vector<std::uint32_t> records_; // per row, its record number in each source
    std::shared_ptr<const std::vector<KeptRecords>> kept_; // shared by copies of the rows
};

} // namespace db::sql
