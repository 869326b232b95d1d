#pragma once
// "Listázandó táblák szűkítése": the condition form of the farming-diary sheets that list
// fields or operations field by field (2004-2009: GN 04, GN 05, GN 06, GN 09, GN 11;
// 2009-2014, with other layout files: GN-07, GN-11, GN-12). The opener sets
// DiaryReportMode; "Nyomtatás" builds ConditionTail from the controls, runs the sheet's
// query and its report; the queries' calculated columns fill the sheet's computed values.

#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/report/report.h"
#include "platform/sys/datetime.h"
#include "platform/ui/menus.h"
#include "platform/ui/picker.h"
#include "platform/ui/vcl.h"
#include "register/farm_row.h"

#include <array>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

// The user's narrowing, read from the controls (the texts checked as whole numbers).
struct DiaryFieldConditions {
    std::vector<std::string> fields; // Parckod of the selected rows, in selection order
    std::string sector;
    std::string firstYear, lastYear;
    std::optional<int> serialFrom, serialTo;
    bool activeOnly = false;
};

// " AND (<col> = '...' OR ...)", " AND parcellak.Agazat = '...'", the year bounds, the
// serial range and " AND Aktiv = 'A'", in this order; empty without conditions. The
// texts enter quoted as SQL strings.
std::string DiaryConditionTail(const DiaryFieldConditions& c, const std::string& codeColumn);

// The N, P and K percentages of a nutrient text ("X27;0;0;"); all 0 when the text does not
// start with X. A number that does not read, or lacks its ";", throws ConversionError.
std::array<double, 3> NutrientPercents(const std::string& felelos);

// The nitrogen percentage a material use is marked with: the number after the X of its
// nutrient text (Felelos, else Csira) up to the first ";"; 0 without the X.
double MarkedNitrogenPercent(const std::string& felelos, const std::string& csira);

class TGNParSzuk : public ui::TForm {
public:
    explicit TGNParSzuk(db::Session& session);

private:
    db::Session& session_;

public:
    int DiaryReportMode = 0; // 1 GN 04, 2 GN 05, 3 GN 06, 4 GN 09, 5 GN 11
    std::string ConditionTail;
    int StartPage = 1;
    int PageCounter = 0;

    db::TTable Table2{session_, "Table2"}; // parcellak.DB, the grid's fields
    db::TDataSource DataSource1{&Table2};
    db::TQuery Query3{session_, "Query3"};   // the sectors
    db::TQuery Query1{session_, "Query1"};   // the farming years
    db::TQuery Query6{session_, "Query6"};   // the operation dates
    db::TTable Table14{session_, "Table14"}; // kotegyter.db
    db::TQuery Query2{session_, "Query2"};   // the fields of a sheet
    db::TTable Table1{session_, "Table1"};   // Tapterv.db
    db::TTable Table3{session_, "Table3"};   // Parcteny.db
    db::TTable Table5{session_, "Table5"};   // Parckiegadat.db
    db::TTable Table7{session_, "Table7"};   // ElvMuv.db by date
    db::TTable Table8{session_, "Table8"};   // felhanyag.db
    db::TTable Table9{session_, "Table9"};   // Tapanyagok.db
    db::TTable Table10{session_, "Table10"}; // Novenyvedok.db
    db::TTable Table11{session_, "Table11"}; // Vetomagok.db
    db::TQuery Query4{session_, "Query4"};   // irrigation operations
    db::TTable Table12{session_, "Table12"}; // felhanyag.db of the irrigation sheet
    db::TTable Table13{session_, "Table13"}; // vizkivet.DB
    db::TQuery Query5{session_, "Query5"};   // fertiliser uses
    db::TTable Lookup{session_, "Lookup"};   // names of the calculated columns

    TRvProject RvProject1{this, "RvProject1", "GN04ParcAdatok.rav"};
    TRvProject RvProject2{this, "RvProject2", "GN05ParcAdatok.rav"};
    TRvProject RvProject3{this, "RvProject3", "GN06MuvAdatok.rav"};
    TRvProject RvProject4{this, "RvProject4", "GN09Ontozes.rav"};
    TRvProject RvProject5{this, "RvProject5", "GN11TraNapl.rav"};
    TRvQueryConnection RvQueryGN04PFejConnection1{this, "RvQueryGN04PFejConnection1", &Query2};
    TRvTableConnection RvTableGN04ParcTapConnection1{this, "RvTableGN04ParcTapConnection1",
                                                     &Table1};
    TRvTableConnection RvTableGN04ParcTapConnection2{this, "RvTableGN04ParcTapConnection2",
                                                     &Table3};
    TRvTableConnection RvTableGN05ParcUltadatConnection3{this, "RvTableGN05ParcUltadatConnection3",
                                                         &Table5};
    TRvTableConnection RvTableGN06ParcMuvAdatConnection4{this, "RvTableGN06ParcMuvAdatConnection4",
                                                         &Table7};
    TRvTableConnection RvTableGN06ParcMuvConnection1{this, "RvTableGN06ParcMuvConnection1",
                                                     &Table8};
    TRvTableConnection RvTableGN06ParcMuvConnection2{this, "RvTableGN06ParcMuvConnection2",
                                                     &Table9};
    TRvTableConnection RvTableGN06ParcMuvConnection3{this, "RvTableGN06ParcMuvConnection3",
                                                     &Table10};
    TRvTableConnection RvTableGN06ParcMuvConnection4{this, "RvTableGN06ParcMuvConnection4",
                                                     &Table11};
    TRvQueryConnection RvQueryGN09OntNapConnection1{this, "RvQueryGN09OntNapConnection1", &Query4};
    TRvTableConnection RvTableGN09OntNapConnection1{this, "RvTableGN09OntNapConnection1", &Table12};
    TRvTableConnection RvVizkivetTableConnection1{this, "RvVizkivetTableConnection1", &Table13};
    TRvQueryConnection RvQueryGN11TraNapConnection1{this, "RvQueryGN11TraNapConnection1", &Query5};
    reg::FarmRow FarmRow1{this, session_};

    ui::TLabel* Label1;
    ui::TDBGrid* DBGrid1;
    ui::TCheckBox* CheckBox1; // "Aklív táblák"
    ui::TCheckBox* CheckBox3;
    ui::TComboBox* ComboBox1; // sector
    ui::TComboBox* ComboBox2; // first farming year
    ui::TComboBox* ComboBox3; // last farming year
    ui::TLabel* Label7;
    ui::TLabel* Label8;
    ui::TDateTimePicker* DateTimePicker1;
    ui::TDateTimePicker* DateTimePicker2;
    ui::TCheckBox* CheckBox2; // "Tábla sorszám :"
    ui::TEdit* Edit2;
    ui::TEdit* Edit3;
    ui::TLabel* Label4;
    ui::TEdit* Edit1; // "Kezdő oldal:"
    ui::TButton* Button1;
    ui::TButton* Button2;
    ui::TButton* Button3;
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
    void CheckBox2Click(TObject* Sender);
    void Aktivparcellak1Click(TObject* Sender);

    void Query2CalcFields(db::TDataSet& DataSet);
    void Table1CalcFields(db::TDataSet& DataSet);
    void Table5CalcFields(db::TDataSet& DataSet);
    void Table7CalcFields(db::TDataSet& DataSet);
    void Table8CalcFields(db::TDataSet& DataSet);
    void Query4CalcFields(db::TDataSet& DataSet);
    void Table12CalcFields(db::TDataSet& DataSet);
    void Query5CalcFields(db::TDataSet& DataSet);

private:
    // Reads the controls; false (the message shown) when a year or the serial range is
    // not a whole number.
    bool ReadConditions(DiaryFieldConditions& c, bool withSerials);
    std::vector<std::string> SelectedFields();
    void ShowOperationDates();
    void AddYears();
    std::string LookupText(const std::string& table, const std::string& filter,
                           const std::string& field);
    void ReadFieldsOfSheet();
    bool RunIfNotEmpty(db::TQuery& query, TRvProject& project);
    // The sector and area of each field the sheet prints (for the operation rows).
    std::unordered_map<std::string, std::pair<std::string, double>> sheetFields_;
    std::unordered_map<std::string, std::string> materialNames_;
    bool activated_ = false;
};
extern TGNParSzuk* GNParSzuk;

// The opener of the diary selectors: the form in the mode given, with the layout file
// of the mode's project when one is given (the 2009-2014 sheets), shown modally, freed.
void OpenDiaryParcelConditions(db::Session& session, int mode, const std::string& projectFile = {});
