#pragma once
// Lookup controls: a list made from the rows of a list source's data set, each row shown
// by its ListField and standing for its KeyField. Choosing a row writes its key into the
// bound field (DataSource, DataField) and puts the list data set's cursor on it; without a
// bound field the choice is kept as KeyValue.
//
//     DBLookupComboBox1 = new TDBLookupComboBox(this);
//     DBLookupComboBox1->SetDataSource(DataSource1);  // writes parcellak.Agazat
//     DBLookupComboBox1->SetDataField("Agazat");
//     DBLookupComboBox1->SetListSource(DataSource2);  // lists Magfajtak.Faj
//     DBLookupComboBox1->SetKeyField("Faj");
//     DBLookupComboBox1->SetListField("Faj");
//     DBLookupComboBox1->SetDropDownRows(12);
//
// A choice the user makes runs guarded (an error writing the key goes to the error
// display); Choose from code throws to the caller.

#include "platform/ui/control.h"
#include "platform/ui/db_link.h"

#include <QComboBox>
#include <QListWidget>
#include <functional>
#include <string>
#include <vector>

namespace ui {

// What both lookup controls share: the bound field, the list and the chosen key.
class TDBLookupControl : public TControl {
public:
    void SetDataSource(db::TDataSource* source) { field_.setSource(source); }
    db::TDataSource* DataSource() const { return field_.source(); }
    void SetDataField(std::string name);
    const std::string& DataField() const { return field_.fieldName(); }
    db::TField* Field() const { return field_.field(); }
    void SetListSource(db::TDataSource* source) { list_.setSource(source); }
    db::TDataSource* ListSource() const { return list_.source(); }
    void SetKeyField(std::string name);
    const std::string& KeyField() const { return keyField_; }
    // Empty: the key field is shown.
    void SetListField(std::string name);
    const std::string& ListField() const { return listField_; }
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
    bool ReadOnly() const { return readOnly_; }
    db::Value KeyValue() const;
    void SetKeyValue(const db::Value& key);
    // Chooses the row at a place of the list, as the user does: its key is written (or
    // kept) and the list's cursor moves there; then OnClick runs (also when the control
    // is read-only and nothing was written).
    void Choose(int row);

    // After a row was chosen.
    TNotifyEvent OnClick;

protected:
    explicit TDBLookupControl(QWidget& widget);
    // The list was read again; the current key may differ.
    virtual void fillItems() = 0;
    virtual void showKey() = 0;
    // The user chose a row.
    void userChoice(int row);

    int listCount() const { return static_cast<int>(items_.size()); }
    const std::string& listText(int row) const {
        return items_.at(static_cast<std::size_t>(row)).text;
    }
    // The row of the current key, or -1.
    int keyRow() const;

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
    void choose(int row);

    FieldDataLink field_;
    DataLink list_;
    std::string keyField_;
    std::string listField_;
    std::vector<Item> items_;
    db::Value key_; // the choice when no field is bound
    bool readOnly_ = false;
};

class TDBLookupComboBox : public QComboBox, public TDBLookupControl {
public:
    explicit TDBLookupComboBox(QWidget* parent = nullptr);

    void SetDropDownRows(int rows) { setMaxVisibleItems(rows); }
    int DropDownRows() const { return maxVisibleItems(); }
    std::string Text() const { return currentText().toStdString(); }

private:
    void fillItems() override;
    void showKey() override;
};

class TDBLookupListBox : public QListWidget, public TDBLookupControl {
public:
    explicit TDBLookupListBox(QWidget* parent = nullptr);

    std::string SelectedText() const;

private:
    void fillItems() override;
    void showKey() override;

    int showing_ = 0;
};

} // namespace ui
