// A fresh database made from the catalogue, with the reference lists a new installation
// ships: the land register's cultivation branches, the AKG land-use branches and the
// 2009-2014 agri-environment target programmes.

#include "core/fresh_database.h"

#include "core/catalogue.h"
#include "core/operation_types.h"
#include "platform/db/session.h"
#include "platform/db/table.h"

#include <stdexcept>

namespace core {

// The diary sheets sum and name the land parcels by this Id (GN-01's rows, the parcel
// summaries' use), so the land parcel forms offer exactly these, by Id from 1.
const char* const kCultivationBranchNames[kCultivationBranchCount] = {
    "szántó",         "gyep",   "szőlő",
    "gyümölcs",       "nádas",  "halastó",
    "zsombékos, láp", "erdő",   "pihentett terület",
    "kaszáló",        "legelő", "fásított terület",
    "konyhakert",
};

namespace {

// clang-format off
// The land-use branches of an AKG commitment; the diary sheets read 1, 2 and 3.
constexpr const char* kAkgBranches[] = {"Szántó", "Gyep", "Ültetvény"};

// The agri-environment target programmes of 2009-2014 (61/2009. (V. 14.) FVM rendelet)
// that the published lists confirm, with the programme code where one was published.
struct Programme {
    const char* code; // "" when no code was published
    const char* name;
};
constexpr Programme kProgrammes[] = {
    {"aa", "Integrált szántóföldi növénytermesztés célprogram"},
    {"",   "Tanyás gazdálkodás célprogram"},
    {"ac", "Ökológiai szántóföldi növénytermesztés célprogram"},
    {"",   "Szántóföldi növénytermesztés túzok élőhely-fejlesztési előírásokkal célprogram"},
    {"",   "Szántóföldi növénytermesztés vadlúd- és daruvédelmi előírásokkal célprogram"},
    {"",   "Szántóföldi növénytermesztés madár- és apróvad élőhely-fejlesztési előírásokkal "
           "célprogram"},
    {"",   "Szántóföldi növénytermesztés kék vércse élőhely-fejlesztési előírásokkal célprogram"},
    {"",   "Vízerózió elleni célprogram"},
    {"",   "Szélerózió elleni célprogram"},
    {"",   "Integrált gyümölcs- és szőlőtermesztés célprogram"},
    {"",   "Hagyományos gyümölcstermesztés célprogram"},
};
// clang-format on

void CreateTable(db::Session& session, const TableDef& def) {
    db::TableSchema schema;
    schema.fields = def.fields;
    schema.keyFields = def.keyFields;
    schema.minBlockKiB = def.minBlockKiB;
    session.create(def.name, schema, def.indexes);
}

// Appends rows of an id and a name; the id is the row's position from 1.
template <std::size_t N>
void InsertNamedList(db::Session& session, const char* table, const char* nameField,
                     const char* const (&names)[N]) {
    db::TTable t(session);
    t.SetTableName(table);
    t.Open();
    for (std::size_t i = 0; i < N; ++i) {
        t.Append();
        t.FieldByName("Id").SetAsInteger(static_cast<std::int64_t>(i + 1));
        t.FieldByName(nameField).SetAsString(names[i]);
        t.Post();
    }
    t.Close();
}

void InsertProgrammes(db::Session& session) {
    db::TTable t(session);
    t.SetTableName("celprogramok");
    t.Open();
    std::int64_t id = 0;
    for (const Programme& p : kProgrammes) {
        t.Append();
        t.FieldByName("Id").SetAsInteger(++id);
        if (*p.code)
            t.FieldByName("Kod").SetAsString(p.code);
        t.FieldByName("Megnev").SetAsString(p.name);
        t.FieldByName("Deleted").SetAsBoolean(false);
        t.Post();
    }
    t.Close();
}

// The rows a table holds when it is new: its reference list, or the "no machine" row.
void InsertReferenceRows(db::Session& session, const TableDef& def) {
    if (def.name == "Erogepek" || def.name == "Munkagepek")
        InsertNoMachineRow(session, def.name);
    else if (def.name == "Muvelesiag")
        InsertNamedList(session, "Muvelesiag", "Muvag", kCultivationBranchNames);
    else if (def.name == "Akgmuvag")
        InsertNamedList(session, "Akgmuvag", "Megnev", kAkgBranches);
    else if (def.name == "celprogramok")
        InsertProgrammes(session);
    else if (def.name == "Normalhektar")
        InsertStarterOperationTypes(session);
}

void CreateWithRows(db::Session& session, const TableDef& def) {
    CreateTable(session, def);
    InsertReferenceRows(session, def);
}

} // namespace

DatabaseCheck PrepareDatabase(db::Session& session) {
    DatabaseCheck check;
    bool anyPresent = false;
    for (const auto& def : Catalogue()) {
        if (!def.inInventory)
            continue;
        if (session.exists(def.name))
            anyPresent = true;
        else
            check.missing.push_back(def.name + ".db");
    }
    if (!anyPresent) {
        CreateFreshDatabase(session);
        check.fresh = true;
        check.missing.clear();
        return check;
    }
    if (!check.missing.empty())
        return check;
    // A complete database: the tables outside the inventory are made when missing, so
    // that a database copied without them still opens its lists.
    for (const auto& def : Catalogue())
        if (!def.inInventory && !session.exists(def.name))
            CreateWithRows(session, def);
    EnsureNoMachineRows(session);
    return check;
}

void CreateFreshDatabase(db::Session& session) {
    for (const auto& def : Catalogue())
        if (!session.exists(def.name))
            CreateWithRows(session, def);
    WriteNormalHectareText(session.directory());
}

std::vector<StarterText> StarterTexts() {
    std::vector<StarterText> texts;
    for (const char* name : kCultivationBranchNames)
        texts.push_back({"Muvelesiag", "Muvag", name});
    for (const char* name : kAkgBranches)
        texts.push_back({"Akgmuvag", "Megnev", name});
    for (const Programme& p : kProgrammes) {
        texts.push_back({"celprogramok", "Kod", p.code});
        texts.push_back({"celprogramok", "Megnev", p.name});
    }
    for (const StarterOperationType& type : StarterOperationTypes())
        texts.push_back({"Normalhektar", "Muv", type.name});
    for (const char* table : {"Erogepek", "Munkagepek"})
        texts.push_back({table, "Gepnev", "---"});
    return texts;
}

void InsertNoMachineRow(db::Session& session, const std::string& table) {
    const TableDef* def = FindTable(table);
    const char* typeField = nullptr;
    if (def && def->name == "Erogepek")
        typeField = "Geptip";
    else if (def && def->name == "Munkagepek")
        typeField = "Tipus";
    else
        throw std::invalid_argument("no machine table: " + table);

    db::TTable t(session);
    t.SetTableName(table);
    t.Open();
    t.Append();
    t.FieldByName("Gepkod").SetAsString("100000");
    t.FieldByName("Gepnev").SetAsString("---");
    t.FieldByName(typeField).SetAsString("---");
    t.FieldByName("Tul").SetAsInteger(1);
    t.Post();
    t.Close();
}

bool EnsureNoMachineRows(db::Session& session) {
    bool written = false;
    for (const char* table : {"Erogepek", "Munkagepek"}) {
        db::TTable t(session);
        t.SetTableName(table);
        t.Open();
        const bool present = t.Locate("Gepkod", {db::Value(std::string("100000"))});
        t.Close();
        if (!present) {
            InsertNoMachineRow(session, table);
            written = true;
        }
    }
    return written;
}

} // namespace core
