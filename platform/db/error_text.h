#pragma once
// An error of the table files said to the user in Hungarian: which file, and what is
// wrong with it in words a user can act on, followed by the engine's own detail.

#include <string>

namespace db {

class DbError;

// "Adatbázis hiba a(z) Tablak.db fájlban: a fájl sérült." and the detail on a second line;
// a problem already worded in Hungarian as "Tablak.db: <problem>.".
std::string hungarianText(const DbError& error);

// The Hungarian reason alone ("a fájl sérült"), without the file and the detail.
std::string hungarianReason(const DbError& error);

} // namespace db
