#pragma once
// The error raised when a text cannot be read as a date, a time or a number, or a value
// has no date. Its message is Hungarian and names the value, ready to be shown to the user.

#include <stdexcept>

namespace sys {

class ConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace sys
