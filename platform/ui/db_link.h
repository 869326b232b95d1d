#pragma once
// The binding of a data-aware control to a data source: a DataLink follows the data set
// of a TDataSource (it registers as the data set's observer and lets go of it when the
// data set is destroyed), a FieldDataLink adds one field of it. The controls of
// db_controls.h, db_grid.h and db_lookup.h build on these.
//
// The data set a link follows is the one its source held when the source was set; a form
// that gives the source another data set sets the source on its controls again.

#include "platform/db/dataset.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace ui {

class DataLink final : public db::DataSetObserver {
public:
    using Handler = std::function<void(db::DataEvent)>;

    explicit DataLink(Handler handler);
    ~DataLink() override;
    DataLink(const DataLink&) = delete;
    DataLink& operator=(const DataLink&) = delete;

    void setSource(db::TDataSource* source);
    db::TDataSource* source() const { return source_; }
    // The data set followed; null when unbound or after it was destroyed.
    db::TDataSet* dataSet() const { return dataSet_; }
    // An open data set (not one that is closing).
    bool active() const { return dataSet_ && !closing_ && dataSet_->Active(); }

    void dataSetEvent(db::TDataSet& dataSet, db::DataEvent event) override;

private:
    void attach(db::TDataSet* dataSet);

    Handler handler_;
    db::TDataSource* source_ = nullptr;
    db::TDataSet* dataSet_ = nullptr;
    bool closing_ = false;
};

// One field of a link's data set, found by name each time (the fields are made anew
// when the data set opens).
class FieldDataLink {
public:
    explicit FieldDataLink(DataLink::Handler handler) : link_(std::move(handler)) {}

    void setSource(db::TDataSource* source) { link_.setSource(source); }
    db::TDataSource* source() const { return link_.source(); }
    db::TDataSet* dataSet() const { return link_.dataSet(); }
    void setFieldName(std::string name) { fieldName_ = std::move(name); }
    const std::string& fieldName() const { return fieldName_; }

    // The bound field of the open data set, or null.
    db::TField* field() const;
    // The field's text; empty when there is no field.
    std::string text() const;
    bool editing() const;
    // Whether the field can be written (an open, writable data set with the field).
    bool canModify() const;
    // Puts the data set into Edit (Insert on an empty one) unless it already edits.
    void edit();
    // Edits and writes the text (throws the data set's or the conversion's error).
    void write(std::string_view text);
    void writeValue(db::Value value);

private:
    DataLink link_;
    std::string fieldName_;
};

// The text of a view row's field as the field shows it (the current row in Edit state:
// the edit buffer).
std::string rowText(db::TDataSet& dataSet, std::size_t row, int field);

} // namespace ui
