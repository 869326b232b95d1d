#include "resources_fixture.h"

#include "core/catalogue.h"
#include "core/fresh_database.h"
#include "platform/report/layouts.h"
#include "resources/commands.h"
#include "support/table_rows.h"

#include <filesystem>

namespace restest {

void MakeTables(db::Session& session, const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        const core::TableDef* def = core::FindTable(name);
        session.create(def->name, {def->fields, def->keyFields}, def->indexes);
    }
}

void AddRow(db::Session& session, const std::string& table,
            const std::function<void(db::TTable&)>& fill) {
    db::TTable t(session);
    t.SetTableName(table);
    t.Open();
    t.Append();
    fill(t);
    t.Post();
}

void AddMachine(db::Session& session, const std::string& table, const std::string& code,
                const std::string& name, int tul) {
    AddRow(session, table, [&](db::TTable& t) {
        t.FieldByName("Gepkod").SetAsString(code);
        t.FieldByName(table == "Erogepek" ? "Geptip" : "Gepnev").SetAsString(name);
        t.FieldByName("Tul").SetAsInteger(tul);
    });
}

void AddField(db::Session& session, const std::string& parckod, int evj, int parcsor,
              const std::string& agazat, bool active) {
    AddRow(session, "parcellak", [&](db::TTable& t) {
        t.FieldByName("Parckod").SetAsString(parckod);
        t.FieldByName("Evj").SetAsInteger(evj);
        t.FieldByName("Parcsor").SetAsInteger(parcsor);
        t.FieldByName("Agazat").SetAsString(agazat);
        t.FieldByName("Ter").SetAsFloat(10000.0 * parcsor);
        t.FieldByName("Aktiv").SetAsString(active ? "A" : "N");
    });
}

ResourcesTest::ResourcesTest() {
    MakeTables(session, {"Alapadatok", "Erogepek", "Munkagepek", "Gepjavitas", "Gazdepulet",
                         "Szemely", "Megffej", "Novvedmegf", "Novvedmeg2", "Csapadek", "Szaktanacs",
                         "Vismajor", "Allatfajok", "Korcsoport", "parcellak"});
    session.setDomainCatalogue(core::DefinedFields);
    numbers = std::make_unique<ui::OwnedForm<TNumericInt>>(NumericInt, session);
    RegisterResourceLayouts();
    report::WriteBuiltInLayouts(std::filesystem::current_path());
}

std::vector<std::string> ResourcesTest::Column(const std::string& table, const std::string& field,
                                               const std::string& filter,
                                               const std::string& index) {
    return testenv::ColumnValues(session, table, field, filter, index);
}

int ResourcesTest::Count(const std::string& table, const std::string& filter) {
    return testenv::RowCount(session, table, filter);
}

} // namespace restest
