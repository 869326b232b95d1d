#include "parcel_fields.h"

#include "platform/ui/controls.h"
#include "platform/ui/form_helpers.h"
#include "platform/ui/picker.h"

#include <algorithm>

namespace reg {

const std::vector<std::string>& LandUseTexts() {
    static const std::vector<std::string> texts{
        "T - tulajdon",         "B - földhaszonbérlet", "SZ - szívességi földhasználat",
        "K - vagyonlezelő",     "H - haszonkölcsön",    "E - egyéb",
        "V - mindezek vegyesen"};
    return texts;
}

const std::vector<std::string>& LandUseCodes() {
    static const std::vector<std::string> codes{"T", "B", "SZ", "K", "H", "E", "V"};
    return codes;
}

std::string LandUseCode(int position) {
    const auto& codes = LandUseCodes();
    if (position < 0 || position >= static_cast<int>(codes.size()))
        return {};
    return codes[static_cast<std::size_t>(position)];
}

std::optional<int> LandUsePosition(const std::string& code) {
    if (code.empty())
        return 0;
    const auto& codes = LandUseCodes();
    auto found = std::find(codes.begin(), codes.end(), code);
    if (found == codes.end())
        return std::nullopt;
    return static_cast<int>(found - codes.begin());
}

const std::vector<std::string>& RentUnits() {
    static const std::vector<std::string> units{"EU tám 20%-a", "búza kg/AK"};
    return units;
}

bool IsNoExpiry(db::TField& berveg) {
    if (berveg.IsNull())
        return true;
    std::string text = berveg.AsString();
    if (text.empty() || text == sys::dateToText(NoExpiry))
        return true;
    return berveg.AsDateTime() == NoExpiry;
}

std::string ExpiryText(bool hasExpiry, sys::DateTime chosen) {
    return sys::dateToText(hasExpiry ? sys::datePart(chosen) : NoExpiry);
}

void ExpiryBoxChanged(ui::TCheckBox& box, ui::TDateTimePicker& picker) {
    picker.SetEnabled(box.Checked());
    picker.SetDate(box.Checked() ? sys::today() : NoExpiry);
}

void ShowExpiry(db::TField& berveg, ui::TCheckBox& box, ui::TDateTimePicker& picker) {
    const bool expires = !IsNoExpiry(berveg);
    box.SetChecked(expires); // its click handler may date the picker: the stored day follows
    picker.SetEnabled(expires);
    picker.SetDate(expires ? berveg.AsDateTime() : NoExpiry);
}

void LimitLandParcelEdits(db::Session& session, ui::TEdit* lotNumber, ui::TEdit* houseName,
                          ui::TComboBox* rentUnit, ui::TEdit* soilType) {
    lotNumber->SetMaxLength(ui::TextFieldWidth(session, "Tablak", "Helysz"));
    houseName->SetMaxLength(ui::TextFieldWidth(session, "Tablak", "Hazmeg"));
    rentUnit->SetMaxLength(ui::TextFieldWidth(session, "Tablak", "Bmert"));
    soilType->SetMaxLength(ui::TextFieldWidth(session, "Tablak2", "Talajtip"));
}

std::string KeyedChoices::KeyAt(int position) const {
    if (position < 0 || position >= static_cast<int>(keys.size()))
        return {};
    return keys[static_cast<std::size_t>(position)];
}

int KeyedChoices::PositionOf(const std::string& key) const {
    auto found = std::find(keys.begin(), keys.end(), key);
    return found == keys.end() ? -1 : static_cast<int>(found - keys.begin());
}

KeyedChoices FillChoices(db::Session& session, ui::TComboBox& combo, const std::string& table,
                         const std::string& indexFieldNames, const std::string& keyField,
                         const std::string& listField) {
    db::TTable rows(session, "ChoiceTable");
    rows.SetTableName(table);
    rows.SetIndexFieldNames(indexFieldNames);
    rows.Open();
    KeyedChoices choices;
    combo.Clear();
    for (rows.First(); !rows.Eof(); rows.Next()) {
        choices.keys.push_back(rows.FieldByName(keyField).AsString());
        combo.Items().Add(rows.FieldByName(listField).AsString());
    }
    rows.Close();
    return choices;
}

} // namespace reg
