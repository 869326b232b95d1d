#pragma once
// "Parcellák szűkítése listázáshoz": the plant-protection observation sheet of the farming
// diary (2004-2009 "GN07Novvedmegf.rav", 2009-2014 "09GN09Novvedmegf.rav"): every
// recorded observation of the chosen fields with its pest row and the operations linked
// to it, in observation date order. The user narrows the fields by a selection in the
// grid, the sector and a range of farming years.

#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/report/report.h"
#include "platform/ui/menus.h"
#include "platform/ui/vcl.h"
#include "register/farm_row.h"

#include <string>

// The SQL of the sheet's rows with the condition tail after "WHERE 1 = 1 ".
std::vector<std::string> ObservationSheetSql(const std::string& tail);

class TGNNovVedMegf : public ui::TForm {
public:
    explicit TGNNovVedMegf(db::Session& session);

private:
    db::Session& session_;

public:
    db::TTable Table2{session_, "Table2"}; // parcellak.DB, the grid's fields
    db::TDataSource DataSource1{&Table2};
    db::TQuery Query3{session_, "Query3"}; // the sectors
    db::TQuery Query1{session_, "Query1"}; // the farming years
    db::TQuery Query2{session_, "Query2"}; // the sheet's rows
    db::TTable Table1{session_, "Table1"}; // Megffej.db
    TRvProject RvProject1{this, "RvProject1", "GN07Novvedmegf.rav"};
    TRvQueryConnection RvQueryGN07NovVedmegfConnection1{this, "RvQueryGN07NovVedmegfConnection1",
                                                        &Query2};
    reg::FarmRow FarmRow1{this, session_};

    ui::TDBGrid* DBGrid1;
    ui::TCheckBox* CheckBox1; // "Aklív táblák"
    ui::TComboBox* ComboBox1; // sector
    ui::TComboBox* ComboBox2; // first farming year
    ui::TComboBox* ComboBox3; // last farming year
    ui::TButton* Button1;     // "Nyomtatás"
    ui::TButton* Button2;     // "Feltételek törlése"
    ui::TButton* Button3;     // "Mégsem"
    ui::TPopupMenu* PopupMenu1;
    ui::TMenuItem* Aktivparcellak1;

    void FormShow(TObject* Sender);
    void FormActivate(TObject* Sender);
    void FormKeyPress(TObject* Sender, TKey& Key);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    void CheckBox1Click(TObject* Sender);
    void Aktivparcellak1Click(TObject* Sender);

private:
    bool activated_ = false;
};
extern TGNNovVedMegf* GNNovVedMegf;

// Opens the observation sheet's condition form modally; a non-empty projectFile replaces
// the project file of its report ("09GN09Novvedmegf.rav" for the 2009-2014 diary).
void OpenObservationSheet(db::Session& session, const std::string& projectFile = {});
