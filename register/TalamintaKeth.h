#pragma once
// "Talajmintavételi helyek és laboratóriumi jegyzőkönyvek nyilvántartása": the soil
// sampling places of a KET area with their depth, sampling dates and laboratory report
// numbers; one place or a batch of like places is added, a place modified or deleted.

#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/ui/vcl.h"

#include <string>

class TTalamintaKet : public ui::TForm {
public:
    explicit TTalamintaKet(db::Session& session);

private:
    db::Session& session_;

public:
    db::TQuery Query1{session_, "Query1"}; // the KET areas
    db::TDataSource DataSource1{&Query1};
    db::TQuery Query2{session_, "Query2"}; // the sampling places
    db::TDataSource DataSource2{&Query2};
    db::TTable Table1{session_, "Table1"}; // TalajmintaKet.db, the place Query2 stands on
    db::TDataSource DataSource3{&Table1};

    ui::TLabel* Label1;       // "Talajmintavételi helyek nyilvántartása "
    ui::TGroupBox* GroupBox1; // "KET kiválsztása"
    ui::TDBGrid* DBGrid1;
    ui::TButton* Button1;     // "kiválaszt"
    ui::TGroupBox* GroupBox2; // the places of the chosen KET area
    ui::TDBGrid* DBGrid2;
    ui::TButton* Button2;                 // "másik KET"
    ui::TButton* Button3;                 // "új minta"
    ui::TButton* Button4;                 // "módosítás"
    ui::TButton* Button5;                 // "törlés"
    ui::TButton* Button6;                 // "bezárás"
    ui::TGroupBox* GroupBox3;             // "Talajminta nyílvántartás KET-ekhez rendelve"
    ui::TLabel* Label2;                   // "KET sorszáma :"
    ui::TLabel* Label3;                   // "KET nagysága :"
    ui::TLabel* Label4;                   // "AKG célprogram kód :"
    ui::TDBEdit* DBEdit1;                 // "Mintavételi terület jelzése :"
    ui::TDBEdit* DBEdit2;                 // "Mintavételi terület nagysága :"
    ui::TGroupBox* GroupBox4;             // "Mintavétel mélysége :"
    ui::TRadioButton* RadioButton1;       // "0 - 25 cm"
    ui::TRadioButton* RadioButton2;       // "0 - 20 cm"
    ui::TRadioButton* RadioButton3;       // "20 - 40 cm"
    ui::TRadioButton* RadioButton4;       // "0 - 30 cm "
    ui::TRadioButton* RadioButton5;       // "30 - 60 cm"
    ui::TDateTimePicker* DateTimePicker1; // "Első mintavétel időpontja :"
    ui::TDBEdit* DBEdit3;                 // "Első vizsgálati jegyzőkönyv száma :"
    ui::TDateTimePicker* DateTimePicker2; // "Utolsó mintavétel időpontja :"
    ui::TDBEdit* DBEdit4;                 // "Utolsó vizsgálati jegyzőkönyv száma :"
    ui::TGroupBox* GroupBox5;             // "Többszörözés"
    ui::TEdit* Edit1;                     // the count
    ui::TButton* Button7;                 // "létrehozás"
    ui::TButton* Button8;                 // "rögzítés"
    ui::TButton* Button9;                 // "mégsem"

    void FormShow(TObject* Sender);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    void Button4Click(TObject* Sender);
    void Button5Click(TObject* Sender);
    void Button6Click(TObject* Sender);
    void Button7Click(TObject* Sender);
    void Button8Click(TObject* Sender);
    void Button9Click(TObject* Sender);

private:
    void LinkTable(bool linked);
    void SetDepthFlags(db::TDataSet& place);
    void ReopenPlaces();
    int ChosenKet();
};
extern TTalamintaKet* TalamintaKet;
