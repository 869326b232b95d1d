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
// are passed over.
std::string NextSequentialCode(db::Session& session, const std::vector<CodeColumn>& columns,
                               int start = 100000);

// The next owner code of tulaj.db: its own codes and those land parcels still hold.
std::string NextOwnerCode(db::Session& session);

} // namespace reg
