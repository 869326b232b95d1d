#pragma once
// "Műveleti adatok": records one operation, performed or (PlanMode "terv") planned, on
// the fields chosen, with its type, dates, hours, machines, workers, materials,
// irrigation and observation link. Materials and workers are pending rows until the save
// commits them; every other end of the form drops them.

#include "operation_records.h"
#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/ui/vcl.h"

#include <optional>
#include <string>
#include <vector>

class TMuvadat : public ui::TForm {
public:
    explicit TMuvadat(db::Session& session);

private:
    db::Session& session_;

public:
    std::string PlanMode; // "terv": a planned operation

    // The fields chosen, in selection order, filled before the material-use dialog opens.
    std::vector<std::string> SelectedFieldCodes;
    int SelectedFieldCount = 0;
    // Each chosen field's area for its material use (m²): the area edit for one field.
    std::vector<double> SelectedFieldAreas;
    std::string TractorCode = "100000";
    std::string ImplementCode = "100000";
    bool IrrigationEntered = false;

    db::TTable Table8{session_, "Table8"};   // parcellak.db, the active fields
    db::TTable Table2{session_, "Table2"};   // Normalhektar.DB, the types of a category
    db::TTable Table5{session_, "Table5"};   // ElvMuv.db, the current field's operations
    db::TTable Table11{session_, "Table11"}; // Munkavegz.db, workers
    db::TTable Table12{session_, "Table12"}; // Szemely.DB, employees
    db::TQuery Query2{session_, "Query2"};   // the pending workers
    db::TTable Table13{session_, "Table13"}; // vizkivet.db, water points
    db::TTable Table14{session_, "Table14"}; // Novvedmegf.DB, observations
    db::TQuery Query1{session_, "Query1"};   // the sectors
    db::TDataSource DataSource8{&Table8};
    db::TDataSource DataSource2{&Table2};
    db::TDataSource DataSource5{&Table5};
    db::TDataSource DataSource12{&Table12};
    db::TDataSource DataSourceQ2{&Query2};
    db::TDataSource DataSource13{&Table13};
    db::TDataSource DataSource14{&Table14};

    ui::TLabel* Label2;
    ui::TDBGrid* DBGrid2; // fields, multi-select
    ui::TButton* Button8; // "Szűkítés"
    ui::TPanel* Panel2;   // the sector filter
    ui::TComboBox* ComboBox3;
    ui::TButton* Button9;  // "Ok"
    ui::TButton* Button10; // "Mégsem"
    ui::TButton* Button11; // ">>" / "<<"
    ui::TLabel* Label20;
    ui::TDBGrid* DBGrid1;                   // the current field's operations
    ui::TComboBox* ComboBox2;               // category
    ui::TDBLookupListBox* DBLookupListBox1; // types
    ui::TButton* Button5;                   // "+"
    ui::TEdit* Edit15;                      // "Sorszám :"
    ui::TDateTimePicker* DateTimePicker1;   // "Kezdete :"
    ui::TDateTimePicker* DateTimePicker2;   // "Vége :"
    ui::TComboBox* ComboBox1;               // "Művelet iránya :"
    ui::TEdit* Edit2;                       // "Gépóra :"
    ui::TEdit* Edit3;                       // "Kézióra :"
    ui::TEdit* Edit5;                       // "Terület :"
    ui::TLabel* Label13;                    // normal hectares
    ui::TCheckBox* CheckBox1;               // "Szolgáltató végezte :"
    ui::TLabel* Label3;
    ui::TEdit* Edit1; // depth or yield
    ui::TLabel* Label10;
    ui::TButton* Button6; // "Összes megadása"
    ui::TGroupBox* GroupBox1;
    ui::TEdit* Edit6;     // total yield, t
    ui::TButton* Button7; // "Ok"
    ui::TLabel* Label12;
    ui::TEdit* Edit4;         // by-product
    ui::TCheckBox* CheckBox2; // "bejelentésköteles művelet"
    ui::TEdit* Edit16;
    ui::TLabel* Label16; // "megnev. :"
    ui::TLabel* Label17; // "bejel. időp.:"
    ui::TDateTimePicker* DateTimePicker3;
    ui::TEdit* Edit14;     // "Megjegyzés :"
    ui::TButton* Button27; // "Megfigyelés kapcsolása"
    ui::TGroupBox* GroupBox6;
    ui::TCheckBox* CheckBox3;
    ui::TDBGrid* DBGrid6;
    ui::TButton* Button28; // "ok"
    ui::TButton* Button12; // "Öntözés adatai"
    ui::TGroupBox* GroupBox2;
    ui::TEdit *Edit7, *Edit8, *Edit9, *Edit10, *Edit11, *Edit12, *Edit13;
    ui::TDBLookupComboBox* DBLookupComboBox1; // "Vízkivétel helye :"
    ui::TButton* Button13;                    // "Ok"
    ui::TButton* Button14;                    // "Nem öntözés"
    ui::TButton* Button20;                    // "+": the water points
    ui::TGroupBox* GroupBox4;                 // "Vízkivételi helyek kezelése"
    ui::TDBGrid* DBGrid5;
    ui::TButton* Button21;                              // "új vízkiv."
    ui::TButton* Button22;                              // "módosítás"
    ui::TButton* Button23;                              // "törlés"
    ui::TButton* Button24;                              // "vissza"
    ui::TGroupBox* GroupBox5;                           // the point being edited
    ui::TDBEdit *DBEdit1, *DBEdit2, *DBEdit3, *DBEdit4; // Nev, Hely, Engsz, Ontmod
    ui::TButton* Button25;                              // "rögzítés"
    ui::TButton* Button26;                              // "mégsem"
    ui::TButton* Button15;                              // "Munkavégző személy"
    ui::TGroupBox* GroupBox3;
    ui::TDBGrid* DBGrid3;  // pending workers
    ui::TDBGrid* DBGrid4;  // employees
    ui::TButton* Button16; // "<<<"
    ui::TButton* Button17; // "---"
    ui::TButton* Button18; // "Rendben"
    ui::TButton* Button19; // "További alkalmazottak"
    ui::TButton* Button1;  // "Anyagfelhasználás"
    ui::TButton* Button4;  // "Felhasznált gépek"
    ui::TButton* Button3;  // "Mégsem"
    ui::TButton* Button2;  // "Rendben"

    void FormShow(TObject* Sender);
    void FormActivate(TObject* Sender);
    void FormCloseQuery(TObject* Sender, bool& CanClose);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void DBGrid2CellClick(ui::TColumn& Column);
    void Edit5Change(TObject* Sender);
    void ComboBox2Change(TObject* Sender);
    void DBLookupListBox1Click(TObject* Sender);
    void Button5Click(TObject* Sender);
    void Button6Click(TObject* Sender);
    void Button7Click(TObject* Sender);
    void DateTimePicker1Change(TObject* Sender);
    void CheckBox2Click(TObject* Sender);
    void Button1Click(TObject* Sender);
    void Button4Click(TObject* Sender);
    void Button15Click(TObject* Sender);
    void Button16Click(TObject* Sender);
    void Button17Click(TObject* Sender);
    void Button18Click(TObject* Sender);
    void Button19Click(TObject* Sender);
    void Button20Click(TObject* Sender);
    void Button21Click(TObject* Sender);
    void Button22Click(TObject* Sender);
    void Button23Click(TObject* Sender);
    void Button24Click(TObject* Sender);
    void Button25Click(TObject* Sender);
    void Button26Click(TObject* Sender);
    void Button12Click(TObject* Sender);
    void Button13Click(TObject* Sender);
    void Button14Click(TObject* Sender);
    void Button27Click(TObject* Sender);
    void Button28Click(TObject* Sender);
    void Button8Click(TObject* Sender);
    void Button9Click(TObject* Sender);
    void Button10Click(TObject* Sender);
    void Button11Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);

    bool Planned() const { return PlanMode == "terv"; }
    // Whether a material was posted: the fields, the date and the area are locked.
    bool MaterialsLocked() const { return materialsLocked_; }

private:
    // The chosen fields with their register areas, in selection order.
    std::vector<ops::FieldPick> ChosenFields();
    // Reads and checks every input; none when a check failed (its message was shown).
    std::optional<ops::OperationEntry> ReadEntry();
    void ShowNormalHectares();
    void ReopenWorkers();

    bool materialsLocked_ = false;
    bool saved_ = false;
};
extern TMuvadat* Muvadat;
