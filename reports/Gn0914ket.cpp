#include "Gn0914ket.h"

#include "Gnparcmuvadnyh.h"
#include "Gnparszukh.h"
#include "core/Isnuminth.h"
#include "platform/report/layouts.h"
#include "platform/sys/numbers.h"
#include "platform/ui/form.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <optional>

namespace {

// The seven lines of a KET data set, for its land-use branch.
void SetKetSql(db::TQuery& query, int branch) {
    query.SQL().Clear();
    for (const char* line : {"SELECT *", "FROM kotegyter", "INNER JOIN Akgmuvag",
                             "ON  (kotegyter.Akgmuvag = Akgmuvag.Id)", "INNER JOIN celprogramok",
                             "ON  (kotegyter.Akgkod = celprogramok.Id)"})
        query.SQL().Add(line);
    query.SQL().Add("WHERE kotegyter.Deleted = false AND kotegyter.Akgmuvag = " +
                    std::to_string(branch));
}

void AddKetColumns(db::TQuery& query, int hrszWidth, int flagWidth) {
    query.AddCalcField("Hrsz", db::FieldType::Alpha, hrszWidth);
    query.AddCalcField("Telep", db::FieldType::Alpha, 200);
    query.AddCalcField("MainBlokk", db::FieldType::Alpha, 20);
    query.AddCalcField("Fhasznjog", db::FieldType::Alpha, 50);
    for (const char* name : {"Nate", "Nite", "Tize", "Kate"})
        query.AddCalcField(name, db::FieldType::Alpha, flagWidth);
    query.AddCalcField("Tulv", db::FieldType::Alpha, 40);
}

// The nine letters of each of the three plantation rows of GN-04. The second row's
// variety has the width of the others' (30): the sheet prints the three alike.
void AddPlantationColumns(db::TQuery& query) {
    for (char row : {'1', '2', '3'}) {
        const std::string n(1, row);
        query.AddCalcField(n + "j", db::FieldType::Alpha, 40);
        query.AddCalcField(n + "k", db::FieldType::Alpha, 8);
        query.AddCalcField(n + "l", db::FieldType::Alpha, 30);
        query.AddCalcField(n + "m", db::FieldType::Number);
        query.AddCalcField(n + "n", db::FieldType::Alpha, 20);
        query.AddCalcField(n + "o", db::FieldType::Alpha, 10);
        query.AddCalcField(n + "p", db::FieldType::Alpha, 10);
        query.AddCalcField(n + "q", db::FieldType::Alpha, 15);
        query.AddCalcField(n + "r", db::FieldType::Alpha, row == '1' ? 40 : 30);
    }
}

void AddNutrientColumns(db::TQuery& query) {
    query.AddCalcField("Terha", db::FieldType::Number);
    for (const char* name : {"SzN", "SzP", "SzK", "MN", "MP", "MK", "Taptervtelj"})
        query.AddCalcField(name, db::FieldType::Alpha, 15);
}

const char* YesNo(db::TDataSet& row, const char* flag) {
    return row.FieldByName(flag).AsBoolean() ? "igen" : "nem";
}

const char* YesOrEmpty(db::TDataSet& row, const char* flag) {
    return row.FieldByName(flag).AsBoolean() ? "IGEN" : "";
}

std::string SumText(double sum) {
    return sum == 0 ? std::string() : sys::floatToText(sum);
}

double KilogramFactor(const std::string& mert) {
    if (mert == "t" || mert == "m3")
        return 1000;
    if (mert == "g" || mert == "ml" || mert == "db")
        return 0.001;
    return 1;
}

// The farming year of the plantation rows: the year chosen when it reads as one.
int PlantationYear(const std::string& farmingYear) {
    return YearOf(farmingYear).value_or(2010);
}

} // namespace

FieldNutrients SumNutrients(const std::vector<NutrientUse>& uses) {
    FieldNutrients sums;
    for (const NutrientUse& use : uses) {
        if (use.felelos.empty() || use.felelos[0] != 'X')
            continue;
        const std::array<double, 3> percents = NutrientPercents(use.felelos);
        std::array<double, 3>& into = use.mutr ? sums.mineral : sums.organic;
        for (std::size_t i = 0; i < 3; ++i) {
            const double amount = percents[i] * 0.01 * use.menny * KilogramFactor(use.mert);
            into[i] += sys::roundUp(amount, 2);
        }
    }
    return sums;
}

Gn0914KetSheets::Gn0914KetSheets(db::Session& session) : session_(session) {
    SetKetSql(Query1, 1);
    SetKetSql(Query7, 2);
    SetKetSql(Query8, 3);
    AddKetColumns(Query1, 200, 10);
    AddKetColumns(Query7, 150, 15);
    AddKetColumns(Query8, 200, 10);
    AddPlantationColumns(Query8);
    Query1.OnCalcFields = [this](db::TDataSet& rows) { Query1CalcFields(rows); };
    Query7.OnCalcFields = [this](db::TDataSet& rows) { Query7CalcFields(rows); };
    Query8.OnCalcFields = [this](db::TDataSet& rows) { Query8CalcFields(rows); };

    for (const char* line :
         {"SELECT *", "FROM parcellak", "WHERE Agrkor = true", "ORDER BY Evj, Parcsor"})
        Query3.SQL().Add(line);
    AddNutrientColumns(Query3);
    Query3.AddCalcField("Talajbasz", db::FieldType::Alpha, 15);
    Query3.AddCalcField("Visin", db::FieldType::Alpha, 15);
    Query3.AddCalcField("Fajta", db::FieldType::Alpha, 200);
    Query3.AddCalcField("Hozam", db::FieldType::Alpha, 20);
    Query3.OnCalcFields = [this](db::TDataSet& rows) { Query3CalcFields(rows); };

    for (const char* line :
         {"SELECT *", "FROM parcellak", "ORDER BY parcellak.Evj, parcellak.Parcsor"})
        Query9.SQL().Add(line);
    AddNutrientColumns(Query9);
    Query9.AddCalcField("Visin", db::FieldType::Alpha, 15);
    Query9.AddCalcField("Hozam", db::FieldType::Number);
    Query9.AddCalcField("odukszama", db::FieldType::Long);
    Query9.AddCalcField("rovarcsszama", db::FieldType::Long);
    Query9.OnCalcFields = [this](db::TDataSet& rows) { Query9CalcFields(rows); };

    for (const char* line : {"SELECT Tablakod, Felelos, Menny, Mert, Mutr", "FROM felhanyag",
                             "WHERE Anyagtip = '000000' AND Felelos != ''"})
        Query5.SQL().Add(line);

    // A plantation row's bird boxes and traps are counted once, however many variety
    // rows it has; its yield is the sum over its variety rows.
    for (const char* line : {"SELECT Parckod, SUM(odukszama) odu, SUM(rovarcsszama) rovar",
                             "FROM Parckiegadat", "GROUP BY Parckod"})
        Query13.SQL().Add(line);
    for (const char* line :
         {"SELECT Parckiegadat.parckod, SUM(hozam) hoz", "FROM Parckiegadat",
          "RIGHT OUTER JOIN Ultkieg02", " ON Ultkieg02.Ultkod = Parckiegadat.Kiegid",
          "GROUP BY Parckiegadat.parckod"})
        Query14.SQL().Add(line);
}

Gn0914KetSheets::~Gn0914KetSheets() = default;

void Gn0914KetSheets::FormShow() {
    Query5.Close();
    Query5.Open();
}

void Gn0914KetSheets::FormClose() {
    for (db::TDataSet* rows : std::initializer_list<db::TDataSet*>{&Query5, &Query1, &Query7})
        rows->Close();
}

void Gn0914KetSheets::ReadNutrientUses() {
    usesByField_.clear();
    if (!Query5.Active())
        Query5.Open();
    for (Query5.First(); !Query5.Eof(); Query5.Next())
        usesByField_[Query5.FieldByName("Tablakod").AsString()].push_back(
            {Query5.FieldByName("Felelos").AsString(), Query5.FieldByName("Menny").AsFloat(),
             Query5.FieldByName("Mert").AsString(), Query5.FieldByName("Mutr").AsBoolean()});
    usesRead_ = true;
}

void Gn0914KetSheets::PrintArable() {
    landParcelsRead_ = false;
    ui::OwnedForm<TGNParMuvNy> holder(GNParMuvNy, session_);
    holder->Refresh();
    ReadNutrientUses();
    Query1.Close();
    Query1.Open();
    Query1.Refresh();
    RvProject2.SetProjectFile("09GN02SzParcellak.rav");
    RvProject2.ExecuteActiveReport();
    holder->Query2.Close();
    holder->Query5.Close();
    usesRead_ = false;
}

void Gn0914KetSheets::PrintGrassland() {
    landParcelsRead_ = false;
    RvProject3.SetProjectFile("09GN03GyParcellak.rav");
    Query7.Close();
    Query7.Open();
    Query7.Refresh();
    RvProject3.ExecuteActiveReport();
}

void Gn0914KetSheets::PrintPlantation(const std::string& farmingYear) {
    landParcelsRead_ = false;
    Query12.Close();
    Query12.SQL().Clear();
    for (const char* line :
         {"SELECT *", "FROM Parckiegadat", "INNER JOIN parcellak",
          "  ON Parckiegadat.Parckod = parcellak.Parckod", "INNER JOIN kotegyter",
          "  ON parcellak.Ketid = kotegyter.Id", "RIGHT OUTER JOIN Ultkieg02",
          "  ON Parckiegadat.Kiegid = Ultkieg02.Ultkod"})
        Query12.SQL().Add(line);
    Query12.SQL().Add(
        "WHERE kotegyter.Deleted = false AND kotegyter.Akgmuvag = 3 AND parcellak.Evj = " +
        std::to_string(PlantationYear(farmingYear)));
    ReadNutrientUses();
    ReadPlantationSums();
    Query8.Close();
    Query8.Open();
    Query9.Close();
    Query9.Open();
    Query8.Refresh();
    RvProject4.ExecuteActiveReport();
    for (db::TDataSet* rows : std::initializer_list<db::TDataSet*>{&Query8, &Query9, &Query12})
        rows->Close();
    usesRead_ = false;
}

void Gn0914KetSheets::ReadPlantationSums() {
    plantation_.clear();
    Query13.Close();
    Query13.Open();
    for (Query13.First(); !Query13.Eof(); Query13.Next()) {
        PlantationSums& sums = plantation_[Query13.FieldByName("Parckod").AsString()];
        sums.boxes = Query13.FieldByName("odu").AsFloat();
        sums.traps = Query13.FieldByName("rovar").AsFloat();
    }
    Query13.Close();
    Query14.Close();
    Query14.Open();
    for (Query14.First(); !Query14.Eof(); Query14.Next())
        plantation_[Query14.FieldByName("parckod").AsString()].yield =
            Query14.FieldByName("hoz").AsFloat();
    Query14.Close();
}

// The land parcels under the AKG fields of every KET area, read once per sheet: one query
// per kind of value, each the Part's query with the KET area's id among its columns in
// place of one query per area and kind.
void Gn0914KetSheets::LandParcelQuery(const std::string& columns) {
    Query4.Close();
    Query4.SQL().Clear();
    Query4.SQL().Add("SELECT DISTINCT parcellak.Ketid, " + columns);
    for (const char* line :
         {"FROM Tablak", "INNER JOIN Szhelyrajzi", "ON  (Tablak.Tableid = Szhelyrajzi.Helysz)",
          "INNER JOIN parcellak", "ON  (Szhelyrajzi.Parcellakod = parcellak.Parckod)",
          "WHERE parcellak.Agrkor = True"})
        Query4.SQL().Add(line);
    Query4.Open();
}

void Gn0914KetSheets::ReadLandParcels() {
    landParcels_.clear();
    LandParcelQuery("Tablak.Helysz");
    for (Query4.First(); !Query4.Eof(); Query4.Next())
        landParcels_[Query4.FieldByName("Ketid").AsInteger()].lots.push_back(
            Query4.FieldByName("Helysz").AsString());
    LandParcelQuery("Tablak.Parcella");
    for (Query4.First(); !Query4.Eof(); Query4.Next())
        landParcels_[Query4.FieldByName("Ketid").AsInteger()].rights.push_back(
            Query4.FieldByName("Parcella").AsString());
    LandParcelQuery("Tablak.Telepules, Tablak.Blok");
    for (Query4.First(); !Query4.Eof(); Query4.Next())
        landParcels_[Query4.FieldByName("Ketid").AsInteger()].places.emplace_back(
            Query4.FieldByName("Telepules").AsString(), Query4.FieldByName("Blok").AsString());
    Query4.Close();
    landParcelsRead_ = true;
}

void Gn0914KetSheets::KetRow(db::TDataSet& row, bool plantation) {
    if (!landParcelsRead_)
        ReadLandParcels();
    const int ketId = row.FieldByName("Id").AsInteger();
    static const KetLandParcels none;
    auto found = landParcels_.find(ketId);
    const KetLandParcels& parcels = found == landParcels_.end() ? none : found->second;
    std::string hrsz, telep, useRight;
    for (const std::string& lot : parcels.lots)
        hrsz += lot + "; ";
    if (!parcels.rights.empty()) {
        useRight = parcels.rights.front();
        if (std::any_of(parcels.rights.begin(), parcels.rights.end(),
                        [&](const std::string& r) { return r != useRight; }))
            useRight = "V";
    }
    row.FieldByName("MainBlokk")
        .SetAsString(parcels.places.empty() ? std::string() : parcels.places.front().second);
    for (const auto& place : parcels.places)
        telep += place.first + "; ";

    row.FieldByName("Nate").SetAsString(YesNo(row, "Nat2000"));
    row.FieldByName("Nite").SetAsString(YesNo(row, "Nit"));
    row.FieldByName("Tize").SetAsString(YesNo(row, "12szaz"));
    row.FieldByName("Kate").SetAsString(YesNo(row, "Kat"));
    if (plantation)
        PlantationRows(row, ketId);
    row.FieldByName("Fhasznjog").SetAsString(useRight);
    row.FieldByName("Telep").SetAsString(telep);
    row.FieldByName("Hrsz").SetAsString(hrsz);
}

void Gn0914KetSheets::PlantationRows(db::TDataSet& row, int ketId) {
    Query12.SetFilter("Id = " + std::to_string(ketId));
    Query12.SetFiltered(true);
    if (!Query12.Active())
        Query12.Open();
    Query12.First();
    for (char n : {'1', '2', '3'}) {
        if (Query12.Eof())
            break;
        const std::string p(1, n);
        const std::string faj = Query12.FieldByName("Faj").AsString();
        row.FieldByName(p + "j").SetAsString(faj.empty() ? Query12.FieldByName("Agazat").AsString()
                                                         : faj);
        row.FieldByName(p + "k").SetAsString(Query12.FieldByName("Hasznkod").AsString());
        row.FieldByName(p + "l").SetAsString(Query12.FieldByName("Fajta").AsString());
        row.FieldByName(p + "n").SetAsString(Query12.FieldByName("Tot").AsString() + "x" +
                                             Query12.FieldByName("Sort").AsString());
        row.FieldByName(p + "q").SetAsString(Query12.FieldByName("Teve").AsString());
        row.FieldByName(p + "r").SetAsString(Query12.FieldByName("Muvmod").AsString());
        Query12.Next();
    }
}

void Gn0914KetSheets::Query1CalcFields(db::TDataSet& DataSet) {
    KetRow(DataSet, false);
}

void Gn0914KetSheets::Query7CalcFields(db::TDataSet& DataSet) {
    KetRow(DataSet, false);
}

void Gn0914KetSheets::Query8CalcFields(db::TDataSet& DataSet) {
    KetRow(DataSet, true);
}

void Gn0914KetSheets::FieldNutrientColumns(db::TDataSet& row) {
    if (!usesRead_)
        ReadNutrientUses();
    static const std::vector<NutrientUse> none;
    auto found = usesByField_.find(row.FieldByName("Parckod").AsString());
    const FieldNutrients sums = SumNutrients(found == usesByField_.end() ? none : found->second);
    const char* organic[] = {"SzN", "SzP", "SzK"};
    const char* mineral[] = {"MN", "MP", "MK"};
    for (std::size_t i = 0; i < 3; ++i) {
        row.FieldByName(organic[i]).SetAsString(SumText(sums.organic[i]));
        row.FieldByName(mineral[i]).SetAsString(SumText(sums.mineral[i]));
    }
}

void Gn0914KetSheets::Query3CalcFields(db::TDataSet& DataSet) {
    const std::string parckod = DataSet.FieldByName("Parckod").AsString();
    DataSet.FieldByName("Fajta").SetAsString(GNParMuvNy->GetParcelSeedNames(parckod));
    DataSet.FieldByName("Hozam").SetAsString(
        GNParMuvNy->GetParcelYield(parckod, DataSet.FieldByName("Ter").AsFloat()));
    DataSet.FieldByName("Terha").SetAsFloat(DataSet.FieldByName("Ter").AsFloat() * 0.0001);
    FieldNutrientColumns(DataSet);
    DataSet.FieldByName("Taptervtelj").SetAsString(YesOrEmpty(DataSet, "Tapanytelj"));
    DataSet.FieldByName("Talajbasz").SetAsString(YesOrEmpty(DataSet, "Talajbaszantas"));
    DataSet.FieldByName("Visin").SetAsString(YesOrEmpty(DataSet, "Vismajor"));
}

void Gn0914KetSheets::Query9CalcFields(db::TDataSet& DataSet) {
    DataSet.FieldByName("Terha").SetAsFloat(DataSet.FieldByName("Ter").AsFloat() * 0.0001);
    FieldNutrientColumns(DataSet);
    DataSet.FieldByName("Taptervtelj").SetAsString(YesOrEmpty(DataSet, "Tapanytelj"));
    DataSet.FieldByName("Visin").SetAsString(YesOrEmpty(DataSet, "Vismajor"));
    auto found = plantation_.find(DataSet.FieldByName("Parckod").AsString());
    const PlantationSums sums = found == plantation_.end() ? PlantationSums{} : found->second;
    DataSet.FieldByName("odukszama").SetAsInteger(static_cast<int>(std::trunc(sums.boxes)));
    DataSet.FieldByName("rovarcsszama").SetAsInteger(static_cast<int>(std::trunc(sums.traps)));
    DataSet.FieldByName("Hozam").SetAsFloat(sums.yield);
}
