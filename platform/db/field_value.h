#pragma once
// A field's value read and set as text, integer, float, date-time or boolean, with the
// conversions the program's forms rely on: numbers with the decimal comma, dates in the
// short form "yyyy. MM. dd.", an empty text making the field NULL, a bad text refused
// with a message that names it. NULL reads as "", 0, 0.0, 0 (no date) and false.

#include "field.h"
#include "value.h"

#include "platform/sys/datetime.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace db {

std::string valueAsString(const Value& value, const FieldDef& field);
std::int32_t valueAsInteger(const Value& value, const FieldDef& field);
double valueAsFloat(const Value& value, const FieldDef& field);
sys::DateTime valueAsDateTime(const Value& value, const FieldDef& field);
bool valueAsBoolean(const Value& value, const FieldDef& field);

// The stored value for what a form assigns; throws sys::ConversionError naming the
// value when it does not fit the field's type. Text is cut to an A field's width.
Value valueFromString(std::string_view text, const FieldDef& field);
Value valueFromInteger(std::int64_t number, const FieldDef& field);
Value valueFromFloat(double number, const FieldDef& field);
Value valueFromDateTime(sys::DateTime when, const FieldDef& field);
Value valueFromBoolean(bool flag, const FieldDef& field);

} // namespace db
