#pragma once
// TTable: a data set over one table of the working directory, in the order of its
// primary key, a named secondary index or a list of fields, optionally narrowed by a
// filter and by a master data set.

#include "dataset.h"
#include "session.h"

#include <memory>
#include <string>
#include <vector>

namespace db {

class TTable : public TDataSet {
public:
    explicit TTable(Session& session, std::string name = "Table1");
    ~TTable() override;

    // "Raktarmozgas", "Tervrmozgas.db", "tablak.DB": set while closed.
    const std::string& TableName() const { return tableName_; }
    void SetTableName(std::string name);
    bool Exists() const;

    // The order: a named secondary index, or fields ("Evj;Parcsor"); setting one
    // clears the other; both may change while open.
    const std::string& IndexName() const { return indexName_; }
    void SetIndexName(std::string name);
    const std::string& IndexFieldNames() const { return indexFieldNames_; }
    void SetIndexFieldNames(std::string names);

    // Master-detail: the rows whose order fields (or, without enough of them, the fields
    // named like the master's) equal the master's MasterFields ("Parckod;Evj").
    TDataSource* MasterSource() const { return masterSource_; }
    void SetMasterSource(TDataSource* source);
    const std::string& MasterFields() const { return masterFields_; }
    void SetMasterFields(std::string fields);

    // Finds by the fields of the current order.
    bool FindKey(const std::vector<Value>& values);
    void SetKey();
    bool GotoKey();

    // Removes every row of the table (open or closed).
    void EmptyTable();
    // Every post and delete already reached the operating system when it returned.
    void FlushBuffers() {}

    SharedTable* shared() { return shared_.get(); }

protected:
    std::vector<FieldDef> openSource() override;
    void closeSource() override;
    std::size_t viewSize() const override { return rows_.size(); }
    Value viewValue(std::size_t row, int field) const override;
    std::vector<std::uint8_t> viewIdentity(std::size_t row) const override;
    std::size_t rebuildView(const std::vector<std::uint8_t>& keep, std::size_t hint) override;
    std::size_t synchronize(std::size_t current) override;
    std::size_t writeRow(const Record& buffer, bool inserting, std::size_t current,
                         Record& written) override;
    std::size_t deleteRow(std::size_t current) override;
    void initNewRecord(Record& buffer) override;

private:
    struct Row {
        std::size_t offset = 0; // of its raw bytes in data_
        RecordPos pos;          // where it was read; checked before use
    };
    struct OrderField {
        int field = 0;
        bool caseInsensitive = false;
        bool descending = false;
    };
    class MasterLink;

    void resolveOrder();
    int compareRows(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b,
                    std::size_t orderFields) const;
    bool inView(std::span<const std::uint8_t> raw);
    bool inRange(std::span<const std::uint8_t> raw) const;
    void resolveRange();
    std::size_t placeFor(std::span<const std::uint8_t> raw) const;
    RecordPos locate(const Row& row) const;
    std::vector<std::uint8_t> encodeKey(const std::vector<Value>& values) const;
    std::size_t findFirst(const std::vector<std::uint8_t>& key, std::size_t fields) const;
    std::size_t applyChange(std::size_t removed, const std::vector<std::uint8_t>* added,
                            RecordPos pos, std::size_t current);
    void reorder();
    void sortView();
    void masterChanged();

    Session& session_;
    std::shared_ptr<SharedTable> shared_;
    std::string tableName_;
    std::string indexName_;
    std::string indexFieldNames_;
    TDataSource* masterSource_ = nullptr;
    TDataSet* master_ = nullptr; // the source's data set when it was linked
    std::string masterFields_;
    std::unique_ptr<MasterLink> masterLink_;

    std::vector<Row> rows_;
    std::vector<std::uint8_t> data_; // the raw records of the view, one after another
    std::size_t recordSize_ = 0;
    std::span<const std::uint8_t> rawOf(const Row& row) const {
        return {data_.data() + row.offset, recordSize_};
    }
    std::uint64_t seen_ = 0;             // the table version the view reflects
    std::size_t identitySize_ = 0;       // bytes of a row that identify it
    std::vector<OrderField> order_;      // empty: file order (the primary key's)
    std::vector<int> rangeFields_;       // detail fields bound to the master
    std::vector<std::uint8_t> rangeKey_; // their wanted values, encoded
    bool rangeActive_ = false;
};

} // namespace db
