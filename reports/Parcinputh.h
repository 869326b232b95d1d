#pragma once
// "Input kimutatás": for one field chosen from the list, the total quantity of each
// fertiliser, pesticide and seed used on it and the hours and normal hectares worked on
// it; printed as "Inputkimut.rav".

#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/report/report.h"
#include "platform/ui/vcl.h"
#include "register/farm_row.h"

class TParcInput : public ui::TForm {
public:
    explicit TParcInput(db::Session& session);

private:
    db::Session& session_;

public:
    db::TTable Table2{session_, "Table2"}; // the fields
    db::TDataSource DataSource2{&Table2};
    db::TQuery Query1{session_, "Query1"}; // fertilisers and yield enhancers
    db::TQuery Query2{session_, "Query2"}; // pesticides
    db::TQuery Query3{session_, "Query3"}; // seeds
    db::TQuery Query4{session_, "Query4"}; // work
    db::TDataSource DataSource1{&Query1}, DataSource3{&Query2}, DataSource4{&Query3},
        DataSource5{&Query4};
    TRvProject RvProject1{this, "RvProject1", "Inputkimut.rav"};
    TRvQueryConnection RvQueryInputConnection1{this, "RvQueryInputConnection1", &Query1};
    TRvQueryConnection RvQueryInputConnection2{this, "RvQueryInputConnection2", &Query2};
    TRvQueryConnection RvQueryInputConnection3{this, "RvQueryInputConnection3", &Query3};
    TRvQueryConnection RvQueryInputConnection4{this, "RvQueryInputConnection4", &Query4};
    TRvCustomConnection RvCustomInputConnection1{this, "RvCustomInputConnection1"};
    reg::FarmRow FarmRow1{this, session_};

    ui::TDBGrid* DBCtrlGrid1; // the field list
    ui::TPageControl* PageControl1;
    ui::TDBGrid* DBGrid1;     // "Termésnövelő"
    ui::TDBGrid* DBGrid2;     // "Növényvédőszer"
    ui::TDBGrid* DBGrid3;     // "Vetőmag"
    ui::TDBGrid* DBGrid4;     // "Munka"
    ui::TCheckBox* CheckBox1; // "Aktív parcellák"
    ui::TButton* Button4;     // "Lekérés"
    ui::TButton* Button2;     // "Nyomtatás"
    ui::TButton* Button1;     // "Bezárás"
    ui::TPopupMenu* PopupMenu1;
    ui::TMenuItem* Aktvparcellk1;

    void FormShow(TObject* Sender);
    void FormKeyPress(TObject* Sender, TKey& Key);
    void Button4Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button1Click(TObject* Sender);
    void CheckBox1Click(TObject* Sender);
    void Aktvparcellk1Click(TObject* Sender);
    void MaterialCalcFields(db::TDataSet& DataSet);

private:
    void LoadField();
};
extern TParcInput* ParcInput;
