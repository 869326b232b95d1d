#pragma once
// The data connections a report project reads: a report layout names a connection by its
// component name and its data by column name.
//
// A connection is a component of a form, declared as a member with its owner (the form)
// and its component name:
//
//     db::TQuery Query1{session, "Query1"};
//     TRvQueryConnection RvMuvLQueryConnection1{this, "RvMuvLQueryConnection1", &Query1};
//     TRvCustomConnection RvEvjConnection1{this, "RvEvjConnection1"};
//
// How a project finds its connections: every connection registers itself, while it
// lives, in one program-wide list. A project looks a name up (letter case ignored) among
// the connections of its own owner (the form) and of the owner's children. A connection
// of another form is never read, even when it has the name: a layout that names a
// connection its form does not have stops with an error naming the connection and the
// form.
//
// Table, query and data-set connections read their data set from its first row (First,
// then Next until Eof). A data set that is closed when the report starts reading it is
// opened for the report and closed again when the report ends. A detail band linked to
// its master by a field reads the link cells of every row first, and each row by its
// place (RowCount, CellText, ReadCellsAt) when a master row prints it. While the report reads
// it, the controls bound to the data set (a grid) are held still, and at the end the
// cursor goes back to the row it was on, which they show again; detail data sets linked
// to it follow every row. Column names are the field names, calculated fields
// included; FieldAliasList lines "FieldName=Alias" present a field under another name
// ("NewHasznIr=Hasznkod" shows the field NewHasznIr as the column Hasznkod).
//
// A custom connection's columns and rows come from the form's handlers: the engine calls
// OnOpen first, then OnGetCols (DefineColumn per column), OnFirst, and then per row
// OnEOF (stop when it answers true), OnGetRow (PutStringColumn per column), OnNext. Every
// reading starts again from OnOpen.

#include "platform/ui/control.h"

#include <QObject>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace db {
class TDataSet;
class TTable;
class TQuery;
class ControlsHeld;
} // namespace db

namespace report {

// Who may see a connection in the designer's run-time view; kept for the forms, which
// declare every connection rtDeveloper. It changes nothing here.
enum TRuntimeVisibility { rtNone, rtDeveloper, rtEndUser };

// The data types of DefineColumn; the program defines every column as 0 (dtString).
enum TRPDataType {
    dtString = 0,
    dtInteger,
    dtBoolean,
    dtFloat,
    dtCurrency,
    dtBCD,
    dtDate,
    dtTime,
    dtDateTime,
    dtBlob,
    dtMemo,
    dtGraphic,
    dtInt64
};

// One column of a connection as a layout sees it.
struct ColumnInfo {
    std::string name;
    int dataType = dtString;
    int width = 0; // recorded only when DefineColumn gives more than 0
    std::string fullName;
    std::string description;
};

// One value of a row: the text printed without a number format, and its number when it
// has one (a numeric field; the text of a custom column that reads as a number).
struct Cell {
    std::string text;
    std::optional<double> number;
};

// The base of the connections. The engine reads one connection at a time with
// BeginRead, First, (Eof, ReadRow, Next)..., EndRead.
class Connection : public QObject {
public:
    Connection(QObject* owner, std::string name);
    ~Connection() override;
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    const std::string& Name() const { return name_; }
    QObject* Owner() const { return owner_; }

    TRuntimeVisibility RuntimeVisibility = rtDeveloper;

    // --- the engine's side -------------------------------------------------------------
    // Starts a reading: opens the source; the columns are known afterwards.
    virtual void BeginRead() = 0;
    const std::vector<ColumnInfo>& Columns() const { return columns_; }
    // The column of that name (letter case ignored), or -1.
    virtual int ColumnIndex(std::string_view name) const;
    virtual void First() = 0;
    virtual bool Eof() = 0;
    // The current row, one cell per column.
    virtual void ReadRow(std::vector<Cell>& row) = 0;
    // The same with only the cells marked in `wanted` read, the others left empty (a
    // report reads only the columns its layout prints); by default the whole row.
    virtual void ReadCells(std::vector<Cell>& row, const std::vector<bool>& wanted) {
        static_cast<void>(wanted);
        ReadRow(row);
    }
    virtual void Next() = 0;
    // Ends the reading (also after an error): the source goes back to its open state.
    virtual void EndRead() = 0;

    // Rows read by their place (0-based, the order First and Next give them in), for a
    // detail band that prints a few rows of many at a time: the number of rows, or none
    // when the rows come in order only. While a reading is begun.
    virtual std::optional<std::size_t> RowCount() { return std::nullopt; }
    // The text of one cell of the row at that place, read without moving to the row.
    virtual std::string CellText(std::size_t place, int column);
    // Moves to the row at that place and reads it as ReadCells does.
    virtual void ReadCellsAt(std::size_t place, std::vector<Cell>& row,
                             const std::vector<bool>& wanted);
    // What the rows come from: connections over one data set share it.
    virtual const void* Source() const { return this; }

protected:
    std::vector<ColumnInfo> columns_;

private:
    QObject* owner_;
    std::string name_;
};

// The connection of that name for a project of this owner (see above), or null.
Connection* FindConnection(QObject* owner, std::string_view name);
// The owner as an error names it: its class, and its caption when it is a window with one
// ("TTablalista (\"Lista a nyílvántartott területekről(hrsz)\")").
std::string OwnerName(const QObject* owner);

// A connection over a data set of the form (a table, a query or another data set).
class TRvDataSetConnection : public Connection {
public:
    TRvDataSetConnection(QObject* owner, std::string name, db::TDataSet* dataSet = nullptr);
    ~TRvDataSetConnection() override;

    db::TDataSet* DataSet() const { return dataSet_; }
    void SetDataSet(db::TDataSet* dataSet) { dataSet_ = dataSet; }

    // "FieldName=Alias" lines.
    ui::TStringList FieldAliasList;

    void BeginRead() override;
    int ColumnIndex(std::string_view name) const override;
    void First() override;
    bool Eof() override;
    void ReadRow(std::vector<Cell>& row) override;
    void ReadCells(std::vector<Cell>& row, const std::vector<bool>& wanted) override;
    void Next() override;
    void EndRead() override;
    std::optional<std::size_t> RowCount() override;
    std::string CellText(std::size_t place, int column) override;
    void ReadCellsAt(std::size_t place, std::vector<Cell>& row,
                     const std::vector<bool>& wanted) override;
    const void* Source() const override { return dataSet_; }

private:
    db::TDataSet* dataSet_;
    std::vector<std::string> fieldNames_; // per column, the field it reads
    std::vector<bool> aliased_;           // per column, presented under an alias
    bool opened_ = false;                 // the reading opened the data set
    bool reading_ = false;
    std::unique_ptr<db::ControlsHeld> held_; // the bound controls, while reading
};

class TRvTableConnection : public TRvDataSetConnection {
public:
    TRvTableConnection(QObject* owner, std::string name, db::TTable* table = nullptr);
    db::TTable* Table() const { return table_; }
    void SetTable(db::TTable* table);

private:
    db::TTable* table_;
};

class TRvQueryConnection : public TRvDataSetConnection {
public:
    TRvQueryConnection(QObject* owner, std::string name, db::TQuery* query = nullptr);
    db::TQuery* Query() const { return query_; }
    void SetQuery(db::TQuery* query);

private:
    db::TQuery* query_;
};

// A connection whose columns and rows the owning form's handlers supply.
class TRvCustomConnection : public Connection {
public:
    TRvCustomConnection(QObject* owner, std::string name);

    using TConnectionEvent = std::function<void(TRvCustomConnection* Connection)>;
    using TConnectionEOFEvent = std::function<void(TRvCustomConnection* Connection, bool& Eof)>;

    // The row index and row count the handlers keep (OnFirst sets DataIndex to 0,
    // OnNext adds 1, OnOpen sets DataRows); the engine itself reads neither.
    int DataIndex = 0;
    int DataRows = 0;

    TConnectionEvent OnOpen;
    TConnectionEvent OnFirst;
    TConnectionEvent OnNext;
    TConnectionEOFEvent OnEOF;
    TConnectionEvent OnGetCols;
    TConnectionEvent OnGetRow;

    // Inside OnGetCols only: appends a column.
    void DefineColumn(const std::string& name, int dataType, int width, const std::string& fullName,
                      const std::string& description);
    // Inside OnGetRow only: fills the next column of the current row. The formatted text
    // is printed when it is not empty, otherwise the native text.
    void PutStringColumn(const std::string& formatted, const std::string& native);

    void BeginRead() override;
    void First() override;
    bool Eof() override;
    void ReadRow(std::vector<Cell>& row) override;
    void Next() override;
    void EndRead() override;

private:
    enum class Phase { Idle, GettingCols, GettingRow };
    Phase phase_ = Phase::Idle;
    std::vector<Cell>* row_ = nullptr;
    std::size_t put_ = 0;
};

// Binds a member function of a form as a connection handler:
//     RvEvjConnection1.OnOpen = report::Bind(this, &TAlapadatok1::RvEvjConnection1Open);
template <class F>
TRvCustomConnection::TConnectionEvent Bind(F* self, void (F::*method)(TRvCustomConnection*)) {
    return [self, method](TRvCustomConnection* connection) { (self->*method)(connection); };
}
template <class F>
TRvCustomConnection::TConnectionEOFEvent Bind(F* self,
                                              void (F::*method)(TRvCustomConnection*, bool&)) {
    return [self, method](TRvCustomConnection* connection, bool& eof) {
        (self->*method)(connection, eof);
    };
}

// Every row of a connection read as a report reads it (tests, and the engine itself).
struct ConnectionData {
    std::vector<ColumnInfo> columns;
    std::vector<std::vector<Cell>> rows;
    // The printed texts of a row.
    std::vector<std::string> Texts(std::size_t row) const;
};
ConnectionData ReadConnection(Connection& connection);

} // namespace report
