#pragma once
// What the two owner forms share: the edits of an owner limited to the widths of
// tulaj.db's fields, and the check of the required name and address.

#include <string>

namespace db {
class Session;
}
namespace ui {
class TEdit;
}

namespace reg {

// Limits the name, address and telephone edits to Tulnev, Cim and Tel of tulaj.db.
void LimitOwnerEdits(db::Session& session, ui::TEdit* name, ui::TEdit* address, ui::TEdit* phone);

// Whether both the name and the address hold more than blanks.
bool OwnerNameAndAddressGiven(const std::string& name, const std::string& address);

// Whether another owner (not `ownCode`) has the name already; then says so. The land
// parcel forms find an owner by name, so two of one name would be told apart nowhere.
bool OwnerNameTaken(db::Session& session, const std::string& name, const std::string& ownCode = "");

} // namespace reg
