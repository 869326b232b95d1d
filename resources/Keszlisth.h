#pragma once
// "Készleten lévő anyagok listája": the stock of every material on a day, one tab per
// material kind, printed through "Keszlet.rav". Materials of a kind that share the shown
// columns (name and unit; for pesticides also type and active ingredient; for seeds the
// species) form one line with their summed stock; a material with no movement up to the
// day is not listed, one with a zero or negative stock is.
//
// Each query lists the groups of its master table; the stocks come from one scan of the
// ledger per refresh (StocksOnDate), summed per group, given as the calculated fields
// Ossz and Kossz, and the groups without a movement are filtered out. This keeps the
// list of 500 materials over 100 000 ledger rows to a few milliseconds.

#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/report/report.h"
#include "platform/ui/vcl.h"
#include "register/farm_row.h"

#include <map>
#include <string>
#include <vector>

class TKeszlist : public ui::TForm {
public:
    explicit TKeszlist(db::Session& session);

private:
    db::Session& session_;

public:
    db::TQuery Query2{session_, "Query2"}; // fertilisers
    db::TDataSource DataSource2{&Query2};
    db::TQuery Query3{session_, "Query3"}; // pesticides
    db::TDataSource DataSource3{&Query3};
    db::TQuery Query4{session_, "Query4"}; // seeds
    db::TDataSource DataSource4{&Query4};
    TRvProject RvProject1{this, "RvProject1", "Keszlet.rav"};
    TRvQueryConnection RvQueryKeszletConnection1{this, "RvQueryKeszletConnection1", &Query2};
    TRvQueryConnection RvQueryKeszletConnection2{this, "RvQueryKeszletConnection2", &Query3};
    TRvQueryConnection RvQueryKeszletConnection3{this, "RvQueryKeszletConnection3", &Query4};
    TRvCustomConnection RvCustomKeszletConnection1{this, "RvCustomKeszletConnection1"};
    reg::FarmRow FarmRow1{this, session_};

    ui::TLabel* Label1; // "Anyagkészlet"
    ui::TPageControl* PageControl1;
    ui::TTabSheet* TabSheet1; // "Termésnövelők"
    ui::TDBGrid* DBGrid1;
    ui::TTabSheet* TabSheet2; // "Növényvédőszerek"
    ui::TDBGrid* DBGrid2;
    ui::TTabSheet* TabSheet3; // "Vetőmagok"
    ui::TDBGrid* DBGrid3;
    ui::TBevel* Bevel1;
    ui::TDateTimePicker* DateTimePicker1;
    ui::TButton* Button4; // "|||||": applies the picker's day
    ui::TButton* Button2; // "Nyomtatás"
    ui::TButton* Button1; // "Vissza"
    ui::TPopupMenu* PopupMenu1;
    ui::TMenuItem* Nyomtats1; // "Nyomtatás         CTRL+I"
    ui::TMenuItem* Vissza1;   // "Vissza                 CTRL+X"
    ui::TPopupMenu* PopupMenu2;
    ui::TMenuItem* Aktivls1; // "Aktiválás"

    // The day the lists show: the last one applied.
    sys::DateTime StockDay() const { return stockDay_; }

    void FormShow(TObject* Sender);
    void FormActivate(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void FormKeyPress(TObject* Sender, TKey& Key);
    void FormResize(TObject* Sender);
    void RefreshStockQueries();
    void Button4Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button1Click(TObject* Sender);
    void Query2CalcFields(db::TDataSet& DataSet);
    void Query3CalcFields(db::TDataSet& DataSet);
    void Query4CalcFields(db::TDataSet& DataSet);

    void RvCustomKeszletConnection1Open(report::TRvCustomConnection* Connection);
    void RvCustomKeszletConnection1First(report::TRvCustomConnection* Connection);
    void RvCustomKeszletConnection1Next(report::TRvCustomConnection* Connection);
    void RvCustomKeszletConnection1EOF(report::TRvCustomConnection* Connection, bool& Eof);
    void RvCustomKeszletConnection1GetCols(report::TRvCustomConnection* Connection);
    void RvCustomKeszletConnection1GetRow(report::TRvCustomConnection* Connection);

private:
    // The summed stock of each group of one list, by the group's key.
    using Groups = std::map<std::string, double>;
    void SumGroups(const std::map<std::string, double>& stocks);
    void ShowGroup(db::TDataSet& DataSet, const Groups& groups,
                   const std::vector<std::string>& columns);

    Groups fertilisers_, pesticides_, seeds_;
    sys::DateTime stockDay_ = 0;
    bool endOfRows_ = false;
};
extern TKeszlist* Keszlist;
