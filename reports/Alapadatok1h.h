#pragma once
// "Alapadatok I.": the parcel summary sheets of the farming diary. One row per field with
// its area in hectares, land-use branch, block, use-right letter, predecessor serials,
// the land-registry numbers of its land parcels and its support programmes:
// - GN 03 "Parcellaösszesítő" ("GN03Parcellak.rav"): the agri-environment fields of one
//   farming year, or every active one; the form is shown and the user chooses;
// - GN-06 ("09GN06Parcellak.rav"): the fields of one farming year outside the scheme,
//   printed through the form without showing it.
// A field on several land parcels gets a date mark in place of its land-registry numbers,
// and the numbers go into a remark row (a hidden string grid read by the layout) naming
// the sheet, the page, the column and the line of the mark.

#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/report/report.h"
#include "platform/ui/db_lookup.h"
#include "platform/ui/grid.h"
#include "platform/ui/vcl.h"
#include "register/farm_row.h"

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

// The rows of one sheet page: a remark names the page and line of its field's row.
constexpr int kSummaryRowsPerPage = 14;

// Where the n-th row of a sheet stands (n from 1): page (n-1) div 14 + 1, line
// (n-1) mod 14 + 1.
struct SheetPlace {
    int page = 1;
    int line = 1;
};
SheetPlace SummarySheetPlace(int rowNumber);

// "SAPS", "AKG" and "KAT" of the flags that are set, joined by commas, in that order.
std::string SupportProgrammes(bool tertam, bool agrkor, bool kat19);

class TAlapadatok1 : public ui::TForm {
public:
    explicit TAlapadatok1(db::Session& session);
    ~TAlapadatok1() override;

private:
    db::Session& session_;

public:
    db::TQuery Query1{session_, "Query1"}; // the farming years
    db::TDataSource DataSource1{&Query1};
    db::TQuery Query3{session_, "Query3"}; // the GN 03 rows
    db::TQuery Query7{session_, "Query7"}; // the GN-06 rows
    db::TQuery Query5{session_, "Query5"}; // predecessor serials
    db::TQuery Query6{session_, "Query6"}; // land-registry numbers of a field
    db::TQuery Query8{session_, "Query8"}; // second crops
    db::TTable Table1{session_, "Table1"}; // Parclellak02.db, a field's soil-test record

    int SheetRowCounter = 0; // the place in the sheet of the row being calculated
    bool ReportOpened = false;
    int SheetYear = 0;
    bool EvjEnd = false; // the end flag of RvEvjConnection1
    // Set by the 2009-2014 opener: the farming year of the GN-06 print. Without it the
    // print button prints GN 03.
    std::optional<int> TableSummaryYear;

    TRvProject RvProject1{this, "RvProject1"};
    TRvQueryConnection RvQueryGN03ParcOssConnection1{this, "RvQueryGN03ParcOssConnection1",
                                                     &Query3};
    TRvTableConnection RvTableGN03ParcOssConnection1{this, "RvTableGN03ParcOssConnection1",
                                                     &Table1};
    TRvQueryConnection RvQueryCon09GN06Parcoszz{this, "RvQueryCon09GN06Parcoszz", &Query7};
    TRvCustomConnection RvCustomGN03MegjConnection1{this, "RvCustomGN03MegjConnection1"};
    TRvCustomConnection RvEvjConnection1{this, "RvEvjConnection1"};
    reg::FarmRow FarmRow1{this, session_};

    ui::TGroupBox* GroupBox1; // "Szűkítés :"
    ui::TDBLookupComboBox* DBLookupComboBox1;
    ui::TCheckBox* CheckBox1; // "Aktív parcellák"
    ui::TGroupBox* GroupBox3; // "Gazdasági év"
    ui::TDBLookupComboBox* DBLookupComboBox2;
    ui::TGroupBox* GroupBox2; // "Parcellák :"
    ui::TCheckBox* CheckBox2; // "Csak AKG-s"
    ui::TEdit* Edit1;         // "Lapszám:", hidden
    ui::TCheckBox* CheckBox3; // "Területeket kerekítve", hidden
    ui::TButton* Button3;     // "Nyomtatás"
    ui::TButton* Button4;     // "Bezár"
    ui::TStringGrid* StringGrid1;

    void FormShow(TObject* Sender);
    void FormActivate(TObject* Sender);
    void CheckBox1Click(TObject* Sender);
    void DBLookupComboBox1Click(TObject* Sender);
    void DBLookupComboBox2Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    void Button4Click(TObject* Sender);
    void Query3CalcFields(db::TDataSet& DataSet);
    void Query7CalcFields(db::TDataSet& DataSet);

    std::string PredecessorSerials(const std::string& code);
    std::string LandParcelList(const std::string& code);
    bool RemarkRowExists(const std::string& code) const;
    std::string SupportProgrammeText();

    void RvCustomGN03MegjConnection1Open(TRvCustomConnection* Connection);
    void RvCustomGN03MegjConnection1First(TRvCustomConnection* Connection);
    void RvCustomGN03MegjConnection1Next(TRvCustomConnection* Connection);
    void RvCustomGN03MegjConnection1EOF(TRvCustomConnection* Connection, bool& Eof);
    void RvCustomGN03MegjConnection1GetCols(TRvCustomConnection* Connection);
    void RvCustomGN03MegjConnection1GetRow(TRvCustomConnection* Connection);

private:
    // While a print reads its rows, the lookups of the calculated fields are answered from
    // the tables read once when the print starts (a sheet asks for every field it prints).
    struct PrintLookups {
        std::unordered_map<std::string, std::vector<std::string>> predecessors; // Parcsor
        std::unordered_map<std::string, std::vector<std::string>> landParcels;  // Helysz
        std::unordered_map<std::string, std::string> secondCrops;               // Hasznkod
        std::unordered_map<std::string, std::pair<std::string, std::string>> soilTests;
    };
    void ReadPrintLookups();
    std::vector<std::string> LandRegistryNumbers(const std::string& code);
    std::string SecondCropUse(const std::string& code);
    void SoilTest(const std::string& code, std::string& kotjog, std::string& tvizsgtip);
    void AddRemarkRow(const std::string& code, const std::string& list);
    void ClearRemarks();
    int ChosenYear();

    std::unique_ptr<PrintLookups> lookups_;
    std::unordered_set<std::string> remarkCodes_; // column 0 of the remark rows
    std::string remarkSheet_ = "GN03";            // the sheet a remark row names
};
extern TAlapadatok1* Alapadatok1;

// The 2004-2009 parcel summary (GN 03): the form shown modally with "GN03Parcellak.rav",
// its year box visible and its field query's "AKG" parameter true.
void OpenParcelSummary(db::Session& session);

// The 2009-2014 summary of the fields outside the scheme (GN-06): printed through the form
// without showing it, with "09GN06Parcellak.rav", for the farming year given (the text of
// the selector's year box). A year that is not a whole number is told and nothing prints.
void PrintParcelSummaryUnshown(db::Session& session, const std::string& farmingYear);
