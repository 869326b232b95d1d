#pragma once
// TGNParMuvNy: an invisible form holding the routines with which the farming-diary sheets
// describe one field: the yield harvested on it, the seed varieties sown on it, the crops
// before it and the second crops after it in the crop-rotation chain. Start-up creates
// one instance; the sheets reach it through GNParMuvNy and call Refresh before a run so
// that it reads the data as they are then. Nothing is read before the first refresh or
// question.
//
// The yields, seed names and rotation links are read once per refresh into maps keyed
// by field code: a sheet asks for every field it prints, and each answer is a lookup.

#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/ui/form.h"

#include <string>
#include <unordered_map>
#include <vector>

// The three lists of the crops linked to a field: each sector followed by "; ", each seed
// name followed by "; ", each non-zero yield followed by ";".
struct CropLists {
    std::string sectors;
    std::string seedNames;
    std::string yields;
};

// The yield text of a harvested quantity (t) on an area (m²): t/ha rounded up to three
// decimals, followed by ";"; empty for a zero yield or area.
std::string YieldText(double harvested, double areaM2);

class TGNParMuvNy : public ui::TForm {
public:
    explicit TGNParMuvNy(db::Session& session);

private:
    db::Session& session_;

public:
    db::TQuery Query2{session_, "Query2"}; // harvested quantity per field
    db::TQuery Query3{session_, "Query3"}; // crop-rotation links with both fields
    db::TQuery Query5{session_, "Query5"}; // seed varieties per field
    db::TQuery Query1{session_, "Query1"}; // operations of the parcel sheets' conditions
    db::TTable Table2{session_, "Table2"}; // felhanyag.DB, material uses of Query1's row
    db::TTable Table3{session_, "Table3"}; // Vetomagok.DB
    db::TTable Table5{session_, "Table5"}; // Novenyvedok.DB
    db::TTable Table6{session_, "Table6"}; // Tapanyagok.DB
    db::TQuery Query6{session_, "Query6"}; // land parcels of each field
    db::TDataSource DataSource1{&Query1};
    db::TDataSource DataSource2{&Table2};

    // Reads the yields, seed names and rotation links again.
    void Refresh();

    std::string GetParcelYield(const std::string& parckod, double areaM2);
    std::string GetParcelSeedNames(const std::string& parckod);
    CropLists GetSecondCrops(const std::string& parckod);
    CropLists GetPredecessorCrop(const std::string& parckod);
    void OpenGNDatasets();

private:
    struct Link {
        std::string parckod, agazat, masod;
        double ter = 0;
        std::string osparckod, osagazat;
        double oster = 0;
    };
    void ReadLinks();
    void ReadOnce();
    std::unordered_map<std::string, double> harvested_;
    std::unordered_map<std::string, std::vector<std::string>> seeds_;
    std::vector<Link> links_;
    std::unordered_map<std::string, std::vector<std::size_t>> secondOf_;      // by Osparckod
    std::unordered_map<std::string, std::vector<std::size_t>> predecessorOf_; // by Parckod
    bool linksRead_ = false;
    bool read_ = false;
};
extern TGNParMuvNy* GNParMuvNy;
