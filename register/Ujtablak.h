#pragma once
// "Területek módosítása": lists the active land parcels, loads the chosen one into the
// edit panel, saves it, and inactivates a land parcel.

#include "parcel_fields.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/ui/vcl.h"

#include <optional>
#include <string>

class TForm2 : public ui::TForm {
public:
    explicit TForm2(db::Session& session);

private:
    db::Session& session_;

public:
    db::TTable Table1{session_, "Table1"}; // tablak.DB, active land parcels, by house name
    db::TTable Table3{session_, "Table3"}; // Tablak2.db
    db::TDataSource DataSource1{&Table1};

    ui::TDBGrid* DBGrid1;
    ui::TGroupBox* GroupBox1; // "Módosítás :"
    ui::TLabel* Label1;
    ui::TEdit* Edit1; // lot number
    ui::TLabel* Label2;
    ui::TEdit* Edit2; // house name
    ui::TLabel* Label3;
    ui::TMaskEdit* MaskEdit1; // block id
    ui::TLabel* Label4;
    ui::TComboBox* ComboBox1; // owner
    ui::TButton* Button4;     // "+"
    ui::TLabel* Label5;
    ui::TEdit* Edit4; // area in square metres
    ui::TLabel* Label6;
    ui::TEdit* Edit7; // gold-crown value
    ui::TLabel* Label7;
    ui::TEdit* Edit3;         // rent
    ui::TComboBox* ComboBox2; // rent unit
    ui::TLabel* Label8;
    ui::TComboBox* ComboBox3; // cultivation branch
    ui::TCheckBox* CheckBox2; // "Szerződés lejárta"
    ui::TDateTimePicker* DateTimePicker1;
    ui::TCheckBox* CheckBox1; // "Öntözhető"
    ui::TLabel* Label9;
    ui::TEdit* Edit5; // soil-test type
    ui::TLabel* Label10;
    ui::TComboBox* ComboBox4; // land-use basis
    ui::TButton* Button1;     // "Rögzítés"
    ui::TButton* Button2;     // "Tábla törlése"
    ui::TButton* Button3;     // "Mégsem"
    ui::TPopupMenu* PopupMenu1;
    ui::TMenuItem* N1; // "Rögzítés           CTRL+R"
    ui::TMenuItem* N2; // "Törlés               CTRL+T"
    ui::TMenuItem* N3; // "Mégsem            CTRL+X"

    // The name of the owner created through "+".
    std::string NewOwnerName;

    void FormActivate(TObject* Sender);
    void FormShow(TObject* Sender);
    void FormKeyPress(TObject* Sender, TKey& Key);
    void DBGrid1CellClick(ui::TColumn& Column);
    void DBGrid1KeyDown(int& Key, Qt::KeyboardModifiers Shift);
    void DBGrid1KeyUp(int& Key, Qt::KeyboardModifiers Shift);
    void CheckBox2Click(TObject* Sender);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    void Button4Click(TObject* Sender);

    // The Tableid of the land parcel in the edit panel, if one was loaded.
    std::optional<int> LoadedLandParcel() const { return loaded_; }

private:
    void LoadCurrentRow();
    void LoadWhenMoved();
    bool NumbersValid();
    void WritePanel();
    void WriteSoilType(const std::string& tableid);
    void FillOwners();

    reg::KeyedChoices owners_;   // ComboBox1: Tulkod per item
    reg::KeyedChoices branches_; // ComboBox3: Muvelesiag Id per item
    std::optional<int> loaded_;
};
extern TForm2* Form2;
