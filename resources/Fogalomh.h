#pragma once
// "Raktárforgalom kimutatás": the movements of the stock ledger between two dates, one
// page per material kind; deletes a movement or overwrites its quantity, and previews the
// list of the page shown through its report ("RaktarFTerm.rav", "RaktarFNövv.rav",
// "RaktarFVeto.rav").

#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/report/report.h"
#include "platform/ui/vcl.h"
#include "register/farm_row.h"

#include <string>

class TForgalom : public ui::TForm {
public:
    explicit TForgalom(db::Session& session);

private:
    db::Session& session_;

public:
    db::TQuery Query1{session_, "Query1"}; // fertiliser movements
    db::TDataSource DataSource1{&Query1};
    db::TQuery Query2{session_, "Query2"}; // pesticide movements
    db::TDataSource DataSource2{&Query2};
    db::TQuery Query3{session_, "Query3"}; // seed movements
    db::TDataSource DataSource3{&Query3};
    db::TQuery Query4{session_, "Query4"}; // every ledger date, for the default range
    db::TTable Table1{session_, "Table1"}; // Raktarmozgas.db, while a row is changed
    TRvProject RvProject1{this, "RvProject1", "RaktarFTerm.rav"};
    TRvProject RvProject2{this, "RvProject2", "RaktarFNövv.rav"};
    TRvProject RvProject3{this, "RvProject3", "RaktarFVeto.rav"};
    TRvQueryConnection RvQueryRaktarMConnection1{this, "RvQueryRaktarMConnection1", &Query1};
    TRvQueryConnection RvQueryRaktarMConnection2{this, "RvQueryRaktarMConnection2", &Query2};
    TRvQueryConnection RvQueryRaktarMConnection3{this, "RvQueryRaktarMConnection3", &Query3};
    reg::FarmRow FarmRow1{this, session_};
    // One row for the reports' headings: the bound range, columns Tol and Ig.
    TRvCustomConnection RvRangeConnection1{this, "RvRangeConnection1"};

    ui::TPageControl* PageControl1;
    ui::TTabSheet* TabSheet1; // "Tápanyag mozgás"
    ui::TDBGrid* DBGrid1;
    ui::TTabSheet* TabSheet2; // "Növényvédőszer mozgás"
    ui::TDBGrid* DBGrid2;
    ui::TTabSheet* TabSheet3; // "Vetőmag mozgás"
    ui::TDBGrid* DBGrid3;
    ui::TButton* Button1;     // "Bezárás"
    ui::TButton* Button2;     // "Szűkítés"
    ui::TButton* Button5;     // "Nyomtatási kép"
    ui::TButton* Button7;     // "Forg. törlése"
    ui::TButton* Button6;     // "Módosítás"
    ui::TGroupBox* GroupBox1; // "Szűkítés", hidden
    ui::TDateTimePicker* DateTimePicker1;
    ui::TDateTimePicker* DateTimePicker2;
    ui::TButton* Button3; // "Mégsem"
    ui::TButton* Button4; // "Ok"
    ui::TPanel* Panel1;   // the quantity, hidden
    ui::TEdit* Edit1;
    ui::TLabel* Label4;   // the unit
    ui::TButton* Button8; // "Ok"
    ui::TButton* Button9; // "Mégsem"

    void FormShow(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void BindDateRange();
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    void Button4Click(TObject* Sender);
    void Button5Click(TObject* Sender);
    void Button6Click(TObject* Sender);
    void Button7Click(TObject* Sender);
    void Button8Click(TObject* Sender);
    // Whether the movement found in Table1 may change from `stored` to `changed` (in the
    // material's `unit`) by the stock of its day.
    bool StockAllowsChange(double stored, double changed, const std::string& unit);
    void Button9Click(TObject* Sender);
    void QueryCalcFields(db::TDataSet& DataSet);

private:
    db::TQuery& PageQuery();
    // Opens Table1 on the movement with that code; false when there is none.
    bool FindMovement(int code);
    void ReopenLists();
    void DefineRangeConnection();

    sys::DateTime from_ = 0, to_ = 0; // the days of the bound range
    bool rangeRowDone_ = false;
};
extern TForgalom* Forgalom;

// "2010. Aprilis": the year and the Hungarian name of the month of a day, as the
// turnover reports group the movements.
std::string MonthText(sys::DateTime day);
