#include "core/Settings.h"

#include "platform/db/error.h"
#include "platform/db/error_text.h"
#include "platform/db/exact_filter.h"
#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/sys/numbers.h"
#include "platform/sys/text.h"

#include <cmath>
#include <exception>

namespace core {

namespace {

// Opens Set.db narrowed to the row of the key (none or one row).
void OpenSettingRow(db::TTable& table, const std::string& key) {
    table.SetTableName("Set");
    db::FilterExactly(table, "Azon", key);
    table.Open();
}

// On the table OpenSettingRow opened: inserts the key's row when missing, else edits it.
void StoreSetting(db::TTable& table, const std::string& key, const std::string& value) {
    if (table.IsEmpty()) {
        table.Insert();
        table.FieldByName("Azon").SetAsString(key);
    } else {
        table.First();
        table.Edit();
    }
    table.FieldByName("Set").SetAsString(value);
    table.Post();
}

struct TableColumns {
    const char* table;
    std::vector<ColumnSpec> columns;
};

// The columns of database version 3.05 that older databases lack, in the order they
// are added.
const std::vector<TableColumns>& UpgradeColumns() {
    static const std::vector<TableColumns> list = {
        {"ElvMuv",
         {{"Sorsz", "INTEGER"},
          {"Vizkivid", "INTEGER"},
          {"Muvveg", "DATE"},
          {"Tajkotmegnev", "CHAR(50)"},
          {"Bejelido", "DATE"},
          {"Bejelkot", "BOOLEAN"},
          {"Deleted", "BOOLEAN"},
          {"Megjegyzes", "CHAR(200)"}}},
        {"parcellak",
         {{"Szaporitotip", "CHAR(40)"},
          {"Tapanytelj", "BOOLEAN"},
          {"Tervhozam", "NUMERIC(10,4)"},
          {"Talajbaszantas", "BOOLEAN"},
          {"Vismajor", "BOOLEAN"},
          {"Megjegyzes", "CHAR(100)"},
          {"Nkat", "BOOLEAN"},
          {"Nat2000", "BOOLEAN"},
          {"Nitr", "BOOLEAN"},
          {"Tizszaz", "BOOLEAN"},
          {"Kattam", "CHAR(40)"},
          {"Nattam", "CHAR(40)"},
          {"Ketid", "INTEGER"}}},
        {"Alapadatok",
         {{"Szakirregsz", "CHAR(40)"},
          {"Szaktan", "CHAR(100)"},
          {"Szaktaneng", "CHAR(30)"},
          {"Szaktancim", "CHAR(70)"}}},
        {"Tapanyagok",
         {{"Egyhatoany", "CHAR(40)"},
          {"Szervestr", "BOOLEAN"},
          {"Higtr", "BOOLEAN"},
          {"Egyebtr", "BOOLEAN"},
          {"Deleted", "BOOLEAN"},
          {"Mutr", "BOOLEAN"}}},
        {"felhanyag",
         {{"Egyhatoany", "CHAR(40)"},
          {"Tragyakod", "CHAR(40)"},
          {"Szervestr", "BOOLEAN"},
          {"Higtr", "BOOLEAN"},
          {"Egyebtr", "BOOLEAN"},
          {"Deleted", "BOOLEAN"},
          {"Sorsz", "INTEGER"},
          {"Mutr", "BOOLEAN"}}},
        {"Novvedmegf",
         {{"Fertmert", "CHAR(50)"},
          {"Agrotechsorsz", "INTEGER"},
          {"Megjegy", "CHAR(100)"},
          {"Deleted", "BOOLEAN"},
          {"Sorsz", "INTEGER"}}},
        {"Magfajtak", {{"Hasznkod", "CHAR(10)"}, {"Deleted", "BOOLEAN"}}},
        {"GNMegjegy", {{"Msorsz", "INTEGER"}}},
        {"Tablak", {{"Telepules", "CHAR(100)"}, {"Deleted", "BOOLEAN"}}},
        {"Normalhektar", {{"Deleted", "BOOLEAN"}}},
        {"Raktarak", {{"Deleted", "BOOLEAN"}}},
        {"Munkagepek", {{"Deleted", "BOOLEAN"}}},
        {"Erogepek", {{"Deleted", "BOOLEAN"}}},
        {"parcellak", {{"Deleted", "BOOLEAN"}}},
        {"legnaplo", {{"Deleted", "BOOLEAN"}}},
        {"Vetomagok", {{"Deleted", "BOOLEAN"}}},
        {"Novenyvedok", {{"Deleted", "BOOLEAN"}}},
        {"Gazdepulet", {{"Deleted", "BOOLEAN"}}},
    };
    return list;
}

// The columns every start makes sure of, whatever the version.
const std::vector<TableColumns>& StartColumns() {
    static const std::vector<TableColumns> list = {
        {"Parckiegadat", {{"odukszama", "INTEGER"}, {"rovarcsszama", "INTEGER"}}},
        {"legnaplo",
         {{"Db", "INTEGER"},
          {"Celp_id", "INTEGER"},
          {"Napok", "INTEGER"},
          {"Allid", "INTEGER"},
          {"Kor_id", "INTEGER"},
          {"Legmod", "CHAR(100)"},
          {"Deleted", "BOOLEAN"},
          {"Megjegyzes", "CHAR(200)"},
          {"Ae", "NUMERIC(10,4)"}}},
    };
    return list;
}

std::vector<ColumnFailure> EnsureAll(db::Session& session, const std::vector<TableColumns>& list,
                                     const UpgradeProgress& progress) {
    std::size_t total = 0, done = 0;
    for (const TableColumns& entry : list)
        total += entry.columns.size();
    std::vector<ColumnFailure> failures;
    for (const TableColumns& entry : list) {
        EnsureColumns(session, entry.table, entry.columns, failures);
        done += entry.columns.size();
        if (progress)
            progress(done, total);
    }
    return failures;
}

// The first line of an engine message (the rest quotes the statement).
std::string FirstLine(const std::string& text) {
    return text.substr(0, text.find('\n'));
}

// What the user reads when a table stops the upgrade: the file and the damage in
// Hungarian (the first line of any other error, which is worded for the user).
std::string UnreadableTableMessage(const std::string& table, const std::exception& error) {
    std::string file = table + ".db", reason = "a tábla nem olvasható";
    std::string detail = "\n(" + FirstLine(error.what()) + ")";
    if (const std::optional<db::FileErrorText> described = db::describeFileError(error)) {
        file = described->file;
        reason = described->reason;
        detail.clear();
    }
    return "Az adatbázis frissítése nem folytatható: a(z) " + file + " nem olvasható (" + reason +
           ").\nA program leáll. Töltse vissza a fájlt a biztonsági mentésből, majd "
           "indítsa újra a programot." +
           detail;
}

// The columns of a table as "SELECT *" gives them. UnreadableTable when the table cannot
// be read: opening it reads its header and walks its blocks, so damage shows here.
std::vector<std::string> ColumnNames(db::Session& session, const std::string& table) {
    std::shared_ptr<db::SharedTable> open; // held, so that the query reads it once
    try {
        open = session.open(table);
    } catch (const db::DbError& e) {
        throw UnreadableTable(UnreadableTableMessage(table, e));
    }
    db::TQuery query(session, "Query2");
    try {
        query.SQL().Clear();
        query.SQL().Add("SELECT *");
        query.SQL().Add("FROM " + table);
        query.Open();
    } catch (const std::exception& e) {
        throw UnreadableTable(UnreadableTableMessage(table, e));
    }
    std::vector<std::string> names;
    for (int i = 0; i < query.FieldCount(); ++i)
        names.push_back(query.Fields(i).FieldName());
    return names;
}

} // namespace

std::optional<std::string> ReadSetting(db::Session& session, const std::string& key) {
    db::TTable table(session, "Table4");
    OpenSettingRow(table, key);
    std::optional<std::string> value;
    if (!table.IsEmpty()) {
        table.First();
        value = table.FieldByName("Set").AsString();
    }
    table.Close();
    return value;
}

void WriteSetting(db::Session& session, const std::string& key, const std::string& value) {
    db::TTable table(session, "Table4");
    OpenSettingRow(table, key);
    StoreSetting(table, key, value);
    table.Close();
}

void FixLandUseCodes(db::Session& session) {
    if (ReadSetting(session, "fhasznjog") == "2009")
        return;
    // Every field's code and the mark that they are done are one save: one disk wait for
    // the whole table, and a start cut off leaves none of it, to be done again.
    db::SessionTransaction transaction(session);
    db::TTable table(session, "Table6");
    table.SetTableName("Tablak");
    table.Open();
    db::TField& code = table.FieldByName("Parcella");
    for (table.First(); !table.Eof(); table.Next()) {
        if (code.AsString() == "I") {
            table.Edit();
            code.SetAsString("T");
            table.Post();
        }
        if (code.AsString() == "SZ") {
            table.Edit();
            code.SetAsString("B");
            table.Post();
        }
    }
    table.Close();
    WriteSetting(session, "fhasznjog", "2009");
    transaction.Commit();
}

std::vector<ColumnFailure> UpgradeDatabase(db::Session& session, const UpgradeProgress& progress) {
    std::vector<ColumnFailure> failures = EnsureAll(session, UpgradeColumns(), progress);
    if (failures.empty())
        WriteSetting(session, "DBVersion", kSchemaVersion);
    return failures;
}

std::vector<ColumnFailure> CheckStartColumns(db::Session& session,
                                             const UpgradeProgress& progress) {
    return EnsureAll(session, StartColumns(), progress);
}

void EnsureColumns(db::Session& session, const std::string& table,
                   const std::vector<ColumnSpec>& columns, std::vector<ColumnFailure>& failures) {
    std::vector<bool> found(columns.size(), false);
    for (const std::string& name : ColumnNames(session, table))
        for (std::size_t c = 0; c < columns.size(); ++c)
            if (sys::equalsNoCase(name, columns[c].name))
                found[c] = true;
    for (std::size_t c = 0; c < columns.size(); ++c) {
        if (found[c])
            continue;
        try {
            std::string error;
            if (!AddColumn(session, table, columns[c].name, columns[c].type, error))
                failures.push_back({table, columns[c].name, error});
        } catch (const db::CorruptFileError& e) {
            throw UnreadableTable(UnreadableTableMessage(table, e));
        }
    }
}

bool AddColumn(db::Session& session, const std::string& table, const std::string& column,
               const std::string& type, std::string& error) {
    db::TQuery query(session, "Query1");
    try {
        query.Close();
        query.SQL().Clear();
        query.SQL().Add("ALTER TABLE " + table);
        query.SQL().Add(" ADD " + column + " " + type);
        query.Prepare();
        query.ExecSQL();
    } catch (const db::CorruptFileError&) {
        throw; // a damaged table is no column to skip
    } catch (const std::exception& e) {
        error = FirstLine(e.what());
        return false;
    }
    return true;
}

std::string ColumnFailureMessage(const std::vector<ColumnFailure>& failures) {
    std::string text = "Az adatbázis frissítése nem sikerült teljesen. A következő oszlopok nem "
                       "adhatók hozzá:\n";
    for (const ColumnFailure& f : failures)
        text += f.table + ": " + f.column + " (" + f.error + ")\n";
    text += "A frissítés a program következő indításakor újra lefut.";
    return text;
}

bool SafetySaveDue(db::Session& session, double today) {
    const double day = std::floor(today);
    const std::string todayText = sys::intToText(static_cast<std::int64_t>(day));
    db::TTable table(session, "Table4");
    OpenSettingRow(table, "safetysave");
    std::optional<double> stored;
    if (!table.IsEmpty()) {
        table.First();
        stored = sys::tryParseFloat(table.FieldByName("Set").AsString());
    }
    // A missing or empty day (or one that is no number) starts the count today.
    const bool due = stored && *stored + 21 < day;
    if (!stored || due)
        StoreSetting(table, "safetysave", todayText);
    table.Close();
    return due;
}

} // namespace core
