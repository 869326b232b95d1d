#pragma once
// The report layouts of the stock forms, shipped with the program and written beside a
// fresh database: "Keszlet.rav" (the stock list on a day) and the stock turnover of the
// three material kinds, "RaktarFTerm.rav", "RaktarFNövv.rav" and "RaktarFVeto.rav".

#include <string>

namespace res {

// Registers the layouts as built-in layouts.
void RegisterStockLayouts();

const std::string& StockListLayout();
// The turnover of one kind: its file, its title ("Tápanyag mozgás") and the query
// connection it prints.
std::string TurnoverLayout(const std::string& fileName, const std::string& title,
                           const std::string& connection);

} // namespace res
