#include "material_dialogs.h"

#include "Keszletkezelesu.h"

namespace res {

ui::TComboBox* UnitCombo(QWidget* parent, const std::vector<std::string>& units) {
    auto* combo = new ui::TComboBox(parent, ui::csDropDownList);
    combo->Items().AddStrings(units);
    combo->SetItemIndex(combo->Items().IndexOf("kg"));
    return combo;
}

bool RefuseMissing(bool missing, const std::string& message) {
    if (missing)
        ui::Application->MessageBox(message, "Hiányzó Adatok!", ui::MB_OK);
    return missing;
}

std::string StoreNewMaterial(db::Session& session, ui::TForm& dialog, db::TTable& table,
                             MaterialKind kind, const FieldTexts& texts) {
    const MaterialKindInfo& info = KindInfo(kind);
    const std::string code = NextMaterialCode(session, kind);
    table.Insert();
    table.FieldByName(info.codeField).SetAsString(code);
    table.FieldByName("Menny").SetAsString("0");
    for (const auto& [field, text] : texts)
        table.FieldByName(field).SetAsString(text);
    table.Post();
    table.FlushBuffers();
    dialog.Close();
    OfferFurtherStockChange();
    return code;
}

} // namespace res
