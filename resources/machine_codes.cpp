#include "machine_codes.h"

#include "platform/db/dataset.h"

#include <algorithm>
#include <charconv>

namespace res {

std::string NextMachineCode(db::TDataSet& machines) {
    long next = kFirstMachineCode;
    for (machines.First(); !machines.Eof(); machines.Next()) {
        const std::string code = machines.FieldByName("Gepkod").AsString();
        long value = 0;
        auto [end, error] = std::from_chars(code.data(), code.data() + code.size(), value);
        if (error == std::errc() && end == code.data() + code.size())
            next = std::max(next, value + 1);
    }
    machines.First();
    return std::to_string(next);
}

} // namespace res
