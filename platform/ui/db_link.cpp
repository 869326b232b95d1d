#include "platform/ui/db_link.h"

#include "platform/db/field_value.h"

#include <utility>

namespace ui {

DataLink::DataLink(Handler handler) : handler_(std::move(handler)) {}

DataLink::~DataLink() {
    attach(nullptr);
}

void DataLink::attach(db::TDataSet* dataSet) {
    if (dataSet_ == dataSet)
        return;
    if (dataSet_)
        dataSet_->removeObserver(this);
    dataSet_ = dataSet;
    closing_ = false;
    if (dataSet_)
        dataSet_->addObserver(this);
}

void DataLink::setSource(db::TDataSource* source) {
    source_ = source;
    attach(source ? source->DataSet() : nullptr);
    if (handler_)
        handler_(db::DataEvent::Opened); // the control shows what the new source has
}

void DataLink::dataSetEvent(db::TDataSet& dataSet, db::DataEvent event) {
    if (&dataSet != dataSet_)
        return;
    if (event == db::DataEvent::Closing || event == db::DataEvent::Opened)
        closing_ = event == db::DataEvent::Closing;
    if (event == db::DataEvent::Destroying) {
        dataSet_->removeObserver(this);
        dataSet_ = nullptr;
    }
    if (handler_)
        handler_(event);
}

db::TField* FieldDataLink::field() const {
    return link_.active() ? link_.dataSet()->FindField(fieldName_) : nullptr;
}

std::string FieldDataLink::text() const {
    const db::TField* f = field();
    return f ? f->AsString() : std::string();
}

bool FieldDataLink::editing() const {
    const db::TDataSet* ds = link_.dataSet();
    return ds && (ds->State() == db::DataSetState::Edit || ds->State() == db::DataSetState::Insert);
}

bool FieldDataLink::canModify() const {
    const db::TField* f = field();
    return f && !f->Calculated() && !link_.dataSet()->ReadOnly();
}

void FieldDataLink::edit() {
    db::TDataSet* ds = link_.dataSet();
    if (!ds)
        throw db::DatabaseError("a vezérlőnek nincs adathalmaza");
    if (!editing())
        ds->Edit();
}

void FieldDataLink::write(std::string_view text) {
    edit();
    if (db::TField* f = field())
        f->SetAsString(text);
}

void FieldDataLink::writeValue(db::Value value) {
    edit();
    if (db::TField* f = field())
        f->SetAsValue(std::move(value));
}

std::string rowText(db::TDataSet& dataSet, std::size_t row, int field) {
    return db::valueAsString(dataSet.rowValue(row, field), dataSet.Fields(field).Def());
}

} // namespace ui
