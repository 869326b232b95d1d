#include "platform/ui/db_controls.h"

#include "platform/sys/text.h"
#include "platform/ui/application.h"
#include "platform/ui/form.h"

#include <QKeyEvent>
#include <QSignalBlocker>
#include <algorithm>

namespace ui {

namespace {

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

// --- the shared parts --------------------------------------------------------------------

TDBFieldControl::TDBFieldControl(QWidget& widget)
    : TControl(widget), link_([this](db::DataEvent e) { dataSetEvent(e); }) {}

void TDBFieldControl::SetDataField(std::string name) {
    link_.setFieldName(std::move(name));
    dataSetEvent(db::DataEvent::Opened); // a new field: as a new data set
}

void TDBTypedControl::SetReadOnly(bool readOnly) {
    readOnly_ = readOnly;
    showField();
}

void TDBTypedControl::dataSetEvent(db::DataEvent event) {
    if (event == db::DataEvent::UpdateRecord) {
        UpdateRecord();
        return;
    }
    if (dropsTypedText(event, link_.editing()))
        modified_ = false;
    if (!modified_)
        showField();
}

void TDBTypedControl::UpdateRecord() {
    if (!modified_)
        return;
    // Text outside the field's domain is refused before it reaches the field, and stays.
    if (const db::TField* field = link_.field()) {
        const db::Domain& domain = field->Def().domain;
        if (const db::Refusal refusal = db::checkText(domain, typedText());
            refusal != db::Refusal::None)
            throw db::DomainError(db::refusalText(
                refusal, domain, domain.label.empty() ? field->FieldName() : domain.label));
    }
    link_.write(typedText());
    modified_ = false;
    showField();
}

// The first key typed puts the data set into Edit; the text is written later.
void TDBTypedControl::typed() {
    modified_ = true;
    if (!link_.editing())
        Guarded([this] { link_.edit(); });
}

void TDBTypedControl::userUpdate() {
    Guarded([this] { UpdateRecord(); });
}

void TDBTypedControl::revert() {
    modified_ = false;
    showField();
}

// --- TDBEdit -------------------------------------------------------------------------------

TDBEdit::TDBEdit(QWidget* parent)
    : QLineEdit(Host(parent)), TDBTypedControl(static_cast<QLineEdit&>(*this)) {
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QLineEdit::textEdited, this, [this] { typed(); });
}

void TDBEdit::showField() {
    const QString text = Q(link_.text());
    applyMaxLength(static_cast<int>(text.size())); // before the text, which it would cut
    setText(text);
    setReadOnly(!writable());
}

void TDBEdit::SetMaxLength(int length) {
    maxLength_ = std::max(length, 0);
    applyMaxLength(static_cast<int>(text().size()));
}

// A box on a text field takes no more than the field's width, and no more than a limit
// of its own where that is smaller; a longer text already stored is shown whole all the
// same, neither cut on the screen nor cut when the row is saved.
void TDBEdit::applyMaxLength(int shownLength) {
    const db::TField* field = link_.field();
    int limit = maxLength_ > 0 ? maxLength_ : 32767;
    if (field && field->DataType() == db::FieldType::Alpha)
        limit = std::max(std::min(limit, field->Size()), shownLength);
    setMaxLength(limit);
}

void TDBEdit::keyPressEvent(QKeyEvent* event) {
    if (isEnter(event))
        userUpdate();
    if (event->key() == Qt::Key_Escape && Modified())
        revert();
    QLineEdit::keyPressEvent(event);
}

void TDBEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    userUpdate();
}

// --- TDBText ---------------------------------------------------------------------------------

TDBText::TDBText(QWidget* parent)
    : QLabel(Host(parent)), TDBFieldControl(static_cast<QLabel&>(*this)) {}

void TDBText::showField() {
    setText(Q(link_.text()));
}

// --- TDBCheckBox -------------------------------------------------------------------------------

TDBCheckBox::TDBCheckBox(QWidget* parent)
    : QCheckBox(Host(parent)), TDBFieldControl(static_cast<QCheckBox&>(*this)) {
    setFocusPolicy(Qt::StrongFocus);
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
    Fire(OnClick, this);
}

// A click writes the field; the box then shows what the field holds.
void TDBCheckBox::nextCheckState() {
    if (readOnly_ || !link_.canModify())
        return;
    Guarded([this] { SetChecked(!isChecked()); });
}

// --- TDBComboBox -------------------------------------------------------------------------------

TDBComboBox::TDBComboBox(QWidget* parent)
    : QComboBox(Host(parent)), TDBTypedControl(static_cast<QComboBox&>(*this)) {
    setFocusPolicy(Qt::StrongFocus);
    setEditable(true);
    setCompleter(nullptr); // what is typed stays as typed (TComboBox::SetStyle)
    setInsertPolicy(NoInsert);
    connect(this, &QComboBox::activated, this, [this] { chosen(); });
    connect(this, &QComboBox::editTextChanged, this, [this] {
        if (!showing_ && !Modified())
            typed();
    });
}

void TDBComboBox::SetItems(const std::vector<std::string>& items) {
    ++showing_;
    clear();
    for (const std::string& item : items)
        addItem(Q(item));
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
    if (!listOnly) {
        setCompleter(nullptr);
        setInsertPolicy(NoInsert);
    }
    --showing_;
    showField();
}

void TDBComboBox::showField() {
    ++showing_;
    const QString text = Q(link_.text());
    const db::TField* field = link_.field();
    if (isEditable() && field && field->DataType() == db::FieldType::Alpha)
        lineEdit()->setMaxLength(field->Size());
    if (isEditable())
        setEditText(text);
    else
        setCurrentIndex(findText(text));
    setEnabled(writable());
    --showing_;
}

// The user chose an item: it is written at once.
void TDBComboBox::chosen() {
    if (!writable())
        return;
    typed();
    Guarded([this] {
        UpdateRecord();
        Fire(OnClick, this);
    });
}

void TDBComboBox::focusOutEvent(QFocusEvent* event) {
    QComboBox::focusOutEvent(event);
    userUpdate();
}

} // namespace ui
