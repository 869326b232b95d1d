#pragma once
// "Új tábla felvitele": enters one new land parcel into tablak.DB and its soil-test type
// into Tablak2.db.

#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/ui/vcl.h"

class TUjtabla : public ui::TForm {
public:
    explicit TUjtabla(db::Session& session);

private:
    db::Session& session_;

public:
    db::TTable Table1{session_, "Table1"}; // tablak.DB
    db::TTable Table2{session_, "Table2"}; // tulaj.db in name order (the owner list)
    db::TTable Table3{session_, "Table3"}; // Muvelesiag.db (the branch list)
    db::TTable Table4{session_, "Table4"}; // Tablak2.db
    db::TDataSource DataSource2{&Table2};
    db::TDataSource DataSource3{&Table3};

    ui::TLabel* Label1;
    ui::TEdit* Edit1; // lot number
    ui::TLabel* Label2;
    ui::TEdit* Edit2; // house name
    ui::TLabel* Label3;
    ui::TMaskEdit* MaskEdit1; // block id
    ui::TLabel* Label4;
    ui::TDBLookupComboBox* TulajBox1;
    ui::TButton* Button3; // "+": a new owner
    ui::TLabel* Label5;
    ui::TDBLookupComboBox* DBLookupComboBox1; // cultivation branch
    ui::TLabel* Label6;
    ui::TEdit* Edit7; // gold-crown value
    ui::TLabel* Label7;
    ui::TLabel* Label8;
    ui::TEdit* Edit3;         // rent
    ui::TComboBox* ComboBox1; // rent unit
    ui::TCheckBox* CheckBox2; // "Szerződés lejárta"
    ui::TDateTimePicker* DateTimePicker1;
    ui::TLabel* Label9;
    ui::TEdit* Edit4; // area in square metres
    ui::TLabel* Label10;
    ui::TLabel* Label11;
    ui::TComboBox* ComboBox2; // land-use basis
    ui::TLabel* Label12;
    ui::TCheckBox* CheckBox1; // irrigable
    ui::TLabel* Label13;
    ui::TEdit* Edit5;     // soil-test type
    ui::TButton* Button1; // "Rögzítés"
    ui::TButton* Button2; // "Mégsem"

    void FormActivate(TObject* Sender);
    void FormShow(TObject* Sender);
    void FormKeyPress(TObject* Sender, TKey& Key);
    void CheckBox2Click(TObject* Sender);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);

private:
    bool NumbersValid();
    bool RequiredGiven();
    void InsertLandParcel();
};
extern TUjtabla* Ujtabla;
