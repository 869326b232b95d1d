#pragma once
// Data sets as the forms use them: a cursor over rows with fields, states (browse,
// edit, insert), filters, bookmarks, events and data-source links. TTable (a table of
// the working directory) and the query result set derive from TDataSet.
//
// Names follow the forms' vocabulary: First, Next, FieldByName, Post; property setters
// carry a Set prefix (SetFilter, SetFiltered).

#include "field.h"
#include "filter.h"
#include "platform/sys/datetime.h"
#include "value.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace db {

// A misuse of a data set or a refused change (the framework's database error); the
// message names the data set. A failure of the table files carries their DbError nested
// (std::rethrow_if_nested), so that it can be told to the user with its file.
class DatabaseError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class DataSetState { Inactive, Browse, Edit, Insert, SetKey, CalcFields };

class TDataSet;

class TField {
public:
    TField(TDataSet& dataSet, int index, FieldDef def, bool calculated);

    const std::string& FieldName() const { return def_.name; }
    FieldType DataType() const { return def_.type; }
    int Size() const { return def_.size; }
    int Index() const { return index_; }
    bool Calculated() const { return calculated_; }
    const FieldDef& Def() const { return def_; }
    TDataSet& DataSet() const { return *dataSet_; }

    Value AsValue() const;
    void SetAsValue(Value value);
    bool IsNull() const;
    void Clear();

    std::string AsString() const;
    void SetAsString(std::string_view text);
    std::int32_t AsInteger() const;
    void SetAsInteger(std::int64_t number);
    double AsFloat() const;
    void SetAsFloat(double number);
    sys::DateTime AsDateTime() const;
    void SetAsDateTime(sys::DateTime when);
    bool AsBoolean() const;
    void SetAsBoolean(bool flag);

private:
    TDataSet* dataSet_;
    int index_;
    FieldDef def_;
    bool calculated_;
};

// What a data set tells the controls and detail data sets bound to it.
enum class DataEvent {
    Opened,
    Closing,
    Scrolled,
    RowsChanged,
    StateChanged,
    FieldChanged,
    Destroying,
    // Before a row is posted (also while controls are disabled): a control holding
    // typed text writes it into its field now.
    UpdateRecord
};

class DataSetObserver {
public:
    virtual ~DataSetObserver() = default;
    virtual void dataSetEvent(TDataSet& dataSet, DataEvent event) = 0;
    // Whether it is told every event also while the data set's controls are disabled (a
    // detail data set following its master); a control is told once, when they are
    // enabled again.
    virtual bool followsDisabled() const { return false; }
};

// The link between a data set and what shows or follows it (grids, edits, details).
class TDataSource {
public:
    explicit TDataSource(TDataSet* dataSet = nullptr) : dataSet_(dataSet) {}
    TDataSet* DataSet() const { return dataSet_; }
    void SetDataSet(TDataSet* dataSet) { dataSet_ = dataSet; }

private:
    TDataSet* dataSet_;
};

// Identifies a row independently of its place in the view.
struct TBookmark {
    std::vector<std::uint8_t> identity;
    std::size_t hint = 0; // the row's place when the bookmark was taken
    bool operator==(const TBookmark&) const = default;
};

struct LocateOptions {
    bool caseInsensitive = false;
    bool partialKey = false;
};

using DataSetEvent = std::function<void(TDataSet&)>;

// The names of a field list as the forms write it ("Evj;Parcsor"), blanks trimmed.
std::vector<std::string> splitFieldList(std::string_view list);

class TDataSet {
public:
    explicit TDataSet(std::string name);
    virtual ~TDataSet();
    TDataSet(const TDataSet&) = delete;
    TDataSet& operator=(const TDataSet&) = delete;

    const std::string& Name() const { return name_; }

    // --- opening ---------------------------------------------------------------
    void Open();
    void Close();
    bool Active() const { return state_ != DataSetState::Inactive; }
    void SetActive(bool active);
    void Refresh();
    DataSetState State() const { return state_; }

    // --- navigation ------------------------------------------------------------
    void First();
    void Last();
    void Next();
    void Prior();
    int MoveBy(int distance);
    bool Eof() const;
    bool Bof() const;
    bool IsEmpty() const;
    int RecordCount() const;
    int RecNo() const; // 1-based place of the current row in the view, 0 when empty

    // --- fields ----------------------------------------------------------------
    int FieldCount() const { return static_cast<int>(fields_.size()); }
    TField& Fields(int index);
    TField& FieldByName(std::string_view name);
    TField* FindField(std::string_view name);
    // Declares a calculated field before Open; OnCalcFields fills it for each row.
    void AddCalcField(const std::string& name, FieldType type, int size = 0);

    // --- writing ---------------------------------------------------------------
    void Edit();
    void Insert();
    void Append();
    void Post();
    void Cancel();
    // Asks the bound controls to write what they hold (Post and every move do it first).
    void UpdateRecord();
    void Delete();
    bool Modified() const { return modified_; }
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }

    // --- filtering -------------------------------------------------------------
    const std::string& Filter() const { return filterText_; }
    void SetFilter(std::string text);
    bool Filtered() const { return filtered_; }
    void SetFiltered(bool filtered);
    db::FilterOptions FilterOptions() const { return filterOptions_; }
    void SetFilterOptions(db::FilterOptions options);

    // --- finding ---------------------------------------------------------------
    TBookmark GetBookmark() const;
    void GotoBookmark(const TBookmark& bookmark);
    bool BookmarkValid(const TBookmark& bookmark) const;
    // Moves to the first row whose fields ("A;B") hold the values; false leaves the
    // cursor where it was.
    bool Locate(std::string_view keyFields, const std::vector<Value>& values,
                LocateOptions options = {});

    // --- reading other rows (grids, lookup lists) -----------------------------------
    // A row of the view read without moving the cursor: `row` is 0-based, the place
    // RecNo() - 1 gives the current row. The current row in Edit state reads the edit
    // buffer; a calculated field of another row is calculated for it (OnCalcFields runs
    // with that row current, without an event) while the data set is browsing, and is
    // Null while a row is edited; a row outside the view reads Null.
    Value rowValue(std::size_t row, int field) const;
    // The bookmark of a row of the view (empty outside it), and the place of a
    // bookmarked row (none when it left the view).
    TBookmark rowBookmark(std::size_t row) const;
    std::optional<std::size_t> bookmarkRow(const TBookmark& bookmark) const;

    // --- events ----------------------------------------------------------------
    DataSetEvent BeforeOpen, AfterOpen, BeforeClose, AfterClose;
    DataSetEvent BeforeInsert, AfterInsert, BeforeEdit, AfterEdit;
    DataSetEvent BeforePost, AfterPost, BeforeCancel, AfterCancel;
    DataSetEvent BeforeDelete, AfterDelete, BeforeScroll, AfterScroll;
    DataSetEvent OnNewRecord, OnCalcFields;
    std::function<void(TDataSet&, bool& accept)> OnFilterRecord;

    // --- controls and details ----------------------------------------------------
    void addObserver(DataSetObserver* observer);
    void removeObserver(DataSetObserver* observer);
    // While disabled (calls nest), the bound controls are not told of moves and changes;
    // the last EnableControls shows them the data set once. Details still follow.
    void DisableControls();
    void EnableControls();
    bool ControlsDisabled() const { return disabled_ > 0; }

    // Field access for TField (the current row, the edit buffer or the key buffer).
    Value fieldValue(int index) const;
    void setFieldValue(int index, Value value);

protected:
    // --- what a concrete data set supplies ---------------------------------------
    // Opens the source and returns its fields; builds the view.
    virtual std::vector<FieldDef> openSource() = 0;
    virtual void closeSource() = 0;
    // Rows in the view (filtered, in order) and their values.
    virtual std::size_t viewSize() const = 0;
    virtual Value viewValue(std::size_t row, int field) const = 0;
    virtual std::vector<std::uint8_t> viewIdentity(std::size_t row) const = 0;
    // Rebuilds the view (filter, order or source changed); returns the new place of the
    // row whose identity is given, or the nearest place.
    virtual std::size_t rebuildView(const std::vector<std::uint8_t>& keep, std::size_t hint) = 0;
    // Brings the view up to date with writes made through other cursors; returns the
    // current row's place afterwards.
    virtual std::size_t synchronize(std::size_t current) { return current; }
    // Writes the buffer as a new row or over the current row; returns the cursor's
    // place afterwards (the row itself, or the next one when it left the view).
    virtual std::size_t writeRow(const Record& buffer, bool inserting, std::size_t current,
                                 Record& written);
    virtual std::size_t deleteRow(std::size_t current);

    // Whether a row passes Filter and OnFilterRecord; valueOf gives its fields.
    bool acceptRow(const std::function<Value(int)>& valueOf);
    bool filterActive() const;
    const std::vector<FieldDef>& fieldDefs() const { return defs_; }
    std::size_t current() const { return current_; }
    void notify(DataEvent event);
    // Builds an error that names the data set.
    DatabaseError error(const std::string& problem) const;
    // The key buffer of SetKey/GotoKey: field assignments go there until it is used.
    void beginSetKey();
    Record takeKeyBuffer();
    // Places the cursor on a row found by a derived data set (FindKey, GotoKey).
    void gotoRow(std::size_t row);
    // Posts a changed edit buffer, drops an unchanged one; the data set is then browsing.
    void checkBrowseMode();
    // Fills a new row's buffer before OnNewRecord (a detail table takes its master's keys).
    virtual void initNewRecord(Record& buffer) { static_cast<void>(buffer); }

private:
    void requireActive() const;
    void sync() const;
    void moveTo(std::size_t row, bool scrolled);
    void afterScroll();
    void calculate();
    Value calculatedAt(std::size_t row, std::size_t calc) const;
    void loadBuffer();
    void compileFilter();
    void refreshView();
    void fire(const DataSetEvent& event);
    int fieldNumber(std::string_view name) const;
    void checkDomains(bool inserting) const;

    std::string name_;
    DataSetState state_ = DataSetState::Inactive;
    std::vector<FieldDef> defs_; // source fields, then calculated fields
    std::size_t sourceFields_ = 0;
    std::vector<FieldDef> calcDefs_; // declared calculated fields
    std::vector<std::unique_ptr<TField>> fields_;
    // Names as the forms spell them, looked up before: loops ask for the same few.
    mutable std::vector<std::pair<std::string, int>> nameCache_;
    mutable std::size_t current_ = 0;
    bool bof_ = true, eof_ = true;
    Record buffer_; // edit or insert buffer
    Record calcValues_;
    Record keyBuffer_;
    bool modified_ = false;
    bool readOnly_ = false;
    std::string filterText_;
    bool filtered_ = false;
    db::FilterOptions filterOptions_;
    FilterExpression filter_;
    const std::function<Value(int)>* filtering_ = nullptr; // row under test
    std::vector<DataSetObserver*> observers_;
    int disabled_ = 0;
    bool pendingChange_ = false;
};

// Holds the controls bound to a data set still while a loop walks it (a report, a total,
// a bulk save): DisableControls for the scope, EnableControls at its end. With
// KeepRow::Yes the cursor goes back, at the end, to the row it was on (when that row is
// still there), so the controls show that row as before; with KeepRow::No it stays where
// the loop left it, which the controls then show.
class ControlsHeld {
public:
    enum class KeepRow { Yes, No };
    explicit ControlsHeld(TDataSet& dataSet, KeepRow keep = KeepRow::Yes);
    ~ControlsHeld();
    ControlsHeld(const ControlsHeld&) = delete;
    ControlsHeld& operator=(const ControlsHeld&) = delete;

private:
    TDataSet& dataSet_;
    std::optional<TBookmark> row_;
};

} // namespace db
