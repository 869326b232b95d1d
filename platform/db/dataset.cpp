#include "platform/db/dataset.h"

#include "platform/db/field_value.h"
#include "platform/sys/codepage.h"
#include "platform/sys/datetime.h"
#include "platform/sys/text.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace db {

std::vector<std::string> splitFieldList(std::string_view list) {
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t end = std::min(list.find(';', start), list.size());
        std::string name(sys::trim(list.substr(start, end - start)));
        if (!name.empty())
            names.push_back(std::move(name));
        start = end + 1;
    }
    return names;
}

// --- TField ---------------------------------------------------------------------

TField::TField(TDataSet& dataSet, int index, FieldDef def, bool calculated)
    : dataSet_(&dataSet), index_(index), def_(std::move(def)), calculated_(calculated) {}

Value TField::AsValue() const {
    return dataSet_->fieldValue(index_);
}
void TField::SetAsValue(Value value) {
    dataSet_->setFieldValue(index_, std::move(value));
}
bool TField::IsNull() const {
    return isNull(AsValue());
}
void TField::Clear() {
    SetAsValue(Null{});
}

std::string TField::AsString() const {
    return valueAsString(AsValue(), def_);
}
void TField::SetAsString(std::string_view text) {
    SetAsValue(valueFromString(text, def_));
}
std::int32_t TField::AsInteger() const {
    return valueAsInteger(AsValue(), def_);
}
void TField::SetAsInteger(std::int64_t number) {
    SetAsValue(valueFromInteger(number, def_));
}
double TField::AsFloat() const {
    return valueAsFloat(AsValue(), def_);
}
void TField::SetAsFloat(double number) {
    SetAsValue(valueFromFloat(number, def_));
}
sys::DateTime TField::AsDateTime() const {
    return valueAsDateTime(AsValue(), def_);
}
void TField::SetAsDateTime(sys::DateTime when) {
    SetAsValue(valueFromDateTime(when, def_));
}
bool TField::AsBoolean() const {
    return valueAsBoolean(AsValue(), def_);
}
void TField::SetAsBoolean(bool flag) {
    SetAsValue(valueFromBoolean(flag, def_));
}

// --- TDataSet: opening -------------------------------------------------------------

TDataSet::TDataSet(std::string name) : name_(std::move(name)) {}

// Whoever follows this data set lets go of it now (a detail table, a grid).
TDataSet::~TDataSet() {
    const auto observers = observers_;
    for (auto* o : observers)
        o->dataSetEvent(*this, DataEvent::Destroying);
}

DatabaseError TDataSet::error(const std::string& problem) const {
    return DatabaseError(name_ + ": " + problem);
}

void TDataSet::fire(const DataSetEvent& event) {
    if (event)
        event(*this);
}

void TDataSet::Open() {
    if (Active())
        return;
    fire(BeforeOpen);
    defs_ = openSource();
    sourceFields_ = defs_.size();
    defs_.insert(defs_.end(), calcDefs_.begin(), calcDefs_.end());
    nameCache_.clear();
    fields_.clear();
    for (std::size_t i = 0; i < defs_.size(); ++i)
        fields_.push_back(
            std::make_unique<TField>(*this, static_cast<int>(i), defs_[i], i >= sourceFields_));
    state_ = DataSetState::Browse;
    try {
        compileFilter();
        current_ = rebuildView({}, 0);
    } catch (...) {
        closeSource();
        state_ = DataSetState::Inactive;
        fields_.clear();
        throw;
    }
    bof_ = true;
    eof_ = false; // Eof() also looks at the view, which a query fills on first use
    calculate();
    notify(DataEvent::Opened);
    fire(AfterOpen);
    afterScroll();
}

void TDataSet::Close() {
    if (!Active())
        return;
    fire(BeforeClose);
    notify(DataEvent::Closing);
    state_ = DataSetState::Inactive;
    buffer_.clear();
    calcValues_.clear();
    closeSource();
    fields_.clear();
    modified_ = false;
    fire(AfterClose);
}

void TDataSet::SetActive(bool active) {
    if (active)
        Open();
    else
        Close();
}

void TDataSet::Refresh() {
    checkBrowseMode();
    refreshView();
}

void TDataSet::refreshView() {
    const std::size_t size = viewSize();
    const auto keep =
        size ? viewIdentity(std::min(current_, size - 1)) : std::vector<std::uint8_t>{};
    current_ = rebuildView(keep, current_);
    bof_ = eof_ = viewSize() == 0;
    calculate();
    notify(DataEvent::RowsChanged);
}

void TDataSet::requireActive() const {
    if (!Active())
        throw error("a művelet zárt adathalmazon nem végezhető el");
}

void TDataSet::checkBrowseMode() {
    requireActive();
    if (state_ == DataSetState::Edit || state_ == DataSetState::Insert) {
        UpdateRecord();
        if (modified_)
            Post();
        else
            Cancel();
    } else if (state_ == DataSetState::SetKey) {
        state_ = DataSetState::Browse;
    }
}

void TDataSet::sync() const {
    if (state_ == DataSetState::Browse)
        current_ = const_cast<TDataSet*>(this)->synchronize(current_);
}

// --- navigation ----------------------------------------------------------------------

void TDataSet::moveTo(std::size_t row, bool scrolled) {
    current_ = row;
    calculate();
    if (scrolled)
        notify(DataEvent::Scrolled);
}

void TDataSet::afterScroll() {
    fire(AfterScroll);
}

void TDataSet::First() {
    checkBrowseMode();
    sync();
    fire(BeforeScroll);
    moveTo(0, true);
    bof_ = true;
    eof_ = viewSize() == 0;
    afterScroll();
}

void TDataSet::Last() {
    checkBrowseMode();
    sync();
    fire(BeforeScroll);
    const std::size_t size = viewSize();
    moveTo(size ? size - 1 : 0, true);
    eof_ = true;
    bof_ = size == 0;
    afterScroll();
}

int TDataSet::MoveBy(int distance) {
    checkBrowseMode();
    sync();
    fire(BeforeScroll);
    const auto size = static_cast<long>(viewSize());
    int moved = 0;
    if (size == 0) {
        bof_ = eof_ = true;
    } else {
        const long target = static_cast<long>(current_) + distance;
        const long clamped = std::clamp(target, 0L, size - 1);
        moved = static_cast<int>(clamped - static_cast<long>(current_));
        if (distance > 0) {
            eof_ = target > size - 1;
            bof_ = bof_ && moved == 0;
        } else if (distance < 0) {
            bof_ = target < 0;
            eof_ = eof_ && moved == 0;
        }
        moveTo(static_cast<std::size_t>(clamped), moved != 0);
    }
    afterScroll();
    return moved;
}

void TDataSet::Next() {
    MoveBy(1);
}
void TDataSet::Prior() {
    MoveBy(-1);
}

bool TDataSet::Eof() const {
    sync();
    return eof_ || viewSize() == 0;
}

bool TDataSet::Bof() const {
    sync();
    return bof_ || viewSize() == 0;
}

bool TDataSet::IsEmpty() const {
    requireActive();
    if (state_ == DataSetState::Insert)
        return false;
    sync();
    return viewSize() == 0;
}

int TDataSet::RecordCount() const {
    requireActive();
    sync();
    return static_cast<int>(viewSize());
}

int TDataSet::RecNo() const {
    requireActive();
    sync();
    return viewSize() ? static_cast<int>(current_) + 1 : 0;
}

void TDataSet::gotoRow(std::size_t row) {
    fire(BeforeScroll);
    moveTo(row, true);
    bof_ = eof_ = false;
    afterScroll();
}

// --- fields ------------------------------------------------------------------------------

namespace {

// Whether a stored number has more decimals than `decimals`.
bool moreDecimals(double number, int decimals) {
    const double scaled = number * std::pow(10.0, decimals);
    return std::abs(scaled - std::round(scaled)) > 1e-6 * std::max(1.0, std::abs(scaled));
}

// The refusal of a field's value by its domain alone.
Refusal valueRefusal(const FieldDef& def, const Value& value) {
    if (std::holds_alternative<std::string>(value)) // a number or a year kept as text too
        return checkText(def.domain, std::get<std::string>(value));
    if (def.domain.date) { // day 0 is the program's empty date
        const sys::DateTime day = valueAsDateTime(value, def);
        return day == 0 ? Refusal::None : checkNumber(def.domain, sys::decodeDate(day).year);
    }
    const double number = valueAsFloat(value, def);
    if (const Refusal refusal = checkNumber(def.domain, number); refusal != Refusal::None)
        return refusal;
    return def.domain.decimals >= 0 && moreDecimals(number, def.domain.decimals) ? Refusal::Decimals
                                                                                 : Refusal::None;
}

} // namespace

// Every value the post inserts or changes is checked against its field's domain, and an
// end against its start whenever either changes; a refusal throws before anything is
// written, and the row stays in editing for the user to correct.
void TDataSet::checkDomains(bool inserting) const {
    auto changed = [&](std::size_t i) {
        return inserting || buffer_[i] != viewValue(current_, static_cast<int>(i));
    };
    for (std::size_t i = 0; i < sourceFields_ && i < buffer_.size(); ++i) {
        const FieldDef& def = defs_[i];
        const Value& value = buffer_[i];
        if (def.domain.empty() || isNull(value))
            continue;
        const std::string& label = def.domain.label.empty() ? def.name : def.domain.label;
        if (changed(i))
            if (const Refusal refusal = valueRefusal(def, value); refusal != Refusal::None)
                throw DomainError(refusalText(refusal, def.domain, label));
        const int start = def.domain.notBefore.empty() ? -1 : fieldNumber(def.domain.notBefore);
        if (start < 0 || isNull(buffer_[static_cast<std::size_t>(start)]))
            continue;
        const Value& from = buffer_[static_cast<std::size_t>(start)];
        const FieldDef& fromDef = defs_[static_cast<std::size_t>(start)];
        if ((changed(i) || changed(static_cast<std::size_t>(start))) &&
            valueAsFloat(value, def) < valueAsFloat(from, fromDef))
            throw DomainError(
                refusalText(Refusal::Before, def.domain, label, valueAsString(from, fromDef)));
    }
}

int TDataSet::fieldNumber(std::string_view name) const {
    for (const auto& [spelling, number] : nameCache_)
        if (spelling == name)
            return number;
    for (std::size_t i = 0; i < defs_.size(); ++i)
        if (sys::equalsNoCase(defs_[i].name, name)) {
            nameCache_.emplace_back(name, static_cast<int>(i));
            return static_cast<int>(i);
        }
    return -1;
}

TField& TDataSet::Fields(int index) {
    if (index < 0 || index >= FieldCount())
        throw error("nincs " + std::to_string(index) + ". mező");
    return *fields_[static_cast<std::size_t>(index)];
}

TField* TDataSet::FindField(std::string_view name) {
    const int n = fieldNumber(name);
    return n < 0 || !Active() ? nullptr : fields_[static_cast<std::size_t>(n)].get();
}

TField& TDataSet::FieldByName(std::string_view name) {
    if (TField* field = FindField(name))
        return *field;
    throw error("nincs '" + std::string(name) + "' nevű mező");
}

void TDataSet::AddCalcField(const std::string& name, FieldType type, int size) {
    if (Active())
        throw error("számított mező csak zárt adathalmazhoz adható");
    calcDefs_.push_back({name, type, storedSize(type, size), 0});
}

Value TDataSet::fieldValue(int index) const {
    requireActive();
    const auto i = static_cast<std::size_t>(index);
    if (i >= defs_.size())
        throw error("nincs " + std::to_string(index) + ". mező");
    if (i >= sourceFields_)
        return i - sourceFields_ < calcValues_.size() ? calcValues_[i - sourceFields_] : Value{};
    if (filtering_)
        return (*filtering_)(index);
    switch (state_) {
    case DataSetState::Edit:
    case DataSetState::Insert:
        return buffer_[i];
    case DataSetState::SetKey:
        return keyBuffer_[i];
    default:
        break;
    }
    sync();
    return viewSize() ? viewValue(current_, index) : Value{};
}

void TDataSet::setFieldValue(int index, Value value) {
    requireActive();
    const auto i = static_cast<std::size_t>(index);
    if (i >= defs_.size())
        throw error("nincs " + std::to_string(index) + ". mező");
    if (i >= sourceFields_) {
        if (state_ != DataSetState::CalcFields)
            throw error("a számított mező csak számításkor írható");
        if (const auto* text = std::get_if<std::string>(&value); text && defs_[i].size > 0)
            value = sys::truncateForCodePage(*text, 1250, static_cast<std::size_t>(defs_[i].size));
        calcValues_[i - sourceFields_] = std::move(value);
        return;
    }
    switch (state_) {
    case DataSetState::Edit:
    case DataSetState::Insert:
        buffer_[i] = std::move(value);
        modified_ = true;
        notify(DataEvent::FieldChanged);
        return;
    case DataSetState::SetKey:
        keyBuffer_[i] = std::move(value);
        return;
    default:
        throw error("az adathalmaz nincs szerkesztési vagy beszúrási állapotban");
    }
}

void TDataSet::calculate() {
    if (calcDefs_.empty() || !Active())
        return;
    calcValues_.assign(calcDefs_.size(), Null{});
    if (!OnCalcFields || (viewSize() == 0 && state_ != DataSetState::Insert))
        return;
    const DataSetState saved = state_;
    state_ = DataSetState::CalcFields;
    try {
        OnCalcFields(*this);
    } catch (...) {
        state_ = saved;
        throw;
    }
    state_ = saved;
}

// --- writing -------------------------------------------------------------------------------

void TDataSet::loadBuffer() {
    buffer_.assign(sourceFields_, Null{});
    if (viewSize())
        for (std::size_t i = 0; i < sourceFields_; ++i)
            buffer_[i] = viewValue(current_, static_cast<int>(i));
}

void TDataSet::Edit() {
    requireActive();
    if (state_ == DataSetState::Edit || state_ == DataSetState::Insert)
        return;
    if (readOnly_)
        throw error("az adathalmaz csak olvasható");
    sync();
    if (viewSize() == 0) {
        Insert();
        return;
    }
    fire(BeforeEdit);
    loadBuffer();
    state_ = DataSetState::Edit;
    modified_ = false;
    notify(DataEvent::StateChanged);
    fire(AfterEdit);
}

void TDataSet::Insert() {
    checkBrowseMode();
    if (readOnly_)
        throw error("az adathalmaz csak olvasható");
    fire(BeforeInsert);
    buffer_.assign(sourceFields_, Null{});
    initNewRecord(buffer_);
    state_ = DataSetState::Insert;
    modified_ = false;
    calculate();
    notify(DataEvent::StateChanged);
    fire(OnNewRecord);
    fire(AfterInsert);
}

void TDataSet::Append() {
    Insert();
}

void TDataSet::Post() {
    requireActive();
    if (state_ != DataSetState::Edit && state_ != DataSetState::Insert)
        return;
    UpdateRecord();
    fire(BeforePost);
    const bool inserting = state_ == DataSetState::Insert;
    checkDomains(inserting);
    Record written;
    current_ = writeRow(buffer_, inserting, current_, written);
    state_ = DataSetState::Browse;
    buffer_.clear();
    modified_ = false;
    bof_ = eof_ = viewSize() == 0;
    calculate();
    notify(DataEvent::RowsChanged);
    fire(AfterPost);
}

void TDataSet::Cancel() {
    requireActive();
    if (state_ != DataSetState::Edit && state_ != DataSetState::Insert)
        return;
    fire(BeforeCancel);
    state_ = DataSetState::Browse;
    buffer_.clear();
    modified_ = false;
    calculate();
    notify(DataEvent::StateChanged);
    fire(AfterCancel);
}

void TDataSet::Delete() {
    requireActive();
    if (state_ == DataSetState::Insert) {
        Cancel();
        return;
    }
    if (state_ == DataSetState::Edit)
        Cancel();
    if (readOnly_)
        throw error("az adathalmaz csak olvasható");
    sync();
    if (viewSize() == 0)
        throw error("üres adathalmazon a művelet nem végezhető el");
    fire(BeforeDelete);
    current_ = deleteRow(current_);
    bof_ = eof_ = viewSize() == 0;
    calculate();
    notify(DataEvent::RowsChanged);
    fire(AfterDelete);
    afterScroll();
}

std::size_t TDataSet::writeRow(const Record&, bool, std::size_t, Record&) {
    throw error("az adathalmaz csak olvasható");
}

std::size_t TDataSet::deleteRow(std::size_t) {
    throw error("az adathalmaz csak olvasható");
}

// --- filtering ---------------------------------------------------------------------------------

void TDataSet::compileFilter() {
    if (!Active())
        return;
    const std::vector<FieldDef> source(defs_.begin(),
                                       defs_.begin() + static_cast<std::ptrdiff_t>(sourceFields_));
    filter_ = FilterExpression::parse(filterText_, source, filterOptions_);
}

void TDataSet::SetFilter(std::string text) {
    if (text == filterText_)
        return;
    std::string previous = std::exchange(filterText_, std::move(text));
    try {
        compileFilter();
    } catch (...) {
        filterText_ = std::move(previous);
        throw;
    }
    if (Active() && filtered_) {
        checkBrowseMode();
        refreshView();
        First();
    }
}

void TDataSet::SetFiltered(bool filtered) {
    if (filtered == filtered_)
        return;
    filtered_ = filtered;
    if (Active()) {
        checkBrowseMode();
        refreshView();
        First();
    }
}

void TDataSet::SetFilterOptions(db::FilterOptions options) {
    filterOptions_ = options;
    compileFilter();
    if (Active() && filtered_) {
        checkBrowseMode();
        refreshView();
    }
}

bool TDataSet::filterActive() const {
    return filtered_ && (!filter_.empty() || OnFilterRecord);
}

bool TDataSet::acceptRow(const std::function<Value(int)>& valueOf) {
    if (!filtered_)
        return true;
    if (!filter_.empty() && !filter_.matches(valueOf))
        return false;
    if (!OnFilterRecord)
        return true;
    const auto* saved = std::exchange(filtering_, &valueOf);
    bool accept = true;
    try {
        OnFilterRecord(*this, accept);
    } catch (...) {
        filtering_ = saved;
        throw;
    }
    filtering_ = saved;
    return accept;
}

// --- finding ---------------------------------------------------------------------------------

TBookmark TDataSet::GetBookmark() const {
    requireActive();
    sync();
    if (viewSize() == 0)
        return {};
    return {viewIdentity(current_), current_};
}

bool TDataSet::BookmarkValid(const TBookmark& bookmark) const {
    return Active() && bookmarkRow(bookmark).has_value();
}

void TDataSet::GotoBookmark(const TBookmark& bookmark) {
    checkBrowseMode();
    const std::optional<std::size_t> found = bookmarkRow(bookmark);
    if (!found)
        throw error("a könyvjelzővel jelölt sor nem található");
    gotoRow(*found);
}

std::optional<std::size_t> TDataSet::bookmarkRow(const TBookmark& bookmark) const {
    if (!Active() || bookmark.identity.empty())
        return std::nullopt;
    sync();
    const std::size_t size = viewSize();
    if (bookmark.hint < size && viewIdentity(bookmark.hint) == bookmark.identity)
        return bookmark.hint;
    for (std::size_t row = 0; row < size; ++row)
        if (viewIdentity(row) == bookmark.identity)
            return row;
    return std::nullopt;
}

TBookmark TDataSet::rowBookmark(std::size_t row) const {
    requireActive();
    sync();
    if (row >= viewSize())
        return {};
    return {viewIdentity(row), row};
}

Value TDataSet::rowValue(std::size_t row, int field) const {
    requireActive();
    sync();
    const auto i = static_cast<std::size_t>(field);
    if (i >= defs_.size())
        throw error("nincs " + std::to_string(field) + ". mező");
    const bool current = row == current_ && state_ != DataSetState::Insert;
    if (i >= sourceFields_) {
        if (current)
            return i - sourceFields_ < calcValues_.size() ? calcValues_[i - sourceFields_]
                                                          : Value{};
        return row < viewSize() && state_ == DataSetState::Browse
                   ? calculatedAt(row, i - sourceFields_)
                   : Value{};
    }
    if (current && state_ == DataSetState::Edit)
        return buffer_[i];
    return row < viewSize() ? viewValue(row, field) : Value{};
}

// OnCalcFields run with another row current, as a grid painting that row needs it: the
// cursor moves there and back without an event, and the current row's values stay.
Value TDataSet::calculatedAt(std::size_t row, std::size_t calc) const {
    auto& self = const_cast<TDataSet&>(*this);
    const std::size_t savedRow = current_;
    Record savedValues = std::move(self.calcValues_);
    const auto restore = [&] {
        current_ = savedRow;
        self.calcValues_ = std::move(savedValues);
    };
    current_ = row;
    try {
        self.calculate();
    } catch (...) {
        restore();
        throw;
    }
    Value value = calc < calcValues_.size() ? calcValues_[calc] : Value{};
    restore();
    return value;
}

namespace {

// Whether a row's value matches a value searched for, after the search value was
// converted to the field's type.
bool locateMatch(const Value& stored, const Value& wanted, LocateOptions options) {
    if (isNull(wanted) || isNull(stored))
        return isNull(wanted) && isNull(stored);
    const auto* text = std::get_if<std::string>(&stored);
    const auto* target = std::get_if<std::string>(&wanted);
    if (!text || !target)
        return stored == wanted;
    std::string_view have = *text;
    if (options.partialKey)
        have = have.substr(0, std::min(have.size(), target->size()));
    return options.caseInsensitive ? sys::equalsNoCase(have, *target) : have == *target;
}

// The value searched for, in the stored form of the field.
Value locateTarget(const Value& wanted, const FieldDef& def) {
    if (isNull(wanted))
        return Null{};
    if (const auto* text = std::get_if<std::string>(&wanted)) {
        if (isTextType(def.type))
            return *text; // not cut: a partial key may be longer than nothing
        return valueFromString(*text, def);
    }
    if (const auto* n = std::get_if<std::int32_t>(&wanted))
        return valueFromInteger(*n, def);
    if (const auto* d = std::get_if<double>(&wanted))
        return valueFromFloat(*d, def);
    if (const auto* b = std::get_if<bool>(&wanted))
        return valueFromBoolean(*b, def);
    return wanted;
}

} // namespace

bool TDataSet::Locate(std::string_view keyFields, const std::vector<Value>& values,
                      LocateOptions options) {
    checkBrowseMode();
    sync();
    const auto names = splitFieldList(keyFields);
    if (names.empty() || names.size() != values.size())
        throw error("Locate: a mezők és az értékek száma eltér");
    std::vector<int> numbers;
    std::vector<Value> targets;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const int n = fieldNumber(names[i]);
        if (n < 0 || static_cast<std::size_t>(n) >= sourceFields_)
            throw error("nincs '" + names[i] + "' nevű mező");
        numbers.push_back(n);
        targets.push_back(locateTarget(values[i], defs_[static_cast<std::size_t>(n)]));
    }
    for (std::size_t row = 0; row < viewSize(); ++row) {
        bool all = true;
        for (std::size_t i = 0; all && i < numbers.size(); ++i)
            all = locateMatch(viewValue(row, numbers[i]), targets[i], options);
        if (all) {
            gotoRow(row);
            return true;
        }
    }
    return false;
}

void TDataSet::beginSetKey() {
    checkBrowseMode();
    keyBuffer_.assign(sourceFields_, Null{});
    state_ = DataSetState::SetKey;
}

Record TDataSet::takeKeyBuffer() {
    if (state_ == DataSetState::SetKey)
        state_ = DataSetState::Browse;
    return std::exchange(keyBuffer_, {});
}

// --- observers -----------------------------------------------------------------------------------

void TDataSet::addObserver(DataSetObserver* observer) {
    observers_.push_back(observer);
}

void TDataSet::removeObserver(DataSetObserver* observer) {
    std::erase(observers_, observer);
}

void TDataSet::notify(DataEvent event) {
    const bool held = disabled_ > 0;
    if (held)
        pendingChange_ = true;
    const auto observers = observers_; // an observer may detach itself
    for (auto* o : observers)
        if (!held || o->followsDisabled())
            o->dataSetEvent(*this, event);
}

void TDataSet::UpdateRecord() {
    if (state_ != DataSetState::Edit && state_ != DataSetState::Insert)
        return;
    const auto observers = observers_;
    for (auto* o : observers)
        o->dataSetEvent(*this, DataEvent::UpdateRecord);
}

void TDataSet::DisableControls() {
    ++disabled_;
}

void TDataSet::EnableControls() {
    if (disabled_ > 0 && --disabled_ == 0 && std::exchange(pendingChange_, false)) {
        // The controls alone: the details followed every event already.
        const auto observers = observers_;
        for (auto* o : observers)
            if (!o->followsDisabled())
                o->dataSetEvent(*this, DataEvent::RowsChanged);
    }
}

// --- ControlsHeld ----------------------------------------------------------------------------

ControlsHeld::ControlsHeld(TDataSet& dataSet, KeepRow keep) : dataSet_(dataSet) {
    if (keep == KeepRow::Yes && dataSet_.Active() && dataSet_.State() == DataSetState::Browse)
        row_ = dataSet_.GetBookmark();
    dataSet_.DisableControls();
}

ControlsHeld::~ControlsHeld() {
    try {
        if (row_ && dataSet_.State() == DataSetState::Browse && dataSet_.BookmarkValid(*row_))
            dataSet_.GotoBookmark(*row_);
    } catch (...) {
        // The row could not be reached again (a data set event failed): the controls show
        // the row the loop left.
    }
    dataSet_.EnableControls();
}

} // namespace db
