#pragma once
// "Talaj- illetve növényvizsgálati adatlap": the conditions of the diary's soil- and
// plant-test sheet. The fields-average laboratory results (Mintas = 0) of the land
// parcels under the fields chosen by field, sector and a range of farming years are
// selected and printed as "GNTalajvizs.rav".

#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/report/report.h"
#include "platform/ui/menus.h"
#include "platform/ui/vcl.h"
#include "register/farm_row.h"

#include <string>
#include <vector>

// The SQL lines of the selection with the condition tail. The preview's column list has
// Labor before Tablakod and the eight Ocd ... Oas columns at its end.
std::vector<std::string> SoilTestSql(bool preview, const std::string& tail);

class TGNTalajv : public ui::TForm {
public:
    explicit TGNTalajv(db::Session& session);

private:
    db::Session& session_;

public:
    std::string ConditionTail;

    db::TTable Table1{session_, "Table1"}; // parcellak.DB, the grid's fields
    db::TDataSource DataSource1{&Table1};
    db::TTable Table2{session_, "Table2"}; // Talajmintak.DB
    db::TQuery Query1{session_, "Query1"}; // the selection
    db::TQuery Query2{session_, "Query2"}; // the farming years
    db::TQuery Query3{session_, "Query3"}; // the sectors
    TRvProject RvProject1{this, "RvProject1", "GNTalajvizs.rav"};
    TRvQueryConnection RvQueryGNTalajvConnection1{this, "RvQueryGNTalajvConnection1", &Query1};
    reg::FarmRow FarmRow1{this, session_};

    ui::TCheckBox* CheckBox1; // "Aklív táblák"
    ui::TDBGrid* DBGrid1;
    ui::TComboBox* ComboBox1; // "Ágazat :"
    ui::TComboBox* ComboBox2; // "Első gazdasági év :"
    ui::TComboBox* ComboBox3; // "Utolsó gazdasági év :"
    ui::TButton* Button1;     // "Nyomtatási kép"
    ui::TButton* Button4;     // "Nyomtatás"
    ui::TButton* Button2;     // "Feltételek törlése"
    ui::TButton* Button3;     // "Mégsem"
    ui::TPopupMenu* PopupMenu1;
    ui::TMenuItem* Aktivparcellak1;

    void FormShow(TObject* Sender);
    void FormActivate(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void FormKeyPress(TObject* Sender, TKey& Key);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    void Button4Click(TObject* Sender);
    void CheckBox1Click(TObject* Sender);
    void Aktivparcellak1Click(TObject* Sender);

private:
    // Checks the years, selects, and prints; the empty-result message otherwise.
    void Run(bool preview, const char* emptyText);
    void ShowYearRange();
};
extern TGNTalajv* GNTalajv;

// The soil-test conditions shown modally and freed.
void OpenSoilTestConditions(db::Session& session);
