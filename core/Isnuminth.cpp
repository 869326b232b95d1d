#include "Isnuminth.h"

#include "platform/sys/numbers.h"
#include "platform/ui/application.h"

TNumericInt* NumericInt = nullptr;

TNumericInt::TNumericInt(db::Session&) {}

bool TNumericInt::IsValidReal(const std::string& value, const std::string& fieldLabel) {
    if (value.empty() || sys::tryParseFloat(value, sys::DecimalSeparators::CommaOnly))
        return true;
    ui::Application->MessageBox("A(z) '" + fieldLabel + "' értéke nem szám !", "Hejtelen bevitel!",
                                ui::MB_OK);
    return false;
}

bool TNumericInt::IsValidInteger(const std::string& value, const std::string& fieldLabel) {
    if (value.empty() || sys::tryParseInt(value))
        return true;
    ui::Application->MessageBox("Hiba! A(z) '" + fieldLabel + "' értéke nem egész szám !",
                                "Hejtelen bevitel!", ui::MB_OK);
    return false;
}
