#pragma once
// "Legeltetések naplózása": the grazing log of a pasture field, one legnaplo.db row per
// grazing period with its species, age group, head count and livestock units.

#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/ui/vcl.h"

#include <string>

class TLegeltetes : public ui::TForm {
public:
    explicit TLegeltetes(db::Session& session);

private:
    db::Session& session_;
    std::string parckod_; // the chosen pasture field
    double fieldTer_ = 0;

public:
    db::TTable Table1{session_, "Table1"}; // parcellak.db, the active fields
    db::TDataSource DataSource1{&Table1};
    db::TTable Table2{session_, "Table2"}; // legnaplo.db, the row being edited
    db::TDataSource DataSource2{&Table2};
    db::TTable Table4{session_, "Table4"}; // Allatfajok.db
    db::TDataSource DataSource4{&Table4};
    db::TTable Table5{session_, "Table5"}; // Korcsoport.db, of the chosen species
    db::TDataSource DataSource5{&Table5};
    db::TQuery Query1{session_, "Query1"}; // the log rows of the chosen field
    db::TDataSource DataSource3{&Query1};

    ui::TLabel* Label1;       // "Tábla : ..."
    ui::TDBGrid* DBGrid1;     // the log rows
    ui::TButton* Button2;     // "Más parcella"
    ui::TButton* Button3;     // "Új sor"
    ui::TButton* Button4;     // "Módosítás"
    ui::TButton* Button5;     // "Törlés"
    ui::TButton* Button6;     // "Bezárás"
    ui::TGroupBox* GroupBox1; // "Legelő kiválasztása"
    ui::TDBGrid* DBGrid2;     // the fields
    ui::TButton* Button1;     // "Kiválasztás"
    ui::TGroupBox* GroupBox2; // "Legeltetés"
    ui::TDateTimePicker* DateTimePicker1;
    ui::TDBEdit* DBEdit1;                     // Napok
    ui::TDBEdit* DBEdit2;                     // Ter
    ui::TEdit* Edit1;                         // Legmod
    ui::TDBEdit* DBEdit3;                     // Megjegy
    ui::TDBLookupComboBox* DBLookupComboBox1; // Allid
    ui::TButton* SpeedButton1;                // "+" species
    ui::TDBLookupComboBox* DBLookupComboBox2; // Kor_id
    ui::TButton* SpeedButton2;                // "+" age groups
    ui::TEdit* Edit2;                         // "Darabszám :"
    ui::TDBEdit* DBEdit4;                     // Ae
    ui::TDBText* DBText1;                     // Aepdb of the age group
    ui::TButton* Button7;                     // "Mégsem"
    ui::TButton* Button8;                     // "Rögzítés"

    void FormShow(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    void Button4Click(TObject* Sender);
    void Button5Click(TObject* Sender);
    void Button6Click(TObject* Sender);
    void Button7Click(TObject* Sender);
    void Button8Click(TObject* Sender);
    void SpeedButton1Click(TObject* Sender);
    void SpeedButton2Click(TObject* Sender);
    void Edit2Change(TObject* Sender);
    void DBLookupComboBox1Click(TObject* Sender);
    void DBLookupComboBox2Click(TObject* Sender);

private:
    // Puts Table2 on the log row chosen in the list; false when none is chosen.
    bool LocateChosenRow();
    void ReopenList();
    void CloseEditing();
    // Ae := head count × the age group's factor, while editing and a count is typed.
    void ComputeLivestockUnits();
};
extern TLegeltetes* Legeltetes;
