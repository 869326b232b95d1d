#pragma once
// The new-owner dialog "Új tulajdonos": stores one owner in tulaj.db and prints the active
// land parcels with their owners ("Tulajdonosok.rav").

#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/report/report.h"
#include "platform/ui/vcl.h"
#include "register/farm_row.h"

#include <string>

class Tujtulaj : public ui::TForm {
public:
    explicit Tujtulaj(db::Session& session);

private:
    db::Session& session_;

public:
    db::TTable Table1{session_, "Table1"}; // tulaj.db in Tulkod order
    db::TQuery Query1{session_, "Query1"}; // the report's rows
    db::TDataSource DataSource1{&Query1};
    TRvProject RvProject1{this, "RvProject1", "Tulajdonosok.rav"};
    TRvDataSetConnection RvDataSetConnection1{this, "RvDataSetConnection1", &Query1};
    reg::FarmRow FarmRow1{this, session_};

    ui::TLabel* Label1;
    ui::TEdit* Edit3; // name
    ui::TLabel* Label2;
    ui::TEdit* Edit2; // address
    ui::TLabel* Label3;
    ui::TEdit* Edit1;     // telephone
    ui::TButton* Button1; // "Bevitel"
    ui::TButton* Button2; // "Mégsem"
    ui::TButton* Button3; // "Lista"

    // The owner stored by "Bevitel", read by the opener after the dialog closed; both
    // stay empty when nothing was stored.
    std::string CreatedOwnerCode;
    std::string CreatedOwnerName;

    void FormActivate(TObject* Sender);
    void FormKeyPress(TObject* Sender, TKey& Key);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    // The owner heading and the area in hectares of a report row.
    void Query1CalcFields(db::TDataSet& DataSet);
};
extern Tujtulaj* ujtulaj;
