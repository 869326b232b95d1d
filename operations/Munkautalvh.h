#pragma once
// "Munka kiutalás": the work order of one worker. A fill lists, for a day or a range of
// days, the planned or the recorded operations the worker is assigned to: one line per
// operation, then a water line and one line per material when it has materials. General
// activities (Altmuv.db) are inserted between the lines, every cell can be edited, and
// "Nyomtatás" prints the sheet through TMUnyomt.

#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/sys/datetime.h"
#include "platform/ui/vcl.h"

#include <string>
#include <vector>

namespace ops {

// The sheet's columns: ten shown, the eleventh (the date) only for a fill of several days.
constexpr int kSheetColumns = 11;
constexpr int kDateColumn = 10;

// The shown width of a sheet column.
int ScaledWidth(int col);

// Working hours as minutes, rounded up: ⌈hours × 60⌉, with the last bits of a decimal
// hour's binary error ignored (0.1 h is 6 minutes, not 7).
int CeilMinutes(double hours);
int WholeHours(double hours);
int RemainderMinutes(double hours);

// " AND (Szemkod = 5) AND (Datum >= '3/7/2010') AND (Datum <= '3/14/2010')"
std::string WorkOrderCondition(int personCode, sys::DateTime firstDay, sys::DateTime lastDay);
// The lines of the statement that reads the worker's operations with their machines, field
// and material uses, from the planned or the recorded tables.
std::vector<std::string> WorkOrderStatement(bool planned, const std::string& condition);

} // namespace ops

class TMunkautalvany : public ui::TForm {
public:
    explicit TMunkautalvany(db::Session& session);

private:
    db::Session& session_;

public:
    db::TTable Table1{session_, "Table1"}; // Szemely.db, the worker
    db::TDataSource DataSource1{&Table1};
    db::TTable Table2{session_, "Table2"}; // Szemely.db, the issuer
    db::TDataSource DataSource2{&Table2};
    db::TQuery Query1{session_, "Query1"}; // the worker's operations, during a fill
    db::TTable Table3{session_, "Table3"}; // a material's master table, during a lookup
    db::TTable Table4{session_, "Table4"}; // Altmuv.db, the general activities
    db::TDataSource DataSource4{&Table4};

    ui::TEdit* Edit1;             // the title, "Munkalap"
    ui::TEdit* Edit2;             // the worker + " részére"
    ui::TEdit* Edit3;             // the first day
    ui::TEdit* Edit4;             // the last day
    ui::TStringGrid* StringGrid1; // the sheet
    ui::TEdit* Edit5;             // "Kelt: " + today
    ui::TEdit* Edit6;             // "Munkakiadó: " + the issuer
    ui::TButton* Button5;         // "Feltöltés tervezett műveletekből"
    ui::TButton* Button6;         // "Feltöltés elvégzett műveletből"
    ui::TButton* Button3;         // "Nyomtatás"
    ui::TButton* Button2;         // "Bezárás"

    ui::TPanel* Panel1;                       // the side panel, moved to the clicked row
    ui::TButton* Button1;                     // ">>>"
    ui::TDBLookupComboBox* DBLookupComboBox3; // the general activity to insert
    ui::TButton* Button9;                     // "Lista bővítése"
    ui::TButton* Button4;                     // "Sor törlése"

    ui::TGroupBox* GroupBox1;                 // "Űrlap feltöltése", hidden
    ui::TDBLookupComboBox* DBLookupComboBox1; // "Munkavégző:"
    ui::TDBLookupComboBox* DBLookupComboBox2; // "Munka kiadó:"
    ui::TDateTimePicker* DateTimePicker1;     // the first day
    ui::TDateTimePicker* DateTimePicker2;     // the last day
    ui::TButton* Button7;                     // "Feltöltés"
    ui::TButton* Button8;                     // "Mégsem"

    ui::TGroupBox* GroupBox2; // "Általános tevékenységek", hidden
    ui::TDBGrid* DBGrid1;     // the rows of Altmuv.db
    ui::TButton* Button10;    // "Új"
    ui::TButton* Button11;    // "Töröl"
    ui::TButton* Button12;    // "Bezárás"

    bool FromPlanned = false;
    // Where ">>>" inserts and what "Sor törlése" removes.
    int RememberedRow = 1;

    void FormShow(TObject* Sender);
    void FormActivate(TObject* Sender);
    void StringGrid1Click(TObject* Sender);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    void Button4Click(TObject* Sender);
    void Button5Click(TObject* Sender);
    void Button6Click(TObject* Sender);
    void Button7Click(TObject* Sender);
    void Button8Click(TObject* Sender);
    void Button9Click(TObject* Sender);
    void Button10Click(TObject* Sender);
    void Button11Click(TObject* Sender);
    void Button12Click(TObject* Sender);

    // Whether the date column is shown (a fill of several days).
    bool DateColumnShown() const;

private:
    void ShowFillGroup(bool planned);
    void SetDateColumnShown(bool shown);
    void InsertGridRow(int row);
    void DeleteGridRow(int row);
    void ClearGrid();
    std::string LookupMaterialName(const std::string& code);
    // Turns the current result row of Query1 into sheet lines (operation, water, material).
    void AddResultRow();

    int gridRow_ = 1;       // the grid row the fill writes
    int materialCount_ = 0; // material lines of the current operation
    std::string lastOperation_;
};
extern TMunkautalvany* Munkautalvany;
