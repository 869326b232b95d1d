#pragma once
// Lookup controls: a list made from the rows of a list source's data set, each row shown
// by its ListField and standing for its KeyField. Choosing a row writes its key into the
// bound field (DataSource, DataField) and puts the list data set's cursor on it; without a
// bound field the choice is kept as KeyValue.
//
//     TDBLookupComboBox sector;
//     sector.SetDataSource(&parcelSource);   // writes parcellak.Agazat
//     sector.SetDataField("Agazat");
//     sector.SetListSource(&cropSource);     // lists Magfajtak.Faj
//     sector.SetKeyField("Faj");
//     sector.SetListField("Faj");
//     sector.SetDropDownRows(12);

#include "platform/ui/db_link.h"

#include <QComboBox>
#include <QListWidget>
#include <functional>
#include <string>
#include <vector>

namespace ui {

// What both lookup controls share: the bound field, the list and the chosen key.
class LookupBinding {
public:
    using Callback = std::function<void()>;
    // itemsChanged: the list was read again; keyChanged: the current key may differ.
    LookupBinding(Callback itemsChanged, Callback keyChanged);

    void setDataSource(db::TDataSource* source) { field_.setSource(source); }
    db::TDataSource* dataSource() const { return field_.source(); }
    void setDataField(std::string name);
    const std::string& dataField() const { return field_.fieldName(); }
    db::TField* field() const { return field_.field(); }
    void setListSource(db::TDataSource* source) { list_.setSource(source); }
    db::TDataSource* listSource() const { return list_.source(); }
    void setKeyField(std::string name);
    const std::string& keyField() const { return keyField_; }
    // Empty: the key field is shown.
    void setListField(std::string name);
    const std::string& listField() const { return listField_; }
    void setReadOnly(bool readOnly) { readOnly_ = readOnly; }
    bool readOnly() const { return readOnly_; }

    int count() const { return static_cast<int>(items_.size()); }
    const std::string& text(int row) const { return items_.at(static_cast<std::size_t>(row)).text; }
    // The row of the current key, or -1.
    int current() const;
    db::Value keyValue() const;
    void setKeyValue(const db::Value& key);
    // The user chose a row: its key is written (or kept) and the list's cursor moves there.
    void choose(int row);

private:
    struct Item {
        std::string text;
        db::Value key;
        std::string keyText;
        db::TBookmark bookmark;
    };
    void listEvent(db::DataEvent event);
    void reload(bool open);
    bool bound() const { return !field_.fieldName().empty() && field_.dataSet(); }
    int find(const db::Value& key) const;
    void writeKey(const Item& item);

    Callback itemsChanged_;
    Callback keyChanged_;
    FieldDataLink field_;
    DataLink list_;
    std::string keyField_;
    std::string listField_;
    std::vector<Item> items_;
    db::Value key_; // the choice when no field is bound
    bool readOnly_ = false;
};

class TDBLookupComboBox : public QComboBox {
public:
    explicit TDBLookupComboBox(QWidget* parent = nullptr);

    void SetDataSource(db::TDataSource* source) { binding_.setDataSource(source); }
    db::TDataSource* DataSource() const { return binding_.dataSource(); }
    void SetDataField(std::string name) { binding_.setDataField(std::move(name)); }
    const std::string& DataField() const { return binding_.dataField(); }
    void SetListSource(db::TDataSource* source) { binding_.setListSource(source); }
    db::TDataSource* ListSource() const { return binding_.listSource(); }
    void SetKeyField(std::string name) { binding_.setKeyField(std::move(name)); }
    const std::string& KeyField() const { return binding_.keyField(); }
    void SetListField(std::string name) { binding_.setListField(std::move(name)); }
    const std::string& ListField() const { return binding_.listField(); }
    void SetDropDownRows(int rows) { setMaxVisibleItems(rows); }
    int DropDownRows() const { return maxVisibleItems(); }
    void SetReadOnly(bool readOnly) { binding_.setReadOnly(readOnly); }
    bool ReadOnly() const { return binding_.readOnly(); }
    db::Value KeyValue() const { return binding_.keyValue(); }
    void SetKeyValue(const db::Value& key) { binding_.setKeyValue(key); }
    std::string Text() const { return currentText().toStdString(); }
    // Chooses the row at a place of the list, as the user does.
    void Choose(int row);

    // After the user chose a row.
    std::function<void()> OnClick;

private:
    void fillItems();
    void showKey();

    LookupBinding binding_;
};

class TDBLookupListBox : public QListWidget {
public:
    explicit TDBLookupListBox(QWidget* parent = nullptr);

    void SetDataSource(db::TDataSource* source) { binding_.setDataSource(source); }
    db::TDataSource* DataSource() const { return binding_.dataSource(); }
    void SetDataField(std::string name) { binding_.setDataField(std::move(name)); }
    const std::string& DataField() const { return binding_.dataField(); }
    void SetListSource(db::TDataSource* source) { binding_.setListSource(source); }
    db::TDataSource* ListSource() const { return binding_.listSource(); }
    void SetKeyField(std::string name) { binding_.setKeyField(std::move(name)); }
    const std::string& KeyField() const { return binding_.keyField(); }
    void SetListField(std::string name) { binding_.setListField(std::move(name)); }
    const std::string& ListField() const { return binding_.listField(); }
    void SetReadOnly(bool readOnly) { binding_.setReadOnly(readOnly); }
    bool ReadOnly() const { return binding_.readOnly(); }
    db::Value KeyValue() const { return binding_.keyValue(); }
    void SetKeyValue(const db::Value& key) { binding_.setKeyValue(key); }
    std::string SelectedText() const;
    void Choose(int row);

    std::function<void()> OnClick;

private:
    void fillItems();
    void showKey();

    LookupBinding binding_;
    int showing_ = 0;
};

} // namespace ui
