#include "platform/ui/db_controls.h"

#include "platform/sys/text.h"

#include <QKeyEvent>
#include <QSignalBlocker>

namespace ui {

namespace {

QString qtext(const std::string& text) {
    return QString::fromStdString(text);
}

bool isEnter(const QKeyEvent* event) {
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

// Whether an event means a new row, state or data set, which drops typed text.
bool dropsTypedText(db::DataEvent event, bool editing) {
    switch (event) {
    case db::DataEvent::FieldChanged:
    case db::DataEvent::UpdateRecord:
        return false;
    case db::DataEvent::StateChanged:
        return !editing;
    default:
        return true;
    }
}

} // namespace

// --- TDBEdit -------------------------------------------------------------------------------

TDBEdit::TDBEdit(QWidget* parent)
    : QLineEdit(parent), link_([this](db::DataEvent e) { dataSetEvent(e); }) {
    connect(this, &QLineEdit::textEdited, this, [this] { typed(); });
}

void TDBEdit::SetDataSource(db::TDataSource* source) {
    link_.setSource(source);
}

void TDBEdit::SetDataField(std::string name) {
    link_.setFieldName(std::move(name));
    modified_ = false;
    showField();
}

void TDBEdit::SetReadOnly(bool readOnly) {
    readOnly_ = readOnly;
    showField();
}

void TDBEdit::dataSetEvent(db::DataEvent event) {
    if (event == db::DataEvent::UpdateRecord) {
        UpdateRecord();
        return;
    }
    if (dropsTypedText(event, link_.editing()))
        modified_ = false;
    if (!modified_)
        showField();
}

void TDBEdit::showField() {
    const db::TField* field = link_.field();
    setText(qtext(link_.text()));
    setReadOnly(readOnly_ || !link_.canModify());
    const bool sized = field && field->DataType() == db::FieldType::Alpha;
    setMaxLength(sized ? field->Size() : 32767);
}

// The first key typed puts the data set into Edit; the text is written later.
void TDBEdit::typed() {
    modified_ = true;
    if (!link_.editing())
        link_.edit();
}

void TDBEdit::UpdateRecord() {
    if (!modified_)
        return;
    link_.write(Text());
    modified_ = false;
    showField();
}

void TDBEdit::keyPressEvent(QKeyEvent* event) {
    if (isEnter(event))
        UpdateRecord();
    if (event->key() == Qt::Key_Escape && modified_) {
        modified_ = false;
        showField();
    }
    QLineEdit::keyPressEvent(event);
}

void TDBEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    UpdateRecord();
}

// --- TDBText ---------------------------------------------------------------------------------

TDBText::TDBText(QWidget* parent) : QLabel(parent), link_([this](db::DataEvent) { showField(); }) {}

void TDBText::SetDataSource(db::TDataSource* source) {
    link_.setSource(source);
}

void TDBText::SetDataField(std::string name) {
    link_.setFieldName(std::move(name));
    showField();
}

void TDBText::showField() {
    setText(qtext(link_.text()));
}

// --- TDBCheckBox -------------------------------------------------------------------------------

TDBCheckBox::TDBCheckBox(QWidget* parent)
    : QCheckBox(parent), link_([this](db::DataEvent) { showField(); }) {}

void TDBCheckBox::SetDataSource(db::TDataSource* source) {
    link_.setSource(source);
}

void TDBCheckBox::SetDataField(std::string name) {
    link_.setFieldName(std::move(name));
    showField();
}

void TDBCheckBox::SetValueChecked(std::string value) {
    valueChecked_ = std::move(value);
    showField();
}

void TDBCheckBox::SetValueUnchecked(std::string value) {
    valueUnchecked_ = std::move(value);
    showField();
}

void TDBCheckBox::SetReadOnly(bool readOnly) {
    readOnly_ = readOnly;
}

void TDBCheckBox::showField() {
    const QSignalBlocker quiet(this);
    setChecked(link_.field() && sys::equalsNoCase(link_.text(), valueChecked_));
}

void TDBCheckBox::SetChecked(bool checked) {
    link_.write(checked ? valueChecked_ : valueUnchecked_);
    showField();
}

// A click writes the field; the box then shows what the field holds.
void TDBCheckBox::nextCheckState() {
    if (readOnly_ || !link_.canModify())
        return;
    SetChecked(!isChecked());
}

// --- TDBComboBox -------------------------------------------------------------------------------

TDBComboBox::TDBComboBox(QWidget* parent)
    : QComboBox(parent), link_([this](db::DataEvent e) { dataSetEvent(e); }) {
    setEditable(true);
    setInsertPolicy(NoInsert);
    connect(this, &QComboBox::activated, this, [this] { chosen(); });
    connect(this, &QComboBox::editTextChanged, this, [this] {
        if (!showing_ && !modified_) {
            modified_ = true;
            link_.edit();
        }
    });
}

void TDBComboBox::SetDataSource(db::TDataSource* source) {
    link_.setSource(source);
}

void TDBComboBox::SetDataField(std::string name) {
    link_.setFieldName(std::move(name));
    modified_ = false;
    showField();
}

void TDBComboBox::SetItems(const std::vector<std::string>& items) {
    ++showing_;
    clear();
    for (const std::string& item : items)
        addItem(qtext(item));
    --showing_;
    showField();
}

std::vector<std::string> TDBComboBox::Items() const {
    std::vector<std::string> items;
    for (int i = 0; i < count(); ++i)
        items.push_back(itemText(i).toStdString());
    return items;
}

void TDBComboBox::SetStyleDropDownList(bool listOnly) {
    ++showing_;
    setEditable(!listOnly);
    if (!listOnly)
        setInsertPolicy(NoInsert);
    --showing_;
    showField();
}

void TDBComboBox::SetReadOnly(bool readOnly) {
    readOnly_ = readOnly;
    showField();
}

void TDBComboBox::dataSetEvent(db::DataEvent event) {
    if (event == db::DataEvent::UpdateRecord) {
        UpdateRecord();
        return;
    }
    if (dropsTypedText(event, link_.editing()))
        modified_ = false;
    if (!modified_)
        showField();
}

void TDBComboBox::showField() {
    ++showing_;
    const QString text = qtext(link_.text());
    if (isEditable())
        setEditText(text);
    else
        setCurrentIndex(findText(text));
    setEnabled(!readOnly_ && link_.canModify());
    --showing_;
}

void TDBComboBox::chosen() {
    if (readOnly_ || !link_.canModify())
        return;
    modified_ = true;
    UpdateRecord();
}

void TDBComboBox::UpdateRecord() {
    if (!modified_)
        return;
    link_.write(Text());
    modified_ = false;
    showField();
}

void TDBComboBox::focusOutEvent(QFocusEvent* event) {
    QComboBox::focusOutEvent(event);
    UpdateRecord();
}

} // namespace ui
