#pragma once
// The names the register's lists and look-ups find a row by (a species, an owner, a
// sector group) are kept one to a row: a second row of the same name would stand in for
// the first wherever a name is looked up, and be told apart nowhere.

#include "platform/db/session.h"

#include <string>

namespace reg {

// Whether another row of the table holds the name in `field`, blanks around it and letter
// case aside; a row marked Deleted does not count, nor the row whose `keyField` holds
// `ownKey` (the one being renamed; no key field: every row counts).
bool NameTaken(db::Session& session, const std::string& table, const std::string& field,
               const std::string& name, const std::string& keyField = "",
               const std::string& ownKey = "");

} // namespace reg
