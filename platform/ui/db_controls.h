#pragma once
// Controls bound to one field of a data source's data set: they show the field of the
// current row and follow the cursor; what the user enters puts the data set into Edit and
// is written into the field (an edit box: on Enter, when it loses the focus, or when the
// row is posted). Like every control they are created on their form or panel:
//
//     DBEdit1 = new TDBEdit(this);
//     DBEdit1->SetDataSource(DataSource1);
//     DBEdit1->SetDataField("Agazat");
//     DBCheckBox1 = new TDBCheckBox(this);
//     DBCheckBox1->SetDataSource(DataSource1);
//     DBCheckBox1->SetDataField("Aktiv");
//     DBCheckBox1->SetValueChecked("A");
//     DBCheckBox1->SetValueUnchecked("N");
//
// A value the field refuses (a conversion error, a read-only data set) goes to the
// application's error display when the user entered it, and the typed text stays for the
// user to correct; from code (UpdateRecord, SetChecked, a Post that asks for the typed
// text) it is thrown to the caller.

#include "platform/ui/control.h"
#include "platform/ui/db_link.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <string>
#include <vector>

namespace ui {

// What every control bound to one field offers: its data source and field. The control
// shows the field again whenever the data set tells of a change.
class TDBFieldControl : public TControl {
public:
    void SetDataSource(db::TDataSource* source) { link_.setSource(source); }
    db::TDataSource* DataSource() const { return link_.source(); }
    void SetDataField(std::string name);
    const std::string& DataField() const { return link_.fieldName(); }
    db::TField* Field() const { return link_.field(); }

protected:
    explicit TDBFieldControl(QWidget& widget);
    virtual void dataSetEvent(db::DataEvent) { showField(); }
    virtual void showField() = 0;

    FieldDataLink link_;
};

// A field control the user types text into: the first key puts the data set into Edit;
// the text is written on UpdateRecord (which the data set asks for before it posts) and
// dropped when the row, the state or the data set changes; Esc takes it back.
class TDBTypedControl : public TDBFieldControl {
public:
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly);
    // Whether the control holds typed text not yet written into the field.
    bool Modified() const { return modified_; }
    // Writes the typed text into the field.
    void UpdateRecord();

protected:
    using TDBFieldControl::TDBFieldControl;
    // The text the control holds.
    virtual std::string typedText() const = 0;
    void dataSetEvent(db::DataEvent event) override;
    bool writable() const { return !readOnly_ && link_.canModify(); }
    // The user typed: the text is kept and the data set edits.
    void typed();
    // The user leaves the control or presses Enter: the text is written.
    void userUpdate();
    // The user takes the text back.
    void revert();

private:
    bool readOnly_ = false;
    bool modified_ = false;
};

class TDBEdit : public QLineEdit, public TDBTypedControl {
public:
    explicit TDBEdit(QWidget* parent = nullptr);
    std::string Text() const { return text().toStdString(); }
    // At most this many characters can be typed into a field that is not text; 0 (the
    // default): no limit. A text field takes its width whatever is set here.
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int length);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    std::string typedText() const override { return Text(); }
    void showField() override;
    void applyMaxLength(int shownLength);
    int maxLength_ = 0;
};

class TDBText : public QLabel, public TDBFieldControl {
public:
    explicit TDBText(QWidget* parent = nullptr);
    std::string Caption() const { return text().toStdString(); }

private:
    void showField() override;
};

// Checked when the field's text equals ValueChecked (without regard to case); a click
// writes ValueChecked or ValueUnchecked ("True"/"False" unless set; "A"/"N" and the like
// for text fields).
class TDBCheckBox : public QCheckBox, public TDBFieldControl {
public:
    explicit TDBCheckBox(QWidget* parent = nullptr);

    const std::string& ValueChecked() const { return valueChecked_; }
    void SetValueChecked(std::string value);
    const std::string& ValueUnchecked() const { return valueUnchecked_; }
    void SetValueUnchecked(std::string value);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly);
    bool Checked() const { return isChecked(); }
    // As a click: writes the field.
    void SetChecked(bool checked);
    // After the user clicked the box (and the field was written).
    TNotifyEvent OnClick;

protected:
    void nextCheckState() override;

private:
    void showField() override;

    std::string valueChecked_ = "True";
    std::string valueUnchecked_ = "False";
    bool readOnly_ = false;
};

// A combo box whose text is the field's: choosing an item (or typing, when editable,
// and leaving the box) writes the text.
class TDBComboBox : public QComboBox, public TDBTypedControl {
public:
    explicit TDBComboBox(QWidget* parent = nullptr);

    // The list: Items().
    void SetItems(const std::vector<std::string>& items);
    std::vector<std::string> Items() const;
    // Free text (csDropDown) or a choice from the list only (csDropDownList).
    void SetStyleDropDownList(bool listOnly);
    std::string Text() const { return currentText().toStdString(); }
    // After the user chose an item (and the field was written).
    TNotifyEvent OnClick;

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    std::string typedText() const override { return Text(); }
    void showField() override;
    void chosen();

    int showing_ = 0;
};

} // namespace ui
