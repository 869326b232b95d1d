#include "unique_names.h"

#include "platform/db/table.h"
#include "platform/sys/text.h"

namespace reg {

bool NameTaken(db::Session& session, const std::string& table, const std::string& field,
               const std::string& name, const std::string& keyField, const std::string& ownKey) {
    db::TTable rows(session);
    rows.SetTableName(table);
    rows.Open();
    db::TField& names = rows.FieldByName(field);
    db::TField* deleted = rows.FindField("Deleted");
    db::TField* key = keyField.empty() ? nullptr : &rows.FieldByName(keyField);
    const std::string_view wanted = sys::trim(name);
    for (rows.First(); !rows.Eof(); rows.Next()) {
        if ((deleted && !deleted->IsNull() && deleted->AsBoolean()) ||
            (key && key->AsString() == ownKey))
            continue;
        if (sys::equalsNoCase(sys::trim(names.AsString()), wanted))
            return true;
    }
    return false;
}

} // namespace reg
