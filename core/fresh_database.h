#pragma once
// The database of the working directory at start-up: a fresh empty database is made from
// the catalogue when none of its tables is there (as a new installation); a partial one
// is named and refused.

#include <string>
#include <vector>

namespace db {
class Session;
}

namespace core {

// The cultivation branches (Muvelesiag.db) of a new installation, Id 1 first.
constexpr int kCultivationBranchCount = 13;
extern const char* const kCultivationBranchNames[kCultivationBranchCount];

// A text a fresh database ships, and the field it is stored in.
struct StarterText {
    std::string table;
    std::string field;
    std::string text;
};
// Every starter text of the reference rows, for the check that each fits its field.
std::vector<StarterText> StarterTexts();

struct DatabaseCheck {
    bool fresh = false;               // no table was there: a fresh database was made
    std::vector<std::string> missing; // tables' data files missing from a partial database
};

// Creates every table of the catalogue that is missing when none of the inventory's
// tables exists, with its index files and its reference rows (after a first start cut
// off, whose made files were never moved into place, again; one cut off while they were
// being moved is finished); otherwise lists the data
// files ("Tablak.db") missing, creating nothing. A complete inventory gets only the
// tables outside it that are missing (the read-only lists with their rows, szlatet), and
// the machine tables their "no machine" rows when they lack them. Never changes an
// existing row.
DatabaseCheck PrepareDatabase(db::Session& session);

// Every table of the catalogue is in Windows-1250 (an older one in DOS 852, which its
// header then names): one whose header names another code page is read and written in
// 1250 all the same, its file left as it is, and the user is told once a session which
// table it was. PrepareDatabase sets it on its session.
void ReadCatalogueTablesIn1250(db::Session& session);

// Creates every table of the catalogue that the directory lacks (whole or not at all:
// they are made in a folder of their own and moved into place at the end), with the reference
// rows: the "no machine" rows of Erogepek and Munkagepek, Akgmuvag, Muvelesiag,
// celprogramok, the starter operation types of Normalhektar; and "normalhektar.txt".
void CreateFreshDatabase(db::Session& session);

// The placeholder "no machine" row (Gepkod "100000") of Erogepek.db and Munkagepek.db,
// as a fresh database and the deletion of all data write it.
void InsertNoMachineRow(db::Session& session, const std::string& table);

// Writes the placeholder row into each machine table that has no row with Gepkod
// "100000" (a database of an older version); a row 100000 that is an own machine stays
// as it is, and no row is renumbered. True when a row was written.
bool EnsureNoMachineRows(db::Session& session);

} // namespace core
