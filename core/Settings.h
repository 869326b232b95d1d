#pragma once
// The settings table Set.db (one row per key: Azon, Set) and the start-up steps that
// bring an older database up to version "3.05": the one-time rewrite of land-use codes,
// the schema upgrade that adds missing columns, and the column checks of every start.
// Also the date of the last automatic-backup offer, tested on exit.

#include "core/farm_row.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace db {
class Session;
}

namespace core {

inline constexpr const char* kSchemaVersion = "3.05";

// The value of a setting row; none when the row is missing.
std::optional<std::string> ReadSetting(db::Session& session, const std::string& key);
// Edits the row of the key, or inserts it when missing.
void WriteSetting(db::Session& session, const std::string& key, const std::string& value);

// Older databases coded the land-use basis of Tablak.db "I" (now "T") and "SZ" in an older
// meaning (now "B"). Runs once: afterwards the row "fhasznjog" = "2009" marks it done.
void FixLandUseCodes(db::Session& session);

// A column that could not be added: the table, the column and the engine's reason.
struct ColumnFailure {
    std::string table, column, error;
};

// A column to add when missing: its name and its type in our local SQL.
struct ColumnSpec {
    const char* name;
    const char* type;
};

// A table the upgrade cannot read (missing or damaged): the start stops. what() is the
// one message the user sees, naming the file and the damage.
class UnreadableTable : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Called after each column is checked (and added when missing): how many of how many.
using UpgradeProgress = std::function<void(std::size_t done, std::size_t total)>;

// Adds the missing columns of the version's column list in a fixed order. Stamps
// "DBVersion" = "3.05" only when every column is there afterwards; otherwise returns
// what failed, leaves the version as it was, and the upgrade runs again at next start.
// UnreadableTable, at the first table that cannot be read, with nothing more changed.
std::vector<ColumnFailure> UpgradeDatabase(db::Session& session,
                                           const UpgradeProgress& progress = {});
// The newest columns of Parckiegadat.db and legnaplo.db, checked at every start.
std::vector<ColumnFailure> CheckStartColumns(db::Session& session,
                                             const UpgradeProgress& progress = {});

// Adds each column whose name the table lacks (names compare ignoring letter case, as
// the engine's do); what could not be added is appended to `failures`. UnreadableTable
// when the table cannot be read, or turns out damaged while a column is added.
void EnsureColumns(db::Session& session, const std::string& table,
                   const std::vector<ColumnSpec>& columns, std::vector<ColumnFailure>& failures);
// ALTER TABLE table ADD column type; false with the engine's reason in `error`.
bool AddColumn(db::Session& session, const std::string& table, const std::string& column,
               const std::string& type, std::string& error);

// The message that tells the user which columns are missing after an upgrade.
std::string ColumnFailureMessage(const std::vector<ColumnFailure>& failures);

// Whether the exit offers the automatic backup: the stored day of the last offer lies
// more than 21 days before `today` (a day number without time). A missing, empty or
// unreadable day stores today and offers nothing; an offer stores today.
bool SafetySaveDue(db::Session& session, double today);

} // namespace core
