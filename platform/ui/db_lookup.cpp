#include "platform/ui/db_lookup.h"

#include "platform/db/field_value.h"
#include "platform/ui/application.h"
#include "platform/ui/form.h"

#include <QSignalBlocker>

namespace ui {

// --- the shared part ---------------------------------------------------------------------------

TDBLookupControl::TDBLookupControl(QWidget& widget)
    : TControl(widget), field_([this](db::DataEvent e) {
          if (e != db::DataEvent::UpdateRecord)
              showKey();
      }),
      list_([this](db::DataEvent e) { listEvent(e); }) {}

void TDBLookupControl::SetDataField(std::string name) {
    field_.setFieldName(std::move(name));
    showKey();
}

void TDBLookupControl::SetKeyField(std::string name) {
    keyField_ = std::move(name);
    reload(true);
}

void TDBLookupControl::SetListField(std::string name) {
    listField_ = std::move(name);
    reload(true);
}

// The list is read again when its rows change, not when its cursor moves.
void TDBLookupControl::listEvent(db::DataEvent event) {
    switch (event) {
    case db::DataEvent::Opened:
    case db::DataEvent::RowsChanged:
        reload(true);
        return;
    case db::DataEvent::Closing:
    case db::DataEvent::Destroying:
        reload(false);
        return;
    default:
        return;
    }
}

void TDBLookupControl::reload(bool open) {
    items_.clear();
    db::TDataSet* ds = list_.dataSet();
    db::TField* key = open && ds && ds->Active() ? ds->FindField(keyField_) : nullptr;
    db::TField* shown = key && !listField_.empty() ? ds->FindField(listField_) : key;
    if (key && shown) {
        const int rows = ds->RecordCount();
        for (int r = 0; r < rows; ++r) {
            const auto row = static_cast<std::size_t>(r);
            db::Value value = ds->rowValue(row, key->Index());
            std::string keyText = db::valueAsString(value, key->Def());
            items_.push_back({rowText(*ds, row, shown->Index()), std::move(value),
                              std::move(keyText), ds->rowBookmark(row)});
        }
    }
    fillItems();
}

int TDBLookupControl::find(const db::Value& key) const {
    if (db::isNull(key))
        return -1;
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (items_[i].key == key)
            return static_cast<int>(i);
    const auto* text = std::get_if<std::string>(&key);
    for (std::size_t i = 0; text && i < items_.size(); ++i)
        if (items_[i].keyText == *text)
            return static_cast<int>(i);
    return -1;
}

int TDBLookupControl::keyRow() const {
    if (!bound())
        return find(key_);
    const db::TField* f = field_.field();
    return f ? find(f->AsValue()) : -1;
}

db::Value TDBLookupControl::KeyValue() const {
    if (!bound())
        return key_;
    const db::TField* f = field_.field();
    return f ? f->AsValue() : db::Value{};
}

void TDBLookupControl::SetKeyValue(const db::Value& key) {
    if (bound())
        field_.writeValue(key);
    else
        key_ = key;
    showKey();
}

void TDBLookupControl::writeKey(const Item& item) {
    const db::TField* target = field_.field();
    db::TDataSet* ds = list_.dataSet();
    const db::TField* source = ds && ds->Active() ? ds->FindField(keyField_) : nullptr;
    if (target && source && target->DataType() == source->DataType())
        field_.writeValue(item.key);
    else
        field_.write(item.keyText);
}

void TDBLookupControl::Choose(int row) {
    choose(row);
    Fire(OnClick, &Widget());
}

void TDBLookupControl::choose(int row) {
    if (row < 0 || row >= listCount() || readOnly_)
        return;
    const Item item = items_[static_cast<std::size_t>(row)];
    if (bound()) {
        if (!field_.canModify())
            return;
        writeKey(item);
    } else {
        key_ = item.key;
    }
    db::TDataSet* ds = list_.dataSet();
    if (ds && ds->BookmarkValid(item.bookmark))
        ds->GotoBookmark(item.bookmark);
    showKey();
}

void TDBLookupControl::userChoice(int row) {
    Guarded([this, row] { Choose(row); });
}

// --- TDBLookupComboBox ---------------------------------------------------------------------------

TDBLookupComboBox::TDBLookupComboBox(QWidget* parent)
    : QComboBox(Host(parent)), TDBLookupControl(static_cast<QComboBox&>(*this)) {
    setFocusPolicy(Qt::StrongFocus);
    setEditable(false);
    connect(this, &QComboBox::activated, this, [this](int row) { userChoice(row); });
}

void TDBLookupComboBox::fillItems() {
    {
        const QSignalBlocker quiet(this);
        clear();
        for (int r = 0; r < listCount(); ++r)
            addItem(Q(listText(r)));
    }
    showKey();
}

void TDBLookupComboBox::showKey() {
    const QSignalBlocker quiet(this);
    setCurrentIndex(keyRow());
}

// --- TDBLookupListBox
// -----------------------------------------------------------------------------

TDBLookupListBox::TDBLookupListBox(QWidget* parent)
    : QListWidget(Host(parent)), TDBLookupControl(static_cast<QListWidget&>(*this)) {
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!showing_)
            userChoice(row);
    });
}

std::string TDBLookupListBox::SelectedText() const {
    const int row = keyRow();
    return row < 0 ? std::string() : listText(row);
}

void TDBLookupListBox::fillItems() {
    ++showing_;
    clear();
    for (int r = 0; r < listCount(); ++r)
        addItem(Q(listText(r)));
    --showing_;
    showKey();
}

void TDBLookupListBox::showKey() {
    ++showing_;
    setCurrentRow(keyRow());
    --showing_;
}

} // namespace ui
