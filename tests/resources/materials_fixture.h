#pragma once
// The fixture of the materials and stock tests: the material masters, the species, the
// stock ledger and its planned twin, and the option rows, as the catalogue defines them;
// the number checks' holder form; rows put into the tables and read back.

#include "core/Isnuminth.h"
#include "core/catalogue.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "support/ui_test.h"

#include <memory>
#include <string>
#include <vector>

namespace mattest {

class MaterialsTest : public testui::UiTest {
protected:
    MaterialsTest() {
        for (const char* name : {"Tapanyagok", "Novenyvedok", "Vetomagok", "Magfajtak",
                                 "Raktarmozgas", "Tervrmozgas", "Alapadatok"}) {
            const core::TableDef* def = core::FindTable(name);
            session.create(def->name, {def->fields, def->keyFields}, def->indexes);
        }
        numbers = std::make_unique<ui::OwnedForm<TNumericInt>>(NumericInt, session);
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
        db::TTable rows(session, "Check");
        rows.SetTableName(ledger);
        rows.Open();
        rows.Append();
        if (!code.empty())
            rows.FieldByName("Anyagkod").SetAsString(code);
        if (day != 0)
            rows.FieldByName("Datum").SetAsDateTime(day);
        rows.FieldByName("Menny").SetAsFloat(quantity);
        rows.Post();
    }

    void Add(const std::string& table,
             const std::vector<std::pair<std::string, std::string>>& values) {
        db::TTable rows(session, "Check");
        rows.SetTableName(table);
        rows.Open();
        rows.Append();
        for (const auto& [field, value] : values)
            rows.FieldByName(field).SetAsString(value);
        rows.Post();
    }

    // The text of one field of every row of a table, in file order (filtered when a
    // filter is given).
    std::vector<std::string> Column(const std::string& table, const std::string& field,
                                    const std::string& filter = {}) {
        db::TTable rows(session, "Check");
        rows.SetTableName(table);
        if (!filter.empty()) {
            rows.SetFilter(filter);
            rows.SetFiltered(true);
        }
        rows.Open();
        std::vector<std::string> values;
        for (rows.First(); !rows.Eof(); rows.Next())
            values.push_back(rows.FieldByName(field).AsString());
        return values;
    }

    // The quantities of the ledger rows of one material, in file order.
    std::vector<double> Quantities(const std::string& code) {
        db::TTable rows(session, "Check");
        rows.SetTableName("Raktarmozgas");
        rows.SetFilter("Anyagkod = '" + code + "'");
        rows.SetFiltered(true);
        rows.Open();
        std::vector<double> values;
        for (rows.First(); !rows.Eof(); rows.Next())
            values.push_back(rows.FieldByName("Menny").AsFloat());
        return values;
    }

    db::Session session;
    std::unique_ptr<ui::OwnedForm<TNumericInt>> numbers;
};

} // namespace mattest
