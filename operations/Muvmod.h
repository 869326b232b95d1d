#pragma once
// "Kiválasztott művelet módosítása": changes one recorded operation after the fact, the
// one chosen in the operation chooser (MuvModVal->SelectedOperationCode). "Rögzítés"
// writes the operation row, its irrigation row and its observation link together; the
// workers, the water points and what the child forms change are written at once.

#include "operation_change.h"
#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/ui/vcl.h"

#include <optional>
#include <string>

class TMuvModo : public ui::TForm {
public:
    explicit TMuvModo(db::Session& session);

private:
    db::Session& session_;

public:
    // Parckod of the operation's field: the stored one, then the field grid's current one.
    std::string OperationFieldCode;
    // Extra of the operation's type: the stored type's, then the picked one's.
    int ExtraKind = 0;
    // A type was picked in the list: only then are its name and code written.
    bool TypeChanged = false;

    db::TQuery Query1{session_, "Query1"};   // the operation with its field, machines, type
    db::TTable Table1{session_, "Table1"};   // parcellak.DB, the active fields
    db::TTable Table3{session_, "Table3"};   // Normalhektar.DB, the types of a category
    db::TQuery Query4{session_, "Query4"};   // the tractor
    db::TQuery Query5{session_, "Query5"};   // the implement
    db::TTable Table6{session_, "Table6"};   // Ontozes.DB, the irrigation row
    db::TTable Table7{session_, "Table7"};   // vizkivet.DB, the water points
    db::TTable Table8{session_, "Table8"};   // Novvedmegf.DB, the field's observations
    db::TTable Table11{session_, "Table11"}; // Munkavegz.db, workers
    db::TTable Table12{session_, "Table12"}; // Szemely.DB, employees
    db::TQuery Query2{session_, "Query2"};   // the operation's workers
    db::TQuery Query3{session_, "Query3"};   // the linked observation
    db::TDataSource DataSource1{&Table1};
    db::TDataSource DataSource3{&Table3};
    db::TDataSource DataSource4{&Query4};
    db::TDataSource DataSource5{&Query5};
    db::TDataSource DataSource7{&Table7};
    db::TDataSource DataSource8{&Table8};
    db::TDataSource DataSource12{&Table12};
    db::TDataSource DataSourceQ2{&Query2};

    ui::TLabel* Label18; // the operation's name
    ui::TLabel* Label19; // the field as text
    ui::TLabel* Label20; // hidden: the code of the type picked
    ui::TComboBox* ComboBox3;
    ui::TDBLookupListBox* DBLookupListBox1;
    ui::TButton* Button4; // "+"
    ui::TDBGrid* DBGrid1;
    ui::TEdit* Edit7;                     // "Terület :"
    ui::TEdit* Edit15;                    // "Sorszám :"
    ui::TDateTimePicker* DateTimePicker1; // "Kezdete :"
    ui::TDateTimePicker* DateTimePicker2; // "Vége :"
    ui::TComboBox* ComboBox4;             // "Irány :"
    ui::TEdit* Edit3;                     // "Gépóra :"
    ui::TEdit* Edit4;                     // "Kézi óra :"
    ui::TLabel* Label11;
    ui::TEdit* Edit5; // depth or yield
    ui::TLabel* Label13;
    ui::TLabel* Label12;
    ui::TEdit* Edit6;         // by-product
    ui::TDBText* DBText1;     // the tractor's type
    ui::TDBText* DBText2;     // the implement's name
    ui::TCheckBox* CheckBox2; // "bejelentésköteles művelet"
    ui::TLabel* Label16;
    ui::TEdit* Edit16;
    ui::TLabel* Label17;
    ui::TDateTimePicker* DateTimePicker3;
    ui::TEdit* Edit14;    // "Megjegyzés :"
    ui::TButton* Button3; // "Felhasznált gépek módosítása"
    ui::TButton* Button5; // "Felhasznált anyagok módosítása"
    ui::TButton* Button6; // "Öntözési adatok"
    ui::TButton* Button8; // "Munkavégző személyek"
    ui::TButton* Button9; // "Növényvédelmi megfigyelés"
    ui::TButton* Button2; // "Rögzítés"
    ui::TButton* Button1; // "Mégsem"

    ui::TGroupBox* GroupBox1; // "Öntözési adatok"
    ui::TEdit *Edit1, *Edit8, *Edit9, *Edit10, *Edit11, *Edit12, *Edit13;
    ui::TDBLookupComboBox* DBLookupComboBox1;
    ui::TButton* Button20;    // "+"
    ui::TCheckBox* CheckBox1; // "Ez a művelet nem öntözés"
    ui::TButton* Button7;     // "Ok"
    ui::TGroupBox* GroupBox4; // "Vízkivételi helyek kezelése"
    ui::TDBGrid* DBGrid5;
    ui::TButton* Button21; // "vissza"
    ui::TButton* Button22; // "módosítás"
    ui::TButton* Button23; // "új vízkiv."
    ui::TButton* Button24; // "törlés"
    ui::TGroupBox* GroupBox5;
    ui::TDBEdit *DBEdit1, *DBEdit2, *DBEdit3, *DBEdit4; // Nev, Hely, Engsz, Ontmod
    ui::TButton* Button26;                              // "rögzítés"
    ui::TButton* Button25;                              // "mégsem"
    ui::TGroupBox* GroupBox3;                           // "Személyi adatok:"
    ui::TDBGrid* DBGrid3;
    ui::TButton* Button16; // "<<<"
    ui::TButton* Button17; // "---"
    ui::TDBGrid* DBGrid4;
    ui::TButton* Button18;    // "Rendben"
    ui::TButton* Button19;    // "További alkalmazottak"
    ui::TGroupBox* GroupBox6; // the observation link
    ui::TLabel* Label15;
    ui::TCheckBox* CheckBox3; // "Művelethez megfigyelés kiválasztása"
    ui::TDBGrid* DBGrid6;
    ui::TButton* Button28; // "ok"

    void FormShow(TObject* Sender);
    void FormActivate(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void Table1AfterScroll(db::TDataSet& DataSet);
    void DBGrid1CellClick(ui::TColumn& Column);
    void ComboBox3Change(TObject* Sender);
    void DBLookupListBox1Click(TObject* Sender);
    void CheckBox2Click(TObject* Sender);
    void Button6Click(TObject* Sender);
    void Button7Click(TObject* Sender);
    void DBLookupComboBox1Click(TObject* Sender);
    void Button20Click(TObject* Sender);
    void Button21Click(TObject* Sender);
    void Button22Click(TObject* Sender);
    void Button23Click(TObject* Sender);
    void Button24Click(TObject* Sender);
    void Button25Click(TObject* Sender);
    void Button26Click(TObject* Sender);
    void Button8Click(TObject* Sender);
    void Button16Click(TObject* Sender);
    void Button17Click(TObject* Sender);
    void Button18Click(TObject* Sender);
    void Button19Click(TObject* Sender);
    void Button9Click(TObject* Sender);
    void CheckBox3Click(TObject* Sender);
    void Table8AfterScroll(db::TDataSet& DataSet);
    void Button28Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    void Button4Click(TObject* Sender);
    void Button5Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button1Click(TObject* Sender);

private:
    std::string OperationCode() const;
    void ShowExtraControls(int extra);
    void LoadOperation();
    void LoadType();
    void OpenMachine(db::TQuery& query, const std::string& code);
    void ReopenWorkers();
    void ShowStoredWaterPoint();
    // Reads and checks every input; none when a check failed (its message was shown).
    std::optional<ops::OperationChange> ReadChange();

    bool loading_ = false;
    bool activated_ = false;
    // As loaded: the machines, the type's factor, and the dates a row may lack.
    std::string storedTractor_ = "100000", storedImplement_ = "100000";
    std::string tractor_ = "100000", implement_ = "100000";
    std::optional<double> storedFactor_;
    std::optional<ops::OperationType> pickedType_; // the type picked in the list
    // The stored water point when it is no longer listed (removed since): kept until the
    // user picks a listed one.
    std::optional<int> unlistedWaterPoint_;
    // The stored operation date; the material dialog was used; the change was saved.
    // Withdrawals the dialog dated with an edited date that is then not saved go back to
    // the stored one.
    std::optional<sys::DateTime> storedDate_;
    bool usesChanged_ = false;
    bool saved_ = false;
    std::optional<sys::DateTime> storedEndDate_, storedNotifiedOn_;
    sys::DateTime shownEndDate_ = 0, shownNotifiedOn_ = 0;
};
extern TMuvModo* MuvModo;
