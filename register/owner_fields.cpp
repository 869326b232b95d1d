#include "owner_fields.h"

#include "platform/sys/text.h"
#include "platform/ui/controls.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/form_helpers.h"
#include "unique_names.h"

namespace reg {

void LimitOwnerEdits(db::Session& session, ui::TEdit* name, ui::TEdit* address, ui::TEdit* phone) {
    name->SetMaxLength(ui::TextFieldWidth(session, "tulaj", "Tulnev"));
    address->SetMaxLength(ui::TextFieldWidth(session, "tulaj", "Cim"));
    phone->SetMaxLength(ui::TextFieldWidth(session, "tulaj", "Tel"));
}

bool OwnerNameAndAddressGiven(const std::string& name, const std::string& address) {
    return !sys::trim(name).empty() && !sys::trim(address).empty();
}

bool OwnerNameTaken(db::Session& session, const std::string& name, const std::string& ownCode) {
    if (!NameTaken(session, "tulaj", "Tulnev", name, "Tulkod", ownCode))
        return false;
    ui::MessageDlg("Ilyen nevű tulajdonos már van! Kérem, a nevet egészítse ki, hogy a "
                   "tulajdonosok megkülönböztethetők legyenek (például a lakhellyel).",
                   ui::mtWarning, ui::mbOK);
    return true;
}

} // namespace reg
