#include "platform/report/connection.h"

#include "platform/db/dataset.h"
#include "platform/db/field_value.h"
#include "platform/db/query.h"
#include "platform/db/table.h"
#include "platform/report/error.h"
#include "platform/sys/numbers.h"
#include "platform/sys/text.h"

#include <QWidget>
#include <algorithm>
#include <cstdlib>
#include <cxxabi.h>
#include <stdexcept>
#include <typeinfo>

namespace report {

namespace {

// The live connections, in the order they were created.
std::vector<Connection*>& registry() {
    static std::vector<Connection*> connections;
    return connections;
}

int findColumn(const std::vector<ColumnInfo>& columns, std::string_view name) {
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (sys::equalsNoCase(columns[i].name, name))
            return static_cast<int>(i);
    return -1;
}

bool isNumeric(db::FieldType type) {
    switch (type) {
    case db::FieldType::Short:
    case db::FieldType::Long:
    case db::FieldType::AutoInc:
    case db::FieldType::Number:
    case db::FieldType::Currency:
    case db::FieldType::Bcd:
        return true;
    default:
        return false;
    }
}

int dataTypeOf(db::FieldType type) {
    switch (type) {
    case db::FieldType::Short:
    case db::FieldType::Long:
    case db::FieldType::AutoInc:
        return dtInteger;
    case db::FieldType::Number:
        return dtFloat;
    case db::FieldType::Currency:
        return dtCurrency;
    case db::FieldType::Bcd:
        return dtBCD;
    case db::FieldType::Logical:
        return dtBoolean;
    case db::FieldType::Date:
        return dtDate;
    case db::FieldType::Time:
        return dtTime;
    case db::FieldType::Timestamp:
        return dtDateTime;
    case db::FieldType::Memo:
    case db::FieldType::FmtMemo:
        return dtMemo;
    case db::FieldType::Graphic:
        return dtGraphic;
    case db::FieldType::Blob:
    case db::FieldType::Ole:
    case db::FieldType::Bytes:
        return dtBlob;
    default:
        return dtString;
    }
}

// "FieldName=Alias" lines: the alias of a field, or empty.
std::string aliasOf(const ui::TStrings& aliases, std::string_view field) {
    for (int i = 0; i < aliases.Count(); ++i) {
        const std::string line = aliases[i];
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        if (sys::equalsNoCase(sys::trim(std::string_view(line).substr(0, eq)), field))
            return std::string(sys::trim(std::string_view(line).substr(eq + 1)));
    }
    return {};
}

} // namespace

// --- Connection ----------------------------------------------------------------------------

Connection::Connection(QObject* owner, std::string name)
    : QObject(owner), owner_(owner), name_(std::move(name)) {
    setObjectName(QString::fromStdString(name_));
    registry().push_back(this);
}

Connection::~Connection() {
    auto& all = registry();
    all.erase(std::remove(all.begin(), all.end(), this), all.end());
}

int Connection::ColumnIndex(std::string_view name) const {
    return findColumn(columns_, name);
}

namespace {

// Whether the object is the owner or one of the owner's children, at any depth.
bool ownedBy(const QObject* object, const QObject* owner) {
    for (; object; object = object->parent())
        if (object == owner)
            return true;
    return false;
}

} // namespace

std::string Connection::CellText(std::size_t, int) {
    throw std::logic_error(Name() + " reads its rows in order only");
}

void Connection::ReadCellsAt(std::size_t, std::vector<Cell>&, const std::vector<bool>&) {
    throw std::logic_error(Name() + " reads its rows in order only");
}

Connection* FindConnection(QObject* owner, std::string_view name) {
    for (Connection* c : registry())
        if (ownedBy(c->Owner(), owner) && sys::equalsNoCase(c->Name(), name))
            return c;
    return nullptr;
}

std::string OwnerName(const QObject* owner) {
    if (!owner)
        return {};
    int status = 0;
    const char* mangled = typeid(*owner).name();
    char* demangled = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
    std::string name = status == 0 && demangled ? demangled : mangled;
    std::free(demangled);
    if (const std::size_t colon = name.rfind("::"); colon != std::string::npos)
        name = name.substr(colon + 2);
    if (const auto* widget = qobject_cast<const QWidget*>(owner))
        if (!widget->windowTitle().isEmpty())
            name += " (\"" + widget->windowTitle().toStdString() + "\")";
    return name;
}

// --- data-set connections --------------------------------------------------------------------

TRvDataSetConnection::TRvDataSetConnection(QObject* owner, std::string name, db::TDataSet* dataSet)
    : Connection(owner, std::move(name)), dataSet_(dataSet) {}

TRvDataSetConnection::~TRvDataSetConnection() {
    EndRead();
}

void TRvDataSetConnection::BeginRead() {
    if (!dataSet_)
        throw ReportError("A(z) " + Name() + " adatkapcsolathoz nincs adathalmaz rendelve.");
    EndRead();
    opened_ = !dataSet_->Active();
    if (opened_)
        dataSet_->Open();
    // Each row the report reads would move a grid bound to the data set (a round trip to
    // the window system a row): the controls wait for the end of the reading.
    held_ = std::make_unique<db::ControlsHeld>(*dataSet_, opened_ ? db::ControlsHeld::KeepRow::No
                                                                  : db::ControlsHeld::KeepRow::Yes);
    columns_.clear();
    fieldNames_.clear();
    aliased_.clear();
    for (int i = 0; i < dataSet_->FieldCount(); ++i) {
        const db::TField& field = dataSet_->Fields(i);
        const std::string alias = aliasOf(FieldAliasList, field.FieldName());
        ColumnInfo column;
        column.name = alias.empty() ? field.FieldName() : alias;
        column.dataType = dataTypeOf(field.DataType());
        column.width = field.Size();
        columns_.push_back(std::move(column));
        fieldNames_.push_back(field.FieldName());
        aliased_.push_back(!alias.empty());
    }
    reading_ = true;
}

int TRvDataSetConnection::ColumnIndex(std::string_view name) const {
    // An alias hides a field of the same name ("NewHasznIr=Hasznkod" beside a real
    // Hasznkod field presents NewHasznIr).
    for (std::size_t i = 0; i < columns_.size(); ++i)
        if (aliased_[i] && sys::equalsNoCase(columns_[i].name, name))
            return static_cast<int>(i);
    const int presented = Connection::ColumnIndex(name);
    if (presented >= 0)
        return presented;
    for (std::size_t i = 0; i < fieldNames_.size(); ++i)
        if (sys::equalsNoCase(fieldNames_[i], name))
            return static_cast<int>(i);
    return -1;
}

void TRvDataSetConnection::First() {
    dataSet_->First();
}

bool TRvDataSetConnection::Eof() {
    return dataSet_->Eof();
}

void TRvDataSetConnection::ReadRow(std::vector<Cell>& row) {
    ReadCells(row, std::vector<bool>(columns_.size(), true));
}

void TRvDataSetConnection::ReadCells(std::vector<Cell>& row, const std::vector<bool>& wanted) {
    row.resize(columns_.size());
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        const db::TField& field = dataSet_->Fields(static_cast<int>(i));
        Cell& cell = row[i];
        cell.number.reset();
        if (i >= wanted.size() || !wanted[i]) {
            cell.text.clear();
            continue;
        }
        // The value is read once for its text and its number.
        const db::Value value = field.AsValue();
        if (db::isNull(value)) {
            cell.text.clear();
            continue;
        }
        cell.text = db::valueAsString(value, field.Def());
        if (isNumeric(field.DataType()))
            cell.number = db::valueAsFloat(value, field.Def());
    }
}

void TRvDataSetConnection::Next() {
    dataSet_->Next();
}

std::optional<std::size_t> TRvDataSetConnection::RowCount() {
    return static_cast<std::size_t>(dataSet_->RecordCount());
}

std::string TRvDataSetConnection::CellText(std::size_t place, int column) {
    const db::Value value = dataSet_->rowValue(place, column);
    return db::isNull(value) ? std::string()
                             : db::valueAsString(value, dataSet_->Fields(column).Def());
}

void TRvDataSetConnection::ReadCellsAt(std::size_t place, std::vector<Cell>& row,
                                       const std::vector<bool>& wanted) {
    // The same moves as Next: the row's calculated fields and the detail data sets
    // following this one are brought to it.
    dataSet_->MoveBy(static_cast<int>(place) - (dataSet_->RecNo() - 1));
    ReadCells(row, wanted);
}

void TRvDataSetConnection::EndRead() {
    held_.reset();
    if (!reading_)
        return;
    reading_ = false;
    if (opened_) {
        opened_ = false;
        dataSet_->Close();
    }
}

TRvTableConnection::TRvTableConnection(QObject* owner, std::string name, db::TTable* table)
    : TRvDataSetConnection(owner, std::move(name), table), table_(table) {}

void TRvTableConnection::SetTable(db::TTable* table) {
    table_ = table;
    SetDataSet(table);
}

TRvQueryConnection::TRvQueryConnection(QObject* owner, std::string name, db::TQuery* query)
    : TRvDataSetConnection(owner, std::move(name), query), query_(query) {}

void TRvQueryConnection::SetQuery(db::TQuery* query) {
    query_ = query;
    SetDataSet(query);
}

// --- custom connections --------------------------------------------------------------------

TRvCustomConnection::TRvCustomConnection(QObject* owner, std::string name)
    : Connection(owner, std::move(name)) {}

namespace {

// Sets the phase for a handler's call and takes it back afterwards, also on an error.
template <class Phase>
class PhaseScope {
public:
    PhaseScope(Phase& phase, Phase during) : phase_(phase) { phase_ = during; }
    ~PhaseScope() { phase_ = Phase::Idle; }
    PhaseScope(const PhaseScope&) = delete;
    PhaseScope& operator=(const PhaseScope&) = delete;

private:
    Phase& phase_;
};

} // namespace

void TRvCustomConnection::DefineColumn(const std::string& name, int dataType, int width,
                                       const std::string& fullName,
                                       const std::string& description) {
    if (phase_ != Phase::GettingCols)
        throw std::logic_error("DefineColumn outside OnGetCols of " + Name());
    ColumnInfo column;
    column.name = name;
    column.dataType = dataType;
    column.width = width > 0 ? width : 0;
    column.fullName = fullName;
    column.description = description;
    columns_.push_back(std::move(column));
}

void TRvCustomConnection::PutStringColumn(const std::string& formatted, const std::string& native) {
    if (phase_ != Phase::GettingRow)
        throw std::logic_error("PutStringColumn outside OnGetRow of " + Name());
    if (put_ >= row_->size())
        return; // more values than columns: the extra ones have no column to go to
    Cell& cell = (*row_)[put_++];
    cell.text = formatted.empty() ? native : formatted;
    cell.number = sys::trim(native).empty() ? std::nullopt : sys::tryParseFloat(native);
}

void TRvCustomConnection::BeginRead() {
    columns_.clear();
    if (OnOpen)
        OnOpen(this);
    PhaseScope scope(phase_, Phase::GettingCols);
    if (OnGetCols)
        OnGetCols(this);
}

void TRvCustomConnection::First() {
    if (OnFirst)
        OnFirst(this);
    else
        DataIndex = 0;
}

bool TRvCustomConnection::Eof() {
    bool eof = DataIndex >= DataRows;
    if (OnEOF)
        OnEOF(this, eof);
    return eof;
}

void TRvCustomConnection::ReadRow(std::vector<Cell>& row) {
    // The cells keep their room from the row before.
    row.resize(columns_.size());
    for (Cell& cell : row) {
        cell.text.clear();
        cell.number.reset();
    }
    row_ = &row;
    put_ = 0;
    PhaseScope scope(phase_, Phase::GettingRow);
    if (OnGetRow)
        OnGetRow(this);
}

void TRvCustomConnection::Next() {
    if (OnNext)
        OnNext(this);
    else
        ++DataIndex;
}

void TRvCustomConnection::EndRead() {
    row_ = nullptr;
}

// --- reading a whole connection ------------------------------------------------------------

std::vector<std::string> ConnectionData::Texts(std::size_t row) const {
    std::vector<std::string> texts;
    for (const Cell& cell : rows.at(row))
        texts.push_back(cell.text);
    return texts;
}

ConnectionData ReadConnection(Connection& connection) {
    struct Reading {
        Connection& c;
        ~Reading() { c.EndRead(); }
    };
    connection.BeginRead();
    Reading reading{connection};
    ConnectionData data;
    data.columns = connection.Columns();
    connection.First();
    while (!connection.Eof()) {
        data.rows.emplace_back();
        connection.ReadRow(data.rows.back());
        connection.Next();
    }
    return data;
}

} // namespace report
