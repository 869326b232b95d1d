#pragma once
// Filter expressions of data sets, in the language the program's forms write:
//   Aktiv = 'A' And (Parckod = '100003' Or Parckod = '100007')
//   Evj = '2009'   Parcellakod = 100000   Deleted = False   Datum = NULL
//   Dat >= '2010. 3. 5.' AND Dat <= '2010. 3. 31.'   Nev <> ''   Hozam > 0
// A filter is parsed once, against the fields of the data set it filters; evaluating it
// on a row asks for the values of the fields it names.

#include "field.h"
#include "value.h"

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace db {

// A filter text that does not parse, or names a field the data set lacks. The message
// names the filter text and what is wrong.
class FilterError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct FilterOptions {
    bool caseInsensitive = false;  // text compares ignoring letter case
    bool noPartialCompare = false; // off: a trailing '*' in a text literal matches a prefix
};

class FilterExpression {
public:
    // Parses `text` against `fields` (names matched case-insensitively). An empty or blank
    // text is a filter that every row passes.
    static FilterExpression parse(std::string_view text, const std::vector<FieldDef>& fields,
                                  FilterOptions options = {});

    FilterExpression();
    ~FilterExpression();
    FilterExpression(FilterExpression&&) noexcept;
    FilterExpression& operator=(FilterExpression&&) noexcept;

    // Whether the row whose field values `valueOf(fieldIndex)` gives passes.
    bool matches(const std::function<Value(int field)>& valueOf) const;

    const std::string& text() const;
    bool empty() const;
    // The fields the expression reads (indexes into the parsed field list).
    std::vector<int> fieldsUsed() const;

private:
    struct Node;
    std::string text_;
    std::unique_ptr<Node> root_;
};

// A text value quoted for a filter literal: 'O''Brien' for O'Brien. Forms build their
// filters with it wherever user text goes into a filter.
std::string quoteFilterText(std::string_view text);
// The filter of the rows whose field holds that text: "Muvkod = 'M12'".
std::string filterEquals(std::string_view field, std::string_view text);

} // namespace db
