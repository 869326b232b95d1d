#pragma once
// A named secondary index of a table: the fields it orders by.

#include <string>
#include <vector>

namespace db {

struct IndexDef {
    std::string name;                // "TablakHelyszind"
    std::vector<std::string> fields; // field names, in order
    bool caseInsensitive = false;
    bool descending = false;
    bool unique = false;
};

} // namespace db
