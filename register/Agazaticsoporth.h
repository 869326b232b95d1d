#pragma once
// "Ágazati csoportok bővítése": the crop groups of the land-use plan, each belonging to
// one support programme; new groups are added and groups are marked deleted.

#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/ui/vcl.h"

class TAgazatcsoportok : public ui::TForm {
public:
    explicit TAgazatcsoportok(db::Session& session);

private:
    db::Session& session_;

public:
    db::TQuery Query1{session_, "Query1"}; // the groups with their programme
    db::TDataSource DataSource1{&Query1};
    db::TTable Table1{session_, "Table1"}; // Agazaticsoport.DB
    db::TTable Table2{session_, "Table2"}; // celprogramok.db
    db::TDataSource DataSource2{&Table2};

    ui::TDBGrid* DBGrid1;
    ui::TButton* Button1;                     // "új"
    ui::TButton* Button2;                     // "törlés"
    ui::TButton* Button3;                     // "bezárás"
    ui::TGroupBox* GroupBox1;                 // "Új csoport rögzítése"
    ui::TEdit* Edit1;                         // "Csoport megnevezése :"
    ui::TDBLookupComboBox* DBLookupComboBox1; // "AKG célprogram, melybe a csoport tartozik :"
    ui::TButton* Button4;                     // "rögzítés"
    ui::TButton* Button5;                     // "mégsem"

    void FormShow(TObject* Sender);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    void Button4Click(TObject* Sender);
    void Button5Click(TObject* Sender);

private:
    void Reload();
};
extern TAgazatcsoportok* Agazatcsoportok;
