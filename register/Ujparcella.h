#pragma once
// "Új tábla kialakítása": creates a field of a farming year on the marked land parcels,
// continuing the marked predecessor fields, with its support-scheme data, side rows and
// nutrient plan, saved in one transaction; then offers to close the predecessors.

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

class TUjparcellaF : public ui::TForm {
public:
    explicit TUjparcellaF(db::Session& session);

private:
    db::Session& session_;

public:
    db::TTable Table2{session_, "Table2"}; // tablak.DB, the active land parcels
    db::TTable Table3{session_, "Table3"}; // parcellak.db, the predecessors offered
    db::TTable Table8{session_, "Table8"}; // Szhelyrajzi.DB, to narrow the predecessors
    db::TTable Table1{session_, "Table1"}; // Magfajtak.db, the sector list
    db::TQuery Query2{session_, "Query2"}; // the KET areas
    db::TDataSource DataSource2{&Table2};
    db::TDataSource DataSource3{&Table3};
    db::TDataSource DataSource1{&Table1};
    db::TDataSource DataSource4{&Query2};

    ui::TDBGrid* DBGrid1;                     // land parcels, multi-select
    ui::TButton* Button4;                     // "Kijelölés visszavonása" (land parcels)
    ui::TDBGrid* DBGrid2;                     // predecessors, multi-select
    ui::TButton* Button5;                     // "Kijelölés visszavonása" (predecessors)
    ui::TEdit* Edit4;                         // "Gazdasági év"
    ui::TEdit* Edit1;                         // "Tábla sorszám"
    ui::TEdit* Edit2;                         // "Házi megnevezés"
    ui::TDBLookupComboBox* DBLookupComboBox1; // "Ágazat"
    ui::TButton* Button3;                     // "+"
    ui::TEdit* Edit9;                         // "Hasznosítási kód"
    ui::TEdit* Edit3;                         // "Az új tábla területe"
    ui::TEdit* Edit8;                         // "Hozamterv"
    ui::TComboBox* ComboBox2;                 // "Szaporítóanyag típusa"
    ui::TCheckBox* CheckBox1;                 // "Másodvetés"
    ui::TCheckBox* CheckBox2;                 // "Vis major eset"
    ui::TCheckBox* CheckBox3;                 // "Tápanyag-gazd. terv teljesült"
    ui::TCheckBox* CheckBox4;                 // "Melléktermék/zöldtrágya talajba forgatása"
    ui::TEdit* Edit16;                        // "Megjegyzés"
    ui::TCheckBox* CheckBox5;                 // "AKG-s tábla (igen/nem)"
    ui::TDBGrid* DBGrid4;                     // KET areas
    ui::TPanel* Panel2;                       // the flags over the KET grid
    ui::TCheckBox* CheckBox6;                 // "KAT"
    ui::TCheckBox* CheckBox7;                 // "natúra2000"
    ui::TCheckBox* CheckBox8;                 // "nitrátérzékeny"
    ui::TCheckBox* CheckBox9;                 // "12%-os lejtő"
    ui::TEdit* Edit17;                        // "KAT támogatás"
    ui::TEdit* Edit18;                        // "Natura támogatás"
    ui::TButton* Button6;                     // "Tápanyag-gazdálkodási terv készítése"
    ui::TButton* Button7;                     // "Ültetvény - gyep adatok"
    ui::TButton* Button1;                     // "Rögzítés"
    ui::TButton* Button2;                     // "Mégsem"
    reg::SideData Side;                       // "Kiegészítő adatok"
    reg::KetChoice Ket{};                     // the KET list and the flags over it

    // The Parckod of the field saved; empty until a save succeeds.
    std::string CreatedFieldCode;

    void FormShow(TObject* Sender);
    void FormActivate(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void FormKeyPress(TObject* Sender, TKey& Key);
    void DBGrid1CellClick(ui::TColumn& Column);
    void Edit4Exit(TObject* Sender);
    void DBLookupComboBox1Click(TObject* Sender);
    void CheckBox5Click(TObject* Sender);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    void Button4Click(TObject* Sender);
    void Button5Click(TObject* Sender);
    void Button6Click(TObject* Sender);
    void Button7Click(TObject* Sender);

private:
    struct Marked {
        std::vector<int> tableids;
        long long area = 0; // square metres
    };
    struct Input {
        reg::FieldData data;
        int evj = 0;
        int parcsor = 0;
        std::vector<int> parcels;
        std::vector<std::string> predecessors;
        reg::Grassland grass;
        std::string speciesCode; // Fajkod of the chosen sector
    };
    Marked MarkedParcels();
    std::vector<std::string> MarkedPredecessors(bool sameSector);
    std::optional<Input> ReadInput();
    void Write(const Input& input, const std::string& code);
    void MissingData();

    bool saved_ = false;
    bool activated_ = false;
};
extern TUjparcellaF* UjparcellaF;
