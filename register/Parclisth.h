#pragma once
// "Táblák listája": the fields matching the conditions of the filter dialog, with their
// number, the number of crops and their total area; printed through "Parcellak.rav".

#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/report/report.h"
#include "platform/ui/vcl.h"

#include <string>

class TParcList : public ui::TForm {
public:
    explicit TParcList(db::Session& session);

private:
    db::Session& session_;

public:
    db::TQuery Query1{session_, "Query1"}; // the list
    db::TDataSource DataSource1{&Query1};
    db::TQuery Query2{session_, "Query2"};       // the two counts
    db::TTable Table1{session_, "Table1"};       // Szhelyrajzi.db
    db::TTable Table2{session_, "Table2"};       // tablak.DB
    db::TTable Table3{session_, "Table3"};       // Szparcellak.db
    db::TTable Table4{session_, "Table4"};       // parcellak.DB
    db::TTable FarmTable{session_, "FarmTable"}; // the farm's name
    TRvProject RvProject1{this, "RvProject1", "Parcellak.rav"};
    TRvQueryConnection RvQueryConnection1{this, "RvQueryConnection1", &Query1};
    TRvTableConnection RvTableConnection1{this, "RvTableConnection1", &Table2};
    TRvTableConnection RvTableConnection2{this, "RvTableConnection2", &Table4};
    TRvTableConnection RvTableConnection3{this, "RvTableConnection3", &Table1};
    TRvTableConnection RvTableConnection4{this, "RvTableConnection4", &Table3};
    TRvCustomConnection RvCustomConnection1{this, "RvCustomConnection1"};

    ui::TDBGrid* DBGrid1;
    ui::TEdit* Edit1;     // "Táblák száma :"
    ui::TEdit* Edit2;     // "Ágazatok száma :"
    ui::TEdit* Edit3;     // "Összterület :"
    ui::TButton* Button1; // "Nyomtatás"
    ui::TButton* Button2; // "Vissza"
    ui::TPopupMenu* PopupMenu1;

    // The total area of the listed fields in square metres, each area as a whole number.
    long long SumFieldArea();
    // The printout's title from the year and crop of the conditions.
    static std::string ListTitle(const std::string& year, const std::string& crop);

    void FormActivate(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void FormKeyPress(TObject* Sender, TKey& Key);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Query1CalcFields(db::TDataSet& DataSet);

private:
    void OpenCounts();
};
extern TParcList* ParcList;

namespace reg {

// The farming year as the printouts write it: 2009 as "2008/2009".
std::string FarmingYearWord(int year);

} // namespace reg
