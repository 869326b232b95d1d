#pragma once
// "Korcsoportok": the age groups of the animal species with their livestock units per
// head.

#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/ui/vcl.h"

class TKorcsoportok : public ui::TForm {
public:
    explicit TKorcsoportok(db::Session& session);

private:
    db::Session& session_;

public:
    db::TQuery Query1{session_, "Query1"}; // the age groups with their species
    db::TDataSource DataSource1{&Query1};
    db::TTable Table1{session_, "Table1"}; // Korcsoport.DB: the group of the list's row
    db::TDataSource DataSource2{&Table1};
    db::TTable Table2{session_, "Table2"}; // Allatfajok.db: the species offered
    db::TDataSource DataSource3{&Table2};

    ui::TLabel* Label1; // "Korcsoportok kezelése"
    ui::TDBGrid* DBGrid1;
    ui::TButton* Button1; // "Új csoport"
    ui::TButton* Button2; // "Módosítás"
    ui::TButton* Button3; // "Törlés"
    ui::TButton* Button4; // "Bezárás"
    ui::TGroupBox* GroupBox1;
    ui::TDBLookupComboBox* DBLookupComboBox1; // the species
    ui::TDBEdit* DBEdit1;                     // Korcs
    ui::TDBEdit* DBEdit2;                     // Aepdb
    ui::TDBEdit* DBEdit3;                     // Megjegy
    ui::TButton* Button5;                     // "rögzítés"
    ui::TButton* Button6;                     // "mégsem"

    void FormShow(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    void Button4Click(TObject* Sender);
    void Button5Click(TObject* Sender);
    void Button6Click(TObject* Sender);

private:
    void AttachToList();
    void ReopenList();
};
extern TKorcsoportok* Korcsoportok;
