#pragma once
// The fixture of the lists' tests: a fresh database with the lists' layouts written
// beside it, captured report output, and operations and material uses put straight
// into ElvMuv.db and felhanyag.db.

#include "platform/report/layouts.h"
#include "platform/report/output.h"
#include "register/lists_fixture.h"
#include "reports/commands.h"

#include <filesystem>
#include <string>

namespace liststest {

struct Operation {
    std::string muvkod = "";
    std::string tablakod = "";
    sys::DateTime datum = sys::encodeDate(2009, 3, 1);
    std::string muvnev = "Szántás";
    int ter = 10000;
    double gepora = 0, keziora = 0, nha = 0, hozam = 0;
    std::string szantm = "", mellek = "", erogep = "", munkagep = "";
};

struct MaterialUse {
    std::string felhkod = "", muvkod = "", tablakod = "", anyagkod = "";
    double menny = 0;
    std::string mert = "kg";
};

class ListsReportTest : public regtest::ListsTest {
protected:
    ListsReportTest() {
        RegisterReportLayouts();
        report::WriteBuiltInLayouts(std::filesystem::current_path());
    }

    void AddOperation(const Operation& o) {
        AddRow("ElvMuv", [&](db::TTable& t) {
            t.FieldByName("Muvkod").SetAsString(o.muvkod);
            t.FieldByName("Tablakod").SetAsString(o.tablakod);
            t.FieldByName("Datum").SetAsDateTime(o.datum);
            t.FieldByName("Muvnev").SetAsString(o.muvnev);
            t.FieldByName("Ter").SetAsInteger(o.ter);
            t.FieldByName("Gepora").SetAsFloat(o.gepora);
            t.FieldByName("Keziora").SetAsFloat(o.keziora);
            t.FieldByName("Nha").SetAsFloat(o.nha);
            t.FieldByName("Hozam").SetAsFloat(o.hozam);
            t.FieldByName("Szantm").SetAsString(o.szantm);
            t.FieldByName("Mellek").SetAsString(o.mellek);
            t.FieldByName("Erogepkod").SetAsString(o.erogep);
            t.FieldByName("Munkagepkod").SetAsString(o.munkagep);
        });
    }

    // Leaves the database without any performed operation.
    void RemoveEveryOperation() {
        db::TTable ops(session);
        ops.SetTableName("ElvMuv");
        ops.Open();
        while (!ops.IsEmpty())
            ops.Delete();
    }

    void AddMaterialUse(const MaterialUse& m) {
        AddRow("felhanyag", [&](db::TTable& t) {
            t.FieldByName("Felhkod").SetAsString(m.felhkod);
            t.FieldByName("Muvkod").SetAsString(m.muvkod);
            t.FieldByName("Tablakod").SetAsString(m.tablakod);
            t.FieldByName("Anyagkod").SetAsString(m.anyagkod);
            t.FieldByName("Menny").SetAsFloat(m.menny);
            t.FieldByName("Mert").SetAsString(m.mert);
        });
    }

    // A material of the master table ("Tapanyagok" Kod, "Novenyvedok" Kod, "Vetomagok"
    // Magkod).
    void AddMaterial(const std::string& table, const std::string& code, const std::string& name) {
        AddRow(table, [&](db::TTable& t) {
            t.FieldByName(table == "Vetomagok" ? "Magkod" : "Kod").SetAsString(code);
            t.FieldByName("Nev").SetAsString(name);
        });
    }

    void AddMachine(const std::string& table, const std::string& code, const std::string& name,
                    const std::string& houseNumber, int tul = 0) {
        AddRow(table, [&](db::TTable& t) {
            t.FieldByName("Gepkod").SetAsString(code);
            t.FieldByName("Gepnev").SetAsString(name);
            if (table == "Erogepek") {
                t.FieldByName("Geptip").SetAsString(name);
                t.FieldByName("Haziszam").SetAsString(houseNumber);
            } else {
                t.FieldByName("Hazisz").SetAsString(houseNumber);
            }
            t.FieldByName("Tul").SetAsInteger(tul);
        });
    }

    report::CaptureOutput output;
    report::ScopedOutput use{output};
};

} // namespace liststest
