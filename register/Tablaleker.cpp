#include "Tablaleker.h"

#include "Parclistszukh.h"
#include "platform/db/exact_filter.h"
#include "platform/db/filter.h"

TTablalekerdez* Tablalekerdez = nullptr;

namespace reg {

std::string NutrientPercentText(const std::string& felelos, const std::string& csira) {
    const std::string& source = !felelos.empty() ? felelos : csira;
    if (source.empty() || source[0] != 'X')
        return "";
    std::string parts[3];
    std::size_t at = 1;
    for (std::string& part : parts) {
        const std::size_t end = source.find(';', at);
        if (end == std::string::npos)
            return "";
        part = source.substr(at, end - at);
        at = end + 1;
    }
    return "N:" + parts[0] + "% P:" + parts[1] + "% K:" + parts[2] + "%";
}

} // namespace reg

TTablalekerdez::TTablalekerdez(db::Session& session) : session_(session) {
    SetCaption("Táblák szerinti műveletlekérdezés");
    Table1.SetTableName("Tablak.db");
    Table1.SetIndexFieldNames("Hazmeg");
    Table2.SetTableName("Szhelyrajzi.db");
    Table3.SetTableName("parcellak.db");
    Table3.SetIndexFieldNames("Evj");
    Table4.SetTableName("ElvMuv.db");
    Table4.SetIndexFieldNames("Datum");
    Table5.SetTableName("felhanyag.db");
    Table5.AddCalcField("Hato", db::FieldType::Alpha, 40);
    Table5.OnCalcFields = [this](db::TDataSet& rows) { Table5CalcFields(rows); };
    Table6.SetTableName("Tapanyagok.db");
    Table7.SetTableName("Novenyvedok.db");
    Table8.SetTableName("Vetomagok.db");
    Table9.SetTableName("Szparcellak.db");
    Table10.SetTableName("parcellak.db");
    for (db::TDataSet* rows :
         std::initializer_list<db::TDataSet*>{&Table1, &Table2, &Table3, &Table4, &Query1, &Table5,
                                              &Table9, &Table10, &Query2, &Table11})
        db::CompareWholeValues(*rows);

    Query1.SQL().Add("SELECT DISTINCT parcellak.Parckod, parcellak.Parcsor, parcellak.Evj, "
                     "parcellak.Aktiv, parcellak.Agazat, parcellak.Ter, ElvMuv.Muvnev, "
                     "ElvMuv.Irany, ElvMuv.Datum, ElvMuv.Muvkod, ElvMuv.Munkagepkod, "
                     "ElvMuv.Erogepkod, ElvMuv.Gepora, ElvMuv.Keziora, ElvMuv.Szantm, "
                     "ElvMuv.Hozam, ElvMuv.Mellek, ElvMuv.Ter, ElvMuv.Nha, ElvMuv.Muvid");
    Query1.SQL().Add("FROM ElvMuv");
    Query1.SQL().Add("   INNER JOIN parcellak");
    Query1.SQL().Add("   ON  (ElvMuv.Tablakod = parcellak.Parckod)  ");
    Query1.SQL().Add("ORDER BY parcellak.Agazat, ElvMuv.Datum");
    Query1.AddCalcField("Gep", db::FieldType::Alpha, 35);
    Query1.AddCalcField("Munkagep", db::FieldType::Alpha, 35);
    Query1.OnCalcFields = [this](db::TDataSet& rows) { Query1CalcFields(rows); };

    Query2.SQL().Add(
        "SELECT DISTINCT Tablak.Hazmeg, parcellak.Parckod,parcellak.Evj, parcellak.Parcsor");
    Query2.SQL().Add("FROM Tablak");
    Query2.SQL().Add("   INNER JOIN Szhelyrajzi");
    Query2.SQL().Add("   ON  (Tablak.Tableid = Szhelyrajzi.Helysz)  ");
    Query2.SQL().Add("   INNER JOIN parcellak");
    Query2.SQL().Add("   ON  (Szhelyrajzi.Parcellakod = parcellak.Parckod)  ");
    Query2.SQL().Add("ORDER BY Tablak.Hazmeg, parcellak.Evj, parcellak.Parcsor");

    RvProject1.OnBeforeOpen = Handler(&TTablalekerdez::RvProject1BeforeOpen);
}

void TTablalekerdez::RvProject1BeforeOpen(TObject*) {
    machineNames_.clear();
    Query2.SetFilter(ParcListSzuk->HouseNameFilter);
    // The marked house names narrow the land parcels printed, as the marked parcels do.
    std::string landParcels = ParcListSzuk->LandParcelFilter;
    if (!ParcListSzuk->HouseNameFilter.empty())
        landParcels += (landParcels.empty() ? "" : " AND ") + ParcListSzuk->HouseNameFilter;
    Table1.SetFilter(landParcels);
    Table3.SetFilter(ParcListSzuk->FieldFilter);
    Query1.SetFilter(ParcListSzuk->FieldFilter);
    for (db::TDataSet* rows :
         std::initializer_list<db::TDataSet*>{&Query2, &Table1, &Table3, &Query1})
        rows->SetFiltered(true);
}

std::string TTablalekerdez::MachineName(const std::string& tableName, const std::string& code) {
    auto known = machineNames_.find({tableName, code});
    if (known != machineNames_.end())
        return known->second;
    Table11.SetTableName(tableName);
    Table11.SetFilter("Gepkod = " + db::quoteFilterText(code));
    Table11.SetFiltered(true);
    Table11.Open();
    std::string name;
    if (!Table11.IsEmpty())
        name = Table11.FieldByName(tableName == "Erogepek.db" ? "Geptip" : "Gepnev").AsString();
    Table11.Close();
    machineNames_[{tableName, code}] = name;
    return name;
}

void TTablalekerdez::Query1CalcFields(db::TDataSet& DataSet) {
    DataSet.FieldByName("Gep").SetAsString(
        MachineName("Erogepek.db", DataSet.FieldByName("Erogepkod").AsString()));
    DataSet.FieldByName("Munkagep")
        .SetAsString(MachineName("Munkagepek.db", DataSet.FieldByName("Munkagepkod").AsString()));
}

void TTablalekerdez::Table5CalcFields(db::TDataSet& DataSet) {
    DataSet.FieldByName("Hato").SetAsString(reg::NutrientPercentText(
        DataSet.FieldByName("Felelos").AsString(), DataSet.FieldByName("Csira").AsString()));
}
