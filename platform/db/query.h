#pragma once
// TQuery: a data set holding the result of a SQL statement over the session's tables.
// The statement is given as lines (SQL().Clear(), SQL().Add(...)), its ":Name"
// parameters are set through ParamByName, and Open prepares it; the result is read-only
// and can be navigated, filtered and bound like a table. ExecSQL runs ALTER TABLE.
//
// Opening finds the result's columns without reading a row; the statement runs when the
// rows are first looked at (a move, a field value, Eof, RecordCount), with the parameter
// values of the moment it was opened. A form that opens a query only to read its field
// names costs no table scan.

#include "dataset.h"
#include "session.h"
#include "sql/sql.h"

#include <functional>
#include <string>
#include <vector>

namespace db {

// The statement's text as a list of lines; a change closes the query that owns it.
class TStrings {
public:
    void Clear();
    void Add(std::string line);
    int Count() const { return static_cast<int>(lines_.size()); }
    const std::string& operator[](int index) const {
        return lines_.at(static_cast<std::size_t>(index));
    }
    std::string Text() const; // the lines joined by line breaks
    void SetText(std::string_view text);

    std::function<void()> OnChange;

private:
    void changed();
    std::vector<std::string> lines_;
};

// One ":Name" parameter of a statement. A date-time goes in as a date when it has no
// time of day, as a timestamp otherwise.
class TParam {
public:
    explicit TParam(std::string name) : name_(std::move(name)) {}
    const std::string& Name() const { return name_; }
    const Value& AsValue() const { return value_; }
    bool IsNull() const { return isNull(value_); }
    void Clear() { value_ = Null{}; }

    void SetAsString(std::string text) { value_ = std::move(text); }
    void SetAsInteger(std::int32_t number) { value_ = number; }
    void SetAsFloat(double number) { value_ = number; }
    void SetAsBoolean(bool flag) { value_ = flag; }
    void SetAsDateTime(sys::DateTime when);
    void SetAsDate(sys::DateTime when);

private:
    std::string name_;
    Value value_;
};

class TQuery : public TDataSet {
public:
    explicit TQuery(Session& session, std::string name = "Query1");
    ~TQuery() override;

    TStrings& SQL() { return sql_; }
    const TStrings& SQL() const { return sql_; }

    std::vector<TParam>& Params();
    TParam& ParamByName(std::string_view name);
    int ParamCount() { return static_cast<int>(Params().size()); }

    // Parses the statement once; Open and ExecSQL then reuse it with new parameters.
    void Prepare();
    void UnPrepare();
    bool Prepared() const { return prepared_; }

    // Runs a statement that returns no rows (ALTER TABLE).
    void ExecSQL();

protected:
    std::vector<FieldDef> openSource() override;
    void closeSource() override;
    std::size_t viewSize() const override;
    Value viewValue(std::size_t row, int field) const override;
    std::vector<std::uint8_t> viewIdentity(std::size_t row) const override;
    std::size_t rebuildView(const std::vector<std::uint8_t>& keep, std::size_t hint) override;

private:
    void sqlChanged();
    std::map<std::string, Value> parameterValues() const;
    void syncParams();
    void runPending() const;

    Session& session_;
    TStrings sql_;
    sql::Statement statement_;
    bool prepared_ = false;
    std::vector<TParam> params_;
    bool paramsCurrent_ = false;
    sql::ResultSet result_;
    std::vector<std::size_t> view_;           // result rows that pass the filter, in result order
    std::map<std::string, Value> openParams_; // the parameters when it was opened
    bool pending_ = false;                    // opened, the statement not run yet
};

} // namespace db
