#include "core_tables.h"

#include "core/catalogue.h"
#include "platform/db/table.h"

#include <fstream>
#include <sstream>

namespace coretest {

using db::FieldType;

db::FieldDef Text(const std::string& name, int size) {
    return {name, FieldType::Alpha, size, 0};
}

db::FieldDef Field(const std::string& name, FieldType type) {
    return {name, type, db::storedSize(type, 0), 0};
}

namespace {

void Make(db::Session& session, const std::string& name, std::vector<db::FieldDef> fields,
          int keyFields, const std::vector<db::Record>& rows = {}) {
    auto table = session.create(name, {std::move(fields), keyFields});
    for (db::Record row : rows)
        table->insert(row);
}

} // namespace

namespace {

// A table in the catalogue's current layout, with its indexes.
void MakeFromCatalogue(db::Session& session, const std::string& name) {
    const core::TableDef* def = core::FindTable(name);
    session.create(def->name, {def->fields, def->keyFields}, def->indexes);
}

} // namespace

void MakeSet(db::Session& session) {
    MakeFromCatalogue(session, "Set");
}

void MakeAlapadatok(db::Session& session) {
    MakeFromCatalogue(session, "Alapadatok");
}

void MakeAlapadat2(db::Session& session) {
    MakeFromCatalogue(session, "Alapadat2");
}

void MakeTablak(db::Session& session) {
    Make(session, "Tablak",
         {Field("Tableid", FieldType::AutoInc), Text("Helysz", 40), Text("Parcella", 6)}, 1);
}

void MakeFelhanyag(db::Session& session) {
    Make(session, "felhanyag",
         {Text("Felhkod", 6), Text("Muvkod", 6), Text("Csira", 10), Text("Felelos", 30)}, 1);
}

void MakeOldDatabase(db::Session& session) {
    const auto code = [](int i) { return db::Value(std::to_string(100000 + i)); };
    const db::Value day = db::Date{733000};
    Make(session, "ElvMuv",
         {Text("Muvkod", 6), Text("Tablakod", 6), Field("Datum", FieldType::Date),
          Field("Ter", FieldType::Number)},
         1, {{code(1), code(7), day, 12.5}, {code(2), code(8), db::Null{}, 3.0}});
    Make(session, "parcellak",
         {Text("Parckod", 6), Text("Evj", 4), Field("Ter", FieldType::Long), Text("Aktiv", 1)}, 1,
         {{code(7), std::string("2009"), 45000, std::string("A")},
          {code(8), std::string("2010"), 1200, std::string("N")}});
    Make(session, "Alapadatok",
         {Field("Id", FieldType::AutoInc), Text("Nev", 60), Text("Cim", 60), Text("Fnev", 30)}, 1,
         {{1, std::string("Kovács Gazdaság"), std::string("Szeged"), std::string("Tóth Éva")},
          {2, std::string("_kesz"), std::string("no"), db::Null{}}});
    Make(session, "Tapanyagok", {Text("Kod", 6), Text("Nev", 40), Field("N", FieldType::Number)}, 1,
         {{code(0), std::string("Pétisó"), 27.0}});
    Make(session, "felhanyag",
         {Text("Felhkod", 6), Text("Muvkod", 6), Text("Csira", 10), Text("Felelos", 30)}, 1,
         {{code(1), code(1), db::Null{}, std::string("X27;0;0;")}});
    Make(session, "Novvedmegf", {Field("Id", FieldType::Long), Text("Tablakod", 6)}, 1,
         {{1, code(7)}});
    Make(session, "Magfajtak", {Text("Kod", 6), Text("Nev", 40)}, 1,
         {{code(3), std::string("Őszi búza")}});
    Make(session, "GNMegjegy", {Field("Id", FieldType::Long), Text("Megj", 100)}, 1,
         {{1, std::string("első")}, {2, std::string("második")}});
    Make(session, "Tablak",
         {Field("Tableid", FieldType::AutoInc), Text("Helysz", 40), Text("Parcella", 6)}, 1,
         {{1, std::string("0123/4"), std::string("I")}});
    for (const char* name : {"Normalhektar", "Raktarak", "Vetomagok", "Novenyvedok", "Gazdepulet"})
        Make(session, name, {Text("Kod", 6), Text("Nev", 40)}, 1,
             {{code(0), std::string(name) + " 1"}, {code(1), std::string(name) + " 2"}});
    for (const char* name : {"Munkagepek", "Erogepek"})
        Make(session, name, {Text("Gepkod", 6), Text("Gepnev", 40), Field("Tul", FieldType::Long)},
             1, {{code(0), std::string("nincs gép"), 0}});
    Make(session, "legnaplo", {Field("Id", FieldType::Long), Text("Tablakod", 6)}, 1,
         {{5, code(7)}});
    Make(session, "Parckiegadat", {Text("Parckod", 6), Field("Toszam", FieldType::Long)}, 1,
         {{code(7), 400}});
}

std::vector<std::string> OldDatabaseTables() {
    return {"ElvMuv",      "parcellak",  "Alapadatok", "Tapanyagok",   "felhanyag", "Novvedmegf",
            "Magfajtak",   "GNMegjegy",  "Tablak",     "Normalhektar", "Raktarak",  "Vetomagok",
            "Novenyvedok", "Gazdepulet", "Munkagepek", "Erogepek",     "legnaplo",  "Parckiegadat"};
}

std::vector<std::string> FieldNames(db::Session& session, const std::string& table) {
    std::vector<std::string> names;
    const auto shared = session.open(table);
    for (const db::FieldDef& f : shared->file().header().fields)
        names.push_back(f.name);
    return names;
}

std::vector<std::string> Rows(db::Session& session, const std::string& table) {
    db::TTable t(session);
    t.SetTableName(table);
    t.Open();
    std::vector<std::string> rows;
    for (t.First(); !t.Eof(); t.Next()) {
        std::string row;
        for (int i = 0; i < t.FieldCount(); ++i)
            row += (i ? "|" : "") + (t.Fields(i).IsNull() ? "<null>" : t.Fields(i).AsString());
        rows.push_back(row);
    }
    return rows;
}

std::map<std::string, std::string> FileBytes(const std::filesystem::path& dir) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (!entry.is_regular_file())
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        files[entry.path().filename().string()] = bytes.str();
    }
    return files;
}

} // namespace coretest
