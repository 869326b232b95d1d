#pragma once
// The printout of the diesel invoice register.

#include <string>

namespace res {

// "Gazolajsz.rav": the listed invoices by date with the totals of litres and amounts.
const std::string& DieselInvoicesLayout();
void RegisterDieselLayouts();

} // namespace res
