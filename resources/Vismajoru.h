#pragma once
// "Vis major esetek": the force-majeure cases of the fields, reported to the authorities.

#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/ui/vcl.h"

class Tvismajor : public ui::TForm {
public:
    explicit Tvismajor(db::Session& session);

private:
    db::Session& session_;

public:
    db::TQuery Query1{session_, "Query1"}; // the cases with their fields
    db::TDataSource DataSource1{&Query1};
    db::TTable Table1{session_, "Table1"}; // Vismajor.db: the case of the list's row
    db::TDataSource DataSource2{&Table1};
    db::TTable Table2{session_, "Table2"}; // the fields a case is given
    db::TDataSource DataSource3{&Table2};

    ui::TLabel* Label1; // "Vis major esetek"
    ui::TDBGrid* DBGrid1;
    ui::TButton* Button1; // "bezárás"
    ui::TButton* Button2; // "módosítás"
    ui::TButton* Button4; // "új vis major"
    ui::TButton* Button3; // "törlés"
    ui::TGroupBox* GroupBox1;
    ui::TDBGrid* DBGrid2;
    ui::TDBEdit* DBEdit2; // Visok
    ui::TDBEdit* DBEdit3; // Megjegy
    ui::TDBEdit* DBEdit1; // Vister
    ui::TDateTimePicker* DateTimePicker1;
    ui::TButton* Button5; // "mégsem"
    ui::TButton* Button6; // "rögzítés"

    void FormShow(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    void Button4Click(TObject* Sender);
    void Button5Click(TObject* Sender);
    void Button6Click(TObject* Sender);

private:
    void EndEntry();
};
extern Tvismajor* vismajor;
