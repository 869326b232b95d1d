#include "core/Isnuminth.h"

#include "core/catalogue.h"
#include "platform/db/exact_filter.h"
#include "platform/sys/datetime.h"
#include "platform/sys/numbers.h"
#include "platform/sys/text.h"
#include "platform/ui/application.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/form_helpers.h"

TNumericInt* NumericInt = nullptr;

TNumericInt::TNumericInt(db::Session& session)
    : Table9(session, "Table9"), Table1(session, "Table1") {
    Table9.SetTableName("Alapadatok");
}

bool TNumericInt::IsValidReal(const std::string& value, const std::string& fieldLabel) {
    if (value.empty() || sys::tryParseFloat(value))
        return true;
    ui::Application->MessageBox("A(z) '" + fieldLabel + "' értéke nem szám !", ui::kBadInputCaption,
                                ui::MB_OK);
    return false;
}

bool TNumericInt::IsValidInteger(const std::string& value, const std::string& fieldLabel) {
    if (value.empty() || sys::tryParseInt(value))
        return true;
    ui::Application->MessageBox("Hiba! A(z) '" + fieldLabel + "' értéke nem egész szám !",
                                ui::kBadInputCaption, ui::MB_OK);
    return false;
}

namespace {

// A number out of its bound: the message, and false.
bool InBound(double number, const std::string& fieldLabel, TNumericInt::Bound bound) {
    using Bound = TNumericInt::Bound;
    const bool in = bound == Bound::Positive      ? number > 0
                    : bound == Bound::NotNegative ? number >= 0
                                                  : number != 0;
    if (in)
        return true;
    const char* const refused = bound == Bound::Positive      ? "nulla vagy negatív !"
                                : bound == Bound::NotNegative ? "negatív !"
                                                              : "nulla !";
    ui::Application->MessageBox("A(z) '" + fieldLabel + "' értéke nem lehet " + refused,
                                ui::kBadInputCaption, ui::MB_OK);
    return false;
}

} // namespace

bool TNumericInt::IsValidReal(const std::string& value, const std::string& fieldLabel,
                              Bound bound) {
    if (!IsValidReal(value, fieldLabel))
        return false;
    return value.empty() || InBound(*sys::tryParseFloat(value), fieldLabel, bound);
}

bool TNumericInt::IsValidInteger(const std::string& value, const std::string& fieldLabel,
                                 Bound bound) {
    if (!IsValidInteger(value, fieldLabel))
        return false;
    return value.empty() || InBound(*sys::tryParseInt(value), fieldLabel, bound);
}

std::optional<int> YearOf(std::string_view text) {
    const std::string_view digits = sys::trim(text);
    if (digits.size() != 4)
        return std::nullopt;
    const std::optional<std::int32_t> year = sys::tryParseInt(digits);
    if (!year || *year < 1900 || *year > 2100)
        return std::nullopt;
    return static_cast<int>(*year);
}

bool TNumericInt::IsValidYear(const std::string& value, const std::string& fieldLabel,
                              bool required) {
    if ((!required && sys::trim(value).empty()) || YearOf(value))
        return true;
    ui::MessageDlg("Hiba! A(z) '" + fieldLabel + "' értéke (\"" + value + "\") nem évszám !",
                   ui::mtWarning, ui::mbOK);
    return false;
}

bool TNumericInt::IsYearChosen(const std::string& value, bool anyYear,
                               const std::string& fieldLabel) {
    if (!anyYear && sys::trim(value).empty()) {
        ui::MessageDlg("Még nincs gazdasági év: előbb rögzítsen egy táblát!", ui::mtWarning,
                       ui::mbOK);
        return false;
    }
    return IsValidYear(value, fieldLabel, true);
}

bool TNumericInt::IsValidFor(const std::string& value, const std::string& fieldLabel,
                             std::string_view table, std::string_view field) {
    const db::Domain& domain = core::FieldDomain(table, field);
    const db::Refusal refusal = db::checkText(domain, value);
    if (refusal == db::Refusal::None)
        return true;
    ui::Application->MessageBox(db::refusalText(refusal, domain, fieldLabel), ui::kBadInputCaption,
                                ui::MB_OK);
    return false;
}

namespace {

// Tells a refusal of the box `fieldLabel` by another value of the save (`bound`).
bool RefusedBy(db::Refusal refusal, const std::string& fieldLabel, std::string_view table,
               std::string_view field, const std::string& bound) {
    ui::Application->MessageBox(
        db::refusalText(refusal, core::FieldDomain(table, field), fieldLabel, bound),
        ui::kBadInputCaption, ui::MB_OK);
    return false;
}

} // namespace

bool TNumericInt::IsNotAbove(double value, double bound, const std::string& fieldLabel,
                             std::string_view table, std::string_view field) {
    return db::checkNotAbove(value, bound) == db::Refusal::None ||
           RefusedBy(db::Refusal::AboveBound, fieldLabel, table, field, sys::floatToText(bound));
}

bool TNumericInt::IsNotBefore(double end, double start, const std::string& fieldLabel,
                              std::string_view table, std::string_view field) {
    return sys::datePart(end) >= sys::datePart(start) ||
           RefusedBy(db::Refusal::Before, fieldLabel, table, field, sys::dateToText(start));
}

void TNumericInt::OpenOptionRow(const std::string& name) {
    Table9.Close();
    db::FilterExactly(Table9, "Nev", name);
    Table9.Open();
    Table9.First();
}

bool TNumericInt::IsStockKeepingEnabled() {
    OpenOptionRow("_kesz");
    const bool on = Table9.IsEmpty() || Table9.FieldByName("Cim").AsString() != "no";
    Table9.Close();
    return on;
}

bool TNumericInt::GetOptionFlag(const std::string& name) {
    OpenOptionRow(name);
    const bool on = !Table9.IsEmpty() && Table9.FieldByName("Cim").AsString() != "no";
    Table9.Close();
    return on;
}

void TNumericInt::SetOptionFlag(const std::string& name, bool on) {
    OpenOptionRow(name);
    if (Table9.IsEmpty()) {
        Table9.Insert();
        Table9.FieldByName("Nev").SetAsString(name);
    } else {
        Table9.Edit();
    }
    Table9.FieldByName("Cim").SetAsString(on ? "yes" : "no");
    Table9.Post();
    Table9.Close();
}

double TNumericInt::ReadUsedMaterialMarkedValue(const std::string& felhkod) {
    Table1.Close();
    Table1.SetTableName("felhanyag");
    db::FilterExactly(Table1, "Felhkod", felhkod);
    Table1.Open();
    Table1.First();
    std::string text;
    if (!Table1.IsEmpty()) {
        text = Table1.FieldByName("Felelos").AsString();
        if (text.empty())
            text = Table1.FieldByName("Csira").AsString();
    }
    Table1.Close();
    if (text.empty() || text.front() != 'X')
        return 0;
    const std::size_t end = text.find(';'); // none: the number runs to the end of the text
    return sys::parseFloat(text.substr(1, end == std::string::npos ? end : end - 1));
}

void TNumericInt::SumGridColumnWidths(ui::TDBGrid*) {}
