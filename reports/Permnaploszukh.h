#pragma once
// "Permetezési napló feltételei": the conditions of the spray log. The marked fields,
// the harvest year, the sector and the date range become the condition tail and the
// date range that the listing reads through the global pointer while this form stays
// open under it; "GN10 nyomtatás" prints the diary's spray sheet itself.

#include "condition_controls.h"
#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/report/report.h"
#include "platform/ui/menus.h"
#include "platform/ui/picker.h"
#include "platform/ui/vcl.h"
#include "register/farm_row.h"
#include "spray_log.h"

#include <string>

class Tpermnaploszuk : public ui::TForm {
public:
    explicit Tpermnaploszuk(db::Session& session);

private:
    db::Session& session_;

public:
    std::string ConditionTail;
    std::string DateRangeFilter;

    db::TQuery Query1{session_, "Query1"}; // the operation dates
    db::TQuery Query2{session_, "Query2"}; // the farming years
    db::TQuery Query3{session_, "Query3"}; // the sectors
    db::TQuery Query4{session_, "Query4"}; // the diary sheet's rows
    db::TTable Table1{session_, "Table1"}; // parcellak.DB, the field grid
    db::TDataSource DataSource1{&Table1};
    TRvProject RvProject1{this, "RvProject1", "GN08Permetez.rav"};
    TRvQueryConnection RvQueryGN08PermNConnection1{this, "RvQueryGN08PermNConnection1", &Query4};
    reg::FarmRow FarmRow1{this, session_};
    spray::SprayLookups Lookups; // the tractors, implements, workers, observations

    ui::TCheckBox* CheckBox1; // "Aktív táblák"
    ui::TDBGrid* DBGrid1;     // "Táblák :"
    ui::TComboBox* ComboBox1; // "Ágazatok :"
    ui::TComboBox* ComboBox2; // "Betakarítás éve :"
    ui::TDateTimePicker* DateTimePicker1;
    ui::TDateTimePicker* DateTimePicker2;
    ui::TButton* Button1; // "Feltételek törlése"
    ui::TButton* Button2; // "Nyomtatás"
    ui::TButton* Button3; // "<< Vissza"
    ui::TButton* Button4; // "GN10 nyomtatás"
    ui::TPopupMenu* PopupMenu1;
    ui::TMenuItem* Aktvparcellk1;

    void FormActivate(TObject* Sender);
    void FormKeyPress(TObject* Sender, TKey& Key);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    void Button4Click(TObject* Sender);
    void CheckBox1Click(TObject* Sender);
    void Aktvparcellk1Click(TObject* Sender);
    void Query4CalcFields(db::TDataSet& DataSet);

private:
    lists::ConditionControls Controls();
    bool BuildConditions();
};
extern Tpermnaploszuk* permnaploszuk;

// Opens the spray log's conditions form modally; a non-empty projectFile replaces the
// project file of its sheet report ("09GN10Permetez.rav" for the 2009-2014 diary).
void OpenSprayLogConditions(db::Session& session, const std::string& projectFile = {});
