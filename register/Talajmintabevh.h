#pragma once
// "Talajminták laboreredményeinek rögzítése": records the laboratory result of a soil
// sample of an active land parcel (its average or one numbered sample), optionally linked
// to a KET sampling place; after each save the next sample may follow.

#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/ui/vcl.h"
#include "register/soil_tests.h"

#include <memory>
#include <string>
#include <vector>

class TTalajmintabev : public ui::TForm {
public:
    explicit TTalajmintabev(db::Session& session);

private:
    db::Session& session_;

public:
    db::TTable Table1{session_, "Table1"}; // tablak.DB, active land parcels
    db::TDataSource DataSource1{&Table1};
    db::TTable Table2{session_, "Table2"}; // Talajmintak.DB
    db::TQuery Query1{session_, "Query1"}; // the serials of a land parcel
    db::TQuery Query2{session_, "Query2"}; // the sampling places
    db::TDataSource DataSource2{&Query2};

    ui::TLabel* Label1; // "Laboreredmények rendezése"
    ui::TDBGrid* DBGrid1;
    ui::TDateTimePicker* DateTimePicker1; // "Dátum :"
    ui::TEdit* Edit1;                     // "Vizsgáló labor neve :"
    ui::TEdit* Edit2;                     // "Minta jele :"
    ui::TEdit* Edit3;                     // "Mélység :"
    ui::TCheckBox* CheckBox1;             // the land parcel's average
    ui::TLabel* Label2;                   // "A minta sorszáma :"
    ui::TEdit* Edit4;                     // the serial
    std::vector<ui::TEdit*> AnalyteEdits; // in reg::SoilAnalytes() order
    ui::TComboBox* ComboBox1;             // "Nitrogén :"
    ui::TComboBox* ComboBox2;             // "Foszfor :"
    ui::TComboBox* ComboBox3;             // "Kálium :"
    ui::TButton* Button1;                 // "Rögzítés"
    ui::TButton* Button2;                 // "Mégsem"
    ui::TButton* Button3;                 // "Mintahely megadása"
    std::unique_ptr<reg::SamplingPlaceBox> PlaceBox;
    ui::TPopupMenu* PopupMenu1;

    // The chosen sampling place (Id of TalajmintaKet.db), -1 for none.
    int ChosenPlace = -1;

    void FormShow(TObject* Sender);
    void FormActivate(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void FormKeyPress(TObject* Sender, TKey& Key);
    void CheckBox1Click(TObject* Sender);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    void PlaceOkClick(TObject* Sender);
    void PlaceCancelClick(TObject* Sender);

private:
    void TakeLandParcel();
    std::string NextResultCode();
};
extern TTalajmintabev* Talajmintabev;
