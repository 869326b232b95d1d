#pragma once
// The report layouts of the machine lists ("Erogepek.rav", "Munkagepek.rav") and of the
// advisory consultations sheet GN 17 ("GN17Szakt.rav"), shipped with the program and
// written beside a fresh database.

#include <string>

namespace res {

void RegisterMachineAndRecordLayouts();

const std::string& TractorsLayout();
const std::string& ImplementsLayout();
const std::string& AdvisoryLayout();

} // namespace res
