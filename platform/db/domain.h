#pragma once
// What a value a user types into a field may be: its sign, its bounds, its decimals, its
// letters, and a field of the same row that bounds it (an end by its start). A program's
// catalogue gives each field its domain where it defines the field (FieldDef::domain);
// the session hands it to every cursor on the table (Session::setDomainCatalogue), so
//   - a data control refuses text outside its field's domain when the user leaves it,
//   - a post refuses a value it changes or inserts outside its field's domain, and
//   - a form that checks typed text before it writes asks checkText with the box's caption.
// A bound by another table's row (an operation's area by its field's) is the save's to
// check, with checkNotAbove; the domain names it in `boundBy` so the reader finds it here.
//
// A refusal is told in Hungarian, naming the box: "A(z) 'Terület' értéke nem lehet negatív !".

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace db {

struct Domain {
    enum class Sign : std::uint8_t { Any, NotNegative, Positive, NotZero };
    std::string label;          // the box's caption, which the refusal names
    Sign sign = Sign::Any;      // of a number
    std::optional<double> min;  // the least number (a date: its year)
    std::optional<double> max;  // the largest number (a date: its year)
    int decimals = -1;          // digits after the point at most; -1: any
    bool whole = false;         // typed text must be a whole number
    bool date = false;          // typed text must be a date ("2024. 02. 30." is none)
    int letters = 0;            // a text of at most this many letters; 0: the field's width
    std::string notBefore;      // a field of the same row this one may not precede
    std::string notBeforeLabel; // that field's caption
    std::string boundBy;        // what another table bounds it by, checked by the save
    bool empty() const {
        return sign == Sign::Any && !min && !max && decimals < 0 && !whole && !date &&
               letters == 0 && notBefore.empty();
    }
};

enum class Refusal : std::uint8_t {
    None,
    NotNumber,
    NotWhole,
    NotDate,
    Negative,
    ZeroOrNegative,
    Zero,
    BelowMin,
    AboveMax,
    Decimals,
    Letters,
    Before,
    AboveBound,
};

// A signed number of at most `largest` either way (a purchase or a sale, an invoice or
// its correction), by `sign` never nothing.
Domain signedQuantity(std::string label, double largest, Domain::Sign sign = Domain::Sign::NotZero);

// The refusal of a typed text (blanks around ignored); empty text passes.
Refusal checkText(const Domain& domain, std::string_view text);
// The refusal of a number, or of a date's year when the domain is a date's.
Refusal checkNumber(const Domain& domain, double number);
// The refusal of a text value (its letters).
Refusal checkLetters(const Domain& domain, std::string_view text);

// The Hungarian words of a refusal, naming the box by `label` (the domain's own when
// empty); `bound` is the value of the bound the refusal names (AboveBound, Before).
std::string refusalText(Refusal refusal, const Domain& domain, std::string_view label = {},
                        std::string_view bound = {});

// A number above what another row allows: AboveBound, else None.
inline Refusal checkNotAbove(double number, double bound) {
    return number > bound ? Refusal::AboveBound : Refusal::None;
}

// A post or a data control refused a value: what() is the Hungarian refusal.
class DomainError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace db
