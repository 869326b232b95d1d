#pragma once
// Sequential codes: most codes of the database are 6-character texts numbered as the
// last code plus one, starting at a fixed value ("100000") in an empty table.

#include "platform/db/session.h"

#include <string>
#include <vector>

namespace reg {

// A column holding codes of one kind: the table that hands them out, or one that refers
// to them.
struct CodeColumn {
    std::string table; // "tulaj", "Tablak"
    std::string field; // "Tulkod"
};

// The next code: the highest numeric code found in any of the columns plus one, or
// `start` when none holds one. Listing the referring columns beside the owning one keeps
// a code from being handed out again while rows elsewhere still name it (an owner
// deleted while inactivated land parcels keep its code). Texts that are no whole number
// are passed over, and so is a referring table that the database does not hold.
std::string NextSequentialCode(db::Session& session, const std::vector<CodeColumn>& columns,
                               int start = 100000);

// The next owner code of tulaj.db: its own codes and those land parcels still hold.
std::string NextOwnerCode(db::Session& session);

} // namespace reg

namespace reg {

// The next field code (parcellak.db Parckod): one above the highest code found in
// parcellak.db and in every table that names a field (links, side rows, plan items,
// operations and their planned twins, force-majeure cases, observations), so that a
// field never adopts the rows a deleted field left behind; "100000" for none.
std::string NextFieldCode(db::Session& session);

// The tables and columns that name a field by its Parckod, parcellak.db's own first.
const std::vector<CodeColumn>& FieldCodeColumns();

} // namespace reg
