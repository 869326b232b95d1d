#include "field_rows.h"

#include "codes.h"
#include "platform/db/exact_filter.h"
#include "platform/db/table.h"
#include "platform/sys/numbers.h"
#include "platform/ui/dialogs.h"

#include <set>

namespace reg {

FieldData ReadFieldData(db::TDataSet& row) {
    auto text = [&](const char* field) { return row.FieldByName(field).AsString(); };
    auto flag = [&](const char* field) { return row.FieldByName(field).AsBoolean(); };
    FieldData d;
    d.evj = text("Evj");
    d.parcsor = text("Parcsor");
    d.ter = text("Ter");
    d.tervhozam = text("Tervhozam");
    d.agazat = text("Agazat");
    d.hazmeg = text("Hazmeg");
    d.hasznkod = text("Hasznkod");
    d.szaporitotip = text("Szaporitotip");
    d.megjegyzes = text("Megjegyzes");
    d.kattam = text("Kattam");
    d.nattam = text("Nattam");
    d.masod = text("Masod") == "IGEN";
    d.vismajor = flag("Vismajor");
    d.tapanytelj = flag("Tapanytelj");
    d.talajbaszantas = flag("Talajbaszantas");
    d.agrkor = flag("Agrkor");
    d.nkat = flag("Nkat");
    d.nat2000 = flag("Nat2000");
    d.nitr = flag("Nitr");
    d.tizszaz = flag("Tizszaz");
    if (!row.FieldByName("Ketid").IsNull())
        d.ketid = row.FieldByName("Ketid").AsInteger();
    d.saps = text("Saps");
    d.kat = text("Kat");
    d.akg = text("Akg");
    return d;
}

void WriteFieldData(db::TDataSet& row, const FieldData& d) {
    auto text = [&](const char* field, const std::string& value) {
        row.FieldByName(field).SetAsString(value);
    };
    auto flag = [&](const char* field, bool value) { row.FieldByName(field).SetAsBoolean(value); };
    text("Evj", d.evj);
    text("Parcsor", d.parcsor);
    text("Ter", d.ter);
    text("Tervhozam", d.tervhozam);
    text("Agazat", d.agazat);
    text("Hazmeg", d.hazmeg);
    text("Hasznkod", d.hasznkod);
    text("Szaporitotip", d.szaporitotip);
    text("Megjegyzes", d.megjegyzes);
    text("Kattam", d.kattam);
    text("Nattam", d.nattam);
    text("Masod", d.masod ? "IGEN" : "NEM");
    flag("Vismajor", d.vismajor);
    flag("Tapanytelj", d.tapanytelj);
    flag("Talajbaszantas", d.talajbaszantas);
    flag("Agrkor", d.agrkor);
    flag("Nkat", d.nkat);
    flag("Nat2000", d.nat2000);
    flag("Nitr", d.nitr);
    flag("Tizszaz", d.tizszaz);
    if (d.ketid)
        row.FieldByName("Ketid").SetAsInteger(*d.ketid);
    else
        row.FieldByName("Ketid").Clear();
    text("Saps", d.saps);
    text("Kat", d.kat);
    text("Akg", d.akg);
}

double LandParcelsArea(db::Session& session, const std::vector<int>& tableids) {
    const std::set<int> wanted(tableids.begin(), tableids.end());
    db::TTable parcels(session, "Parcels");
    parcels.SetTableName("tablak.DB");
    parcels.Open();
    double area = 0;
    for (parcels.First(); !parcels.Eof(); parcels.Next())
        if (wanted.count(parcels.FieldByName("Tableid").AsInteger()))
            area += parcels.FieldByName("Ter").AsFloat();
    return area;
}

std::vector<int> LandParcelsOf(db::Session& session, const std::string& parckod) {
    db::TTable links(session, "Links");
    links.SetTableName("Szhelyrajzi.db");
    db::FilterExactly(links, "Parcellakod", parckod);
    links.Open();
    std::vector<int> tableids;
    for (links.First(); !links.Eof(); links.Next())
        tableids.push_back(links.FieldByName("Helysz").AsInteger());
    return tableids;
}

bool AreaFitsLandParcels(double area, double landParcelsArea) {
    if (area <= landParcelsArea)
        return true;
    ui::MessageDlg("A tábla területe nem lehet nagyobb mint a kijelölt területek(hrsz.) "
                   "összterülete!",
                   ui::mtError, ui::mbOK);
    return false;
}

void InsertLandParcelLinks(db::Session& session, const std::string& parckod,
                           const std::vector<int>& tableids) {
    int sorsz = sys::parseInt(NextSequentialCode(session, {{"Szhelyrajzi", "Sorsz"}}));
    db::TTable links(session, "Table6");
    links.SetTableName("Szhelyrajzi.db");
    links.Open();
    for (int tableid : tableids) {
        links.Insert();
        links.FieldByName("Sorsz").SetAsString(sys::intToText(sorsz++));
        links.FieldByName("Parcellakod").SetAsString(parckod);
        links.FieldByName("Helysz").SetAsInteger(tableid);
        links.Post();
    }
    links.FlushBuffers();
}

void InsertPredecessorLinks(db::Session& session, const std::string& parckod,
                            const std::vector<std::string>& predecessors) {
    int szulkod = sys::parseInt(NextSequentialCode(session, {{"Szparcellak", "Szulkod"}}));
    db::TTable links(session, "Table5");
    links.SetTableName("Szparcellak.db");
    links.Open();
    for (const std::string& predecessor : predecessors) {
        links.Insert();
        links.FieldByName("Szulkod").SetAsString(sys::intToText(szulkod++));
        links.FieldByName("Parckod").SetAsString(parckod);
        links.FieldByName("Szparckod").SetAsString(predecessor);
        links.Post();
    }
    links.FlushBuffers();
}

bool SerialTaken(db::Session& session, int evj, int parcsor, const std::string& except) {
    db::TTable fields(session, "Table4");
    fields.SetTableName("parcellak.db");
    fields.SetFilter("Evj = " + std::to_string(evj) + " AND Parcsor = " + std::to_string(parcsor));
    fields.SetFiltered(true);
    fields.Open();
    for (fields.First(); !fields.Eof(); fields.Next())
        if (except.empty() || fields.FieldByName("Parckod").AsString() != except)
            return true;
    return false;
}

void InsertSoilTestType(db::Session& session, const std::string& parckod,
                        const std::string& tvizsgtip) {
    db::TTable table(session, "Table14");
    table.SetTableName("Parclellak02.db");
    table.Open();
    table.Insert();
    table.FieldByName("Parckod").SetAsString(parckod);
    if (!tvizsgtip.empty())
        table.FieldByName("Tvizsgtip").SetAsString(tvizsgtip);
    table.Post();
    table.FlushBuffers();
}

} // namespace reg
