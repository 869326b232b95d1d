#pragma once
// TNumericInt: a form that is never shown. Start-up creates it once; the other forms call
// it through NumericInt for the number checks of typed text, the user's option flags
// (rows of Alapadatok.db) and a marked value of a material-use row.

#include "platform/db/table.h"
#include "platform/ui/form.h"

#include <optional>
#include <string>
#include <string_view>

namespace ui {
class TDBGrid;
}

class TNumericInt : public ui::TForm {
public:
    explicit TNumericInt(db::Session& session);

    db::TTable Table9; // Alapadatok.db: the option rows
    db::TTable Table1; // felhanyag.db, for ReadUsedMaterialMarkedValue

    // Empty text is valid; a text that is no number shows "A(z) '<label>' értéke nem
    // szám !" and returns false. A decimal comma and a decimal point are both taken.
    bool IsValidReal(const std::string& value, const std::string& fieldLabel);
    // The same for whole numbers ("Hiba! A(z) '<label>' értéke nem egész szám !").
    bool IsValidInteger(const std::string& value, const std::string& fieldLabel);

    // A quantity, dose or area that the farm's meaning bounds: as above, and a number
    // out of the bound shows "A(z) '<label>' értéke nem lehet nulla vagy negatív !"
    // ("... nem lehet negatív !", "... nem lehet nulla !") and returns false. Empty text
    // is valid here too. NotZero is for signed quantities: a stock movement (negative
    // out), an invoice (negative when it corrects an earlier one).
    enum class Bound { Positive, NotNegative, NotZero };
    bool IsValidReal(const std::string& value, const std::string& fieldLabel, Bound bound);
    bool IsValidInteger(const std::string& value, const std::string& fieldLabel, Bound bound);

    // A year box: empty text is valid unless `required`; a text that is no year (letters,
    // a half-typed "202") shows "Hiba! A(z) '<label>' értéke ("202") nem évszám !" and
    // returns false.
    bool IsValidYear(const std::string& value, const std::string& fieldLabel,
                     bool required = false);
    // The farming year a sheet or report prints for: before any field is recorded there is
    // no year to choose (`anyYear` false), and an empty box shows "Még nincs gazdasági év:
    // előbb rögzítsen egy táblát!" and returns false; otherwise IsValidYear, the year
    // required.
    bool IsYearChosen(const std::string& value, bool anyYear, const std::string& fieldLabel);

    // A typed value against the domain of the field it goes into (the catalogue's): a value
    // outside it shows the domain's message naming the box by `fieldLabel` and returns
    // false. Empty text is valid.
    bool IsValidFor(const std::string& value, const std::string& fieldLabel, std::string_view table,
                    std::string_view field);
    // A value above what another row allows it (the domain's boundBy: a field's area for
    // an operation's): "A(z) 'Terület' értéke nem lehet nagyobb, mint a tábla területe
    // (24000) !" and false.
    bool IsNotAbove(double value, double bound, const std::string& fieldLabel,
                    std::string_view table, std::string_view field);

    // An end before its start (the domain's notBefore): "A(z) 'Vége' nem lehet korábbi,
    // mint a(z) 'Kezdete' (2024. 06. 05.) !" and false.
    bool IsNotBefore(double end, double start, const std::string& fieldLabel,
                     std::string_view table, std::string_view field);

    // Stock keeping is on unless the "_kesz" row says "no".
    bool IsStockKeepingEnabled();
    // An option is off when its row is missing or says "no"; anything else is on.
    bool GetOptionFlag(const std::string& name);
    // Writes "yes" or "no" into the option's row, inserting it when missing.
    void SetOptionFlag(const std::string& name, bool on);

    // The number after the leading 'X' of the nutrient text of a material use (Felelos,
    // else Csira), up to the first ';': its nitrogen percentage. 0 for a missing row or a
    // text without the 'X'.
    double ReadUsedMaterialMarkedValue(const std::string& felhkod);

    // Kept for the list forms that call it before printing; it changes nothing.
    void SumGridColumnWidths(ui::TDBGrid* grid);

private:
    // Opens Table9 narrowed to the option's row.
    void OpenOptionRow(const std::string& name);
};
extern TNumericInt* NumericInt;

// The year a year box holds: four digits from 1900 to 2100, blanks around ignored.
std::optional<int> YearOf(std::string_view text);
