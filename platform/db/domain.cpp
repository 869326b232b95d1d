#include "platform/db/domain.h"

#include "platform/sys/datetime.h"
#include "platform/sys/numbers.h"
#include "platform/sys/text.h"
#include "platform/sys/utf8.h"

namespace db {

namespace {

// The digits after the decimal separator of a typed number, before any exponent.
int typedDecimals(std::string_view text) {
    const std::size_t separator = text.find_first_of(",.");
    if (separator == std::string_view::npos)
        return 0;
    const std::size_t end = text.find_first_of("eE", separator);
    const std::string_view digits =
        text.substr(separator + 1, end == std::string_view::npos ? end : end - separator - 1);
    const std::size_t last = digits.find_last_not_of('0'); // 2,50 has one decimal
    return last == std::string_view::npos ? 0 : static_cast<int>(last + 1);
}

std::string numberText(double number) {
    return sys::floatToText(number);
}

} // namespace

Domain signedQuantity(std::string label, double largest, Domain::Sign sign) {
    Domain domain;
    domain.label = std::move(label);
    domain.sign = sign;
    domain.min = -largest;
    domain.max = largest;
    return domain;
}

Refusal checkNumber(const Domain& domain, double number) {
    using Sign = Domain::Sign;
    if (domain.sign == Sign::Positive && number <= 0)
        return Refusal::ZeroOrNegative;
    if (domain.sign == Sign::NotNegative && number < 0)
        return Refusal::Negative;
    if (domain.sign == Sign::NotZero && number == 0)
        return Refusal::Zero;
    if (domain.min && number < *domain.min)
        return Refusal::BelowMin;
    if (domain.max && number > *domain.max)
        return Refusal::AboveMax;
    return Refusal::None;
}

Refusal checkLetters(const Domain& domain, std::string_view text) {
    return domain.letters > 0 && sys::letterCount(text) > static_cast<std::size_t>(domain.letters)
               ? Refusal::Letters
               : Refusal::None;
}

Refusal checkText(const Domain& domain, std::string_view text) {
    const std::string_view typed = sys::trim(text);
    if (typed.empty())
        return Refusal::None;
    if (domain.date) {
        const std::optional<sys::DateTime> day = sys::tryParseDate(typed);
        if (!day)
            return Refusal::NotDate;
        return checkNumber(domain, sys::decodeDate(*day).year);
    }
    const bool numeric = domain.whole || domain.decimals >= 0 || domain.min || domain.max ||
                         domain.sign != Domain::Sign::Any;
    if (!numeric)
        return checkLetters(domain, text);
    if (domain.whole && !sys::tryParseInt(typed))
        return Refusal::NotWhole;
    const std::optional<double> number = sys::tryParseFloat(typed);
    if (!number)
        return Refusal::NotNumber;
    if (const Refusal refusal = checkNumber(domain, *number); refusal != Refusal::None)
        return refusal;
    if (domain.decimals >= 0 && typedDecimals(typed) > domain.decimals)
        return Refusal::Decimals;
    return Refusal::None;
}

std::string refusalText(Refusal refusal, const Domain& domain, std::string_view label,
                        std::string_view bound) {
    const std::string box = "A(z) '" + std::string(label.empty() ? domain.label : label) + "'";
    const std::string value = box + " értéke ";
    switch (refusal) {
    case Refusal::None:
        return {};
    case Refusal::NotNumber:
        return value + "nem szám !";
    case Refusal::NotWhole:
        return "Hiba! " + value + "nem egész szám !";
    case Refusal::NotDate:
        return value + "nem érvényes dátum !";
    case Refusal::Negative:
        return value + "nem lehet negatív !";
    case Refusal::ZeroOrNegative:
        return value + "nem lehet nulla vagy negatív !";
    case Refusal::Zero:
        return value + "nem lehet nulla !";
    case Refusal::BelowMin:
        return value + "nem lehet kisebb, mint " + numberText(domain.min.value_or(0)) + " !";
    case Refusal::AboveMax:
        return value + "nem lehet nagyobb, mint " + numberText(domain.max.value_or(0)) + " !";
    case Refusal::Decimals:
        return value + "legfeljebb " + std::to_string(domain.decimals) + " tizedesjegyű lehet !";
    case Refusal::Letters:
        return box + " legfeljebb " + std::to_string(domain.letters) + " betű lehet !";
    case Refusal::Before:
        return box + " nem lehet korábbi, mint a(z) '" + domain.notBeforeLabel + "' (" +
               std::string(bound) + ") !";
    case Refusal::AboveBound:
        return value + "nem lehet nagyobb, mint " + domain.boundBy + " (" + std::string(bound) +
               ") !";
    }
    return {};
}

} // namespace db
