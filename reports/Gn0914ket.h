#pragma once
// The KET-area sheets of the 2009-2014 diary (GN-02 arable, GN-03 grassland, GN-04
// plantation) with their field rows: the data sets and connections the selector form
// carries for them, gathered in one part of it. The sheets' connections belong to this
// part, so a project run from here finds them.

#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/report/report.h"
#include "register/farm_row.h"

#include <QObject>
#include <array>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

// The organic and the mineral N, P and K that a field's fertiliser uses brought.
struct FieldNutrients {
    std::array<double, 3> organic{};
    std::array<double, 3> mineral{};
};

// One fertiliser use that carries a nutrient text.
struct NutrientUse {
    std::string felelos; // "X20;10;10;"
    double menny = 0;
    std::string mert;
    bool mutr = false; // mineral
};

// Adds up the uses: each percentage × 0.01 × the quantity in kilograms (t and m3 × 1000;
// g, ml and db × 0.001), rounded up to two decimals per use. A use whose text does not
// start with X adds nothing; a percentage that does not read throws ConversionError.
FieldNutrients SumNutrients(const std::vector<NutrientUse>& uses);

class Gn0914KetSheets : public QObject {
public:
    explicit Gn0914KetSheets(db::Session& session);
    ~Gn0914KetSheets() override;
    Gn0914KetSheets(const Gn0914KetSheets&) = delete;
    Gn0914KetSheets& operator=(const Gn0914KetSheets&) = delete;

    void FormShow();  // the selector is shown: opens the fertiliser uses
    void FormClose(); // the selector closes

    void PrintArable();    // "AKG - SZÁNTÓ", GN-02
    void PrintGrassland(); // "AKG - GYEP", GN-03
    // "AKG - ÜLTETVÉNY", GN-04: the plantation rows of the farming year chosen on the
    // selector (2010 when the text is not a year).
    void PrintPlantation(const std::string& farmingYear);

private:
    db::Session& session_;

public:
    db::TQuery Query1{session_, "Query1"};   // arable KET areas
    db::TQuery Query7{session_, "Query7"};   // grassland KET areas
    db::TQuery Query8{session_, "Query8"};   // plantation KET areas
    db::TQuery Query3{session_, "Query3"};   // AKG fields (GN-02)
    db::TQuery Query9{session_, "Query9"};   // every field (GN-04)
    db::TQuery Query4{session_, "Query4"};   // the land parcels of one KET area
    db::TQuery Query12{session_, "Query12"}; // plantation rows of the plantation KET areas
    db::TQuery Query5{session_, "Query5"};   // fertiliser uses with a nutrient text
    db::TQuery Query13{session_, "Query13"}; // bird boxes and traps per field
    db::TQuery Query14{session_, "Query14"}; // plantation yield per field

    TRvProject RvProject2{this, "RvProject2"};
    TRvProject RvProject3{this, "RvProject3"};
    TRvProject RvProject4{this, "RvProject4", "09GN03UParcellak.rav"};
    TRvDataSetConnection GN0209RvDataSetConnection1{this, "GN0209RvDataSetConnection1", &Query1};
    TRvDataSetConnection GN0209bRvDataSetConnection1{this, "GN0209bRvDataSetConnection1", &Query3};
    TRvQueryConnection RvGN0309QueryConnection1{this, "RvGN0309QueryConnection1", &Query7};
    TRvQueryConnection RvGN0409QueryConnection1{this, "RvGN0409QueryConnection1", &Query8};
    TRvQueryConnection RvGN0409bQConnection1{this, "RvGN0409bQConnection1", &Query9};
    reg::FarmRow FarmRow1{this, session_};

    void Query1CalcFields(db::TDataSet& DataSet);
    void Query7CalcFields(db::TDataSet& DataSet);
    void Query8CalcFields(db::TDataSet& DataSet);
    void Query3CalcFields(db::TDataSet& DataSet);
    void Query9CalcFields(db::TDataSet& DataSet);

private:
    void KetRow(db::TDataSet& row, bool plantation);
    void LandParcelQuery(const std::string& columns);
    void ReadLandParcels();
    // The land-registry numbers, use rights and (settlement, block) pairs under the AKG
    // fields of each KET area, by its id, in the order the queries deliver them.
    struct KetLandParcels {
        std::vector<std::string> lots, rights;
        std::vector<std::pair<std::string, std::string>> places;
    };
    std::unordered_map<int, KetLandParcels> landParcels_;
    bool landParcelsRead_ = false;
    void PlantationRows(db::TDataSet& row, int ketId);
    void FieldNutrientColumns(db::TDataSet& row);
    void ReadNutrientUses();
    void ReadPlantationSums();
    struct PlantationSums {
        double boxes = 0, traps = 0, yield = 0;
    };
    // Bird boxes, traps and yield by field, read once per GN-04.
    std::unordered_map<std::string, PlantationSums> plantation_;
    // The fertiliser uses of Query5 by field, read once per sheet.
    std::unordered_map<std::string, std::vector<NutrientUse>> usesByField_;
    bool usesRead_ = false;
};
