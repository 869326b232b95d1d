#pragma once
// "Éves hozam": the yield of one farming year per sector in tonnes, from the yields
// recorded with the performed operations; printed as "Hozamosz.rav".

#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/report/report.h"
#include "platform/ui/vcl.h"
#include "register/farm_row.h"

#include <string>

class THozam : public ui::TForm {
public:
    explicit THozam(db::Session& session);

private:
    db::Session& session_;

public:
    db::TQuery Query1{session_, "Query1"}; // the sectors' yields of the year `ev`
    db::TDataSource DataSource1{&Query1};
    TRvProject RvProject1{this, "RvProject1", "Hozamosz.rav"};
    TRvQueryConnection RvHozamQueryConnection1{this, "RvHozamQueryConnection1", &Query1};
    TRvCustomConnection RvHozamCustomConnection1{this, "RvHozamCustomConnection1"};
    reg::FarmRow FarmRow1{this, session_};

    ui::TComboBox* ComboBox1;
    ui::TDBGrid* DBGrid1;
    ui::TButton* Button4; // "|||||", "Érvényesítés"
    ui::TButton* Button2; // "Nyomtatás"
    ui::TButton* Button1; // "Vissza"
    ui::TPopupMenu* PopupMenu1;

    void FormShow(TObject* Sender);
    void FormKeyPress(TObject* Sender, TKey& Key);
    void Button4Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button1Click(TObject* Sender);
    void Query1CalcFields(db::TDataSet& DataSet);

    // The farming year whose rows are shown.
    int Year() const { return year_; }

private:
    // Applies the year box's text; false when it is not a whole number (told).
    bool ApplyYear();
    void ShowYear(int year);
    int year_ = 0;
};
extern THozam* Hozam;
