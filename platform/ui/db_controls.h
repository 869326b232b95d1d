#pragma once
// Controls bound to one field of a data source's data set: they show the field of the
// current row and follow the cursor; what the user enters puts the data set into Edit and
// is written into the field (an edit box: on Enter, when it loses the focus, or when the
// row is posted).
//
//     TDBEdit name;
//     name.SetDataSource(&source);
//     name.SetDataField("Agazat");
//     TDBCheckBox active;
//     active.SetDataSource(&source);
//     active.SetDataField("Aktiv");
//     active.SetValueChecked("A");
//     active.SetValueUnchecked("N");
//
// A value the field refuses (a conversion error, a read-only data set) is thrown from the
// Qt event that wrote it, for the application's error display.

#include "platform/ui/db_link.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <string>
#include <vector>

namespace ui {

class TDBEdit : public QLineEdit {
public:
    explicit TDBEdit(QWidget* parent = nullptr);

    void SetDataSource(db::TDataSource* source);
    db::TDataSource* DataSource() const { return link_.source(); }
    void SetDataField(std::string name);
    const std::string& DataField() const { return link_.fieldName(); }
    db::TField* Field() const { return link_.field(); }
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly);
    std::string Text() const { return text().toStdString(); }
    // Whether the box holds typed text not yet written into the field.
    bool Modified() const { return modified_; }
    // Writes the typed text into the field (UpdateRecord).
    void UpdateRecord();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void dataSetEvent(db::DataEvent event);
    void showField();
    void typed();

    FieldDataLink link_;
    bool readOnly_ = false;
    bool modified_ = false;
};

class TDBText : public QLabel {
public:
    explicit TDBText(QWidget* parent = nullptr);

    void SetDataSource(db::TDataSource* source);
    db::TDataSource* DataSource() const { return link_.source(); }
    void SetDataField(std::string name);
    const std::string& DataField() const { return link_.fieldName(); }
    db::TField* Field() const { return link_.field(); }
    std::string Caption() const { return text().toStdString(); }

private:
    void showField();

    FieldDataLink link_;
};

// Checked when the field's text equals ValueChecked (without regard to case); a click
// writes ValueChecked or ValueUnchecked ("True"/"False" unless set; "A"/"N" and the like
// for text fields).
class TDBCheckBox : public QCheckBox {
public:
    explicit TDBCheckBox(QWidget* parent = nullptr);

    void SetDataSource(db::TDataSource* source);
    db::TDataSource* DataSource() const { return link_.source(); }
    void SetDataField(std::string name);
    const std::string& DataField() const { return link_.fieldName(); }
    db::TField* Field() const { return link_.field(); }
    const std::string& ValueChecked() const { return valueChecked_; }
    void SetValueChecked(std::string value);
    const std::string& ValueUnchecked() const { return valueUnchecked_; }
    void SetValueUnchecked(std::string value);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly);
    bool Checked() const { return isChecked(); }
    // As a click: writes the field.
    void SetChecked(bool checked);

protected:
    void nextCheckState() override;

private:
    void showField();

    FieldDataLink link_;
    std::string valueChecked_ = "True";
    std::string valueUnchecked_ = "False";
    bool readOnly_ = false;
};

// A combo box whose text is the field's: choosing an item (or typing, when editable,
// and leaving the box) writes the text.
class TDBComboBox : public QComboBox {
public:
    explicit TDBComboBox(QWidget* parent = nullptr);

    void SetDataSource(db::TDataSource* source);
    db::TDataSource* DataSource() const { return link_.source(); }
    void SetDataField(std::string name);
    const std::string& DataField() const { return link_.fieldName(); }
    db::TField* Field() const { return link_.field(); }
    // The list: Items().
    void SetItems(const std::vector<std::string>& items);
    std::vector<std::string> Items() const;
    // Free text (csDropDown) or a choice from the list only (csDropDownList).
    void SetStyleDropDownList(bool listOnly);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly);
    std::string Text() const { return currentText().toStdString(); }
    // Writes the shown text into the field.
    void UpdateRecord();

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    void dataSetEvent(db::DataEvent event);
    void showField();
    void chosen();

    FieldDataLink link_;
    bool readOnly_ = false;
    bool modified_ = false;
    int showing_ = 0;
};

} // namespace ui
