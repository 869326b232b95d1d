#pragma once
// "Mezei leltár": the field inventory of 31 December of a calendar year Y: per sector,
// the materials used and the hours and normal hectares worked during Y on the fields of
// farming year Y + 1; printed as "Mezeileltar.rav".

#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/report/report.h"
#include "platform/ui/vcl.h"
#include "register/farm_row.h"

#include <optional>
#include <string>

class TMezei : public ui::TForm {
public:
    explicit TMezei(db::Session& session);

private:
    db::Session& session_;

public:
    db::TQuery Query1{session_, "Query1"}; // fertilisers and yield enhancers
    db::TQuery Query2{session_, "Query2"}; // seeds
    db::TQuery Query3{session_, "Query3"}; // pesticides
    db::TQuery Query4{session_, "Query4"}; // work
    db::TDataSource DataSource1{&Query1}, DataSource2{&Query2}, DataSource3{&Query3},
        DataSource4{&Query4};
    TRvProject RvProject1{this, "RvProject1", "Mezeileltar.rav"};
    TRvQueryConnection RvMezeiQueryConnection1{this, "RvMezeiQueryConnection1", &Query1};
    TRvQueryConnection RvMezeiQueryConnection2{this, "RvMezeiQueryConnection2", &Query2};
    TRvQueryConnection RvMezeiQueryConnection3{this, "RvMezeiQueryConnection3", &Query3};
    TRvQueryConnection RvMezeiQueryConnection4{this, "RvMezeiQueryConnection4", &Query4};
    TRvCustomConnection RvMezeiCustomConnection1{this, "RvMezeiCustomConnection1"};
    reg::FarmRow FarmRow1{this, session_};

    ui::TLabel* Label1; // the heading
    ui::TComboBox* ComboBox1;
    ui::TPageControl* PageControl1;
    ui::TDBGrid* DBGrid1; // "Termésnövelők"
    ui::TDBGrid* DBGrid3; // "Növényvédőszerek"
    ui::TDBGrid* DBGrid2; // "Vetőmagok"
    ui::TDBGrid* DBGrid4; // "Gépi-kézióra, normálhektár"
    ui::TButton* Button1; // "Vissza"
    ui::TButton* Button3; // "Nyomtatás"
    ui::TPopupMenu* PopupMenu1;

    void FormActivate(TObject* Sender);
    void FormKeyPress(TObject* Sender, TKey& Key);
    void ComboBox1Change(TObject* Sender);
    void Button1Click(TObject* Sender);
    void Button3Click(TObject* Sender);

    // The calendar year whose inventory is shown.
    int Year() const { return year_; }

private:
    void ShowYear(int year);
    int year_ = 0;
};
extern TMezei* Mezei;
