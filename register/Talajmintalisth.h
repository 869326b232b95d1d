#pragma once
// "Talajvizsgálatok listázása": the soil laboratory results by land parcels, year and
// average or single sample; a result is modified (and linked to a KET sampling place) in a
// box, or deleted; the list prints through "Talajmintak.rav".

#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/report/report.h"
#include "platform/ui/vcl.h"
#include "register/farm_row.h"
#include "register/soil_tests.h"

#include <memory>
#include <string>
#include <vector>

namespace reg {

// The conditions of the list query after its join condition: " And (Tablakod = '12' Or
// Tablakod = '15') And (Ev = 2008) And (Mintas = 0)". The year is a whole number.
std::string SoilTestListCondition(const std::vector<int>& landParcels, const std::string& year,
                                  bool averagesOnly);

} // namespace reg

class TTalajmintalist : public ui::TForm {
public:
    explicit TTalajmintalist(db::Session& session);

private:
    db::Session& session_;

public:
    db::TTable Table1{session_, "Table1"}; // tablak.DB, active land parcels
    db::TDataSource DataSource1{&Table1};
    db::TQuery Query1{session_, "Query1"}; // the results listed
    db::TDataSource DataSource2{&Query1};
    db::TQuery Query2{session_, "Query2"}; // the years
    db::TTable Table2{session_, "Table2"}; // Talajmintak.DB
    db::TQuery Query3{session_, "Query3"}; // the sampling places
    db::TDataSource DataSource3{&Query3};
    TRvProject RvProject1{this, "RvProject1", "Talajmintak.rav"};
    TRvQueryConnection RvQueryConnection1{this, "RvQueryConnection1", &Query1};
    TRvTableConnection RvTableConnection1{this, "RvTableConnection1", &Table2};
    reg::FarmRow FarmRow1{this, session_};

    ui::TLabel* Label1;       // "Talajvizsgálatok lekérdezése"
    ui::TDBGrid* DBGrid1;     // "Táblák :"
    ui::TComboBox* ComboBox1; // "Év :"
    ui::TCheckBox* CheckBox1; // "Táblaátlagok :"
    ui::TDBGrid* DBGrid2;     // "Laboreredmények :"
    ui::TButton* Button1;     // "Szűrés"
    ui::TButton* Button2;     // "Szűrők törlése"
    ui::TButton* Button3;     // "Nyomtatás"
    ui::TButton* Button4;     // "Nyomtatási kép"
    ui::TButton* Button5;     // "Módosítás"
    ui::TButton* Button6;     // "Törlés"
    ui::TButton* Button7;     // "Bezárás"
    ui::TPopupMenu* PopupMenu1;

    ui::TGroupBox* GroupBox1;             // "Eredmények módosítása"
    ui::TLabel* Label2;                   // "Terület (Hrsz):" and its lot number
    ui::TEdit* Edit1;                     // "Vizsgló labor neve :", tied to no column
    ui::TDateTimePicker* DateTimePicker1; // "Dátum :"
    ui::TEdit* Edit2;                     // "Minta sorszáma :"
    ui::TEdit* Edit3;                     // "Mintajel :"
    ui::TEdit* Edit4;                     // "Mélység :"
    std::vector<ui::TEdit*> AnalyteEdits;
    ui::TComboBox* ComboBox2; // "Nitrogén :"
    ui::TComboBox* ComboBox3; // "Foszfor :"
    ui::TComboBox* ComboBox4; // "Kálium :"
    ui::TButton* Button8;     // "Mintahely megadása/megváltoztatása"
    ui::TButton* Button9;     // "Mégsem"
    ui::TButton* Button10;    // "Rögzít"
    std::unique_ptr<reg::SamplingPlaceBox> PlaceBox;

    // The chosen sampling place (Id of TalajmintaKet.db), -1 for none.
    int ChosenPlace = -1;

    void FormShow(TObject* Sender);
    void FormActivate(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void FormKeyPress(TObject* Sender, TKey& Key);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    void Button4Click(TObject* Sender);
    void Button5Click(TObject* Sender);
    void Button6Click(TObject* Sender);
    void Button7Click(TObject* Sender);
    void Button8Click(TObject* Sender);
    void Button9Click(TObject* Sender);
    void Button10Click(TObject* Sender);
    void PlaceChangeClick(TObject* Sender);
    void PlaceCancelClick(TObject* Sender);

private:
    // Rebuilds and opens the list from the filter controls; false (with the check's
    // message) when the year is no whole number.
    bool BuildList();
    bool LocateCurrentResult();
    std::vector<int> MarkedLandParcels();
    std::string editedCode_; // Mintakod of the result in the box
};
extern TTalajmintalist* Talajmintalist;
