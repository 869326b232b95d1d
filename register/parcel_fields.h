#pragma once
// What the land-parcel forms share: the land-use basis choices, the rent units, the
// stored "no contract expiry", and the owner and cultivation-branch choice lists.

#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/sys/datetime.h"

#include <optional>
#include <string>
#include <vector>

namespace ui {
class TCheckBox;
class TComboBox;
class TDateTimePicker;
class TEdit;
} // namespace ui

namespace reg {

// The land-use basis texts in list order; position i stands for LandUseCodes()[i].
const std::vector<std::string>& LandUseTexts();
const std::vector<std::string>& LandUseCodes();
// The code of a list position; "" for no position.
std::string LandUseCode(int position);
// The list position of a stored code: an empty code reads as position 0, an unknown
// code as none.
std::optional<int> LandUsePosition(const std::string& code);

// The units of the rent ("EU tám 20%-a", "búza kg/AK").
const std::vector<std::string>& RentUnits();

// A land parcel without contract expiry stores 1899-12-30 (day 0).
inline constexpr sys::DateTime NoExpiry = 0;
// Whether a stored expiry means none: empty, the text "1899. 12. 30." or day 0.
bool IsNoExpiry(db::TField& berveg);
// The text stored as the expiry: the short date of the chosen day, or of day 0.
std::string ExpiryText(bool hasExpiry, sys::DateTime chosen);

// The contract-expiry box and its picker after the box was ticked or cleared: ticked,
// the picker is enabled on today; cleared, it is disabled on the day that means none.
void ExpiryBoxChanged(ui::TCheckBox& box, ui::TDateTimePicker& picker);
// Shows a stored expiry: none clears the box and leaves the picker disabled on the day
// that means none (no date of an earlier land parcel stays in it); a date ticks the box
// and shows the date.
void ShowExpiry(db::TField& berveg, ui::TCheckBox& box, ui::TDateTimePicker& picker);

// Limits the land parcel edits to the widths of their fields: the lot number and the
// house name (Tablak.db Helysz, Hazmeg), the rent unit (Bmert) and the soil-test type
// (Tablak2.db Talajtip).
void LimitLandParcelEdits(db::Session& session, ui::TEdit* lotNumber, ui::TEdit* houseName,
                          ui::TComboBox* rentUnit, ui::TEdit* soilType);

// A choice list whose items each stand for a key: the owners (Tulkod) or the
// cultivation branches (Id as text).
struct KeyedChoices {
    std::vector<std::string> keys;
    // The key of a list position, or "" for none.
    std::string KeyAt(int position) const;
    // The position of a key, or -1.
    int PositionOf(const std::string& key) const;
};

// Fills a combo box with the rows of a table in the given order: the text of `listField`
// shown, the text of `keyField` kept. The table is opened and closed around the read.
KeyedChoices FillChoices(db::Session& session, ui::TComboBox& combo, const std::string& table,
                         const std::string& indexFieldNames, const std::string& keyField,
                         const std::string& listField);

} // namespace reg
