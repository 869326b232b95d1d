#pragma once
// Stand-in for the number checks of the settings branch, with the same interface; it goes
// when that branch is merged.

#include "platform/ui/form.h"

#include <string>

namespace db {
class Session;
}

class TNumericInt : public ui::TForm {
public:
    explicit TNumericInt(db::Session& session);
    bool IsValidReal(const std::string& value, const std::string& fieldLabel);
    bool IsValidInteger(const std::string& value, const std::string& fieldLabel);
};
extern TNumericInt* NumericInt;
