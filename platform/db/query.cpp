#include "platform/db/query.h"

#include "platform/db/error.h"
#include "platform/sys/text.h"

#include <cmath>
#include <cstring>
#include <exception>

namespace db {

// --- TStrings ---------------------------------------------------------------------------

void TStrings::changed() {
    if (OnChange)
        OnChange();
}

void TStrings::Clear() {
    lines_.clear();
    changed();
}

void TStrings::Add(std::string line) {
    lines_.push_back(std::move(line));
    changed();
}

std::string TStrings::Text() const {
    std::string text;
    for (const auto& line : lines_) {
        text += line;
        text += '\n';
    }
    return text;
}

void TStrings::SetText(std::string_view text) {
    lines_.clear();
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::string line(text.substr(start, end - start));
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines_.push_back(std::move(line));
        start = end + 1;
    }
    changed();
}

// --- TParam -------------------------------------------------------------------------------

void TParam::SetAsDateTime(sys::DateTime when) {
    if (sys::timePart(when) == 0)
        SetAsDate(when);
    else
        value_ = Timestamp{sys::dateTimeToParadoxTimestamp(when)};
}

void TParam::SetAsDate(sys::DateTime when) {
    value_ = Date{sys::dateTimeToParadoxDays(when)};
}

// --- TQuery ---------------------------------------------------------------------------------

TQuery::TQuery(Session& session, std::string name) : TDataSet(std::move(name)), session_(session) {
    SetReadOnly(true);
    sql_.OnChange = [this] { sqlChanged(); };
}

TQuery::~TQuery() {
    sql_.OnChange = nullptr;
    if (Active())
        closeSource();
}

void TQuery::sqlChanged() {
    Close();
    UnPrepare();
    paramsCurrent_ = false;
}

void TQuery::Prepare() {
    if (prepared_)
        return;
    try {
        statement_ = sql::Statement::parse(sql_.Text());
    } catch (const sql::SqlError& e) {
        throw error(e.what());
    }
    prepared_ = true;
    syncParams();
}

void TQuery::UnPrepare() {
    statement_ = sql::Statement();
    prepared_ = false;
}

// The parameter list follows the statement; values already set are kept by name.
void TQuery::syncParams() {
    if (paramsCurrent_)
        return;
    std::vector<TParam> fresh;
    for (const auto& name : statement_.parameters()) {
        TParam param(name);
        for (const auto& old : params_)
            if (sys::equalsNoCase(old.Name(), name)) {
                param = old;
                break;
            }
        fresh.push_back(std::move(param));
    }
    params_ = std::move(fresh);
    paramsCurrent_ = true;
}

std::vector<TParam>& TQuery::Params() {
    Prepare();
    return params_;
}

TParam& TQuery::ParamByName(std::string_view name) {
    for (auto& param : Params())
        if (sys::equalsNoCase(param.Name(), name))
            return param;
    throw error("nincs '" + std::string(name) + "' nevű paraméter");
}

std::map<std::string, Value> TQuery::parameterValues() const {
    std::map<std::string, Value> values;
    for (const auto& param : params_)
        values[param.Name()] = param.AsValue();
    return values;
}

void TQuery::ExecSQL() {
    Close();
    Prepare();
    try {
        if (statement_.isSelect())
            statement_.select(session_, parameterValues());
        else
            statement_.execute(session_, parameterValues());
    } catch (const sql::SqlError& e) {
        throw error(e.what());
    } catch (const DbError& e) {
        std::throw_with_nested(error(e.what()));
    }
}

std::vector<FieldDef> TQuery::openSource() {
    Prepare();
    if (!statement_.isSelect())
        throw error("a lekérdezés nem ad vissza sorokat");
    openParams_ = parameterValues();
    std::vector<FieldDef> columns;
    try {
        columns = statement_.columns(session_, openParams_);
    } catch (const sql::SqlError& e) {
        throw error(e.what());
    } catch (const DbError& e) {
        std::throw_with_nested(error(e.what()));
    }
    result_ = {};
    view_.clear();
    pending_ = true;
    return columns;
}

void TQuery::closeSource() {
    result_ = {};
    view_.clear();
    pending_ = false;
}

// Runs the statement opened and builds its view; the view's accessors are const, the
// rows they read are made on first use.
void TQuery::runPending() const {
    if (!pending_)
        return;
    auto& self = const_cast<TQuery&>(*this);
    try {
        self.result_ = statement_.select(session_, openParams_);
    } catch (const sql::SqlError& e) {
        throw error(e.what());
    } catch (const DbError& e) {
        std::throw_with_nested(error(e.what()));
    }
    self.pending_ = false;
    self.rebuildView({}, 0);
}

std::size_t TQuery::viewSize() const {
    runPending();
    return view_.size();
}

Value TQuery::viewValue(std::size_t row, int field) const {
    runPending();
    return result_.rows.value(view_[row], static_cast<std::size_t>(field));
}

std::vector<std::uint8_t> TQuery::viewIdentity(std::size_t row) const {
    runPending();
    const std::size_t index = view_[row];
    std::vector<std::uint8_t> identity(sizeof index);
    std::memcpy(identity.data(), &index, sizeof index);
    return identity;
}

std::size_t TQuery::rebuildView(const std::vector<std::uint8_t>& keep, std::size_t hint) {
    if (pending_)
        return 0; // no row was seen yet: the view is built with the rows
    view_.clear();
    for (std::size_t i = 0; i < result_.rows.size(); ++i) {
        if (acceptRow(
                [&](int field) { return result_.rows.value(i, static_cast<std::size_t>(field)); }))
            view_.push_back(i);
    }
    if (view_.empty())
        return 0;
    if (keep.size() == sizeof(std::size_t)) {
        std::size_t wanted = 0;
        std::memcpy(&wanted, keep.data(), sizeof wanted);
        for (std::size_t row = 0; row < view_.size(); ++row)
            if (view_[row] == wanted)
                return row;
    }
    return std::min(hint, view_.size() - 1);
}

} // namespace db
