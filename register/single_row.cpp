#include "single_row.h"

namespace reg {

void MakeSingleRowConnection(TRvCustomConnection& connection, std::vector<std::string> columns,
                             std::function<std::vector<std::string>()> values) {
    connection.OnOpen = [](TRvCustomConnection* c) { c->DataRows = 1; };
    connection.OnGetCols = [columns](TRvCustomConnection* c) {
        for (const std::string& name : columns)
            c->DefineColumn(name, report::dtString, 50, "Cím", "Description 1");
    };
    connection.OnFirst = [](TRvCustomConnection* c) { c->DataIndex = 0; };
    connection.OnNext = [](TRvCustomConnection* c) { ++c->DataIndex; };
    connection.OnEOF = [](TRvCustomConnection* c, bool& eof) { eof = c->DataIndex >= 1; };
    connection.OnGetRow = [values](TRvCustomConnection* c) {
        for (const std::string& value : values())
            c->PutStringColumn(value, value);
    };
}

} // namespace reg
