#pragma once
// "Elvégzett műveletek listája feltételek szerint": the performed operations that match
// the conditions of the form under it (elvmuvlist), one row per operation with its
// field, six totals under the list, and the printout "Muvlist.rav".

#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/report/report.h"
#include "platform/ui/vcl.h"
#include "register/farm_row.h"

class TMuvList : public ui::TForm {
public:
    explicit TMuvList(db::Session& session);

private:
    db::Session& session_;

public:
    db::TQuery Query1{session_, "Query1"}; // the operations with their fields
    db::TQuery Query2{session_, "Query2"}; // the totals
    db::TDataSource DataSource1{&Query1};
    db::TTable Table1{session_, "Table1"}; // felhanyag.db
    db::TTable Table2{session_, "Table2"}; // Tapanyagok.db
    db::TTable Table3{session_, "Table3"}; // Novenyvedok.db
    db::TTable Table4{session_, "Table4"}; // Vetomagok.db
    TRvProject RvProject1{this, "RvProject1", "Muvlist.rav"};
    TRvQueryConnection RvMuvLQueryConnection1{this, "RvMuvLQueryConnection1", &Query1};
    TRvTableConnection RvMuvLTableConnection1{this, "RvMuvLTableConnection1", &Table1};
    TRvTableConnection RvMuvLTableConnection2{this, "RvMuvLTableConnection2", &Table2};
    TRvTableConnection RvMuvLTableConnection3{this, "RvMuvLTableConnection3", &Table3};
    TRvTableConnection RvMuvLTableConnection4{this, "RvMuvLTableConnection4", &Table4};
    reg::FarmRow FarmRow1{this, session_};

    ui::TDBGrid* DBGrid1;
    ui::TEdit* Edit1;     // "Műveletek száma :"
    ui::TEdit* Edit2;     // "Ágazatok :"
    ui::TEdit* Edit3;     // "Parcellák száma :"
    ui::TEdit* Edit4;     // "Gépóra :"
    ui::TEdit* Edit5;     // "Kézi óra :"
    ui::TEdit* Edit6;     // "Normálhektár :"
    ui::TButton* Button1; // "<< Vissza"
    ui::TButton* Button2; // "Nyomtatás"
    ui::TPopupMenu* PopupMenu1;

    void FormShow(TObject* Sender);
    void FormActivate(TObject* Sender);
    void FormKeyPress(TObject* Sender, TKey& Key);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Query1CalcFields(db::TDataSet& DataSet);

private:
    void ShowTotals();
};
extern TMuvList* MuvList;
