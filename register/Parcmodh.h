#pragma once
// "Tábla adatainak módosítása": edits one active field: its general data and support
// flags, its KET area, its predecessors and land parcels, its grassland use, plantation
// rows and grazing log; closes the field and opens its nutrient plan.

#include "field_rows.h"
#include "form_layout.h"
#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/ui/vcl.h"
#include "side_data.h"

#include <optional>
#include <string>
#include <vector>

class TParcmod : public ui::TForm {
public:
    explicit TParcmod(db::Session& session);

private:
    db::Session& session_;

public:
    db::TTable Table1{session_, "Table1"}; // parcellak.DB, the active fields
    db::TTable Table2{session_, "Table2"}; // Magfajtak.DB, the crop names
    db::TTable Table3{session_, "Table3"}; // parcellak.DB, predecessors to add
    db::TTable Table4{session_, "Table4"}; // tablak.DB, land parcels to add
    db::TQuery Query1{session_, "Query1"}; // the field's predecessors
    db::TQuery Query2{session_, "Query2"}; // the field's land parcels
    db::TQuery Query4{session_, "Query4"}; // the KET areas
    db::TDataSource DataSource1{&Table1};
    db::TDataSource DataSource3{&Table3};
    db::TDataSource DataSource4{&Table4};
    db::TDataSource DataSource5{&Query4};

    ui::TLabel* Label1; // "<serial>/<year> parcella módosítása"
    ui::TLabel* Label2; // "Táblát megelőző táblák :"
    ui::TStringGrid* StringGrid1;
    ui::TStringGrid* StringGrid2; // hidden: predecessor, edited field
    ui::TButton* Button4;         // "Tábla hozzáadása"
    ui::TButton* Button5;         // "Sor törlése"
    ui::TLabel* Label3;           // "Táblát befogadó ingatlan (hrsz):"
    ui::TStringGrid* StringGrid3;
    ui::TStringGrid* StringGrid4; // hidden: edited field, Tableid
    ui::TButton* Button6;         // "Más terület hozzáadása"
    ui::TButton* Button7;         // "Sor törlése"
    ui::TGroupBox* GroupBox1;     // the general data
    ui::TEdit* Edit3;             // "Gazdasági év :"
    ui::TEdit* Edit4;             // "Tábla sorszám :"
    ui::TEdit* Edit1;             // "Házi megnevezés :"
    ui::TComboBox* ComboBox2;     // "Ágazat :"
    ui::TEdit* Edit8;             // "Hasznosítási kód :"
    ui::TEdit* Edit2;             // "Terület :" m²
    ui::TEdit* Edit9;             // "Hozamterv :"
    ui::TComboBox* ComboBox4;     // "Szaporítóanyag típusa :"
    ui::TCheckBox* CheckBox2;     // "Másodvetés :"
    ui::TCheckBox* CheckBox3;     // "Vis major eset :"
    ui::TCheckBox* CheckBox4;     // "Tápanyag-gazd. terv teljesült :"
    ui::TCheckBox* CheckBox5;     // "Melléktermék/zöldtrágya talajba forgatása :"
    ui::TEdit* Edit16;            // "Megjegyzés :"
    ui::TCheckBox* CheckBox10;    // "AKG-s tábla (igen/nem)"
    ui::TDBGrid* DBGrid5;         // KET areas
    ui::TPanel* Panel4;           // the flags over the KET list
    ui::TCheckBox* CheckBox6;     // "KAT :"
    ui::TCheckBox* CheckBox7;     // "natúra2000 :"
    ui::TCheckBox* CheckBox8;     // "nitrátérzékeny :"
    ui::TCheckBox* CheckBox9;     // "12%-os lejtő :"
    ui::TEdit* Edit17;            // "KAT támogatás :"
    ui::TEdit* Edit18;            // "Natura támogatás :"
    ui::TButton* Button12;        // "Másik tábla"
    ui::TButton* Button13;        // "Ültetvény- gyep adatok"
    ui::TButton* Button31;        // "Tápanyag-gazdálkodási terv"
    ui::TButton* Button20;        // "Tábla lezárása"
    ui::TButton* Button3;         // "Rögzítés"
    ui::TButton* Button2;         // "Bezárás"
    ui::TPanel* Panel1;           // "Módosítandó parcella kiválasztása."
    ui::TDBGrid* DBGrid1;
    ui::TButton* Button1; // "Kiválasztás"
    ui::TPanel* Panel2;   // "Parcellák listája :"
    ui::TDBGrid* DBGrid2;
    ui::TButton* Button8;  // "Kiválaszt"
    ui::TButton* Button10; // "Mégsem"
    ui::TPanel* Panel3;    // "Táblák listája :"
    ui::TDBGrid* DBGrid3;
    ui::TButton* Button9;  // "Kiválaszt"
    ui::TButton* Button11; // "Mégsem"
    reg::SideData Side;    // "Kiegészítő adatok"
    reg::KetChoice Ket{};  // the KET list and the flags over it

    // The Parckod of the field being edited; empty before one is chosen.
    std::string FieldCode;

    void FormActivate(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void FormKeyPress(TObject* Sender, TKey& Key);
    void Button1Click(TObject* Sender);  // choose the field
    void Button12Click(TObject* Sender); // another field
    void Button3Click(TObject* Sender);  // save
    void Button2Click(TObject* Sender);  // close
    void Button20Click(TObject* Sender); // close the field
    void Button31Click(TObject* Sender); // nutrient plan
    void Button4Click(TObject* Sender);  // predecessor list
    void Button5Click(TObject* Sender);  // remove a predecessor
    void Button6Click(TObject* Sender);  // land-parcel list
    void Button7Click(TObject* Sender);  // remove a land parcel
    void Button8Click(TObject* Sender);  // take a predecessor
    void Button9Click(TObject* Sender);  // take a land parcel
    void Button13Click(TObject* Sender); // side data
    void CheckBox10Click(TObject* Sender);

private:
    void EnableEditing(bool on);
    void LoadGrids();
    void LoadGeneralData();
    std::optional<reg::FieldData> ReadGeneralData();
    std::optional<int> ketid_; // the field's KET as stored
    bool ketChosen_ = false;   // the KET list's current row is the field's KET
    bool activated_ = false;
};
extern TParcmod* Parcmod;
