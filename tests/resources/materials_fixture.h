#pragma once
// The fixture of the materials and stock tests: the resources' fixture with the material
// masters, the species, the stock ledger and its planned twin; rows put into them.

#include "platform/db/table.h"
#include "platform/sys/numbers.h"
#include "resources_fixture.h"

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace mattest {

class MaterialsTest : public restest::ResourcesTest {
protected:
    MaterialsTest() {
        restest::MakeTables(session, {"Tapanyagok", "Novenyvedok", "Vetomagok", "Magfajtak",
                                      "Raktarmozgas", "Tervrmozgas"});
    }

    void AddFertiliser(const std::string& code, const std::string& name,
                       const std::string& unit = "kg", const std::string& state = "S") {
        Add("Tapanyagok", {{"Kod", code}, {"Nev", name}, {"Mert", unit}, {"Halmaza", state}});
    }
    void AddPesticide(const std::string& code, const std::string& name,
                      const std::string& unit = "l", const std::string& type = "gyomirtó",
                      const std::string& ingredient = "glifozát") {
        Add("Novenyvedok", {{"Kod", code},
                            {"Nev", name},
                            {"Mert", unit},
                            {"Szertip", type},
                            {"Hata", ingredient}});
    }
    void AddSeed(const std::string& code, const std::string& name, const std::string& species,
                 const std::string& unit = "kg") {
        Add("Vetomagok", {{"Magkod", code}, {"Nev", name}, {"Mert", unit}, {"Magfaj", species}});
    }
    void AddSpecies(const std::string& code, const std::string& name) {
        Add("Magfajtak", {{"Fajkod", code}, {"Faj", name}});
    }
    // A ledger row; a day of 0 leaves Datum empty (a pending use).
    void AddMovement(const std::string& code, sys::DateTime day, double quantity,
                     const std::string& ledger = "Raktarmozgas") {
        restest::AddRow(session, ledger, [&](db::TTable& row) {
            if (!code.empty())
                row.FieldByName("Anyagkod").SetAsString(code);
            if (day != 0)
                row.FieldByName("Datum").SetAsDateTime(day);
            row.FieldByName("Menny").SetAsFloat(quantity);
        });
    }

    void Add(const std::string& table,
             const std::vector<std::pair<std::string, std::string>>& values) {
        restest::AddRow(session, table, [&](db::TTable& row) {
            for (const auto& [field, value] : values)
                row.FieldByName(field).SetAsString(value);
        });
    }

    // The quantities of the ledger rows of one material, in file order.
    std::vector<double> Quantities(const std::string& code) {
        std::vector<double> values;
        for (const std::string& text : Column("Raktarmozgas", "Menny", "Anyagkod = '" + code + "'"))
            values.push_back(sys::parseFloat(text));
        return values;
    }

    // Saves a picture of the form when FARM_SCREENSHOT_DIR names a folder.
    static void Snapshot(ui::TForm& form, const std::string& name) {
        if (const char* dir = std::getenv("FARM_SCREENSHOT_DIR"))
            form.grab().save(QString::fromStdString(std::string(dir) + "/" + name + ".png"));
    }
};

} // namespace mattest
