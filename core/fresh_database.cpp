// A fresh database made from the catalogue, with the reference lists a new installation
// ships: the land register's cultivation branches, the AKG land-use branches and the
// 2009-2014 agri-environment target programmes.

#include "core/fresh_database.h"

#include "core/catalogue.h"
#include "core/operation_types.h"
#include "platform/db/file_io.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/sys/text.h"
#include "platform/ui/dialogs.h"

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <set>
#include <stdexcept>

namespace core {

namespace fs = std::filesystem;

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

// The rows go in one save: a list is never left in part, and a long one costs one disk
// wait instead of one a row.
void CreateWithRows(db::Session& session, const TableDef& def) {
    CreateTable(session, def);
    db::SessionTransaction transaction(session);
    InsertReferenceRows(session, def);
    transaction.Commit();
}

} // namespace

namespace {

// A fresh database is made in a folder of its own beside the tables, and its files are
// moved into place only once every one of them is made (and on the disk): a first start
// cut off (a full disk, a kill, the power) leaves the working directory as it was, and
// the next start makes the database again. The mark in the folder says that the moving
// has begun, so that the next start finishes it instead.
constexpr const char* kFreshFolder = "uj-adatbazis.keszul";
constexpr const char* kMadeMark = "elkeszult";

bool MovedAlong(const fs::path& file) {
    const std::string name = file.filename().string();
    return name != kMadeMark && name != db::Session::kIndexCheckFile &&
           !sys::equalsNoCase(file.extension().string(), ".jnl");
}

// Moves the made files into the working directory, never over a file there.
void MoveIntoPlace(const fs::path& fresh, const fs::path& dir) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(fresh))
        if (entry.is_regular_file() && MovedAlong(entry.path()))
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files)
        if (std::error_code error; !fs::exists(dir / file.filename(), error))
            fs::rename(file, dir / file.filename());
    db::io::syncDirectory(dir);
    fs::remove_all(fresh);
    db::io::syncDirectory(dir);
}

// Every file of the made database on the disk, then the mark.
void MarkMade(const fs::path& fresh) {
    for (const auto& entry : fs::directory_iterator(fresh))
        if (entry.is_regular_file())
            db::io::File::open(entry.path(), O_RDONLY).sync();
    const db::io::File mark = db::io::File::open(fresh / kMadeMark, O_WRONLY | O_CREAT | O_TRUNC);
    mark.sync();
    db::io::syncDirectory(fresh);
}

// What a first start cut off left: finished when its files were being moved, else
// dropped (only the folder's own files: the working directory is not touched).
void FinishOrDropFresh(const fs::path& dir) {
    const fs::path fresh = dir / kFreshFolder;
    std::error_code error;
    if (!fs::is_directory(fresh, error))
        return;
    if (fs::exists(fresh / kMadeMark, error))
        MoveIntoPlace(fresh, dir);
    else
        fs::remove_all(fresh);
}

} // namespace

void ReadCatalogueTablesIn1250(db::Session& session) {
    auto told = std::make_shared<std::set<std::string>>();
    session.setCodePageCatalogue(
        [](const std::string& table, int named) {
            return FindTable(table) && named != 1250 && named != 852 ? 1250 : 0;
        },
        [told](const fs::path& file, int named) {
            if (!told->insert(file.filename().string()).second)
                return;
            ui::MessageDlg("A(z) " + file.filename().string() + " tábla fejléce a(z) " +
                               std::to_string(named) +
                               " kódlapot nevezi meg, de a program táblái Windows-1250 "
                               "kódlapúak: a program a tábla szövegeit Windows-1250 szerint "
                               "olvassa és írja. A fájl fejléce nem változott.",
                           ui::mtWarning, ui::mbOK);
        });
}

DatabaseCheck PrepareDatabase(db::Session& session) {
    FinishOrDropFresh(session.directory());
    // An index file found holding another index is made again as the table's own.
    session.setIndexCatalogue([](const std::string& table) {
        const TableDef* def = FindTable(table);
        return def ? def->indexes : std::vector<db::IndexDef>{};
    });
    session.setDomainCatalogue(DefinedFields);
    ReadCatalogueTablesIn1250(session);
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

// The tables are written without a flush each (the folder is flushed whole before its
// files move into place), so a large reference list costs no disk wait per row.
void CreateFreshDatabase(db::Session& session) {
    const fs::path fresh = session.directory() / kFreshFolder;
    fs::remove_all(fresh);
    fs::create_directory(fresh);
    {
        db::Session made(fresh, db::Durability::OsBuffers);
        for (const auto& def : Catalogue())
            if (!session.exists(def.name))
                CreateWithRows(made, def);
        WriteNormalHectareText(fresh);
    }
    MarkMade(fresh);
    MoveIntoPlace(fresh, session.directory());
    session.setDomainCatalogue(DefinedFields);
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
