#pragma once
// The holder of the operations-by-land-parcel report "HejrajzMuv4.rav": never shown; the
// field list filter dialog (mode 1) creates it, runs its report and frees it. At the
// report's start it takes the dialog's three filter texts.

#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/report/report.h"
#include "platform/ui/vcl.h"
#include "register/farm_row.h"

#include <map>
#include <string>
#include <utility>

namespace reg {
// The nutrient percentages of a fertiliser use, as the material-use row keeps them
// ("X12;5,5;0;" in Felelos, else in Csira): "N:12% P:5,5% K:0%"; empty when the text
// does not start with "X" or lacks a separator.
std::string NutrientPercentText(const std::string& felelos, const std::string& csira);
} // namespace reg

class TTablalekerdez : public ui::TForm {
public:
    explicit TTablalekerdez(db::Session& session);

private:
    db::Session& session_;

public:
    db::TTable Table1{session_, "Table1"};   // Tablak.db by house name
    db::TTable Table2{session_, "Table2"};   // Szhelyrajzi.db
    db::TTable Table3{session_, "Table3"};   // parcellak.db by year
    db::TTable Table4{session_, "Table4"};   // ElvMuv.db by date
    db::TQuery Query1{session_, "Query1"};   // the operations with their field
    db::TTable Table5{session_, "Table5"};   // felhanyag.db
    db::TTable Table6{session_, "Table6"};   // Tapanyagok.db
    db::TTable Table7{session_, "Table7"};   // Novenyvedok.db
    db::TTable Table8{session_, "Table8"};   // Vetomagok.db
    db::TTable Table9{session_, "Table9"};   // Szparcellak.db
    db::TTable Table10{session_, "Table10"}; // parcellak.db, unfiltered
    db::TQuery Query2{session_, "Query2"};   // the house names
    db::TTable Table11{session_, "Table11"}; // the machine lookups
    TRvProject RvProject1{this, "RvProject1", "HejrajzMuv4.rav"};
    TRvTableConnection RvTableEnyConnection1{this, "RvTableEnyConnection1", &Table1};
    TRvTableConnection RvTableEnyConnection2{this, "RvTableEnyConnection2", &Table2};
    TRvTableConnection RvTableEnyConnection3{this, "RvTableEnyConnection3", &Table3};
    TRvTableConnection RvTableEnyConnection4{this, "RvTableEnyConnection4", &Table4};
    TRvQueryConnection RvQueryEnyConnection1{this, "RvQueryEnyConnection1", &Query1};
    TRvTableConnection RvTableEny2Connection1{this, "RvTableEny2Connection1", &Table5};
    TRvTableConnection RvTableEny2Connection2{this, "RvTableEny2Connection2", &Table6};
    TRvTableConnection RvTableEny2Connection3{this, "RvTableEny2Connection3", &Table7};
    TRvTableConnection RvTableEny2Connection4{this, "RvTableEny2Connection4", &Table8};
    TRvTableConnection RvTableEny3Connection1{this, "RvTableEny3Connection1", &Table9};
    TRvTableConnection RvTableEny3Connection2{this, "RvTableEny3Connection2", &Table10};
    TRvQueryConnection RvEnyingiQueryConnection1{this, "RvEnyingiQueryConnection1", &Query2};
    reg::FarmRow FarmRow1{this, session_};

    // The tractor's type (Erogepek.db) or the implement's name (Munkagepek.db) of a code;
    // empty when no machine has it.
    std::string MachineName(const std::string& tableName, const std::string& code);

    void RvProject1BeforeOpen(TObject* Sender);
    void Query1CalcFields(db::TDataSet& DataSet);
    void Table5CalcFields(db::TDataSet& DataSet);

private:
    // The names looked up during one report run: a farm's operations name few machines.
    std::map<std::pair<std::string, std::string>, std::string> machineNames_;
};
extern TTablalekerdez* Tablalekerdez;
